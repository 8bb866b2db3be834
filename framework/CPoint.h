#pragma once
#include "CSize.h"

class CPoint : public tagPOINT
{
public:
    CPoint() { x = y = 0; }
    CPoint(int initX, int initY)
    {
        x = initX;
        y = initY;
    }
    CPoint(POINT p)
    {
        x = p.x;
        y = p.y;
    }
    CPoint(SIZE s)
    {
        x = s.cx;
        y = s.cy;
    }
    explicit CPoint(DWORD dw)
    {
        x = (short)LOWORD(dw);
        y = (short)HIWORD(dw);
    }

    void Offset(int xOffset, int yOffset)
    {
        x += xOffset;
        y += yOffset;
    }
    void Offset(POINT p) { Offset(p.x, p.y); }
    void Offset(SIZE s) { Offset(s.cx, s.cy); }
    BOOL operator==(POINT p) const { return x == p.x && y == p.y; }
    BOOL operator!=(POINT p) const { return !(*this == p); }
    void operator+=(SIZE s) { Offset(s); }
    void operator-=(SIZE s)
    {
        x -= s.cx;
        y -= s.cy;
    }
    void operator+=(POINT p) { Offset(p); }
    void operator-=(POINT p)
    {
        x -= p.x;
        y -= p.y;
    }
    CPoint operator+(SIZE s) const { return CPoint(x + s.cx, y + s.cy); }
    CPoint operator-(SIZE s) const { return CPoint(x - s.cx, y - s.cy); }
    CPoint operator-() const { return CPoint(-x, -y); }
    CPoint operator+(POINT p) const { return CPoint(x + p.x, y + p.y); }
    CSize operator-(POINT p) const { return CSize(x - p.x, y - p.y); }
};
