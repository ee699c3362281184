// The console's work-order capture and the upload of a station's results to the
// production-data web service.
#include "station/MultiCalib.h"

#include "ui_MultiCalib.h"

#include <QDebug>

#include "app/Clock.h"
#include "app/Prompter.h"
#include "link/DeviceRecords.h"
#include "link/LinkFlags.h"
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
    QString line = QString("Station %1 results hold plates: %2").arg(station).arg(held.isEmpty() ? QString("none") : held.join(", "));
    QStringList lost;
    for (int p : m_runs.lostPlates())
        lost << QString::number(p);
    if (!lost.isEmpty())
        line += QString(" (plate links lost during the run: %1)").arg(lost.join(", "));
    return line;
}

void MultiCalib::setChamberScriptButtonsEnabled(bool enabled)
{
    ui->pushButton_temperature_retest->setEnabled(enabled);
    ui->pushButton_hothouse_cmd_auto_include_dc_control->setEnabled(enabled);
}
