#include "link/FrameParser.h"

#include <algorithm>
#include <cstring>
#include <functional>

#include "link/DeviceProtocol.h"

namespace {
constexpr uint64_t kNone = UINT64_MAX;
constexpr size_t kHeader = 6; // AA 55, id, length
constexpr size_t kTrailer = 4; // CRC
constexpr uint64_t kCrcStep = 64;
// From this many bytes on a candidate's CRC comes from the registers at its ends.
constexpr uint32_t kLongCrc = 2048;
const auto kStartsLater = std::greater<uint64_t>();
} // namespace

bool FrameParser::mainLinkBound(uint16_t, uint32_t len)
{
    return len >= 1 && len <= 99999;
}

bool FrameParser::rackBound(uint16_t id, uint32_t len)
{
    return len >= 1 && len < max_payload_len(id);
}

bool FrameParser::baseBoardBound(uint16_t, uint32_t len)
{
    return len >= 1 && len <= 9999;
}

FrameParser::FrameParser(LengthBound bound) : m_bound(bound)
{
    m_buf.reserve(4096);
}

void FrameParser::reset()
{
    m_base = held();
    m_buf.clear();
    m_scan = m_base;
    m_pending.clear();
    m_byEnd.clear();
    m_crcMarks.clear();
    m_failedCrc.clear();
    m_failedLength.clear();
    m_ended.clear();
}

void FrameParser::endOfInput()
{
    // The pending candidates never complete; everything behind their starts has been searched,
    // so the failures found there now count like any others.
    m_pending.clear();
    m_byEnd.clear();
    settleFailures(kNone);
    settleEnded();
    reset();
}

uint64_t FrameParser::nextEnd() const
{
    return m_byEnd.empty() ? kNone : m_byEnd.front().end;
}

uint64_t FrameParser::firstPendingStart() const
{
    return m_pending.empty() ? kNone : m_pending.front().start;
}

size_t FrameParser::pendingBytes() const
{
    return size_t(held() - std::min(m_scan, firstPendingStart()));
}

void FrameParser::append(const uint8_t *data, size_t n)
{
    // Drop the bytes nobody needs any more once they are at least as many as those kept, so
    // each byte is moved a bounded number of times. The CRC registers run on from the mark
    // before a candidate's start, so the bytes kept begin at that mark.
    const uint64_t keep = keptFrom(std::min(m_scan, firstPendingStart()));
    const size_t dead = size_t(keep - m_base);
    const size_t live = m_buf.size() - dead;
    if (dead > 0 && dead >= live) {
        if (live)
            std::memmove(m_buf.data(), m_buf.data() + dead, live);
        m_buf.resize(live);
        m_base = keep;
        while (!m_crcMarks.empty() && m_crcOrigin < m_base) {
            m_crcMarks.pop_front();
            m_crcOrigin += kCrcStep;
        }
    }
    m_buf.insert(m_buf.end(), data, data + n);
}

bool FrameParser::advance()
{
    for (;;) {
        scan(std::min(held(), nextEnd()));
        if (nextEnd() > held())
            return false;
        if (complete(nextEnd()))
            return true;
    }
}

void FrameParser::scan(uint64_t limit)
{
    while (m_scan < limit) {
        const uint8_t *p = at(m_scan);
        if (*p != 0xAA) {
            const void *aa = std::memchr(p, 0xAA, size_t(limit - m_scan));
            if (!aa) {
                m_scan = limit;
                return;
            }
            m_scan += uint64_t(static_cast<const uint8_t *>(aa) - p);
            p = at(m_scan);
        }
        if (m_scan + 1 >= limit)
            return; // the byte after the 0xAA has not been reached
        if (p[1] != 0x55) {
            ++m_scan;
            continue;
        }
        if (m_scan + kHeader > limit)
            return;
        const uint16_t id = uint16_t(p[2] | (p[3] << 8));
        const uint32_t len = uint32_t(p[4] | (p[5] << 8));
        const uint64_t start = m_scan++;
        if (!m_bound(id, len)) {
            failed(start, false);
            continue;
        }
        const uint64_t end = start + kHeader + len + kTrailer;
        m_pending.push_back({start, end, id, len, false});
        m_byEnd.push_back(m_pending.back());
        std::push_heap(m_byEnd.begin(), m_byEnd.end(), decidedLater);
        limit = std::min(limit, end);
    }
}

bool FrameParser::complete(uint64_t end)
{
    // Candidates ending here are decided in the order of their starts, as a parser that waits
    // for each one would decide them.
    while (!m_byEnd.empty() && m_byEnd.front().end == end) {
        const Candidate c = m_byEnd.front();
        std::pop_heap(m_byEnd.begin(), m_byEnd.end(), decidedLater);
        m_byEnd.pop_back();
        if (crcGood(c)) {
            // This frame comes out now: the candidates pending before it end as failed (counted
            // once their bytes have passed, as they would have failed then), the failures found
            // behind them count now, and nothing inside this frame is looked at again.
            const bool afterGood = m_counters.good > 0;
            for (const Candidate &k : m_pending) {
                if (k.start >= c.start)
                    break;
                if (k.failed)
                    continue;
                m_ended.push_back({k.end, afterGood});
                std::push_heap(m_ended.begin(), m_ended.end(), endsLater);
            }
            settleFailures(c.start);
            m_failedCrc.clear();
            m_failedLength.clear();
            m_pending.clear();
            m_byEnd.clear();
            m_scan = end;
            ++m_counters.good;
            m_ready = c;
            return true;
        }
        // The starts are in order: find it by halves and mark it; the failed ones at the
        // front go.
        const auto it = std::lower_bound(m_pending.begin(), m_pending.end(), c.start,
                                         [](const Candidate &k, uint64_t s) { return k.start < s; });
        it->failed = true;
        dropFailedFront();
        failed(c.start, true);
        settleFailures(firstPendingStart());
    }
    return false;
}

bool FrameParser::crcGood(const Candidate &c)
{
    const uint32_t n = uint32_t(kHeader) + c.len;
    const uint8_t *r = at(c.start) + n;
    const uint32_t rx = uint32_t(r[0]) | uint32_t(r[1]) << 8 | uint32_t(r[2]) << 16 | uint32_t(r[3]) << 24;
    if (n < kLongCrc)
        return crc32_update(1, at(c.start), n) == rx;
    const uint32_t atStart = registerAt(c.start);
    return (registerAt(c.start + n) ^ crc32_zeros(atStart ^ 1, n)) == rx;
}

uint64_t FrameParser::keptFrom(uint64_t needed) const
{
    // The marks from the last one at or before the first byte needed stay usable; when even
    // the last mark lies before it, the compaction drops them all and they start afresh.
    if (m_crcMarks.empty() || needed <= m_crcOrigin)
        return needed;
    const uint64_t k = (needed - m_crcOrigin) / kCrcStep;
    return k < m_crcMarks.size() ? m_crcOrigin + k * kCrcStep : needed;
}

uint32_t FrameParser::registerAt(uint64_t pos)
{
    // Start afresh at the first pending candidate when the marks are gone or begin behind pos
    // (the first mark never lies before the first byte held).
    if (m_crcMarks.empty() || pos < m_crcOrigin) {
        m_crcOrigin = std::min(pos, firstPendingStart());
        m_crcMarks.assign(1, 0);
    }
    const size_t k = size_t((pos - m_crcOrigin) / kCrcStep);
    while (m_crcMarks.size() <= k) {
        const uint64_t from = m_crcOrigin + (m_crcMarks.size() - 1) * kCrcStep;
        m_crcMarks.push_back(crc32_update(m_crcMarks.back(), at(from), kCrcStep));
    }
    const uint64_t mark = m_crcOrigin + k * kCrcStep;
    return crc32_update(m_crcMarks[k], at(mark), size_t(pos - mark));
}

void FrameParser::dropFailedFront()
{
    while (!m_pending.empty() && m_pending.front().failed)
        m_pending.pop_front();
}

void FrameParser::failed(uint64_t start, bool crc)
{
    // Behind a pending candidate a failure only counts once that candidate has failed too: a
    // good one would have covered it.
    if (start < firstPendingStart()) {
        if (crc)
            countCrcFailure(m_counters.good > 0);
        else
            ++m_counters.badLength;
    } else {
        std::vector<uint64_t> &list = crc ? m_failedCrc : m_failedLength;
        list.push_back(start);
        std::push_heap(list.begin(), list.end(), kStartsLater);
    }
}

void FrameParser::settleFailures(uint64_t before)
{
    // Counts the failures that start before the given position.
    const bool afterGood = m_counters.good > 0;
    while (!m_failedCrc.empty() && m_failedCrc.front() < before) {
        countCrcFailure(afterGood);
        std::pop_heap(m_failedCrc.begin(), m_failedCrc.end(), kStartsLater);
        m_failedCrc.pop_back();
    }
    while (!m_failedLength.empty() && m_failedLength.front() < before) {
        ++m_counters.badLength;
        std::pop_heap(m_failedLength.begin(), m_failedLength.end(), kStartsLater);
        m_failedLength.pop_back();
    }
}

void FrameParser::settleEnded()
{
    while (!m_ended.empty() && m_ended.front().end <= held()) {
        countCrcFailure(m_ended.front().afterGood);
        std::pop_heap(m_ended.begin(), m_ended.end(), endsLater);
        m_ended.pop_back();
    }
}

void FrameParser::countCrcFailure(bool afterGood)
{
    ++m_counters.badCrc;
    if (afterGood)
        ++m_counters.badCrcAfterGood;
}
