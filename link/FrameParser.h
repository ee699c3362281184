#pragma once
// The one byte-wise parser of the module frame (MSG_STRUCT_FRAME):
//   AA 55 | u16 id | u16 length | payload | u32 CRC-32 (start 1, over header and payload)
// used by every link, the replay and the offline decoder. Each user chooses the length bound.
//
// Every "AA 55" starts a candidate frame. A candidate whose length is refused or whose CRC
// fails is dropped and the search resumes at the byte after its 0xAA, so a false start never
// swallows the good frames behind it. While a long candidate waits for its bytes, the bytes
// behind its start are searched as well: a frame that completes with a good CRC inside a
// pending candidate comes out at once and ends that candidate as failed. The frames and counts
// are those of a parser that waits for each candidate to complete and rescans after every
// failure; only a good frame lying wholly inside a candidate that itself passes its CRC (about
// 2^-32 per candidate) comes out in place of that candidate.
//
// Each byte costs a bounded amount of work however many candidates are pending: they are kept
// by start and in a heap by end, and a long candidate's CRC comes from CRC registers kept
// along the stream rather than from a pass over its bytes, so input made only of false starts
// (each one's bytes covered by thousands of others) parses at the speed of plain data.
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <vector>

#include "app/Crc.h"

struct FrameCounters {
    uint64_t good = 0;            // frames with a good CRC
    uint64_t badCrc = 0;          // frames whose CRC failed
    uint64_t badLength = 0;       // headers whose length was refused
    uint64_t badCrcAfterGood = 0; // of badCrc: those that came after the first good frame
    uint64_t bad() const { return badCrc + badLength; }
};

class FrameParser {
public:
    // Accepts a payload length for a message id.
    using LengthBound = bool (*)(uint16_t id, uint32_t length);
    static bool mainLinkBound(uint16_t id, uint32_t len);  // 1 .. 99,999
    static bool rackBound(uint16_t id, uint32_t len);      // 1 .. max_payload_len(id) - 1
    static bool baseBoardBound(uint16_t id, uint32_t len); // 1 .. 9,999

    explicit FrameParser(LengthBound bound = mainLinkBound);

    // Feeds bytes; calls onFrame(id, payload, length) for every frame with a good CRC. The
    // payload pointer is valid during the call only; onFrame must not feed this parser.
    template <class OnFrame> void feed(const uint8_t *data, size_t n, OnFrame &&onFrame);
    void feed(const uint8_t *data, size_t n,
              const std::function<void(uint16_t, const uint8_t *, uint32_t)> &onFrame)
    {
        feed<const std::function<void(uint16_t, const uint8_t *, uint32_t)> &>(data, n, onFrame);
    }

    // The input has ended (end of a file): candidates still incomplete are dropped without
    // being counted, and the search behind them is complete. The parser starts afresh after.
    void endOfInput();
    // Forgets every byte held; the counters stay.
    void reset();
    const FrameCounters &counters() const { return m_counters; }
    // Bytes held for frames not yet complete.
    size_t pendingBytes() const;

private:
    struct Candidate {
        uint64_t start; // stream position of its 0xAA
        uint64_t end;   // one past its last CRC byte
        uint16_t id;
        uint32_t len;
        bool failed;    // decided as failed, still held for the order of the starts
    };
    struct Ended {      // a candidate ended by a good frame inside it, counted at its own end
        uint64_t end;
        bool afterGood;
    };
    static bool endsLater(const Ended &a, const Ended &b) { return a.end > b.end; }
    // The heap of the pending candidates: the earliest end first, by start among equal ends.
    static bool decidedLater(const Candidate &a, const Candidate &b)
    {
        return a.end != b.end ? a.end > b.end : a.start > b.start;
    }

    void append(const uint8_t *data, size_t n);
    // Runs the search up to the next good frame (true: it is in m_ready) or the end of the
    // bytes held (false).
    bool advance();
    void scan(uint64_t limit);
    bool complete(uint64_t end);
    void failed(uint64_t start, bool crc);
    void dropFailedFront();
    uint64_t firstPendingStart() const;
    // The earliest end among the pending candidates (none: UINT64_MAX).
    uint64_t nextEnd() const;
    void settleFailures(uint64_t before);
    void settleEnded();
    void countCrcFailure(bool afterGood);
    bool crcGood(const Candidate &c);
    uint32_t registerAt(uint64_t pos);
    // Where the bytes kept by a compaction start, given the first byte still needed: at the
    // mark before it when marks run over it, so every mark refers to a byte held.
    uint64_t keptFrom(uint64_t needed) const;
    const uint8_t *at(uint64_t pos) const { return m_buf.data() + (pos - m_base); }
    uint64_t held() const { return m_base + m_buf.size(); }

    LengthBound m_bound;
    std::vector<uint8_t> m_buf;          // the bytes from stream position m_base on
    uint64_t m_base = 0;
    uint64_t m_scan = 0;                 // next position to examine for a start
    // Candidates waiting for bytes: by start (the first one not failed), and as a heap by end,
    // so each candidate costs a bounded number of steps however many are pending.
    std::deque<Candidate> m_pending;
    std::vector<Candidate> m_byEnd;
    // Starts of failures behind a pending candidate, min-heaps: each counts once every
    // candidate before it has failed.
    std::vector<uint64_t> m_failedCrc;
    std::vector<uint64_t> m_failedLength;
    std::vector<Ended> m_ended;          // a min-heap by end
    // CRC registers run from 0 over the bytes from m_crcOrigin on, one every kCrcStep bytes:
    // a long candidate's CRC follows from those at its two ends in a few steps, so candidates
    // that overlap (false starts one behind the other) do not each pass over the same bytes.
    // The first mark never lies before m_base: a register is run on from a mark over the bytes
    // behind it.
    std::deque<uint32_t> m_crcMarks;
    uint64_t m_crcOrigin = 0;
    Candidate m_ready{};
    FrameCounters m_counters;
};

template <class OnFrame> void FrameParser::feed(const uint8_t *data, size_t n, OnFrame &&onFrame)
{
    append(data, n);
    while (advance())
        onFrame(m_ready.id, at(m_ready.start) + 6, m_ready.len);
    settleEnded();
}
