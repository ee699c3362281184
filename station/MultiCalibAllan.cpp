// The command page's two unattended Allan retest runs. Both are driven by a timer of the page
// (one tick per run second) on the GUI thread; every wait is a timer, never a nested loop.
#include "station/multi_calib_cmd.h"

#include "ui_multi_calib_cmd.h"

#include <QPushButton>
#include <QTimer>

#include "app/Clock.h"
#include "app/Prompter.h"
#include "app/SoundPlayer.h"
#include "equipment/StationValues.h"
#include "link/DeviceRecords.h"
#include "station/ConsoleLogic.h"

namespace {
constexpr uint16_t kStaticRetestCmd = 58016;
constexpr uint16_t kFourHourRetestCmd = 58416;
constexpr uint16_t kSupplyOn = 101;
constexpr uint16_t kSupplyOff = 102;
constexpr int kBeforePowerOffS = 60;
constexpr int kPowerOffS = 1800;
constexpr uint32_t kFourHourCommandTick = 60;
constexpr int kSettleBeforeUploadS = 60;
// The retests' lengths after their command, in minutes; a run whose modules have not reported
// the end (58017) half a length later stops.
constexpr uint32_t kStaticRetestMin = 61;
constexpr uint32_t kFourHourRetestMin = 240;
constexpr uint32_t withMargin(uint32_t minutes) { return minutes + minutes / 2; }
} // namespace

bool multi_calib_cmd::staticRunTicking() const { return m_staticTimer->isActive(); }
bool multi_calib_cmd::fourHourRunTicking() const { return m_fourHourTimer->isActive(); }

void multi_calib_cmd::runClockTexts(uint32_t ticks)
{
    log(79, allanElapsedText(ticks));
    log(81, Clock::instance().now().toString("yyyy_MMdd HH:mm:ss"));
}

void multi_calib_cmd::callOperator(const QString &text)
{
    SoundPlayer::instance().playLooping(Sounds::Class);
    confirm(text);
    SoundPlayer::instance().stopLoop();
}

void multi_calib_cmd::setRunGuard(RunGuard *guard)
{
    m_runs = guard;
    connect(guard, &RunGuard::stopRequested, this, [this](RunGuard::Run run, const QString &) { stopAllanRun(run); });
    connect(guard, &RunGuard::activeChanged, this, &multi_calib_cmd::applyRunButtons);
}

// True, after a box naming it, while another run is active.
bool multi_calib_cmd::refuseWhileRunning()
{
    if (!m_runs || m_runs->idle())
        return false;
    Prompter::instance().warning(this, "Warning", RunGuard::busyText(m_runs->active()));
    return true;
}

QString multi_calib_cmd::lostPlatesNote() const { return m_runs ? m_runs->lostPlatesNote() : QString(); }

bool multi_calib_cmd::refuseWithoutLinks(RunGuard::Run run)
{
    const QString missing = m_runs ? m_runs->missingFor(run) : QString();
    if (missing.isEmpty())
        return false;
    const QString text = tr("Cannot start: not linked: %1").arg(missing);
    log(74, text);
    Prompter::instance().warning(this, tr("Warning"), text);
    return true;
}

bool multi_calib_cmd::claimAllanRun(RunGuard::Run run)
{
    // The links again: one may have closed while the start question waited.
    return !refuseWhileRunning() && !refuseWithoutLinks(run) && (!m_runs || m_runs->begin(run));
}

void multi_calib_cmd::setSupplySetPoint(std::function<bool(DcPower::SetPoint &)> check,
                                        std::function<void(const DcPower::SetPoint &)> use)
{
    m_supplyCheck = std::move(check);
    m_supplyUse = std::move(use);
}

void multi_calib_cmd::applyRunButtons(RunGuard::Run active)
{
    const bool idle = active == RunGuard::None;
    for (QPushButton *b : {ui->pushButton_static_retest, ui->pushButton_allan_advanced_4h}) {
        b->setEnabled(idle);
        b->setStyleSheet(idle ? QString() : QString("color:grey"));
    }
}

// The run's timer and its pending waits end now; the modules stop logging. Nothing is posted,
// unless the four-hour retest has ended already: then its results are posted at once.
void multi_calib_cmd::stopAllanRun(RunGuard::Run run)
{
    if (run != RunGuard::AllanStatic && run != RunGuard::AllanFourHour)
        return;
    ++m_allanGeneration;
    (run == RunGuard::AllanStatic ? m_staticTimer : m_fourHourTimer)->stop();
    emit signal_auto_log_imu(0);
    log(74, tr("%1 stopped").arg(RunGuard::name(run)));
    if (run == RunGuard::AllanFourHour && m_fourHourSettling) {
        log(74, tr("The retest has ended: its results are posted now"));
        postFourHourRun();
    }
}

// No module reported the end of the retest within its bound: the run stops with the alarm and
// a box; nothing is posted.
void multi_calib_cmd::allanEndMissed(RunGuard::Run run, uint32_t minutes)
{
    const QString reason = tr("no end report (58017) within %1 min of the retest command").arg(minutes);
    if (!m_runs || m_runs->stop(reason) == RunGuard::None)
        stopAllanRun(run);
    SoundPlayer::instance().playLooping(Sounds::Class);
    Prompter::instance().warning(this, tr("Warning"),
                                 tr("No module reported the end of the retest (58017) within %1 min of its command: the run is "
                                    "stopped and nothing is uploaded")
                                     .arg(minutes));
    SoundPlayer::instance().stopLoop();
}

void multi_calib_cmd::on_pushButton_static_retest_clicked()
{
    if (refuseWhileRunning() || refuseWithoutLinks(RunGuard::AllanStatic))
        return;
    emit addWorkOrderDetailsDalig();
    const uint32_t quiet = g_static_test_countdown_min.load();
    if (!confirm(tr("After ") + QString::number(quiet) + tr("min,start sending static retest commands in 5 minutes!！")))
        return;
    if (!claimAllanRun(RunGuard::AllanStatic))
        return;
    ui->pushButton_static_retest->setEnabled(false);
    ui->pushButton_static_retest->setStyleSheet("color:grey");
    m_staticTicks = 0;
    m_staticWatch = RetestWatch();
    m_staticTimer->stop();
    m_staticTimer->start(m_secondMs);
    emit signal_auto_log_imu(1);
    log(75, tr("Quiet timing for ") + QString::number(quiet)
                + tr("minutes,then start sending commands. The upper computer can only be operated once at a time"));
}

void multi_calib_cmd::_ackTimeout_static_retest()
{
    const uint32_t t = m_staticTicks;
    const uint32_t quiet = g_static_test_countdown_min.load();
    runClockTexts(t);
    log(80, staticRemainingText(quiet, t));
    if (t % 10 == 0)
        log(74, reckonText(t));
    if (t == quiet * 60) {
        log(74, tr("Dispatch orders"));
        broadcast(kStaticRetestCmd);
        m_staticWatch.commandSent();
    }
    const bool ended = m_staticWatch.observeAll();
    if (t >= (quiet + 61) * 60 && ended) {
        log(74, tr("ALlan static retest completed"));
        m_staticTimer->stop();
        g_expected_calib_flag = 8095;
        const quint64 ticket = m_runs ? m_runs->ticket() : 0;
        emit exectuePosMethod(2);
        // The post waited for the service with events running: a stop meanwhile ended the run.
        if (m_runs && !m_runs->holds(ticket))
            return;
        emit signal_auto_log_imu(0);
        // The run is over: the station is free before the box waits for the operator.
        const QString lostPlates = lostPlatesNote();
        if (m_runs)
            m_runs->finished(RunGuard::AllanStatic);
        callOperator(tr("ALlan static retest completed, please check the retest flag position") + lostPlates);
    } else if (!ended && t >= (quiet + withMargin(kStaticRetestMin)) * 60) {
        allanEndMissed(RunGuard::AllanStatic, withMargin(kStaticRetestMin));
        return;
    }
    ++m_staticTicks;
}

void multi_calib_cmd::on_pushButton_allan_advanced_4h_clicked()
{
    if (refuseWhileRunning() || refuseWithoutLinks(RunGuard::AllanFourHour))
        return;
    emit addWorkOrderDetailsDalig();
    if (g_recording.load() == 0) {
        Prompter::instance().warning(this, tr("Warning"), tr("Please save the original data"));
        return;
    }
    if (!confirm(tr("Power off after 1min！Wait for 30 minutes after power outage")))
        return;
    DcPower::SetPoint supply;
    if (m_supplyCheck && !m_supplyCheck(supply))
        return;
    if (!claimAllanRun(RunGuard::AllanFourHour))
        return;
    if (m_supplyUse)
        m_supplyUse(supply);
    ui->pushButton_allan_advanced_4h->setEnabled(false);
    ui->pushButton_allan_advanced_4h->setStyleSheet("color:grey");
    m_fourHourTicks = 0;
    m_fourHourSettling = false;
    m_fourHourWatch = RetestWatch();
    const uint32_t generation = m_allanGeneration;
    QTimer::singleShot(kBeforePowerOffS * m_secondMs, this, [this, generation] {
        if (generation == m_allanGeneration)
            DC_POWER_OFF_function_from_allan_4h();
    });
}

void multi_calib_cmd::DC_POWER_OFF_function_from_allan_4h()
{
    emit dc_control_cmd(kSupplyOff);
    log(74, tr("Power off, insulation for 30 minutes after power off"));
    const uint32_t generation = m_allanGeneration;
    QTimer::singleShot(kPowerOffS * m_secondMs, this, [this, generation] {
        if (generation == m_allanGeneration)
            DC_POWER_ON_function_from_allan_4h();
    });
}

void multi_calib_cmd::DC_POWER_ON_function_from_allan_4h()
{
    emit dc_control_cmd(kSupplyOn);
    log(74, tr("Power on"));
    m_fourHourTimer->stop();
    m_fourHourTimer->start(m_secondMs);
    log(74, tr("1分钟后发送，等待calib_status状态改变后自动结束"));
}

void multi_calib_cmd::_ackTimeout_static_retest_4h()
{
    const uint32_t t = m_fourHourTicks;
    runClockTexts(t);
    log(80, fourHourRemainingText(t));
    if (t % 10 == 0)
        log(74, reckonText(t));
    if (t == kFourHourCommandTick) {
        log(74, tr("Dispatch orders"));
        broadcast(kFourHourRetestCmd);
        m_fourHourWatch.commandSent();
    }
    const bool ended = m_fourHourWatch.observeAll();
    if (!ended && t >= kFourHourCommandTick + withMargin(kFourHourRetestMin) * 60) {
        allanEndMissed(RunGuard::AllanFourHour, withMargin(kFourHourRetestMin));
        return;
    }
    if (ended) {
        log(74, tr("ALlan static retest completed"));
        m_fourHourTimer->stop();
        // The last modules get a minute to report before the results are posted; a stop in
        // that minute posts at once.
        m_fourHourSettling = true;
        const uint32_t generation = m_allanGeneration;
        QTimer::singleShot(kSettleBeforeUploadS * m_secondMs, this, [this, generation] {
            if (generation == m_allanGeneration)
                finishFourHourRun();
        });
    }
    ++m_fourHourTicks;
}

void multi_calib_cmd::postFourHourRun()
{
    m_fourHourSettling = false;
    // The expectation is in place before the tables are looked at under the box.
    g_expected_calib_flag = 32767;
    emit exectuePosMethod(4);
}

void multi_calib_cmd::finishFourHourRun()
{
    const quint64 ticket = m_runs ? m_runs->ticket() : 0;
    postFourHourRun();
    // The post waited for the service with events running: a stop meanwhile ended the run.
    if (m_runs && !m_runs->holds(ticket))
        return;
    // The run is over: the station is free before the box waits for the operator.
    const QString lostPlates = lostPlatesNote();
    if (m_runs)
        m_runs->finished(RunGuard::AllanFourHour);
    callOperator(tr("Advanced ALlan static retest completed, please check if the flag is correct") + lostPlates);
}
