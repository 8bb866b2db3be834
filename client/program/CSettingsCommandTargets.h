#pragma once
#include "IFrameCommandTargets.h"

class CMainFrame;
class CProgramPanes;
class CSettingsDialogs;

// The main window's command targets once the settings and media dialogs
// exist: the system settings, pan-tilt settings, language dialog,
// screen-region capture and recording timer are the real dialogs, a
// captured picture opens in the whiteboard page, and the video wall and the
// left pane follow the recording. Every other target goes on to the
// targets the window had before (next), so other parts can put theirs in
// front or behind.
class CSettingsCommandTargets : public IFrameCommandTargets
{
public:
    CSettingsCommandTargets(CMainFrame* frame, CProgramPanes* panes, CSettingsDialogs* dialogs,
                            IFrameCommandTargets* next);

    // Recording.
    bool AskRecordingPath(CWnd* owner, const std::string& defaultName, std::string* path) override
    {
        return m_next->AskRecordingPath(owner, defaultName, path);
    }
    void StartRecordTimer() override;
    void HideRecordTimer() override;
    void RecordVideos(bool on) override;
    void RedrawRecordButton() override;

    // Dialogs.
    bool IsDeviceDialogShown() override;
    void ShowDeviceDialog(bool show) override;
    void ShowLanguageDialog(CWnd* owner) override;
    void ShowPanTiltSettings() override;
    bool CaptureScreenRegion(const std::string& path) override;
    void OpenWhiteboardDocument(const std::string& path) override;

    // The rest, unchanged.
    void StartFileSend() override { m_next->StartFileSend(); }
    void OpenReceiveFolder() override { m_next->OpenReceiveFolder(); }
    void RequestControl() override { m_next->RequestControl(); }
    void ReleaseControl() override { m_next->ReleaseControl(); }
    uint32_t GetControllingUser() override { return m_next->GetControllingUser(); }
    void EndControlled() override { m_next->EndControlled(); }
    void ShowAbout() override { m_next->ShowAbout(); }
    void ShowScreenConfig() override { m_next->ShowScreenConfig(); }
    void ShowMeetingSettings(unsigned char* record, CWnd* owner) override
    {
        m_next->ShowMeetingSettings(record, owner);
    }
    void TrackPopup(CMenu* menu, POINT screen, CWnd* owner) override
    {
        m_next->TrackPopup(menu, screen, owner);
    }
    void PopupVideoMenu(POINT screen) override { m_next->PopupVideoMenu(screen); }
    void SendCameraCommand(int command) override { m_next->SendCameraCommand(command); }
    void StopCamera() override { m_next->StopCamera(); }
    void ClearVideos() override { m_next->ClearVideos(); }
    void StopTransfers() override { m_next->StopTransfers(); }

private:
    CMainFrame* m_frame;
    CProgramPanes* m_panes;
    CSettingsDialogs* m_dialogs;
    IFrameCommandTargets* m_next;
};
