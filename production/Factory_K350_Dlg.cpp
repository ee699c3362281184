#include "production/Factory_K350_Dlg.h"

#include <QCoreApplication>
#include <qcustomplot.h>

#include "app/AutoResize.h"
#include "app/Clock.h"
#include "app/MeasuredValues.h"
#include "app/Prompter.h"
#include "app/Settings.h"
#include "app/SoundPlayer.h"
#include "link/DeviceRecords.h"
#include "link/LinkFlags.h"
#include "production/QuickTestPage.h"
#include "ui_Factory_K350_Dlg.h"

using namespace QuickTestText;

namespace {
const QString kRedStyle = QString("background-color:") + "red";
const QString kWhiteStyle = QString("background-color:") + "white";
// Set on a noise label while it shows "Good".
const char *kNoiseGood = "noiseGood";
// Offsets of the 12 plotted std values and of the 12 raw values.
const int kStdOffsets[12] = {85, 93, 101, 89, 97, 105, 109, 117, 125, 113, 121, 129};
const int kRawOffsets[12] = {27, 31, 35, 55, 59, 63, 39, 43, 47, 67, 71, 75};
} // namespace

// The value axis spans the curves' values with a margin; small values (the noise, some
// thousandths) would lie flat on a fixed scale.
static void fitValueAxis(QCustomPlot *plot)
{
    QCPRange all;
    bool any = false;
    for (int k = 0; k < plot->graphCount(); ++k) {
        bool found = false;
        const QCPRange r = plot->graph(k)->getValueRange(found);
        if (found) {
            any ? all.expand(r) : void(all = r);
            any = true;
        }
    }
    if (!any)
        return;
    const double margin = all.size() > 0 ? all.size() * 0.1 : qMax(qAbs(all.center()) * 0.1, 1e-6);
    plot->yAxis->setRange(all.lower - margin, all.upper + margin);
}

Factory_K350_Dlg::Factory_K350_Dlg(QWidget *parent)
    : QWidget(parent), ui(std::make_unique<Ui::Factory_K350_Dlg>())
{
    ui->setupUi(this);
    ui->comboBox_k350_sysclk->addItems({"168MHz", "84MHz", "200MHz"});
    // The choices of the last verdict come back.
    QSettings *s = getSettings();
    ui->comboBox_k350_sysclk->setCurrentIndex(qBound(0, s->value("k350_factory/k350_clk", 2).toInt(), 2));
    // The operator's choice is kept at once, so the next start shows it even without a verdict.
    connect(ui->comboBox_k350_sysclk, QOverload<int>::of(&QComboBox::currentIndexChanged), this, [](int index) {
        if (index >= 0)
            getSettings()->setValue("k350_factory/k350_clk", index);
    });
    ui->textEdit_k350_software_ver->setPlainText(s->value("k350_factory/k350_version").toString());
    ui->textEdit_ahrs_k350_user_name->setPlainText(s->value("k350_factory/k350_name").toString());
    ui->progressBar_k350_test->setRange(0, 100);
    const QList<QColor> colours = {Qt::red, Qt::green, Qt::blue, Qt::magenta, Qt::darkCyan, Qt::darkYellow};
    for (QCustomPlot *p : {ui->ahrs_k350_tet_plot1, ui->ahrs_k350_tet_plot2}) {
        for (int k = 0; k < 6; ++k)
            p->addGraph()->setPen(QPen(colours[k]));
        // The plot time is seconds since 1970: the ticks read as the time of day.
        QSharedPointer<QCPAxisTickerDateTime> ticker(new QCPAxisTickerDateTime);
        ticker->setDateTimeFormat("HH:mm:ss");
        p->xAxis->setTicker(ticker);
    }
    init_auto_resize();
    clear_k350_test();

    QuickTestPage::wireEngine(this, &m_engine, [this](const QString &t, const QString &s) { setStatus(t, s); },
                              ui->progressBar_k350_test);
    connect(&m_engine, &QuickTestEngine::command, this, &Factory_K350_Dlg::Send_CMD_LONG_SIGNAL);
    connect(&m_engine, &QuickTestEngine::clearPage, this, &Factory_K350_Dlg::clear_k350_test);
    connect(&m_engine, &QuickTestEngine::testStarted, this, &Factory_K350_Dlg::onTestStarted);
    connect(&m_engine, &QuickTestEngine::secondPhase, this, &Factory_K350_Dlg::signal_gyro_calib_result_read);
    connect(&m_engine, &QuickTestEngine::verdictDue, this, &Factory_K350_Dlg::giveVerdict);

    create_db();
    m_timer.setInterval(100);
    connect(&m_timer, &QTimer::timeout, this, &Factory_K350_Dlg::_ackTimeout);
}

Factory_K350_Dlg::~Factory_K350_Dlg() = default;

void Factory_K350_Dlg::init_auto_resize()
{
    m_resize = std::make_unique<AutoResize>(this, float(width()), float(height()));
    m_resize->setResizeKinds(AutoResize::All);
    m_resize->addExtraWidget(ui->ahrs_k350_tet_plot1);
    m_resize->addExtraWidget(ui->ahrs_k350_tet_plot2);
    m_resize->collectItems();
    m_resize->applyScale();
}

void Factory_K350_Dlg::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (m_resize)
        m_resize->applyScale();
}

QString Factory_K350_Dlg::statusText() const { return ui->label_ahrs_k350_test_current_status->text(); }
QString Factory_K350_Dlg::statusStyle() const { return ui->label_ahrs_k350_test_current_status->styleSheet(); }

bool Factory_K350_Dlg::nameEmpty() const
{
    return ui->textEdit_ahrs_k350_user_name->toPlainText().isEmpty();
}

void Factory_K350_Dlg::setStatus(const QString &text, const QString &style)
{
    ui->label_ahrs_k350_test_current_status->setStyleSheet(style);
    ui->label_ahrs_k350_test_current_status->setText(QCoreApplication::translate("StatusText", text.toUtf8().constData()));
}

QList<QLabel *> Factory_K350_Dlg::gradedLabels() const
{
    return {ui->ahrs_k350_test_crystal, ui->ahrs_k350_test_cpu_votage, ui->ahrs_k350_test_fault_code_imu1,
            ui->ahrs_k350_test_acc_noise1, ui->ahrs_k350_test_gyro_noise1, ui->ahrs_k350_test_tempature_imu1,
            ui->ahrs_k350_test_serial1, ui->ahrs_k350_test_serial2};
}

QList<QLabel *> Factory_K350_Dlg::biasLabels() const
{
    return {ui->ahrs_k350_test_calib_gyro_bias1, ui->ahrs_k350_test_calib_gyro_bias2,
            ui->ahrs_k350_test_calib_gyro_bias3};
}

void Factory_K350_Dlg::fail(QLabel *label)
{
    label->setStyleSheet(kRedStyle);
    m_engine.addError();
}

void Factory_K350_Dlg::_ackTimeout()
{
    QuickTestEngine::Inputs in;
    in.nameEmpty = nameEmpty();
    in.linkUp = !g_link_status.isEmpty() && g_link_status[0] == 1;
    in.phasesWanted = ui->checkBox_calib_gyro->isChecked();
    m_engine.tick(in);
}

void Factory_K350_Dlg::onTestStarted()
{
    for (QLabel *l : gradedLabels())
        l->setStyleSheet(kWhiteStyle);
    SoundPlayer::instance().play(Sounds::Start);
    // A fresh result for this test; the module's parameter image is left as it is.
    g_gyro_calib_result.store(GyroCalibResult());
    for (float &v : m_noiseMax)
        v = 0;
    m_startStamp = Clock::instance().now().toString("yyyy_MMdd_HHmm_ss");
}

void Factory_K350_Dlg::clear_k350_test()
{
    emit displayVersionToMain("N/A", "N/A", "N/A", "", "", "N/A", "N/A", "N/A", "N/A", 0);
    ui->ahrs_k350_test_crystal->setText("N/A");
    ui->ahrs_k350_test_cpu_votage->setText("N/A");
    ui->ahrs_k350_test_fault_code_imu1->setText("N/A");
    ui->ahrs_k350_test_acc_noise1->setText("N/A");
    ui->ahrs_k350_test_gyro_noise1->setText("N/A");
    ui->ahrs_k350_test_acc_noise1->setProperty(kNoiseGood, false);
    ui->ahrs_k350_test_gyro_noise1->setProperty(kNoiseGood, false);
    ui->ahrs_k350_test_tempature_imu1->setText(tr("Temperature:") + "N/A");
    ui->ahrs_k350_test_serial1->setText(tr("Serial port 1:") + "N/A");
    ui->ahrs_k350_test_serial2->setText(tr("Serial port 2:") + "N/A");
    for (QLabel *l : biasLabels())
        l->setText(tr("Zero bias:") + "N/A");
    for (QLabel *l : gradedLabels() + biasLabels())
        l->setStyleSheet(kWhiteStyle);
}

void Factory_K350_Dlg::displayK350_test()
{
    const bool linkUp = !g_link_status.isEmpty() && g_link_status[0] == 1;
    if (!m_engine.acceptRecord(nameEmpty(), linkUp))
        return;
    const TestK350Fields f = TestK350Fields::parse(g_test_k350_record.load());
    const double t = double(Clock::instance().now().toMSecsSinceEpoch()) / 1000.0;
    const bool raw = ui->checkBox_dont_show_std->isChecked();
    if (m_series.sampleDue(t))
        m_series.append(t, [&](int i) { return double(f.floatAt(raw ? kRawOffsets[i] : kStdOffsets[i])); });
    if (!m_series.refreshDue(t))
        return;
    m_series.markRefreshed(t);
    for (int p = 0; p < 2; ++p) {
        QCustomPlot *plot = p == 0 ? ui->ahrs_k350_tet_plot1 : ui->ahrs_k350_tet_plot2;
        for (int k = 0; k < 6; ++k) {
            plot->graph(k)->setData(m_series.time(), m_series.values(6 * p + k), true);
            if (raw)
                plot->graph(k)->rescaleValueAxis(true);
        }
        if (!raw)
            fitValueAxis(plot);
        plot->xAxis->setRange(t - 5.0, t);
        plot->replot(QCustomPlot::rpQueuedReplot);
    }
    refresh(f);
}

void Factory_K350_Dlg::refresh(const TestK350Fields &f)
{
    const uint32_t expectedClock = GradeK350::expectedClock(ui->comboBox_k350_sysclk->currentIndex());
    m_serial = f.serialNumber();
    uint8_t mask = 0;
    if (f.firmware_version != ui->textEdit_k350_software_ver->toPlainText().trimmed().toUInt()) {
        mask |= 1;
        m_engine.addError();
    }
    emit displayVersionToMain(QString::number(f.firmware_version), QString::number(f.version_word),
                              QString::number(f.sn_word[0]), QString::number(f.sn_word[1]),
                              QString::number(f.sn_word[2]), GradeK350::modelText(f.model_code), "0",
                              "0", "0", mask);
    ui->ahrs_k350_test_cpu_votage->setText(QString::number(double(f.cpu_voltage), 'f', 2));
    if (GradeK350::cpuVoltageFails(f.cpu_voltage))
        fail(ui->ahrs_k350_test_cpu_votage);
    ui->ahrs_k350_test_crystal->setText(QString::number(f.clock_hz));
    if (float(f.clock_hz) != float(expectedClock))
        fail(ui->ahrs_k350_test_crystal);
    const int slot[6] = {0, 1, 2, 6, 7, 8};
    const int stdIndex[6] = {0, 2, 4, 6, 8, 10}; // values at 85, 93, 101, 109, 117, 125
    for (int i = 0; i < 6; ++i)
        m_noiseMax[slot[i]] = largestKept(m_noiseMax[slot[i]], f.std_values[stdIndex[i]]);
    auto noise = [&](QLabel *label, const float v[3], GradeK350::Noise n) {
        if (n == GradeK350::Noise::Good) {
            label->setStyleSheet(kWhiteStyle);
            label->setText(tr("Good"));
            label->setProperty(kNoiseGood, true);
            return;
        }
        fail(label);
        label->setProperty(kNoiseGood, false);
        if (n == GradeK350::Noise::Poor)
            label->setText(GradeK350::noiseText(v));
    };
    const float acc[3] = {f.std_values[0], f.std_values[2], f.std_values[4]};
    const float gyro[3] = {f.std_values[6], f.std_values[8], f.std_values[10]};
    noise(ui->ahrs_k350_test_acc_noise1, acc, GradeK350::accelNoise(acc));
    noise(ui->ahrs_k350_test_gyro_noise1, gyro, GradeK350::gyroNoise(gyro));
    ui->ahrs_k350_test_fault_code_imu1->setText(QString::number(int8_t(f.fault_code)));
    if (f.fault_code != 0)
        fail(ui->ahrs_k350_test_fault_code_imu1);
    ui->ahrs_k350_test_serial1->setText(tr("Serial port 1:") + QString::number(int8_t(f.serial_port_1)));
    ui->ahrs_k350_test_serial2->setText(tr("Serial port 2:") + QString::number(int8_t(f.serial_port_2)));
    const bool skip1 = ui->checkBox_dont_test_serial1->isChecked();
    const bool skipAll = ui->checkBox_dont_test_serial->isChecked();
    if (GradeK350::serialPortFails(1, f.serial_port_1, skip1, skipAll))
        fail(ui->ahrs_k350_test_serial1);
    if (GradeK350::serialPortFails(2, f.serial_port_2, skip1, skipAll))
        fail(ui->ahrs_k350_test_serial2);
    if (m_engine.phasesLatched() && m_engine.phaseSent() && m_engine.sinceSecondPhaseS() > 2.0) {
        const GyroCalibResult g = g_gyro_calib_result.load();
        for (int i = 0; i < 3; ++i)
            biasLabels()[i]->setText(tr("Zero bias:") + QString::number(double(g.xyz[i]), 'f', 4));
    }
    showCounts();
    ui->ahrs_k350_test_tempature_imu1->setText(tr("Temperature:") + QString::number(double(f.temperature), 'f', 1));
    if (GradeK350::temperatureFails(f.temperature))
        fail(ui->ahrs_k350_test_tempature_imu1);
}

void Factory_K350_Dlg::showCounts()
{
    ui->ahrs_k350_test_total_num->setText(QString::number(m_tally.total));
    ui->ahrs_k350_test_succssful_num->setText(QString::number(m_tally.passed));
    ui->ahrs_k350_test_failed_num->setText(QString::number(m_tally.total - m_tally.passed));
}

void Factory_K350_Dlg::giveVerdict()
{
    // Everything the verdict judges is taken now; nothing that runs later changes it.
    m_engine.beginVerdict();
    const TestK350Fields f = TestK350Fields::parse(g_test_k350_record.load());
    const GyroCalibResult g = g_gyro_calib_result.load();
    const bool calibChecked = m_engine.phasesLatched();
    const VerdictK350 v = judgeK350(calibChecked, g.xyz, g.received, m_engine.errorCount());
    if (v.calibFailed)
        for (QLabel *l : biasLabels())
            l->setStyleSheet(kRedStyle);
    m_engine.setErrorCount(v.errors);
    const QString sn = m_serial;
    const bool accNotGood = !ui->ahrs_k350_test_acc_noise1->property(kNoiseGood).toBool();
    const bool gyroNotGood = !ui->ahrs_k350_test_gyro_noise1->property(kNoiseGood).toBool();

    save_db();
    m_engine.endVerdict(v.passed());

    auto num = [](float x) { return shortNumber(double(x)); };
    auto largestOf = [this](int first) {
        return largestKept(m_noiseMax[first], largestKept(m_noiseMax[first + 1], m_noiseMax[first + 2]));
    };
    QStringList line{QString::number(m_engine.testNumber()), sn, v.passed() ? "0" : "1", m_startStamp,
                     ui->textEdit_ahrs_k350_user_name->toPlainText(), QString::number(f.firmware_version),
                     QString::number(f.version_word), QString::number(uint16_t(f.model_code)),
                     QString::number(m_engine.finishedCount()), QString::number(m_engine.passCount()),
                     QString::number(m_engine.failCount()), QString::number(f.clock_hz), num(f.cpu_voltage),
                     QString::number(f.fault_code), QString::number(f.status_84), accNotGood ? "1" : "0",
                     // Field 17: the largest accelerometer noise; field 19: the largest gyro noise.
                     num(largestOf(0)), gyroNotGood ? "1" : "0", num(largestOf(6)), num(f.temperature),
                     num(f.value_79), QString::number(f.serial_port_1), QString::number(f.serial_port_2),
                     num(g.xyz[0]), num(g.xyz[1]), num(g.xyz[2]),
                     ui->checkBox_dont_test_serial->isChecked() ? "1" : "0", calibChecked ? "1" : "0"};
    for (float m : m_noiseMax)
        line << num(m);
    line << QString::number(m_tally.total) << QString::number(m_tally.passed);
    // A line that could not be written is shown like a result the database could not keep.
    const bool lineWritten = m_log.append(line.join(","));
    QuickTestPage::showOutcome(v.passed(), m_tally.last, lineWritten ? QString() : m_log.lastError(),
                               [this](const QString &t, const QString &s) { setStatus(t, s); });
    showCounts();

    QSettings *s = getSettings();
    s->setValue("k350_factory/k350_clk", ui->comboBox_k350_sysclk->currentIndex());
    s->setValue("k350_factory/k350_version", ui->textEdit_k350_software_ver->toPlainText());
    s->setValue("k350_factory/k350_name", ui->textEdit_ahrs_k350_user_name->toPlainText());
    s->sync();
    ui->progressBar_k350_test->setValue(100);
    if (!m_tally.last.notice.isEmpty())
        Prompter::instance().notice(QCoreApplication::translate("StatusText", m_tally.last.notice.toUtf8().constData()));
}

void Factory_K350_Dlg::create_db()
{
    QuickTestPage::openDatabase(this, m_tally.db);
    find_from_db();
}

void Factory_K350_Dlg::save_db()
{
    m_tally.save(m_serial, m_engine.errorCount() == 0);
}

void Factory_K350_Dlg::find_from_db()
{
    m_tally.count();
}

void Factory_K350_Dlg::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    QuickTestPage::pageShown(m_timer);
}

void Factory_K350_Dlg::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    QuickTestPage::pageHidden(event, m_timer, m_engine);
}
