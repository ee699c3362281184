#pragma once
// Which automatic turntable run the operator chose (0 normal calibration, 1 IMU nonlinearity
// test), kept in the per-user settings store of organisation "Kelvanto", application
// "Calibration". One object for the process, made on first use.
#include <QObject>
#include <atomic>

class AutoTurnTableTestType : public QObject {
    Q_OBJECT
public:
    static AutoTurnTableTestType *instance();

    // True for the normal test (type 0). Safe to call from the turntable worker's thread.
    bool isNormalTest() const { return m_type.load() == 0; }
    int testType() const { return m_type.load(); }
    // Stores the type (0 or 1; other values are refused); 1 emits SigImuNolinearTest every time.
    void setTestType(int type);
    // Writes the type to the per-user store.
    void saveTestType();

    static QString settingsKey() { return QStringLiteral("m_auto_turntable_test_type"); }

signals:
    void SigImuNolinearTest();

private:
    AutoTurnTableTestType();
    std::atomic<int> m_type{0};
};
