#include "bench/decode_bench_kit.h"

#include <QFile>
#include <QTextStream>

#include <cmath>
#include <cstring>

#include "link/CommandFrames.h"
#include "production/DecodeFormats.h"

using namespace DecodeFormat;

namespace {

class QTextStreamSink : public DecodeTextSink {
public:
    bool open(const QString &path) override
    {
        m_file.setFileName(path);
        if (!m_file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return false;
        m_out.setDevice(&m_file);
        m_out.setCodec("UTF-8");
        return true;
    }
    void header(int type, uint16_t firstId) override
    {
        m_out << QString::fromUtf8(headerLine(type, firstId));
    }
    void ahrs(const uint8_t *d, bool withMag) override
    {
        m_out << readLE<uint32_t>(d);
        for (int off : Layout::kAhrsFloats)
            m_out << ',' << readLE<float>(d + off);
        if (withMag)
            for (int off : Layout::kAhrsMagFloats)
                m_out << ',' << readLE<float>(d + off);
        m_out << '\n';
    }
    void gnssUwb(const uint8_t *r) override
    {
        using namespace Layout;
        m_out << readLE<uint32_t>(r) << ',';
        for (int off : kGnssImuFloats)
            m_out << readLE<float>(r + off) << ',';
        m_out << readLE<uint32_t>(r + kGnssRecvTime) << ',' << int(r[kGnssFixType]) << ','
              << int(r[kGnssNumSv]) << ',';
        for (int off : kGnssLatLonAlt)
            m_out << readLE<int32_t>(r + off) << ',';
        for (int k = 0; k < kGnssFloatCount; ++k)
            m_out << readLE<float>(r + kGnssFloats0 + 4 * k) << ',';
        for (int k = 0; k < kNodes; ++k) {
            const uint8_t *n = r + kFrameNode0 + kFrameNodeStep * k;
            m_out << readLE<uint32_t>(n) << ',' << readLE<float>(n + 4) << ','
                  << readLE<float>(n + 8) << ',' << readLE<float>(n + 12) << ',';
        }
        for (int k = 0; k < kNodes; ++k) {
            const uint8_t *n = r + kPassNode0 + kPassNodeStep * k;
            m_out << readLE<uint32_t>(n) << ',' << readLE<uint32_t>(n + 4) << ',';
            for (int f = 2; f < 8; ++f)
                m_out << readLE<int32_t>(n + 4 * f) << ',';
        }
        m_out << '\n';
    }
    void ins(const uint8_t *r) override
    {
        const uint8_t *a = r, *b = r + Layout::kPart2, *c = r + Layout::kPart3;
        m_out << readLE<uint32_t>(a) << ',';
        for (int off : {18, 22, 26, 6, 10, 14})
            m_out << readLE<float>(a + off) << ',';
        m_out << fixed7(readLE<int32_t>(a + 74)) << ',' << fixed7(readLE<int32_t>(a + 78)) << ',';
        const float height = float(readLE<int32_t>(a + 82)) / 1000.0f;
        fixed3(height);
        const float vn = readLE<float>(a + 62), ve = readLE<float>(a + 66), vd = readLE<float>(a + 70);
        fixed3(vn);
        fixed3(ve);
        fixed3(vd);
        float sum = vn * vn;
        sum = sum + ve * ve;
        sum = sum + vd * vd;
        fixed3(std::sqrt(sum));
        m_out << readLE<float>(a + 50) << ',' << readLE<float>(a + 54) << ','
              << readLE<float>(a + 58) << ',';
        m_out << QString::fromUtf8(positionTypeName(b[14])) << ',';
        m_out << readLE<uint32_t>(b) << ',' << int(b[15]) << ',' << readLE<uint16_t>(b + 57) << ','
              << readLE<int16_t>(b + 53) / 100 << ',' << readLE<int16_t>(b + 49) / 100 << ',';
        m_out << fixed7(readLE<int32_t>(b + 17)) << ',' << fixed7(readLE<int32_t>(b + 21)) << ',';
        m_out << double(readLE<int32_t>(b + 25)) / 1000.0 << ',';
        fixed3(readLE<float>(b + 41));
        m_out << readLE<float>(b + 45) << ',' << int(c[4]) << ',' << readLE<float>(c + 9) << ','
              << readLE<float>(c + 5) << ",\n";
    }
    void calib(int type, const uint8_t *records, const uint8_t *payload) override
    {
        const size_t S = calibRecordBytes(type);
        const int G = calibGroups(type);
        const size_t B = 32 + 28 * size_t(G);
        for (int i = 0; i < kImus; ++i) {
            const uint8_t *r = records + S * size_t(i);
            for (int n = 0; n < 7 * G; ++n)
                m_out << readLE<float>(r + 32 + 4 * n) << ',';
            m_out << readLE<uint32_t>(r + B + 4) << ',' << int(r[B + 16]) << ',' << int(r[B + 17])
                  << ',' << int(r[B + 18]) << ',' << readLE<uint32_t>(r + B + 12) << ',';
            for (int k = 24; k < 28; ++k)
                m_out << int(r[B + k]) << ',';
            m_out << readLE<uint32_t>(r) << ',' << readLE<uint32_t>(r + S - 44) << ','
                  << readLE<uint32_t>(r + S - 48) << ',' << int(r[B + 19]) << ','
                  << int(r[B + 20]) << ',' << int(r[S - 40]) << int(r[S - 39]) << int(r[S - 38])
                  << ',';
            for (int k = 0; k < 7; ++k)
                m_out << readLE<float>(r + 4 + 4 * k) << ',';
            m_out << readLE<uint32_t>(r + B) << ',';
            if (type == Calib256)
                m_out << readLE<uint16_t>(r + B + 28) << ',' << readLE<uint16_t>(r + B + 30) << ',';
        }
        const uint8_t *errors = payload + kCalibHeader + kImus * S;
        for (int i = 0; i < kImus; ++i)
            m_out << readLE<uint16_t>(errors + 2 * i) << ',';
        m_out << readLE<uint32_t>(payload) << ',' << readLE<uint32_t>(payload + 4) << ",\n";
    }
    void nineImu(const uint8_t *d) override
    {
        m_out << readLE<uint32_t>(d) << ',';
        for (int n = 0; n < 231; ++n)
            m_out << readLE<float>(d + 4 + 4 * n) << ',';
        m_out << readLE<uint32_t>(d + 928) << '\n';
    }
    bool close() override
    {
        m_out.flush();
        const bool ok = m_out.status() == QTextStream::Ok;
        m_file.close();
        return ok;
    }

private:
    static QString fixed7(int32_t raw)
    {
        const qint64 r = raw;
        const qint64 a = r < 0 ? -r : r;
        return QString("%1%2.%3").arg(r < 0 ? "-" : "").arg(a / 10000000).arg(a % 10000000, 7, 10, QChar('0'));
    }
    void fixed3(float v)
    {
        m_out.setRealNumberNotation(QTextStream::FixedNotation);
        m_out.setRealNumberPrecision(3);
        m_out << v << ',';
        m_out.setRealNumberNotation(QTextStream::SmartNotation);
        m_out.setRealNumberPrecision(6);
    }

    QFile m_file;
    QTextStream m_out;
};

uint32_t next(uint32_t &s)
{
    s ^= s << 13;
    s ^= s >> 17;
    s ^= s << 5;
    return s;
}
float uniform(uint32_t &s, float lo, float hi)
{
    return lo + (hi - lo) * float(next(s) >> 8) / 16777216.0f;
}
void putFloat(QByteArray &p, int off, uint32_t &s, float lo, float hi, double wild)
{
    float v;
    if (wild > 0 && next(s) % 10000 < uint32_t(wild * 10000)) {
        const uint32_t bits = next(s);
        std::memcpy(&v, &bits, 4);
    } else {
        v = uniform(s, lo, hi);
    }
    writeLE<float>(reinterpret_cast<uint8_t *>(p.data()) + off, v);
}
void putU32(QByteArray &p, int off, uint32_t v)
{
    writeLE<uint32_t>(reinterpret_cast<uint8_t *>(p.data()) + off, v);
}

} // namespace

std::unique_ptr<DecodeTextSink> makeQTextStreamSink()
{
    return std::make_unique<QTextStreamSink>();
}

QByteArray randomPayload(int type, int seq, uint32_t &s, double wild)
{
    QByteArray p;
    auto fill = [&](int from, int to, float lo, float hi) {
        for (int off = from; off + 4 <= to; off += 4)
            putFloat(p, off, s, lo, hi, wild);
    };
    switch (type) {
    case Ahrs: {
        const bool gnss = seq % 50 == 49, mag = seq % 3 == 1;
        p = QByteArray(int(gnss ? kGnssUwbBytes : mag ? kAhrsMagBytes : kAhrsBytes), '\0');
        fill(4, p.size(), -200.0f, 200.0f);
        if (gnss) {
            for (int i = 56; i < p.size(); ++i)
                p[i] = char(next(s));
            fill(82, 114, 0.0f, 30.0f);
            for (int k = 0; k < 10; ++k)
                fill(134 + 16 * k, 146 + 16 * k, -90.0f, 90.0f);
        }
        putU32(p, 0, uint32_t(seq) * 5000u);
        return p;
    }
    case InsRtk: {
        static const int sizes[3] = {int(kInsPart1), int(kInsPart2), int(kInsPart3)};
        p = QByteArray(sizes[seq % 3], '\0');
        for (int i = 0; i < p.size(); ++i)
            p[i] = char(next(s));
        auto put = [&](std::initializer_list<int> offsets, float lo, float hi) {
            for (int off : offsets)
                putFloat(p, off, s, lo, hi, wild);
        };
        if (seq % 3 == 0)
            put({6, 10, 14, 18, 22, 26, 50, 54, 58, 62, 66, 70}, -90.0f, 90.0f);
        else if (seq % 3 == 1)
            put({41, 45}, 0.0f, 5.0f);
        else
            put({5, 9}, 0.0f, 360.0f);
        if (seq % 3 == 0) {
            putU32(p, 74, uint32_t(int32_t(uniform(s, -90, 90) * 1e7f)));
            putU32(p, 82, uint32_t(int32_t(uniform(s, -500, 5000) * 1000)));
        } else if (seq % 3 == 1) {
            static const uint8_t kinds[] = {0, 1, 16, 34, 48, 50, 5, 200};
            p[14] = char(kinds[next(s) % 8]);
        }
        putU32(p, 0, uint32_t(seq) * 200u);
        return p;
    }
    case NineImu:
        p = QByteArray(int(kNineImuBytes), '\0');
        fill(4, 928, -50.0f, 50.0f);
        putU32(p, 0, uint32_t(seq) * 1000u);
        putU32(p, 928, uint32_t(seq));
        return p;
    default: {
        const size_t S = calibRecordBytes(type);
        p = QByteArray(int(layoutBytes(type, type == Calib256 ? 0xB6B6 : type == Calib368 ? 0xB6B5 : 0xB6B4)), '\0');
        for (int i = 0; i < p.size(); ++i)
            p[i] = char(next(s));
        const int B = 32 + 28 * calibGroups(type);
        for (int i = 0; i < kImus; ++i) {
            const int r = int(kCalibHeader + S * size_t(i));
            fill(r + 4, r + B, -20.0f, 20.0f);
        }
        putU32(p, 0, uint32_t(seq) * 1000u);
        putU32(p, 4, uint32_t(seq));
        return p;
    }
    }
}

qint64 writeRecording(const QString &path, const RecordingOptions &o)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return -1;
    uint32_t s = o.seed * 2654435761u + 1;
    const uint16_t calibId = o.type == Calib256 ? (o.seed % 2 ? 0xB6B8 : 0xB6B6)
        : o.type == Calib368 ? 0xB6B5 : 0xB6B4;
    qint64 good = 0;
    qint64 size = 0; // the recording's size without the long false starts
    QByteArray chunk;
    for (int seq = 0; size < o.bytes; ++seq) {
        const QByteArray payload = randomPayload(o.type, seq, s, o.wildValues);
        uint16_t id;
        switch (o.type) {
        case Ahrs: id = payload.size() == int(kGnssUwbBytes) ? Msg::GnssUwb
                       : payload.size() == int(kAhrsMagBytes) ? Msg::AhrsMag : Msg::Ahrs; break;
        case InsRtk: id = uint16_t(Msg::Ins1 + seq % 3); break;
        case NineImu: id = Msg::NineImu; break;
        default: id = calibId; break;
        }
        const QByteArray frame = buildDeviceFrame(id, payload);
        // The same frames with or without long false starts between them.
        if (o.longFalseStartEvery > 0 && seq % o.longFalseStartEvery == 0)
            chunk += frame.left(4) + QByteArray("\xFF\xFF", 2);
        const int before = chunk.size();
        if (o.noise) {
            for (int k = int(next(s) % 12); k > 0; --k)
                chunk.append(char(next(s) % 4 == 0 ? 0xAA : next(s)));
            if (next(s) % 40 == 0) { // a false start: a header whose length runs into the frames
                chunk.append("\xAA\x55", 2);
                chunk.append(char(next(s)));
                chunk.append(char(next(s)));
                chunk.append(char(next(s) % 200 + 1));
                chunk.append(char(0));
            }
            if (next(s) % 50 == 0) { // a corrupt copy of the frame
                QByteArray bad = frame;
                const int at = int(6 + next(s) % uint32_t(payload.size()));
                bad[at] = char(bad[at] ^ 0x10);
                chunk += bad;
            }
        }
        chunk += frame;
        size += chunk.size() - before;
        ++good;
        if (chunk.size() > (1 << 20)) {
            if (f.write(chunk) != chunk.size())
                return -1;
            chunk.clear();
        }
    }
    if (f.write(chunk) != chunk.size())
        return -1;
    f.close();
    return good;
}
