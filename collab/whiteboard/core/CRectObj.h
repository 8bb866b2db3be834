#pragma once
#include "CDrawObj.h"

// A hollow rectangle: four segments between corners 0 and 4.
class CRectObj : public CDrawObj
{
    DECLARE_SERIAL(CRectObj)
public:
    explicit CRectObj(DWORD id = 0xFFFFFFFF);
    virtual void DrawScaled(CDC* pDC, int num, int den);
    virtual void Draw(CDC* pDC);
};
