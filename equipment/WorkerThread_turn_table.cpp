#include "equipment/WorkerThread_turn_table.h"

#include <QCoreApplication>

#include "app/Settings.h"
#include "equipment/Creators.h"
#include "equipment/StationValues.h"
#include "link/SerialLine.h"
#include "station/AutoTurnTableTestType.h"

namespace {
constexpr int kControllerBaud = 115200;
constexpr double kManualPositionRate = 20;
} // namespace

WorkerThread_turn_table::WorkerThread_turn_table(const QString &port1, const QString &port2)
    : m_port1(port1), m_port2(port2), m_pollTimer(this), m_tickTimer(this), m_sideTimer(this)
{
    m_clock.start();
    connect(&m_pollTimer, &QTimer::timeout, this, [this] {
        if (m_ctrl && m_ctrl->isOpen())
            m_ctrl->requestStatus();
    });
    connect(&m_tickTimer, &QTimer::timeout, this, [this] {
        m_tickedMs += m_tickMs;
        onTick();
    });
    connect(&m_sideTimer, &QTimer::timeout, this, &WorkerThread_turn_table::onSideToSide);
}

WorkerThread_turn_table::~WorkerThread_turn_table()
{
    // Retired in the middle of a sequence: stop the table and close the sequence with its report.
    if (m_seq.running()) {
        m_seq.stop();
        endSequence(SequenceOutcome::Stopped);
    }
    // The controller's close lets its last commands reach the table, and a status read
    // meanwhile must not come back to this half-destroyed worker.
    if (m_ctrl)
        m_ctrl->disconnect(this);
}

std::unique_ptr<TurntableController> WorkerThread_turn_table::makeController()
{
    auto *port = new QSerialPort;
    port->setPortName(m_port1);
    port->setBaudRate(kControllerBaud);
    port->setDataBits(QSerialPort::Data8);
    port->setParity(QSerialPort::NoParity);
    port->setStopBits(QSerialPort::OneStop);
    port->setFlowControl(QSerialPort::NoFlowControl);
    watchSerialLine(port, [this](const QString &reason) {
        closePort();
        emit signal_linkLost(reason);
    });
    return std::make_unique<LineTurntableController>(port);
}

void WorkerThread_turn_table::setTickInterval(int ms)
{
    m_tickMs = ms;
    if (m_tickTimer.isActive())
        m_tickTimer.start(ms);
}

void WorkerThread_turn_table::setPollInterval(int ms)
{
    m_pollMs = ms;
    if (m_pollTimer.isActive())
        m_pollTimer.start(ms);
}

void WorkerThread_turn_table::openSerialConnected()
{
    m_ctrl = makeController();
    QString error;
    const bool ok = m_ctrl->open(&error);
    if (ok) {
        connect(m_ctrl.get(), &TurntableController::statusReceived, this, &WorkerThread_turn_table::onStatus);
        connect(m_ctrl.get(), &TurntableController::errorReceived, this,
                [this](QString text) { emit signal_log(5, tr("Turntable: %1").arg(text)); });
        connect(m_ctrl.get(), &TurntableController::commandAnswered, this, &WorkerThread_turn_table::onCommandAnswered);
        m_pollTimer.start(m_pollMs);
        m_tickTimer.start(m_tickMs);
    } else {
        emit signal_log(5, tr("Turntable: failed to open %1: %2").arg(m_port1, error));
    }
    emit signal_connectIsSuccess(ok);
}

void WorkerThread_turn_table::closePort()
{
    m_sideTimer.stop();
    if (m_seq.running()) {
        m_seq.stop();
        endSequence(SequenceOutcome::Stopped);
    }
    m_pollTimer.stop();
    m_tickTimer.stop();
    if (m_ctrl)
        m_ctrl->close();
}

void WorkerThread_turn_table::onStatus(AxisStatus inner, AxisStatus outer)
{
    m_inner = inner;
    m_outer = outer;
    m_statusAtMs = runMs();
    emit signal_send_zhuantai_status(int32_t(qRound(inner.position * 10000)), int32_t(qRound(inner.rate * 10000)),
                                     inner.status, int32_t(qRound(outer.position * 10000)),
                                     int32_t(qRound(outer.rate * 10000)), outer.status);
    if (m_lastLiveness < 0 || m_statusAtMs - m_lastLiveness >= 1000) {
        m_lastLiveness = m_statusAtMs;
        emit signal_log(37, tag() + "_0_0");
    }
}

void WorkerThread_turn_table::applyAction(const SeqAction &a)
{
    switch (a.kind) {
    case SeqAction::Report:
        emit signal_log(a.code, a.text);
        break;
    case SeqAction::Move:
        m_ctrl->moveTo(TurntableAxis::Inner, a.inner, a.rate);
        m_ctrl->moveTo(TurntableAxis::Outer, a.outer, a.rate);
        break;
    case SeqAction::Spin:
        m_ctrl->spin(a.axis, a.inner);
        break;
    case SeqAction::StopAll:
        stopBothAxes();
        break;
    case SeqAction::Hold:
        break;
    }
}

void WorkerThread_turn_table::stopBothAxes()
{
    if (m_ctrl && m_ctrl->isOpen()) {
        m_ctrl->stop(TurntableAxis::Inner);
        m_ctrl->stop(TurntableAxis::Outer);
    }
}

void WorkerThread_turn_table::onTick()
{
    if (!m_seq.running())
        return;
    const qint64 now = runMs();
    const SequenceOutcome o = m_seq.advance(now, m_inner, m_outer, m_statusAtMs,
                                            [this](const SeqAction &a) { applyAction(a); });
    if (o != SequenceOutcome::Running) {
        endSequence(o);
        return;
    }
    if (m_lastRemaining < 0 || now - m_lastRemaining >= m_msPerSecond) {
        m_lastRemaining = now;
        const int s = m_seq.remainingSeconds(now);
        emit signal_log(84, QCoreApplication::translate("MultiCalib", "%1小时%2分钟%3秒").arg(s / 3600).arg((s % 3600) / 60).arg(s % 60));
    }
}

void WorkerThread_turn_table::startSequence(const SequencePlan &plan, bool rotation)
{
    if (!m_ctrl || !m_ctrl->isOpen()) {
        emit signal_log(74, tr("%1: turntable not connected").arg(plan.name));
        if (rotation)
            emit signal_rotated_times(false, tr("turntable not connected"));
        if (plan.commonCode)
            emit signal_sequence_ended(plan.commonCode);
        return;
    }
    if (m_seq.running()) {
        const QString why = tr("%1 is running").arg(m_seq.plan().name);
        emit signal_log(75, tr("%1 refused: %2").arg(plan.name, why));
        if (rotation)
            emit signal_rotated_times(false, why);
        if (plan.commonCode)
            emit signal_sequence_ended(plan.commonCode);
        return;
    }
    m_sideTimer.stop();
    m_rotationPending = rotation;
    m_lastRemaining = -1;
    emit signal_log(74, tr("%1 started").arg(plan.name));
    m_seq.start(plan, StepTimes::current(), m_msPerSecond, runMs());
    onTick();
}

void WorkerThread_turn_table::endSequence(SequenceOutcome outcome)
{
    stopBothAxes();
    const QString name = m_seq.plan().name;
    switch (outcome) {
    case SequenceOutcome::Done:
        emit signal_log(74, tr("%1 completed").arg(name));
        if (m_seq.plan().endWith62)
            emit signal_log(62, tr("%1 completed").arg(name));
        break;
    case SequenceOutcome::Failed:
        emit signal_log(74, tr("%1 failed: %2").arg(name, m_seq.failure()));
        emit signal_log(59, m_seq.failure());
        break;
    case SequenceOutcome::Stopped:
        emit signal_log(74, tr("%1 stopped").arg(name));
        break;
    case SequenceOutcome::Running:
        break;
    }
    if (m_rotationPending) {
        m_rotationPending = false;
        const bool done = outcome == SequenceOutcome::Done;
        emit signal_rotated_times(done, done ? QString() : outcome == SequenceOutcome::Failed ? m_seq.failure() : QString("stopped"));
    }
    if (m_seq.plan().commonCode)
        emit signal_sequence_ended(m_seq.plan().commonCode);
}

void WorkerThread_turn_table::rev_common_cmd(uint8_t code)
{
    switch (code) {
    case 30: enableTurnTableX(); return;
    case 31: enableTurnTableY(); return;
    case 32: unEnableTurnTableX(); return;
    case 33: unEnableTurnTableY(); return;
    default: break;
    }
    const SequencePlan plan = SequencePlans::forCommonCmd(code, AutoTurnTableTestType::instance()->isNormalTest(),
                                                          StepTimes::current());
    if (plan.isEmpty()) {
        emit signal_log(5, tr("Turntable: unknown command %1").arg(code));
        return;
    }
    startSequence(plan, false);
}

// One layout for every caller: position commands (17, 33) carry the position in p1 and the
// operator's rate in p3 (p2 is the fixed 160 of the console's move); rate commands (19, 35)
// carry the rate in p1.
void WorkerThread_turn_table::on_send_turn_table_cmd_general(uint8_t code, float p1, float, float p3)
{
    if (!m_ctrl || !m_ctrl->isOpen())
        return;
    switch (code) {
    case 17: m_ctrl->moveTo(TurntableAxis::Inner, p1, p3 > 0 ? p3 : kManualPositionRate); break;
    case 19: m_ctrl->spin(TurntableAxis::Inner, p1); break;
    case 33: m_ctrl->moveTo(TurntableAxis::Outer, p1, p3 > 0 ? p3 : kManualPositionRate); break;
    case 35: m_ctrl->spin(TurntableAxis::Outer, p1); break;
    case 31:
    case 47:
        // A stop ends whatever runs: sequence, side-to-side rotation, and both axes stop.
        m_sideTimer.stop();
        if (m_seq.running()) {
            m_seq.stop();
            endSequence(SequenceOutcome::Stopped);
        } else {
            m_ctrl->stop(code == 31 ? TurntableAxis::Inner : TurntableAxis::Outer);
        }
        break;
    default:
        emit signal_log(5, tr("Turntable: unknown general command %1").arg(code));
        break;
    }
}

void WorkerThread_turn_table::on_clicked_turn_table_12pos(float angleStep, float staticTime)
{
    m_sideStep = angleStep;
    m_sideStatic = staticTime;
    m_sideDirection = 1;
    m_sideNextMs = 0;
    m_sideTimer.start(m_msPerSecond);
}

void WorkerThread_turn_table::onSideToSide()
{
    if (!m_ctrl || !m_ctrl->isOpen() || m_sideStep == 0.0f) {
        m_sideTimer.stop();
        return;
    }
    if (m_seq.running())
        return;
    const qint64 now = runMs();
    if (now < m_sideNextMs)
        return;
    m_ctrl->moveTo(TurntableAxis::Inner, m_sideDirection * double(m_sideStep), kManualPositionRate);
    m_sideDirection = -m_sideDirection;
    m_sideNextMs = now + qint64(double(m_sideStatic) * m_msPerSecond)
                   + qint64(std::abs(m_sideStep) * 2 / kManualPositionRate * m_msPerSecond);
}

void WorkerThread_turn_table::turn_table_reset_rotated_times() { m_rotatedTimes = 0; }

void WorkerThread_turn_table::turn_table_constant_heat_rotate()
{
    ++m_rotatedTimes;
    const SequencePlan plan = SequencePlans::forRotation(g_advanced_calib_type.load(), StepTimes::current());
    if (plan.isEmpty()) {
        const QString why = tr("no sequence for advanced type %1").arg(g_advanced_calib_type.load());
        emit signal_log(74, tr("Rotation %1: %2").arg(m_rotatedTimes).arg(why));
        emit signal_rotated_times(false, why);
        return;
    }
    emit signal_log(74, tr("Constant-temperature rotation %1").arg(m_rotatedTimes));
    startSequence(plan, true);
}

void WorkerThread_turn_table::enableTurnTableX() { switchAxis(TurntableAxis::Inner, true); }

void WorkerThread_turn_table::enableTurnTableY() { switchAxis(TurntableAxis::Outer, true); }

void WorkerThread_turn_table::unEnableTurnTableX() { switchAxis(TurntableAxis::Inner, false); }

void WorkerThread_turn_table::unEnableTurnTableY() { switchAxis(TurntableAxis::Outer, false); }

namespace {
QString axisSwitchText(bool inner, bool on)
{
    const char *text = inner ? (on ? QT_TRANSLATE_NOOP("WorkerThread_turn_table", "Inner axis enable")
                                   : QT_TRANSLATE_NOOP("WorkerThread_turn_table", "Inner axis disable"))
                             : (on ? QT_TRANSLATE_NOOP("WorkerThread_turn_table", "Outer axis enable")
                                   : QT_TRANSLATE_NOOP("WorkerThread_turn_table", "Outer axis disable"));
    return WorkerThread_turn_table::tr(text);
}
constexpr int kAnswerMs = 3000; // a controller that says nothing for this long is not answering
} // namespace

// Enables or disables one axis (a disable ends the sequence under way first) and logs what
// happened: what the controller answered, or that nothing was sent and why.
void WorkerThread_turn_table::switchAxis(TurntableAxis axis, bool on)
{
    if (!on && m_seq.running()) {
        m_seq.stop();
        endSequence(SequenceOutcome::Stopped);
    }
    const QString what = axisSwitchText(axis == TurntableAxis::Inner, on);
    if (!m_ctrl || !m_ctrl->isOpen()) {
        emit signal_log(74, tr("%1 not sent: turntable not connected").arg(what));
    } else if (!m_ctrl->enable(axis, on)) {
        emit signal_log(74, tr("%1 not sent: the controller line refused the write").arg(what));
    } else {
        const quint64 id = ++m_enableSerial;
        m_enablesAwaiting.append(id);
        QTimer::singleShot(kAnswerMs, this, [this, id, what] {
            if (m_enablesAwaiting.removeOne(id))
                emit signal_log(74, tr("%1: no answer from the controller").arg(what));
        });
    }
}

void WorkerThread_turn_table::onCommandAnswered(const QByteArray &command, bool taken, const QString &text)
{
    const QList<QByteArray> f = command.split(' ');
    if (f.value(0) != "EN" || m_enablesAwaiting.isEmpty())
        return; // another command's answer, or one that came after its time
    m_enablesAwaiting.removeFirst();
    const bool inner = f.value(1) == "X", on = f.value(2) == "1";
    if (taken)
        emit signal_log(74, inner ? (on ? tr("Inner axis enabled") : tr("Inner axis disabled"))
                                  : (on ? tr("Outer axis enabled") : tr("Outer axis disabled")));
    else
        emit signal_log(74, tr("%1 refused: %2").arg(axisSwitchText(inner, on), text));
}

WorkerThread_turn_table *createWorker_turn_table(QString port1, QString port2)
{
    const int type = getSettings()->value("turnTableType/type", 0).toInt();
    WorkerThread_turn_table *w;
    switch (type) {
    case 1: w = new Workerthread_turn_table_jinghua(port1, port2); break;
    case 2: w = new Workerthread_turn_table_brint(port1, port2); break;
    case 3: w = new Workerthread_turn_table_TQ(port1, port2, true); break;
    case 4: w = new Workerthread_turn_table_brint_hotheat(port1, port2); break;
    default: w = new Workerthread_turn_table_TQ(port1, port2); break;
    }
    return startWorkerThread(w, &WorkerThread_turn_table::openSerialConnected);
}
