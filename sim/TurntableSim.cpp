#include "sim/TurntableSim.h"

#include <QThread>

#include <cmath>

// The notifier and the motion timer are children, so they move with the controller.
TurntableSim::TurntableSim(QObject *parent) : QObject(parent), m_motion(this), m_home(thread())
{
    if (m_pty.isValid()) {
        m_notifier = std::make_unique<QSocketNotifier>(m_pty.masterFd(), QSocketNotifier::Read, this);
        connect(m_notifier.get(), &QSocketNotifier::activated, this, &TurntableSim::onReadable);
    }
    m_clock.start();
    connect(&m_motion, &QTimer::timeout, this, &TurntableSim::step);
    m_motion.start(5);
}

TurntableSim::~TurntableSim()
{
    if (!comeHome())
        qWarning("TurntableSim: deleted while its worker's thread is still busy");
}

void TurntableSim::shareThreadOf(QObject *worker)
{
    QThread *host = worker ? worker->thread() : nullptr;
    if (!comeHome() || !host || host == m_home || !host->isRunning())
        return;
    // The host's end brings the controller back, from within the host (its thread until then).
    connect(host, &QThread::finished, this, [this] { moveHome(); }, Qt::DirectConnection);
    m_away = true;
    moveToThread(host);
}

void TurntableSim::moveHome()
{
    if (thread() != QThread::currentThread() || thread() == m_home)
        return;
    moveToThread(m_home);
    m_away = false; // only now may its home thread use it again (or delete it)
}

bool TurntableSim::comeHome()
{
    if (!m_away)
        return true;
    QMetaObject::invokeMethod(this, [this] { moveHome(); }, Qt::QueuedConnection);
    // Either the host's event loop or the host's end brings it back.
    QElapsedTimer waited;
    waited.start();
    while (m_away && waited.elapsed() < 10000)
        QThread::msleep(1);
    return !m_away;
}

void TurntableSim::hangUp()
{
    if (thread() != QThread::currentThread()) {
        QMetaObject::invokeMethod(this, [this] { hangUp(); }, Qt::BlockingQueuedConnection);
        return;
    }
    m_notifier.reset();
    m_pty.hangUp();
}

TurntableSim::Axis TurntableSim::axis(int index) const
{
    QMutexLocker lock(&m_lock);
    return m_axes[index];
}

void TurntableSim::setPosition(int index, double degrees)
{
    QMutexLocker lock(&m_lock);
    m_axes[index].position = degrees;
}

QStringList TurntableSim::commands() const
{
    QMutexLocker lock(&m_lock);
    return m_commands;
}

void TurntableSim::clearCommands()
{
    QMutexLocker lock(&m_lock);
    m_commands.clear();
}

void TurntableSim::onReadable()
{
    m_rx += m_pty.readAvailable();
    int nl;
    while ((nl = m_rx.indexOf('\n')) >= 0) {
        const QByteArray line = m_rx.left(nl).trimmed();
        m_rx.remove(0, nl + 1);
        if (!line.isEmpty())
            handleLine(line);
    }
}

void TurntableSim::send(const QByteArray &line)
{
    if (!silent)
        m_pty.write(line.constData(), line.size());
}

uint16_t TurntableSim::statusWord(const Axis &a) const
{
    uint16_t s = 0;
    if (a.enabled)
        s |= 0x80;
    if (a.positioning)
        s |= 0x02;
    else if (!a.spinning || a.rate != 0)
        s |= 0x01;
    if (a.spinning)
        s |= 0x02 | 0x01;
    if (trackingFault)
        s |= 0x04;
    return s;
}

void TurntableSim::handleLine(const QByteArray &line)
{
    const QList<QByteArray> f = line.simplified().split(' ');
    if (f.value(0) == "STAT?") {
        ++m_statusRequests;
        QByteArray out = "STAT";
        {
            QMutexLocker lock(&m_lock);
            for (const Axis &a : m_axes)
                out += ' ' + QByteArray::number(a.position, 'f', 4) + ' ' + QByteArray::number(a.rate, 'f', 4) + ' '
                       + QByteArray::number(statusWord(a));
        }
        send(out + '\n');
        return;
    }
    {
        QMutexLocker lock(&m_lock);
        m_commands << QString::fromLatin1(line);
    }
    emit commandReceived(QString::fromLatin1(line));
    const int ax = f.value(1) == "X" ? 0 : f.value(1) == "Y" ? 1 : -1;
    if (ax < 0) {
        send("ERR bad axis\n");
        return;
    }
    QMutexLocker lock(&m_lock);
    Axis &a = m_axes[ax];
    if (f[0] == "EN" && f.size() == 3) {
        if (refuseEnable) {
            send("ERR enable refused\n");
            return;
        }
        a.enabled = f[2] == "1";
        if (!a.enabled) {
            a.positioning = a.spinning = false;
            a.rate = 0;
        }
    } else if (f[0] == "POS" && f.size() == 4) {
        a.target = std::fmod(f[2].toDouble() + 360.0, 360.0);
        a.moveRate = std::fabs(f[3].toDouble());
        a.positioning = a.enabled;
        a.spinning = false;
        a.rate = 0;
    } else if (f[0] == "RATE" && f.size() == 3) {
        a.rate = a.enabled ? f[2].toDouble() : 0;
        a.spinning = a.enabled;
        a.positioning = false;
    } else if (f[0] == "STOP" && f.size() == 2) {
        a.rate = 0;
        a.spinning = a.positioning = false;
    } else {
        send("ERR bad command\n");
        return;
    }
    send("OK\n");
}

void TurntableSim::step()
{
    const qint64 now = m_clock.elapsed();
    const double dt = (now - m_lastStep) / 1000.0 * speedUp;
    m_lastStep = now;
    QMutexLocker lock(&m_lock);
    for (Axis &a : m_axes) {
        if (a.spinning) {
            a.position = std::fmod(a.position + a.rate * dt + 360.0 * 1000, 360.0);
        } else if (a.positioning) {
            double d = a.target - a.position;
            if (d > 180) d -= 360;
            if (d < -180) d += 360;
            const double stepDeg = a.moveRate * dt;
            if (std::fabs(d) <= stepDeg) {
                a.position = a.target;
                a.positioning = false;
            } else {
                a.position = std::fmod(a.position + (d > 0 ? stepDeg : -stepDeg) + 360.0, 360.0);
            }
        }
    }
}
