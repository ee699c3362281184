#pragma once
// The version message (255) as every link reads it.
#include <QObject>
#include <QString>

#include "link/DeviceProtocol.h"

// Reads the 50-byte payload (the caller has checked its length).
VersionPayload parseVersionPayload(const uint8_t *payload);
// The code-37 report "<tag>_<version>_<board id>", the board id being the three 32-bit numbers
// from board_id on, written in decimal one after the other.
QString versionReportText(int tag, const VersionPayload &v);

// Emits a link's signal_sendVersionValue with the sixteen values of a version message.
template <class Link> void emitVersionValue(Link *link, const VersionPayload &v)
{
    emit link->signal_sendVersionValue(v.v[0], v.v[1], v.v[2], v.v[3], v.v[4], v.v[5], v.protocol,
                                       v.b[0], v.b[1], v.b[2], v.r[0], v.r[1], v.r[2], v.r[3], v.r[4],
                                       v.moduleType);
}
