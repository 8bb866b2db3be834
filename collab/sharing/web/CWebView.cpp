#include "CWebView.h"

#include "CWebFrame.h"

namespace {
void (*s_recorder)(const char* address) = nullptr;
}

void CWebView::SetNavigationRecorder(void (*record)(const char* address)) { s_recorder = record; }

void CWebView::OnBeforeNavigate2(LPCSTR url, DWORD flags, LPCSTR frame, CByteArray& post,
                                 LPCSTR headers, BOOL* cancel)
{
    CWebViewBase::OnBeforeNavigate2(url, flags, frame, post, headers, cancel);
    if (s_recorder && url)
        s_recorder(url);
}

void CWebView::Release()
{
    m_canBack = m_canForward = false;
    m_status.clear();
    CWebViewBase::Release();
}

BOOL CWebView::PreTranslateMessage(MSG* msg)
{
    const bool inView = msg->hwnd == m_hWnd || (m_hWnd && ::IsChild(m_hWnd, msg->hwnd));
    if (inView) {
        switch (msg->message) {
        case WM_RBUTTONDOWN:
        case WM_RBUTTONUP:
        case WM_RBUTTONDBLCLK:
            return TRUE; // no context menu in a shared page
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_LBUTTONDBLCLK:
        case WM_KEYDOWN:
            if (!m_frame || !m_frame->IsLeader())
                return TRUE; // a follower only watches
            if (msg->message == WM_LBUTTONDOWN)
                m_clicked = true;
            break;
        default:
            break;
        }
    }
    return CWebViewBase::PreTranslateMessage(msg);
}

void CWebView::OnCommandStateChange(long command, BOOL enable)
{
    if (command == CSC_NAVIGATEBACK)
        m_canBack = enable != FALSE;
    else if (command == CSC_NAVIGATEFORWARD)
        m_canForward = enable != FALSE;
    else
        return;
    if (m_frame && m_tabId)
        static_cast<CWebFrame*>(m_frame)->OnViewCommandState(this);
}

void CWebView::OnStatusTextChange(LPCSTR text) { m_status = text ? text : ""; }

void CWebView::OnNewWindow2(LPDISPATCH* disp, BOOL* cancel)
{
    CWebFrame* frame = static_cast<CWebFrame*>(m_frame);
    if (!frame || !m_tabId || !frame->OnViewNewWindow(this, disp)) {
        if (cancel)
            *cancel = TRUE;
    } else if (cancel) {
        *cancel = FALSE;
    }
}
