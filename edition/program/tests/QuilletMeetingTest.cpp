// A meeting of both editions on the stand-in server of this process: an
// installed Halvern and an installed Quillet in one room list each other,
// each one's chat line shows in the other's history, and once the Quillet
// participant speaks, its audio (the stand-in microphone's tone through
// RavoTM) is relayed to the other participant.
#include <gtest/gtest.h>

#include <winsock2.h>
#include <windows.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "CAudioRelay.h"
#include "CStandInServer.h"
#include "CTcpLink.h"
#include "HalvernProcess.h"
#include "StandInTestKit.h"

namespace {

const DWORD kStartMs = 150000;

enum : int { ID_CHAT_INPUT = 1005, ID_CHAT_SEND = 1006, ID_CHAT_HISTORY = 1008, ID_SPEAK = 1007 };

struct ChildSearch
{
    int id;
    const char* cls;
    HWND found;
};

BOOL CALLBACK FindChild(HWND wnd, LPARAM param)
{
    ChildSearch* s = reinterpret_cast<ChildSearch*>(param);
    char cls[64] = {};
    GetClassNameA(wnd, cls, sizeof cls - 1);
    if (GetDlgCtrlID(wnd) == s->id && (!s->cls || strstr(cls, s->cls))) {
        s->found = wnd;
        return FALSE;
    }
    return TRUE;
}

// The first descendant of top with the id (and a class containing cls).
HWND Control(HWND top, int id, const char* cls = nullptr)
{
    ChildSearch s = {id, cls, nullptr};
    EnumChildWindows(top, FindChild, (LPARAM)&s);
    return s.found;
}

std::string Text(HWND wnd)
{
    std::vector<char> text(65536);
    SendMessageA(wnd, WM_GETTEXT, text.size() - 1, (LPARAM)text.data());
    return text.data();
}

template <class Pred>
bool WaitUntil(Pred pred, DWORD timeoutMs)
{
    auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!pred()) {
        if (std::chrono::steady_clock::now() >= end)
            return false;
        Sleep(200);
    }
    return true;
}

struct FrameSearch
{
    DWORD process;
    HWND found;
};

BOOL CALLBACK VisitFrame(HWND wnd, LPARAM param)
{
    FrameSearch* s = reinterpret_cast<FrameSearch*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(wnd, &pid);
    if (pid == s->process && IsWindowVisible(wnd) &&
        HalvernProcess::WindowText(wnd).find("Halvern--") == 0) {
        s->found = wnd;
        return FALSE;
    }
    return TRUE;
}

// The client's main window once its title counts two participants (both
// editions show the shared caption).
HWND MainWindow(HalvernProcess& client)
{
    HWND frame = nullptr;
    WaitUntil(
        [&] {
            FrameSearch s = {client.process.dwProcessId, nullptr};
            EnumWindows(VisitFrame, (LPARAM)&s);
            frame = s.found;
            return frame &&
                   HalvernProcess::WindowText(frame).find("参与人数2") != std::string::npos;
        },
        kStartMs);
    return frame;
}

// Types a line into a client's chat pane and sends it.
bool Say(HWND frame, const char* line)
{
    HWND input = Control(frame, ID_CHAT_INPUT, "Edit"),
         send = Control(frame, ID_CHAT_SEND, "Button");
    if (!input || !send)
        return false;
    SendMessageA(input, WM_SETTEXT, 0, (LPARAM)line);
    PostMessageA(GetParent(send), WM_COMMAND, MAKEWPARAM(ID_CHAT_SEND, BN_CLICKED), (LPARAM)send);
    return true;
}

bool Heard(HWND frame, const char* line)
{
    HWND history = Control(frame, ID_CHAT_HISTORY);
    return history && Text(history).find(line) != std::string::npos;
}

class QuilletMeeting : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(StartWinsock());
        config = StandInTestConfig();
        config.audioPort = 0; // a free port: the relay is this test's own
        server = std::make_unique<CStandInServer>(config);
        ASSERT_TRUE(server->Start(0));
        for (HalvernProcess* c : {&halvern, &quillet}) {
            std::string error;
            ASSERT_TRUE(
                c->Install(c == &halvern ? "mixed_e2e_halvern" : "mixed_e2e_quillet", &error))
                << error;
            c->SetIni("Version", config.version);
            c->SetIni("ServerPort", std::to_string(server->GetPort()));
        }
        quillet.program = "Quillet.exe";
        // The stand-in microphone: a tone (Wine's devices here are not usable).
        SetEnvironmentVariableA("KADREL_TEST_TONE", "440,8000");
    }
    void TearDown() override
    {
        quillet.Stop();
        halvern.Stop();
        server->Stop();
        WSACleanup();
        SetEnvironmentVariableA("KADREL_TEST_TONE", nullptr);
    }

    CServerConfig config;
    std::unique_ptr<CStandInServer> server;
    HalvernProcess halvern, quillet;
};

} // namespace

TEST_F(QuilletMeeting, BothEditionsChatAndTheOtherGetsQuilletsAudio)
{
    ASSERT_TRUE(halvern.Start("127.0.0.1 \"Room two\" 2 host pw"));
    ASSERT_TRUE(quillet.Start("127.0.0.1 \"Room two\" 2 alice a"));
    HWND halvernFrame = MainWindow(halvern);
    HWND quilletFrame = MainWindow(quillet);
    ASSERT_NE(nullptr, halvernFrame) << halvern.ReadFile("Quillet.log");
    ASSERT_NE(nullptr, quilletFrame) << quillet.ReadFile("Quillet.log");

    ASSERT_TRUE(Say(halvernFrame, "hello from the current edition"));
    EXPECT_TRUE(
        WaitUntil([&] { return Heard(quilletFrame, "hello from the current edition"); }, 30000));
    ASSERT_TRUE(Say(quilletFrame, "hello from the earlier edition"));
    EXPECT_TRUE(
        WaitUntil([&] { return Heard(halvernFrame, "hello from the earlier edition"); }, 30000));

    // The Quillet participant asks to speak (granted at once in this room);
    // its audio then goes on to the other participant.
    ASSERT_NE(server->AudioRelay(), nullptr);
    const uint64_t before = server->AudioRelay()->GetCounters().relayed;
    HWND speak = Control(quilletFrame, ID_SPEAK, "Button");
    ASSERT_NE(nullptr, speak);
    PostMessageA(GetParent(speak), WM_COMMAND, MAKEWPARAM(ID_SPEAK, BN_CLICKED), (LPARAM)speak);
    EXPECT_TRUE(
        WaitUntil([&] { return server->AudioRelay()->GetCounters().relayed > before + 10; }, 30000))
        << "relayed " << server->AudioRelay()->GetCounters().relayed << "\n"
        << quillet.ReadFile("Quillet.log");
    EXPECT_EQ(server->AudioRelay()->GetCounters().refused, 0u);
}
