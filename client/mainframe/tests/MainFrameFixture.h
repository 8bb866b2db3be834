#pragma once
#include "CBufferPool.h"
#include "CCommandLine.h"
#include "CMainFrame.h"
#include "CStandInPanes.h"
#include "CStandInVideoWall.h"
#include "CTestKit.h"
#include "CUserTable.h"
#include "IFrameCommandTargets.h"
#include "IFrameLink.h"
#include "IFrameMedia.h"
#include "IFrameRecorder.h"
#include "IFrameSenders.h"
#include "IProcessLauncher.h"
#include "MainFrameResource.h"

#include <cstring>
#include <string>
#include <vector>

namespace mainframetest {

// The command connection as the main window sees it: a queue the test fills
// and the senders it records.
class FakeLink : public IFrameLink
{
public:
    FakeLink() : queue(4, 512) {}
    CBufferPool* ReceivedQueue() override { return &queue; }
    bool SendStartNotice() override
    {
        ++startNotices;
        return true;
    }
    bool SendKeepAlive() override
    {
        ++keepAlives;
        return true;
    }
    bool SendWindowLayout(const void* record, uint8_t length) override
    {
        const unsigned char* p = static_cast<const unsigned char*>(record);
        layouts.emplace_back(p, p + length);
        return true;
    }
    bool SendWhiteboardData(const void* data, uint16_t length) override
    {
        const unsigned char* p = static_cast<const unsigned char*>(data);
        board.emplace_back(p, p + length);
        return true;
    }
    void Close() override
    {
        ++closes;
        if (journal)
            journal->push_back("Close");
    }
    // Queues one received message (empty: the connection is lost).
    void Receive(const std::vector<unsigned char>& bytes)
    {
        CQueueBuffer* b = queue.GetFree(0);
        ASSERT_NE(nullptr, b);
        if (!bytes.empty())
            memcpy(b->GetData(), bytes.data(), bytes.size());
        b->SetLength((uint32_t)bytes.size());
        queue.PutFilled(b);
    }

    CBufferPool queue;
    int startNotices = 0;
    int keepAlives = 0;
    int closes = 0;
    std::vector<std::vector<unsigned char>> layouts;
    std::vector<std::vector<unsigned char>> board;
    std::vector<std::string>* journal = nullptr;
};

class FakeMedia : public IFrameMedia
{
public:
    bool ConnectAudio(uint32_t room, uint32_t user, const char* server, uint16_t port) override
    {
        connects.push_back(std::to_string(room) + "/" + std::to_string(user) + "/" + server + "/" +
                           std::to_string(port));
        return connectResult;
    }
    void StopAll() override { ++stops; }
    bool connectResult = true;
    std::vector<std::string> connects;
    int stops = 0;
};

class FakeLauncher : public IProcessLauncher
{
public:
    bool Start(const char* program, const std::string& line) override
    {
        starts.push_back(line);
        return program == nullptr;
    }
    bool ShellOpen(const char* target) override
    {
        opens.push_back(target);
        return true;
    }
    std::vector<std::string> starts;
    std::vector<std::string> opens;
};

// The menu's senders, each message kept as its code and bytes.
class FakeSenders : public IFrameSenders
{
public:
    bool SendMeetingMode(uint8_t mode) override { return Keep(2053, {mode}); }
    bool SendLockMeeting(uint8_t flag) override { return Keep(2054, {flag}); }
    bool SendMeetingState(const void* record) override
    {
        const unsigned char* p = static_cast<const unsigned char*>(record);
        return Keep(4357, std::vector<unsigned char>(p, p + 1392));
    }
    bool SendRemoteControlEnd(uint32_t user, uint8_t value) override
    {
        return Keep(2080, {(unsigned char)user, (unsigned char)(user >> 8),
                           (unsigned char)(user >> 16), (unsigned char)(user >> 24), value});
    }
    bool Keep(uint16_t code, std::vector<unsigned char> bytes)
    {
        sent.push_back({code, std::move(bytes)});
        return true;
    }
    struct Sent
    {
        uint16_t code;
        std::vector<unsigned char> bytes;
    };
    std::vector<Sent> sent;
};

// The recorder and the windows the commands drive: every call is written to
// one journal, as "Name(arguments)".
class FakeRecorder : public IFrameRecorder
{
public:
    explicit FakeRecorder(std::vector<std::string>& journal) : calls(journal) {}
    bool StartRecord(const char* path) override
    {
        calls.push_back(std::string("StartRecord(") + path + ")");
        return startResult;
    }
    void StopRecord() override { calls.push_back("StopRecord"); }
    std::string GetErrorMsg() override { return errorText; }
    void WriteAudioData(const void* data, unsigned long length, unsigned long extra) override
    {
        calls.push_back("WriteAudioData(" + std::string(static_cast<const char*>(data), length) +
                        "," + std::to_string(extra) + ")");
    }
    void WriteChatData(const char* text, uint32_t kind) override
    {
        calls.push_back(std::string("WriteChatData(") + text + "," + std::to_string(kind) + ")");
    }
    void WriteBoardData(const void*, unsigned long length) override
    {
        calls.push_back("WriteBoardData(" + std::to_string(length) + ")");
    }
    void AddAudio(uint32_t user) override
    {
        calls.push_back("AddAudio(" + std::to_string(user) + ")");
    }
    void DelAudio(uint32_t user) override
    {
        calls.push_back("DelAudio(" + std::to_string(user) + ")");
    }
    void ShowVideoWnd(uint8_t v) override
    {
        calls.push_back("ShowVideoWnd(" + std::to_string(v) + ")");
    }
    void ShowBoardWnd(uint8_t v) override
    {
        calls.push_back("ShowBoardWnd(" + std::to_string(v) + ")");
    }
    void ShowChatWnd(uint8_t v) override
    {
        calls.push_back("ShowChatWnd(" + std::to_string(v) + ")");
    }
    void SplitVideoWnd(uint8_t v) override
    {
        calls.push_back("SplitVideoWnd(" + std::to_string(v) + ")");
    }
    void SetAudioRecord(bool on, AUDIO_RECORD_CALLBACK callback, void* context) override
    {
        calls.push_back(std::string("SetAudioRecord(") + (on ? "1" : "0") + ")");
        audioCallback = callback;
        audioContext = context;
    }
    std::vector<std::string>& calls;
    bool startResult = true;
    std::string errorText;
    AUDIO_RECORD_CALLBACK audioCallback = nullptr;
    void* audioContext = nullptr;
};

class FakeTargets : public IFrameCommandTargets
{
public:
    explicit FakeTargets(std::vector<std::string>& journal) : calls(journal) {}
    bool AskRecordingPath(CWnd*, const std::string& name, std::string* path) override
    {
        calls.push_back("AskRecordingPath(" + name + ")");
        *path = recordingPath;
        return !recordingPath.empty();
    }
    void StartRecordTimer() override { calls.push_back("StartRecordTimer"); }
    void HideRecordTimer() override { calls.push_back("HideRecordTimer"); }
    void RecordVideos(bool on) override
    {
        calls.push_back(std::string("RecordVideos(") + (on ? "1" : "0") + ")");
    }
    void RedrawRecordButton() override { calls.push_back("RedrawRecordButton"); }
    void StartFileSend() override { calls.push_back("StartFileSend"); }
    void OpenReceiveFolder() override { calls.push_back("OpenReceiveFolder"); }
    void RequestControl() override { calls.push_back("RequestControl"); }
    void ReleaseControl() override { calls.push_back("ReleaseControl"); }
    uint32_t GetControllingUser() override { return controllingUser; }
    void EndControlled() override { calls.push_back("EndControlled"); }
    bool IsDeviceDialogShown() override { return deviceShown; }
    void ShowDeviceDialog(bool show) override
    {
        deviceShown = show;
        calls.push_back(std::string("ShowDeviceDialog(") + (show ? "1" : "0") + ")");
    }
    void ShowAbout() override { calls.push_back("ShowAbout"); }
    void ShowPanTiltSettings() override { calls.push_back("ShowPanTiltSettings"); }
    void ShowScreenConfig() override { calls.push_back("ShowScreenConfig"); }
    void ShowMeetingSettings(unsigned char*, CWnd*) override
    {
        calls.push_back("ShowMeetingSettings");
    }
    void ShowLanguageDialog(CWnd*) override { calls.push_back("ShowLanguageDialog"); }
    void TrackPopup(CMenu* menu, POINT screen, CWnd* owner) override
    {
        Popup p;
        p.menu = menu ? menu->GetSafeHmenu() : nullptr;
        p.at = screen;
        p.owner = owner ? owner->GetSafeHwnd() : nullptr;
        popups.push_back(p);
    }
    void PopupVideoMenu(POINT) override { calls.push_back("PopupVideoMenu"); }
    void SendCameraCommand(int command) override
    {
        calls.push_back("Camera(" + std::to_string(command) + ")");
    }
    void StopCamera() override { calls.push_back("StopCamera"); }
    void ClearVideos() override { calls.push_back("ClearVideos"); }
    void StopTransfers() override { calls.push_back("StopTransfers"); }
    bool CaptureScreenRegion(const std::string& path) override
    {
        calls.push_back("CaptureScreenRegion(" + path + ")");
        if (captureWrites) {
            HANDLE h =
                ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
            if (h != INVALID_HANDLE_VALUE)
                ::CloseHandle(h);
        }
        return captureResult;
    }
    void OpenWhiteboardDocument(const std::string& path) override
    {
        calls.push_back("OpenWhiteboard(" + path + ")");
    }

    struct Popup
    {
        HMENU menu;
        POINT at;
        HWND owner;
    };
    std::vector<std::string>& calls;
    std::vector<Popup> popups;
    std::string recordingPath = "C:\\rec\\Room A.Pellrund";
    uint32_t controllingUser = 0;
    bool deviceShown = false;
    bool captureResult = true;
    bool captureWrites = true;
};

// Stand-in panes that remember the order they were asked for.
class RecordingPanes : public CStandInPanes
{
public:
    CWnd* CreatePane(FRAME_PANE pane, CWnd* parent) override
    {
        order.push_back((int)pane);
        return CStandInPanes::CreatePane(pane, parent);
    }
    IFrameVideoWall* CreateVideoWall(CWnd* parent) override
    {
        order.push_back(WALL);
        return CStandInPanes::CreateVideoWall(parent);
    }
    enum { WALL = 100 };
    std::vector<int> order;
};

// A main window over fakes, created as start-up creates it.
struct Fixture
{
    FakeLink link;
    FakeMedia media;
    FakeLauncher launcher;
    RecordingPanes panes;
    std::vector<std::string> journal;
    FakeSenders senders;
    FakeRecorder recorder{journal};
    FakeTargets targets{journal};
    std::string programPath = "C:\\Program Files\\Halvern\\Halvern.exe";
    CUserTable users;
    LOGIN_INFO login = {};
    std::vector<DWORD> sleeps;
    std::vector<std::vector<unsigned char>> dispatched;
    CMainFrame* frame = nullptr;

    Fixture()
    {
        strcpy(login.serverAddress, "127.0.0.1");
        strcpy(login.roomName, "Room A");
        strcpy(login.userName, "alice");
        strcpy(login.password, "pw");
        login.roomId = 1;
        login.userId = 7;
        login.role = 0;
        login.meetingMode = 0;
        login.audioPort = 7100;
        login.audioPort2 = 7101;
        users.AddUser(7, "alice", 0);
        link.journal = &journal;
    }
    ~Fixture() { Destroy(); }

    CMainFrame* Open(bool show = true)
    {
        MAINFRAME_SERVICES s;
        s.link = &link;
        s.media = &media;
        s.panes = &panes;
        s.launcher = &launcher;
        s.sleep = [this](DWORD ms) { sleeps.push_back(ms); };
        s.login = &login;
        s.users = &users;
        s.programPath = programPath;
        s.commands.senders = &senders;
        s.commands.recorder = &recorder;
        s.commands.targets = &targets;
        frame = new CMainFrame(s);
        frame->SetMessageHandler(
            [this](const unsigned char* d, size_t n) { dispatched.emplace_back(d, d + n); });
        if (!frame->LoadFrame(IDR_MAINFRAME, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE)) {
            frame = nullptr; // a failed creation deletes the frame
            return nullptr;
        }
        frame->MoveWindow(0, 0, 1000, 700);
        if (show)
            frame->ShowWindow(SW_SHOW);
        CTestKit::PumpPending();
        return frame;
    }
    void Destroy()
    {
        if (frame && ::IsWindow(frame->GetSafeHwnd()))
            frame->DestroyWindow();
        frame = nullptr;
        CTestKit::PumpPending();
    }
    bool Alive() const { return frame && ::IsWindow(frame->GetSafeHwnd()); }
    // The started program's arguments after its path.
    static std::vector<std::string> Args(const std::string& line)
    {
        return CCommandLine::Split(line.c_str());
    }
};

// A window's rectangle in the frame's client coordinates.
inline CRect RectIn(CWnd* frame, CWnd* wnd)
{
    CRect r;
    wnd->GetWindowRect(&r);
    frame->ScreenToClient(&r);
    return r;
}

} // namespace mainframetest
