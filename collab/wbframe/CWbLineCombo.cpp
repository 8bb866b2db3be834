#include "CWbLineCombo.h"

namespace {
const int kWidths[] = {1, 2, 3, 4, 6, 8, 10};
} // namespace

BOOL CWbLineCombo::CreateList(CWnd* parent, UINT id, const RECT& rc)
{
    CRect drop(rc);
    drop.bottom = drop.top + 200;
    if (!Create(WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED, drop,
                parent, id))
        return FALSE;
    int count = m_mode == MODE_STYLE ? 5 : 7;
    for (int i = 0; i < count; ++i) {
        char text[8];
        wsprintfA(text, "%d", i + 1);
        int index = AddString(text);
        SetItemData(index, m_mode == MODE_WIDTH ? kWidths[i] : i);
    }
    SetCurSel(m_mode == MODE_WIDTH ? 1 : 0);
    return TRUE;
}

int CWbLineCombo::GetSelectedValue() const
{
    int sel = GetCurSel();
    return sel < 0 ? -1 : (int)GetItemData(sel);
}

void CWbLineCombo::MeasureItem(LPMEASUREITEMSTRUCT lpMIS) { lpMIS->itemHeight = 16; }

void CWbLineCombo::DrawItem(LPDRAWITEMSTRUCT lpDIS)
{
    if (!lpDIS || (int)lpDIS->itemID < 0)
        return;
    CDC* dc = CDC::FromHandle(lpDIS->hDC);
    CRect rc(lpDIS->rcItem);
    const bool selected = (lpDIS->itemState & ODS_SELECTED) != 0;
    dc->FillSolidRect(&rc, ::GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    COLORREF ink = selected ? ::GetSysColor(COLOR_HIGHLIGHTTEXT) : RGB(0, 0, 0);
    int value = (int)lpDIS->itemData;
    CRect inner(rc);
    inner.DeflateRect(3, 2);
    if (m_mode == MODE_FILL) {
        CBrush brush;
        // 0 no fill, 1..5 the hatches, 6 solid.
        if (value >= 1 && value <= 5)
            brush.CreateHatchBrush(value - 1, ink);
        else if (value == 6)
            brush.CreateSolidBrush(ink);
        CPen pen(PS_SOLID, 1, ink);
        CPen* oldPen = dc->SelectObject(&pen);
        CBrush* oldBrush =
            value == 0 ? (CBrush*)dc->SelectStockObject(NULL_BRUSH) : dc->SelectObject(&brush);
        dc->Rectangle(&inner);
        dc->SelectObject(oldBrush);
        dc->SelectObject(oldPen);
        return;
    }
    CPen pen(m_mode == MODE_STYLE ? value : PS_SOLID, m_mode == MODE_WIDTH ? value : 1, ink);
    CPen* old = dc->SelectObject(&pen);
    int y = (inner.top + inner.bottom) / 2;
    dc->MoveTo(inner.left, y);
    dc->LineTo(inner.right, y);
    dc->SelectObject(old);
}
