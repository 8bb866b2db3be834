#include <gtest/gtest.h>

#include "CSkinStatusBar.h"
#include "CTestKit.h"
#include "CTrueColorToolBar.h"
#include "SkinNames.h"
#include "SkinTestResource.h"

namespace {
class CBarFrame : public CFrameWnd
{
public:
    CTrueColorToolBar toolBar;
    CSkinStatusBar statusBar;
};

CBarFrame* OpenFrame()
{
    CBarFrame* frame = new CBarFrame;
    EXPECT_TRUE(frame->Create(NULL, "Bars", WS_OVERLAPPEDWINDOW, CRect(20, 20, 520, 320)));
    return frame;
}
} // namespace

TEST(TrueColorToolBar, ShortNamesOfCommandStrings)
{
    struct Case
    {
        const char* command;
        const char* name;
    };
    const Case cases[] = {{"Does alpha\nAlpha", "Alpha"},
                          {"Bravo whole", "Bravo whole"},
                          {"Prompt\n", ""},
                          {"", ""},
                          {"a\nb\nc", "b\nc"}};
    for (const Case& c : cases)
        EXPECT_STREQ(c.name, (LPCSTR)CTrueColorToolBar::ShortName(c.command)) << c.command;
}

TEST(TrueColorToolBar, ImagesOverTheTiledBackgroundAndButtonTexts)
{
    CBarFrame* frame = OpenFrame();
    ASSERT_TRUE(frame->toolBar.CreateEx(frame, TBSTYLE_FLAT | TBSTYLE_TRANSPARENT));
    ASSERT_TRUE(frame->toolBar.LoadTrueColorToolBar(IDR_SKIN_TOOLBAR, IDB_SKIN_TOOLBAR, TRUE));
    frame->ShowWindow(SW_SHOW);
    frame->RecalcLayout();
    CTestKit::PumpPending();

    HIMAGELIST list = (HIMAGELIST)frame->toolBar.SendMessage(TB_GETIMAGELIST);
    ASSERT_TRUE(list);
    EXPECT_EQ(3, ImageList_GetImageCount(list));
    EXPECT_EQ(CLR_NONE, ImageList_GetBkColor(list));

    // A string with a prompt and a short name gives the short name; a whole
    // string stays whole; a command without a string has no text.
    char text[64] = "";
    frame->toolBar.SendMessage(TB_GETBUTTONTEXTA, ID_SKIN_CMD_A, (LPARAM)text);
    EXPECT_STREQ("Alpha", text);
    text[0] = 0;
    frame->toolBar.SendMessage(TB_GETBUTTONTEXTA, ID_SKIN_CMD_B, (LPARAM)text);
    EXPECT_STREQ("Bravo whole", text);
    EXPECT_LE(frame->toolBar.SendMessage(TB_GETBUTTONTEXTA, ID_SKIN_CMD_C, 0), 0);

    // The mask colour never shows: the background comes through.
    CTestKit::Snapshot shot = CTestKit::Capture(frame->toolBar.GetSafeHwnd());
    ASSERT_GT(shot.width, 0);
    EXPECT_EQ(0, shot.Count(RGB(192, 192, 192)));
    EXPECT_GT(shot.Count(RGB(255, 0, 0)), 0);
    EXPECT_GT(shot.Count(RGB(0, 0, 255)), 0);
    frame->DestroyWindow();
}

TEST(TrueColorToolBar, MissingResourcesFail)
{
    CBarFrame* frame = OpenFrame();
    ASSERT_TRUE(frame->toolBar.CreateEx(frame));
    EXPECT_FALSE(frame->toolBar.LoadTrueColorToolBar(9999, IDB_SKIN_TOOLBAR, TRUE));
    EXPECT_FALSE(frame->toolBar.LoadTrueColorToolBar(IDR_SKIN_TOOLBAR, 9998, TRUE));
    frame->DestroyWindow();
}

TEST(SkinStatusBar, LabelAndValueInTheirColours)
{
    CString label, value;
    CSkinStatusBar::SplitText("Net: fine: really", label, value);
    EXPECT_STREQ("Net:", (LPCSTR)label);
    EXPECT_STREQ(" fine: really", (LPCSTR)value);
    CSkinStatusBar::SplitText("Plain", label, value);
    EXPECT_STREQ("Plain", (LPCSTR)label);
    EXPECT_TRUE(value.IsEmpty());

    CBarFrame* frame = OpenFrame();
    static const UINT panes[] = {ID_SKIN_CMD_A, ID_SKIN_CMD_B};
    ASSERT_TRUE(frame->statusBar.Create(frame));
    ASSERT_TRUE(frame->statusBar.SetIndicators(panes, 2));
    frame->statusBar.SetPaneInfo(0, ID_SKIN_CMD_A, SBPS_NORMAL, 200);
    frame->statusBar.SetPaneInfo(1, ID_SKIN_CMD_B, SBPS_STRETCH, 100);
    frame->statusBar.Background().LoadFromFile(SKIN_DBSTATUS_BAR_BKGND, 10, 20, TRUE);
    const COLORREF labelColour = RGB(200, 0, 0), valueColour = RGB(0, 0, 200);
    frame->statusBar.SetColours(labelColour, valueColour);
    frame->statusBar.SetPaneText(0, "WWWW:MMMM");
    frame->statusBar.SetPaneText(1, "MMMMMMMM");
    frame->ShowWindow(SW_SHOW);
    frame->RecalcLayout();
    CTestKit::Snapshot shot = CTestKit::Capture(frame->statusBar.GetSafeHwnd());
    ASSERT_GT(shot.width, 0);
    CRect first, second;
    frame->statusBar.GetItemRect(0, &first);
    frame->statusBar.GetItemRect(1, &second);
    // In the first pane the label colour comes first, the value colour after it.
    int lastLabel = -1, firstValue = -1, secondPaneValue = 0;
    for (int y = 0; y < shot.height; ++y)
        for (int x = 0; x < shot.width; ++x) {
            COLORREF c = shot.At(x, y);
            if (x < first.right && c == labelColour)
                lastLabel = std::max(lastLabel, x);
            if (x < first.right && c == valueColour && (firstValue < 0 || x < firstValue))
                firstValue = x;
            if (x >= second.left && c == valueColour)
                ++secondPaneValue;
        }
    EXPECT_GE(lastLabel, 0);
    EXPECT_GT(firstValue, lastLabel);
    EXPECT_EQ(0, secondPaneValue); // a text without a colon is all label
    frame->DestroyWindow();
}
