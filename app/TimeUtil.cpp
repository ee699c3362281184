#include "app/TimeUtil.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QThread>

void wait_ms(int ms)
{
    QDeadlineTimer deadline(ms);
    while (!deadline.hasExpired()) {
        const qint64 left = deadline.remainingTime();
        QCoreApplication::processEvents(QEventLoop::AllEvents, int(qMin<qint64>(left, 100)));
        if (!deadline.hasExpired())
            QThread::msleep(quint64(qMin<qint64>(deadline.remainingTime(), 1)));
    }
}

void sleep_ms(int ms)
{
    if (ms > 0)
        QThread::msleep(quint64(ms));
}

double current_time_s()
{
    return double(QDateTime::currentMSecsSinceEpoch()) / 1000.0;
}
