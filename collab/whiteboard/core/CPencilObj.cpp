#include "CPencilObj.h"

IMPLEMENT_SERIAL(CPencilObj, CDrawObj, 0)

CPencilObj::CPencilObj(DWORD id) : CDrawObj(id, WB_PENCIL), m_nCapacity(0) {}

void CPencilObj::Draw(CDC* pDC) { DrawScaled(pDC, 1, 1); }

void CPencilObj::DrawScaled(CDC* pDC, int num, int den) { DrawPolyline(pDC, num, den, FALSE); }
BOOL CPencilObj::IntersectsRect(const RECT& rc) { return PointListIntersectsRect(rc); }
void CPencilObj::Unpack(const BYTE* blob, UINT length)
{
    UnpackPointList(blob, length, m_nCapacity, 0);
}
UINT CPencilObj::Pack(BYTE* blob, UINT length) { return PackPointList(blob, length); }
void CPencilObj::GetBoundRect(RECT* prc) { PointListBoundRect(prc); }

int CPencilObj::OnLButtonDown(POINT pt)
{
    if (m_pPoints)
        return 0;
    m_nCapacity = 0;
    if (!GrowPoints(m_nCapacity, 10))
        return -1;
    m_pPoints[0] = pt;
    m_nPoints = 1;
    m_bCreating = TRUE;
    return 0;
}

int CPencilObj::OnMouseMove(POINT pt)
{
    if (!m_bCreating || !m_pPoints || !m_nPoints)
        return 0;
    const POINT& last = m_pPoints[m_nPoints - 1];
    LONGLONG dx = (LONGLONG)pt.x - last.x, dy = (LONGLONG)pt.y - last.y;
    if ((dx < 0 ? -dx : dx) + (dy < 0 ? -dy : dy) < 6)
        return 0;
    if (!GrowPoints(m_nCapacity, m_nPoints + 1))
        return 0;
    m_pPoints[m_nPoints++] = pt;
    // A stroke as long as one record carries ends itself.
    return m_nPoints >= WB_MAX_POINTS ? 1 : 0;
}

int CPencilObj::OnLButtonUp(POINT pt)
{
    if (m_bCreating && m_pPoints && m_nPoints)
        m_pPoints[m_nPoints - 1] = pt;
    return 1;
}
