#include "CRectTracker.h"
#include "CBrush.h"
#include "CClientDC.h"
#include "CDC.h"
#include "CWnd.h"

CRectTracker::CRectTracker()
    : m_sizeMin(4, 4), m_nHandleSize(6), m_nStyle(0), m_bAllowInvert(FALSE), m_bFinalErase(FALSE),
      m_bErase(FALSE)
{}

CRectTracker::CRectTracker(LPCRECT lpSrcRect, UINT nStyle) : CRectTracker()
{
    m_rect.CopyRect(lpSrcRect);
    m_nStyle = nStyle;
}

UINT CRectTracker::GetHandleMask() const
{
    UINT mask = 0x0F; // corners
    int size = m_nHandleSize * 3;
    if (abs(m_rect.Width()) - size > 4)
        mask |= 0x50; // top and bottom
    if (abs(m_rect.Height()) - size > 4)
        mask |= 0xA0; // left and right
    return mask;
}

void CRectTracker::GetHandleRect(int nHandle, CRect* pHandleRect) const
{
    CRect r(m_rect);
    r.NormalizeRect();
    if (m_nStyle & (solidLine | dottedLine))
        r.InflateRect(1, 1);
    int size = m_nHandleSize;
    int offset = (m_nStyle & resizeOutside) ? size : 0;
    int x = 0, y = 0;
    int cx = r.left - offset, cy = r.top - offset;
    int ex = r.right + offset - size, ey = r.bottom + offset - size;
    int mx = r.left + (r.Width() - size) / 2, my = r.top + (r.Height() - size) / 2;
    switch (nHandle) {
    case hitTopLeft:
        x = cx;
        y = cy;
        break;
    case hitTopRight:
        x = ex;
        y = cy;
        break;
    case hitBottomRight:
        x = ex;
        y = ey;
        break;
    case hitBottomLeft:
        x = cx;
        y = ey;
        break;
    case hitTop:
        x = mx;
        y = cy;
        break;
    case hitRight:
        x = ex;
        y = my;
        break;
    case hitBottom:
        x = mx;
        y = ey;
        break;
    case hitLeft:
        x = cx;
        y = my;
        break;
    }
    pHandleRect->SetRect(x, y, x + size, y + size);
}

void CRectTracker::GetTrueRect(LPRECT lpTrueRect) const
{
    CRect r(m_rect);
    r.NormalizeRect();
    int inflate = (m_nStyle & (resizeOutside | hatchedBorder)) ? m_nHandleSize : 0;
    if (m_nStyle & (solidLine | dottedLine))
        inflate = inflate > 1 ? inflate : 1;
    r.InflateRect(inflate, inflate);
    *lpTrueRect = r;
}

void CRectTracker::Draw(CDC* pDC) const
{
    int saved = pDC->SaveDC();
    pDC->SetMapMode(MM_TEXT);
    pDC->SetViewportOrg(0, 0);
    pDC->SetWindowOrg(0, 0);
    CRect r(m_rect);
    r.NormalizeRect();
    if (m_nStyle & (solidLine | dottedLine)) {
        CPen pen(m_nStyle & dottedLine ? PS_DOT : PS_SOLID, 1, RGB(0, 0, 0));
        CPen* oldPen = pDC->SelectObject(&pen);
        CGdiObject* oldBrush = pDC->SelectStockObject(NULL_BRUSH);
        pDC->SetROP2(R2_COPYPEN);
        CRect outline(r);
        outline.InflateRect(1, 1);
        pDC->Rectangle(&outline);
        pDC->SelectObject(oldPen);
        pDC->SelectObject(oldBrush);
    }
    if (m_nStyle & (hatchInside | hatchedBorder)) {
        CBrush hatch(HS_BDIAGONAL, RGB(0, 0, 0));
        pDC->SetBkMode(TRANSPARENT);
        if (m_nStyle & hatchInside)
            pDC->FillRect(&r, &hatch);
        else {
            CRect outer(r);
            outer.InflateRect(m_nHandleSize, m_nHandleSize);
            CRgn a, b;
            a.CreateRectRgnIndirect(&outer);
            b.CreateRectRgnIndirect(&r);
            a.CombineRgn(&a, &b, RGN_DIFF);
            pDC->FillRgn(&a, &hatch);
        }
    }
    if (m_nStyle & (resizeInside | resizeOutside)) {
        UINT mask = GetHandleMask();
        for (int i = 0; i < 8; ++i) {
            if (mask & (1 << i)) {
                CRect h;
                GetHandleRect(i, &h);
                pDC->FillSolidRect(&h, RGB(0, 0, 0));
            }
        }
    }
    pDC->RestoreDC(saved);
}

int CRectTracker::HitTestHandles(CPoint point) const
{
    CRect truth;
    GetTrueRect(&truth);
    if (!truth.PtInRect(point))
        return hitNothing;
    if (m_nStyle & (resizeInside | resizeOutside)) {
        UINT mask = GetHandleMask();
        for (int i = 0; i < 8; ++i) {
            if (mask & (1 << i)) {
                CRect h;
                GetHandleRect(i, &h);
                if (h.PtInRect(point))
                    return i;
            }
        }
    }
    CRect r(m_rect);
    r.NormalizeRect();
    if ((m_nStyle & hatchedBorder) && !r.PtInRect(point))
        return hitMiddle;
    return r.PtInRect(point) || (m_nStyle & hatchedBorder) ? hitMiddle : hitNothing;
}

int CRectTracker::HitTest(CPoint point) const
{
    int hit = HitTestHandles(point);
    return NormalizeHit(hit);
}

int CRectTracker::NormalizeHit(int nHandle) const
{
    if (nHandle == hitNothing || nHandle == hitMiddle)
        return nHandle;
    // a rectangle turned inside out swaps the handles' meaning
    bool flipX = m_rect.Width() < 0, flipY = m_rect.Height() < 0;
    static const int swapX[8] = {hitTopRight, hitTopLeft, hitBottomLeft, hitBottomRight,
                                 hitTop,      hitLeft,    hitBottom,     hitRight};
    static const int swapY[8] = {hitBottomLeft, hitBottomRight, hitTopRight, hitTopLeft,
                                 hitBottom,     hitRight,       hitTop,      hitLeft};
    if (flipX)
        nHandle = swapX[nHandle];
    if (flipY)
        nHandle = swapY[nHandle];
    return nHandle;
}

BOOL CRectTracker::SetCursor(CWnd* pWnd, UINT nHitTest) const
{
    if (nHitTest != HTCLIENT)
        return FALSE;
    POINT pt;
    ::GetCursorPos(&pt);
    pWnd->ScreenToClient(&pt);
    int hit = HitTest(pt);
    if (hit < 0)
        return FALSE;
    static const LPCSTR cursors[9] = {IDC_SIZENWSE, IDC_SIZENESW, IDC_SIZENWSE,
                                      IDC_SIZENESW, IDC_SIZENS,   IDC_SIZEWE,
                                      IDC_SIZENS,   IDC_SIZEWE,   IDC_SIZEALL};
    ::SetCursor(::LoadCursorA(NULL, cursors[hit]));
    return TRUE;
}

void CRectTracker::DrawTrackerRect(LPCRECT lpRect, CWnd* pWndClipTo, CDC* pDC, CWnd*)
{
    CRect r(lpRect);
    r.NormalizeRect();
    if (pWndClipTo) {
        CRect clip;
        pWndClipTo->GetClientRect(&clip);
        r &= clip;
    }
    // an XOR frame: drawing it twice restores what was there
    pDC->DrawFocusRect(&r);
}

void CRectTracker::AdjustRect(int nHandle, LPRECT)
{
    if (nHandle == hitMiddle)
        return;
    // keep the minimum size
    int w = m_rect.Width(), h = m_rect.Height();
    if (abs(w) < m_sizeMin.cx) {
        if (nHandle == hitLeft || nHandle == hitTopLeft || nHandle == hitBottomLeft)
            m_rect.left = m_rect.right - (w < 0 ? -m_sizeMin.cx : m_sizeMin.cx);
        else if (nHandle != hitTop && nHandle != hitBottom)
            m_rect.right = m_rect.left + (w < 0 ? -m_sizeMin.cx : m_sizeMin.cx);
    }
    if (abs(h) < m_sizeMin.cy) {
        if (nHandle == hitTop || nHandle == hitTopLeft || nHandle == hitTopRight)
            m_rect.top = m_rect.bottom - (h < 0 ? -m_sizeMin.cy : m_sizeMin.cy);
        else if (nHandle != hitLeft && nHandle != hitRight)
            m_rect.bottom = m_rect.top + (h < 0 ? -m_sizeMin.cy : m_sizeMin.cy);
    }
}

BOOL CRectTracker::Track(CWnd* pWnd, CPoint point, BOOL bAllowInvert, CWnd* pWndClipTo)
{
    int hit = HitTestHandles(point);
    if (hit < 0)
        return FALSE;
    m_bAllowInvert = bAllowInvert;
    return TrackHandle(hit, pWnd, point, pWndClipTo);
}

BOOL CRectTracker::TrackRubberBand(CWnd* pWnd, CPoint point, BOOL bAllowInvert)
{
    m_bAllowInvert = bAllowInvert;
    m_rect.SetRect(point.x, point.y, point.x, point.y);
    return TrackHandle(hitBottomRight, pWnd, point, NULL);
}

BOOL CRectTracker::TrackHandle(int nHandle, CWnd* pWnd, CPoint point, CWnd* pWndClipTo)
{
    if (::GetCapture() != NULL)
        return FALSE;
    pWnd->UpdateWindow();
    CRect start(m_rect);
    CPoint origin = point;
    pWnd->SetCapture();
    CClientDC dc(pWndClipTo ? pWndClipTo : pWnd);
    CRect drawn;
    bool shown = false;
    bool moved = false;
    BOOL result = FALSE;
    for (;;) {
        MSG msg;
        if (!::GetMessageA(&msg, NULL, 0, 0)) {
            ::PostQuitMessage((int)msg.wParam);
            break;
        }
        if (::GetCapture() != pWnd->m_hWnd)
            break; // capture lost: cancelled
        if (msg.message == WM_MOUSEMOVE || msg.message == WM_LBUTTONUP) {
            CPoint pt((short)LOWORD(msg.lParam), (short)HIWORD(msg.lParam));
            if (msg.hwnd != pWnd->m_hWnd)
                ::MapWindowPoints(msg.hwnd, pWnd->m_hWnd, &pt, 1);
            CRect old(m_rect);
            m_rect = start;
            int dx = pt.x - origin.x, dy = pt.y - origin.y;
            switch (nHandle) {
            case hitMiddle:
                m_rect.OffsetRect(dx, dy);
                break;
            case hitTopLeft:
                m_rect.left += dx;
                m_rect.top += dy;
                break;
            case hitTopRight:
                m_rect.right += dx;
                m_rect.top += dy;
                break;
            case hitBottomRight:
                m_rect.right += dx;
                m_rect.bottom += dy;
                break;
            case hitBottomLeft:
                m_rect.left += dx;
                m_rect.bottom += dy;
                break;
            case hitTop:
                m_rect.top += dy;
                break;
            case hitRight:
                m_rect.right += dx;
                break;
            case hitBottom:
                m_rect.bottom += dy;
                break;
            case hitLeft:
                m_rect.left += dx;
                break;
            }
            if (!m_bAllowInvert) {
                if (m_rect.left > m_rect.right)
                    m_rect.left = m_rect.right;
                if (m_rect.top > m_rect.bottom)
                    m_rect.top = m_rect.bottom;
            }
            AdjustRect(nHandle, &m_rect);
            if (m_rect != old) {
                moved = true;
                if (shown)
                    DrawTrackerRect(&drawn, pWndClipTo, &dc, pWnd);
                drawn = m_rect;
                DrawTrackerRect(&drawn, pWndClipTo, &dc, pWnd);
                shown = true;
                OnChangedRect(old);
            }
            if (msg.message == WM_LBUTTONUP) {
                result = moved;
                break;
            }
        } else if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) {
            break;
        } else if (msg.message == WM_RBUTTONDOWN) {
            break;
        } else {
            ::DispatchMessageA(&msg);
        }
    }
    if (shown)
        DrawTrackerRect(&drawn, pWndClipTo, &dc, pWnd);
    if (::GetCapture() == pWnd->m_hWnd)
        ::ReleaseCapture();
    if (!result)
        m_rect = start;
    return result;
}
