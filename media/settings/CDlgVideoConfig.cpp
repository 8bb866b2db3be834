#include "CDlgVideoConfig.h"

#include "CClientSettings.h"
#include "CDlgImgProcConfig.h"
#include "CLanguageManager.h"
#include "CSettingsHost.h"
#include "CStringList.h"
#include "CUserTable.h"
#include "DeviceSettings.h"
#include "SettingsControls.h"
#include "SettingsResource.h"

#include <commctrl.h>
#include <cstdio>
#include <cstdlib>

using namespace settingsui;

namespace {
const char* const kSizeTexts[7] = {"160 * 120", "176 * 144", "320 * 240", "352 * 288",
                                   "640 * 480", "704 * 576", "720 * 576"};
const char* const kRateTexts[8] = {"64Kpbs",  "128Kpbs", "256Kpbs",  "384Kpbs",
                                   "512Kpbs", "768Kpbs", "1024Kpbs", "2048Kpbs"};
const int kSwitchIds[5] = {IDC_VIDEO_AUTO_QUALITY, IDC_VIDEO_STATISTICS, IDC_VIDEO_AUTO_CLOSE,
                           IDC_VIDEO_SMOOTH, IDC_VIDEO_DELAY_SEND};

CString Text(UINT id)
{
    CString text;
    g_LangManager.LoadStringTo(id, text);
    return text;
}

void FillFromList(CWnd* page, int id, CStringList& names)
{
    ListReset(page, id);
    int index = 0;
    for (POSITION pos = names.GetHeadPosition(); pos;)
        ListAdd(page, id, names.GetNext(pos), index++);
}
} // namespace

CDlgVideoConfig::CDlgVideoConfig(CWnd* parent)
    : CLangDialog(IDD_VIDEO_CONFIG, "CDlgVideoConfig", parent)
{}

BOOL CDlgVideoConfig::Create(CWnd* parent) { return CDialog::Create(IDD_VIDEO_CONFIG, parent); }

BOOL CDlgVideoConfig::OnInitDialog()
{
    CLangDialog::OnInitDialog();
    for (int i = 0; i < 7; ++i)
        ListAdd(this, IDC_VIDEO_SIZE_LIST, kSizeTexts[i], i);
    ListAdd(this, IDC_VIDEO_MODE_LIST, "RGB模式", 0);
    ListAdd(this, IDC_VIDEO_MODE_LIST, "YUY2模式", 1);
    for (int i = 0; i < 8; ++i)
        ListAdd(this, IDC_VIDEO_RATE_LIST, kRateTexts[i], i);
    SliderRange(this, IDC_VIDEO_QUALITY_SLIDER, 0, 100);
    FillDataModes();
    Refresh();
    MEDIA_CALL(T_GetDefImgProcSetting, 0, &m_imgProc);
    return TRUE;
}

void CDlgVideoConfig::FillDataModes()
{
    int sel = ListSel(this, IDC_VIDEO_DATA_MODE_LIST);
    ListReset(this, IDC_VIDEO_DATA_MODE_LIST);
    ListAdd(this, IDC_VIDEO_DATA_MODE_LIST, Text(61639), 0);
    ListAdd(this, IDC_VIDEO_DATA_MODE_LIST, Text(61638), 1);
    ListSetSel(this, IDC_VIDEO_DATA_MODE_LIST, sel);
}

void CDlgVideoConfig::TranslateTexts(BOOL apply)
{
    if (m_hWnd)
        FillDataModes();
    CLangDialog::TranslateTexts(apply);
}

void CDlgVideoConfig::SelectStored(int id, DWORD* stored)
{
    int count = ListCount(this, id);
    if (count <= 0)
        return;
    if ((int)*stored < 0 || (int)*stored >= count)
        *stored = 0;
    ListSetSel(this, id, (int)*stored);
}

void CDlgVideoConfig::Refresh()
{
    VideoSizeOf(g_Settings.videoSize, &m_nWidth, &m_nHeight);
    m_nSize = (int)g_Settings.videoSize;
    m_bPostProc = g_Settings.enableImgFilter != 0;
    m_bOverlay = g_Settings.userOverlay != 0;
    if (g_Settings.bitRate == 0)
        g_Settings.bitRate = 128;
    m_nBitRate = (int)g_Settings.bitRate;
    m_nPolling = (int)g_Settings.frameRate;
    if (!m_hWnd)
        return;
    if (HWND slider = Item(this, IDC_VIDEO_RATE_SLIDER)) {
        SliderRange(this, IDC_VIDEO_RATE_SLIDER, 0, 2048);
        ::SendMessageA(slider, TBM_SETPAGESIZE, 0, 10);
        ::SendMessageA(slider, TBM_SETLINESIZE, 0, 10);
    }
    ValuesToControls();

    CStringList devices;
    MEDIA_CALL(T_TAKEDevices, 0, &devices);
    FillFromList(this, IDC_VIDEO_DEVICE_LIST, devices);
    CStringList encoders;
    MEDIA_CALL(T_TAKEEncoders, 0, &encoders);
    FillFromList(this, IDC_VIDEO_ENCODER_LIST, encoders);
    SelectStored(IDC_VIDEO_DEVICE_LIST, &g_Settings.videoCaptureDev);
    SelectStored(IDC_VIDEO_ENCODER_LIST, &g_Settings.videoEncoder);
    SelectStored(IDC_VIDEO_DATA_MODE_LIST, &g_Settings.videoEncodeMode);
}

void CDlgVideoConfig::ValuesToControls()
{
    if (!m_hWnd)
        return;
    ListSetSel(this, IDC_VIDEO_SIZE_LIST, m_nSize);
    SetChecked(this, IDC_VIDEO_POST_PROC, m_bPostProc != 0);
    SetChecked(this, IDC_VIDEO_OVERLAY, m_bOverlay != 0);
    SliderSetPos(this, IDC_VIDEO_RATE_SLIDER, m_nBitRate);
    int rateEntry = -1;
    for (int i = 0; i < 8; ++i) {
        if (atoi(kRateTexts[i]) == m_nBitRate)
            rateEntry = i;
    }
    ListSetSel(this, IDC_VIDEO_RATE_LIST, rateEntry);
    SetDlgItemInt(IDC_VIDEO_POLL_EDIT, (UINT)m_nPolling, FALSE);
    SliderSetPos(this, IDC_VIDEO_QUALITY_SLIDER, m_nQuality);
    ListSetSel(this, IDC_VIDEO_MODE_LIST, m_nImageMode);
    for (int i = 0; i < 5; ++i)
        SetChecked(this, kSwitchIds[i], m_bSwitches[i] != 0);
    ShowRateLabel();
}

void CDlgVideoConfig::RestoreValues() { ValuesToControls(); }

void CDlgVideoConfig::ShowRateLabel()
{
    char text[32];
    snprintf(text, sizeof text, "%dKbps", SliderPos(this, IDC_VIDEO_RATE_SLIDER));
    SetDlgItemText(IDC_VIDEO_RATE_LABEL, text);
}

void CDlgVideoConfig::Apply()
{
    CSettingsHost* host = GetSettingsHost();
    m_bHasVideo = host->Users().HasVideo(host->OwnId());

    int size = ListSel(this, IDC_VIDEO_SIZE_LIST);
    if (size < 0 || size > 6)
        size = 2;
    // A rate that is none of the list's values keeps the stored one.
    DWORD rate = g_Settings.bitRate;
    if (ListSel(this, IDC_VIDEO_RATE_LIST) >= 0)
        rate = (DWORD)atoi(ListSelText(this, IDC_VIDEO_RATE_LIST));
    BOOL overlay = Checked(this, IDC_VIDEO_OVERLAY);
    if ((DWORD)overlay != g_Settings.userOverlay) {
        g_Settings.userOverlay = (DWORD)overlay;
        MEDIA_CALL_VOID(T_EnableOverlay, overlay);
    }
    g_Settings.enableImgFilter = (DWORD)Checked(this, IDC_VIDEO_POST_PROC);
    MEDIA_CALL(T_EnablePostProc, 0, (int)g_Settings.enableImgFilter);

    // An empty list leaves its stored index alone.
    auto chosen = [this](int id, DWORD stored) {
        return ListCount(this, id) > 0 ? (DWORD)(ListSel(this, id) < 0 ? 0 : ListSel(this, id))
                                       : stored;
    };
    DWORD device = chosen(IDC_VIDEO_DEVICE_LIST, g_Settings.videoCaptureDev);
    DWORD encoder = chosen(IDC_VIDEO_ENCODER_LIST, g_Settings.videoEncoder);
    DWORD mode = chosen(IDC_VIDEO_DATA_MODE_LIST, g_Settings.videoEncodeMode);
    if (device == g_Settings.videoCaptureDev && (DWORD)size == g_Settings.videoSize &&
        encoder == g_Settings.videoEncoder && mode == g_Settings.videoEncodeMode) {
        int input = ListSel(this, IDC_VIDEO_INPUT_LIST);
        if (ListCount(this, IDC_VIDEO_INPUT_LIST) > 0 && input >= 0 &&
            (DWORD)input != g_Settings.videoInput) {
            g_Settings.videoInput = (DWORD)input;
            MEDIA_CALL(T_S_SetVideoSourceIndex, 0, input);
        }
    } else {
        g_Settings.videoCaptureDev = device;
        g_Settings.videoSize = (DWORD)size;
        g_Settings.videoEncoder = encoder;
        g_Settings.videoEncodeMode = mode;
        m_bHasVideo = OpenCapture();
    }
    BOOL ok = FALSE;
    UINT polling = GetDlgItemInt(IDC_VIDEO_POLL_EDIT, &ok, FALSE);
    if (ok)
        g_Settings.frameRate = polling;
    if (rate != g_Settings.bitRate) {
        g_Settings.bitRate = rate;
        MEDIA_CALL_VOID(T_S_SetBitRate, (int)rate);
    }
    // The page values follow what was stored.
    m_nSize = (int)g_Settings.videoSize;
    m_bPostProc = g_Settings.enableImgFilter != 0;
    m_bOverlay = g_Settings.userOverlay != 0;
    m_nBitRate = (int)g_Settings.bitRate;
    m_nPolling = (int)g_Settings.frameRate;
    m_nQuality = SliderPos(this, IDC_VIDEO_QUALITY_SLIDER);
    m_nImageMode = ListSel(this, IDC_VIDEO_MODE_LIST);
    for (int i = 0; i < 5; ++i)
        m_bSwitches[i] = Checked(this, kSwitchIds[i]);
}

int CDlgVideoConfig::OpenCapture()
{
    ListReset(this, IDC_VIDEO_INPUT_LIST);
    EnableItem(this, IDC_VIDEO_INPUT_LIST, false);
    VideoSizeOf(g_Settings.videoSize, &m_nWidth, &m_nHeight);
    if (!MEDIA_CALL(T_S_StartCapture, 0, (int)g_Settings.videoCaptureDev,
                    (int)g_Settings.videoEncoder, (int)g_Settings.videoEncodeMode,
                    (int)g_Settings.bitRate, m_nWidth, m_nHeight)) {
        GetSettingsHost()->AddChatNotice(Text(61484));
        return 0;
    }
    CStringList inputs;
    MEDIA_CALL(T_S_GetVideoSource, 0, &inputs);
    FillFromList(this, IDC_VIDEO_INPUT_LIST, inputs);
    int count = ListCount(this, IDC_VIDEO_INPUT_LIST);
    if (count > 0) {
        EnableItem(this, IDC_VIDEO_INPUT_LIST, true);
        if ((int)g_Settings.videoInput < 0 || (int)g_Settings.videoInput >= count)
            g_Settings.videoInput = 0;
        ListSetSel(this, IDC_VIDEO_INPUT_LIST, (int)g_Settings.videoInput);
        MEDIA_CALL(T_S_SetVideoSourceIndex, 0, (int)g_Settings.videoInput);
    }
    return 1;
}

void CDlgVideoConfig::InitVideo()
{
    MEDIA_CALL(T_EnablePostProc, 0, (int)g_Settings.enableImgFilter);
    MEDIA_CALL_VOID(T_EnableOverlay, 0);
    m_bHasVideo = OpenCapture();
    MEDIA_CALL_VOID(T_S_SetBitRate, (int)g_Settings.bitRate);
    if (m_bHasVideo)
        GetSettingsHost()->AddChatNotice("初始化视频设备成功。");
}

int CDlgVideoConfig::SelectCaptureDevice(int index)
{
    if (index < 0 || index >= ListCount(this, IDC_VIDEO_DEVICE_LIST) ||
        (DWORD)index == g_Settings.videoCaptureDev)
        return 0;
    g_Settings.videoCaptureDev = (DWORD)index;
    m_bHasVideo = OpenCapture();
    ListSetSel(this, IDC_VIDEO_DEVICE_LIST, index);
    return 1;
}

uint8_t CDlgVideoConfig::GetDeviceCount()
{
    return (uint8_t)ListCount(this, IDC_VIDEO_DEVICE_LIST);
}

uint8_t CDlgVideoConfig::GetSelectedDevice()
{
    int sel = ListSel(this, IDC_VIDEO_DEVICE_LIST);
    return sel < 0 ? 0 : (uint8_t)sel;
}

void CDlgVideoConfig::OpenImageSettings()
{
    CDlgImgProcConfig dialog(&m_imgProc, this);
    dialog.DoModal();
}

BOOL CDlgVideoConfig::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (HIWORD(wParam) == BN_CLICKED) {
        switch (LOWORD(wParam)) {
        case IDC_VIDEO_PROPERTIES:
            MEDIA_CALL_VOID(T_S_ShowPropertyPage, m_hWnd);
            return TRUE;
        case IDC_VIDEO_IMAGE_BUTTON:
            OpenImageSettings();
            return TRUE;
        }
    }
    return CLangDialog::OnCommand(wParam, lParam);
}

LRESULT CDlgVideoConfig::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_HSCROLL) {
        ShowRateLabel();
        return 0;
    }
    return CLangDialog::WindowProc(message, wParam, lParam);
}
