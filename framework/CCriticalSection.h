#pragma once
#include "CSyncObject.h"

class CCriticalSection : public CSyncObject
{
    DECLARE_DYNAMIC(CCriticalSection)
public:
    CCriticalSection() { ::InitializeCriticalSection(&m_sect); }
    virtual ~CCriticalSection() { ::DeleteCriticalSection(&m_sect); }
    operator CRITICAL_SECTION*() { return &m_sect; }
    BOOL Lock()
    {
        ::EnterCriticalSection(&m_sect);
        return TRUE;
    }
    virtual BOOL Lock(DWORD) { return Lock(); }
    virtual BOOL Unlock()
    {
        ::LeaveCriticalSection(&m_sect);
        return TRUE;
    }

    CRITICAL_SECTION m_sect;
};
