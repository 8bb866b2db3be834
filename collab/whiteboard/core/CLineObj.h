#pragma once
#include "CDrawObj.h"

// A straight line from point 0 to point 1.
class CLineObj : public CDrawObj
{
    DECLARE_SERIAL(CLineObj)
public:
    explicit CLineObj(DWORD id = 0xFFFFFFFF);
    virtual void DrawScaled(CDC* pDC, int num, int den);
    virtual void Draw(CDC* pDC);
    virtual BOOL IntersectsRect(const RECT& rc);
    virtual BOOL ContainsPoint(POINT pt);
    virtual int OnLButtonUp(POINT pt);
    virtual int OnMouseMove(POINT pt);
    virtual int OnLButtonDown(POINT pt);
    virtual void Unpack(const BYTE* blob, UINT length);
    virtual UINT Pack(BYTE* blob, UINT length);
    virtual void GetBoundRect(RECT* prc);
};
