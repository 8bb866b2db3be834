// Prints, each beside a reference measured the same way in the same process:
// - the time to append one chat line to a history already holding 1k, 10k
//   and 50k lines, beside the same history control taking the same line
//   unformatted (what the pane adds: the line's text, format and selection);
// - the time to fill the participants list with 100, 500 and 1000 users and
//   to repaint it, beside a plain list box of the names; both fills run with
//   redrawing off, since each added row otherwise redraws the scroll bar at
//   once and the figures would be the display's;
// - the cost of one tick of the left pane's 100 ms level timer with its
//   repaint, beside a plain trackbar moved and repainted once per tick.
// Run from the programs' folder; "chat", "list" or "tick" runs one part.
#include "CDlgChat.h"
#include "CDlgLeft.h"
#include "CLanguageManager.h"
#include "CUserListBox.h"
#include "CUserTable.h"
#include "PaneContext.h"
#include "ServerWire.h"
#include "afxcmn.h"

#include <richedit.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

namespace {
double Now()
{
    LARGE_INTEGER f, t;
    ::QueryPerformanceFrequency(&f);
    ::QueryPerformanceCounter(&t);
    return double(t.QuadPart) / double(f.QuadPart);
}

void Pump()
{
    MSG msg;
    while (::PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessage(&msg);
    }
}

// A shown top-level window that holds the panes.
class CHolder : public CWnd
{
public:
    bool Create()
    {
        LPCSTR cls =
            AfxRegisterWndClass(0, ::LoadCursor(nullptr, IDC_ARROW), (HBRUSH)(COLOR_WINDOW + 1));
        return CreateEx(0, cls, "panes bench", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_VISIBLE,
                        0, 0, 900, 700, nullptr, nullptr) != FALSE;
    }
};

const char* const kLine =
    "alice 对 所有人 说:  the next slide shows the figures of the third quarter";

// count lines of history text, as the pane would hold them.
std::string History(int count)
{
    std::string text;
    text.reserve((size_t)count * 80);
    for (int i = 0; i < count; ++i)
        text += std::string(kLine) + " " + std::to_string(i) + "\r\n";
    return text;
}

void Prefill(CRichEditCtrl& edit, const std::string& text)
{
    edit.SetReadOnly(FALSE);
    edit.SetSel(-1, -1);
    edit.ReplaceSel(text.c_str());
}

// Microseconds per call of step, over n calls.
template <class F>
double PerCall(int n, F step)
{
    const double t0 = Now();
    for (int i = 0; i < n; ++i)
        step(i);
    return (Now() - t0) / n * 1e6;
}

void ChatAppend(CHolder& holder, PANE_CONTEXT ctx)
{
    const int appends = 50;
    for (int lines : {1000, 10000, 50000}) {
        const std::string history = History(lines);
        CDlgChat chat(ctx);
        if (!chat.CreatePane(&holder)) {
            std::printf("the chat pane could not be created\n");
            return;
        }
        chat.MoveWindow(0, 0, 700, 300);
        Prefill(chat.GetHistory(), history);
        Pump();
        const double pane = PerCall(appends, [&](int) {
            chat.AppendChatLine("alice", "所有人", "the next slide shows the figures",
                                RGB(0, 0, 128), "宋体", 10);
            chat.GetHistory().UpdateWindow();
        });
        CRichEditCtrl& plain = chat.GetHistory();
        const std::string line = std::string(kLine) + "\r\n";
        const double reference = PerCall(appends, [&](int) {
            plain.SetSel(-1, -1);
            plain.ReplaceSel(line.c_str());
            plain.UpdateWindow();
        });
        chat.DestroyWindow();
        Pump();
        std::printf("chat line appended after %5d lines           %9.1f us\n", lines, pane);
        std::printf("reference: same history, line unformatted     %9.1f us\n", reference);
    }
}

void UserList(CHolder& holder, PANE_CONTEXT ctx, CUserTable& users)
{
    const int repaints = 20;
    for (int count : {100, 500, 1000}) {
        users.RemoveAll();
        for (int i = 0; i < count; ++i) {
            const std::string name = "user" + std::to_string(i);
            users.AddUser(100 + i, name.c_str(), i % 7 == 0 ? 1 : 0);
            users.SetSpeakState(100 + i, (uint8_t)(i % 3));
        }
        CUserListBox list(ctx);
        list.CreateList(&holder, CRect(0, 0, 200, 600), 2000);
        Pump();
        double t0 = Now();
        list.SetRedraw(FALSE);
        for (int i = 0; i < count; ++i)
            list.AddUser(100 + i);
        list.SetRedraw(TRUE);
        const double fill = (Now() - t0) * 1e3;
        const double paint =
            PerCall(repaints,
                    [&](int) {
                        list.RedrawWindow(nullptr, nullptr,
                                          RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
                    }) /
            1e3;
        list.DestroyWindow();

        CListBox plain;
        plain.Create(WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT,
                     CRect(0, 0, 200, 600), &holder, 2001);
        Pump();
        t0 = Now();
        plain.SetRedraw(FALSE);
        for (int i = 0; i < count; ++i)
            plain.AddString(("user" + std::to_string(i)).c_str());
        plain.SetRedraw(TRUE);
        const double plainFill = (Now() - t0) * 1e3;
        const double plainPaint =
            PerCall(repaints,
                    [&](int) {
                        plain.RedrawWindow(nullptr, nullptr,
                                           RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
                    }) /
            1e3;
        plain.DestroyWindow();
        Pump();
        std::printf("participants list, %4d users: fill %8.2f ms, repaint %7.2f ms\n", count, fill,
                    paint);
        std::printf("reference: plain list box:        fill %8.2f ms, repaint %7.2f ms\n",
                    plainFill, plainPaint);
    }
}

void LevelTick(CHolder& holder, PANE_CONTEXT ctx)
{
    const int ticks = 200;
    CDlgLeft left(ctx);
    if (!left.CreatePane(&holder)) {
        std::printf("the left pane could not be created\n");
        return;
    }
    left.MoveWindow(700, 0, 200, 650);
    left.KillTimer(CDlgLeft::TIMER_LEVELS);
    Pump();
    const double pane = PerCall(ticks, [&](int) {
        left.OnLevelTick();
        left.RedrawWindow(nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    });
    left.DestroyWindow();

    CSliderCtrl plain;
    plain.Create(WS_CHILD | WS_VISIBLE | TBS_HORZ, CRect(700, 0, 880, 30), &holder, 3000);
    plain.SetRange(0, 100);
    Pump();
    const double reference = PerCall(ticks, [&](int i) {
        plain.SetPos(i % 101);
        plain.Invalidate(FALSE);
        plain.UpdateWindow();
    });
    plain.DestroyWindow();
    std::printf("left pane level tick (%d ticks)              %9.1f us\n", ticks, pane);
    std::printf("reference: plain trackbar moved and repainted  %9.1f us\n", reference);
}
} // namespace

int main(int argc, char** argv)
{
    const std::string only = argc > 1 ? argv[1] : "";
    ::LoadLibraryA("riched20.dll");
    InitCommonControls();
    CUserTable users;
    LOGIN_INFO login = {};
    login.userId = 1;
    login.role = 1;
    users.AddUser(1, "bench", 1);
    PANE_CONTEXT ctx;
    ctx.users = &users;
    ctx.login = &login;
    ctx.language = &g_LangManager;
    CHolder holder;
    if (!holder.Create()) {
        std::printf("no window\n");
        return 1;
    }
    if (only.empty() || only == "chat")
        ChatAppend(holder, ctx);
    if (only.empty() || only == "list")
        UserList(holder, ctx, users);
    users.RemoveAll();
    users.AddUser(1, "bench", 1);
    if (only.empty() || only == "tick")
        LevelTick(holder, ctx);
    holder.DestroyWindow();
    return 0;
}
