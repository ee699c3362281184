#pragma once
// A plain reference for the frame parser, kept by the tests and the fuzz harness only: over a
// whole input, take the first "AA 55" whose length is accepted and wait for all its bytes; a
// good CRC delivers it and the search goes on behind it, anything else (refused length, failed
// CRC, or cut off by the end of the input) resumes the search at the byte after its 0xAA.
// Failures are counted as they are met; a candidate cut off by the end is not counted.
#include <cstddef>
#include <cstdint>
#include <algorithm>
#include <string>
#include <vector>

#include "app/Crc.h"
#include "link/DeviceProtocol.h"
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

// A link's length bound with the longest payload it takes and an id that takes it.
struct Link {
    const char *name;
    FrameParser::LengthBound bound;
    uint16_t id;
    uint16_t longest;
};
inline const Link kLinks[] = {{"main link", FrameParser::mainLinkBound, 0x1234, 65535},
                              {"rack link", FrameParser::rackBound, DeviceMsgId::CalibB6B4, 33361},
                              {"base-board link", FrameParser::baseBoardBound, 0x1234, 9999}};

// Streams for the differential checks, drawn piece by piece: `draw(n)` gives a number from 0 to
// n - 1 (a random generator in the tests, the input in the fuzz harness). A piece is a good
// frame, short or long (2,048 bytes up to the link's longest payload, 33,361 for 0xB6B4), its
// payload now and then strewn with "AA 55"; a corrupt frame; a frame cut off; a false start
// of any length; noise; a run of filler long enough to let the longest false start complete.
template <class Draw> void appendPiece(std::vector<uint8_t> &s, const Link &link, Draw &&draw)
{
    const auto put16 = [&](uint32_t v) { s.push_back(uint8_t(v)); s.push_back(uint8_t(v >> 8)); };
    const auto frame = [&]() {
        const uint32_t len = draw(3) == 0 && link.longest > 2048 ? 2048 + draw(link.longest - 2047u)
                                                                : 1 + draw(300);
        const uint16_t id = draw(2) ? link.id : uint16_t(draw(0x10000));
        const size_t at = s.size();
        s.push_back(0xAA);
        s.push_back(0x55);
        put16(id);
        put16(len);
        uint32_t x = 1 + draw(0x10000);
        for (uint32_t i = 0; i < len; ++i) {
            x = x * 1103515245u + 12345u;
            s.push_back(uint8_t(x >> 16));
        }
        for (uint32_t k = draw(4) == 0 ? draw(8) : 0; k > 0; --k) {
            const size_t p = at + 6 + draw(len);
            s[p] = 0xAA;
            if (p + 1 < s.size())
                s[p + 1] = 0x55;
        }
        const uint32_t crc = crc32_update(1, s.data() + at, s.size() - at);
        for (int k = 0; k < 4; ++k)
            s.push_back(uint8_t(crc >> (8 * k)));
        return at;
    };
    switch (draw(10)) {
    case 4: { // corrupt
        const size_t at = frame();
        s[at + draw(uint32_t(s.size() - at))] ^= uint8_t(1 + draw(255));
        break;
    }
    case 5: { // cut off
        const size_t at = frame();
        s.resize(at + draw(uint32_t(s.size() - at)));
        break;
    }
    case 6: // false start
        s.push_back(0xAA);
        s.push_back(0x55);
        put16(draw(2) ? link.id : draw(0x10000));
        put16(draw(0x10000));
        break;
    case 7: // noise
        for (uint32_t k = draw(16); k > 0; --k) {
            const uint32_t r = draw(6);
            s.push_back(r == 0 ? 0xAA : r == 1 ? 0x55 : uint8_t(draw(256)));
        }
        break;
    case 8: // filler
        s.insert(s.end(), draw(4) == 0 ? 65546 : draw(2048), 0x11);
        break;
    default: frame(); break;
    }
}

// Compares what the parser gave for an input with the reference: an empty text when frames,
// order and counts are equal (or a good frame lies inside a good one), else what differs.
inline std::string differenceFromReference(const std::vector<uint8_t> &input, FrameParser::LengthBound bound,
                                           const Result &got)
{
    const Result ref = parse(input.data(), input.size(), bound);
    if ((got.frames == ref.frames && sameCounts(got.counts, ref.counts))
        || hasGoodFrameInsideGoodFrame(input.data(), input.size(), bound))
        return std::string();
    size_t same = 0;
    while (same < got.frames.size() && same < ref.frames.size() && got.frames[same] == ref.frames[same])
        ++same;
    const auto n = [](uint64_t v) { return std::to_string(v); };
    return "frames " + n(got.frames.size()) + "/" + n(ref.frames.size()) + " (first " + n(same)
        + " equal), good " + n(got.counts.good) + "/" + n(ref.counts.good) + ", bad CRC " + n(got.counts.badCrc)
        + "/" + n(ref.counts.badCrc) + ", bad length " + n(got.counts.badLength) + "/" + n(ref.counts.badLength)
        + ", bad CRC after good " + n(got.counts.badCrcAfterGood) + "/" + n(ref.counts.badCrcAfterGood)
        + " (parser/reference)";
}
// The same for the input parsed in reads of the given sizes (cycled).
inline std::string differenceFromReference(const std::vector<uint8_t> &input, FrameParser::LengthBound bound,
                                           const std::vector<size_t> &reads)
{
    return differenceFromReference(input, bound, parseInChunks(input.data(), input.size(), bound, reads));
}

// The fuzz harness's input: byte 0 chooses the link and whether the rest is the stream itself
// (raw) or drawn pieces (a long frame from a few bytes: each number from the next one to three
// bytes); byte 1 the number of read sizes, up to 8, each from 3 bytes (1 byte to 1 MB), cycled.
struct FuzzCase {
    const Link *link = &kLinks[0];
    std::vector<uint8_t> stream;
    std::vector<size_t> reads;
};
inline FuzzCase fuzzCase(const uint8_t *d, size_t n)
{
    FuzzCase c;
    size_t pos = 0;
    const auto byte = [&]() -> uint32_t { return pos < n ? d[pos++] : 0; };
    const uint32_t mode = byte();
    c.link = &kLinks[mode % 3];
    for (uint32_t k = byte() % 9; k > 0; --k) {
        uint32_t v = byte();
        v |= byte() << 8;
        v |= byte() << 16;
        c.reads.push_back(1 + (v & 0xFFFFF));
    }
    if ((mode / 3) & 1) {
        c.stream.assign(d + std::min(pos, n), d + n);
        return c;
    }
    const auto draw = [&](uint32_t m) {
        uint32_t v = 0;
        for (uint32_t range = m - 1; range > 0; range >>= 8) {
            v <<= 8;
            v |= byte();
        }
        return v % m;
    };
    while (pos < n && c.stream.size() < (256u << 10))
        appendPiece(c.stream, *c.link, draw);
    return c;
}

} // namespace RefParse
