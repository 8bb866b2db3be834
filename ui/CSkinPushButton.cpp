#include "CSkinPushButton.h"

#include "CMemoryDC.h"

BEGIN_MESSAGE_MAP(CSkinPushButton, CButton)
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONUP()
    ON_WM_LBUTTONDOWN()
    ON_WM_CAPTURECHANGED()
    ON_WM_SHOWWINDOW()
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

CSkinPushButton::CSkinPushButton()
    : m_bMouseOver(FALSE), m_bUseCursor(FALSE), m_nImageSet(0), m_bTruncated(FALSE), m_crText(0),
      m_bLButtonDown(FALSE), m_cxImage(0), m_cyImage(0), m_bDrawEdges(FALSE), m_bClip(FALSE),
      m_crTransparent(RGB(255, 0, 255))
{
    m_font.CreateFont(-13, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "宋体");
    memset(m_images, 0, sizeof(m_images));
    m_hHandCursor = ::LoadCursorA(AfxGetResourceHandle(), MAKEINTRESOURCEA(379));
    m_crEdge[0] = m_crEdge[1] = 0;
    m_hRegions[0] = m_hRegions[1] = NULL;
}

CSkinPushButton::~CSkinPushButton()
{
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 2; ++j)
            if (m_images[i][j])
                ::DeleteObject(m_images[i][j]);
    for (int j = 0; j < 2; ++j)
        if (m_hRegions[j])
            ::DeleteObject(m_hRegions[j]);
}

void CSkinPushButton::PreSubclassWindow()
{
    CButton::PreSubclassWindow();
    ModifyStyle(BS_TYPEMASK, BS_OWNERDRAW);
    SetWindowPos(NULL, 0, 0, m_cxImage, m_cyImage, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EnableToolTips(TRUE);
}

void CSkinPushButton::DrawItem(LPDRAWITEMSTRUCT lpDIS)
{
    CRect item(lpDIS->rcItem);
    if (item.IsRectEmpty())
        return;
    int state;
    CPoint pt;
    ::GetCursorPos(&pt);
    ScreenToClient(&pt);
    if (lpDIS->itemState & ODS_DISABLED)
        state = IMG_DISABLED;
    else if (lpDIS->itemState & ODS_SELECTED)
        state = IMG_PRESSED;
    else if (m_bMouseOver || item.PtInRect(pt))
        state = IMG_OVER;
    else
        state = IMG_NORMAL;

    // Image and caption are composed off-screen and shown in one copy.
    CMemoryDC mem(item.Width(), item.Height());
    mem.FillSolidRect(0, 0, item.Width(), item.Height(), ::GetSysColor(COLOR_BTNFACE));
    HBITMAP hImg = m_images[state][m_nImageSet & 1];
    if (hImg) {
        HDC hSrc = ::CreateCompatibleDC(mem.m_hDC);
        HGDIOBJ old = ::SelectObject(hSrc, hImg);
        ::BitBlt(mem.m_hDC, 0, 0, m_cxImage, m_cyImage, hSrc, 0, 0, SRCCOPY);
        ::SelectObject(hSrc, old);
        ::DeleteDC(hSrc);
    }
    CString text;
    GetWindowText(text);
    CFont* pOld = mem.SelectObject(&m_font);
    mem.SetBkMode(TRANSPARENT);
    CSize ext = mem.GetTextExtent(text);
    int iconW = 0;
    HICON hIcon = (GetStyle() & BS_ICON) ? GetIcon() : NULL;
    if (hIcon)
        iconW = 32 + 4;
    int left = (item.Width() - ext.cx - iconW) / 2;
    if (left < 5)
        left = 5;
    if (hIcon)
        ::DrawIconEx(mem.m_hDC, left, (item.Height() - 32) / 2, hIcon, 32, 32, 0, NULL, DI_NORMAL);
    CRect rc(left + iconW, 0, item.Width() - 5, item.Height());
    m_bTruncated = ext.cx > rc.Width();
    UINT fmt = DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS;
    if (state == IMG_DISABLED) {
        mem.SetTextColor(::GetSysColor(COLOR_GRAYTEXT));
        mem.DrawText(text, &rc, fmt);
        rc.OffsetRect(1, 1);
        mem.SetTextColor(0xFFFDFD);
        mem.DrawText(text, &rc, fmt);
    } else {
        mem.SetTextColor(m_crText);
        mem.DrawText(text, &rc, fmt);
    }
    mem.SelectObject(pOld);
    ::BitBlt(lpDIS->hDC, item.left, item.top, item.Width(), item.Height(), mem.m_hDC, 0, 0,
             SRCCOPY);
}

void CSkinPushButton::OnMouseMove(UINT nFlags, CPoint point)
{
    CRect rc;
    GetClientRect(&rc);
    if (rc.PtInRect(point)) {
        if (!m_bMouseOver) {
            m_bMouseOver = TRUE;
            Invalidate(FALSE);
            SetCapture();
        }
    } else if (!(nFlags & MK_LBUTTON)) {
        if (m_bMouseOver) {
            m_bMouseOver = FALSE;
            Invalidate(FALSE);
        }
        if (::GetCapture() == m_hWnd)
            ::ReleaseCapture();
    }
    CButton::OnMouseMove(nFlags, point);
}

void CSkinPushButton::OnLButtonDown(UINT nFlags, CPoint point)
{
    m_bLButtonDown = TRUE;
    CButton::OnLButtonDown(nFlags, point);
}

void CSkinPushButton::OnLButtonUp(UINT nFlags, CPoint point)
{
    HWND hSelf = m_hWnd;
    CButton::OnLButtonUp(nFlags, point);
    if (!::IsWindow(hSelf))
        return;
    CRect rc;
    GetClientRect(&rc);
    if (rc.PtInRect(point))
        SetCapture();
    m_bLButtonDown = FALSE;
}

void CSkinPushButton::OnCaptureChanged(CWnd* pWnd)
{
    if (!pWnd || pWnd->m_hWnd != m_hWnd) {
        m_bMouseOver = FALSE;
        m_bLButtonDown = FALSE;
        Invalidate(FALSE);
    }
    CButton::OnCaptureChanged(pWnd);
}

void CSkinPushButton::OnShowWindow(BOOL bShow, UINT nStatus)
{
    CButton::OnShowWindow(bShow, nStatus);
    if (!bShow) {
        m_bMouseOver = FALSE;
        m_bLButtonDown = FALSE;
        if (::GetCapture() == m_hWnd)
            ::ReleaseCapture();
    }
}

BOOL CSkinPushButton::OnEraseBkgnd(CDC*) { return TRUE; }

int CSkinPushButton::OnToolHitTest(CPoint point, TOOLINFOA* pTI) const
{
    CRect rc;
    GetClientRect(&rc);
    if (!m_bTruncated || !rc.PtInRect(point))
        return -1;
    if (pTI) {
        CString text;
        GetWindowText(text);
        pTI->rect = rc;
        pTI->hwnd = m_hWnd;
        pTI->uId = 1;
        pTI->uFlags |= TTF_SUBCLASS;
        pTI->lpszText = _strdup(text);
    }
    return 1;
}
