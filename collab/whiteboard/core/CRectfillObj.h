#pragma once
#include "CDrawObj.h"

// A filled rectangle.
class CRectfillObj : public CDrawObj
{
    DECLARE_SERIAL(CRectfillObj)
public:
    explicit CRectfillObj(DWORD id = 0xFFFFFFFF);
    virtual void DrawScaled(CDC* pDC, int num, int den);
    virtual void Draw(CDC* pDC);
};
