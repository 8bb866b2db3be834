#include "CWebFrameBase.h"

#include "CWebPoolView.h"
#include "CWebViewBase.h"
#include "IWebLink.h"

namespace {
const char* const OPENING = "正在打开...";
}

BEGIN_MESSAGE_MAP(CWebFrameBase, CFrameWnd)
    ON_WM_CREATE()
    ON_WM_SIZE()
END_MESSAGE_MAP()

CWebFrameBase::CWebFrameBase(uint8_t base, UINT stripId) : m_base(base), m_stripId(stripId) {}

CWebFrameBase::~CWebFrameBase() {}

BOOL CWebFrameBase::CreatePage(CWnd* parent, IWebLink* link)
{
    m_link = link;
    CRect r(0, 0, 400, 300);
    if (parent)
        parent->GetClientRect(&r);
    return CreateEx(WS_EX_CLIENTEDGE,
                    AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(NULL, IDC_ARROW)), "",
                    WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, r, parent, 0);
}

int CWebFrameBase::OnCreate(LPCREATESTRUCT cs)
{
    if (CFrameWnd::OnCreate(cs) == -1)
        return -1;
    return OnCreateFrame();
}

int CWebFrameBase::OnCreateFrame()
{
    if (!MakeBar())
        return -1;
    CRect r(0, 0, 10, 10);
    if (!m_tabs.Create(WS_CHILD | WS_VISIBLE, r, this, m_stripId))
        return -1;
    m_pool = MakePool();
    if (!m_pool ||
        !m_pool->Create(NULL, NULL, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, r, this, ID_POOL)) {
        m_pool = nullptr; // a view that failed to be made has freed itself
        return -1;
    }
    Layout();
    UpdateBar();
    return 0;
}

LRESULT CWebFrameBase::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    try {
        return CFrameWnd::WindowProc(message, wParam, lParam);
    } catch (...) {
        return 0;
    }
}

void CWebFrameBase::OnSize(UINT type, int cx, int cy)
{
    CWnd::OnSize(type, cx, cy);
    Layout();
}

void CWebFrameBase::Layout()
{
    if (!m_hWnd)
        return;
    CRect client;
    GetClientRect(&client);
    int y = 0;
    if (CWnd* bar = Bar()) {
        bar->MoveWindow(0, 0, client.Width(), BarHeight());
        y = BarHeight();
    }
    if (m_tabs.m_hWnd) {
        const int h = m_tabs.GetHeight() > 0 ? m_tabs.GetHeight() : 22;
        m_tabs.MoveWindow(0, y, client.Width(), h);
        y += h;
    }
    if (m_pool && m_pool->m_hWnd)
        m_pool->MoveWindow(0, y, client.Width(), client.Height() > y ? client.Height() - y : 0);
}

uint32_t CWebFrameBase::MakeTabId()
{
    const uint32_t tick = ::GetTickCount(), thread = ::GetCurrentThreadId();
    return ((tick * 256u + thread) * 256u) + m_counter++;
}

CWebViewBase* CWebFrameBase::ActiveView() { return m_pool ? m_pool->Active() : nullptr; }

void CWebFrameBase::Send(const std::vector<uint8_t>& record)
{
    if (!m_leader || !m_link || record.empty() || record.size() > IWebLink::MAX_PAYLOAD)
        return;
    m_link->SendRelay(record.data(), static_cast<uint16_t>(record.size()));
}

void CWebFrameBase::SetControlRight(bool allowed)
{
    const bool changed = m_leader != allowed;
    m_leader = allowed;
    if (changed)
        UpdateBar();
}

CWebViewBase* CWebFrameBase::OpenTab(uint32_t id, bool announce)
{
    if (!m_pool)
        return nullptr;
    CWebViewBase* view = m_pool->Acquire(id);
    if (!view || !view->m_hWnd) {
        if (view)
            m_pool->Release(id);
        return nullptr;
    }
    m_tabs.AddTab(OPENING, id);
    if (announce) {
        m_tabs.SelectTab(id);
        m_pool->Activate(view);
        Send(CWebNotice::Tab(m_base, WEB_OPEN, id));
        Send(CWebNotice::Tab(m_base, WEB_ACTIVATE, id));
    }
    return view;
}

void CWebFrameBase::CloseTab(uint32_t id, bool announce)
{
    if (m_pool)
        m_pool->Release(id);
    m_tabs.RemoveTab(id);
    if (announce)
        Send(CWebNotice::Tab(m_base, WEB_CLOSE, id));
}

void CWebFrameBase::CloseAllTabs()
{
    if (m_pool)
        m_pool->ReleaseAll();
    m_tabs.RemoveAll();
}

void CWebFrameBase::Go(const char* address)
{
    CloseAllTabs();
    Send(CWebNotice::CloseAll(m_base));
    CWebViewBase* view = OpenTab(MakeTabId(), true);
    if (view && address && *address)
        view->Navigate2(address);
    UpdateBar();
}

void CWebFrameBase::OnViewNavigate(CWebViewBase* view, const NAV_FIELDS& nav)
{
    std::vector<uint8_t> record;
    if (m_leader &&
        CWebNotice::Navigate(m_base, view->GetTabId(), nav, IWebLink::MAX_PAYLOAD, record))
        Send(record);
}

void CWebFrameBase::OnViewCompleted(CWebViewBase* view, const std::string& address)
{
    NAV_FIELDS nav;
    nav.address = address;
    std::vector<uint8_t> record;
    if (m_leader &&
        CWebNotice::Navigate(m_base, view->GetTabId(), nav, IWebLink::MAX_PAYLOAD, record))
        Send(record);
    if (view == ActiveView())
        UpdateBar();
}

void CWebFrameBase::OnViewTitle(CWebViewBase* view, const char* title)
{
    m_tabs.SetTabText(view->GetTabId(), title);
}

BOOL CWebFrameBase::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
    if (!header || header->idFrom != m_stripId)
        return CFrameWnd::OnNotify(wParam, lParam, pResult);
    switch (static_cast<int>(header->code)) {
    case static_cast<int>(TCN_SELCHANGING):
        *pResult = m_leader ? 0 : 1;
        return TRUE;
    case TABN_CLOSING:
        if (!m_leader) {
            *pResult = 1;
            return TRUE;
        }
        if (CWebViewBase* view = ActiveView())
            CloseTab(view->GetTabId(), true);
        else if (m_tabs.GetCurTabId())
            CloseTab(m_tabs.GetCurTabId(), true);
        *pResult = 0;
        return TRUE;
    case static_cast<int>(TCN_SELCHANGE): {
        CWebViewBase* view = m_pool ? m_pool->Find(m_tabs.GetCurTabId()) : nullptr;
        if (view) {
            m_pool->Activate(view);
            ShowAddress(view->GetLastCompleted().empty() ? view->GetAddress()
                                                         : view->GetLastCompleted());
            Send(CWebNotice::Tab(m_base, WEB_ACTIVATE, view->GetTabId()));
        }
        UpdateBar();
        *pResult = 0;
        return TRUE;
    }
    default:
        return CFrameWnd::OnNotify(wParam, lParam, pResult);
    }
}

size_t CWebFrameBase::OnPeerData(const unsigned char* data, size_t length)
{
    size_t used = 0;
    WEB_RECORD record;
    while (used < length && CWebNotice::Next(data + used, length - used, m_base, record)) {
        used += record.size;
        CWebViewBase* view = m_pool ? m_pool->Find(record.tabId) : nullptr;
        switch (record.step) {
        case WEB_NAVIGATE: {
            NAV_FIELDS nav;
            if (view && CWebNotice::ParseNav(record.nav, record.navLength, nav))
                view->Replay(nav.flags, nav.address, nav.frame, nav.headers, nav.post);
            break;
        }
        case WEB_OPEN:
            if (!view && record.tabId)
                OpenTab(record.tabId, false);
            break;
        case WEB_CLOSE:
            if (view)
                CloseTab(record.tabId, false);
            break;
        case WEB_ACTIVATE:
            if (view) {
                m_pool->Activate(view);
                m_tabs.SelectTab(record.tabId);
                ShowAddress(view->GetAddress());
            }
            break;
        case WEB_CLOSE_ALL:
            CloseAllTabs();
            ShowAddress(std::string());
            break;
        default:
            break;
        }
    }
    UpdateBar();
    return used;
}
