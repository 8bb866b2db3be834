#pragma once
#include "CIconButton.h"
#include "CLangDialog.h"
#include "afxwin.h"

#include <cstdint>

class CCameraController;

// The pan-tilt-zoom panel: turns presses of its arrow and zoom buttons into
// camera commands (0 stop, 1 left, 2 right, 3 up, 4 down, 5 zoom in, 6 zoom
// out), for the local camera through its controller or for another
// participant's camera through the server. A held button repeats its
// command every 100 ms.
class VideoControl_Dlg : public CLangDialog
{
public:
    enum { HOLD_TIMER = 1000, HOLD_INTERVAL = 100 };

    VideoControl_Dlg(CWnd* parent = nullptr);
    ~VideoControl_Dlg() override;

    BOOL Create(CWnd* parent = nullptr);
    // Set before Create: the panel makes its controller at initialisation.
    void SetCreateController(BOOL flag) { m_bCreateController = flag; }

    void SetPort(int port);
    void SetModel(int modelIndex);
    void SetTarget(long user) { m_target = user; }
    long GetTarget() const { return m_target; }
    void SendCommand(int command);
    void ExecuteCommand(int command);
    void OnRemoteCommand(const void* data, int length);
    void StopCamera();

    CCameraController* GetController() const { return m_pController; }
    int GetPort() const { return m_nPort; }
    int GetModel() const { return m_nModel; }
    int GetHeldCommand() const { return m_nHeld; }
    // The command of a panel button, -1 for none.
    static int CommandOfButton(UINT id);
    // One tick of the hold timer.
    void HoldTick();

protected:
    BOOL OnInitDialog() override;
    BOOL PreTranslateMessage(MSG* msg) override;
    void OnOK() override {}
    void OnCancel() override { ShowWindow(SW_HIDE); }
    afx_msg BOOL OnEraseBkgnd(CDC* dc);
    afx_msg void OnTimer(UINT id);
    afx_msg void OnOther();
    afx_msg void OnDestroy();
    DECLARE_MESSAGE_MAP()

private:
    CIconButton m_buttons[7];
    BOOL m_bCreateController = FALSE;
    CCameraController* m_pController = nullptr;
    int m_nPort = -1;
    int m_nModel = -1;
    long m_target = -1;
    int m_nHeld = -1;
};
