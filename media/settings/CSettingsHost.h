#pragma once
#include "afxwin.h"

#include <cstddef>
#include <cstdint>
#include <string>

class CUserTable;

// What the settings and media dialogs need of the main window and the
// connection. This base does what needs no main window: commands go through
// the global command manager, the participants are the global table, notices
// go to the log. The main window installs its own host (SetSettingsHost) for
// the chat notices, the video wall and the whiteboard.
class CSettingsHost
{
public:
    virtual ~CSettingsHost() {}

    virtual uint32_t OwnId();
    virtual CUserTable& Users();

    // Command 2049: the terminal's device state (wire order: has audio, has
    // video, video device count, selected video device).
    virtual bool SendDeviceState(uint8_t hasAudio, uint8_t hasVideo, uint8_t count, uint8_t index);
    // Command 2109 to one participant.
    virtual bool SendToUser(uint32_t user, const void* data, uint16_t length);

    // A line in the chat pane ("初始化音频成功。").
    virtual void AddChatNotice(const char* text);
    // An information box without owner.
    virtual void ShowMessage(const char* text);

    // The own video window leaves the wall; the participants pane redraws a line.
    virtual void RemoveVideoWindow(uint32_t user);
    virtual void RedrawUser(uint32_t user);
    // The chat pane's message button (options page).
    virtual void ShowChatMessageButton(bool show);

    // The meeting recorder.
    virtual bool IsRecording();
    virtual void RecordAddAudio(uint32_t user);
    // The recording timer's "完成": the main window stops the recording.
    virtual void StopRecording();

    // The folder for temporary files, with its trailing backslash.
    virtual std::string TempFolder();
    // A saved screen picture goes to the whiteboard.
    virtual void OpenPictureInWhiteboard(const char* path);
};

// The host in use: the installed one, else a default one.
CSettingsHost* GetSettingsHost();
// Installs a host (null: back to the default); the caller keeps it alive.
void SetSettingsHost(CSettingsHost* host);
