#pragma once
#include "IPaneHost.h"

class CMainFrame;
class CProgramPanes;

// The meeting panes' host in the program: the main window's meeting-state
// record, recording and layout control, the sharing pages, and the other
// panes the program's pane factory made.
class CFramePaneHost : public IPaneHost
{
public:
    CFramePaneHost(CMainFrame* frame, CProgramPanes* panes) : m_frame(frame), m_panes(panes) {}

    MEETING_STATE& GetMeetingState() override;
    bool IsRecording() override;
    void WriteChatLine(const char* line) override;
    void StartRecording() override;
    bool IsBroadcastingScreen() override;
    void EndScreenBroadcast() override;
    uint32_t GetRemoteControlledUser() override;
    void EndRemoteControl() override;
    // The running conversion and upload of a shared document.
    void StopDocumentTransfers() override;
    void DropSharingRights() override;
    void DropLayoutControl() override;
    void UpdateRemoteControlButtons() override {}
    void SelectChatRecipient(uint32_t userId) override;
    void StartFileSend(uint32_t userId) override;
    void ToggleVideoPolling() override;
    void ShowRoomList(POINT anchor) override;
    int GetVideoBitRate() override;
    void SelectOwnVideoDevice(int index) override;
    void ShowRemoteSettings(uint32_t userId) override;

private:
    CMainFrame* m_frame;
    CProgramPanes* m_panes;
};
