#include "CSequencedBuffer.h"

#include <cstring>
#include <new>

namespace AudioCommon {

CSequencedBuffer::CSequencedBuffer(uint32_t capacity)
{
    if (capacity) {
        m_data = new (std::nothrow) uint8_t[capacity];
        m_capacity = m_data ? capacity : 0;
    }
}

CSequencedBuffer::~CSequencedBuffer() { delete[] m_data; }

bool CSequencedBuffer::SetData(const void* bytes, uint32_t length)
{
    if (length > m_capacity) {
        delete[] m_data;
        m_capacity = 0;
        m_length = 0;
        m_data = new (std::nothrow) uint8_t[length];
        if (!m_data)
            return false;
        m_capacity = length;
    }
    if (length && bytes)
        memcpy(m_data, bytes, length);
    m_length = length;
    return true;
}

} // namespace AudioCommon
