#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "CAutoDialog.h"
#include "CDlgRCOption.h"
#include "CDlgScreenConfig.h"
#include "CRCManager.h"
#include "CTestKit.h"
#include "CUserTable.h"
#include "IRCHost.h"
#include "SharingResource.h"

namespace {

const uint32_t OWN = 1001, CHAIR = 1002, OTHER = 1003, STRANGER = 4242;

// The main window and connection as the page sees them: every call recorded.
class CFakeHost : public IRCHost
{
public:
    bool SendBroadcastState(uint8_t on) override { return Add("2076 " + std::to_string(on)); }
    bool SendControlRequest(uint32_t id, uint8_t v) override
    {
        return Add("2078 " + std::to_string(id) + " " + std::to_string(v));
    }
    bool SendControlAnswer(uint32_t id, uint8_t v) override
    {
        return Add("2080 " + std::to_string(id) + " " + std::to_string(v));
    }
    void ShowInformation(const char* text) override { Add(std::string("info ") + text); }
    void ShowPlain(const char* text) override { Add(std::string("plain ") + text); }
    bool HasControlRight() override { return controlRight; }
    HWND GetMainWindow() override { return mainWindow; }
    void ShowScreenPage() override { Add("page"); }
    void RepaintTabArea() override { Add("repaint"); }
    void OpenScreenSettings() override { Add("settings"); }
    bool GetBroadcastFlag() override { return broadcastFlag; }
    void SetBroadcastFlag(bool on) override
    {
        broadcastFlag = on;
        Add(on ? "flag 1" : "flag 0");
    }
    unsigned RunHidden(const std::string& line) override
    {
        commandLine = line;
        Add("run");
        return runResult;
    }

    bool Add(const std::string& call)
    {
        calls.push_back(call);
        return true;
    }

    std::vector<std::string> calls;
    std::string commandLine;
    bool controlRight = true;
    bool broadcastFlag = false;
    HWND mainWindow = NULL;
    unsigned runResult = 33;
};

// The sharing program's part, played in the test's own thread: it opens the
// block named on its command line, writes its two windows, takes each
// command and answers with a status when the test says so.
class CFakeShell
{
public:
    ~CFakeShell() { Close(); }

    bool Open(const std::string& commandLine)
    {
        const size_t space = commandLine.rfind(' ');
        if (space == std::string::npos)
            return false;
        name = commandLine.substr(space + 1);
        mapping = ::OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, name.c_str());
        if (!mapping)
            return false;
        block.Attach(::MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(RC_SHARE_BLOCK)));
        static bool registered = false;
        if (!registered) {
            WNDCLASSA wc = {};
            wc.lpfnWndProc = Proc;
            wc.hInstance = ::GetModuleHandle(NULL);
            wc.lpszClassName = "FakeShellMessages";
            ::RegisterClassA(&wc);
            wc.lpfnWndProc = ::DefWindowProcA;
            wc.lpszClassName = "FakeShellView";
            wc.hbrBackground = static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH));
            ::RegisterClassA(&wc);
            registered = true;
        }
        messages =
            ::CreateWindowA("FakeShellMessages", "", 0, 0, 0, 0, 0, HWND_MESSAGE, NULL, NULL, NULL);
        ::SetWindowLongPtrA(messages, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        view = ::CreateWindowA("FakeShellView", "view", WS_OVERLAPPEDWINDOW, 600, 400, 200, 150,
                               NULL, NULL, NULL, NULL);
        block.SetU32(RC_OFF_MESSAGE_WINDOW,
                     static_cast<uint32_t>(reinterpret_cast<uintptr_t>(messages)));
        block.SetU32(RC_OFF_VIEW_WINDOW, static_cast<uint32_t>(reinterpret_cast<uintptr_t>(view)));
        return block.IsMapped() && messages && view;
    }

    void Close()
    {
        if (messages)
            ::DestroyWindow(messages);
        if (view && ::IsWindow(view))
            ::DestroyWindow(view);
        messages = view = NULL;
        if (block.IsMapped())
            ::UnmapViewOfFile(block.Data());
        block.Attach(nullptr);
        if (mapping)
            ::CloseHandle(mapping);
        mapping = NULL;
    }

    void Status(uint32_t status)
    {
        block.SetU32(RC_OFF_STATUS, status);
        ::PostMessage(
            reinterpret_cast<HWND>(static_cast<uintptr_t>(block.U32(RC_OFF_OWNER_WINDOW))),
            WM_RC_NOTIFY, 0, 0);
        CTestKit::PumpPending();
    }

    uint32_t Last() const { return commands.empty() ? 0 : commands.back(); }

    static LRESULT CALLBACK Proc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
    {
        if (msg == WM_RC_NOTIFY) {
            auto* self = reinterpret_cast<CFakeShell*>(::GetWindowLongPtrA(hWnd, GWLP_USERDATA));
            if (self) {
                const uint32_t command = self->block.TakeCommand();
                if (command)
                    self->commands.push_back(command);
            }
            return 0;
        }
        return ::DefWindowProcA(hWnd, msg, wParam, lParam);
    }

    std::string name;
    HANDLE mapping = NULL;
    CRCShareBlock block;
    HWND messages = NULL;
    HWND view = NULL;
    std::vector<uint32_t> commands;
};

class RCManagerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        users.AddUser(OWN, "me", 2);
        users.AddUser(CHAIR, "chair", 1);
        users.AddUser(OTHER, "other", 2);
        users.SetControlState(OWN, 2);
        LPCSTR cls =
            AfxRegisterWndClass(0, ::LoadCursor(NULL, IDC_ARROW), (HBRUSH)(COLOR_WINDOW + 1));
        ASSERT_TRUE(parent.CreateEx(0, cls, "rc test",
                                    WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_VISIBLE, 10, 10, 560,
                                    400, NULL, NULL));
        host.mainWindow = parent.m_hWnd;
    }

    void TearDown() override
    {
        CTestKit::CloseThreadDialogs();
        if (page) {
            page->DestroyWindow();
            page.reset();
        }
        shell.Close();
        parent.DestroyWindow();
    }

    CRCManager& Open(const char* address = "127.0.0.1")
    {
        RC_SETUP setup;
        setup.users = &users;
        setup.host = &host;
        setup.ownUserId = OWN;
        setup.roomId = 7;
        setup.serverAddress = address;
        setup.applicationPort = 7002;
        setup.programFolder = "C:\\Program Files\\Halvern\\";
        page.reset(new CRCManager(setup));
        EXPECT_TRUE(page->CreatePage(&parent));
        EXPECT_TRUE(shell.Open(host.commandLine));
        page->MoveWindow(0, 0, 540, 360);
        page->ShowWindow(SW_SHOW);
        CTestKit::PumpPending();
        host.calls.clear();
        return *page;
    }

    // Puts the page into a mode the way the meeting does.
    void Enter(uint32_t mode)
    {
        switch (mode) {
        case CRCManager::MODE_BROADCASTING:
            page->StartBroadcast();
            break;
        case CRCManager::MODE_WATCHING:
            page->StartReceiving(OTHER);
            break;
        case CRCManager::MODE_CONTROLLED:
            page->OnControlRequest(CHAIR, 1);
            break;
        case CRCManager::MODE_CONTROLLING:
            page->OnControlReply(OTHER, 1);
            break;
        default:
            break;
        }
        CTestKit::PumpPending();
        ASSERT_EQ(mode, page->GetMode());
        host.calls.clear();
        shell.commands.clear();
    }

    bool Enabled(UINT id) { return page->GetDlgItem(id)->IsWindowEnabled() != FALSE; }

    CUserTable users;
    CFakeHost host;
    CFakeShell shell;
    CWnd parent;
    std::unique_ptr<CRCManager> page;
};

TEST_F(RCManagerTest, StartUpFillsTheBlockAndStartsTheProgramQuoted)
{
    CRCManager& rc = Open("192.168.100.2001");
    EXPECT_EQ("\"C:\\Program Files\\Halvern\\Shell.exe\" " + rc.GetBlockName(), host.commandLine);
    EXPECT_EQ(0u, rc.GetBlockName().find("QuilletRCShareMem"));
    CRCShareBlock& b = shell.block;
    EXPECT_EQ(reinterpret_cast<uintptr_t>(rc.m_hWnd), b.U32(RC_OFF_OWNER_WINDOW));
    EXPECT_EQ(7u, b.U32(RC_OFF_ROOM_ID));
    EXPECT_EQ(OWN, b.U32(RC_OFF_USER_ID));
    EXPECT_EQ(7002, b.U16(RC_OFF_SERVER_PORT));
    EXPECT_EQ("192.168.100.200", b.GetServerAddress()); // cut inside its field
    EXPECT_EQ("Unknown error", b.GetErrorText());
    EXPECT_EQ(CRCManager::MODE_IDLE, rc.GetMode());
    EXPECT_TRUE(Enabled(IDC_RC_BROADCAST));
    for (UINT id : {IDC_RC_OPTIONS, IDC_RC_STOP, IDC_RC_FIT, IDC_RC_ORIGINAL, IDC_RC_ZOOM_IN,
                    IDC_RC_ZOOM_OUT})
        EXPECT_FALSE(Enabled(id)) << id;
    EXPECT_EQ(BST_CHECKED, rc.IsDlgButtonChecked(IDC_RC_SAVE_BANDWIDTH));

    // Closing tells the program to quit and lets the block go.
    rc.DestroyWindow();
    CTestKit::PumpPending();
    EXPECT_EQ(RC_CMD_QUIT, shell.Last());
    EXPECT_FALSE(rc.Block().IsMapped());
}

TEST_F(RCManagerTest, WithoutTheProgramsWindowNoCommandIsWritten)
{
    CRCManager& rc = Open();
    shell.block.SetU32(RC_OFF_MESSAGE_WINDOW, 0);
    rc.StartBroadcast();
    CTestKit::PumpPending();
    EXPECT_EQ(0u, shell.block.U32(RC_OFF_COMMAND));
    EXPECT_TRUE(shell.commands.empty());
}

TEST_F(RCManagerTest, BroadcastButtonChecksRoleControlAndRemoteControl)
{
    CRCManager& rc = Open();
    users.SetRole(OWN, 3);
    rc.OnBroadcastButton();
    EXPECT_TRUE(host.calls.empty());
    EXPECT_EQ(CRCManager::MODE_IDLE, rc.GetMode());

    users.SetRole(OWN, 2);
    users.SetControlState(OWN, 1);
    rc.OnBroadcastButton();
    EXPECT_EQ(std::vector<std::string>{"plain 请申请会议控制"}, host.calls);

    users.SetControlState(OWN, 2);
    Enter(CRCManager::MODE_CONTROLLING);
    rc.OnBroadcastButton();
    EXPECT_EQ(std::vector<std::string>{"info 对不起,请先停止对其他用户的远程控制!"}, host.calls);
    EXPECT_EQ(CRCManager::MODE_CONTROLLING, rc.GetMode());
}

TEST_F(RCManagerTest, BroadcastStartsOnTheDesktopAndStopsThroughTheSameButton)
{
    CRCManager& rc = Open();
    shell.block.SetU8(RC_OFF_COMPRESS8, 1);
    CTestKit::ClickButton(rc.GetDlgItem(IDC_RC_BROADCAST)->m_hWnd);
    CTestKit::PumpPending();
    EXPECT_EQ(CRCManager::MODE_BROADCASTING, rc.GetMode());
    EXPECT_EQ(RC_CMD_SHARE, shell.Last());
    EXPECT_EQ(0, shell.block.U8(RC_OFF_COMPRESS8));
    EXPECT_EQ(2u, shell.block.U32(RC_OFF_SHARE_KIND));
    EXPECT_EQ(reinterpret_cast<uintptr_t>(::GetDesktopWindow()),
              shell.block.U32(RC_OFF_SHARED_WINDOW));

    shell.Status(RC_STATUS_STARTED);
    EXPECT_EQ((std::vector<std::string>{"2076 1", "flag 1", "page"}), host.calls);
    EXPECT_TRUE(rc.IsBroadcasting());
    EXPECT_TRUE(Enabled(IDC_RC_OPTIONS));
    EXPECT_TRUE(Enabled(IDC_RC_STOP));
    EXPECT_FALSE(Enabled(IDC_RC_BROADCAST));
    EXPECT_FALSE(Enabled(IDC_RC_ZOOM_IN));

    host.calls.clear();
    CTestKit::ClickButton(rc.GetDlgItem(IDC_RC_STOP)->m_hWnd);
    CTestKit::PumpPending();
    EXPECT_EQ((std::vector<std::string>{"2076 0", "repaint"}), host.calls);
    EXPECT_EQ(RC_CMD_STOP, shell.Last());
    host.calls.clear();
    shell.Status(RC_STATUS_ENDED);
    EXPECT_EQ((std::vector<std::string>{"2076 0", "flag 0", "repaint"}), host.calls);
    EXPECT_EQ(CRCManager::MODE_IDLE, rc.GetMode());
    EXPECT_TRUE(Enabled(IDC_RC_BROADCAST));
}

// A broadcast or a watched broadcast that starts while this computer is
// controlled, or controls another, ends that first.
TEST_F(RCManagerTest, NewBroadcastEndsARemoteControlFirst)
{
    struct Case
    {
        uint32_t from;
        bool watch; // a broadcast of another participant starts
        std::string end;
        uint32_t mode;
        uint32_t command;
    } cases[] = {
        {CRCManager::MODE_CONTROLLED, false, "2080 1002 0", CRCManager::MODE_BROADCASTING,
         RC_CMD_SHARE},
        {CRCManager::MODE_CONTROLLING, false, "2078 1003 0", CRCManager::MODE_BROADCASTING,
         RC_CMD_SHARE},
        {CRCManager::MODE_CONTROLLED, true, "2080 1002 0", CRCManager::MODE_WATCHING, RC_CMD_VIEW},
        {CRCManager::MODE_CONTROLLING, true, "2078 1003 0", CRCManager::MODE_WATCHING, RC_CMD_VIEW},
    };
    for (const Case& c : cases) {
        Open();
        Enter(c.from);
        if (c.watch)
            page->StartReceiving(OTHER);
        else
            page->StartBroadcast();
        CTestKit::PumpPending();
        EXPECT_EQ(std::vector<std::string>{c.end}, host.calls) << c.from << c.watch;
        EXPECT_EQ(c.mode, page->GetMode());
        EXPECT_EQ(c.command, shell.Last());
        page->DestroyWindow();
        page.reset();
        shell.Close();
    }
}

TEST_F(RCManagerTest, ControlRequestsWhileTheQuestionIsOpen)
{
    CRCManager& rc = Open();
    rc.OnControlRequest(STRANGER, 1); // not in the meeting
    EXPECT_EQ(CRCManager::MODE_IDLE, rc.GetMode());
    EXPECT_EQ(nullptr, rc.GetQuestion());

    rc.OnControlRequest(CHAIR, 1);
    CTestKit::PumpPending();
    EXPECT_EQ(CRCManager::MODE_CONTROLLED, rc.GetMode());
    ASSERT_NE(nullptr, rc.GetQuestion());
    char text[200] = {};
    ::GetWindowTextA(::GetDlgItem(rc.GetQuestion()->m_hWnd, 1015), text, sizeof text);
    EXPECT_STREQ("用户chair请求远程控制你的电脑,是否接受?", text);
    CAutoDialog* first = rc.GetQuestion();

    rc.OnControlRequest(CHAIR, 1); // the same asker again: ignored
    EXPECT_TRUE(host.calls.empty());
    EXPECT_EQ(first, rc.GetQuestion());
    rc.OnControlRequest(OTHER, 1); // another one: refused at once
    EXPECT_EQ(std::vector<std::string>{"2080 1003 0"}, host.calls);
    EXPECT_EQ(CHAIR, rc.GetAsker());
    EXPECT_EQ(first, rc.GetQuestion());
}

TEST_F(RCManagerTest, TheAnswerToTheQuestionDecidesAndFreesIt)
{
    struct Case
    {
        WPARAM answer;
        uint32_t mode;
        std::vector<std::string> calls;
        uint32_t command;
    } cases[] = {
        {CAutoDialog::RESULT_OK, CRCManager::MODE_CONTROLLED, {}, RC_CMD_SHARE},
        {CAutoDialog::RESULT_CANCEL, CRCManager::MODE_IDLE, {"2080 1002 0"}, 0},
        {0, CRCManager::MODE_IDLE, {"2080 1002 0"}, 0},
    };
    for (const Case& c : cases) {
        Open();
        Enter(CRCManager::MODE_CONTROLLED);
        ASSERT_NE(nullptr, page->GetQuestion());
        HWND question = page->GetQuestion()->m_hWnd;
        page->SendMessage(WM_AUTODIALOG_RESULT, c.answer, 0);
        CTestKit::PumpPending();
        EXPECT_EQ(nullptr, page->GetQuestion()) << c.answer;
        EXPECT_FALSE(::IsWindow(question)) << c.answer;
        EXPECT_EQ(c.mode, page->GetMode()) << c.answer;
        EXPECT_EQ(c.calls, host.calls) << c.answer;
        EXPECT_EQ(c.command, shell.Last()) << c.answer;
        if (c.answer == CAutoDialog::RESULT_OK) {
            // Sharing started: the asker is told; the chair withdrawing stops it.
            shell.Status(RC_STATUS_STARTED);
            EXPECT_EQ(std::vector<std::string>{"2080 1002 1"}, host.calls);
            page->OnControlRequest(CHAIR, 0);
            CTestKit::PumpPending();
            EXPECT_EQ(RC_CMD_STOP, shell.Last());
        }
        page->DestroyWindow();
        page.reset();
        shell.Close();
        host.calls.clear();
    }
}

TEST_F(RCManagerTest, TheQuestionUnansweredForTenSecondsRefuses)
{
    CRCManager& rc = Open();
    Enter(CRCManager::MODE_CONTROLLED);
    EXPECT_FALSE(CTestKit::PumpUntil([&] { return rc.GetMode() == CRCManager::MODE_IDLE; }, 7000));
    EXPECT_TRUE(CTestKit::PumpUntil([&] { return rc.GetMode() == CRCManager::MODE_IDLE; }, 15000));
    EXPECT_EQ(std::vector<std::string>{"2080 1002 0"}, host.calls);
    EXPECT_EQ(nullptr, rc.GetQuestion());
}

TEST_F(RCManagerTest, RepliesToOwnControlRequest)
{
    struct Case
    {
        uint32_t mode;
        uint32_t user;
        uint8_t answer;
        std::vector<std::string> calls;
        uint32_t after;
    } cases[] = {
        {CRCManager::MODE_IDLE,
         OTHER,
         0,
         {"info 用户other拒绝了你的远程控制请求!"},
         CRCManager::MODE_IDLE},
        {CRCManager::MODE_IDLE,
         OTHER,
         2,
         {"info 用户other拒绝了你的远程控制请求!"},
         CRCManager::MODE_IDLE},
        {CRCManager::MODE_IDLE, OTHER, 1, {}, CRCManager::MODE_CONTROLLING},
        {CRCManager::MODE_IDLE, STRANGER, 1, {}, CRCManager::MODE_IDLE},
        {CRCManager::MODE_WATCHING, OTHER, 0, {}, CRCManager::MODE_WATCHING},
        {CRCManager::MODE_WATCHING, OTHER, 3, {"2078 1003 0"}, CRCManager::MODE_WATCHING},
        {CRCManager::MODE_BROADCASTING, CHAIR, 1, {"2078 1002 0"}, CRCManager::MODE_BROADCASTING},
    };
    for (const Case& c : cases) {
        Open();
        Enter(c.mode);
        page->OnControlReply(c.user, c.answer);
        CTestKit::PumpPending();
        EXPECT_EQ(c.calls, host.calls) << c.mode << " " << c.user << " " << int(c.answer);
        EXPECT_EQ(c.after, page->GetMode()) << c.mode << " " << c.user << " " << int(c.answer);
        if (c.after == CRCManager::MODE_CONTROLLING) {
            EXPECT_EQ(c.user, page->GetControlledPeer());
            EXPECT_EQ(RC_CMD_VIEW, shell.Last());
            EXPECT_EQ(1, shell.block.U8(RC_OFF_FIT));
            EXPECT_EQ(0, shell.block.U8(RC_OFF_SCALED));
        }
        page->DestroyWindow();
        page.reset();
        shell.Close();
        host.calls.clear();
    }
}

TEST_F(RCManagerTest, ViewReadyTakesTheProgramsWindowIntoThePage)
{
    CRCManager& rc = Open();
    Enter(CRCManager::MODE_CONTROLLING);
    shell.Status(RC_STATUS_VIEW_READY);
    EXPECT_EQ(std::vector<std::string>{"page"}, host.calls);
    EXPECT_EQ(RC_CMD_CONTROL_GRANTED, shell.Last());
    EXPECT_EQ(rc.m_hWnd, ::GetParent(shell.view));
    EXPECT_EQ(0, ::GetWindowLong(shell.view, GWL_STYLE) & WS_CAPTION);
    RECT client, view;
    rc.GetClientRect(&client);
    ::GetWindowRect(shell.view, &view);
    ::MapWindowPoints(NULL, rc.m_hWnd, reinterpret_cast<POINT*>(&view), 2);
    EXPECT_EQ(1, view.left);
    EXPECT_EQ(CRCManager::BAND_HEIGHT + 1, view.top);
    EXPECT_EQ(client.right - 1, view.right);
    EXPECT_EQ(client.bottom - 1, view.bottom);
    for (UINT id : {IDC_RC_FIT, IDC_RC_ORIGINAL, IDC_RC_ZOOM_IN, IDC_RC_ZOOM_OUT})
        EXPECT_TRUE(Enabled(id)) << id;
    for (UINT id : {IDC_RC_OPTIONS, IDC_RC_BROADCAST, IDC_RC_STOP})
        EXPECT_FALSE(Enabled(id)) << id;
    // Below the band the page is white inside a grey frame.
    CTestKit::Snapshot shot = CTestKit::Capture(rc.m_hWnd);
    EXPECT_EQ(RGB(0xE2, 0xE2, 0xE2), shot.At(shot.width - 2, 1));
    EXPECT_EQ(RGB(0x80, 0x80, 0x80), shot.At(0, CRCManager::BAND_HEIGHT + 5));

    // Resizing keeps the view filling the page.
    rc.MoveWindow(0, 0, 400, 300);
    ::GetWindowRect(shell.view, &view);
    EXPECT_EQ(400 - 2, view.right - view.left);
    EXPECT_EQ(300 - CRCManager::BAND_HEIGHT - 2, view.bottom - view.top);
}

TEST_F(RCManagerTest, StatusesByMode)
{
    struct Case
    {
        uint32_t mode;
        uint32_t status;
        std::vector<std::string> calls;
        uint32_t after;
    } cases[] = {
        {CRCManager::MODE_CONTROLLED,
         RC_STATUS_STARTED,
         {"2080 1002 1"},
         CRCManager::MODE_CONTROLLED},
        {CRCManager::MODE_BROADCASTING,
         RC_STATUS_SHARE_FAILED,
         {"info 启动屏幕广播失败", "flag 0"},
         CRCManager::MODE_IDLE},
        {CRCManager::MODE_CONTROLLED,
         RC_STATUS_SHARE_FAILED,
         {"2080 1002 0"},
         CRCManager::MODE_IDLE},
        {CRCManager::MODE_WATCHING,
         RC_STATUS_VIEW_FAILED,
         {"info 接收屏幕广播失败"},
         CRCManager::MODE_IDLE},
        {CRCManager::MODE_CONTROLLING,
         RC_STATUS_VIEW_FAILED,
         {"2078 1003 0", "info 启动远程控制失败!"},
         CRCManager::MODE_IDLE},
        {CRCManager::MODE_WATCHING, RC_STATUS_ENDED2, {"repaint"}, CRCManager::MODE_IDLE},
        {CRCManager::MODE_BROADCASTING,
         RC_STATUS_ENDED2,
         {"2076 0", "flag 0", "repaint"},
         CRCManager::MODE_IDLE},
        {CRCManager::MODE_WATCHING, 99, {}, CRCManager::MODE_WATCHING},
    };
    for (const Case& c : cases) {
        Open();
        Enter(c.mode);
        shell.Status(c.status);
        EXPECT_EQ(c.calls, host.calls) << c.mode << " " << c.status;
        EXPECT_EQ(c.after, page->GetMode()) << c.mode << " " << c.status;
        page->DestroyWindow();
        page.reset();
        shell.Close();
        host.calls.clear();
    }
}

TEST_F(RCManagerTest, ControlOfABroadcastOnlyWhileWatching)
{
    CRCManager& rc = Open();
    rc.OnScreenControlGrant(1);
    CTestKit::PumpPending();
    EXPECT_TRUE(shell.commands.empty());
    Enter(CRCManager::MODE_WATCHING);
    rc.OnScreenControlGrant(1);
    CTestKit::PumpPending();
    EXPECT_EQ(RC_CMD_CONTROL_GRANTED, shell.Last());
    rc.OnScreenControlGrant(0);
    CTestKit::PumpPending();
    EXPECT_EQ(RC_CMD_CONTROL_REVOKED, shell.Last());
    EXPECT_TRUE(host.calls.empty());
}

TEST_F(RCManagerTest, EndOperationsActOnlyInTheirOwnMode)
{
    CRCManager& rc = Open();
    Enter(CRCManager::MODE_WATCHING);
    rc.EndControlling();
    rc.EndControlled();
    rc.EndBroadcast();
    CTestKit::PumpPending();
    EXPECT_TRUE(shell.commands.empty());
    rc.EndReceiving();
    CTestKit::PumpPending();
    EXPECT_EQ(RC_CMD_STOP, shell.Last());
    EXPECT_EQ(std::vector<std::string>{"repaint"}, host.calls);
}

TEST_F(RCManagerTest, ZoomStepsNineTimesEachWay)
{
    CRCManager& rc = Open();
    rc.OnZoomIn(); // idle: nothing
    EXPECT_DOUBLE_EQ(1.0, rc.GetZoom());
    Enter(CRCManager::MODE_WATCHING);
    double last = rc.GetZoom();
    int steps = 0;
    for (int i = 0; i < 12; ++i) {
        rc.OnZoomIn();
        if (rc.GetZoom() != last)
            ++steps;
        last = rc.GetZoom();
    }
    EXPECT_EQ(9, steps);
    EXPECT_NEAR(0.194, rc.GetZoom(), 0.001);
    CTestKit::PumpPending();
    EXPECT_EQ(RC_CMD_APPLY_OPTIONS, shell.Last());
    EXPECT_EQ(0, shell.block.U8(RC_OFF_FIT));
    EXPECT_EQ(1, shell.block.U8(RC_OFF_SCALED));
    EXPECT_EQ(10u, shell.block.U32(RC_OFF_SCALE_DEN));
    EXPECT_EQ(51u, shell.block.U32(RC_OFF_SCALE_NUM)); // 10 / 0.1938

    rc.OnOriginalSize();
    EXPECT_NEAR(0.194, rc.GetZoom(), 0.001);
    EXPECT_EQ(0, shell.block.U8(RC_OFF_SCALED));
    EXPECT_EQ(1u, shell.block.U32(RC_OFF_SCALE_NUM));
    EXPECT_EQ(1u, shell.block.U32(RC_OFF_SCALE_DEN));

    Open();
    Enter(CRCManager::MODE_CONTROLLING);
    last = page->GetZoom();
    steps = 0;
    for (int i = 0; i < 12; ++i) {
        page->OnZoomOut();
        if (page->GetZoom() != last)
            ++steps;
        last = page->GetZoom();
    }
    EXPECT_EQ(9, steps);
    EXPECT_NEAR(5.16, page->GetZoom(), 0.01);
    EXPECT_EQ(1u, shell.block.U32(RC_OFF_SCALE_NUM)); // 10 / 5.16
    page->OnFit();
    EXPECT_EQ(1, shell.block.U8(RC_OFF_FIT));
}

TEST_F(RCManagerTest, OptionsListTheWindowsAndKeepTheChosenOne)
{
    CWnd target;
    LPCSTR cls = AfxRegisterWndClass(0);
    ASSERT_TRUE(target.CreateEx(0, cls, "share me please", WS_POPUP | WS_VISIBLE, 0, 0, 50, 40,
                                NULL, NULL));
    CWnd hidden;
    ASSERT_TRUE(hidden.CreateEx(0, cls, "hidden one", WS_POPUP, 0, 0, 50, 40, NULL, NULL));
    auto windows = CDlgRCOption::ListShareableWindows();
    bool listed = false;
    for (const auto& w : windows) {
        EXPECT_NE(hidden.m_hWnd, w.first);
        EXPECT_FALSE(w.second.empty());
        listed = listed || w.first == target.m_hWnd;
    }
    EXPECT_TRUE(listed);

    CDlgRCOption dlg;
    INT_PTR result = CTestKit::RunModal(dlg, [&](CDialog& d) {
        HWND list = ::GetDlgItem(d.m_hWnd, IDC_RC_WINDOWS);
        const int n = (int)::SendMessage(list, LB_GETCOUNT, 0, 0);
        for (int i = 0; i < n; ++i)
            if ((HWND)::SendMessage(list, LB_GETITEMDATA, i, 0) == target.m_hWnd)
                ::SendMessage(list, LB_SETCURSEL, i, 0);
        EXPECT_EQ(BST_CHECKED, ::IsDlgButtonChecked(d.m_hWnd, IDC_RC_FIT_WINDOW));
        EXPECT_EQ(BST_UNCHECKED, ::IsDlgButtonChecked(d.m_hWnd, IDC_RC_COMPRESS8));
        ::CheckDlgButton(d.m_hWnd, IDC_RC_COMPRESS8, BST_CHECKED);
        static_cast<CDlgRCOption&>(d).OnOK();
    });
    EXPECT_EQ(IDOK, result);
    EXPECT_EQ(target.m_hWnd, dlg.GetChosenWindow());
    EXPECT_TRUE(dlg.GetCompress8());
    EXPECT_TRUE(dlg.GetFit());

    // A window that went away while the dialog was open is not taken.
    CDlgRCOption gone;
    result = CTestKit::RunModal(gone, [&](CDialog& d) {
        HWND list = ::GetDlgItem(d.m_hWnd, IDC_RC_WINDOWS);
        const int n = (int)::SendMessage(list, LB_GETCOUNT, 0, 0);
        for (int i = 0; i < n; ++i)
            if ((HWND)::SendMessage(list, LB_GETITEMDATA, i, 0) == target.m_hWnd)
                ::SendMessage(list, LB_SETCURSEL, i, 0);
        target.DestroyWindow();
        static_cast<CDlgRCOption&>(d).OnOK();
        EXPECT_TRUE(::IsWindow(d.m_hWnd));
        d.EndDialog(IDCANCEL);
    });
    EXPECT_EQ(IDCANCEL, result);
    hidden.DestroyWindow();

    // The chosen options reach the block with command 7.
    CRCManager& rc = Open();
    Enter(CRCManager::MODE_BROADCASTING);
    rc.ApplyOptions(false, true, parent.m_hWnd);
    CTestKit::PumpPending();
    EXPECT_EQ(RC_CMD_APPLY_OPTIONS, shell.Last());
    EXPECT_EQ(1, shell.block.U8(RC_OFF_COMPRESS8));
    EXPECT_EQ(reinterpret_cast<uintptr_t>(parent.m_hWnd), shell.block.U32(RC_OFF_SHARED_WINDOW));
    EXPECT_FALSE(rc.GetFit());
}

TEST(ScreenConfig, StartsWithItsDefaults)
{
    CDlgScreenConfig dlg;
    ASSERT_TRUE(dlg.CreateHidden(NULL));
    EXPECT_EQ(0, dlg.GetCompression());
    EXPECT_EQ(3, dlg.GetRateLimit());
    EXPECT_TRUE(dlg.GetDelayOnPoorNetwork());
    dlg.DestroyWindow();
}

} // namespace
