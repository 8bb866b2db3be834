#pragma once
#include "CSkinButton.h"

#include "afxwin.h"

class IFrameHost;

// The small bar shown while the main window covers the screen: its one
// button brings the window back.
class CDlgRestoreBar : public CDialog
{
public:
    CDlgRestoreBar();
    BOOL CreateBar(CWnd* parent, IFrameHost* host);
    // Centred at the top of the screen and shown.
    void ShowCentred();

protected:
    BOOL OnInitDialog() override;
    afx_msg void OnRestore();
    void OnOK() override {}
    void OnCancel() override {}
    DECLARE_MESSAGE_MAP()

private:
    IFrameHost* m_host = nullptr;
    CSkinButton m_restore;
};
