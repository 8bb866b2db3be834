#pragma once
#include "CSyncObject.h"

// Holds one sync object while it lives (when locked).
class CSingleLock
{
public:
    explicit CSingleLock(CSyncObject* pObject, BOOL bInitialLock = FALSE)
        : m_pObject(pObject), m_bAcquired(FALSE)
    {
        if (bInitialLock)
            Lock();
    }
    ~CSingleLock() { Unlock(); }
    BOOL Lock(DWORD dwTimeOut = INFINITE)
    {
        if (!m_bAcquired && m_pObject)
            m_bAcquired = m_pObject->Lock(dwTimeOut);
        return m_bAcquired;
    }
    BOOL Unlock()
    {
        if (m_bAcquired && m_pObject)
            m_bAcquired = !m_pObject->Unlock();
        return !m_bAcquired;
    }
    BOOL IsLocked() { return m_bAcquired; }

protected:
    CSyncObject* m_pObject;
    BOOL m_bAcquired;

private:
    CSingleLock(const CSingleLock&) = delete;
    void operator=(const CSingleLock&) = delete;
};
