// The console's replay controls: a recorded data file plays back into plate 1 through the
// replay worker, at the chosen speed, with seek by the slider, stop and continue.
#include "station/MultiCalib.h"

#include "ui_MultiCalib.h"

#include <QDebug>
#include <QFileInfo>
#include <QThread>

#include "link/DeviceRecords.h"
#include "link/LinkFlags.h"
#include "link/WorkerThreadStart.h"
#include "production/WorkerThread_Replay.h"
#include "station/ConsoleDialogs.h"

WorkerThread_Replay *MultiCalib::replayWorker() const { return m_replayWorker.data(); }

void MultiCalib::on_clicked_pushButton_log_replay()
{
    const QString file = ConsoleDialogs::instance().openFileName(this, tr("Open data file"), QString(), tr("data format (*.txt *.dat)"));
    // A cancelled choice leaves everything as it was: a running replay goes on, plate 1 is
    // not marked linked and the button stays usable.
    if (file.isEmpty())
        return;
    replayHoldsPlateOne(true); // plate 1 now shows the recording
    newSourceForPlateOne();
    ui->label_logReplayFileName->setText(file);

    // A new file replaces the replay that may be running. The old worker hears nothing more
    // from the console and says nothing more to it; its own thread ends its pass at the next
    // mark and then releases it.
    if (WorkerThread_Replay *old = m_replayWorker.data()) {
        disconnect(this, nullptr, old, nullptr);
        disconnect(old, nullptr, this, nullptr);
    }
    retireWorker(m_replayWorker);
    m_replayStopped = false; // a stop of the replaced replay is not this one's
    qDebug() << "WorkerThread_Replay-------------> main " << QThread::currentThreadId();
    m_replayWorker = createWorker_Replay(file, [this](WorkerThread_Replay *w) {
        const auto u = Qt::UniqueConnection;
        connect(this, &MultiCalib::signal_closePort_Worker_Replay, w, &WorkerThread_Replay::closePort, u);
        connect(this, &MultiCalib::Send_CMD_LONG_SIGNAL, w, &WorkerThread_Replay::Send_CMD_LONG, u);
        connect(this, &MultiCalib::Send_CMD_LONG_SIGNAL_times, w, &WorkerThread_Replay::Send_CMD_LONG_times, u);
        connect(this, &MultiCalib::signal_SliderValueChanged, w, &WorkerThread_Replay::signalTranspondSliderValueChanged);
        connect(this, &MultiCalib::signal_readFileAgain, w, &WorkerThread_Replay::signalTranspondreadFileAgain);
        connect(w, &WorkerThread_Replay::signal_send_735e_calib, this, &MultiCalib::display_calib_multi, u);
        connect(w, &WorkerThread_Replay::signal_log, this, &MultiCalib::rev_log_from_worker, u);
        connect(w, &WorkerThread_Replay::signal_sendVersionValue, this, &MultiCalib::signal_sendVersionValue, u);
        connect(w, &WorkerThread_Replay::signalReadStop, this, &MultiCalib::onSignalReadStop);
        connect(w, &WorkerThread_Replay::signalReading, this, &MultiCalib::replayHoldsPlateOne);
    });
}

// While the replay reads, plate 1 shows the recording: its link flag is set. When the reading
// ends the flag follows the main link as it is then (opened or closed meanwhile), so no link
// is left behind for the pages that refuse to work while the device link is up.
void MultiCalib::replayHoldsPlateOne(bool hold)
{
    if (!hold && !m_replayHoldsLink)
        return;
    m_replayHoldsLink = hold;
    g_link_status[0] = (hold || m_mainLinkOpen) ? 1 : 0;
    // The main link stayed open: plate 1 shows its board again, not the recording's modules.
    if (!hold && m_mainLinkOpen)
        newSourceForPlateOne();
}

void MultiCalib::setMainLinkOpen(bool open)
{
    const bool opened = open && !m_mainLinkOpen;
    m_mainLinkOpen = open;
    g_link_status[0] = (open || m_replayHoldsLink) ? 1 : 0;
    if (opened)
        newSourceForPlateOne();
}

// Plate 1 shows another board or recording from now on: the records and the marks of which
// modules reported belong to the one before, and neither is judged, counted nor posted.
void MultiCalib::newSourceForPlateOne()
{
    g_calib_status.clearPlate(0);
    resetSeenImus(0);
}

// Speed buttons: position 0 "all" (mode 4) down to position 4 "pause" (mode 0); the chosen
// button shows red.
static void chooseSpeed(MultiCalib *console, int mode)
{
    g_replay_speed = mode;
    console->setBtnStyleSheet(ReplaySpeed::All - mode);
}

void MultiCalib::on_clicked_pushButton_log_replay_setting_all() { chooseSpeed(this, ReplaySpeed::All); }
void MultiCalib::on_clicked_pushButton_log_replay_setting_fast() { chooseSpeed(this, ReplaySpeed::Fast); }
void MultiCalib::on_clicked_pushButton_log_replay_setting_middle() { chooseSpeed(this, ReplaySpeed::Middle); }
void MultiCalib::on_clicked_pushButton_log_replay_setting_slow() { chooseSpeed(this, ReplaySpeed::Slow); }
void MultiCalib::on_clicked_pushButton_log_replay_setting_pause() { chooseSpeed(this, ReplaySpeed::Pause); }

void MultiCalib::on_clicked_pushButton_log_replay_setting_continue()
{
    if (!m_replayStopped)
        return;
    m_replayStopped = false;
    emit signal_readFileAgain();
}

void MultiCalib::onSignalReadStop(bool stopped)
{
    m_replayStopped = stopped;
    ui->pushButton_log_replay_setting_continue->setEnabled(true);
}

void MultiCalib::onHorizontalSliderValueChanged(int value)
{
    g_replay_percent = value;
    ui->label_PercentageValue->setText(QString::number(value));
}

// The seek goes to where the slider was let go, also when the progress had moved it there.
void MultiCalib::onHorizontalSliderReleased()
{
    g_replay_percent = ui->horizontalSlider_Percentage->value();
    emit signal_SliderValueChanged();
}
