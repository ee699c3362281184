// The worker report dispatcher: turns the workers' reports into display updates, commands to
// every plate, sounds and boxes.
#include "station/MultiCalib.h"

#include "ui_MultiCalib.h"

#include <QDebug>
#include <QFile>
#include <QSignalBlocker>
#include <QTimer>

#include <cmath>

#include "app/Clock.h"
#include "app/Prompter.h"
#include "app/SoundPlayer.h"
#include "app/TimeUtil.h"
#include "station/ConsoleLogic.h"

void MultiCalib::broadcast(uint16_t cmd, uint32_t cm3)
{
    emit Send_CMD_LONG_SIGNAL_times(cmd, 0.0f, 0.0f, cm3, 0, 0, 0);
}

void MultiCalib::appendStamped(const QString &text, bool autoPage, bool advancedPage)
{
    const QString line = Clock::instance().now().toString("yyyy-MM-dd hh:mm:ss ") + text;
    if (autoPage)
        ui->textEdit_turn_table_status_auto->append(line);
    if (advancedPage)
        ui->textEdit_turn_table_status_advanced->append(line);
}

void MultiCalib::rev_log_from_worker(uint8_t code, QString text)
{
    // A stopped sequence's late stage codes and end act for nothing.
    if (stoppedSequenceReport(code))
        return;
    emit signal_log_from_multi_calib(code, text);
    endOneClickRunOn(code, text);
    const QString logLine = reportLogLine(code, text);
    if (!logLine.isEmpty())
        emit signalTranspondLog(logLine);
    switch (code) {
    case 37: {
        const BaseBoardReport r = parseBaseBoardReport(text);
        if (!r.valid)
            break;
        if (r.net) {
            m_netReported = true;
        } else if (r.plate > 0) {
            QTableWidget *t = ui->tableWidget_calib_multi_total;
            if (t->rowCount() > 17) {
                t->setItem(16, r.plate, new QTableWidgetItem(r.value1));
                t->setItem(17, r.plate, new QTableWidgetItem(r.value2));
            }
            qDebug() << "多底板校准请求到的版本号：" << text;
            m_plateReported[size_t(r.plate - 1)] = true;
            m_plateIdentity[size_t(r.plate - 1)] = r.value2;
        }
        break;
    }
    case 38:
        appendStamped(text, false, true);
        qDebug() << text;
        break;
    case 39:
        QTimer::singleShot(0, this, &MultiCalib::heat_box_end);
        ui->textEdit_turn_table_status_advanced->append(tr("Cool to room temperature, end after 30 minutes"));
        emit hothouse_set_target_temp(25);
        break;
    case 46: {
        const QString date = Clock::instance().now().toString("yyMMdd");
        qDebug() << "当前标定加表的时间" << date;
        const quint64 ticket = m_runs.ticket();
        broadcast(30007, calibDateWord(Clock::instance().now().date()));
        wait_ms(100); // events run meanwhile: a run stopped in it sends nothing more
        // The run's ticket is what holds 56004 back after a stop in the pause: the sequence's
        // reports are dropped only by the one-click run's stop, which ends the ticket too. A
        // stage outside any run (a manual sequence) has no run a stop could end.
        if (ticket == 0 || m_runs.holds(ticket))
            broadcast(56004);
        break;
    }
    case 47: broadcast(56007); break;
    case 48: broadcast(51000); break;
    case 49: broadcast(52000); break;
    case 50: broadcast(56010); break;
    case 51: broadcast(56013); break;
    case 59:
        Prompter::instance().information(this, tr("Tip"), text);
        break;
    case 62: {
        g_expected_calib_flag = 3999;
        emit signal_auto_log_imu(0);
        // No IMU judged: there is nothing to post, and the run did not complete.
        if (judgedImus() == 0) {
            emit signalTranspondLog(nothingPostedText(RunGuard::OneClick));
            alarmNoModuleReported(RunGuard::OneClick);
            break;
        }
        // The one-click run ended with this report (endOneClickRunOn, above): the post and its
        // box come after it. A stop or a Disconnect while the post waits for the service finds
        // no run: the results go out and the box says so.
        SoundPlayer::instance().playLooping(Sounds::Class);
        exectuePosMethod(1);
        // The end-of-run box says so when the results did not reach the service.
        const auto answer = Prompter::instance().ask(
            Prompter::Kind::Warning, this, tr("Warning"),
            tr("Turntable calibration completed, please check the calibration flag position") + uploadStateNote() +
                m_runs.lostPlatesNote(),
            QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes);
        if (answer == QMessageBox::Yes || answer == QMessageBox::No)
            SoundPlayer::instance().stopLoop();
        break;
    }
    case 65: broadcast(58004); break;
    case 66: broadcast(58007); break;
    case 67: broadcast(58010); break;
    case 68: broadcast(58013); break;
    case 74:
        appendStamped(text, true, true);
        qDebug() << text;
        break;
    case 75: {
        const QString line = Clock::instance().now().toString("yyyy-MM-dd hh:mm:ss ") + text;
        ui->textEdit_turn_table_status_auto->setPlainText(line);
        ui->textEdit_turn_table_status_advanced->setPlainText(line);
        break;
    }
    case 77: {
        ui->textEdit_dc_power_supply_current_voltage->setPlainText(text);
        const QString time = Clock::instance().now().toString("yyyy_MMdd HH:mm:ss");
        writeDcPowerLogLine(time, time + "," + text + "," + ui->textEdit_dc_power_supply_current_current->toPlainText() + ","
                                      + ui->textEdit_dc_power_supply_max_voltage->toPlainText() + ","
                                      + ui->textEdit_dc_power_supply_max_current->toPlainText() + "\n");
        break;
    }
    case 78: ui->textEdit_dc_power_supply_current_current->setPlainText(text); break;
    case 79:
    case 83: ui->label_turn_table_current_run_time->setText(text); break;
    case 80: ui->label_turn_table_left_run_time->setText(text); break;
    case 81: ui->label_turn_table_current_time_auto->setText(text); break;
    case 84:
        ui->label_turn_table_left_run_time->setText(text);
        ui->label_turn_table_left_run_time_advanced->setText(text);
        break;
    case 85: {
        ui->label_replay_percentage->setText(text);
        // The slider and its value follow the replay's progress, unless the operator holds it;
        // the seek percentage stays the one the operator chose (see onHorizontalSliderReleased).
        bool ok = false;
        const double percent = QString(text).remove('%').toDouble(&ok);
        if (ok && !ui->horizontalSlider_Percentage->isSliderDown()) {
            const QSignalBlocker quiet(ui->horizontalSlider_Percentage);
            ui->horizontalSlider_Percentage->setValue(int(std::floor(percent)));
            ui->label_PercentageValue->setText(QString::number(ui->horizontalSlider_Percentage->value()));
        }
        break;
    }
    case 102: ui->textEdit_hothouse_set_temperature_by_user_manual->setPlainText(text); break;
    default: break;
    }
}

// Shows the "frame not enabled" warning; the open mark keeps a second one from stacking.
void MultiCalib::frameWarning(uint16_t)
{
    m_frameWarningOpen = true;
    Prompter::instance().ask(Prompter::Kind::Warning, this, tr("Warning"), tr("The inner or outer frame is not enabled!"),
                             QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes);
    m_frameWarningOpen = false;
}

void MultiCalib::rev_signal_send_zhuantai_status(int32_t innerPos, int32_t innerRate, uint16_t innerStatus,
                                                 int32_t outerPos, int32_t outerRate, uint16_t outerStatus)
{
    ++m_turnTableStatusCount;
    if (m_turnTableStatusCount % 10 == 0) {
        auto scaled = [](int32_t v) { return QString::number(double(v) / 10000.0, 'f', 4); };
        for (QTextEdit *e : {ui->neihuan_current_pos_auto, ui->neihuan_current_pos_advanced, ui->neihuan_current_pos_manual})
            e->setPlainText(scaled(innerPos));
        for (QTextEdit *e : {ui->neihuan_current_vel_auto, ui->neihuan_current_vel_advanced, ui->neihuan_current_vel_manual})
            e->setPlainText(scaled(innerRate));
        for (QTextEdit *e : {ui->waihuan_current_pos_auto, ui->waihuan_current_pos_advanced, ui->waihuan_current_pos_manual})
            e->setPlainText(scaled(outerPos));
        for (QTextEdit *e : {ui->waihuan_current_vel_auto, ui->waihuan_current_vel_advanced, ui->waihuan_current_vel_manual})
            e->setPlainText(scaled(outerRate));
        ui->neihuan_current_status->setPlainText(QString::number(innerStatus));
        ui->neihuan_current_status_advanced->setPlainText(QString::number(innerStatus));
        ui->waihuan_current_status->setPlainText(QString::number(outerStatus));
        ui->waihuan_current_status_advanced->setPlainText(QString::number(outerStatus));
        const QString now = Clock::instance().now().toString("yyyy_MMdd HH:mm:ss");
        ui->label_turn_table_current_time_manual->setText(now);
        ui->label_turn_table_current_time_auto->setText(now);
    }
    if (m_turnTableStatusCount % 1000 == 0 && m_turnTableType == 4) {
        for (uint16_t status : {innerStatus, outerStatus}) {
            if ((status & 0x80) == 0 && !m_frameWarningOpen) {
                frameWarning(status);
                return;
            }
        }
    }
    g_turn_table_status_time = Clock::instance().monotonicMs();
}

void MultiCalib::setBtnStyleSheet(int index)
{
    for (int i = 0; i < m_replayButtons.size(); ++i)
        m_replayButtons[i]->setStyleSheet(i == index ? "QPushButton{background-color:red;}" : m_normalButtonStyle);
}
