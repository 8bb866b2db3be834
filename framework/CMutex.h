#pragma once
#include "CSyncObject.h"

class CMutex : public CSyncObject
{
    DECLARE_DYNAMIC(CMutex)
public:
    explicit CMutex(BOOL bInitiallyOwn = FALSE, LPCSTR lpszName = NULL,
                    LPSECURITY_ATTRIBUTES lpsaAttribute = NULL)
    {
        m_hObject = ::CreateMutexA(lpsaAttribute, bInitiallyOwn, lpszName);
    }
    virtual BOOL Unlock() { return ::ReleaseMutex(m_hObject); }
};
