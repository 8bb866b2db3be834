#include "CIconButton.h"

#include "BCMenu.h"
#include "CMemoryDC.h"

BEGIN_MESSAGE_MAP(CIconButton, CButton)
    ON_WM_SETCURSOR()
    ON_WM_KILLFOCUS()
    ON_WM_MOUSEMOVE()
    ON_WM_SYSCOLORCHANGE()
    ON_CONTROL_REFLECT_EX(BN_CLICKED, OnClicked)
    ON_WM_ACTIVATE()
    ON_WM_ENABLE()
    ON_WM_CANCELMODE()
    ON_WM_GETDLGCODE()
    ON_WM_CTLCOLOR_REFLECT()
    ON_MESSAGE(WM_MOUSELEAVE, OnMouseLeave)
END_MESSAGE_MAP()

CIconButton::CIconButton()
    : m_bIsFlat(TRUE), m_bMouseOver(FALSE), m_bIsPressed(FALSE), m_bIsFocused(FALSE),
      m_bIsDisabled(FALSE), m_bIsDefault(FALSE), m_bIsCheckBox(FALSE), m_nCheck(0), m_hCursor(NULL),
      m_nLayout(IMAGE_TOPLEFT), m_nLastImage(-1)
{
    m_ptPressedOffset.x = m_ptPressedOffset.y = 0;
    memset(m_images, 0, sizeof(m_images));
    SetDefaultColors(FALSE);
}

CIconButton::~CIconButton()
{
    FreeImages();
    if (m_hCursor)
        ::DestroyCursor(m_hCursor);
}

void CIconButton::SetDefaultColors(BOOL bRepaint)
{
    COLORREF face = ::GetSysColor(COLOR_BTNFACE), text = ::GetSysColor(COLOR_BTNTEXT);
    m_crColors[BTNST_COLOR_BK_IN] = m_crColors[BTNST_COLOR_BK_OUT] =
        m_crColors[BTNST_COLOR_BK_FOCUS] = face;
    m_crColors[BTNST_COLOR_FG_IN] = m_crColors[BTNST_COLOR_FG_OUT] =
        m_crColors[BTNST_COLOR_FG_FOCUS] = text;
    if (bRepaint && m_hWnd)
        Invalidate();
}

void CIconButton::FreeImages()
{
    for (int i = 0; i < 2; ++i) {
        if (m_images[i].hBitmap)
            ::DeleteObject(m_images[i].hBitmap);
        if (m_images[i].hMask)
            ::DeleteObject(m_images[i].hMask);
    }
    memset(m_images, 0, sizeof(m_images));
}

DWORD CIconButton::SetBitmaps(UINT nBitmapIn, COLORREF crTransIn, UINT nBitmapOut,
                              COLORREF crTransOut)
{
    HINSTANCE hInst = AfxGetResourceHandle();
    HBITMAP hIn = (HBITMAP)::LoadImageA(hInst, MAKEINTRESOURCEA(nBitmapIn), IMAGE_BITMAP, 0, 0, 0);
    HBITMAP hOut = NULL;
    if (nBitmapOut != 0 && nBitmapOut != BTNST_AUTO_GRAY && nBitmapOut != BTNST_AUTO_DARKER)
        hOut = (HBITMAP)::LoadImageA(hInst, MAKEINTRESOURCEA(nBitmapOut), IMAGE_BITMAP, 0, 0, 0);
    return SetBitmapHandles(hIn, crTransIn, hOut, nBitmapOut, crTransOut);
}

DWORD CIconButton::SetBitmapHandles(HBITMAP hIn, COLORREF crTransIn, HBITMAP hOut, UINT nOutRequest,
                                    COLORREF crTransOut)
{
    FreeImages();
    if (hIn) {
        BITMAP bm = {};
        if (!::GetObjectA(hIn, sizeof(bm), &bm)) {
            ::DeleteObject(hIn);
            if (hOut)
                ::DeleteObject(hOut);
            return BTNST_INVALIDRESOURCE;
        }
        m_images[0].hBitmap = hIn;
        m_images[0].cx = bm.bmWidth;
        m_images[0].cy = bm.bmHeight;
        m_images[0].crTrans = crTransIn;
        if (nOutRequest == BTNST_AUTO_GRAY || nOutRequest == BTNST_AUTO_DARKER) {
            if (hOut)
                ::DeleteObject(hOut);
            hOut = CreateShadedCopy(hIn, bm.bmWidth, bm.bmHeight, crTransIn,
                                    nOutRequest == BTNST_AUTO_GRAY);
            crTransOut = crTransIn;
        }
        m_images[0].hMask = CreateMask(hIn, bm.bmWidth, bm.bmHeight, crTransIn);
        if (!m_images[0].hMask) {
            if (hOut)
                ::DeleteObject(hOut);
            FreeImages();
            return BTNST_FAILEDMASK;
        }
        if (hOut) {
            BITMAP bo = {};
            m_images[1].hBitmap = hOut;
            if (!::GetObjectA(hOut, sizeof(bo), &bo)) {
                FreeImages();
                return BTNST_INVALIDRESOURCE;
            }
            m_images[1].cx = bo.bmWidth;
            m_images[1].cy = bo.bmHeight;
            m_images[1].crTrans = crTransOut;
            m_images[1].hMask = CreateMask(hOut, bo.bmWidth, bo.bmHeight, crTransOut);
            if (!m_images[1].hMask) {
                FreeImages();
                return BTNST_FAILEDMASK;
            }
        }
    } else if (hOut) {
        ::DeleteObject(hOut);
    }
    if (m_hWnd)
        Invalidate();
    return BTNST_OK;
}

// A monochrome mask, 1 where the image has the transparent colour; those
// pixels of the image become black so that OR drawing leaves the background.
HBITMAP CIconButton::CreateMask(HBITMAP hBitmap, int cx, int cy, COLORREF crTrans)
{
    HBITMAP hMask = ::CreateBitmap(cx, cy, 1, 1, NULL);
    if (!hMask)
        return NULL;
    HDC hSrc = ::CreateCompatibleDC(NULL);
    HDC hDst = ::CreateCompatibleDC(NULL);
    HGDIOBJ oldSrc = ::SelectObject(hSrc, hBitmap);
    HGDIOBJ oldDst = ::SelectObject(hDst, hMask);
    COLORREF oldBk = ::SetBkColor(hSrc, crTrans);
    ::BitBlt(hDst, 0, 0, cx, cy, hSrc, 0, 0, SRCCOPY);
    ::SetBkColor(hSrc, RGB(255, 255, 255));
    COLORREF oldText = ::SetTextColor(hSrc, RGB(0, 0, 0));
    ::BitBlt(hSrc, 0, 0, cx, cy, hDst, 0, 0, 0x220326); // source AND NOT mask
    ::SetTextColor(hSrc, oldText);
    ::SetBkColor(hSrc, oldBk);
    ::SelectObject(hSrc, oldSrc);
    ::SelectObject(hDst, oldDst);
    ::DeleteDC(hSrc);
    ::DeleteDC(hDst);
    return hMask;
}

HBITMAP CIconButton::CreateShadedCopy(HBITMAP hSource, int cx, int cy, COLORREF crTrans, BOOL bGray)
{
    HDC hScreen = ::GetDC(NULL);
    HBITMAP hCopy = ::CreateCompatibleBitmap(hScreen, cx, cy);
    HDC hSrc = ::CreateCompatibleDC(hScreen);
    HDC hDst = ::CreateCompatibleDC(hScreen);
    ::ReleaseDC(NULL, hScreen);
    if (!hCopy || !hSrc || !hDst) {
        if (hCopy)
            ::DeleteObject(hCopy);
        if (hSrc)
            ::DeleteDC(hSrc);
        if (hDst)
            ::DeleteDC(hDst);
        return NULL;
    }
    HGDIOBJ oldSrc = ::SelectObject(hSrc, hSource);
    HGDIOBJ oldDst = ::SelectObject(hDst, hCopy);
    ::BitBlt(hDst, 0, 0, cx, cy, hSrc, 0, 0, SRCCOPY);
    for (int y = 0; y < cy; ++y) {
        for (int x = 0; x < cx; ++x) {
            COLORREF c = ::GetPixel(hSrc, x, y);
            if (c == crTrans)
                continue;
            int r = GetRValue(c), g = GetGValue(c), b = GetBValue(c);
            if (bGray) {
                int l = (int)(0.299 * r + 0.587 * g + 0.114 * b);
                if (l > 255)
                    l = 255;
                ::SetPixel(hDst, x, y, RGB(l, l, l));
            } else {
                ::SetPixel(hDst, x, y,
                           RGB((int)(r - r * 0.25), (int)(g - g * 0.25), (int)(b - b * 0.25)));
            }
        }
    }
    ::SelectObject(hSrc, oldSrc);
    ::SelectObject(hDst, oldDst);
    ::DeleteDC(hSrc);
    ::DeleteDC(hDst);
    return hCopy;
}

DWORD CIconButton::SetStateColor(BYTE byColorIndex, COLORREF crColor, BOOL bRepaint)
{
    if (byColorIndex >= BTNST_MAX_COLORS)
        return BTNST_INVALIDINDEX;
    m_crColors[byColorIndex] = crColor;
    if (bRepaint && m_hWnd)
        Invalidate();
    return BTNST_OK;
}

DWORD CIconButton::SetPressedOffset(BYTE byMode, BOOL bRepaint)
{
    switch (byMode) {
    case 0:
        m_ptPressedOffset.x = 1;
        m_ptPressedOffset.y = 1;
        break;
    case 1:
        m_ptPressedOffset.x = 0;
        m_ptPressedOffset.y = 2;
        break;
    case 2:
        m_ptPressedOffset.x = 0;
        m_ptPressedOffset.y = 0;
        break;
    default:
        return BTNST_BADPARAM;
    }
    if (bRepaint && m_hWnd)
        Invalidate();
    return BTNST_OK;
}

DWORD CIconButton::SetButtonCursor(UINT nCursorId, BOOL bRepaint)
{
    if (m_hCursor) {
        ::DestroyCursor(m_hCursor);
        m_hCursor = NULL;
    }
    if (nCursorId == 0)
        return BTNST_OK;
    m_hCursor = (HCURSOR)::LoadImageA(AfxGetResourceHandle(), MAKEINTRESOURCEA(nCursorId),
                                      IMAGE_CURSOR, 0, 0, 0);
    if (bRepaint && m_hWnd)
        Invalidate();
    return m_hCursor ? BTNST_OK : BTNST_INVALIDRESOURCE;
}

DWORD CIconButton::SetImageLayout(int nLayout, BOOL bRepaint)
{
    if (nLayout != IMAGE_TOPLEFT && nLayout != IMAGE_LEFT)
        return BTNST_BADPARAM;
    m_nLayout = nLayout;
    if (bRepaint && m_hWnd)
        Invalidate();
    return BTNST_OK;
}

void CIconButton::SizeToImage()
{
    if (!m_images[0].hBitmap || !m_hWnd)
        return;
    SetWindowPos(NULL, 0, 0, m_images[0].cx, m_images[0].cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOREDRAW | SWP_NOACTIVATE);
}

void CIconButton::PreSubclassWindow()
{
    UINT type = GetStyle() & 0x1F;
    if (type & BS_CHECKBOX)
        m_bIsCheckBox = TRUE;
    if (type == BS_DEFPUSHBUTTON)
        m_bIsDefault = TRUE;
    CButton::PreSubclassWindow();
    ModifyStyle(0x1F, BS_OWNERDRAW, SWP_FRAMECHANGED);
}

LRESULT CIconButton::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case BM_SETCHECK:
        if (m_bIsCheckBox) {
            m_nCheck = (wParam == 1 || wParam == 2) ? 1 : 0;
            Invalidate();
        }
        return 0;
    case BM_GETCHECK:
        return m_nCheck;
    case BM_SETSTYLE: {
        UINT type = (UINT)wParam & 0x1F;
        if (type == BS_DEFPUSHBUTTON)
            m_bIsDefault = TRUE;
        else if (type == BS_PUSHBUTTON)
            m_bIsDefault = FALSE;
        wParam = (wParam & ~(WPARAM)0x1F) | BS_OWNERDRAW;
        break;
    }
    case WM_MENUCHAR:
        // Keyboard shortcuts of the owner-drawn menus are theirs to answer.
        if (BCMenu::IsMenu((HMENU)lParam))
            return BCMenu::FindKeyboardShortcut(LOWORD(wParam), HIWORD(wParam),
                                                CMenu::FromHandle((HMENU)lParam));
        break;
    case WM_MEASUREITEM: {
        LPMEASUREITEMSTRUCT mis = (LPMEASUREITEMSTRUCT)lParam;
        if (mis && mis->CtlType == ODT_MENU && BCMenu::IsMenu((HMENU)(UINT_PTR)mis->itemID)) {
            BCMenu measurer;
            measurer.MeasureItem(mis);
            return TRUE;
        }
        break;
    }
    case WM_LBUTTONDBLCLK:
        // A double-click acts as a second press.
        message = WM_LBUTTONDOWN;
        break;
    default:
        break;
    }
    return CButton::WindowProc(message, wParam, lParam);
}

BOOL CIconButton::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
{
    if (m_hCursor) {
        ::SetCursor(m_hCursor);
        return TRUE;
    }
    return CButton::OnSetCursor(pWnd, nHitTest, message);
}

void CIconButton::CancelHover()
{
    if (m_bMouseOver) {
        m_bMouseOver = FALSE;
        Invalidate();
    }
}

void CIconButton::OnKillFocus(CWnd* pNewWnd)
{
    CButton::OnKillFocus(pNewWnd);
    CancelHover();
}

void CIconButton::OnMouseMove(UINT nFlags, CPoint point)
{
    CButton::OnMouseMove(nFlags, point);
    if ((nFlags & MK_LBUTTON) && !m_bMouseOver)
        return;
    CPoint screen = point;
    ClientToScreen(&screen);
    if (::WindowFromPoint(screen) == m_hWnd) {
        if (!m_bMouseOver) {
            m_bMouseOver = TRUE;
            Invalidate();
            TRACKMOUSEEVENT tme = {sizeof(tme), TME_LEAVE, m_hWnd, 0};
            ::TrackMouseEvent(&tme);
        }
    } else {
        CancelHover();
    }
}

LRESULT CIconButton::OnMouseLeave(WPARAM, LPARAM)
{
    CancelHover();
    return 0;
}

void CIconButton::OnSysColorChange()
{
    CButton::OnSysColorChange();
    SetDefaultColors(TRUE);
}

BOOL CIconButton::OnClicked()
{
    SetFocus();
    if (m_bIsCheckBox) {
        m_nCheck = !m_nCheck;
        Invalidate();
    }
    return FALSE; // the parent still receives the click
}

void CIconButton::OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized)
{
    CButton::OnActivate(nState, pWndOther, bMinimized);
    if (nState == WA_INACTIVE)
        CancelHover();
}

void CIconButton::OnEnable(BOOL bEnable)
{
    CButton::OnEnable(bEnable);
    if (!bEnable) {
        CWnd* pParent = GetParent();
        if (pParent && ::GetFocus() == m_hWnd) {
            HWND hNext = ::GetNextDlgTabItem(pParent->m_hWnd, m_hWnd, FALSE);
            ::SetFocus(hNext && hNext != m_hWnd ? hNext : pParent->m_hWnd);
        }
        CancelHover();
    }
}

void CIconButton::OnCancelMode()
{
    CButton::OnCancelMode();
    CancelHover();
}

UINT CIconButton::OnGetDlgCode()
{
    UINT code = CButton::OnGetDlgCode();
    code &= ~(UINT)(DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON);
    return code | (m_bIsDefault ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON);
}

HBRUSH CIconButton::CtlColor(CDC*, UINT) { return (HBRUSH)::GetStockObject(NULL_BRUSH); }

void CIconButton::DrawItem(LPDRAWITEMSTRUCT lpDIS)
{
    CDC* pDC = CDC::FromHandle(lpDIS->hDC);
    m_bIsPressed = (lpDIS->itemState & ODS_SELECTED) != 0;
    if (m_bIsCheckBox)
        m_bIsPressed = m_bIsPressed || m_nCheck;
    m_bIsFocused = (lpDIS->itemState & ODS_FOCUS) != 0;
    m_bIsDisabled = (lpDIS->itemState & ODS_DISABLED) != 0;

    CRect item(lpDIS->rcItem);
    pDC->SetBkMode(TRANSPARENT);
    DrawBackground(pDC, &item);

    CRect caption = item;
    CString text;
    GetWindowText(text);
    if (m_images[0].hBitmap) {
        pDC->SetBkColor(RGB(255, 255, 255));
        DrawBitmap(pDC, !text.IsEmpty(), &item, &caption, m_bIsPressed, m_bIsDisabled);
    }
    if (!text.IsEmpty())
        DrawCaption(pDC, text, &item, &caption, m_bIsPressed, m_bIsDisabled);
}

void CIconButton::DrawBackground(CDC* pDC, RECT* pRect)
{
    COLORREF c;
    if (m_bMouseOver || m_bIsPressed)
        c = m_crColors[BTNST_COLOR_BK_IN];
    else if (m_bIsFocused)
        c = m_crColors[BTNST_COLOR_BK_FOCUS];
    else
        c = m_crColors[BTNST_COLOR_BK_OUT];
    pDC->FillSolidRect(pRect, c);
}

void CIconButton::DrawBitmap(CDC* pDC, BOOL, RECT* rpItem, RECT* rpCaption, BOOL bPressed,
                             BOOL bDisabled)
{
    int index;
    if (bPressed || (!m_bIsCheckBox && m_bMouseOver))
        index = 0;
    else
        index = m_images[1].hBitmap ? 1 : 0;
    const Image& img = m_images[index];

    CRect rc(rpItem);
    if (m_nLayout == IMAGE_LEFT) {
        rc.top += (rc.Height() - img.cy) / 2;
        rpCaption->left = rc.left + img.cx;
    }
    if (bPressed && !m_bIsCheckBox)
        rc.OffsetRect(m_ptPressedOffset.x, m_ptPressedOffset.y);
    m_nLastImage = index;
    m_ptLastImage = rc.TopLeft();

    HDC hMem = ::CreateCompatibleDC(pDC->m_hDC);
    if (!bDisabled) {
        HGDIOBJ old = ::SelectObject(hMem, img.hMask);
        ::BitBlt(pDC->m_hDC, rc.left, rc.top, img.cx, img.cy, hMem, 0, 0, SRCAND);
        ::SelectObject(hMem, img.hBitmap);
        ::BitBlt(pDC->m_hDC, rc.left, rc.top, img.cx, img.cy, hMem, 0, 0, SRCPAINT);
        ::SelectObject(hMem, old);
    } else {
        // Composed onto white, then drawn with the embossed disabled look.
        HBITMAP hWhite = ::CreateCompatibleBitmap(pDC->m_hDC, img.cx, img.cy);
        HDC hComp = ::CreateCompatibleDC(pDC->m_hDC);
        HGDIOBJ oldComp = ::SelectObject(hComp, hWhite);
        ::PatBlt(hComp, 0, 0, img.cx, img.cy, WHITENESS);
        HGDIOBJ old = ::SelectObject(hMem, img.hMask);
        ::BitBlt(hComp, 0, 0, img.cx, img.cy, hMem, 0, 0, SRCAND);
        ::SelectObject(hMem, img.hBitmap);
        ::BitBlt(hComp, 0, 0, img.cx, img.cy, hMem, 0, 0, SRCPAINT);
        ::SelectObject(hMem, old);
        ::SelectObject(hComp, oldComp);
        ::DeleteDC(hComp);
        ::DrawStateA(pDC->m_hDC, NULL, NULL, (LPARAM)hWhite, 0, rc.left, rc.top, img.cx, img.cy,
                     DST_BITMAP | DSS_DISABLED);
        ::DeleteObject(hWhite);
    }
    ::DeleteDC(hMem);
}

void CIconButton::DrawCaption(CDC* pDC, LPCSTR lpszText, RECT*, RECT* rpCaption, BOOL bPressed,
                              BOOL bDisabled)
{
    CRect caption(rpCaption);
    if (bPressed && !m_bIsCheckBox)
        caption.OffsetRect(m_ptPressedOffset.x, m_ptPressedOffset.y);
    CRect measured = caption;
    pDC->DrawText(lpszText, -1, &measured, DT_WORDBREAK | DT_CENTER | DT_CALCRECT);
    measured.OffsetRect((caption.Width() - measured.Width()) / 2 + caption.left - measured.left,
                        (caption.Height() - measured.Height()) / 2 + caption.top - measured.top);
    if (bDisabled) {
        CRect shifted = measured;
        shifted.OffsetRect(1, 1);
        pDC->SetTextColor(::GetSysColor(COLOR_3DHILIGHT));
        pDC->DrawText(lpszText, -1, &shifted, DT_WORDBREAK | DT_CENTER);
        pDC->SetTextColor(::GetSysColor(COLOR_3DSHADOW));
        pDC->DrawText(lpszText, -1, &measured, DT_WORDBREAK | DT_CENTER);
        return;
    }
    if (m_bMouseOver || bPressed)
        pDC->SetTextColor(m_crColors[BTNST_COLOR_FG_IN]);
    else if (m_bIsFocused)
        pDC->SetTextColor(m_crColors[BTNST_COLOR_FG_FOCUS]);
    else
        pDC->SetTextColor(m_crColors[BTNST_COLOR_FG_OUT]);
    pDC->DrawText(lpszText, -1, &measured, DT_WORDBREAK | DT_CENTER);
}
