#include "CFlatEdit.h"

BEGIN_MESSAGE_MAP(CFlatEdit, CEdit)
    ON_WM_NCCALCSIZE()
    ON_WM_NCPAINT()
    ON_WM_CTLCOLOR_REFLECT()
END_MESSAGE_MAP()

CFlatEdit::CFlatEdit() : m_clrFrame(FRAME_COLOUR)
{
    m_brushReadOnly.CreateSolidBrush(READONLY_COLOUR);
    m_brushNormal.CreateSolidBrush(0xFFFFFF);
}

void CFlatEdit::OnNcCalcSize(BOOL calcValidRects, NCCALCSIZE_PARAMS* params)
{
    ::InflateRect(&params->rgrc[0], -2, -2);
}

void CFlatEdit::OnNcPaint()
{
    HDC hdc = ::GetWindowDC(m_hWnd);
    if (!hdc)
        return;
    CRect r;
    GetWindowRect(&r);
    r.OffsetRect(-r.left, -r.top);
    HBRUSH frame = ::CreateSolidBrush(m_clrFrame);
    ::FrameRect(hdc, &r, frame);
    r.DeflateRect(1, 1);
    ::FrameRect(hdc, &r, (HBRUSH)::GetStockObject(WHITE_BRUSH));
    ::DeleteObject(frame);
    ::ReleaseDC(m_hWnd, hdc);
}

HBRUSH CFlatEdit::CtlColor(CDC* dc, UINT ctlColor)
{
    dc->SetBkMode(TRANSPARENT);
    if (IsWindowEnabled() && !(GetStyle() & ES_READONLY))
        return (HBRUSH)m_brushNormal.GetSafeHandle();
    return (HBRUSH)m_brushReadOnly.GetSafeHandle();
}
