// The frame parser: recovery after false starts and bad frames, length bounds, counters.
#include <QDir>
#include <QFile>
#include <QTest>

#include <random>
#include <vector>

#include "link/CommandFrames.h"
#include "link/DeviceProtocol.h"
#include "link/FrameParser.h"
#include "tests/kit/ReferenceFrameParser.h"
#include "tests/kit/TestKit.h"

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

// "AA 55 id length" with the longest length the bound accepts for that id.
QByteArray falseStart(uint16_t id, uint16_t len)
{
    QByteArray h = QByteArray::fromHex("AA55");
    h.append(char(id & 0xFF)).append(char(id >> 8)).append(char(len & 0xFF)).append(char(len >> 8));
    return h;
}

// The parser against the plain reference, over the whole input fed in several chunkings.
const std::vector<std::vector<size_t>> kChunkings = {{}, {1}, {7, 3, 250}, {4096}};
void compareWithReference(const std::vector<uint8_t> &input, FrameParser::LengthBound bound, const QString &what,
                          const std::vector<std::vector<size_t>> &chunkings = kChunkings)
{
    for (const std::vector<size_t> &chunks : chunkings) {
        const std::string diff = RefParse::differenceFromReference(input, bound, chunks);
        QStringList reads;
        for (size_t k = 0; k < chunks.size() && k < 4; ++k)
            reads << QString::number(chunks[k]);
        QVERIFY2(diff.empty(), qPrintable(QString("%1, reads of %2%3: %4")
                                              .arg(what, chunks.empty() ? "all" : reads.join(' '),
                                                   chunks.size() > 4 ? " ..." : "", diff.c_str())));
    }
}
void compareWithReference(const QByteArray &input, FrameParser::LengthBound bound, const QString &what)
{
    compareWithReference(std::vector<uint8_t>(input.begin(), input.end()), bound, what);
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

    void aFalseStartWithTheLongestLengthNeverHoldsBackTheGoodFrameBehindIt()
    {
        for (const RefParse::Link &b : RefParse::kLinks) {
            QVERIFY(b.bound(b.id, b.longest));
            const QByteArray good = buildDeviceFrame(DeviceMsgId::ParamValue, payload(8, 1));
            // Fed at once: the frame comes out of the very call that brought its last byte.
            FrameParser p(b.bound);
            QCOMPARE(parseAll(p, falseStart(b.id, b.longest) + good).size(), 1);
            // Byte by byte: it comes out with its last byte, not one byte later.
            FrameParser q(b.bound);
            QCOMPARE(parseAll(q, QByteArray::fromHex("00AA") + falseStart(b.id, b.longest)).size(), 0);
            for (int i = 0; i < good.size(); ++i)
                QCOMPARE(parseAll(q, good.mid(i, 1)).size(), i == good.size() - 1 ? 1 : 0);
            // The false start is counted as failed once its bytes have passed, as before.
            QCOMPARE(q.counters().badCrc, 0u);
            parseAll(q, QByteArray(b.longest + 10, '\x11'));
            QVERIFY2(q.counters().badCrc == 1u, b.name);
            QCOMPARE(q.counters().good, 1u);
        }
    }

    void manyFalseStartsBetweenShortFramesHoldNoFrameBack()
    {
        // A false start before every tenth frame, each delivered as its last byte arrives.
        FrameParser p(FrameParser::mainLinkBound);
        int delivered = 0;
        for (int i = 0; i < 500; ++i) {
            if (i % 10 == 0)
                QCOMPARE(parseAll(p, falseStart(0x0051, 65535)).size(), 0);
            const QByteArray f = buildDeviceFrame(0x0051, payload(86, i));
            QCOMPARE(parseAll(p, f.left(f.size() - 1)).size(), 0);
            const auto out = parseAll(p, f.right(1));
            QCOMPARE(out.size(), 1);
            QCOMPARE(out[0].payload, payload(86, i));
            ++delivered;
        }
        QCOMPARE(delivered, 500);
        QVERIFY(p.pendingBytes() < 70000); // nothing held beyond one false start
    }

    void countsEqualTheReferenceOnNoisyRecordings()
    {
        // Recordings of every kind of piece, fed at once, byte by byte, in uneven and in 4 KB reads.
        std::mt19937 rng(11);
        const auto draw = [&](uint32_t n) { return uint32_t(rng() % n); };
        for (int round = 0; round < 20; ++round) {
            for (const RefParse::Link &link : RefParse::kLinks) {
                std::vector<uint8_t> rec;
                for (int piece = 0; piece < 40; ++piece)
                    RefParse::appendPiece(rec, link, draw);
                compareWithReference(rec, link.bound, QString("round %1, %2").arg(round).arg(link.name));
            }
        }
    }

    void countsEqualTheReferenceOnDenseFalseStarts()
    {
        // Thousands of long candidates pending at once, deciding in the order of their ends,
        // with good frames among them, some cut off by the end of the input.
        const QByteArray run = QByteArray::fromHex("AA550200FFFF").repeated(3000);
        const QByteArray good = buildDeviceFrame(2, payload(40, 1));
        compareWithReference(run, FrameParser::mainLinkBound, "false starts only");
        compareWithReference(run + good + run.left(600) + QByteArray(66000, '\x11') + good,
                             FrameParser::mainLinkBound, "good frames among them");
        QByteArray mixed;
        for (int i = 0; i < 2000; ++i)
            mixed += falseStart(uint16_t(i), uint16_t(i % 3 == 0 ? 65535 : 60000 + i));
        compareWithReference(mixed + QByteArray(70000, '\x11') + good, FrameParser::mainLinkBound, "mixed lengths");
        // Long frames, good and corrupt, behind and among them.
        const QByteArray longGood = buildDeviceFrame(3, payload(40000, 2));
        QByteArray longBad = buildDeviceFrame(3, payload(3000, 3));
        longBad[2500] = char(longBad[2500] ^ 4);
        compareWithReference(run.left(1200) + longBad + longGood + run.left(600) + buildDeviceFrame(3, payload(2100, 4))
                                 + QByteArray(66000, '\x11') + longGood,
                             FrameParser::mainLinkBound, "long frames");
    }

    void framesOfAnyLengthComeOutAsTheReferenceGivesThemWhateverTheReadSizes()
    {
        // Long frames (2,048 bytes up to the link's longest payload) and short ones among noise,
        // false starts of every length, corrupt and cut-off frames, fed in reads drawn one by one
        // from 1 byte up to 4 KB, 64 KB and 1 MB: whatever the reads keep of a long frame, its CRC
        // comes out right.
        for (uint32_t seed : {1u, 2u, 3u, 4u, 5u}) {
            std::mt19937 rng(seed);
            const auto draw = [&](uint32_t n) { return uint32_t(rng() % n); };
            for (const RefParse::Link &link : RefParse::kLinks) {
                std::vector<uint8_t> stream;
                while (stream.size() < (2u << 20))
                    RefParse::appendPiece(stream, link, draw);
                std::vector<std::vector<size_t>> chunkings;
                for (int ceiling : {12, 16, 20}) {
                    std::vector<size_t> &reads = chunkings.emplace_back();
                    for (size_t sum = 0; sum < stream.size(); sum += reads.back())
                        reads.push_back(1 + rng() % (size_t(1) << (rng() % (ceiling + 1))));
                }
                compareWithReference(stream, link.bound, QString("seed %1, %2").arg(seed).arg(link.name), chunkings);
            }
        }
    }

    void countsEqualTheReferenceOnTheFuzzCorpus()
    {
        const QDir dir(TestKit::sourcePath("fuzz/corpus"));
        const QStringList files = dir.entryList(QDir::Files);
        QVERIFY2(files.size() >= 10, qPrintable(dir.path()));
        for (const QString &name : files) {
            QFile f(dir.filePath(name));
            QVERIFY(f.open(QIODevice::ReadOnly));
            const QByteArray bytes = f.readAll();
            // As the fuzz harness reads it, in its own read sizes and in the usual ones.
            const RefParse::FuzzCase c =
                RefParse::fuzzCase(reinterpret_cast<const uint8_t *>(bytes.constData()), size_t(bytes.size()));
            std::vector<std::vector<size_t>> chunkings = kChunkings;
            chunkings.push_back(c.reads);
            compareWithReference(c.stream, c.link->bound, name, chunkings);
        }
    }

    void aCandidateCutOffByTheEndOfInputIsNotCounted()
    {
        FrameParser p(FrameParser::mainLinkBound);
        const QByteArray good = buildDeviceFrame(2, payload(30, 3));
        parseAll(p, falseStart(2, 500) + good + buildDeviceFrame(2, payload(30, 4)).left(20));
        QCOMPARE(p.counters().good, 1u);
        p.endOfInput();
        QCOMPARE(p.counters().badCrc, 0u);
        QCOMPARE(p.pendingBytes(), size_t(0));
        // After the end the parser starts afresh.
        QCOMPARE(parseAll(p, good).size(), 1);
    }

    void failuresInsideAGoodFrameAreNeverCounted()
    {
        // A payload that carries short false frames: they fail inside the good frame and are
        // not counted, exactly as a parser that waits for the frame would never see them.
        QByteArray inner = buildDeviceFrame(2, payload(10, 5));
        inner[8] = char(inner[8] ^ 1);
        const QByteArray outer = buildDeviceFrame(2, payload(20, 6) + inner + falseStart(2, 0) + payload(20, 7));
        FrameParser p(FrameParser::mainLinkBound);
        const auto frames = parseAll(p, outer + outer, 5);
        QCOMPARE(frames.size(), 2);
        QCOMPARE(p.counters().bad(), 0u);
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
