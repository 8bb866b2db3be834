#pragma once
#include "CObject.h"

// Something a thread can wait for: Lock waits (with a time-out in ms).
class CSyncObject : public CObject
{
    DECLARE_DYNAMIC(CSyncObject)
public:
    explicit CSyncObject(LPCSTR pstrName = NULL) : m_hObject(NULL) {}
    virtual ~CSyncObject();
    operator HANDLE() const { return m_hObject; }
    virtual BOOL Lock(DWORD dwTimeout = INFINITE);
    virtual BOOL Unlock() = 0;
    virtual BOOL Unlock(LONG lCount, LPLONG lpPrevCount = NULL) { return TRUE; }

    HANDLE m_hObject;
};
