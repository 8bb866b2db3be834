#include <gtest/gtest.h>

#include "CTestKit.h"
#include "afxcmn.h"
#include "afxdlgs.h"
#include "afxext.h"
#include "afxhtml.h"
#include "afxmt.h"
#include "afxwin.h"

#include <atomic>
#include <string>
#include <vector>

// The smaller parts: strings crossing a DLL, the DLL's application object,
// settings, time, locks, rect tracker, HTML view without a browser, the
// system dialogs and owner-drawn menus.
TEST(FrameworkDll, StringsAndListsChangeHandsWithALibrary)
{
    HMODULE dll = LoadLibraryA("framework_test_dll.dll");
    ASSERT_NE(dll, nullptr);
    auto state = (int (*)())GetProcAddress(dll, "DllAppState");
    auto fill = (void (*)(CString*, CStringList*))GetProcAddress(dll, "FillStrings");
    ASSERT_TRUE(state && fill);
    EXPECT_EQ(state(), 1) << "the library's InitInstance ran when it was loaded";
    {
        CString text("from the program");
        CStringList list;
        list.AddTail("first");
        fill(&text, &list);
        EXPECT_EQ(text.Find("from the program and more"), 0);
        text += " and again in the program";
        EXPECT_EQ(list.GetCount(), 51);
        EXPECT_STREQ(list.GetTail(), "item 49");
        while (list.GetCount() > 1)
            list.RemoveTail(); // nodes and strings made in the library
        EXPECT_TRUE(HeapValidate(GetProcessHeap(), 0, NULL));
    }
    FreeLibrary(dll);
}

TEST(FrameworkApp, ProfileSettingsGoToTheRegistryOnceAKeyIsSet)
{
    CWinApp app("FrameworkTestApp");
    app.InitModule(GetModuleHandleA(NULL), (LPSTR) "", SW_SHOW);
    app.SetRegistryKey("HalvernTests");
    EXPECT_TRUE(app.WriteProfileInt("Section", "Number", -5));
    EXPECT_EQ((int)app.GetProfileInt("Section", "Number", 0), -5);
    EXPECT_EQ(app.GetProfileInt("Section", "Missing", 7), 7u);
    EXPECT_TRUE(app.WriteProfileString("Section", "Text", "会议"));
    EXPECT_STREQ(app.GetProfileString("Section", "Text"), "会议");
    EXPECT_STREQ(app.GetProfileString("Section", "Nothing", "dflt"), "dflt");
    BYTE data[5] = {0, 1, 2, 0xFE, 0xFF};
    EXPECT_TRUE(app.WriteProfileBinary("Section", "Blob", data, 5));
    LPBYTE back = NULL;
    UINT n = 0;
    ASSERT_TRUE(app.GetProfileBinary("Section", "Blob", &back, &n));
    EXPECT_EQ(n, 5u);
    EXPECT_EQ(memcmp(back, data, 5), 0);
    delete[] back;
    HKEY key = app.GetSectionKey("Section");
    EXPECT_NE(key, nullptr);
    RegCloseKey(key);
    EXPECT_EQ(AfxGetApp(), &app);
}

static DWORD WINAPI TryTheLock(LPVOID p)
{
    CCriticalSection* cs = (CCriticalSection*)p;
    if (!TryEnterCriticalSection(&cs->m_sect))
        return 0;
    LeaveCriticalSection(&cs->m_sect);
    return 1;
}

namespace {
struct ThreadHandles
{
    std::atomic<HANDLE> own{NULL};     // the thread object's handle, as the thread saw it
    std::atomic<HANDLE> watcher{NULL}; // our own handle, to wait for the thread's end
};

UINT RecordThreadHandles(LPVOID p)
{
    ThreadHandles* h = (ThreadHandles*)p;
    HANDLE own = AfxGetThread()->m_hThread, watcher = NULL;
    DuplicateHandle(GetCurrentProcess(), own, GetCurrentProcess(), &watcher, SYNCHRONIZE, FALSE, 0);
    h->own = own;
    h->watcher = watcher;
    return 0;
}
} // namespace

TEST(FrameworkThread, SelfDeletingThreadClosesItsHandle)
{
    // A worker that frees its own object on the way out must not leave its
    // thread handle open: long runs start many of them.
    ThreadHandles h;
    CWinThread* t =
        AfxBeginThread(RecordThreadHandles, &h, THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
    ASSERT_NE(t, nullptr);
    ASSERT_TRUE(t->m_bAutoDelete);
    t->ResumeThread();
    for (int i = 0; i < 500 && !h.watcher; ++i)
        Sleep(10);
    ASSERT_NE(h.watcher.load(), nullptr);
    ASSERT_EQ(WaitForSingleObject(h.watcher, 5000), WAIT_OBJECT_0);
    CloseHandle(h.watcher);
    DWORD flags = 0;
    EXPECT_FALSE(GetHandleInformation(h.own, &flags))
        << "the finished thread's handle is still open";
}

namespace {
void CALLBACK CloseStrayBoxes(HWND, UINT, UINT_PTR, DWORD) { CTestKit::CloseThreadDialogs(); }
} // namespace

TEST(FrameworkApp, ErrorReportsAreAnsweredLikeAnyMessageBox)
{
    // A report that went around the framework's message box would stand open
    // with nobody to answer it; should it, this timer closes it.
    UINT_PTR closer = ::SetTimer(NULL, 0, 1000, CloseStrayBoxes);
    CTestKit::MessageBoxes boxes(IDCANCEL);
    CUserException e;
    int answer = e.ReportError(MB_OKCANCEL | MB_ICONEXCLAMATION);
    ::KillTimer(NULL, closer);
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(boxes.Shown()[0].type & MB_TYPEMASK, (UINT)MB_OKCANCEL);
    EXPECT_EQ(answer, IDCANCEL);
}

TEST(FrameworkApp, TimeFormatsAndLocks)
{
    CTime t(2024, 3, 5, 7, 8, 9);
    EXPECT_STREQ(t.Format("%Y-%m-%d %H:%M:%S"), "2024-03-05 07:08:09");
    EXPECT_EQ(t.GetDayOfWeek(), 3); // a Tuesday
    CTimeSpan span = CTime(2024, 3, 6, 7, 8, 10) - t;
    EXPECT_EQ(span.GetDays(), 1);
    EXPECT_EQ(span.GetSeconds(), 1);
    EXPECT_STREQ(CTime(-1).Format("%Y"), "") << "a time that cannot be shown gives no text";

    CCriticalSection cs;
    {
        CSingleLock lock(&cs, TRUE);
        EXPECT_TRUE(lock.IsLocked());
        EXPECT_TRUE(TryEnterCriticalSection(&cs.m_sect)); // same thread re-enters
        LeaveCriticalSection(&cs.m_sect);
    }
    HANDLE other = CreateThread(NULL, 0, TryTheLock, &cs, 0, NULL);
    WaitForSingleObject(other, 2000);
    DWORD code = 0;
    GetExitCodeThread(other, &code);
    CloseHandle(other);
    EXPECT_EQ(code, 1u) << "the lock was released";
    CEvent ev(FALSE, TRUE);
    EXPECT_FALSE(ev.Lock(0));
    ev.SetEvent();
    EXPECT_TRUE(ev.Lock(0));
}

namespace {
class CTrackWnd : public CWnd
{};
} // namespace

TEST(FrameworkTracker, TrackMovesAndResizesUntilTheButtonGoesUp)
{
    CTrackWnd w;
    ASSERT_TRUE(w.CreateEx(0, AfxRegisterWndClass(0), "tracker", WS_POPUP | WS_VISIBLE, 0, 0, 300,
                           300, NULL, NULL));
    CRectTracker tracker(CRect(50, 50, 150, 100),
                         CRectTracker::solidLine | CRectTracker::resizeOutside);
    EXPECT_EQ(tracker.HitTest(CPoint(100, 75)), CRectTracker::hitMiddle);
    EXPECT_EQ(tracker.HitTest(CPoint(10, 10)), CRectTracker::hitNothing);
    CRect handle;
    EXPECT_EQ(tracker.HitTest(CPoint(152, 102)), CRectTracker::hitBottomRight);

    // move: the input is queued before tracking starts, so the loop ends
    CTestKit::PostMouse(w.m_hWnd, WM_MOUSEMOVE, POINT{110, 85}, MK_LBUTTON);
    CTestKit::PostMouse(w.m_hWnd, WM_LBUTTONUP, POINT{120, 95});
    EXPECT_TRUE(tracker.Track(&w, CPoint(100, 75)));
    EXPECT_EQ(tracker.m_rect, CRect(70, 70, 170, 120));

    // resize from the bottom-right handle, then cancel another with Escape
    CTestKit::PostMouse(w.m_hWnd, WM_LBUTTONUP, POINT{182, 142});
    EXPECT_TRUE(tracker.Track(&w, CPoint(172, 122)));
    EXPECT_EQ(tracker.m_rect, CRect(70, 70, 180, 140));
    CTestKit::PostMouse(w.m_hWnd, WM_MOUSEMOVE, POINT{0, 0}, MK_LBUTTON);
    PostMessageA(w.m_hWnd, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_FALSE(tracker.Track(&w, CPoint(100, 100)));
    EXPECT_EQ(tracker.m_rect, CRect(70, 70, 180, 140)) << "a cancelled track changes nothing";
    EXPECT_EQ(GetCapture(), nullptr);

    // rubber band
    CTestKit::PostMouse(w.m_hWnd, WM_LBUTTONUP, POINT{40, 30});
    EXPECT_TRUE(tracker.TrackRubberBand(&w, CPoint(10, 10)));
    EXPECT_EQ(tracker.m_rect, CRect(10, 10, 40, 30));
    w.DestroyWindow();
}

namespace {
class CLoggingHtmlView : public CHtmlView
{
public:
    std::vector<std::string> log;
    BOOL back = FALSE;
    void OnBeforeNavigate2(LPCSTR url, DWORD, LPCSTR, CByteArray& post, LPCSTR,
                           BOOL* cancel) override
    {
        log.push_back(std::string("before:") + url + ":" +
                      std::string((const char*)post.GetData(), (size_t)post.GetSize()));
        *cancel = strstr(url, "blocked") != NULL;
    }
    void OnNavigateComplete2(LPCSTR url) override { log.push_back(std::string("complete:") + url); }
    void OnCommandStateChange(long cmd, BOOL enable) override
    {
        if (cmd == CSC_NAVIGATEBACK)
            back = enable;
    }
};
} // namespace

TEST(FrameworkHtmlView, NavigatesAndReportsWithoutABrowserEngine)
{
    CWnd parent;
    ASSERT_TRUE(
        parent.CreateEx(0, AfxRegisterWndClass(0), "html", WS_POPUP, 0, 0, 300, 200, NULL, NULL));
    CLoggingHtmlView* view = new CLoggingHtmlView;
    ASSERT_TRUE(view->Create(NULL, NULL, WS_CHILD | WS_VISIBLE, CRect(0, 0, 300, 200), &parent, 1));
    char post[3] = {'a', 'b', 'c'};
    view->Navigate2("http://host/one", 0, NULL, NULL, post, 3);
    EXPECT_TRUE(CTestKit::PumpUntil([&] { return !view->GetBusy(); }, 1000));
    view->Navigate2("http://host/blocked");
    CByteArray form;
    for (char c : std::string("k=v"))
        form.Add((BYTE)c);
    view->Navigate2("http://host/two", 0, form);
    EXPECT_TRUE(CTestKit::PumpUntil([&] { return !view->GetBusy(); }, 1000));
    EXPECT_STREQ(view->GetLocationURL(), "http://host/two");
    EXPECT_TRUE(view->back);
    view->GoBack();
    EXPECT_TRUE(CTestKit::PumpUntil([&] { return !view->GetBusy(); }, 1000));
    EXPECT_STREQ(view->GetLocationURL(), "http://host/one");
    std::vector<std::string> expected = {
        "before:http://host/one:abc", "complete:http://host/one", "before:http://host/blocked:",
        "before:http://host/two:k=v", "complete:http://host/two", "before:http://host/one:",
        "complete:http://host/one"};
    EXPECT_EQ(view->GetHtmlDocument(), nullptr) << "no browser here: the view fell back";
    EXPECT_EQ(view->log, expected);
    parent.DestroyWindow(); // the view frees itself
}

TEST(FrameworkCommonDialogs, SystemDialogsAreBoundedInTestsAndFiltersConvert)
{
    CFileDialog open(TRUE, "kqf", "start.kqf", OFN_HIDEREADONLY,
                     "Board (*.kqf)|*.kqf|All (*.*)|*.*||");
    EXPECT_EQ(memcmp(open.m_ofn.lpstrFilter, "Board (*.kqf)\0*.kqf\0All (*.*)\0*.*\0\0", 34), 0);
    EXPECT_STREQ(open.GetFileName(), "start.kqf");
    EXPECT_STREQ(open.GetFileExt(), "kqf");
    EXPECT_STREQ(open.GetFileTitle(), "start");

    // the kit closes whatever dialog the system shows
    CTestKit::AutoCloseDialogs closer;
    DWORD start = GetTickCount();
    CColorDialog color(RGB(1, 2, 3));
    EXPECT_EQ(color.DoModal(), IDCANCEL);
    EXPECT_EQ(color.GetColor(), RGB(1, 2, 3));
    EXPECT_EQ(::MessageBoxA(NULL, "left open", "box", MB_OKCANCEL), IDCANCEL);
    EXPECT_EQ(closer.Closed(), 2);
    EXPECT_LT(GetTickCount() - start, 5000u);
}

namespace {
class CIconMenu : public CMenu
{
public:
    int measured = 0, drawn = 0;
    void MeasureItem(LPMEASUREITEMSTRUCT mis) override
    {
        ++measured;
        mis->itemWidth = 100;
        mis->itemHeight = 20;
    }
    void DrawItem(LPDRAWITEMSTRUCT) override { ++drawn; }
};
} // namespace

TEST(FrameworkMenu, OwnerDrawnItemsReachTheMenuObject)
{
    CWnd w;
    ASSERT_TRUE(
        w.CreateEx(0, AfxRegisterWndClass(0), "menu", WS_POPUP, 0, 0, 100, 100, NULL, NULL));
    CIconMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    menu.AppendMenu(MF_OWNERDRAW, 777, (LPCSTR)(void*)0x1234);
    EXPECT_EQ(CMenu::FromHandlePermanent(menu.m_hMenu), &menu);
    MEASUREITEMSTRUCT mis = {ODT_MENU, 0, 777, 0, 0, 0x1234};
    w.SendMessage(WM_MEASUREITEM, 0, (LPARAM)&mis);
    EXPECT_EQ(menu.measured, 1);
    EXPECT_EQ(mis.itemWidth, 100u);
    DRAWITEMSTRUCT dis = {};
    dis.CtlType = ODT_MENU;
    dis.itemID = 777;
    dis.hwndItem = (HWND)menu.m_hMenu;
    w.SendMessage(WM_DRAWITEM, 0, (LPARAM)&dis);
    EXPECT_EQ(menu.drawn, 1);
    EXPECT_EQ(CMenu::FromHandle(menu.m_hMenu), &menu);
    HMENU h = menu.Detach();
    EXPECT_EQ(CMenu::FromHandlePermanent(h), nullptr);
    DestroyMenu(h);
    w.DestroyWindow();
}

TEST(FrameworkMenu, ItemsSharingAnIdAreMeasuredByTheMenuBeingOpened)
{
    CWnd w;
    ASSERT_TRUE(
        w.CreateEx(0, AfxRegisterWndClass(0), "menu", WS_POPUP, 0, 0, 100, 100, NULL, NULL));
    // several popups with the same command, as a program's context menus have
    CIconMenu menus[3];
    for (CIconMenu& m : menus) {
        ASSERT_TRUE(m.CreatePopupMenu());
        m.AppendMenu(MF_OWNERDRAW, 777, (LPCSTR)(void*)0x1234);
    }
    // whichever of them opens, in any order, measures its own item
    for (int open : {2, 0, 1, 0, 2}) {
        for (CIconMenu& m : menus)
            m.measured = 0;
        w.SendMessage(WM_INITMENUPOPUP, (WPARAM)menus[open].m_hMenu, 0);
        MEASUREITEMSTRUCT mis = {ODT_MENU, 0, 777, 0, 0, 0x1234};
        w.SendMessage(WM_MEASUREITEM, 0, (LPARAM)&mis);
        EXPECT_EQ(menus[open].measured, 1) << open;
        EXPECT_EQ(menus[0].measured + menus[1].measured + menus[2].measured, 1) << open;
    }
    w.DestroyWindow();
}

TEST(FrameworkApp, BinarySettingsInTheProfileFileRoundTripAndRefuseForeignText)
{
    char dir[MAX_PATH], path[MAX_PATH];
    GetTempPathA(MAX_PATH, dir);
    GetTempFileNameA(dir, "ini", 0, path);
    CWinApp app("FrameworkIniApp");
    app.InitModule(GetModuleHandleA(NULL), (LPSTR) "", SW_SHOW);
    free((void*)app.m_pszProfileName); // a program names its own file before using settings
    app.m_pszProfileName = _strdup(path);
    BYTE data[256];
    for (int i = 0; i < 256; ++i)
        data[i] = (BYTE)(255 - i);
    EXPECT_TRUE(app.WriteProfileBinary("Window", "Placement", data, sizeof(data)));
    LPBYTE back = NULL;
    UINT n = 0;
    ASSERT_TRUE(app.GetProfileBinary("Window", "Placement", &back, &n));
    ASSERT_EQ(n, 256u);
    EXPECT_EQ(memcmp(back, data, n), 0);
    delete[] back;

    for (const char* foreign : {"ABC", "AZ", "hello!"}) {
        WritePrivateProfileStringA("Window", "Edited", foreign, path);
        back = (LPBYTE)1;
        EXPECT_FALSE(app.GetProfileBinary("Window", "Edited", &back, &n)) << foreign;
        EXPECT_EQ(back, nullptr) << foreign;
        EXPECT_EQ(n, 0u) << foreign;
    }
    DeleteFileA(path);
}

namespace {
struct RunLog
{
    int preTranslated = 0;
    int idle = 0;
    int keysSeen = 0;
} g_run;

class CRunWnd : public CWnd
{
public:
    BOOL PreTranslateMessage(MSG* pMsg) override
    {
        if (pMsg->message == WM_KEYDOWN && pMsg->wParam == 'Q') {
            ++g_run.preTranslated;
            return TRUE; // eaten before dispatch
        }
        return CWnd::PreTranslateMessage(pMsg);
    }

protected:
    afx_msg void OnKeyDown(UINT, UINT, UINT) { ++g_run.keysSeen; }
    afx_msg void OnTimer(UINT)
    {
        // once the loop has been idle (a loaded machine may take a while)
        if (g_run.idle > 0)
            DestroyWindow();
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CRunWnd, CWnd)
    ON_WM_KEYDOWN()
    ON_WM_TIMER()
END_MESSAGE_MAP()

class CRunApp : public CWinApp
{
public:
    BOOL OnIdle(LONG lCount) override
    {
        ++g_run.idle;
        return CWinApp::OnIdle(lCount);
    }
};

void CALLBACK Guard(HWND, UINT, UINT_PTR, DWORD) { PostQuitMessage(99); }
} // namespace

TEST(FrameworkApp, RunPreTranslatesIdlesAndEndsWithTheMainWindow)
{
    g_run = RunLog();
    CRunApp app;
    CRunWnd* w = new CRunWnd;
    ASSERT_TRUE(w->CreateEx(0, AfxRegisterWndClass(0), "run", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100,
                            NULL, NULL));
    app.m_pMainWnd = w;
    HWND child = CreateWindowA("STATIC", "", WS_CHILD, 0, 0, 10, 10, w->m_hWnd, NULL, NULL, NULL);
    // keys aimed at a child climb to the main window's PreTranslateMessage
    PostMessageA(child, WM_KEYDOWN, 'Q', 0);
    PostMessageA(w->m_hWnd, WM_KEYDOWN, 'A', 0);
    w->SetTimer(1, 50, NULL); // then the window closes itself: the loop ends
    UINT_PTR guard = SetTimer(NULL, 0, 5000, Guard);
    int code = app.Run();
    KillTimer(NULL, guard);
    EXPECT_EQ(code, 0) << "ended by the main window, not the guard";
    EXPECT_EQ(g_run.preTranslated, 1);
    EXPECT_EQ(g_run.keysSeen, 1);
    EXPECT_GT(g_run.idle, 0);
    EXPECT_EQ(app.m_pMainWnd, nullptr);
    delete w;
}

namespace {
class CTipWnd : public CWnd
{
public:
    int OnToolHitTest(CPoint point, TOOLINFOA* pTI) const override
    {
        CRect r;
        GetClientRect(&r);
        if (!r.PtInRect(point))
            return -1;
        pTI->hwnd = m_hWnd;
        pTI->uId = 1;
        pTI->uFlags = 0;
        pTI->rect = r;
        pTI->lpszText = _strdup("tip text"); // freed by the framework
        return 1;
    }
};
} // namespace

TEST(FrameworkWindow, ToolTipsFollowTheHitTest)
{
    CTipWnd w;
    ASSERT_TRUE(w.CreateEx(0, AfxRegisterWndClass(0), "tips", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100,
                           NULL, NULL));
    ASSERT_TRUE(w.EnableToolTips());
    MSG msg = {w.m_hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(10, 10)};
    AfxPreTranslateMessage(&msg);
    HWND tip = CTestKit::FindThreadWindow(TOOLTIPS_CLASSA, NULL);
    ASSERT_NE(tip, nullptr);
    EXPECT_EQ(SendMessageA(tip, TTM_GETTOOLCOUNT, 0, 0), 1);
    TOOLINFOA ti = {sizeof(ti)};
    char text[80] = "";
    ti.hwnd = w.m_hWnd;
    ti.uId = 1;
    ti.lpszText = text;
    SendMessageA(tip, TTM_GETTEXTA, 0, (LPARAM)&ti);
    EXPECT_STREQ(text, "tip text");
    MSG out = {w.m_hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(500, 500)};
    AfxPreTranslateMessage(&out);
    EXPECT_EQ(SendMessageA(tip, TTM_GETTOOLCOUNT, 0, 0), 0) << "off the tool: removed";
    w.DestroyWindow();
}

namespace {
int g_failingEngines = 0;
class CFailingEngine : public CHtmlEngine
{
public:
    BOOL Create(CHtmlView*) override
    {
        ++g_failingEngines;
        return FALSE;
    }
    void Destroy() override {}
    void Resize(const RECT&) override {}
    void Navigate(LPCSTR, DWORD, LPCSTR, LPCSTR, const void*, DWORD) override {}
    void GoBack() override {}
    void GoForward() override {}
    void GoHome() override {}
    void Refresh() override {}
    void Stop() override {}
    CString GetLocationURL() const override { return CString(); }
    CString GetLocationName() const override { return CString(); }
    BOOL GetBusy() const override { return FALSE; }
    void SetSilent(BOOL) override {}
    LPDISPATCH GetHtmlDocument() const override { return NULL; }
    LPDISPATCH GetApplication() const override { return NULL; }
};
CHtmlEngine* MakeFailingEngine(CHtmlView*) { return new CFailingEngine; }
} // namespace

TEST(FrameworkHtmlView, FallsBackWhenTheChosenEngineCannotStart)
{
    g_failingEngines = 0;
    AFX_HTMLENGINE_FACTORY old = CHtmlView::SetEngineFactory(MakeFailingEngine);
    CWnd parent;
    ASSERT_TRUE(
        parent.CreateEx(0, AfxRegisterWndClass(0), "html", WS_POPUP, 0, 0, 300, 200, NULL, NULL));
    CLoggingHtmlView* view = new CLoggingHtmlView;
    ASSERT_TRUE(view->Create(NULL, NULL, WS_CHILD | WS_VISIBLE, CRect(0, 0, 300, 200), &parent, 1));
    CHtmlView::SetEngineFactory(old);
    EXPECT_EQ(g_failingEngines, 1);
    view->Navigate2("about:blank");
    EXPECT_TRUE(CTestKit::PumpUntil([&] { return !view->GetBusy(); }, 1000));
    EXPECT_STREQ(view->GetLocationURL(), "about:blank");
    parent.DestroyWindow();
}

namespace {
class CHostWnd : public CWnd
{};

class CHostApp : public CWinApp
{
public:
    BOOL OnIdle(LONG lCount) override
    {
        // one idle time (updates, then temporaries freed), then the main
        // window closes, which ends the loop
        BOOL more = CWinApp::OnIdle(lCount);
        if (lCount == 1) {
            libraryTemporaries = countTemporaries();
            m_pMainWnd->PostMessage(WM_CLOSE);
        }
        return more;
    }
    int (*countTemporaries)() = nullptr;
    int libraryTemporaries = -1;
};
} // namespace

TEST(FrameworkDll, TheProgramsLoopServesTheLibrarysWindows)
{
    HMODULE dll = LoadLibraryA("framework_test_dll.dll");
    ASSERT_NE(dll, nullptr);
    auto open = (HWND(*)(HWND*))GetProcAddress(dll, "DllOpenWindows");
    auto count = (int (*)(int))GetProcAddress(dll, "DllWindowCount");
    auto makeTemp = (void (*)(HWND))GetProcAddress(dll, "DllMakeTemporary");
    auto close = (void (*)())GetProcAddress(dll, "DllCloseWindows");
    auto temporaries = (int (*)())GetProcAddress(dll, "DllTemporaries");
    ASSERT_TRUE(open && count && makeTemp && close && temporaries);
    HWND h[4] = {};
    ASSERT_NE(open(h), nullptr);
    ASSERT_TRUE(h[1] && h[2] && h[3]);

    // keys aimed at the library frame's child climb to its pre-translation
    PostMessageA(h[1], WM_KEYDOWN, 'Q', 0);
    PostMessageA(h[0], WM_KEYDOWN, 'A', 0);
    EXPECT_TRUE(CTestKit::PumpUntil([&] { return count(1) == 1; }, 3000));
    EXPECT_EQ(count(0), 1) << "eaten before dispatch";

    // the library's modeless dialog gets its dialog keys
    CTestKit::KeyPress(h[3], VK_ESCAPE);
    EXPECT_TRUE(CTestKit::PumpUntil([&] { return !IsWindow(h[2]); }, 3000));

    // the program's idle passes update the library's frame and free its
    // temporary objects
    makeTemp(GetDesktopWindow());
    EXPECT_GE(temporaries(), 1);
    {
        CHostApp app;
        CHostWnd* w = new CHostWnd;
        ASSERT_TRUE(w->CreateEx(0, AfxRegisterWndClass(0), "host", WS_POPUP | WS_VISIBLE, 300, 0,
                                50, 50, NULL, NULL));
        app.m_pMainWnd = w;
        app.countTemporaries = temporaries;
        int updatesBefore = count(2);
        UINT_PTR guard = SetTimer(NULL, 0, 5000, Guard);
        EXPECT_EQ(app.Run(), 0) << "ended by the main window, not the guard";
        KillTimer(NULL, guard);
        EXPECT_GT(count(2), updatesBefore);
        EXPECT_EQ(app.libraryTemporaries, 0);
        delete w;
    }
    close();
    CTestKit::PumpPending();
    FreeLibrary(dll);
}

namespace {
class CSolidWnd : public CWnd
{
public:
    COLORREF color = RGB(255, 0, 0);

protected:
    afx_msg void OnPaint()
    {
        CPaintDC dc(this);
        CRect r;
        GetClientRect(&r);
        dc.FillSolidRect(&r, color);
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CSolidWnd, CWnd)
    ON_WM_PAINT()
END_MESSAGE_MAP()
} // namespace

TEST(FrameworkTestKit, CaptureReadsHiddenWindowsAndTheirChildrenByPrinting)
{
    // a hidden window with a border, and a blue child at (20, 10)
    CSolidWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, AfxRegisterWndClass(0), "hidden", WS_POPUP | WS_BORDER, 0, 0, 80,
                                60, NULL, NULL));
    CSolidWnd child;
    child.color = RGB(0, 0, 255);
    ASSERT_TRUE(child.CreateEx(0, AfxRegisterWndClass(0), "", WS_CHILD | WS_VISIBLE, 20, 10, 30, 20,
                               parent.m_hWnd, NULL));
    ASSERT_FALSE(parent.IsWindowVisible());

    CTestKit::Snapshot client = CTestKit::Capture(parent.m_hWnd);
    ASSERT_EQ(client.width, 78);
    EXPECT_EQ(client.At(5, 5), RGB(255, 0, 0));
    EXPECT_EQ(client.At(25, 15), RGB(0, 0, 255));
    EXPECT_EQ(client.At(49, 29), RGB(0, 0, 255));
    EXPECT_EQ(client.At(51, 31), RGB(255, 0, 0));
    EXPECT_EQ(client.Count(RGB(0, 0, 255)), 30 * 20);

    // the whole window: the border around the same client pixels
    CTestKit::Snapshot whole = CTestKit::Capture(parent.m_hWnd, false);
    ASSERT_EQ(whole.width, 80);
    EXPECT_NE(whole.At(0, 0), RGB(255, 0, 0));
    EXPECT_EQ(whole.At(6, 6), RGB(255, 0, 0));
    EXPECT_EQ(whole.At(26, 16), RGB(0, 0, 255));
    EXPECT_EQ(whole.Count(RGB(0, 0, 255)), 30 * 20);
    parent.DestroyWindow();
}

namespace {
class CKeyEngine : public CFailingEngine
{
public:
    std::vector<UINT> keys;
    BOOL Create(CHtmlView*) override { return TRUE; }
    BOOL PreTranslateMessage(MSG* pMsg) override
    {
        keys.push_back((UINT)pMsg->wParam);
        return pMsg->wParam == VK_TAB; // the browser moves between links
    }
};
CKeyEngine* g_keyEngine = nullptr;
CHtmlEngine* MakeKeyEngine(CHtmlView*) { return g_keyEngine = new CKeyEngine; }

class CKeyCountingView : public CHtmlView
{
public:
    int keysSeen = 0;

protected:
    afx_msg void OnKeyDown(UINT, UINT, UINT) { ++keysSeen; }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CKeyCountingView, CHtmlView)
    ON_WM_KEYDOWN()
END_MESSAGE_MAP()
} // namespace

TEST(FrameworkHtmlView, KeysInThePageReachTheBrowserFirst)
{
    AFX_HTMLENGINE_FACTORY old = CHtmlView::SetEngineFactory(MakeKeyEngine);
    CWnd parent;
    ASSERT_TRUE(
        parent.CreateEx(0, AfxRegisterWndClass(0), "html", WS_POPUP, 0, 0, 300, 200, NULL, NULL));
    CKeyCountingView* view = new CKeyCountingView;
    ASSERT_TRUE(view->Create(NULL, NULL, WS_CHILD | WS_VISIBLE, CRect(0, 0, 300, 200), &parent, 1));
    CHtmlView::SetEngineFactory(old);
    ASSERT_EQ(view->GetEngine(), g_keyEngine);
    // a window inside the page (as the browser makes), and one beside it
    HWND inner =
        CreateWindowA("STATIC", "", WS_CHILD, 0, 0, 10, 10, view->m_hWnd, NULL, NULL, NULL);
    HWND beside =
        CreateWindowA("STATIC", "", WS_CHILD, 0, 0, 10, 10, parent.m_hWnd, NULL, NULL, NULL);
    PostMessageA(inner, WM_KEYDOWN, VK_TAB, 0);
    PostMessageA(view->m_hWnd, WM_KEYDOWN, 'A', 0);
    PostMessageA(beside, WM_KEYDOWN, 'B', 0);
    EXPECT_TRUE(CTestKit::PumpUntil([&] { return view->keysSeen == 1; }, 3000));
    CTestKit::PumpPending();
    std::vector<UINT> expected = {VK_TAB, 'A', 'a'}; // the key, then its character
    EXPECT_EQ(g_keyEngine->keys, expected) << "keys outside the view are not the browser's";
    EXPECT_EQ(view->keysSeen, 1) << "the browser's Tab is not handled again by the view";
    parent.DestroyWindow();
}
