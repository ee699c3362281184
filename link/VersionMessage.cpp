#include "link/VersionMessage.h"

#include <cstring>

VersionPayload parseVersionPayload(const uint8_t *p)
{
    VersionPayload v;
    std::memcpy(&v.v, p, 24);
    std::memcpy(&v.protocol, p + 24, 2);
    std::memcpy(v.b, p + 26, 3);
    std::memcpy(v.r, p + 29, 20);
    v.moduleType = p[49];
    return v;
}

QString versionReportText(int tag, const VersionPayload &v)
{
    const int b = VersionField::BoardId;
    return QString("%1_%2_%3%4%5").arg(tag).arg(v.v[VersionField::SoftwareVersion]).arg(v.v[b]).arg(v.v[b + 1]).arg(v.v[b + 2]);
}
