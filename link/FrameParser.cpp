#include "link/FrameParser.h"

#include <algorithm>
#include <cstring>

#include "link/DeviceProtocol.h"

namespace {
constexpr uint64_t kNone = UINT64_MAX;
constexpr size_t kHeader = 6; // AA 55, id, length
constexpr size_t kTrailer = 4; // CRC
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
    m_nextEnd = kNone;
    m_pending.clear();
    m_failedCrc.clear();
    m_failedLength.clear();
    m_ended.clear();
}

void FrameParser::endOfInput()
{
    // The pending candidates never complete; everything behind their starts has been searched,
    // so the failures found there now count like any others.
    m_pending.clear();
    m_nextEnd = kNone;
    settleFailures();
    settleEnded();
    reset();
}

size_t FrameParser::pendingBytes() const
{
    uint64_t from = m_scan;
    if (!m_pending.empty())
        from = std::min(from, m_pending.front().start);
    return size_t(held() - from);
}

void FrameParser::append(const uint8_t *data, size_t n)
{
    // Drop the bytes nobody needs any more once they are at least as many as those kept, so
    // each byte is moved a bounded number of times.
    uint64_t keep = m_scan;
    if (!m_pending.empty())
        keep = std::min(keep, m_pending.front().start);
    const size_t dead = size_t(keep - m_base);
    const size_t live = m_buf.size() - dead;
    if (dead > 0 && dead >= live) {
        if (live)
            std::memmove(m_buf.data(), m_buf.data() + dead, live);
        m_buf.resize(live);
        m_base = keep;
    }
    m_buf.insert(m_buf.end(), data, data + n);
}

bool FrameParser::advance()
{
    for (;;) {
        scan(std::min(held(), m_nextEnd));
        if (m_nextEnd > held())
            return false;
        if (complete(m_nextEnd))
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
        m_pending.push_back({start, end, id, len});
        if (end < m_nextEnd)
            m_nextEnd = end;
        limit = std::min(limit, end);
    }
}

bool FrameParser::complete(uint64_t end)
{
    // Candidates ending here are decided in the order of their starts, as a parser that waits
    // for each one would decide them.
    for (size_t i = 0; i < m_pending.size();) {
        const Candidate c = m_pending[i];
        if (c.end != end) {
            ++i;
            continue;
        }
        const uint8_t *f = at(c.start);
        const uint8_t *r = f + kHeader + c.len;
        const uint32_t rx = uint32_t(r[0]) | uint32_t(r[1]) << 8 | uint32_t(r[2]) << 16 | uint32_t(r[3]) << 24;
        if (crc32_update(1, f, kHeader + c.len) == rx) {
            // This frame comes out now: the candidates pending before it end as failed (counted
            // once their bytes have passed, as they would have failed then), the failures found
            // behind them count now, and nothing inside this frame is looked at again.
            const bool afterGood = m_counters.good > 0;
            for (size_t k = 0; k < i; ++k) {
                m_ended.push_back({m_pending[k].end, afterGood});
                std::push_heap(m_ended.begin(), m_ended.end(), endsLater);
            }
            for (uint64_t s : m_failedCrc)
                if (s < c.start)
                    countCrcFailure(afterGood);
            for (uint64_t s : m_failedLength)
                if (s < c.start)
                    ++m_counters.badLength;
            m_failedCrc.clear();
            m_failedLength.clear();
            m_pending.clear();
            m_nextEnd = kNone;
            m_scan = end;
            ++m_counters.good;
            m_ready = c;
            return true;
        }
        m_pending.erase(m_pending.begin() + std::ptrdiff_t(i));
        failed(c.start, true);
        settleFailures();
    }
    m_nextEnd = kNone;
    for (const Candidate &c : m_pending)
        m_nextEnd = std::min(m_nextEnd, c.end);
    return false;
}

void FrameParser::failed(uint64_t start, bool crc)
{
    // Behind a pending candidate a failure only counts once that candidate has failed too: a
    // good one would have covered it.
    if (m_pending.empty() || start < m_pending.front().start) {
        if (crc)
            countCrcFailure(m_counters.good > 0);
        else
            ++m_counters.badLength;
    } else {
        (crc ? m_failedCrc : m_failedLength).push_back(start);
    }
}

void FrameParser::settleFailures()
{
    const uint64_t first = m_pending.empty() ? kNone : m_pending.front().start;
    const bool afterGood = m_counters.good > 0;
    auto settle = [&](std::vector<uint64_t> &list, bool crc) {
        size_t kept = 0;
        for (uint64_t s : list) {
            if (s < first) {
                if (crc)
                    countCrcFailure(afterGood);
                else
                    ++m_counters.badLength;
            } else {
                list[kept++] = s;
            }
        }
        list.resize(kept);
    };
    settle(m_failedCrc, true);
    settle(m_failedLength, false);
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
