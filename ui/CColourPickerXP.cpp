#include "CColourPickerXP.h"

#include "CColourPopupXP.h"
#include "CMemoryDC.h"

IMPLEMENT_DYNCREATE(CColourPickerXP, CButton)

BEGIN_MESSAGE_MAP(CColourPickerXP, CButton)
    ON_CONTROL_REFLECT_EX(BN_CLICKED, OnClicked)
    ON_WM_KEYDOWN()
    ON_WM_GETDLGCODE()
    ON_WM_MOUSEMOVE()
    ON_MESSAGE(WM_MOUSELEAVE, OnMouseLeave)
    ON_MESSAGE(WM_COLOURPICKER_ACCEPTED, OnSelEndOK)
    ON_MESSAGE(WM_COLOURPICKER_CANCELLED, OnSelEndCancel)
    ON_MESSAGE(WM_COLOURPICKER_CHANGED, OnSelChange)
END_MESSAGE_MAP()

CColourPickerXP::CColourPickerXP()
    : m_Colour(CLR_DEFAULT), m_DefaultColour(::GetSysColor(COLOR_APPWORKSPACE)),
      m_strDefaultText("Automatic"), m_strCustomText("More Colors..."), m_bPopupActive(FALSE),
      m_crOwnerSees(CLR_DEFAULT), m_bTrackSelection(0), m_bHot(FALSE), m_bFlatMenus(FALSE),
      m_nCaptionFlag(0), m_pArrowImages(NULL), m_bTransparent(FALSE), m_bFlatBorder(TRUE)
{
    OSVERSIONINFOA vi = {sizeof(vi)};
    if (::GetVersionExA(&vi) && vi.dwPlatformId == VER_PLATFORM_WIN32_NT &&
        (vi.dwMajorVersion > 5 || (vi.dwMajorVersion == 5 && vi.dwMinorVersion >= 1))) {
        BOOL flat = FALSE;
        ::SystemParametersInfoA(0x1022 /* SPI_GETFLATMENU */, 0, &flat, 0);
        m_bFlatMenus = flat;
    }
}

CColourPickerXP::~CColourPickerXP() {}

void CColourPickerXP::PreSubclassWindow()
{
    ModifyStyle(BS_TYPEMASK, BS_OWNERDRAW);
    CButton::PreSubclassWindow();
}

COLORREF CColourPickerXP::GetColour(BOOL bResolveDefault)
{
    return (bResolveDefault && m_Colour == CLR_DEFAULT) ? m_DefaultColour : m_Colour;
}

void CColourPickerXP::SetColour(COLORREF crColour)
{
    m_Colour = crColour;
    if (m_hWnd && ::IsWindow(m_hWnd))
        Invalidate(FALSE);
}

void CColourPickerXP::SetDefaultColour(COLORREF crColour) { m_DefaultColour = crColour; }

void CColourPickerXP::SetCustomText(LPCSTR lpszText) { m_strCustomText = lpszText ? lpszText : ""; }

void CColourPickerXP::SetDefaultText(LPCSTR lpszText)
{
    m_strDefaultText = lpszText ? lpszText : "";
}

void CColourPickerXP::SetRegSection(LPCSTR lpszRegSection)
{
    m_strRegSection = lpszRegSection ? lpszRegSection : "";
}

void CColourPickerXP::SetCaptionText(LPCSTR lpszText)
{
    m_strCaption = lpszText ? lpszText : "";
    while (m_strCaption.GetLength() < 3)
        m_strCaption += " ";
}

void CColourPickerXP::NotifyOwner(UINT nMessage, COLORREF crColour)
{
    CWnd* pOwner = GetOwner();
    if (pOwner && pOwner->m_hWnd)
        pOwner->SendMessage(nMessage, (WPARAM)crColour, (LPARAM)GetDlgCtrlID());
}

void CColourPickerXP::OpenPopup()
{
    m_bPopupActive = TRUE;
    m_crOwnerSees = m_Colour;
    Invalidate(FALSE);
    CRect rc;
    GetWindowRect(&rc);
    CColourPopupXP* pPopup = new CColourPopupXP;
    if (!pPopup->Create(CPoint(rc.left, rc.bottom), m_Colour, this, m_strDefaultText,
                        m_strCustomText, m_strRegSection)) {
        m_bPopupActive = FALSE;
        Invalidate(FALSE);
        return; // a popup that could not be made deleted itself
    }
    NotifyOwner(WM_COLOURPICKER_OPENED, m_Colour);
}

BOOL CColourPickerXP::OnClicked()
{
    OpenPopup();
    return TRUE;
}

void CColourPickerXP::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    if (nChar == VK_DOWN || nChar == VK_F4) {
        OpenPopup();
        return;
    }
    if (nChar == VK_UP)
        return;
    CButton::OnKeyDown(nChar, nRepCnt, nFlags);
}

UINT CColourPickerXP::OnGetDlgCode() { return CButton::OnGetDlgCode() | DLGC_WANTARROWS; }

void CColourPickerXP::OnMouseMove(UINT nFlags, CPoint point)
{
    if (!m_bHot) {
        m_bHot = TRUE;
        TRACKMOUSEEVENT tme = {sizeof(tme), TME_LEAVE, m_hWnd, 0};
        ::TrackMouseEvent(&tme);
        Invalidate(FALSE);
    }
    CButton::OnMouseMove(nFlags, point);
}

LRESULT CColourPickerXP::OnMouseLeave(WPARAM, LPARAM)
{
    m_bHot = FALSE;
    Invalidate(FALSE);
    return 0;
}

LRESULT CColourPickerXP::OnSelEndOK(WPARAM wParam, LPARAM)
{
    COLORREF before = m_Colour;
    m_bPopupActive = FALSE;
    SetColour((COLORREF)wParam);
    NotifyOwner(WM_COLOURPICKER_CLOSED, (COLORREF)wParam);
    NotifyOwner(WM_COLOURPICKER_ACCEPTED, (COLORREF)wParam);
    if ((COLORREF)wParam != before || m_crOwnerSees != (COLORREF)wParam)
        NotifyOwner(WM_COLOURPICKER_CHANGED, (COLORREF)wParam);
    m_crOwnerSees = (COLORREF)wParam;
    return 1;
}

LRESULT CColourPickerXP::OnSelEndCancel(WPARAM wParam, LPARAM)
{
    m_bPopupActive = FALSE;
    SetColour((COLORREF)wParam);
    // Hovering told the owner other colours: it gets back the one it had.
    if (m_crOwnerSees != (COLORREF)wParam)
        NotifyOwner(WM_COLOURPICKER_CHANGED, (COLORREF)wParam);
    m_crOwnerSees = (COLORREF)wParam;
    NotifyOwner(WM_COLOURPICKER_CLOSED, (COLORREF)wParam);
    NotifyOwner(WM_COLOURPICKER_CANCELLED, (COLORREF)wParam);
    return 1;
}

LRESULT CColourPickerXP::OnSelChange(WPARAM wParam, LPARAM)
{
    if (m_bTrackSelection)
        SetColour((COLORREF)wParam);
    m_crOwnerSees = (COLORREF)wParam;
    NotifyOwner(WM_COLOURPICKER_CHANGED, (COLORREF)wParam);
    return 1;
}

void CColourPickerXP::DrawItem(LPDRAWITEMSTRUCT lpDIS)
{
    CRect rc(lpDIS->rcItem);
    int cx = rc.Width(), cy = rc.Height();
    if (cx <= 0 || cy <= 0)
        return;
    CMemoryDC mem(cx, cy);
    CRect all(0, 0, cx, cy);
    if (m_bTransparent && GetParent()) {
        // The parent's background, drawn at our place.
        CPoint org(0, 0);
        MapWindowPoints(GetParent(), &org, 1);
        ::SetViewportOrgEx(mem.m_hDC, -org.x, -org.y, NULL);
        GetParent()->SendMessage(WM_ERASEBKGND, (WPARAM)mem.m_hDC, 0);
        ::SetViewportOrgEx(mem.m_hDC, 0, 0, NULL);
    } else {
        mem.FillSolidRect(&all, RGB(255, 255, 255));
    }
    CBrush border;
    border.CreateSolidBrush(0xBD9E7B);
    if (m_bFlatBorder)
        mem.FrameRect(&all, &border);
    int shift = ((lpDIS->itemState & ODS_SELECTED) || m_bPopupActive) ? 1 : 0;

    // The drop arrow at the right.
    int arrowW = 7;
    int arrowX = cx - arrowW - 5 + shift;
    int arrowY = cy / 2 - 2 + shift;
    if (m_pArrowImages && m_pArrowImages->GetSafeHandle()) {
        int image = shift ? 2 : (m_bHot ? 3 : 0);
        m_pArrowImages->Draw(&mem, image, CPoint(arrowX, arrowY - 2), ILD_NORMAL);
    } else {
        for (int i = 0; i < 4; ++i)
            mem.FillSolidRect(arrowX + i, arrowY + i, arrowW - 2 * i, 1, 0x161616);
    }
    int sepX = cx - arrowW - 9;
    if (m_bFlatBorder)
        mem.FillSolidRect(sepX, 1, 1, cy - 2, 0xBD9E7B);

    CRect swatch(0, 0, sepX, cy);
    swatch.DeflateRect(1, 1);
    swatch.DeflateRect(2, 2);
    swatch.OffsetRect(shift, shift);
    COLORREF fill = m_Colour == CLR_DEFAULT ? m_DefaultColour : m_Colour;
    if (IsWindowEnabled())
        mem.FillSolidRect(&swatch, fill);
    if (m_bTransparent) {
        mem.DrawEdge(&swatch, EDGE_SUNKEN, BF_RECT);
    } else {
        CBrush frame;
        frame.CreateSolidBrush(::GetSysColor(COLOR_WINDOWFRAME));
        mem.FrameRect(&swatch, &frame);
    }
    ::BitBlt(lpDIS->hDC, rc.left, rc.top, cx, cy, mem.m_hDC, 0, 0, SRCCOPY);
}
