#include "CDlgImgProcConfig.h"

#include "SettingsControls.h"
#include "SettingsResource.h"

#include <commctrl.h>
#include <cstdarg>
#include <cstdio>

using namespace settingsui;

namespace {
struct SLIDER
{
    int id;
    int field;
    int low;
    int high;
};
const SLIDER kSliders[11] = {
    {IDC_IMG_HUE, 0, -180, 180},        {IDC_IMG_SATURATION, 1, 0, 128},
    {IDC_IMG_DENOISE_LUMA, 2, 0, 1000}, {IDC_IMG_DENOISE_CHROMA, 3, 0, 1000},
    {IDC_IMG_DENOISE_TIME, 4, 0, 1000}, {IDC_IMG_GRADUAL, 5, 0, 100},
    {IDC_IMG_LUMA_GAIN, 6, 0, 256},     {IDC_IMG_LUMA_OFFSET, 7, -256, 256},
    {IDC_IMG_GAMMA, 8, 1, 400},         {IDC_IMG_STRENGTH, 9, 0, 512},
    {IDC_IMG_QUALITY, 10, 0, 6},
};
// The order in which the values are shown.
const int kShowOrder[11] = {10, 9, 3, 2, 4, 5, 0, 1, 6, 7, 8};
// Switches and their byte in field 11.
const int kSwitches[3] = {IDC_IMG_DENOISE3D, IDC_IMG_GRADUAL_ON, IDC_IMG_POST_PROC};

uint8_t FlagByte(const IMG_PROC_SETTING& r, int index)
{
    return (uint8_t)(((uint32_t)r.field[11] >> (8 * index)) & 0xFF);
}

void SetFlagByte(IMG_PROC_SETTING& r, int index, uint8_t value)
{
    uint32_t word = (uint32_t)r.field[11];
    word &= ~(0xFFu << (8 * index));
    word |= (uint32_t)value << (8 * index);
    r.field[11] = (int32_t)word;
}

std::string Format(const char* format, ...)
{
    char text[128];
    va_list args;
    va_start(args, format);
    vsnprintf(text, sizeof text, format, args);
    va_end(args);
    return text;
}

const char* OnOff(const IMG_PROC_SETTING& r, int field, int neutral)
{
    return r.field[field] == r.field[neutral] ? "(off)" : "(on)";
}
} // namespace

CDlgImgProcConfig::CDlgImgProcConfig(IMG_PROC_SETTING* owner, CWnd* parent)
    : CSkinDialog(IDD_IMG_PROC_CONFIG, "CDlgImgProcConfig", parent), m_owner(owner), m_work(*owner)
{}

std::string CDlgImgProcConfig::FieldText(int field, const IMG_PROC_SETTING& r)
{
    switch (field) {
    case 0:
        return Format("Hue:%d%s", r.field[0], OnOff(r, 0, 12));
    case 1:
        return Format("Saturation:%d%s", r.field[1], OnOff(r, 1, 13));
    case 2:
    case 3:
    case 4:
        return Format("Denoise3d-Luma:%.2f,Chroma:%.2f,Time:%.2f", r.field[2] * 0.01,
                      r.field[3] * 0.01, r.field[4] * 0.01);
    case 5:
        return Format("Gradual denoise:%d", r.field[5]);
    case 6:
        return Format("Luminance gain:%d%s", r.field[6], OnOff(r, 6, 14));
    case 7:
        return Format("Luminance offset:%d%s", r.field[7], OnOff(r, 7, 15));
    case 8:
        return Format("Gamma correction:%.2f%s", r.field[8] * 0.01, OnOff(r, 8, 16));
    case 9:
        return Format("Processing strength:%d", r.field[9]);
    case 10:
        return Format("Quality control:%d", r.field[10]);
    default:
        return std::string();
    }
}

int CDlgImgProcConfig::TextControl(int field)
{
    static const int controls[11] = {
        IDC_IMG_HUE_LABEL,       IDC_IMG_SATURATION_LABEL,  IDC_IMG_DENOISE3D,
        IDC_IMG_DENOISE3D,       IDC_IMG_DENOISE3D,         IDC_IMG_GRADUAL_ON,
        IDC_IMG_LUMA_GAIN_LABEL, IDC_IMG_LUMA_OFFSET_LABEL, IDC_IMG_GAMMA_LABEL,
        IDC_IMG_STRENGTH_LABEL,  IDC_IMG_QUALITY_LABEL};
    return field >= 0 && field < 11 ? controls[field] : 0;
}

BOOL CDlgImgProcConfig::OnInitDialog()
{
    CSkinDialog::OnInitDialog();
    const int buttons[4] = {IDOK, IDCANCEL, IDC_IMG_APPLY, IDC_IMG_DEFAULT};
    for (int i = 0; i < 4; ++i)
        m_buttons[i].SubclassDlgItem(buttons[i], this);
    for (int i = 0; i < 3; ++i)
        SetChecked(this, kSwitches[i], FlagByte(*m_owner, i) != 0);
    for (const SLIDER& s : kSliders)
        SliderRange(this, s.id, s.low, s.high);
    ShowValues(*m_owner);
    return TRUE;
}

void CDlgImgProcConfig::ShowText(int field, const IMG_PROC_SETTING& record)
{
    int control = TextControl(field);
    SetDlgItemText(control, FieldText(field, record).c_str());
    if (HWND h = Item(this, control))
        ::InvalidateRect(h, NULL, TRUE);
}

void CDlgImgProcConfig::ShowValues(const IMG_PROC_SETTING& record)
{
    for (int field : kShowOrder) {
        const SLIDER& s = kSliders[field];
        if (field == 8)
            SliderRange(this, s.id, 1, 400);
        SliderSetPos(this, s.id, record.field[field]);
        ShowText(field, record);
    }
}

void CDlgImgProcConfig::OnSliderMoved(HWND slider)
{
    for (const SLIDER& s : kSliders) {
        if (Item(this, s.id) != slider)
            continue;
        if (s.field >= 2 && s.field <= 4) {
            for (int f = 2; f <= 4; ++f)
                m_work.field[f] = SliderPos(this, kSliders[f].id);
        } else {
            m_work.field[s.field] = SliderPos(this, s.id);
        }
        ShowText(s.field, m_work);
        MEDIA_CALL(T_SetImgProcSetting, 0, &m_work);
        return;
    }
}

void CDlgImgProcConfig::ReadSwitches(IMG_PROC_SETTING& record)
{
    for (int i = 0; i < 3; ++i)
        SetFlagByte(record, i, Checked(this, kSwitches[i]) ? 1 : 0);
}

void CDlgImgProcConfig::ApplyToOwner()
{
    ReadSwitches(*m_owner);
    for (const SLIDER& s : kSliders)
        m_owner->field[s.field] = SliderPos(this, s.id);
    m_work = *m_owner;
    MEDIA_CALL(T_SetImgProcSetting, 0, m_owner);
}

void CDlgImgProcConfig::SetDefaults()
{
    MEDIA_CALL(T_GetDefImgProcSetting, 0, &m_work);
    // The switches keep their states, so the working copy keeps them too.
    ReadSwitches(m_work);
    MEDIA_CALL(T_SetImgProcSetting, 0, &m_work);
    ShowValues(m_work);
    Invalidate();
}

void CDlgImgProcConfig::OnOK()
{
    ApplyToOwner();
    CSkinDialog::OnOK();
}

void CDlgImgProcConfig::OnCancel()
{
    MEDIA_CALL(T_SetImgProcSetting, 0, m_owner);
    CSkinDialog::OnCancel();
}

BOOL CDlgImgProcConfig::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (HIWORD(wParam) == BN_CLICKED) {
        UINT id = LOWORD(wParam);
        switch (id) {
        case IDC_IMG_APPLY:
            ApplyToOwner();
            return TRUE;
        case IDC_IMG_DEFAULT:
            SetDefaults();
            return TRUE;
        case IDC_IMG_DENOISE3D:
        case IDC_IMG_GRADUAL_ON:
        case IDC_IMG_POST_PROC:
            ReadSwitches(m_work);
            MEDIA_CALL(T_SetImgProcSetting, 0, &m_work);
            return TRUE;
        }
    }
    return CSkinDialog::OnCommand(wParam, lParam);
}

LRESULT CDlgImgProcConfig::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_HSCROLL && lParam) {
        OnSliderMoved((HWND)lParam);
        return 0;
    }
    return CSkinDialog::WindowProc(message, wParam, lParam);
}
