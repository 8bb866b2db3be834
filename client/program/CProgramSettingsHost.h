#pragma once
#include "CSettingsHost.h"

class CMainFrame;

// What the settings and media dialogs reach of the program's main window:
// notices go to its chat pane, the recording timer's "完成" ends the
// window's recording through its record command, the recorder is the
// window's, and a captured picture opens in its whiteboard. The rest is the
// base class's (the global connection and participant table).
class CProgramSettingsHost : public CSettingsHost
{
public:
    explicit CProgramSettingsHost(CMainFrame* frame) : m_frame(frame) {}

    void AddChatNotice(const char* text) override;
    bool IsRecording() override;
    void RecordAddAudio(uint32_t user) override;
    void StopRecording() override;
    void OpenPictureInWhiteboard(const char* path) override;

private:
    CMainFrame* m_frame;
};
