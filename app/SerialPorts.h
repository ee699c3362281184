#pragma once
#include <QStringList>

// The serial ports to offer in every port list, each as "<port name> <description>".
// Besides the system's ports it lists the ports named in the environment variable
// KELVANTO_EXTRA_PORTS (colon or comma separated paths), so pseudo-terminals of the module
// simulator show up too.
QStringList availablePortTexts();
// The port name of a combo text: its first word ("/dev/ttyUSB0 FT232R" -> "/dev/ttyUSB0").
QString portNameOf(const QString &comboText);
