#include "CDlgDeviceRemote.h"

#include "CClientSettings.h"
#include "CDlgDevice.h"
#include "CLanguageManager.h"
#include "CSettingsHost.h"
#include "CStringList.h"
#include "CUserTable.h"
#include "ClientLog.h"
#include "DeviceSettings.h"
#include "SettingsCalls.h"
#include "SettingsControls.h"
#include "SettingsResource.h"

#include <cstdio>

using namespace settingsui;

namespace {
const int kButtonStrip = 33;

CString Text(UINT id)
{
    CString text;
    g_LangManager.LoadStringTo(id, text);
    return text;
}

std::vector<std::string> Names(CStringList& list)
{
    std::vector<std::string> names;
    for (POSITION pos = list.GetHeadPosition(); pos;)
        names.push_back((const char*)list.GetNext(pos));
    return names;
}

// The names of an audio device or format list; a name the library does not
// give keeps its place as its index.
std::vector<std::string> AudioNames(int count, int (*name)(int, char*))
{
    std::vector<std::string> names;
    for (int i = 0; i < count && i < 64; ++i) {
        char text[256] = {};
        if (!name(i, text) || !text[0])
            snprintf(text, sizeof text, "%d", i);
        text[255] = 0;
        names.push_back(text);
    }
    return names;
}

int CaptureName(int i, char* text)
{
    return MEDIA_CALL(AUDIO_MGR_GetCapDeviceName, 0, i, text, 256);
}
int PlayName(int i, char* text) { return MEDIA_CALL(AUDIO_MGR_GetPlayDeviceName, 0, i, text, 256); }
int FormatName(int i, char* text)
{
    unsigned char code = 0;
    return MEDIA_CALL(AUDIO_MGR_GetEncodeFormatName, 0, i, &code, text, 256);
}
} // namespace

CDlgDeviceRemote::CDlgDeviceRemote(CWnd* parent) : CDialog(IDD_DEVICE_REMOTE, parent) {}

CDlgDeviceRemote::~CDlgDeviceRemote()
{
    if (m_white)
        DeleteObject(m_white);
}

BOOL CDlgDeviceRemote::Create(CWnd* parent) { return CDialog::Create(IDD_DEVICE_REMOTE, parent); }

BOOL CDlgDeviceRemote::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_white = CreateSolidBrush(RGB(255, 255, 255));
    if (CWnd* owner = GetParent()) {
        CRect main;
        owner->GetWindowRect(&main);
        SetWindowPos(NULL, main.left + 100, main.top + 100, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    m_ok.SubclassDlgItem(IDOK, this);
    m_cancel.SubclassDlgItem(IDCANCEL, this);
    m_tab.Create(WS_CHILD, CRect(0, 0, 0, 0), this, 1000);
    m_audio.Create(&m_tab);
    m_video.Create(this);
    m_tab.AddPage(m_video.m_hWnd, 0, Text(61606));
    m_tab.AddPage(m_audio.m_hWnd, 1, Text(61605));
    GetWindowText(m_caption);
    CRect client;
    GetClientRect(&client);
    m_video.SetWindowPos(NULL, 0, 0, client.Width(), client.Height() - kButtonStrip,
                         SWP_NOZORDER | SWP_SHOWWINDOW);
    return TRUE;
}

bool CDlgDeviceRemote::KnownOther(uint32_t user)
{
    CSettingsHost* host = GetSettingsHost();
    USER_INFO info;
    return user != host->OwnId() && host->Users().GetUser(user, &info);
}

void CDlgDeviceRemote::EnablePages(bool on)
{
    EnableChildren(&m_video, on);
    EnableChildren(&m_audio, on);
}

void CDlgDeviceRemote::ShowForUser(uint32_t user)
{
    CSettingsHost* host = GetSettingsHost();
    USER_INFO info = {};
    if (user == host->OwnId() || !host->Users().GetUser(user, &info))
        return;
    std::vector<uint8_t> query = CRemoteSettings::BuildQuery();
    if (host->SendToUser(user, query.data(), (uint16_t)query.size()))
        EnablePages(false);
    info.name[sizeof info.name - 1] = 0;
    SetWindowText(m_caption + "--" + info.name);
    m_user = user;
    m_bReceived = false;
    ShowWindow(SW_SHOW);
}

std::vector<uint8_t> CDlgDeviceRemote::BuildOwnReport()
{
    DEVICE_SETTINGS own = DEVICE_SETTINGS::From(g_Settings);
    REMOTE_NAMES names;
    CStringList devices, inputs, encoders;
    MEDIA_CALL(T_TAKEDevices, 0, &devices);
    MEDIA_CALL(T_S_GetVideoSource, 0, &inputs);
    MEDIA_CALL(T_TAKEEncoders, 0, &encoders);
    names.list[NAMES_VIDEO_DEVICES] = Names(devices);
    names.list[NAMES_VIDEO_INPUTS] = Names(inputs);
    names.list[NAMES_VIDEO_ENCODERS] = Names(encoders);
    names.list[NAMES_IMAGE_SIZES] = {"160 * 120", "176 * 144", "320 * 240", "352 * 288",
                                     "640 * 480", "704 * 576", "720 * 576"};
    names.list[NAMES_DATA_MODES] = {(const char*)Text(61639), (const char*)Text(61638)};
    names.list[NAMES_AUDIO_CAPTURE] =
        AudioNames(MEDIA_CALL(AUDIO_MGR_GetCapDevicesCount, 0), CaptureName);
    names.list[NAMES_AUDIO_PLAY] =
        AudioNames(MEDIA_CALL(AUDIO_MGR_GetPlayDevicesCount, 0), PlayName);
    names.list[NAMES_AUDIO_FORMATS] =
        AudioNames(MEDIA_CALL(AUDIO_MGR_GetEncodeFormatCount, 0) & 0xFF, FormatName);
    return CRemoteSettings::BuildReport(own, names);
}

void CDlgDeviceRemote::OnSettingsQuery(uint32_t sender, const void*, size_t)
{
    if (!KnownOther(sender))
        return;
    std::vector<uint8_t> report = BuildOwnReport();
    GetSettingsHost()->SendToUser(sender, report.data(), (uint16_t)report.size());
}

void CDlgDeviceRemote::OnRemoteSettings(uint32_t sender, const void* data, size_t length)
{
    if (sender != m_user || m_user == 0)
        return;
    DEVICE_SETTINGS settings;
    REMOTE_NAMES names;
    if (!CRemoteSettings::ParseReport(data, length, &settings, &names))
        return;
    EnablePages(true);
    m_received = settings;
    m_audio.Fill(settings, names);
    m_video.Fill(settings, names);
    m_bReceived = true;
}

void CDlgDeviceRemote::ApplyReceivedSettings(uint32_t sender, const void* data, size_t length)
{
    DEVICE_SETTINGS in;
    if (!KnownOther(sender)) {
        g_Log.Write(0, "settings from %u ignored: not a participant\n", (unsigned)sender);
        return;
    }
    if (!CRemoteSettings::ParseApply(data, length, &in))
        return;
    CSettingsHost* host = GetSettingsHost();
    uint32_t own = host->OwnId();
    USER_INFO me = {};
    host->Users().GetUser(own, &me);
    BOOL hasVideo = me.hasVideo;

    if (in.EnableImgFilter != g_Settings.enableImgFilter) {
        g_Settings.enableImgFilter = in.EnableImgFilter;
        MEDIA_CALL(T_EnablePostProc, 0, (int)in.EnableImgFilter);
    }
    if (in.UserOverlay != g_Settings.userOverlay) {
        g_Settings.userOverlay = in.UserOverlay;
        MEDIA_CALL_VOID(T_EnableOverlay, (int)in.UserOverlay);
    }
    uint32_t size = in.VideoSize > 6 ? 2 : in.VideoSize;
    if (in.VideoCaptureDev != g_Settings.videoCaptureDev || size != g_Settings.videoSize ||
        in.VideoEncoder != g_Settings.videoEncoder ||
        in.VideoEncodeMode != g_Settings.videoEncodeMode) {
        g_Settings.videoCaptureDev = in.VideoCaptureDev;
        g_Settings.videoSize = size;
        g_Settings.videoEncoder = in.VideoEncoder;
        g_Settings.videoEncodeMode = in.VideoEncodeMode;
        int width = 0, height = 0;
        VideoSizeOf(size, &width, &height);
        if (!MEDIA_CALL(T_S_StartCapture, 0, (int)g_Settings.videoCaptureDev,
                        (int)g_Settings.videoEncoder, (int)g_Settings.videoEncodeMode,
                        (int)g_Settings.bitRate, width, height)) {
            host->ShowMessage(Text(61484));
            hasVideo = FALSE;
        } else {
            CStringList inputs;
            MEDIA_CALL(T_S_GetVideoSource, 0, &inputs);
            int count = m_video.SetInputs(inputs);
            if (count > 0) {
                if ((int)g_Settings.videoInput < 0 || (int)g_Settings.videoInput >= count)
                    g_Settings.videoInput = 0;
                m_video.SelectInput((int)g_Settings.videoInput);
                MEDIA_CALL(T_S_SetVideoSourceIndex, 0, (int)g_Settings.videoInput);
            }
            hasVideo = TRUE;
        }
    }
    if (in.VideoInput != g_Settings.videoInput) {
        g_Settings.videoInput = in.VideoInput;
        if (in.VideoInput != 0xFFFFFFFFu)
            MEDIA_CALL(T_S_SetVideoSourceIndex, 0, (int)in.VideoInput);
    }
    g_Settings.frameRate = in.PollingTime;
    if (in.BitRate != g_Settings.bitRate) {
        g_Settings.bitRate = in.BitRate;
        MEDIA_CALL_VOID(T_S_SetBitRate, (int)in.BitRate);
    }
    if (m_device)
        m_device->VideoPage().SetHasVideo(hasVideo);
    if ((uint8_t)hasVideo != me.hasVideo || (uint8_t)g_Settings.videoCaptureDev != me.deviceFlagB) {
        CStringList devices;
        int count = MEDIA_CALL(T_TAKEDevices, 0, &devices);
        if (m_device)
            m_device->ReportDeviceState(me.hasAudio, (uint8_t)hasVideo, (uint8_t)count,
                                        (uint8_t)g_Settings.videoCaptureDev);
    }
    if (m_device)
        m_device->RefreshPages();
}

void CDlgDeviceRemote::OnOK()
{
    if (m_bReceived) {
        DEVICE_SETTINGS out = m_received;
        m_audio.Read(&out);
        m_video.Read(&out);
        std::vector<uint8_t> record = CRemoteSettings::BuildApply(out);
        if (KnownOther(m_user))
            GetSettingsHost()->SendToUser(m_user, record.data(), (uint16_t)record.size());
    }
    m_bReceived = false;
    ShowWindow(SW_HIDE);
}

void CDlgDeviceRemote::OnCancel()
{
    m_video.RestoreValues();
    m_audio.RestoreValues();
    ShowWindow(SW_HIDE);
}

LRESULT CDlgDeviceRemote::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_white) {
        if (message == WM_CTLCOLORDLG)
            return (LRESULT)m_white;
        if ((message == WM_CTLCOLORSTATIC || message == WM_CTLCOLORBTN) &&
            ::GetParent((HWND)lParam) == m_hWnd) {
            ::SetBkColor((HDC)wParam, RGB(255, 255, 255));
            return (LRESULT)m_white;
        }
    }
    return CDialog::WindowProc(message, wParam, lParam);
}
