#include "CBufferPool.h"

#include <new>

#include "CScopedLock.h"

CBufferPool::CBufferPool(uint32_t count, uint32_t size) : m_count(count), m_bufferSize(size)
{
    for (uint32_t i = 0; i < count; ++i) {
        CQueueBuffer* buffer = new (std::nothrow) CQueueBuffer(size);
        if (!buffer)
            continue;
        if (!buffer->IsValid()) {
            delete buffer;
            continue;
        }
        m_owned.push_back(buffer);
        m_free.push_back(buffer);
    }
    InitializeCriticalSection(&m_freeLock);
    InitializeCriticalSection(&m_filledLock);
    m_stopEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    LONG maximum = count ? static_cast<LONG>(count) : 1;
    m_filledSemaphore = CreateSemaphoreA(nullptr, 0, maximum, nullptr);
    // Count only the buffers that exist, so a waiter never wakes to an empty list.
    m_freeSemaphore = CreateSemaphoreA(nullptr, static_cast<LONG>(m_free.size()), maximum, nullptr);
}

CBufferPool::~CBufferPool()
{
    if (m_stopEvent)
        SetEvent(m_stopEvent);
    {
        CScopedLock lock(&m_filledLock);
        m_filled.clear();
    }
    {
        CScopedLock lock(&m_freeLock);
        m_free.clear();
    }
    for (CQueueBuffer* buffer : m_owned)
        delete buffer;
    m_owned.clear();
    if (m_stopEvent)
        CloseHandle(m_stopEvent);
    if (m_filledSemaphore)
        CloseHandle(m_filledSemaphore);
    if (m_freeSemaphore)
        CloseHandle(m_freeSemaphore);
    DeleteCriticalSection(&m_freeLock);
    DeleteCriticalSection(&m_filledLock);
}

CQueueBuffer* CBufferPool::Take(HANDLE semaphore, CRITICAL_SECTION* lock,
                                std::deque<CQueueBuffer*>& list, uint32_t timeoutMs)
{
    if (!m_stopEvent || !semaphore)
        return nullptr;
    HANDLE waits[2] = {m_stopEvent, semaphore};
    // The stop event stands first, so it wins when both are signalled.
    DWORD result = WaitForMultipleObjects(2, waits, FALSE, timeoutMs);
    if (result != WAIT_OBJECT_0 + 1)
        return nullptr;
    CScopedLock guard(lock);
    if (list.empty())
        return nullptr;
    CQueueBuffer* buffer = list.front();
    list.pop_front();
    return buffer;
}

void CBufferPool::Put(HANDLE semaphore, CRITICAL_SECTION* lock, std::deque<CQueueBuffer*>& list,
                      CQueueBuffer* buffer)
{
    if (!buffer)
        return;
    {
        CScopedLock guard(lock);
        list.push_back(buffer);
    }
    if (semaphore)
        ReleaseSemaphore(semaphore, 1, nullptr);
}

CQueueBuffer* CBufferPool::GetFree(uint32_t timeoutMs)
{
    return Take(m_freeSemaphore, &m_freeLock, m_free, timeoutMs);
}

CQueueBuffer* CBufferPool::GetFilled(uint32_t timeoutMs)
{
    return Take(m_filledSemaphore, &m_filledLock, m_filled, timeoutMs);
}

void CBufferPool::PutFree(CQueueBuffer* buffer)
{
    Put(m_freeSemaphore, &m_freeLock, m_free, buffer);
}

uint32_t CBufferPool::GetFilledCount()
{
    CScopedLock lock(&m_filledLock);
    return static_cast<uint32_t>(m_filled.size());
}

void CBufferPool::PutFilled(CQueueBuffer* buffer)
{
    Put(m_filledSemaphore, &m_filledLock, m_filled, buffer);
}

void CBufferPool::Stop()
{
    if (m_stopEvent)
        SetEvent(m_stopEvent);
}
