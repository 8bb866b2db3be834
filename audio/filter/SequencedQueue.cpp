#include "SequencedQueue.h"

#include <new>

#include "CScopedLock.h"

namespace SonvexFilterCore {

SequencedQueue::SequencedQueue(uint32_t count, uint32_t size) : m_count(count)
{
    InitializeCriticalSection(&m_freeLock);
    InitializeCriticalSection(&m_filledLock);
    for (uint32_t i = 0; i < count; ++i) {
        SequencedBuffer* b = new (std::nothrow) SequencedBuffer(size);
        if (!b)
            continue;
        m_all.push_back(b);
        m_free.push_back(b);
    }
    LONG maximum = count ? static_cast<LONG>(count) : 1;
    m_freeSemaphore = CreateSemaphoreA(nullptr, static_cast<LONG>(m_free.size()), maximum, nullptr);
    m_filledSemaphore = CreateSemaphoreA(nullptr, 0, maximum, nullptr);
    m_stopEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
}

SequencedQueue::~SequencedQueue()
{
    if (m_stopEvent)
        SetEvent(m_stopEvent);
    for (SequencedBuffer* b : m_all)
        delete b;
    if (m_stopEvent)
        CloseHandle(m_stopEvent);
    if (m_freeSemaphore)
        CloseHandle(m_freeSemaphore);
    if (m_filledSemaphore)
        CloseHandle(m_filledSemaphore);
    DeleteCriticalSection(&m_freeLock);
    DeleteCriticalSection(&m_filledLock);
}

namespace {

SequencedBuffer* Take(HANDLE stop, HANDLE semaphore, CRITICAL_SECTION* lock,
                      std::deque<SequencedBuffer*>& list, uint32_t timeoutMs)
{
    if (!stop || !semaphore)
        return nullptr;
    HANDLE waits[2] = { stop, semaphore };
    if (WaitForMultipleObjects(2, waits, FALSE, timeoutMs) != WAIT_OBJECT_0 + 1)
        return nullptr;
    CScopedLock guard(lock);
    if (list.empty())
        return nullptr;
    SequencedBuffer* b = list.front();
    list.pop_front();
    return b;
}

} // namespace

SequencedBuffer* SequencedQueue::GetFree(uint32_t timeoutMs)
{
    return Take(m_stopEvent, m_freeSemaphore, &m_freeLock, m_free, timeoutMs);
}

SequencedBuffer* SequencedQueue::GetFilled(uint32_t timeoutMs)
{
    return Take(m_stopEvent, m_filledSemaphore, &m_filledLock, m_filled, timeoutMs);
}

void SequencedQueue::PutFree(SequencedBuffer* buffer)
{
    if (!buffer)
        return;
    {
        CScopedLock guard(&m_freeLock);
        m_free.push_back(buffer);
    }
    ReleaseSemaphore(m_freeSemaphore, 1, nullptr);
}

int SequencedQueue::PutFilledInOrder(SequencedBuffer* buffer)
{
    if (!buffer)
        return 0;
    const uint32_t r = buffer->sequence;
    const uint32_t window = 2 * m_count;
    bool duplicate = false;
    {
        CScopedLock guard(&m_filledLock);
        auto place = m_filled.end();
        for (auto it = m_filled.begin(); it != m_filled.end(); ++it) {
            uint32_t s = (*it)->sequence;
            if (s == r) {
                duplicate = true;
                break;
            }
            if ((s > r && s - r < window) || (s < r && r - s > window)) {
                place = it;
                break;
            }
        }
        if (!duplicate)
            m_filled.insert(place, buffer);
    }
    if (duplicate) {
        PutFree(buffer);
        return 0;
    }
    ReleaseSemaphore(m_filledSemaphore, 1, nullptr);
    return 1;
}

int SequencedQueue::DropFilled(int n, bool newest)
{
    int moved = 0;
    CScopedLock filledGuard(&m_filledLock);
    CScopedLock freeGuard(&m_freeLock);
    while (moved < n && !m_filled.empty()) {
        // Keep the semaphores in step with the lists: one filled count taken,
        // one free count given.
        if (WaitForSingleObject(m_filledSemaphore, 0) != WAIT_OBJECT_0)
            break;
        SequencedBuffer* b;
        if (newest) {
            b = m_filled.back();
            m_filled.pop_back();
        } else {
            b = m_filled.front();
            m_filled.pop_front();
        }
        m_free.push_back(b);
        ReleaseSemaphore(m_freeSemaphore, 1, nullptr);
        ++moved;
    }
    return moved;
}

void SequencedQueue::Stop()
{
    if (m_stopEvent)
        SetEvent(m_stopEvent);
}

uint32_t SequencedQueue::GetFilledCount()
{
    CScopedLock guard(&m_filledLock);
    return static_cast<uint32_t>(m_filled.size());
}

uint32_t SequencedQueue::GetFreeCount()
{
    CScopedLock guard(&m_freeLock);
    return static_cast<uint32_t>(m_free.size());
}

uint32_t SequencedQueue::GetFilledPercent()
{
    if (!m_count)
        return 0;
    return GetFilledCount() * 100 / m_count;
}

std::vector<uint32_t> SequencedQueue::GetFilledSequences()
{
    CScopedLock guard(&m_filledLock);
    std::vector<uint32_t> v;
    for (SequencedBuffer* b : m_filled)
        v.push_back(b->sequence);
    return v;
}

} // namespace SonvexFilterCore
