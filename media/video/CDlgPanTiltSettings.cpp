#include "CDlgPanTiltSettings.h"

#include "CClientSettings.h"
#include "CVideoHost.h"
#include "MediaVideoResource.h"
#include "VideoControl_Dlg.h"

CDlgPanTiltSettings::CDlgPanTiltSettings(CWnd* parent) : CDialog(IDD_PAN_TILT_SETTINGS, parent) {}

BOOL CDlgPanTiltSettings::Create(CWnd* parent)
{
    return CDialog::Create(IDD_PAN_TILT_SETTINGS, parent);
}

BOOL CDlgPanTiltSettings::OnInitDialog()
{
    CDialog::OnInitDialog();
    if (m_page.Create(this))
        m_page.SetWindowPos(NULL, 0, 0, 364, 116, SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    return TRUE;
}

void CDlgPanTiltSettings::Apply()
{
    VideoControl_Dlg* panel = GetVideoHost()->GetCameraPanel();
    int port = m_page.GetSelectedPort();
    if ((DWORD)port != g_Settings.videoControlPort) {
        g_Settings.videoControlPort = (DWORD)port;
        if (panel)
            panel->SetPort(port);
    }
    int model = m_page.GetSelectedModel();
    if ((DWORD)model != g_Settings.cameraType) {
        g_Settings.cameraType = (DWORD)model;
        if (panel)
            panel->SetModel(model);
    }
}

void CDlgPanTiltSettings::OnOK()
{
    Apply();
    ShowWindow(SW_HIDE);
}

void CDlgPanTiltSettings::OnCancel() { ShowWindow(SW_HIDE); }
