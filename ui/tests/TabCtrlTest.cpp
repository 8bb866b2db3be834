#include <gtest/gtest.h>

#include "CBitmapTabCtrl.h"
#include "CSkinTabCtrl.h"
#include "CTestKit.h"
#include "CZrTabCtrl.h"
#include "ControlTestKit.h"

using namespace controltest;

TEST(SkinTabCtrl, PagesFollowTheCurrentTabAndTheParentHearsOfUserChanges)
{
    CRecorderWnd parent;
    parent.watched.push_back(WM_TAB_PAGE_CHANGED);
    ASSERT_TRUE(parent.CreateTop());
    CSkinTabCtrl tabs;
    ASSERT_TRUE(tabs.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 300, 200), &parent, 40));
    CWnd pages[3];
    for (CWnd& p : pages)
        ASSERT_TRUE(
            p.Create(AfxRegisterWndClass(0), "page", WS_CHILD, CRect(0, 0, 10, 10), &tabs, 0));
    EXPECT_FALSE(tabs.AddPage(pages[0].m_hWnd, 1, "beyond the end")) << "index past the count";
    EXPECT_FALSE(tabs.AddPage(pages[0].m_hWnd, -1, "negative"));
    ASSERT_TRUE(tabs.AddPage(pages[0].m_hWnd, 0, "one"));
    ASSERT_TRUE(tabs.AddPage(pages[2].m_hWnd, 1, "three"));
    ASSERT_TRUE(tabs.AddPage(pages[1].m_hWnd, 1, "two", ::LoadIconA(NULL, IDI_APPLICATION)));
    EXPECT_EQ(tabs.GetItemCount(), 3);

    tabs.SelectPage(0);
    EXPECT_TRUE(pages[0].GetStyle() & WS_VISIBLE);
    CRect want, got;
    tabs.GetPageRect(&want);
    pages[0].GetWindowRect(&got);
    tabs.ScreenToClient(&got);
    EXPECT_EQ(got, want);
    EXPECT_EQ(parent.Count(WM_TAB_PAGE_CHANGED), 0) << "selection by code sends nothing";

    // The user changes the tab: the control's selection then TCN_SELCHANGE.
    tabs.SetCurSel(2);
    NMHDR hdr = {tabs.m_hWnd, 40, (UINT)TCN_SELCHANGE};
    parent.SendMessage(WM_NOTIFY, 40, (LPARAM)&hdr);
    EXPECT_TRUE(pages[2].GetStyle() & WS_VISIBLE);
    EXPECT_FALSE(pages[0].GetStyle() & WS_VISIBLE);
    EXPECT_FALSE(pages[1].GetStyle() & WS_VISIBLE);
    ASSERT_EQ(parent.Count(WM_TAB_PAGE_CHANGED), 1);
    EXPECT_EQ(parent.sent.back().wParam, 2u);

    tabs.MoveWindow(0, 0, 400, 250);
    tabs.GetPageRect(&want);
    pages[2].GetWindowRect(&got);
    tabs.ScreenToClient(&got);
    EXPECT_EQ(got, want) << "a resize moves the current page along";
    parent.DestroyWindow();
}

TEST(BitmapTabCtrl, PageRectLiesBelowTheTabImageAndTabsShowTheirImages)
{
    CRecorderWnd parent;
    ASSERT_TRUE(parent.CreateTop());
    CBitmapTabCtrl tabs;
    ASSERT_TRUE(tabs.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 300, 200), &parent, 41));
    CRect page;
    tabs.GetPageRect(&page);
    EXPECT_EQ(page, CRect(1, 24 + 1, 299, 199)) << "the tab image is 24 high";
    EXPECT_EQ(tabs.SendMessage(WM_NCHITTEST, 0, MAKELPARAM(5, 5)) == HTTRANSPARENT, false);

    // The current tab shows the current-tab image, the others the inactive one.
    parent.ShowWindow(SW_SHOWNOACTIVATE);
    CWnd pages[2];
    for (CWnd& p : pages)
        ASSERT_TRUE(p.Create("STATIC", "", WS_CHILD, CRect(0, 0, 10, 10), &tabs, 0));
    tabs.AddPage(pages[0].m_hWnd, 0, "");
    tabs.AddPage(pages[1].m_hWnd, 1, "");
    tabs.SelectPage(1);
    CRect first, second;
    tabs.GetItemRect(0, &first);
    tabs.GetItemRect(1, &second);
    Pixels p = Snap(tabs);
    COLORREF inactive = p.At(first.left + first.Width() / 2, first.top + 3);
    COLORREF current = p.At(second.left + second.Width() / 2, second.top + 3);
    EXPECT_NE(inactive, current);
    EXPECT_GE(GetGValue(current), 0xF8) << "the current tab image is the light one";
    EXPECT_NE(inactive, ::GetSysColor(COLOR_BTNFACE)) << "the inactive image was found";
    parent.DestroyWindow();
}

namespace {
struct ZrFixture
{
    CRecorderWnd parent;
    CZrTabCtrl strip;
    bool Make(int width = 400)
    {
        return parent.CreateTop(500, 200) &&
               strip.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, width, 24), &parent, 50);
    }
    ~ZrFixture()
    {
        if (parent.m_hWnd)
            parent.DestroyWindow();
    }
    std::vector<int> Codes() const
    {
        std::vector<int> out;
        for (const Sent& s : parent.sent)
            if (s.message == WM_NOTIFY)
                out.push_back(s.code);
        return out;
    }
    CPoint TabPoint(int index) const
    {
        CRect r = strip.GetTabsRect();
        int x = r.left;
        for (int i = strip.GetFirstVisible(); i < index; ++i)
            x += strip.GetTabWidth(i) + (i == strip.GetCurSel() ? 1 : 0);
        return CPoint(x + 5, r.top + 5);
    }
};
} // namespace

TEST(ZrTabCtrl, TabWidthComesFromTheCaption)
{
    ZrFixture f;
    ASSERT_TRUE(f.Make());
    EXPECT_EQ(f.strip.MeasureTab(""), 50) << "20 of padding, at least 50";
    std::string wide(40, 'W');
    int w = f.strip.MeasureTab(wide.c_str());
    EXPECT_GT(w, 60);
    EXPECT_EQ(f.strip.GetHeight(), 24);
    EXPECT_TRUE(f.strip.AddTab(NULL, 3)) << "no caption: an empty tab";
    f.strip.SetTabText(3, NULL);
    EXPECT_EQ(f.strip.GetTabWidth(0), 50);
}

TEST(ZrTabCtrl, UserSelectionAsksTheParentWhichMayVeto)
{
    ZrFixture f;
    ASSERT_TRUE(f.Make());
    EXPECT_EQ(f.strip.HitTest(CPoint(60, 5)), -1) << "no tabs: a click hits nothing";
    f.strip.AddTab("one", 11);
    f.strip.AddTab("two", 12);
    EXPECT_EQ(f.strip.GetCurSel(), -1) << "a new tab does not become current";
    CPoint second = f.TabPoint(1);
    CTestKit::SendMouse(f.strip.GetSafeHwnd(), WM_LBUTTONDOWN, POINT{second.x, second.y},
                        MK_LBUTTON);
    EXPECT_EQ(f.strip.GetCurTabId(), 12u);
    EXPECT_EQ(f.Codes(), (std::vector<int>{(int)TCN_SELCHANGING, (int)TCN_SELCHANGE}));

    f.parent.Clear();
    f.parent.vetoes.push_back(TCN_SELCHANGING);
    CPoint first = f.TabPoint(0);
    CTestKit::SendMouse(f.strip.GetSafeHwnd(), WM_LBUTTONDOWN, POINT{first.x, first.y}, MK_LBUTTON);
    EXPECT_EQ(f.strip.GetCurTabId(), 12u);
    EXPECT_EQ(f.Codes(), (std::vector<int>{(int)TCN_SELCHANGING}));
}

TEST(ZrTabCtrl, RemovingATabKeepsTheHighlightOnTheSameDocument)
{
    ZrFixture f;
    ASSERT_TRUE(f.Make());
    for (UINT id = 1; id <= 4; ++id)
        f.strip.AddTab("doc", id);
    f.strip.SelectTab(3);
    ASSERT_EQ(f.strip.GetCurSel(), 2);

    f.strip.RemoveTab(1); // left of the current tab
    EXPECT_EQ(f.strip.GetCurTabId(), 3u);
    f.strip.RemoveTab(99); // unknown: nothing
    EXPECT_EQ(f.strip.GetTabCount(), 3);
    f.strip.RemoveTab(4); // right of it
    EXPECT_EQ(f.strip.GetCurTabId(), 3u);
    f.strip.RemoveTab(3); // the current tab: its index stays
    EXPECT_EQ(f.strip.GetCurSel(), 1);
    EXPECT_EQ(f.strip.GetCurTabId(), 0u) << "index 1 is past the one tab left";
    f.strip.SetCurSel(7);
    EXPECT_EQ(f.strip.GetCurSel(), -1);

    // RemoveAll keeps the current index: the tab later added there shows as current.
    f.strip.SetCurSel(0);
    f.strip.RemoveAll();
    EXPECT_EQ(f.strip.GetTabCount(), 0);
    f.strip.AddTab("again", 8);
    EXPECT_EQ(f.strip.GetCurTabId(), 8u);
}

TEST(ZrTabCtrl, FirstVisibleTabIsClampedAndScrollingStopsAtTheEnds)
{
    ZrFixture f;
    ASSERT_TRUE(f.Make(200));
    for (UINT id = 1; id <= 5; ++id)
        f.strip.AddTab("document", id);
    f.strip.SendMessage(WM_COMMAND, CZrTabCtrl::ID_PREV);
    EXPECT_EQ(f.strip.GetFirstVisible(), 0);
    for (int i = 0; i < 10; ++i)
        f.strip.SendMessage(WM_COMMAND, CZrTabCtrl::ID_NEXT);
    int first = f.strip.GetFirstVisible();
    EXPECT_GT(first, 0);
    EXPECT_LT(first, 5) << "scrolling stops once the rest fits";
    f.strip.RemoveTab(5);
    f.strip.RemoveTab(4);
    f.strip.RemoveTab(3);
    f.strip.RemoveTab(2);
    EXPECT_EQ(f.strip.GetFirstVisible(), 0) << "clamped to the last index";
}

TEST(ZrTabCtrl, ClosingAsksTheParentAndTheLastCloseLeavesNoCurrentTab)
{
    ZrFixture f;
    ASSERT_TRUE(f.Make());
    f.strip.AddTab("only", 5);
    f.strip.SetCurSel(0);

    f.parent.vetoes.push_back(TABN_CLOSING);
    f.strip.SendMessage(WM_COMMAND, CZrTabCtrl::ID_CLOSE);
    EXPECT_EQ(f.Codes(), (std::vector<int>{TABN_CLOSING})) << "a veto sends nothing further";
    EXPECT_EQ(f.strip.GetCurSel(), 0);

    // The parent closes the document while handling TABN_CLOSING.
    f.parent.vetoes.clear();
    f.parent.Clear();
    f.strip.RemoveTab(5);
    f.strip.SendMessage(WM_COMMAND, CZrTabCtrl::ID_CLOSE);
    EXPECT_EQ(f.Codes(),
              (std::vector<int>{TABN_CLOSING, (int)TCN_SELCHANGING, (int)TCN_SELCHANGE}));
    EXPECT_EQ(f.strip.GetCurSel(), -1);
}
