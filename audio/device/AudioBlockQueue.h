#pragma once
#include <cstdint>

#include "CAudioBlock.h"

namespace SonvexDevice {

// The echo canceller's three-slot block queue with its spare list. Blocks
// move between slots and spares by pointer; the queue owns all of them.
class AudioBlockQueue
{
public:
    enum { SLOTS = 3, SPARE_SLOTS = 4 };

    AudioBlockQueue() = default;
    virtual ~AudioBlockQueue();

    AudioBlockQueue(const AudioBlockQueue&) = delete;
    AudioBlockQueue& operator=(const AudioBlockQueue&) = delete;

    // Makes the given number of spare blocks of the given length.
    bool Create(int spares, uint32_t length);
    // When all slots are full, the oldest block moves to the spare list first.
    void Push(CAudioBlock* block);
    // The first spare leaves the spare list; null when there is none.
    CAudioBlock* TakeSpare();
    // The block of slot i moves to the end of the spare list; later slots move up.
    void Drop(int i);
    int Count() const { return m_count; }
    int SpareCount() const { return m_spareCount; }
    CAudioBlock* At(int i) const { return (i >= 0 && i < m_count) ? m_slots[i] : nullptr; }

private:
    void AddSpare(CAudioBlock* block);

    CAudioBlock* m_slots[SLOTS] = {};
    int m_count = 0;
    CAudioBlock* m_spares[SPARE_SLOTS] = {};
    int m_spareCount = 0;
};

} // namespace SonvexDevice
