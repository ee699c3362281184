#include "link/FrameParser.h"

#include "link/DeviceProtocol.h"

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
    m_frame.reserve(4096);
}

void FrameParser::reset()
{
    m_state = WaitAA;
    m_frame.clear();
    m_replay.clear();
    m_replayPos = 0;
    m_failed = false;
}

void FrameParser::fail()
{
    m_state = WaitAA;
    m_failed = true;
}

bool FrameParser::step(uint8_t b)
{
    switch (m_state) {
    case WaitAA:
        if (b == 0xAA) {
            m_frame.clear();
            m_frame.push_back(b);
            m_state = Wait55;
        }
        return false;
    case Wait55:
        if (b == 0x55) {
            m_frame.push_back(b);
            m_state = IdLo;
        } else if (b == 0xAA) {
            m_frame.clear();
            m_frame.push_back(b);
        } else {
            m_frame.clear();
            m_state = WaitAA;
        }
        return false;
    case IdLo:
        m_frame.push_back(b);
        m_state = IdHi;
        return false;
    case IdHi:
        m_frame.push_back(b);
        m_id = uint16_t(m_frame[2] | (b << 8));
        m_state = LenLo;
        return false;
    case LenLo:
        m_frame.push_back(b);
        m_state = LenHi;
        return false;
    case LenHi:
        m_frame.push_back(b);
        m_len = uint32_t(m_frame[4] | (b << 8));
        if (!m_bound(m_id, m_len)) {
            ++m_counters.badLength;
            fail();
        } else {
            m_state = Payload;
        }
        return false;
    case Payload: // handled in bulk by feed()
        return false;
    case Crc:
        m_frame.push_back(b);
        m_rxCrc |= uint32_t(b) << (8 * m_crcBytes);
        if (++m_crcBytes < 4)
            return false;
        m_state = WaitAA;
        if (m_rxCrc == m_crc)
            return true;
        ++m_counters.badCrc;
        fail();
        return false;
    }
    return false;
}
