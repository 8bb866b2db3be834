#pragma once
#include "CLangDialog.h"
#include "afxwin.h"

// The page of the pan-tilt settings: control port, camera model and the
// baud rate list.
class CDlgCameraConfig : public CLangDialog
{
public:
    CDlgCameraConfig(CWnd* parent = nullptr);

    BOOL Create(CWnd* parent);
    int GetSelectedPort() const;  // 1 or 2
    int GetSelectedModel() const; // model row
    int GetBaudIndex() const { return m_nBaud; }

protected:
    BOOL OnInitDialog() override;
    void OnOK() override {}
    void OnCancel() override {}

private:
    CComboBox m_port;
    CComboBox m_model;
    CComboBox m_baud;
    int m_nBaud = 0;
};
