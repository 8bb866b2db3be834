#include "CPenObj.h"

IMPLEMENT_SERIAL(CPenObj, CDrawObj, 0)

CPenObj::CPenObj(DWORD id) : CDrawObj(id, WB_PEN), m_nCapacity(0) {}

void CPenObj::Draw(CDC* pDC) { DrawScaled(pDC, 1, 1); }

void CPenObj::DrawScaled(CDC* pDC, int num, int den) { DrawPolyline(pDC, num, den, FALSE); }
BOOL CPenObj::IntersectsRect(const RECT& rc) { return PointListIntersectsRect(rc); }
int CPenObj::OnRButtonDown(POINT) { return ClickedRButtonDown(); }
int CPenObj::OnLButtonUp(POINT) { return 0; }
int CPenObj::OnMouseMove(POINT pt) { return ClickedMouseMove(pt); }
int CPenObj::OnLButtonDown(POINT pt) { return ClickedLButtonDown(pt, m_nCapacity, 0); }
void CPenObj::Unpack(const BYTE* blob, UINT length)
{
    UnpackPointList(blob, length, m_nCapacity, 0);
}
UINT CPenObj::Pack(BYTE* blob, UINT length) { return PackPointList(blob, length); }
void CPenObj::GetBoundRect(RECT* prc) { PointListBoundRect(prc); }
