#include "CQuilletBoardView.h"

#include "ClientUtil.h"

void CQuilletBoardView::SetMode(uint8_t mode, const std::string& third, const char* server)
{
    m_mode = mode;
    m_third = third;
    if (mode == 1 && !third.empty())
        m_host = FindTokenInList(third.c_str(), server ? server : "");
}

std::string CQuilletBoardView::AddressFor(uint8_t mode, const std::string& host,
                                          const std::string& address)
{
    if (mode == 2)
        return address;
    const size_t scheme = address.find("://");
    if (scheme == std::string::npos)
        return std::string();
    const size_t path = address.find('/', scheme + 3);
    if (path == std::string::npos)
        return std::string();
    // Without a host of its own the page is opened where it is.
    if (host.empty())
        return address;
    return address.substr(0, scheme + 3) + host + address.substr(path);
}

bool CQuilletBoardView::Open(const std::string& address)
{
    const std::string target = AddressFor(m_mode, m_host, address);
    if (target.empty())
        return false;
    Navigate2(target.c_str());
    if (m_hooks.recordAddress)
        m_hooks.recordAddress(address);
    return true;
}

void CQuilletBoardView::ReplayOnHost(uint32_t flags, const std::string& address,
                                     const std::string& frame, const std::string& headers,
                                     const std::vector<uint8_t>& post)
{
    const std::string target = AddressFor(m_mode, m_host, address);
    if (!target.empty())
        Replay(flags, target, frame, headers, post);
}

void CQuilletBoardView::Release()
{
    m_mode = 1;
    m_key = -1;
    m_host.clear();
    m_third.clear();
    CWebShareView::Release();
}

BOOL CQuilletBoardView::PreTranslateMessage(MSG* msg)
{
    const bool inView = msg->hwnd == m_hWnd || (m_hWnd && ::IsChild(m_hWnd, msg->hwnd));
    if (inView) {
        switch (msg->message) {
        case WM_RBUTTONDOWN:
        case WM_RBUTTONUP:
        case WM_RBUTTONDBLCLK:
            return TRUE; // no context menu on the board
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_LBUTTONDBLCLK:
        case WM_KEYDOWN:
            if (!m_hooks.presenting || !m_hooks.presenting())
                return TRUE; // only the presenter operates the page
            break;
        default:
            break;
        }
    }
    return CWebShareView::PreTranslateMessage(msg);
}
