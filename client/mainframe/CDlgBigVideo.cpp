#include "CDlgBigVideo.h"

#include "MainFrameMessages.h"
#include "MainFrameResource.h"

BEGIN_MESSAGE_MAP(CDlgBigVideo, CSkinDialog)
    ON_MESSAGE(WM_VIDEO_JOIN, OnVideoJoin)
    ON_MESSAGE(WM_VIDEO_LEAVE, OnVideoLeave)
    ON_WM_SIZE()
    ON_WM_CLOSE()
END_MESSAGE_MAP()

CDlgBigVideo::CDlgBigVideo() : CSkinDialog(IDD_BIG_VIDEO, "CDlgBigVideo") {}

BOOL CDlgBigVideo::CreateWindowed(CWnd* parent) { return Create(IDD_BIG_VIDEO, parent); }

LRESULT CDlgBigVideo::OnVideoJoin(WPARAM wParam, LPARAM)
{
    HWND render = (HWND)wParam;
    if (!render || !::IsWindow(render))
        return 0;
    if (m_render && m_render != render)
        GiveBack();
    m_source = ::GetParent(render);
    m_render = render;
    ::SetParent(render, m_hWnd);
    SetWindowPos(nullptr, 0, 0, START_WIDTH, START_HEIGHT, SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(SW_SHOW);
    PostMessage(WM_SIZE, 0, 0);
    return 0;
}

LRESULT CDlgBigVideo::OnVideoLeave(WPARAM, LPARAM)
{
    m_render = nullptr;
    m_source = nullptr;
    ShowWindow(SW_HIDE);
    return 0;
}

void CDlgBigVideo::OnSize(UINT type, int cx, int cy)
{
    CSkinDialog::OnSize(type, cx, cy);
    if (!m_render || !::IsWindow(m_render))
        return;
    CRect client;
    GetClientRect(&client);
    ::MoveWindow(m_render, client.left, client.top, client.Width(), client.Height(), TRUE);
}

void CDlgBigVideo::GiveBack()
{
    HWND render = m_render, source = m_source;
    m_render = nullptr;
    m_source = nullptr;
    if (render && ::IsWindow(render) && source && ::IsWindow(source)) {
        ::SetParent(render, source);
        // The source lays its render window out again when it joins.
        ::PostMessage(source, WM_VIDEO_JOIN, (WPARAM)render, 0);
    }
}

void CDlgBigVideo::OnClose()
{
    GiveBack();
    ShowWindow(SW_HIDE);
}

void CDlgBigVideo::OnCancel() { OnClose(); }
