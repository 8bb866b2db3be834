#include "CSkinButton.h"

#include "CMemoryDC.h"

#include <set>
#include <string.h>

namespace {

// Cuts a strip bitmap into four images of width w and hands each to its
// skin bitmap; the loaded strip and the cut pieces are freed here.
void CutStrip(HBITMAP hStrip, CSkinBitmap* images, int nStart, int nEnd)
{
    BITMAP bm = {};
    ::GetObjectA(hStrip, sizeof(bm), &bm);
    int w = bm.bmWidth / 4;
    int h = bm.bmHeight;
    if (w <= 0 || h <= 0)
        return;
    HDC hScreen = ::GetDC(NULL);
    HDC hSrc = ::CreateCompatibleDC(hScreen);
    HDC hDst = ::CreateCompatibleDC(hScreen);
    HGDIOBJ oldSrc = ::SelectObject(hSrc, hStrip);
    for (int i = 0; i < 4; ++i) {
        HBITMAP piece = ::CreateCompatibleBitmap(hScreen, w, h);
        HGDIOBJ oldDst = ::SelectObject(hDst, piece);
        ::BitBlt(hDst, 0, 0, w, h, hSrc, i * w, 0, SRCCOPY);
        ::SelectObject(hDst, oldDst);
        images[i].SetBitmap(piece, nStart, nEnd, TRUE);
        ::DeleteObject(piece);
    }
    ::SelectObject(hSrc, oldSrc);
    ::DeleteDC(hSrc);
    ::DeleteDC(hDst);
    ::ReleaseDC(NULL, hScreen);
}

} // namespace

BEGIN_MESSAGE_MAP(CSkinButton, CButton)
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_CAPTURECHANGED()
    ON_WM_SHOWWINDOW()
END_MESSAGE_MAP()

CSkinButton::CSkinButton()
    : m_bTextLayout(FALSE), m_bHover(FALSE), m_bToolTip(FALSE), m_bCheckMode(FALSE),
      m_bRadio(FALSE), m_bChecked(FALSE), m_hIcon(NULL), m_bKeepWidth(TRUE), m_crText(0),
      m_bPressCapture(FALSE), m_bExtra(FALSE), m_nLastState(-1)
{
    LOGFONTA lf = {};
    if (!::SystemParametersInfoA(SPI_GETICONTITLELOGFONT, sizeof(lf), &lf, 0) ||
        !m_font.CreateFontIndirect(&lf)) {
        memset(&lf, 0, sizeof(lf));
        lf.lfHeight = -9;
        lf.lfCharSet = DEFAULT_CHARSET;
        strcpy(lf.lfFaceName, "System");
        m_font.CreateFontIndirect(&lf);
    }
}

CSkinButton::~CSkinButton() {}

void CSkinButton::SetBitmapStrip(LPCSTR lpszFile, BOOL bKeepWidth)
{
    SetBitmapStripEx(lpszFile, 6, 10, bKeepWidth);
}

void CSkinButton::SetBitmapStripEx(LPCSTR lpszFile, int nStartEdge, int nEndEdge, BOOL bKeepWidth)
{
    m_bKeepWidth = bKeepWidth;
    HBITMAP hStrip = (HBITMAP)::LoadImageA(NULL, lpszFile, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE);
    if (!hStrip)
        return;
    CutStrip(hStrip, m_images, nStartEdge, nEndEdge);
    ::DeleteObject(hStrip);
}

void CSkinButton::SetCheckStyle(int nStyle)
{
    if (nStyle == 0) {
        m_bCheckMode = TRUE;
    } else if (nStyle == 1) {
        m_bCheckMode = TRUE;
        m_bRadio = TRUE;
    }
}

void CSkinButton::PreSubclassWindow()
{
    CButton::PreSubclassWindow();
    UINT type = GetStyle() & BS_TYPEMASK;
    if (type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON) {
        m_bCheckMode = TRUE;
        m_bRadio = TRUE;
    } else if (type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_3STATE ||
               type == BS_AUTO3STATE) {
        m_bCheckMode = TRUE;
    }
    // The button draws itself; its own type lives on in the mode flags.
    SendMessage(BM_SETSTYLE, BS_OWNERDRAW, FALSE);
    // A missing strip keeps the window's size rather than collapsing it.
    int h = m_images[STATE_NORMAL].GetHeight();
    if (!m_images[STATE_NORMAL].IsEmpty() && h > 0) {
        CRect rc;
        GetWindowRect(&rc);
        int w = m_bKeepWidth ? rc.Width() : m_images[STATE_NORMAL].GetWidth();
        SetWindowPos(NULL, 0, 0, w, h, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    EnableToolTips(TRUE);
}

LRESULT CSkinButton::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == BM_SETSTYLE) {
        wParam = (wParam & ~(WPARAM)BS_TYPEMASK) | BS_OWNERDRAW;
    } else if (m_bCheckMode && message == BM_GETCHECK) {
        return m_bChecked ? BST_CHECKED : BST_UNCHECKED;
    } else if (m_bCheckMode && message == BM_SETCHECK) {
        if (wParam == 0) {
            m_bChecked = FALSE;
        } else if (wParam == 1) {
            m_bChecked = TRUE;
            if (m_bRadio)
                UncheckOthersInGroup();
        }
        Invalidate(FALSE);
        return 0;
    }
    return CButton::WindowProc(message, wParam, lParam);
}

BOOL CSkinButton::PointInClient(CPoint point) const
{
    CRect rc;
    GetClientRect(&rc);
    return rc.PtInRect(point);
}

void CSkinButton::UncheckOthersInGroup()
{
    CWnd* pParent = GetParent();
    if (!pParent)
        return;
    // The walk ends when it comes back to the button, and also when it comes
    // back to any window it already met: a hidden or disabled button is not
    // part of the system's group walk, so the walk would never reach it.
    std::set<HWND> seen;
    seen.insert(m_hWnd);
    HWND hNext = m_hWnd;
    for (;;) {
        hNext = ::GetNextDlgGroupItem(pParent->m_hWnd, hNext, FALSE);
        if (!hNext || !seen.insert(hNext).second)
            break;
        char cls[16] = "";
        ::GetClassNameA(hNext, cls, sizeof(cls));
        if (lstrcmpiA(cls, "Button") != 0 || !(::GetWindowLongA(hNext, GWL_STYLE) & WS_VISIBLE))
            continue;
        CSkinButton* pOther = dynamic_cast<CSkinButton*>(CWnd::FromHandlePermanent(hNext));
        if (pOther && pOther->m_bRadio)
            pOther->SendMessage(BM_SETCHECK, 0);
    }
}

void CSkinButton::OnMouseMove(UINT nFlags, CPoint point)
{
    if (PointInClient(point)) {
        if (!m_bHover) {
            m_bHover = TRUE;
            Invalidate(FALSE);
            SetCapture();
        }
    } else if (!m_bPressCapture) {
        m_bHover = FALSE;
        Invalidate(FALSE);
        if (::GetCapture() == m_hWnd)
            ::ReleaseCapture();
    }
    CButton::OnMouseMove(nFlags, point);
}

void CSkinButton::OnLButtonDown(UINT nFlags, CPoint point)
{
    m_bPressCapture = TRUE;
    CButton::OnLButtonDown(nFlags, point);
}

void CSkinButton::OnLButtonUp(UINT nFlags, CPoint point)
{
    BOOL inside = PointInClient(point);
    if (inside && m_bCheckMode && !(m_bRadio && m_bChecked)) {
        m_bChecked = !m_bChecked;
        Invalidate(FALSE);
        if (m_bRadio && m_bChecked)
            UncheckOthersInGroup();
    }
    HWND hSelf = m_hWnd;
    CButton::OnLButtonUp(nFlags, point); // sends the click notification
    if (!::IsWindow(hSelf) || CWnd::FromHandlePermanent(hSelf) != this)
        return;
    if (inside && IsWindowEnabled() && IsWindowVisible()) {
        // The default handling released the capture; keep hovering.
        SetCapture();
        m_bHover = TRUE;
    } else if (inside) {
        // The click disabled or hid the button: it must not keep the mouse
        // from the rest of the window.
        m_bHover = FALSE;
        if (::GetCapture() == m_hWnd)
            ::ReleaseCapture();
        Invalidate(FALSE);
    }
    m_bPressCapture = FALSE;
}

void CSkinButton::OnCaptureChanged(CWnd* pWnd)
{
    if (!pWnd || pWnd->m_hWnd != m_hWnd) {
        m_bPressCapture = FALSE;
        m_bHover = FALSE;
        Invalidate(FALSE);
    }
    CButton::OnCaptureChanged(pWnd);
}

void CSkinButton::OnShowWindow(BOOL bShow, UINT nStatus)
{
    CButton::OnShowWindow(bShow, nStatus);
    if (!bShow && nStatus == 0) {
        m_bPressCapture = FALSE;
        m_bHover = FALSE;
        if (::GetCapture() == m_hWnd)
            ::ReleaseCapture();
    }
}

void CSkinButton::DrawItem(LPDRAWITEMSTRUCT lpDIS)
{
    CRect rcItem(lpDIS->rcItem);
    int cx = rcItem.Width(), cy = rcItem.Height();
    if (cx <= 0 || cy <= 0)
        return;
    int state;
    if (m_bCheckMode) {
        if (lpDIS->itemState & ODS_DISABLED)
            state = STATE_DISABLED;
        else
            state = m_bChecked ? STATE_HOVER : STATE_NORMAL;
    } else if (lpDIS->itemState & ODS_DISABLED) {
        state = STATE_DISABLED;
    } else if (lpDIS->itemState & ODS_SELECTED) {
        state = STATE_PRESSED;
    } else {
        CPoint pt;
        ::GetCursorPos(&pt);
        ScreenToClient(&pt);
        state = (m_bHover || rcItem.PtInRect(pt)) ? STATE_HOVER : STATE_NORMAL;
    }
    m_nLastState = state;

    CDC* pTarget = CDC::FromHandle(lpDIS->hDC);
    CMemoryDC mem(cx, cy);
    m_images[state].Draw(&mem, 0, 0, cx, cy);

    CRect rcText(0, 0, cx, cy);
    if (state == STATE_PRESSED)
        rcText.OffsetRect(1, 1);

    CString text;
    GetWindowText(text);
    CFont* pOldFont = mem.SelectObject(&m_font);
    mem.SetBkMode(TRANSPARENT);
    CSize ext = mem.GetTextExtent(text);
    int left;
    if (m_hIcon) {
        int block = 19 + ext.cx;
        int iconLeft = (cx - block) / 2;
        if (iconLeft < 5)
            iconLeft = 5;
        ::DrawIconEx(mem.m_hDC, rcText.left + iconLeft, rcText.top + (cy - 16) / 2, m_hIcon, 16, 16,
                     0, NULL, DI_NORMAL);
        left = iconLeft + 19;
    } else {
        left = (cx - ext.cx) / 2;
        if (left < 5)
            left = 5;
    }
    int space = cx - 5 - left;
    BOOL fits = ext.cx < space;
    CRect rc(rcText.left + left, rcText.top, rcText.left + cx - 5, rcText.bottom);
    if (state == STATE_DISABLED) {
        UINT fmt = DT_SINGLELINE | DT_VCENTER | (fits ? 0 : DT_END_ELLIPSIS);
        mem.SetTextColor(::GetSysColor(COLOR_GRAYTEXT));
        mem.DrawText(text, &rc, fmt);
        CRect rc2 = rc;
        rc2.OffsetRect(1, 1);
        mem.SetTextColor(0xFFFDFD);
        mem.DrawText(text, &rc2, fmt);
    } else {
        mem.SetTextColor(m_crText);
        if (m_bTextLayout) {
            CRect rcl = rc;
            rcl.top += 3;
            rcl.bottom -= 1;
            mem.DrawText(text, &rcl, DT_VCENTER);
        } else {
            mem.DrawText(text, &rc, DT_SINGLELINE | DT_VCENTER | (fits ? 0 : DT_END_ELLIPSIS));
        }
    }
    mem.SelectObject(pOldFont);
    m_bToolTip = !fits;
    pTarget->BitBlt(rcItem.left, rcItem.top, cx, cy, &mem, 0, 0, SRCCOPY);
}

int CSkinButton::OnToolHitTest(CPoint point, TOOLINFOA* pTI) const
{
    if (!m_bToolTip || !PointInClient(point))
        return -1;
    if (pTI) {
        CString text;
        GetWindowText(text);
        GetClientRect(&pTI->rect);
        pTI->hwnd = m_hWnd;
        pTI->uId = 1;
        pTI->uFlags |= TTF_SUBCLASS;
        pTI->lpszText = _strdup(text);
    }
    return 1;
}
