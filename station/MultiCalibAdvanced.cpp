// The advanced chamber-turntable run of the console: the three starts, the turntable and
// chamber start, the one-second tick and the step ends. Every wait is a timed step of a
// sequence on the GUI thread (scaled by setScriptTiming), never a nested event loop.
#include "station/MultiCalib.h"

#include "ui_MultiCalib.h"

#include <QDebug>
#include <QMetaMethod>
#include <QPushButton>
#include <QTimer>

#include "app/Clock.h"
#include "app/Prompter.h"
#include "app/SoundPlayer.h"
#include "equipment/StationValues.h"
#include "equipment/WorkerThread_turn_table.h"
#include "link/DeviceRecords.h"
#include "station/ConsoleLogic.h"

using Step = QPair<int, std::function<void()>>;

namespace {
void greyOut(QPushButton *b)
{
    b->setEnabled(false);
    b->setStyleSheet("color:grey");
}
bool confirm(QWidget *parent, const QString &question, const char *yesLine, const char *noLine)
{
    const bool yes = Prompter::instance().ask(Prompter::Kind::Warning, parent, MultiCalib::tr("Warning"), question,
                                              QMessageBox::Yes | QMessageBox::No,
                                              QMessageBox::Yes) == QMessageBox::Yes;
    qDebug() << (yes ? yesLine : noLine);
    return yes;
}
const char *kCalibYes = "是否开始带温箱转台的自动标定？？确认";
const char *kCalibNo = "是否开始带温箱转台的自动标定？？返回";
} // namespace

int MultiCalib::scaledMs(int ms) const { return qMax(0, int(ms * m_scriptWaitScale)); }

bool MultiCalib::advancedSequencePending() const { return m_advancedPendingSteps > 0; }

void MultiCalib::runAdvancedSequence(QList<Step> steps, bool needsTimer)
{
    const uint32_t id = ++m_advancedSequenceId;
    m_advancedPendingSteps = steps.size();
    auto next = std::make_shared<std::function<void(int)>>();
    *next = [this, id, steps, needsTimer, next](int i) {
        if (i >= steps.size())
            return;
        QTimer::singleShot(scaledMs(steps[i].first), this, [this, id, steps, needsTimer, next, i] {
            // A newer sequence, or a run stopped by closing the chamber link, ends this one.
            if (id != m_advancedSequenceId)
                return;
            if (needsTimer && !(m_hothouseAdvancedTimer && m_hothouseAdvancedTimer->isActive())) {
                m_advancedPendingSteps = 0;
                return;
            }
            steps[i].second();
            m_advancedPendingSteps = steps.size() - i - 1;
            (*next)(i + 1);
        });
    };
    (*next)(0);
}

void MultiCalib::log_heatBox(QString text)
{
    ui->textEdit_turn_table_status_advanced->append(Clock::instance().now().toString("yyyy-MM-dd hh:mm:ss ") + text);
    qDebug() << text;
}

uint32_t MultiCalib::get_keep_heat_time()
{
    return AdvancedCalib::keepHeatSeconds(qMin<int>(m_advancedRun.step, AdvancedCalib::kSteps - 1), g_advanced_calib_type);
}

uint32_t MultiCalib::calc_turntable_calib_time()
{
    m_turntableCalibSum = AdvancedCalib::turntableCalibTime(g_turn_table_move_time, g_turn_table_gyro_time, g_turn_table_acc_time);
    return m_turntableCalibSum;
}

uint32_t MultiCalib::calc_turntable_retest_time()
{
    m_turntableRetestSum =
        AdvancedCalib::turntableRetestTime(g_turn_table_move_time, g_turn_table_gyro_time, g_turn_table_acc_time,
                                           g_turn_table_gyro_nonlinearity_time, g_turn_table_acc_nonlinearity_time);
    return m_turntableRetestSum;
}

void MultiCalib::calc_total_advanced_calib_retest_run_time_fun(MultiCalib::AdvancedCalibType type)
{
    m_advancedRun.runSeconds = 0;
    const uint32_t c = type == AdvancedRetestOnly ? 0 : calc_turntable_calib_time();
    const uint32_t r = type == AdvancedCalibOnly ? 0 : calc_turntable_retest_time();
    m_advancedEstimate = AdvancedCalib::totalEstimate(uint8_t(type), c, r);
    const char *line = type == AdvancedCalibOnly ? "计算的高级标定时间"
                       : type == AdvancedRetestOnly ? "计算的高级复测时间"
                                                    : "计算的高级标定+复测时间";
    qDebug() << line << m_advancedEstimate;
}

// The chamber part of the start: chamber on, the first over-control set point.
static QList<Step> chamberStartSteps(MultiCalib *c, AdvancedCalib::RunState *run)
{
    return {{0,
             [c, run] {
                 AdvancedCalib::begin(*run);
                 run->busy = true; // idle until the start has finished
                 emit c->hothouse_generate_start_stop_cmd(1);
                 c->log_heatBox(MultiCalib::tr("Start running"));
             }},
            {500,
             [c, run] {
                 emit c->hothouse_set_target_temp(int16_t(run->overTemps[0]));
                 c->log_heatBox(MultiCalib::tr("Set target temperature:") + AdvancedCalib::temp(run->overTemps[0]));
             }},
            {500,
             [run] {
                 qDebug() << "开始恒温旋转";
                 run->busy = false;
             }}};
}

void MultiCalib::heat_box_constant_heat_rotate() { runAdvancedSequence(chamberStartSteps(this, &m_advancedRun), false); }

// start_heat_box_thread as steps, so a caller's sequence can continue after it.
static QList<Step> heatBoxStartSteps(MultiCalib *c, AdvancedCalib::RunState *run, std::function<void()> startTimer)
{
    QList<Step> steps{{0,
                       [c] {
                           emit c->signal_turn_table_reset_rotated_times();
                           emit c->signal_common_cmd(30);
                       }},
                      {500, [c] { emit c->signal_common_cmd(31); }}};
    steps += chamberStartSteps(c, run);
    steps.append({0, startTimer});
    return steps;
}

void MultiCalib::start_heat_box_thread()
{
    runAdvancedSequence(heatBoxStartSteps(this, &m_advancedRun, [this] { startAdvancedTimer(); }), false);
}

void MultiCalib::startAdvancedTimer()
{
    if (m_hothouseAdvancedTimer->isActive())
        m_hothouseAdvancedTimer->stop();
    m_hothouseAdvancedTimer->start(m_scriptTickMs);
    m_hothouseAdvancedTimerRunning = true;
}

// The calibration starts (with or without the retest after it).
void MultiCalib::startAdvancedCalibration(bool withRetest)
{
    const QString question = withRetest
        ? tr("Do you want to start automatic calibration and retesting of the turntable with a temperature box?")
        : tr("Do you want to start automatic calibration of the turntable with a temperature box?");
    const RunGuard::Run run = withRetest ? RunGuard::AdvancedCalibRetest : RunGuard::AdvancedCalib;
    if (refuseWhileRunning() || !runLinksUp(run) || !confirm(this, question, kCalibYes, kCalibNo))
        return;
    if (g_recording == 0) {
        Prompter::instance().warning(this, tr("Warning"), tr("Please save the data first"));
        return;
    }
    if ((m_turnTableType == 2 || m_turnTableType == 4) && !addWorkOrderDetailsDalig())
        return;
    if (!beginRun(run))
        return;
    m_advancedRunStartMs = monotonicMs();
    AdvancedCalib::load(m_advancedRun, AdvancedCalib::calibTables(m_turnTableType));
    g_advanced_calib_type = AdvancedCalibOnly;
    greyOut(withRetest ? ui->pushButton_advanced_calib_retest : ui->pushButton_advanced_calib);

    QList<Step> steps;
    steps.append({withRetest ? 500 : 0, [this, withRetest] {
                      const QString date = Clock::instance().now().date().toString("yyMMdd");
                      qDebug() << (withRetest ? "当前高级标定+复测加表的时间" : "当前高级标定加表的时间") << date;
                      if (withRetest)
                          calc_total_advanced_calib_retest_run_time_fun(AdvancedCalibAndRetest);
                      broadcast(DeviceCmdId::Reset);
                      m_advancedCalibDate = date.toUInt(nullptr, 10);
                  }});
    steps.append({15000, [this] { broadcast(DeviceCmdId::CalibDate, m_advancedCalibDate); }});
    steps.append({100, [this, withRetest] {
                      broadcast(DeviceCmdId::AdvancedCalib);
                      if (withRetest)
                          g_advanced_calib_type = AdvancedCalibAndRetest;
                  }});
    steps += heatBoxStartSteps(this, &m_advancedRun, [this] { startAdvancedTimer(); });
    steps.append({0, [this] {
                      create_hot_house_logfile();
                      emit hothouse_cmd_set_slope(10);
                  }});
    steps.append({500, [this, withRetest] {
                      on_pushButton_hothouse_cmd_start_clicked();
                      if (!withRetest)
                          calc_total_advanced_calib_retest_run_time_fun(AdvancedCalibOnly);
                  }});
    runAdvancedSequence(steps, false);
}

void MultiCalib::on_pushButton_advanced_calib() { startAdvancedCalibration(false); }
void MultiCalib::on_pushButton_advanced_calib_retest() { startAdvancedCalibration(true); }

void MultiCalib::on_pushButton_advanced_retest()
{
    if (refuseWhileRunning() || !runLinksUp(RunGuard::AdvancedRetest) ||
        !confirm(this, tr("Do you want to start automatic retesting with a temperature box turntable?"),
                 "是否开始带温箱转台的自动复测？？确认", "是否开始带温箱转台的自动复测？？返回"))
        return;
    if ((m_turnTableType == 2 || m_turnTableType == 4) && !addWorkOrderDetailsDalig())
        return;
    if (!beginRun(RunGuard::AdvancedRetest))
        return;
    m_advancedRunStartMs = monotonicMs();
    AdvancedCalib::load(m_advancedRun, AdvancedCalib::retestTables());
    g_advanced_calib_type = AdvancedRetestOnly;
    greyOut(ui->pushButton_advanced_retest);
    broadcast(DeviceCmdId::AdvancedRetest);
    QList<Step> steps = heatBoxStartSteps(this, &m_advancedRun, [this] { startAdvancedTimer(); });
    steps.append({0, [this] {
                      create_hot_house_logfile();
                      emit hothouse_cmd_set_slope(10);
                  }});
    steps.append({500, [this] {
                      on_pushButton_hothouse_cmd_start_clicked();
                      m_advancedRun.runSeconds = 0;
                      m_advancedEstimate = AdvancedCalib::totalEstimate(AdvancedRetestOnly, 0, calc_turntable_retest_time());
                      qDebug() << "计算的高级复测时间" << m_advancedEstimate;
                  }});
    runAdvancedSequence(steps, false);
}

// The retest as it follows a calibration: 52000 twice a minute apart, then the retest run.
QList<Step> MultiCalib::retestStartSteps()
{
    AdvancedCalib::load(m_advancedRun, AdvancedCalib::retestTables());
    g_advanced_calib_type = AdvancedRetestOnly;
    greyOut(ui->pushButton_advanced_calib);
    greyOut(ui->pushButton_advanced_retest);
    broadcast(DeviceCmdId::AdvancedRetest);
    QList<Step> steps{{60000, [this] { broadcast(DeviceCmdId::AdvancedRetest); }}};
    steps += heatBoxStartSteps(this, &m_advancedRun, [this] { startAdvancedTimer(); });
    steps.append({0, [this] { emit hothouse_cmd_set_slope(10); }});
    steps.append({500, [this] { on_pushButton_hothouse_cmd_start_clicked(); }});
    return steps;
}

void MultiCalib::on_pushButton_advanced_retest_started_from_thread()
{
    if (refuseWhileRunning() || !runLinksUp(RunGuard::AdvancedRetest) || !beginRun(RunGuard::AdvancedRetest))
        return;
    m_advancedRunStartMs = monotonicMs();
    runAdvancedSequence(retestStartSteps(), false);
}

void MultiCalib::_ackTimeout_hothouse_ctrl_advanced()
{
    // A chamber temperature older than three poll periods (counted from the start when none
    // came since): every target test would read a stale value.
    if (m_advancedRun.running && chamberNotAnswering(m_advancedRunStartMs)) {
        stopActiveRun(tr("chamber not answering"));
        return;
    }
    // A post due now waits for the service with events running: a stop meanwhile ends the tick.
    const quint64 ticket = m_runs.ticket();
    checkRunPost();
    if (!m_runs.holds(ticket))
        return;
    const double tc = shownChamberTemperature(m_advancedRunStartMs);
    if (advancedSetPointMissed(tc))
        return;
    // Soaks are measured on the monotonic clock: a wall clock set back (a time-sync daemon)
    // neither ends nor stretches them.
    const uint32_t now = uint32_t(Clock::instance().monotonicMs() / 1000);
    const QVector<AdvancedCalib::Action> actions = AdvancedCalib::tick(m_advancedRun, tc, now, g_advanced_calib_type);
    if (!m_advancedRun.running)
        return;
    const uint32_t run = m_advancedRun.runSeconds;
    ui->label_turn_table_current_run_time_advanced->setText(tr("%1小时%2分钟").arg(run / 3600).arg((run % 3600) / 60));
    for (const AdvancedCalib::Action &a : actions) {
        if (a.kind == AdvancedCalib::Action::Log)
            log_heatBox(a.text);
        else if (a.kind == AdvancedCalib::Action::SetTarget)
            emit hothouse_set_target_temp(int16_t(a.value));
        else if (a.kind == AdvancedCalib::Action::Rotate)
            requestRotation();
    }
}

// The rotation goes to the current turntable worker, which always answers with its outcome;
// with nobody listening there is nobody to answer, and the run stops at once.
void MultiCalib::requestRotation()
{
    if (!isSignalConnected(QMetaMethod::fromSignal(&MultiCalib::signal_turnTable_constant_heat_rotate))) {
        rotationFailed(tr("turntable not linked"));
        return;
    }
    emit signal_turnTable_constant_heat_rotate();
}

void MultiCalib::rotationFailed(const QString &reason)
{
    stopActiveRun(tr("rotation failed: %1").arg(reason));
    SoundPlayer::instance().playLooping(Sounds::Class);
    Prompter::instance().warning(this, tr("Warning"),
                                 tr("The constant-temperature rotation failed (%1), the run is stopped and nothing is uploaded").arg(reason));
    SoundPlayer::instance().stopLoop();
}

void MultiCalib::rev_turn_table_rotated_times(bool completed, QString reason)
{
    // Only the report of the rotation this run asked for (a retired worker's never comes
    // here), while the run's tick is alive.
    if (!m_advancedRun.running || !m_advancedRun.busy || m_advancedRun.phase != 3 ||
        m_advancedRun.step >= AdvancedCalib::kSteps || !m_hothouseAdvancedTimer || !m_hothouseAdvancedTimer->isActive())
        return;
    if (!completed) {
        rotationFailed(reason.isEmpty() ? tr("not completed") : reason);
        return;
    }
    runAdvancedStepEnd(AdvancedCalib::rotationDone(m_advancedRun, g_advanced_calib_type));
}

void MultiCalib::stopAdvancedRun()
{
    // Pending waits of the run end here, the tick stops acting now.
    ++m_advancedSequenceId;
    m_advancedPendingSteps = 0;
    m_hothouseAdvancedTimer->stop();
    m_hothouseAdvancedTimerRunning = false;
    m_advancedRun.running = 0;
    m_advancedRun.busy = false;
    // A rotation under way ends and both axes stop; the chamber the run started is switched off.
    emit signal_send_turn_table_cmd_general(31, 0.0f, 0.0f, 0.0f);
    emit signal_send_turn_table_cmd_general(47, 0.0f, 0.0f, 0.0f);
    emit hothouse_generate_start_stop_cmd(0);
    log_heatBox(tr("Run stopped"));
    // A stop in the cool-down posts at once what the modules last reported.
    forceRunPost();
}

void MultiCalib::runAdvancedStepEnd(AdvancedCalib::StepEnd end)
{
    switch (end) {
    case AdvancedCalib::StepEnd::NextStep: {
        const float t2 = m_advancedRun.overTemps[m_advancedRun.step];
        emit hothouse_set_target_temp(int16_t(t2));
        log_heatBox(tr("Constant temperature rotation completed,go to ") + AdvancedCalib::temp(t2) + tr("degrees."));
        break;
    }
    case AdvancedCalib::StepEnd::SwitchToRetest: {
        // The calibration half is done; ticks stay idle until the retest has started and the
        // minute announced has passed.
        QList<Step> steps = retestStartSteps();
        steps.append({0, [this] {
                          m_advancedRun.busy = true;
                          log_heatBox(tr("Calibration completed, start retesting"));
                          log_heatBox(tr("Start retesting after 1 minute"));
                      }});
        steps.append({60000, [this] { m_advancedRun.busy = false; }});
        runAdvancedSequence(steps, true);
        break;
    }
    case AdvancedCalib::StepEnd::RetestDone:
    case AdvancedCalib::StepEnd::CalibDone: {
        const bool retestDone = end == AdvancedCalib::StepEnd::RetestDone;
        const RunGuard::Run run = m_runs.active();
        const quint64 ticket = m_runs.ticket();
        // The end of a retest is the end of the chamber run (report 39): the set point 25 and
        // heat_box_end, which sets the expected flag 16383 and calls the operator. The last
        // rotation is in: the results are posted once every plate has reported after it (the
        // modules write their flags at the end of the retest), at the latest at the end of the
        // cool-down or at a stop during it. With no IMU judged there is nothing to post.
        if (retestDone)
            armRunPost(run, 5, 16383, 0);
        // The post (or the box below) waited with events running: after a stop nothing is left.
        if (!m_runs.holds(ticket))
            return;
        if (retestDone && m_runPost.state == RunPost::NothingToPost) {
            emit hothouse_set_target_temp(25);
            alarmNoModuleReported(run);
            if (!m_runs.holds(ticket))
                return;
        } else if (retestDone) {
            rev_log_from_worker(39, tr("Advanced retest completed"));
        } else {
            emit hothouse_set_target_temp(25);
        }
        log_heatBox(tr("Done, heat up to room temperature!"));
        runAdvancedSequence({{600000, [this, run] {
                                  m_advancedRun.runSeconds += 600;
                                  log_heatBox(tr("Turn off the temperature box"));
                                  emit hothouse_generate_start_stop_cmd(0);
                                  m_hothouseAdvancedTimer->stop();
                                  m_hothouseAdvancedTimerRunning = false;
                                  const quint64 ticket = m_runs.ticket();
                                  forceRunPost(); // waits for the service with events running
                                  if (m_runs.holds(ticket))
                                      finishRun(run);
                              }}},
                            true);
        break;
    }
    }
}

// The advanced run's waits for the chamber to come within 1 degC of a target (its phases 0 and
// 2) end like a script's ramp: twice the expected time from where the wait began, at the rate
// the chamber was told (10) or its slower cool-down rate, plus half an hour.
bool MultiCalib::advancedSetPointMissed(double tc)
{
    const AdvancedCalib::RunState &s = m_advancedRun;
    const bool waiting = s.running && !s.busy && s.step < AdvancedCalib::kSteps && (s.phase == 0 || s.phase == 2);
    const qint64 key = waiting ? m_advancedRunStartMs * 64 + s.step * 4 + s.phase : -1;
    if (key != m_advancedWaitKey) {
        m_advancedWaitKey = key;
        m_advancedWaitTicks = 0;
        m_advancedWaitFrom = tc;
    }
    if (!waiting)
        return false;
    ++m_advancedWaitTicks;
    TempScript::RampBound bound;
    bound.target = int(s.phase == 0 ? s.overTemps[s.step] : s.stepTemps[s.step]);
    bound.seconds = TempScript::rampBoundSeconds(bound.target - m_advancedWaitFrom,
                                                 TempScript::rampRate(TempScript::kFastSlope, g_hot_house_temperature_down_speed));
    return chamberMissedSetPoint(bound, m_advancedWaitTicks);
}
