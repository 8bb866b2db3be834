#include "CSequencedPool.h"

#include <new>

#include "CScopedLock.h"

namespace AudioCommon {

CSequencedPool::CSequencedPool(uint32_t count, uint32_t size) : m_count(count)
{
    InitializeCriticalSection(&m_filledLock);
    InitializeCriticalSection(&m_freeLock);
    for (uint32_t i = 0; i < count; ++i) {
        CSequencedBuffer* buffer = new (std::nothrow) CSequencedBuffer(size);
        if (!buffer)
            continue;
        m_all.push_back(buffer);
        m_free.push_back(buffer);
    }
    const LONG maximum = count ? static_cast<LONG>(count) : 1;
    m_freeSemaphore = CreateSemaphoreA(nullptr, static_cast<LONG>(m_free.size()), maximum, nullptr);
    m_filledSemaphore = CreateSemaphoreA(nullptr, 0, maximum, nullptr);
    m_stopEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
}

CSequencedPool::~CSequencedPool()
{
    Stop();
    for (CSequencedBuffer* buffer : m_all)
        delete buffer;
    if (m_freeSemaphore)
        CloseHandle(m_freeSemaphore);
    if (m_filledSemaphore)
        CloseHandle(m_filledSemaphore);
    if (m_stopEvent)
        CloseHandle(m_stopEvent);
    DeleteCriticalSection(&m_freeLock);
    DeleteCriticalSection(&m_filledLock);
}

namespace {

// Waits for one count of the semaphore unless the stop event comes first,
// then takes the head of the list.
CSequencedBuffer* Take(HANDLE stop, HANDLE semaphore, CRITICAL_SECTION* lock,
                       std::deque<CSequencedBuffer*>& list, uint32_t timeoutMs)
{
    if (!stop || !semaphore)
        return nullptr;
    HANDLE waits[2] = {stop, semaphore};
    if (WaitForMultipleObjects(2, waits, FALSE, timeoutMs) != WAIT_OBJECT_0 + 1)
        return nullptr;
    CScopedLock guard(lock);
    if (list.empty())
        return nullptr;
    CSequencedBuffer* buffer = list.front();
    list.pop_front();
    return buffer;
}

} // namespace

CSequencedBuffer* CSequencedPool::GetFree(uint32_t timeoutMs)
{
    return Take(m_stopEvent, m_freeSemaphore, &m_freeLock, m_free, timeoutMs);
}

CSequencedBuffer* CSequencedPool::GetFilled(uint32_t timeoutMs)
{
    return Take(m_stopEvent, m_filledSemaphore, &m_filledLock, m_filled, timeoutMs);
}

void CSequencedPool::PutFree(CSequencedBuffer* buffer)
{
    if (!buffer)
        return;
    {
        CScopedLock guard(&m_freeLock);
        m_free.push_back(buffer);
    }
    ReleaseSemaphore(m_freeSemaphore, 1, nullptr);
}

void CSequencedPool::PutFilled(CSequencedBuffer* buffer)
{
    if (!buffer)
        return;
    {
        CScopedLock guard(&m_filledLock);
        m_filled.push_back(buffer);
    }
    ReleaseSemaphore(m_filledSemaphore, 1, nullptr);
}

bool CSequencedPool::PutFilledInOrder(CSequencedBuffer* buffer)
{
    if (!buffer)
        return false;
    const uint32_t a = buffer->GetSequence();
    const uint32_t window = 2 * m_count;
    bool duplicate = false;
    {
        CScopedLock guard(&m_filledLock);
        auto place = m_filled.begin();
        for (; place != m_filled.end(); ++place) {
            const uint32_t b = (*place)->GetSequence();
            if (b == a) {
                duplicate = true;
                break;
            }
            if ((b > a && b - a < window) || (b < a && a - b > window))
                break;
        }
        if (!duplicate)
            m_filled.insert(place, buffer);
    }
    if (duplicate) {
        PutFree(buffer);
        return false;
    }
    ReleaseSemaphore(m_filledSemaphore, 1, nullptr);
    return true;
}

uint32_t CSequencedPool::DropFilled(uint32_t count, bool newest)
{
    uint32_t moved = 0;
    CScopedLock filledGuard(&m_filledLock);
    CScopedLock freeGuard(&m_freeLock);
    while (moved < count && !m_filled.empty()) {
        if (WaitForSingleObject(m_stopEvent, 0) == WAIT_OBJECT_0)
            break;
        // The semaphores stay in step with the lists: one filled count
        // taken, one free count given.
        if (WaitForSingleObject(m_filledSemaphore, 0) != WAIT_OBJECT_0)
            break;
        CSequencedBuffer* buffer;
        if (newest) {
            buffer = m_filled.back();
            m_filled.pop_back();
        } else {
            buffer = m_filled.front();
            m_filled.pop_front();
        }
        m_free.push_back(buffer);
        ReleaseSemaphore(m_freeSemaphore, 1, nullptr);
        ++moved;
    }
    return moved;
}

void CSequencedPool::Stop()
{
    if (m_stopEvent)
        SetEvent(m_stopEvent);
}

uint32_t CSequencedPool::GetFilledCount() const
{
    CScopedLock guard(&m_filledLock);
    return static_cast<uint32_t>(m_filled.size());
}

uint32_t CSequencedPool::GetFreeCount() const
{
    CScopedLock guard(&m_freeLock);
    return static_cast<uint32_t>(m_free.size());
}

uint32_t CSequencedPool::GetFilledPercent() const
{
    if (!m_count)
        return 0;
    return GetFilledCount() * 100 / m_count;
}

std::vector<uint32_t> CSequencedPool::FilledSequences() const
{
    CScopedLock guard(&m_filledLock);
    std::vector<uint32_t> sequences;
    for (const CSequencedBuffer* buffer : m_filled)
        sequences.push_back(buffer->GetSequence());
    return sequences;
}

} // namespace AudioCommon
