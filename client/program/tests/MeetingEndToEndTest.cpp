// Two installed clients in one meeting on the stand-in server of this
// process, watched from outside as a user would see them: each lists the
// other, a chat line typed in one shows in the other's chat history, and
// once both broadcast, each wall shows the other's camera picture and his
// own, as the room receives them, with rising frame numbers (read back off
// the screen). The chair changes the other client's video size through the
// remote settings and sees it; three clients see each other come and go; a
// stroke drawn on one whiteboard and a picture opened there show on the
// other's whiteboard.
#include <gtest/gtest.h>

#include <winsock2.h>
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "CFileStore.h"
#include "CStandInServer.h"
#include "CTcpLink.h"
#include "ClientWindowKit.h"
#include "HalvernProcess.h"
#include "StandInTestKit.h"
#include "TwoClientMeeting.h"

namespace {

using namespace windowkit;

// Start-up under emulation and a loaded machine: Wine, COM and the media
// libraries take their seconds.
const DWORD kStartMs = 150000;

// Control ids of the panes as the program builds them.
enum : int {
    ID_USER_LIST = 1234,
    ID_CHAT_HISTORY = 1008,
    ID_BROADCAST = 2050,
    ID_STOP_BROADCAST = 2051,
    ID_VIDEO_CAPTION = 2076,
    ID_REMOTE_SETTINGS = 33029,
    ID_VIDEO_SIZE_LIST = 1040,
};

// The render window of the wall window whose caption names the user.
HWND RenderOf(HWND frame, const std::string& user)
{
    for (HWND caption : Controls(frame, ID_VIDEO_CAPTION)) {
        HWND window = GetParent(caption);
        if (!IsWindowVisible(window) || HalvernProcess::WindowText(caption) != user)
            continue;
        // The render window: the video window's child dialog.
        HWND child = nullptr;
        while ((child = FindWindowExA(window, child, "#32770", nullptr)) != nullptr)
            if (IsWindowVisible(child))
                return child;
    }
    return nullptr;
}

// The frame number in the band of black and white cells along the top of
// the stand-in camera's picture, read off the screen; -1 when unreadable.
int ReadFrameNumber(HWND frame, HWND render)
{
    SetWindowPos(frame, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    RedrawWindow(frame, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    Sleep(300);
    RECT r;
    GetWindowRect(render, &r);
    const int w = r.right - r.left, h = r.bottom - r.top;
    int value = -1;
    if (w >= 32 && h >= 30) {
        HDC screen = GetDC(nullptr);
        // The band is 16 rows of the camera's 240: sample its middle row.
        const int y = r.top + h * 8 / 240;
        value = 0;
        for (int cell = 0; cell < 16; ++cell) {
            const COLORREF c = GetPixel(screen, r.left + (2 * cell + 1) * w / 32, y);
            const int luma = (GetRValue(c) + GetGValue(c) + GetBValue(c)) / 3;
            value = value << 1 | (luma >= 128 ? 1 : 0);
        }
        ReleaseDC(nullptr, screen);
    }
    SetWindowPos(frame, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return value;
}

// The image size lists of the client's dialogs (shown or not) that hold
// every size, with the size each selects.
struct SizeListSearch
{
    DWORD process;
    std::vector<LRESULT> selections;
};

BOOL CALLBACK VisitSizeLists(HWND wnd, LPARAM param)
{
    SizeListSearch* s = reinterpret_cast<SizeListSearch*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(wnd, &pid);
    if (pid != s->process)
        return TRUE;
    for (HWND list : Controls(wnd, ID_VIDEO_SIZE_LIST))
        if (SendMessageA(list, CB_GETCOUNT, 0, 0) == 7)
            s->selections.push_back(SendMessageA(list, CB_GETCURSEL, 0, 0));
    return TRUE;
}

std::vector<LRESULT> SizeSelections(HalvernProcess& client)
{
    SizeListSearch s = {client.process.dwProcessId, {}};
    EnumWindows(VisitSizeLists, (LPARAM)&s);
    return s.selections;
}

// The whiteboard's commands and messages.
enum : int {
    ID_LEFT_CONTROL = 1004,
    ID_PAGE_WHITEBOARD = 32812,
    ID_WB_OPEN = 32773,
    ID_WB_LINE = 32780,
    WM_WB_SET_COLOUR = 2025,
    WM_WB_SET_WIDTH = 1632,
};

class MeetingEndToEnd : public TwoClientMeeting
{};

// The wall of frame shows user's window, and the frame numbers drawn in it
// rise: his pictures keep arriving.
void ExpectRisingFrames(HWND frame, const char* user, HalvernProcess& client)
{
    HWND render = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (render = RenderOf(frame, user)) != nullptr; }, 30000))
        << Describe(client);
    int first = -1, later = -1;
    ASSERT_TRUE(WaitUntil([&] { return (first = ReadFrameNumber(frame, render)) > 0; }, 30000))
        << "no picture in the window";
    EXPECT_TRUE(WaitUntil([&] { return (later = ReadFrameNumber(frame, render)) > first; }, 30000))
        << "frame " << first << " then " << later;
}

} // namespace

TEST_F(MeetingEndToEnd, TwoClientsListChatAndSeeEachOthersVideo)
{
    // Both in the free room, where each may broadcast.
    ASSERT_TRUE(host.Start("127.0.0.1 \"Room two\" 2 host pw"));
    ASSERT_TRUE(alice.Start("127.0.0.1 \"Room two\" 2 alice a"));
    HWND hostFrame = MainWindow(host, "参与人数2", kStartMs);
    HWND aliceFrame = MainWindow(alice, "参与人数2", kStartMs);
    ASSERT_NE(nullptr, hostFrame) << Describe(host);
    ASSERT_NE(nullptr, aliceFrame) << Describe(alice);

    // Each lists itself first, then the other.
    HWND hostList = Control(hostFrame, ID_USER_LIST), aliceList = Control(aliceFrame, ID_USER_LIST);
    ASSERT_NE(nullptr, hostList);
    ASSERT_NE(nullptr, aliceList);
    std::vector<LRESULT> hostRows, aliceRows;
    EXPECT_TRUE(WaitUntil(
        [&] {
            hostRows = ListData(hostList);
            aliceRows = ListData(aliceList);
            return hostRows.size() == 2 && aliceRows.size() == 2;
        },
        30000));
    ASSERT_EQ(2u, hostRows.size());
    ASSERT_EQ(2u, aliceRows.size());
    EXPECT_EQ(hostRows[0], aliceRows[1]);
    EXPECT_EQ(aliceRows[0], hostRows[1]);

    // A line typed by the host shows in alice's chat history.
    ASSERT_TRUE(Say(hostFrame, "good morning from the host"));
    HWND aliceHistory = Control(aliceFrame, ID_CHAT_HISTORY);
    ASSERT_NE(nullptr, aliceHistory);
    EXPECT_TRUE(WaitUntil(
        [&] { return Text(aliceHistory).find("good morning from the host") != std::string::npos; },
        30000))
        << Text(aliceHistory);

    // Both broadcast: each wall gets a window for the other, whose picture
    // keeps changing to later frames.
    for (HWND frame : {hostFrame, aliceFrame}) {
        HWND button = Control(frame, ID_BROADCAST);
        ASSERT_NE(nullptr, button);
        Click(button);
    }
    struct Watch
    {
        HWND frame;
        const char* other;
        HalvernProcess* client;
    };
    for (const Watch& w : {Watch{hostFrame, "alice", &host}, Watch{aliceFrame, "host", &alice}}) {
        SCOPED_TRACE(std::string("the wall showing ") + w.other);
        ExpectRisingFrames(w.frame, w.other, *w.client);
        if (HasFatalFailure())
            return;
    }

    // Each is told of his own broadcast: his button now stops it, and his
    // wall shows his own picture as the room receives it.
    for (const Watch& w : {Watch{hostFrame, "host", &host}, Watch{aliceFrame, "alice", &alice}}) {
        SCOPED_TRACE(std::string("the own broadcast of ") + w.other);
        EXPECT_TRUE(WaitUntil(
            [&] {
                HWND stop = Control(w.frame, ID_STOP_BROADCAST),
                     start = Control(w.frame, ID_BROADCAST);
                return stop && start && IsWindowVisible(stop) && !IsWindowVisible(start);
            },
            30000));
        ExpectRisingFrames(w.frame, w.other, *w.client);
        if (HasFatalFailure())
            return;
    }
}

TEST_F(MeetingEndToEnd, ThreeClientsSeeEachOtherJoinAndLeave)
{
    HalvernProcess bob;
    std::string error;
    ASSERT_TRUE(InstallClient(bob, "halvern_e2e_bob", config.version, server->GetPort(), 0, &error))
        << error;

    // They come one after the other; everybody already in sees each newcomer.
    ASSERT_TRUE(host.Start("127.0.0.1 \"Room two\" 2 host pw"));
    HWND hostFrame = MainWindow(host, "参与人数1", kStartMs);
    ASSERT_NE(nullptr, hostFrame) << Describe(host);
    ASSERT_TRUE(alice.Start("127.0.0.1 \"Room two\" 2 alice a"));
    HWND aliceFrame = MainWindow(alice, "参与人数2", kStartMs);
    ASSERT_NE(nullptr, aliceFrame) << Describe(alice);
    EXPECT_NE(nullptr, MainWindow(host, "参与人数2", 30000)) << Describe(host);
    ASSERT_TRUE(bob.Start("127.0.0.1 \"Room two\" 2 bob b"));
    HWND bobFrame = MainWindow(bob, "参与人数3", kStartMs);
    ASSERT_NE(nullptr, bobFrame) << Describe(bob);

    struct Seat
    {
        const char* name;
        HalvernProcess* client;
        HWND frame;
    };
    auto rows = [](HWND frame) { return ListData(Control(frame, ID_USER_LIST)).size(); };
    for (const Seat& s : {Seat{"host", &host, hostFrame}, Seat{"alice", &alice, aliceFrame},
                          Seat{"bob", &bob, bobFrame}}) {
        SCOPED_TRACE(s.name);
        EXPECT_NE(nullptr, MainWindow(*s.client, "参与人数3", 30000)) << Describe(*s.client);
        EXPECT_TRUE(WaitUntil([&] { return rows(s.frame) == 3; }, 30000)) << rows(s.frame);
    }

    // Alice closes her window (as after confirming the exit question) and
    // the program ends; bob's program is killed. The others see each go.
    PostMessageA(aliceFrame, WM_CLOSE, 0, 0);
    EXPECT_NE(STILL_ACTIVE, alice.WaitForExit(60000)) << Describe(alice);
    for (const Seat& s : {Seat{"host", &host, hostFrame}, Seat{"bob", &bob, bobFrame}}) {
        SCOPED_TRACE(std::string(s.name) + " after alice left");
        EXPECT_NE(nullptr, MainWindow(*s.client, "参与人数2", 30000)) << Describe(*s.client);
        EXPECT_TRUE(WaitUntil([&] { return rows(s.frame) == 2; }, 30000)) << rows(s.frame);
    }
    bob.Stop();
    EXPECT_NE(nullptr, MainWindow(host, "参与人数1", 30000)) << Describe(host);
    EXPECT_TRUE(WaitUntil([&] { return rows(hostFrame) == 1; }, 30000)) << rows(hostFrame);
}

TEST_F(MeetingEndToEnd, ChairChangesAnotherClientsVideoSize)
{
    // The chaired room: the host is its chair.
    ASSERT_TRUE(host.Start("127.0.0.1 \"Room one\" 1 host pw"));
    ASSERT_TRUE(alice.Start("127.0.0.1 \"Room one\" 1 alice a"));
    HWND hostFrame = MainWindow(host, "参与人数2", kStartMs);
    HWND aliceFrame = MainWindow(alice, "参与人数2", kStartMs);
    ASSERT_NE(nullptr, hostFrame) << Describe(host);
    ASSERT_NE(nullptr, aliceFrame) << Describe(alice);
    HWND hostList = Control(hostFrame, ID_USER_LIST);
    ASSERT_NE(nullptr, hostList);
    ASSERT_TRUE(WaitUntil([&] { return ListData(hostList).size() == 2; }, 30000)) << Describe(host);

    // Alice's own size (her settings dialog's, hidden), and another one.
    std::vector<LRESULT> sizes;
    ASSERT_TRUE(WaitUntil(
        [&] { return (sizes = SizeSelections(alice)).size() == 1 && sizes[0] >= 0; }, 30000))
        << Describe(alice);
    const LRESULT before = sizes[0];
    const LRESULT wanted = before == 4 ? 1 : 4;

    // The chair's menu on alice's row, closed again: its commands are hers.
    PostMessageA(hostList, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(20, 22 + 5));
    HWND menu = host.WaitForWindow("#32768", 20000);
    ASSERT_NE(nullptr, menu) << Describe(host);
    PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
    if (!WaitUntil([&] { return !IsWindow(menu) || !IsWindowVisible(menu); }, 10000))
        PostMessageA(hostList, WM_CANCELMODE, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(menu) || !IsWindowVisible(menu); }, 10000));

    // Her remote settings: the dialog fills with her report.
    PostMessageA(hostList, WM_COMMAND, ID_REMOTE_SETTINGS, 0);
    HWND remote = nullptr;
    ASSERT_TRUE(
        WaitUntil([&] { return (remote = TitledWindow(host, "--alice")) != nullptr; }, 30000))
        << Describe(host);
    HWND size = Control(remote, ID_VIDEO_SIZE_LIST);
    ASSERT_NE(nullptr, size);
    ASSERT_TRUE(WaitUntil(
        [&] { return IsWindowEnabled(size) && SendMessageA(size, CB_GETCOUNT, 0, 0) == 7; }, 30000))
        << "no report from alice";
    EXPECT_EQ(before, SendMessageA(size, CB_GETCURSEL, 0, 0));

    // Another size, and OK: alice's terminal takes it.
    SendMessageA(size, CB_SETCURSEL, wanted, 0);
    PostMessageA(remote, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 (LPARAM)GetDlgItem(remote, IDOK));
    EXPECT_TRUE(
        WaitUntil([&] { return SizeSelections(alice) == std::vector<LRESULT>{wanted}; }, 30000))
        << "alice's settings select "
        << (SizeSelections(alice).empty() ? -1 : SizeSelections(alice)[0]);

    // The chair asks again and sees the new size.
    SendMessageA(size, CB_SETCURSEL, before, 0);
    PostMessageA(hostList, WM_COMMAND, ID_REMOTE_SETTINGS, 0);
    EXPECT_TRUE(WaitUntil(
        [&] { return IsWindowEnabled(size) && SendMessageA(size, CB_GETCURSEL, 0, 0) == wanted; },
        30000))
        << "the chair sees " << SendMessageA(size, CB_GETCURSEL, 0, 0);
}

TEST_F(MeetingEndToEnd, AStrokeAndAPictureOnOneWhiteboardShowOnTheOther)
{
    ASSERT_NE(nullptr, server->FileStore()) << "no file store for the pictures";
    ASSERT_TRUE(host.Start("127.0.0.1 \"Room two\" 2 host pw"));
    ASSERT_TRUE(alice.Start("127.0.0.1 \"Room two\" 2 alice a"));
    HWND hostFrame = MainWindow(host, "参与人数2", kStartMs);
    HWND aliceFrame = MainWindow(alice, "参与人数2", kStartMs);
    ASSERT_NE(nullptr, hostFrame) << Describe(host);
    ASSERT_NE(nullptr, aliceFrame) << Describe(alice);
    HWND hostBoard = BoardOf(hostFrame), aliceBoard = BoardOf(aliceFrame);
    ASSERT_NE(nullptr, hostBoard);
    ASSERT_NE(nullptr, aliceBoard);

    // Both show their whiteboard page; the host takes the meeting control,
    // which in this free room is granted at once and brings the edit right
    // with it: the host's board opens a blank document, and alice's shows it.
    for (HWND frame : {hostFrame, aliceFrame})
        PostMessageA(frame, WM_COMMAND, ID_PAGE_WHITEBOARD, 0);
    HWND broadcast = Control(hostFrame, ID_BROADCAST);
    ASSERT_NE(nullptr, broadcast);
    PostMessageA(GetParent(broadcast), WM_COMMAND, MAKEWPARAM(ID_LEFT_CONTROL, BN_CLICKED), 0);
    HWND hostPage = nullptr, alicePage = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (hostPage = ShownPage(hostBoard)) != nullptr; }, 30000))
        << "the host's board opened no document\n"
        << Describe(host);
    ASSERT_TRUE(WaitUntil([&] { return (alicePage = ShownPage(aliceBoard)) != nullptr; }, 30000))
        << "alice's board shows no document\n"
        << Describe(alice);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(aliceBoard) && IsWindowVisible(hostBoard); },
                          10000));
    EXPECT_EQ(0, CountShown(aliceFrame, alicePage, IsRed)) << "red before anything was drawn";

    // A thick red line drawn on the host's page.
    PostMessageA(hostBoard, WM_COMMAND, ID_WB_LINE, 0);
    PostMessageA(hostBoard, WM_WB_SET_WIDTH, 10, 0);
    PostMessageA(hostBoard, WM_WB_SET_COLOUR, RGB(255, 0, 0), 0);
    SetWindowPos(hostFrame, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    DragIn(hostPage, POINT{40, 60}, POINT{300, 60});
    SetWindowPos(hostFrame, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    int red = 0;
    EXPECT_TRUE(
        WaitUntil([&] { return (red = CountShown(aliceFrame, alicePage, IsRed)) > 500; }, 30000))
        << red << " red pixels on alice's page\n"
        << Describe(alice);
    EXPECT_GT(CountShown(hostFrame, hostPage, IsRed), 500) << "the host's own line";

    // A picture opened on the host's board travels through the server's
    // file store and becomes alice's shown document.
    const std::string picture = host.folder + "green.bmp";
    ASSERT_TRUE(WritePicture(picture, 240, 180, RGB(0, 160, 0)));
    PostMessageA(hostBoard, WM_COMMAND, ID_WB_OPEN, 0);
    HWND chooser = host.WaitForWindow("#32770", 60000);
    ASSERT_NE(nullptr, chooser) << Describe(host);
    ASSERT_TRUE(AnswerFileDialog(chooser, picture))
        << "no file name box in " << HalvernProcess::WindowText(chooser);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(chooser) || !IsWindowVisible(chooser); }, 30000))
        << Describe(host);
    int green = 0;
    EXPECT_TRUE(WaitUntil(
        [&] {
            HWND page = ShownPage(aliceBoard);
            return page && page != alicePage &&
                   (green = CountShown(aliceFrame, page, IsPictureGreen)) > 5000;
        },
        60000))
        << green << " picture pixels on alice's page\n"
        << Describe(alice);
}
