// Throughput of the frame parser on a stream of 0xB6B4 calibration frames with noise,
// false starts and corrupt frames between them. Prints MB/s on one core.
#include <QByteArray>
#include <QElapsedTimer>
#include <cstdio>
#include <random>

#include "link/FrameParser.h"
#include "sim/ModuleSimulator.h"

int main()
{
    std::array<SimPayload::ImuValues, 32> imus{};
    for (int i = 0; i < 32; ++i)
        imus[size_t(i)].time_ms = uint32_t(i + 1);
    const QByteArray frame = buildDeviceFrame(DeviceMsgId::CalibB6B4,
                                              SimPayload::calibMessage(DeviceMsgId::CalibB6B4, imus));
    std::mt19937 rng(1);
    QByteArray stream;
    int sent = 0;
    while (stream.size() < 64 * 1024 * 1024) {
        for (int k = int(rng() % 16); k > 0; --k)
            stream.append(char(rng() % 3 == 0 ? 0xAA : rng() & 0xFF));
        if (rng() % 50 == 0) { // a corrupt frame
            QByteArray bad = frame;
            bad[100] = char(bad[100] ^ 1);
            stream += bad;
        }
        stream += frame;
        ++sent;
    }
    const auto *data = reinterpret_cast<const uint8_t *>(stream.constData());
    double best = 0;
    uint64_t frames = 0;
    for (int round = 0; round < 5; ++round) {
        FrameParser parser(FrameParser::rackBound);
        frames = 0;
        QElapsedTimer t;
        t.start();
        const size_t chunk = 4096; // like serial reads
        for (size_t i = 0; i < size_t(stream.size()); i += chunk)
            parser.feed(data + i, std::min(chunk, size_t(stream.size()) - i),
                        [&](uint16_t, const uint8_t *, uint32_t) { ++frames; });
        const double s = t.nsecsElapsed() / 1e9;
        best = std::max(best, stream.size() / 1e6 / s);
    }
    std::printf("stream: %.1f MB, frames sent %d, parsed %llu\n", stream.size() / 1e6, sent,
                static_cast<unsigned long long>(frames));
    std::printf("frame parser throughput: %.0f MB/s (goal: 300 MB/s)\n", best);
    return frames == uint64_t(sent) ? 0 : 1;
}
