#pragma once
#include "CDrawObj.h"

// A free-hand stroke: the points the mouse passes, 6 units apart at least.
class CPencilObj : public CDrawObj
{
    DECLARE_SERIAL(CPencilObj)
public:
    explicit CPencilObj(DWORD id = 0xFFFFFFFF);
    virtual void DrawScaled(CDC* pDC, int num, int den);
    virtual void Draw(CDC* pDC);
    virtual BOOL IntersectsRect(const RECT& rc);
    virtual int OnLButtonUp(POINT pt);
    virtual int OnMouseMove(POINT pt);
    virtual int OnLButtonDown(POINT pt);
    virtual void Unpack(const BYTE* blob, UINT length);
    virtual UINT Pack(BYTE* blob, UINT length);
    virtual void GetBoundRect(RECT* prc);

    UINT m_nCapacity;
};
