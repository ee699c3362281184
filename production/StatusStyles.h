#pragma once
#include <QtGlobal>

// Style sheets of the status labels of the quick-test and screening pages: yellow for prompts
// and waiting, red for no connection and a failed test, green for a passed test.
namespace StatusStyle {
inline const char *Yellow = "background-color: yellow;color:black";
inline const char *Red = "background-color: red;color:black";
inline const char *Green = "background-color: green;color:black";
} // namespace StatusStyle

// Status texts that the quick-test and screening pages share.
namespace StatusText {
inline const char *OpenPort = QT_TRANSLATE_NOOP("StatusText", "Please open the serial port");
inline const char *Waiting = QT_TRANSLATE_NOOP("StatusText", "Waiting for the next test");
} // namespace StatusText
