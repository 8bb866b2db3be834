#pragma once
#include "CDlgCameraConfig.h"
#include "afxwin.h"

// The pan-tilt camera settings dialog (caption "云台设置"): one page with
// the control port and the camera model. OK stores what changed and hands
// it to the camera panel; the dialog is only shown and hidden.
class CDlgPanTiltSettings : public CDialog
{
public:
    CDlgPanTiltSettings(CWnd* parent = nullptr);

    BOOL Create(CWnd* parent);
    CDlgCameraConfig& GetPage() { return m_page; }
    void Apply();

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

private:
    CDlgCameraConfig m_page;
};
