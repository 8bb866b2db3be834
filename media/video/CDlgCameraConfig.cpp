#include "CDlgCameraConfig.h"

#include "CClientSettings.h"
#include "CameraModels.h"
#include "MediaVideoResource.h"

CDlgCameraConfig::CDlgCameraConfig(CWnd* parent)
    : CLangDialog(IDD_CAMERA_CONFIG, "CDlgCameraConfig", parent)
{}

BOOL CDlgCameraConfig::Create(CWnd* parent) { return CDialog::Create(IDD_CAMERA_CONFIG, parent); }

BOOL CDlgCameraConfig::OnInitDialog()
{
    CLangDialog::OnInitDialog();
    m_port.SubclassDlgItem(IDC_CAMERA_PORT_LIST, this);
    m_model.SubclassDlgItem(IDC_CAMERA_MODEL_LIST, this);
    m_baud.SubclassDlgItem(IDC_CAMERA_BAUD_LIST, this);
    m_port.AddString("COM1:");
    m_port.AddString("COM2:");
    if (g_Settings.videoControlPort < 1 || g_Settings.videoControlPort > 2)
        g_Settings.videoControlPort = 1;
    m_port.SetCurSel((int)g_Settings.videoControlPort - 1);
    for (int i = 0; i < CAMERA_MODEL_COUNT; ++i)
        m_model.AddString(g_CameraModels[i].name);
    if (g_Settings.cameraType > 3)
        g_Settings.cameraType = 0;
    m_model.SetCurSel((int)g_Settings.cameraType);
    for (const char* rate : {"1200", "2400", "4800", "9600", "19200"})
        m_baud.AddString(rate);
    m_baud.SetCurSel(m_nBaud);
    return TRUE;
}

int CDlgCameraConfig::GetSelectedPort() const
{
    int sel = m_port.m_hWnd ? m_port.GetCurSel() : -1;
    return sel < 0 ? 1 : sel + 1;
}

int CDlgCameraConfig::GetSelectedModel() const
{
    int sel = m_model.m_hWnd ? m_model.GetCurSel() : -1;
    return sel < 0 ? 0 : sel;
}
