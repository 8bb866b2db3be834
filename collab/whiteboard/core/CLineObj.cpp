#include "CLineObj.h"
#include "CWBDrawTools.h"

IMPLEMENT_SERIAL(CLineObj, CDrawObj, 0)

CLineObj::CLineObj(DWORD id) : CDrawObj(id, WB_LINE) {}

void CLineObj::Draw(CDC* pDC) { DrawScaled(pDC, 1, 1); }

void CLineObj::DrawScaled(CDC* pDC, int num, int den)
{
    if (!pDC || den <= 0 || !m_pPoints || m_nPoints < 2)
        return;
    CWBDrawTools tools(pDC, MakeOutlinePen(num, den), NULL);
    if (!tools.Ok())
        return;
    pDC->MoveTo(ScalePoint(m_pPoints[0], num, den));
    pDC->LineTo(ScalePoint(m_pPoints[1], num, den));
}

BOOL CLineObj::IntersectsRect(const RECT& rc) { return LineIntersectsRect(rc); }
BOOL CLineObj::ContainsPoint(POINT pt) { return LineContainsPoint(pt); }
int CLineObj::OnLButtonUp(POINT pt) { return LineLButtonUp(pt); }
int CLineObj::OnMouseMove(POINT pt) { return LineMouseMove(pt); }
int CLineObj::OnLButtonDown(POINT pt) { return LineLButtonDown(pt); }
void CLineObj::Unpack(const BYTE* blob, UINT length) { UnpackLine(blob, length); }
UINT CLineObj::Pack(BYTE* blob, UINT length) { return PackLine(blob, length); }
void CLineObj::GetBoundRect(RECT* prc) { LineBoundRect(prc); }
