#pragma once
// The operator actions' decisions that need no widget: the turntable's manual commands, the
// frame-enable check, the administrator password, the page table of the removable console
// pages with its insert order, and the plate identity check. Qt Core only.
#include <QString>
#include <QStringList>
#include <QVector>

#include <cstdint>

// One request to the turntable worker (signal_send_turn_table_cmd_general).
struct TurnTableCommand {
    bool send = false;
    uint8_t code = 0;
    float p1 = 0.0f, p2 = 0.0f, p3 = 0.0f;
};

// A manual field read as a number; text that is no finite number ("nan", "inf") reads as 0.0.
float manualFieldValue(const QString &text);
// The move of the inner (outer = false) or outer frame: mode 0 position, 1 rate, anything
// else sends nothing.
TurnTableCommand frameMoveCommand(bool outer, int mode, float position, float rate);
TurnTableCommand frameStopCommand(bool outer);
// False when the turntable (type 4, with its chamber) reports the frame not enabled: bit 7 of
// the status's low byte clear. Every other type counts as enabled.
bool turnTableFrameEnabled(int turnTableType, uint16_t status);

bool isAdministratorPassword(const QString &text);

// The one-click calibration and retest (turntable sequence 2) has ended by a report: the end of a
// calibration (62) or a failed stage's box (59). The sequence's other ends come from the
// turntable worker's signal_sequence_ended.
bool oneClickRunEnded(uint8_t code, const QString &text);

// The removable pages of the console. Keys 1 to 9 belong to the top tab widget, 10 to 17 to
// the bottom one; each key's settings value holds the removed page's name, or an empty text
// while the page is shown ("0": never written).
namespace ConsolePages {
constexpr int kKeys = 17;
constexpr int kFirstBottomKey = 10;
constexpr int kBottomBase = 9; // fixed bottom pages before the removable plates
QString settingsKey(int key);
QString pageName(int key);
bool isTopKey(int key);
// Key 2 names a page the form does not have.
bool hasPage(int key);
// Key of a page name; 0 when none.
int keyOfName(const QString &name);
// Key of item i of the page combo, which lists the removable pages in the form's tab order;
// 0 when out of range.
int keyOfComboItem(int item);
// The insert-position walk: over the shown pages' names, the first page ("标定统计" at the top,
// "底板9" at the bottom) sets index to its base, every other name adds 1 for each page
// present that comes before it in the insert order.
int pagesBefore(const QStringList &shownNames, const QString &name, bool top, int index);
// The start-up walk: removes every tab whose text is a stored name, starting again at the
// first tab after each removal. Returns the indices removed, in order.
QVector<int> startupRemovals(QStringList tabTexts, const QStringList &storedNames);
} // namespace ConsolePages

// True when two plates carry the same identity text and the lower one has reported its board.
bool duplicatePlateIdentity(const QVector<bool> &reported, const QStringList &identity);
