#include "CUserListPanel.h"

#include "PanesResource.h"

BEGIN_MESSAGE_MAP(CUserListPanel, CWnd)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_ACTIVATE()
END_MESSAGE_MAP()

CUserListPanel::CUserListPanel() {}

void CUserListPanel::SetCells(int cells, int columns, UINT bitmapId, int imageWidth)
{
    m_cells = cells;
    m_columns = columns;
    m_bitmapId = bitmapId;
    m_imageWidth = imageWidth;
    BITMAP bm = {};
    HBITMAP strip = ::LoadBitmap(AfxGetResourceHandle(), MAKEINTRESOURCE(bitmapId));
    if (strip) {
        ::GetObject(strip, sizeof bm, &bm);
        m_imageHeight = bm.bmHeight;
        ::DeleteObject(strip);
    }
}

void CUserListPanel::Open(CWnd* owner, const RECT& anchor)
{
    if (IsOpen())
        return;
    const int width = 192;
    const int height = 4 * (m_imageHeight + 8) + 10;
    int y = anchor.top;
    if (y + height > ::GetSystemMetrics(SM_CYSCREEN))
        y -= height;
    LPCSTR cls = AfxRegisterWndClass(0, ::LoadCursor(NULL, IDC_ARROW),
                                     static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    CreateEx(WS_EX_TOOLWINDOW, cls, "", WS_POPUP | WS_VISIBLE, anchor.left, y, width, height,
             owner ? owner->GetSafeHwnd() : NULL, NULL);
}

int CUserListPanel::OnCreate(LPCREATESTRUCT lpcs)
{
    if (CWnd::OnCreate(lpcs) == -1)
        return -1;
    CRect client;
    GetClientRect(&client);
    m_list.Create(WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_OWNERDRAWFIXED | LBS_NOTIFY |
                      LBS_MULTICOLUMN,
                  client, this, IDC_WINDOW_MODE_LIST);
    if (m_bitmapId)
        m_list.SetImageStrip(m_bitmapId, m_imageWidth);
    for (int i = 0; i < 5; ++i)
        m_list.AddString("");
    return 0;
}

void CUserListPanel::OnSize(UINT nType, int cx, int cy)
{
    CWnd::OnSize(nType, cx, cy);
    if (m_list.GetSafeHwnd())
        m_list.MoveWindow(0, 0, cx, cy);
}

void CUserListPanel::OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized)
{
    CWnd::OnActivate(nState, pWndOther, bMinimized);
    if (nState == WA_INACTIVE)
        PostMessage(WM_CLOSE);
}
