#pragma once
// Page 11: quick pass/fail test of a finished K350 module (8 s, or 16 s with the gyro bias
// calibration: command 10 at 5 s, the result read at 8 s); grades clock, CPU voltage,
// temperature, fault code, noise, serial ports and firmware version.
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
class Factory_K350_Dlg;
}
class AutoResize;
class QLabel;

class Factory_K350_Dlg : public QWidget {
    Q_OBJECT
public:
    explicit Factory_K350_Dlg(QWidget *parent = nullptr);
    ~Factory_K350_Dlg() override;

    // Test access to the page.
    QuickTestEngine &engine() { return m_engine; }
    QuickTestLog &resultLog() { return m_log; }
    QTimer &tickTimer() { return m_timer; }
    QString statusText() const;
    QString statusStyle() const;

public slots:
    void displayK350_test();
    void _ackTimeout();
    void clear_k350_test();
    void create_db();
    void save_db();
    void find_from_db();
    void init_auto_resize();

signals:
    void Send_CMD_LONG_SIGNAL(uint16_t cmd_id, float cm1, float cm2, uint32_t cm3, uint32_t cm4,
                              int32_t cm5, int32_t cm6);
    void Send_CMD_LONG_SIGNAL_times(uint16_t cmd_id, float cm1, float cm2, uint32_t cm3,
                                    uint32_t cm4, int32_t cm5, int32_t cm6);
    void displayVersionToMain(QString, QString, QString, QString, QString, QString, QString,
                              QString, QString, uint8_t mask);
    void signal_gyro_calib_result_read();

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
    void refresh(const TestK350Fields &f);
    void fail(QLabel *label);
    QList<QLabel *> gradedLabels() const;
    QList<QLabel *> biasLabels() const;
    bool nameEmpty() const;
    void showCounts();

    std::unique_ptr<Ui::Factory_K350_Dlg> ui;
    std::unique_ptr<AutoResize> m_resize;
    QuickTestEngine m_engine{QuickTestConfig::forK350()};
    ResultTally m_tally{"k350"};
    QuickTestLog m_log{"log_k350_test"};
    QTimer m_timer;
    QuickTestSeries m_series{12, 500};

    QString m_serial;
    QString m_startStamp;
    float m_noiseMax[12] = {};
};
