#pragma once
#include "CBufferPool.h"
#include "CCommandLine.h"
#include "CMainFrame.h"
#include "CStandInPanes.h"
#include "CStandInVideoWall.h"
#include "CTestKit.h"
#include "CUserTable.h"
#include "IFrameLink.h"
#include "IFrameMedia.h"
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
    bool SendStartNotice() override { ++startNotices; return true; }
    bool SendKeepAlive() override { ++keepAlives; return true; }
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
    std::vector<std::vector<unsigned char>> layouts;
    std::vector<std::vector<unsigned char>> board;
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
    bool ShellOpen(const char*) override { return true; }
    std::vector<std::string> starts;
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
        s.programPath = "C:\\Program Files\\Halvern\\Halvern.exe";
        frame = new CMainFrame(s);
        frame->SetMessageHandler([this](const unsigned char* d, size_t n) { dispatched.emplace_back(d, d + n); });
        if (!frame->LoadFrame(IDR_MAINFRAME, WS_OVERLAPPEDWINDOW))
        {
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
    static std::vector<std::string> Args(const std::string& line) { return CCommandLine::Split(line.c_str()); }
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
