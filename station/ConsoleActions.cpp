#include "station/ConsoleActions.h"

#include <algorithm>
#include <cmath>

float manualFieldValue(const QString &text)
{
    bool ok = false;
    const float v = text.toFloat(&ok);
    // "nan" and "inf" read as numbers; no frame can move to or at them.
    return ok && std::isfinite(v) ? v : 0.0f;
}

TurnTableCommand frameMoveCommand(bool outer, int mode, float position, float rate)
{
    TurnTableCommand c;
    if (mode == 0) {
        c = {true, uint8_t(outer ? 33 : 17), position, 160.0f, rate};
    } else if (mode == 1) {
        c = {true, uint8_t(outer ? 35 : 19), rate, 0.0f, 20.0f};
    }
    return c;
}

bool oneClickRunEnded(uint8_t code, const QString &)
{
    // The sequence's own end (completed, failed, stopped, refused, controller not connected)
    // comes as a signal carrying its code; its report texts are translated and never compared.
    return code == 62 || code == 59;
}

TurnTableCommand frameStopCommand(bool outer)
{
    return {true, uint8_t(outer ? 47 : 31), 0.0f, 0.0f, 0.0f};
}

bool turnTableFrameEnabled(int turnTableType, uint16_t status)
{
    return !(turnTableType == 4 && (status & 0x80) == 0);
}

bool isAdministratorPassword(const QString &text)
{
    return !text.isEmpty() && text == QLatin1String("580417");
}

namespace ConsolePages {
namespace {
const char *const kNames[kKeys] = {"标定统计", "带转台温箱-手动", "带转台温箱-自动", "转台手动", "转台自动",
                                   "温箱手动", "温箱自动", "电源控制", "IMU",
                                   "底板9", "底板10", "底板11", "底板12", "底板13", "底板14", "底板15", "底板16"};
// The combo's items in the form's tab order: statistics, chamber turntable automatic, chamber
// automatic, chamber manual, turntable manual, turntable automatic, power, IMU, plates 9-16.
const int kComboKeys[] = {1, 3, 7, 6, 4, 5, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17};
} // namespace

QString settingsKey(int key) { return QString("removeTableWidget/removeName%1").arg(key); }

QString pageName(int key) { return key >= 1 && key <= kKeys ? QString::fromUtf8(kNames[key - 1]) : QString(); }

bool isTopKey(int key) { return key >= 1 && key < kFirstBottomKey; }

bool hasPage(int key) { return key >= 1 && key <= kKeys && key != 2; }

int keyOfName(const QString &name)
{
    for (int k = 1; k <= kKeys; ++k)
        if (name == pageName(k))
            return k;
    return 0;
}

int keyOfComboItem(int item)
{
    const int n = int(sizeof(kComboKeys) / sizeof(kComboKeys[0]));
    return item >= 0 && item < n ? kComboKeys[item] : 0;
}

int pagesBefore(const QStringList &shownNames, const QString &name, bool top, int index)
{
    const int first = top ? 1 : kFirstBottomKey;
    const int last = top ? kFirstBottomKey - 1 : kKeys;
    const int key = keyOfName(name);
    for (const QString &shown : shownNames) {
        if (name == pageName(first)) {
            index = top ? 0 : kBottomBase;
            continue;
        }
        const int k = keyOfName(shown);
        if (key >= first && key <= last && k >= first && k < key)
            ++index;
    }
    return index;
}

QVector<int> startupRemovals(QStringList tabTexts, const QStringList &storedNames)
{
    QVector<int> removed;
    int i = 0;
    while (i < tabTexts.size()) {
        const QString &t = tabTexts[i];
        if (!t.isEmpty() && storedNames.contains(t)) {
            removed << i;
            tabTexts.removeAt(i);
            i = 0;
        } else {
            ++i;
        }
    }
    return removed;
}
} // namespace ConsolePages

bool duplicatePlateIdentity(const QVector<bool> &reported, const QStringList &identity)
{
    const int n = std::min(int(reported.size()), int(identity.size()));
    for (int i = 0; i < n; ++i)
        for (int j = i + 1; j < n; ++j)
            if (identity[i] == identity[j] && reported[i])
                return true;
    return false;
}
