#include <gtest/gtest.h>

#include "CColorPaletteButton.h"
#include "CColorPaletteWnd.h"
#include "CColourPickerXP.h"
#include "CColourPopupXP.h"
#include "CTestKit.h"
#include "ControlTestKit.h"

using namespace controltest;

namespace {
const COLORREF kRed = RGB(255, 0, 0); // cell 16

struct PickerFixture
{
    CRecorderWnd parent;
    CColourPickerXP picker;
    bool Make()
    {
        for (UINT m = WM_COLOURPICKER_CHANGED; m <= WM_COLOURPICKER_CANCELLED; ++m)
            parent.watched.push_back(m);
        if (!parent.CreateTop())
            return false;
        parent.ShowWindow(SW_SHOWNOACTIVATE);
        return picker.Create("", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, CRect(10, 10, 60, 32),
                             &parent, 80) != FALSE;
    }
    ~PickerFixture()
    {
        ::ReleaseCapture();
        CTestKit::PumpPending();
        if (parent.m_hWnd)
            parent.DestroyWindow();
    }
    CColourPopupXP* Open()
    {
        picker.OpenPopup();
        HWND h = CTestKit::FindThreadWindow(CColourPopupXP::CLASS_NAME, NULL);
        return h ? dynamic_cast<CColourPopupXP*>(CWnd::FromHandlePermanent(h)) : NULL;
    }
    // The picker messages the parent received, in order, with their colours.
    std::vector<std::pair<UINT, COLORREF>> Messages() const
    {
        std::vector<std::pair<UINT, COLORREF>> out;
        for (const Sent& s : parent.sent)
            if (s.message >= WM_COLOURPICKER_CHANGED && s.message <= WM_COLOURPICKER_CANCELLED) {
                EXPECT_EQ(s.lParam, 80);
                out.push_back({s.message, (COLORREF)s.wParam});
            }
        return out;
    }
    static void Key(CWnd* popup, UINT vk) { popup->SendMessage(WM_KEYDOWN, vk, 0); }
};
typedef std::vector<std::pair<UINT, COLORREF>> Msgs;
} // namespace

TEST(ColourPickerXP, AutomaticColourResolvesToTheDefault)
{
    CColourPickerXP picker;
    EXPECT_EQ(picker.GetColour(), (COLORREF)CLR_DEFAULT);
    EXPECT_EQ(picker.GetColour(TRUE), ::GetSysColor(COLOR_APPWORKSPACE));
    picker.SetDefaultColour(RGB(1, 2, 3));
    EXPECT_EQ(picker.GetColour(TRUE), RGB(1, 2, 3));
    picker.SetCaptionText("A");
    picker.SetColour(kRed);
    EXPECT_EQ(picker.GetColour(TRUE), kRed);
}

TEST(ColourPickerXP, AcceptingTheSameColourReportsNoChange)
{
    PickerFixture f;
    ASSERT_TRUE(f.Make());
    f.picker.SetColour(kRed);
    CColourPopupXP* popup = f.Open();
    ASSERT_NE(popup, nullptr);
    EXPECT_TRUE(f.picker.IsPopupActive());
    EXPECT_EQ(popup->GetCurrentCell(), 16) << "the cell of the current colour";
    EXPECT_EQ(::GetCapture(), popup->m_hWnd);
    PickerFixture::Key(popup, VK_RETURN);
    EXPECT_EQ(f.Messages(), (Msgs{{WM_COLOURPICKER_OPENED, kRed},
                                  {WM_COLOURPICKER_CLOSED, kRed},
                                  {WM_COLOURPICKER_ACCEPTED, kRed}}));
    EXPECT_FALSE(f.picker.IsPopupActive());
    EXPECT_EQ(CTestKit::FindThreadWindow(CColourPopupXP::CLASS_NAME, NULL), nullptr);
}

TEST(ColourPickerXP, EscapeRestoresTheInitialColourAfterTracking)
{
    PickerFixture f;
    ASSERT_TRUE(f.Make());
    f.picker.SetColour(kRed);
    f.picker.SetTrackSelection(TRUE);
    CColourPopupXP* popup = f.Open();
    ASSERT_NE(popup, nullptr);
    PickerFixture::Key(popup, VK_RIGHT);
    PickerFixture::Key(popup, VK_RIGHT);
    const COLORREF lime = CColourPopupXP::m_crColours[18].crColour;
    EXPECT_EQ(f.picker.GetColour(), lime) << "tracking shows the colour under the selection";
    PickerFixture::Key(popup, VK_ESCAPE);
    EXPECT_EQ(f.picker.GetColour(), kRed);
    Msgs m = f.Messages();
    ASSERT_EQ(m.size(), 6u);
    EXPECT_EQ(m[1], std::make_pair((UINT)WM_COLOURPICKER_CHANGED,
                                   CColourPopupXP::m_crColours[17].crColour));
    EXPECT_EQ(m[2], std::make_pair((UINT)WM_COLOURPICKER_CHANGED, lime));
    EXPECT_EQ(m[3], std::make_pair((UINT)WM_COLOURPICKER_CHANGED, kRed))
        << "the owner gets its colour back";
    EXPECT_EQ(m[4], std::make_pair((UINT)WM_COLOURPICKER_CLOSED, kRed));
    EXPECT_EQ(m[5], std::make_pair((UINT)WM_COLOURPICKER_CANCELLED, kRed));
}

TEST(ColourPickerXP, CancelAfterHoveringGivesTheOwnerItsColourBack)
{
    // Without tracking the picker keeps its colour, but every hovered colour
    // still reaches the owner; cancelling must put the owner back on the
    // colour it had.
    const COLORREF blue = RGB(0, 0, 255); // cell 13
    PickerFixture f;
    ASSERT_TRUE(f.Make());
    f.picker.SetColour(kRed);
    CColourPopupXP* popup = f.Open();
    ASSERT_NE(popup, nullptr);
    CPoint cell = popup->GetCellRect(13).CenterPoint();
    CTestKit::SendMouse(popup->GetSafeHwnd(), WM_MOUSEMOVE, POINT{cell.x, cell.y});
    EXPECT_EQ(f.Messages().back(), std::make_pair((UINT)WM_COLOURPICKER_CHANGED, blue))
        << "hover is forwarded";
    EXPECT_EQ(f.picker.GetColour(), kRed);
    PickerFixture::Key(popup, VK_ESCAPE);
    EXPECT_EQ(f.Messages(), (Msgs{{WM_COLOURPICKER_OPENED, kRed},
                                  {WM_COLOURPICKER_CHANGED, blue},
                                  {WM_COLOURPICKER_CHANGED, kRed},
                                  {WM_COLOURPICKER_CLOSED, kRed},
                                  {WM_COLOURPICKER_CANCELLED, kRed}}));
    EXPECT_EQ(f.picker.GetColour(), kRed);

    // A cancel without any hover sends no change.
    f.parent.Clear();
    popup = f.Open();
    ASSERT_NE(popup, nullptr);
    PickerFixture::Key(popup, VK_ESCAPE);
    EXPECT_EQ(f.Messages(), (Msgs{{WM_COLOURPICKER_OPENED, kRed},
                                  {WM_COLOURPICKER_CLOSED, kRed},
                                  {WM_COLOURPICKER_CANCELLED, kRed}}));
}

TEST(ColourPickerXP, ArrowKeysWrapIntoTheTextBoxesThatExist)
{
    struct Case
    {
        const char* defaultText;
        const char* customText;
        UINT key;
        int expect;
    } cases[] = {
        {"Automatic", "More Colors...", VK_UP, CColourPopupXP::DEFAULT_BOX_VALUE},
        {"", "More Colors...", VK_UP, CColourPopupXP::CUSTOM_BOX_VALUE},
        {"", "", VK_UP, 39},
        {"", "", VK_LEFT, 39},
        {"Automatic", "", VK_LEFT, CColourPopupXP::DEFAULT_BOX_VALUE},
        {"Automatic", "More Colors...", VK_DOWN, 8},
    };
    for (const Case& c : cases) {
        PickerFixture f;
        ASSERT_TRUE(f.Make());
        f.picker.SetDefaultText(c.defaultText);
        f.picker.SetCustomText(c.customText);
        f.picker.SetColour(RGB(0, 0, 0)); // cell 0
        CColourPopupXP* popup = f.Open();
        ASSERT_NE(popup, nullptr);
        ASSERT_EQ(popup->GetCurrentCell(), 0);
        PickerFixture::Key(popup, c.key);
        EXPECT_EQ(popup->GetCurrentCell(), c.expect)
            << c.defaultText << "|" << c.customText << " key " << c.key;
        PickerFixture::Key(popup, VK_ESCAPE);
    }
}

TEST(ColourPickerXP, ReleaseOnABoxAcceptsItAndOutsideCancels)
{
    PickerFixture f;
    ASSERT_TRUE(f.Make());
    CColourPopupXP* popup = f.Open();
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(popup->GetCurrentCell(), CColourPopupXP::DEFAULT_BOX_VALUE)
        << "automatic opens on its box";
    CPoint blue = popup->GetCellRect(13).CenterPoint();
    CTestKit::SendMouse(popup->GetSafeHwnd(), WM_MOUSEMOVE, POINT{blue.x, blue.y});
    CTestKit::SendMouse(popup->GetSafeHwnd(), WM_LBUTTONUP, POINT{blue.x, blue.y});
    EXPECT_EQ(f.picker.GetColour(), RGB(0, 0, 255));
    Msgs m = f.Messages();
    ASSERT_FALSE(m.empty());
    EXPECT_EQ(m.back(), std::make_pair((UINT)WM_COLOURPICKER_CHANGED, RGB(0, 0, 255)));

    f.parent.Clear();
    popup = f.Open();
    ASSERT_NE(popup, nullptr);
    CTestKit::SendMouse(popup->GetSafeHwnd(), WM_LBUTTONUP, POINT{-50, -50});
    EXPECT_EQ(f.Messages().back(), std::make_pair((UINT)WM_COLOURPICKER_CANCELLED, RGB(0, 0, 255)));
}

TEST(ColorPaletteButton, CellsLieBetweenTheGridLines)
{
    struct Case
    {
        int x, y, cell;
    } cases[] = {{20, 15, -1}, {25, 15, 21}, {5, 5, 0}, {25, 10, -1}, {189, 119, 18 + 19 * 11},
                 {195, 5, -1}};
    for (const Case& c : cases)
        EXPECT_EQ(CColorPaletteWnd::CellFromPoint(CPoint(c.x, c.y)), c.cell) << c.x << "," << c.y;
    EXPECT_EQ(CColorPaletteWnd::CellColour(0), RGB(255, 255, 255));
    EXPECT_EQ(CColorPaletteWnd::CellColour(19 * 11), RGB(0, 0, 0));
    EXPECT_EQ(CColorPaletteWnd::CellColour(1), RGB(0, 0, 0));
    EXPECT_EQ(CColorPaletteWnd::CellColour(18 + 19 * 11), RGB(255, 255, 255));
}

TEST(ColorPaletteButton, PressDragAndReleasePicksTheCellAndTellsTheBuddy)
{
    CRecorderWnd parent;
    ASSERT_TRUE(parent.CreateTop());
    parent.ShowWindow(SW_SHOWNOACTIVATE);
    CColorPaletteButton button;
    ASSERT_TRUE(button.Create("", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, CRect(10, 10, 30, 30),
                              &parent, 81));
    CWnd buddy;
    ASSERT_TRUE(
        buddy.Create("STATIC", "", WS_CHILD | WS_VISIBLE, CRect(40, 10, 140, 30), &parent, 82));
    button.SetBuddy(&buddy);

    button.SetColor(RGB(153, 102, 51));
    CString text;
    buddy.GetWindowText(text);
    EXPECT_STREQ(text, "#996633");
    EXPECT_TRUE(CTestKit::PumpUntil([&] { return parent.Count(WM_COMMAND) > 0; }, 1000));

    CTestKit::SendMouse(button.GetSafeHwnd(), WM_LBUTTONDOWN, POINT{5, 5}, MK_LBUTTON);
    ASSERT_TRUE(button.IsPaletteOpen());
    HWND hPalette = CTestKit::FindThreadWindow(CColorPaletteWnd::CLASS_NAME, "Palatte");
    ASSERT_EQ(hPalette, button.GetPaletteWindow());
    CColorPaletteWnd* palette =
        dynamic_cast<CColorPaletteWnd*>(CWnd::FromHandlePermanent(hPalette));
    ASSERT_NE(palette, nullptr);
    EXPECT_EQ(palette->GetCurrentColour(), RGB(153, 102, 51));
    CTestKit::SendMouse(palette->GetSafeHwnd(), WM_MOUSEMOVE, POINT{25, 15}, MK_LBUTTON);
    EXPECT_EQ(palette->GetHoverCell(), 21);
    CTestKit::SendMouse(palette->GetSafeHwnd(), WM_LBUTTONUP, POINT{25, 15});
    EXPECT_TRUE(CTestKit::PumpUntil([&] { return !button.IsPaletteOpen(); }, 1000));
    EXPECT_EQ(button.GetColor(), CColorPaletteWnd::CellColour(21));
    buddy.GetWindowText(text);
    CString want;
    COLORREF c = CColorPaletteWnd::CellColour(21);
    want.Format("#%02X%02X%02X", GetRValue(c), GetGValue(c), GetBValue(c));
    EXPECT_STREQ(text, want);
    EXPECT_FALSE(::IsWindow(hPalette));
    parent.DestroyWindow();
}

TEST(ColourPickerXP, CustomBoxOpensTheColourDialogAndItsCancelCancels)
{
    PickerFixture f;
    ASSERT_TRUE(f.Make());
    f.picker.SetDefaultText("");
    f.picker.SetColour(RGB(0, 0, 0));
    CColourPopupXP* popup = f.Open();
    ASSERT_NE(popup, nullptr);
    PickerFixture::Key(popup, VK_UP);
    ASSERT_EQ(popup->GetCurrentCell(), CColourPopupXP::CUSTOM_BOX_VALUE);
    {
        CTestKit::AutoCloseDialogs closer(200);
        PickerFixture::Key(popup, VK_RETURN);
        EXPECT_EQ(closer.Closed(), 1) << "the system colour dialog was shown";
    }
    EXPECT_EQ(f.Messages().back(), std::make_pair((UINT)WM_COLOURPICKER_CANCELLED, RGB(0, 0, 0)));
    EXPECT_EQ(f.picker.GetColour(), RGB(0, 0, 0));
}

TEST(ColorPaletteButton, MoreColoursClosesThePaletteForTheSystemDialog)
{
    CRecorderWnd parent;
    ASSERT_TRUE(parent.CreateTop());
    parent.ShowWindow(SW_SHOWNOACTIVATE);
    CColorPaletteButton button;
    ASSERT_TRUE(button.Create("", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, CRect(10, 10, 30, 30),
                              &parent, 81));
    button.SetColor(RGB(10, 20, 30));
    CTestKit::SendMouse(button.GetSafeHwnd(), WM_LBUTTONDOWN, POINT{5, 5}, MK_LBUTTON);
    ASSERT_TRUE(button.IsPaletteOpen());
    CWnd* palette = CWnd::FromHandlePermanent(button.GetPaletteWindow());
    ASSERT_NE(palette, nullptr);
    {
        CTestKit::AutoCloseDialogs closer(200);
        CTestKit::SendMouse(palette->GetSafeHwnd(), WM_LBUTTONUP,
                            POINT{170, 130}); // on the small button
        EXPECT_TRUE(CTestKit::PumpUntil([&] { return closer.Closed() > 0; }, 2000));
    }
    EXPECT_FALSE(button.IsPaletteOpen());
    EXPECT_EQ(button.GetColor(), RGB(10, 20, 30)) << "the cancelled dialog changes nothing";
    parent.DestroyWindow();
}
