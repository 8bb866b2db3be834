#pragma once
#include "CDrawObj.h"

// A filled rounded rectangle; the corners take a tenth of each side.
class CRoundrectfillObj : public CDrawObj
{
    DECLARE_SERIAL(CRoundrectfillObj)
public:
    explicit CRoundrectfillObj(DWORD id = 0xFFFFFFFF);
    virtual void DrawScaled(CDC* pDC, int num, int den);
    virtual void Draw(CDC* pDC);
};
