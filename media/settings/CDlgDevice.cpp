#include "CDlgDevice.h"

#include "CClientSettings.h"
#include "CLanguageManager.h"
#include "CSettingsHost.h"
#include "CUserTable.h"
#include "SettingsCalls.h"
#include "SettingsResource.h"
#include "UiFont.h"

namespace {
const int kButtonStrip = 33;

CString Text(UINT id)
{
    CString text;
    g_LangManager.LoadStringTo(id, text);
    return text;
}
} // namespace

CDlgDevice::CDlgDevice(CWnd* parent) : CLangDialog(IDD_DEVICE, "CDlgDevice", parent) {}

CDlgDevice::~CDlgDevice()
{
    if (m_white)
        DeleteObject(m_white);
}

BOOL CDlgDevice::Create(CWnd* parent) { return CDialog::Create(IDD_DEVICE, parent); }

BOOL CDlgDevice::OnInitDialog()
{
    CLangDialog::OnInitDialog();
    m_white = CreateSolidBrush(RGB(255, 255, 255));
    if (CWnd* owner = GetParent()) {
        CRect main;
        owner->GetWindowRect(&main);
        SetWindowPos(NULL, main.left + 100, main.top + 100, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    CRect client;
    GetClientRect(&client);
    CRect area(0, 0, client.Width(), client.Height() - kButtonStrip);
    m_tab.Create(WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, area, this, 1000);
    m_tab.SetFont(GetUiFont());
    m_video.Create(&m_tab);
    m_audio.Create(&m_tab);
    m_path.Create(&m_tab);
    m_tab.AddPage(m_video.m_hWnd, 0, Text(61606));
    m_tab.AddPage(m_audio.m_hWnd, 1, Text(61605));
    m_tab.AddPage(m_path.m_hWnd, 2, Text(61641));
    m_tab.SelectPage(0);
    return TRUE;
}

void CDlgDevice::SetTabText(int index, UINT textId)
{
    if (!m_tab.m_hWnd)
        return;
    CString text = Text(textId);
    TCITEMA item = {};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<char*>((const char*)text);
    ::SendMessageA(m_tab.m_hWnd, TCM_SETITEMA, index, (LPARAM)&item);
}

void CDlgDevice::TranslateTexts(BOOL apply)
{
    SetTabText(0, 61606);
    SetTabText(1, 61605);
    CLangDialog::TranslateTexts(apply);
}

void CDlgDevice::InitDevices()
{
    m_audio.InitAudio();
    m_video.InitVideo();
    CSettingsHost* host = GetSettingsHost();
    if (m_audio.HasAudio())
        host->AddChatNotice("初始化音频成功。");
    ReportDeviceState((uint8_t)m_audio.HasAudio(), (uint8_t)m_video.HasVideo(),
                      m_video.GetDeviceCount(), m_video.GetSelectedDevice());
    CUserTable& users = host->Users();
    int count = users.GetCount();
    for (int i = 0; i < count; ++i) {
        USER_INFO user;
        if (!users.GetUserAt(i, &user) || user.speakState != 2)
            continue;
        MEDIA_CALL(AUDIO_MGR_AddSource, 0, user.userId);
        if (host->IsRecording())
            host->RecordAddAudio(user.userId);
    }
}

void CDlgDevice::ReportDeviceState(uint8_t hasAudio, uint8_t hasVideo, uint8_t count, uint8_t index)
{
    CSettingsHost* host = GetSettingsHost();
    CUserTable& users = host->Users();
    uint32_t own = host->OwnId();
    host->SendDeviceState(hasAudio, hasVideo, count, index);
    users.SetHasAudio(own, hasAudio);
    users.SetHasVideo(own, hasVideo);
    users.SetFlag31(own, count);
    users.SetFlag32(own, index);
    uint8_t videoState = 0;
    if (!hasVideo && users.GetVideoState(own, &videoState) &&
        (videoState == 1 || videoState == 2)) {
        host->RemoveVideoWindow(own);
        users.SetVideoState(own, 0);
        users.SetBroadcastFlag(own, 0);
    }
    host->RedrawUser(own);
}

void CDlgDevice::RefreshPages()
{
    m_audio.Refresh();
    m_video.Refresh();
}

void CDlgDevice::ShowPages()
{
    m_tab.SelectPage(0);
    ShowWindow(SW_SHOW);
    m_bShown = TRUE;
}

void CDlgDevice::ToggleShow()
{
    if (IsWindowVisible()) {
        ShowWindow(SW_HIDE);
        m_bShown = FALSE;
        return;
    }
    RefreshPages();
    CRect rect;
    GetWindowRect(&rect);
    int x = (GetSystemMetrics(SM_CXSCREEN) - rect.Width()) / 2;
    int y = (GetSystemMetrics(SM_CYSCREEN) - rect.Height()) / 2;
    SetWindowPos(NULL, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ShowPages();
}

void CDlgDevice::ApplyDeviceState(int index)
{
    if (!m_video.SelectCaptureDevice(index))
        return;
    ReportDeviceState((uint8_t)m_audio.HasAudio(), (uint8_t)m_video.HasVideo(),
                      m_video.GetDeviceCount(), m_video.GetSelectedDevice());
}

void CDlgDevice::OnOK()
{
    m_audio.Apply();
    m_video.Apply();
    m_path.Apply();
    CSettingsHost* host = GetSettingsHost();
    USER_INFO own = {};
    host->Users().GetUser(host->OwnId(), &own);
    uint8_t selected = m_video.GetSelectedDevice();
    if ((uint8_t)m_audio.HasAudio() != own.hasAudio ||
        (uint8_t)m_video.HasVideo() != own.hasVideo || selected != own.deviceFlagB) {
        ReportDeviceState((uint8_t)m_audio.HasAudio(), (uint8_t)m_video.HasVideo(),
                          m_video.GetDeviceCount(), selected);
    }
    ShowWindow(SW_HIDE);
    m_bShown = FALSE;
}

void CDlgDevice::OnCancel()
{
    m_audio.RestoreValues();
    m_video.RestoreValues();
    ShowWindow(SW_HIDE);
    m_bShown = FALSE;
}

LRESULT CDlgDevice::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    // Every showing starts on the video page with the audio page up to date.
    if (message == WM_SHOWWINDOW && wParam && lParam == 0 && m_tab.m_hWnd) {
        m_tab.SelectPage(0);
        m_audio.Refresh();
    }
    if (m_white) {
        if (message == WM_CTLCOLORDLG)
            return (LRESULT)m_white;
        if ((message == WM_CTLCOLORSTATIC || message == WM_CTLCOLORBTN) &&
            ::GetParent((HWND)lParam) == m_hWnd) {
            ::SetBkColor((HDC)wParam, RGB(255, 255, 255));
            return (LRESULT)m_white;
        }
    }
    return CLangDialog::WindowProc(message, wParam, lParam);
}
