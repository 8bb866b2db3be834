#pragma once
#include "IFrameCommandTargets.h"

#include <memory>

class CProgramSharing;

// The main window's command targets with the sharing ones filled in: file
// sending and the receive folder, the end of a remote control of this
// computer and the screen-broadcast settings go to the program's sharing
// pages; every other target goes to the targets it wraps.
class CSharingCommandTargets : public IFrameCommandTargets
{
public:
    // inner: the targets for everything else (null: the frame's defaults).
    explicit CSharingCommandTargets(IFrameCommandTargets* inner = nullptr);
    ~CSharingCommandTargets() override;

    // The sharing pages the calls reach (null: those calls do nothing).
    void SetSharing(CProgramSharing* sharing) { m_sharing = sharing; }

    void StartFileSend() override;
    void OpenReceiveFolder() override;
    uint32_t GetControllingUser() override;
    void EndControlled() override;
    void ShowScreenConfig() override;

    bool AskRecordingPath(CWnd* owner, const std::string& defaultName, std::string* path) override
    {
        return m_inner->AskRecordingPath(owner, defaultName, path);
    }
    void StartRecordTimer() override { m_inner->StartRecordTimer(); }
    void HideRecordTimer() override { m_inner->HideRecordTimer(); }
    void RecordVideos(bool on) override { m_inner->RecordVideos(on); }
    void RedrawRecordButton() override { m_inner->RedrawRecordButton(); }
    void RequestControl() override { m_inner->RequestControl(); }
    void ReleaseControl() override { m_inner->ReleaseControl(); }
    bool IsDeviceDialogShown() override { return m_inner->IsDeviceDialogShown(); }
    void ShowDeviceDialog(bool show) override { m_inner->ShowDeviceDialog(show); }
    void ShowAbout() override { m_inner->ShowAbout(); }
    void ShowPanTiltSettings() override { m_inner->ShowPanTiltSettings(); }
    void ShowMeetingSettings(unsigned char* record, CWnd* owner) override
    {
        m_inner->ShowMeetingSettings(record, owner);
    }
    void ShowLanguageDialog(CWnd* owner) override { m_inner->ShowLanguageDialog(owner); }
    void TrackPopup(CMenu* menu, POINT screen, CWnd* owner) override
    {
        m_inner->TrackPopup(menu, screen, owner);
    }
    void PopupVideoMenu(POINT screen) override { m_inner->PopupVideoMenu(screen); }
    void SendCameraCommand(int command) override { m_inner->SendCameraCommand(command); }
    void StopCamera() override { m_inner->StopCamera(); }
    void ClearVideos() override { m_inner->ClearVideos(); }
    void StopTransfers() override { m_inner->StopTransfers(); }
    bool CaptureScreenRegion(const std::string& path) override
    {
        return m_inner->CaptureScreenRegion(path);
    }
    void OpenWhiteboardDocument(const std::string& path) override
    {
        m_inner->OpenWhiteboardDocument(path);
    }

private:
    std::unique_ptr<IFrameCommandTargets> m_ownInner;
    IFrameCommandTargets* m_inner;
    CProgramSharing* m_sharing = nullptr;
};
