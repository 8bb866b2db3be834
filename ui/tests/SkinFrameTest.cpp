#include <gtest/gtest.h>

#include "CDBFrame.h"
#include "CRoundGroupBox.h"
#include "CSkinProgressCtrl.h"
#include "CTestKit.h"

namespace {
class CTestFrame : public CDBFrame
{
public:
    int closes = 0;
    int maxRestores = 0;
    void OnCloseButton() override { ++closes; }
    void OnMaxRestore() override { ++maxRestores; }
};

CTestFrame* OpenFrame(DWORD style)
{
    CTestFrame* frame = new CTestFrame; // a frame deletes itself when destroyed
    EXPECT_TRUE(frame->Create(NULL, "Meeting", style, CRect(40, 40, 640, 440)));
    frame->ShowWindow(SW_SHOWNORMAL);
    CTestKit::PumpPending();
    return frame;
}

POINT Centre(const CCaptionButton& b)
{
    const RECT& r = b.GetRect();
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

void Post(CWnd* wnd, UINT msg, POINT pt, WPARAM keys = 0)
{
    CTestKit::PostMouse(wnd->GetSafeHwnd(), msg, pt, keys);
    CTestKit::PumpPending();
}
} // namespace

TEST(DBFrame, OwnCaptionBordersAndTitle)
{
    CTestFrame* frame = OpenFrame(WS_OVERLAPPEDWINDOW);
    EXPECT_FALSE(frame->GetStyle() & WS_CAPTION);
    CRect window, client;
    frame->GetWindowRect(&window);
    frame->GetClientRect(&client);
    frame->ClientToScreen(&client);
    EXPECT_EQ(CDBFrame::BORDER_LEFT, client.left - window.left);
    EXPECT_EQ(CDBFrame::BORDER_RIGHT, window.right - client.right);
    EXPECT_EQ(CDBFrame::BORDER_BOTTOM, window.bottom - client.bottom);
    EXPECT_EQ(frame->GetCaptionHeight(), client.top - window.top);
    EXPECT_EQ(400 - ::GetSystemMetrics(SM_CYCAPTION) + frame->GetCaptionHeight() + 4,
              window.Height());
    EXPECT_EQ(HTCAPTION,
              frame->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(window.left + 300, window.top + 5)));

    // The title is written in white over the caption image.
    frame->SendMessage(WM_NCPAINT, 1, 0);
    CTestKit::Snapshot shot = CTestKit::Capture(frame->GetSafeHwnd(), false);
    int white = 0;
    for (int y = 7; y < frame->GetCaptionHeight(); ++y)
        for (int x = 28; x < 120; ++x)
            white += shot.At(x, y) == RGB(255, 255, 255);
    EXPECT_GT(white, 5);
    frame->DestroyWindow();
}

TEST(DBFrame, CaptionButtonsCallTheFrame)
{
    CTestFrame* frame = OpenFrame(WS_OVERLAPPEDWINDOW);
    struct Case
    {
        CCaptionButton* button;
        int* counter;
    };
    const Case cases[] = {{&frame->CloseButton(), &frame->closes},
                          {&frame->MaxButton(), &frame->maxRestores}};
    for (const Case& c : cases) {
        POINT p = Centre(*c.button);
        Post(frame, WM_MOUSEMOVE, p);
        Post(frame, WM_LBUTTONDOWN, p, MK_LBUTTON);
        Post(frame, WM_LBUTTONUP, p);
        EXPECT_EQ(1, *c.counter);
        Post(frame, WM_MOUSEMOVE, POINT{10, 10});
        EXPECT_EQ(nullptr, CCaptionButton::GetCaptured());
    }
    EXPECT_TRUE(frame->IsWindowVisible()); // the derived frame decided: nothing closed
    frame->DestroyWindow();
}

TEST(DBFrame, WithoutMaximiseBoxTheButtonIsDisabled)
{
    CTestFrame* frame = OpenFrame(WS_OVERLAPPED | WS_SYSMENU | WS_MINIMIZEBOX | WS_THICKFRAME);
    EXPECT_EQ(CCaptionButton::STATE_DISABLED, frame->MaxButton().GetState());
    POINT p = Centre(frame->MaxButton());
    Post(frame, WM_MOUSEMOVE, p);
    Post(frame, WM_LBUTTONDOWN, p, MK_LBUTTON);
    Post(frame, WM_LBUTTONUP, p);
    EXPECT_EQ(0, frame->maxRestores);
    frame->DestroyWindow();
}

TEST(DBFrame, MaximisesOverTheWorkArea)
{
    CTestFrame* frame = OpenFrame(WS_OVERLAPPEDWINDOW);
    MINMAXINFO info = {};
    frame->SendMessage(WM_GETMINMAXINFO, 0, (LPARAM)&info);
    RECT work;
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_EQ(work.left - 1, info.ptMaxPosition.x);
    EXPECT_EQ(work.top - 1, info.ptMaxPosition.y);
    EXPECT_EQ(work.right - work.left + 2, info.ptMaxSize.x);
    EXPECT_EQ(work.bottom - work.top + 2, info.ptMaxSize.y);
    EXPECT_EQ(5000, info.ptMaxTrackSize.x);
    EXPECT_EQ(5000, info.ptMaxTrackSize.y);
    frame->ShowWindow(SW_MAXIMIZE);
    CTestKit::PumpPending();
    EXPECT_EQ((UINT)ID_CAPTION_RESTORE, frame->MaxButton().GetCommand());
    frame->ShowWindow(SW_RESTORE);
    CTestKit::PumpPending();
    EXPECT_EQ((UINT)ID_CAPTION_MAXIMIZE, frame->MaxButton().GetCommand());
    frame->DestroyWindow();
}

TEST(SkinProgress, FillFollowsTheRangeFromItsLowerBound)
{
    struct Case
    {
        int lower, upper, pos, width, fill;
    };
    const Case cases[] = {
        {0, 100, 50, 200, 100},  {50, 150, 100, 200, 100}, // the lower bound counts
        {50, 150, 50, 200, 0},   {50, 150, 150, 200, 200}, {10, 10, 10, 200, 0}, // empty range
        {0, 100, 150, 200, 200}, {0, 100, -5, 200, 0}, // outside the range
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.fill, CSkinProgressCtrl::FillWidth(c.lower, c.upper, c.pos, c.width))
            << c.lower << ".." << c.upper << " at " << c.pos;
}

TEST(SkinProgress, LevelBarWithoutBitmaps)
{
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, AfxRegisterWndClass(0), "p", WS_POPUP | WS_VISIBLE,
                                CRect(10, 10, 300, 60), NULL, 0));
    HWND bar = ::CreateWindowExA(0, PROGRESS_CLASSA, "", WS_CHILD | WS_VISIBLE | WS_BORDER, 0, 0,
                                 202, 14, parent.GetSafeHwnd(), (HMENU)100, NULL, NULL);
    CSkinProgressCtrl progress;
    ASSERT_TRUE(progress.SubclassWindow(bar));
    progress.SetRange32(0, 100);
    progress.SetPos(70);
    progress.RedrawWindow();
    CTestKit::Snapshot shot = CTestKit::Capture(bar, false);
    ASSERT_EQ(202, shot.width);
    // Inner width 200, blocks 10 wide with 1-pixel gaps: blocks ending below
    // 120 green, below 160 yellow; the bar ends at 70 % of the width (141).
    EXPECT_EQ(CSkinProgressCtrl::GREEN, shot.At(5, 7));
    EXPECT_EQ(CSkinProgressCtrl::GREEN, shot.At(100, 7));
    EXPECT_EQ(CSkinProgressCtrl::YELLOW, shot.At(135, 7));
    EXPECT_EQ(RGB(255, 255, 255), shot.At(142, 7));
    EXPECT_EQ(RGB(255, 255, 255), shot.At(170, 7));
    EXPECT_EQ(0, shot.Count(CSkinProgressCtrl::RED));
    EXPECT_EQ(CSkinProgressCtrl::FRAME_COLOUR, shot.At(0, 7));
    progress.UnsubclassWindow();
    parent.DestroyWindow();
}

TEST(SkinProgress, SkinBitmapsSetTheHeight)
{
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, AfxRegisterWndClass(0), "p", WS_POPUP | WS_VISIBLE,
                                CRect(10, 10, 300, 60), NULL, 0));
    HWND bar = ::CreateWindowExA(0, PROGRESS_CLASSA, "", WS_CHILD | WS_VISIBLE, 0, 0, 150, 30,
                                 parent.GetSafeHwnd(), (HMENU)100, NULL, NULL);
    CSkinProgressCtrl progress;
    progress.SetBitmaps("ProgressCtrlLeft.bmp", "DBProgressCtrl.bmp");
    ASSERT_TRUE(progress.SubclassWindow(bar));
    CRect r;
    progress.GetWindowRect(&r);
    CSkinBitmap background;
    ASSERT_TRUE(background.LoadFromFile("ProgressCtrlLeft.bmp", 10, 20, TRUE));
    EXPECT_EQ(150, r.Width());
    EXPECT_EQ(background.GetHeight(), r.Height());
    progress.UnsubclassWindow();
    parent.DestroyWindow();
}

TEST(RoundGroupBox, CaptionAndRoundedFrame)
{
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0,
                                AfxRegisterWndClass(0, NULL, (HBRUSH)::GetStockObject(WHITE_BRUSH)),
                                "p", WS_POPUP | WS_VISIBLE, CRect(10, 10, 300, 200), NULL, 0));
    HWND box = ::CreateWindowExA(0, "BUTTON", "Group", WS_CHILD | WS_VISIBLE | BS_GROUPBOX, 10, 10,
                                 200, 100, parent.GetSafeHwnd(), (HMENU)101, NULL, NULL);
    ::SendMessageA(box, WM_SETFONT, (WPARAM)::GetStockObject(DEFAULT_GUI_FONT), 0);
    CRoundGroupBox group;
    ASSERT_TRUE(group.SubclassWindow(box));
    group.RedrawWindow();
    CTestKit::Snapshot shot = CTestKit::Capture(box, true);
    EXPECT_GT(shot.Count(CRoundGroupBox::FRAME_COLOUR), 200); // the frame
    EXPECT_GT(shot.Count(CRoundGroupBox::TEXT_COLOUR), 5);    // the caption
    EXPECT_EQ(CRoundGroupBox::FRAME_COLOUR, shot.At(0, 50));
    group.UnsubclassWindow();
    parent.DestroyWindow();
}
