#pragma once
// What the two quick-test pages show alike: status and progress from the engine, the serial
// fault box, the database open failure and the verdict's text and sound.
#include <QString>
#include <functional>

#include "production/TestResultDb.h"

class QWidget;
class QHideEvent;
class QProgressBar;
class QTimer;
class QuickTestEngine;

namespace QuickTestPage {
using StatusFn = std::function<void(const QString &text, const QString &style)>;
// Status texts, progress and the lost-serial box of the engine.
void wireEngine(QWidget *page, QuickTestEngine *engine, StatusFn setStatus, QProgressBar *bar);
// Opens the page's database; a failure shows the "Tip" box.
void openDatabase(QWidget *page, TestResultDb &db);
// The verdict's text, colour and sound; a result that could not be stored in the database, or
// whose result line could not be written (lineError not empty), is shown as a storage error in
// place of "Test passed".
void showOutcome(bool passed, const TestResultDb::SaveOutcome &saved, const QString &lineError,
                 const StatusFn &setStatus);
// The tick runs while the page is on screen. A minimised window keeps it running, so a test
// keeps its pace; a page put away (another page chosen) stops it and ends a running test
// unjudged, as closing the port does.
void pageShown(QTimer &timer);
void pageHidden(const QHideEvent *event, QTimer &timer, QuickTestEngine &engine);
// The text shown when a result could not be stored.
QString storageErrorText(const QString &error);
} // namespace QuickTestPage
