#include "sim/PtyPair.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QtGlobal>

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

PtyPair::PtyPair()
{
    // Close-on-exec: a peer process started by a test must not hold this pair open.
    m_master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (m_master < 0)
        return;
    if (grantpt(m_master) != 0 || unlockpt(m_master) != 0) {
        ::close(m_master);
        m_master = -1;
        return;
    }
    m_slavePath = QString::fromLocal8Bit(ptsname(m_master));
    m_slaveKeepAlive = ::open(m_slavePath.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (m_slaveKeepAlive >= 0) {
        termios t;
        if (tcgetattr(m_slaveKeepAlive, &t) == 0) {
            cfmakeraw(&t);
            tcsetattr(m_slaveKeepAlive, TCSANOW, &t);
        }
    }
    fcntl(m_master, F_SETFL, fcntl(m_master, F_GETFL) | O_NONBLOCK);
}

PtyPair::~PtyPair()
{
    hangUp();
}

void PtyPair::hangUp()
{
    if (m_slaveKeepAlive >= 0)
        ::close(m_slaveKeepAlive);
    if (m_master >= 0)
        ::close(m_master);
    m_slaveKeepAlive = m_master = -1;
}

bool PtyPair::write(const char *data, int size)
{
    if (m_master < 0)
        return false;
    int done = 0;
    QElapsedTimer sinceProgress;
    sinceProgress.start();
    while (done < size) {
        const ssize_t n = ::write(m_master, data + done, size_t(size - done));
        if (n > 0) {
            done += int(n);
            m_stalled = false;
            sinceProgress.restart();
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EINTR)
            return false;
        // Nobody has taken a byte for a while (the program stopped reading or is gone): the
        // bytes are dropped, once said, and later writes do not wait again until the reader is back.
        if (m_stalled || sinceProgress.elapsed() >= m_stallMs) {
            if (!m_stalled)
                qWarning("pty %s: nobody read for %.1f s, %d bytes dropped (and whatever follows until read again)",
                         qPrintable(m_slavePath), m_stallMs / 1000.0, size - done);
            m_stalled = true;
            return false;
        }
        pollfd p{m_master, POLLOUT, 0};
        ::poll(&p, 1, 100);
    }
    return true;
}

QByteArray PtyPair::readAvailable()
{
    QByteArray out;
    if (m_master < 0)
        return out;
    char buf[4096];
    for (;;) {
        const ssize_t n = ::read(m_master, buf, sizeof buf);
        if (n <= 0)
            break;
        out.append(buf, int(n));
    }
    return out;
}
