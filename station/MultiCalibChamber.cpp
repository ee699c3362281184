// The console's temperature-chamber panel: the chamber link and its displays, the manual
// chamber controls, the two script timers and the chamber log of a script run.
#include "station/MultiCalib.h"

#include "app/OpenLogFile.h"

#include "ui_MultiCalib.h"

#include <QDebug>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTimer>

#include "app/Clock.h"
#include "app/MeasuredValues.h"
#include "app/Prompter.h"
#include "app/Settings.h"
#include "equipment/EquipmentRegisters.h"
#include "equipment/WorkerThread_hothouse.h"
#include "link/LinkFlags.h"
#include "station/ChamberLog.h"
#include "station/ConsoleLogic.h"

WorkerThread_hothouse *MultiCalib::hothouseWorker() const { return m_hothouseWorker.data(); }

void MultiCalib::init_hot_house_Widget()
{
    ui->textEdit_hothouse_start_temp->setPlainText("-40");
    ui->textEdit_hothouse_stop_temp->setPlainText("85");
    ui->textEdit_hothouse_temp_slope->setPlainText("1");
    ui->textEdit_hothouse_loops_num->setPlainText("2");
    ui->textEdit_hothouse_start_temp_last_times->setPlainText("60");
    ui->textEdit_hothouse_stop_temp_last_times->setPlainText("60");
    for (QWidget *w : std::initializer_list<QWidget *>{
             ui->textEdit_hothouse_current_temperature, ui->textEdit_hothouse_set_temperature,
             ui->textEdit_hothouse_temp_slope_rev, ui->textEdit_hothouse_current_loops,
             ui->textEdit_hothouse_user_temp_target, ui->textEdit_hothouse_current_status,
             ui->textEdit_hothouse_current_temperature_manual, ui->textEdit_hothouse_set_temperature_manual})
        w->setEnabled(false);

    // Both timers live as long as the console; the scripts start them with 1000 ms. Their ticks
    // belong to the scripts and are joined by name.
    if (!m_hothouseScriptTimer) {
        m_hothouseScriptTimer = new QTimer;
        m_hothouseAdvancedTimer = new QTimer;
        for (QTimer *t : {m_hothouseScriptTimer, m_hothouseAdvancedTimer})
            connect(this, &QObject::destroyed, t, [t] { delete t; });
        connect(m_hothouseScriptTimer, SIGNAL(timeout()), this, SLOT(_ackTimeout_hothouse_ctrl_normal()));
        connect(m_hothouseAdvancedTimer, SIGNAL(timeout()), this, SLOT(_ackTimeout_hothouse_ctrl_advanced()));
        // The chamber log of a run closes when the run ends, whichever run it was and however
        // it ended: the chamber's reports no longer add to it.
        connect(&m_runs, &RunGuard::activeChanged, this, [this](RunGuard::Run active) {
            if (active == RunGuard::None)
                close_hot_house_logfile();
        });
    }

    // By signature, so a connection the form made by name is recognised and each click runs
    // its slot once.
    const auto u = Qt::UniqueConnection;
    connect(ui->pushButton_hothouse_cmd_start_manual, &QPushButton::clicked, this, &MultiCalib::on_pushButton_hothouse_cmd_start_clicked, u);
    connect(ui->pushButton_hothouse_cmd_stop_manual, SIGNAL(clicked()), this, SLOT(on_pushButton_hothouse_cmd_stop_clicked()), u);
    connect(ui->pushButton_hothouse_cmd_stop, SIGNAL(clicked()), this, SLOT(on_pushButton_hothouse_cmd_stop_clicked()), u);
    connect(ui->pushButton_hothouse_cmd_set_slope_manual, SIGNAL(clicked()), this, SLOT(on_pushButton_hothouse_cmd_set_slope_manual_clicked()), u);
    connect(ui->pushButton_hothouse_cmd_read_slope_manual, &QPushButton::clicked, this, &MultiCalib::on_pushButton_hothouse_cmd_read_slope_clicked, u);
    connect(ui->pushButton_hothouse_cmd_set_target_temp_manual, &QPushButton::clicked, this, &MultiCalib::on_pushButton_hothouse_cmd_set_target_temp_clicked, u);
    connect(ui->pushButton_hothouse_cmd_read_target_temp_manual, &QPushButton::clicked, this, &MultiCalib::on_pushButton_hothouse_cmd_read_target_temp_clicked, u);
    connect(ui->pushButton_hothouse_cmd_auto_include_dc_control, SIGNAL(clicked()), this,
            SLOT(on_pushButton_hothouse_cmd_auto_include_dc_control_clicked()), u);
}

void MultiCalib::on_clicked_pushButton_connect_calib_hot_house_ctrl()
{
    // The chamber line may share no port with the main link or another equipment link.
    const QString port = portOfComboText(ui->comboBox_calib_multi_hot_house->currentText());
    QStringList others{g_port_name};
    for (QComboBox *c : {ui->comboBox_calib_multi_turn_table, ui->comboBox_calib_multi_serial_net, ui->comboBox_calib_multi_DC_power})
        others << portOfComboText(c->currentText());
    if (!port.isEmpty() && others.contains(port)) {
        Prompter::instance().warning(this, tr("Warning"), tr("The serial port number of the incubator conflicts"));
        return;
    }

    if (g_hothouse_connected || m_hothouseWanted) {
        if (m_hothouseWorker)
            emit signal_closePort_hothouse();
        g_hothouse_connected = 0;
        stopRunsNeeding(RunGuard::Chamber, tr("chamber link closed"));
        // A running script stops where it is.
        if (m_hothouseScriptTimerRunning || m_hothouseScriptTimer->isActive()) {
            m_hothouseScriptTimer->stop();
            m_hothouseScriptTimerRunning = false;
            setChamberScriptButtonsEnabled(true);
        }
        if (m_hothouseAdvancedTimerRunning || m_hothouseAdvancedTimer->isActive()) {
            m_hothouseAdvancedTimer->stop();
            m_hothouseAdvancedTimerRunning = false;
        }
        g_hothouse_connected = 0;
        m_hothouseWanted = false;
        m_netReported = false;
        emit signal_label_record_visible(0);
        emit signalTranspondLog(tr("Chamber link closed"));
        return;
    }

    if (m_hothouseWorker)
        qDebug() << "m_analyzeThread != NULL";
    retireWorker(m_hothouseWorker, kPortReleaseMs);
    WorkerThread_hothouse *w = createWorker_hothouse(port, int(g_baud_rate));
    m_hothouseWorker = w;
    m_hothouseWanted = true;
    m_chamberTempAtMs = -1;
    QMetaObject::invokeMethod(w, "setPollInterval", Qt::QueuedConnection, Q_ARG(int, m_chamberPollMs));
    ++m_hothouseSerial; // the console acts only on the current worker's reports (see whileCurrent)
    connect(w, &WorkerThread_hothouse::signal_connectIsSuccess, this,
            whileCurrent(m_hothouseSerial, &MultiCalib::connectIsOk_Worker_hothouse));
    connect(this, &MultiCalib::signal_closePort_hothouse, w, &WorkerThread_hothouse::closePort);
    connect(w, &WorkerThread_hothouse::signal_log, this, &MultiCalib::rev_log_from_worker);
    connect(w, &WorkerThread_hothouse::signal_show_current_temp, this, &MultiCalib::show_heat_value);
    connect(w, &WorkerThread_hothouse::signal_show_temp_slope, this, &MultiCalib::show_slope_value);
    connect(w, &WorkerThread_hothouse::signal_show_target_temp, this, &MultiCalib::show_set_heat_value);
    connect(this, &MultiCalib::hothouse_set_target_temp, w, &WorkerThread_hothouse::hothouse_set_target_temp);
    connect(this, &MultiCalib::hothouse_cmd_read_slope, w, &WorkerThread_hothouse::hothouse_read_temp_slope);
    connect(this, &MultiCalib::hothouse_cmd_set_slope, w, &WorkerThread_hothouse::hothouse_set_temp_slope);
    connect(this, &MultiCalib::hothouse_read_target_temp, w, &WorkerThread_hothouse::hothouse_read_target_temp);
    connect(this, &MultiCalib::hothouse_generate_start_stop_cmd, w, &WorkerThread_hothouse::hothouse_generate_start_stop_cmd);
    connect(w, &WorkerThread_hothouse::signal_linkLost, this, whileCurrent(m_hothouseSerial, &MultiCalib::linkLost_Worker_hothouse));
    emit signal_label_record_visible(1);
}

void MultiCalib::linkLost_Worker_hothouse(QString reason)
{
    g_hothouse_connected = 0;
    m_hothouseWanted = false;
    emit signalTranspondLog(tr("Chamber: link lost (%1), please reconnect").arg(reason));
    stopRunsNeeding(RunGuard::Chamber, tr("chamber link lost"));
}

void MultiCalib::connectIsOk_Worker_hothouse(bool ok)
{
    if (!m_hothouseWanted)
        return; // a link closed since
    logLinkOpen(tr("Chamber"), ok);
    if (ok)
        g_hothouse_connected = 1;
    else
        m_hothouseWanted = false;
}

bool MultiCalib::chamberLinkedOrWarn()
{
    if (g_hothouse_connected)
        return true;
    Prompter::instance().warning(this, "Warning", tr("The incubator serial port is not turned on"));
    return false;
}

// The scripts start and stop the chamber through these two slots as well; only a press of the
// buttons is held to the open link.
void MultiCalib::on_pushButton_hothouse_cmd_start_clicked()
{
    if (sender() == ui->pushButton_hothouse_cmd_start_manual && !chamberLinkedOrWarn())
        return;
    emit hothouse_generate_start_stop_cmd(1);
}

void MultiCalib::on_pushButton_hothouse_cmd_stop_clicked()
{
    const bool pressed = sender() == ui->pushButton_hothouse_cmd_stop_manual || sender() == ui->pushButton_hothouse_cmd_stop;
    if (!pressed || chamberLinkedOrWarn())
        emit hothouse_generate_start_stop_cmd(0);
    stopChamberScript(tr("stopped by the operator"), true);
    // The chamber page's Stop stops whatever run holds the station (an advanced run would
    // otherwise wait for its temperature for ever).
    if (pressed && !m_runs.idle())
        stopActiveRun(tr("stopped by the operator"));
    if (m_runs.idle())
        setChamberScriptButtonsEnabled(true);
}

void MultiCalib::on_pushButton_hothouse_cmd_set_target_temp_clicked()
{
    if (!chamberLinkedOrWarn())
        return;
    bool ok = false;
    const QString text = ui->textEdit_hothouse_set_temperature_by_user_manual->toPlainText().trimmed();
    const double t = text.toDouble(&ok);
    // The chamber takes what the scripts may ask of it, nothing further: a text that is no
    // number or lies outside the scripts' temperature range is not sent ("nan" reads as a
    // number and lies within no range).
    if (!ok || !withinLimits(t, TempScript::kChamberMinC, TempScript::kChamberMaxC)) {
        qDebug() << "温箱设定温度有误:" << text;
        Prompter::instance().warning(this, tr("Warning"),
                                     tr("Set temperature (设定温度): \"%1\" is not a number from %2 to %3")
                                         .arg(text)
                                         .arg(TempScript::kChamberMinC)
                                         .arg(TempScript::kChamberMaxC));
        return;
    }
    emit hothouse_set_target_temp(int16_t(t)); // cut toward zero
}

void MultiCalib::on_pushButton_hothouse_cmd_read_target_temp_clicked()
{
    if (!chamberLinkedOrWarn())
        return;
    ui->textEdit_hothouse_set_temperature_by_user_manual->clear();
    emit hothouse_read_target_temp();
}

void MultiCalib::on_pushButton_hothouse_cmd_set_slope_manual_clicked()
{
    if (!chamberLinkedOrWarn())
        return;
    bool ok = false;
    const int s = ui->textEdit_hothouse_temperature_slope_manual->toPlainText().trimmed().toInt(&ok);
    // The register holds the rate x 100 in 16 bits.
    if (!ok || s < 0 || s > 255) {
        qDebug() << "温箱斜率设置有误:" << ui->textEdit_hothouse_temperature_slope_manual->toPlainText();
        return;
    }
    if (!slopeFitsChamber(s))
        return;
    emit hothouse_cmd_set_slope(uint8_t(s));
}

int MultiCalib::chamberMaxSlope() const
{
    if (m_hothouseWorker)
        return m_hothouseWorker->maxSlope();
    // The chamber the next connect makes.
    return getSettings()->value("turnTableType/type", 0).toInt() == 3 ? ChamberTcp::kMaxSlope : 255;
}

bool MultiCalib::slopeFitsChamber(int perMinute)
{
    const int max = chamberMaxSlope();
    if (perMinute <= max)
        return true;
    Prompter::instance().warning(this, tr("Warning"), tr("The chamber takes a slope of at most %1 °C/min").arg(max));
    return false;
}

void MultiCalib::on_pushButton_hothouse_cmd_read_slope_clicked()
{
    if (!chamberLinkedOrWarn())
        return;
    ui->textEdit_hothouse_temperature_slope_manual->clear();
    emit hothouse_cmd_read_slope();
}

void MultiCalib::show_heat_value(float celsius)
{
    m_chamberTempAtMs = monotonicMs();
    m_chamberMissedPolls = 0;
    const QString text = ChamberLog::number(double(celsius));
    ui->textEdit_hothouse_current_temperature_advanced->setPlainText(text);
    ui->textEdit_hothouse_current_temperature->setPlainText(text);
    ui->textEdit_hothouse_current_temperature_manual->setPlainText(text);
    const QDateTime now = Clock::instance().now();
    const QString time = ChamberLog::timeText(now);
    ui->label_wenxiang_manual_current_time->setText(tr("Update time:") + time);
    ui->label_wenxiang_auto_current_time->setText(tr("Update time:") + time +
                                                  (m_hotHouseLogFailed ? tr(" - chamber log not written") : QString()));
    ui->label_turn_table_current_time_auto_advanced->setText(time);
    if (m_hotHouseLogOpen && !m_hotHouseScriptLog)
        appendHotHouseLog(ChamberLog::reportLine(now, celsius, ui->textEdit_hothouse_set_temperature_advanced->toPlainText(),
                                                 ChamberLog::currentImuColumns()));
}

void MultiCalib::show_set_heat_value(float celsius)
{
    const QString text = ChamberLog::number(double(celsius));
    ui->textEdit_hothouse_set_temperature->setPlainText(text);
    ui->textEdit_hothouse_set_temperature_manual->setPlainText(text);
    ui->textEdit_hothouse_set_temperature_advanced->setPlainText(text);
}

void MultiCalib::show_slope_value(float perMinute)
{
    const QString text = ChamberLog::number(double(perMinute));
    ui->textEdit_hothouse_temp_slope_rev->setPlainText(text);
    ui->textEdit_hothouse_temperature_slope_manual->setPlainText(text);
    ui->textEdit_hothouse_set_slope_advanced->setPlainText(text);
}

void MultiCalib::create_hot_house_logfile(bool scriptLog)
{
    m_hotHouseLogOpen = true;
    m_hotHouseScriptLog = scriptLog;
    const QDateTime now = Clock::instance().now();
    ui->label_wenxiang_start_time->setText(tr("Start time:") + ChamberLog::timeText(now));
    const QString folder = logSubdir("log_heatbox/" + ChamberLog::dayText(now));
    // A later run's log replaces the earlier one, which is closed first.
    delete m_hotHouseLogFile;
    m_hotHouseLogFile = new OpenLogFile(folder + "/" + ChamberLog::fileName(now), this);
    m_hotHouseLogFailed = false;
    ui->label_wenxiang_auto_current_time->setStyleSheet(QString());
    // Appending: a log of the same second is continued, never overwritten from its start.
    if (!m_hotHouseLogFile->open(QIODevice::ReadWrite | QIODevice::Append)) {
        qDebug() << "Open file failed.";
        markLogFailure(true, m_hotHouseLogFile->fileName() + ": " + m_hotHouseLogFile->errorString());
        return;
    }
    appendHotHouseLog(scriptLog ? ChamberLog::scriptHeader() : ChamberLog::header());
}

void MultiCalib::close_hot_house_logfile()
{
    m_hotHouseLogOpen = false;
    m_hotHouseScriptLog = false;
    if (m_hotHouseLogFile)
        m_hotHouseLogFile->close();
}

QString MultiCalib::hotHouseLogPath() const { return m_hotHouseLogFile ? m_hotHouseLogFile->fileName() : QString(); }

void MultiCalib::write_hot_house_script_line(qint64 elapsedSeconds)
{
    if (!m_hotHouseLogOpen || !m_hotHouseScriptLog)
        return;
    // The step as its number: 0, 2, ... compensation, 1, 3, ... retest.
    const QStringList displays{ui->textEdit_hothouse_current_temperature->toPlainText(),
                               ui->textEdit_hothouse_set_temperature->toPlainText(),
                               ui->textEdit_hothouse_temp_slope_rev->toPlainText(),
                               QString::number(m_chamberScript.step),
                               ui->textEdit_hothouse_user_temp_target->toPlainText()};
    appendHotHouseLog(ChamberLog::scriptLine(Clock::instance().now(), elapsedSeconds, displays, ChamberLog::currentImuColumns()));
}

void MultiCalib::appendHotHouseLog(const QString &line)
{
    if (!m_hotHouseLogFile || !m_hotHouseLogFile->isOpen())
        return; // the failure to open was shown once
    const QByteArray bytes = line.toUtf8();
    if (m_hotHouseLogFile->write(bytes) != bytes.size() || !m_hotHouseLogFile->flush())
        markLogFailure(true, m_hotHouseLogFile->fileName() + ": " + m_hotHouseLogFile->errorString());
}

void MultiCalib::markLogFailure(bool chamber, const QString &why)
{
    bool &failed = chamber ? m_hotHouseLogFailed : m_dcLogFailed;
    QLabel *mark = chamber ? ui->label_wenxiang_auto_current_time : ui->label_dc_power_current_time;
    mark->setStyleSheet("background-color: red;color:black");
    if (failed)
        return; // told once; the mark stays
    failed = true;
    const QString what = chamber ? tr(" - chamber log not written") : tr(" - supply log not written");
    if (!mark->text().endsWith(what))
        mark->setText(mark->text() + what);
    emit signalTranspondLog(chamber ? tr("Chamber log line not written: %1").arg(why)
                                    : tr("DC supply log line not written: %1").arg(why));
}

qint64 MultiCalib::monotonicMs()
{
    return Clock::instance().monotonicMs();
}
