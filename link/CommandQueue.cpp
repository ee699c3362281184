#include "link/CommandQueue.h"

#include "link/DeviceProtocol.h"

CommandQueue::CommandQueue(Writer writer, QObject *parent)
    : QObject(parent), m_writer(std::move(writer)), m_timer(this)
{
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &CommandQueue::onTimer);
}

void CommandQueue::enqueueLong(const LongCommand &cmd, int times)
{
    Job j;
    j.bytes = buildLongCommand(cmd);
    j.cmd = cmd.cmd_id;
    j.remaining = times;
    m_pending.enqueue(j);
    if (m_current.remaining == 0 && !m_timer.isActive())
        startNext();
}

void CommandQueue::enqueueText(const QString &text, int times)
{
    Job j;
    j.bytes = text.toLatin1();
    j.text = true;
    j.remaining = times;
    m_pending.enqueue(j);
    if (m_current.remaining == 0 && !m_timer.isActive())
        startNext();
}

void CommandQueue::clear()
{
    m_pending.clear();
    m_current = Job();
    m_timer.stop();
}

void CommandQueue::startNext()
{
    if (m_pending.isEmpty()) {
        m_current = Job();
        return;
    }
    m_current = m_pending.dequeue();
    sendCurrent();
}

void CommandQueue::sendCurrent()
{
    m_writer(m_current.bytes);
    --m_current.remaining;
    m_timer.start(m_current.text ? m_textMs : m_longMs);
}

void CommandQueue::onTimer()
{
    const bool endsEarly = !m_current.text
        && (m_current.cmd == DeviceCmdId::AdvancedCalib || m_current.cmd == DeviceCmdId::AdvancedRetest);
    if (m_current.remaining > 0 && !(endsEarly && m_taken && m_taken(m_current.cmd))) {
        sendCurrent();
        return;
    }
    m_current = Job();
    startNext();
}
