#pragma once
// Number text of the decoded files, written straight into a character buffer. Every function
// writes exactly what a default QTextStream (C locale) writes for the same value:
//   appendReal     six significant digits, fixed or exponent form, trailing zeros cut
//                  (QTextStream's SmartNotation, precision 6)
//   appendFixed3   fixed notation with three decimals (FixedNotation, precision 3)
// Ties on the exact binary value round away from zero (413.5625 -> "413.563").
// Each returns the position after the last character written; no terminating zero.
#include <cstdint>

namespace DecodeNumber {

// Longest text any of these functions writes.
constexpr int kMaxChars = 48;

char *appendReal(char *p, double v);
char *appendFloat(char *p, float v); // the same text as appendReal(p, double(v))
char *appendFixed3(char *p, float v);
char *appendU32(char *p, uint32_t v);
char *appendI32(char *p, int32_t v);
// A raw integer in units of 10^-7 with exactly seven decimals: 123 -> "0.0000123",
// -25 -> "-0.0000025".
char *appendFixed7(char *p, int32_t raw);

// The same texts through QTextStream itself (the rare values the fast path leaves to it).
char *appendRealQt(char *p, double v);
char *appendFixed3Qt(char *p, float v);

} // namespace DecodeNumber
