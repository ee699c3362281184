#include "link/CommandQueue.h"

#include "link/DeviceProtocol.h"

CommandQueue::CommandQueue(Writer writer, QObject *parent) : QObject(parent), m_writer(std::move(writer)) {}

void CommandQueue::enqueueLong(const LongCommand &cmd, int times)
{
    Job j;
    j.bytes = buildLongCommand(cmd);
    j.cmd = cmd.cmd_id;
    j.remaining = times;
    // The calibration stages (50000 and up) share one lane: each is taken by the modules as the
    // stage they are in, so a late repeat of an earlier stage must never follow a later one.
    enqueue(cmd.cmd_id >= kFirstStageCommand ? kStageLane : int(cmd.cmd_id), j);
}

void CommandQueue::enqueueText(const QString &text, int times)
{
    Job j;
    j.bytes = text.toLatin1();
    j.text = true;
    j.remaining = times;
    enqueue(kTextLane, j);
}

void CommandQueue::enqueue(int lane, const Job &job)
{
    if (job.remaining <= 0)
        return;
    std::shared_ptr<Lane> &l = m_lanes[lane];
    if (!l) {
        l = std::make_shared<Lane>();
        l->timer = new QTimer(this);
        l->timer->setSingleShot(true);
        l->timer->setTimerType(Qt::PreciseTimer); // a repeat never leaves before its spacing
        connect(l->timer, &QTimer::timeout, this, [this, lane] { onTimer(lane); });
    }
    l->jobs.enqueue(job);
    if (l->jobs.size() == 1) // the lane was free: out now
        sendHead(lane);
}

void CommandQueue::clear()
{
    // Timers stop with their lanes.
    m_lanes.clear();
}

void CommandQueue::sendHead(int lane)
{
    const std::shared_ptr<Lane> l = m_lanes.value(lane);
    Job &j = l->jobs.head();
    --j.remaining;
    // The spacing runs from the write. A writer may clear the queue: the lane held here keeps
    // its job and timer until the end, where a cleared lane's timer stops.
    m_writer(j.bytes);
    l->timer->start(j.text ? m_textMs : m_longMs);
}

void CommandQueue::onTimer(int lane)
{
    const std::shared_ptr<Lane> l = m_lanes.value(lane);
    if (!l || l->jobs.isEmpty())
        return;
    const Job &j = l->jobs.head();
    const bool endsEarly = !j.text && (j.cmd == DeviceCmdId::AdvancedCalib || j.cmd == DeviceCmdId::AdvancedRetest);
    if (j.remaining > 0 && !(endsEarly && m_taken && m_taken(j.cmd))) {
        sendHead(lane);
        return;
    }
    l->jobs.dequeue();
    if (l->jobs.isEmpty()) {
        m_lanes.remove(lane);
        return;
    }
    sendHead(lane);
}
