#pragma once
// The repeat-click tester: a switchable 1000 ms timer that emits popClickTest on every tick.
#include <QObject>
#include <QString>
#include <QTimer>

class Multi_calib_test : public QObject {
    Q_OBJECT
public:
    static Multi_calib_test *getInstance();

    bool isRunning() const { return m_running; }
    void start();
    void stop();
    // ":/images/switch_on.png" while running, else ":/images/switch_off.png".
    QString icon() const;
    int interval() const { return m_interval; }
    // Tests shorten the tick.
    void setInterval(int ms) { m_interval = ms; }

signals:
    void popClickTest();

private:
    Multi_calib_test();
    bool m_running = false;
    QTimer *m_timer = nullptr;
    int m_interval = 1000;
};
