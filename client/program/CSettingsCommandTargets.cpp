#include "CSettingsCommandTargets.h"

#include "CDlgLeft.h"
#include "CMainFrame.h"
#include "CProgramPanes.h"
#include "CSettingsDialogs.h"
#include "CVideoWallPane.h"
#include "ClientLog.h"
#include "IFrameWhiteboard.h"

CSettingsCommandTargets::CSettingsCommandTargets(CMainFrame* frame, CProgramPanes* panes,
                                                 CSettingsDialogs* dialogs,
                                                 IFrameCommandTargets* next)
    : m_frame(frame), m_panes(panes), m_dialogs(dialogs), m_next(next)
{}

void CSettingsCommandTargets::StartRecordTimer() { m_dialogs->StartRecordTimer(); }

void CSettingsCommandTargets::HideRecordTimer() { m_dialogs->HideRecordTimer(); }

void CSettingsCommandTargets::RecordVideos(bool on)
{
    if (CVideoWallPane* wall = m_panes->VideoWall())
        wall->Wall().RecordVideos(on ? TRUE : FALSE);
}

void CSettingsCommandTargets::RedrawRecordButton()
{
    if (CDlgLeft* left = m_panes->LeftPane())
        left->ShowRecordState();
}

bool CSettingsCommandTargets::IsDeviceDialogShown()
{
    return m_dialogs->Device().GetSafeHwnd() && m_dialogs->Device().IsShown();
}

void CSettingsCommandTargets::ShowDeviceDialog(bool show)
{
    if (m_dialogs->Device().GetSafeHwnd() && show != IsDeviceDialogShown())
        m_dialogs->ToggleSystemSettings();
}

void CSettingsCommandTargets::ShowLanguageDialog(CWnd* owner)
{
    m_dialogs->RunLanguageDialog(owner);
}

void CSettingsCommandTargets::ShowPanTiltSettings()
{
    // The dialog lives hidden as long as the main window; the command only
    // brings it up, centred.
    CWnd* settings = m_frame->GetPane(PANE_PAN_TILT);
    if (!settings || !settings->GetSafeHwnd())
        return;
    settings->CenterWindow();
    settings->ShowWindow(SW_SHOW);
}

bool CSettingsCommandTargets::CaptureScreenRegion(const std::string& path)
{
    return m_dialogs->CaptureRegion(path);
}

void CSettingsCommandTargets::OpenWhiteboardDocument(const std::string& path)
{
    IFrameWhiteboard* board = m_frame->Whiteboard();
    if (!board || !board->OpenDocument(path.c_str()))
        g_Log.Write(0, "<CSettingsCommandTargets::OpenWhiteboardDocument> \"%s\" was not opened\n",
                    path.c_str());
}
