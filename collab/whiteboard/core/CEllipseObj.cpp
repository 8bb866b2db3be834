#include "CEllipseObj.h"
#include "CWBDrawTools.h"

IMPLEMENT_SERIAL(CEllipseObj, CDrawObj, 0)

CEllipseObj::CEllipseObj(DWORD id) : CDrawObj(id, WB_ELLIPSE) {}

void CEllipseObj::Draw(CDC* pDC) { DrawScaled(pDC, 1, 1); }

void CEllipseObj::DrawScaled(CDC* pDC, int num, int den)
{
    if (!pDC || den <= 0 || !m_pPoints || m_nPoints < 8)
        return;
    CWBDrawTools tools(pDC, MakeOutlinePen(num, den), NULL);
    if (!tools.Ok())
        return;
    CRect rc;
    ScaledRect(rc, num, den);
    CPoint c = rc.CenterPoint();
    pDC->Arc(rc.left, rc.top, rc.right, rc.bottom, c.x, c.y, c.x, c.y);
}
