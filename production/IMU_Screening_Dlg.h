#pragma once
// Page 10: screening of a board of 32 modules. A 1 s tick asks the board for screening data;
// the grid of the run shows every module's record with the failing values in red; after 25
// ticks the board gets its verdict, every module's serial number is stored in "imu_select.db"
// and written to the screening CSV log.
#include <QFile>
#include <QTimer>
#include <QWidget>
#include <cstdint>
#include <memory>

#include "production/ScreeningRun.h"
#include "production/TestResultDb.h"

namespace Ui {
class IMU_Screening_Dlg;
}
class AutoResize;
class QLineEdit;
class QTableWidget;

class IMU_Screening_Dlg : public QWidget {
    Q_OBJECT
public:
    explicit IMU_Screening_Dlg(QWidget *parent = nullptr);
    ~IMU_Screening_Dlg() override;

    // Test access.
    ScreeningRun &run() { return m_run; }
    QTimer &tickTimer() { return m_timer; }
    QTableWidget *table() const;
    QString logPath() const { return m_log.fileName(); }
    quint32 passedCount() const { return m_passed; }
    quint32 totalCount() const { return m_total; }

public slots:
    void display_735e_imu_screening();
    void _ackTimeout_imu_screening_16module();
    void clear_imu_screening_16module();
    void create_db_imu_screeing();
    void save_db_imu_screeing(QString sn);
    void find_from_db_imu_screeing();
    void create_testfile_imu_screening();
    void save_testfile_imu_screening(QString sn);
    void on_pushButton_excelExport_clicked();
    void on_pushButton_pdfExport_clicked();
    void init_auto_resize();

signals:
    void Send_CMD_LONG_SIGNAL(uint16_t cmd_id, float cm1, float cm2, uint32_t cm3, uint32_t cm4,
                              int32_t cm5, int32_t cm6);
    void Send_CMD_LONG_SIGNAL_times(uint16_t cmd_id, float cm1, float cm2, uint32_t cm3,
                                    uint32_t cm4, int32_t cm5, int32_t cm6);

protected:
    void resizeEvent(QResizeEvent *event) override;
    // The tick runs while the page is shown, so only the current page talks to the module.
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void setStatus(const QString &text, const QString &style);
    void showGrid();
    void showCounts();
    void onVerdict(bool passed, const QStringList &serials);
    void loadLimits();
    // The three limit fields: lp_type, stream_mode, sys_clk.
    QList<QLineEdit *> limitEdits() const;
    QString limitKey(QLineEdit *e) const;
    qint64 limitInForce(QLineEdit *e) const;
    void showLimit(QLineEdit *e);
    void storeLimit(QLineEdit *e);
    // A text that is no limit: shown as refused, the field back to the limit in force.
    void refuseLimit(QLineEdit *e);
    bool linkUp() const;

    std::unique_ptr<Ui::IMU_Screening_Dlg> ui;
    std::unique_ptr<AutoResize> m_resize;
    ScreeningRun m_run;
    TestResultDb m_db{"imu_select", "imu_select.db", "imu_select", TestResultDb::Policy::LastResult};
    QTimer m_timer;
    QFile m_log;
    QString m_startStamp;
    ScreeningBytes m_records{};
    bool m_boardPassed = false;
    QString m_storageError;          // a log line not written
    QString m_dbError;               // why the last row not stored was not
    QStringList m_notStored;         // serial numbers whose rows the verdict could not store
    quint32 m_passed = 0, m_total = 0;
};
