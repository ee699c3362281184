// The result view: one table per plate, the summary table, the three live plots, the shield
// marks and the plates' verdict reports.
#include "station/MultiCalib.h"

#include "ui_MultiCalib.h"

#include <QDateTime>
#include <QTimer>

#include <cmath>

#include "app/Clock.h"
#include "equipment/StationValues.h"
#include "link/DeviceRecords.h"
#include "link/LinkFlags.h"
#include "station/ConsoleLogic.h"
#include "station/TableView.h"

namespace {
constexpr int64_t kDisplayStepMs = 100;   // accepted display calls, plot points, plot scroll
constexpr int64_t kTableStepMs = 1000;    // table refresh
constexpr double kPlotWindowS = 10.0;     // shown time span of the plots
const Qt::GlobalColor kGraphColours[10] = {Qt::red, Qt::blue, Qt::green, Qt::darkRed, Qt::gray,
                                           Qt::darkMagenta, Qt::darkGreen, Qt::cyan, Qt::magenta, Qt::yellow};

QBrush brushOf(CellColour c)
{
    switch (c) {
    case CellColour::Red: return QBrush(Qt::red);
    case CellColour::Yellow: return QBrush(Qt::yellow);
    case CellColour::LightGray: return QBrush(Qt::lightGray);
    default: return QBrush();
    }
}

ShieldRow shieldRowOf(const std::array<QString, kImusPerPlate> &marks)
{
    ShieldRow s{};
    for (int k = 0; k < kImusPerPlate; ++k)
        s[size_t(k)] = marks[size_t(k)] == "1";
    return s;
}
} // namespace

QString MultiCalib::get_string_calib_status(int number) const
{
    return ::get_string_calib_status(uint32_t(number));
}

void MultiCalib::init_calib_multi_plot()
{
    m_selectGrid = new TableView;
    ui->tabWidget_bottom->addTab(m_selectGrid, tr("Shield"));

    m_ackTimer = new QTimer;
    connect(m_ackTimer, &QTimer::timeout, this, &MultiCalib::calib_multi_ackTimeout, Qt::UniqueConnection);
    m_ackTimer->start(1000);

    ui->tabWidget_top->setCurrentIndex(0);

    ui->comboBox_module_35->addItems({"ax", "ay", "az", "norm"});
    ui->comboBox_module_34->addItems({"gx", "gy", "gz", "norm"});
    ui->comboBox_module_36->addItems({"temp"});
    for (QComboBox *c : {ui->comboBox_neihuan_manual, ui->comboBox_waihuan_manual})
        c->addItems({tr("位置指令"), tr("速率指令")});
    ui->neihuan_target_pos_manual->setPlainText("0");
    ui->neihuan_target_vel_manual->setPlainText("100");
    ui->waihuan_target_pos_manual->setPlainText("0");
    ui->waihuan_target_vel_manual->setPlainText("100");
    for (QTextEdit *e : {ui->neihuan_target_pos_manual, ui->neihuan_target_vel_manual, ui->waihuan_target_pos_manual,
                         ui->waihuan_target_vel_manual})
        e->setEnabled(true);
    for (QTextEdit *e : {ui->neihuan_current_pos_manual, ui->neihuan_current_vel_manual, ui->waihuan_current_pos_manual,
                         ui->waihuan_current_vel_manual})
        e->setEnabled(false);

    m_plots = {ui->calib_multi_plot1, ui->calib_multi_plot2, ui->calib_multi_plot3};
    const char *yLabels[3] = {"accel", "gyro", "temp"};
    const double yRanges[3][2] = {{-5, 5}, {-100, 100}, {-50, 100}};
    for (int p = 0; p < 3; ++p) {
        QCustomPlot *plot = m_plots[p];
        plot->setInteractions(QCP::iRangeDrag | QCP::iRangeZoom | QCP::iSelectAxes | QCP::iSelectLegend
                              | QCP::iSelectPlottables);
        plot->xAxis->setLabel("t");
        plot->yAxis->setLabel(yLabels[p]);
        plot->yAxis->setRange(yRanges[p][0], yRanges[p][1]);
        plot->legend->setVisible(false);
        plot->axisRect()->insetLayout()->setInsetAlignment(0, Qt::AlignTop | Qt::AlignLeft);
        for (int k = 0; k < kImusPerPlate; ++k) {
            QCPGraph *g = plot->addGraph();
            g->setName(QString::number(k % 10 + 1));
            g->setPen(QPen(kGraphColours[k % 10]));
        }
    }

    QTableWidget *total = ui->tableWidget_calib_multi_total;
    total->setRowCount(84);
    total->setColumnCount(33);
    QStringList header{tr("类别")};
    for (int k = 1; k <= 32; ++k)
        header << QString("IMU%1").arg(k);
    total->setHorizontalHeaderLabels(header);
    const char *blocks[4] = {"calib_flag_h-", "calib_status-", "6pos_count-", "temp-"};
    for (int b = 0; b < 4; ++b)
        for (int p = 0; p < kPlates; ++p)
            total->setItem(16 * b + p, 0, new QTableWidgetItem(blocks[b] + QString::number(p + 1)));
    total->setItem(64, 0, new QTableWidgetItem(tr("Bottom plate version number")));
    total->setItem(65, 0, new QTableWidgetItem(tr("Bottom plate serial number")));

    for (int p = 0; p < kPlates; ++p) {
        QTableWidget *t = m_plateTables[p];
        t->setRowCount(kPlateTableRows);
        t->setColumnCount(33);
        QStringList h{QString("Category(%1)").arg(p + 1)};
        for (int k = 1; k <= 32; ++k)
            h << QString("IMU%1").arg(k);
        t->setHorizontalHeaderLabels(h);
        for (int r = 0; r < kPlateValueRows; ++r)
            t->setItem(r, 0, new QTableWidgetItem(plateRowLabels()[r]));
        // Every value cell has its item from the start; refreshes change text and colour only.
        for (int r = 0; r < kPlateValueRows; ++r)
            for (int k = 1; k <= 32; ++k)
                t->setItem(r, k, new QTableWidgetItem);
    }

    ui->comboBox_calib_multi_total->addItems(plateRowLabels().mid(0, kSummaryKinds));
    ui->comboBox_calib_multi_total->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    m_startMs = Clock::instance().monotonicMs();
}

void MultiCalib::on_comboBox_calib_multi_total_currentIndexChanged(int index)
{
    QTableWidget *t = ui->tableWidget_calib_multi_total;
    t->setRowCount(0);
    t->setRowCount(20);
    const QString name = ui->comboBox_calib_multi_total->currentText();
    for (int p = 0; p < kPlates; ++p)
        t->setItem(p, 0, new QTableWidgetItem(name + "-" + QString::number(p + 1)));
    t->setItem(16, 0, new QTableWidgetItem(tr("Bottom plate version number")));
    t->setItem(17, 0, new QTableWidgetItem(tr("Bottom plate serial number")));
    m_total_kind = index;
}

void MultiCalib::display_calib_multi()
{
    const int64_t now = Clock::instance().monotonicMs() - m_startMs;
    if (now - m_lastDisplayMs <= kDisplayStepMs)
        return;
    m_lastDisplayMs = now;

    // The IMU page is found by its widget: the operator may have removed or put back pages
    // before it, so its index moves.
    const bool plotsOn = g_open_imu_plot.load() != 0;
    QTabWidget *top = ui->tabWidget_top;
    if (plotsOn && !m_imuPageInserted) {
        if (top->indexOf(ui->tab_imu) < 0)
            top->insertTab(calcInsertIndex("IMU", TableWidgetTop), ui->tab_imu, "IMU");
        m_imuPageInserted = true;
    } else if (!plotsOn && m_imuPageInserted) {
        const int at = top->indexOf(ui->tab_imu);
        if (at >= 0)
            top->removeTab(at);
        m_imuPageInserted = false;
    }
    if (plotsOn && top->currentWidget() == ui->tab_imu)
        updatePlots(double(now) / 1000.0);

    if (now - m_lastTableMs > kTableStepMs)
        refreshTables();
}

int MultiCalib::plateOfPage(const QWidget *page) const
{
    for (int p = 0; page && p < m_plateTables.size(); ++p)
        if (page->isAncestorOf(m_plateTables[p]))
            return p;
    return -1;
}

void MultiCalib::updatePlots(double t)
{
    // The plate whose page is open, whatever plate pages are removed before it.
    const int plate = plateOfPage(ui->tabWidget_bottom->currentWidget());
    const int64_t now = int64_t(t * 1000.0);
    if (plate >= 0 && now - m_lastPlotDataMs > kDisplayStepMs) {
        m_lastPlotDataMs = now;
        const PlateSnapshot s = g_calib_status.plate(plate);
        const int accSel = ui->comboBox_module_35->currentIndex();
        const int gyroSel = ui->comboBox_module_34->currentIndex();
        for (int k = 0; k < kImusPerPlate; ++k) {
            const CalibImuStatus &r = s.imu[size_t(k)];
            const float acc[4] = {r.accx, r.accy, r.accz, std::sqrt(r.accx * r.accx + r.accy * r.accy + r.accz * r.accz)};
            const float gyro[4] = {r.gyrox, r.gyroy, r.gyroz,
                                   std::sqrt(r.gyrox * r.gyrox + r.gyroy * r.gyroy + r.gyroz * r.gyroz)};
            const float values[3] = {acc[qBound(0, accSel, 3)], gyro[qBound(0, gyroSel, 3)], r.temp};
            for (int p = 0; p < 3; ++p) {
                QCPGraph *g = m_plots[p]->graph(k);
                g->addData(t, double(values[p]));
                // Points older than the shown window are never looked at again.
                g->data()->removeBefore(t - kPlotWindowS);
            }
        }
    }
    if (now - m_lastPlotScrollMs > kDisplayStepMs) {
        m_lastPlotScrollMs = now;
        for (QCustomPlot *plot : m_plots) {
            plot->xAxis->setRange(t, kPlotWindowS, Qt::AlignRight);
            plot->replot(QCustomPlot::rpRefreshHint);
        }
    }
}

void MultiCalib::refreshTables()
{
    m_lastTableMs = Clock::instance().monotonicMs() - m_startMs;
    for (int p = 0; p < kPlates; ++p) {
        if (!clearedAndNoRecordSince(p))
            m_plate_fail_count[size_t(p)] = 0;
        calib_multi_table(p);
    }
    calib_multi_table_total(m_total_kind);
    refreshVerdicts();
}

void MultiCalib::setCell(QTableWidget *t, int row, int column, const CellView &cell)
{
    QTableWidgetItem *item = t->item(row, column);
    if (!item) {
        item = new QTableWidgetItem;
        t->setItem(row, column, item);
    }
    if (item->text() != cell.text)
        item->setText(cell.text);
    const QBrush b = brushOf(cell.colour);
    if (item->background() != b)
        item->setBackground(b);
}

void MultiCalib::applyPlateView(int plate, const PlateTableView &view)
{
    QTableWidget *t = m_plateTables[plate];
    PlateTableView &shown = m_shownCells[size_t(plate)];
    const bool valid = m_shownValid[size_t(plate)];
    for (int r = 0; r < kPlateValueRows; ++r)
        for (int k = 0; k < kImusPerPlate; ++k) {
            const CellView &c = view.cells[size_t(r)][size_t(k)];
            if (valid && shown.cells[size_t(r)][size_t(k)] == c)
                continue;
            setCell(t, r, k + 1, c);
        }
    shown = view;
    m_shownValid[size_t(plate)] = true;
}

// A plate whose table was cleared and that no record reached since keeps rows 30 to 32 and
// its failure count: nothing new is known of it.
bool MultiCalib::clearedAndNoRecordSince(int plate) const
{
    return m_lossRebase[size_t(plate)] && g_calib_status.generation(plate) == m_clearedGeneration[size_t(plate)];
}

void MultiCalib::calib_multi_table(int table_index)
{
    if (table_index < 0 || table_index >= kPlates || g_link_status.value(table_index) == 0
        || clearedAndNoRecordSince(table_index))
        return;
    const uint64_t generation = g_calib_status.generation(table_index);
    const PlateSnapshot snap = g_calib_status.plate(table_index);
    noteReportingImus(table_index, snap);
    if (m_lossRebase[size_t(table_index)]) {
        m_last_i2c_loss[size_t(table_index)] = snap.errors;
        if (generation != m_clearedGeneration[size_t(table_index)])
            m_lossRebase[size_t(table_index)] = false;
    }
    const PlateTableView view = buildPlateTable(snap, shieldRowOf(m_shield_marks[size_t(table_index)]),
                                                g_expected_calib_flag, m_last_i2c_loss[size_t(table_index)]);
    m_plate_fail_count[size_t(table_index)] = view.failCount;
    applyPlateView(table_index, view);
    m_shownGeneration[size_t(table_index)] = generation;
}

void MultiCalib::calib_multi_table_total(int kind)
{
    if (kind < 0 || kind >= kSummaryKinds)
        return;
    QTableWidget *t = ui->tableWidget_calib_multi_total;
    for (int p = 0; p < kPlates && p < t->rowCount(); ++p) {
        if (g_link_status.value(p) != 1)
            continue;
        const PlateSnapshot s = g_calib_status.plate(p);
        for (int k = 0; k < kImusPerPlate; ++k)
            setCell(t, p, k + 1, CellView{summaryCellText(kind, s.imu[size_t(k)], s.errors[size_t(k)]), CellColour::None});
    }
}

void MultiCalib::calib_multi_ackTimeout()
{
    for (int p = 0; p < kPlates; ++p) {
        for (int k = 0; k < kImusPerPlate; ++k) {
            const QString text = m_selectGrid->cellText(p, k);
            m_shield_marks[size_t(p)][size_t(k)] = text == "true" ? QString("1") : text;
        }
        const QString whole = m_selectGrid->cellText(p, 32);
        if (whole == "true" || whole == "1")
            for (QString &m : m_shield_marks[size_t(p)])
                m = "1";
    }
    // Records that arrived after the last refresh are shown even when the stream has ended.
    const int64_t now = Clock::instance().monotonicMs() - m_startMs;
    bool pending = false;
    for (int p = 0; p < kPlates; ++p)
        pending = pending || (g_link_status.value(p) != 0 && g_calib_status.generation(p) != m_shownGeneration[size_t(p)]);
    if (pending && now - m_lastTableMs > kTableStepMs)
        refreshTables();

    for (int p = 0; p < kPlates; ++p)
        emit signal_log(73, plateVerdictText(p + 1, g_link_status.value(p) != 0, m_plateReported[size_t(p)],
                                             m_plate_fail_count[size_t(p)]));
}

void MultiCalib::clear_calib_multi_table()
{
    QTableWidget *total = ui->tableWidget_calib_multi_total;
    for (int r = 0; r < 60 && r < total->rowCount(); ++r)
        for (int k = 1; k <= 32; ++k)
            total->setItem(r, k, new QTableWidgetItem);
    for (int p = 0; p < kPlates; ++p) {
        QTableWidget *t = m_plateTables[p];
        for (int r = 0; r < 30; ++r)
            for (int k = 1; k <= 32; ++k)
                setCell(t, r, k, CellView{});
        m_shownValid[size_t(p)] = false;
    }
    // The counts and their reference are reset together: the reference takes the counts of
    // the first record after the clear, so counts that only stay as they were mark nothing.
    g_calib_status.clearAll();
    for (int p = 0; p < kPlates; ++p) {
        m_lossRebase[size_t(p)] = true;
        m_clearedGeneration[size_t(p)] = g_calib_status.generation(p);
        m_shownGeneration[size_t(p)] = m_clearedGeneration[size_t(p)]; // nothing new to show
    }
}
