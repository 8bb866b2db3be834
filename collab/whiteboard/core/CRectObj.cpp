#include "CRectObj.h"
#include "CWBDrawTools.h"

IMPLEMENT_SERIAL(CRectObj, CDrawObj, 0)

CRectObj::CRectObj(DWORD id) : CDrawObj(id, WB_RECT) {}

void CRectObj::Draw(CDC* pDC) { DrawScaled(pDC, 1, 1); }

void CRectObj::DrawScaled(CDC* pDC, int num, int den)
{
    if (!pDC || den <= 0 || !m_pPoints || m_nPoints < 8)
        return;
    CWBDrawTools tools(pDC, MakeOutlinePen(num, den), NULL);
    if (!tools.Ok())
        return;
    POINT a = ScalePoint(m_pPoints[0], num, den), b = ScalePoint(m_pPoints[4], num, den);
    pDC->MoveTo(a.x, a.y);
    pDC->LineTo(b.x, a.y);
    pDC->MoveTo(a.x, a.y);
    pDC->LineTo(a.x, b.y);
    pDC->MoveTo(b.x, a.y);
    pDC->LineTo(b.x, b.y);
    pDC->MoveTo(a.x, b.y);
    pDC->LineTo(b.x, b.y);
}
