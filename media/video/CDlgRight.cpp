#include "CDlgRight.h"

#include "CClientSettings.h"
#include "CCommandManager.h"
#include "CDlgLocalVideo.h"
#include "CLanguageManager.h"
#include "CScopedLock.h"
#include "CUserTable.h"
#include "CVideoHost.h"
#include "CVideoLayout.h"
#include "ClientLog.h"
#include "MediaVideoResource.h"
#include "SkinNames.h"
#include "VideoCalls.h"
#include "VideoControl_Dlg.h"

BEGIN_MESSAGE_MAP(CDlgRight, CLangDialog)
    ON_WM_SIZE()
    ON_WM_ERASEBKGND()
    ON_WM_TIMER()
    ON_WM_CONTEXTMENU()
    ON_WM_LBUTTONDBLCLK()
    ON_COMMAND(ID_VIDEO_CLOSE_USER, OnCloseUserVideo)
    ON_COMMAND(ID_VIDEO_CAMERA, OnCamera)
    ON_COMMAND(ID_VIDEO_FIRST_WINDOW_MAIN, OnFirstWindow)
    ON_COMMAND(ID_VIDEO_FIRST_WINDOW, OnFirstWindow)
    ON_COMMAND(ID_VIDEO_POLLING, OnPolling)
    ON_COMMAND(ID_VIDEO_GRAB, OnGrab)
    ON_COMMAND(ID_VIDEO_DEVICE, OnDeviceCommand)
    ON_COMMAND(ID_VIDEO_DEVICE_2, OnDevice)
    ON_COMMAND(ID_VIDEO_BIG_SCREEN, OnBigScreen)
    ON_COMMAND(ID_VIDEO_FULL_SCREEN, OnFullScreen)
    ON_COMMAND(ID_VIDEO_LOCAL_PROPERTIES, OnLocalProperties)
END_MESSAGE_MAP()

CDlgRight::CDlgRight(CWnd* parent) : CLangDialog(IDD_VIDEO_WALL, "CDlgRight", parent)
{
    ::InitializeCriticalSection(&m_wallLock);
    ::InitializeCriticalSection(&m_freeLock);
}

CDlgRight::~CDlgRight()
{
    if (m_hBackground)
        ::DeleteObject(m_hBackground);
    ::DeleteCriticalSection(&m_freeLock);
    ::DeleteCriticalSection(&m_wallLock);
}

BOOL CDlgRight::Create(CWnd* parent) { return CDialog::Create(IDD_VIDEO_WALL, parent); }

bool CDlgRight::Recording() { return GetVideoHost()->IsRecording(); }

BOOL CDlgRight::OnInitDialog()
{
    CLangDialog::OnInitDialog();
    if (m_tip.Create(this)) {
        m_tip.AddTool(this, "显示码流");
        m_tip.Activate(TRUE);
    }
    SetTimer(POLL_TIMER, 1000, NULL);
    m_hBackground =
        (HBITMAP)::LoadImageA(NULL, "Skins\\VideoBg.bmp", IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE);
    m_caption1.LoadFromFile(SKIN_VIDEO_TOP_BAR, 4, 4, TRUE);
    m_caption2.LoadFromFile(SKIN_VIDEO_NAME, 4, 4, TRUE);
    for (int i = 0; i < WINDOW_COUNT; ++i) {
        m_videos[i].Create(this);
        m_videos[i].ShowWindow(SW_HIDE);
    }
    m_bCreated = true;
    Relayout();
    return TRUE;
}

int CDlgRight::FindActive(uint32_t user)
{
    if (user == 0)
        return -1;
    for (int i = 0; i < m_active.GetSize(); ++i)
        if (static_cast<CDlgRemoteVideo*>(m_active.GetAt(i))->GetUserId() == user)
            return i;
    return -1;
}

int CDlgRight::AddUserVideo(const char* userName, uint32_t user)
{
    if (user == 0)
        return 0;
    {
        CScopedLock lock(&m_wallLock);
        // A second request for a user already shown keeps his one window.
        if (FindActive(user) >= 0)
            return 1;
    }
    CDlgRemoteVideo* window = nullptr;
    {
        CScopedLock lock(&m_freeLock);
        for (int i = 0; i < WINDOW_COUNT && !window; ++i) {
            bool active = false;
            for (int j = 0; j < m_active.GetSize(); ++j)
                active = active || m_active.GetAt(j) == &m_videos[i];
            if (m_videos[i].GetUserId() == 0 && !active && m_videos[i].m_hWnd)
                window = &m_videos[i];
        }
    }
    if (!window)
        return 0;
    CDlgLocalVideo* local = GetVideoHost()->GetLocalVideo();
    if (local && local->m_hWnd && local->GetUserId() == user) {
        local->CloseEnlarged();
        local->StopOwnVideo();
    }
    window->ShowUser(this, user);
    {
        CScopedLock lock(&m_wallLock);
        m_active.Add(window);
    }
    g_Log.Write(0, "add video, userName = %s,userID = %d\n", userName ? userName : "", user);
    if (Recording())
        MEDIA_CALL(RV_AddVideo, 0, user);
    Relayout();
    return 1;
}

void CDlgRight::RemoveUser(uint32_t user)
{
    CVideoHost* host = GetVideoHost();
    if (m_pFull && m_pFull->GetUserId() == user)
        host->ShowUserFullScreen(user, 0);
    {
        CScopedLock lock(&m_wallLock);
        int index = FindActive(user);
        if (index < 0)
            return;
        CDlgRemoteVideo* window = static_cast<CDlgRemoteVideo*>(m_active.GetAt(index));
        m_active.RemoveAt(index);
        if (host->GetEnlargedVideo() == window || window->IsRenderAway())
            window->TakeBack();
        if (m_pFull == window)
            m_pFull = nullptr;
        if (Recording())
            MEDIA_CALL(RV_DelVideo, 0, user);
        g_Log.Write(0, "remove user video,userName = %s,dwUserID= %d\n",
                    (const char*)window->GetUserName(), user);
        window->Clear();
        window->Show(FALSE);
    }
    VideoControl_Dlg* panel = host->GetCameraPanel();
    if (m_cameraUser == user) {
        m_cameraUser = 0;
        if (panel && panel->m_hWnd)
            panel->ShowWindow(SW_HIDE);
    }
    Relayout();
    CDlgLocalVideo* local = host->GetLocalVideo();
    if (user == g_LoginInfo.userId && local && local->m_hWnd && local->GetUserId() == 0 &&
        !local->IsStartStopChecked())
        local->StartOwnVideo();
}

void CDlgRight::RemoveUserVideo()
{
    uint8_t role = 0;
    if (g_UserTable.GetRole(g_LoginInfo.userId, &role) && role == 1)
        return;
    {
        CScopedLock lock(&m_wallLock);
        for (int i = m_active.GetSize() - 1; i >= 0; --i) {
            CDlgRemoteVideo* window = static_cast<CDlgRemoteVideo*>(m_active.GetAt(i));
            uint32_t user = window->GetUserId();
            if (g_UserTable.FindUser(user))
                continue;
            m_active.RemoveAt(i);
            if (window->IsRenderAway())
                window->TakeBack();
            if (m_pFull == window)
                m_pFull = nullptr;
            g_UserTable.SetVideoState(user, 0);
            GetVideoHost()->RefreshUser(user);
            window->Clear();
            window->Show(FALSE);
        }
    }
    Relayout();
    ::Sleep(5);
}

void CDlgRight::DropNonBroadcastVideos()
{
    uint8_t role = 0;
    if (g_UserTable.GetRole(g_LoginInfo.userId, &role) && role == 1)
        return;
    {
        CScopedLock lock(&m_wallLock);
        for (int i = m_active.GetSize() - 1; i >= 0; --i) {
            CDlgRemoteVideo* window = static_cast<CDlgRemoteVideo*>(m_active.GetAt(i));
            uint32_t user = window->GetUserId();
            if (g_UserTable.FindUser(user) && g_UserTable.GetBroadcastFlag(user))
                continue;
            m_active.RemoveAt(i);
            if (window->IsRenderAway())
                window->TakeBack();
            if (m_pFull == window)
                m_pFull = nullptr;
            if (Recording())
                MEDIA_CALL(RV_DelVideo, 0, user);
            g_UserTable.SetVideoState(user, 0);
            GetVideoHost()->RefreshUser(user);
            window->Clear();
            window->Show(FALSE);
        }
    }
    Relayout();
}

void CDlgRight::SetMainVideo(uint32_t user)
{
    {
        CScopedLock lock(&m_wallLock);
        int index = FindActive(user);
        if (index <= 0)
            return;
        void* window = m_active.GetAt(index);
        m_active.RemoveAt(index);
        m_active.InsertAt(0, window);
        if (Recording())
            MEDIA_CALL(RV_MainVideo, 0, user);
        g_Log.Write(0, "main show user video,userName = %s,userID = %d\n",
                    (const char*)static_cast<CDlgRemoteVideo*>(window)->GetUserName(), user);
    }
    Relayout();
}

void CDlgRight::SetSplitCount(int count)
{
    g_Log.Write(0, "Set video split count,count = %d\n", count);
    if (count == m_nSplit)
        return;
    m_nSplit = count;
    Relayout();
    ::Sleep(5);
    if (m_hWnd)
        Invalidate();
}

void CDlgRight::MarkFull(CDlgRemoteVideo* window)
{
    if (!window || window == m_pFull)
        return;
    m_pFull = window;
    if (Recording())
        MEDIA_CALL(RV_FullVideo, 0, window->GetUserId(), (uint8_t)1);
    if (m_tip.m_hWnd)
        m_tip.Activate(FALSE);
}

int CDlgRight::SetFullVideo(uint32_t user, BOOL on)
{
    g_Log.Write(0, "Full user video,dwUserID = %d,bFull = %d\n", user, on);
    if (on) {
        CDlgRemoteVideo* window = FindUserWindow(user);
        if (!window)
            return 0;
        MarkFull(window);
    } else {
        if (m_pFull) {
            if (Recording())
                MEDIA_CALL(RV_FullVideo, 0, m_pFull->GetUserId(), (uint8_t)0);
            m_pFull = nullptr;
        }
        if (m_tip.m_hWnd)
            m_tip.Activate(TRUE);
        ::Sleep(5);
    }
    Relayout();
    return 1;
}

void CDlgRight::SetUserVideoTarget(uint32_t user, int port)
{
    CDlgRemoteVideo* window = FindUserWindow(user);
    if (window)
        window->GetRender().SendTo(port);
}

int CDlgRight::GetVideoCount()
{
    CScopedLock lock(&m_wallLock);
    return m_active.GetSize();
}

CDlgRemoteVideo* CDlgRight::FindUserWindow(uint32_t user)
{
    CScopedLock lock(&m_wallLock);
    int index = FindActive(user);
    return index < 0 ? nullptr : static_cast<CDlgRemoteVideo*>(m_active.GetAt(index));
}

long CDlgRight::GetFirstVideoUserId()
{
    CScopedLock lock(&m_wallLock);
    if (m_active.GetSize() == 0)
        return -1;
    return (long)static_cast<CDlgRemoteVideo*>(m_active.GetAt(0))->GetUserId();
}

long CDlgRight::GetBigVideoUserId()
{
    CScopedLock lock(&m_wallLock);
    return m_pFull ? (long)m_pFull->GetUserId() : -1;
}

uint32_t CDlgRight::GetActiveUser(int index)
{
    CScopedLock lock(&m_wallLock);
    if (index < 0 || index >= m_active.GetSize())
        return 0;
    return static_cast<CDlgRemoteVideo*>(m_active.GetAt(index))->GetUserId();
}

uint32_t CDlgRight::UserAtPoint(int x, int y)
{
    CScopedLock lock(&m_wallLock);
    if (m_pFull)
        return m_pFull->GetUserId();
    for (int i = 0; i < m_active.GetSize(); ++i) {
        CDlgRemoteVideo* window = static_cast<CDlgRemoteVideo*>(m_active.GetAt(i));
        CRect rc = window->GetRect();
        if (x >= rc.left && x < rc.right && y >= rc.top && y < rc.bottom)
            return window->GetUserId();
    }
    return 0;
}

bool CDlgRight::HasUser(uint32_t user)
{
    CScopedLock lock(&m_wallLock);
    return FindActive(user) >= 0;
}

int CDlgRight::SumWindowCounters()
{
    CScopedLock lock(&m_wallLock);
    int sum = 0;
    for (int i = 0; i < m_active.GetSize(); ++i)
        sum += static_cast<CDlgRemoteVideo*>(m_active.GetAt(i))->GetRender().GetRate();
    return sum;
}

void CDlgRight::ClearVideos()
{
    if (m_hWnd)
        KillTimer(POLL_TIMER);
    CScopedLock lock(&m_wallLock);
    m_active.RemoveAll();
}

void CDlgRight::RecordVideos(BOOL on)
{
    CScopedLock lock(&m_wallLock);
    for (int i = 0; i < m_active.GetSize(); ++i) {
        CDlgRemoteVideo* window = static_cast<CDlgRemoteVideo*>(m_active.GetAt(i));
        if (on)
            MEDIA_CALL(RV_AddVideo, 0, window->GetUserId());
        window->SetRecording(on);
    }
    if (on && m_pFull)
        MEDIA_CALL(RV_FullVideo, 0, m_pFull->GetUserId(), (uint8_t)1);
}

void CDlgRight::TogglePolling()
{
    m_bPolling = !m_bPolling;
    m_nPollCounter = 0;
}

void CDlgRight::StopCamera()
{
    VideoControl_Dlg* panel = GetVideoHost()->GetCameraPanel();
    if (panel)
        panel->StopCamera();
}

void CDlgRight::ShowCameraPanel(int, int) { StopCamera(); }

void CDlgRight::SendCameraCommand(int command)
{
    VideoControl_Dlg* panel = GetVideoHost()->GetCameraPanel();
    if (panel)
        panel->SendCommand(command);
}

void CDlgRight::PollTick()
{
    ++m_nPollCounter;
    if (m_tip.m_hWnd)
        m_tip.Activate(TRUE);
    if (!m_bPolling || m_nPollCounter < (int)g_Settings.frameRate || m_nSplit != 4)
        return;
    {
        CScopedLock lock(&m_wallLock);
        if (m_active.GetSize() <= 4)
            return;
        m_nPollCounter = 0;
        void* window = m_active.GetAt(3);
        m_active.RemoveAt(3);
        m_active.Add(window);
        if (Recording())
            MEDIA_CALL(RV_LastVideo, 0, static_cast<CDlgRemoteVideo*>(window)->GetUserId());
        g_Log.Write(0, "poll video \n");
    }
    Relayout();
}

void CDlgRight::OnTimer(UINT id)
{
    if (id == POLL_TIMER)
        PollTick();
}

void CDlgRight::Relayout()
{
    if (!m_bCreated || !m_hWnd)
        return;
    CRect client;
    GetClientRect(&client);
    // In full-screen video mode the main window's user fills the pane.
    uint32_t fullUser = 0;
    if (GetVideoHost()->GetFullScreenVideoUser(&fullUser))
        MarkFull(FindUserWindow(fullUser));

    CScopedLock lock(&m_wallLock);
    bool placed[WINDOW_COUNT] = {};
    auto indexOf = [this](CDlgRemoteVideo* w) { return (int)(w - m_videos); };
    if (m_pFull) {
        m_pFull->SetRect(0, 0, client.Width(), client.Height());
        placed[indexOf(m_pFull)] = true;
    } else {
        CVideoLayout::Result layout =
            CVideoLayout::Compute(m_nSplit, client.Width(), client.Height(), m_active.GetSize());
        for (size_t i = 0; i < layout.active.size(); ++i) {
            CDlgRemoteVideo* window = static_cast<CDlgRemoteVideo*>(m_active.GetAt((int)i));
            const RECT& rc = layout.active[i].rect;
            window->SetRect(rc.left, rc.top, rc.right, rc.bottom);
            placed[indexOf(window)] = layout.active[i].visible;
        }
        size_t next = 0;
        for (int i = 0; i < WINDOW_COUNT && next < layout.empty.size(); ++i) {
            CDlgRemoteVideo* window = &m_videos[i];
            if (window->GetUserId() != 0)
                continue;
            bool active = false;
            for (int j = 0; j < m_active.GetSize(); ++j)
                active = active || m_active.GetAt(j) == window;
            if (active)
                continue;
            const RECT& rc = layout.empty[next++];
            window->SetRect(rc.left, rc.top, rc.right, rc.bottom);
            placed[i] = true;
        }
    }
    for (int i = 0; i < WINDOW_COUNT; ++i)
        m_videos[i].Show(placed[i]);
    Invalidate();
}

void CDlgRight::OnSize(UINT type, int cx, int cy)
{
    CLangDialog::OnSize(type, cx, cy);
    if (m_bCreated)
        Relayout();
}

BOOL CDlgRight::OnEraseBkgnd(CDC* dc)
{
    CRect rc;
    GetClientRect(&rc);
    dc->FillSolidRect(&rc, RGB(255, 255, 255));
    return TRUE;
}

CDlgRight::MenuStates CDlgRight::GetMenuStates(uint32_t user)
{
    MenuStates states = {};
    uint8_t role = 0;
    g_UserTable.GetRole(g_LoginInfo.userId, &role);
    bool chair = role == 1;
    states.fullScreenEnabled = GetVideoHost()->HasControlRight();
    states.fullScreenChecked = m_pFull && m_pFull->GetUserId() == user;
    states.closeGrayed = !chair && g_UserTable.GetBroadcastFlag(user) != 0;
    states.cameraGrayed = !chair && user != g_LoginInfo.userId;
    return states;
}

void CDlgRight::ApplyMenuStates(CMenu* popup, uint32_t user)
{
    if (!popup)
        return;
    MenuStates states = GetMenuStates(user);
    popup->EnableMenuItem(ID_VIDEO_FULL_SCREEN,
                          MF_BYCOMMAND | (states.fullScreenEnabled ? MF_ENABLED : MF_GRAYED));
    popup->CheckMenuItem(ID_VIDEO_FULL_SCREEN,
                         MF_BYCOMMAND | (states.fullScreenChecked ? MF_CHECKED : MF_UNCHECKED));
    popup->EnableMenuItem(ID_VIDEO_CLOSE_USER,
                          MF_BYCOMMAND | (states.closeGrayed ? MF_GRAYED : MF_ENABLED));
    popup->EnableMenuItem(ID_VIDEO_CAMERA,
                          MF_BYCOMMAND | (states.cameraGrayed ? MF_GRAYED : MF_ENABLED));
}

void CDlgRight::PopupVideoMenu(CPoint screenPoint)
{
    CPoint point = screenPoint;
    ScreenToClient(&point);
    uint32_t user = UserAtPoint(point.x, point.y);
    if (user == 0)
        return;
    m_selectedUser = user;
    CMenu menu;
    if (!menu.LoadMenu(IDR_VIDEO_POPUP))
        return;
    CMenu* popup = menu.GetSubMenu(0);
    if (!popup)
        return;
    g_LangManager.TranslateMenu("VideoControlMenu", popup->m_hMenu);
    ApplyMenuStates(popup, user);
    popup->TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, screenPoint.x, screenPoint.y, this);
}

void CDlgRight::OnContextMenu(CWnd*, CPoint point)
{
    if (point.x == -1 && point.y == -1) {
        ::GetCursorPos(&point);
    }
    PopupVideoMenu(point);
}

std::string CDlgRight::MakePictureName(const std::string& folder, const char* userName,
                                       const struct tm& time,
                                       const std::function<bool(const std::string&)>& exists)
{
    std::string base = folder;
    while (!base.empty() && base.back() == '\\')
        base.pop_back();
    base += "\\";
    base += userName ? userName : "";
    char stamp[64];
    strftime(stamp, sizeof(stamp), "(%Y-%m-%d %H：%M)", &time);
    std::string path = base + stamp + ".bmp";
    for (int counter = 1; exists(path); ++counter) {
        if (counter > 9999)
            return std::string();
        char suffix[16];
        snprintf(suffix, sizeof(suffix), "_%d", counter);
        path = base + suffix + stamp + ".bmp";
    }
    return path;
}

std::string CDlgRight::GrabPicture()
{
    CDlgRemoteVideo* window = FindUserWindow(m_selectedUser);
    if (!window)
        return std::string();
    time_t now = time(nullptr);
    struct tm local = *localtime(&now);
    std::string path = MakePictureName(
        g_Settings.photoFilePath, window->GetUserName(), local, [](const std::string& name) {
            return ::GetFileAttributesA(name.c_str()) != INVALID_FILE_ATTRIBUTES;
        });
    if (path.empty())
        return path;
    if (window->GetUserId() == g_LoginInfo.userId)
        MEDIA_CALL(T_S_SavePicture, 0, path.c_str());
    else
        MEDIA_CALL(T_R_SavePicture, 0, window->GetRender().GetReceiver(), path.c_str());
    return path;
}

void CDlgRight::OnGrab() { GrabPicture(); }

void CDlgRight::OnCloseUserVideo()
{
    uint32_t user = m_selectedUser;
    if (user == 0)
        return;
    uint8_t role = 0;
    g_UserTable.GetRole(g_LoginInfo.userId, &role);
    if (g_UserTable.GetBroadcastFlag(user) && user != g_LoginInfo.userId && role != 1)
        return;
    GetVideoHost()->SendCommand2068(user);
    g_UserTable.SetVideoState(user, 0);
    GetVideoHost()->RefreshUser(user);
    RemoveUser(user);
}

void CDlgRight::OnFullScreen()
{
    CVideoHost* host = GetVideoHost();
    if (!host->HasControlRight())
        return;
    if (m_pFull && m_pFull->GetUserId() == m_selectedUser)
        host->LeaveFullScreen();
    else if (!m_pFull)
        host->ShowUserFullScreen(m_selectedUser, 1);
}

void CDlgRight::OnBigScreen()
{
    if (GetVideoHost()->HasControlRight())
        GetVideoHost()->SetBigVideoUser(m_selectedUser);
}

void CDlgRight::OnFirstWindow()
{
    if (GetVideoHost()->HasControlRight())
        GetVideoHost()->SetFirstVideoUser(m_selectedUser);
}

void CDlgRight::OnCamera()
{
    VideoControl_Dlg* panel = GetVideoHost()->GetCameraPanel();
    if (!FindUserWindow(m_selectedUser) || !panel || !panel->m_hWnd)
        return;
    panel->SetTarget(m_selectedUser);
    m_cameraUser = m_selectedUser;
    panel->CenterWindow();
    panel->ShowWindow(SW_SHOW);
}

namespace {
bool s_deviceCommandAsks = false;
}

void CDlgRight::SetDeviceCommandAsksParticipant(bool on) { s_deviceCommandAsks = on; }

void CDlgRight::OnDeviceCommand()
{
    if (!s_deviceCommandAsks)
        OnDevice();
    else if (m_selectedUser != 0)
        GetVideoHost()->ShowRemoteDeviceDialog(m_selectedUser);
}

void CDlgRight::OnDevice()
{
    if (m_selectedUser == g_LoginInfo.userId)
        GetVideoHost()->ShowDeviceDialog();
    else
        GetVideoHost()->ShowRemoteDeviceDialog(m_selectedUser);
}

void CDlgRight::OnLocalProperties() { MEDIA_CALL_VOID(T_S_ShowPropertyPage, m_hWnd); }

void CDlgRight::OnPolling() { TogglePolling(); }

void CDlgRight::OnLButtonDblClk(UINT, CPoint point)
{
    CVideoHost* host = GetVideoHost();
    if (!host->HasControlRight())
        return;
    if (m_pFull)
        host->ShowUserFullScreen(m_pFull->GetUserId(), 0);
    else if (uint32_t user = UserAtPoint(point.x, point.y))
        host->ShowUserFullScreen(user, 1);
}

BOOL CDlgRight::PreTranslateMessage(MSG* msg)
{
    if (msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN)
        return TRUE;
    if (msg->message == WM_KEYDOWN && msg->wParam == VK_ESCAPE) {
        if (GetVideoHost()->HasControlRight())
            GetVideoHost()->LeaveFullScreen();
        return TRUE;
    }
    if (!m_pFull && m_tip.m_hWnd && msg->message >= WM_MOUSEFIRST && msg->message <= WM_MOUSELAST)
        m_tip.RelayEvent(msg);
    return CLangDialog::PreTranslateMessage(msg);
}
