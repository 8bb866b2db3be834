#include "CRoundrectObj.h"
#include "CWBDrawTools.h"

IMPLEMENT_SERIAL(CRoundrectObj, CDrawObj, 0)

CRoundrectObj::CRoundrectObj(DWORD id) : CDrawObj(id, WB_ROUNDRECT) {}

void CRoundrectObj::Draw(CDC* pDC) { DrawScaled(pDC, 1, 1); }

void CRoundrectObj::DrawScaled(CDC* pDC, int num, int den)
{
    if (!pDC || den <= 0 || !m_pPoints || m_nPoints < 8)
        return;
    CWBDrawTools tools(pDC, MakeOutlinePen(num, den), NULL);
    if (!tools.Ok())
        return;
    CRect rc;
    ScaledRect(rc, num, den);
    int l = rc.left, t = rc.top, r = rc.right, b = rc.bottom;
    int rx = (r - l) / 10, ry = (b - t) / 10;
    pDC->MoveTo(l + rx, t);
    pDC->LineTo(r - rx, t);
    pDC->MoveTo(l + rx, b);
    pDC->LineTo(r - rx, b);
    pDC->MoveTo(l, t + ry);
    pDC->LineTo(l, b - ry);
    pDC->MoveTo(r, t + ry);
    pDC->LineTo(r, b - ry);
    pDC->Arc(l, t, l + 2 * rx, t + 2 * ry, l + rx + 1, t, l, t + ry + 1);
    pDC->Arc(r - 2 * rx, t, r, t + 2 * ry, r, t + ry + 1, r - rx - 1, t);
    pDC->Arc(r - 2 * rx, b - 2 * ry, r, b, r - rx - 1, b, r, b - ry - 1);
    pDC->Arc(l, b - 2 * ry, l + 2 * rx, b, l, b - ry - 1, l + rx + 1, b);
}
