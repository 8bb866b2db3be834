#include "CRectfillObj.h"
#include "CWBDrawTools.h"

IMPLEMENT_SERIAL(CRectfillObj, CDrawObj, 0)

CRectfillObj::CRectfillObj(DWORD id) : CDrawObj(id, WB_RECTFILL) {}

void CRectfillObj::Draw(CDC* pDC) { DrawScaled(pDC, 1, 1); }

void CRectfillObj::DrawScaled(CDC* pDC, int num, int den)
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
    pDC->Rectangle(rc);
}
