#include "SequencedBuffer.h"

#include <cstring>
#include <new>

namespace SonvexFilterCore {

SequencedBuffer::SequencedBuffer(uint32_t capacity)
{
    if (capacity) {
        m_data = new (std::nothrow) unsigned char[capacity];
        m_capacity = m_data ? capacity : 0;
    }
}

SequencedBuffer::~SequencedBuffer()
{
    delete[] m_data;
}

bool SequencedBuffer::CopyFrom(const void* data, uint32_t length)
{
    if (length > m_capacity) {
        delete[] m_data;
        m_data = new (std::nothrow) unsigned char[length];
        m_capacity = m_data ? length : 0;
        if (!m_data) {
            m_length = 0;
            return false;
        }
    }
    if (length && data)
        memcpy(m_data, data, length);
    m_length = length;
    return true;
}

} // namespace SonvexFilterCore
