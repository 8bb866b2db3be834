#include <gtest/gtest.h>

#include "CTestKit.h"
#include "TestResources.h"
#include "afxcmn.h"
#include "afxext.h"
#include "afxwin.h"

// A small program: a frame with menu, tool bar, status bar and a scrolling
// view of a document, commands routed view -> document -> frame ->
// application, menus and bars updated from the same handlers, and a modal
// and a modeless dialog over it.
namespace {
const UINT ID_APP_ONLY = 32790;

struct Counts
{
    int viewOne = 0, frameOne = 0, docTwo = 0, app = 0, hidden = 0;
} g_counts;
} // namespace

class CSampleDoc : public CDocument
{
    DECLARE_DYNCREATE(CSampleDoc)
protected:
    afx_msg void OnTwo() { ++g_counts.docTwo; }
    DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(CSampleDoc, CDocument)
BEGIN_MESSAGE_MAP(CSampleDoc, CDocument)
    ON_COMMAND(ID_SAMPLE_TWO, OnTwo)
END_MESSAGE_MAP()

class CSampleView : public CScrollView
{
    DECLARE_DYNCREATE(CSampleView)
public:
    void OnDraw(CDC* pDC) override { pDC->FillSolidRect(0, 0, 50, 50, RGB(255, 0, 0)); }
    void OnInitialUpdate() override
    {
        SetScrollSizes(MM_TEXT, CSize(2000, 2000));
        CScrollView::OnInitialUpdate();
    }

protected:
    afx_msg void OnOne() { ++g_counts.viewOne; }
    DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(CSampleView, CScrollView)
BEGIN_MESSAGE_MAP(CSampleView, CScrollView)
    ON_COMMAND(ID_SAMPLE_ONE, OnOne)
END_MESSAGE_MAP()

class CSampleFrame : public CFrameWnd
{
    DECLARE_DYNCREATE(CSampleFrame)
public:
    CToolBar m_wndToolBar;
    CStatusBar m_wndStatusBar;

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpcs)
    {
        if (CFrameWnd::OnCreate(lpcs) == -1)
            return -1;
        static const UINT indicators[] = {ID_SEPARATOR, ID_INDICATOR_MODE};
        if (!m_wndToolBar.Create(this) || !m_wndToolBar.LoadToolBar(IDR_SAMPLE))
            return -1;
        if (!m_wndStatusBar.Create(this) || !m_wndStatusBar.SetIndicators(indicators, 2))
            return -1;
        RecalcLayout();
        return 0;
    }
    afx_msg void OnOne() { ++g_counts.frameOne; }
    afx_msg void OnUpdateTwo(CCmdUI* pCmdUI) { pCmdUI->SetCheck(1); }
    afx_msg void OnUpdateMode(CCmdUI* pCmdUI) { pCmdUI->SetText("EDIT"); }
    afx_msg void OnHidden() { ++g_counts.hidden; }
    afx_msg void OnUpdateHidden(CCmdUI* pCmdUI) { pCmdUI->Enable(FALSE); }
    DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(CSampleFrame, CFrameWnd)
BEGIN_MESSAGE_MAP(CSampleFrame, CFrameWnd)
    ON_WM_CREATE()
    ON_COMMAND(ID_SAMPLE_ONE, OnOne)
    ON_UPDATE_COMMAND_UI(ID_SAMPLE_TWO, OnUpdateTwo)
    ON_UPDATE_COMMAND_UI(ID_INDICATOR_MODE, OnUpdateMode)
    ON_COMMAND(ID_SAMPLE_HIDDEN, OnHidden)
    ON_UPDATE_COMMAND_UI(ID_SAMPLE_HIDDEN, OnUpdateHidden)
END_MESSAGE_MAP()

namespace {
class CSampleApp : public CWinApp
{
protected:
    afx_msg void OnAppOnly() { ++g_counts.app; }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CSampleApp, CWinApp)
    ON_COMMAND(ID_APP_ONLY, OnAppOnly)
END_MESSAGE_MAP()

bool IsRed(COLORREF c) { return c == RGB(255, 0, 0); }

int g_modelessGone = 0;
class CModelessSettings : public CDialog
{
public:
    CModelessSettings() : CDialog(IDD_SETTINGS) {}

protected:
    void PostNcDestroy() override
    {
        ++g_modelessGone;
        delete this;
    }
};
} // namespace

// The sample program set up afresh for each test: application, document,
// frame with bars and the view, shown and initially updated.
class SampleFrameTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        g_counts = Counts();
        g_modelessGone = 0;
        CTestKit::ResetQuit();
        doc = new CSampleDoc;
        doc->m_bAutoDelete = FALSE;
        CCreateContext ctx;
        ctx.m_pNewViewClass = RUNTIME_CLASS(CSampleView);
        ctx.m_pCurrentDoc = doc;
        frame = new CSampleFrame;
        ASSERT_TRUE(frame->LoadFrame(IDR_SAMPLE, WS_OVERLAPPEDWINDOW, NULL, &ctx));
        app.m_pMainWnd = frame;
        frame->SetWindowPos(NULL, 0, 0, 400, 300, SWP_NOZORDER);
        frame->InitialUpdateFrame(doc, TRUE);
        CTestKit::PumpPending();
        view = frame->GetActiveView();
        ASSERT_NE(view, nullptr);
    }
    void TearDown() override
    {
        if (frame && CWnd::FromHandlePermanent(frame->m_hWnd) == frame)
            frame->DestroyWindow(); // frees the frame and its view
        CTestKit::PumpPending();
        CTestKit::ResetQuit();
        delete doc;
    }

    CSampleApp app;
    CSampleDoc* doc = nullptr;
    CSampleFrame* frame = nullptr;
    CView* view = nullptr;
};

TEST_F(SampleFrameTest, ResourcesAndLayout)
{
    // resources: title, menu, accelerators, tool bar
    CString title;
    frame->GetWindowText(title);
    EXPECT_STREQ(title, "Sample Frame");
    ASSERT_NE(frame->GetMenu(), nullptr);
    EXPECT_NE(frame->m_hAccelTable, nullptr);
    EXPECT_EQ(frame->m_wndToolBar.GetToolBarCtrl().GetButtonCount(), 4);
    EXPECT_EQ(frame->m_wndToolBar.GetItemID(2), ID_SAMPLE_TWO);

    // layout: tool bar on top, status bar at the bottom, view in between
    EXPECT_EQ(view->GetDlgCtrlID(), AFX_IDW_PANE_FIRST);
    EXPECT_EQ(view->GetDocument(), doc);
    CRect rcTool, rcStatus, rcView;
    frame->m_wndToolBar.GetWindowRect(&rcTool);
    frame->m_wndStatusBar.GetWindowRect(&rcStatus);
    view->GetWindowRect(&rcView);
    EXPECT_GT(rcTool.Height(), 0);
    EXPECT_EQ(rcView.top, rcTool.bottom);
    EXPECT_EQ(rcView.bottom, rcStatus.top);
}

TEST_F(SampleFrameTest, CommandsRouteViewDocumentFrameApplication)
{
    frame->SendMessage(WM_COMMAND, ID_SAMPLE_ONE);
    frame->SendMessage(WM_COMMAND, ID_SAMPLE_TWO);
    frame->SendMessage(WM_COMMAND, ID_APP_ONLY);
    frame->SendMessage(WM_COMMAND, MAKEWPARAM(ID_SAMPLE_ONE, BN_CLICKED),
                       (LPARAM)frame->m_wndToolBar.m_hWnd);
    EXPECT_EQ(g_counts.viewOne, 2);
    EXPECT_EQ(g_counts.frameOne, 0);
    EXPECT_EQ(g_counts.docTwo, 1);
    EXPECT_EQ(g_counts.app, 1);

    // a command disabled by its update handler is refused, from the menu or
    // an accelerator alike
    frame->SendMessage(WM_COMMAND, ID_SAMPLE_HIDDEN);
    frame->SendMessage(WM_COMMAND, MAKEWPARAM(ID_SAMPLE_HIDDEN, 1));
    EXPECT_EQ(g_counts.hidden, 0);
}

TEST_F(SampleFrameTest, MenusAndBarsFollowTheUpdateHandlers)
{
    // menu items follow the update handlers when their popup opens
    CMenu* popup = frame->GetMenu()->GetSubMenu(0);
    frame->SendMessage(WM_INITMENUPOPUP, (WPARAM)popup->m_hMenu, 0);
    EXPECT_FALSE(popup->GetMenuState(ID_SAMPLE_ONE, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_TRUE(popup->GetMenuState(ID_SAMPLE_TWO, MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_TRUE(popup->GetMenuState(ID_SAMPLE_HIDDEN, MF_BYCOMMAND) & MF_GRAYED)
        << "its handler disables it";

    // tool bar and status bar follow them at idle time
    app.OnIdle(0);
    CToolBarCtrl& tb = frame->m_wndToolBar.GetToolBarCtrl();
    EXPECT_TRUE(tb.IsButtonEnabled(ID_SAMPLE_ONE));
    EXPECT_TRUE(tb.IsButtonChecked(ID_SAMPLE_TWO));
    EXPECT_FALSE(tb.IsButtonEnabled(ID_SAMPLE_HIDDEN));
    EXPECT_STREQ(frame->m_wndStatusBar.GetPaneText(1), "EDIT");

    // a delayed hide waits for the idle time, then the view takes the room
    frame->ShowControlBar(&frame->m_wndToolBar, FALSE, TRUE);
    EXPECT_TRUE(frame->m_wndToolBar.IsWindowVisible());
    app.OnIdle(0);
    EXPECT_FALSE(frame->m_wndToolBar.IsWindowVisible());
    CRect rcClient, rcViewNow;
    frame->GetClientRect(&rcClient);
    view->GetWindowRect(&rcViewNow);
    frame->ScreenToClient(&rcViewNow);
    EXPECT_EQ(rcViewNow.top, rcClient.top);
    frame->ShowControlBar(&frame->m_wndToolBar, TRUE, FALSE);
    EXPECT_TRUE(frame->m_wndToolBar.IsWindowVisible());

    // tool-bar tips come from the command's string
    NMTTDISPINFOA tipInfo = {};
    tipInfo.hdr.hwndFrom = frame->m_wndToolBar.m_hWnd;
    tipInfo.hdr.idFrom = ID_SAMPLE_TWO;
    tipInfo.hdr.code = TTN_NEEDTEXTA;
    frame->SendMessage(WM_NOTIFY, 0, (LPARAM)&tipInfo);
    EXPECT_STREQ(tipInfo.lpszText, "Two");
}

TEST_F(SampleFrameTest, TheViewDrawsScrolledIsActivatedByClicksAndTakesTheFocus)
{
    CTestKit::Snapshot before = CTestKit::Capture(view->m_hWnd);
    EXPECT_TRUE(IsRed(before.At(10, 40)));
    ((CScrollView*)view)->ScrollToPosition(CPoint(0, 30));
    CTestKit::Snapshot after = CTestKit::Capture(view->m_hWnd);
    EXPECT_TRUE(IsRed(after.At(10, 10)));
    EXPECT_FALSE(IsRed(after.At(10, 40)));
    EXPECT_EQ(((CScrollView*)view)->GetScrollPosition(), CPoint(0, 30));

    // a click on a view that is not active makes it the active one
    frame->SetActiveView(NULL);
    view->SendMessage(WM_MOUSEACTIVATE, (WPARAM)frame->m_hWnd,
                      MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN));
    EXPECT_EQ(frame->GetActiveView(), view);

    // the frame hands the focus it gets to its active view
    frame->SetFocus();
    EXPECT_EQ(GetFocus(), view->m_hWnd);
}

namespace {
class CToolWnd : public CWnd
{};
} // namespace

TEST_F(SampleFrameTest, WindowsBesideTheFrameGetItsAccelerators)
{
    CToolWnd tool;
    ASSERT_TRUE(tool.CreateEx(0, AfxRegisterWndClass(0), "tool", WS_POPUP | WS_VISIBLE, 450, 0, 50,
                              50, NULL, NULL));
    BYTE keys[256], withCtrl[256];
    GetKeyboardState(keys);
    memcpy(withCtrl, keys, sizeof(keys));
    withCtrl[VK_CONTROL] = 0x80;
    SetKeyboardState(withCtrl); // Ctrl held, for this thread's key state
    tool.PostMessage(WM_KEYDOWN, 'O', 0);
    bool reached = CTestKit::PumpUntil([] { return g_counts.viewOne == 1; }, 3000);
    SetKeyboardState(keys);
    EXPECT_TRUE(reached) << "Ctrl+O in a window beside the frame runs the frame's command";
    tool.DestroyWindow();
}

TEST_F(SampleFrameTest, DialogsOverTheFrameAndClosingItEndsTheProgram)
{
    // a modal dialog over the frame, then a modeless one owned by it
    CDialog modal(IDD_SETTINGS, frame);
    bool frameDisabled = false;
    INT_PTR r = CTestKit::RunModal(modal, [&](CDialog& d) {
        frameDisabled = !frame->IsWindowEnabled();
        d.EndDialog(IDOK);
    });
    EXPECT_EQ(r, IDOK);
    EXPECT_TRUE(frameDisabled);
    EXPECT_TRUE(frame->IsWindowEnabled());
    CModelessSettings* modeless = new CModelessSettings;
    ASSERT_TRUE(modeless->Create(IDD_SETTINGS, frame));
    modeless->ShowWindow(SW_SHOW);

    // closing the main frame destroys what it owns and ends the program
    frame->PostMessage(WM_CLOSE);
    EXPECT_TRUE(CTestKit::PumpUntil([] { return CTestKit::QuitSeen(); }, 3000));
    EXPECT_EQ(g_modelessGone, 1);
    EXPECT_EQ(app.m_pMainWnd, nullptr);
}

namespace {
int g_outerSaw = 0;
class COuterFrame : public CFrameWnd
{
protected:
    afx_msg void OnTwo() { ++g_outerSaw; }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(COuterFrame, CFrameWnd)
    ON_COMMAND(ID_SAMPLE_TWO, OnTwo)
END_MESSAGE_MAP()
} // namespace

TEST(FrameworkFrame, ChildFrameHandsUnknownCommandsToItsFrame)
{
    g_outerSaw = 0;
    g_counts = Counts();
    COuterFrame* outer = new COuterFrame;
    ASSERT_TRUE(outer->Create(NULL, "outer"));
    CCreateContext ctx;
    ctx.m_pNewViewClass = RUNTIME_CLASS(CSampleView);
    CFrameWnd* inner = new CFrameWnd;
    ASSERT_TRUE(inner->Create(NULL, NULL, WS_CHILD | WS_VISIBLE, CRect(0, 0, 200, 100), outer, NULL,
                              0, &ctx));
    EXPECT_EQ(inner->GetParentFrame(), outer);
    EXPECT_EQ(inner->GetActiveView()->GetParentFrame(), inner);
    EXPECT_EQ(inner->GetActiveView()->GetTopLevelFrame(), outer);
    inner->SendMessage(WM_COMMAND, ID_SAMPLE_ONE);
    inner->SendMessage(WM_COMMAND, ID_SAMPLE_TWO);
    EXPECT_EQ(g_counts.viewOne, 1);
    EXPECT_EQ(g_outerSaw, 1);
    outer->DestroyWindow(); // both frames and the view free themselves
}

TEST(FrameworkFrame, IdleTimeWritesTheTitleOnlyForFramesThatAskForIt)
{
    struct Case
    {
        DWORD style;
        const char* expected;
    };
    const Case cases[] = {
        {WS_OVERLAPPEDWINDOW, "the program's own"},
        {WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, "report - stored"},
    };
    for (const Case& c : cases) {
        CSampleDoc doc;
        doc.m_bAutoDelete = FALSE;
        doc.SetTitle("report");
        CCreateContext ctx;
        ctx.m_pNewViewClass = RUNTIME_CLASS(CSampleView);
        ctx.m_pCurrentDoc = &doc;
        CFrameWnd* frame = new CFrameWnd;
        ASSERT_TRUE(
            frame->Create(NULL, "stored", c.style, CRect(0, 0, 300, 200), NULL, NULL, 0, &ctx));
        frame->SetWindowText("the program's own");
        frame->SendMessage(WM_IDLEUPDATECMDUI, TRUE);
        CString title;
        frame->GetWindowText(title);
        EXPECT_STREQ(title, c.expected) << c.style;
        // a program that takes the style away keeps its own title from then on
        frame->ModifyStyle(FWS_ADDTOTITLE, 0);
        frame->SetWindowText("set later");
        frame->SendMessage(WM_IDLEUPDATECMDUI, TRUE);
        frame->GetWindowText(title);
        EXPECT_STREQ(title, "set later");
        frame->DestroyWindow();
    }
}

TEST(FrameworkGdi, MakingAnObjectAgainFreesTheHandleItHeld)
{
    // Skins and bars make their brushes and bitmaps again when the look
    // changes; the handle made before must not stay behind.
    CBrush brush;
    ASSERT_TRUE(brush.CreateSolidBrush(RGB(1, 2, 3)));
    HGDIOBJ first = brush.m_hObject;
    ASSERT_TRUE(brush.CreateSolidBrush(RGB(4, 5, 6)));
    EXPECT_NE(brush.m_hObject, first);
    EXPECT_EQ(GetObjectType(first), 0u) << "the first brush was left behind";
    EXPECT_EQ(GetObjectType(brush.m_hObject), (DWORD)OBJ_BRUSH);
    HGDIOBJ second = brush.m_hObject;
    EXPECT_TRUE(brush.Attach(second)) << "attaching the handle it holds keeps it";
    EXPECT_EQ(GetObjectType(second), (DWORD)OBJ_BRUSH);
}

TEST(FrameworkGdi, ImageListsDrawIntoMemoryBitmaps)
{
    CClientDC screen(NULL);
    CDC mem;
    ASSERT_TRUE(mem.CreateCompatibleDC(&screen));
    CBitmap strip;
    ASSERT_TRUE(strip.CreateCompatibleBitmap(&screen, 32, 16));
    CBitmap* old = mem.SelectObject(&strip);
    mem.FillSolidRect(0, 0, 16, 16, RGB(0, 255, 0));
    mem.FillSolidRect(16, 0, 16, 16, RGB(0, 0, 255));
    mem.SelectObject(old);
    CImageList images;
    ASSERT_TRUE(images.Create(16, 16, ILC_COLOR24 | ILC_MASK, 2, 2));
    EXPECT_EQ(images.Add(&strip, RGB(255, 0, 255)), 0);
    EXPECT_EQ(images.GetImageCount(), 2);

    CBitmap target;
    ASSERT_TRUE(target.CreateCompatibleBitmap(&screen, 16, 16));
    old = mem.SelectObject(&target);
    mem.FillSolidRect(0, 0, 16, 16, RGB(255, 255, 255));
    EXPECT_TRUE(images.Draw(&mem, 1, CPoint(0, 0), ILD_NORMAL));
    EXPECT_EQ(mem.GetPixel(8, 8), RGB(0, 0, 255));
    mem.SelectObject(old);
}

namespace {
class CTallView : public CScrollView
{
public:
    void OnDraw(CDC*) override {}
};

// A view of 2000 x 100000 pixels in a 300 x 200 window, lines of 10 and
// pages of 100, in a shown parent window made here.
CTallView* MakeTallView(CWnd& parent)
{
    if (!parent.CreateEx(0, AfxRegisterWndClass(0), "scroll", WS_POPUP | WS_VISIBLE, 0, 0, 400, 300,
                         NULL, NULL))
        return nullptr;
    CTallView* view = new CTallView;
    if (!view->Create(NULL, NULL, WS_CHILD | WS_VISIBLE, CRect(0, 0, 300, 200), &parent, 1))
        return nullptr;
    view->SetScrollSizes(MM_TEXT, CSize(2000, 100000), CSize(100, 100), CSize(10, 10));
    return view;
}
} // namespace

TEST(FrameworkScrollView, BarsFollowTheSizeAndScrollByLinePageAndWheel)
{
    CWnd parent;
    CTallView* view = MakeTallView(parent);
    ASSERT_NE(view, nullptr);
    EXPECT_TRUE(view->GetStyle() & WS_VSCROLL);
    EXPECT_TRUE(view->GetStyle() & WS_HSCROLL);

    struct Step
    {
        const char* name;
        UINT message;
        WPARAM wParam;
        CPoint expected;
    };
    const Step steps[] = {
        {"line down", WM_VSCROLL, SB_LINEDOWN, CPoint(0, 10)},
        {"page down", WM_VSCROLL, SB_PAGEDOWN, CPoint(0, 110)},
        {"line right", WM_HSCROLL, SB_LINEDOWN, CPoint(10, 110)},
        {"wheel one notch down: three lines", WM_MOUSEWHEEL, MAKEWPARAM(0, (WORD)-WHEEL_DELTA),
         CPoint(10, 140)},
        {"wheel two notches up", WM_MOUSEWHEEL, MAKEWPARAM(0, 2 * WHEEL_DELTA), CPoint(10, 80)},
        {"page up past the top", WM_VSCROLL, SB_PAGEUP, CPoint(10, 0)},
        {"to the bottom", WM_VSCROLL, SB_BOTTOM, CPoint(10, view->GetScrollLimit(SB_VERT))},
    };
    for (const Step& s : steps) {
        view->SendMessage(s.message, s.wParam, s.message == WM_MOUSEWHEEL ? MAKELPARAM(50, 50) : 0);
        EXPECT_EQ(view->GetScrollPosition(), s.expected) << s.name;
    }
    EXPECT_GT(view->GetScrollPosition().y, 99000);

    // grown larger than the content across: the horizontal bar goes and
    // the view is back at its left edge
    view->SetWindowPos(NULL, 0, 0, 2100, 200, SWP_NOZORDER | SWP_NOMOVE);
    EXPECT_FALSE(view->GetStyle() & WS_HSCROLL);
    EXPECT_TRUE(view->GetStyle() & WS_VSCROLL);
    EXPECT_EQ(view->GetScrollPosition().x, 0);
    parent.DestroyWindow();
}

TEST(FrameworkScrollView, DraggingTheThumbPastThe16BitRangeScrollsThere)
{
    CWnd parent;
    CTallView* view = MakeTallView(parent);
    ASSERT_NE(view, nullptr);
    SCROLLBARINFO sbi = {sizeof(sbi)};
    ASSERT_TRUE(GetScrollBarInfo(view->m_hWnd, OBJID_VSCROLL, &sbi));
    // from the thumb to three quarters down the bar, with the button up
    // there: the system's drag loop reads these as the mouse
    int x = (sbi.rcScrollBar.left + sbi.rcScrollBar.right) / 2;
    POINT start = {x, sbi.rcScrollBar.top + (sbi.xyThumbTop + sbi.xyThumbBottom) / 2};
    POINT end = {x, sbi.rcScrollBar.top + (sbi.rcScrollBar.bottom - sbi.rcScrollBar.top) * 3 / 4};
    POINT endClient = end;
    view->ScreenToClient(&endClient);
    SetCursorPos(end.x, end.y);
    view->PostMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(endClient.x, endClient.y));
    view->PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(endClient.x, endClient.y));
    view->SendMessage(WM_NCLBUTTONDOWN, HTVSCROLL, MAKELPARAM(start.x, start.y));
    int y = view->GetScrollPosition().y;
    EXPECT_GT(y, 60000) << "not cut to 16 bits";
    EXPECT_LT(y, 90000);
    SCROLLINFO info = {sizeof(info), SIF_POS};
    view->GetScrollInfo(SB_VERT, &info, SIF_POS);
    EXPECT_EQ(info.nPos, y) << "the bar and the view agree";
    parent.DestroyWindow();
}
