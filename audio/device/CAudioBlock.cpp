#include "CAudioBlock.h"

#include <cstring>
#include <new>

namespace SonvexDevice {

CAudioBlock::CAudioBlock(uint32_t length)
{
    m_data = new (std::nothrow) uint8_t[length ? length : 1];
    if (m_data) {
        memset(m_data, 0, length ? length : 1);
        m_length = length;
    }
}

CAudioBlock::~CAudioBlock() { delete[] m_data; }

void CAudioBlock::Stamp(int32_t kind, uint32_t sequence, uint32_t timeStamp)
{
    m_kind = kind;
    m_sequence = sequence;
    m_timeStamp = timeStamp;
    m_voice = -1;
}

} // namespace SonvexDevice
