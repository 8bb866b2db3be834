#pragma once
#include "afxwin.h"

// The volume popup of the left pane: the microphone and meeting volume
// sliders with their mute boxes. It hides itself as soon as another window
// is activated.
class CDlgVolume : public CDialog
{
public:
    CDlgVolume();
    // Created hidden, the main window as parent.
    BOOL CreatePopup(CWnd* parent);

protected:
    afx_msg void OnActivate(UINT state, CWnd* other, BOOL minimized);
    void OnOK() override {}
    void OnCancel() override { ShowWindow(SW_HIDE); }
    DECLARE_MESSAGE_MAP()
};
