#include "CRoundrectfillObj.h"
#include "CWBDrawTools.h"

IMPLEMENT_SERIAL(CRoundrectfillObj, CDrawObj, 0)

CRoundrectfillObj::CRoundrectfillObj(DWORD id) : CDrawObj(id, WB_ROUNDRECTFILL) {}

void CRoundrectfillObj::Draw(CDC* pDC) { DrawScaled(pDC, 1, 1); }

void CRoundrectfillObj::DrawScaled(CDC* pDC, int num, int den)
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
    pDC->RoundRect(rc.left, rc.top, rc.right, rc.bottom, 2 * rc.Width() / 10, 2 * rc.Height() / 10);
}
