#pragma once
// What a report does to the command page's status icons. Qt Core only.
#include <QList>
#include <QString>

// The page's icons.
enum class PageIcon { PlateLink, PlateState, Equipment };
// Equipment icons in their order on the page.
enum EquipmentIcon { NetIcon = 0, TurnTable1Icon, HotHouseIcon, TurnTable2Icon, DcPowerIcon, EquipmentIconCount };

struct IconChange {
    PageIcon icon;
    int index; // plate index 0..15 or an EquipmentIcon
    QString image;
    bool operator==(const IconChange &o) const { return icon == o.icon && index == o.index && image == o.image; }
};

namespace PageImages {
inline const char *Ok = ":/images/is_ok.png";
inline const char *NotOk = ":/images/not_ok.png";
inline const char *Gray = ":/images/not_ok_gray.png";
} // namespace PageImages

// Icon changes of one report: code 37 (link liveness "<tag>_<v1>_<v2>"), code 73 (plate
// verdict "<plate>_<state>") and code 72 (every icon back to not-ok). Other codes and
// malformed texts change nothing.
QList<IconChange> iconChangesOf(int code, const QString &text);
