// The frame parser: recovery after false starts and bad frames, length bounds, counters.
#include <QTest>

#include <random>
#include <vector>

#include "link/CommandFrames.h"
#include "link/DeviceProtocol.h"
#include "link/FrameParser.h"

namespace {
struct Frame {
    uint16_t id;
    QByteArray payload;
};

QList<Frame> parseAll(FrameParser &p, const QByteArray &stream, int chunk = 0)
{
    QList<Frame> out;
    auto on = [&](uint16_t id, const uint8_t *d, uint32_t len) {
        out.append({id, QByteArray(reinterpret_cast<const char *>(d), int(len))});
    };
    const auto *b = reinterpret_cast<const uint8_t *>(stream.constData());
    if (chunk <= 0) {
        p.feed(b, size_t(stream.size()), on);
    } else {
        for (int i = 0; i < stream.size(); i += chunk)
            p.feed(b + i, size_t(qMin(chunk, stream.size() - i)), on);
    }
    return out;
}

QByteArray payload(int n, int seed)
{
    QByteArray p(n, '\0');
    for (int i = 0; i < n; ++i)
        p[i] = char((i * 31 + seed) & 0xFF);
    return p;
}
} // namespace

class TestFrameParser : public QObject {
    Q_OBJECT
private slots:
    void aSecondAaWhileWaitingFor55RestartsTheFrame()
    {
        FrameParser p;
        const QByteArray f = buildDeviceFrame(0x0002, payload(44, 1));
        const QByteArray stream = QByteArray::fromHex("AA") + f; // AA AA 55 ...
        const auto frames = parseAll(p, stream);
        QCOMPARE(frames.size(), 1);
        QCOMPARE(frames[0].id, uint16_t(2));
        QCOMPARE(frames[0].payload, payload(44, 1));
        QCOMPARE(p.counters().bad(), 0u);
    }

    void aBadCrcDoesNotSwallowTheGoodFrameBehindIt()
    {
        FrameParser p;
        QByteArray bad = buildDeviceFrame(0x0002, payload(20, 2));
        bad[10] = char(bad[10] ^ 0x40);
        const QByteArray good = buildDeviceFrame(0x0003, payload(20, 3));
        const auto frames = parseAll(p, bad + good);
        QCOMPARE(frames.size(), 1);
        QCOMPARE(frames[0].id, uint16_t(3));
        QCOMPARE(p.counters().badCrc, 1u);
        QCOMPARE(p.counters().good, 1u);
    }

    void aFalseStartWithAHugeLengthInNoiseLosesNoGoodFrame()
    {
        // "AA 55 id FFFF" claims 65535 payload bytes; the real frames follow at once.
        for (int chunk : {0, 1, 7, 1000}) {
            FrameParser p(FrameParser::mainLinkBound);
            QByteArray stream = QByteArray::fromHex("0011AA5502FFFFFF2233");
            QList<QByteArray> sent;
            for (int i = 0; i < 50; ++i) {
                sent << payload(100 + i, i);
                stream += buildDeviceFrame(0x0002, sent.last());
                stream += QByteArray::fromHex("AA00AA55");  // more noise between frames
            }
            // Enough trailing bytes for the false start to complete and fail its CRC.
            stream += QByteArray(70000, '\x11');
            const auto frames = parseAll(p, stream, chunk);
            QCOMPARE(frames.size(), 50);
            for (int i = 0; i < 50; ++i)
                QCOMPARE(frames[i].payload, sent[i]);
        }
    }

    void aRefusedLengthIsCountedAndTheSearchGoesOn()
    {
        FrameParser p(FrameParser::rackBound);
        // 0xB6B6 accepts lengths below 8274.
        QByteArray accepted = buildDeviceFrame(DeviceMsgId::CalibB6B6, payload(8273, 4));
        QByteArray refused = buildDeviceFrame(DeviceMsgId::CalibB6B6, payload(8274, 5));
        const auto frames = parseAll(p, refused + accepted);
        QCOMPARE(frames.size(), 1);
        QCOMPARE(frames[0].payload.size(), 8273);
        QVERIFY(p.counters().badLength >= 1);
    }

    void zeroLengthIsRefusedByEveryBound()
    {
        for (auto bound : {FrameParser::mainLinkBound, FrameParser::rackBound, FrameParser::baseBoardBound})
            QVERIFY(!bound(2, 0));
        QVERIFY(FrameParser::baseBoardBound(2, 9999));
        QVERIFY(!FrameParser::baseBoardBound(2, 10000));
        QVERIFY(FrameParser::rackBound(0x1234, 999));
        QVERIFY(!FrameParser::rackBound(0x1234, 1000));
        QVERIFY(FrameParser::rackBound(DeviceMsgId::CalibB6B4, 33361));
        QVERIFY(!FrameParser::rackBound(DeviceMsgId::CalibB6B4, 33362));
    }

    void randomNoiseAroundFramesNeverCostsAFrame()
    {
        std::mt19937 rng(7);
        FrameParser p;
        QByteArray stream;
        QList<QByteArray> sent;
        for (int i = 0; i < 400; ++i) {
            const int noise = int(rng() % 20);
            for (int k = 0; k < noise; ++k) {
                const int r = int(rng() % 6);
                stream.append(r == 0 ? char(0xAA) : r == 1 ? char(0x55) : char(rng() & 0xFF));
            }
            sent << payload(1 + int(rng() % 300), i);
            stream += buildDeviceFrame(uint16_t(1 + rng() % 3), sent.last());
        }
        stream += QByteArray(70000, '\0');
        const auto frames = parseAll(p, stream, 333);
        QCOMPARE(frames.size(), sent.size());
        for (int i = 0; i < sent.size(); ++i)
            QCOMPARE(frames[i].payload, sent[i]);
    }

    void aFrameCutOffAtTheEndIsHeldNotDelivered()
    {
        FrameParser p;
        const QByteArray f = buildDeviceFrame(2, payload(50, 9));
        QCOMPARE(parseAll(p, f.left(30)).size(), 0);
        QVERIFY(p.pendingBytes() > 0);
        QCOMPARE(parseAll(p, f.mid(30)).size(), 1);
    }
};

QTEST_GUILESS_MAIN(TestFrameParser)
#include "test_frame_parser.moc"
