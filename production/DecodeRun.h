#pragma once
// One decode of a recorded data file into text: reads the source in large blocks, finds the
// frames with the project's frame parser (lengths 1 to 99,999), keeps the records that rows
// are made from (privately, per decode) and hands header and rows to a text sink. Qt Core only;
// the decoder worker runs it on its thread, the tests and the benchmark call it directly.
#include <QFile>
#include <QString>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

// Receives the lines of one decode. The payloads hold at least the layout's bytes.
class DecodeTextSink {
public:
    virtual ~DecodeTextSink() = default;
    // Creates the target empty; false when it cannot be opened.
    virtual bool open(const QString &path) = 0;
    virtual void header(int type, uint16_t firstId) = 0;
    virtual void ahrs(const uint8_t *payload, bool withMag) = 0;
    virtual void gnssUwb(const uint8_t *record) = 0;
    virtual void ins(const uint8_t *record) = 0;
    virtual void calib(int type, const uint8_t *records, const uint8_t *payload) = 0;
    virtual void nineImu(const uint8_t *payload) = 0;
    // Writes what is left and closes the target; false when a write failed.
    virtual bool close() = 0;
    // True once a write has failed (the decode stops there).
    virtual bool failed() const { return false; }
};

// The program's sink: rows formatted into a large buffer, written in blocks.
class FastTextSink : public DecodeTextSink {
public:
    explicit FastTextSink(int type);
    bool open(const QString &path) override;
    void header(int type, uint16_t firstId) override;
    void ahrs(const uint8_t *payload, bool withMag) override;
    void gnssUwb(const uint8_t *record) override;
    void ins(const uint8_t *record) override;
    void calib(int type, const uint8_t *records, const uint8_t *payload) override;
    void nineImu(const uint8_t *payload) override;
    bool close() override;
    bool failed() const override { return !m_ok; }

private:
    char *room(); // space for one row, writing out the buffer when needed
    void flush();

    // Text of each INS part as last written: a row repeats the parts its frame did not replace.
    struct PartText {
        std::vector<uint8_t> bytes;
        std::vector<char> text;
        size_t size = 0;
        bool valid = false;
    };
    PartText m_insParts[3];

    QFile m_file;
    std::unique_ptr<char[]> m_buf;
    size_t m_used = 0;
    size_t m_maxRow;
    bool m_ok = true;
};

namespace DecodeText {
extern const char *const kStart;
extern const char *const kSourceUnreadable;
extern const char *const kNoFrame;
extern const char *const kCancelled;
extern const char *const kSourceNotRegular;
extern const char *const kTargetIsSource;
} // namespace DecodeText

struct DecodeResult {
    enum Status {
        Completed,
        NoFrame,
        SourceUnreadable,
        TargetUnwritable,
        TargetIsSource,
        BadType,
        SourceNotRegular, // a FIFO, a device, a /proc or /sys file ...
        TargetNotRegular, // a FIFO, a socket or a folder
        Cancelled
    };
    Status status = NoFrame;
    uint64_t goodFrames = 0;
    uint64_t badFrames = 0;  // CRC failures after the first good frame
    uint64_t rows = 0;       // rows written (header not counted)
    qint64 sourceBytes = 0;  // the source's size
    qint64 bytesRead = 0;    // bytes of the source read
    QString report;          // the final status text
};

// One object runs one decode.
class DecodeRun {
public:
    using Report = std::function<void(const QString &)>;
    using Progress = std::function<void(int)>;

    // `sink` null: the program's own FastTextSink.
    explicit DecodeRun(int type, std::unique_ptr<DecodeTextSink> sink = nullptr);
    ~DecodeRun();

    // Runs the whole decode. `report` gets "Status: Start decoding" and the final text;
    // `progress` gets each new integer percentage (every 1000 bytes at most, 100 at the end).
    // The text is written beside the target as "<target>.incomplete" (a shorter name when the
    // target's name leaves no room) and renamed to the target when it is whole; an existing
    // target in a folder where no file can be made is written in place. A decode that fails or
    // is cancelled after it created its file removes it (empties a target written in place)
    // and says so in its report.
    DecodeResult run(const QString &source, const QString &target, const Report &report,
                     const Progress &progress);

    // The decode stops after the block it is reading once the flag is set (any thread).
    void setCancelFlag(const std::atomic<bool> *flag) { m_cancel = flag; }

private:
    // A frame with a good CRC: the header at the first one, then its row when its message
    // belongs to the decode type.
    void data_extraction_decode(uint16_t id, const uint8_t *payload, uint32_t len);
    // An INS part replaced: one row from the whole record.
    void dataHandleAndOut(uint16_t id, const uint8_t *payload);
    // Opens the sink on the temporary name beside the target, else on an existing target
    // itself; a device is written as it is.
    bool openTarget();
    // "<target>.incomplete", or a name cut to fit the folder's limit.
    QString temporaryName() const;
    bool isSource(const QString &name) const;
    // Gives the whole text the target's name.
    bool commitTarget();
    // Closes and removes (or renames) a target left incomplete; the text to add to the report.
    QString dropIncompleteTarget();

    int m_type;
    std::unique_ptr<DecodeTextSink> m_sink;
    QString m_target;
    QString m_writeName;             // where the text is written until it is whole
    bool m_opened = false;
    bool m_failed = false;
    bool m_targetIsSource = false;
    uint64_t m_rows = 0;
    const std::atomic<bool> *m_cancel = nullptr;
    uint64_t m_sourceDev = 0;        // the source file itself, to recognise it under any name
    uint64_t m_sourceIno = 0;
    std::vector<uint8_t> m_pad;      // a short frame, padded with zeros to its layout
    std::vector<uint8_t> m_ins;      // the three INS parts
    std::vector<uint8_t> m_calib;    // the 32 records of the latest calibration message
};
