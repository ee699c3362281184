// The calibration-flag verdicts: the live-IMU count, the summary table's verdict view (flag,
// stage, six-position and temperature blocks) and the pass statistics.
#include "station/MultiCalib.h"

#include "ui_MultiCalib.h"

#include "link/DeviceRecords.h"
#include "link/LinkFlags.h"
#include "station/CalibVerdicts.h"
#include "station/ConsoleLogic.h"

namespace {
constexpr int kFlagKind = 1;       // summary kind "calib_flag_h"
constexpr int kVerdictRows = 64;   // rows of the four blocks

ShieldRow shieldsOf(const std::array<QString, kImusPerPlate> &marks)
{
    ShieldRow s{};
    for (int k = 0; k < kImusPerPlate; ++k)
        s[size_t(k)] = marks[size_t(k)] == "1";
    return s;
}

bool plateLinked(int p) { return g_link_status.value(p) == 1; }
} // namespace

QString MultiCalib::get_string_calib_flag(uint number) const
{
    return ::get_string_calib_flag(uint32_t(number));
}

void MultiCalib::noteReportingImus(int plate, const PlateSnapshot &snap)
{
    for (int k = 0; k < kImusPerPlate; ++k)
        if (snap.imu[size_t(k)].time_ms != 0)
            m_imuSeen[size_t(plate)][size_t(k)] = true;
}

void MultiCalib::resetSeenImus(int plate)
{
    m_imuSeen[size_t(plate)].fill(false);
    if (plateLinked(plate))
        noteReportingImus(plate, g_calib_status.plate(plate));
}

int MultiCalib::judgedImus()
{
    int n = 0;
    for (int p = 0; p < kPlates; ++p)
        if (plateLinked(p)) {
            const PlateSnapshot s = g_calib_status.plate(p);
            noteReportingImus(p, s);
            n += countJudgedImus(true, s, shieldsOf(m_shield_marks[size_t(p)]), m_imuSeen[size_t(p)]);
        }
    return n;
}

void MultiCalib::check_total_imu_num_alive()
{
    m_alive_imu_count = judgedImus();
    ui->label_result_total_num->setText(QString::number(m_alive_imu_count));
}

void MultiCalib::fill_item_and_check_pass_or_fail_for_total(int table_index, int line)
{
    QTableWidget *t = ui->tableWidget_calib_multi_total;
    if (table_index < 0 || table_index >= kPlates || line < 0 || line >= t->rowCount())
        return;
    const auto colours = consensusColours(m_row_values, shieldsOf(m_shield_marks[size_t(table_index)]));
    for (int k = 0; k < kImusPerPlate; ++k) {
        QTableWidgetItem *item = t->item(line, k + 1);
        if (!item || colours[size_t(k)] == CellColour::None)
            continue;
        item->setBackground(colours[size_t(k)] == CellColour::Yellow ? QBrush(Qt::yellow) : QBrush(Qt::lightGray));
    }
}

// The verdict view. The flag block is written while the summary shows the flag kind (its rows
// then hold the same words) or the four-block layout; the other blocks only in the four-block
// layout, so the plate version and serial rows of the one-kind layout are never overwritten.
// The statistics are figured whenever there is an expectation.
void MultiCalib::calib_multi_table_total()
{
    QTableWidget *t = ui->tableWidget_calib_multi_total;
    const bool allBlocks = t->rowCount() >= kVerdictRows;
    const bool flagBlock = allBlocks || m_total_kind == kFlagKind;
    int bad = 0;
    QString positions;
    for (int p = 0; p < kPlates; ++p) {
        if (!plateLinked(p))
            continue;
        const PlateSnapshot s = g_calib_status.plate(p);
        const ShieldRow shielded = shieldsOf(m_shield_marks[size_t(p)]);
        noteReportingImus(p, s);
        const FlagBlockRow row =
            buildFlagBlockRow(p, s, shielded, g_expected_calib_flag, m_plateReported[size_t(p)], m_imuSeen[size_t(p)]);
        bad += row.bad;
        positions += row.positions;
        if (flagBlock && p < t->rowCount())
            for (int k = 0; k < kImusPerPlate; ++k)
                setCell(t, p, k + 1, row.cells[size_t(k)]);
        if (!allBlocks)
            continue;
        for (int k = 0; k < kImusPerPlate; ++k) {
            const CalibImuStatus &r = s.imu[size_t(k)];
            m_row_values[size_t(k)] = r.calib_status;
            setCell(t, 16 + p, k + 1, CellView{QString::number(r.calib_status) + ::get_string_calib_status(r.calib_status)});
        }
        fill_item_and_check_pass_or_fail_for_total(p, 16 + p);
        for (int k = 0; k < kImusPerPlate; ++k) {
            m_row_values[size_t(k)] = s.imu[size_t(k)].pos6_count;
            setCell(t, 32 + p, k + 1, CellView{QString::number(s.imu[size_t(k)].pos6_count)});
        }
        fill_item_and_check_pass_or_fail_for_total(p, 32 + p);
        for (int k = 0; k < kImusPerPlate; ++k)
            setCell(t, 48 + p, k + 1,
                    CellView{QString::number(double(s.imu[size_t(k)].temp), 'f', 4),
                             shielded[size_t(k)] ? CellColour::LightGray : CellColour::None});
    }
    if (g_expected_calib_flag == 0)
        return;
    const VerdictStats stats = verdictStats(bad, m_alive_imu_count);
    ui->label_result_ng_position->setText(positions);
    ui->label_result_ng_num->setText(stats.badText);
    ui->label_result_ok_num->setText(stats.okText);
    ui->label_result_ok_percent->setText(stats.percentText);
}

void MultiCalib::checkCalibFlagResult()
{
    if (ui->comboBox_calib_multi_total->currentIndex() != kFlagKind)
        return;
    QTableWidget *t = ui->tableWidget_calib_multi_total;
    for (int r = 0; r < kPlates && r < t->rowCount(); ++r)
        for (int k = 1; k <= kImusPerPlate; ++k) {
            QTableWidgetItem *item = t->item(r, k);
            if (item && !plainFlagTextPasses(item->text()))
                item->setBackground(QBrush(Qt::red));
        }
}

void MultiCalib::refreshVerdicts()
{
    if (g_expected_calib_flag == 0)
        return;
    check_total_imu_num_alive();
    calib_multi_table_total();
}
