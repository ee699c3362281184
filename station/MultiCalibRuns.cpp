// The console's long runs: one run at a time, one stop path for every run, and the start
// buttons of both pages following the run under way. The temperature script and the advanced
// run are stopped here; the command page stops its Allan runs on the same request.
#include "station/MultiCalib.h"

#include "ui_MultiCalib.h"

#include <QDebug>
#include <QPushButton>
#include <QTimer>

#include "app/Prompter.h"
#include "app/SoundPlayer.h"
#include "equipment/StationValues.h"
#include "link/LinkFlags.h"

void MultiCalib::initRuns()
{
    m_runs.setLinkProbe([this] { return linksUp(); });
    m_cmdPage.setRunGuard(&m_runs);
    connect(&m_runs, &RunGuard::stopRequested, this, &MultiCalib::onRunStopRequested);
    connect(&m_runs, &RunGuard::stopped, this, [this](RunGuard::Run run, const QString &reason) {
        // The commands the links still repeat for the run end with it (queued behind every
        // command the run sent, so none of them outlives the stop).
        emit signal_drop_pending_repeats();
        const QString line = tr("%1 stopped: %2").arg(RunGuard::name(run), reason);
        qDebug().noquote() << line;
        emit signalTranspondLog(line);
        // The stop leaves the supply as its last finished code left it: say what that was.
        if (RunGuard::needs(run) & RunGuard::Supply)
            emit signalTranspondLog(tr("DC supply at the stop of %1: %2").arg(RunGuard::name(run), supplyOutputText()));
        // A stop after the post: when it was posted and where the results are (a post still
        // waiting for the service tells its outcome when it comes).
        if (m_runPost.run == run && m_runPost.state == RunPost::Posted) {
            emit signalTranspondLog(tr("%1: %2").arg(RunGuard::name(run), runPostNote(run)));
            m_runPost.outcomeOwed = !m_runPost.answered;
        }
    });
    // A stop asked for while the first was being carried out is that stop: told after its line.
    connect(&m_runs, &RunGuard::stopJoined, this, [this](RunGuard::Run run, const QString &reason) {
        const QString line = tr("%1 was already stopping, also asked: %2").arg(RunGuard::name(run), reason);
        qDebug().noquote() << line;
        emit signalTranspondLog(line);
    });
    connect(&m_runs, &RunGuard::activeChanged, this, &MultiCalib::applyRunButtons);
}

QList<QPushButton *> MultiCalib::runStartButtons() const
{
    return {ui->pushButton_hothouse_cmd_auto_include_dc_control, ui->pushButton_temperature_retest,
            ui->pushButton_advanced_calib, ui->pushButton_advanced_calib_retest, ui->pushButton_advanced_retest,
            ui->pushButton_one_click_calib};
}

void MultiCalib::applyRunButtons(RunGuard::Run active)
{
    const bool idle = active == RunGuard::None;
    for (QPushButton *b : runStartButtons()) {
        b->setEnabled(idle);
        b->setStyleSheet(idle ? QString() : QString("color:grey"));
    }
}

bool MultiCalib::refuseWhileRunning()
{
    if (m_runs.idle())
        return false;
    Prompter::instance().warning(this, "Warning", RunGuard::busyText(m_runs.active()));
    return true;
}

bool MultiCalib::beginRun(RunGuard::Run run)
{
    // The links are looked at again as the run begins: one may have closed while the operator
    // read the start questions or filled in the work order.
    if (refuseWhileRunning() || !runLinksUp(run))
        return false;
    if (!m_runs.begin(run))
        return false;
    m_runPost = RunPost();
    m_endCodesSent = m_endCodesAnswered = 0;
    m_advancedWaitKey = -1; // a run counts its chamber waits afresh, even one started in the same ms
    // The run's verdicts judge the IMUs that report from its start on.
    for (int p = 0; p < kPlates; ++p)
        resetSeenImus(p);
    return true;
}

void MultiCalib::finishRun(RunGuard::Run run) { m_runs.finished(run); }

void MultiCalib::stopActiveRun(QString reason) { m_runs.stop(reason); }

void MultiCalib::stopRunWithAlarm(const QString &reason, const QString &what)
{
    if (m_runs.idle())
        return;
    const RunGuard::Run run = m_runs.active();
    stopActiveRun(reason);
    SoundPlayer::instance().playLooping(Sounds::Class);
    Prompter::instance().warning(this, tr("Warning"), tr("%1: the run is stopped and %2").arg(what, runPostNote(run)));
    SoundPlayer::instance().stopLoop();
}

int MultiCalib::linksUp() const
{
    int up = 0;
    if (g_turn_table_connected)
        up |= RunGuard::Turntable;
    if (g_hothouse_connected)
        up |= RunGuard::Chamber;
    if (g_dc_power_connected)
        up |= RunGuard::Supply;
    for (int p = 0; p < kPlates; ++p)
        if (g_link_status[p])
            up |= RunGuard::Plates;
    return up;
}

void MultiCalib::stopRunsNeeding(int links, const QString &reason)
{
    if (!m_runs.idle() && (RunGuard::needs(m_runs.active()) & links))
        m_runs.stop(reason);
}

void MultiCalib::onRunStopRequested(RunGuard::Run run, const QString &reason)
{
    switch (run) {
    case RunGuard::TempScript:
    case RunGuard::TempRetest: stopTemperatureScriptRun(reason); break;
    case RunGuard::AdvancedCalib:
    case RunGuard::AdvancedCalibRetest:
    case RunGuard::AdvancedRetest: stopAdvancedRun(); break;
    case RunGuard::OneClick: stopOneClickRun(); break;
    case RunGuard::AllanStatic:
    case RunGuard::AllanFourHour: // the command page stops its own runs
    case RunGuard::None: break;
    }
}

