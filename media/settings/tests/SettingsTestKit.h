#pragma once
// Shared parts of the settings dialog tests: stand-ins for the audio
// manager's and the video library's functions in the bound table, and a host
// that records what the dialogs ask of the main window and the server.
#include "CSettingsHost.h"
#include "CUserTable.h"
#include "SettingsCalls.h"
#include "afxwin.h"

#include <cstdint>
#include <string>
#include <vector>

namespace settingstest {

// What the stand-in libraries offer; reset by InstallMediaFakes.
struct FAKE_MEDIA
{
    std::vector<std::string> captureDevices{"Mic A", "Mic B"};
    std::vector<std::string> playDevices{"Speaker A", "Speaker B"};
    std::vector<std::string> formats{"G.722.1", "PCM", "GSM"};
    int fecLevels = 3;
    bool captureStarts = true;
    bool playStarts = true;
    std::vector<std::string> videoDevices{"Camera A", "Camera B", "Camera C"};
    std::vector<std::string> encoders{"H.263", "MPEG-4"};
    std::vector<std::string> inputs{"Composite", "S-Video"};
    bool videoStarts = true;
    IMG_PROC_SETTING defaults = {};
};
FAKE_MEDIA& Media();

// Every call of a stand-in, as text ("AUDIO_MGR_StartCapture 1").
std::vector<std::string>& Calls();
void ClearCalls();
// The calls that begin with prefix.
std::vector<std::string> CallsOf(const std::string& prefix);
void InstallMediaFakes();
void UninstallMediaFakes();
// The format code the stand-in gives for a format index.
unsigned char FormatCode(int index);

class CTestSettingsHost : public CSettingsHost
{
public:
    CTestSettingsHost();
    ~CTestSettingsHost() override;

    struct Sent
    {
        uint32_t user;
        std::vector<uint8_t> data;
    };
    uint32_t ownId = 1;
    CUserTable users;
    std::vector<std::string> events;   // device states, notices, window calls, in order
    std::vector<std::string> messages; // message boxes
    std::vector<Sent> sent;            // command 2109
    bool recording = false;
    bool sendWorks = true;

    // Counts the device-state reports among the events.
    int Reports() const;
    // The i-th device-state report ("report a v n i"), or "" when there is none.
    std::string Report(int i = 0) const;

    uint32_t OwnId() override { return ownId; }
    CUserTable& Users() override { return users; }
    bool SendDeviceState(uint8_t hasAudio, uint8_t hasVideo, uint8_t count, uint8_t index) override;
    bool SendToUser(uint32_t user, const void* data, uint16_t length) override;
    void AddChatNotice(const char* text) override
    {
        events.push_back(std::string("notice ") + text);
    }
    void ShowMessage(const char* text) override { messages.push_back(text); }
    void RemoveVideoWindow(uint32_t user) override
    {
        events.push_back("remove " + std::to_string(user));
    }
    void RedrawUser(uint32_t user) override { events.push_back("redraw " + std::to_string(user)); }
    void ShowChatMessageButton(bool show) override
    {
        events.push_back(show ? "button on" : "button off");
    }
    bool IsRecording() override { return recording; }
    void RecordAddAudio(uint32_t user) override
    {
        events.push_back("record audio " + std::to_string(user));
    }
    void StopRecording() override { events.push_back("stop recording"); }
    std::string TempFolder() override { return temp; }
    void OpenPictureInWhiteboard(const char* path) override
    {
        events.push_back(std::string("whiteboard ") + path);
    }

    std::string temp;
};

// A plain top-level window to own the dialogs under test.
class CTopWindow : public CWnd
{
public:
    BOOL Make(int cx = 640, int cy = 480);
    ~CTopWindow() override;
};

} // namespace settingstest
