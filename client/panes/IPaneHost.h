#pragma once
#include <winsock2.h>
#include <windows.h>

#include <cstdint>

struct MEETING_STATE;

// What the meeting panes need of the main window that owns them: the
// meeting-state record it holds, its recording, what giving up the meeting
// control takes away, and the other panes a pane reaches through it. Called
// on the UI thread only.
class IPaneHost
{
public:
    virtual ~IPaneHost() = default;

    // The meeting-state record the window holds (replaced by each 4358).
    virtual MEETING_STATE& GetMeetingState() = 0;

    // Recording: whether one runs, the chat stream of the recorder (kind 0,
    // a shown line ending in CR LF), and the start through the window's own
    // recording command (save dialog and the recorder's start).
    virtual bool IsRecording() = 0;
    virtual void WriteChatLine(const char* line) = 0;
    virtual void StartRecording() = 0;

    // What the meeting control carried, ended when it is given up.
    virtual bool IsBroadcastingScreen() = 0;
    virtual void EndScreenBroadcast() = 0;
    // The participant whose computer is remotely controlled, 0 for none.
    virtual uint32_t GetRemoteControlledUser() = 0;
    virtual void EndRemoteControl() = 0;
    virtual void StopDocumentTransfers() = 0;
    // The presentation board and co-browsing lose the control right, the
    // whiteboard the edit right.
    virtual void DropSharingRights() = 0;
    virtual void DropLayoutControl() = 0;
    // The remote-control manager's buttons follow the own control state.
    virtual void UpdateRemoteControlButtons() = 0;

    // Other panes.
    virtual void SelectChatRecipient(uint32_t userId) = 0;
    virtual void StartFileSend(uint32_t userId) = 0;
    virtual void ToggleVideoPolling() = 0;
    // Shows the meeting-room list with its right edge at anchor.x and its top
    // at anchor.y (screen coordinates), keeping its size.
    virtual void ShowRoomList(POINT anchor) = 0;
    // The video wall's bit rate in kbit/s (sum of its counters).
    virtual int GetVideoBitRate() = 0;
    // The chair's choice of the own video device (index 0 to 19), and
    // another participant's device settings.
    virtual void SelectOwnVideoDevice(int /*index*/) {}
    virtual void ShowRemoteSettings(uint32_t /*userId*/) {}
};
