#include "CView.h"
#include "CCreateContext.h"
#include "CDC.h"
#include "CDocument.h"
#include "CFrameWnd.h"
#include "CPaintDC.h"
#include "CScrollBar.h"
#include "CScrollView.h"
#include "CClientDC.h"
#include "CWindowDC.h"

#include <limits.h>
#include <stdlib.h>

IMPLEMENT_DYNAMIC(CView, CWnd)
IMPLEMENT_DYNAMIC(CScrollView, CView)

BEGIN_MESSAGE_MAP(CView, CWnd)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_PAINT()
    ON_WM_MOUSEACTIVATE()
    ON_MESSAGE(WM_INITIALUPDATE, OnInitialUpdateMsg)
END_MESSAGE_MAP()

CView::CView() : m_pDocument(NULL) {}

CView::~CView()
{
    if (m_pDocument)
        m_pDocument->RemoveView(this);
}

BOOL CView::PreCreateWindow(CREATESTRUCT& cs)
{
    if (!cs.lpszClass)
        cs.lpszClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(NULL, IDC_ARROW),
                                           (HBRUSH)(COLOR_WINDOW + 1));
    if (cs.style & WS_BORDER) {
        cs.dwExStyle |= WS_EX_CLIENTEDGE;
        cs.style &= ~WS_BORDER;
    }
    return TRUE;
}

int CView::OnCreate(LPCREATESTRUCT lpcs)
{
    if (CWnd::OnCreate(lpcs) == -1)
        return -1;
    CCreateContext* ctx = (CCreateContext*)lpcs->lpCreateParams;
    if (ctx && ctx->m_pCurrentDoc)
        ctx->m_pCurrentDoc->AddView(this);
    return 0;
}

void CView::OnDestroy()
{
    CFrameWnd* frame = GetParentFrame();
    if (frame && frame->GetActiveView() == this)
        frame->SetActiveView(NULL, FALSE);
    CWnd::OnDestroy();
}

void CView::PostNcDestroy()
{
    // views are made by their frame with new and free themselves
    delete this;
}

void CView::OnPaint()
{
    CPaintDC dc(this);
    OnPrepareDC(&dc);
    OnDraw(&dc);
}

int CView::OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message)
{
    int r = CWnd::OnMouseActivate(pDesktopWnd, nHitTest, message);
    CFrameWnd* frame = GetParentFrame();
    if (frame)
        frame->SetActiveView(this);
    return r;
}

LRESULT CView::OnInitialUpdateMsg(WPARAM, LPARAM)
{
    OnInitialUpdate();
    return 0;
}

void CView::OnInitialUpdate() { OnUpdate(NULL, 0, NULL); }

void CView::OnUpdate(CView*, LPARAM, CObject*) { Invalidate(TRUE); }

void CView::OnActivateView(BOOL bActivate, CView* pActivateView, CView*)
{
    if (bActivate && pActivateView == this && m_hWnd)
        SetFocus();
}

BOOL CView::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    return m_pDocument && m_pDocument->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

// ---------------------------------------------------------------- scroll view

const SIZE CScrollView::sizeDefault = {0, 0};

BEGIN_MESSAGE_MAP(CScrollView, CView)
    ON_WM_SIZE()
    ON_WM_HSCROLL()
    ON_WM_VSCROLL()
    ON_WM_MOUSEWHEEL()
END_MESSAGE_MAP()

CScrollView::CScrollView() : m_nMapMode(MM_TEXT) {}

void CScrollView::SetScrollSizes(int nMapMode, SIZE sizeTotal, const SIZE& sizePage,
                                 const SIZE& sizeLine)
{
    m_nMapMode = nMapMode;
    m_totalLog = sizeTotal;
    m_totalDev = sizeTotal;
    m_pageDev = sizePage;
    m_lineDev = sizeLine;
    if (nMapMode != MM_TEXT && m_hWnd) {
        CClientDC dc(this);
        dc.SetMapMode(nMapMode);
        dc.LPtoDP(&m_totalDev);
        dc.LPtoDP(&m_pageDev);
        dc.LPtoDP(&m_lineDev);
        m_totalDev.cx = abs(m_totalDev.cx);
        m_totalDev.cy = abs(m_totalDev.cy);
        m_pageDev.cx = abs(m_pageDev.cx);
        m_pageDev.cy = abs(m_pageDev.cy);
        m_lineDev.cx = abs(m_lineDev.cx);
        m_lineDev.cy = abs(m_lineDev.cy);
    }
    if (m_pageDev.cx == 0)
        m_pageDev.cx = m_totalDev.cx / 10;
    if (m_pageDev.cy == 0)
        m_pageDev.cy = m_totalDev.cy / 10;
    if (m_lineDev.cx == 0)
        m_lineDev.cx = m_pageDev.cx / 10;
    if (m_lineDev.cy == 0)
        m_lineDev.cy = m_pageDev.cy / 10;
    if (m_hWnd)
        UpdateBars();
}

void CScrollView::GetDeviceScrollSizes(int& nMapMode, SIZE& sizeTotal, SIZE& sizePage,
                                       SIZE& sizeLine) const
{
    nMapMode = m_nMapMode;
    sizeTotal = m_totalDev;
    sizePage = m_pageDev;
    sizeLine = m_lineDev;
}

CPoint CScrollView::GetDeviceScrollPosition() const
{
    return CPoint(GetScrollPos(SB_HORZ), GetScrollPos(SB_VERT));
}

CPoint CScrollView::GetScrollPosition() const
{
    CPoint pt = GetDeviceScrollPosition();
    if (m_nMapMode != MM_TEXT) {
        CWindowDC dc(NULL);
        dc.SetMapMode(m_nMapMode);
        dc.DPtoLP((LPPOINT)&pt);
    }
    return pt;
}

void CScrollView::UpdateBars()
{
    CRect client;
    GetClientRect(&client);
    // account for bars already shown
    if (GetStyle() & WS_VSCROLL)
        client.right += GetSystemMetrics(SM_CXVSCROLL);
    if (GetStyle() & WS_HSCROLL)
        client.bottom += GetSystemMetrics(SM_CYHSCROLL);
    bool needH = m_totalDev.cx > client.Width();
    bool needV = m_totalDev.cy > client.Height();
    if (needH && !needV && m_totalDev.cy > client.Height() - GetSystemMetrics(SM_CYHSCROLL))
        needV = true;
    if (needV && !needH && m_totalDev.cx > client.Width() - GetSystemMetrics(SM_CXVSCROLL))
        needH = true;
    if (needV)
        client.right -= GetSystemMetrics(SM_CXVSCROLL);
    if (needH)
        client.bottom -= GetSystemMetrics(SM_CYHSCROLL);

    CPoint old = GetDeviceScrollPosition();
    SCROLLINFO si = {sizeof(si)};
    si.fMask = SIF_PAGE | SIF_RANGE | SIF_POS;
    si.nMin = 0;
    si.nMax = needH ? m_totalDev.cx - 1 : 0;
    si.nPage = needH ? client.Width() : 0;
    si.nPos = needH ? old.x : 0;
    ::SetScrollInfo(m_hWnd, SB_HORZ, &si, TRUE);
    ::ShowScrollBar(m_hWnd, SB_HORZ, needH);
    si.nMax = needV ? m_totalDev.cy - 1 : 0;
    si.nPage = needV ? client.Height() : 0;
    si.nPos = needV ? old.y : 0;
    ::SetScrollInfo(m_hWnd, SB_VERT, &si, TRUE);
    ::ShowScrollBar(m_hWnd, SB_VERT, needV);
    CPoint now = GetDeviceScrollPosition();
    if (now != old)
        ScrollWindow(old.x - now.x, old.y - now.y);
}

void CScrollView::ScrollToPosition(POINT pt)
{
    if (m_nMapMode != MM_TEXT) {
        CWindowDC dc(NULL);
        dc.SetMapMode(m_nMapMode);
        dc.LPtoDP(&pt, 1);
    }
    CPoint old = GetDeviceScrollPosition();
    SetScrollPos(SB_HORZ, pt.x);
    SetScrollPos(SB_VERT, pt.y);
    CPoint now = GetDeviceScrollPosition();
    ScrollWindow(old.x - now.x, old.y - now.y);
}

void CScrollView::OnPrepareDC(CDC* pDC, void* pInfo)
{
    pDC->SetMapMode(m_nMapMode);
    CPoint pos = GetDeviceScrollPosition();
    pDC->SetViewportOrg(-pos.x, -pos.y);
    CView::OnPrepareDC(pDC, pInfo);
}

void CScrollView::FillOutsideRect(CDC* pDC, CBrush* pBrush)
{
    CRect client;
    GetClientRect(&client);
    CPoint pos = GetDeviceScrollPosition();
    CRect inside(-pos.x, -pos.y, m_totalDev.cx - pos.x, m_totalDev.cy - pos.y);
    int saved = pDC->SaveDC();
    pDC->SetMapMode(MM_TEXT);
    pDC->SetViewportOrg(0, 0);
    pDC->ExcludeClipRect(&inside);
    pDC->FillRect(&client, pBrush);
    pDC->RestoreDC(saved);
}

void CScrollView::ResizeParentToFit(BOOL bShrinkOnly)
{
    CFrameWnd* frame = GetParentFrame();
    if (!frame)
        return;
    CRect view;
    GetWindowRect(&view);
    CRect frameRect;
    frame->GetWindowRect(&frameRect);
    CSize want(m_totalDev.cx - view.Width(), m_totalDev.cy - view.Height());
    if (bShrinkOnly) {
        if (want.cx > 0)
            want.cx = 0;
        if (want.cy > 0)
            want.cy = 0;
    }
    frame->SetWindowPos(NULL, 0, 0, frameRect.Width() + want.cx, frameRect.Height() + want.cy,
                        SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL CScrollView::OnScrollBy(CSize sizeScroll, BOOL bDoScroll)
{
    int xOrig = GetScrollPos(SB_HORZ), yOrig = GetScrollPos(SB_VERT);
    int x = xOrig + sizeScroll.cx, y = yOrig + sizeScroll.cy;
    int xMax = (GetStyle() & WS_HSCROLL) ? GetScrollLimit(SB_HORZ) : 0;
    int yMax = (GetStyle() & WS_VSCROLL) ? GetScrollLimit(SB_VERT) : 0;
    x = x < 0 ? 0 : (x > xMax ? xMax : x);
    y = y < 0 ? 0 : (y > yMax ? yMax : y);
    if (x == xOrig && y == yOrig)
        return FALSE;
    if (bDoScroll) {
        ScrollWindow(xOrig - x, yOrig - y);
        if (x != xOrig)
            SetScrollPos(SB_HORZ, x);
        if (y != yOrig)
            SetScrollPos(SB_VERT, y);
    }
    return TRUE;
}

BOOL CScrollView::OnScroll(UINT nScrollCode, UINT nPos, BOOL bDoScroll)
{
    int x = GetScrollPos(SB_HORZ), y = GetScrollPos(SB_VERT);
    int nx = x, ny = y;
    switch (LOBYTE(nScrollCode)) {
    case SB_TOP:
        nx = 0;
        break;
    case SB_BOTTOM:
        nx = INT_MAX;
        break;
    case SB_LINEUP:
        nx -= m_lineDev.cx;
        break;
    case SB_LINEDOWN:
        nx += m_lineDev.cx;
        break;
    case SB_PAGEUP:
        nx -= m_pageDev.cx;
        break;
    case SB_PAGEDOWN:
        nx += m_pageDev.cx;
        break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
        nx = (int)nPos;
        break;
    }
    switch (HIBYTE(nScrollCode)) {
    case SB_TOP:
        ny = 0;
        break;
    case SB_BOTTOM:
        ny = INT_MAX;
        break;
    case SB_LINEUP:
        ny -= m_lineDev.cy;
        break;
    case SB_LINEDOWN:
        ny += m_lineDev.cy;
        break;
    case SB_PAGEUP:
        ny -= m_pageDev.cy;
        break;
    case SB_PAGEDOWN:
        ny += m_pageDev.cy;
        break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
        ny = (int)nPos;
        break;
    }
    if (nx == INT_MAX)
        nx = GetScrollLimit(SB_HORZ);
    if (ny == INT_MAX)
        ny = GetScrollLimit(SB_VERT);
    return OnScrollBy(CSize(nx - x, ny - y), bDoScroll);
}

void CScrollView::OnSize(UINT nType, int cx, int cy)
{
    CView::OnSize(nType, cx, cy);
    UpdateBars();
}

// The message carries a dragged thumb's position in 16 bits only: the bar
// keeps all 32.
static UINT ThumbPosition(HWND hWnd, int nBar, UINT nSBCode, UINT nPos)
{
    if (nSBCode != SB_THUMBTRACK && nSBCode != SB_THUMBPOSITION)
        return nPos;
    SCROLLINFO info = {sizeof(info), SIF_TRACKPOS};
    return ::GetScrollInfo(hWnd, nBar, &info) ? (UINT)info.nTrackPos : nPos;
}

void CScrollView::OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar)
{
    if (pScrollBar && pScrollBar->m_hWnd)
        return CView::OnHScroll(nSBCode, nPos, pScrollBar);
    OnScroll(MAKEWORD(nSBCode, 0xFF), ThumbPosition(m_hWnd, SB_HORZ, nSBCode, nPos));
}

void CScrollView::OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar)
{
    if (pScrollBar && pScrollBar->m_hWnd)
        return CView::OnVScroll(nSBCode, nPos, pScrollBar);
    OnScroll(MAKEWORD(0xFF, nSBCode), ThumbPosition(m_hWnd, SB_VERT, nSBCode, nPos));
}

BOOL CScrollView::OnMouseWheel(UINT, short zDelta, CPoint)
{
    if (!(GetStyle() & WS_VSCROLL))
        return FALSE;
    return OnScrollBy(CSize(0, -zDelta * m_lineDev.cy * 3 / WHEEL_DELTA));
}
