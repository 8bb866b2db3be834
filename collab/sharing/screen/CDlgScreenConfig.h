#pragma once
#include "CLangDialog.h"

// The screen-broadcast settings of the main window: compression, a bound on
// the traffic and the delay on a poor network. The choices are kept in the
// dialog's controls.
class CDlgScreenConfig : public CLangDialog
{
public:
    enum : UINT { IDD = 592 };

    explicit CDlgScreenConfig(CWnd* parent = NULL);
    BOOL CreateHidden(CWnd* parent);

    int GetCompression() const;
    int GetRateLimit() const;
    bool GetDelayOnPoorNetwork() const;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    DECLARE_MESSAGE_MAP()

private:
    CComboBox m_compression;
    CComboBox m_rate;
};
