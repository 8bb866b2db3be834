#pragma once
#include "IFrameCommandTargets.h"

// The targets the main window has until the windows of the other parts are
// given to it: the save dialog, the about box, popup tracking and the
// meeting-settings dialog are real; every other target does nothing.
class CFrameCommandTargets : public IFrameCommandTargets
{
public:
    bool AskRecordingPath(CWnd* owner, const std::string& defaultName, std::string* path) override;
    void StartRecordTimer() override {}
    void HideRecordTimer() override {}
    void RecordVideos(bool) override {}
    void RedrawRecordButton() override {}
    void StartFileSend() override {}
    void OpenReceiveFolder() override {}
    void RequestControl() override {}
    void ReleaseControl() override {}
    uint32_t GetControllingUser() override { return 0; }
    void EndControlled() override {}
    bool IsDeviceDialogShown() override { return false; }
    void ShowDeviceDialog(bool) override {}
    void ShowAbout() override;
    void ShowPanTiltSettings() override {}
    void ShowScreenConfig() override {}
    void ShowMeetingSettings(unsigned char* record, CWnd* owner) override;
    void ShowLanguageDialog(CWnd*) override {}
    void TrackPopup(CMenu* menu, POINT screen, CWnd* owner) override;
    void PopupVideoMenu(POINT) override {}
    void SendCameraCommand(int) override {}
    void StopCamera() override {}
    void ClearVideos() override {}
    void StopTransfers() override {}
    bool CaptureScreenRegion(const std::string&) override { return false; }
    void OpenWhiteboardDocument(const std::string&) override {}
};
