#include "CColourPopupXP.h"

#include "afxdlgs.h"

#include <string.h>

const char* const CColourPopupXP::CLASS_NAME = "ColourPopupXP";

const CColourPopupXP::ColourTableEntry CColourPopupXP::m_crColours[NUM_COLOURS] = {
    {RGB(0, 0, 0), "Black"},
    {RGB(165, 42, 0), "Brown"},
    {RGB(0, 64, 64), "Dark Olive Green"},
    {RGB(0, 85, 0), "Dark Green"},
    {RGB(0, 0, 94), "Dark Teal"},
    {RGB(0, 0, 139), "Dark blue"},
    {RGB(75, 0, 130), "Indigo"},
    {RGB(40, 40, 40), "Dark grey"},
    {RGB(139, 0, 0), "Dark red"},
    {RGB(255, 104, 32), "Orange"},
    {RGB(139, 139, 0), "Dark yellow"},
    {RGB(0, 147, 0), "Green"},
    {RGB(56, 142, 142), "Teal"},
    {RGB(0, 0, 255), "Blue"},
    {RGB(123, 123, 192), "Blue-grey"},
    {RGB(102, 102, 102), "Grey - 40"},
    {RGB(255, 0, 0), "Red"},
    {RGB(255, 173, 91), "Light orange"},
    {RGB(50, 205, 50), "Lime"},
    {RGB(60, 179, 113), "Sea green"},
    {RGB(127, 255, 212), "Aqua"},
    {RGB(125, 158, 192), "Light blue"},
    {RGB(128, 0, 128), "Violet"},
    {RGB(128, 128, 128), "Grey - 50"},
    {RGB(255, 192, 203), "Pink"},
    {RGB(255, 215, 0), "Gold"},
    {RGB(255, 255, 0), "Yellow"},
    {RGB(0, 255, 0), "Bright green"},
    {RGB(64, 224, 208), "Turquoise"},
    {RGB(192, 255, 255), "Skyblue"},
    {RGB(72, 0, 72), "Plum"},
    {RGB(192, 192, 192), "Light grey"},
    {RGB(255, 228, 225), "Rose"},
    {RGB(210, 180, 140), "Tan"},
    {RGB(255, 255, 224), "Light yellow"},
    {RGB(152, 251, 152), "Pale green "},
    {RGB(175, 238, 238), "Pale turquoise"},
    {RGB(104, 131, 139), "Pale blue"},
    {RGB(230, 230, 250), "Lavender"},
    {RGB(255, 255, 255), "White"},
};

namespace {
const int BOX_CORE = 14;
const int BOX_MARGIN = 0;
const int BOX_HILIGHT_BORDER = 2;
const int TEXT_MARGIN = 2;
const int TEXT_HILIGHT_BORDER = 3;
} // namespace

BEGIN_MESSAGE_MAP(CColourPopupXP, CWnd)
    ON_WM_NCDESTROY()
    ON_WM_LBUTTONUP()
    ON_WM_PAINT()
    ON_WM_MOUSEMOVE()
    ON_WM_KEYDOWN()
    ON_WM_QUERYNEWPALETTE()
    ON_WM_PALETTECHANGED()
    ON_WM_KILLFOCUS()
    ON_WM_ACTIVATEAPP()
END_MESSAGE_MAP()

CColourPopupXP::CColourPopupXP()
    : m_nNumColumns(NUM_COLUMNS), m_nNumRows(0), m_nBoxSize(0), m_nMargin(0),
      m_nCurrentSel(INVALID_COLOUR), m_nChosenColourSel(INVALID_COLOUR),
      m_crInitialColour(CLR_DEFAULT), m_crColour(CLR_DEFAULT), m_pParent(NULL),
      m_bChildWindowVisible(FALSE), m_bIsXP(FALSE), m_bFlatMenus(FALSE), m_nNumColours(NUM_COLOURS)
{
    Initialise();
}

CColourPopupXP::~CColourPopupXP() {}

void CColourPopupXP::Initialise()
{
    if (m_nNumColours > MAX_COLOURS)
        m_nNumColours = MAX_COLOURS;
    m_nNumRows = (m_nNumColours + m_nNumColumns - 1) / m_nNumColumns;
    m_nBoxSize = BOX_CORE + 2 * BOX_HILIGHT_BORDER + 2 * BOX_MARGIN;
    m_nMargin = ::GetSystemMetrics(SM_CXEDGE);
    if (m_nBoxSize - (2 * m_nMargin + 2) < 5)
        m_nBoxSize = 2 * m_nMargin + 7;

    NONCLIENTMETRICSA ncm = {};
    ncm.cbSize = sizeof(ncm);
    ::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0);
    m_Font.CreateFontIndirect(&ncm.lfMenuFont);

    struct
    {
        LOGPALETTE lp;
        PALETTEENTRY more[NUM_COLOURS];
    } pal;
    pal.lp.palVersion = 0x300;
    pal.lp.palNumEntries = (WORD)m_nNumColours;
    PALETTEENTRY* e = pal.lp.palPalEntry;
    for (int i = 0; i < m_nNumColours; ++i) {
        e[i].peRed = GetRValue(m_crColours[i].crColour);
        e[i].peGreen = GetGValue(m_crColours[i].crColour);
        e[i].peBlue = GetBValue(m_crColours[i].crColour);
        e[i].peFlags = 0;
    }
    m_Palette.CreatePalette(&pal.lp);

    OSVERSIONINFOA vi = {sizeof(vi)};
    if (::GetVersionExA(&vi) && vi.dwPlatformId == VER_PLATFORM_WIN32_NT &&
        (vi.dwMajorVersion > 5 || (vi.dwMajorVersion == 5 && vi.dwMinorVersion >= 1))) {
        m_bIsXP = TRUE;
        BOOL flat = FALSE;
        ::SystemParametersInfoA(0x1022 /* SPI_GETFLATMENU */, 0, &flat, 0);
        m_bFlatMenus = flat;
    }
    m_clrBackground = 0xF4F0EF;
    m_clrHiLightBorder = ::GetSysColor(COLOR_HIGHLIGHT);
    m_clrHiLight = ::GetSysColor(m_bIsXP ? 29 /* COLOR_MENUHILIGHT */ : COLOR_HIGHLIGHT);
    m_clrHiLightText = ::GetSysColor(COLOR_HIGHLIGHTTEXT);
    m_clrText = ::GetSysColor(COLOR_MENUTEXT);
    // A fill between the highlight and the background.
    m_clrLoLight = RGB((GetRValue(m_clrBackground) + GetRValue(m_clrHiLight)) / 2,
                       (GetGValue(m_clrBackground) + GetGValue(m_clrHiLight)) / 2,
                       (GetBValue(m_clrBackground) + GetBValue(m_clrHiLight)) / 2);
}

BOOL CColourPopupXP::Create(CPoint p, COLORREF crColour, CWnd* pParentWnd, LPCSTR szDefaultText,
                            LPCSTR szCustomText, LPCSTR szRegSection)
{
    m_pParent = pParentWnd;
    m_crColour = m_crInitialColour = crColour;
    m_strDefaultText = szDefaultText ? szDefaultText : "";
    m_strCustomText = szCustomText ? szCustomText : "";
    m_strRegSection = szRegSection ? szRegSection : "";

    WNDCLASSA wc = {};
    if (!::GetClassInfoA(AfxGetInstanceHandle(), CLASS_NAME, &wc)) {
        wc.style = CS_CLASSDC | CS_SAVEBITS | CS_HREDRAW | CS_VREDRAW;
        BOOL shadow = FALSE;
        if (m_bIsXP && ::SystemParametersInfoA(0x1024 /* SPI_GETDROPSHADOW */, 0, &shadow, 0) &&
            shadow)
            wc.style |= 0x00020000; // CS_DROPSHADOW
        wc.lpfnWndProc = ::DefWindowProcA;
        wc.hInstance = AfxGetInstanceHandle();
        wc.hCursor = ::LoadCursorA(NULL, IDC_ARROW);
        wc.hbrBackground = (HBRUSH)(COLOR_MENU + 1);
        wc.lpszClassName = CLASS_NAME;
        if (!AfxRegisterClass(&wc)) {
            delete this;
            return FALSE;
        }
    }
    CWnd* pFrame = pParentWnd ? pParentWnd->GetParentFrame() : NULL;
    if (pFrame)
        pFrame->SetRedraw(FALSE);
    BOOL ok = CreateEx(0, CLASS_NAME, NULL, WS_VISIBLE | WS_POPUP, p.x, p.y, 100, 100,
                       pParentWnd ? pParentWnd->GetSafeHwnd() : NULL, NULL);
    if (pFrame) {
        pFrame->SetRedraw(TRUE);
        pFrame->SendMessage(WM_NCACTIVATE, TRUE);
    }
    if (!ok) {
        delete this;
        return FALSE;
    }
    SetWindowSize();
    CreateToolTips();
    FindCellFromColour(crColour);
    SetCapture();
    return TRUE;
}

void CColourPopupXP::SetWindowSize()
{
    CSize textSize(0, 0);
    CClientDC dc(this);
    CFont* pOld = dc.SelectObject(&m_Font);
    if (HasDefault()) {
        CSize s = dc.GetTextExtent(m_strDefaultText);
        textSize.cx = s.cx;
        textSize.cy = s.cy;
    }
    if (HasCustom()) {
        CSize s = dc.GetTextExtent(m_strCustomText);
        if (s.cx > textSize.cx)
            textSize.cx = s.cx;
        if (s.cy > textSize.cy)
            textSize.cy = s.cy;
    }
    dc.SelectObject(pOld);
    textSize.cx += 2 * (TEXT_MARGIN + TEXT_HILIGHT_BORDER);
    textSize.cy += 2 * (TEXT_MARGIN + TEXT_HILIGHT_BORDER);

    int gridW = m_nNumColumns * m_nBoxSize;
    int width = gridW;
    if (textSize.cx > width)
        width = textSize.cx;
    int y = m_nMargin;
    if (HasDefault()) {
        m_DefaultTextRect.SetRect(m_nMargin, y, m_nMargin + width, y + textSize.cy);
        y += textSize.cy + m_nMargin;
    } else {
        m_DefaultTextRect.SetRectEmpty();
    }
    int gridLeft = m_nMargin + (width - gridW) / 2;
    m_BoxesRect.SetRect(gridLeft, y, gridLeft + gridW, y + m_nNumRows * m_nBoxSize);
    y = m_BoxesRect.bottom;
    if (HasCustom()) {
        y += m_nMargin;
        m_CustomTextRect.SetRect(m_nMargin, y, m_nMargin + width, y + textSize.cy);
        y += textSize.cy;
    } else {
        m_CustomTextRect.SetRectEmpty();
    }
    y += m_nMargin;

    CRect wr;
    GetWindowRect(&wr);
    m_WindowRect.SetRect(wr.left, wr.top, wr.left + width + 2 * m_nMargin, wr.top + y);

    // Kept on the work area of the nearest monitor.
    CSize screen(::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN));
    HMODULE hUser = ::GetModuleHandleA("USER32.DLL");
    typedef HMONITOR(WINAPI * PFN_FROMWINDOW)(HWND, DWORD);
    typedef BOOL(WINAPI * PFN_INFO)(HMONITOR, LPMONITORINFO);
    PFN_FROMWINDOW fromWindow =
        hUser ? (PFN_FROMWINDOW)::GetProcAddress(hUser, "MonitorFromWindow") : NULL;
    PFN_INFO info = hUser ? (PFN_INFO)::GetProcAddress(hUser, "GetMonitorInfoA") : NULL;
    if (fromWindow && info) {
        MONITORINFO mi = {sizeof(mi)};
        HMONITOR hMon =
            fromWindow(m_pParent ? m_pParent->m_hWnd : m_hWnd, MONITOR_DEFAULTTONEAREST);
        if (hMon && info(hMon, &mi))
            screen = CSize(mi.rcWork.right - mi.rcWork.left, mi.rcWork.bottom - mi.rcWork.top);
    }
    if (m_WindowRect.right > screen.cx)
        m_WindowRect.OffsetRect(-(m_WindowRect.right - screen.cx), 0);
    if (m_WindowRect.left < 0)
        m_WindowRect.OffsetRect(-m_WindowRect.left, 0);
    if (m_WindowRect.bottom > screen.cy) {
        int pickerH = 0;
        if (m_pParent) {
            CRect pr;
            m_pParent->GetWindowRect(&pr);
            pickerH = pr.Height();
        }
        m_WindowRect.OffsetRect(0, -(m_WindowRect.Height() + pickerH));
    }
    MoveWindow(&m_WindowRect, TRUE);
}

void CColourPopupXP::CreateToolTips()
{
    if (!m_ToolTip.Create(this))
        return;
    for (int i = 0; i < m_nNumColours; ++i) {
        CRect rc = GetCellRect(i);
        m_ToolTip.AddTool(this, m_crColours[i].szName, &rc, 1 + i);
    }
}

BOOL CColourPopupXP::PreTranslateMessage(MSG* pMsg)
{
    if (m_ToolTip.m_hWnd)
        m_ToolTip.RelayEvent(pMsg);
    if (m_hWnd && ::GetCapture() != m_hWnd && !m_bChildWindowVisible && ::IsWindowVisible(m_hWnd))
        SetCapture();
    return CWnd::PreTranslateMessage(pMsg);
}

CRect CColourPopupXP::GetCellRect(int nIndex) const
{
    if (nIndex == CUSTOM_BOX_VALUE)
        return m_CustomTextRect;
    if (nIndex == DEFAULT_BOX_VALUE)
        return m_DefaultTextRect;
    if (nIndex < 0 || nIndex >= m_nNumColours)
        return CRect(0, 0, 0, 0);
    int row = nIndex / m_nNumColumns, col = nIndex % m_nNumColumns;
    CRect rc(m_BoxesRect.left + col * m_nBoxSize, m_BoxesRect.top + row * m_nBoxSize, 0, 0);
    rc.right = rc.left + m_nBoxSize;
    rc.bottom = rc.top + m_nBoxSize;
    return rc;
}

int CColourPopupXP::GetCellAt(CPoint point) const
{
    if (HasDefault() && m_DefaultTextRect.PtInRect(point))
        return DEFAULT_BOX_VALUE;
    if (HasCustom() && m_CustomTextRect.PtInRect(point))
        return CUSTOM_BOX_VALUE;
    if (!m_BoxesRect.PtInRect(point))
        return INVALID_COLOUR;
    int row = (point.y - m_BoxesRect.top) / m_nBoxSize;
    int col = (point.x - m_BoxesRect.left) / m_nBoxSize;
    int index = row * m_nNumColumns + col;
    return index < m_nNumColours ? index : INVALID_COLOUR;
}

void CColourPopupXP::FindCellFromColour(COLORREF crColour)
{
    if (crColour == CLR_DEFAULT && HasDefault()) {
        m_nChosenColourSel = DEFAULT_BOX_VALUE;
    } else {
        m_nChosenColourSel = INVALID_COLOUR;
        for (int i = 0; i < m_nNumColours; ++i) {
            if (m_crColours[i].crColour == crColour) {
                m_nChosenColourSel = i;
                break;
            }
        }
        if (m_nChosenColourSel == INVALID_COLOUR && HasCustom())
            m_nChosenColourSel = CUSTOM_BOX_VALUE;
    }
    m_nCurrentSel = m_nChosenColourSel;
}

void CColourPopupXP::Notify(UINT nMessage, COLORREF crColour)
{
    if (m_pParent && ::IsWindow(m_pParent->m_hWnd))
        m_pParent->SendMessage(nMessage, (WPARAM)crColour, 0);
}

void CColourPopupXP::ChangeSelection(int nIndex)
{
    if (nIndex == m_nCurrentSel)
        return;
    int old = m_nCurrentSel;
    m_nCurrentSel = nIndex;
    CRect r1 = GetCellRect(old), r2 = GetCellRect(nIndex);
    InvalidateRect(&r1, FALSE);
    InvalidateRect(&r2, FALSE);
    if (nIndex >= 0 && nIndex < m_nNumColours) {
        m_crColour = m_crColours[nIndex].crColour;
        Notify(WM_COLOURPICKER_CHANGED, m_crColour);
    } else if (nIndex == DEFAULT_BOX_VALUE) {
        m_crColour = CLR_DEFAULT;
        Notify(WM_COLOURPICKER_CHANGED, CLR_DEFAULT);
    } else if (nIndex == CUSTOM_BOX_VALUE) {
        Notify(WM_COLOURPICKER_CHANGED, m_crInitialColour);
    } else {
        m_crColour = m_crInitialColour;
        Notify(WM_COLOURPICKER_CHANGED, m_crInitialColour);
    }
}

void CColourPopupXP::EndSelection(int nMessage)
{
    ReleaseCapture();
    if (nMessage != WM_COLOURPICKER_CANCELLED && m_nCurrentSel == CUSTOM_BOX_VALUE) {
        COLORREF custom[16];
        CWinApp* pApp = AfxGetApp();
        BOOL useReg = pApp && !m_strRegSection.IsEmpty();
        for (int i = 0; i < 16; ++i) {
            custom[i] = RGB(255, 255, 255);
            if (useReg) {
                CString name;
                name.Format("CUSTOM_COLOR_%d", i);
                custom[i] = pApp->GetProfileInt(m_strRegSection, name, RGB(255, 255, 255));
            }
        }
        m_bChildWindowVisible = TRUE;
        CColorDialog dlg(m_crInitialColour, CC_FULLOPEN | CC_ANYCOLOR, this);
        dlg.m_cc.lpCustColors = custom;
        INT_PTR result = dlg.DoModal();
        m_bChildWindowVisible = FALSE;
        if (useReg) {
            for (int i = 0; i < 16; ++i) {
                CString name;
                name.Format("CUSTOM_COLOR_%d", i);
                pApp->WriteProfileInt(m_strRegSection, name, (int)custom[i]);
            }
        }
        if (result == IDOK)
            m_crColour = dlg.GetColor();
        else
            nMessage = WM_COLOURPICKER_CANCELLED;
    }
    if (nMessage == WM_COLOURPICKER_CANCELLED)
        m_crColour = m_crInitialColour;
    CWnd* pParent = m_pParent;
    COLORREF chosen = m_crColour;
    m_pParent = NULL; // nothing further goes to the picker from here
    DestroyWindow();
    if (pParent && ::IsWindow(pParent->m_hWnd))
        pParent->SendMessage(nMessage, (WPARAM)chosen, 0);
}

int CColourPopupXP::MoveSelection(int nIndex, UINT nKey) const
{
    int last = m_nNumColours - 1;
    int afterLast = HasCustom() ? CUSTOM_BOX_VALUE : (HasDefault() ? DEFAULT_BOX_VALUE : 0);
    int beforeFirst = HasDefault() ? DEFAULT_BOX_VALUE : (HasCustom() ? CUSTOM_BOX_VALUE : last);
    if (nIndex == INVALID_COLOUR)
        return 0;
    switch (nKey) {
    case VK_DOWN:
        if (nIndex == DEFAULT_BOX_VALUE)
            return 0;
        if (nIndex == CUSTOM_BOX_VALUE)
            return HasDefault() ? DEFAULT_BOX_VALUE : 0;
        return nIndex + m_nNumColumns <= last ? nIndex + m_nNumColumns : afterLast;
    case VK_UP:
        if (nIndex == CUSTOM_BOX_VALUE)
            return last;
        if (nIndex == DEFAULT_BOX_VALUE)
            return HasCustom() ? CUSTOM_BOX_VALUE : last;
        return nIndex - m_nNumColumns >= 0 ? nIndex - m_nNumColumns : beforeFirst;
    case VK_RIGHT:
        if (nIndex == DEFAULT_BOX_VALUE)
            return 0;
        if (nIndex == CUSTOM_BOX_VALUE)
            return HasDefault() ? DEFAULT_BOX_VALUE : 0;
        return nIndex < last ? nIndex + 1 : afterLast;
    case VK_LEFT:
        if (nIndex == CUSTOM_BOX_VALUE)
            return last;
        if (nIndex == DEFAULT_BOX_VALUE)
            return HasCustom() ? CUSTOM_BOX_VALUE : last;
        return nIndex > 0 ? nIndex - 1 : beforeFirst;
    default:
        return nIndex;
    }
}

void CColourPopupXP::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    switch (nChar) {
    case VK_DOWN:
    case VK_UP:
    case VK_LEFT:
    case VK_RIGHT:
        ChangeSelection(MoveSelection(m_nCurrentSel, nChar));
        return;
    case VK_RETURN:
    case VK_SPACE:
        EndSelection(WM_COLOURPICKER_ACCEPTED);
        return;
    case VK_ESCAPE:
        m_crColour = m_crInitialColour;
        EndSelection(WM_COLOURPICKER_CANCELLED);
        return;
    default:
        CWnd::OnKeyDown(nChar, nRepCnt, nFlags);
    }
}

void CColourPopupXP::OnMouseMove(UINT nFlags, CPoint point)
{
    ChangeSelection(GetCellAt(point));
    CWnd::OnMouseMove(nFlags, point);
}

void CColourPopupXP::OnLButtonUp(UINT nFlags, CPoint point)
{
    CWnd::OnLButtonUp(nFlags, point);
    CRect rc;
    GetClientRect(&rc);
    if (rc.PtInRect(point)) {
        ChangeSelection(GetCellAt(point));
        EndSelection(WM_COLOURPICKER_ACCEPTED);
    } else {
        EndSelection(WM_COLOURPICKER_CANCELLED);
    }
}

void CColourPopupXP::OnKillFocus(CWnd* pNewWnd)
{
    CWnd::OnKillFocus(pNewWnd);
    if (::GetCapture() == m_hWnd)
        ReleaseCapture();
}

void CColourPopupXP::OnActivateApp(BOOL bActive, DWORD dwThreadID)
{
    CWnd::OnActivateApp(bActive, dwThreadID);
    if (!bActive && !m_bChildWindowVisible)
        EndSelection(WM_COLOURPICKER_CANCELLED);
}

BOOL CColourPopupXP::OnQueryNewPalette()
{
    Invalidate();
    return CWnd::OnQueryNewPalette();
}

void CColourPopupXP::OnPaletteChanged(CWnd* pFocusWnd)
{
    CWnd::OnPaletteChanged(pFocusWnd);
    if (!pFocusWnd || pFocusWnd->m_hWnd != m_hWnd)
        Invalidate();
}

void CColourPopupXP::DrawCell(CDC* pDC, int nIndex)
{
    CRect rc = GetCellRect(nIndex);
    if (rc.IsRectEmpty())
        return;
    BOOL current = nIndex == m_nCurrentSel;
    BOOL chosen = nIndex == m_nChosenColourSel;
    if (nIndex == DEFAULT_BOX_VALUE || nIndex == CUSTOM_BOX_VALUE) {
        CRect box = rc;
        box.DeflateRect(TEXT_MARGIN, TEXT_MARGIN);
        pDC->FillSolidRect(&rc, m_clrBackground);
        if (current || chosen) {
            pDC->FillSolidRect(&box, current ? m_clrHiLight : m_clrLoLight);
            CBrush border;
            border.CreateSolidBrush(m_clrHiLightBorder);
            pDC->FrameRect(&box, &border);
        } else {
            CBrush frame;
            frame.CreateSolidBrush(::GetSysColor(COLOR_3DSHADOW));
            pDC->FrameRect(&box, &frame);
        }
        CFont* pOld = pDC->SelectObject(&m_Font);
        pDC->SetBkMode(TRANSPARENT);
        pDC->SetTextColor(current ? m_clrHiLightText : m_clrText);
        pDC->DrawText(nIndex == DEFAULT_BOX_VALUE ? m_strDefaultText : m_strCustomText, &box,
                      DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        pDC->SelectObject(pOld);
        return;
    }
    pDC->FillSolidRect(&rc, m_clrBackground);
    if (current || chosen) {
        pDC->FillSolidRect(&rc, current ? m_clrHiLight : m_clrLoLight);
        CBrush border;
        border.CreateSolidBrush(m_clrHiLightBorder);
        pDC->FrameRect(&rc, &border);
    }
    CRect swatch = rc;
    swatch.DeflateRect(BOX_MARGIN + BOX_HILIGHT_BORDER, BOX_MARGIN + BOX_HILIGHT_BORDER);
    CPalette* pOldPal = NULL;
    if (pDC->GetDeviceCaps(RASTERCAPS) & RC_PALETTE) {
        pOldPal = pDC->SelectPalette(&m_Palette, FALSE);
        pDC->RealizePalette();
    }
    pDC->FillSolidRect(&swatch, m_crColours[nIndex].crColour);
    CBrush frame;
    frame.CreateSolidBrush(::GetSysColor(COLOR_3DSHADOW));
    pDC->FrameRect(&swatch, &frame);
    if (pOldPal)
        pDC->SelectPalette(pOldPal, FALSE);
}

void CColourPopupXP::OnPaint()
{
    CPaintDC dc(this);
    CRect rc;
    GetClientRect(&rc);
    dc.FillSolidRect(&rc, m_clrBackground);
    if (HasDefault())
        DrawCell(&dc, DEFAULT_BOX_VALUE);
    for (int i = 0; i < m_nNumColours; ++i)
        DrawCell(&dc, i);
    if (HasCustom())
        DrawCell(&dc, CUSTOM_BOX_VALUE);
    CBrush black;
    black.CreateSolidBrush(RGB(0, 0, 0));
    dc.FrameRect(&rc, &black);
}

void CColourPopupXP::OnNcDestroy() { CWnd::OnNcDestroy(); }

void CColourPopupXP::PostNcDestroy() { delete this; }
