#pragma once
// A plain reference for the frame parser, kept by the tests and the fuzz harness only: over a
// whole input, take the first "AA 55" whose length is accepted and wait for all its bytes; a
// good CRC delivers it and the search goes on behind it, anything else (refused length, failed
// CRC, or cut off by the end of the input) resumes the search at the byte after its 0xAA.
// Failures are counted as they are met; a candidate cut off by the end is not counted.
#include <cstddef>
#include <cstdint>
#include <algorithm>
#include <vector>

#include "app/Crc.h"
#include "link/FrameParser.h"

namespace RefParse {

struct Frame {
    uint16_t id;
    std::vector<uint8_t> payload;
    bool operator==(const Frame &o) const { return id == o.id && payload == o.payload; }
};

struct Result {
    std::vector<Frame> frames;
    FrameCounters counts;
};

// The candidate at p: 0 none, 1 refused length, 2 cut off, 3 bad CRC, 4 good. *end is set
// for 2 to 4.
inline int candidateAt(const uint8_t *d, size_t n, size_t p, FrameParser::LengthBound bound, size_t *end)
{
    if (p + 1 >= n || d[p] != 0xAA || d[p + 1] != 0x55)
        return 0;
    if (p + 6 > n)
        return 2;
    const uint16_t id = uint16_t(d[p + 2] | (d[p + 3] << 8));
    const uint32_t len = uint32_t(d[p + 4] | (d[p + 5] << 8));
    if (!bound(id, len))
        return 1;
    *end = p + 10 + len;
    if (*end > n)
        return 2;
    const uint8_t *r = d + p + 6 + len;
    const uint32_t rx = uint32_t(r[0]) | uint32_t(r[1]) << 8 | uint32_t(r[2]) << 16 | uint32_t(r[3]) << 24;
    return crc32_update(1, d + p, 6 + len) == rx ? 4 : 3;
}

inline Result parse(const uint8_t *d, size_t n, FrameParser::LengthBound bound)
{
    Result r;
    size_t pos = 0;
    while (pos < n) {
        size_t end = 0;
        switch (candidateAt(d, n, pos, bound, &end)) {
        case 0:
        case 2: ++pos; break;
        case 1: ++r.counts.badLength; ++pos; break;
        case 3:
            ++r.counts.badCrc;
            if (r.counts.good > 0)
                ++r.counts.badCrcAfterGood;
            ++pos;
            break;
        default:
            ++r.counts.good;
            r.frames.push_back({uint16_t(d[pos + 2] | (d[pos + 3] << 8)),
                                std::vector<uint8_t>(d + pos + 6, d + end - 4)});
            pos = end;
            break;
        }
    }
    return r;
}

// True when a good frame lies wholly inside (ending before) a candidate that itself passes its
// CRC: the one case where the parser may deliver the inner frame instead.
inline bool hasGoodFrameInsideGoodFrame(const uint8_t *d, size_t n, FrameParser::LengthBound bound)
{
    for (size_t p = 0; p < n; ++p) {
        size_t outerEnd = 0;
        if (candidateAt(d, n, p, bound, &outerEnd) != 4)
            continue;
        for (size_t q = p + 1; q + 10 < outerEnd; ++q) {
            size_t innerEnd = 0;
            if (candidateAt(d, n, q, bound, &innerEnd) == 4 && innerEnd < outerEnd)
                return true;
        }
    }
    return false;
}

// Feeds the whole input to the parser in chunks of the given sizes (cycled), then ends it.
inline Result parseInChunks(const uint8_t *d, size_t n, FrameParser::LengthBound bound,
                            const std::vector<size_t> &chunks)
{
    Result r;
    FrameParser parser(bound);
    size_t i = 0, k = 0;
    while (i < n) {
        const size_t c = std::min(n - i, chunks.empty() ? n : std::max<size_t>(1, chunks[k++ % chunks.size()]));
        parser.feed(d + i, c, [&](uint16_t id, const uint8_t *p, uint32_t len) {
            r.frames.push_back({id, std::vector<uint8_t>(p, p + len)});
        });
        i += c;
    }
    parser.endOfInput();
    r.counts = parser.counters();
    return r;
}

inline bool sameCounts(const FrameCounters &a, const FrameCounters &b)
{
    return a.good == b.good && a.badCrc == b.badCrc && a.badLength == b.badLength
        && a.badCrcAfterGood == b.badCrcAfterGood;
}

inline bool same(const Result &a, const Result &b)
{
    return a.frames == b.frames && sameCounts(a.counts, b.counts);
}

} // namespace RefParse
