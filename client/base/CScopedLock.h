#pragma once
#include <windows.h>

// Holds a critical section for the lifetime of a block. A null section makes
// the lock do nothing.
class CScopedLock
{
public:
    explicit CScopedLock(CRITICAL_SECTION* cs) : m_cs(cs)
    {
        if (m_cs)
            EnterCriticalSection(m_cs);
    }
    virtual ~CScopedLock()
    {
        if (m_cs)
            LeaveCriticalSection(m_cs);
    }

    CScopedLock(const CScopedLock&) = delete;
    CScopedLock& operator=(const CScopedLock&) = delete;

private:
    CRITICAL_SECTION* m_cs;
};
