#pragma once
#include <atomic>
#include <cstdint>

#include "CBufferPool.h"

// The sender's queue between the engine's thread and the send thread: a
// pool of buffers that grow to the largest entry written into them, with a
// count of filled entries and a discard of waiting entries.
class CVideoFrameQueue
{
public:
    explicit CVideoFrameQueue(uint32_t count);

    CQueueBuffer* GetFree(uint32_t timeoutMs) { return m_pool.GetFree(timeoutMs); }
    void PutFree(CQueueBuffer* buffer) { m_pool.PutFree(buffer); }
    CQueueBuffer* GetFilled(uint32_t timeoutMs);
    void PutFilled(CQueueBuffer* buffer);

    // Writes the 32-bit little-endian stream id and the frame into a free
    // buffer taken without waiting and queues it; false when no buffer is
    // free or it cannot grow.
    bool Push(uint32_t streamId, const uint8_t* frame, uint32_t length);
    // Moves up to n waiting entries, oldest first, back to the free list
    // without waiting; returns how many.
    uint32_t Discard(uint32_t n);
    uint32_t GetFilledCount() const { return m_filled.load(); }
    uint32_t GetCount() const { return m_pool.GetCount(); }

private:
    CBufferPool m_pool;
    std::atomic<uint32_t> m_filled{0};
};
