#pragma once
#include "CDrawObj.h"

// A hollow rounded rectangle: four edges and four quarter arcs.
class CRoundrectObj : public CDrawObj
{
    DECLARE_SERIAL(CRoundrectObj)
public:
    explicit CRoundrectObj(DWORD id = 0xFFFFFFFF);
    virtual void DrawScaled(CDC* pDC, int num, int den);
    virtual void Draw(CDC* pDC);
};
