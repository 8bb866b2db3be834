#pragma once
#include <windows.h>

// The one point array that all objects scale their points into for drawing.
// It grows to the largest size asked for and never shrinks; Lock holds it
// (and its critical section) until Unlock.
class CScaledPointBuffer
{
public:
    static CScaledPointBuffer& Instance();

    // Room for count points, or null (the section is then not held).
    POINT* Lock(UINT count);
    void Unlock();
    UINT Capacity() const { return m_nCapacity; }

private:
    CScaledPointBuffer();
    ~CScaledPointBuffer();
    CScaledPointBuffer(const CScaledPointBuffer&) = delete;
    CScaledPointBuffer& operator=(const CScaledPointBuffer&) = delete;

    CRITICAL_SECTION m_cs;
    POINT* m_pPoints;
    UINT m_nCapacity;
};
