#pragma once
// The one byte-wise parser of the module frame (MSG_STRUCT_FRAME):
//   AA 55 | u16 id | u16 length | payload | u32 CRC-32 (start 1, over header and payload)
// used by every link, the replay and the offline decoder. Each user chooses the length bound.
//
// A second 0xAA while waiting for 0x55 restarts the frame. When a frame fails (refused length
// or bad CRC), the search resumes at the byte after its 0xAA, so a false start in noise never
// swallows the good frames that follow it.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "app/Crc.h"

struct FrameCounters {
    uint64_t good = 0;      // frames with a good CRC
    uint64_t badCrc = 0;    // frames whose CRC failed
    uint64_t badLength = 0; // headers whose length was refused
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
    // payload pointer is valid during the call only.
    template <class OnFrame> void feed(const uint8_t *data, size_t n, OnFrame &&onFrame);
    void feed(const uint8_t *data, size_t n,
              const std::function<void(uint16_t, const uint8_t *, uint32_t)> &onFrame)
    {
        feed<const std::function<void(uint16_t, const uint8_t *, uint32_t)> &>(data, n, onFrame);
    }

    void reset();
    const FrameCounters &counters() const { return m_counters; }
    // Bytes held for a frame not yet complete (dropped at the end of a file).
    size_t pendingBytes() const { return m_frame.size(); }

private:
    enum State : uint8_t { WaitAA, Wait55, IdLo, IdHi, LenLo, LenHi, Payload, Crc };
    // Returns true when a frame completed with a good CRC (frame bytes in m_frame).
    bool step(uint8_t b);
    void fail();

    LengthBound m_bound;
    State m_state = WaitAA;
    uint16_t m_id = 0;
    uint32_t m_len = 0;
    uint32_t m_crc = 1;
    uint32_t m_rxCrc = 0;
    int m_crcBytes = 0;
    std::vector<uint8_t> m_frame;  // bytes of the current candidate, from its 0xAA
    std::vector<uint8_t> m_replay; // bytes to search again after a failed candidate
    size_t m_replayPos = 0;
    bool m_failed = false;
    FrameCounters m_counters;
};

template <class OnFrame> void FrameParser::feed(const uint8_t *data, size_t n, OnFrame &&onFrame)
{
    size_t i = 0;
    for (;;) {
        const uint8_t *src;
        size_t avail;
        bool fromReplay = m_replayPos < m_replay.size();
        if (fromReplay) {
            src = m_replay.data() + m_replayPos;
            avail = m_replay.size() - m_replayPos;
        } else {
            if (!m_replay.empty()) {
                m_replay.clear();
                m_replayPos = 0;
            }
            if (i >= n)
                return;
            src = data + i;
            avail = n - i;
        }
        size_t k = 0;
        while (k < avail) {
            // Fast paths: skip noise up to the next 0xAA; copy payload runs in bulk.
            if (m_state == WaitAA) {
                while (k < avail && src[k] != 0xAA)
                    ++k;
                if (k == avail)
                    break;
            } else if (m_state == Payload) {
                const size_t want = m_len + 6 - m_frame.size();
                const size_t take = want < avail - k ? want : avail - k;
                m_frame.insert(m_frame.end(), src + k, src + k + take);
                k += take;
                if (m_frame.size() == m_len + 6) {
                    m_crc = crc32_update(1, m_frame.data(), m_frame.size());
                    m_rxCrc = 0;
                    m_state = Crc;
                    m_crcBytes = 0;
                }
                continue;
            }
            const bool done = step(src[k++]);
            if (done) {
                ++m_counters.good;
                if (fromReplay) m_replayPos += k; else i += k;
                onFrame(m_id, m_frame.data() + 6, m_len);
                m_frame.clear();
                goto next;
            }
            if (m_failed) {
                m_failed = false;
                // Search again from the byte after the failed candidate's 0xAA, before any
                // byte not yet looked at.
                std::vector<uint8_t> again(m_frame.begin() + 1, m_frame.end());
                m_frame.clear();
                if (fromReplay)
                    again.insert(again.end(), src + k, src + avail);
                else
                    i += k;
                m_replay.swap(again);
                m_replayPos = 0;
                goto next;
            }
        }
        if (fromReplay) m_replayPos += k; else i += k;
    next:;
    }
}
