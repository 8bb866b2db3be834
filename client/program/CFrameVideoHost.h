#pragma once
#include "CVideoHost.h"

class CMainFrame;
class CProgramPanes;

// The video windows' host in the program: the main window's full-screen and
// big-video operations, its control right and big video window, and the
// panes the program's pane factory made (local video, camera panel, wall,
// left pane). Commands go out as the base class sends them.
class CFrameVideoHost : public CVideoHost
{
public:
    CFrameVideoHost(CMainFrame* frame, CProgramPanes* panes) : m_frame(frame), m_panes(panes) {}

    bool IsRecording() override;
    bool GetFullScreenVideoUser(uint32_t* user) override;
    void ShowUserFullScreen(uint32_t user, BOOL on) override;
    void LeaveFullScreen() override;
    void SetBigVideoUser(uint32_t user) override;
    void SetFirstVideoUser(uint32_t user) override;
    bool HasControlRight() override;
    CWnd* GetBigVideoWindow() override;
    CDlgLocalVideo* GetLocalVideo() override;
    VideoControl_Dlg* GetCameraPanel() override;
    CDlgRight* GetVideoWall() override;
    void RefreshUser(uint32_t user) override;
    // The settings of the own terminal, or of another participant's.
    void ShowDeviceDialog() override;
    void ShowRemoteDeviceDialog(uint32_t user) override;

private:
    CMainFrame* m_frame;
    CProgramPanes* m_panes;
};
