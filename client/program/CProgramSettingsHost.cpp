#include "CProgramSettingsHost.h"

#include "CMainFrame.h"
#include "CMainFrameCommands.h"
#include "IRecorder.h"
#include "MainFrameResource.h"

void CProgramSettingsHost::AddChatNotice(const char* text) { m_frame->AddSystemNotice(text); }

bool CProgramSettingsHost::IsRecording() { return m_frame->IsRecording(); }

void CProgramSettingsHost::RecordAddAudio(uint32_t user)
{
    IRecorder& recorder = m_frame->Commands().Recorder();
    if (recorder.IsRecording())
        recorder.AddAudio(user);
}

void CProgramSettingsHost::StopRecording()
{
    // The window's record command: the recording ends and the left pane's
    // record button follows.
    if (m_frame->IsRecording() && m_frame->GetSafeHwnd())
        m_frame->SendMessage(WM_COMMAND, ID_RECORD, 0);
}

void CProgramSettingsHost::OpenPictureInWhiteboard(const char* path)
{
    m_frame->OpenInWhiteboard(path);
}
