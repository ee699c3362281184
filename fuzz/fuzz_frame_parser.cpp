// Feeds the frame parser arbitrary bytes. The first byte chooses the length bound and the
// chunking; the rest is parsed with and without frames of valid CRC woven in. Every frame
// delivered must carry a payload within its bound that maps safely into the records, and the
// frames and counts must be those of the plain reference parser that rescans after every
// failure (save for a good frame inside a candidate that itself passes its CRC).
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "app/Crc.h"
#include "link/CalibMapping.h"
#include "link/CommandFrames.h"
#include "link/FrameParser.h"
#include "tests/kit/ReferenceFrameParser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 2)
        return 0;
    const uint8_t mode = data[0];
    FrameParser::LengthBound bounds[] = {FrameParser::mainLinkBound, FrameParser::rackBound,
                                         FrameParser::baseBoardBound};
    const auto bound = bounds[mode % 3];
    FrameParser parser(bound);
    const size_t chunk = 1 + (mode >> 2) * 37;

    // Turn some inputs into well-formed frames so the fuzzer reaches the mapping too.
    std::vector<uint8_t> input(data + 1, data + size);
    if ((mode & 2) && input.size() >= 6) {
        input[0] = 0xAA;
        input[1] = 0x55;
        const uint16_t len = uint16_t(input.size() - 6);
        input[4] = uint8_t(len);
        input[5] = uint8_t(len >> 8);
        const uint32_t crc = crc32_update(1, input.data(), input.size());
        for (int k = 0; k < 4; ++k)
            input.push_back(uint8_t(crc >> (8 * k)));
    }

    CalibImuStatus rec[32];
    uint32_t err[32];
    RefParse::Result got;
    for (size_t i = 0; i < input.size(); i += chunk)
        parser.feed(input.data() + i, std::min(chunk, input.size() - i),
                    [&](uint16_t id, const uint8_t *p, uint32_t len) {
                        if (!bound(id, len))
                            abort();
                        storeCalibMessage(CalibMapVariant::Main, id, p, len, rec, err);
                        got.frames.push_back({id, std::vector<uint8_t>(p, p + len)});
                    });
    parser.endOfInput();
    got.counts = parser.counters();

    const RefParse::Result ref = RefParse::parse(input.data(), input.size(), bound);
    if (!RefParse::same(got, ref) && !RefParse::hasGoodFrameInsideGoodFrame(input.data(), input.size(), bound)) {
        std::fprintf(stderr, "parser and reference differ: frames %zu/%zu good %llu/%llu crc %llu/%llu "
                             "length %llu/%llu crc after good %llu/%llu\n",
                     got.frames.size(), ref.frames.size(), (unsigned long long)got.counts.good,
                     (unsigned long long)ref.counts.good, (unsigned long long)got.counts.badCrc,
                     (unsigned long long)ref.counts.badCrc, (unsigned long long)got.counts.badLength,
                     (unsigned long long)ref.counts.badLength, (unsigned long long)got.counts.badCrcAfterGood,
                     (unsigned long long)ref.counts.badCrcAfterGood);
        abort();
    }
    return 0;
}
