#include "equipment/TurntableController.h"

#include <QList>

namespace {
char axisLetter(TurntableAxis a) { return a == TurntableAxis::Inner ? 'X' : 'Y'; }
} // namespace

LineTurntableController::LineTurntableController(QIODevice *device, QObject *parent)
    : TurntableController(parent), m_device(device)
{
    m_device->setParent(this);
    connect(m_device, &QIODevice::readyRead, this, &LineTurntableController::onReadyRead);
}

bool LineTurntableController::open(QString *error)
{
    if (m_device->isOpen() || m_device->open(QIODevice::ReadWrite))
        return true;
    if (error)
        *error = m_device->errorString();
    return false;
}

LineTurntableController::~LineTurntableController()
{
    close();
}

void LineTurntableController::close()
{
    // The last commands (the stops) must reach the table before the line closes.
    if (m_device->isOpen() && m_device->bytesToWrite() > 0)
        m_device->waitForBytesWritten(500);
    if (m_device->isOpen())
        m_device->close();
    m_awaiting.clear();
    m_rx.clear();
}

bool LineTurntableController::isOpen() const { return m_device->isOpen(); }

QByteArray LineTurntableController::formatNumber(double v) { return QByteArray::number(v, 'f', 4); }

bool LineTurntableController::sendLine(const QByteArray &line)
{
    const QByteArray bytes = line + '\n';
    const bool sent = m_device->isOpen() && m_device->write(bytes) == bytes.size();
    if (sent && line != "STAT?")
        m_awaiting.enqueue(line);
    return sent;
}

bool LineTurntableController::enable(TurntableAxis axis, bool on)
{
    return sendLine(QByteArray("EN ") + axisLetter(axis) + (on ? " 1" : " 0"));
}

void LineTurntableController::moveTo(TurntableAxis axis, double degrees, double rate)
{
    sendLine(QByteArray("POS ") + axisLetter(axis) + ' ' + formatNumber(degrees) + ' ' + formatNumber(rate));
}

void LineTurntableController::spin(TurntableAxis axis, double rate)
{
    sendLine(QByteArray("RATE ") + axisLetter(axis) + ' ' + formatNumber(rate));
}

void LineTurntableController::stop(TurntableAxis axis) { sendLine(QByteArray("STOP ") + axisLetter(axis)); }

void LineTurntableController::requestStatus() { sendLine("STAT?"); }

void LineTurntableController::onReadyRead()
{
    m_rx += m_device->readAll();
    int nl;
    while ((nl = m_rx.indexOf('\n')) >= 0) {
        const QByteArray line = m_rx.left(nl).trimmed();
        m_rx.remove(0, nl + 1);
        if (!line.isEmpty())
            parseLine(line);
    }
    if (m_rx.size() > 4096) // no line end in sight: noise
        m_rx.clear();
}

bool LineTurntableController::parseLine(const QByteArray &line)
{
    const QList<QByteArray> f = line.simplified().split(' ');
    if (f.value(0) == "OK") {
        if (!m_awaiting.isEmpty())
            emit commandAnswered(m_awaiting.dequeue(), true, QString());
        return true;
    }
    if (f.value(0) == "ERR") {
        const QString text = QString::fromLatin1(line.mid(4));
        emit errorReceived(text);
        if (!m_awaiting.isEmpty())
            emit commandAnswered(m_awaiting.dequeue(), false, text);
        return true;
    }
    if (f.value(0) != "STAT" || f.size() != 7)
        return false;
    bool ok[6];
    AxisStatus in, out;
    in.position = f[1].toDouble(&ok[0]);
    in.rate = f[2].toDouble(&ok[1]);
    in.status = f[3].toUShort(&ok[2]);
    out.position = f[4].toDouble(&ok[3]);
    out.rate = f[5].toDouble(&ok[4]);
    out.status = f[6].toUShort(&ok[5]);
    for (bool b : ok)
        if (!b)
            return false;
    emit statusReceived(in, out);
    return true;
}
