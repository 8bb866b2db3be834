#include "CQueueBuffer.h"

#include <cstring>
#include <new>

CQueueBuffer::CQueueBuffer(uint32_t capacity) : m_capacity(capacity)
{
    if (capacity)
        m_data = new (std::nothrow) unsigned char[capacity];
    if (capacity && !m_data) {
        m_capacity = 0;
        m_valid = false;
    }
}

CQueueBuffer::~CQueueBuffer() { delete[] m_data; }

bool CQueueBuffer::EnsureCapacity(uint32_t capacity)
{
    if (capacity <= m_capacity)
        return true;
    unsigned char* grown = new (std::nothrow) unsigned char[capacity];
    if (!grown)
        return false;
    if (m_data && m_length)
        memcpy(grown, m_data, m_length < m_capacity ? m_length : m_capacity);
    delete[] m_data;
    m_data = grown;
    m_capacity = capacity;
    return true;
}
