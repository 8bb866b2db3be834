#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "WireWriter.h"

// A message under construction: code first, then fields at their offsets.
class CServerMessage
{
public:
    CServerMessage(uint16_t code, size_t length) : m_bytes(length, 0), m_out(m_bytes.data(), length)
    {
        m_out.U16(code);
    }
    CServerMessage(const CServerMessage&) = delete;
    CServerMessage& operator=(const CServerMessage&) = delete;

    WireWriter& At(size_t offset)
    {
        m_out.Seek(offset);
        return m_out;
    }
    const std::vector<uint8_t>& Bytes() const { return m_bytes; }

private:
    std::vector<uint8_t> m_bytes;
    WireWriter m_out;
};
