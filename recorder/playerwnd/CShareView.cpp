#include "CShareView.h"

#include <cstring>

namespace {
const UINT WM_SHAREVIEW_NAVIGATE = WM_USER + 620;
}

BEGIN_MESSAGE_MAP(CShareView, CHtmlView)
    ON_MESSAGE(WM_SHAREVIEW_NAVIGATE, OnNavigateMessage)
END_MESSAGE_MAP()

BOOL CShareView::CreateView(CWnd* parent, UINT id)
{
    RECT rc = {0, 0, 0, 0};
    return CWnd::Create(NULL, NULL, WS_CHILD, rc, parent, id, NULL);
}

void CShareView::PostNavigate(const char* address)
{
    if (!m_hWnd || !address)
        return;
    char* copy = _strdup(address);
    if (copy && !::PostMessageA(m_hWnd, WM_SHAREVIEW_NAVIGATE, 0, reinterpret_cast<LPARAM>(copy)))
        free(copy);
}

LRESULT CShareView::OnNavigateMessage(WPARAM, LPARAM lParam)
{
    char* address = reinterpret_cast<char*>(lParam);
    if (address) {
        m_lastAddress = address;
        Navigate2(address);
        free(address);
    }
    return 0;
}

BOOL CShareView::PreTranslateMessage(MSG* msg)
{
    if (msg->message == WM_RBUTTONDOWN || msg->message == WM_RBUTTONUP ||
        msg->message == WM_RBUTTONDBLCLK)
        return TRUE;
    return CHtmlView::PreTranslateMessage(msg);
}
