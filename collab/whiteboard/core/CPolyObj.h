#pragma once
#include "CDrawObj.h"

// A closed polygon of clicked points (two points: a line); one spare slot
// holds the closing point.
class CPolyObj : public CDrawObj
{
    DECLARE_SERIAL(CPolyObj)
public:
    explicit CPolyObj(DWORD id = 0xFFFFFFFF);
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
