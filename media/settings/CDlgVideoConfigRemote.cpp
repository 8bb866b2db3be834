#include "CDlgVideoConfigRemote.h"

#include "CLanguageManager.h"
#include "CStringList.h"
#include "SettingsControls.h"
#include "SettingsResource.h"

#include <commctrl.h>
#include <cstdio>

using namespace settingsui;

namespace {
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

CDlgVideoConfigRemote::CDlgVideoConfigRemote(CWnd* parent)
    : CLangDialog(IDD_VIDEO_CONFIG_REMOTE, "CDlgVideoConfigRemote", parent)
{}

BOOL CDlgVideoConfigRemote::Create(CWnd* parent)
{
    return CDialog::Create(IDD_VIDEO_CONFIG_REMOTE, parent);
}

BOOL CDlgVideoConfigRemote::OnInitDialog()
{
    CLangDialog::OnInitDialog();
    if (HWND slider = Item(this, IDC_VIDEO_RATE_SLIDER)) {
        SliderRange(this, IDC_VIDEO_RATE_SLIDER, 0, 2048);
        ::SendMessageA(slider, TBM_SETPAGESIZE, 0, 10);
        ::SendMessageA(slider, TBM_SETLINESIZE, 0, 10);
    }
    return TRUE;
}

void CDlgVideoConfigRemote::TranslateTexts(BOOL apply)
{
    if (m_hWnd && ListCount(this, IDC_VIDEO_DATA_MODE_LIST) > 0) {
        int sel = ListSel(this, IDC_VIDEO_DATA_MODE_LIST);
        ListReset(this, IDC_VIDEO_DATA_MODE_LIST);
        for (UINT id : {61639u, 61638u}) {
            CString text;
            g_LangManager.LoadStringTo(id, text);
            ListAdd(this, IDC_VIDEO_DATA_MODE_LIST, text, id == 61639u ? 0 : 1);
        }
        ListSetSel(this, IDC_VIDEO_DATA_MODE_LIST, sel);
    }
    CLangDialog::TranslateTexts(apply);
}

void CDlgVideoConfigRemote::Fill(const DEVICE_SETTINGS& s, const REMOTE_NAMES& names)
{
    m_values = s;
    FillNames(this, IDC_VIDEO_DEVICE_LIST, names.list[NAMES_VIDEO_DEVICES]);
    FillNames(this, IDC_VIDEO_INPUT_LIST, names.list[NAMES_VIDEO_INPUTS]);
    FillNames(this, IDC_VIDEO_SIZE_LIST, names.list[NAMES_IMAGE_SIZES]);
    FillNames(this, IDC_VIDEO_ENCODER_LIST, names.list[NAMES_VIDEO_ENCODERS]);
    FillNames(this, IDC_VIDEO_DATA_MODE_LIST, names.list[NAMES_DATA_MODES]);
    ValuesToControls();
}

void CDlgVideoConfigRemote::ValuesToControls()
{
    const DEVICE_SETTINGS& s = m_values;
    ListSetSel(this, IDC_VIDEO_DEVICE_LIST, (int)s.VideoCaptureDev);
    ListSetSel(this, IDC_VIDEO_INPUT_LIST, (int)s.VideoInput);
    ListSetSel(this, IDC_VIDEO_SIZE_LIST, (int)s.VideoSize);
    ListSetSel(this, IDC_VIDEO_ENCODER_LIST, (int)s.VideoEncoder);
    ListSetSel(this, IDC_VIDEO_DATA_MODE_LIST, (int)s.VideoEncodeMode);
    SetChecked(this, IDC_VIDEO_POST_PROC, s.EnableImgFilter != 0);
    SetChecked(this, IDC_VIDEO_OVERLAY, s.UserOverlay != 0);
    SliderSetPos(this, IDC_VIDEO_RATE_SLIDER, (int)s.BitRate);
    ShowRateLabel();
    SetDlgItemInt(IDC_VIDEO_POLL_EDIT, s.PollingTime, FALSE);
}

void CDlgVideoConfigRemote::RestoreValues() { ValuesToControls(); }

void CDlgVideoConfigRemote::Read(DEVICE_SETTINGS* s)
{
    s->VideoCaptureDev = SelOr(this, IDC_VIDEO_DEVICE_LIST, s->VideoCaptureDev);
    s->VideoEncoder = SelOr(this, IDC_VIDEO_ENCODER_LIST, s->VideoEncoder);
    s->VideoEncodeMode = SelOr(this, IDC_VIDEO_DATA_MODE_LIST, s->VideoEncodeMode);
    s->VideoInput = SelOr(this, IDC_VIDEO_INPUT_LIST, s->VideoInput);
    s->BitRate = (DWORD)SliderPos(this, IDC_VIDEO_RATE_SLIDER);
    s->VideoSize = SelOr(this, IDC_VIDEO_SIZE_LIST, s->VideoSize);
    s->EnableImgFilter = Checked(this, IDC_VIDEO_POST_PROC);
    s->UserOverlay = Checked(this, IDC_VIDEO_OVERLAY);
    BOOL ok = FALSE;
    UINT polling = GetDlgItemInt(IDC_VIDEO_POLL_EDIT, &ok, FALSE);
    if (ok)
        s->PollingTime = polling;
}

int CDlgVideoConfigRemote::SetInputs(CStringList& inputs)
{
    ListReset(this, IDC_VIDEO_INPUT_LIST);
    int index = 0;
    for (POSITION pos = inputs.GetHeadPosition(); pos;)
        ListAdd(this, IDC_VIDEO_INPUT_LIST, inputs.GetNext(pos), index++);
    return index;
}

void CDlgVideoConfigRemote::SelectInput(int index)
{
    ListSetSel(this, IDC_VIDEO_INPUT_LIST, index);
}

void CDlgVideoConfigRemote::ShowRateLabel()
{
    char text[32];
    snprintf(text, sizeof text, "%dKbps", SliderPos(this, IDC_VIDEO_RATE_SLIDER));
    SetDlgItemText(IDC_VIDEO_RATE_LABEL, text);
}

LRESULT CDlgVideoConfigRemote::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_HSCROLL) {
        ShowRateLabel();
        return 0;
    }
    return CLangDialog::WindowProc(message, wParam, lParam);
}
