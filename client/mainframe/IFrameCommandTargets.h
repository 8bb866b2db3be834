#pragma once
#include <winsock2.h>
#include <windows.h>

#include <cstdint>
#include <string>

class CMenu;
class CWnd;

// The windows that the main window's commands open or drive but that other
// parts of the client build: the device, pan-tilt, screen-broadcast,
// meeting-settings, language and about dialogs, the left pane's control
// requests, the video wall and its camera panel, file transfer, remote
// control, the whiteboard and the recording timer. Each call is one step;
// the main window decides when it is allowed.
class IFrameCommandTargets
{
public:
    virtual ~IFrameCommandTargets() = default;

    // Recording: the save dialog (false on Cancel; path receives the file),
    // the timer dialog started and shown, or hidden when the recording ends,
    // the wall's videos handed to the recorder or taken back, and the left
    // pane's record button redrawn.
    virtual bool AskRecordingPath(CWnd* owner, const std::string& defaultName,
                                  std::string* path) = 0;
    virtual void StartRecordTimer() = 0;
    virtual void HideRecordTimer() = 0;
    virtual void RecordVideos(bool on) = 0;
    virtual void RedrawRecordButton() = 0;

    // File transfer between participants.
    virtual void StartFileSend() = 0;
    virtual void OpenReceiveFolder() = 0;

    // The left pane's request for the meeting control and its release.
    virtual void RequestControl() = 0;
    virtual void ReleaseControl() = 0;

    // Remote control of this computer: the participant controlling it (0
    // when it is not controlled), and the local end of it.
    virtual uint32_t GetControllingUser() = 0;
    virtual void EndControlled() = 0;

    // Dialogs. The device dialog is refreshed and centred before it shows.
    virtual bool IsDeviceDialogShown() = 0;
    virtual void ShowDeviceDialog(bool show) = 0;
    virtual void ShowAbout() = 0;
    virtual void ShowPanTiltSettings() = 0;
    virtual void ShowScreenConfig() = 0;
    // Modal; record is the main window's 1392-byte meeting state.
    virtual void ShowMeetingSettings(unsigned char* record, CWnd* owner) = 0;
    virtual void ShowLanguageDialog(CWnd* owner) = 0;

    // A popup menu at a screen point, its commands going to owner.
    virtual void TrackPopup(CMenu* menu, POINT screen, CWnd* owner) = 0;

    // The video wall: its popup for the user under a screen point, the camera
    // commands 1 to 6 (left, right, up, down, zoom in, zoom out) and their
    // stop, and emptying its windows when the window closes.
    virtual void PopupVideoMenu(POINT screen) = 0;
    virtual void SendCameraCommand(int command) = 0;
    virtual void StopCamera() = 0;
    virtual void ClearVideos() = 0;

    // The whiteboard's document transfers stop (the window closes).
    virtual void StopTransfers() = 0;

    // The screen-region capture saved to path (false when cancelled), and a
    // file opened in the whiteboard.
    virtual bool CaptureScreenRegion(const std::string& path) = 0;
    virtual void OpenWhiteboardDocument(const std::string& path) = 0;
};
