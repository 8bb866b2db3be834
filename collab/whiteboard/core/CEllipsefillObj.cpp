#include "CEllipsefillObj.h"
#include "CWBDrawTools.h"

IMPLEMENT_SERIAL(CEllipsefillObj, CDrawObj, 0)

CEllipsefillObj::CEllipsefillObj(DWORD id) : CDrawObj(id, WB_ELLIPSEFILL) {}

void CEllipsefillObj::Draw(CDC* pDC) { DrawScaled(pDC, 1, 1); }

void CEllipsefillObj::DrawScaled(CDC* pDC, int num, int den)
{
    if (!pDC || den <= 0 || !m_pPoints || m_nPoints < 8)
        return;
    HBRUSH brush = MakeFillBrush();
    if (!brush)
        return;
    CWBDrawTools tools(pDC, ::CreatePen(PS_SOLID, 1, m_crColor), brush);
    if (!tools.Ok())
        return;
    CRect rc;
    ScaledRect(rc, num, den);
    AlignFillBrush(pDC, rc);
    pDC->Ellipse(rc);
}
