// The console's operator actions: the one-click turntable calibration, the manual module
// commands, the manual turntable controls, the repeat-click switch, the manual uploads, the
// administrator mode, the FTP worker and the frame-enable checks.
#include "station/MultiCalib.h"

#include "ui_MultiCalib.h"

#include <QDebug>

#include "app/Clock.h"
#include "app/Prompter.h"
#include "app/Settings.h"
#include "app/TimeUtil.h"
#include "equipment/WorkerThread_turn_table.h"
#include "link/LinkFlags.h"
#include "production/WorkerThread_ftp.h"
#include "station/AutoTurnTableTestType.h"
#include "station/ConsoleActions.h"
#include "station/ConsoleDialogs.h"
#include "station/ConsoleLogic.h"
#include "station/Multi_calib_test.h"

WorkerThread_ftp *MultiCalib::ftpWorker() const { return m_worker_ftp.data(); }

void MultiCalib::on_pushButton_one_click_calib_clicked()
{
    // The sequence runs on the turntable: without its link it could never start, nor end.
    if (!turnTableLinkedOrWarn() || refuseWhileRunning() || !runLinksUp(RunGuard::OneClick))
        return;
    // The turntable of type 2 posts its results with a work order: ask for it first.
    if (m_turnTableType == 2 && !addWorkOrderDetailsDalig())
        return;
    if (!beginRun(RunGuard::OneClick))
        return;
    setOneClickRunning(true);
    AutoTurnTableTestType *type = AutoTurnTableTestType::instance();
    type->setTestType(ui->radioButtonNormalTest->isChecked() ? 0 : 1);
    type->saveTestType();
    emit signal_auto_log_imu(1);
    emit signal_common_cmd(kOneClickCommonCode);
}

// The one-click button and the two test-type choices are grey exactly while the run lasts.
void MultiCalib::setOneClickRunning(bool running)
{
    m_oneClickRunning = running;
    ui->pushButton_one_click_calib->setEnabled(!running && m_runs.idle());
    ui->pushButton_one_click_calib->setStyleSheet(running || !m_runs.idle() ? QString("color:grey") : QString());
    ui->radioButtonNormalTest->setEnabled(!running);
    ui->radioButtonNoLineTest->setEnabled(!running);
}

void MultiCalib::endOneClickRun()
{
    if (!m_oneClickRunning)
        return;
    setOneClickRunning(false);
    finishRun(RunGuard::OneClick);
}

void MultiCalib::endOneClickRunOn(uint8_t code, const QString &text)
{
    if (m_oneClickRunning && oneClickRunEnded(code, text))
        endOneClickRun();
}

void MultiCalib::oneClickSequenceEnded(uint8_t commonCode)
{
    // A stopped run's end, still on its way, ends nothing of a run begun since.
    if (commonCode == kOneClickCommonCode && !m_sequenceReports.dropping())
        endOneClickRun();
}

// The stop path of the one-click run: the table stops (which ends its sequence), the IMUs stop
// logging and the button is free again. Nothing is posted.
void MultiCalib::stopOneClickRun()
{
    m_oneClickRunning = false;
    if (g_turn_table_connected && m_turnTableWorker) {
        for (bool outer : {false, true}) {
            const TurnTableCommand c = frameStopCommand(outer);
            emit signal_send_turn_table_cmd_general(c.code, c.p1, c.p2, c.p3);
        }
    }
    dropStoppedSequenceReports();
    emit signal_auto_log_imu(0);
    ui->radioButtonNormalTest->setEnabled(true);
    ui->radioButtonNoLineTest->setEnabled(true);
}

// The worker hears of the stop only when it reaches the frame stop queued to it: the stage
// codes and the end it reported before are still on their way to the console. Everything of
// that kind is dropped until the worker's word, sent after the stop (or the closing of its
// port) was carried out, comes back behind them.
void MultiCalib::dropStoppedSequenceReports()
{
    if (WorkerThread_turn_table *w = m_turnTableWorker.data())
        m_sequenceReports.drop(w);
}

bool MultiCalib::isSequenceReport(uint8_t code)
{
    return (code >= 46 && code <= 51) || (code >= 65 && code <= 68) || code == 59 || code == 62;
}

// Dropped while a stopped sequence is let go. A retired worker's never come this far: its
// connections drop them (see on_clicked_pushButton_connect_calib_multi_turn_table).
bool MultiCalib::stoppedSequenceReport(uint8_t code) const
{
    return isSequenceReport(code) && m_sequenceReports.dropping();
}

void MultiCalib::on_pushButton_calib_multi_acc_calib_start_clicked()
{
    const QDate today = Clock::instance().now().date();
    qDebug() << "当前标定加表的时间" << today.toString("yyMMdd");
    emit Send_CMD_LONG_SIGNAL_times(30007, 0.0f, 0.0f, calibDateWord(today), 0, 0, 0);
    wait_ms(100);
    emit Send_CMD_LONG_SIGNAL_times(56004, 0.0f, 0.0f, 0, 0, 0, 0);
}

void MultiCalib::on_pushButton_calib_multi_gyro_calib_start_clicked()
{
    emit Send_CMD_LONG_SIGNAL_times(56007, 0.0f, 0.0f, 0, 0, 0, 0);
}

void MultiCalib::_ackTimeout_reboot_auto_request_stream()
{
    emit Send_CMD_LONG_SIGNAL(DeviceCmdId::SetOutputMode, OutputMode::MultiImuCalib, 0.0f, OUTPUT_MODE_FILLER::cm3,
                              OUTPUT_MODE_FILLER::cm4, OUTPUT_MODE_FILLER::cm5, OUTPUT_MODE_FILLER::cm6);
}

namespace {
struct FrameFields {
    QComboBox *mode;
    QTextEdit *position;
    QTextEdit *rate;
};
} // namespace

static void moveFrame(MultiCalib *console, bool outer, const FrameFields &f)
{
    const int mode = f.mode->currentIndex();
    const float rate = manualFieldValue(f.rate->toPlainText());
    if (rate == 0.0f)
        Prompter::instance().information(nullptr, MultiCalib::tr("Tip"), MultiCalib::tr("Rotation rate cannot be 0!"));
    const TurnTableCommand c = frameMoveCommand(outer, mode, manualFieldValue(f.position->toPlainText()), rate);
    if (c.send)
        emit console->signal_send_turn_table_cmd_general(c.code, c.p1, c.p2, c.p3);
}

bool MultiCalib::turnTableLinkedOrWarn()
{
    if (g_turn_table_connected)
        return true;
    Prompter::instance().warning(this, "Warning", tr("The turntable serial port is not turned on"));
    return false;
}

void MultiCalib::on_pushButton_neihuan_control_manual_clicked()
{
    if (!turnTableLinkedOrWarn())
        return;
    moveFrame(this, false, {ui->comboBox_neihuan_manual, ui->neihuan_target_pos_manual, ui->neihuan_target_vel_manual});
}

void MultiCalib::on_pushButton_waihuan_control_manual_clicked()
{
    if (!turnTableLinkedOrWarn())
        return;
    moveFrame(this, true, {ui->comboBox_waihuan_manual, ui->waihuan_target_pos_manual, ui->waihuan_target_vel_manual});
}

void MultiCalib::on_pushButton_neihuan_control_stop_manual_clicked()
{
    if (!turnTableLinkedOrWarn())
        return;
    ui->textEdit_turn_table_status_auto->clear();
    const TurnTableCommand c = frameStopCommand(false);
    emit signal_send_turn_table_cmd_general(c.code, c.p1, c.p2, c.p3);
}

void MultiCalib::on_pushButton_waihuan_control_stop_manual_clicked()
{
    if (!turnTableLinkedOrWarn())
        return;
    ui->textEdit_turn_table_status_auto->clear();
    const TurnTableCommand c = frameStopCommand(true);
    emit signal_send_turn_table_cmd_general(c.code, c.p1, c.p2, c.p3);
}

void MultiCalib::on_pushButton_mode_switch_clicked()
{
    Multi_calib_test *tester = Multi_calib_test::getInstance();
    if (tester->isRunning())
        tester->stop();
    else
        tester->start();
    ui->pushButton_mode_switch->setStyleSheet(QString("QPushButton {border-image:url(%1); }").arg(tester->icon()));
}

void MultiCalib::manualUpload(uint8_t station, const char *debugLine)
{
    if (!addWorkOrderDetailsDalig())
        return;
    qDebug() << QString::fromUtf8(debugLine);
    exectuePosMethod(station);
}

void MultiCalib::on_button_uploadAllTemp_clicked() { manualUpload(0, "全温测试MES上传!"); }
void MultiCalib::on_button_noHotHouseUpload_clicked() { manualUpload(1, "无温箱转台MES上传!"); }
void MultiCalib::on_button_commonAllanUpload_clicked() { manualUpload(2, "静态AllanMES上传!"); }
void MultiCalib::on_button_tempRetest_clicked() { manualUpload(3, "温度复测MES上传!"); }
void MultiCalib::on_button_advAllanUpload_clicked() { manualUpload(4, "高级AllanMES上传!"); }
void MultiCalib::on_button_AdvCalibUpload_clicked() { manualUpload(5, "有温箱转台MES上传!"); }

// Shows a page under label where the form has it among the pages shown (formOrder: the form's
// pages in their order); a page already shown keeps its place and only takes the label.
static void placePage(QTabWidget *tabs, QWidget *page, const QList<QWidget *> &formOrder, const QString &label)
{
    const int present = tabs->indexOf(page);
    if (present >= 0) {
        tabs->setTabText(present, label);
        return;
    }
    int index = 0;
    for (QWidget *before : formOrder.mid(0, formOrder.indexOf(page)))
        index += tabs->indexOf(before) >= 0;
    tabs->insertTab(index, page, label);
}

void MultiCalib::on_pushButton_show_setting_page()
{
    bool ok = false;
    const QString text = ConsoleDialogs::instance().textInput(this, tr("Administrator Password"), tr("password:"),
                                                              QLineEdit::Password, QString(), &ok);
    if (!ok)
        return;
    if (!isAdministratorPassword(text)) {
        Prompter::instance().information(nullptr, tr("Notice"), tr("Password error, return to operator mode"));
        qDebug() << "密码错误，返回操作员模式";
        return;
    }
    Prompter::instance().information(nullptr, tr("Notice"), tr("Enter administrator mode"));
    for (QWidget *w : std::initializer_list<QWidget *>{ui->textEdit_hothouse_start_temp, ui->textEdit_hothouse_stop_temp,
                                                       ui->textEdit_hothouse_temp_slope, ui->textEdit_hothouse_loops_num,
                                                       ui->textEdit_hothouse_start_temp_last_times,
                                                       ui->textEdit_hothouse_stop_temp_last_times,
                                                       ui->textEdit_dc_power_supply_max_voltage,
                                                       ui->textEdit_dc_power_supply_max_current})
        w->setEnabled(true);
    QSettings *s = getSettings();
    // The pages come back in the form's order, and the page the operator looks at stays shown.
    QWidget *current = ui->tabWidget_top->currentWidget();
    const QList<QWidget *> formOrder{ui->tab,          ui->tab_2,          ui->tab_wenxiang_auto, ui->tab_wenxiang_manual,
                                     ui->tab_turntable_manual, ui->tab_turntable_auto, ui->tab_power_dc, ui->tab_imu,
                                     ui->tab_17};
    placePage(ui->tabWidget_top, ui->tab_turntable_manual, formOrder, tr("Turntable manual"));
    s->setValue(ConsolePages::settingsKey(4), QString());
    placePage(ui->tabWidget_top, ui->tab_wenxiang_manual, formOrder, tr("Thermobox manual"));
    s->setValue(ConsolePages::settingsKey(6), QString());
    placePage(ui->tabWidget_top, ui->tab_17, formOrder, tr("Configuration"));
    if (current)
        ui->tabWidget_top->setCurrentWidget(current);
    s->sync();
    qDebug() << "进入管理员模式";
    m_isAdminMode = true;
    m_settings.show();
}

void MultiCalib::init_ftp()
{
    if (m_worker_ftp)
        qDebug() << "m_analyzeThread != NULL";
    retireWorker(m_worker_ftp);
    m_worker_ftp = createWorker_ftp([this](WorkerThread_ftp *w) { wireFtpWorker(w); });
}

static int frameEnabledCheck(int type, uint16_t status, const char *axis)
{
    if (turnTableFrameEnabled(type, status))
        return 1;
    const unsigned low = status & 0xFFu;
    qDebug() << QString::fromUtf8("布林带温箱转台 ") + axis << low << "," << (low & 0x80u);
    return 0;
}

int MultiCalib::judge_turn_table_is_enabled_x(uint16_t status) { return frameEnabledCheck(m_turnTableType, status, "x"); }
int MultiCalib::judge_turn_table_is_enabled_y(uint16_t status) { return frameEnabledCheck(m_turnTableType, status, "y"); }
