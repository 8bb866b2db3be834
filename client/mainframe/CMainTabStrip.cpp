#include "CMainTabStrip.h"

#include "IFrameHost.h"
#include "MainFrameMessages.h"
#include "MainFrameResource.h"
#include "SkinNames.h"
#include "UiFont.h"
#include "UiResource.h"

#include <algorithm>
#include <cstring>

BEGIN_MESSAGE_MAP(CMainTabStrip, CSkinTabCtrl)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_SIZE()
    ON_WM_NCHITTEST()
    ON_WM_SETCURSOR()
    ON_MESSAGE(WM_LANGUAGE_CHANGED, OnLanguageChanged)
    ON_BN_CLICKED(IDC_TAB_FULLSCREEN, OnFullScreen)
    ON_BN_CLICKED(IDC_TAB_RESTORE, OnRestore)
    ON_BN_CLICKED(IDC_TAB_OPEN_CHAT, OnOpenChat)
    ON_BN_CLICKED(IDC_TAB_CLOSE_CHAT, OnCloseChat)
END_MESSAGE_MAP()

CMainTabStrip::CMainTabStrip() {}

CMainTabStrip::~CMainTabStrip() {}

BOOL CMainTabStrip::CreateStrip(CWnd* parent, IFrameHost* host, const RECT& rect, UINT id)
{
    m_host = host;
    m_tabNormal.LoadFromFile(SKIN_CTRL_BTNS, 5, 20, TRUE);
    m_tabSelected.LoadFromFile(SKIN_CTRL_BTNSS, 5, 20, TRUE);
    m_tabDisabled.LoadFromFile(SKIN_CTRL_BTN2D, 5, 20, TRUE);
    m_header.LoadFromFile(SKIN_HEADER_BKGND, 5, 20, TRUE);
    if (!Create(WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | TCS_FIXEDWIDTH, rect,
                parent, id))
        return FALSE;
    if (m_tabNormal.GetWidth() > 0)
        SetItemSize(CSize(m_tabNormal.GetWidth(), m_tabNormal.GetHeight()));
    if (g_UiFont.GetSafeHandle())
        SetFont(&g_UiFont, FALSE);

    struct Spec
    {
        CSkinButton* button;
        UINT id;
        const char* text;
        int width;
        bool visible;
    };
    const Spec specs[] = {
        {&m_fullScreen, IDC_TAB_FULLSCREEN, "全屏", SCREEN_BUTTON_WIDTH, true},
        {&m_restore, IDC_TAB_RESTORE, "还原", SCREEN_BUTTON_WIDTH, false},
        {&m_openChat, IDC_TAB_OPEN_CHAT, "打开聊天窗口", CHAT_BUTTON_WIDTH, false},
        {&m_closeChat, IDC_TAB_CLOSE_CHAT, "关闭聊天窗口", CHAT_BUTTON_WIDTH, true},
    };
    for (const Spec& s : specs) {
        DWORD style = WS_CHILD | BS_OWNERDRAW | (s.visible ? WS_VISIBLE : 0);
        if (!s.button->Create(s.text, style, CRect(0, 0, s.width, BUTTON_HEIGHT), this, s.id))
            return FALSE;
        s.button->SetBitmapStrip(SKIN_STANDARD_BUTTON, TRUE);
        s.button->MoveWindow(0, 0, s.width, BUTTON_HEIGHT, FALSE);
    }
    m_hand = AfxGetApp() ? AfxGetApp()->LoadCursor(IDC_UI_HAND) : nullptr;
    m_arrow = ::LoadCursor(NULL, IDC_ARROW);
    m_split = ::LoadCursorA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDC_UI_SPLIT));
    ApplyTexts(TRUE);
    LayoutButtons();
    return TRUE;
}

void CMainTabStrip::ApplyTexts(BOOL apply)
{
    if (!apply || !m_hWnd)
        return;
    m_fullScreen.SetWindowText("全屏");
    m_restore.SetWindowText("还原");
}

int CMainTabStrip::GetTabHeight() const
{
    if (m_tabNormal.GetHeight() > 0)
        return m_tabNormal.GetHeight();
    CRect item;
    if (m_hWnd && GetItemCount() > 0 && GetItemRect(0, &item))
        return item.Height();
    return 24;
}

void CMainTabStrip::GetPageRect(RECT* pRect)
{
    CRect client;
    GetClientRect(&client);
    client.top = std::min<LONG>(client.bottom, GetTabHeight() + PAGE_GAP);
    *pRect = client;
}

void CMainTabStrip::LayoutButtons()
{
    if (!m_hWnd || !m_fullScreen.m_hWnd)
        return;
    CRect client;
    GetClientRect(&client);
    const int header = GetTabHeight();
    const int y = std::max(0, (header - BUTTON_HEIGHT) / 2);
    const int screenLeft = client.right - RIGHT_MARGIN - SCREEN_BUTTON_WIDTH;
    m_fullScreen.MoveWindow(screenLeft, y, SCREEN_BUTTON_WIDTH, BUTTON_HEIGHT);
    m_restore.MoveWindow(screenLeft, y, SCREEN_BUTTON_WIDTH, BUTTON_HEIGHT);
    const int chatLeft = screenLeft - BUTTON_GAP - CHAT_BUTTON_WIDTH;
    m_openChat.MoveWindow(chatLeft, y, CHAT_BUTTON_WIDTH, BUTTON_HEIGHT);
    m_closeChat.MoveWindow(chatLeft, y, CHAT_BUTTON_WIDTH, BUTTON_HEIGHT);
}

void CMainTabStrip::OnSize(UINT type, int cx, int cy)
{
    CSkinTabCtrl::OnSize(type, cx, cy);
    LayoutButtons();
}

void CMainTabStrip::ShowFullScreenButton(bool fullScreen)
{
    if (!m_fullScreen.m_hWnd)
        return;
    m_fullScreen.ShowWindow(fullScreen ? SW_SHOW : SW_HIDE);
    m_restore.ShowWindow(fullScreen ? SW_HIDE : SW_SHOW);
}

void CMainTabStrip::ShowChatButtons(bool chatShown)
{
    if (!m_closeChat.m_hWnd)
        return;
    m_closeChat.ShowWindow(chatShown ? SW_SHOW : SW_HIDE);
    m_openChat.ShowWindow(chatShown ? SW_HIDE : SW_SHOW);
}

CSkinButton& CMainTabStrip::Button(UINT id)
{
    switch (id) {
    case IDC_TAB_RESTORE:
        return m_restore;
    case IDC_TAB_OPEN_CHAT:
        return m_openChat;
    case IDC_TAB_CLOSE_CHAT:
        return m_closeChat;
    default:
        return m_fullScreen;
    }
}

void CMainTabStrip::OnFullScreen()
{
    if (m_host && m_host->HasLayoutRight() && GetParent())
        GetParent()->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_TAB_FULLSCREEN, BN_CLICKED),
                                 (LPARAM)m_fullScreen.GetSafeHwnd());
}

void CMainTabStrip::OnRestore()
{
    if (m_host && m_host->HasLayoutRight() && GetParent())
        GetParent()->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_TAB_RESTORE, BN_CLICKED),
                                 (LPARAM)m_restore.GetSafeHwnd());
}

void CMainTabStrip::OnCloseChat()
{
    if (m_host)
        m_host->SetChatPaneShown(false);
    ShowChatButtons(false);
}

void CMainTabStrip::OnOpenChat()
{
    if (m_host)
        m_host->SetChatPaneShown(true);
    ShowChatButtons(true);
}

UINT CMainTabStrip::OnNcHitTest(CPoint point)
{
    UINT hit = CSkinTabCtrl::OnNcHitTest(point);
    return hit == (UINT)HTTRANSPARENT ? HTCLIENT : hit;
}

BOOL CMainTabStrip::OnSetCursor(CWnd* wnd, UINT hitTest, UINT message)
{
    if (hitTest == HTCLIENT && wnd == this) {
        CPoint pt;
        ::GetCursorPos(&pt);
        ScreenToClient(&pt);
        TCHITTESTINFO hit = {pt, 0};
        if (HitTest(&hit) >= 0 && m_hand) {
            ::SetCursor(m_hand);
            return TRUE;
        }
        ::SetCursor(m_arrow);
        return TRUE;
    }
    return CSkinTabCtrl::OnSetCursor(wnd, hitTest, message);
}

BOOL CMainTabStrip::OnEraseBkgnd(CDC*) { return TRUE; }

void CMainTabStrip::DrawTab(CDC* dc, int index, bool selected)
{
    CRect item;
    if (!GetItemRect(index, &item))
        return;
    CSkinBitmap& image = selected ? m_tabSelected : m_tabNormal;
    if (!image.IsEmpty())
        image.Draw(dc, item.left, item.top, item.Width(), item.Height());
    else
        dc->FillSolidRect(&item, ::GetSysColor(COLOR_BTNFACE));

    char text[128] = {};
    TCITEMA tab = {};
    tab.mask = TCIF_TEXT | TCIF_IMAGE;
    tab.pszText = text;
    tab.cchTextMax = sizeof text - 1;
    tab.iImage = -1;
    GetItem(index, &tab);
    CRect textRect = item;
    CImageList* images = GetImageList();
    if (images && tab.iImage >= 0) {
        IMAGEINFO info = {};
        images->GetImageInfo(tab.iImage, &info);
        const int iconWidth = info.rcImage.right - info.rcImage.left;
        const int iconHeight = info.rcImage.bottom - info.rcImage.top;
        CSize textSize = dc->GetTextExtent(text, (int)strlen(text));
        const int total = iconWidth + 2 + textSize.cx;
        const int x = item.left + (item.Width() - total) / 2;
        images->Draw(dc, tab.iImage, CPoint(x, item.top + (item.Height() - iconHeight) / 2),
                     ILD_TRANSPARENT);
        textRect.left = x + iconWidth + 2;
        dc->DrawText(text, -1, &textRect, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
    } else {
        dc->DrawText(text, -1, &textRect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
}

void CMainTabStrip::OnPaint()
{
    CPaintDC paint(this);
    CRect client;
    GetClientRect(&client);
    CDC mem;
    mem.CreateCompatibleDC(&paint);
    CBitmap bitmap;
    bitmap.CreateCompatibleBitmap(&paint, std::max(1, client.Width()),
                                  std::max(1, client.Height()));
    CBitmap* oldBitmap = mem.SelectObject(&bitmap);
    mem.FillSolidRect(&client, BACKGROUND);

    const int header = GetTabHeight();
    if (!m_header.IsEmpty())
        m_header.Draw(&mem, 0, 0, client.Width(), header);
    CFont* oldFont = g_UiFont.GetSafeHandle() ? mem.SelectObject(&g_UiFont) : nullptr;
    mem.SetBkMode(TRANSPARENT);
    const int selected = GetCurSel();
    for (int i = 0; i < GetItemCount(); ++i)
        if (i != selected)
            DrawTab(&mem, i, false);
    if (selected >= 0)
        DrawTab(&mem, selected, true);
    if (oldFont)
        mem.SelectObject(oldFont);
    paint.BitBlt(0, 0, client.Width(), client.Height(), &mem, 0, 0, SRCCOPY);
    mem.SelectObject(oldBitmap);
}

LRESULT CMainTabStrip::OnLanguageChanged(WPARAM, LPARAM)
{
    ApplyTexts(TRUE);
    return 0;
}
