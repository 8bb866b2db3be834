#pragma once
#include <windows.h>

#include <cstdint>
#include <deque>
#include <vector>

#include "CQueueBuffer.h"

// A fixed pool of buffers handed between a producer and a consumer thread:
// a free list and a filled list, each under its own lock and counted by a
// semaphore, and a stop event that wakes every waiter at once.
class CBufferPool
{
public:
    CBufferPool(uint32_t count, uint32_t size);
    virtual ~CBufferPool();

    CBufferPool(const CBufferPool&) = delete;
    CBufferPool& operator=(const CBufferPool&) = delete;

    // The head of the list, or null on stop, time-out or failure.
    CQueueBuffer* GetFree(uint32_t timeoutMs);
    CQueueBuffer* GetFilled(uint32_t timeoutMs);

    void PutFree(CQueueBuffer* buffer);
    void PutFilled(CQueueBuffer* buffer);

    void Stop();

    // Entries in the filled list now; stopping leaves them there.
    uint32_t GetFilledCount();

    uint32_t GetCount() const { return m_count; }
    uint32_t GetBufferSize() const { return m_bufferSize; }
    // Buffers that could really be allocated; at most GetCount().
    uint32_t GetOwnedCount() const { return static_cast<uint32_t>(m_owned.size()); }

private:
    CQueueBuffer* Take(HANDLE semaphore, CRITICAL_SECTION* lock, std::deque<CQueueBuffer*>& list,
                       uint32_t timeoutMs);
    void Put(HANDLE semaphore, CRITICAL_SECTION* lock, std::deque<CQueueBuffer*>& list,
             CQueueBuffer* buffer);

    uint32_t m_count;
    uint32_t m_bufferSize;
    CRITICAL_SECTION m_freeLock;
    CRITICAL_SECTION m_filledLock;
    std::deque<CQueueBuffer*> m_filled;
    std::deque<CQueueBuffer*> m_free;
    std::vector<CQueueBuffer*> m_owned;
    HANDLE m_filledSemaphore = nullptr;
    HANDLE m_freeSemaphore = nullptr;
    HANDLE m_stopEvent = nullptr;
};
