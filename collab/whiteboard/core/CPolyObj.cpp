#include "CPolyObj.h"

IMPLEMENT_SERIAL(CPolyObj, CDrawObj, 0)

CPolyObj::CPolyObj(DWORD id) : CDrawObj(id, WB_POLY), m_nCapacity(0) {}

void CPolyObj::Draw(CDC* pDC) { DrawScaled(pDC, 1, 1); }

void CPolyObj::DrawScaled(CDC* pDC, int num, int den) { DrawPolyline(pDC, num, den, TRUE); }
BOOL CPolyObj::IntersectsRect(const RECT& rc) { return PointListIntersectsRect(rc); }
int CPolyObj::OnRButtonDown(POINT) { return ClickedRButtonDown(); }
int CPolyObj::OnLButtonUp(POINT) { return 0; }
int CPolyObj::OnMouseMove(POINT pt) { return ClickedMouseMove(pt); }
int CPolyObj::OnLButtonDown(POINT pt) { return ClickedLButtonDown(pt, m_nCapacity, 1); }
void CPolyObj::Unpack(const BYTE* blob, UINT length)
{
    UnpackPointList(blob, length, m_nCapacity, 1);
}
UINT CPolyObj::Pack(BYTE* blob, UINT length) { return PackPointList(blob, length); }
void CPolyObj::GetBoundRect(RECT* prc) { PointListBoundRect(prc); }
