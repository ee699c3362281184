#include "production/QuickTestPage.h"

#include <QCoreApplication>
#include <QHideEvent>
#include <QProgressBar>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include "app/Prompter.h"
#include "app/SoundPlayer.h"
#include "production/QuickTestEngine.h"
#include "production/TestResultDb.h"

using namespace QuickTestText;

void QuickTestPage::wireEngine(QWidget *page, QuickTestEngine *engine, StatusFn setStatus, QProgressBar *bar)
{
    QObject::connect(engine, &QuickTestEngine::statusChanged, page,
                     [setStatus](const QString &t, const QString &s) { setStatus(t, s); });
    QObject::connect(engine, &QuickTestEngine::progressChanged, bar, &QProgressBar::setValue);
    QObject::connect(engine, &QuickTestEngine::serialLinkLost, page, [page] {
        Prompter::instance().information(page, QCoreApplication::translate("QuickTestPage", "Tip"), QCoreApplication::translate("StatusText", SerialLost));
    });
}

void QuickTestPage::openDatabase(QWidget *page, TestResultDb &db)
{
    if (!db.open())
        Prompter::instance().information(page, QCoreApplication::translate("QuickTestPage", "Tip"), QCoreApplication::translate("QuickTestPage", "Unable to establish database connection"));
}

QString QuickTestPage::storageErrorText(const QString &error)
{
    return QCoreApplication::translate("QuickTestPage", "Storage error, the result was not saved: ") + error;
}

void QuickTestPage::showOutcome(bool passed, const TestResultDb::SaveOutcome &saved, const QString &lineError,
                                const StatusFn &setStatus)
{
    QStringList errors;
    if (!saved.stored)
        errors << saved.error;
    if (!lineError.isEmpty())
        errors << lineError;
    if (!errors.isEmpty()) {
        setStatus(storageErrorText(errors.join("; ")), Red);
        SoundPlayer::instance().play(Sounds::Alarm);
        return;
    }
    setStatus(passed ? Passed : Failed, passed ? Green : Red);
    SoundPlayer::instance().play(passed ? Sounds::Pass : Sounds::Alarm);
}

void QuickTestPage::pageShown(QTimer &timer)
{
    timer.start();
}

void QuickTestPage::pageHidden(const QHideEvent *event, QTimer &timer, QuickTestEngine &engine)
{
    if (event->spontaneous())
        return; // the window was minimised: the page is still the one in use
    timer.stop();
    engine.leavePage();
}
