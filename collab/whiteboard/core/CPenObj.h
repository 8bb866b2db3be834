#pragma once
#include "CDrawObj.h"

// An open line through clicked points.
class CPenObj : public CDrawObj
{
    DECLARE_SERIAL(CPenObj)
public:
    explicit CPenObj(DWORD id = 0xFFFFFFFF);
    virtual void DrawScaled(CDC* pDC, int num, int den);
    virtual void Draw(CDC* pDC);
    virtual BOOL IntersectsRect(const RECT& rc);
    virtual int OnRButtonDown(POINT pt);
    virtual int OnLButtonUp(POINT pt);
    virtual int OnMouseMove(POINT pt);
    virtual int OnLButtonDown(POINT pt);
    virtual void Unpack(const BYTE* blob, UINT length);
    virtual UINT Pack(BYTE* blob, UINT length);
    virtual void GetBoundRect(RECT* prc);

    UINT m_nCapacity;
};
