#pragma once
#include <QString>
#include <cstdint>

// '0'..'9', 'A'..'Z', 'a'..'z' give that character; any other code an empty text.
QString ascii_to_string(uint32_t code);
// Versions of 30 and more are four characters taken from their hexadecimal digit pairs
// (most significant first); smaller values are shown in decimal.
QString version_to_string(uint32_t version);
