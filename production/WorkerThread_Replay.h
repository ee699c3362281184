#pragma once
// The replay worker: plays a recorded data file back into plate 1 of the calibration records,
// as if the main link were receiving it, in a thread of its own. Three reading passes: the
// whole file at the chosen speed, a seek pass from the start up to the slider percentage, and
// the continuation from where the seek stopped. Progress goes out as report code 85.
// One pass runs at a time: a seek or continue asked for while a paced pass waits ends that
// pass at its mark and then runs in its place.
#include <QObject>
#include <QString>

#include <atomic>
#include <cstdint>
#include <functional>
#include <vector>

#include "link/FrameParser.h"

// Replay speed: 0 pause, 1 slow (50 ms), 2 middle (10 ms), 3 fast (1 ms), 4 all (no pause);
// the pause is taken after every 10000 bytes. Written by the GUI thread, read by the replay.
namespace ReplaySpeed {
enum : int { Pause = 0, Slow = 1, Middle = 2, Fast = 3, All = 4 };
}
extern std::atomic<int> g_replay_speed;
// The slider position, 0 to 100. Written by the GUI thread, read by the replay.
extern std::atomic<int> g_replay_percent;

class WorkerThread_Replay : public QObject {
    Q_OBJECT
public:
    static constexpr qint64 kMarkBytes = 10000;   // progress and pause every this many bytes
    static constexpr uint8_t kProgressReport = 85;
    static constexpr uint8_t kVersionReport = 37;

    explicit WorkerThread_Replay(const QString &fileName);

    // Bytes from the start of the file where the last seek pass stopped (0: none pending).
    qint64 resumePosition() const { return m_resume.load(); }
    // Ends a running pass at its next mark or pause turn, and every pass after it
    // (retirement; safe from any thread).
    void requestAbort() { m_abort = true; }

public slots:
    void start_replay();
    void startSliderReplay();
    void startSliderReplayAgain();
    // Feeds one byte to the parser.
    void imu_rx(uint8_t byte);
    void log(uint8_t code, QString text);
    void setFileName(QString fileName);
    // The replay has no port: nothing is ever sent.
    void closePort() {}
    void Send_CMD_LONG(uint16_t, float, float, uint32_t, uint32_t, int32_t, int32_t) {}
    void Send_CMD_LONG_times(uint16_t cmd_id, float cm1, float cm2, uint32_t cm3, uint32_t cm4,
                             int32_t cm5, int32_t cm6);
    void Send_QString_times(QString) {}

signals:
    void signal_log(uint8_t code, QString text);
    void signal_send_735e_calib();
    void signal_sendVersionValue(uint32_t, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t,
                                 uint16_t, uint8_t, uint8_t, uint8_t, uint32_t, uint32_t,
                                 uint32_t, uint32_t, uint32_t, uint8_t);
    void signalReadStop(bool stopped);
    // True when a reading pass begins, false when the last pass asked for has ended (end of
    // file, a seek's stop, a file that cannot be opened, retirement).
    void signalReading(bool reading);
    void signalTranspondSliderValueChanged();
    void signalTranspondreadFileAgain();
    void deleteObjAndNewNext();
    // Declared for the link interface; the replay never emits them.
    void signal_connectIsSuccess(bool ok);
    void decodeProgressChanged(int percent);
    void signal_send_735e_test();

private:
    enum class PassEnd { EndOfFile, StoppedAtMark, Aborted, OpenFailed };
    enum class Pass { None, Whole, Seek, Continue };
    // Runs the pass, or, when a pass is running already (this request came in during its
    // speed wait), ends that one at its mark and runs this one once it has returned.
    void runPass(Pass pass);
    void wholePass();
    void seekPass();
    void continuePass();
    // True when the running pass must end at this mark: retirement or a newer request.
    bool passEnding() const { return m_abort || m_pending != Pass::None; }
    // Reads the file from byte `from` to its end in blocks fed to the parser. After every
    // 10000th byte counted from `from`, atMark(count, size) runs; false ends the pass there.
    // The bytes read and the file size go to countOut and sizeOut when given.
    PassEnd readPass(qint64 from, const std::function<bool(qint64 count, qint64 size)> &atMark,
                     qint64 *countOut = nullptr, qint64 *sizeOut = nullptr);
    void feed(const uint8_t *data, size_t n);
    void data_extraction(uint16_t id, const uint8_t *payload, uint32_t len);
    void reportProgress(float percent);
    // The pause after a mark by the current speed; the waits process the thread's events.
    void pauseBySpeed();

    QString m_fileName;
    FrameParser m_parser{FrameParser::rackBound};
    // The last calibration record images, as received (payload from offset 8).
    std::vector<uint8_t> m_image1040;
    std::vector<uint8_t> m_image368;
    std::vector<uint8_t> m_image256;
    std::atomic<qint64> m_resume{0};
    std::atomic<bool> m_abort{false};
    // Replay thread only: whether a pass is running, the request that replaces it, and the
    // file position the parser has read up to (a continuation keeps the parser's state only
    // when it starts where the last pass stopped).
    bool m_inPass = false;
    Pass m_pending = Pass::None;
    qint64 m_parsedTo = 0;
};

// Makes the worker in a new thread, which starts the whole-file pass at once. `wire` makes the
// owner's connections before the thread starts, so no report of the first pass is missed.
WorkerThread_Replay *createWorker_Replay(QString fileName,
                                         const std::function<void(WorkerThread_Replay *)> &wire = {});
