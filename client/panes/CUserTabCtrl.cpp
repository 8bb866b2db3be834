#include "CUserTabCtrl.h"

#include <cstdio>

#include "IPaneHost.h"
#include "PanesResource.h"
#include "UiResource.h"

BEGIN_MESSAGE_MAP(CUserTabCtrl, CSkinTabCtrl)
    ON_WM_SIZE()
    ON_WM_SETCURSOR()
END_MESSAGE_MAP()

CUserTabCtrl::CUserTabCtrl(const PANE_CONTEXT& context) : m_ctx(context) {}

BOOL CUserTabCtrl::CreateTab(CWnd* parent, const RECT& rect, UINT id)
{
    if (!Create(WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | TCS_FIXEDWIDTH, rect, parent, id))
        return FALSE;
    m_headCount.Create("", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, CRect(0, 0, 82, 14), this,
                       IDC_TAB_HEAD_COUNT);
    m_headCount.SetBitmapStrip("Skins\\AllUser.bmp", FALSE);
    m_rooms.Create("会议室", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, CRect(0, 0, 75, 14), this,
                   IDC_TAB_ROOMS);
    m_rooms.SetBitmapStrip("Skins\\AllUser.bmp", FALSE);
    m_sortMenu.LoadMenu(IDR_USER_SORT_MENU);
    return TRUE;
}

void CUserTabCtrl::SetHeadCount(int count)
{
    char text[64];
    snprintf(text, sizeof text, "当前%d人次", count);
    if (m_headCount.GetSafeHwnd())
        m_headCount.SetWindowText(text);
}

void CUserTabCtrl::GetPageRect(RECT* pRect)
{
    CRect client;
    GetClientRect(&client);
    CRect item(0, 0, 0, 20);
    if (GetItemCount() > 0)
        GetItemRect(0, &item);
    const int tabHeight = item.Height();
    if (GetStyle() & TCS_BOTTOM)
        client.bottom -= tabHeight;
    else
        client.top += tabHeight;
    client.DeflateRect(1, 1);
    *pRect = client;
}

void CUserTabCtrl::ResizeCurrentPage()
{
    CRect page;
    GetPageRect(&page);
    const HWND window = GetPageWindow(GetCurSel());
    if (GetCurSel() == 0) {
        if (m_headCount.GetSafeHwnd())
            m_headCount.MoveWindow(page.left, page.top, 82, 14);
        if (m_rooms.GetSafeHwnd())
            m_rooms.MoveWindow(page.right - 80, page.top, 75, 14);
        page.top += 18;
    }
    if (window)
        ::MoveWindow(window, page.left, page.top, page.Width(), page.Height(), TRUE);
}

void CUserTabCtrl::SelectPage(int nIndex)
{
    CSkinTabCtrl::SelectPage(nIndex);
    ShowButtons(GetCurSel() == 0);
}

void CUserTabCtrl::ShowButtons(bool show)
{
    if (m_headCount.GetSafeHwnd())
        m_headCount.ShowWindow(show ? SW_SHOW : SW_HIDE);
    if (m_rooms.GetSafeHwnd())
        m_rooms.ShowWindow(show ? SW_SHOW : SW_HIDE);
}

void CUserTabCtrl::OnSize(UINT nType, int cx, int cy)
{
    const int count = GetItemCount();
    if (count > 0) {
        const int width = cx / count - 2;
        SetItemSize(CSize(width > 0 ? width : 1, 20));
    }
    CSkinTabCtrl::OnSize(nType, cx, cy);
}

BOOL CUserTabCtrl::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
{
    CPoint point;
    ::GetCursorPos(&point);
    ScreenToClient(&point);
    TCHITTESTINFO hit = {point, 0};
    const bool overTab = HitTest(&hit) >= 0;
    ::SetCursor(overTab ? ::LoadCursor(AfxGetResourceHandle(), MAKEINTRESOURCE(IDC_UI_HAND))
                        : ::LoadCursor(NULL, IDC_ARROW));
    return TRUE;
}

BOOL CUserTabCtrl::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const UINT id = LOWORD(wParam);
    if (id == IDC_TAB_HEAD_COUNT && HIWORD(wParam) == BN_CLICKED) {
        // The sort commands have no effect; the menu only shows them.
        CRect r;
        m_headCount.GetWindowRect(&r);
        CMenu* popup = m_sortMenu.GetSubMenu(0);
        if (popup)
            popup->TrackPopupMenu(TPM_LEFTALIGN, r.left, r.bottom, this);
        return TRUE;
    }
    if (id == IDC_TAB_ROOMS && HIWORD(wParam) == BN_CLICKED) {
        CRect r;
        m_rooms.GetWindowRect(&r);
        if (m_ctx.host)
            m_ctx.host->ShowRoomList(POINT{r.left, r.bottom});
        return TRUE;
    }
    return CSkinTabCtrl::OnCommand(wParam, lParam);
}
