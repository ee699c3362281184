#include "production/DecodeRun.h"

#include <QDebug>
#include <QFileInfo>

#include <cstring>

#include "link/FrameParser.h"
#include "production/DecodeFormats.h"

using namespace DecodeFormat;

namespace DecodeText {
const char *const kStart = "Status: Start decoding";
const char *const kSourceUnreadable = "Unable to open file, please check if the data file attribute "
                                      "is read-only. Please remove the read-only attribute and "
                                      "decode again!";
const char *const kNoFrame = "No corresponding frame was solved, please confirm if the data file "
                             "is correct";
} // namespace DecodeText

namespace {
constexpr qint64 kReadBlock = 1 << 20;
constexpr size_t kWriteBlock = 4 << 20;

// The source exists, so a target that does not exist yet cannot be it.
bool sameFile(const QString &source, const QString &target)
{
    const QFileInfo fs(source), ft(target);
    return ft.exists() && fs.canonicalFilePath() == ft.canonicalFilePath();
}
} // namespace

// ---- FastTextSink ----

FastTextSink::FastTextSink(int type) : m_maxRow(maxRowBytes(type))
{
    m_buf.resize(kWriteBlock + m_maxRow);
}

bool FastTextSink::open(const QString &path)
{
    m_file.setFileName(path);
    m_used = 0;
    m_ok = m_file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered);
    return m_ok;
}

void FastTextSink::flush()
{
    if (m_used && m_file.write(m_buf.data(), qint64(m_used)) != qint64(m_used))
        m_ok = false;
    m_used = 0;
}

char *FastTextSink::room()
{
    if (m_used > kWriteBlock)
        flush();
    return m_buf.data() + m_used;
}

void FastTextSink::header(int type, uint16_t firstId)
{
    const QByteArray h = headerLine(type, firstId);
    flush();
    if (m_file.write(h) != h.size())
        m_ok = false;
}

void FastTextSink::ahrs(const uint8_t *payload, bool withMag)
{
    char *p = room();
    m_used += size_t(ahrsRow(p, payload, withMag) - p);
}

void FastTextSink::gnssUwb(const uint8_t *record)
{
    char *p = room();
    m_used += size_t(gnssUwbRow(p, record) - p);
}

void FastTextSink::ins(const uint8_t *record)
{
    static constexpr size_t offsets[3] = {0, kInsPart1, kInsPart1 + kInsPart2};
    static constexpr size_t sizes[3] = {kInsPart1, kInsPart2, kInsPart3};
    char *p = room();
    for (int i = 0; i < 3; ++i) {
        PartText &part = m_insParts[i];
        const uint8_t *bytes = record + offsets[i];
        if (!part.valid || std::memcmp(part.bytes.data(), bytes, sizes[i]) != 0) {
            part.bytes.assign(bytes, bytes + sizes[i]);
            part.text.resize(m_maxRow);
            char *t = part.text.data();
            char *end = i == 0 ? insPart1Text(t, bytes) : i == 1 ? insPart2Text(t, bytes) : insPart3Text(t, bytes);
            part.size = size_t(end - t);
            part.valid = true;
        }
        std::memcpy(p, part.text.data(), part.size);
        p += part.size;
    }
    *p++ = '\n';
    m_used = size_t(p - m_buf.data());
}

void FastTextSink::calib(int type, const uint8_t *records, const uint8_t *payload)
{
    char *p = room();
    m_used += size_t(calibRow(p, type, records, payload) - p);
}

void FastTextSink::nineImu(const uint8_t *payload)
{
    char *p = room();
    m_used += size_t(nineImuRow(p, payload) - p);
}

bool FastTextSink::close()
{
    flush();
    if (!m_file.flush())
        m_ok = false;
    m_file.close();
    return m_ok;
}

// ---- DecodeRun ----

DecodeRun::DecodeRun(int type, std::unique_ptr<DecodeTextSink> sink)
    : m_type(type), m_sink(std::move(sink))
{
    if (!m_sink)
        m_sink = std::make_unique<FastTextSink>(type);
    m_ins.assign(kInsRecordBytes, 0);
    m_calib.assign(kImus * 1040, 0);
}

DecodeRun::~DecodeRun() = default;

void DecodeRun::data_extraction_decode(uint16_t id, const uint8_t *payload, uint32_t len)
{
    if (m_failed)
        return;
    if (!m_opened) {
        // The first good frame creates the target and writes the header; its own row follows.
        qDebug() << "decode_data_type" << m_type;
        if (!m_sink->open(m_target)) {
            m_failed = true;
            return;
        }
        m_opened = true;
        m_badAtFirst = m_parser->counters().badCrc;
        m_sink->header(m_type, id);
    }
    const size_t need = layoutBytes(m_type, id);
    if (need == 0)
        return;
    const uint8_t *d = payload;
    if (len < need) {
        m_pad.resize(need);
        std::memcpy(m_pad.data(), payload, len);
        std::memset(m_pad.data() + len, 0, need - len);
        d = m_pad.data();
    }
    ++m_rows;
    switch (m_type) {
    case Ahrs:
        if (id == Msg::GnssUwb)
            m_sink->gnssUwb(d);
        else
            m_sink->ahrs(d, id == Msg::AhrsMag);
        return;
    case InsRtk: dataHandleAndOut(id, d); return;
    case NineImu: m_sink->nineImu(d); return;
    default:
        std::memcpy(m_calib.data(), d + kCalibHeader, kImus * calibRecordBytes(m_type));
        m_sink->calib(m_type, m_calib.data(), d);
        return;
    }
}

void DecodeRun::dataHandleAndOut(uint16_t id, const uint8_t *payload)
{
    uint8_t *part = m_ins.data();
    size_t size = kInsPart1;
    if (id == Msg::Ins2) {
        part += kInsPart1;
        size = kInsPart2;
    } else if (id == Msg::Ins3) {
        part += kInsPart1 + kInsPart2;
        size = kInsPart3;
    }
    std::memcpy(part, payload, size);
    m_sink->ins(m_ins.data());
}

DecodeResult DecodeRun::run(const QString &source, const QString &target, const Report &report,
                            const Progress &progress)
{
    DecodeResult result;
    auto finish = [&](DecodeResult::Status status, const QString &text) {
        result.status = status;
        result.report = text;
        report(text);
        return result;
    };
    if (!isValidType(m_type))
        return finish(DecodeResult::BadType,
                      QString("Status: Decoding failed, unknown decode type %1").arg(m_type));
    QFile src(source);
    if (source.isEmpty() || !src.open(QIODevice::ReadOnly))
        return finish(DecodeResult::SourceUnreadable, DecodeText::kSourceUnreadable);
    if (sameFile(source, target))
        return finish(DecodeResult::TargetIsSource,
                      "Status: Decoding failed, the target file is the source file");

    m_target = target;
    FrameParser parser(FrameParser::mainLinkBound);
    m_parser = &parser;
    report(DecodeText::kStart);
    const qint64 size = src.size();
    result.sourceBytes = size;
    qDebug() << "file_size:" << size;

    int shown = -1;
    auto show = [&](int percent) {
        if (percent != shown) {
            shown = percent;
            progress(percent);
        }
    };
    auto onFrame = [this](uint16_t id, const uint8_t *p, uint32_t n) { data_extraction_decode(id, p, n); };
    std::vector<uint8_t> block(static_cast<size_t>(kReadBlock));
    qint64 done = 0;
    while (!m_failed) {
        const qint64 got = src.read(reinterpret_cast<char *>(block.data()), kReadBlock);
        if (got <= 0)
            break;
        parser.feed(block.data(), size_t(got), onFrame);
        const qint64 next = done + got;
        for (qint64 m = (done / 1000 + 1) * 1000; m <= next; m += 1000)
            show(int(float(m) / float(size) * 100.0f));
        done = next;
    }
    // A frame cut off by the end of the file is dropped; its bytes after its 0xAA are searched
    // again like any others.
    while (!m_failed && parser.pendingBytes() > 1) {
        const qint64 again = qint64(parser.pendingBytes()) - 1;
        parser.reset();
        if (!src.seek(done - again))
            break;
        const QByteArray tail = src.read(again);
        parser.feed(reinterpret_cast<const uint8_t *>(tail.constData()), size_t(tail.size()),
                    onFrame);
    }
    m_parser = nullptr;
    src.close();

    result.goodFrames = parser.counters().good;
    result.badFrames = m_opened ? parser.counters().badCrc - m_badAtFirst : 0;
    result.rows = m_rows;
    if (m_failed)
        return finish(DecodeResult::TargetUnwritable,
                      "Status: Decoding failed, unable to open the target file");
    show(100);
    if (!m_opened)
        return finish(DecodeResult::NoFrame, DecodeText::kNoFrame);
    if (!m_sink->close())
        return finish(DecodeResult::TargetUnwritable,
                      "Status: Decoding failed, unable to write the target file");
    const double rate = 100.0 * double(result.goodFrames) / double(result.goodFrames + result.badFrames);
    return finish(DecodeResult::Completed,
                  QString("Status: Decoding completed, decoding error count:%1,Decoding success rate:%2%")
                      .arg(result.badFrames)
                      .arg(rate, 0, 'f', 2));
}
