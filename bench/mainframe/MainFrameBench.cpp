// Prints how long a received message waits before the main window hands it
// to the dispatcher (the 50 ms drain timer), beside a plain 50 ms window
// timer's wait measured the same way in the same process, and what one
// drain tick costs per message beside calling the handler directly.
// Run from the programs' folder.
#include "CBufferPool.h"
#include "CMainFrame.h"
#include "CStandInPanes.h"
#include "CUserTable.h"
#include "IFrameLink.h"
#include "IFrameMedia.h"
#include "IProcessLauncher.h"
#include "MainFrameResource.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <vector>

namespace {
double Now()
{
    LARGE_INTEGER f, t;
    ::QueryPerformanceFrequency(&f);
    ::QueryPerformanceCounter(&t);
    return double(t.QuadPart) / double(f.QuadPart);
}

class Link : public IFrameLink
{
public:
    Link() : queue(4, 256) {}
    CBufferPool* ReceivedQueue() override { return &queue; }
    bool SendStartNotice() override { return true; }
    bool SendKeepAlive() override { return true; }
    bool SendWindowLayout(const void*, uint8_t) override { return true; }
    bool SendWhiteboardData(const void*, uint16_t) override { return true; }
    void Close() override {}
    bool Put(uint16_t code)
    {
        CQueueBuffer* b = queue.GetFree(0);
        if (!b)
            return false;
        b->GetData()[0] = (unsigned char)code;
        b->GetData()[1] = (unsigned char)(code >> 8);
        b->SetLength(8);
        queue.PutFilled(b);
        return true;
    }
    CBufferPool queue;
};

class Media : public IFrameMedia
{
public:
    bool ConnectAudio(uint32_t, uint32_t, const char*, uint16_t) override { return true; }
    void StopAll() override {}
};

class Launcher : public IProcessLauncher
{
public:
    bool Start(const char*, const std::string&) override { return true; }
    bool ShellOpen(const char*) override { return true; }
};

void Pump()
{
    MSG msg;
    while (::PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessage(&msg);
    }
}

struct Stats
{
    double mean, p50, max;
};
Stats Summarise(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    double sum = 0;
    for (double x : v)
        sum += x;
    return {sum / v.size(), v[v.size() / 2], v.back()};
}

// A plain window with a 50 ms timer: how long a moment waits for its tick.
double g_tick = 0;
LRESULT CALLBACK PlainProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_TIMER)
        g_tick = Now();
    return ::DefWindowProcA(wnd, msg, wp, lp);
}
} // namespace

int main()
{
    const int rounds = 40;
    Link link;
    Media media;
    Launcher launcher;
    CStandInPanes panes;
    CUserTable users;
    LOGIN_INFO login = {};
    strcpy(login.serverAddress, "127.0.0.1");
    login.userId = 1;
    login.audioPort = login.audioPort2 = 7100;
    users.AddUser(1, "bench", 1);
    MAINFRAME_SERVICES s;
    s.link = &link;
    s.media = &media;
    s.panes = &panes;
    s.launcher = &launcher;
    s.login = &login;
    s.users = &users;
    CMainFrame* frame = new CMainFrame(s);
    double handled = 0;
    frame->SetMessageHandler([&](const unsigned char*, size_t) { handled = Now(); });
    if (!frame->LoadFrame(IDR_MAINFRAME, WS_OVERLAPPEDWINDOW)) {
        std::printf("the main window could not be created\n");
        return 1;
    }
    // Let the start-up step run.
    const double until = Now() + 0.3;
    while (Now() < until)
        Pump();

    std::vector<double> drainWait, plainWait;
    for (int i = 0; i < rounds; ++i) {
        ::Sleep(7 * (i % 7)); // put the message at varying moments of the timer's period
        handled = 0;
        link.Put(2050);
        const double put = Now();
        while (handled == 0 && Now() - put < 1.0) {
            Pump();
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
        }
        drainWait.push_back((handled - put) * 1000);
    }

    WNDCLASSA wc = {};
    wc.lpfnWndProc = PlainProc;
    wc.hInstance = ::GetModuleHandle(nullptr);
    wc.lpszClassName = "PlainTimerBench";
    ::RegisterClassA(&wc);
    HWND plain = ::CreateWindowA("PlainTimerBench", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                 wc.hInstance, nullptr);
    ::SetTimer(plain, 1, 50, nullptr);
    for (int i = 0; i < rounds; ++i) {
        ::Sleep(7 * (i % 7));
        g_tick = 0;
        const double put = Now();
        while (g_tick == 0 && Now() - put < 1.0) {
            Pump();
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
        }
        plainWait.push_back((g_tick - put) * 1000);
    }
    ::DestroyWindow(plain);

    const Stats d = Summarise(drainWait), p = Summarise(plainWait);
    std::printf("message wait until dispatch (%d messages)      mean %6.1f ms  median %6.1f ms  "
                "max %6.1f ms\n",
                rounds, d.mean, d.p50, d.max);
    std::printf("reference: plain 50 ms window timer's wait      mean %6.1f ms  median %6.1f ms  "
                "max %6.1f ms\n",
                p.mean, p.p50, p.max);

    // One drain tick with four queued messages, against four direct calls.
    const int ticks = 2000;
    int calls = 0;
    frame->SetMessageHandler([&](const unsigned char*, size_t) { ++calls; });
    double t0 = Now();
    for (int i = 0; i < ticks; ++i) {
        for (int k = 0; k < 4; ++k)
            link.Put(2088);
        frame->SendMessage(WM_TIMER, CMainFrame::TIMER_DRAIN, 0);
    }
    const double drain = (Now() - t0) / (ticks * 4.0);
    // The same queue round trip without the window: take, call, give back.
    std::function<void(const unsigned char*, size_t)> handler = [&](const unsigned char*, size_t) {
        ++calls;
    };
    t0 = Now();
    for (int i = 0; i < ticks; ++i) {
        for (int k = 0; k < 4; ++k)
            link.Put(2088);
        while (CQueueBuffer* b = link.queue.GetFilled(0)) {
            handler(b->GetData(), b->GetLength());
            link.queue.PutFree(b);
        }
    }
    const double loop = (Now() - t0) / (ticks * 4.0);
    std::printf("drain tick, per message (%d)                    %8.2f us\n", ticks * 4,
                drain * 1e6);
    std::printf("reference: the queue drained in a plain loop      %8.2f us\n", loop * 1e6);
    frame->DestroyWindow();
    return calls > 0 ? 0 : 1;
}
