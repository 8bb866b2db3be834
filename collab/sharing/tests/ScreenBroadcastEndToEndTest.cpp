// Two participants of one meeting, each with the screen-broadcast page and
// its own sharing program (Shell.exe) in a process of its own, against the
// stand-in server and its application port: what one shares, the other sees.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>

#include "CRCManager.h"
#include "CScreenRelay.h"
#include "CTestKit.h"
#include "IRCHost.h"
#include "RCShareBlock.h"
#include "StandInTestKit.h"

namespace {

std::string ProgramFolder()
{
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(NULL, path, MAX_PATH);
    std::string folder(path);
    return folder.substr(0, folder.find_last_of('\\') + 1);
}

// The page's host over a real connection to the server.
class CMeetingHost : public IRCHost
{
public:
    explicit CMeetingHost(StandInClient& client) : m_client(client) {}

    bool SendBroadcastState(uint8_t on) override { return m_client.manager.SendCommand2076(on); }
    bool SendControlRequest(uint32_t id, uint8_t v) override
    {
        return m_client.manager.SendCommand2078(id, v);
    }
    bool SendControlAnswer(uint32_t id, uint8_t v) override
    {
        return m_client.manager.SendCommand2080(id, v);
    }
    void ShowInformation(const char* text) override { shown += text; }
    void ShowPlain(const char* text) override { shown += text; }
    bool HasControlRight() override { return true; }
    HWND GetMainWindow() override { return NULL; }
    void ShowScreenPage() override {}
    void RepaintTabArea() override {}
    void OpenScreenSettings() override {}
    bool GetBroadcastFlag() override { return flag; }
    void SetBroadcastFlag(bool on) override { flag = on; }
    unsigned RunHidden(const std::string& line) override
    {
        return ::WinExec(line.c_str(), SW_HIDE);
    }

    std::string shown;
    bool flag = false;

private:
    StandInClient& m_client;
};

// A top-most window painted red on its left half and blue on its right.
class CPatternWnd : public CWnd
{
public:
    BOOL Make(int x, int y, int cx, int cy)
    {
        LPCSTR cls = AfxRegisterWndClass(0, ::LoadCursor(NULL, IDC_ARROW),
                                         (HBRUSH)::GetStockObject(WHITE_BRUSH));
        return CreateEx(WS_EX_TOPMOST, cls, "shared pattern", WS_POPUP | WS_VISIBLE, x, y, cx, cy,
                        NULL, NULL);
    }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_PAINT) {
            PAINTSTRUCT ps;
            HDC dc = ::BeginPaint(m_hWnd, &ps);
            RECT r;
            ::GetClientRect(m_hWnd, &r);
            RECT left = r, right = r;
            left.right = right.left = r.right / 2;
            HBRUSH red = ::CreateSolidBrush(RGB(255, 0, 0)),
                   blue = ::CreateSolidBrush(RGB(0, 0, 255));
            ::FillRect(dc, &left, red);
            ::FillRect(dc, &right, blue);
            ::DeleteObject(red);
            ::DeleteObject(blue);
            ::EndPaint(m_hWnd, &ps);
            return 0;
        }
        if (message == WM_LBUTTONDOWN)
            ++clicks;
        return CWnd::WindowProc(message, wParam, lParam);
    }

public:
    int clicks = 0;
};

// One pixel of a window as shown.
COLORREF ScreenPixel(HWND hWnd, int x, int y)
{
    HDC dc = ::GetDC(hWnd);
    const COLORREF c = ::GetPixel(dc, x, y);
    ::ReleaseDC(hWnd, dc);
    return c;
}

// The whole screen into a bitmap file beside the test (kept when the
// viewer did not show the picture, to see what it showed instead).
void SaveScreen(const char* file)
{
    const int w = ::GetSystemMetrics(SM_CXSCREEN), h = ::GetSystemMetrics(SM_CYSCREEN);
    HDC screen = ::GetDC(NULL);
    HDC memory = ::CreateCompatibleDC(screen);
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 24;
    void* bits = NULL;
    HBITMAP dib = ::CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, NULL, 0);
    HGDIOBJ old = ::SelectObject(memory, dib);
    ::BitBlt(memory, 0, 0, w, h, screen, 0, 0, SRCCOPY);
    ::GdiFlush();
    const DWORD stride = ((w * 3) + 3) & ~3u, size = stride * h;
    BITMAPFILEHEADER fh = {};
    fh.bfType = 0x4D42;
    fh.bfOffBits = sizeof fh + sizeof bi.bmiHeader;
    fh.bfSize = fh.bfOffBits + size;
    if (FILE* f = fopen(file, "wb")) {
        fwrite(&fh, sizeof fh, 1, f);
        fwrite(&bi.bmiHeader, sizeof bi.bmiHeader, 1, f);
        fwrite(bits, size, 1, f);
        fclose(f);
    }
    ::SelectObject(memory, old);
    ::DeleteObject(dib);
    ::DeleteDC(memory);
    ::ReleaseDC(NULL, screen);
}

bool Reddish(COLORREF c) { return GetRValue(c) > 200 && GetGValue(c) < 60 && GetBValue(c) < 60; }

bool Bluish(COLORREF c) { return GetBValue(c) > 200 && GetRValue(c) < 60 && GetGValue(c) < 60; }

struct Participant
{
    explicit Participant(CStandInServer& server, uint16_t relayPort, const char* user,
                         const char* password, int x)
        : host(client)
    {
        ok = client.Login(server.GetPort(), user, password, 1);
        LPCSTR cls =
            AfxRegisterWndClass(0, ::LoadCursor(NULL, IDC_ARROW), (HBRUSH)(COLOR_WINDOW + 1));
        ok = ok && parent.CreateEx(0, cls, user, WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, x, 300,
                                   480, 360, NULL, NULL);
        RC_SETUP setup;
        setup.users = &client.users;
        setup.host = &host;
        setup.ownUserId = client.login.userId;
        setup.roomId = 1;
        setup.serverAddress = "127.0.0.1";
        setup.applicationPort = relayPort;
        setup.programFolder = ProgramFolder();
        page.reset(new CRCManager(setup));
        ok = ok && page->CreatePage(&parent);
        if (ok) {
            page->MoveWindow(0, 0, 480, 360);
            page->ShowWindow(SW_SHOW);
        }
    }
    ~Participant()
    {
        if (page && page->m_hWnd)
            page->DestroyWindow();
        parent.DestroyWindow();
    }
    bool ShellReady()
    {
        return CTestKit::PumpUntil(
            [&] {
                return ::IsWindow((HWND)(uintptr_t)page->Block().U32(RC_OFF_MESSAGE_WINDOW)) !=
                       FALSE;
            },
            30000);
    }
    // Hands the server messages of one code to the page as the dispatcher does.
    bool Take(uint16_t code, std::vector<uint8_t>& message)
    {
        return client.WaitFor(code, message, 10000);
    }

    StandInClient client;
    CMeetingHost host;
    CWnd parent;
    std::unique_ptr<CRCManager> page;
    bool ok = false;
};

class ScreenBroadcastEndToEnd : public ::testing::Test
{
protected:
    void SetUp() override
    {
        WSADATA data;
        ASSERT_EQ(0, WSAStartup(MAKEWORD(2, 2), &data));
        server.reset(new CStandInServer(StandInTestConfig()));
        ASSERT_TRUE(server->Start(0));
        CStandInServer* s = server.get();
        relay.reset(new CScreenRelay([s](uint32_t room, uint32_t user) {
            for (uint32_t id : s->GetRoomUsers(room))
                if (id == user)
                    return true;
            return false;
        }));
        ASSERT_TRUE(relay->Start(0));
    }
    void TearDown() override
    {
        relay->Stop();
        server->Stop();
        WSACleanup();
    }

    std::unique_ptr<CStandInServer> server;
    std::unique_ptr<CScreenRelay> relay;
};

TEST_F(ScreenBroadcastEndToEnd, ASharedWindowReachesTheViewer)
{
    CPatternWnd pattern;
    ASSERT_TRUE(pattern.Make(0, 0, 240, 160));
    Participant sharer(*server, relay->GetPort(), "host", "pw", 260);
    Participant viewer(*server, relay->GetPort(), "alice", "a", 760);
    ASSERT_TRUE(sharer.ok && viewer.ok);
    ASSERT_TRUE(sharer.ShellReady());
    ASSERT_TRUE(viewer.ShellReady());

    // The sharer holds the meeting control and starts from the button.
    sharer.client.users.SetControlState(sharer.client.login.userId, 2);
    sharer.page->OnBroadcastButton();
    ASSERT_TRUE(CTestKit::PumpUntil([&] { return sharer.host.flag; }, 15000)) << sharer.host.shown;
    EXPECT_TRUE(sharer.page->IsBroadcasting());
    sharer.page->ApplyOptions(true, false, pattern.m_hWnd);

    // The viewer learns of the broadcast from the server and starts watching.
    std::vector<uint8_t> notice;
    ASSERT_TRUE(viewer.Take(CMD_SCREEN_BROADCAST_NOTICE, notice));
    ASSERT_EQ(12u, notice.size());
    EXPECT_EQ(sharer.client.login.userId, ReadU32(notice, 4));
    EXPECT_EQ(1, notice[8]);
    viewer.page->StartReceiving(ReadU32(notice, 4));
    CRCManager& page = *viewer.page;
    HWND view = NULL;
    ASSERT_TRUE(CTestKit::PumpUntil(
        [&] {
            view = (HWND)(uintptr_t)page.Block().U32(RC_OFF_VIEW_WINDOW);
            return ::GetParent(view) == page.m_hWnd;
        },
        15000));
    EXPECT_TRUE(page.IsReceiving());

    // Wine shows no content for a window of one process inside a window of
    // another, so the view is read where it can be: taken out of the page,
    // on top, at a place of its own. The fitted picture fills its width:
    // red on the left, blue on the right.
    ::SetParent(view, NULL);
    ::SetWindowLong(view, GWL_STYLE, WS_POPUP | WS_VISIBLE);
    ::SetWindowPos(view, HWND_TOPMOST, 300, 660, 240, 160, SWP_SHOWWINDOW | SWP_FRAMECHANGED);
    const int y = 80;
    const bool seen = CTestKit::PumpUntil(
        [&] { return Reddish(ScreenPixel(view, 60, y)) && Bluish(ScreenPixel(view, 180, y)); },
        20000);
    if (!seen)
        SaveScreen("ScreenBroadcastEndToEnd.bmp");
    EXPECT_TRUE(seen) << std::hex << ScreenPixel(view, 60, y) << " " << ScreenPixel(view, 180, y);
    EXPECT_GE(relay->GetCounters().relayed, 1u);

    // Stopping the broadcast ends it at the sharer and tells the viewer.
    sharer.page->OnBroadcastButton();
    ASSERT_TRUE(CTestKit::PumpUntil([&] { return !sharer.page->IsBroadcasting(); }, 15000));
    EXPECT_FALSE(sharer.host.flag);
    ASSERT_TRUE(viewer.Take(CMD_SCREEN_BROADCAST_NOTICE, notice));
    EXPECT_EQ(0, notice[8]);
    viewer.page->EndReceiving();
    EXPECT_TRUE(CTestKit::PumpUntil([&] { return !viewer.page->IsReceiving(); }, 15000));
    pattern.DestroyWindow();
}

} // namespace
