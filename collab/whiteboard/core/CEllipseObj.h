#pragma once
#include "CDrawObj.h"

// A hollow ellipse: one whole arc, the inside left as it is.
class CEllipseObj : public CDrawObj
{
    DECLARE_SERIAL(CEllipseObj)
public:
    explicit CEllipseObj(DWORD id = 0xFFFFFFFF);
    virtual void DrawScaled(CDC* pDC, int num, int den);
    virtual void Draw(CDC* pDC);
};
