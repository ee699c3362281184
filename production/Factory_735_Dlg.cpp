#include "production/Factory_735_Dlg.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <qcustomplot.h>

#include "app/AutoResize.h"
#include "app/Clock.h"
#include "app/Prompter.h"
#include "app/SoundPlayer.h"
#include "link/DeviceRecords.h"
#include "link/LinkFlags.h"
#include "production/QuickTestPage.h"
#include "ui_Factory_735_Dlg.h"

using namespace QuickTestText;

namespace {
constexpr int kRows = 13, kCols = 8, kStatusCol = 7;
} // namespace

Factory_735_Dlg::Factory_735_Dlg(QWidget *parent)
    : QWidget(parent), ui(std::make_unique<Ui::Factory_735_Dlg>())
{
    ui->setupUi(this);
    ui->tableWidget_735e->setRowCount(kRows);
    ui->tableWidget_735e->setColumnCount(kCols);
    ui->tableWidget_735e->setHorizontalHeaderLabels(
        {"", tr("Unit 1"), tr("Unit 2"), tr("Unit 3"), tr("Unit 4"), "", "", tr("Status")});
    ui->progressBar_ahrs_735e_test->setRange(0, 100);
    const QList<QColor> colours = {Qt::red, Qt::green, Qt::blue, Qt::magenta};
    for (QCustomPlot *p : plots())
        for (int k = 0; k < 4; ++k) {
            p->addGraph()->setPen(QPen(colours[k]));
            p->graph(k)->setName(tr("Unit %1").arg(k + 1));
        }
    init_auto_resize();
    clear_735e_test();

    QuickTestPage::wireEngine(this, &m_engine, [this](const QString &t, const QString &s) { setStatus(t, s); },
                              ui->progressBar_ahrs_735e_test);
    connect(&m_engine, &QuickTestEngine::command, this, &Factory_735_Dlg::Send_CMD_LONG_SIGNAL);
    connect(&m_engine, &QuickTestEngine::clearPage, this, &Factory_735_Dlg::clear_735e_test);
    connect(&m_engine, &QuickTestEngine::testStarted, this, &Factory_735_Dlg::onTestStarted);
    connect(&m_engine, &QuickTestEngine::verdictDue, this, &Factory_735_Dlg::giveVerdict);

    create_db_735e();
    m_timer.setInterval(100);
    connect(&m_timer, &QTimer::timeout, this, &Factory_735_Dlg::_ackTimeout_735e);
}

Factory_735_Dlg::~Factory_735_Dlg() = default;

QList<QCustomPlot *> Factory_735_Dlg::plots() const
{
    return {ui->ahrs_735e_test_plot_1, ui->ahrs_735e_test_plot_2, ui->ahrs_735e_test_plot_3,
            ui->ahrs_735e_test_plot_11, ui->ahrs_735e_test_plot_12, ui->ahrs_735e_test_plot_13};
}

void Factory_735_Dlg::init_auto_resize()
{
    m_resize = std::make_unique<AutoResize>(this, float(width()), float(height()));
    m_resize->setResizeKinds(AutoResize::All);
    m_resize->addExtraWidget(ui->tabWidget_2);
    m_resize->addExtraWidget(ui->tableWidget_735e);
    for (QCustomPlot *p : plots())
        m_resize->addExtraWidget(p);
    m_resize->collectItems();
    m_resize->applyScale();
}

void Factory_735_Dlg::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (m_resize)
        m_resize->applyScale();
}

bool Factory_735_Dlg::nameEmpty() const
{
    return ui->textEdit_735e_test_user_name->toPlainText().isEmpty();
}

void Factory_735_Dlg::setOperatorName(const QString &name)
{
    ui->textEdit_735e_test_user_name->setPlainText(name);
}

QTableWidgetItem *Factory_735_Dlg::cell(int row, int column) const
{
    return ui->tableWidget_735e->item(row, column);
}

QString Factory_735_Dlg::statusText() const { return ui->label_735e_test_current_status->text(); }
QString Factory_735_Dlg::statusStyle() const { return ui->label_735e_test_current_status->styleSheet(); }

QString Factory_735_Dlg::countText(int which) const
{
    const QLabel *l[] = {ui->ahrs_v3v4_test1, ui->ahrs_v3v4_test2, ui->ahrs_v3v4_test3};
    return l[which]->text();
}

void Factory_735_Dlg::setStatus(const QString &text, const QString &style)
{
    ui->label_735e_test_current_status->setStyleSheet(style);
    ui->label_735e_test_current_status->setText(QCoreApplication::translate("StatusText", text.toUtf8().constData()));
}

void Factory_735_Dlg::_ackTimeout_735e()
{
    QuickTestEngine::Inputs in;
    in.nameEmpty = nameEmpty();
    in.linkUp = !g_link_status.isEmpty() && g_link_status[0] == 1;
    m_engine.tick(in);
}

void Factory_735_Dlg::onTestStarted()
{
    SoundPlayer::instance().play(Sounds::Start);
    for (auto &u : m_spreadMax)
        for (float &v : u)
            v = 0;
    m_startStamp = Clock::instance().now().toString("yyyy_MMdd_HHmm_ss");
}

void Factory_735_Dlg::clear_735e_test()
{
    emit displayVersionToMain("N/A", "N/A", "N/A", "", "", "N/A", "N/A", "N/A", "N/A", 0);
    for (int r = 0; r <= 10; ++r)
        ui->tableWidget_735e->setItem(r, kStatusCol, new QTableWidgetItem);
    for (int r = 0; r < kRows; ++r)
        for (int c = 1; c <= 4; ++c)
            ui->tableWidget_735e->setItem(r, c, new QTableWidgetItem);
    m_highest = 0;
    m_restartFailed = false;
    m_seenFlag = false;
}

bool Factory_735_Dlg::isRed(QTableWidgetItem *item) const
{
    return item && item->background().color() == QColor(Qt::red) && item->background().style() != Qt::NoBrush;
}

void Factory_735_Dlg::markRed(QTableWidgetItem *item)
{
    if (item)
        item->setBackground(QColor(Qt::red));
    m_engine.addError();
}

void Factory_735_Dlg::setCellText(int row, int column, const QString &text)
{
    QTableWidgetItem *it = ui->tableWidget_735e->item(row, column);
    if (!it) {
        it = new QTableWidgetItem;
        ui->tableWidget_735e->setItem(row, column, it);
    }
    it->setText(text);
}

void Factory_735_Dlg::display_735e_test()
{
    const bool linkUp = !g_link_status.isEmpty() && g_link_status[0] == 1;
    if (!m_engine.acceptRecord(nameEmpty(), linkUp))
        return;
    const Test735Fields f = Test735Fields::parse(g_test_735_record.load());
    const double t = double(Clock::instance().now().toMSecsSinceEpoch()) / 1000.0;
    if (m_series.sampleDue(t))
        m_series.append(t, [&](int i) { return f.unit_spreads[i / 6][i % 6] / 1000.0; });
    if (m_series.refreshDue(t)) {
        m_series.markRefreshed(t);
        const QList<QCustomPlot *> ps = plots();
        for (int q = 0; q < 6; ++q) {
            for (int k = 0; k < 4; ++k)
                ps[q]->graph(k)->setData(m_series.time(), m_series.values(6 * k + q), true);
            ps[q]->xAxis->setRange(t - 5.0, t);
            ps[q]->replot(QCustomPlot::rpQueuedReplot);
        }
        refresh(f);
    }
    showCounts();
}

void Factory_735_Dlg::refresh(const Test735Fields &f)
{
    uint8_t mask = 0;
    if (f.firmware_date != Grade735::kFirmwareDate) {
        m_engine.addError();
        mask |= 1;
    }
    emit displayVersionToMain(QString::number(f.firmware_date), QString::number(f.version_word),
                              QString::number(f.sn_word[0]), QString::number(f.sn_word[1]),
                              QString::number(f.sn_word[2]), Grade735::modelText(f.model_code), "0",
                              "0", "0", mask);
    m_serial = f.serialNumber();
    if (f.time_ms > m_highest)
        m_highest = f.time_ms;
    if (m_engine.done())
        return;

    const double elapsed = m_engine.elapsedS();
    setCellText(0, kStatusCol, QString::number(f.time_ms));
    for (int k = 0; k < 4; ++k) {
        for (int v = 0; v < 6; ++v)
            setCellText(v, k + 1, shortNumber(f.unit_values[k][v] / 1000.0));
        setCellText(6, k + 1, shortNumber(f.unit_values[k][6] / 100.0));
        for (int q = 0; q < 6; ++q) {
            QTableWidgetItem *it = cell(7 + q, k + 1);
            if (!isRed(it))
                setCellText(7 + q, k + 1, shortNumber(double(float(f.unit_spreads[k][q]) / 1000.0f)));
            if (m_engine.running() && Grade735::spreadFails(q, f.unit_spreads[k][q], elapsed))
                markRed(cell(7 + q, k + 1));
            m_spreadMax[k][q] = qMax(m_spreadMax[k][q], float(f.unit_spreads[k][q]));
        }
    }
    if (!m_engine.phaseSent()) {
        auto status = [&](int row, const QString &text, bool fails) {
            if (isRed(cell(row, kStatusCol)))
                return;
            setCellText(row, kStatusCol, text);
            if (fails)
                markRed(cell(row, kStatusCol));
        };
        status(1, QString::number(f.clock_hz), !Grade735::clockAccepted(f.clock_hz));
        status(2, QString::number(int8_t(f.flag_145)), false);
        if (f.flag_145 == 1)
            m_seenFlag = true;
        status(3, QString::number(int8_t(f.status_146)), Grade735::statusByteFails(f.status_146, f.time_ms));
        status(4, QString::number(int8_t(f.status_147)), Grade735::statusByteFails(f.status_147, f.time_ms));
        status(5, QString::number(int8_t(f.status_148)), Grade735::statusByteFails(f.status_148, f.time_ms));
        status(6, QString::number(int8_t(f.status_85)), false);
        status(7, QString::number(int8_t(f.status_86)), false);
        status(8, QString::number(int8_t(f.status_87)), false);
        status(9, QString::number(int8_t(f.status_88)), false);
        status(10, QString::number(f.status_149), false);
    }
    if (f.status_85 != 0)
        markRed(cell(6, kStatusCol));
    if (f.status_86 != 32)
        markRed(cell(7, kStatusCol));
    if (f.status_87 != 51)
        markRed(cell(8, kStatusCol));
    if (f.status_88 != 0)
        markRed(cell(9, kStatusCol));
}

void Factory_735_Dlg::showCounts()
{
    ui->ahrs_v3v4_test1->setText(QString::number(m_tally.total));
    ui->ahrs_v3v4_test2->setText(QString::number(m_tally.passed));
    ui->ahrs_v3v4_test3->setText(QString::number(m_tally.total - m_tally.passed));
}

void Factory_735_Dlg::giveVerdict()
{
    // Everything the verdict judges is taken now; nothing that runs later changes it.
    m_engine.beginVerdict();
    const Test735Fields f = Test735Fields::parse(g_test_735_record.load());
    const Verdict735 v = judge735(f.time_ms, m_highest, m_seenFlag, m_engine.errorCount());
    m_restartFailed = !v.restartOk;
    if (QTableWidgetItem *it = cell(0, kStatusCol))
        it->setBackground(QColor(v.restartOk ? Qt::green : Qt::red));
    const bool seen = m_seenFlag;
    const QString sn = m_serial;
    m_engine.setErrorCount(v.errors);

    save_db_735e(); // judges by the error count
    m_engine.endVerdict(v.passed());

    QStringList line{QString::number(m_engine.testNumber()), sn, v.passed() ? "0" : "1", m_startStamp,
                     ui->textEdit_735e_test_user_name->toPlainText(), QString::number(f.firmware_date),
                     QString::number(f.version_word), QString::number(uint32_t(f.model_code)),
                     QString::number(m_engine.finishedCount()), QString::number(m_engine.passCount()),
                     QString::number(m_engine.failCount()), QString::number(f.clock_hz),
                     QString::number(f.status_85), QString::number(f.status_86),
                     QString::number(f.status_87), QString::number(f.status_88), seen ? "1" : "0",
                     QString::number(f.status_146), QString::number(f.status_147),
                     QString::number(f.status_148), m_restartFailed ? "1" : "0"};
    for (int k = 0; k < 4; ++k)
        for (int q = 0; q < 6; ++q)
            line << shortNumber(double(m_spreadMax[k][q] / 1000.0f));
    // A line that could not be written is shown like a result the database could not keep.
    const bool lineWritten = m_log.append(line.join(","));
    QuickTestPage::showOutcome(v.passed(), m_tally.last, lineWritten ? QString() : m_log.lastError(),
                               [this](const QString &t, const QString &s) { setStatus(t, s); });
    showCounts();
    ui->progressBar_ahrs_735e_test->setValue(100);
    if (!m_tally.last.notice.isEmpty())
        Prompter::instance().notice(QCoreApplication::translate("StatusText", m_tally.last.notice.toUtf8().constData()));
}

void Factory_735_Dlg::create_db_735e()
{
    QuickTestPage::openDatabase(this, m_tally.db);
    find_from_db_735e();
}

void Factory_735_Dlg::save_db_735e()
{
    m_tally.save(m_serial, m_engine.errorCount() == 0);
}

void Factory_735_Dlg::find_from_db_735e()
{
    m_tally.count();
}

void Factory_735_Dlg::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    QuickTestPage::pageShown(m_timer);
}

void Factory_735_Dlg::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    QuickTestPage::pageHidden(event, m_timer, m_engine);
}
