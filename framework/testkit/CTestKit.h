#pragma once
#include "afxwin.h"

#include <functional>
#include <string>
#include <vector>

// Helpers for tests of windows. Every wait is bounded by a time limit, and
// no helper leaves a modal box open behind it.
class CTestKit
{
public:
    // Pumps the thread's messages (through the framework's pre-translation)
    // until pred() holds or timeoutMs passed; returns pred(). A WM_QUIT seen
    // meanwhile is recorded (QuitSeen) and not re-posted.
    static bool PumpUntil(const std::function<bool()>& pred, DWORD timeoutMs = 2000);
    // Pumps for the given time.
    static void PumpFor(DWORD ms);
    // Handles whatever is queued now, without waiting.
    static void PumpPending();
    static bool QuitSeen();
    static void ResetQuit();

    // Runs dlg.DoModal(). Once the dialog is up, action(dlg) runs from inside
    // its modal loop (it may set controls, click buttons, call EndDialog).
    // A dialog still open timeoutMs after the start is ended with IDABORT,
    // after closing any message box or dialog it opened. Returns DoModal's
    // result.
    static INT_PTR RunModal(CDialog& dlg, const std::function<void(CDialog&)>& action,
                            DWORD timeoutMs = 3000);

    // Ends every visible dialog box (class #32770) of this thread, innermost
    // first, with IDCANCEL; returns how many it closed.
    static int CloseThreadDialogs();

    // A window of this thread (top level or child) by class and/or title.
    static HWND FindThreadWindow(LPCSTR lpszClass, LPCSTR lpszTitle);

    // Pixels of a window's client area (or whole window), read back from a
    // memory bitmap after the window has painted: as shown on screen for a
    // visible window; a hidden one (and its shown children) is printed into
    // the bitmap through WM_PRINT.
    struct Snapshot
    {
        int width = 0;
        int height = 0;
        std::vector<COLORREF> pixels;
        COLORREF At(int x, int y) const;
        int Count(COLORREF c) const;
    };
    static Snapshot Capture(HWND hWnd, bool clientOnly = true);

    // Input posted to a window; points in client coordinates. The mouse
    // helpers move the cursor to the point first (see MoveCursor).
    static void Click(HWND hWnd, POINT pt, bool right = false);
    static void DoubleClick(HWND hWnd, POINT pt);
    static void MouseMove(HWND hWnd, POINT pt, UINT keys = 0);
    // Mouse input as a user gives it: the cursor is moved to the point
    // (client coordinates of hWnd) before the message is posted or sent, so
    // that what the code reads of the cursor (capture, leave tracking, hit
    // tests, message positions) agrees with the message.
    static void PostMouse(HWND hWnd, UINT msg, POINT pt, WPARAM keys = 0);
    static LRESULT SendMouse(HWND hWnd, UINT msg, POINT pt, WPARAM keys = 0);
    // Moves the cursor (hWnd NULL: pt in screen coordinates). Every test process on one display shares the one
    // cursor: the first call of a process waits (at most two minutes) until
    // no other process drives it, and the process keeps it until it ends.
    static void MoveCursor(HWND hWnd, POINT pt);
    // Takes the cursor as MoveCursor does and puts it in the screen's
    // bottom-right corner, away from every test window: for code that reads
    // where the cursor is (hot states, menu tracking) while the test means
    // it to be nowhere.
    static void ParkCursor();
    static void KeyPress(HWND hWnd, UINT vk);
    static void TypeText(HWND hWnd, LPCSTR text);
    // Sends the command a button click would (WM_COMMAND BN_CLICKED to its
    // parent), without relying on mouse input.
    static void ClickButton(HWND hButton);

    // While it lives, a thread timer closes every dialog box of the thread
    // (system message boxes, file and colour dialogs) shown longer than the
    // interval, so code under test that opens one cannot hang the test.
    class AutoCloseDialogs
    {
    public:
        explicit AutoCloseDialogs(DWORD intervalMs = 200);
        ~AutoCloseDialogs();
        int Closed() const;

    private:
        UINT_PTR m_timer;
    };

    // Answers framework message boxes (AfxMessageBox, CWnd::MessageBox)
    // with a fixed result and records them, while it lives.
    class MessageBoxes
    {
    public:
        explicit MessageBoxes(int answer = IDOK);
        ~MessageBoxes();
        struct Box
        {
            std::string text;
            std::string caption;
            UINT type;
        };
        const std::vector<Box>& Shown() const { return m_shown; }
        void SetAnswer(int answer) { m_answer = answer; }

    private:
        static int Hook(HWND, LPCSTR, LPCSTR, UINT);
        int m_answer;
        std::vector<Box> m_shown;
        AFX_MSGBOX_HOOK m_old;
        MessageBoxes* m_prev;
    };
};
