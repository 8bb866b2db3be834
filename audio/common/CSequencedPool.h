#pragma once
#include <windows.h>

#include <cstdint>
#include <deque>
#include <vector>

#include "CSequencedBuffer.h"

namespace AudioCommon {

// The packet queue of an audio source: a fixed pool of buffers handed
// between threads through a free list and a filled list, each under its own
// lock and counted by a semaphore, with a stop event that wakes every
// waiter. The filled list can be kept in sequence-number order, counting
// with wrap-around, so that it serves as a jitter buffer.
class CSequencedPool
{
public:
    // count buffers, each made with size bytes (0: they grow on first use).
    explicit CSequencedPool(uint32_t count, uint32_t size = 0);
    virtual ~CSequencedPool();

    CSequencedPool(const CSequencedPool&) = delete;
    CSequencedPool& operator=(const CSequencedPool&) = delete;

    // The head of the list, or null on stop or time-out.
    CSequencedBuffer* GetFree(uint32_t timeoutMs);
    CSequencedBuffer* GetFilled(uint32_t timeoutMs);
    // Append at the tail; a null buffer is ignored.
    void PutFree(CSequencedBuffer* buffer);
    void PutFilled(CSequencedBuffer* buffer);
    // Inserts the buffer before the first one whose number comes after its
    // own in circular order (within twice the buffer count). A buffer whose
    // number is already queued goes back to the free list and gives false.
    bool PutFilledInOrder(CSequencedBuffer* buffer);
    // Moves up to count filled buffers back to the free list without
    // waiting, the oldest (head) first or the newest (tail) first; stops
    // early on an empty list or once stopped. Returns how many were moved.
    uint32_t DropFilled(uint32_t count, bool newest);
    // Every filled buffer back to the free list.
    void DropAll() { DropFilled(m_count, false); }
    // After this every wait returns null at once.
    void Stop();

    uint32_t GetCount() const { return m_count; }
    uint32_t GetFilledCount() const;
    uint32_t GetFreeCount() const;
    // Filled count x 100 / buffer count; 0 for a pool of no buffers.
    uint32_t GetFilledPercent() const;
    // Sequence numbers of the filled list, head first (for tests and logs).
    std::vector<uint32_t> FilledSequences() const;

private:
    uint32_t m_count;
    std::vector<CSequencedBuffer*> m_all;
    std::deque<CSequencedBuffer*> m_free;
    std::deque<CSequencedBuffer*> m_filled;
    // Always taken in this order when both are held.
    mutable CRITICAL_SECTION m_filledLock;
    mutable CRITICAL_SECTION m_freeLock;
    HANDLE m_freeSemaphore = nullptr;
    HANDLE m_filledSemaphore = nullptr;
    HANDLE m_stopEvent = nullptr;
};

} // namespace AudioCommon
