#include "CFramePaneHost.h"

#include "CDlgChat.h"
#include "CDocTransfer.h"
#include "CMainFrame.h"
#include "CMainFrameCommands.h"
#include "CProgramPanes.h"
#include "CProgramSharing.h"
#include "CProgramSettings.h"
#include "IRecorder.h"
#include "CVideoWallPane.h"
#include "ClientLog.h"
#include "MainFrameResource.h"
#include "MeetingState.h"

MEETING_STATE& CFramePaneHost::GetMeetingState()
{
    // The window holds the record as its 1392 packed bytes.
    return *reinterpret_cast<MEETING_STATE*>(m_frame->MeetingState());
}

bool CFramePaneHost::IsRecording() { return m_frame->IsRecording(); }

void CFramePaneHost::WriteChatLine(const char* line)
{
    IRecorder& recorder = m_frame->Commands().Recorder();
    if (line && recorder.IsRecording())
        recorder.WriteChatData(line, 0);
}

void CFramePaneHost::StartRecording()
{
    // The main window's own recording command (save dialog, recorder start).
    m_frame->PostMessage(WM_COMMAND, ID_RECORD, 0);
}

void CFramePaneHost::DropLayoutControl() { m_frame->DropLayoutControl(); }

void CFramePaneHost::SelectChatRecipient(uint32_t userId)
{
    if (CDlgChat* chat = m_panes->ChatPane())
        chat->SelectRecipient(userId);
}

bool CFramePaneHost::IsBroadcastingScreen() { return m_panes->Sharing().IsBroadcastingScreen(); }

void CFramePaneHost::EndScreenBroadcast() { m_panes->Sharing().EndScreenBroadcast(); }

uint32_t CFramePaneHost::GetRemoteControlledUser()
{
    return m_panes->Sharing().GetRemoteControlledUser();
}

void CFramePaneHost::EndRemoteControl() { m_panes->Sharing().EndRemoteControl(); }

void CFramePaneHost::StopDocumentTransfers() { CDocTransfer::Instance().Stop(); }

void CFramePaneHost::DropSharingRights() { m_panes->Sharing().DropSharingRights(); }

void CFramePaneHost::StartFileSend(uint32_t userId) { m_panes->Sharing().StartFileSend(userId); }

void CFramePaneHost::ToggleVideoPolling()
{
    if (CVideoWallPane* wall = m_panes->VideoWall())
        wall->Wall().TogglePolling();
}

void CFramePaneHost::ShowRoomList(POINT anchor)
{
    CWnd* list = m_frame->GetPane(PANE_ROOM_LIST);
    if (!list || !list->GetSafeHwnd())
        return;
    CRect rect;
    list->GetWindowRect(&rect);
    list->SetWindowPos(nullptr, anchor.x - rect.Width(), anchor.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    list->ShowWindow(SW_SHOW);
}

void CFramePaneHost::SelectOwnVideoDevice(int index)
{
    m_panes->Settings().Dialogs().SelectVideoDevice(index);
}

void CFramePaneHost::ShowRemoteSettings(uint32_t userId)
{
    m_panes->Settings().Dialogs().ShowRemoteSettings(userId);
}

int CFramePaneHost::GetVideoBitRate()
{
    CVideoWallPane* wall = m_panes->VideoWall();
    return wall ? wall->Wall().SumWindowCounters() : 0;
}
