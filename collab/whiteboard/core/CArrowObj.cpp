#include "CArrowObj.h"
#include "CWBDrawTools.h"

#include <math.h>

IMPLEMENT_SERIAL(CArrowObj, CDrawObj, 0)

CArrowObj::CArrowObj(DWORD id) : CDrawObj(id, WB_ARROW) {}

void CArrowObj::Draw(CDC* pDC) { DrawScaled(pDC, 1, 1); }

void CArrowObj::DrawScaled(CDC* pDC, int num, int den)
{
    if (!pDC || den <= 0 || !m_pPoints || m_nPoints < 2)
        return;
    HPEN pen = MakeOutlinePen(num, den);
    if (!pen)
        return;
    CWBDrawTools tools(pDC, pen, ::CreateSolidBrush(m_crColor));
    if (!tools.Ok())
        return;
    POINT start = ScalePoint(m_pPoints[0], num, den), end = ScalePoint(m_pPoints[1], num, den);
    double dx = (double)end.x - start.x, dy = (double)end.y - start.y;
    // A line of no length points nowhere: no head.
    if (dx == 0 && dy == 0)
        return;
    const double delta = 0.1963495375;
    double theta = dx == 0 ? (dy > 0 ? 1.5707963267948966 : -1.5707963267948966) : atan(dy / dx);
    double len = 20.0 * m_nWidth * num / den;
    POINT a, b;
    if (end.x >= start.x) {
        a.x = end.x - (LONG)(len * cos(theta - delta));
        a.y = end.y - (LONG)(len * sin(theta - delta));
        b.x = end.x - (LONG)(len * cos(theta + delta));
        b.y = end.y - (LONG)(len * sin(theta + delta));
    } else {
        double t = -theta;
        a.x = end.x + (LONG)(len * cos(t - delta));
        a.y = end.y - (LONG)(len * sin(t - delta));
        b.x = end.x + (LONG)(len * cos(t + delta));
        b.y = end.y - (LONG)(len * sin(t + delta));
    }
    pDC->MoveTo(start);
    pDC->LineTo((LONG)(((LONGLONG)a.x + b.x) / 2), (LONG)(((LONGLONG)a.y + b.y) / 2));
    POINT head[3] = {a, b, end};
    pDC->Polygon(head, 3);
}

BOOL CArrowObj::IntersectsRect(const RECT& rc) { return LineIntersectsRect(rc); }
BOOL CArrowObj::ContainsPoint(POINT pt) { return LineContainsPoint(pt); }
int CArrowObj::OnLButtonUp(POINT pt) { return LineLButtonUp(pt); }
int CArrowObj::OnMouseMove(POINT pt) { return LineMouseMove(pt); }
int CArrowObj::OnLButtonDown(POINT pt) { return LineLButtonDown(pt); }
void CArrowObj::Unpack(const BYTE* blob, UINT length) { UnpackLine(blob, length); }
UINT CArrowObj::Pack(BYTE* blob, UINT length) { return PackLine(blob, length); }
void CArrowObj::GetBoundRect(RECT* prc) { LineBoundRect(prc); }
