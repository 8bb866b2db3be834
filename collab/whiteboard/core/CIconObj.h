#pragma once
#include "CDrawObj.h"

// An icon of the program's resources stamped at point 0, 32 x 32.
class CIconObj : public CDrawObj
{
    DECLARE_SERIAL(CIconObj)
public:
    explicit CIconObj(DWORD id = 0xFFFFFFFF);
    virtual void DrawScaled(CDC* pDC, int num, int den);
    virtual void Draw(CDC* pDC);
    virtual int HitHandle(POINT pt);
    virtual int OnRButtonUp(POINT pt);
    virtual int OnRButtonDown(POINT pt);
    virtual int OnLButtonUp(POINT pt);
    virtual int OnMouseMove(POINT pt);
    virtual int OnLButtonDown(POINT pt);
    virtual void Unpack(const BYTE* blob, UINT length);
    virtual UINT Pack(BYTE* blob, UINT length);

    void SetIcon(UINT iconId, POINT topLeft);
    UINT GetIconId() const { return m_nIconId; }

    UINT m_nIconId;
};
