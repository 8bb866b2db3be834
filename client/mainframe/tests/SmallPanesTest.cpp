#include <gtest/gtest.h>

#include "CDlgVolume.h"
#include "MainFrameFixture.h"

#include <functional>
#include "MainFrameMessages.h"

using namespace mainframetest;

namespace {
CPoint Centre(CWnd* wnd)
{
    CRect r;
    wnd->GetClientRect(&r);
    return r.CenterPoint();
}
} // namespace

TEST(MainTabStrip, ChatButtonsToggleThePaneWithOneButtonShown)
{
    Fixture f;
    ASSERT_NE(nullptr, f.Open());
    CMainFrame* fr = f.frame;
    CMainFrameTab& tab = fr->TabStrip();
    for (int round = 0; round < 2; ++round) {
        CTestKit::ClickButton(tab.Button(IDC_TAB_CLOSE_CHAT).GetSafeHwnd());
        CTestKit::PumpPending();
        EXPECT_FALSE(fr->IsChatPaneShown());
        EXPECT_FALSE(fr->GetPane(PANE_CHAT)->IsWindowVisible());
        EXPECT_TRUE(tab.Button(IDC_TAB_OPEN_CHAT).IsWindowVisible());
        EXPECT_FALSE(tab.Button(IDC_TAB_CLOSE_CHAT).IsWindowVisible());
        CTestKit::ClickButton(tab.Button(IDC_TAB_OPEN_CHAT).GetSafeHwnd());
        CTestKit::PumpPending();
        EXPECT_TRUE(fr->IsChatPaneShown());
        EXPECT_TRUE(fr->GetPane(PANE_CHAT)->IsWindowVisible());
        EXPECT_FALSE(tab.Button(IDC_TAB_OPEN_CHAT).IsWindowVisible());
        EXPECT_TRUE(tab.Button(IDC_TAB_CLOSE_CHAT).IsWindowVisible());
    }
    // The buttons sit at the header's right end, 5 pixels in; the chat
    // buttons 8 pixels left of them.
    CRect client, full, chat;
    tab.GetClientRect(&client);
    full = RectIn(&tab, &tab.Button(IDC_TAB_FULLSCREEN));
    chat = RectIn(&tab, &tab.Button(IDC_TAB_CLOSE_CHAT));
    EXPECT_EQ(client.right - 5, full.right);
    EXPECT_EQ(CSize(40, 23), full.Size());
    EXPECT_EQ(full.left - 8, chat.right);
    EXPECT_EQ(CSize(90, 23), chat.Size());
}

TEST(MainTabStrip, FullScreenAndRestoreNeedTheControlRight)
{
    Fixture f;
    ASSERT_NE(nullptr, f.Open());
    CMainFrame* fr = f.frame;
    CMainFrameTab& tab = fr->TabStrip();
    f.login.meetingMode = 2; // chair-controlled, no control: no right
    CTestKit::ClickButton(tab.Button(IDC_TAB_FULLSCREEN).GetSafeHwnd());
    CTestKit::PumpPending();
    EXPECT_EQ(0, fr->GetLayout().fullScreenWindow);
    EXPECT_EQ(DISPLAY_DATA, fr->GetLayout().displayMode);

    f.login.meetingMode = 0;
    CTestKit::ClickButton(tab.Button(IDC_TAB_FULLSCREEN).GetSafeHwnd());
    CTestKit::PumpPending();
    EXPECT_EQ(1, fr->GetLayout().fullScreenWindow);
    EXPECT_EQ(DISPLAY_DATA_ONLY, fr->GetLayout().displayMode);
    EXPECT_TRUE(fr->RestoreBar().IsWindowVisible());
    EXPECT_TRUE(tab.Button(IDC_TAB_RESTORE).IsWindowVisible());

    f.login.meetingMode = 2;
    CTestKit::ClickButton(tab.Button(IDC_TAB_RESTORE).GetSafeHwnd());
    CTestKit::ClickButton(fr->RestoreBar().GetDlgItem(IDC_RESTORE)->GetSafeHwnd());
    CTestKit::PumpPending();
    EXPECT_EQ(1, fr->GetLayout().fullScreenWindow);

    // The tab's restore button gives back the display mode saved before.
    f.login.meetingMode = 0;
    CTestKit::ClickButton(tab.Button(IDC_TAB_RESTORE).GetSafeHwnd());
    CTestKit::PumpPending();
    EXPECT_EQ(0, fr->GetLayout().fullScreenWindow);
    EXPECT_EQ(DISPLAY_DATA, fr->GetLayout().displayMode);
    EXPECT_FALSE(fr->RestoreBar().IsWindowVisible());
    // The restore bar brings the window back, keeping the display mode.
    CTestKit::ClickButton(tab.Button(IDC_TAB_FULLSCREEN).GetSafeHwnd());
    EXPECT_TRUE(fr->RestoreBar().IsWindowVisible());
    CTestKit::ClickButton(fr->RestoreBar().GetDlgItem(IDC_RESTORE)->GetSafeHwnd());
    CTestKit::PumpPending();
    EXPECT_EQ(0, fr->GetLayout().fullScreenWindow);
    EXPECT_EQ(DISPLAY_DATA_ONLY, fr->GetLayout().displayMode);
    EXPECT_FALSE(fr->RestoreBar().IsWindowVisible());
}

TEST(MainTabStrip, ClickOnATabNeedsTheControlRight)
{
    Fixture f;
    ASSERT_NE(nullptr, f.Open());
    CMainFrameTab& tab = f.frame->TabStrip();
    CRect item;
    ASSERT_TRUE(tab.GetItemRect(2, &item));
    f.login.meetingMode = 2;
    CTestKit::Click(tab.GetSafeHwnd(), item.CenterPoint());
    CTestKit::PumpFor(100);
    EXPECT_EQ(0, tab.GetCurPage());
    f.login.meetingMode = 0;
    CTestKit::Click(tab.GetSafeHwnd(), item.CenterPoint());
    EXPECT_TRUE(CTestKit::PumpUntil([&] { return tab.GetCurPage() == 2; }, 1000));
    EXPECT_TRUE(f.frame->GetPane(PANE_PAGE_BROWSING)->IsWindowVisible());
    EXPECT_FALSE(f.frame->GetPane(PANE_PAGE_WHITEBOARD)->IsWindowVisible());
}

TEST(DlgSplitter, DragMovesTheBarOnlyInTheDataWindow)
{
    Fixture f;
    ASSERT_NE(nullptr, f.Open());
    CMainFrame* fr = f.frame;
    CDlgSplitter& bar = fr->Splitter();
    f.login.role = 1;
    struct Case
    {
        unsigned code; // layout code: 0 data window, 1 data only
        bool moves;
    } cases[] = {{1, false}, {0, true}};
    for (const Case& c : cases) {
        fr->ApplyLayoutCode(c.code);
        CTestKit::PumpPending();
        ASSERT_TRUE(bar.IsWindowVisible());
        const int before = RectIn(fr, &bar).top;
        const CPoint press(40, 2);
        CTestKit::SendMouse(bar.GetSafeHwnd(), WM_LBUTTONDOWN, press, MK_LBUTTON);
        EXPECT_EQ(c.moves, bar.IsDragging());
        CTestKit::SendMouse(bar.GetSafeHwnd(), WM_MOUSEMOVE, CPoint(40, -60), MK_LBUTTON);
        CTestKit::SendMouse(bar.GetSafeHwnd(), WM_LBUTTONUP, CPoint(40, -60));
        CTestKit::PumpPending();
        EXPECT_FALSE(bar.IsDragging());
        EXPECT_EQ(c.moves ? before - 62 : before, RectIn(fr, &bar).top) << c.code;
        EXPECT_EQ(RectIn(fr, &bar).top, RectIn(fr, &fr->TabStrip()).bottom);
    }
}

TEST(DlgArrowBar, StartsDisabledAndSwitchesTheDataWindow)
{
    Fixture f;
    ASSERT_NE(nullptr, f.Open());
    CMainFrame* fr = f.frame;
    CDlgArrowBar& bar = fr->ArrowBar();
    EXPECT_FALSE(bar.IsWindowEnabled());
    fr->EnableArrowBar(true);
    EXPECT_TRUE(bar.IsWindowEnabled());
    CWnd* arrow = bar.GetDlgItem(IDC_ARROW_BUTTON);
    ASSERT_NE(nullptr, arrow);
    CRect client, button;
    bar.GetClientRect(&client);
    button = RectIn(&bar, arrow);
    EXPECT_EQ(CRect(0, client.Height() / 2, client.Width(), client.Height() / 2 + 15), button);

    CTestKit::ClickButton(arrow->GetSafeHwnd());
    EXPECT_EQ(DISPLAY_DATA_ONLY, fr->GetLayout().displayMode);
    CTestKit::ClickButton(arrow->GetSafeHwnd());
    EXPECT_EQ(DISPLAY_DATA, fr->GetLayout().displayMode);
}

TEST(DlgBigVideo, BorrowsARenderWindowAndGivesItBack)
{
    Fixture f;
    ASSERT_NE(nullptr, f.Open());
    CDlgBigVideo& big = f.frame->BigVideo();
    CWnd* source = f.frame->VideoWall()->Window();
    CWnd render;
    ASSERT_TRUE(render.CreateEx(0, AfxRegisterWndClass(0), "render", WS_CHILD | WS_VISIBLE,
                                CRect(1, 1, 50, 40), source, 77));
    big.SendMessage(WM_VIDEO_JOIN, (WPARAM)render.GetSafeHwnd(), 0);
    CTestKit::PumpPending();
    EXPECT_TRUE(big.IsWindowVisible());
    EXPECT_EQ(big.GetSafeHwnd(), ::GetParent(render.GetSafeHwnd()));
    CRect window, client;
    big.GetWindowRect(&window);
    EXPECT_EQ(CSize(320, 240), window.Size());
    big.GetClientRect(&client);
    EXPECT_EQ(client, RectIn(&big, &render));

    // Closing hands the window back to the wall.
    big.SendMessage(WM_CLOSE);
    CTestKit::PumpPending();
    EXPECT_FALSE(big.IsWindowVisible());
    EXPECT_EQ(source->GetSafeHwnd(), ::GetParent(render.GetSafeHwnd()));
    EXPECT_EQ(nullptr, big.GetRenderWindow());

    // Leave: forgotten and hidden.
    big.SendMessage(WM_VIDEO_JOIN, (WPARAM)render.GetSafeHwnd(), 0);
    big.SendMessage(WM_VIDEO_LEAVE, 0, 0);
    EXPECT_FALSE(big.IsWindowVisible());
    EXPECT_EQ(nullptr, big.GetRenderWindow());
    render.DestroyWindow();
}

TEST(DlgVolume, HidesWhenAnotherWindowIsActivated)
{
    Fixture f;
    ASSERT_NE(nullptr, f.Open());
    CDlgVolume volume;
    ASSERT_TRUE(volume.CreatePopup(f.frame));
    EXPECT_FALSE(volume.IsWindowVisible());
    for (UINT id : {IDC_MIC_SLIDER, IDC_VOLUME_SLIDER, IDC_MIC_MUTE, IDC_VOLUME_MUTE})
        EXPECT_NE(nullptr, volume.GetDlgItem(id)) << id;
    volume.ShowWindow(SW_SHOW);
    volume.SetActiveWindow();
    CTestKit::PumpPending();
    f.frame->SetActiveWindow();
    EXPECT_TRUE(CTestKit::PumpUntil([&] { return !volume.IsWindowVisible(); }, 1000));
    volume.DestroyWindow();
}

TEST(MenuBar, ButtonsFindTheirPopups)
{
    g_LangManager.ScanLanguageFiles();
    ASSERT_GT(g_LangManager.GetCount(), 0);
    Fixture f;
    ASSERT_NE(nullptr, f.Open());
    CMenuBar& bar = f.frame->MenuBar();
    ASSERT_EQ(5, bar.GetButtonCount());
    for (int i = 0; i < 5; ++i) {
        CRect r;
        bar.SendMessage(TB_GETITEMRECT, i, (LPARAM)&r);
        EXPECT_EQ(50, r.Width()) << i;
        CPoint p = r.CenterPoint();
        bar.ClientToScreen(&p);
        EXPECT_EQ(i, bar.PopupButtonAt(p));
    }
    CRect last;
    bar.SendMessage(TB_GETITEMRECT, 4, (LPARAM)&last);
    CPoint beyond(last.right + 20, last.top + 2);
    bar.ClientToScreen(&beyond);
    EXPECT_EQ(-1, bar.PopupButtonAt(beyond));
    // Without an open popup the cursor switches nothing; a button without a
    // popup drops nothing.
    EXPECT_FALSE(bar.TrackCursor(beyond));
    EXPECT_FALSE(bar.DropDown(7));
    // The language choice sits at the end of the user menu.
    HMENU user = ::GetSubMenu(bar.GetMenuHandle(), 1);
    const int count = ::GetMenuItemCount(user);
    EXPECT_NE(nullptr, ::GetSubMenu(user, count - 1));
}

TEST(MenuBar, OpenPopupSwitchesToTheButtonUnderTheCursor)
{
    Fixture f;
    ASSERT_NE(nullptr, f.Open());
    CMenuBar& bar = f.frame->MenuBar();
    auto centre = [&](int i) {
        CRect r;
        bar.SendMessage(TB_GETITEMRECT, i, (LPARAM)&r);
        CPoint p = r.CenterPoint();
        bar.ClientToScreen(&p);
        return p;
    };
    // While the first popup is open, the tracking check sees the cursor on
    // the third button: the first popup closes and the third opens; the
    // next tick closes that one.
    // The bar's own tracking reads the real cursor, which other test
    // programs on the display would move: it is this one's, and away.
    CTestKit::ParkCursor();
    static std::vector<int>* opened;
    static CMenuBar* menuBar;
    static CPoint target;
    static int ticks;
    std::vector<int> seen;
    opened = &seen;
    menuBar = &bar;
    target = centre(2);
    ticks = 0;
    struct Tick
    {
        static void CALLBACK Proc(HWND, UINT, UINT_PTR, DWORD)
        {
            opened->push_back(menuBar->GetOpenPopup());
            if (ticks++ == 0)
                menuBar->TrackCursor(target);
            else
                ::EndMenu();
        }
    };
    UINT_PTR timer = ::SetTimer(nullptr, 0, 150, &Tick::Proc);
    EXPECT_TRUE(bar.DropDown(0));
    ::KillTimer(nullptr, timer);
    ASSERT_GE(seen.size(), 2u);
    EXPECT_EQ(0, seen[0]);
    EXPECT_EQ(2, seen[1]);
    EXPECT_EQ(-1, bar.GetOpenPopup());
}
