#pragma once
#include <windows.h>

#include <cstdint>
#include <list>
#include <vector>

#include "CFrameBuffer.h"

namespace RavoEngine {

// A source's frame queue: a fixed pool of frame buffers with a free list and
// a filled list (each under its own lock, counted by a semaphore) and a stop
// event. The filled list can be kept in sequence order.
class CFramePool
{
public:
    explicit CFramePool(uint32_t count);
    ~CFramePool();

    CFramePool(const CFramePool&) = delete;
    CFramePool& operator=(const CFramePool&) = delete;

    // The head of the list, or null on stop or time-out.
    CFrameBuffer* GetFree(uint32_t timeoutMs);
    CFrameBuffer* GetFilled(uint32_t timeoutMs);
    void PutFree(CFrameBuffer* buffer);
    // Appends at the tail.
    void PutFilled(CFrameBuffer* buffer);
    // Inserts before the first buffer that comes after it in circular
    // sequence order; a buffer with the same number goes back to the free
    // list and gives false.
    bool PutFilledInOrder(CFrameBuffer* buffer);
    // Moves up to count buffers from the newest (tail) or the oldest (head)
    // of the filled list to the free list, without waiting.
    void DropFilled(uint32_t count, bool newest);
    // Every filled buffer back to the free list.
    void DropAll();

    uint32_t GetFilledCount() const;
    uint32_t GetFillPercent() const;
    uint32_t GetCount() const { return m_count; }

    // Sequence numbers of the filled list, head first (for tests and logs).
    std::vector<uint32_t> FilledSequences() const;

    void Stop();

private:
    uint32_t m_count;
    std::vector<CFrameBuffer*> m_all;
    std::list<CFrameBuffer*> m_free;
    std::list<CFrameBuffer*> m_filled;
    mutable CRITICAL_SECTION m_freeLock;
    mutable CRITICAL_SECTION m_filledLock;
    HANDLE m_freeSemaphore = nullptr;
    HANDLE m_filledSemaphore = nullptr;
    HANDLE m_stopEvent = nullptr;
};

} // namespace RavoEngine
