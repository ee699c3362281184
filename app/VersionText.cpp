#include "app/VersionText.h"

QString ascii_to_string(uint32_t c)
{
    if ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'))
        return QString(QChar(char16_t(c)));
    return QString();
}

QString version_to_string(uint32_t v)
{
    if (v < 30)
        return QString::number(v);
    QString s;
    for (int shift = 24; shift >= 0; shift -= 8)
        s += ascii_to_string((v >> shift) & 0xFF);
    return s;
}
