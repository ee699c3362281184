#include "station/CmdPageReport.h"

#include <QStringList>

namespace {
// Plate index of a tag that is exactly a decimal plate number "1".."16"; -1 otherwise.
int plateOfTag(const QString &tag)
{
    bool ok = false;
    const int n = tag.toInt(&ok);
    return ok && n >= 1 && n <= 16 && QString::number(n) == tag ? n - 1 : -1;
}
} // namespace

QList<IconChange> iconChangesOf(int code, const QString &text)
{
    QList<IconChange> out;
    if (code == 72) {
        for (int p = 0; p < 16; ++p)
            out << IconChange{PageIcon::PlateLink, p, PageImages::NotOk};
        for (int p = 0; p < 16; ++p)
            out << IconChange{PageIcon::PlateState, p, PageImages::NotOk};
        for (int e = 0; e < EquipmentIconCount; ++e)
            out << IconChange{PageIcon::Equipment, e, PageImages::NotOk};
        return out;
    }
    const QStringList parts = text.split('_');
    if (parts.size() < 2)
        return out;
    const QString &tag = parts[0];
    if (code == 37) {
        const int plate = plateOfTag(tag);
        if (plate >= 0) {
            out << IconChange{PageIcon::PlateLink, plate, PageImages::Ok};
        } else if (tag == "net") {
            out << IconChange{PageIcon::Equipment, NetIcon, PageImages::Ok};
        } else if (tag == "turntable1") {
            out << IconChange{PageIcon::Equipment, TurnTable1Icon, PageImages::Ok};
        } else if (tag == "hothouse") {
            out << IconChange{PageIcon::Equipment, HotHouseIcon, PageImages::Ok};
        } else if (tag == "turntable2") {
            out << IconChange{PageIcon::Equipment, TurnTable2Icon, PageImages::Ok};
        } else if (tag == "dcpower") {
            if (parts[1] == "1")
                out << IconChange{PageIcon::Equipment, DcPowerIcon, PageImages::Ok};
            else if (parts[1] == "0")
                out << IconChange{PageIcon::Equipment, DcPowerIcon, PageImages::NotOk};
        }
    } else if (code == 73) {
        const int plate = plateOfTag(tag);
        if (plate < 0)
            return out;
        const QString &state = parts[1];
        const char *image = state == "unconnected" ? PageImages::Gray : state == "pass" ? PageImages::Ok : PageImages::NotOk;
        out << IconChange{PageIcon::PlateState, plate, image};
    }
    return out;
}
