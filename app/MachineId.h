#pragma once
#include <QString>

// The PC's product UUID, upper case, shaped 8-4-4-4-12. Read from the firmware's DMI table
// (/sys/class/dmi/id/product_uuid); where that cannot be read, from /etc/machine-id.
// Empty when neither is available. KELVANTO_MACHINE_ID overrides it (tests).
QString getBaseboardUuid();

// Runs a command line and returns its standard output without the column header (the
// command's last word, compared without regard to case), line breaks and surrounding blanks.
// Bounded by a time-out so a hung tool cannot freeze the caller.
QString runWmicQuery(const QString &commandLine, int timeoutMs = 10000);
