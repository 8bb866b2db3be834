#include "CDlgRecordTimer.h"

#include "CSettingsHost.h"
#include "SettingsResource.h"

#include <cstdio>

namespace {
const UINT_PTR kClockTimer = 1000;
time_t SystemNow() { return time(nullptr); }
} // namespace

CDlgRecordTimer::CDlgRecordTimer(CWnd* parent) : CDialog(IDD_RECORD_TIMER, parent), m_now(SystemNow)
{}

BOOL CDlgRecordTimer::Create(CWnd* parent) { return CDialog::Create(IDD_RECORD_TIMER, parent); }

BOOL CDlgRecordTimer::OnInitDialog()
{
    CDialog::OnInitDialog();
    for (int id = IDC_RECORD_VIDEO; id <= IDC_RECORD_USERS; ++id)
        CheckDlgButton(id, BST_CHECKED);
    SetDlgItemText(IDC_RECORD_TIME, m_time.c_str());
    SetDlgItemText(IDC_RECORD_SIZE, m_size.c_str());
    return TRUE;
}

std::string CDlgRecordTimer::FormatElapsed(long seconds)
{
    if (seconds < 0)
        seconds = 0;
    char text[32];
    snprintf(text, sizeof text, "%ld:%ld", seconds / 60, seconds % 60);
    return text;
}

void CDlgRecordTimer::Start()
{
    if (m_hWnd)
        SetTimer(kClockTimer, 1000, NULL);
    m_start = m_now();
}

void CDlgRecordTimer::Tick()
{
    m_time = FormatElapsed((long)(m_now() - m_start));
    if (m_hWnd) {
        SetDlgItemText(IDC_RECORD_TIME, m_time.c_str());
        SetDlgItemText(IDC_RECORD_SIZE, m_size.c_str());
    }
}

void CDlgRecordTimer::OnCancel()
{
    ShowWindow(SW_HIDE);
    GetSettingsHost()->StopRecording();
}

LRESULT CDlgRecordTimer::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_TIMER && wParam == kClockTimer) {
        Tick();
        return 0;
    }
    return CDialog::WindowProc(message, wParam, lParam);
}
