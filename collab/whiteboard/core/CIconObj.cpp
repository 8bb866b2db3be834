#include "CIconObj.h"

#include "WbRecords.h"
#include "WireReader.h"
#include "WireWriter.h"

IMPLEMENT_SERIAL(CIconObj, CDrawObj, 0)

CIconObj::CIconObj(DWORD id) : CDrawObj(id, WB_ICON), m_nIconId(0) {}

void CIconObj::Draw(CDC* pDC) { DrawScaled(pDC, 1, 1); }

void CIconObj::DrawScaled(CDC* pDC, int num, int den)
{
    if (!pDC || den <= 0 || !m_pPoints || m_nPoints < 8)
        return;
    HINSTANCE module = AfxGetResourceHandle();
    HICON icon = module ? ::LoadIconA(module, MAKEINTRESOURCEA(m_nIconId)) : NULL;
    if (!icon)
        icon = ::LoadIconA(::GetModuleHandleA(NULL), MAKEINTRESOURCEA(m_nIconId));
    if (!icon)
        return;
    POINT p = ScalePoint(m_pPoints[0], num, den);
    int side = (int)(32LL * num / den);
    ::DrawIconEx(pDC->GetSafeHdc(), p.x, p.y, icon, side, side, 0, NULL, DI_NORMAL);
}

int CIconObj::HitHandle(POINT) { return -1; }
int CIconObj::OnRButtonUp(POINT) { return -1; }
int CIconObj::OnRButtonDown(POINT) { return -1; }
int CIconObj::OnLButtonUp(POINT) { return 1; }
int CIconObj::OnMouseMove(POINT) { return 1; }
int CIconObj::OnLButtonDown(POINT) { return 1; }

void CIconObj::SetIcon(UINT iconId, POINT topLeft)
{
    m_nIconId = iconId;
    RECT rc = {topLeft.x, topLeft.y, (LONG)((DWORD)topLeft.x + 32), (LONG)((DWORD)topLeft.y + 32)};
    SetRect(rc);
}

void CIconObj::Unpack(const BYTE* blob, UINT length)
{
    WireReader in(blob, length);
    WB_ICON_BLOB b;
    if (!blob || length != sizeof(b) || !in.Record(b))
        return;
    POINT p = {b.topLeft.x, b.topLeft.y};
    SetIcon(b.iconId, p);
}

UINT CIconObj::Pack(BYTE* blob, UINT length)
{
    UINT size = sizeof(WB_ICON_BLOB);
    if (!blob && length == 0)
        return size;
    if (!blob || length < size || !m_pPoints || m_nPoints < 8)
        return 0;
    WireWriter out(blob, length);
    WB_ICON_BLOB b = {m_nIconId, {m_pPoints[0].x, m_pPoints[0].y}};
    return out.Record(b) ? size : 0;
}
