#include <gtest/gtest.h>

#include "CSkinSlider.h"
#include "CSkinSliderCtrl.h"
#include "CTestKit.h"
#include "ControlTestKit.h"

using namespace controltest;

namespace {
const COLORREF kBefore = RGB(0, 0, 200), kAfter = RGB(200, 200, 200);
const COLORREF kThumb[4] = {RGB(0, 150, 0), RGB(150, 0, 0), RGB(150, 150, 0), RGB(90, 90, 90)};
const COLORREF kBlock = 0xE17910;

struct SliderFixture
{
    CRecorderWnd parent;
    CSkinSlider slider;
    bool Make(int channelHeight = 6, int clientHeight = 10)
    {
        std::string before = WriteStrip("before.bmp", {kBefore}, 30, channelHeight);
        std::string after = WriteStrip("after.bmp", {kAfter}, 30, channelHeight);
        std::string thumb =
            WriteStrip("thumb.bmp", {kThumb[0], kThumb[1], kThumb[2], kThumb[3]}, 8, 8);
        if (!parent.CreateTop())
            return false;
        parent.ShowWindow(SW_SHOWNOACTIVATE);
        return slider.Create(before.c_str(), after.c_str(), thumb.c_str(),
                             CRect(10, 10, 82, 10 + clientHeight), &parent, 77, TRUE) != FALSE;
    }
    ~SliderFixture()
    {
        ::ReleaseCapture();
        if (parent.m_hWnd)
            parent.DestroyWindow();
    }
    void Press(int x)
    {
        CTestKit::SendMouse(slider.GetSafeHwnd(), WM_LBUTTONDOWN, POINT{x, 5}, MK_LBUTTON);
    }
    void Move(int x)
    {
        CTestKit::SendMouse(slider.GetSafeHwnd(), WM_MOUSEMOVE, POINT{x, 5}, MK_LBUTTON);
    }
    void Release(int x) { CTestKit::SendMouse(slider.GetSafeHwnd(), WM_LBUTTONUP, POINT{x, 5}); }
    // (code, position) of every scroll message the parent received.
    std::vector<std::pair<int, int>> Scrolls() const
    {
        std::vector<std::pair<int, int>> out;
        for (const Sent& s : parent.sent)
            if (s.message == WM_HSCROLL) {
                EXPECT_EQ((HWND)s.lParam, slider.m_hWnd);
                out.push_back({LOWORD(s.wParam), (short)HIWORD(s.wParam)});
            }
        return out;
    }
};
typedef std::vector<std::pair<int, int>> Scroll;
} // namespace

TEST(SkinSlider, DragReportsTrackingClampedToTheRangeAndTheReleaseEndsIt)
{
    SliderFixture f;
    ASSERT_TRUE(f.Make());
    f.slider.SetRange(0, 100, TRUE);
    f.slider.SetPos(50);
    EXPECT_EQ(f.slider.GetThumbRect().CenterPoint().x, 36);

    f.Press(36);
    EXPECT_TRUE(f.Scrolls().empty()) << "nothing is sent on the press";
    EXPECT_EQ(f.slider.GetState(), CSkinSlider::STATE_PRESSED);
    f.Move(200);
    f.Move(-30);
    f.Move(36);
    f.Release(36);
    EXPECT_EQ(f.Scrolls(), (Scroll{{SB_THUMBTRACK, 100},
                                   {SB_THUMBTRACK, 0},
                                   {SB_THUMBTRACK, 50},
                                   {SB_THUMBPOSITION, 50},
                                   {SB_ENDSCROLL, 0}}));
    EXPECT_EQ(f.slider.GetState(), CSkinSlider::STATE_OVER) << "released over the thumb";
    EXPECT_EQ(::GetCapture(), f.slider.m_hWnd);

    // A click on the channel moves the thumb under the point silently; the
    // release reports the new position.
    CTestKit::SendMouse(f.slider.GetSafeHwnd(), WM_MOUSEMOVE, POINT{300, 5}); // leaves the thumb
    EXPECT_EQ(f.slider.GetState(), CSkinSlider::STATE_NORMAL);
    f.parent.Clear();
    f.Press(60);
    EXPECT_EQ(f.slider.GetPos(), 87);
    EXPECT_TRUE(f.Scrolls().empty());
    f.Release(2);
    EXPECT_EQ(f.Scrolls(), (Scroll{{SB_THUMBPOSITION, 87}, {SB_ENDSCROLL, 0}}));
    EXPECT_EQ(f.slider.GetState(), CSkinSlider::STATE_NORMAL);
    EXPECT_NE(::GetCapture(), f.slider.m_hWnd);
}

TEST(SkinSlider, EmptyRangeKeepsTheThumbAtTheStart)
{
    SliderFixture f;
    ASSERT_TRUE(f.Make());
    f.slider.SetRange(5, 5, TRUE);
    f.slider.SetPos(5);
    EXPECT_EQ(f.slider.GetThumbRect().CenterPoint().x, 4);
    f.Press(50);
    f.Release(50);
    EXPECT_EQ(f.slider.GetPos(), 5);
    EXPECT_EQ(f.Scrolls(), (Scroll{{SB_THUMBPOSITION, 5}, {SB_ENDSCROLL, 0}}));
    // A reversed range still keeps positions inside it.
    f.slider.SetRange(100, 0);
    f.Press(71);
    f.Release(71);
    EXPECT_EQ(f.slider.GetPos(), 0);
}

TEST(SkinSlider, DisabledSliderIgnoresTheMouseAndShowsItsFourthThumb)
{
    SliderFixture f;
    ASSERT_TRUE(f.Make());
    f.slider.SetPos(50);
    f.slider.EnableWindow(FALSE);
    EXPECT_EQ(f.slider.GetState(), CSkinSlider::STATE_DISABLED);
    f.Press(10);
    f.Move(70);
    f.Release(70);
    EXPECT_EQ(f.slider.GetPos(), 50);
    EXPECT_TRUE(f.Scrolls().empty());
    Pixels p = Snap(f.slider);
    EXPECT_EQ(p.At(36, 5), kThumb[3]);
    EXPECT_EQ(p.At(10, 5), kBefore) << "left of the thumb: the before-thumb channel";
    EXPECT_EQ(p.At(60, 5), kAfter);
    f.slider.EnableWindow(TRUE);
    p = Snap(f.slider);
    EXPECT_EQ(p.At(36, 5), kThumb[0]);
}

TEST(SkinSlider, LevelBlocksFillThePercentOfTheChannel)
{
    SliderFixture f;
    ASSERT_TRUE(f.Make(10, 14));
    f.slider.SetPos(0);
    struct Case
    {
        int level;
        int firstEmpty; // first x without a block (-1: blocks reach the edge)
    } cases[] = {{0, 0}, {50, 36}, {100, -1}};
    for (const Case& c : cases) {
        f.slider.m_nLevel = c.level;
        Pixels p = Snap(f.slider);
        int lastBlock = -1;
        for (int x = 0; x < p.width; ++x)
            if (p.At(x, 7) == kBlock)
                lastBlock = x;
        if (c.level == 0)
            EXPECT_EQ(p.Count(kBlock), 0);
        else if (c.firstEmpty < 0)
            EXPECT_GE(lastBlock, 70) << "level 100 reaches the right edge";
        else
            EXPECT_LT(lastBlock, c.firstEmpty) << c.level;
    }
}

TEST(SkinSliderCtrl, ShowsTheParentBackgroundBehindTheChannel)
{
    CRecorderWnd parent;
    ASSERT_TRUE(parent.CreateTop());
    parent.ShowWindow(SW_SHOWNOACTIVATE);
    CSkinSliderCtrl slider;
    ASSERT_TRUE(
        slider.Create(WS_CHILD | WS_VISIBLE | TBS_HORZ, CRect(10, 10, 150, 40), &parent, 5));
    slider.SetRange(0, 10, TRUE);
    slider.SetPos(3);
    CTestKit::Capture(slider.m_hWnd);
    EXPECT_TRUE(slider.HasBackground()) << "taken at the first channel drawing";
    CClientDC dc(&slider);
    EXPECT_EQ(slider.SendMessage(WM_ERASEBKGND, (WPARAM)dc.m_hDC), 0) << "nothing is erased";
    parent.DestroyWindow();
}

TEST(SkinSlider, DragWhoseReleaseWentElsewhereEndsAtTheNextMoveWithoutTheButton)
{
    SliderFixture f;
    ASSERT_TRUE(f.Make());
    f.slider.SetRange(0, 100, TRUE);
    f.slider.SetPos(50);
    f.Press(36);
    f.Move(60);
    // A message box takes the mouse; the button is released over it.
    f.parent.SetCapture();
    ::ReleaseCapture();
    f.parent.Clear();
    CTestKit::SendMouse(f.slider.GetSafeHwnd(), WM_MOUSEMOVE, POINT{10, 5});
    EXPECT_EQ(f.slider.GetPos(), 87) << "the thumb no longer follows the mouse";
    EXPECT_EQ(f.Scrolls(), (Scroll{{SB_THUMBPOSITION, 87}, {SB_ENDSCROLL, 0}}));
    EXPECT_NE(::GetCapture(), f.slider.m_hWnd) << "away from the thumb the mouse is free";
    EXPECT_EQ(f.slider.GetState(), CSkinSlider::STATE_NORMAL);
}
