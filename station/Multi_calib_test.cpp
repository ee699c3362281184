#include "station/Multi_calib_test.h"

Multi_calib_test *Multi_calib_test::getInstance()
{
    static Multi_calib_test *object = new Multi_calib_test; // lives as long as the process
    return object;
}

Multi_calib_test::Multi_calib_test() : m_timer(new QTimer)
{
    connect(m_timer, &QTimer::timeout, this, &Multi_calib_test::popClickTest);
}

void Multi_calib_test::start()
{
    if (!m_timer || m_running)
        return;
    m_timer->start(m_interval);
    m_running = true;
}

void Multi_calib_test::stop()
{
    if (!m_timer || !m_running)
        return;
    m_timer->stop();
    m_running = false;
}

QString Multi_calib_test::icon() const
{
    return m_running ? QStringLiteral(":/images/switch_on.png") : QStringLiteral(":/images/switch_off.png");
}
