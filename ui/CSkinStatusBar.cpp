#include "CSkinStatusBar.h"

#include "UiFont.h"

BEGIN_MESSAGE_MAP(CSkinStatusBar, CStatusBar)
    ON_WM_CREATE()
    ON_WM_PAINT()
END_MESSAGE_MAP()

CSkinStatusBar::CSkinStatusBar() : m_clrLabel(0), m_clrValue(0) {}

int CSkinStatusBar::OnCreate(LPCREATESTRUCT cs) { return CStatusBar::OnCreate(cs) == -1 ? -1 : 0; }

void CSkinStatusBar::SplitText(const CString& text, CString& label, CString& value)
{
    int colon = text.Find(':');
    if (colon < 0) {
        label = text;
        value.Empty();
        return;
    }
    label = text.Left(colon + 1);
    value = text.Mid(colon + 1);
}

void CSkinStatusBar::OnPaint()
{
    HDC hdc = ::GetDC(m_hWnd);
    if (!hdc)
        return;
    CDC dc;
    dc.Attach(hdc);
    const int saved = dc.SaveDC();
    CRect client;
    GetClientRect(&client);
    m_background.Draw(&dc, 0, 0, client.Width(), client.Height());

    dc.SetBkMode(TRANSPARENT);
    dc.SelectObject(GetUiFont());
    for (int i = 0; i < GetCount(); ++i) {
        CRect r;
        GetItemRect(i, &r);
        CString label, value;
        SplitText(GetPaneText(i), label, value);
        dc.SetTextColor(m_clrLabel);
        dc.DrawText(label, &r, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);
        CSize extent = dc.GetTextExtent(label);
        r.left += extent.cx;
        if (!r.IsRectEmpty() && !value.IsEmpty()) {
            dc.SetTextColor(m_clrValue);
            dc.DrawText(value, &r, DT_SINGLELINE | DT_VCENTER | DT_NOCLIP);
        }
    }
    dc.RestoreDC(saved);
    dc.Detach();
    ::ReleaseDC(m_hWnd, hdc);
    ValidateRect(NULL);
}
