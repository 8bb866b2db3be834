#include "CColorPaletteButton.h"

#include "CColorPaletteWnd.h"
#include "afxdlgs.h"

BEGIN_MESSAGE_MAP(CColorPaletteButton, CButton)
    ON_WM_LBUTTONDOWN()
    ON_WM_SETCURSOR()
END_MESSAGE_MAP()

namespace {

// Pens shared by every palette button of the process.
CPen& DarkShadowPen()
{
    static CPen pen;
    if (!pen.m_hObject)
        pen.CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_3DDKSHADOW));
    return pen;
}
CPen& WhitePen()
{
    static CPen pen;
    if (!pen.m_hObject)
        pen.CreatePen(PS_SOLID, 1, RGB(255, 255, 255));
    return pen;
}
CPen& BlackPen()
{
    static CPen pen;
    if (!pen.m_hObject)
        pen.CreatePen(PS_SOLID, 1, RGB(0, 0, 0));
    return pen;
}

// A 16 x 16 eyedropper: the tip at the bottom left, the bulb at the top right.
HCURSOR MakeEyedropper()
{
    int cx = ::GetSystemMetrics(SM_CXCURSOR), cy = ::GetSystemMetrics(SM_CYCURSOR);
    if (cx < 16 || cx > 99 || cy < 16 || cy > 99)
        return NULL;
    int bytesPerRow = ((cx + 15) / 16) * 2;
    BYTE andMask[99 * 14] = {}, xorMask[99 * 14] = {};
    for (int y = 0; y < cy; ++y)
        for (int x = 0; x < cx; ++x)
            andMask[y * bytesPerRow + x / 8] |= (BYTE)(0x80 >> (x % 8));
    auto dot = [&](int x, int y, bool white) {
        if (x < 0 || y < 0 || x >= 16 || y >= 16)
            return;
        andMask[y * bytesPerRow + x / 8] &= (BYTE) ~(0x80 >> (x % 8));
        if (white)
            xorMask[y * bytesPerRow + x / 8] |= (BYTE)(0x80 >> (x % 8));
    };
    // The stem along the diagonal, outlined in black with a white core.
    for (int i = 0; i < 11; ++i) {
        dot(i, 15 - i, false);
        dot(i + 1, 15 - i, i > 0);
        dot(i + 2, 15 - i, false);
    }
    for (int y = 0; y < 5; ++y)
        for (int x = 11; x < 16; ++x)
            dot(x, y, false);
    return ::CreateCursor(AfxGetInstanceHandle(), 0, 15, cx, cy, andMask, xorMask);
}

} // namespace

CColorPaletteButton::CColorPaletteButton()
    : m_pBuddy(NULL), m_crColor(::GetSysColor(COLOR_BTNFACE)), m_hPalette(NULL),
      m_bPaletteOpen(FALSE)
{
    m_hEyedropper = MakeEyedropper();
}

CColorPaletteButton::~CColorPaletteButton()
{
    if (m_hPalette && ::IsWindow(m_hPalette))
        ::DestroyWindow(m_hPalette);
    if (m_hEyedropper)
        ::DestroyCursor(m_hEyedropper);
}

void CColorPaletteButton::PreSubclassWindow()
{
    ModifyStyle(BS_TYPEMASK, BS_OWNERDRAW);
    CButton::PreSubclassWindow();
}

void CColorPaletteButton::SetColor(COLORREF crColor)
{
    m_crColor = crColor;
    if (!m_hWnd)
        return;
    CWnd* pParent = GetParent();
    if (pParent)
        pParent->PostMessage(WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), BN_CLICKED), (LPARAM)m_hWnd);
    if (m_pBuddy && m_pBuddy->m_hWnd) {
        CString text;
        text.Format("#%02X%02X%02X", GetRValue(crColor), GetGValue(crColor), GetBValue(crColor));
        m_pBuddy->SetWindowText(text);
    }
    Invalidate();
}

void CColorPaletteButton::OpenPalette()
{
    if (m_bPaletteOpen)
        return;
    CColorPaletteWnd* pWnd = new CColorPaletteWnd;
    if (!pWnd->Create(this))
        return; // the window deleted itself
    m_hPalette = pWnd->m_hWnd;
    m_bPaletteOpen = TRUE;
}

void CColorPaletteButton::ClosePalette()
{
    if (m_hPalette && ::IsWindow(m_hPalette))
        ::DestroyWindow(m_hPalette);
    m_hPalette = NULL;
    m_bPaletteOpen = FALSE;
    ::UnregisterClassA(CColorPaletteWnd::CLASS_NAME, AfxGetInstanceHandle());
    if (m_hWnd)
        Invalidate();
}

void CColorPaletteButton::OnLButtonDown(UINT nFlags, CPoint point)
{
    if (!m_bPaletteOpen)
        OpenPalette();
    if (m_hPalette) {
        CPoint screen = point;
        ClientToScreen(&screen);
        if (!m_bPaletteOpen || !m_hPalette)
            return;
        ::SendMessageA(m_hPalette, CColorPaletteWnd::WM_SET_INITIAL, (WPARAM)m_crColor, 0);
        ::SendMessageA(m_hPalette, WM_LBUTTONDOWN, (WPARAM)m_crColor,
                       MAKELPARAM(screen.x, screen.y));
    }
    Invalidate();
    (void)nFlags;
}

LRESULT CColorPaletteButton::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_LBUTTONUP && m_bPaletteOpen && m_hPalette && (HWND)lParam == m_hPalette) {
        ClosePalette();
        if ((COLORREF)wParam != m_crColor)
            SetColor((COLORREF)wParam);
        return 0;
    }
    if (message == CColorPaletteWnd::WM_MORE_COLOURS) {
        ClosePalette();
        CColorDialog dlg(m_crColor, CC_FULLOPEN, GetParent());
        if (dlg.DoModal() == IDOK)
            SetColor(dlg.GetColor());
        return 0;
    }
    return CButton::WindowProc(message, wParam, lParam);
}

void CColorPaletteButton::UpdateCursor(CPoint screenPoint)
{
    CRect rc;
    GetClientRect(&rc);
    CPoint pt = screenPoint;
    ScreenToClient(&pt);
    if (m_bPaletteOpen && m_hEyedropper && !rc.PtInRect(pt))
        ::SetCursor(m_hEyedropper);
    else
        ::SetCursor(::LoadCursorA(NULL, IDC_ARROW));
}

BOOL CColorPaletteButton::OnSetCursor(CWnd*, UINT, UINT)
{
    CPoint pt;
    ::GetCursorPos(&pt);
    UpdateCursor(pt);
    return TRUE;
}

void CColorPaletteButton::DrawItem(LPDRAWITEMSTRUCT lpDIS)
{
    CDC* pDC = CDC::FromHandle(lpDIS->hDC);
    CRect rc(lpDIS->rcItem);
    pDC->FillSolidRect(&rc, ::GetSysColor(COLOR_BTNFACE));
    CPen* pOld = pDC->SelectObject(&WhitePen());
    pDC->MoveTo(rc.left, rc.bottom - 1);
    pDC->LineTo(rc.left, rc.top);
    pDC->LineTo(rc.right - 1, rc.top);
    pDC->SelectObject(&DarkShadowPen());
    pDC->LineTo(rc.right - 1, rc.bottom - 1);
    pDC->LineTo(rc.left, rc.bottom - 1);
    CRect swatch = rc;
    swatch.DeflateRect(3, 3);
    pDC->FillSolidRect(&swatch, m_crColor);
    // The drop mark at the bottom right.
    pDC->SelectObject(&BlackPen());
    for (int i = 0; i < 3; ++i) {
        pDC->MoveTo(rc.right - 8 + i, rc.bottom - 6 + i);
        pDC->LineTo(rc.right - 3 - i, rc.bottom - 6 + i);
    }
    pDC->SelectObject(pOld);
}
