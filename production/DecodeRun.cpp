#include "production/DecodeRun.h"

#include <QCryptographicHash>
#include <QDebug>
#include <QDir>
#include <QFileInfo>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

#include "app/FileRead.h"
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
const char *const kCancelled = "Status: Decoding cancelled";
const char *const kSourceNotRegular = "Status: Decoding refused, the source is not a regular file";
const char *const kTargetIsSource = "Status: Decoding failed, the target file is the source file";
} // namespace DecodeText

namespace {
constexpr qint64 kReadBlock = 1 << 20;
constexpr size_t kWriteBlock = 4 << 20;

// True when the folder refuses to take a new file for want of permission (or a read-only
// file system); tried with a file of a name of its own, removed at once.
bool folderTakesNoNewFile(const QString &folder)
{
    QByteArray probe = QFile::encodeName(folder) + "/.decode-XXXXXX";
    const int fd = ::mkstemp(probe.data());
    if (fd < 0)
        return errno == EACCES || errno == EPERM || errno == EROFS;
    ::close(fd);
    ::unlink(probe.constData());
    return false;
}
} // namespace

// ---- FastTextSink ----

FastTextSink::FastTextSink(int type) : m_maxRow(maxRowBytes(type))
{
    // Not cleared: only the part written is ever read, and a small decode touches little.
    m_buf.reset(new char[kWriteBlock + m_maxRow]);
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
    if (m_used && m_file.write(m_buf.get(), qint64(m_used)) != qint64(m_used))
        m_ok = false;
    m_used = 0;
}

char *FastTextSink::room()
{
    if (m_used > kWriteBlock)
        flush();
    return m_buf.get() + m_used;
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
    m_used = size_t(p - m_buf.get());
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
        // The target is looked at once more just before: it must never be the source itself.
        qDebug() << "decode_data_type" << m_type;
        if (isSource(m_target)) {
            m_failed = true;
            m_targetIsSource = true;
            return;
        }
        if (!openTarget()) {
            m_failed = true;
            return;
        }
        m_opened = true;
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

bool DecodeRun::isSource(const QString &name) const
{
    struct stat st;
    return ::stat(QFile::encodeName(name).constData(), &st) == 0 && uint64_t(st.st_dev) == m_sourceDev
           && uint64_t(st.st_ino) == m_sourceIno;
}

QString DecodeRun::temporaryName() const
{
    // The text grows under a name that says it is incomplete and takes the target's name only
    // once it is whole: a decode cut short by a crash, a kill or a power cut leaves nothing
    // under the target's name that looks complete.
    static const QByteArray suffix = ".incomplete";
    const QFileInfo info(m_target);
    const QByteArray name = QFile::encodeName(info.fileName());
    long nameMax = ::pathconf(QFile::encodeName(info.absolutePath()).constData(), _PC_NAME_MAX);
    if (nameMax <= 0)
        nameMax = 255;
    QString temporary = m_target + suffix;
    if (name.size() + suffix.size() > nameMax) {
        // A name that leaves no room for the suffix: its head (whole characters only) and a
        // mark of the whole name, so that two long targets never share a temporary file.
        const QByteArray mark =
            "~" + QCryptographicHash::hash(name, QCryptographicHash::Md5).toHex().left(8) + suffix;
        int keep = int(nameMax) - mark.size();
        while (keep > 0 && (uchar(name.at(keep)) & 0xc0) == 0x80)
            --keep; // not inside a UTF-8 sequence
        temporary = info.absoluteDir().filePath(QFile::decodeName(name.left(keep) + mark));
    }
    if (isSource(temporary))
        temporary = m_target + ".decoding"; // never over the recording itself
    return temporary;
}

bool DecodeRun::openTarget()
{
    struct stat st;
    if (::stat(QFile::encodeName(m_target).constData(), &st) == 0 && !S_ISREG(st.st_mode)) {
        m_writeName = m_target; // a device such as /dev/null: written as it is
        return m_sink->open(m_writeName);
    }
    // A link is followed: the text replaces the file it points to, not the link.
    const QFileInfo info(m_target);
    if (info.isSymLink() && info.exists())
        m_target = info.canonicalFilePath();
    m_writeName = temporaryName();
    if (m_sink->open(m_writeName)) {
        // The older file of the target's name goes now, as writing over it would have done.
        QFile::remove(m_target);
        return true;
    }
    // No file can be made beside the target (a folder the user may not write to): a target
    // that exists is written in place. Any other failure keeps the target as it is.
    if (::stat(QFile::encodeName(m_target).constData(), &st) != 0 || !S_ISREG(st.st_mode)
        || !folderTakesNoNewFile(info.absolutePath()))
        return false;
    m_writeName = m_target;
    return m_sink->open(m_writeName);
}

bool DecodeRun::commitTarget()
{
    if (m_writeName == m_target)
        return true;
    return ::rename(QFile::encodeName(m_writeName).constData(), QFile::encodeName(m_target).constData()) == 0;
}

QString DecodeRun::dropIncompleteTarget()
{
    m_sink->close();
    const QByteArray name = QFile::encodeName(m_writeName);
    struct stat st;
    if (::stat(name.constData(), &st) != 0 || !S_ISREG(st.st_mode))
        return QString(); // nothing on disk that could pass for a decoded file
    if (QFile::remove(m_writeName))
        return ", the incomplete target file was removed";
    if (m_writeName != m_target)
        return QString(", the incomplete target file was left as %1").arg(m_writeName);
    const QString kept = m_target + ".incomplete";
    QFile::remove(kept);
    if (QFile::rename(m_target, kept))
        return QString(", the incomplete target file was renamed to %1").arg(kept);
    if (QFile::resize(m_target, 0)) // written in place in a folder that keeps its names
        return ", the incomplete target file was emptied";
    return QString(", the incomplete target file %1 could not be removed").arg(m_target);
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
    // Only a plain file is a recording: a FIFO, a device or a /proc file has no end or no
    // size, and opening a FIFO would wait for a writer.
    QFile src(source);
    QString why;
    switch (openRegularFile(src, &why)) {
    case RegularFile::Opened: break;
    case RegularFile::NotRegular: return finish(DecodeResult::SourceNotRegular, DecodeText::kSourceNotRegular);
    case RegularFile::CannotOpen: return finish(DecodeResult::SourceUnreadable, DecodeText::kSourceUnreadable);
    }
    struct stat ss;
    if (::fstat(src.handle(), &ss) != 0)
        return finish(DecodeResult::SourceUnreadable, DecodeText::kSourceUnreadable);
    m_sourceDev = uint64_t(ss.st_dev);
    m_sourceIno = uint64_t(ss.st_ino);
    // The target is compared as a file, not as a name: a hard link, a bind mount or a symbolic
    // link to the recording is the recording.
    struct stat ts;
    if (::stat(QFile::encodeName(target).constData(), &ts) == 0) {
        if (ts.st_dev == ss.st_dev && ts.st_ino == ss.st_ino)
            return finish(DecodeResult::TargetIsSource, DecodeText::kTargetIsSource);
        if (S_ISFIFO(ts.st_mode) || S_ISSOCK(ts.st_mode) || S_ISDIR(ts.st_mode))
            return finish(DecodeResult::TargetNotRegular,
                          "Status: Decoding refused, the target file is not a regular file");
    }

    m_target = target;
    FrameParser parser(FrameParser::mainLinkBound);
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
    auto cancelled = [this] { return m_cancel && m_cancel->load(std::memory_order_relaxed); };
    const std::unique_ptr<uint8_t[]> block(new uint8_t[size_t(kReadBlock)]); // not cleared: read into
    qint64 done = 0;
    bool readFailed = false;
    while (!m_failed && !cancelled() && !(m_opened && m_sink->failed())) {
        const qint64 got = src.read(reinterpret_cast<char *>(block.get()), kReadBlock);
        if (got <= 0) {
            readFailed = got < 0;
            break;
        }
        parser.feed(block.get(), size_t(got), onFrame);
        const qint64 next = done + got;
        // A file that grows while it is read passes its size: its progress stays at 100.
        if (size > 0)
            for (qint64 m = (done / 1000 + 1) * 1000; m <= next; m += 1000) {
                const float percent = float(m) / float(size) * 100.0f;
                show(percent < 100.0f ? int(percent) : 100);
            }
        done = next;
    }
    // A frame cut off by the end of the file is dropped; the bytes behind its start have been
    // searched like any others.
    parser.endOfInput();
    src.close();
    result.bytesRead = done;

    result.goodFrames = parser.counters().good;
    result.badFrames = m_opened ? parser.counters().badCrcAfterGood : 0;
    result.rows = m_rows;
    if (m_targetIsSource)
        return finish(DecodeResult::TargetIsSource, DecodeText::kTargetIsSource);
    if (m_failed)
        return finish(DecodeResult::TargetUnwritable,
                      "Status: Decoding failed, unable to open the target file");
    if (cancelled() || readFailed) {
        const QString left = m_opened ? dropIncompleteTarget() : QString();
        if (readFailed)
            return finish(DecodeResult::SourceUnreadable,
                          QString("Status: Decoding failed, unable to read the source file") + left);
        return finish(DecodeResult::Cancelled, DecodeText::kCancelled + left);
    }
    if (m_opened && m_sink->failed())
        return finish(DecodeResult::TargetUnwritable,
                      "Status: Decoding failed, unable to write the target file" + dropIncompleteTarget());
    show(100);
    if (!m_opened)
        return finish(DecodeResult::NoFrame, DecodeText::kNoFrame);
    if (!m_sink->close() || !commitTarget())
        return finish(DecodeResult::TargetUnwritable,
                      "Status: Decoding failed, unable to write the target file" + dropIncompleteTarget());
    const double rate = 100.0 * double(result.goodFrames) / double(result.goodFrames + result.badFrames);
    return finish(DecodeResult::Completed,
                  QString("Status: Decoding completed, decoding error count:%1,Decoding success rate:%2%")
                      .arg(result.badFrames)
                      .arg(rate, 0, 'f', 2));
}
