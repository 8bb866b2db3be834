#pragma once
#include "CDrawObj.h"

// A filled ellipse.
class CEllipsefillObj : public CDrawObj
{
    DECLARE_SERIAL(CEllipsefillObj)
public:
    explicit CEllipsefillObj(DWORD id = 0xFFFFFFFF);
    virtual void DrawScaled(CDC* pDC, int num, int den);
    virtual void Draw(CDC* pDC);
};
