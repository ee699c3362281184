// The console's temperature compensation and retest script: the two starts with their checks,
// the one-second tick that carries out the phase machine, the early end of the stop soak and
// the end of the run with its verdict flag and upload.
#include "station/MultiCalib.h"

#include "ui_MultiCalib.h"

#include <QDebug>
#include <QSettings>
#include <QTimer>

#include <limits>

#include "app/Clock.h"
#include "app/Prompter.h"
#include "app/Settings.h"
#include "app/SoundPlayer.h"
#include "equipment/StationValues.h"
#include "equipment/WorkerThread_DC_power.h"
#include "link/DeviceRecords.h"
#include "link/LinkFlags.h"
#include "station/ConsoleLogic.h"

namespace {
const char *kStamp = "yyyy_MMdd HH:mm:ss";
const char *kChamberSilenceKey = "hothouse/silence_limit_s";
const uint32_t kDcOffAfterStartS = 60; // script seconds from the start to the supply's switch-off
QMessageBox::StandardButton askYesNo(QWidget *parent, const QString &title, const QString &text)
{
    return Prompter::instance().ask(Prompter::Kind::Warning, parent, title, text, QMessageBox::Yes | QMessageBox::No,
                                    QMessageBox::Yes);
}
} // namespace

void MultiCalib::on_pushButton_hothouse_cmd_auto_include_dc_control_clicked() { startChamberScript(false); }
void MultiCalib::on_pushButton_temperature_retest_clicked() { startChamberScript(true); }

TempScript::RackView MultiCalib::rackView() const
{
    TempScript::RackView r;
    for (int p = 0; p < kPlates; ++p) {
        r.linkOpen[size_t(p)] = g_link_status[p] == 1;
        r.reported[size_t(p)] = m_plateReported[size_t(p)];
        const PlateSnapshot snap = g_calib_status.plate(p);
        for (int i = 0; i < kImusPerPlate; ++i) {
            r.firstField[size_t(p)][size_t(i)] = snap.imu[size_t(i)].time_ms;
            r.temp[size_t(p)][size_t(i)] = snap.imu[size_t(i)].temp;
            r.status[size_t(p)][size_t(i)] = snap.imu[size_t(i)].calib_status;
            r.shielded[size_t(p)][size_t(i)] = m_shield_marks[size_t(p)][size_t(i)] == "1";
        }
    }
    return r;
}

void MultiCalib::startChamberScript(bool retestOnly)
{
    if (refuseWhileRunning())
        return;
    // The parameters are checked before the operator is asked anything about the start.
    const QList<QTextEdit *> edits{ui->textEdit_hothouse_loops_num,          ui->textEdit_hothouse_start_temp,
                                   ui->textEdit_hothouse_start_temp_last_times, ui->textEdit_hothouse_stop_temp,
                                   ui->textEdit_hothouse_stop_temp_last_times,  ui->textEdit_hothouse_temp_slope};
    QStringList texts;
    for (QTextEdit *e : edits)
        texts << e->toPlainText();
    const TempScript::ParamCheck check = TempScript::checkParams(texts);
    if (!check.ok) {
        Prompter::instance().warning(this, tr("Warning"), check.problem);
        return;
    }
    const ChamberScriptParams &params = check.params;
    if (!slopeFitsChamber(int(params.slope)))
        return;
    const uint32_t firstStep = retestOnly ? 1 : 0;
    if (!TempScript::loopsReachable(params.loops, firstStep)) {
        // The step counter could never reach such a count: the steps would repeat for ever.
        Prompter::instance().warning(this, tr("Warning"),
                                     tr("The number of loops must be greater than ") + QString::number(firstStep));
        return;
    }
    if ((m_turnTableType == 2 || m_turnTableType == 4) && !addWorkOrderDetailsDalig())
        return;
    const QString question = retestOnly ? tr("Do you want to start running the automatic temperature retest script?")
                                        : tr("Do you want to start running the automatic temperature compensation+retest script?");
    if (askYesNo(this, retestOnly ? tr("Warning") : tr("warning"), question) != QMessageBox::Yes) {
        qDebug() << (retestOnly ? QString("是否开始运行自动温度复测脚本？返回") : question + " return");
        return;
    }
    qDebug() << (retestOnly ? QString("是否开始运行自动温度复测脚本？确认") : question + " confirm");

    // Nothing is switched or stored before the links and every parameter are known good.
    DcPower::SetPoint supply;
    if (!runLinksUp(retestOnly ? RunGuard::TempRetest : RunGuard::TempScript) || !supplySetPointAccepted(supply))
        return;
    qDebug() << (retestOnly ? "温度复测脚本+带电源控制" : "温补+复测脚本+带电源控制");
    qDebug() << "开始温度:" << texts[1] << "结束温度:" << texts[3] << "开始温度保温时间:" << texts[2]
             << "结束温度保温时间:" << texts[4];
    emit signal_auto_log_imu(1);

    // Parameters changed since they were stored: administrators may store them.
    QSettings *settings = getSettings();
    const auto &keys = TempScript::paramKeys();
    bool changed = false;
    for (size_t k = 0; k < keys.size(); ++k)
        changed = changed || settings->value(keys[k].key, keys[k].defaultText).toString() != texts[int(k)];
    if (changed && m_isAdminMode) {
        if (askYesNo(this, tr("Warning"), tr("Change in temperature compensation calibration parameters, do you want to save it?")) ==
            QMessageBox::Yes) {
            for (size_t k = 0; k < keys.size(); ++k)
                settings->setValue(keys[k].key, texts[int(k)]);
            Prompter::instance().warning(this, tr("Warning"), tr("Temperature compensation calibration parameters have been saved"));
        } else {
            Prompter::instance().warning(this, tr("Warning"), tr("Temperature compensation calibration parameters do not need to be saved"));
        }
    }
    settings->sync();

    for (QLabel *l : {ui->label_result_total_num, ui->label_result_ok_num, ui->label_result_ng_num,
                      ui->label_result_ok_percent, ui->label_result_ng_position})
        l->setText("N/A");
    check_total_imu_num_alive();

    const std::pair<int, int> missing = TempScript::firstUninstalledImu(rackView());
    if (missing.first != 0) {
        Prompter::instance().information(this, tr("Tip"),
                                         tr("Floor") + QString::number(missing.first) + " IMU" + QString::number(missing.second) +
                                             tr(",not installed properly, please reinstall or disable it"));
        return;
    }
    if (askYesNo(this, tr("Warning"), tr("The power will be turned off after 1 minute of starting")) != QMessageBox::Yes)
        return;
    if (!beginRun(retestOnly ? RunGuard::TempRetest : RunGuard::TempScript))
        return;
    startRunSupply(supply);

    ui->textEdit_hothouse_set_temperature->clear();
    ui->textEdit_hothouse_temp_slope_rev->clear();
    m_chamberScript = TempScript::startState(params, firstStep, 25.0f, g_hot_house_temperature_down_speed);
    on_pushButton_hothouse_cmd_start_clicked();
    ui->textEdit_hothouse_current_status->clear();
    if (m_hothouseScriptTimer->isActive())
        m_hothouseScriptTimer->stop();
    m_hothouseScriptTimer->start(m_scriptTickMs);
    m_hothouseScriptTimerRunning = true;
    m_chamberScriptStartMs = monotonicMs();

    ui->label_wenxiang_start_time->setText(tr("Start time:") + Clock::instance().now().toString(kStamp));
    create_hot_house_logfile(true);
    emit dc_control_cmd(retestOnly ? 104 : 103);
    // The supply goes off a minute after the start unless a step has switched it on by then
    // (counted by the script's own tick, see _ackTimeout_hothouse_ctrl_normal).
    m_dcOffPending = true;

    calc_total_run_time_fun();
    m_chamberScriptRetest = retestOnly;
    g_expected_calib_flag = 0;
    m_chamberScript.elapsedEstimate = 0;
    m_chamberScript.runSeconds = 0;
    setChamberScriptButtonsEnabled(false);
    emit signalTranspondLog(tr("%1 started").arg(RunGuard::name(retestOnly ? RunGuard::TempRetest : RunGuard::TempScript)));
}

void MultiCalib::DC_POWER_OFF_function()
{
    qDebug() << "DC_POWER_OFF_function";
    m_dcOffPending = false;
    emit dc_control_cmd(102);
}

int MultiCalib::chamberStaleLimitMs()
{
    const QVariant stored = getSettings()->value(kChamberSilenceKey);
    const ChamberSilenceLimit limit = chamberSilenceLimit(stored);
    if (limit.refused && stored.toString() != m_refusedSilenceLimit)
        emit signalTranspondLog(tr("Chamber: \"%1\" = \"%2\" is not a number of seconds up to one day; %3 s used")
                                    .arg(kChamberSilenceKey, stored.toString())
                                    .arg(kChamberSilenceDefaultS));
    m_refusedSilenceLimit = limit.refused ? stored.toString() : QString();
    return qMax(m_chamberPollMs, limit.ms);
}

double MultiCalib::shownChamberTemperature(qint64 runStartMs)
{
    bool isNumber = false;
    const double tc = ui->textEdit_hothouse_current_temperature->toPlainText().trimmed().toDouble(&isNumber);
    if (!isNumber || m_chamberTempAtMs < runStartMs - chamberStaleLimitMs())
        return std::numeric_limits<double>::quiet_NaN();
    return tc;
}

bool MultiCalib::chamberNotAnswering(qint64 runStartMs)
{
    const qint64 silentMs = monotonicMs() - qMax(m_chamberTempAtMs, runStartMs);
    // A poll counts as missed once its answer is half a period late.
    const qint64 poll = qMax(1, m_chamberPollMs);
    const qint64 missed = qMax<qint64>(0, silentMs - poll / 2) / poll;
    if (missed < m_chamberMissedPolls)
        m_chamberMissedPolls = 0; // a temperature came (or a new run started) since
    const int limitMs = chamberStaleLimitMs();
    while (m_chamberMissedPolls < missed && silentMs <= limitMs) {
        ++m_chamberMissedPolls;
        emit signalTranspondLog(tr("Chamber: poll %1 missed (no temperature for %2 s); the run stops after %3 s of silence")
                                    .arg(m_chamberMissedPolls)
                                    .arg(double(silentMs) / 1000.0, 0, 'f', 1)
                                    .arg(double(limitMs) / 1000.0, 0, 'f', 1));
    }
    return silentMs > limitMs;
}

bool MultiCalib::runLinksUp(RunGuard::Run run)
{
    int up = linksUp();
    // In chamber slave mode the chamber's temperature arrives over the base-board link.
    if (g_dual_computer_temp_calib_flag && g_net_connected && (run == RunGuard::TempScript || run == RunGuard::TempRetest))
        up |= RunGuard::Chamber;
    const QString missing = RunGuard::missingLinks(RunGuard::needs(run), up);
    if (missing.isEmpty())
        return true;
    const QString text = tr("Cannot start: not linked: %1").arg(missing);
    emit signalTranspondLog(text);
    Prompter::instance().warning(this, tr("Warning"), text);
    return false;
}

bool MultiCalib::chamberMissedSetPoint(const TempScript::RampBound &bound, uint32_t secondsInPhase)
{
    if (bound.seconds == 0 || secondsInPhase <= bound.seconds)
        return false;
    stopRunWithAlarm(tr("chamber did not reach %1 °C").arg(bound.target),
                     tr("The chamber did not come within 1 °C of %1 °C in %2 min").arg(bound.target).arg(bound.seconds / 60));
    return true;
}

void MultiCalib::stopChamberScript(const QString &reason, bool chamberStopSent)
{
    // Once the script has reached its end (its tick stopped) only the end's box is left.
    if (!m_hothouseScriptTimerRunning || (m_runs.active() != RunGuard::TempScript && m_runs.active() != RunGuard::TempRetest))
        return;
    m_chamberStopSent = chamberStopSent;
    stopActiveRun(reason);
    m_chamberStopSent = false;
}

// The stop path of both temperature scripts (the run guard calls it, then writes the log line):
// the tick and the switch-off still due end now, the supply drops the codes the script queued
// (its output stays as they left it), the chamber stops, the IMUs stop logging, the chamber
// log closes. Nothing is uploaded unless the last step's end code went out.
void MultiCalib::stopTemperatureScriptRun(const QString &reason)
{
    m_hothouseScriptTimer->stop();
    m_hothouseScriptTimerRunning = false;
    m_dcOffPending = false;
    if (!m_chamberStopSent && g_hothouse_connected)
        emit hothouse_generate_start_stop_cmd(0);
    if (m_dcWorker)
        abandonSupplyCodes();
    emit signal_auto_log_imu(0);
    setChamberScriptButtonsEnabled(true);
    close_hot_house_logfile();
    ui->textEdit_hothouse_current_status->setText(tr("Stopped: %1").arg(reason));
    // The last step's end code went out: what the modules last reported is posted now.
    forceRunPost();
}

void MultiCalib::calc_total_run_time_fun()
{
    const QString current = ui->textEdit_hothouse_current_temperature->toPlainText();
    ChamberScriptState &s = m_chamberScript;
    s.t0 = current.isEmpty() ? 25.0f : current.toFloat();
    s.rampSlope = ui->textEdit_hothouse_temp_slope->toPlainText().toFloat();
    s.fallRate = g_hot_house_temperature_down_speed;
    TempScript::estimateTotal(s);
    const QString text = TempScript::hoursMinutes(s.totalEstimate);
    qDebug() << "温补复测总运行时间" << text;
    ui->label_wenxiang_current_run_time->setText(text);
}

bool MultiCalib::judge_imu_alive_and_reached_calib_temprature()
{
    // Only a stop soak can end early.
    if (m_chamberScript.phase != ChamberScriptPhase::SoakStop || g_change_temp_calib_to_temp_cycling)
        return false;
    if (!TempScript::imusReachedStop(rackView(), m_netReported, m_chamberScript))
        return false;
    applyScriptActions(TempScript::earlyEnd(m_chamberScript, g_change_temp_calib_to_temp_cycling != 0));
    return true;
}

void MultiCalib::_ackTimeout_hothouse_ctrl_normal()
{
    ChamberScriptState &s = m_chamberScript;
    // A chamber temperature older than three poll periods (counted from the start when none
    // came since): the chamber is not answering and every target test would read a stale value.
    if (chamberNotAnswering(m_chamberScriptStartMs)) {
        stopChamberScript(tr("chamber not answering"));
        return;
    }
    // A post due now waits for the service with events running: a stop that came meanwhile
    // has ended the run, and this tick with it.
    const quint64 ticket = m_runs.ticket();
    checkRunPost();
    if (!m_runs.holds(ticket))
        return;
    TempScript::countTick(s);
    if (chamberMissedSetPoint(TempScript::rampBound(s, g_change_temp_calib_to_temp_cycling != 0), s.secondsInPhase))
        return;
    if (g_dual_computer_temp_calib_flag) {
        ui->textEdit_hothouse_set_temperature->setText(tr("Warm box slave mode"));
        ui->textEdit_hothouse_temp_slope_rev->setText(tr("Warm box slave mode"));
    }
    ui->label_wenxiang_current_run_time->setText(tr("Run time:") + TempScript::hoursMinutes(s.runSeconds));
    const uint32_t left = s.totalEstimate > s.elapsedEstimate ? s.totalEstimate - s.elapsedEstimate : 0;
    ui->label_wenxiang_left_run_time->setText(tr("Remaining time:") + TempScript::hoursMinutes(left));
    ui->textEdit_hothouse_current_loops->setText(TempScript::stepText(s.step));
    write_hot_house_script_line(s.elapsedEstimate);

    const double tc = shownChamberTemperature(m_chamberScriptStartMs);
    applyScriptActions(TempScript::phaseTick(s, tc, g_change_temp_calib_to_temp_cycling != 0, [this] {
        return TempScript::imusReachedStop(rackView(), m_netReported, m_chamberScript);
    }));
    // The switch-off due a minute after the start counts the same seconds as the phases: a
    // step that switches the supply on within the minute always comes first, however late
    // the ticks run on a busy computer.
    if (m_dcOffPending && m_hothouseScriptTimerRunning && s.runSeconds >= kDcOffAfterStartS)
        DC_POWER_OFF_function();
}

void MultiCalib::applyScriptActions(const QVector<ScriptAction> &actions)
{
    const quint64 ticket = m_runs.ticket();
    for (const ScriptAction &a : actions) {
        switch (a.kind) {
        case ScriptAction::SetSlope: emit hothouse_cmd_set_slope(uint8_t(a.value)); break;
        case ScriptAction::SetTarget: emit hothouse_set_target_temp(int16_t(a.value)); break;
        case ScriptAction::DcCode:
            if ((a.value == 56001 || a.value == 58001) && m_dcOffPending) {
                // A step switches the supply on: the switch-off still due from the start would
                // cut the IMUs' power in the middle of the step.
                m_dcOffPending = false;
                emit signalTranspondLog(tr("Supply switch-off after the start cancelled: step switched the supply on"));
            }
            if (isEndCode(uint16_t(a.value))) {
                ++m_endCodesSent;
                m_lastEndCodeSent = uint16_t(a.value);
            }
            emit dc_control_cmd(uint16_t(a.value));
            break;
        case ScriptAction::Status: ui->textEdit_hothouse_current_status->setText(a.text); break;
        case ScriptAction::UserTarget: ui->textEdit_hothouse_user_temp_target->setText(a.text); break;
        case ScriptAction::Debug: qDebug() << a.text; break;
        case ScriptAction::Log: emit signalTranspondLog(a.text); break;
        case ScriptAction::ClearTables: clear_calib_multi_table(); break;
        case ScriptAction::Post:
            // The last stop soak has ended: the results are posted once the modules have taken
            // its end code and reported after it (a bare cycle sends none: after their next
            // reports), at the latest at the end of the hold or at a stop before it.
            armRunPost(m_runs.active(), m_chamberScriptRetest ? 3 : 0, m_chamberScriptRetest ? 128 : 129,
                       g_change_temp_calib_to_temp_cycling ? 0 : m_lastEndCodeSent);
            // A post made at once waits for the service: the rest is not done after a stop.
            if (!m_runs.holds(ticket))
                return;
            break;
        case ScriptAction::Finish: finishChamberScript(); return;
        }
    }
}

void MultiCalib::finishChamberScript()
{
    m_hothouseScriptTimer->stop();
    m_dcOffPending = false;
    // The post still due waits for the service with events running; the run is still on while
    // it waits, so a stop meanwhile takes its own path and the end is not carried out.
    const quint64 ticket = m_runs.ticket();
    forceRunPost();
    if (!m_runs.holds(ticket))
        return;
    m_hothouseScriptTimerRunning = false;
    close_hot_house_logfile();
    emit signalTranspondLog(tr("Temperature script completed"));
    ui->textEdit_hothouse_current_status->setText(tr("Stop"));
    qDebug() << "保温：25停止";
    SoundPlayer::instance().playLooping(Sounds::Class);
    emit signal_auto_log_imu(0);
    m_chamberScript.elapsedEstimate = m_chamberScript.totalEstimate;
    emit dc_control_cmd(65530);
    // The run is over: the station is free before the box waits for the operator, so nothing
    // that happens meanwhile (a link lost) stops it a second time.
    const QString lostPlates = m_runs.lostPlatesNote();
    const RunGuard::Run run = m_chamberScriptRetest ? RunGuard::TempRetest : RunGuard::TempScript;
    finishRun(run);
    if (m_runPost.state == RunPost::NothingToPost) {
        SoundPlayer::instance().stopLoop();
        alarmNoModuleReported(run);
        return;
    }
    if (askYesNo(this, tr("Warning"),
                 tr("Temperature compensation calibration retest completed, please check the retest marker position") +
                     lostPlates) ==
        QMessageBox::Yes && m_runs.idle()) {
        // (A run started while the box waited owns the chamber now.)
        on_pushButton_hothouse_cmd_stop_clicked();
        setChamberScriptButtonsEnabled(true);
    }
    SoundPlayer::instance().stopLoop();
}
