#pragma once
#include <windows.h>

#include <cstdint>
#include <deque>
#include <vector>

#include "SequencedBuffer.h"

namespace SonvexFilterCore {

// A fixed pool of buffers with a free list and a filled list, each under its
// own lock and counted by a semaphore, and a stop event; the filled list is
// kept in sequence-number order, counting with wrap-around.
class SequencedQueue
{
public:
    SequencedQueue(uint32_t count, uint32_t size);
    virtual ~SequencedQueue();

    SequencedQueue(const SequencedQueue&) = delete;
    SequencedQueue& operator=(const SequencedQueue&) = delete;

    // Head of the list, or null on stop, time-out or an empty list.
    SequencedBuffer* GetFree(uint32_t timeoutMs);
    SequencedBuffer* GetFilled(uint32_t timeoutMs);
    void PutFree(SequencedBuffer* buffer);
    // Queues the buffer behind every buffer that comes before it. A
    // duplicate sequence goes back to the free list and gives 0.
    int PutFilledInOrder(SequencedBuffer* buffer);
    // Moves up to n filled buffers back to the free list, the oldest first
    // (newest = false) or the newest first. Returns how many were moved.
    int DropFilled(int n, bool newest);
    void Stop();

    uint32_t GetCount() const { return m_count; }
    uint32_t GetFilledCount();
    uint32_t GetFreeCount();
    uint32_t GetFilledPercent();
    // Sequence numbers of the filled list, head first (for tests and traces).
    std::vector<uint32_t> GetFilledSequences();

private:
    uint32_t m_count;
    CRITICAL_SECTION m_freeLock;
    CRITICAL_SECTION m_filledLock;
    std::deque<SequencedBuffer*> m_free;
    std::deque<SequencedBuffer*> m_filled;
    std::vector<SequencedBuffer*> m_all;
    HANDLE m_freeSemaphore = nullptr;
    HANDLE m_filledSemaphore = nullptr;
    HANDLE m_stopEvent = nullptr;
};

} // namespace SonvexFilterCore
