#pragma once
#include "AfxDefs.h"

class CSize : public tagSIZE
{
public:
    CSize() { cx = cy = 0; }
    CSize(int initCX, int initCY)
    {
        cx = initCX;
        cy = initCY;
    }
    CSize(SIZE s)
    {
        cx = s.cx;
        cy = s.cy;
    }
    CSize(POINT p)
    {
        cx = p.x;
        cy = p.y;
    }
    explicit CSize(DWORD dw)
    {
        cx = (short)LOWORD(dw);
        cy = (short)HIWORD(dw);
    }

    BOOL operator==(SIZE s) const { return cx == s.cx && cy == s.cy; }
    BOOL operator!=(SIZE s) const { return !(*this == s); }
    void operator+=(SIZE s)
    {
        cx += s.cx;
        cy += s.cy;
    }
    void operator-=(SIZE s)
    {
        cx -= s.cx;
        cy -= s.cy;
    }
    CSize operator+(SIZE s) const { return CSize(cx + s.cx, cy + s.cy); }
    CSize operator-(SIZE s) const { return CSize(cx - s.cx, cy - s.cy); }
    CSize operator-() const { return CSize(-cx, -cy); }
};
