// Feeds the frame parser a stream in reads that the input chooses (RefParse::fuzzCase: the
// input's bytes as they stand, or pieces that make long frames, false starts, corrupt and
// cut-off frames from a few bytes each). Every frame delivered must carry a payload within its
// bound that maps safely into the records, and the frames, their order and the counts must be
// those of the plain reference parser that rescans after every failure (save for a good frame
// inside a candidate that itself passes its CRC).
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "link/CalibMapping.h"
#include "link/FrameParser.h"
#include "tests/kit/ReferenceFrameParser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const RefParse::FuzzCase c = RefParse::fuzzCase(data, size);
    const FrameParser::LengthBound bound = c.link->bound;
    const RefParse::Result got = RefParse::parseInChunks(c.stream.data(), c.stream.size(), bound, c.reads);
    CalibImuStatus rec[32];
    uint32_t err[32];
    for (const RefParse::Frame &f : got.frames) {
        if (!bound(f.id, uint32_t(f.payload.size())))
            abort();
        storeCalibMessage(CalibMapVariant::Main, f.id, f.payload.data(), uint32_t(f.payload.size()), rec, err);
    }
    const std::string diff = RefParse::differenceFromReference(c.stream, bound, got);
    if (!diff.empty()) {
        std::fprintf(stderr, "parser and reference differ (%s, %zu bytes in %zu read sizes): %s\n", c.link->name,
                     c.stream.size(), c.reads.size(), diff.c_str());
        abort();
    }
    return 0;
}
