#include "CQuilletShareFrame.h"

#include "CQuilletBoardPool.h"
#include "IWebLink.h"
#include "WebNotice.h"

#include <algorithm>
#include <functional>

BEGIN_MESSAGE_MAP(CQuilletShareFrame, CWebShareFrame)
    ON_WM_CREATE()
    ON_WM_SIZE()
END_MESSAGE_MAP()

CQuilletShareFrame::CQuilletShareFrame()
    : m_board(
          *this, [this](const std::vector<uint8_t>& record) { SendBoard(record); },
          [this] { return IsLeader(); })
{
    m_hooks.presenting = [this] { return IsLeader(); };
}

CWebPoolView* CQuilletShareFrame::MakePool()
{
    m_pages = new CQuilletBoardPool(this, m_hooks);
    return m_pages;
}

CQuilletBoardPool* CQuilletShareFrame::Pages() const
{
    // The base forgets a pool whose window could not be made.
    return m_pool ? m_pages : nullptr;
}

int CQuilletShareFrame::OnCreate(LPCREATESTRUCT cs)
{
    if (CWebShareFrame::OnCreate(cs) == -1)
        return -1;
    // The history bar stands where the tab strip would.
    m_tabs.ShowWindow(SW_HIDE);
    if (m_pool)
        m_pool->ModifyStyleEx(WS_EX_CLIENTEDGE, 0, SWP_FRAMECHANGED);
    if (!m_history.Create(this))
        return -1;
    m_history.ShowWindow(SW_SHOW);
    LayoutBoard();
    return 0;
}

void CQuilletShareFrame::OnSize(UINT type, int cx, int cy)
{
    CWebShareFrame::OnSize(type, cx, cy);
    LayoutBoard();
}

void CQuilletShareFrame::LayoutBoard()
{
    if (!m_hWnd)
        return;
    CRect client;
    GetClientRect(&client);
    const int height = m_tabs.m_hWnd && m_tabs.GetHeight() > 0 ? m_tabs.GetHeight() : 22;
    if (m_tabs.m_hWnd)
        m_tabs.MoveWindow(0, 0, client.Width(), height);
    if (m_history.m_hWnd) {
        m_history.MoveWindow(0, 0, client.Width(), height);
        m_history.BringWindowToTop();
    }
    if (m_pool && m_pool->m_hWnd)
        m_pool->MoveWindow(0, 0, client.Width(), client.Height());
}

void CQuilletShareFrame::SendBoard(const std::vector<uint8_t>& record)
{
    if (m_link && !record.empty() && record.size() <= IWebLink::MAX_PAYLOAD)
        m_link->SendRelay(record.data(), static_cast<uint16_t>(record.size()));
}

CQuilletBoardView* CQuilletShareFrame::Page(uint32_t pageId)
{
    CQuilletBoardPool* pages = Pages();
    return pages ? pages->FindPage(pageId) : nullptr;
}

void CQuilletShareFrame::OpenPage(int key, const char* address, const char* title,
                                  const char* third, uint8_t flag)
{
    try {
        m_board.OpenPage(key, address, title, third, flag);
    } catch (...) {}
}

void CQuilletShareFrame::OpenDocument(const char* address)
{
    if (!address)
        return;
    const std::string text = address;
    const size_t slash = text.find_last_of("/\\");
    const std::string title = slash == std::string::npos ? text : text.substr(slash + 1);
    OpenPage(static_cast<int>(std::hash<std::string>()(text)), address, title.c_str(), "", 2);
}

// ---------------------------------------------------------------- the presenter's navigations

void CQuilletShareFrame::SendNavigation(CWebViewBase* view, const NAV_FIELDS& nav)
{
    // The board's payload is the navigation part of the shared record
    // (after its 8-byte notice and 4-byte length), under this edition's head.
    const size_t head = sizeof(WEB_NOTICE) + sizeof(uint32_t);
    std::vector<uint8_t> shared;
    if (!IsLeader() ||
        !CWebNotice::Navigate(WEB_BASE_BOARD, view->GetTabId(), nav,
                              IWebLink::MAX_PAYLOAD - sizeof(BOARD_NAVIGATE_HEAD) + head, shared) ||
        shared.size() < head)
        return;
    SendBoard(
        CBoardRecords::Navigate(view->GetTabId(), shared.data() + head, shared.size() - head));
}

void CQuilletShareFrame::OnViewNavigate(CWebViewBase* view, const NAV_FIELDS& nav)
{
    SendNavigation(view, nav);
}

void CQuilletShareFrame::OnViewCompleted(CWebViewBase*, const std::string&)
{
    // The others follow the navigation itself; a completion tells them nothing.
}

// ---------------------------------------------------------------- the board's pages

bool CQuilletShareFrame::FindKey(int key, uint32_t* pageId)
{
    // Pages closed since are dropped on the way.
    m_pageIds.erase(std::remove_if(m_pageIds.begin(), m_pageIds.end(),
                                   [this](uint32_t id) { return !Page(id); }),
                    m_pageIds.end());
    for (uint32_t id : m_pageIds)
        if (Page(id)->Key() == key) {
            *pageId = id;
            return true;
        }
    return false;
}

int CQuilletShareFrame::PageCount() { return m_pool ? static_cast<int>(m_pool->LiveCount()) : 0; }

void CQuilletShareFrame::RemoveAll() { CloseAllTabs(); }

bool CQuilletShareFrame::CreateView(uint32_t pageId, int key, uint8_t flag,
                                    const std::string& third)
{
    if (!m_pool || m_pool->Find(pageId))
        return false;
    CWebViewBase* made = m_pool->Acquire(pageId);
    CQuilletBoardView* view = made ? Page(pageId) : nullptr;
    if (!view || !view->m_hWnd) {
        if (made)
            m_pool->Release(pageId);
        return false;
    }
    m_pageIds.push_back(pageId);
    view->SetKey(key);
    view->SetMode(flag, third, m_server.c_str());
    return true;
}

void CQuilletShareFrame::AddTab(uint32_t pageId, const std::string& title)
{
    m_tabs.AddTab(title.c_str(), pageId);
    m_tabs.SelectTab(pageId);
}

void CQuilletShareFrame::Activate(uint32_t pageId)
{
    if (CQuilletBoardView* view = Page(pageId)) {
        m_pool->Activate(view);
        m_tabs.SelectTab(pageId);
    }
}

void CQuilletShareFrame::Navigate(uint32_t pageId, const std::string& address)
{
    if (CQuilletBoardView* view = Page(pageId))
        view->Open(address);
}

// ---------------------------------------------------------------- the others' records

size_t CQuilletShareFrame::OnPeerData(const unsigned char* data, size_t length)
{
    try {
        return CBoardRecords::ReadRun(data, length, *this);
    } catch (...) {
        return 0;
    }
}

void CQuilletShareFrame::OnNavigate(uint32_t pageId, const uint8_t* payload, size_t length)
{
    NAV_FIELDS nav;
    CQuilletBoardView* view = Page(pageId);
    if (view && CWebNotice::ParseNav(payload, length, nav))
        view->ReplayOnHost(nav.flags, nav.address, nav.frame, nav.headers, nav.post);
}

void CQuilletShareFrame::OnOpenPage(uint32_t pageId, uint8_t flag, const std::string& title,
                                    const std::string& address, const std::string& third)
{
    // A page this board holds already is not opened twice.
    if (!pageId || !CreateView(pageId, -1, flag, third))
        return;
    m_tabs.AddTab(title.c_str(), pageId);
    if (CQuilletBoardView* view = Page(pageId))
        view->Open(address);
}

void CQuilletShareFrame::OnClosePage(uint32_t pageId)
{
    if (m_pool && m_pool->Find(pageId))
        CloseTab(pageId, false);
}

void CQuilletShareFrame::OnActivatePage(uint32_t pageId) { Activate(pageId); }

void CQuilletShareFrame::OnCloseAll() { CloseAllTabs(); }
