#include <gtest/gtest.h>

#include "CTestKit.h"
#include "TestResources.h"
#include "afxwin.h"

#include <stdexcept>
#include <string.h>
#include <string>

// Exceptions leaving message handlers, pre-translation and idle passes are
// reported to the user and the program goes on.
namespace {
const char kReport[] = "the handler could not finish";

class CReportedException : public CException
{
public:
    BOOL GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext) override
    {
        if (pnHelpContext)
            *pnHelpContext = 0;
        lstrcpynA(lpszError, kReport, (int)nMaxError);
        return TRUE;
    }
};

enum class Throw { Nothing, Framework, User, Other };

void ThrowAs(Throw what)
{
    switch (what) {
    case Throw::Framework:
        throw new CReportedException;
    case Throw::User:
        throw new CUserException;
    case Throw::Other:
        throw std::runtime_error("not a framework exception");
    case Throw::Nothing:
        break;
    }
}

const UINT WM_APP_THROW = WM_APP + 1;

class CThrowingWnd : public CWnd
{
public:
    Throw onCreate = Throw::Nothing;
    Throw onMessage = Throw::Nothing;
    Throw onPaint = Throw::Nothing;
    int paints = 0;
    int messages = 0;

protected:
    afx_msg int OnCreate(LPCREATESTRUCT)
    {
        ThrowAs(onCreate);
        return 0;
    }
    afx_msg LRESULT OnAppThrow(WPARAM, LPARAM)
    {
        ++messages;
        ThrowAs(onMessage);
        return 7;
    }
    afx_msg void OnPaint()
    {
        ++paints;
        ThrowAs(onPaint);
        CPaintDC dc(this);
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CThrowingWnd, CWnd)
    ON_WM_CREATE()
    ON_MESSAGE(WM_APP_THROW, OnAppThrow)
    ON_WM_PAINT()
END_MESSAGE_MAP()

bool Make(CThrowingWnd& w, DWORD style = WS_POPUP)
{
    return w.CreateEx(0, AfxRegisterWndClass(0), "thrower", style, 0, 0, 80, 60, NULL, NULL) !=
           FALSE;
}

int Reports(const CTestKit::MessageBoxes& boxes, const char* text)
{
    int n = 0;
    for (const auto& b : boxes.Shown())
        n += b.text.find(text) != std::string::npos;
    return n;
}
} // namespace

TEST(FrameworkExceptions, HandlersReachedBySendOrPostAreReportedAndAnsweredAsNotHandled)
{
    struct Case
    {
        const char* name;
        Throw what;
        bool post;
        int reports; // boxes naming the exception's own text
        int boxes;   // boxes in all
    };
    const Case cases[] = {
        {"sent, framework exception", Throw::Framework, false, 1, 1},
        {"posted, framework exception", Throw::Framework, true, 1, 1},
        {"sent, user exception (already told)", Throw::User, false, 0, 0},
        {"sent, other exception", Throw::Other, false, 0, 1},
        {"posted, other exception", Throw::Other, true, 0, 1},
    };
    for (const Case& c : cases) {
        CTestKit::MessageBoxes boxes;
        CThrowingWnd w;
        ASSERT_TRUE(Make(w)) << c.name;
        w.onMessage = c.what;
        if (c.post) {
            w.PostMessage(WM_APP_THROW);
            EXPECT_TRUE(CTestKit::PumpUntil([&] { return w.messages == 1; }, 3000)) << c.name;
            CTestKit::PumpPending();
        } else {
            EXPECT_EQ(w.SendMessage(WM_APP_THROW), 0) << c.name;
        }
        EXPECT_EQ(Reports(boxes, kReport), c.reports) << c.name;
        EXPECT_EQ((int)boxes.Shown().size(), c.boxes) << c.name;
        // the window and its object still work
        w.onMessage = Throw::Nothing;
        EXPECT_EQ(w.SendMessage(WM_APP_THROW), 7) << c.name;
        EXPECT_EQ(CWnd::FromHandlePermanent(w.m_hWnd), &w) << c.name;
        w.DestroyWindow();
    }
}

TEST(FrameworkExceptions, FailedCreationAndPaintingAreNotRetriedForever)
{
    CTestKit::MessageBoxes boxes;
    CThrowingWnd refused;
    refused.onCreate = Throw::Framework;
    EXPECT_FALSE(Make(refused)) << "WM_CREATE answered -1: the window is not made";
    EXPECT_EQ(refused.m_hWnd, nullptr);
    EXPECT_EQ(Reports(boxes, kReport), 1);

    CThrowingWnd painter;
    painter.onPaint = Throw::Framework;
    ASSERT_TRUE(Make(painter, WS_POPUP | WS_VISIBLE));
    painter.UpdateWindow();
    CTestKit::PumpFor(100);
    EXPECT_EQ(painter.paints, 1) << "the region was validated, so no WM_PAINT follows";
    EXPECT_EQ(Reports(boxes, kReport), 2);
    painter.DestroyWindow();
}

namespace {
class CThrowingDlg : public CDialog
{
public:
    CThrowingDlg() : CDialog(IDD_SETTINGS) {}
    Throw onInit = Throw::Nothing;
    Throw onCommand = Throw::Nothing;
    Throw onKickIdle = Throw::Nothing;
    Throw onPreTranslate = Throw::Nothing;
    int commands = 0;
    int kicks = 0;

    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        ThrowAs(onInit);
        return TRUE;
    }
    BOOL PreTranslateMessage(MSG* pMsg) override
    {
        if (pMsg->message == WM_APP_THROW) {
            Throw what = onPreTranslate;
            onPreTranslate = Throw::Nothing;
            ThrowAs(what);
        }
        return CDialog::PreTranslateMessage(pMsg);
    }

protected:
    afx_msg void OnName()
    {
        ++commands;
        ThrowAs(onCommand);
    }
    // ends the dialog once the modal loop has been idle
    afx_msg void OnTimer(UINT)
    {
        if (kicks > 0)
            EndDialog(IDOK);
    }
    afx_msg LRESULT OnKickIdle(WPARAM, LPARAM)
    {
        ++kicks;
        Throw what = onKickIdle;
        onKickIdle = Throw::Nothing;
        ThrowAs(what);
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CThrowingDlg, CDialog)
    ON_BN_CLICKED(IDC_ENABLE, OnName)
    ON_MESSAGE(WM_KICKIDLE, OnKickIdle)
    ON_WM_TIMER()
END_MESSAGE_MAP()
} // namespace

TEST(FrameworkExceptions, ModalDialogsReportAndEitherEndOrGoOn)
{
    CTestKit::MessageBoxes boxes;
    {
        // set-up that throws: DoModal answers -1 and nothing stands open
        CThrowingDlg dlg;
        dlg.onInit = Throw::Framework;
        bool acted = false;
        INT_PTR r = CTestKit::RunModal(
            dlg, [&](CDialog&) { acted = true; }, 1500);
        EXPECT_EQ(r, -1);
        EXPECT_FALSE(acted) << "the dialog never stood open";
        EXPECT_EQ(Reports(boxes, kReport), 1);
        EXPECT_EQ(CTestKit::FindThreadWindow("#32770", NULL), nullptr);
    }
    {
        // a command, the idle pass and a pre-translation that throw are
        // reported; the dialog goes on and ends as the user asks
        CThrowingDlg dlg;
        dlg.onCommand = Throw::Framework;
        dlg.onKickIdle = Throw::Other;
        dlg.onPreTranslate = Throw::Framework;
        int commandsSeen = -1;
        INT_PTR r = CTestKit::RunModal(dlg, [&](CDialog& d) {
            CTestKit::ClickButton(d.GetDlgItem(IDC_ENABLE)->m_hWnd);
            d.PostMessage(WM_APP_THROW);
            CTestKit::PumpUntil([&] { return dlg.onPreTranslate == Throw::Nothing; }, 3000);
            commandsSeen = dlg.commands;
            d.SetTimer(1, 20, NULL);
        });
        EXPECT_EQ(r, IDOK);
        EXPECT_EQ(commandsSeen, 1);
        EXPECT_GE(dlg.kicks, 1);
        EXPECT_EQ(Reports(boxes, kReport), 3) << "init before, then command and pre-translation";
        EXPECT_EQ(boxes.Shown().size(), 4u) << "and the idle pass's exception";
    }
}

namespace {
struct LoopLog
{
    int idles = 0;
    int keys = 0;
};

class CLoopWnd : public CWnd
{
public:
    LoopLog* log = nullptr;
    BOOL PreTranslateMessage(MSG* pMsg) override
    {
        if (pMsg->message == WM_KEYDOWN && pMsg->wParam == 'X')
            throw new CReportedException;
        return CWnd::PreTranslateMessage(pMsg);
    }

protected:
    afx_msg void OnKeyDown(UINT, UINT, UINT) { ++log->keys; }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CLoopWnd, CWnd)
    ON_WM_KEYDOWN()
END_MESSAGE_MAP()

class CLoopApp : public CWinApp
{
public:
    LoopLog* log = nullptr;
    BOOL OnIdle(LONG lCount) override
    {
        // the first pass throws (after giving the loop a key to handle);
        // the next closes the main window, which ends the loop
        if (++log->idles == 1) {
            m_pMainWnd->PostMessage(WM_KEYDOWN, 'A');
            throw new CReportedException;
        }
        if (log->idles == 2)
            m_pMainWnd->PostMessage(WM_CLOSE);
        return CWinApp::OnIdle(lCount);
    }
};

void CALLBACK EndLoop(HWND, UINT, UINT_PTR, DWORD) { PostQuitMessage(99); }
} // namespace

TEST(FrameworkExceptions, TheProgramLoopReportsIdleAndPreTranslationFailuresAndGoesOn)
{
    CTestKit::MessageBoxes boxes;
    LoopLog log;
    CLoopApp app;
    app.log = &log;
    CLoopWnd* w = new CLoopWnd;
    w->log = &log;
    ASSERT_TRUE(w->CreateEx(0, AfxRegisterWndClass(0), "loop", WS_POPUP, 0, 0, 50, 50, NULL, NULL));
    app.m_pMainWnd = w;
    PostMessageA(w->m_hWnd, WM_KEYDOWN, 'X', 0); // pre-translation throws: the key is eaten
    UINT_PTR guard = SetTimer(NULL, 0, 5000, EndLoop);
    int code = app.Run();
    KillTimer(NULL, guard);
    EXPECT_EQ(code, 0) << "ended by the main window, not by the guard";
    EXPECT_EQ(log.keys, 1) << "the key whose pre-translation threw is not dispatched";
    EXPECT_GE(log.idles, 2) << "idle passes went on after the one that threw";
    EXPECT_EQ(Reports(boxes, kReport), 2) << "one for the idle pass, one for the pre-translation";
    CTestKit::PumpPending();
    CTestKit::ResetQuit();
    delete w;
}
