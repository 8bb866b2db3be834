#include "CSkinComboBox.h"

#include "CMemoryDC.h"
#include "UiFont.h"

BEGIN_MESSAGE_MAP(CSkinComboBox, CComboBox)
    ON_WM_PAINT()
    ON_CONTROL_REFLECT_EX(CBN_CLOSEUP, OnCloseUp)
    ON_CONTROL_REFLECT_EX(CBN_DROPDOWN, OnDropDown)
END_MESSAGE_MAP()

CSkinComboBox::CSkinComboBox()
    : m_bDropped(FALSE), m_clrBack(::GetSysColor(COLOR_WINDOW)), m_clrBtnFace(0xF7F5F5),
      m_clrBorder(0xBDA6A4), m_clrArrowClosed(0x000000), m_clrArrowDropped(0x000000)
{}

CSkinComboBox::~CSkinComboBox() {}

void CSkinComboBox::PreSubclassWindow()
{
    CComboBox::PreSubclassWindow();
    // Owner drawing is a creation style: a combo box only draws its items
    // here when its template (or creator) declares CBS_OWNERDRAWFIXED and
    // CBS_HASSTRINGS; adding them now would change nothing.
    if ((GetStyle() & (CBS_OWNERDRAWFIXED | CBS_HASSTRINGS)) !=
        (CBS_OWNERDRAWFIXED | CBS_HASSTRINGS))
        TRACE("CSkinComboBox %d: created without CBS_OWNERDRAWFIXED | CBS_HASSTRINGS\n",
              GetDlgCtrlID());
    ModifyStyle(WS_BORDER, 0);
    ModifyStyleEx(WS_EX_CLIENTEDGE, 0, SWP_FRAMECHANGED);
}

void CSkinComboBox::MeasureItem(LPMEASUREITEMSTRUCT lpMIS) { lpMIS->itemHeight = 13; }

void CSkinComboBox::DrawItem(LPDRAWITEMSTRUCT lpDIS)
{
    if (lpDIS->CtlType != ODT_COMBOBOX)
        return;
    CDC* pDC = CDC::FromHandle(lpDIS->hDC);
    CRect rc(lpDIS->rcItem);
    BOOL selected = (lpDIS->itemState & ODS_SELECTED) != 0;
    pDC->FillSolidRect(&rc, ::GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    if ((int)lpDIS->itemID < 0)
        return;
    CString s;
    GetLBText((int)lpDIS->itemID, s);
    CFont* pOld = pDC->SelectObject(GetUiFont());
    int oldMode = pDC->SetBkMode(TRANSPARENT);
    COLORREF oldText =
        pDC->SetTextColor(::GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    pDC->DrawText(s, &rc, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    pDC->SetTextColor(oldText);
    pDC->SetBkMode(oldMode);
    pDC->SelectObject(pOld);
}

BOOL CSkinComboBox::OnCloseUp()
{
    m_bDropped = FALSE;
    Invalidate();
    return FALSE;
}

BOOL CSkinComboBox::OnDropDown()
{
    m_bDropped = TRUE;
    Invalidate();
    return FALSE;
}

void CSkinComboBox::OnPaint()
{
    CPaintDC dc(this);
    CRect rc;
    GetClientRect(&rc);
    if (rc.IsRectEmpty())
        return;
    CMemoryDC mem(rc.Width(), rc.Height());
    mem.FillSolidRect(&rc, m_clrBack);
    CRect btn(rc.right - 14, rc.top, rc.right, rc.bottom);
    mem.FillSolidRect(&btn, m_clrBtnFace);
    mem.FillSolidRect(btn.left, btn.top, 1, btn.Height(), m_clrBorder);
    COLORREF arrow = m_bDropped ? m_clrArrowDropped : m_clrArrowClosed;
    int cx = (btn.left + btn.right) / 2, cy = (btn.top + btn.bottom) / 2;
    POINT tri[3] = {{cx - 4, cy - 2}, {cx + 2, cy - 2}, {cx - 1, cy + 1}};
    CBrush brush;
    brush.CreateSolidBrush(arrow);
    CPen pen;
    pen.CreatePen(PS_SOLID, 1, arrow);
    CBrush* pOldBrush = mem.SelectObject(&brush);
    CPen* pOldPen = mem.SelectObject(&pen);
    mem.Polygon(tri, 3);
    mem.SelectObject(pOldBrush);
    mem.SelectObject(pOldPen);
    int sel = GetCurSel();
    if (sel >= 0) {
        CRect item(rc.left + 3, rc.top + 1, btn.left, rc.bottom);
        DRAWITEMSTRUCT dis = {};
        dis.CtlType = ODT_COMBOBOX;
        dis.CtlID = GetDlgCtrlID();
        dis.itemID = sel;
        dis.itemAction = ODA_DRAWENTIRE;
        dis.itemState = ODS_COMBOBOXEDIT;
        dis.hwndItem = m_hWnd;
        dis.hDC = mem.m_hDC;
        dis.rcItem = item;
        DrawItem(&dis);
    }
    dc.BitBlt(0, 0, rc.Width(), rc.Height(), &mem, 0, 0, SRCCOPY);
    CBrush border;
    border.CreateSolidBrush(m_clrBorder);
    dc.FrameRect(&rc, &border);
}
