#include "production/IMU_Screening_Dlg.h"
#include "production/StatusStyles.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QIntValidator>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTableWidget>
#include <limits>

#include "app/AutoResize.h"
#include "app/Clock.h"
#include "app/Prompter.h"
#include "app/Settings.h"
#include "app/SoundPlayer.h"
#include "link/DeviceRecords.h"
#include "link/LinkFlags.h"
#include "production/ExcelPrintfDlg.h"
#include "production/PDFPrintDlg.h"
#include "ui_IMU_Screening_Dlg.h"

namespace {
const char *kRowNames[ScreeningRun::kRows] = {
    "module_counter", "software_ver", "hardware_ver", "board_ver", "SN", "gyro_num", "accel_num",
    "lp_type", "stream_mode", "calib_flag", "imu_fCode", "config_fCode", "calibParam_fCode",
    "slave_status", "acc_norm", "sys_clk", "flag", "state 1", "state 2", "state 3", "state 4",
    "state 5", "max_min_diff 1", "max_min_diff 2", "max_min_diff 3", "max_min_diff 4",
    "max_min_diff 5", "max_min_diff 6", "text"};
} // namespace

IMU_Screening_Dlg::IMU_Screening_Dlg(QWidget *parent)
    : QWidget(parent), ui(std::make_unique<Ui::IMU_Screening_Dlg>())
{
    ui->setupUi(this);
    QTableWidget *t = ui->tableWidget_735_calib_16;
    t->setRowCount(ScreeningRun::kRows);
    t->setColumnCount(ScreeningRun::kModules + 1);
    QStringList columns{""};
    for (int m = 1; m <= ScreeningRun::kModules; ++m)
        columns << QString::number(m);
    t->setHorizontalHeaderLabels(columns);
    QStringList rows;
    for (const char *n : kRowNames)
        rows << n;
    t->setVerticalHeaderLabels(rows);
    for (int r = 0; r < ScreeningRun::kRows; ++r)
        t->setItem(r, 0, new QTableWidgetItem(kRowNames[r]));
    init_auto_resize();
    loadLimits();

    connect(&m_run, &ScreeningRun::command, this, &IMU_Screening_Dlg::Send_CMD_LONG_SIGNAL);
    connect(&m_run, &ScreeningRun::statusChanged, this, &IMU_Screening_Dlg::setStatus);
    connect(&m_run, &ScreeningRun::cleared, this, &IMU_Screening_Dlg::showGrid);
    connect(&m_run, &ScreeningRun::serialLinkLost, this, [this] {
        Prompter::instance().information(this, tr("Tip"), tr("The serial hardware has been disconnected, please reconnect!"));
    });
    connect(&m_run, &ScreeningRun::stepSent, this, [] { SoundPlayer::instance().play(Sounds::Start); });
    connect(&m_run, &ScreeningRun::verdict, this, &IMU_Screening_Dlg::onVerdict);
    connect(&m_run, &ScreeningRun::notTested, this, [this] {
        showGrid();
        SoundPlayer::instance().play(Sounds::Alarm);
    });
    clear_imu_screening_16module();

    create_db_imu_screeing();
    find_from_db_imu_screeing();
    create_testfile_imu_screening();
    m_timer.setInterval(1000);
    connect(&m_timer, &QTimer::timeout, this, &IMU_Screening_Dlg::_ackTimeout_imu_screening_16module);
}

IMU_Screening_Dlg::~IMU_Screening_Dlg()
{
    // The focused limit field loses its focus only as the base widget takes its children down,
    // when nothing of this page is left to take the text.
    for (QLineEdit *e : limitEdits()) {
        e->removeEventFilter(this);
        disconnect(e, nullptr, this, nullptr);
    }
}

QTableWidget *IMU_Screening_Dlg::table() const { return ui->tableWidget_735_calib_16; }

void IMU_Screening_Dlg::loadLimits()
{
    QSettings *s = getSettings();
    ScreeningLimits l;
    l.lp_type = s->value("imu_screening/lp_type", l.lp_type).toInt();
    l.stream_mode = s->value("imu_screening/stream_mode", l.stream_mode).toInt();
    l.sys_clk = s->value("imu_screening/sys_clk", l.sys_clk).toUInt();
    l.max_min_diff = s->value("imu_screening/max_min_diff", double(l.max_min_diff)).toFloat();
    m_run.setLimits(l);
    // The limits in use stand on the page; the operator changes them there.
    ui->lineEdit_limit_lp_type->setValidator(new QIntValidator(0, 255, this));
    ui->lineEdit_limit_stream_mode->setValidator(new QIntValidator(0, 255, this));
    ui->lineEdit_limit_sys_clk->setValidator(new QIntValidator(0, std::numeric_limits<int>::max(), this));
    for (QLineEdit *e : limitEdits()) {
        showLimit(e);
        connect(e, &QLineEdit::editingFinished, this, [this, e] { storeLimit(e); });
        e->installEventFilter(this); // a text the validator refuses raises no editingFinished
    }
}

QList<QLineEdit *> IMU_Screening_Dlg::limitEdits() const
{
    return {ui->lineEdit_limit_lp_type, ui->lineEdit_limit_stream_mode, ui->lineEdit_limit_sys_clk};
}

QString IMU_Screening_Dlg::limitKey(QLineEdit *e) const
{
    if (e == ui->lineEdit_limit_lp_type)
        return "lp_type";
    return e == ui->lineEdit_limit_stream_mode ? "stream_mode" : "sys_clk";
}

qint64 IMU_Screening_Dlg::limitInForce(QLineEdit *e) const
{
    const ScreeningLimits l = m_run.limits();
    if (e == ui->lineEdit_limit_lp_type)
        return l.lp_type;
    return e == ui->lineEdit_limit_stream_mode ? qint64(l.stream_mode) : qint64(l.sys_clk);
}

void IMU_Screening_Dlg::showLimit(QLineEdit *e)
{
    e->setText(QString::number(limitInForce(e)));
}

// Only the field the operator finished is taken, and only a text its validator accepts.
void IMU_Screening_Dlg::storeLimit(QLineEdit *e)
{
    if (!e->hasAcceptableInput()) {
        refuseLimit(e);
        return;
    }
    bool ok = false;
    const qint64 v = e->locale().toLongLong(e->text(), &ok);
    if (!ok) {
        refuseLimit(e);
        return;
    }
    if (v == limitInForce(e))
        return; // nothing changed (also a field just set back after a refusal)
    ScreeningLimits l = m_run.limits();
    if (e == ui->lineEdit_limit_lp_type)
        l.lp_type = int(v);
    else if (e == ui->lineEdit_limit_stream_mode)
        l.stream_mode = int(v);
    else
        l.sys_clk = uint32_t(v);
    m_run.setLimits(l);
    QSettings *s = getSettings();
    s->setValue("imu_screening/" + limitKey(e), v);
    s->sync();
}

void IMU_Screening_Dlg::refuseLimit(QLineEdit *e)
{
    const QString refused = e->text();
    showLimit(e); // back to the limit in force before the box takes the focus
    Prompter::instance().warning(this, tr("Warning"),
                                 tr("The %1 limit does not take \"%2\"; the limit in force, %3, stays.")
                                     .arg(limitKey(e), refused, e->text()));
}

bool IMU_Screening_Dlg::eventFilter(QObject *watched, QEvent *event)
{
    auto *e = qobject_cast<QLineEdit *>(watched);
    if (e && limitEdits().contains(e)) {
        const bool enter = event->type() == QEvent::KeyPress
            && (static_cast<QKeyEvent *>(event)->key() == Qt::Key_Return
                || static_cast<QKeyEvent *>(event)->key() == Qt::Key_Enter);
        if ((enter || event->type() == QEvent::FocusOut) && !e->hasAcceptableInput())
            refuseLimit(e);
    }
    return QWidget::eventFilter(watched, event);
}

void IMU_Screening_Dlg::init_auto_resize()
{
    m_resize = std::make_unique<AutoResize>(this, float(width()), float(height()));
    m_resize->setResizeKinds(AutoResize::All);
    m_resize->addExtraWidget(ui->tableWidget_735_calib_16);
    m_resize->addExtraWidget(ui->tabWidget_imu_screening);
    m_resize->collectItems();
    m_resize->applyScale();
}

void IMU_Screening_Dlg::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (m_resize)
        m_resize->applyScale();
}

bool IMU_Screening_Dlg::linkUp() const
{
    return !g_link_status.isEmpty() && g_link_status[0] == 1;
}

void IMU_Screening_Dlg::setStatus(const QString &text, const QString &style)
{
    ui->label_imu_screening_status_auto_16->setStyleSheet(style);
    ui->label_imu_screening_status_auto_16->setText(QCoreApplication::translate("StatusText", text.toUtf8().constData()));
}

void IMU_Screening_Dlg::showGrid()
{
    QTableWidget *t = ui->tableWidget_735_calib_16;
    for (int r = 0; r < ScreeningRun::kRows; ++r)
        for (int m = 0; m < ScreeningRun::kModules; ++m) {
            const ScreeningCell &c = m_run.cell(r, m);
            auto *item = new QTableWidgetItem(c.text);
            item->setToolTip(c.why);
            if (c.mark == ScreeningCell::Red)
                item->setBackground(QColor(Qt::red));
            else if (c.mark == ScreeningCell::Green)
                item->setBackground(QColor(Qt::green));
            t->setItem(r, m + 1, item);
        }
}

void IMU_Screening_Dlg::showCounts()
{
    ui->imu_screening_test_total_num->setText(QString::number(m_total));
    ui->imu_screening_test_succssful_num->setText(QString::number(m_passed));
    ui->imu_screening_test_failed_num->setText(QString::number(m_total - m_passed));
}

void IMU_Screening_Dlg::display_735e_imu_screening()
{
    m_records = g_screening_records.load();
    const ScreeningReference ref{ui->textEdit_tetest_sw_version_compare_16->toPlainText(),
                                 ui->textEdit_tetest_hw_version_compare_16->toPlainText(),
                                 ui->textEdit_tetest_board_version_compare_16->toPlainText()};
    if (m_run.display(m_records, ref, linkUp())) {
        showGrid();
        showCounts();
    }
}

void IMU_Screening_Dlg::_ackTimeout_imu_screening_16module()
{
    if (linkUp())
        showCounts();
    m_run.tick(linkUp(), g_screening_records.load());
}

void IMU_Screening_Dlg::clear_imu_screening_16module()
{
    m_run.clear();
}

void IMU_Screening_Dlg::onVerdict(bool passed, const QStringList &serials)
{
    showGrid();
    m_boardPassed = passed;
    m_storageError.clear();
    m_dbError.clear();
    m_notStored.clear();
    // The reminder counts from the rows the table held at the last count that could be read.
    const quint32 passedBefore = m_passed;
    for (const QString &sn : serials) {
        save_db_imu_screeing(sn);
        save_testfile_imu_screening(sn);
    }
    const bool counted = m_db.counts(&m_total, &m_passed);
    showCounts();
    // The verdict's own text, then what the operator must know beside it.
    QStringList status;
    const int stored = serials.size() - m_notStored.size();
    if (!m_notStored.isEmpty() && stored > 0)
        status << tr("Storage error: %1 of %2 results were stored; not stored: %3 (%4)")
                      .arg(stored).arg(serials.size()).arg(m_notStored.join(", "), m_dbError);
    else if (!m_notStored.isEmpty())
        status << tr("Storage error, the results were not saved: ") + m_dbError;
    else if (!m_storageError.isEmpty())
        status << tr("Storage error, the results were not saved: ") + m_storageError;
    else
        status << QCoreApplication::translate("StatusText", passed ? ScreeningText::DoneNormal : ScreeningText::DoneErrors);
    if (!m_run.notChecked().isEmpty())
        status << tr("Not checked: %1").arg(m_run.notChecked().join("; "));
    status << m_run.serialFaults();
    if (!counted)
        status << tr("The counts were not read again (%1); the last counts read stand.").arg(m_db.lastError());
    const bool storageError = !m_notStored.isEmpty() || !m_storageError.isEmpty();
    if (status.size() > 1 || storageError)
        setStatus(status.join("\n"), passed && !storageError ? StatusStyle::Green : StatusStyle::Red);
    SoundPlayer::instance().play(passed && !storageError ? Sounds::Pass : Sounds::Alarm);
    if (counted && ScreeningRun::remindDue(passedBefore, m_passed)) {
        Prompter::instance().information(
            this, tr("Remind"),
            tr("We have measured 100 complete units again, and the current quantity is:%1，请检查!").arg(m_passed));
        SoundPlayer::instance().play(Sounds::Class);
    }
}

void IMU_Screening_Dlg::create_db_imu_screeing()
{
    if (!m_db.open())
        Prompter::instance().information(this, tr("Tip"), tr("Unable to establish database connection"));
}

void IMU_Screening_Dlg::save_db_imu_screeing(QString sn)
{
    const TestResultDb::SaveOutcome o = m_db.save(sn, m_boardPassed);
    if (!o.stored) {
        m_notStored << sn;
        m_dbError = o.error;
    }
}

void IMU_Screening_Dlg::find_from_db_imu_screeing()
{
    m_db.counts(&m_total, &m_passed);
}

void IMU_Screening_Dlg::create_testfile_imu_screening()
{
    const QString dir = logSubdir("IMU_SCREENING_LOG");
    m_startStamp = Clock::instance().now().toString("yyyy_MMdd_HHmm_ss");
    m_log.close();
    m_log.setFileName(dir + "/LOG_" + m_startStamp + ".csv");
    if (!m_log.open(QIODevice::ReadWrite | QIODevice::Append)) {
        qDebug() << "Open file failed." << m_log.fileName();
        return;
    }
    m_log.write(ScreeningRun::csvHeader().toUtf8());
    m_log.flush();
}

void IMU_Screening_Dlg::save_testfile_imu_screening(QString sn)
{
    // One line for each place that read sn, with what that place showed under sn: a module that
    // stopped answering has its line too.
    for (int m = 0; m < ScreeningRun::kModules; ++m) {
        if (!m_run.fitted(m) || !m_run.serialsOf(m).contains(sn))
            continue;
        // A line that cannot be written is a result lost: the verdict shows it as a storage error.
        if (!m_log.isOpen()) {
            m_storageError = tr("screening log %1 is not open").arg(m_log.fileName());
            continue;
        }
        m_startStamp = Clock::instance().now().toString("yyyy_MMdd_HHmm_ss");
        const QByteArray bytes = m_run.csvLine(m, sn, m_startStamp).toUtf8();
        if (m_log.write(bytes) != bytes.size() || !m_log.flush())
            m_storageError = tr("screening log line not written to %1 (%2)").arg(m_log.fileName(), m_log.errorString());
    }
}

void IMU_Screening_Dlg::on_pushButton_excelExport_clicked()
{
    auto *dlg = new ExcelPrintfDlg(this);
    dlg->setAttribute(Qt::WA_DeleteOnClose);
    dlg->show();
}

void IMU_Screening_Dlg::on_pushButton_pdfExport_clicked()
{
    auto *dlg = new PDFPrintDlg(this);
    dlg->setAttribute(Qt::WA_DeleteOnClose);
    dlg->show();
}

void IMU_Screening_Dlg::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    m_timer.start();
}

void IMU_Screening_Dlg::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    m_timer.stop();
}
