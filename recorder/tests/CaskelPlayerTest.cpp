// The player as the player program binds it: the PV_ names of the library,
// a recording made through the RV_ names and played back into a window.
#include <gtest/gtest.h>

#include "afxwin.h"

#include <string>

#include "BoardRuns.h"
#include "CString.h"
#include "CTestKit.h"
#include "RecordingFixture.h"

namespace {

const char* const kPlayerExports[13] = {
    "PV_StartPlay",     "PV_GetMeetingName",   "PV_GetMeetingDate",
    "PV_GetTotalTime",  "PV_GetCurTime",       "PV_SetCurTime",
    "PV_Pause",         "PV_Resume",           "PV_StopPlay",
    "PV_SetWindowRect", "PV_GetFileTotalTime", "PV_StartConvert",
    "PV_StopConvert",
};

int g_errors = 0;
int g_finished = 0;

LRESULT CALLBACK OwnerProc(HWND h, UINT m, WPARAM w, LPARAM l)
{
    if (m == WM_USER + 100)
        ++g_errors;
    if (m == WM_USER + 101)
        ++g_finished;
    return DefWindowProcA(h, m, w, l);
}

bool PumpUntil(const std::function<bool()>& pred, DWORD ms = 10000)
{
    DWORD start = GetTickCount();
    for (;;) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        if (pred())
            return true;
        if (GetTickCount() - start > ms)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

class CaskelPlayer : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_module = LoadLibraryA("Caskel.dll");
        ASSERT_NE(nullptr, m_module) << GetLastError();
        WNDCLASSA wc = {};
        wc.lpfnWndProc = OwnerProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "CaskelPlayerOwner";
        wc.hbrBackground = (HBRUSH)GetStockObject(WHITE_BRUSH);
        RegisterClassA(&wc);
        HWND h = CreateWindowA("CaskelPlayerOwner", "owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                               900, 650, nullptr, nullptr, wc.hInstance, nullptr);
        ASSERT_NE(nullptr, h);
        m_owner.Attach(h);
        g_errors = g_finished = 0;
    }
    void TearDown() override
    {
        if (m_module)
            Bind<int (*)()>("PV_StopPlay")();
        if (m_owner.m_hWnd)
            ::DestroyWindow(m_owner.Detach());
        if (m_module)
            FreeLibrary(m_module);
    }
    template <typename F>
    F Bind(const char* name)
    {
        return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(m_module, name)));
    }
    HMODULE m_module = nullptr;
    CWnd m_owner;
};

} // namespace

TEST_F(CaskelPlayer, ExportsEveryPlayerNameAtItsOrdinal)
{
    for (int i = 0; i < 13; ++i) {
        FARPROC byName = GetProcAddress(m_module, kPlayerExports[i]);
        EXPECT_NE(nullptr, byName) << kPlayerExports[i];
        EXPECT_EQ(byName, GetProcAddress(m_module, MAKEINTRESOURCEA(24 + i))) << kPlayerExports[i];
    }
}

TEST_F(CaskelPlayer, WithoutAPlayerEveryCallIsHarmless)
{
    EXPECT_EQ(0u, Bind<uint32_t (*)()>("PV_GetTotalTime")());
    EXPECT_EQ(0u, Bind<uint32_t (*)()>("PV_GetCurTime")());
    EXPECT_EQ(0, Bind<int (*)(uint32_t)>("PV_SetCurTime")(0));
    EXPECT_EQ(0, Bind<int (*)()>("PV_Pause")());
    EXPECT_EQ(0, Bind<int (*)()>("PV_Resume")());
    EXPECT_EQ(0, Bind<int (*)(int, int, int, int)>("PV_SetWindowRect")(0, 0, 10, 10));
    EXPECT_EQ(1, Bind<int (*)()>("PV_StopPlay")());
    Bind<void (*)()>("PV_StopConvert")();
    CString name = Bind<CString (*)()>("PV_GetMeetingName")();
    EXPECT_TRUE(name.IsEmpty());
}

TEST_F(CaskelPlayer, ARecordingMadeThroughTheLibraryPlaysBackIntoTheWindow)
{
    TempFolder dir;
    const std::string path = dir.File("meeting.Pellrund");
    auto start = Bind<int (*)(const char*, const char*)>("RV_StartRecord");
    auto audio = Bind<int (*)(const void*, int, uint32_t)>("RV_WriteAudioData");
    auto chat = Bind<int (*)(const char*, uint32_t)>("RV_WriteChatData");
    auto addVideo = Bind<int (*)(uint32_t)>("RV_AddVideo");
    auto showBoard = Bind<int (*)(uint8_t)>("RV_ShowBoardWnd");
    auto stop = Bind<int (*)()>("RV_StopRecord");
    ASSERT_EQ(1, start(path.c_str(), ""));
    ASSERT_EQ(1, addVideo(5));
    ASSERT_EQ(1, chat("alice", 1));
    ASSERT_EQ(1, chat("alice: hello", 0));
    const unsigned char packet[6] = {0, 1, 0, 0, 0, 9};
    ASSERT_EQ(1, audio(packet, 6, 5));
    ASSERT_EQ(1, showBoard(0));
    Sleep(300);
    ASSERT_EQ(1, stop());

    auto totalOf = Bind<uint32_t (*)(const char*)>("PV_GetFileTotalTime");
    const uint32_t total = totalOf(path.c_str());
    EXPECT_GE(total, 300u);
    EXPECT_EQ(0u, totalOf(dir.File("none.Pellrund").c_str()));

    auto play = Bind<int (*)(CWnd*, const char*)>("PV_StartPlay");
    ASSERT_EQ(1, play(&m_owner, path.c_str()));
    EXPECT_EQ(total, Bind<uint32_t (*)()>("PV_GetTotalTime")());
    CString name = Bind<CString (*)()>("PV_GetMeetingName")();
    EXPECT_STREQ(path.c_str(), (LPCSTR)name);
    EXPECT_EQ(1, Bind<int (*)(int, int, int, int)>("PV_SetWindowRect")(0, 0, 880, 600));
    ASSERT_TRUE(PumpUntil([] { return g_finished > 0; }));
    EXPECT_EQ(0, g_errors);
    // The user list names the participant; the board area was hidden.
    HWND users = ::GetDlgItem(m_owner.m_hWnd, 1234);
    ASSERT_NE(nullptr, users);
    char line[64] = "";
    ::SendMessageA(users, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(line));
    EXPECT_STREQ("用户：alice", line);
    PumpUntil([] { return false; }, 100);
    EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(m_owner.m_hWnd, 154)));
    EXPECT_TRUE(::IsWindowVisible(::GetDlgItem(m_owner.m_hWnd, 10010)));

    // A foreign file is refused at the start and leaves no windows.
    ASSERT_TRUE(WriteWholeFile(dir.File("foreign.Pellrund"), Bytes(200, 'x')));
    EXPECT_EQ(0, play(&m_owner, dir.File("foreign.Pellrund").c_str()));
    EXPECT_EQ(nullptr, ::GetDlgItem(m_owner.m_hWnd, 1234));
    EXPECT_EQ(0u, Bind<uint32_t (*)()>("PV_GetTotalTime")());
}

TEST_F(CaskelPlayer, TheRecordedWhiteboardIsDrawnWithItsPageBackground)
{
    using namespace board_runs;
    TempFolder dir;
    const std::string path = dir.File("board.Pellrund");
    const std::string picture = dir.File("page0.bmp");
    ASSERT_TRUE(WriteWholeFile(picture, SolidBitmap(kBlue)));
    auto board = Bind<int (*)(const void*, int)>("RV_WriteBoardData");
    ASSERT_EQ(1, Bind<int (*)(const char*, const char*)>("RV_StartRecord")(path.c_str(), ""));
    ASSERT_EQ(1, Bind<int (*)(uint8_t)>("RV_ShowBoardWnd")(1));
    ASSERT_EQ(
        1, Bind<int (*)(const char*, uint32_t, uint32_t)>("RV_WriteFile")(picture.c_str(), 7, 0));
    const BoardBytes run =
        Joined({Open(7, 300, 200, 1, "slides"), AddBox(7, 0, 1, {20, 20, 80, 60})});
    ASSERT_EQ(1, board(run.data(), static_cast<int>(run.size())));
    Sleep(200);
    ASSERT_EQ(1, Bind<int (*)()>("RV_StopRecord")());

    ASSERT_EQ(1, Bind<int (*)(CWnd*, const char*)>("PV_StartPlay")(&m_owner, path.c_str()));
    EXPECT_EQ(1, Bind<int (*)(int, int, int, int)>("PV_SetWindowRect")(0, 0, 880, 600));
    ASSERT_TRUE(PumpUntil([] { return g_finished > 0; }));
    EXPECT_EQ(0, g_errors);
    // The tab strip's whiteboard page: the board, its view manager and the
    // document's page view, shown.
    HWND tabs = ::GetDlgItem(m_owner.m_hWnd, 154);
    ASSERT_NE(nullptr, tabs);
    HWND frame = ::GetDlgItem(tabs, 0);
    HWND manager = frame ? ::GetWindow(frame, GW_CHILD) : nullptr;
    HWND view = manager ? ::GetWindow(manager, GW_CHILD) : nullptr;
    ASSERT_NE(nullptr, view);
    ASSERT_TRUE(::IsWindowVisible(view));
    ::RedrawWindow(view, NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    CTestKit::Snapshot shot = CTestKit::Capture(view);
    EXPECT_EQ(kRed, shot.At(50, 40)) << "the recorded object";
    EXPECT_EQ(kBlue, shot.At(150, 150)) << "the recorded page picture";
}
