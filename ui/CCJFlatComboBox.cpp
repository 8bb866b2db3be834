#include "CCJFlatComboBox.h"

#include "CMemoryDC.h"
#include "UiFont.h"

IMPLEMENT_DYNAMIC(CCJFlatComboBox, CComboBox)

BEGIN_MESSAGE_MAP(CCJFlatComboBox, CComboBox)
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_TIMER()
    ON_WM_PAINT()
    ON_CONTROL_REFLECT_EX(CBN_SETFOCUS, OnSetFocus)
    ON_CONTROL_REFLECT_EX(CBN_KILLFOCUS, OnKillFocus)
    ON_CONTROL_REFLECT_EX(CBN_EDITUPDATE, OnEditUpdate)
    ON_CONTROL_REFLECT_EX(CBN_SELCHANGE, OnSelChange)
END_MESSAGE_MAP()

CCJFlatComboBox::CCJFlatComboBox()
    : m_bLBtnDown(FALSE), m_bHot(FALSE), m_bHasFocus(FALSE), m_bAutoComplete(TRUE)
{
    m_clrHilite = ::GetSysColor(COLOR_3DHILIGHT);
    m_clrShadow = ::GetSysColor(COLOR_3DSHADOW);
    m_clrBtnFace = 0xEFEBEF;
    m_clrArrow = 0x000000;
    m_clrBack = 0xFFFFFF;
    m_clrDisabledBack = 0xEFEBEF;
    HBITMAP hStrip = (HBITMAP)::LoadImageA(AfxGetResourceHandle(), MAKEINTRESOURCEA(523),
                                           IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION);
    if (hStrip) {
        m_buttonImages.Create(15, 16, ILC_COLOR24 | ILC_MASK, 4, 0);
        ImageList_AddMasked(m_buttonImages.GetSafeHandle(), hStrip, RGB(0, 0, 0));
        ::DeleteObject(hStrip);
    }
}

CCJFlatComboBox::~CCJFlatComboBox() {}

void CCJFlatComboBox::PreSubclassWindow()
{
    CComboBox::PreSubclassWindow();
    // Owner drawing is a creation style: a combo box only draws its items
    // here when its template (or creator) declares CBS_OWNERDRAWFIXED and
    // CBS_HASSTRINGS; adding them now would change nothing.
    if ((GetStyle() & (CBS_OWNERDRAWFIXED | CBS_HASSTRINGS)) !=
        (CBS_OWNERDRAWFIXED | CBS_HASSTRINGS))
        TRACE("CCJFlatComboBox %d: created without CBS_OWNERDRAWFIXED | CBS_HASSTRINGS\n",
              GetDlgCtrlID());
    ModifyStyle(WS_BORDER, 0);
    ModifyStyleEx(WS_EX_CLIENTEDGE, 0, SWP_FRAMECHANGED);
    SetItemHeight(-1, 14);
}

void CCJFlatComboBox::MeasureItem(LPMEASUREITEMSTRUCT lpMIS) { lpMIS->itemHeight = 14; }

void CCJFlatComboBox::DrawItem(LPDRAWITEMSTRUCT lpDIS)
{
    if (lpDIS->CtlType != ODT_COMBOBOX)
        return;
    CDC* pDC = CDC::FromHandle(lpDIS->hDC);
    CRect rc(lpDIS->rcItem);
    COLORREF fill, text;
    BOOL enabled = IsWindowEnabled();
    if (!enabled) {
        fill = 0xEFEBEF;
        text = ::GetSysColor(COLOR_WINDOWTEXT);
    } else if (lpDIS->itemState & ODS_SELECTED) {
        fill = ::GetSysColor(COLOR_HIGHLIGHT);
        text = ::GetSysColor(COLOR_HIGHLIGHTTEXT);
    } else {
        fill = ::GetSysColor(COLOR_WINDOW);
        text = ::GetSysColor(COLOR_WINDOWTEXT);
    }
    pDC->FillSolidRect(&rc, fill);
    if ((int)lpDIS->itemID < 0)
        return;
    CString s;
    GetLBText((int)lpDIS->itemID, s);
    CFont* pOld = pDC->SelectObject(GetUiFont());
    int oldMode = pDC->SetBkMode(TRANSPARENT);
    COLORREF oldText = pDC->SetTextColor(text);
    pDC->DrawText(s, &rc, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    pDC->SetTextColor(oldText);
    pDC->SetBkMode(oldMode);
    pDC->SelectObject(pOld);
}

BOOL CCJFlatComboBox::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message == WM_SYSCHAR)
        return TRUE;
    return CComboBox::PreTranslateMessage(pMsg);
}

void CCJFlatComboBox::OnMouseMove(UINT nFlags, CPoint point)
{
    SetTimer(1, 10, NULL);
    TimerStep();
    CComboBox::OnMouseMove(nFlags, point);
}

void CCJFlatComboBox::OnLButtonDown(UINT nFlags, CPoint point)
{
    m_bLBtnDown = TRUE;
    CComboBox::OnLButtonDown(nFlags, point);
}

void CCJFlatComboBox::OnLButtonUp(UINT nFlags, CPoint point)
{
    m_bLBtnDown = FALSE;
    Invalidate();
    CComboBox::OnLButtonUp(nFlags, point);
}

void CCJFlatComboBox::OnTimer(UINT nIDEvent)
{
    if (nIDEvent == 1)
        TimerStep();
    else
        CComboBox::OnTimer(nIDEvent);
}

void CCJFlatComboBox::TimerStep()
{
    CPoint pt;
    ::GetCursorPos(&pt);
    CRect rc;
    GetWindowRect(&rc);
    if (m_bLBtnDown) {
        KillTimer(1);
        if (m_bHot) {
            DrawFrame(FRAME_PRESSED);
            m_bHot = FALSE;
        }
    } else if (!rc.PtInRect(pt) && !m_bHasFocus) {
        KillTimer(1);
        if (m_bHot) {
            DrawFrame(FRAME_NORMAL);
            m_bHot = FALSE;
        }
    } else if (!m_bHot) {
        m_bHot = TRUE;
        DrawFrame(FRAME_RAISED);
    }
}

BOOL CCJFlatComboBox::OnSetFocus()
{
    m_bHasFocus = TRUE;
    DrawFrame(FRAME_RAISED);
    return FALSE;
}

BOOL CCJFlatComboBox::OnKillFocus()
{
    m_bHasFocus = FALSE;
    DrawFrame(FRAME_NORMAL);
    return FALSE;
}

BOOL CCJFlatComboBox::OnSelChange()
{
    if (m_bHasFocus) {
        CWnd* pFrame = GetParentFrame();
        CWnd* pTarget = pFrame ? (CWnd*)pFrame : GetParent();
        if (pTarget)
            pTarget->SetFocus();
    }
    return FALSE;
}

BOOL CCJFlatComboBox::OnEditUpdate()
{
    if (!m_bAutoComplete)
        return FALSE;
    CString text;
    GetWindowText(text);
    int len = text.GetLength();
    DWORD sel = GetEditSel();
    int start = (short)LOWORD(sel), end = (short)HIWORD(sel);
    if (SelectString(-1, text) == CB_ERR) {
        SetWindowText(text);
        if (sel != (DWORD)CB_ERR)
            SetEditSel(start, end);
    }
    if (sel == (DWORD)CB_ERR || end >= len)
        SetEditSel(len, -1);
    else
        SetEditSel(start, end);
    return FALSE;
}

CRect CCJFlatComboBox::GetButtonRect() const
{
    CRect rc;
    GetClientRect(&rc);
    rc.DeflateRect(1, 2);
    rc.left = rc.right - 16;
    return rc;
}

void CCJFlatComboBox::DrawCombo(CDC* pDC, int nState)
{
    CRect rc;
    GetClientRect(&rc);
    BOOL enabled = IsWindowEnabled();
    CRect btn = GetButtonRect();
    if (m_buttonImages.GetSafeHandle()) {
        CBrush outer;
        outer.CreateSolidBrush(0xBD9E7B);
        pDC->FrameRect(&rc, &outer);
        CRect r2 = rc;
        r2.DeflateRect(1, 1);
        pDC->Draw3dRect(&r2, RGB(255, 255, 255), RGB(255, 255, 255));
        r2.DeflateRect(1, 1);
        COLORREF inner = enabled ? RGB(255, 255, 255) : 0xEFEBEF;
        pDC->Draw3dRect(&r2, inner, inner);
        pDC->FillSolidRect(&btn, m_clrBtnFace);
        int image = nState == FRAME_PRESSED ? 2 : (nState == FRAME_RAISED ? 1 : 0);
        m_buttonImages.Draw(pDC, image, btn.TopLeft(), ILD_NORMAL);
        return;
    }
    // Without the image strip: a sunken frame and a raised button face.
    pDC->Draw3dRect(&rc, m_clrShadow, m_clrHilite);
    CRect r2 = rc;
    r2.DeflateRect(1, 1);
    pDC->Draw3dRect(&r2, m_clrBtnFace, m_clrBtnFace);
    pDC->FillSolidRect(&btn, m_clrBtnFace);
    pDC->Draw3dRect(&btn, m_clrHilite, m_clrShadow);
    int cx = (btn.left + btn.right) / 2, cy = (btn.top + btn.bottom) / 2;
    if (nState == FRAME_PRESSED) {
        ++cx;
        ++cy;
    }
    POINT tri[3] = {{cx - 4, cy - 2}, {cx + 2, cy - 2}, {cx - 1, cy + 1}};
    CBrush brush;
    brush.CreateSolidBrush(m_clrArrow);
    CPen pen;
    pen.CreatePen(PS_SOLID, 1, m_clrArrow);
    CBrush* pOldBrush = pDC->SelectObject(&brush);
    CPen* pOldPen = pDC->SelectObject(&pen);
    pDC->Polygon(tri, 3);
    pDC->SelectObject(pOldBrush);
    pDC->SelectObject(pOldPen);
}

void CCJFlatComboBox::DrawFrame(int nState)
{
    if (!m_hWnd)
        return;
    CClientDC dc(this);
    DrawCombo(&dc, nState);
}

void CCJFlatComboBox::OnPaint()
{
    CPaintDC dc(this);
    CRect rc;
    GetClientRect(&rc);
    if (rc.IsRectEmpty())
        return;
    CMemoryDC mem(rc.Width(), rc.Height());
    mem.FillSolidRect(&rc, IsWindowEnabled() ? m_clrBack : m_clrDisabledBack);
    CPoint pt;
    ::GetCursorPos(&pt);
    CRect wr;
    GetWindowRect(&wr);
    int state = m_bLBtnDown ? FRAME_PRESSED
                            : ((wr.PtInRect(pt) || m_bHasFocus) ? FRAME_RAISED : FRAME_NORMAL);
    DrawCombo(&mem, state);
    int sel = GetCurSel();
    if (sel >= 0) {
        CRect item = rc;
        item.right = GetButtonRect().left;
        item.left += 3;
        item.top += 2;
        item.bottom -= 2;
        DRAWITEMSTRUCT dis = {};
        dis.CtlType = ODT_COMBOBOX;
        dis.CtlID = GetDlgCtrlID();
        dis.itemID = sel;
        dis.itemAction = ODA_DRAWENTIRE;
        dis.itemState = ODS_COMBOBOXEDIT | (IsWindowEnabled() ? 0 : ODS_DISABLED);
        dis.hwndItem = m_hWnd;
        dis.hDC = mem.m_hDC;
        dis.rcItem = item;
        dis.itemData = GetItemData(sel);
        DrawItem(&dis);
    }
    dc.BitBlt(0, 0, rc.Width(), rc.Height(), &mem, 0, 0, SRCCOPY);
}
