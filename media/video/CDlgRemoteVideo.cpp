#include "CDlgRemoteVideo.h"

#include "CCommandManager.h"
#include "CUserTable.h"
#include "CVideoHost.h"
#include "MediaVideoResource.h"
#include "SkinNames.h"

namespace {
const COLORREF kFrameColour = 0x00DD882A;
const int kButtonWidth = 22;
} // namespace

BEGIN_MESSAGE_MAP(CDlgRemoteVideo, CDialog)
    ON_WM_SIZE()
    ON_WM_ERASEBKGND()
    ON_MESSAGE(WM_VIDEO_NOTIFY, OnVideoNotify)
    ON_MESSAGE(WM_VIDEO_RENDER_BACK, OnRenderBack)
    ON_MESSAGE(WM_VIDEO_RENDER_LEFT, OnRenderLeft)
    ON_BN_CLICKED(IDC_VIDEO_ENLARGE, OnEnlarge)
    ON_BN_CLICKED(IDC_VIDEO_START_STOP, OnSpeak)
END_MESSAGE_MAP()

CDlgRemoteVideo::CDlgRemoteVideo() : m_rect(0, 0, 0, 0) {}

BOOL CDlgRemoteVideo::Create(CWnd* parent) { return CDialog::Create(IDD_REMOTE_VIDEO, parent); }

BOOL CDlgRemoteVideo::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_caption.LoadFromFile(SKIN_VIDEO_TOP_BAR, 4, 4, TRUE);
    m_text.SubclassDlgItem(IDC_VIDEO_CAPTION, this);
    m_btnEnlarge.SubclassDlgItem(IDC_VIDEO_ENLARGE, this);
    m_btnEnlarge.SetBitmapStrip(SKIN_VIDEO_BIG, TRUE);
    m_btnSpeak.SubclassDlgItem(IDC_VIDEO_START_STOP, this);
    m_btnSpeak.SetBitmapStrip(SKIN_VIDEO_CLOSE, TRUE);
    m_btnEnlarge.EnableWindow(FALSE);
    m_btnSpeak.EnableWindow(FALSE);
    m_render.SetOwnerWindow(this);
    m_render.Create(this);
    m_render.ShowWindow(SW_HIDE);
    Layout();
    return TRUE;
}

int CDlgRemoteVideo::GetCaptionHeight() const
{
    int height = m_caption.GetHeight();
    return height > 0 ? height : 14;
}

int CDlgRemoteVideo::ShowUser(CDlgRight*, uint32_t user)
{
    USER_INFO info;
    if (user == 0 || !g_UserTable.GetUser(user, &info))
        return 0;
    char name[sizeof(info.name) + 1] = {};
    memcpy(name, info.name, sizeof(info.name));
    m_strUserName = name;
    if (m_text.m_hWnd)
        m_text.SetWindowText(name);
    m_render.SetUserId(user);
    m_render.Start();
    m_nRate = 0;
    m_render.PositionToClient();
    m_render.ShowWindow(SW_SHOW);
    m_btnEnlarge.EnableWindow(TRUE);
    m_btnSpeak.EnableWindow(TRUE);
    return 1;
}

void CDlgRemoteVideo::Clear()
{
    if (m_text.m_hWnd)
        m_text.SetWindowText("");
    m_render.Stop();
    m_render.ShowWindow(SW_HIDE);
    m_btnEnlarge.EnableWindow(FALSE);
    m_btnSpeak.EnableWindow(FALSE);
    m_nRate = 0;
    m_strUserName = "";
}

void CDlgRemoteVideo::SetRect(int left, int top, int right, int bottom)
{
    m_rect.SetRect(left, top, right, bottom);
    if (m_hWnd)
        MoveWindow(left, top, right - left, bottom - top);
}

void CDlgRemoteVideo::Show(BOOL flag)
{
    if (m_hWnd)
        ShowWindow(flag ? SW_SHOWNOACTIVATE : SW_HIDE);
}

bool CDlgRemoteVideo::IsRenderAway() const
{
    return m_render.m_hWnd && ::GetParent(m_render.m_hWnd) != m_hWnd;
}

bool CDlgRemoteVideo::Enlarge()
{
    if (GetUserId() == 0)
        return false;
    CVideoHost* host = GetVideoHost();
    if (host->GetEnlargedVideo()) {
        host->ShowMessage("只能放大一个窗口!");
        return false;
    }
    CWnd* big = host->GetBigVideoWindow();
    if (!big || !big->m_hWnd)
        return false;
    host->SetEnlargedVideo(this);
    m_render.MoveToParent(1, big, this);
    m_btnEnlarge.EnableWindow(FALSE);
    return true;
}

void CDlgRemoteVideo::TakeBack()
{
    CVideoHost* host = GetVideoHost();
    if (host->GetEnlargedVideo() == this)
        host->SetEnlargedVideo(nullptr);
    if (IsRenderAway())
        m_render.MoveToParent(0, this, this);
}

void CDlgRemoteVideo::OnEnlarge() { Enlarge(); }

void CDlgRemoteVideo::OnSpeak()
{
    uint32_t user = GetUserId();
    uint8_t role = 0;
    if (user != 0 && g_UserTable.GetRole(g_LoginInfo.userId, &role) && role == 1)
        GetVideoHost()->SendVideoBroadcast(user, 0);
}

LRESULT CDlgRemoteVideo::OnVideoNotify(WPARAM word, LPARAM value)
{
    // Positions are repeated by the render window itself; the rate is kept
    // here as well.
    if ((long)value >= 1)
        m_nRate = (int)(((DWORD)value >> 16) & 0xFFFF);
    else if (word == (WPARAM)&m_render && m_render.m_hWnd && ::GetParent(m_render.m_hWnd) != m_hWnd)
        m_render.PositionToClient();
    return 0;
}

void CDlgRemoteVideo::Layout()
{
    if (!m_hWnd)
        return;
    CRect rc;
    GetClientRect(&rc);
    int caption = GetCaptionHeight();
    if (m_text.m_hWnd)
        m_text.MoveWindow(rc.left + 1, 2, rc.right - 49 - (rc.left + 1), caption);
    if (m_btnSpeak.m_hWnd)
        m_btnSpeak.MoveWindow(rc.right - 22, 2, kButtonWidth, caption);
    if (m_btnEnlarge.m_hWnd)
        m_btnEnlarge.MoveWindow(rc.right - 44, 2, kButtonWidth, caption);
    if (m_render.m_hWnd && !IsRenderAway())
        m_render.MoveWindow(rc.left + 2, caption + 2, rc.Width() - 4,
                            rc.bottom - (caption + 2) - 2);
}

void CDlgRemoteVideo::OnSize(UINT type, int cx, int cy)
{
    CDialog::OnSize(type, cx, cy);
    Layout();
}

LRESULT CDlgRemoteVideo::OnRenderBack(WPARAM, LPARAM)
{
    Layout();
    m_btnEnlarge.EnableWindow(GetUserId() != 0);
    return 1;
}

LRESULT CDlgRemoteVideo::OnRenderLeft(WPARAM, LPARAM) { return 1; }

BOOL CDlgRemoteVideo::PreTranslateMessage(MSG* msg)
{
    if (msg->message == WM_KEYDOWN && msg->wParam == VK_ESCAPE) {
        if (GetVideoHost()->HasControlRight())
            GetVideoHost()->LeaveFullScreen();
        return TRUE;
    }
    return CDialog::PreTranslateMessage(msg);
}

BOOL CDlgRemoteVideo::OnEraseBkgnd(CDC* dc)
{
    CRect rc;
    GetClientRect(&rc);
    CBitmap back;
    if (back.LoadBitmap(IDB_VIDEO_BACK)) {
        BITMAP info;
        back.GetBitmap(&info);
        CDC memory;
        memory.CreateCompatibleDC(dc);
        CBitmap* old = memory.SelectObject(&back);
        dc->StretchBlt(2, 16, rc.Width() - 4, rc.Height() - 18, &memory, 0, 0, info.bmWidth,
                       info.bmHeight, SRCCOPY);
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
