// The console's links: the fifteen rack links, the turntable, the base-board link, the chamber
// and the DC supply.
#include "station/MultiCalib.h"

#include "ui_MultiCalib.h"

#include <QDebug>
#include <QDeadlineTimer>
#include <QSemaphore>
#include <QThread>

#include "app/Prompter.h"
#include "equipment/WorkerThread_DC_power.h"
#include "equipment/WorkerThread_Multi.h"
#include "equipment/WorkerThread_hothouse.h"
#include "equipment/WorkerThread_net.h"
#include "equipment/WorkerThread_turn_table.h"
#include "link/WorkerThreadStart.h"
#include "production/WorkerThread_Replay.h"
#include "production/WorkerThread_ftp.h"
#include "link/LinkFlags.h"
#include "station/FrmShowLog.h"
#include "station/ConsoleLogic.h"

WorkerThread_Multi *MultiCalib::rackWorker(int index) const { return m_multiWorkers.value(index).data(); }
WorkerThread_turn_table *MultiCalib::turnTableWorker() const { return m_turnTableWorker.data(); }
WorkerThread_net *MultiCalib::netWorker() const { return m_netWorker.data(); }

void MultiCalib::on_clicked_pushButton_connect_calib_multi_serial(int index)
{
    if (index < 0 || index >= kRackLinks)
        return;
    if (g_link_status[index + 1] || m_rackWanted[index]) {
        qDebug() << "断开";
        emit signalTranspondLog(tr("Plate %1 link closed").arg(index + 2));
        // Only this plate's worker closes; the other plates keep their links.
        if (m_multiWorkers[index])
            QMetaObject::invokeMethod(m_multiWorkers[index].data(), "closePort", Qt::QueuedConnection);
        g_link_status[index + 1] = 0;
        m_rackWanted[index] = false;
        emit signal_label_record_visible(0);
        g_expected_calib_flag = 0;
        plateLinkGone(index + 2, tr("base-board links closed"));
        return;
    }
    retireWorker(m_multiWorkers[index], kPortReleaseMs);
    WorkerThread_Multi *w = createWorker_Multi(portOfComboText(m_rackPortCombos[index]->currentText()), g_baud_rate, index);
    m_multiWorkers[index] = w;
    m_rackWanted[index] = true;
    quint64 &newest = m_rackSerials[size_t(index)];
    ++newest;
    const auto u = Qt::UniqueConnection;
    connect(w, &WorkerThread_Multi::signal_connectIsSuccess, this, whileCurrent(newest, &MultiCalib::connectIsOk_Worker_Multi));
    connect(this, &MultiCalib::signal_closePort_Worker_Multi, w, &WorkerThread_Multi::closePort, u);
    connect(this, &MultiCalib::signal_file_recoding, w, &WorkerThread_Multi::do_file_recording);
    connect(this, &MultiCalib::Send_CMD_LONG_SIGNAL, w, &WorkerThread_Multi::Send_CMD_LONG, u);
    connect(this, &MultiCalib::Send_CMD_LONG_SIGNAL_times, w, &WorkerThread_Multi::Send_CMD_LONG_times, u);
    connect(this, &MultiCalib::Send_QString_times, w, &WorkerThread_Multi::Send_QString_times, u);
    connect(this, &MultiCalib::signal_drop_pending_repeats, w, &WorkerThread_Multi::dropPendingRepeats, u);
    connect(this, &MultiCalib::signal_auto_log_imu, w, &WorkerThread_Multi::auto_log_imu, u);
    connect(w, &WorkerThread_Multi::signal_send_735e_calib, this, &MultiCalib::display_calib_multi, u);
    connect(w, &WorkerThread_Multi::signal_log, this, &MultiCalib::rev_log_from_worker, u);
    connect(w, &WorkerThread_Multi::signal_sendVersionValue, this, &MultiCalib::signal_sendVersionValue, u);
    connect(w, &WorkerThread_Multi::signal_linkLost, this, whileCurrent(newest, &MultiCalib::linkLost_Worker_Multi));
    emit signal_label_record_visible(1);
}

// A run that talks to the plates ends with the last plate link.
void MultiCalib::stopRunsWithoutPlates(const QString &reason)
{
    if (!(linksUp() & RunGuard::Plates) && std::none_of(m_rackWanted.begin(), m_rackWanted.end(), [](bool w) { return w; }))
        stopRunsNeeding(RunGuard::Plates, reason);
}

// A plate link (plate 1 is the main link) went away: a run on the plates stops with the last of
// them; while others remain it goes on, told in red and named again in the run's end box.
void MultiCalib::plateLinkGone(int plate, const QString &reason)
{
    stopRunsWithoutPlates(reason);
    if (m_runs.idle() || !(RunGuard::needs(m_runs.active()) & RunGuard::Plates))
        return;
    m_runs.plateLost(plate);
    const QString text = tr("Plate %1 link lost during the run: its IMUs are no longer in the run").arg(plate);
    emit signalTranspondLog(text);
    for (QTextEdit *view : {ui->textEdit_turn_table_status_auto, ui->textEdit_turn_table_status_advanced,
                            ui->textEdit_hothouse_current_status})
        view->append(QString("<span style=\"color:red\">%1</span>").arg(text.toHtmlEscaped()));
}

void MultiCalib::linkLost_main(QString reason)
{
    // The main window clears plate 1's flag too and offers its connect button again; the flag is
    // clear before a run is told.
    setMainLinkOpen(false);
    emit signalTranspondLog(tr("Plate 1: link lost (%1), please reconnect").arg(reason));
    plateLinkGone(1, tr("main link lost"));
}

void MultiCalib::linkLost_Worker_Multi(int index, QString reason)
{
    if (index < 0 || index >= kRackLinks)
        return;
    g_link_status[index + 1] = 0;
    m_rackWanted[index] = false; // the next connect makes a new worker
    emit signalTranspondLog(tr("Plate %1: link lost (%2), please reconnect").arg(index + 2).arg(reason));
    plateLinkGone(index + 2, tr("base-board links lost"));
}

void MultiCalib::connectIsOk_Worker_Multi(int index, bool ok)
{
    // Only a link that is still wanted is marked linked (a retired worker's report never comes
    // here, see whileCurrent).
    if (index < 0 || index >= kRackLinks || !m_rackWanted[index])
        return;
    logLinkOpen(tr("Plate %1").arg(index + 2), ok);
    if (ok) {
        g_link_status[index + 1] = 1;
        resetSeenImus(index + 1);
    }
    else
        m_rackWanted[index] = false; // the next press makes a new worker
}

void MultiCalib::on_clicked_pushButton_connect_calib_multi_turn_table()
{
    if (portOfComboText(ui->comboBox_calib_multi_turn_table->currentText()) == g_port_name && !g_port_name.isEmpty()) {
        Prompter::instance().warning(this, tr("Warning"), tr("Serial port number conflict of the turntable"));
        return;
    }
    qDebug() << "on_clicked_pushButton_connect_calib_multi_turn_table";
    if (g_turn_table_connected || m_turnTableWanted) {
        if (m_turnTableWorker)
            emit signal_closePort_Worker_turn_table();
        g_turn_table_connected = 0;
        m_turnTableWanted = false;
        emit signalTranspondLog(tr("Turntable link closed"));
        stopRunsNeeding(RunGuard::Turntable, tr("turntable link closed"));
        if (m_oneClickRunning)
            setOneClickRunning(false);
        return;
    }
    retireWorker(m_turnTableWorker, kPortReleaseMs);
    WorkerThread_turn_table *w = createWorker_turn_table(portOfComboText(ui->comboBox_calib_multi_turn_table->currentText()),
                                                         portOfComboText(ui->comboBox_calib_multi_turn_table_2->currentText()));
    m_turnTableWorker = w;
    m_turnTableWanted = true;
    // A drop made for the retired worker waits for that worker's word: were its thread still
    // busy, the word would hold the new worker's reports too. The retired one's are dropped
    // by their serial (below).
    m_sequenceReports.reset();
    connect(this, &MultiCalib::signal_closePort_Worker_turn_table, w, &WorkerThread_turn_table::closePort);
    connect(this, &MultiCalib::signal_send_turn_table_cmd_general, w, &WorkerThread_turn_table::on_send_turn_table_cmd_general);
    connect(this, &MultiCalib::signal_send_turn_table_rotate_side_to_side, w, &WorkerThread_turn_table::on_clicked_turn_table_12pos);
    connect(this, &MultiCalib::signal_turn_table_reset_rotated_times, w, &WorkerThread_turn_table::turn_table_reset_rotated_times);
    connect(this, &MultiCalib::signal_common_cmd, w, &WorkerThread_turn_table::rev_common_cmd);
    connect(w, &WorkerThread_turn_table::signal_send_zhuantai_status, this, &MultiCalib::rev_signal_send_zhuantai_status);
    connect(this, &MultiCalib::signal_turnTable_constant_heat_rotate, w, &WorkerThread_turn_table::turn_table_constant_heat_rotate);
    // The console acts only on the current worker's reports (see whileCurrent).
    const quint64 serial = ++m_turnTableSerial;
    connect(w, &WorkerThread_turn_table::signal_connectIsSuccess, this,
            whileCurrent(m_turnTableSerial, &MultiCalib::connectIsOk_Worker_turn_table));
    // A retired worker's lines are still shown; its stage codes, end and failure act for nothing.
    connect(w, &WorkerThread_turn_table::signal_log, this, [this, serial](uint8_t code, QString text) {
        if (serial == m_turnTableSerial || !isSequenceReport(code))
            rev_log_from_worker(code, text);
    });
    connect(w, &WorkerThread_turn_table::signal_rotated_times, this,
            whileCurrent(m_turnTableSerial, &MultiCalib::rev_turn_table_rotated_times));
    connect(w, &WorkerThread_turn_table::signal_linkLost, this, whileCurrent(m_turnTableSerial, &MultiCalib::linkLost_Worker_turn_table));
    connect(w, &WorkerThread_turn_table::signal_sequence_ended, this,
            whileCurrent(m_turnTableSerial, &MultiCalib::oneClickSequenceEnded));
}

void MultiCalib::linkLost_Worker_turn_table(QString reason)
{
    g_turn_table_connected = 0;
    m_turnTableWanted = false;
    emit signalTranspondLog(tr("Turntable: link lost (%1), please reconnect").arg(reason));
    stopRunsNeeding(RunGuard::Turntable, tr("turntable link lost"));
    if (m_oneClickRunning)
        setOneClickRunning(false);
}

void MultiCalib::connectIsOk_Worker_turn_table(bool ok)
{
    if (!m_turnTableWanted)
        return; // a link closed since
    logLinkOpen(tr("Turntable"), ok);
    if (ok)
        g_turn_table_connected = 1;
    else
        m_turnTableWanted = false;
}

void MultiCalib::on_clicked_pushButton_connect_calib_multi_net()
{
    if (portOfComboText(ui->comboBox_calib_multi_serial_net->currentText()) == g_port_name && !g_port_name.isEmpty()) {
        Prompter::instance().warning(this, tr("warning"), tr("Serial port number conflicts on the network"));
        return;
    }
    if (g_net_connected || m_netWanted) {
        if (m_netWorker)
            emit signal_closePort_Worker_net();
        g_net_connected = 0;
        m_netWanted = false;
        emit signalTranspondLog(tr("Base-board link closed"));
        return;
    }
    retireWorker(m_netWorker, kPortReleaseMs);
    WorkerThread_net *w = createWorker_net(portOfComboText(ui->comboBox_calib_multi_serial_net->currentText()));
    m_netWorker = w;
    m_netWanted = true;
    ++m_netSerial; // the console acts only on the current worker's reports (see whileCurrent)
    const auto u = Qt::UniqueConnection;
    connect(w, &WorkerThread_net::signal_connectIsSuccess, this, whileCurrent(m_netSerial, &MultiCalib::connectIsOk_Worker_net));
    connect(this, &MultiCalib::signal_closePort_Worker_net, w, &WorkerThread_net::closePort, u);
    connect(w, &WorkerThread_net::signal_log, this, &MultiCalib::rev_log_from_worker, u);
    connect(w, &WorkerThread_net::signal_show_current_temp, this, &MultiCalib::show_heat_value);
    connect(w, &WorkerThread_net::signal_linkLost, this, whileCurrent(m_netSerial, &MultiCalib::linkLost_Worker_net));
}

void MultiCalib::linkLost_Worker_net(QString reason)
{
    g_net_connected = 0;
    m_netWanted = false;
    emit signalTranspondLog(tr("Base-board link: link lost (%1), please reconnect").arg(reason));
}

void MultiCalib::connectIsOk_Worker_net(bool ok)
{
    if (!m_netWanted)
        return; // a link closed since
    logLinkOpen(tr("Base-board"), ok);
    if (ok)
        g_net_connected = 1;
    else
        m_netWanted = false;
}

void MultiCalib::connect_serial_port(uint8_t on)
{
    if (on == 0) {
        // Asked again while closing (a run's stop may be waiting for its post with events
        // running): the closing under way does it.
        if (m_closingAllLinks)
            return;
        m_closingAllLinks = true;
        // A run still going stops through its stop path while its links are up, and the
        // chamber takes its stop before its port closes.
        const bool running = !m_runs.idle();
        stopActiveRun(tr("all links closed"));
        m_closingAllLinks = false;
        if (running)
            letChamberTakeItsStop(kChamberStopWaitMs);
        if (std::any_of(m_multiWorkers.begin(), m_multiWorkers.end(), [](const auto &w) { return !w.isNull(); }))
            emit signal_closePort_Worker_Multi();
        for (int i = 0; i < kRackLinks; ++i) {
            g_link_status[i + 1] = 0;
            m_rackWanted[i] = false;
        }
        m_plateReported.fill(false);
        for (QString &s : m_plateIdentity)
            s.clear();
        if (m_turnTableWorker)
            emit signal_closePort_Worker_turn_table();
        if (m_netWorker)
            emit signal_closePort_Worker_net();
        if (m_hothouseWorker)
            emit signal_closePort_hothouse();
        if (m_dcWorker)
            emit signal_closePort_dc_power();
        g_turn_table_connected = g_net_connected = g_hothouse_connected = g_dc_power_connected = 0;
        m_turnTableWanted = m_netWanted = m_hothouseWanted = m_dcWanted = false;
        if (m_oneClickRunning)
            setOneClickRunning(false);
        emit signal_log_from_multi_calib(72, QString());
        emit signalTranspondLog(tr("Main link closed: every link of the rack closed"));
        return;
    }
    QStringList texts;
    for (QComboBox *c : m_rackPortCombos)
        texts << c->currentText();
    const int conflict = firstPortConflict(texts, g_port_name);
    if (conflict >= 0) {
        Prompter::instance().warning(this, tr("Warning"), tr("Serial port number conflict for serial port ") + QString::number(conflict + 1));
        return;
    }
    emit signalTranspondLog(tr("Main link opened: linking the rack"));
    // The tables are refreshed again while links are up (the window's end stopped it).
    if (m_ackTimer && !m_ackTimer->isActive())
        m_ackTimer->start(1000);
    // Links already up stay up: connecting everything never closes one.
    for (int i = 0; i < kRackLinks; ++i)
        if (m_rackPortCombos[i]->currentIndex() > 0 && !g_link_status[i + 1] && !m_rackWanted[i])
            on_clicked_pushButton_connect_calib_multi_serial(i);
    if (ui->comboBox_calib_multi_turn_table->currentIndex() > 0 && !g_turn_table_connected && !m_turnTableWanted)
        on_clicked_pushButton_connect_calib_multi_turn_table();
    if (ui->comboBox_calib_multi_serial_net->currentIndex() > 0 && !g_net_connected && !m_netWanted)
        on_clicked_pushButton_connect_calib_multi_net();
    if (ui->comboBox_calib_multi_hot_house->currentIndex() > 0 && !g_hothouse_connected && !m_hothouseWanted)
        on_clicked_pushButton_connect_calib_hot_house_ctrl();
    if (ui->comboBox_calib_multi_DC_power->currentIndex() > 0 && !g_dc_power_connected && !m_dcWanted)
        on_clicked_pushButton_connect_dc_power_ctrl();
}

// Waits (blocking, at most waitMs) until the chamber worker has nothing left to send: the
// commands queued for it before, such as a run's stop, have reached the chamber.
void MultiCalib::letChamberTakeItsStop(int waitMs)
{
    WorkerThread_hothouse *chamber = m_hothouseWorker.data();
    if (!chamber)
        return;
    const auto answered = std::make_shared<QSemaphore>();
    QMetaObject::invokeMethod(chamber, [chamber, answered, waitMs] {
        chamber->whenIdle(waitMs, [answered] { answered->release(); });
    }, Qt::QueuedConnection);
    answered->tryAcquire(1, waitMs + 200);
}

void MultiCalib::shutDown(int waitMs)
{
    // A run still going stops through its own stop path first (chamber off, its stop commands,
    // its log line), and the chamber gets its stop on the line before the links close.
    stopActiveRun(tr("program closed"));
    letChamberTakeItsStop(std::min(waitMs, kChamberStopWaitMs));
    m_logWindow->close();
    m_cmdPage.close();
    m_settings.close();
    m_workOrder.close();
    if (m_ackTimer)
        m_ackTimer->stop();
    QList<QPointer<QThread>> threads;
    const auto take = [&threads](auto &worker) {
        if (worker)
            threads << QPointer<QThread>(worker->thread());
        retireWorker(worker);
    };
    for (auto &w : m_multiWorkers)
        take(w);
    take(m_turnTableWorker);
    take(m_netWorker);
    take(m_hothouseWorker);
    take(m_dcWorker);
    take(m_worker_ftp);
    take(m_replayWorker);
    std::fill(m_rackWanted.begin(), m_rackWanted.end(), false);
    m_turnTableWanted = m_netWanted = m_hothouseWanted = m_dcWanted = false;
    QDeadlineTimer deadline(waitMs);
    for (const QPointer<QThread> &t : threads)
        if (t && t != thread())
            t->wait(deadline);
}
