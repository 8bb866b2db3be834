#include "CFramePool.h"

#include "CScopedLock.h"

namespace RavoEngine {

CFramePool::CFramePool(uint32_t count) : m_count(count)
{
    InitializeCriticalSection(&m_freeLock);
    InitializeCriticalSection(&m_filledLock);
    const LONG maximum = count ? static_cast<LONG>(count) : 1;
    m_freeSemaphore = CreateSemaphoreA(nullptr, static_cast<LONG>(count), maximum, nullptr);
    m_filledSemaphore = CreateSemaphoreA(nullptr, 0, maximum, nullptr);
    m_stopEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    for (uint32_t i = 0; i < count; ++i) {
        CFrameBuffer* buffer = new CFrameBuffer();
        m_all.push_back(buffer);
        m_free.push_back(buffer);
    }
}

CFramePool::~CFramePool()
{
    Stop();
    for (CFrameBuffer* buffer : m_all)
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
// Waits for the semaphore unless the stop event is set first.
bool TakeSemaphore(HANDLE stop, HANDLE semaphore, uint32_t timeoutMs)
{
    if (!semaphore || !stop)
        return false;
    HANDLE handles[2] = {stop, semaphore};
    return WaitForMultipleObjects(2, handles, FALSE, timeoutMs) == WAIT_OBJECT_0 + 1;
}
}

CFrameBuffer* CFramePool::GetFree(uint32_t timeoutMs)
{
    if (!TakeSemaphore(m_stopEvent, m_freeSemaphore, timeoutMs))
        return nullptr;
    CScopedLock lock(&m_freeLock);
    if (m_free.empty())
        return nullptr;
    CFrameBuffer* buffer = m_free.front();
    m_free.pop_front();
    return buffer;
}

CFrameBuffer* CFramePool::GetFilled(uint32_t timeoutMs)
{
    if (!TakeSemaphore(m_stopEvent, m_filledSemaphore, timeoutMs))
        return nullptr;
    CScopedLock lock(&m_filledLock);
    if (m_filled.empty())
        return nullptr;
    CFrameBuffer* buffer = m_filled.front();
    m_filled.pop_front();
    return buffer;
}

void CFramePool::PutFree(CFrameBuffer* buffer)
{
    if (!buffer)
        return;
    {
        CScopedLock lock(&m_freeLock);
        m_free.push_back(buffer);
    }
    ReleaseSemaphore(m_freeSemaphore, 1, nullptr);
}

void CFramePool::PutFilled(CFrameBuffer* buffer)
{
    if (!buffer)
        return;
    {
        CScopedLock lock(&m_filledLock);
        m_filled.push_back(buffer);
    }
    ReleaseSemaphore(m_filledSemaphore, 1, nullptr);
}

bool CFramePool::PutFilledInOrder(CFrameBuffer* buffer)
{
    if (!buffer)
        return false;
    const uint32_t a = buffer->GetSequence();
    const uint32_t window = 2 * m_count;
    bool duplicate = false;
    {
        CScopedLock lock(&m_filledLock);
        auto it = m_filled.begin();
        for (; it != m_filled.end(); ++it) {
            const uint32_t b = (*it)->GetSequence();
            if (b == a) {
                duplicate = true;
                break;
            }
            if ((b > a && b - a < window) || (b < a && a - b > window))
                break;
        }
        if (!duplicate)
            m_filled.insert(it, buffer);
    }
    if (duplicate) {
        PutFree(buffer);
        return false;
    }
    ReleaseSemaphore(m_filledSemaphore, 1, nullptr);
    return true;
}

void CFramePool::DropFilled(uint32_t count, bool newest)
{
    while (count > 0) {
        if (WaitForSingleObject(m_stopEvent, 0) == WAIT_OBJECT_0)
            return;
        if (WaitForSingleObject(m_filledSemaphore, 0) != WAIT_OBJECT_0)
            return;
        CFrameBuffer* buffer = nullptr;
        {
            CScopedLock lock(&m_filledLock);
            if (!m_filled.empty()) {
                if (newest) {
                    buffer = m_filled.back();
                    m_filled.pop_back();
                } else {
                    buffer = m_filled.front();
                    m_filled.pop_front();
                }
            }
        }
        if (buffer)
            PutFree(buffer);
        --count;
    }
}

void CFramePool::DropAll()
{
    DropFilled(m_count, false);
}

uint32_t CFramePool::GetFilledCount() const
{
    CScopedLock lock(&m_filledLock);
    return static_cast<uint32_t>(m_filled.size());
}

uint32_t CFramePool::GetFillPercent() const
{
    if (!m_count)
        return 0;
    return GetFilledCount() * 100 / m_count;
}

std::vector<uint32_t> CFramePool::FilledSequences() const
{
    CScopedLock lock(&m_filledLock);
    std::vector<uint32_t> out;
    for (const CFrameBuffer* buffer : m_filled)
        out.push_back(buffer->GetSequence());
    return out;
}

void CFramePool::Stop()
{
    if (m_stopEvent)
        SetEvent(m_stopEvent);
}

} // namespace RavoEngine
