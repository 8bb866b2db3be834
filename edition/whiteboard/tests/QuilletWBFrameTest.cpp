// The whiteboard page of this edition: its tool table and style bytes, the
// lists it does not follow, and the capture button reaching the main window.
#include "CQuilletWBFrame.h"
#include "CTestKit.h"
#include "WbFrameMessages.h"
#include "WbFrameResource.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Stands in for the main window: keeps the commands that reach it.
class CCommandSink : public CWnd
{
public:
    std::vector<UINT> commands;

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM) override
    {
        commands.push_back(LOWORD(wParam));
        return TRUE;
    }
};

class QuilletWBFrame : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(top.CreateEx(0, AfxRegisterWndClass(0), "quillet board", WS_POPUP | WS_VISIBLE,
                                 0, 0, 900, 600, NULL, NULL));
        frame = new CQuilletWBFrame;
        if (!frame->CreateFrame(&top, 0, &frame->Host(), nullptr, nullptr)) {
            delete frame;
            frame = nullptr;
        }
        ASSERT_NE(frame, nullptr);
        frame->SetEditRight(TRUE);
        CTestKit::PumpPending();
    }
    void TearDown() override
    {
        top.DestroyWindow(); // the frame goes with its window
        CTestKit::PumpPending();
    }
    void Command(UINT id) { frame->SendMessage(WM_COMMAND, id, 0); }

    CCommandSink top;
    CQuilletWBFrame* frame = nullptr;
};

} // namespace

TEST_F(QuilletWBFrame, StartsWithZeroStylesAndTheDocumentsPaneHidden)
{
    WB_SETTINGS& s = frame->Settings();
    EXPECT_EQ(s.width, 0);
    EXPECT_EQ(s.style, 0);
    EXPECT_EQ(s.fill, 0);
    EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(frame->m_hWnd, IDC_WB_DOCS_GROUP)));
    EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(frame->m_hWnd, IDC_WB_DOCS_OPEN)));
}

TEST_F(QuilletWBFrame, CommandsChooseThisEditionsToolsAndStyles)
{
    struct Case
    {
        UINT id;
        int tool; // -1: the tool before
        int width, style;
    };
    const Case cases[] = {
        {IDC_WB_T_PENCIL, 4, 10, 0},
        {IDC_WB_T_PEN, 4, 4, 0},
        {ID_WB_LINE, 4, 4, 0},
        {IDC_WB_T_LINE, 4, 4, 2},
        {IDC_WB_T_POLY, 15, 6, 0},
        {IDC_WB_T_ICON, 15, 4, 0},
        {32804, 15, 4, 0},
        {ID_WB_ERASER, 1, 4, 0},
        {ID_WB_SELECT, 2, 4, 0},
        {32794, 3, 4, 0},
        {ID_WB_ARROW, 5, 2, 0},
        {ID_WB_RECT, 6, 4, 0},
        {ID_WB_RECTFILL, 7, 4, 0},
        {ID_WB_ROUNDRECT, 8, 4, 0},
        {ID_WB_ROUNDRECTFILL, 9, 4, 0},
        {ID_WB_ELLIPSE, 10, 4, 0},
        {ID_WB_ELLIPSEFILL, 11, 4, 0},
        {32802, 13, 4, 0},
        {ID_WB_PEN, 14, 4, 0},
        {ID_WB_TEXT, 12, 4, 0},
        // Commands that choose no tool keep it, but still set the first byte.
        {ID_WB_NEXT, -1, 4, 0},
        {ID_WB_DRAWING, -1, 4, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        WB_SETTINGS& s = frame->Settings();
        s.tool = 99;
        s.width = 0;
        s.style = 0;
        Command(c.id);
        EXPECT_EQ(s.tool, c.tool < 0 ? 99 : c.tool);
        EXPECT_EQ(s.width, c.width);
        EXPECT_EQ(s.style, c.style);
    }
}

TEST_F(QuilletWBFrame, ColourWidthAndStyleListsAreNotFollowed)
{
    WB_SETTINGS& s = frame->Settings();
    const COLORREF colour = s.color;
    frame->SendMessage(WM_WB_SET_COLOUR, RGB(1, 2, 3), 0);
    frame->SendMessage(WM_WB_SET_WIDTH, 7, 0);
    frame->SendMessage(WM_WB_SET_STYLE, 3, 0);
    frame->SendMessage(WM_WB_SET_FILL, 1, 0);
    EXPECT_EQ(s.color, colour);
    EXPECT_EQ(s.width, 0);
    EXPECT_EQ(s.style, 0);
    EXPECT_EQ(s.fill, 1);
}

TEST_F(QuilletWBFrame, CaptureButtonReachesTheMainWindowOnce)
{
    HWND button = ::GetDlgItem(frame->ToolPanel().m_hWnd, IDC_WB_T_CAPTURE);
    ASSERT_NE(button, nullptr);
    CTestKit::ClickButton(button);
    CTestKit::PumpPending();
    EXPECT_EQ(top.commands, std::vector<UINT>({IDC_WB_T_CAPTURE}));
}
