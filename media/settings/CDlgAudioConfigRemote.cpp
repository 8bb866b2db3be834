#include "CDlgAudioConfigRemote.h"

#include "CLanguageManager.h"
#include "SettingsCalls.h"
#include "SettingsControls.h"
#include "SettingsResource.h"

using namespace settingsui;

namespace {
const UINT kLevelTexts[4] = {61646, 61643, 61644, 61645};

void FillNames(CWnd* page, int id, const std::vector<std::string>& names)
{
    ListReset(page, id);
    for (size_t i = 0; i < names.size(); ++i)
        ListAdd(page, id, names[i].c_str(), (int)i);
}

DWORD SelOr(CWnd* page, int id, DWORD fallback)
{
    int sel = ListSel(page, id);
    return sel < 0 ? fallback : (DWORD)sel;
}
} // namespace

CDlgAudioConfigRemote::CDlgAudioConfigRemote(CWnd* parent)
    : CLangDialog(IDD_AUDIO_CONFIG_REMOTE, "CDlgAudioConfigRemote", parent)
{}

BOOL CDlgAudioConfigRemote::Create(CWnd* parent)
{
    return CDialog::Create(IDD_AUDIO_CONFIG_REMOTE, parent);
}

BOOL CDlgAudioConfigRemote::OnInitDialog()
{
    CLangDialog::OnInitDialog();
    FillLevelLists();
    SliderRange(this, IDC_AUDIO_FEC_SLIDER, 0, 9);
    return TRUE;
}

void CDlgAudioConfigRemote::FillLevelLists()
{
    for (int id : {IDC_AUDIO_DENOISE_LIST, IDC_AUDIO_AGC_LIST}) {
        int sel = ListSel(this, id);
        ListReset(this, id);
        for (int level = 0; level < 4; ++level) {
            CString text;
            g_LangManager.LoadStringTo(kLevelTexts[level], text);
            ListAdd(this, id, text, level);
        }
        ListSetSel(this, id, sel);
    }
}

void CDlgAudioConfigRemote::TranslateTexts(BOOL apply)
{
    if (m_hWnd)
        FillLevelLists();
    CLangDialog::TranslateTexts(apply);
}

void CDlgAudioConfigRemote::SelectFecMode(bool manual)
{
    SetChecked(this, IDC_AUDIO_FEC_AUTO, !manual);
    SetChecked(this, IDC_AUDIO_FEC_MANUAL, manual);
    EnableItem(this, IDC_AUDIO_FEC_SLIDER, manual);
    EnableItem(this, IDC_AUDIO_FEC_LABEL, manual);
}

void CDlgAudioConfigRemote::Fill(const DEVICE_SETTINGS& s, const REMOTE_NAMES& names)
{
    m_values = s;
    FillNames(this, IDC_AUDIO_CAPTURE_LIST, names.list[NAMES_AUDIO_CAPTURE]);
    FillNames(this, IDC_AUDIO_PLAY_LIST, names.list[NAMES_AUDIO_PLAY]);
    FillNames(this, IDC_AUDIO_FORMAT_LIST, names.list[NAMES_AUDIO_FORMATS]);
    int high = s.FECType > 9 && s.FECType < 256 ? (int)s.FECType : 9;
    SliderRange(this, IDC_AUDIO_FEC_SLIDER, 0, high);
    ValuesToControls();
}

void CDlgAudioConfigRemote::ValuesToControls()
{
    const DEVICE_SETTINGS& s = m_values;
    ListSetSel(this, IDC_AUDIO_CAPTURE_LIST, (int)s.AudioCapture);
    ListSetSel(this, IDC_AUDIO_PLAY_LIST, (int)s.AudioPlay);
    ListSetSel(this, IDC_AUDIO_FORMAT_LIST, (int)(s.AudioFormat & 0xFF));
    SetChecked(this, IDC_AUDIO_PLAY_LOCAL, s.PlayLocal != 0);
    SetChecked(this, IDC_AUDIO_ASC, s.ASC != 0);
    SetChecked(this, IDC_AUDIO_AEC, s.AEC != 0);
    SetChecked(this, IDC_AUDIO_AUTO_VOLUME, s.AutoVolume != 0);
    ListSetSel(this, IDC_AUDIO_DENOISE_LIST, (int)s.Denoise);
    ListSetSel(this, IDC_AUDIO_AGC_LIST, (int)s.AGC);
    SliderSetPos(this, IDC_AUDIO_FEC_SLIDER, (int)s.FECType);
    SelectFecMode(s.AutoFEC == 0);
}

void CDlgAudioConfigRemote::RestoreValues() { ValuesToControls(); }

void CDlgAudioConfigRemote::Read(DEVICE_SETTINGS* s)
{
    s->AudioCapture = SelOr(this, IDC_AUDIO_CAPTURE_LIST, s->AudioCapture);
    s->AudioPlay = SelOr(this, IDC_AUDIO_PLAY_LIST, s->AudioPlay);
    s->AudioFormat = SelOr(this, IDC_AUDIO_FORMAT_LIST, s->AudioFormat) & 0xFF;
    s->PlayLocal = Checked(this, IDC_AUDIO_PLAY_LOCAL);
    s->Denoise = SelOr(this, IDC_AUDIO_DENOISE_LIST, s->Denoise);
    s->FECType = (DWORD)SliderPos(this, IDC_AUDIO_FEC_SLIDER);
    s->AutoFEC = Checked(this, IDC_AUDIO_FEC_AUTO);
    s->ASC = Checked(this, IDC_AUDIO_ASC);
    s->AEC = Checked(this, IDC_AUDIO_AEC);
    s->AGC = SelOr(this, IDC_AUDIO_AGC_LIST, s->AGC);
    s->AutoVolume = Checked(this, IDC_AUDIO_AUTO_VOLUME);
}

BOOL CDlgAudioConfigRemote::OnCommand(WPARAM wParam, LPARAM lParam)
{
    UINT id = LOWORD(wParam);
    if (HIWORD(wParam) == BN_CLICKED && (id == IDC_AUDIO_FEC_AUTO || id == IDC_AUDIO_FEC_MANUAL)) {
        SelectFecMode(id == IDC_AUDIO_FEC_MANUAL);
        return TRUE;
    }
    return CLangDialog::OnCommand(wParam, lParam);
}
