#include <gtest/gtest.h>

#include "BCMenu.h"
#include "CIconButton.h"
#include "CMemoryDC.h"
#include "CSkinPushButton.h"
#include "CTestKit.h"
#include "ControlTestKit.h"

using namespace controltest;

namespace {
const COLORREF kWhite = RGB(255, 255, 255), kInk = RGB(200, 100, 40), kBack = RGB(20, 30, 250);

// An 8 x 8 image: the left half the transparent white, the right half ink.
HBITMAP HalfInk()
{
    HDC screen = ::GetDC(NULL);
    HBITMAP bmp = ::CreateCompatibleBitmap(screen, 8, 8);
    HDC mem = ::CreateCompatibleDC(screen);
    HGDIOBJ old = ::SelectObject(mem, bmp);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            ::SetPixel(mem, x, y, x < 4 ? kWhite : kInk);
    ::SelectObject(mem, old);
    ::DeleteDC(mem);
    ::ReleaseDC(NULL, screen);
    return bmp;
}

class CTestIconButton : public CIconButton
{
public:
    DWORD SetImages(UINT outRequest)
    {
        return SetBitmapHandles(HalfInk(), kWhite, NULL, outRequest, 0);
    }
};

struct IconFixture
{
    CRecorderWnd parent;
    CTestIconButton button;
    bool Make(DWORD style, int cx = 40, int cy = 20)
    {
        if (!parent.CreateTop())
            return false;
        parent.ShowWindow(SW_SHOWNOACTIVATE);
        HWND h = ::CreateWindowA("BUTTON", "", WS_CHILD | WS_VISIBLE | style, 10, 10, cx, cy,
                                 parent.m_hWnd, (HMENU)7, NULL, NULL);
        if (!h || !button.SubclassWindow(h))
            return false;
        for (BYTE i : {CIconButton::BTNST_COLOR_BK_IN, CIconButton::BTNST_COLOR_BK_OUT,
                       CIconButton::BTNST_COLOR_BK_FOCUS})
            button.SetStateColor(i, kBack, FALSE);
        return true;
    }
    ~IconFixture()
    {
        if (parent.m_hWnd)
            parent.DestroyWindow();
    }
};
} // namespace

TEST(IconButton, GeneratedNormalImagesAreShadedCopiesDrawnTransparently)
{
    struct Case
    {
        UINT request;
        COLORREF ink;
    } cases[] = {
        {CIconButton::BTNST_AUTO_DARKER, RGB(150, 75, 30)}, // c - c * 0.25, truncated
        {CIconButton::BTNST_AUTO_GRAY, RGB(123, 123, 123)}, // 0.299 R + 0.587 G + 0.114 B
        {0, kInk},                                          // no normal image: the active one
    };
    for (const Case& c : cases) {
        IconFixture f;
        ASSERT_TRUE(f.Make(BS_PUSHBUTTON));
        ASSERT_EQ(f.button.SetImages(c.request), 0u);
        Pixels p = DrawOwnerDrawn(f.button, 0);
        EXPECT_EQ(p.At(6, 3), c.ink) << c.request;
        EXPECT_EQ(p.At(1, 3), kBack) << "the transparent colour shows the background";
        EXPECT_EQ(f.button.GetLastImage(), c.request ? 1 : 0);
    }
}

TEST(IconButton, PressedOffsetAppliesToPushButtonsOnly)
{
    IconFixture push, check;
    ASSERT_TRUE(push.Make(BS_PUSHBUTTON));
    ASSERT_TRUE(check.Make(BS_AUTOCHECKBOX));
    ASSERT_TRUE(check.button.IsCheckBox());
    for (IconFixture* f : {&push, &check}) {
        f->button.SetImages(CIconButton::BTNST_AUTO_DARKER);
        EXPECT_EQ(f->button.SetPressedOffset(0), 0u);
    }
    DrawOwnerDrawn(push.button, ODS_SELECTED);
    EXPECT_EQ(push.button.GetLastImagePos(), CPoint(1, 1));
    EXPECT_EQ(push.button.GetLastImage(), 0) << "pressed shows the active image";

    check.button.SendMessage(BM_SETCHECK, 1);
    EXPECT_EQ(check.button.SendMessage(BM_GETCHECK), 1);
    DrawOwnerDrawn(check.button, 0);
    EXPECT_EQ(check.button.GetLastImagePos(), CPoint(0, 0)) << "checked: active image, no offset";
    EXPECT_EQ(check.button.GetLastImage(), 0);
    check.button.SendMessage(BM_SETCHECK, 7);
    EXPECT_EQ(check.button.SendMessage(BM_GETCHECK), 0);
    push.button.SendMessage(BM_SETCHECK, 1);
    EXPECT_EQ(push.button.SendMessage(BM_GETCHECK), 0) << "push buttons have no check state";
}

TEST(IconButton, ImageOnTheLeftIsCentredVertically)
{
    IconFixture f;
    ASSERT_TRUE(f.Make(BS_PUSHBUTTON, 60, 20));
    f.button.SetImages(0);
    EXPECT_EQ(f.button.SetImageLayout(CIconButton::IMAGE_LEFT), 0u);
    EXPECT_EQ(f.button.SetImageLayout(9), (DWORD)CIconButton::BTNST_BADPARAM);
    Pixels p = DrawOwnerDrawn(f.button, 0);
    EXPECT_EQ(f.button.GetLastImagePos(), CPoint(0, 6));
    EXPECT_EQ(p.At(6, 6), kInk);
    EXPECT_EQ(p.At(6, 2), kBack);
    f.button.SizeToImage();
    CRect rc;
    f.button.GetWindowRect(&rc);
    EXPECT_EQ(rc.Size(), CSize(8, 8));
}

TEST(IconButton, SettersRejectBadArgumentsAndColoursResetWithTheSystem)
{
    IconFixture f;
    ASSERT_TRUE(f.Make(BS_PUSHBUTTON));
    EXPECT_EQ(f.button.SetStateColor(6, RGB(1, 1, 1)), (DWORD)CIconButton::BTNST_INVALIDINDEX);
    EXPECT_EQ(f.button.SetPressedOffset(3), (DWORD)CIconButton::BTNST_BADPARAM);
    EXPECT_EQ(f.button.SetButtonCursor(0), 0u);
    EXPECT_EQ(f.button.SetButtonCursor(31999), (DWORD)CIconButton::BTNST_INVALIDRESOURCE);
    EXPECT_EQ(f.button.SetBitmaps(31998, kWhite), 0u) << "a missing resource leaves no image";
    EXPECT_FALSE(f.button.HasImage());
    EXPECT_EQ(f.button.GetStateColor(2), kBack);
    f.button.SendMessage(WM_SYSCOLORCHANGE);
    EXPECT_EQ(f.button.GetStateColor(2), ::GetSysColor(COLOR_BTNFACE));
}

TEST(IconButton, MouseOverStartsOnlyWithoutAHeldButton)
{
    IconFixture f;
    ASSERT_TRUE(f.Make(BS_PUSHBUTTON));
    // The button must be the window under the point: keep other test
    // programs' windows from covering it.
    ::SetWindowPos(f.parent.m_hWnd, HWND_TOPMOST, 880, 660, 200, 100,
                   SWP_NOACTIVATE | SWP_SHOWWINDOW);
    CTestKit::SendMouse(f.button.GetSafeHwnd(), WM_MOUSEMOVE, POINT{5, 5}, MK_LBUTTON);
    EXPECT_FALSE(f.button.IsMouseOver());
    CTestKit::SendMouse(f.button.GetSafeHwnd(), WM_MOUSEMOVE, POINT{5, 5});
    EXPECT_TRUE(f.button.IsMouseOver());
    CTestKit::MoveCursor(f.button.GetSafeHwnd(), POINT{-20, -20});
    f.button.SendMessage(WM_MOUSELEAVE);
    EXPECT_FALSE(f.button.IsMouseOver());
    CTestKit::SendMouse(f.button.GetSafeHwnd(), WM_MOUSEMOVE, POINT{5, 5});
    f.button.SendMessage(WM_CANCELMODE);
    EXPECT_FALSE(f.button.IsMouseOver());
}

TEST(SkinPushButton, WithoutImagesItTakesNoRoomAndTracksTheMouse)
{
    CRecorderWnd parent;
    ASSERT_TRUE(parent.CreateTop());
    HWND h = ::CreateWindowA("BUTTON", "left pane", WS_CHILD | WS_VISIBLE, 0, 0, 80, 24,
                             parent.m_hWnd, (HMENU)2047, NULL, NULL);
    CSkinPushButton b;
    ASSERT_TRUE(b.SubclassWindow(h));
    CRect rc;
    b.GetWindowRect(&rc);
    EXPECT_TRUE(rc.IsRectEmpty());
    b.MoveWindow(0, 0, 80, 24);
    CTestKit::SendMouse(b.GetSafeHwnd(), WM_MOUSEMOVE, POINT{3, 3});
    EXPECT_TRUE(b.IsMouseOver());
    b.ShowWindow(SW_HIDE);
    EXPECT_FALSE(b.IsMouseOver());
    EXPECT_NE(::GetCapture(), b.m_hWnd);
    parent.DestroyWindow();
}

TEST(IconButton, OwnerDrawnMenusAnswerTheirOwnShortcuts)
{
    IconFixture f;
    ASSERT_TRUE(f.Make(BS_PUSHBUTTON));
    BCMenu menu, sub;
    ASSERT_TRUE(sub.AppendODMenu("&Open", MF_OWNERDRAW, 501));
    ASSERT_TRUE(sub.AppendODMenu("&Close", MF_OWNERDRAW, 502));
    ASSERT_TRUE(menu.AppendODMenu("&File", MF_OWNERDRAW | MF_POPUP, (UINT)(UINT_PTR)sub.m_hMenu));
    ASSERT_TRUE(BCMenu::IsMenu(sub.m_hMenu));
    LRESULT r = f.button.SendMessage(WM_MENUCHAR, MAKEWPARAM('c', MF_POPUP), (LPARAM)sub.m_hMenu);
    EXPECT_EQ(r, MAKELRESULT(1, MNC_EXECUTE));
    HMENU plain = ::CreatePopupMenu();
    EXPECT_EQ(f.button.SendMessage(WM_MENUCHAR, MAKEWPARAM('c', MF_POPUP), (LPARAM)plain), 0)
        << "other menus: default";
    ::DestroyMenu(plain);
}
