#pragma once
// Shared parts of the video window tests: a host that records what the
// windows ask of the main window and the server, and stand-ins for the
// video library's and the recorder's functions in the bound table.
#include "CVideoHost.h"
#include "afxwin.h"

#include <cstdint>
#include <string>
#include <vector>

namespace videotest {

// Every call of a stand-in function, as text ("T_R_SetPreviewPos 0,0,300,200").
std::vector<std::string>& Calls();
int CountCalls(const std::string& prefix);
// Installs the stand-ins into g_MediaFunctions (and clears the call list);
// Uninstall empties the table again.
void InstallMediaFakes();
void UninstallMediaFakes();
// Makes T_R_StartPreview or T_R_BindLocalPort fail.
void FailReceiverStart(bool fail);
void FailBindLocalPort(bool fail);
// Calls the recording callback that the last T_S_SetRecord or T_R_SetRecord
// registered, as the library does for each shown frame.
void DeliverRecordedFrame(const unsigned char* frame, int length);

class CTestHost : public CVideoHost
{
public:
    CTestHost() { SetVideoHost(this); }
    ~CTestHost() override { SetVideoHost(nullptr); }

    struct Notice
    {
        uint32_t user;
        uint16_t first, second;
    };
    std::vector<Notice> notices;
    std::vector<std::string> events;
    std::vector<std::string> messages;
    std::vector<std::vector<uint8_t>> cameraCommands;
    bool recording = false;
    bool controlRight = true;
    bool fullScreenMode = false;
    uint32_t fullScreenUser = 0;
    CWnd* bigWindow = nullptr;
    CDlgLocalVideo* local = nullptr;
    VideoControl_Dlg* panel = nullptr;
    CDlgRight* wall = nullptr;

    bool IsRecording() override { return recording; }
    bool GetFullScreenVideoUser(uint32_t* user) override
    {
        *user = fullScreenUser;
        return fullScreenMode;
    }
    void ShowUserFullScreen(uint32_t user, BOOL on) override;
    void LeaveFullScreen() override { events.push_back("LeaveFullScreen"); }
    void SetBigVideoUser(uint32_t user) override
    {
        events.push_back("SetBigVideoUser " + std::to_string(user));
    }
    void SetFirstVideoUser(uint32_t user) override
    {
        events.push_back("SetFirstVideoUser " + std::to_string(user));
    }
    bool HasControlRight() override { return controlRight; }
    CWnd* GetBigVideoWindow() override { return bigWindow; }
    CDlgLocalVideo* GetLocalVideo() override { return local; }
    VideoControl_Dlg* GetCameraPanel() override { return panel; }
    CDlgRight* GetVideoWall() override { return wall; }
    void RefreshUser(uint32_t user) override
    {
        events.push_back("RefreshUser " + std::to_string(user));
    }
    void ShowDeviceDialog() override { events.push_back("ShowDeviceDialog"); }
    void ShowRemoteDeviceDialog(uint32_t user) override
    {
        events.push_back("ShowRemoteDeviceDialog " + std::to_string(user));
    }
    void ShowMessage(const char* text) override { messages.push_back(text); }
    bool SendStopVideoNotice(uint32_t user, uint16_t first, uint16_t second) override
    {
        notices.push_back({user, first, second});
        return true;
    }
    bool SendVideoBroadcast(uint32_t user, uint8_t on) override
    {
        events.push_back("SendVideoBroadcast " + std::to_string(user) + " " + std::to_string(on));
        return true;
    }
    bool SendCommand2068(uint32_t user) override
    {
        events.push_back("SendCommand2068 " + std::to_string(user));
        return true;
    }
    bool SendCameraControl(uint32_t target, const void* bytes, uint8_t length) override
    {
        const uint8_t* b = static_cast<const uint8_t*>(bytes);
        std::vector<uint8_t> command(b, b + length);
        command.insert(command.begin(), (uint8_t)target);
        cameraCommands.push_back(command);
        return true;
    }
};

// A plain top-level window to hold the windows under test.
class CTopWindow : public CWnd
{
public:
    BOOL Make(int cx = 640, int cy = 480);
    ~CTopWindow() override;
};

// Participants of the table and the own login for a test; emptied at the end.
class CMeeting
{
public:
    CMeeting(uint32_t ownId, uint8_t ownRole);
    ~CMeeting();
    void Add(uint32_t id, const char* name, uint8_t role = 2);
};

} // namespace videotest
