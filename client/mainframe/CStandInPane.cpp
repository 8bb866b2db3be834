#include "CStandInPane.h"

#include "UiFont.h"

BEGIN_MESSAGE_MAP(CStandInPane, CWnd)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

BOOL CStandInPane::CreatePane(LPCSTR name, CWnd* parent, bool visible, int height)
{
    LPCSTR cls = AfxRegisterWndClass(0, ::LoadCursor(NULL, IDC_ARROW), (HBRUSH)(COLOR_WINDOW + 1));
    DWORD style = parent ? WS_CHILD | WS_CLIPSIBLINGS | WS_BORDER : WS_POPUP | WS_CAPTION;
    if (visible && parent)
        style |= WS_VISIBLE;
    CRect rect(0, 0, 200, height > 0 ? height : 100);
    return CreateEx(0, cls, name, style, rect, parent, 0);
}

BOOL CStandInPane::OnEraseBkgnd(CDC*) { return TRUE; }

void CStandInPane::OnPaint()
{
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    dc.FillSolidRect(&client, RGB(0xF4, 0xF7, 0xFB));
    CString name;
    GetWindowText(name);
    CFont* old = g_UiFont.GetSafeHandle() ? dc.SelectObject(&g_UiFont) : nullptr;
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(RGB(0x80, 0x90, 0xA0));
    dc.DrawText(name, &client, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    if (old)
        dc.SelectObject(old);
}
