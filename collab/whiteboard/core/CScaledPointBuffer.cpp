#include "CScaledPointBuffer.h"

#include <new>

CScaledPointBuffer& CScaledPointBuffer::Instance()
{
    static CScaledPointBuffer buffer;
    return buffer;
}

CScaledPointBuffer::CScaledPointBuffer() : m_pPoints(NULL), m_nCapacity(0)
{
    InitializeCriticalSection(&m_cs);
}

CScaledPointBuffer::~CScaledPointBuffer()
{
    delete[] m_pPoints;
    DeleteCriticalSection(&m_cs);
}

POINT* CScaledPointBuffer::Lock(UINT count)
{
    EnterCriticalSection(&m_cs);
    if (count > m_nCapacity) {
        POINT* p = new (std::nothrow) POINT[count];
        if (!p) {
            LeaveCriticalSection(&m_cs);
            return NULL;
        }
        delete[] m_pPoints;
        m_pPoints = p;
        m_nCapacity = count;
    }
    return m_pPoints;
}

void CScaledPointBuffer::Unlock() { LeaveCriticalSection(&m_cs); }
