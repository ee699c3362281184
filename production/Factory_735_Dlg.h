#pragma once
// Page 12: quick pass/fail test of a finished 735 module (10 s: stream the test record, restart
// the module at 5 s, grade every field, store and log the verdict).
#include <QString>
#include <QTimer>
#include <QWidget>
#include <cstdint>
#include <memory>

#include "production/QuickTestEngine.h"
#include "production/QuickTestLog.h"
#include "production/QuickTestRecords.h"
#include "production/QuickTestSeries.h"
#include "production/TestResultDb.h"

namespace Ui {
class Factory_735_Dlg;
}
class AutoResize;
class QCustomPlot;
class QTableWidgetItem;

class Factory_735_Dlg : public QWidget {
    Q_OBJECT
public:
    explicit Factory_735_Dlg(QWidget *parent = nullptr);
    ~Factory_735_Dlg() override;

    QuickTestEngine &engine() { return m_engine; }
    QuickTestLog &resultLog() { return m_log; }
    QTimer &tickTimer() { return m_timer; }
    QTableWidgetItem *cell(int row, int column) const;
    QString statusText() const;
    QString statusStyle() const;
    QString countText(int which) const; // 0 total, 1 passed, 2 failed
    QString storedSerialNumber() const { return m_serial; }
    void setOperatorName(const QString &name);

public slots:
    void display_735e_test();
    void _ackTimeout_735e();
    void clear_735e_test();
    void create_db_735e();
    void save_db_735e();
    void find_from_db_735e();
    void init_auto_resize();

signals:
    void Send_CMD_LONG_SIGNAL(uint16_t cmd_id, float cm1, float cm2, uint32_t cm3, uint32_t cm4,
                              int32_t cm5, int32_t cm6);
    void Send_CMD_LONG_SIGNAL_times(uint16_t cmd_id, float cm1, float cm2, uint32_t cm3,
                                    uint32_t cm4, int32_t cm5, int32_t cm6);
    void displayVersionToMain(QString, QString, QString, QString, QString, QString, QString,
                              QString, QString, uint8_t mask);

protected:
    void resizeEvent(QResizeEvent *event) override;
    // The tick runs while the page is in use, so only the current page talks to the module
    // (a minimised window keeps it running; see QuickTestPage::pageHidden).
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void setStatus(const QString &text, const QString &style);
    void onTestStarted();
    void giveVerdict();
    void refresh(const Test735Fields &f);
    void markRed(QTableWidgetItem *item);
    bool isRed(QTableWidgetItem *item) const;
    void setCellText(int row, int column, const QString &text);
    void showCounts();
    QList<QCustomPlot *> plots() const;
    bool nameEmpty() const;

    std::unique_ptr<Ui::Factory_735_Dlg> ui;
    std::unique_ptr<AutoResize> m_resize;
    QuickTestEngine m_engine{QuickTestConfig::for735()};
    ResultTally m_tally{"imu1123"};
    QuickTestLog m_log{"log_735_test"};
    QTimer m_timer;
    QuickTestSeries m_series{24, 300};

    QString m_serial;
    QString m_startStamp;
    float m_spreadMax[4][6] = {};
    uint32_t m_highest = 0;
    bool m_restartFailed = false;
    bool m_seenFlag = false;
};
