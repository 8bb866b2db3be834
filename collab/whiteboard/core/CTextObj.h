#pragma once
#include "CDrawObj.h"

// A text in a rectangle, in its own font and colour.
class CTextObj : public CDrawObj
{
    DECLARE_SERIAL(CTextObj)
public:
    explicit CTextObj(DWORD id = 0xFFFFFFFF);
    virtual void DrawScaled(CDC* pDC, int num, int den);
    virtual void Draw(CDC* pDC);
    virtual int OnRButtonUp(POINT pt);
    virtual int OnRButtonDown(POINT pt);
    virtual int OnLButtonUp(POINT pt);
    virtual int OnMouseMove(POINT pt);
    virtual int OnLButtonDown(POINT pt);
    virtual void Unpack(const BYTE* blob, UINT length);
    virtual UINT Pack(BYTE* blob, UINT length);
};
