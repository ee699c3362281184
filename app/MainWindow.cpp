#include "app/MainWindow.h"

#include "ui_MainWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDateTime>
#include <QDeadlineTimer>
#include <QDir>
#include <QThread>

#include "app/AutoResize.h"
#include "app/Prompter.h"
#include "app/SerialPorts.h"
#include "app/Settings.h"
#include "app/VersionText.h"
#include "link/DeviceRecords.h"
#include "link/LinkFlags.h"
#include "link/SerialLine.h"
#include "link/WorkerThread.h"
#include "link/WorkerThreadStart.h"
#include "production/DecodeDlg.h"
#include "production/Factory_735_Dlg.h"
#include "production/Factory_K350_Dlg.h"
#include "production/IMU_Screening_Dlg.h"
#include "station/MultiCalib.h"

namespace {
// How long a confirmed exit waits for the workers' threads to finish.
constexpr int kShutDownWaitMs = 3000;
const int kBaudRates[] = {9600, 19200, 38400, 57600, 115200, 230400, 460800, 921600, 1000000, 1500000, 2000000};
}

MainWindow::MainWindow(QWidget *parent) : QMainWindow(parent), ui(std::make_unique<Ui::MainWindow>())
{
    ui->setupUi(this);
    for (int i = 0; i < 10; ++i)
        m_versionLabels << findChild<QLabel *>(QString("label_version_%1").arg(i));

    // Pages without parent, stack index = page index; indices of pages this program does not
    // have hold an empty widget.
    m_decode = new DecodeDlg;
    m_multiCalib = new MultiCalib;
    m_screening = new IMU_Screening_Dlg;
    m_k350 = new Factory_K350_Dlg;
    m_735 = new Factory_735_Dlg;
    for (int i = 0; i < PageCount; ++i) {
        QWidget *page = nullptr;
        switch (i) {
        case PageDecode: page = m_decode; break;
        case PageCalib: page = m_multiCalib; break;
        case PageScreening: page = m_screening; break;
        case PageK350: page = m_k350; break;
        case Page735: page = m_735; break;
        default: page = new QWidget; break;
        }
        ui->stackedWidget->addWidget(page);
    }
    init();
}

// The main link lets go of its port before the program ends.
MainWindow::~MainWindow()
{
    retireWorker(m_worker, kPortReleaseMs);
}

void MainWindow::init()
{
    refreshPorts();
    for (int b : kBaudRates)
        ui->comboBox_baud->addItem(QString::number(b));
    ui->comboBox_baud->setCurrentText(getSettings()->value("serial_port/baudrate", 115200).toString());

    const QList<QPair<QString, int>> pages = {{tr("Data decoding"), PageDecode},
                                             {tr("Multi-IMU calibration"), PageCalib},
                                             {tr("IMU screening"), PageScreening},
                                             {tr("K350 quick test"), PageK350},
                                             {tr("735 quick test"), Page735}};
    ui->comboBox_module->blockSignals(true);
    for (const auto &p : pages)
        ui->comboBox_module->addItem(p.first, p.second);
    ui->comboBox_module->blockSignals(false);
    int stored = ui->comboBox_module->findData(getSettings()->value("main_index/index", int(PageDecode)).toInt());
    ui->comboBox_module->setCurrentIndex(-1);
    ui->comboBox_module->setCurrentIndex(stored < 0 ? 0 : stored);

    for (QLabel *l : m_versionLabels)
        l->setText("N/A");
    ui->label_record->setVisible(false);

    m_autoResize = std::make_unique<AutoResize>(this, width(), height());
    m_autoResize->setResizeKinds(AutoResize::Labels | AutoResize::Inputs);
    m_autoResize->collectItems();
}

void MainWindow::refreshPorts()
{
    const QString saved = getSettings()->value("serial_port_index/serial1", "/dev/ttyUSB0").toString();
    ui->comboBox_port->clear();
    const QStringList ports = availablePortTexts();
    ui->comboBox_port->addItems(ports);
    for (int i = 0; i < ports.size(); ++i)
        if (portNameOf(ports[i]) == saved)
            ui->comboBox_port->setCurrentIndex(i);
}

void MainWindow::on_pushButton_refresh_clicked()
{
    refreshPorts();
}

void MainWindow::showPage(int pageIndex)
{
    const int i = ui->comboBox_module->findData(pageIndex);
    if (i >= 0)
        ui->comboBox_module->setCurrentIndex(i);
}

void MainWindow::on_comboBox_module_currentIndexChanged(int index)
{
    if (index < 0)
        return;
    const int page = ui->comboBox_module->itemData(index).toInt();
    if (page >= 0 && page < ui->stackedWidget->count())
        ui->stackedWidget->setCurrentIndex(page);
    g_module_index = uint32_t(page);
}

QString MainWindow::versionText(int i) const
{
    return m_versionLabels.value(i) ? m_versionLabels[i]->text() : QString();
}

void MainWindow::on_pushButton_connect_clicked()
{
    if (m_linked) {
        closeLink();
        return;
    }
    const QString port = portNameOf(ui->comboBox_port->currentText());
    if (port.isEmpty()) {
        Prompter::instance().warning(this, tr("Warning"), tr("No serial port selected!"));
        return;
    }
    const uint32_t baud = ui->comboBox_baud->currentText().toUInt();

    if (m_recording) // the recording belongs to the link that is retired now
        setRecordingState(false, tr("Not recording: the link was opened again, its recording ended"));
    // The previous link lets go of its port before the new one opens it.
    retireWorker(m_worker, kPortReleaseMs);
    m_worker = createWorker(port, baud);
    wirePages();
    if (ui->stackedWidget->currentIndex() == PageCalib)
        wireConsole();
    else
        unwireConsole();
    WorkerThread *w = m_worker;
    connect(w, &WorkerThread::signal_connectIsSuccess, this, [this, w, port, baud](bool ok) {
        if (w != m_worker)
            return; // a report of a retired link changes nothing
        g_port_name = port;
        g_baud_rate = baud;
        rev_connect_result(ok);
    });
    connect(w, &WorkerThread::signal_recording, this, [this, w](bool on, QString text) {
        if (w == m_worker)
            rev_recording(on, text);
    });
    connect(w, &WorkerThread::signal_linkLost, this, [this, w](QString reason) {
        if (w == m_worker)
            rev_link_lost(reason);
    });
    ui->pushButton_connect->setEnabled(false);
}

void MainWindow::rev_connect_result(bool ok)
{
    ui->pushButton_connect->setEnabled(true);
    if (!ok) {
        m_multiCalib->setMainLinkOpen(false);
        Prompter::instance().warning(this, tr("Warning"), tr("Failed to open the serial port!"));
        return;
    }
    m_multiCalib->setMainLinkOpen(true);
    m_linked = true;
    if (!m_noLinkMessage.isEmpty() && statusBar()->currentMessage() == m_noLinkMessage)
        statusBar()->clearMessage();
    m_noLinkMessage.clear();
    ui->pushButton_connect->setText(tr("Disconnect"));
    getSettings()->setValue("serial_port_index/serial1", g_port_name);
    getSettings()->setValue("serial_port/baudrate", g_baud_rate);
    emit signal_connect_serial_port(1);
}

void MainWindow::rev_link_lost(QString reason)
{
    if (!m_linked)
        return;
    m_linked = false;
    m_multiCalib->setMainLinkOpen(false);
    ui->pushButton_connect->setText(tr("Connect"));
    ui->pushButton_connect->setEnabled(true);
    m_noLinkMessage = tr("Link lost: %1 (%2)").arg(g_port_name, reason);
    statusBar()->showMessage(m_noLinkMessage);
    // The quick-test and screening pages tell the operator with their lost-device box.
    const int page = ui->stackedWidget->currentIndex();
    if (page == PageScreening || page == PageK350 || page == Page735)
        markSerialLineLost();
}

void MainWindow::closeLink()
{
    // A second click while the first closing waits (a run's stop posting its results, with
    // events running) joins the first.
    if (m_closingLink)
        return;
    m_closingLink = true;
    ui->pushButton_connect->setEnabled(false);
    // The console first: a run stops through its stop path while the links are still up (its
    // stop commands go out on this link too, the chamber takes its stop), and the results it
    // may post are not cleared before.
    emit signal_connect_serial_port(0);
    m_closingLink = false;
    ui->pushButton_connect->setEnabled(true);
    if (m_worker)
        QMetaObject::invokeMethod(m_worker.data(), "closePort", Qt::QueuedConnection);
    m_linked = false;
    m_multiCalib->setMainLinkOpen(false);
    ui->pushButton_connect->setText(tr("Connect"));
    emit signal_clear_calib_multi_table();
}

void MainWindow::wirePages()
{
    WorkerThread *w = m_worker;
    const auto u = Qt::UniqueConnection;
    connect(w, &WorkerThread::signal_send_735e_test, m_735, &Factory_735_Dlg::display_735e_test, u);
    connect(w, &WorkerThread::signal_send_k350_test, m_k350, &Factory_K350_Dlg::displayK350_test, u);
    connect(w, &WorkerThread::signal_send_735e_imu_screening, m_screening,
            &IMU_Screening_Dlg::display_735e_imu_screening, u);
    connect(m_screening, &IMU_Screening_Dlg::Send_CMD_LONG_SIGNAL, w, &WorkerThread::Send_CMD_LONG, u);
    connect(m_k350, &Factory_K350_Dlg::Send_CMD_LONG_SIGNAL, w, &WorkerThread::Send_CMD_LONG, u);
    connect(m_735, &Factory_735_Dlg::Send_CMD_LONG_SIGNAL, w, &WorkerThread::Send_CMD_LONG, u);
    connect(m_735, &Factory_735_Dlg::displayVersionToMain, this, &MainWindow::displayVersionByOtherPages, u);
    connect(m_k350, &Factory_K350_Dlg::displayVersionToMain, this, &MainWindow::displayVersionByOtherPages, u);
    connect(m_k350, &Factory_K350_Dlg::signal_gyro_calib_result_read, w, &WorkerThread::gyro_calib_result_read, u);
    connect(this, &MainWindow::signal_file_recoding, w, &WorkerThread::do_file_recording, u);
    connect(w, &WorkerThread::signal_sendVersionValue, this, &MainWindow::displayVersionValue, u);
}

void MainWindow::wireConsole()
{
    WorkerThread *w = m_worker;
    MultiCalib *c = m_multiCalib;
    const auto u = Qt::UniqueConnection;
    connect(c, &MultiCalib::signal_auto_log_imu, w, &WorkerThread::auto_log_imu, u);
    connect(c, &MultiCalib::Send_QString_times, w, &WorkerThread::Send_QString_times, u);
    connect(c, &MultiCalib::signal_drop_pending_repeats, w, &WorkerThread::dropPendingRepeats, u);
    connect(w, &WorkerThread::signal_send_735e_calib, c, &MultiCalib::display_calib_multi, u);
    connect(this, &MainWindow::signal_clear_calib_multi_table, c, &MultiCalib::clear_calib_multi_table, u);
    connect(w, &WorkerThread::signal_log, c, &MultiCalib::rev_log_from_worker, u);
    connect(this, &MainWindow::signal_connect_serial_port, c, &MultiCalib::connect_serial_port, u);
    connect(c, &MultiCalib::Send_CMD_LONG_SIGNAL, w, &WorkerThread::Send_CMD_LONG, u);
    connect(c, &MultiCalib::Send_CMD_LONG_SIGNAL_times, w, &WorkerThread::Send_CMD_LONG_times, u);
    connect(c, &MultiCalib::signal_label_record_visible, this, &MainWindow::label_record_visible, u);
    connect(this, &MainWindow::cmd_start, c, &MultiCalib::cmd_start, u);
    connect(this, &MainWindow::signal_file_recoding, c, &MultiCalib::signal_file_recoding, u);
    connect(c, &MultiCalib::signal_sendVersionValue, this, &MainWindow::displayVersionValue, u);
    connect(w, &WorkerThread::signal_linkLost, c, &MultiCalib::linkLost_main, u);
}

// A link made on another page is the module's alone: the console's wiring of an earlier link
// made on the console page goes (its worker-side connections went with that worker), so the
// rack no longer follows the connect button and the version labels show the module.
void MainWindow::unwireConsole()
{
    MultiCalib *c = m_multiCalib;
    disconnect(this, &MainWindow::signal_clear_calib_multi_table, c, &MultiCalib::clear_calib_multi_table);
    disconnect(this, &MainWindow::signal_connect_serial_port, c, &MultiCalib::connect_serial_port);
    disconnect(c, &MultiCalib::signal_label_record_visible, this, &MainWindow::label_record_visible);
    disconnect(this, &MainWindow::cmd_start, c, &MultiCalib::cmd_start);
    disconnect(this, &MainWindow::signal_file_recoding, c, &MultiCalib::signal_file_recoding);
    disconnect(c, &MultiCalib::signal_sendVersionValue, this, &MainWindow::displayVersionValue);
}

void MainWindow::on_pushButton_mode_start_clicked()
{
    emit cmd_start(uint32_t(ui->stackedWidget->currentIndex()));
}

void MainWindow::on_pushButton_record_clicked()
{
    const QString path = QDir(logSubdir("record")).absoluteFilePath(
        QDateTime::currentDateTime().toString("yyyy_MMdd_HHmm_ss"));
    if (m_recording) {
        emit signal_file_recoding(path, 0, 0, 0);
        setRecordingState(false, tr("Not recording: recording stopped"));
        return;
    }
    if (!m_worker || !m_linked) {
        setRecordingState(false, tr("Not recording: no link is open"));
        m_noLinkMessage = m_recordingStatus;
        return;
    }
    // The indicator waits for the link's answer: only a file really opened shows "recording".
    emit signal_file_recoding(path, 1, 0, 0);
    statusBar()->showMessage(tr("Opening the recording file..."));
}

void MainWindow::rev_recording(bool on, QString text)
{
    if (on && g_recording.load() != 1) // ended again before this report arrived
        return;
    setRecordingState(on, on ? tr("Recording to %1").arg(text) : tr("Not recording: %1").arg(text));
}

void MainWindow::setRecordingState(bool on, const QString &status)
{
    m_recording = on;
    m_recordingStatus = status;
    ui->pushButton_record->setText(m_recording ? tr("Stop recording") : tr("Record"));
    ui->label_record->setVisible(m_recording && m_recordLabelWanted);
    statusBar()->showMessage(status);
}

void MainWindow::label_record_visible(uint8_t visible)
{
    m_recordLabelWanted = visible != 0;
    ui->label_record->setVisible(m_recording && m_recordLabelWanted);
}

void MainWindow::displayVersionValue(uint32_t a0, uint32_t a1, uint32_t a2, uint32_t a3, uint32_t a4,
                                     uint32_t a5, uint16_t a6, uint8_t a7, uint8_t a8, uint8_t a9,
                                     uint32_t, uint32_t, uint32_t, uint32_t, uint32_t, uint8_t)
{
    const QList<uint32_t> values = {a0, a1, a2, a3, a4, a5, a6, a7, a8, a9};
    // The software and hardware versions read as the result tables show them.
    for (int i = 0; i < 10; ++i)
        m_versionLabels[i]->setText(i <= 1 ? version_to_string(values[i]) : QString::number(values[i]));
}

void MainWindow::displayVersionByOtherPages(QString t1, QString t2, QString t3, QString t4, QString t5,
                                            QString t6, QString t7, QString t8, QString t9, uint8_t mask)
{
    const QStringList texts = {t1, t2, t3, t4, t5, t6, t7, t8, t9};
    for (int i = 0; i < texts.size(); ++i)
        m_versionLabels[i]->setText(texts[i]);
    for (int i = 0; i < 5; ++i) {
        if (mask & (1u << i)) {
            m_versionLabels[i]->setStyleSheet(QString("background-color:") + "red");
        } else {
            m_versionLabels[i]->setStyleSheet(QString("background-color:") + "white");
            m_versionLabels[i]->setStyleSheet("color:blue");
        }
    }
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    getSettings()->setValue("main_index/index", ui->comboBox_module->currentData().toInt());
    getSettings()->sync();
    QString text = tr("Please confirm if the upper computer has been turned off");
    const RunGuard::Run run = m_multiCalib->runGuard()->active();
    if (run != RunGuard::None)
        text = (RunGuard::needs(run) & RunGuard::Chamber
                    ? tr("%1 is running: closing the program stops it (the chamber is switched off).")
                    : tr("%1 is running: closing the program stops it."))
                   .arg(RunGuard::name(run))
               + "\n" + text;
    text += m_multiCalib->heldUploadsNote();
    const auto answer = Prompter::instance().question(this, tr("Confirm Dialog"), text, QMessageBox::Yes | QMessageBox::No,
                                                      QMessageBox::No);
    if (answer != QMessageBox::Yes) {
        event->ignore();
        return;
    }
    event->accept();
    shutDown();
}

void MainWindow::shutDown()
{
    // Every window goes, not only this one: a separate window left open (the log window, the
    // command page, the settings, the work order) would keep the program running unseen.
    const QDeadlineTimer deadline(kShutDownWaitMs);
    m_multiCalib->shutDown(kShutDownWaitMs);
    if (m_recording)
        setRecordingState(false, tr("Not recording: the program is closing"));
    // The decoding page retires its own worker (a running decode stops at its next block).
    const QList<QPointer<QThread>> threads = {m_worker ? m_worker->thread() : nullptr,
                                              m_decode->retireDecoder()};
    retireWorker(m_worker);
    m_linked = false;
    for (const QPointer<QThread> &t : threads)
        if (t && t != thread())
            t->wait(deadline);
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w != this && w->isVisible())
            w->close();
    QCoreApplication::quit();
}

void MainWindow::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    if (m_autoResize)
        m_autoResize->applyScale();
}
