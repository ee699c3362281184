// The console's DC supply panel ("Power Control"): the supply link with its text log, the
// Modbus set frame and the manual output switch.
#include "station/MultiCalib.h"

#include "app/OpenLogFile.h"

#include "ui_MultiCalib.h"

#include <QDebug>
#include <QFile>
#include <QTextEdit>

#include "app/Clock.h"
#include "app/Prompter.h"
#include "app/Settings.h"
#include "equipment/EquipmentRegisters.h"
#include "equipment/StationValues.h"
#include "equipment/WorkerThread_DC_power.h"
#include "link/LinkFlags.h"
#include "station/ChamberLog.h"
#include "station/ConsoleLogic.h"
#include "station/DcPowerFrames.h"

WorkerThread_DC_power *MultiCalib::dcPowerWorker() const { return m_dcWorker.data(); }

void MultiCalib::init_dc_power_Widget()
{
    ui->textEdit_dc_power_supply_current_voltage->setPlainText("N/A");
    ui->textEdit_dc_power_supply_current_current->setPlainText("N/A");
    QSettings *s = getSettings();
    ui->textEdit_dc_power_supply_max_voltage->setPlainText(
        QString::number(s->value("main_index/DC_Max_VOLTAGE_NOW", 0.0f).toFloat(), 'g', 6));
    ui->textEdit_dc_power_supply_max_current->setPlainText(
        QString::number(s->value("main_index/DC_Max_CURRENT_NOW", 0.0f).toFloat(), 'g', 6));
    // No set frame yet: the first switch-on, by hand or by a run, checks the page and builds it.
    // The command page's four-hour run takes this page's set-point as every run does.
    m_cmdPage.setSupplySetPoint([this](DcPower::SetPoint &p) { return supplySetPointAccepted(p); },
                                [this](const DcPower::SetPoint &p) { startRunSupply(p); });
    connect(ui->pushButton_dc_power_supply_ON_OFF, SIGNAL(clicked()), this, SLOT(on_pushButton_dc_power_supply_ON_OFF_clicked()),
            Qt::UniqueConnection);
}

void MultiCalib::on_clicked_pushButton_connect_dc_power_ctrl()
{
    const QString port = portOfComboText(ui->comboBox_calib_multi_DC_power->currentText());
    if (!port.isEmpty() && port == g_port_name) {
        Prompter::instance().warning(this, tr("Warning"), tr("The serial port number of the power supply conflicts"));
        return;
    }
    qDebug() << "用户操作打开/断开串口连接";
    if (g_dc_power_connected || m_dcWanted) {
        if (m_dcWorker)
            emit signal_closePort_dc_power();
        g_dc_power_connected = 0;
        m_dcWanted = false;
        emit signal_label_record_visible(0);
        emit signalTranspondLog(tr("DC supply link closed"));
        stopRunsNeeding(RunGuard::Supply, tr("DC supply link closed"));
    } else {
        if (m_dcWorker)
            qDebug() << "m_analyzeThread != NULL";
        retireWorker(m_dcWorker, kPortReleaseMs);
        WorkerThread_DC_power *w = createWorker_DC_power(port, g_baud_rate);
        m_dcWorker = w;
        m_dcWanted = true;
        // The console acts only on the current worker's reports (see whileCurrent).
        ++m_dcSerial;
        connect(w, &WorkerThread_DC_power::signal_connectIsSuccess, this, whileCurrent(m_dcSerial, &MultiCalib::connectIsOk_DC_power));
        connect(this, &MultiCalib::signal_closePort_dc_power, w, &WorkerThread_DC_power::closePort);
        connect(w, &WorkerThread_DC_power::signal_log, this, &MultiCalib::rev_log_from_worker);
        connect(this, &MultiCalib::dc_control_cmd, w, &WorkerThread_DC_power::rev_dc_control);
        // The supply's codes to the modules, unless a stopped run's codes are being dropped or
        // the worker that sent them has been retired since.
        connect(w, &WorkerThread_DC_power::Send_CMD_LONG_SIGNAL, this,
                whileCurrent(m_dcSerial, [this](uint16_t id, float c1, float c2, uint32_t c3, uint32_t c4, int32_t c5, int32_t c6) {
                    if (!m_supplyCodes.dropping())
                        emit Send_CMD_LONG_SIGNAL(id, c1, c2, c3, c4, c5, c6);
                }));
        connect(w, &WorkerThread_DC_power::Send_CMD_LONG_SIGNAL_times, this,
                whileCurrent(m_dcSerial, [this](uint16_t id, float c1, float c2, uint32_t c3, uint32_t c4, int32_t c5, int32_t c6) {
                    if (!m_supplyCodes.dropping())
                        emit Send_CMD_LONG_SIGNAL_times(id, c1, c2, c3, c4, c5, c6);
                }));
        connect(this, &MultiCalib::signal_send_modbus_mutex, w, &WorkerThread_DC_power::send_modbus_mutex);
        connect(w, &WorkerThread_DC_power::signal_linkLost, this, whileCurrent(m_dcSerial, &MultiCalib::linkLost_DC_power));
        connect(w, &WorkerThread_DC_power::signal_switch_read_back, this, whileCurrent(m_dcSerial, &MultiCalib::supplySwitchReadBack));
        connect(w, &WorkerThread_DC_power::signal_set_frame_read_back, this,
                whileCurrent(m_dcSerial, &MultiCalib::supplyManualSwitchReadBack));
        connect(w, &WorkerThread_DC_power::signal_plates_took, this, whileCurrent(m_dcSerial, &MultiCalib::platesTookCode));
        m_supplyConfirmedOn = -1; // a new link knows nothing of the output yet
        m_supplyCodes.reset(); // a new worker has sent nothing yet
        ui->label_dc_power_output_state->setText(supplyOutputText());
        emit signal_label_record_visible(1);

        // Each open starts a new log; the previous one is closed.
        const QDateTime now = Clock::instance().now();
        const QString folder = logSubdir("log_dc_power/" + ChamberLog::dayText(now));
        delete m_dcLogFile;
        m_dcLogFile = new OpenLogFile(folder + "/" + ChamberLog::fileName(now), this);
        m_dcLogFailed = false;
        ui->label_dc_power_current_time->setStyleSheet(QString());
        // Appending: a log of the same second is continued, never overwritten from its start.
        if (m_dcLogFile->open(QIODevice::ReadWrite | QIODevice::Append)) {
            const QByteArray header = DcPower::logHeader().toUtf8();
            if (m_dcLogFile->write(header) != header.size() || !m_dcLogFile->flush())
                markLogFailure(false, m_dcLogFile->fileName() + ": " + m_dcLogFile->errorString());
        } else {
            qDebug() << "Open file failed.";
            markLogFailure(false, m_dcLogFile->fileName() + ": " + m_dcLogFile->errorString());
        }
    }
    readDcModel();
}

// The supply model stored by the settings dialog: read at every connect and close of the
// supply link and whenever the dialog stores one.
void MultiCalib::readDcModel()
{
    g_dc_power_type = uint8_t(getSettings()->value("main_index/DC_type", 0).toInt());
    const QString model = DcPower::modelText(g_dc_power_type);
    if (!model.isEmpty())
        ui->label_dc_power_type->setText(model);
    ui->label_dc_power_type->setStyleSheet("background-color: red;color:black");
}

void MultiCalib::writeDcPowerLogLine(const QString &time, const QString &line)
{
    ui->label_dc_power_current_time->setText(tr("Update time:") + time +
                                             (m_dcLogFailed ? tr(" - supply log not written") : QString()));
    if (!m_dcLogFile || !m_dcLogFile->isOpen())
        return; // the failure to open was shown once
    const QByteArray bytes = line.toUtf8();
    if (m_dcLogFile->write(bytes) != bytes.size() || !m_dcLogFile->flush())
        markLogFailure(false, m_dcLogFile->fileName() + ": " + m_dcLogFile->errorString());
}

void MultiCalib::linkLost_DC_power(QString reason)
{
    g_dc_power_connected = 0;
    m_dcWanted = false;
    emit signalTranspondLog(tr("DC supply: link lost (%1), please reconnect").arg(reason));
    stopRunsNeeding(RunGuard::Supply, tr("DC supply link lost"));
}

// A switch the supply did not confirm: the run that counts on the supply cannot go on blind.
void MultiCalib::supplySwitchReadBack(int on, bool confirmed)
{
    if (confirmed) {
        showSupplyConfirmed(on);
        // A run's switch: the manual switch goes on from the output the supply confirmed.
        g_dc_power_on = on ? 1 : 0;
        showManualSwitchState();
        return;
    }
    if (m_runs.idle() || !(RunGuard::needs(m_runs.active()) & RunGuard::Supply))
        return;
    const QString what = on ? tr("DC supply did not confirm power on") : tr("DC supply did not confirm power off");
    stopRunWithAlarm(what, what);
}

// The read-back of the panel's own switch: the output label follows what the supply confirmed;
// a manual switch that the supply did not confirm is told in the log and stops no run.
void MultiCalib::supplyManualSwitchReadBack(int on, bool confirmed)
{
    if (confirmed)
        showSupplyConfirmed(on);
    else
        emit signalTranspondLog(on ? tr("DC supply did not confirm the manual power on")
                                   : tr("DC supply did not confirm the manual power off"));
}

// The supply drops the codes queued for the stopped run. A code to the modules it sent before
// it heard of the stop is still on its way to the console: everything it sent is dropped until
// the word that it has let go comes back behind it.
void MultiCalib::abandonSupplyCodes()
{
    WorkerThread_DC_power *w = m_dcWorker.data();
    m_supplyCodes.drop(w, [w] { w->abandonControl(); });
}

void MultiCalib::showSupplyConfirmed(int on)
{
    m_supplyConfirmedOn = on;
    ui->label_dc_power_output_state->setText(supplyOutputText());
}

void MultiCalib::showManualSwitchState()
{
    ui->pushButton_dc_power_supply_ON_OFF->setText(g_dc_power_on ? tr("Manual power off") : tr("Manual power on"));
}

DcPower::SetPoint MultiCalib::readSupplySetPoint() const
{
    // The fields are named as their labels on the supply page read.
    return DcPower::checkSetPoint(ui->label_hothouse_current_temperature_5->text(),
                                  ui->textEdit_dc_power_supply_max_voltage->toPlainText(),
                                  ui->label_hothouse_set_temperature_16->text(),
                                  ui->textEdit_dc_power_supply_max_current->toPlainText(), g_dc_power_type);
}

bool MultiCalib::supplySetPointAccepted(DcPower::SetPoint &out, bool forRun)
{
    Prompter &prompter = Prompter::instance();
    const auto highVoltageConfirmed = [&] {
        return !DcPower::isHighVoltage(out.volts)
               || prompter.ask(Prompter::Kind::Warning, this, tr("Warning"),
                               tr("Are you sure you need such a high voltage? Unless using DC-DC"),
                               QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes) == QMessageBox::Yes;
    };
    out = readSupplySetPoint();
    if (!forRun) {
        // The manual switch looks at the voltage first (asking once more at 31 V), then at the model.
        if (!out.voltageOk) {
            prompter.warning(this, tr("Warning"), tr("Incorrect voltage value setting"));
            qDebug().noquote() << "电压设置有误:" << ui->textEdit_dc_power_supply_max_voltage->toPlainText().trimmed();
            return false;
        }
        if (!highVoltageConfirmed())
            return false;
        if (!out.modelOk) {
            prompter.warning(this, tr("Warning"), tr("Unknown power supply model, please confirm again"));
            qDebug() << "电源型号未知，请重新确认";
            return false;
        }
    }
    if (!out.ok()) {
        const QString text = (forRun ? tr("Cannot start: %1") : tr("DC supply not switched: %1")).arg(out.problem);
        emit signalTranspondLog(text);
        prompter.warning(this, tr("Warning"), text);
        return false;
    }
    return !forRun || highVoltageConfirmed();
}

void MultiCalib::useSupplySetPoint(const DcPower::SetPoint &p, bool byRun)
{
    if (!p.ok())
        return;
    if (byRun || m_runs.idle() || !(RunGuard::needs(m_runs.active()) & RunGuard::Supply))
        g_dc_set_frame.store(p.frame(false));
    QSettings *s = getSettings();
    s->setValue("main_index/DC_Max_CURRENT_NOW", float(p.amps));
    s->setValue("main_index/DC_Max_VOLTAGE_NOW", float(p.volts));
    s->sync();
}

void MultiCalib::startRunSupply(const DcPower::SetPoint &p)
{
    useSupplySetPoint(p, true);
    emit signalTranspondLog(tr("DC supply for this run: %1").arg(p.text()));
}

QString MultiCalib::supplyOutputText() const
{
    if (m_supplyConfirmedOn < 0)
        return tr("Output: not confirmed since the link opened");
    return m_supplyConfirmedOn ? tr("Output: on (last confirmed by the supply)")
                               : tr("Output: off (last confirmed by the supply)");
}

QString MultiCalib::dcPowerLogPath() const { return m_dcLogFile ? m_dcLogFile->fileName() : QString(); }

void MultiCalib::connectIsOk_DC_power(bool ok)
{
    if (!m_dcWanted)
        return; // a link closed since
    logLinkOpen(tr("DC supply"), ok);
    if (ok)
        g_dc_power_connected = 1;
    else
        m_dcWanted = false;
}

void MultiCalib::on_pushButton_dc_power_supply_ON_OFF_clicked()
{
    Prompter &p = Prompter::instance();
    if (!g_dc_power_connected) {
        p.warning(this, tr("Warning"), tr("The power serial port is not turned on"));
        return;
    }
    if (p.ask(Prompter::Kind::Warning, this, tr("Warning"), tr("Are you sure to turn on the power supply?"),
              QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes) != QMessageBox::Yes)
        return;
    DcPower::SetPoint setPoint;
    if (g_dc_power_on) {
        // Switching off is never refused, whatever the fields hold now: the frame carries the
        // page's set-point when it passes the rule, else the last one that did, output off.
        setPoint = readSupplySetPoint();
        QByteArray off = setPoint.ok() ? setPoint.frame(false) : g_dc_set_frame.load();
        if (off.size() != DcSupply::kSetFrameBytes)
            off = DcPower::buildSetFrame(0, 0, 1, 1, false);
        off[DcSupply::kOutputByte] = 0;
        useSupplySetPoint(setPoint, false);
        emit signal_send_modbus_mutex(off, 0);
        g_dc_power_on = 0;
        showManualSwitchState();
        return;
    }
    if (!supplySetPointAccepted(setPoint, false))
        return;
    useSupplySetPoint(setPoint, false);
    emit signal_send_modbus_mutex(setPoint.frame(true), 0);
    g_dc_power_on = 1;
    showManualSwitchState();
}
