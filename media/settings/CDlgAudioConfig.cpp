#include "CDlgAudioConfig.h"

#include "CClientSettings.h"
#include "IAudioPageBinding.h"
#include "CLanguageManager.h"
#include "CSettingsHost.h"
#include "CUserTable.h"
#include "SettingsCalls.h"
#include "SettingsControls.h"
#include "SettingsResource.h"

using namespace settingsui;

namespace {
const UINT kLevelTexts[4] = {61646, 61643, 61644, 61645}; // 禁止, 弱, 中, 强
const char* const kDelayTexts[4] = {"默认设置", "小延迟", "中延迟", "高延迟"};

CString Text(UINT id)
{
    CString text;
    g_LangManager.LoadStringTo(id, text);
    return text;
}

void SetParam(int id, int value) { MEDIA_CALL(AUDIO_MGR_Processer_SetParam, 0, id, &value); }

IAudioPageBinding* s_binding = nullptr;
} // namespace

void CDlgAudioConfig::SetBinding(IAudioPageBinding* binding) { s_binding = binding; }

CDlgAudioConfig::CDlgAudioConfig(CWnd* parent)
    : CLangDialog(IDD_AUDIO_CONFIG, "CDlgAudioConfig", parent)
{}

BOOL CDlgAudioConfig::Create(CWnd* parent) { return CDialog::Create(IDD_AUDIO_CONFIG, parent); }

BOOL CDlgAudioConfig::OnInitDialog()
{
    CLangDialog::OnInitDialog();
    ListReset(this, IDC_AUDIO_DELAY_LIST);
    for (int i = 0; i < 4; ++i)
        ListAdd(this, IDC_AUDIO_DELAY_LIST, kDelayTexts[i], i);
    if (s_binding) {
        s_binding->InitPage(*this);
        return TRUE;
    }
    int levels = 0;
    MEDIA_CALL(AUDIO_MGR_Processer_GetParam, 0, AUDIO_PARAM_FEC_COUNT, &levels);
    SliderRange(this, IDC_AUDIO_FEC_SLIDER, 0, levels > 0 ? levels - 1 : 0);
    FillLevelLists();
    CheckRadioButton(IDC_AUDIO_QUALITY_LOW, IDC_AUDIO_QUALITY_HIGH,
                     IDC_AUDIO_QUALITY_LOW + m_nQuality);
    SetChecked(this, IDC_AUDIO_STATISTICS, m_bStatistics != 0);
    SetChecked(this, IDC_AUDIO_HIFI, m_bHifi != 0);
    SetChecked(this, IDC_AUDIO_TCP, m_bTcp != 0);
    SetChecked(this, IDC_AUDIO_FILTER, m_bFilter != 0);
    Refresh();
    return TRUE;
}

void CDlgAudioConfig::FillLevelLists()
{
    for (int id : {IDC_AUDIO_DENOISE_LIST, IDC_AUDIO_AGC_LIST}) {
        int sel = ListSel(this, id);
        ListReset(this, id);
        for (int level = 0; level < 4; ++level)
            ListAdd(this, id, Text(kLevelTexts[level]), level);
        ListSetSel(this, id, sel);
    }
}

void CDlgAudioConfig::TranslateTexts(BOOL apply)
{
    if (m_hWnd && !s_binding)
        FillLevelLists();
    CLangDialog::TranslateTexts(apply);
}

void CDlgAudioConfig::FillDeviceList(int id, bool capture, DWORD* stored)
{
    ListReset(this, id);
    int count = capture ? MEDIA_CALL(AUDIO_MGR_GetCapDevicesCount, 0)
                        : MEDIA_CALL(AUDIO_MGR_GetPlayDevicesCount, 0);
    for (int i = 0; i < count; ++i) {
        char name[256] = {};
        int ok = capture ? MEDIA_CALL(AUDIO_MGR_GetCapDeviceName, 0, i, name, 256)
                         : MEDIA_CALL(AUDIO_MGR_GetPlayDeviceName, 0, i, name, 256);
        if (ok) {
            name[255] = 0;
            ListAdd(this, id, name, i);
        }
    }
    // Without any device the stored index stays as it is.
    if (ListCount(this, id) > 0 && !ListSelectData(this, id, (int)*stored)) {
        ListSetSel(this, id, 0);
        *stored = 0;
    }
}

void CDlgAudioConfig::FillFormatList()
{
    ListReset(this, IDC_AUDIO_FORMAT_LIST);
    int count = MEDIA_CALL(AUDIO_MGR_GetEncodeFormatCount, 0) & 0xFF;
    for (int i = 0; i < count; ++i) {
        char name[256] = {};
        unsigned char code = 0;
        if (MEDIA_CALL(AUDIO_MGR_GetEncodeFormatName, 0, i, &code, name, 256)) {
            name[255] = 0;
            ListAdd(this, IDC_AUDIO_FORMAT_LIST, name, i);
        }
    }
    if (ListCount(this, IDC_AUDIO_FORMAT_LIST) > 0 &&
        !ListSelectData(this, IDC_AUDIO_FORMAT_LIST, g_Settings.audioFormat)) {
        ListSetSel(this, IDC_AUDIO_FORMAT_LIST, 0);
        g_Settings.audioFormat = 0;
    }
}

void CDlgAudioConfig::Refresh()
{
    if (s_binding) {
        s_binding->Refresh(*this);
        return;
    }
    m_bASC = g_Settings.asc != 0;
    m_bPlayLocal = g_Settings.playLocal != 0;
    m_bAEC = g_Settings.aec != 0;
    m_bAutoVolume = g_Settings.autoVolume != 0;
    m_nDenoise = (int)g_Settings.denoise;
    m_nAGC = (int)g_Settings.agc;
    m_nFecLevel = (int)g_Settings.fecType;
    m_bManualFec = g_Settings.autoFec == 0;
    if (g_Settings.autoFec)
        m_nDelay = 0;
    else
        m_nDelay = g_Settings.fecType <= 2 ? (int)g_Settings.fecType + 1 : -1;
    ValuesToControls();
    DWORD capture = g_Settings.audioCapture;
    FillDeviceList(IDC_AUDIO_PLAY_LIST, false, &g_Settings.audioPlay);
    FillDeviceList(IDC_AUDIO_CAPTURE_LIST, true, &capture);
    g_Settings.audioCapture = capture;
    FillFormatList();
}

void CDlgAudioConfig::ValuesToControls()
{
    if (!m_hWnd)
        return;
    SetChecked(this, IDC_AUDIO_ASC, m_bASC != 0);
    SetChecked(this, IDC_AUDIO_PLAY_LOCAL, m_bPlayLocal != 0);
    SetChecked(this, IDC_AUDIO_AEC, m_bAEC != 0);
    SetChecked(this, IDC_AUDIO_AUTO_VOLUME, m_bAutoVolume != 0);
    ListSetSel(this, IDC_AUDIO_DENOISE_LIST, m_nDenoise);
    ListSetSel(this, IDC_AUDIO_AGC_LIST, m_nAGC);
    SliderSetPos(this, IDC_AUDIO_FEC_SLIDER, m_nFecLevel);
    SelectFecMode(m_bManualFec != 0);
    ListSetSel(this, IDC_AUDIO_DELAY_LIST, m_nDelay);
}

void CDlgAudioConfig::ControlsToValues()
{
    m_bASC = Checked(this, IDC_AUDIO_ASC);
    m_bPlayLocal = Checked(this, IDC_AUDIO_PLAY_LOCAL);
    m_bAEC = Checked(this, IDC_AUDIO_AEC);
    m_bAutoVolume = Checked(this, IDC_AUDIO_AUTO_VOLUME);
    m_nDenoise = ListSel(this, IDC_AUDIO_DENOISE_LIST);
    m_nAGC = ListSel(this, IDC_AUDIO_AGC_LIST);
    m_nFecLevel = SliderPos(this, IDC_AUDIO_FEC_SLIDER);
    m_bManualFec = Checked(this, IDC_AUDIO_FEC_MANUAL);
    m_nDelay = ListSel(this, IDC_AUDIO_DELAY_LIST);
}

void CDlgAudioConfig::RestoreValues()
{
    if (s_binding)
        s_binding->Refresh(*this);
    else
        ValuesToControls();
}

void CDlgAudioConfig::SelectFecMode(bool manual)
{
    SetChecked(this, IDC_AUDIO_FEC_AUTO, !manual);
    SetChecked(this, IDC_AUDIO_FEC_MANUAL, manual);
    EnableItem(this, IDC_AUDIO_FEC_SLIDER, manual);
    EnableItem(this, IDC_AUDIO_FEC_LABEL, manual);
}

BOOL CDlgAudioConfig::OnCommand(WPARAM wParam, LPARAM lParam)
{
    UINT id = LOWORD(wParam);
    if (HIWORD(wParam) == BN_CLICKED && (id == IDC_AUDIO_FEC_AUTO || id == IDC_AUDIO_FEC_MANUAL)) {
        SelectFecMode(id == IDC_AUDIO_FEC_MANUAL);
        return TRUE;
    }
    return CLangDialog::OnCommand(wParam, lParam);
}

void CDlgAudioConfig::Apply()
{
    if (s_binding) {
        m_bHasAudio = s_binding->Apply(*this);
        return;
    }
    CSettingsHost* host = GetSettingsHost();
    m_bHasAudio = host->Users().HasAudio(host->OwnId());
    ControlsToValues();

    // An empty list leaves its index alone; a list without a selection counts as 0.
    if (ListCount(this, IDC_AUDIO_PLAY_LIST) > 0) {
        DWORD play = (DWORD)ListSelData(this, IDC_AUDIO_PLAY_LIST, 0);
        if (play != g_Settings.audioPlay) {
            g_Settings.audioPlay = play;
            RestartPlayback();
        }
    }
    DWORD capture = g_Settings.audioCapture;
    if (ListCount(this, IDC_AUDIO_CAPTURE_LIST) > 0)
        capture = (DWORD)ListSelData(this, IDC_AUDIO_CAPTURE_LIST, 0);
    BYTE format = g_Settings.audioFormat;
    if (ListCount(this, IDC_AUDIO_FORMAT_LIST) > 0)
        format = (BYTE)ListSelData(this, IDC_AUDIO_FORMAT_LIST, 0);
    if (capture != g_Settings.audioCapture || format != g_Settings.audioFormat) {
        g_Settings.audioCapture = capture;
        g_Settings.audioFormat = format;
        m_bHasAudio = RestartCapture();
    }
    if ((DWORD)m_bAutoVolume != g_Settings.autoVolume) {
        g_Settings.autoVolume = (DWORD)m_bAutoVolume;
        MEDIA_CALL(AUDIO_MGR_SetVolumeControl, 0, m_bAutoVolume);
    }
    DWORD denoise = m_nDenoise < 0 ? 0 : (DWORD)m_nDenoise;
    if (denoise != g_Settings.denoise) {
        g_Settings.denoise = denoise;
        SetParam(AUDIO_PARAM_DENOISE, (int)denoise);
    }
    if ((DWORD)m_bPlayLocal != g_Settings.playLocal) {
        g_Settings.playLocal = (DWORD)m_bPlayLocal;
        MEDIA_CALL(AUDIO_MGR_SetPlayLocal, 0, m_bPlayLocal);
    }
    // The delay list is the FEC choice the user sees: its first entry is the
    // automatic choice at the stored level, the others manual levels 0 to 2.
    DWORD autoFec = 1;
    DWORD fecLevel = g_Settings.fecType;
    if (m_nDelay >= 1) {
        autoFec = 0;
        fecLevel = (DWORD)(m_nDelay - 1);
    }
    if (autoFec != g_Settings.autoFec || fecLevel != g_Settings.fecType) {
        g_Settings.autoFec = autoFec;
        g_Settings.fecType = fecLevel;
        MEDIA_CALL(AUDIO_MGR_AutoSetFEC, 0, (int)autoFec);
        SetParam(AUDIO_PARAM_FEC_LEVEL, (int)fecLevel);
    }
    if ((DWORD)m_bASC != g_Settings.asc) {
        g_Settings.asc = (DWORD)m_bASC;
        SetParam(AUDIO_PARAM_SILENCE, m_bASC);
    }
    if ((DWORD)m_bAEC != g_Settings.aec) {
        g_Settings.aec = (DWORD)m_bAEC;
        MEDIA_CALL(AUDIO_MGR_SetAEC, 0, m_bAEC);
    }
    DWORD agc = m_nAGC < 0 ? 0 : (DWORD)m_nAGC;
    if (agc != g_Settings.agc) {
        g_Settings.agc = agc;
        SetParam(AUDIO_PARAM_AGC_LEVEL, (int)agc);
    }
    // Keep the hidden FEC controls in step with what was stored.
    m_nFecLevel = (int)g_Settings.fecType;
    m_bManualFec = g_Settings.autoFec == 0;
    if (m_hWnd) {
        SliderSetPos(this, IDC_AUDIO_FEC_SLIDER, m_nFecLevel);
        SelectFecMode(m_bManualFec != 0);
    }
}

void CDlgAudioConfig::InitAudio()
{
    if (s_binding) {
        m_bHasAudio = s_binding->InitAudio(*this);
        return;
    }
    m_bHasAudio = RestartCapture();
    MEDIA_CALL(AUDIO_MGR_SetAEC, 0, (int)g_Settings.aec);
    MEDIA_CALL(AUDIO_MGR_SetVolumeControl, 0, (int)g_Settings.autoVolume);
    SetParam(AUDIO_PARAM_DENOISE, (int)g_Settings.denoise);
    SetParam(AUDIO_PARAM_SILENCE, (int)g_Settings.asc);
    SetParam(AUDIO_PARAM_AGC_LEVEL, (int)g_Settings.agc);
    MEDIA_CALL(AUDIO_MGR_AutoSetFEC, 0, (int)g_Settings.autoFec);
    SetParam(AUDIO_PARAM_FEC_LEVEL, (int)g_Settings.fecType);
    RestartPlayback();
    MEDIA_CALL(AUDIO_MGR_SetPlayLocal, 0, (int)g_Settings.playLocal);
}

int CDlgAudioConfig::RestartCapture()
{
    MEDIA_CALL(AUDIO_MGR_StopCapture, 0);
    if (!MEDIA_CALL(AUDIO_MGR_StartCapture, 0, (int)g_Settings.audioCapture)) {
        GetSettingsHost()->ShowMessage(Text(61483));
        return 0;
    }
    int count = MEDIA_CALL(AUDIO_MGR_GetEncodeFormatCount, 0) & 0xFF;
    if ((int)g_Settings.audioFormat > count - 1)
        g_Settings.audioFormat = 0;
    // Without any format there is no code to set.
    unsigned char code = 0;
    char name[256] = {};
    if (count > 0 &&
        MEDIA_CALL(AUDIO_MGR_GetEncodeFormatName, 0, g_Settings.audioFormat, &code, name, 256))
        SetParam(AUDIO_PARAM_FORMAT, code);
    return 1;
}

int CDlgAudioConfig::RestartPlayback()
{
    MEDIA_CALL(AUDIO_MGR_StopPlay, 0);
    if (!MEDIA_CALL(AUDIO_MGR_StartPlay, 0, (int)g_Settings.audioPlay)) {
        GetSettingsHost()->ShowMessage(Text(61482));
        return 0;
    }
    return 1;
}
