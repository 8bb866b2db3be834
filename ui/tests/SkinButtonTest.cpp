#include <gtest/gtest.h>

#include "CSkinButton.h"
#include "CStandardSkinButton.h"
#include "CTestKit.h"
#include "ControlTestKit.h"

using namespace controltest;

namespace {
const COLORREF kNormal = RGB(10, 200, 10), kHover = RGB(200, 10, 10), kPressed = RGB(10, 10, 200),
               kDisabled = RGB(128, 128, 0);

std::string StateStrip()
{
    return WriteStrip("states.bmp", {kNormal, kHover, kPressed, kDisabled}, 30, 20);
}

// A child button of the recorder made with the given style and subclassed.
void MakeButton(CRecorderWnd& parent, CSkinButton& b, DWORD style, const CRect& rc, UINT id,
                LPCSTR text = "")
{
    HWND h =
        ::CreateWindowA("BUTTON", text, WS_CHILD | WS_VISIBLE | style, rc.left, rc.top, rc.Width(),
                        rc.Height(), parent.m_hWnd, (HMENU)(UINT_PTR)id, NULL, NULL);
    ASSERT_NE(h, nullptr);
    ASSERT_TRUE(b.SubclassWindow(h));
}
} // namespace

TEST(SkinButton, StripIsCutIntoFourStateImagesAndSizesTheButton)
{
    CRecorderWnd parent;
    ASSERT_TRUE(parent.CreateTop());
    // 203 pixels give four images 50 wide, like 200.
    std::string odd = WriteStrip("odd.bmp", {kNormal, kHover, kPressed, kDisabled}, 50, 23, 3);
    CSkinButton keep, natural;
    keep.SetBitmapStrip(odd.c_str(), TRUE);
    natural.SetBitmapStrip(odd.c_str(), FALSE);
    EXPECT_EQ(keep.GetStateImage(0).GetWidth(), 50);
    EXPECT_EQ(keep.GetStateImage(3).GetWidth(), 50);
    MakeButton(parent, keep, BS_PUSHBUTTON, CRect(0, 0, 120, 40), 1);
    MakeButton(parent, natural, BS_PUSHBUTTON, CRect(0, 50, 120, 90), 2);
    CRect rc;
    keep.GetWindowRect(&rc);
    EXPECT_EQ(rc.Width(), 120) << "keep width: the dialog's width stays";
    EXPECT_EQ(rc.Height(), 23) << "the strip's height";
    natural.GetWindowRect(&rc);
    EXPECT_EQ(rc.Width(), 50);
    EXPECT_EQ(rc.Height(), 23);

    // A strip that is not there leaves the button its size instead of
    // shrinking it to nothing; it paints in the button face.
    CSkinButton missing;
    missing.SetBitmapStrip("Skins\\NoSuchStrip.bmp", TRUE);
    MakeButton(parent, missing, BS_PUSHBUTTON, CRect(0, 100, 80, 130), 3);
    missing.GetWindowRect(&rc);
    EXPECT_EQ(rc.Height(), 30);
    Pixels p = DrawOwnerDrawn(missing, 0);
    EXPECT_EQ(p.At(40, 2), ::GetSysColor(COLOR_BTNFACE));
    parent.DestroyWindow();
}

TEST(SkinButton, StandardButtonKeepsItsWidthAndTakesTheStripHeight)
{
    CRecorderWnd parent;
    ASSERT_TRUE(parent.CreateTop());
    CStandardSkinButton ok;
    ASSERT_FALSE(ok.GetStateImage(0).IsEmpty()) << "the standard strip is drawn by the build";
    MakeButton(parent, ok, BS_DEFPUSHBUTTON, CRect(10, 10, 110, 50), IDOK, "OK");
    CRect rc;
    ok.GetWindowRect(&rc);
    EXPECT_EQ(rc.Width(), 100);
    EXPECT_EQ(rc.Height(), ok.GetStateImage(0).GetHeight());
    EXPECT_EQ(ok.GetButtonStyle() & BS_TYPEMASK, (UINT)BS_OWNERDRAW);
    parent.DestroyWindow();
}

TEST(SkinButton, DrawsTheImageOfItsState)
{
    CRecorderWnd parent;
    ASSERT_TRUE(parent.CreateTop());
    std::string strip = StateStrip();
    CSkinButton push, check;
    push.SetBitmapStrip(strip.c_str(), TRUE);
    check.SetBitmapStrip(strip.c_str(), TRUE);
    MakeButton(parent, push, BS_PUSHBUTTON, CRect(200, 200, 260, 220), 1);
    MakeButton(parent, check, BS_AUTOCHECKBOX, CRect(200, 230, 260, 250), 2);
    ASSERT_TRUE(check.IsCheckMode());
    CTestKit::MoveCursor(NULL, POINT{0, 0});

    struct Case
    {
        CSkinButton* button;
        int checked;
        UINT state;
        COLORREF expect;
        const char* what;
    } cases[] = {
        {&push, 0, 0, kNormal, "push normal"},
        {&push, 0, ODS_SELECTED, kPressed, "push pressed"},
        {&push, 0, ODS_DISABLED | ODS_SELECTED, kDisabled, "push disabled wins"},
        {&check, 0, 0, kNormal, "unchecked"},
        {&check, 1, 0, kHover, "checked shows the hover image"},
        {&check, 1, ODS_DISABLED, kDisabled, "disabled whatever the check"},
        {&check, 0, ODS_DISABLED, kDisabled, "disabled unchecked"},
    };
    for (const Case& c : cases) {
        c.button->SendMessage(BM_SETCHECK, c.checked);
        Pixels p = DrawOwnerDrawn(*c.button, c.state);
        EXPECT_EQ(p.At(p.width / 2, 1), c.expect) << c.what;
    }
    parent.DestroyWindow();
}

TEST(SkinButton, RadioGroupChecksOneAndTheWalkEndsAtHiddenOrDisabledButtons)
{
    CRecorderWnd parent;
    ASSERT_TRUE(parent.CreateTop());
    std::string strip = StateStrip();
    CSkinButton a, b, hidden, disabled, outside;
    for (CSkinButton* p : {&a, &b, &hidden, &disabled, &outside})
        p->SetBitmapStrip(strip.c_str(), TRUE);
    MakeButton(parent, a, BS_AUTORADIOBUTTON | WS_GROUP, CRect(0, 0, 60, 20), 11);
    MakeButton(parent, b, BS_AUTORADIOBUTTON, CRect(0, 30, 60, 50), 12);
    MakeButton(parent, hidden, BS_AUTORADIOBUTTON, CRect(0, 60, 60, 80), 13);
    MakeButton(parent, disabled, BS_AUTORADIOBUTTON, CRect(0, 90, 60, 110), 14);
    MakeButton(parent, outside, BS_AUTORADIOBUTTON | WS_GROUP, CRect(0, 120, 60, 140), 15);
    hidden.ShowWindow(SW_HIDE);
    disabled.EnableWindow(FALSE);
    ASSERT_TRUE(a.IsRadio());

    // A click checks the button and clears the others of its group.
    a.SendMessage(BM_SETCHECK, 1);
    outside.SendMessage(BM_SETCHECK, 1);
    CTestKit::SendMouse(b.GetSafeHwnd(), WM_LBUTTONDOWN, POINT{5, 5}, MK_LBUTTON);
    CTestKit::SendMouse(b.GetSafeHwnd(), WM_LBUTTONUP, POINT{5, 5});
    EXPECT_EQ(b.SendMessage(BM_GETCHECK), BST_CHECKED);
    EXPECT_EQ(a.SendMessage(BM_GETCHECK), BST_UNCHECKED);
    EXPECT_EQ(outside.SendMessage(BM_GETCHECK), BST_CHECKED) << "another group is left alone";
    EXPECT_EQ(parent.Count(WM_COMMAND, BN_CLICKED), 1);

    // Clicking the checked radio button leaves it checked.
    CTestKit::SendMouse(b.GetSafeHwnd(), WM_LBUTTONDOWN, POINT{5, 5}, MK_LBUTTON);
    CTestKit::SendMouse(b.GetSafeHwnd(), WM_LBUTTONUP, POINT{5, 5});
    EXPECT_EQ(b.SendMessage(BM_GETCHECK), BST_CHECKED);

    // Checking a hidden or disabled member: the group walk starting there
    // never comes back to it, and must still end.
    hidden.SendMessage(BM_SETCHECK, 1);
    EXPECT_EQ(b.SendMessage(BM_GETCHECK), BST_UNCHECKED);
    b.SendMessage(BM_SETCHECK, 1);
    disabled.SendMessage(BM_SETCHECK, 1);
    EXPECT_EQ(b.SendMessage(BM_GETCHECK), BST_UNCHECKED);
    EXPECT_EQ(hidden.SendMessage(BM_GETCHECK), BST_CHECKED) << "hidden buttons are not unchecked";
    ::ReleaseCapture();
    parent.DestroyWindow();
}

TEST(SkinButton, HoverFollowsTheMouseAndEndsWhenTheCaptureGoes)
{
    CRecorderWnd parent;
    ASSERT_TRUE(parent.CreateTop());
    parent.ShowWindow(SW_SHOW);
    CSkinButton b;
    b.SetBitmapStrip(StateStrip().c_str(), TRUE);
    MakeButton(parent, b, BS_PUSHBUTTON, CRect(10, 10, 70, 30), 1);

    CTestKit::SendMouse(b.GetSafeHwnd(), WM_MOUSEMOVE, POINT{5, 5});
    EXPECT_TRUE(b.IsHovering());
    EXPECT_EQ(::GetCapture(), b.m_hWnd);
    CTestKit::SendMouse(b.GetSafeHwnd(), WM_MOUSEMOVE, POINT{200, 5});
    EXPECT_FALSE(b.IsHovering());
    EXPECT_NE(::GetCapture(), b.m_hWnd);

    // Press, drag out (hover stays while pressed), then the capture moves on.
    CTestKit::SendMouse(b.GetSafeHwnd(), WM_MOUSEMOVE, POINT{5, 5});
    CTestKit::SendMouse(b.GetSafeHwnd(), WM_LBUTTONDOWN, POINT{5, 5}, MK_LBUTTON);
    CTestKit::SendMouse(b.GetSafeHwnd(), WM_MOUSEMOVE, POINT{200, 5}, MK_LBUTTON);
    EXPECT_TRUE(b.IsHovering());
    parent.SetCapture();
    EXPECT_FALSE(b.IsHovering());
    ::ReleaseCapture();
    parent.DestroyWindow();
}

TEST(SkinButton, CaptionTooWideIsCutAndBecomesTheTooltip)
{
    CRecorderWnd parent;
    ASSERT_TRUE(parent.CreateTop());
    CSkinButton b;
    b.SetBitmapStrip(StateStrip().c_str(), FALSE); // 30 pixels wide
    MakeButton(parent, b, BS_PUSHBUTTON, CRect(0, 0, 30, 20), 1, "A caption far too wide");
    DrawOwnerDrawn(b, 0);
    EXPECT_TRUE(b.HasTruncatedCaption());
    TOOLINFOA ti = {};
    ti.cbSize = sizeof(ti);
    ASSERT_EQ(b.OnToolHitTest(CPoint(5, 5), &ti), 1);
    EXPECT_STREQ(ti.lpszText, "A caption far too wide");
    free(ti.lpszText);
    EXPECT_EQ(b.OnToolHitTest(CPoint(500, 5), NULL), -1);

    b.MoveWindow(0, 0, 300, 20);
    DrawOwnerDrawn(b, 0);
    EXPECT_FALSE(b.HasTruncatedCaption());
    EXPECT_EQ(b.OnToolHitTest(CPoint(5, 5), NULL), -1);
    parent.DestroyWindow();
}

namespace {
// A parent whose click handler disables or hides the clicked button, as a
// dialog does with its "log in" button while the request runs.
class CActingParent : public CRecorderWnd
{
public:
    enum Action { Disable, Hide } action = Disable;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED && lParam) {
            if (action == Disable)
                ::EnableWindow((HWND)lParam, FALSE);
            else
                ::ShowWindow((HWND)lParam, SW_HIDE);
        }
        return CRecorderWnd::WindowProc(message, wParam, lParam);
    }
};
} // namespace

TEST(SkinButton, ClickThatDisablesOrHidesTheButtonLeavesNoCaptureBehind)
{
    for (CActingParent::Action action : {CActingParent::Disable, CActingParent::Hide}) {
        CActingParent parent;
        parent.action = action;
        ASSERT_TRUE(parent.CreateTop());
        parent.ShowWindow(SW_SHOW);
        CSkinButton b;
        b.SetBitmapStrip(StateStrip().c_str(), TRUE);
        MakeButton(parent, b, BS_PUSHBUTTON, CRect(10, 10, 70, 30), 1);

        CTestKit::SendMouse(b.GetSafeHwnd(), WM_MOUSEMOVE, POINT{5, 5});
        CTestKit::SendMouse(b.GetSafeHwnd(), WM_LBUTTONDOWN, POINT{5, 5}, MK_LBUTTON);
        CTestKit::SendMouse(b.GetSafeHwnd(), WM_LBUTTONUP, POINT{5, 5});
        EXPECT_EQ(parent.Count(WM_COMMAND, BN_CLICKED), 1) << "action " << action;
        EXPECT_NE(::GetCapture(), b.m_hWnd)
            << "action " << action << ": the mouse stays with the button";
        EXPECT_FALSE(b.IsHovering()) << "action " << action;
        ::ReleaseCapture();
        parent.DestroyWindow();
    }
}
