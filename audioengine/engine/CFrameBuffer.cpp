#include "CFrameBuffer.h"

#include <cstring>
#include <new>

namespace RavoEngine {

CFrameBuffer::~CFrameBuffer()
{
    delete[] m_data;
}

bool CFrameBuffer::SetData(const uint8_t* bytes, uint32_t length)
{
    if (length > m_capacity) {
        delete[] m_data;
        m_data = nullptr;
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

} // namespace RavoEngine
