#include "AudioBlockQueue.h"

namespace SonvexDevice {

AudioBlockQueue::~AudioBlockQueue()
{
    for (int i = 0; i < m_count; ++i)
        delete m_slots[i];
    for (int i = 0; i < m_spareCount; ++i)
        delete m_spares[i];
}

bool AudioBlockQueue::Create(int spares, uint32_t length)
{
    for (int i = 0; i < spares && m_spareCount < SPARE_SLOTS; ++i) {
        CAudioBlock* block = new CAudioBlock(length);
        if (block->m_length != length) {
            delete block;
            return false;
        }
        m_spares[m_spareCount++] = block;
    }
    return true;
}

void AudioBlockQueue::AddSpare(CAudioBlock* block)
{
    if (m_spareCount < SPARE_SLOTS)
        m_spares[m_spareCount++] = block;
    else
        delete block; // never reached: the blocks in play are fewer than the spare slots
}

void AudioBlockQueue::Push(CAudioBlock* block)
{
    if (!block)
        return;
    if (m_count == SLOTS)
        Drop(0);
    m_slots[m_count++] = block;
}

CAudioBlock* AudioBlockQueue::TakeSpare()
{
    if (m_spareCount == 0)
        return nullptr;
    CAudioBlock* block = m_spares[0];
    for (int i = 1; i < m_spareCount; ++i)
        m_spares[i - 1] = m_spares[i];
    m_spares[--m_spareCount] = nullptr;
    return block;
}

void AudioBlockQueue::Drop(int i)
{
    if (i < 0 || i >= m_count)
        return;
    CAudioBlock* block = m_slots[i];
    for (int k = i + 1; k < m_count; ++k)
        m_slots[k - 1] = m_slots[k];
    m_slots[--m_count] = nullptr;
    AddSpare(block);
}

} // namespace SonvexDevice
