#pragma once
#include "afxwin.h"

#include <cstdint>

class CDlgLocalVideo;
class CDlgRight;
class CDlgRemoteVideo;
class VideoControl_Dlg;

// What the video windows, the video wall and the camera panel need of the
// main window and the connection. The main window installs its own host
// (SetVideoHost) and overrides what it does differently; this base gives the
// behaviour that needs no main window: commands go through the global
// command manager, the control right is read from the login and the
// participant table, and no recording runs.
class CVideoHost
{
public:
    virtual ~CVideoHost() {}

    // The main window's state and layout operations.
    virtual bool IsRecording();
    // True while the main window shows one participant's video over the
    // whole screen; user receives who.
    virtual bool GetFullScreenVideoUser(uint32_t* user);
    virtual void ShowUserFullScreen(uint32_t user, BOOL on);
    virtual void LeaveFullScreen();
    virtual void SetBigVideoUser(uint32_t user);
    virtual void SetFirstVideoUser(uint32_t user);
    virtual bool HasControlRight();

    // The big video window that takes one enlarged video window at a time
    // (null: none exists), and which video window sits in it.
    virtual CWnd* GetBigVideoWindow();
    virtual CDlgRemoteVideo* GetEnlargedVideo();
    virtual void SetEnlargedVideo(CDlgRemoteVideo* window);

    // Other panes.
    virtual CDlgLocalVideo* GetLocalVideo();
    virtual VideoControl_Dlg* GetCameraPanel();
    virtual CDlgRight* GetVideoWall();
    virtual void RefreshUser(uint32_t user);
    virtual void ShowDeviceDialog();
    virtual void ShowRemoteDeviceDialog(uint32_t user);
    virtual void ShowMessage(const char* text);

    // Commands to the server.
    virtual bool SendStopVideoNotice(uint32_t user, uint16_t first, uint16_t second);
    virtual bool SendVideoBroadcast(uint32_t user, uint8_t on);
    virtual bool SendCommand2068(uint32_t user);
    virtual bool SendCameraControl(uint32_t target, const void* bytes, uint8_t length);

protected:
    CDlgRemoteVideo* m_pEnlarged = nullptr;
};

// The host in use: the installed one, else a default one.
CVideoHost* GetVideoHost();
// Installs a host (null: back to the default); the caller keeps it alive.
void SetVideoHost(CVideoHost* host);
