#include "CDlgLeft.h"

#include <shellapi.h>

#include "CClientSettings.h"
#include "CCommandManager.h"
#include "CUserTable.h"
#include "IPaneHost.h"
#include "InputAltVolume.h"
#include "InputDestVolume.h"
#include "InputXxxVolume.h"
#include "LeftPaneFlags.h"
#include "MasterOutputVolume.h"
#include "PaneAudio.h"
#include "PaneText.h"
#include "PanesResource.h"

namespace {
const COLORREF kBackground = 0xFCE2CA;
const COLORREF kTopLine = 0xF78A31;
const UINT WM_LEVEL_MIC = WM_USER + 112;
const UINT WM_LEVEL_PLAY = WM_USER + 113;

struct BUTTON_SKIN
{
    UINT id;
    const char* skin;
};
const BUTTON_SKIN kButtons[] = {
    {IDC_LEFT_SPEAK, "Skins\\Btn0.bmp"},         {IDC_LEFT_SPEAK_OFF, "Skins\\Btn1.bmp"},
    {IDC_LEFT_CONTROL, "Skins\\Btn0.bmp"},       {IDC_LEFT_CONTROL_OFF, "Skins\\Btn1.bmp"},
    {IDC_LEFT_RECORD, "Skins\\Btn0.bmp"},        {IDC_LEFT_RECORD_OFF, "Skins\\Btn1.bmp"},
    {IDC_LEFT_BROADCAST, "Skins\\Btn0.bmp"},     {IDC_LEFT_BROADCAST_OFF, "Skins\\Btn1.bmp"},
    {IDC_LEFT_SEND_FILE, "Skins\\Btn0.bmp"},     {IDC_LEFT_WINDOW_MODE, "Skins\\Btn0.bmp"},
    {IDC_LEFT_END_REMOTE, "Skins\\Btn0.bmp"},    {IDC_LEFT_POLLING, "Skins\\Btn0.bmp"},
    {IDC_LEFT_SPEAKER_MENU, "Skins\\Sound.bmp"}, {IDC_LEFT_VOLUME, "Skins\\Sound.bmp"},
};

bool FindMicrophone(UINT index, const MIXERLINEA* line, void* user)
{
    if (line->dwComponentType == MIXERLINE_COMPONENTTYPE_SRC_MICROPHONE) {
        *static_cast<int*>(user) = static_cast<int>(index);
        return false;
    }
    return true;
}

CDlgLeft* g_mixerOwner = nullptr;
} // namespace

BEGIN_MESSAGE_MAP(CDlgLeft, CLangDialog)
    ON_WM_TIMER()
    ON_WM_DESTROY()
    ON_WM_PAINT()
    ON_WM_SIZE()
    ON_WM_HSCROLL()
    ON_MESSAGE(WM_LEVEL_MIC, OnLevelMessage)
    ON_MESSAGE(WM_LEVEL_PLAY, OnLevelMessage)
END_MESSAGE_MAP()

CDlgLeft::CDlgLeft(const PANE_CONTEXT& context, CWnd* parent)
    : CLangDialog(IDD, "CDlgLeft", parent), m_ctx(context), m_tab(context), m_userList(context)
{}

CDlgLeft::~CDlgLeft()
{
    if (g_mixerOwner == this)
        g_mixerOwner = nullptr;
}

BOOL CDlgLeft::CreatePane(CWnd* parent) { return Create(IDD, parent); }

bool CDlgLeft::GetOwn(USER_INFO* own)
{
    return m_ctx.users && m_ctx.login && m_ctx.users->GetUser(m_ctx.login->userId, own);
}

BOOL CDlgLeft::OnInitDialog()
{
    CLangDialog::OnInitDialog();
    int i = 0;
    for (const BUTTON_SKIN& b : kButtons) {
        if (m_buttons[i].SubclassDlgItem(b.id, this))
            m_buttons[i].SetBitmapStrip(b.skin, FALSE);
        ++i;
    }
    ApplyRole();
    ShowBroadcastState();
    ShowRecordState();

    m_border.LoadFromFile("Skins\\f.bmp", 10, 20, FALSE);
    CRect client;
    GetClientRect(&client);
    const int strip = m_border.GetWidth();
    if (!m_tab.CreateTab(this, CRect(strip, 0, client.right, 200), IDC_LEFT_USER_TAB))
        return TRUE;
    if (!m_userList.CreateList(&m_tab, CRect(0, 0, 100, 100), IDC_USER_LIST))
        return TRUE;
    m_modes.Create(WS_CHILD | LBS_OWNERDRAWFIXED | LBS_NOTIFY | WS_VSCROLL, CRect(0, 0, 100, 100),
                   &m_tab, IDC_WINDOW_MODE_LIST);
    m_modes.SetImageStrip(IDB_WINDOW_MODES, 113);
    for (int k = 0; k < 5; ++k)
        m_modes.AddString("");
    m_tab.AddPage(m_userList.GetSafeHwnd(), 0, "用户列表");
    m_tab.AddPage(m_modes.GetSafeHwnd(), 1, PaneText(m_ctx.language, 61191, "窗口模式").c_str());
    m_tab.SelectPage(0);
    FillUserList();

    m_speakerSlider.Create("Skins\\SliderChannelLeft.bmp", "Skins\\SliderlChannelRight.bmp",
                           "Skins\\SliderThumb.bmp", CRect(20, 0, 92, 10), this,
                           IDC_LEFT_SPEAKER_SLIDER);
    m_speakerSlider.SetRange(0, 100);
    m_micSlider.Create("Skins\\SliderChannelLeft.bmp", "Skins\\SliderlChannelRight.bmp",
                       "Skins\\SliderThumb.bmp", CRect(20, 0, 92, 10), this, IDC_LEFT_MIC_SLIDER);
    m_micSlider.SetRange(0, 100);
    m_playMeter.Create(WS_CHILD, CRect(20, 0, 90, 6), this, IDC_LEFT_PLAY_METER);
    m_playMeter.SetBitmaps("ProgressCtrlLeft.bmp", "DBProgressCtrl.bmp");
    m_playMeter.SetRange(0, 100);
    m_micMeter.Create(WS_CHILD, CRect(20, 0, 90, 6), this, IDC_LEFT_MIC_METER);
    m_micMeter.SetBitmaps("ProgressCtrlLeft.bmp", "DBProgressCtrl.bmp");
    m_micMeter.SetRange(0, 100);

    SetupMixers();
    SetTimer(TIMER_LEVELS, LEVEL_INTERVAL, NULL);
    m_modePanel.SetCells(16, 4, IDB_WINDOW_MODES, 113);
    m_speakerMenu.LoadMenu(IDR_SPEAKER_MENU);
    // The two switches are the stored echo and gain settings.
    g_bAecOn = g_Settings.aec ? 1 : 0;
    g_bAgcOn = g_Settings.agc ? 1 : 0;
    CheckDlgButton(IDC_LEFT_AEC, g_bAecOn ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(IDC_LEFT_AGC, g_bAgcOn ? BST_CHECKED : BST_UNCHECKED);
    Layout(client.Width(), client.Height());
    return TRUE;
}

void CDlgLeft::SetupMixers()
{
    g_mixerOwner = this;
    m_speaker.reset(new MasterOutputVolume(0));
    m_speaker->Enable();
    m_speaker->RegisterNotificationSinks(&CDlgLeft::SpeakerVolumeSink, &CDlgLeft::SpeakerMuteSink,
                                         0);
    int pos = 0;
    if (SliderToMixer(m_speaker->GetCurrentVolume(), m_speaker->GetMinimalVolume(),
                      m_speaker->GetMaximalVolume(), 0, 100, &pos))
        m_speakerSlider.SetPos(pos);

    int micIndex = -1;
    InputXxxVolume::EnumerateLines(&FindMicrophone, 0, &micIndex);
    if (micIndex < 0)
        return;
    std::string lineName;
    std::unique_ptr<CMixerVolume> input(new InputXxxVolume(0, static_cast<UINT>(micIndex)));
    if (input->IsAvailable())
        lineName = static_cast<InputXxxVolume*>(input.get())->GetLineName();
    else {
        input.reset();
        input.reset(new InputDestVolume(0));
        if (!input->IsAvailable())
            input.reset();
    }
    if (input) {
        input->RegisterNotificationSink(&CDlgLeft::MicVolumeSink, 0);
        if (SliderToMixer(input->GetCurrentVolume(), input->GetMinimalVolume(),
                          input->GetMaximalVolume(), 0, 100, &pos))
            m_micSlider.SetPos(pos);
    }
    m_mic = std::move(input);
    m_source.reset(new InputAltVolume(0));
    const char* names[] = {lineName.c_str(), "Microphone", "Mic Volume", "麦克风"};
    for (const char* name : names)
        if (*name && m_source->SelectRecordSource(name))
            break;
}

bool CDlgLeft::SliderToMixer(int pos, int sliderMin, int sliderMax, int mixerMin, int mixerMax,
                             int* out)
{
    if (sliderMin < 0 || sliderMax < 0 || mixerMin < 0 || mixerMax < 0 || pos < 0)
        return false;
    if (sliderMax == sliderMin)
        return false;
    *out = mixerMin + static_cast<int>(static_cast<long long>(pos) * (mixerMax - mixerMin) /
                                       (sliderMax - sliderMin));
    return true;
}

void CDlgLeft::SpeakerVolumeSink(DWORD value, DWORD)
{
    CDlgLeft* self = g_mixerOwner;
    int pos = 0;
    if (self && self->m_speaker &&
        SliderToMixer(static_cast<int>(value), self->m_speaker->GetMinimalVolume(),
                      self->m_speaker->GetMaximalVolume(), 0, 100, &pos))
        self->m_speakerSlider.SetPos(pos);
}

void CDlgLeft::SpeakerMuteSink(DWORD value, DWORD)
{
    CDlgLeft* self = g_mixerOwner;
    if (self && self->GetSafeHwnd())
        self->CheckDlgButton(IDC_LEFT_SPEAKER_MENU, value ? BST_CHECKED : BST_UNCHECKED);
}

void CDlgLeft::MicVolumeSink(DWORD value, DWORD)
{
    CDlgLeft* self = g_mixerOwner;
    int pos = 0;
    if (self && self->m_mic &&
        SliderToMixer(static_cast<int>(value), self->m_mic->GetMinimalVolume(),
                      self->m_mic->GetMaximalVolume(), 0, 100, &pos))
        self->m_micSlider.SetPos(pos);
}

void CDlgLeft::OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar)
{
    if (nSBCode != SB_THUMBPOSITION && nSBCode != SB_THUMBTRACK)
        return;
    CWnd* source = reinterpret_cast<CWnd*>(pScrollBar);
    const HWND hwnd = source ? source->GetSafeHwnd() : NULL;
    CMixerVolume* mixer = hwnd == m_speakerSlider.GetSafeHwnd()
                              ? static_cast<CMixerVolume*>(m_speaker.get())
                          : hwnd == m_micSlider.GetSafeHwnd() ? m_mic.get()
                                                              : nullptr;
    CSkinSlider* slider = hwnd == m_speakerSlider.GetSafeHwnd() ? &m_speakerSlider : &m_micSlider;
    if (!mixer)
        return;
    int sliderMin = 0, sliderMax = 0, value = 0;
    slider->GetRange(&sliderMin, &sliderMax);
    if (SliderToMixer(slider->GetPos(), sliderMin, sliderMax, mixer->GetMinimalVolume(),
                      mixer->GetMaximalVolume(), &value))
        mixer->SetCurrentVolume(static_cast<DWORD>(value));
}

void CDlgLeft::ApplyRole()
{
    USER_INFO own;
    uint8_t role = m_ctx.login ? m_ctx.login->role : 0;
    if (GetOwn(&own))
        role = own.role;
    const BOOL enable = role != 3;
    for (UINT id : {IDC_LEFT_SPEAK, IDC_LEFT_SPEAK_OFF, IDC_LEFT_CONTROL, IDC_LEFT_CONTROL_OFF})
        if (CWnd* button = GetDlgItem(id))
            button->EnableWindow(enable);
}

void CDlgLeft::ShowPair(UINT shown, UINT hidden)
{
    if (CWnd* w = GetDlgItem(shown))
        w->ShowWindow(SW_SHOW);
    if (CWnd* w = GetDlgItem(hidden))
        w->ShowWindow(SW_HIDE);
}

void CDlgLeft::AddUser(uint32_t userId)
{
    if (m_ctx.users && m_ctx.users->FindUser(userId))
        m_userList.AddUser(userId);
}

void CDlgLeft::RemoveUser(uint32_t userId) { m_userList.RemoveUser(userId); }

void CDlgLeft::RefreshUser(uint32_t userId)
{
    if (!m_ctx.users || !m_ctx.users->FindUser(userId))
        return;
    m_userList.RefreshUser(userId);
    if (m_ctx.login && userId == m_ctx.login->userId)
        ApplyRole();
}

void CDlgLeft::FillUserList()
{
    if (!m_ctx.users || !m_userList.GetSafeHwnd())
        return;
    const int count = m_ctx.users->GetCount();
    for (int i = 0; i < count; ++i) {
        USER_INFO user;
        if (m_ctx.users->GetUserAt(i, &user))
            m_userList.AddUser(user.userId);
    }
}

void CDlgLeft::ShowOwnSpeakState(uint8_t state)
{
    if (state == 2) {
        CPaneAudio::SetSendAudio(!g_bMicMuted);
        ShowPair(IDC_LEFT_SPEAK_OFF, IDC_LEFT_SPEAK);
        g_bSpeaking = 1;
    } else {
        CPaneAudio::SetSendAudio(false);
        ShowPair(IDC_LEFT_SPEAK, IDC_LEFT_SPEAK_OFF);
        g_bSpeaking = 0;
    }
}

void CDlgLeft::ShowOwnControlState(uint8_t state)
{
    if (state == 2)
        ShowPair(IDC_LEFT_CONTROL_OFF, IDC_LEFT_CONTROL);
    else
        ShowPair(IDC_LEFT_CONTROL, IDC_LEFT_CONTROL_OFF);
    if (m_ctx.host)
        m_ctx.host->UpdateRemoteControlButtons();
}

void CDlgLeft::ShowRecordState()
{
    if (m_ctx.host && m_ctx.host->IsRecording())
        ShowPair(IDC_LEFT_RECORD_OFF, IDC_LEFT_RECORD);
    else
        ShowPair(IDC_LEFT_RECORD, IDC_LEFT_RECORD_OFF);
}

void CDlgLeft::ShowBroadcastState()
{
    USER_INFO own;
    if (!GetOwn(&own))
        return;
    if (own.broadcastFlag)
        ShowPair(IDC_LEFT_BROADCAST_OFF, IDC_LEFT_BROADCAST);
    else
        ShowPair(IDC_LEFT_BROADCAST, IDC_LEFT_BROADCAST_OFF);
}

void CDlgLeft::SetRemoteControlState(uint32_t flag)
{
    m_remoteFlag = flag;
    m_remoteSecond = 0;
    if (CWnd* w = GetDlgItem(IDC_LEFT_END_REMOTE))
        w->EnableWindow(flag != 0);
}

void CDlgLeft::SetHeadCount(int count) { m_tab.SetHeadCount(count); }

void CDlgLeft::OnSpeech()
{
    USER_INFO own;
    if (!GetOwn(&own) || own.role == 3 || !own.hasAudio || !m_ctx.commands)
        return;
    if (own.speakState == 0)
        m_ctx.commands->SendSpeechRequest();
    else
        m_ctx.commands->SendSpeechGiveUp();
}

void CDlgLeft::OnMeetingControl()
{
    USER_INFO own;
    if (!GetOwn(&own) || own.role == 3 || !m_ctx.commands)
        return;
    if (own.controlState == 0) {
        m_ctx.commands->SendControlRequest();
        return;
    }
    if (own.controlState == 2 && m_ctx.host) {
        if (m_ctx.host->IsBroadcastingScreen()) {
            m_ctx.commands->SendCommand2076(0);
            m_ctx.host->EndScreenBroadcast();
        }
        const uint32_t controlled = m_ctx.host->GetRemoteControlledUser();
        if (controlled) {
            m_ctx.commands->SendCommand2078(controlled, 0);
            m_ctx.host->EndRemoteControl();
        }
        m_ctx.host->StopDocumentTransfers();
        m_ctx.host->DropSharingRights();
        m_ctx.host->DropLayoutControl();
    }
    m_ctx.commands->SendControlGiveUp();
}

void CDlgLeft::OnRecord()
{
    USER_INFO own;
    if (!GetOwn(&own))
        return;
    if (!own.allowRecord) {
        PaneMessage(GetSafeHwnd(), "你没有权限使用录制功能!");
        return;
    }
    if (m_ctx.host && !m_ctx.host->IsRecording())
        m_ctx.host->StartRecording();
}

void CDlgLeft::OnBroadcastOn()
{
    USER_INFO own;
    if (!GetOwn(&own) || own.broadcastFlag)
        return;
    if (!own.hasVideo) {
        PaneMessage(GetSafeHwnd(), "没有视频源!");
        return;
    }
    if (m_ctx.login && m_ctx.login->meetingMode == 2 && own.role != 1) {
        PaneMessage(GetSafeHwnd(), "主控会议，一般用户不能广播");
        return;
    }
    if (m_ctx.commands)
        m_ctx.commands->SendVideoBroadcast(own.userId, 1);
}

void CDlgLeft::OnBroadcastOff()
{
    USER_INFO own;
    if (GetOwn(&own) && own.broadcastFlag && m_ctx.commands)
        m_ctx.commands->SendVideoBroadcast(own.userId, 0);
}

void CDlgLeft::OnMicMute()
{
    g_bMicMuted = IsDlgButtonChecked(IDC_LEFT_MIC_MUTE) ? 1 : 0;
    CPaneAudio::SetSendAudio(g_bSpeaking && !g_bMicMuted);
}

void CDlgLeft::OnAec()
{
    g_bAecOn = IsDlgButtonChecked(IDC_LEFT_AEC) ? 1 : 0;
    g_Settings.aec = g_bAecOn;
    CPaneAudio::SetAec(g_bAecOn != 0);
}

void CDlgLeft::OnAgc()
{
    g_bAgcOn = IsDlgButtonChecked(IDC_LEFT_AGC) ? 1 : 0;
    // Switched on again, the gain comes back at its weakest level.
    g_Settings.agc = g_bAgcOn ? (g_Settings.agc ? g_Settings.agc : 1) : 0;
}

void CDlgLeft::OnSpeakerMenu()
{
    CMenu* popup = m_speakerMenu.GetSubMenu(0);
    if (!popup)
        return;
    const bool muted = m_speaker && m_speaker->GetMute();
    CheckDlgButton(IDC_LEFT_SPEAKER_MENU, muted ? BST_CHECKED : BST_UNCHECKED);
    popup->CheckMenuItem(ID_MENU_SPEAKER_MUTE, MF_BYCOMMAND | (muted ? MF_CHECKED : MF_UNCHECKED));
    CRect r;
    GetDlgItem(IDC_LEFT_SPEAKER_MENU)->GetWindowRect(&r);
    popup->TrackPopupMenu(TPM_LEFTALIGN, r.left, r.bottom, this);
}

BOOL CDlgLeft::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const UINT id = LOWORD(wParam);
    const UINT code = HIWORD(wParam);
    if (lParam != 0 && code != BN_CLICKED)
        return CLangDialog::OnCommand(wParam, lParam);
    switch (id) {
    case IDC_LEFT_SPEAK:
    case IDC_LEFT_SPEAK_OFF:
        OnSpeech();
        return TRUE;
    case IDC_LEFT_CONTROL:
    case IDC_LEFT_CONTROL_OFF:
        OnMeetingControl();
        return TRUE;
    case IDC_LEFT_RECORD:
    case IDC_LEFT_RECORD_OFF:
        OnRecord();
        return TRUE;
    case IDC_LEFT_BROADCAST:
        OnBroadcastOn();
        return TRUE;
    case IDC_LEFT_BROADCAST_OFF:
        OnBroadcastOff();
        return TRUE;
    case IDC_LEFT_SEND_FILE:
        if (GetParent())
            GetParent()->PostMessage(WM_COMMAND, 32778);
        return TRUE;
    case IDC_LEFT_END_REMOTE:
        if (CWnd* main = AfxGetMainWnd())
            main->PostMessage(WM_COMMAND, 32797);
        return TRUE;
    case IDC_LEFT_WINDOW_MODE: {
        CRect r;
        GetDlgItem(IDC_LEFT_WINDOW_MODE)->GetWindowRect(&r);
        m_modePanel.Open(this, r);
        return TRUE;
    }
    case IDC_LEFT_POLLING:
        if (m_ctx.host)
            m_ctx.host->ToggleVideoPolling();
        return TRUE;
    case IDC_LEFT_MIC_MUTE:
        OnMicMute();
        return TRUE;
    case IDC_LEFT_AEC:
        OnAec();
        return TRUE;
    case IDC_LEFT_AGC:
        OnAgc();
        return TRUE;
    case IDC_LEFT_SPEAKER_MENU:
        OnSpeakerMenu();
        return TRUE;
    case ID_MENU_SPEAKER_MUTE:
        if (m_speaker)
            m_speaker->SetMute(!m_speaker->GetMute());
        return TRUE;
    case ID_MENU_SPEAKER_MANUAL:
        ::ShellExecuteA(GetSafeHwnd(), "open", "sndvol32.exe", NULL, NULL, SW_SHOWNORMAL);
        return TRUE;
    case ID_MENU_SPEAKER_TEST:
        ::ShellExecuteA(GetSafeHwnd(), "open", "control.exe", "mmsys.cpl", NULL, SW_SHOWNORMAL);
        return TRUE;
    default:
        break;
    }
    return CLangDialog::OnCommand(wParam, lParam);
}

namespace {
CDlgLeft::MicLevelPainter s_micPainter = nullptr;
}

void CDlgLeft::SetMicLevelPainter(MicLevelPainter painter) { s_micPainter = painter; }

void CDlgLeft::OnLevelTick()
{
    int lower = 0, upper = 100;
    const int input = CPaneAudio::GetInputLevel();
    if (s_micPainter) {
        if (m_micMeter.GetSafeHwnd())
            m_micMeter.GetRange(lower, upper);
        s_micPainter(m_micSlider, input, lower, upper);
    } else if (m_micMeter.GetSafeHwnd()) {
        m_micMeter.GetRange(lower, upper);
        m_micMeter.SetPos(lower + static_cast<int>(input * (upper - lower) * 0.01));
    }
    const int energy = CPaneAudio::GetPlayEnergy();
    if (m_playMeter.GetSafeHwnd())
        m_playMeter.GetRange(lower, upper);
    int level = lower + static_cast<int>(energy * (upper - lower) * 0.01);
    // The slider draws a percentage; a reading outside it is kept within.
    level = level < 0 ? 0 : level > 100 ? 100 : level;
    m_speakerSlider.m_nLevel = level;
    if (m_speakerSlider.GetSafeHwnd())
        m_speakerSlider.Invalidate(FALSE);
}

LRESULT CDlgLeft::OnLevelMessage(WPARAM, LPARAM)
{
    OnLevelTick();
    return 0;
}

void CDlgLeft::OnTimer(UINT nIDEvent)
{
    if (nIDEvent == TIMER_LEVELS)
        OnLevelTick();
    else
        CLangDialog::OnTimer(nIDEvent);
}

void CDlgLeft::OnDestroy()
{
    KillTimer(TIMER_LEVELS);
    m_source.reset();
    m_mic.reset();
    m_speaker.reset();
    if (g_mixerOwner == this)
        g_mixerOwner = nullptr;
    if (m_modePanel.GetSafeHwnd())
        m_modePanel.DestroyWindow();
    CLangDialog::OnDestroy();
}

BOOL CDlgLeft::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message == WM_KEYDOWN && (pMsg->wParam == VK_RETURN || pMsg->wParam == VK_ESCAPE))
        return TRUE;
    return CLangDialog::PreTranslateMessage(pMsg);
}

void CDlgLeft::OnSize(UINT nType, int cx, int cy)
{
    CLangDialog::OnSize(nType, cx, cy);
    Layout(cx, cy);
}

void CDlgLeft::SetLocalVideo(CWnd* video)
{
    m_localVideo = video;
    if (video && video->GetSafeHwnd())
        video->ShowWindow(SW_SHOW);
    if (GetSafeHwnd()) {
        CRect client;
        GetClientRect(&client);
        Layout(client.Width(), client.Height());
    }
}

void CDlgLeft::Layout(int cx, int cy)
{
    if (!m_tab.GetSafeHwnd())
        return;
    const int strip = m_border.GetWidth();
    // From the bottom: switches and sliders, three button rows, the local
    // video place (167 pixels), the users tab above.
    const int sliders = cy - 50;
    const int rows = sliders - 3 * 26;
    const int video = rows - LOCAL_VIDEO_HEIGHT;
    m_tab.MoveWindow(strip, 0, cx - strip + 1 > 0 ? cx - strip + 1 : 0, video > 0 ? video : 0);
    if (m_localVideo && m_localVideo->GetSafeHwnd())
        m_localVideo->MoveWindow(strip, video > 0 ? video : 0, cx - strip > 0 ? cx - strip : 0,
                                 LOCAL_VIDEO_HEIGHT);
    const UINT grid[3][3] = {{IDC_LEFT_SPEAK, IDC_LEFT_CONTROL, IDC_LEFT_RECORD},
                             {IDC_LEFT_BROADCAST, IDC_LEFT_SEND_FILE, IDC_LEFT_WINDOW_MODE},
                             {IDC_LEFT_END_REMOTE, IDC_LEFT_POLLING, 0}};
    const UINT twins[] = {IDC_LEFT_SPEAK_OFF, IDC_LEFT_CONTROL_OFF, IDC_LEFT_RECORD_OFF,
                          IDC_LEFT_BROADCAST_OFF};
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c)
            if (grid[r][c])
                if (CWnd* w = GetDlgItem(grid[r][c]))
                    w->MoveWindow(strip + 4 + c * 65, rows + r * 26, 60, 22);
    for (int k = 0; k < 4; ++k) {
        const UINT base = k == 0   ? IDC_LEFT_SPEAK
                          : k == 1 ? IDC_LEFT_CONTROL
                          : k == 2 ? IDC_LEFT_RECORD
                                   : IDC_LEFT_BROADCAST;
        CRect rect;
        if (CWnd* w = GetDlgItem(base)) {
            w->GetWindowRect(&rect);
            ScreenToClient(&rect);
            if (CWnd* twin = GetDlgItem(twins[k]))
                twin->MoveWindow(&rect);
        }
    }
    if (CWnd* w = GetDlgItem(IDC_LEFT_SPEAKER_MENU))
        w->MoveWindow(strip + 4, sliders + 4, 16, 14);
    if (CWnd* w = GetDlgItem(IDC_LEFT_MIC_MUTE))
        w->MoveWindow(strip + 4, sliders + 24, 16, 14);
    m_speakerSlider.MoveWindow(strip + 24, sliders + 6, 72, 10);
    m_micSlider.MoveWindow(strip + 24, sliders + 26, 72, 10);
    m_playMeter.MoveWindow(strip + 100, sliders + 8, 70, 6);
    m_micMeter.MoveWindow(strip + 100, sliders + 28, 70, 6);
    if (CWnd* w = GetDlgItem(IDC_LEFT_AEC))
        w->MoveWindow(cx - 40, sliders + 24, 16, 14);
    if (CWnd* w = GetDlgItem(IDC_LEFT_AGC))
        w->MoveWindow(cx - 20, sliders + 24, 16, 14);
}

void CDlgLeft::OnPaint()
{
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    dc.FillSolidRect(&client, kBackground);
    dc.FillSolidRect(0, 0, client.Width(), 1, kTopLine);
    if (m_border.GetWidth() > 0)
        m_border.Draw(&dc, 0, 0, m_border.GetWidth(), client.Height());
}
