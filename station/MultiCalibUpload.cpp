// The console's work-order capture and the upload of a station's results to the
// production-data web service.
#include "station/MultiCalib.h"

#include "ui_MultiCalib.h"

#include <QDebug>

#include <algorithm>

#include "app/Clock.h"
#include "app/Prompter.h"
#include "app/SoundPlayer.h"
#include "equipment/WorkerThread_DC_power.h"
#include "link/DeviceRecords.h"
#include "link/LinkFlags.h"
#include "station/ConsoleLogic.h"
#include "station/UploadOutbox.h"

namespace {
const char *kTimeFormat = "yyyy_MMdd HH:mm:ss";
}

bool MultiCalib::addWorkOrderDetailsDalig()
{
    m_workOrder.showAndWait();
    if (m_workOrderConfirmed) {
        m_uploadStartTime = Clock::instance().now().toString(kTimeFormat);
        return true;
    }
    Prompter::instance().warning(this, tr("Warning"), tr("Please enter the necessary information for the work order!!!"));
    return false;
}

void MultiCalib::onSignalInputParam(QString workOrderNum, QString operatorId, QString equipment, bool confirmed)
{
    qDebug() << "参数输入完成";
    m_workOrderConfirmed = confirmed;
    m_workOrderNum = workOrderNum;
    m_operatorId = operatorId;
    m_equipment = equipment;
    qDebug() << "WorkOrderNum:" << m_workOrderNum << "operatorId:" << m_operatorId << "equipment:" << m_equipment;
    m_workOrder.hide();
}

QByteArray MultiCalib::buildStationBody(uint8_t station)
{
    UploadContext context;
    context.workOrder = m_workOrderNum;
    context.operatorId = m_operatorId;
    context.equipment = m_equipment;
    context.startTime = m_uploadStartTime;
    context.endTime = m_uploadEndTime;
    context.maxTemperature = ui->textEdit_hothouse_stop_temp->toPlainText();
    context.minTemperature = ui->textEdit_hothouse_start_temp->toPlainText();
    context.slope = ui->textEdit_hothouse_temp_slope->toPlainText();
    context.cycleIndex = ui->textEdit_hothouse_loops_num->toPlainText();
    context.plateOpen = [](int plate) { return plate < g_link_status.size() && g_link_status[plate] != 0; };
    context.shielded = [this](int plate, int imu) { return m_shield_marks[size_t(plate)][size_t(imu)] == "1"; };
    context.plateRecords = [this](int plate) {
        const PlateSnapshot snap = g_calib_status.plate(plate);
        noteReportingImus(plate, snap);
        return snap;
    };
    context.seen = [this](int plate, int imu) { return m_imuSeen[size_t(plate)][size_t(imu)]; };
    QStringList log;
    const QByteArray body = buildUploadBody(station, context, *calibUploadTable, &log);
    for (const QString &line : log)
        qDebug().noquote() << line;
    return body;
}

QByteArray MultiCalib::buildJsonFullTemperature() { return buildStationBody(0); }
QByteArray MultiCalib::buildJsonTurntable() { return buildStationBody(1); }
QByteArray MultiCalib::buildJsonStaticAllan() { return buildStationBody(2); }
QByteArray MultiCalib::buildJsonTemperatureRetest() { return buildStationBody(3); }
QByteArray MultiCalib::buildJsonAdvancedAllan() { return buildStationBody(4); }
QByteArray MultiCalib::buildJsonAdvancedCalibration() { return buildStationBody(5); }

void MultiCalib::exectuePosMethod(uint8_t station)
{
    qDebug() << "station:" << station;
    m_uploadEndTime = Clock::instance().now().toString(kTimeFormat);
    UploadStationInfo info{};
    if (!uploadStationInfo(station, &info)) {
        m_lastUpload = UploadOutcome();
        m_lastUpload.errorName = "UnknownStation";
        qDebug() << "no upload address for station" << station;
        return;
    }
    const QUrl url = uploadAddress(QString::fromLatin1(info.path));
    qDebug().noquote() << "MES接口地址：" << url.toString();
    const QByteArray body = buildStationBody(station);
    emit signalTranspondLog(uploadPlatesLine(station));
    // Kept on disk first; the outbox posts it now and again later until the service took it.
    UploadOutcome outcome = m_outbox->send(station, body);
    for (const QString &line : outcome.log)
        qDebug().noquote() << line;
    m_lastUpload = std::move(outcome);
}

// Which plates a post holds, and the plates the run lost on its way (they are not in it).
QString MultiCalib::uploadPlatesLine(uint8_t station) const
{
    QStringList held;
    for (int p = 0; p < kPlates && p < g_link_status.size(); ++p)
        if (g_link_status[p])
            held << QString::number(p + 1);
    QString line = tr("Station %1 results hold plates: %2").arg(station).arg(held.isEmpty() ? tr("none") : held.join(", "));
    QStringList lost;
    for (int p : m_runs.lostPlates())
        lost << QString::number(p);
    if (!lost.isEmpty())
        line += tr(" (plate links lost during the run: %1)").arg(lost.join(", "));
    return line;
}

void MultiCalib::setChamberScriptButtonsEnabled(bool enabled)
{
    ui->pushButton_temperature_retest->setEnabled(enabled);
    ui->pushButton_hothouse_cmd_auto_include_dc_control->setEnabled(enabled);
}

// ---- the post of a run's results ---------------------------------------------------------------

void MultiCalib::armRunPost(RunGuard::Run run, uint8_t station, uint32_t expectedFlag, uint16_t endCode)
{
    m_runPost = RunPost();
    m_runPost.run = run;
    m_runPost.station = station;
    m_runPost.expectedFlag = expectedFlag;
    m_runPost.endCode = endCode;
    m_runPost.endCodeIndex = m_endCodesSent;
    if (endCode != 0) {
        m_runPost.state = RunPost::AwaitingCode;
        emit signalTranspondLog(tr("Results wait for the modules to take end code %1").arg(endCode));
    } else {
        waitForReportsAfterNow();
    }
}

void MultiCalib::waitForReportsAfterNow()
{
    m_runPost.state = RunPost::AwaitingReports;
    // Every linked plate with an IMU that reports, or has reported in this run (records cleared
    // at a soak's end are empty until the next report).
    judgedImus();
    for (int p = 0; p < kPlates; ++p) {
        bool reports = false;
        if (g_link_status[p] == 1)
            for (bool seen : m_imuSeen[size_t(p)])
                reports = reports || seen;
        m_runPost.reportsAt[size_t(p)] = reports ? int64_t(g_calib_status.generation(p)) : -1;
    }
    checkRunPost();
}

void MultiCalib::platesTookCode(uint16_t code, bool taken)
{
    if (!isEndCode(code))
        return;
    ++m_endCodesAnswered;
    if (m_runPost.state != RunPost::AwaitingCode || code != m_runPost.endCode ||
        m_endCodesAnswered != m_runPost.endCodeIndex)
        return;
    m_runPost.confirmed = taken;
    emit signalTranspondLog(taken ? tr("End code %1 taken by every reporting module").arg(code)
                                  : tr("End code %1 not confirmed: not every reporting module took it").arg(code));
    if (taken) {
        waitForReportsAfterNow();
        return;
    }
    // The supply has stopped trying, the modules may still take the code: the post waits for
    // every reporting module to show it, at the latest to the end of the hold.
    m_runPost.state = RunPost::AwaitingShown;
    checkRunPost();
}

bool MultiCalib::reportingModulesShow(uint16_t code)
{
    bool any = false;
    for (int p = 0; p < kPlates; ++p) {
        if (g_link_status[p] != 1)
            continue;
        const PlateSnapshot snap = g_calib_status.plate(p);
        for (int i = 0; i < kImusPerPlate; ++i) {
            // A module silent now has nothing to show.
            if (snap.imu[size_t(i)].time_ms == 0 || m_shield_marks[size_t(p)][size_t(i)] == "1")
                continue;
            if (snap.imu[size_t(i)].calib_status != code)
                return false;
            any = true;
        }
    }
    return any;
}

void MultiCalib::checkRunPost()
{
    if (m_runPost.state == RunPost::AwaitingShown && reportingModulesShow(m_runPost.endCode)) {
        emit signalTranspondLog(tr("End code %1 shown by every reporting module").arg(m_runPost.endCode));
        m_runPost.confirmed = true;
        makeRunPost(tr("Results posted from the modules' reports after end code %1").arg(m_runPost.endCode));
        return;
    }
    if (m_runPost.state != RunPost::AwaitingReports)
        return;
    for (int p = 0; p < kPlates; ++p) {
        const int64_t at = m_runPost.reportsAt[size_t(p)];
        // A plate whose link closed meanwhile has nothing more to say.
        if (at >= 0 && g_link_status[p] == 1 && int64_t(g_calib_status.generation(p)) <= at)
            return;
    }
    makeRunPost(m_runPost.endCode == 0 ? tr("Results posted from the modules' reports after the run's last step")
                : m_runPost.confirmed ? tr("Results posted from the modules' reports after end code %1").arg(m_runPost.endCode)
                                      : tr("Results posted from the modules' last reports: end code %1 not confirmed")
                                            .arg(m_runPost.endCode));
}

void MultiCalib::forceRunPost()
{
    if (m_runPost.state != RunPost::AwaitingCode && m_runPost.state != RunPost::AwaitingShown &&
        m_runPost.state != RunPost::AwaitingReports)
        return;
    if (m_runPost.endCode != 0 && !(m_runPost.state == RunPost::AwaitingReports && m_runPost.confirmed))
        makeRunPost(tr("Results posted from the modules' last reports: end code %1 not confirmed").arg(m_runPost.endCode));
    else
        makeRunPost(tr("Results posted from the modules' last reports"));
}

void MultiCalib::makeRunPost(const QString &logLine)
{
    g_expected_calib_flag = m_runPost.expectedFlag;
    if (judgedImus() == 0) {
        m_runPost.state = RunPost::NothingToPost;
        emit signalTranspondLog(nothingPostedText(m_runPost.run));
        return;
    }
    m_runPost.state = RunPost::Posted;
    m_runPost.answered = false;
    m_runPost.sent = false;
    m_runPost.postedAt = Clock::instance().now().toString("yyyy-MM-dd hh:mm:ss");
    emit signalTranspondLog(logLine);
    // The post waits for the service with events running: a stop may come meanwhile.
    m_runPost.inFlight = true;
    exectuePosMethod(m_runPost.station);
    m_runPost.inFlight = false;
    m_runPost.outcome = m_lastUpload;
    m_runPost.answered = true;
    if (m_runPost.outcomeOwed) {
        m_runPost.outcomeOwed = false;
        emit signalTranspondLog(RunGuard::name(m_runPost.run) + ": " + runPostNote(m_runPost.run));
    }
}

QString MultiCalib::runPostNote(RunGuard::Run run) const
{
    if (m_runPost.run != run || m_runPost.state != RunPost::Posted)
        return tr("nothing is uploaded");
    if (!m_runPost.answered && !m_runPost.sent)
        return tr("its results are being posted");
    if (!m_runPost.answered)
        return tr("its results are being posted (sent at %1)").arg(m_runPost.postedAt);
    if (m_runPost.outcome.ok)
        return tr("its results were posted at %1 and the service took them").arg(m_runPost.postedAt);
    if (m_runPost.outcome.refused)
        return tr("its results were posted at %1 and the service refused them: they are set aside until \"Resend results\" sends them again").arg(m_runPost.postedAt);
    return tr("its results were posted at %1 and wait in the outbox").arg(m_runPost.postedAt);
}

QString MultiCalib::noModuleReportedText(RunGuard::Run run)
{
    return tr("%1: no module reported during the run: nothing is uploaded").arg(RunGuard::name(run));
}

QString MultiCalib::nothingPostedText(RunGuard::Run run)
{
    // Modules that reported on plates whose links went away are no "no module reported".
    QList<int> lost = m_runs.lostPlates();
    for (int p = 0; p < kPlates; ++p) {
        const bool seen = std::any_of(m_imuSeen[size_t(p)].begin(), m_imuSeen[size_t(p)].end(), [](bool s) { return s; });
        if (seen && g_link_status[p] != 1 && !lost.contains(p + 1))
            lost << p + 1;
    }
    if (lost.isEmpty())
        return noModuleReportedText(run);
    std::sort(lost.begin(), lost.end());
    QStringList numbers;
    for (int p : lost)
        numbers << QString::number(p);
    return tr("%1: the links of the plates that reported were lost (plates %2): nothing is uploaded")
        .arg(RunGuard::name(run), numbers.join(", "));
}

void MultiCalib::alarmNoModuleReported(RunGuard::Run run)
{
    SoundPlayer::instance().playLooping(Sounds::Class);
    Prompter::instance().warning(this, tr("Warning"), nothingPostedText(run));
    SoundPlayer::instance().stopLoop();
}
