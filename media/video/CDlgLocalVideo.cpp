#include "CDlgLocalVideo.h"

#include "CCommandManager.h"
#include "CDlgRight.h"
#include "CVideoHost.h"
#include "MediaVideoResource.h"
#include "SkinNames.h"
#include "VideoControl_Dlg.h"

namespace {
const COLORREF kFrameColour = 0x00DD882A;
const int kButtonWidth = 22;
} // namespace

BEGIN_MESSAGE_MAP(CDlgLocalVideo, CDialog)
    ON_WM_SIZE()
    ON_WM_ERASEBKGND()
    ON_MESSAGE(WM_VIDEO_RENDER_BACK, OnRenderBack)
    ON_MESSAGE(WM_VIDEO_RENDER_LEFT, OnRenderLeft)
    ON_BN_CLICKED(IDC_VIDEO_START_STOP, OnStartStop)
    ON_BN_CLICKED(IDC_VIDEO_CAMERA, OnCamera)
    ON_BN_CLICKED(IDC_VIDEO_ENLARGE, OnEnlarge)
END_MESSAGE_MAP()

CDlgLocalVideo::CDlgLocalVideo() {}

BOOL CDlgLocalVideo::Create(CWnd* parent) { return CDialog::Create(IDD_LOCAL_VIDEO, parent); }

BOOL CDlgLocalVideo::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_caption.LoadFromFile(SKIN_VIDEO_TOP_BAR, 4, 4, TRUE);
    m_btnCamera.SubclassDlgItem(IDC_VIDEO_CAMERA, this);
    m_btnCamera.SetBitmapStrip(SKIN_VIDEO_CONTROL, TRUE);
    m_btnEnlarge.SubclassDlgItem(IDC_VIDEO_ENLARGE, this);
    m_btnEnlarge.SetBitmapStrip(SKIN_VIDEO_BIG, TRUE);
    m_btnStartStop.SubclassDlgItem(IDC_VIDEO_START_STOP, this);
    m_btnStartStop.SetBitmapStrip(SKIN_VIDEO_CLOSE_ME, TRUE);
    for (CWnd* button : {(CWnd*)&m_btnCamera, (CWnd*)&m_btnEnlarge, (CWnd*)&m_btnStartStop})
        button->EnableWindow(FALSE);
    m_render.SetOwnerWindow(nullptr);
    m_render.Create(this);
    m_render.ShowWindow(SW_HIDE);
    Layout();
    return TRUE;
}

int CDlgLocalVideo::GetCaptionHeight() const
{
    int height = m_caption.GetHeight();
    return height > 0 ? height : 14;
}

int CDlgLocalVideo::StartOwnVideo()
{
    m_userId = g_LoginInfo.userId;
    m_render.SetUserId(m_userId);
    int started = m_render.Start();
    if (started) {
        m_render.ShowWindow(SW_SHOW);
        m_btnEnlarge.EnableWindow(TRUE);
        m_btnStartStop.EnableWindow(TRUE);
        m_btnCamera.EnableWindow(TRUE);
    }
    m_render.PositionToClient();
    return started;
}

int CDlgLocalVideo::StopOwnVideo()
{
    CloseEnlarged();
    m_render.Stop();
    m_userId = 0;
    m_render.ShowWindow(SW_HIDE);
    m_btnEnlarge.EnableWindow(FALSE);
    m_btnCamera.EnableWindow(FALSE);
    return 1;
}

void CDlgLocalVideo::CloseEnlarged()
{
    if (m_render.m_hWnd && ::GetParent(m_render.m_hWnd) != m_hWnd)
        m_render.MoveToParent(0, this, this);
}

void CDlgLocalVideo::OnStartStop()
{
    m_bStopped = !m_bStopped;
    m_btnStartStop.SetCheck(m_bStopped ? BST_CHECKED : BST_UNCHECKED);
    if (m_bStopped) {
        StopOwnVideo();
        return;
    }
    CDlgRight* wall = GetVideoHost()->GetVideoWall();
    if (wall && wall->HasUser(g_LoginInfo.userId)) {
        GetVideoHost()->ShowMessage("当前用户已打开");
        return;
    }
    StartOwnVideo();
}

void CDlgLocalVideo::OnCamera()
{
    VideoControl_Dlg* panel = GetVideoHost()->GetCameraPanel();
    if (!panel || !panel->m_hWnd)
        return;
    panel->SetTarget(g_LoginInfo.userId);
    CRect button, rc;
    m_btnCamera.GetWindowRect(&button);
    panel->GetWindowRect(&rc);
    panel->SetWindowPos(NULL, button.left, button.bottom, 0, 0,
                        SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    panel->ShowWindow(SW_SHOW);
}

void CDlgLocalVideo::OnEnlarge() {}

void CDlgLocalVideo::Layout()
{
    if (!m_hWnd || !m_render.m_hWnd)
        return;
    CRect rc;
    GetClientRect(&rc);
    rc.DeflateRect(1, 1);
    int caption = GetCaptionHeight();
    struct
    {
        CWnd* button;
        int offset;
    } buttons[] = {{&m_btnStartStop, 22}, {&m_btnEnlarge, 44}, {&m_btnCamera, 66}};
    for (auto& b : buttons)
        if (b.button->m_hWnd)
            b.button->MoveWindow(rc.right - b.offset, 2, kButtonWidth, caption);
    if (::GetParent(m_render.m_hWnd) == m_hWnd)
        m_render.MoveWindow(rc.left, caption + 2, rc.Width(), rc.bottom - (caption + 2));
}

void CDlgLocalVideo::OnSize(UINT type, int cx, int cy)
{
    CDialog::OnSize(type, cx, cy);
    Layout();
}

LRESULT CDlgLocalVideo::OnRenderBack(WPARAM, LPARAM)
{
    Layout();
    m_btnEnlarge.EnableWindow(TRUE);
    return 1;
}

LRESULT CDlgLocalVideo::OnRenderLeft(WPARAM, LPARAM) { return 1; }

BOOL CDlgLocalVideo::OnEraseBkgnd(CDC* dc)
{
    CRect rc;
    GetClientRect(&rc);
    int caption = GetCaptionHeight();
    CBitmap back;
    if (back.LoadBitmap(IDB_VIDEO_BACK)) {
        BITMAP info;
        back.GetBitmap(&info);
        CDC memory;
        memory.CreateCompatibleDC(dc);
        CBitmap* old = memory.SelectObject(&back);
        dc->StretchBlt(2, 16, rc.Width() - 4, rc.Height() - caption - 4, &memory, 0, 0,
                       info.bmWidth, info.bmHeight, SRCCOPY);
        memory.SelectObject(old);
    }
    CBrush frame(kFrameColour);
    for (int i = 0; i < 2; ++i) {
        CRect edge(rc);
        edge.DeflateRect(i, i);
        dc->FrameRect(&edge, &frame);
    }
    m_caption.Draw(dc, 2, 2, rc.Width() - 4, 14);
    return TRUE;
}
