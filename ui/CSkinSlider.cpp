#include "CSkinSlider.h"

#include "CMemoryDC.h"

BEGIN_MESSAGE_MAP(CSkinSlider, CWnd)
    ON_WM_CREATE()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_ENABLE()
    ON_WM_PAINT()
END_MESSAGE_MAP()

CSkinSlider::CSkinSlider()
    : m_nLevel(0), m_crBackground(0xF4F0EF), m_bDragging(FALSE), m_cxThumb(0), m_cyThumb(0),
      m_ptDragOffset(0, 0), m_bHorizontal(TRUE), m_nPos(0), m_nMin(0), m_nMax(100), m_nLineStep(10),
      m_nPageStep(1), m_nState(STATE_NORMAL)
{}

CSkinSlider::~CSkinSlider() {}

BOOL CSkinSlider::Create(LPCSTR lpszBeforeFile, LPCSTR lpszAfterFile, LPCSTR lpszThumbStrip,
                         const RECT& rect, CWnd* pParentWnd, UINT nID, BOOL bHorizontal)
{
    m_bHorizontal = bHorizontal;
    m_before.LoadFromFile(lpszBeforeFile, 10, 20, TRUE);
    m_after.LoadFromFile(lpszAfterFile, 10, 20, TRUE);
    HBITMAP hStrip =
        (HBITMAP)::LoadImageA(NULL, lpszThumbStrip, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE);
    if (hStrip) {
        BITMAP bm = {};
        ::GetObjectA(hStrip, sizeof(bm), &bm);
        m_cxThumb = bm.bmWidth / 4;
        m_cyThumb = bm.bmHeight;
        if (m_cxThumb > 0 && m_cyThumb > 0) {
            HDC hScreen = ::GetDC(NULL);
            HDC hSrc = ::CreateCompatibleDC(hScreen);
            HDC hDst = ::CreateCompatibleDC(hScreen);
            HGDIOBJ oldSrc = ::SelectObject(hSrc, hStrip);
            for (int i = 0; i < 4; ++i) {
                m_thumbs[i].Attach(::CreateCompatibleBitmap(hScreen, m_cxThumb, m_cyThumb));
                HGDIOBJ oldDst = ::SelectObject(hDst, m_thumbs[i].m_hObject);
                ::BitBlt(hDst, 0, 0, m_cxThumb, m_cyThumb, hSrc, i * m_cxThumb, 0, SRCCOPY);
                ::SelectObject(hDst, oldDst);
            }
            ::SelectObject(hSrc, oldSrc);
            ::DeleteDC(hSrc);
            ::DeleteDC(hDst);
            ::ReleaseDC(NULL, hScreen);
        } else {
            m_cxThumb = m_cyThumb = 0;
        }
        ::DeleteObject(hStrip);
    }
    LPCSTR cls = AfxRegisterWndClass(CS_HREDRAW | CS_VREDRAW, ::LoadCursorA(NULL, IDC_ARROW), NULL);
    return CWnd::Create(cls, NULL, WS_CHILD | WS_VISIBLE, rect, pParentWnd, nID);
}

int CSkinSlider::OnCreate(LPCREATESTRUCT lpcs)
{
    if (CWnd::OnCreate(lpcs) == -1)
        return -1;
    if (lpcs->style & WS_DISABLED)
        m_nState = STATE_DISABLED;
    return 0;
}

void CSkinSlider::SetRange(int nMin, int nMax, BOOL bRedraw)
{
    m_nMin = nMin;
    m_nMax = nMax;
    if (bRedraw && m_hWnd)
        Invalidate(FALSE);
}

void CSkinSlider::GetRange(int* pMin, int* pMax) const
{
    if (pMin)
        *pMin = m_nMin;
    if (pMax)
        *pMax = m_nMax;
}

void CSkinSlider::SetPos(int nPos)
{
    m_nPos = nPos;
    if (m_hWnd)
        Invalidate(FALSE);
}

CRect CSkinSlider::GetChannelRect() const
{
    CRect rc;
    GetClientRect(&rc);
    // A missing channel bitmap leaves the whole client as the channel.
    if (m_bHorizontal) {
        int h = m_before.IsEmpty() ? rc.Height() : m_before.GetHeight();
        rc.top = (rc.Height() - h) / 2;
        rc.bottom = rc.top + h;
    } else {
        int w = m_before.IsEmpty() ? rc.Width() : m_before.GetWidth();
        rc.left = (rc.Width() - w) / 2;
        rc.right = rc.left + w;
    }
    return rc;
}

// The thumb centre along the axis. An empty range (maximum equal to
// minimum) keeps the thumb at the start instead of dividing by zero.
int CSkinSlider::CenterFromPos() const
{
    CRect ch = GetChannelRect();
    int L = m_bHorizontal ? ch.left : ch.top;
    int R = m_bHorizontal ? ch.right : ch.bottom;
    int t = m_bHorizontal ? m_cxThumb : m_cyThumb;
    double ratio = 0.0;
    if (m_nMax != m_nMin)
        ratio = (double)(m_nPos - m_nMin) / (double)(m_nMax - m_nMin);
    int c = (int)(L + t / 2 + (R - t - L) * ratio);
    if (c > R - t / 2)
        c = R - t / 2;
    if (c < L + t / 2)
        c = L + t / 2;
    return c;
}

CRect CSkinSlider::GetThumbRect() const
{
    CRect ch = GetChannelRect();
    int c = CenterFromPos();
    if (m_bHorizontal) {
        int cy = (ch.top + ch.bottom) / 2;
        return CRect(c - m_cxThumb / 2, cy - m_cyThumb / 2, c - m_cxThumb / 2 + m_cxThumb,
                     cy - m_cyThumb / 2 + m_cyThumb);
    }
    int cx = (ch.left + ch.right) / 2;
    return CRect(cx - m_cxThumb / 2, c - m_cyThumb / 2, cx - m_cxThumb / 2 + m_cxThumb,
                 c - m_cyThumb / 2 + m_cyThumb);
}

int CSkinSlider::PosFromPoint(CPoint point) const
{
    CRect ch = GetChannelRect();
    double span, offset;
    if (m_bHorizontal) {
        span = ch.Width() - m_cxThumb;
        offset = point.x - m_cxThumb / 2 - ch.left;
    } else {
        span = ch.Height() - m_cyThumb;
        offset = point.y - m_cyThumb / 2 - ch.top;
    }
    double ratio = span > 0 ? offset / span : 0.0;
    int pos = (int)(ratio * (m_nMax - m_nMin) + m_nMin);
    int lo = m_nMin < m_nMax ? m_nMin : m_nMax;
    int hi = m_nMin < m_nMax ? m_nMax : m_nMin;
    if (pos < lo)
        pos = lo;
    if (pos > hi)
        pos = hi;
    return pos;
}

void CSkinSlider::Notify(UINT nCode)
{
    CWnd* pParent = GetParent();
    if (!pParent)
        return;
    WPARAM wp = (nCode == SB_ENDSCROLL) ? SB_ENDSCROLL : MAKEWPARAM(nCode, (WORD)m_nPos);
    pParent->SendMessage(m_bHorizontal ? WM_HSCROLL : WM_VSCROLL, wp, (LPARAM)m_hWnd);
}

void CSkinSlider::SetState(int nState)
{
    if (m_nState != nState) {
        m_nState = nState;
        Invalidate(FALSE);
    }
}

void CSkinSlider::OnLButtonDown(UINT, CPoint point)
{
    if (m_nState == STATE_DISABLED)
        return;
    CRect thumb = GetThumbRect();
    if (!thumb.PtInRect(point)) {
        m_nPos = PosFromPoint(point);
        thumb = GetThumbRect();
    }
    m_ptDragOffset = CPoint(point.x - thumb.CenterPoint().x, point.y - thumb.CenterPoint().y);
    m_bDragging = TRUE;
    SetCapture();
    m_nState = STATE_PRESSED;
    Invalidate(FALSE);
}

void CSkinSlider::OnMouseMove(UINT nFlags, CPoint point)
{
    if (m_nState == STATE_DISABLED)
        return;
    if (m_bDragging && !(nFlags & MK_LBUTTON)) {
        // The release went to another window (one that took the mouse
        // meanwhile): the drag ends here as a release would end it, instead
        // of the thumb following a mouse whose button is up.
        OnLButtonUp(nFlags, point);
        if (m_nState == STATE_OVER && ::GetCapture() != m_hWnd)
            SetCapture();
        return;
    }
    if (m_bDragging) {
        if (::GetCapture() != m_hWnd)
            SetCapture();
        m_nState = STATE_PRESSED;
        m_nPos = PosFromPoint(point);
        Invalidate(FALSE);
        Notify(SB_THUMBTRACK);
        return;
    }
    if (GetThumbRect().PtInRect(point)) {
        if (m_nState != STATE_OVER) {
            SetCapture();
            SetState(STATE_OVER);
        }
    } else if (m_nState == STATE_OVER || ::GetCapture() == m_hWnd) {
        if (::GetCapture() == m_hWnd)
            ::ReleaseCapture();
        SetState(STATE_NORMAL);
    }
}

void CSkinSlider::OnLButtonUp(UINT, CPoint point)
{
    if (m_nState == STATE_DISABLED || !m_bDragging)
        return;
    m_bDragging = FALSE;
    if (GetThumbRect().PtInRect(point)) {
        SetState(STATE_OVER);
    } else {
        if (::GetCapture() == m_hWnd)
            ::ReleaseCapture();
        SetState(STATE_NORMAL);
    }
    Invalidate(FALSE);
    Notify(SB_THUMBPOSITION);
    Notify(SB_ENDSCROLL);
}

void CSkinSlider::OnEnable(BOOL bEnable)
{
    if (!bEnable) {
        m_bDragging = FALSE;
        if (::GetCapture() == m_hWnd)
            ::ReleaseCapture();
    }
    m_nState = bEnable ? STATE_NORMAL : STATE_DISABLED;
    Invalidate(FALSE);
}

void CSkinSlider::OnPaint()
{
    CPaintDC dc(this);
    CRect rc;
    GetClientRect(&rc);
    if (rc.IsRectEmpty())
        return;
    CMemoryDC mem(rc.Width(), rc.Height());
    mem.FillSolidRect(&rc, m_crBackground);
    CRect ch = GetChannelRect();
    int c = CenterFromPos();

    int saved = mem.SaveDC();
    if (m_bHorizontal)
        mem.IntersectClipRect(c, ch.top, ch.right, ch.bottom);
    else
        mem.IntersectClipRect(ch.left, c, ch.right, ch.bottom);
    m_after.Draw(&mem, ch.left, ch.top, ch.Width(), ch.Height());
    mem.RestoreDC(saved);
    saved = mem.SaveDC();
    if (m_bHorizontal)
        mem.IntersectClipRect(ch.left, ch.top, c, ch.bottom);
    else
        mem.IntersectClipRect(ch.left, ch.top, ch.right, c);
    m_before.Draw(&mem, ch.left, ch.top, ch.Width(), ch.Height());
    mem.RestoreDC(saved);

    if (m_bHorizontal && m_nLevel > 0) {
        int level = m_nLevel > 100 ? 100 : m_nLevel;
        int end = ch.left + (int)(level * 0.01 * ch.Width());
        int top = ch.top + 3, bottom = ch.bottom - 3;
        int side = bottom - top - 2;
        if (side < 3)
            side = 3;
        for (int x = ch.left; x < end; x += side + 1) {
            int right = x + side > end ? end : x + side;
            if (bottom > top)
                mem.FillSolidRect(x, top, right - x, bottom - top, 0xE17910);
        }
    }

    if (m_thumbs[m_nState].m_hObject) {
        CRect t = GetThumbRect();
        CDC src;
        src.CreateCompatibleDC(&mem);
        CBitmap* pOld = src.SelectObject(&m_thumbs[m_nState]);
        mem.BitBlt(t.left, t.top, t.Width(), t.Height(), &src, 0, 0, SRCCOPY);
        src.SelectObject(pOld);
    }
    dc.BitBlt(0, 0, rc.Width(), rc.Height(), &mem, 0, 0, SRCCOPY);
}
