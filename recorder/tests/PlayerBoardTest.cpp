// The player's whiteboard against real windows: recorded runs open
// documents, add and remove drawing objects, turn pages and zoom, and what
// the page view shows is read back from its pixels.
#include <gtest/gtest.h>

#include "afxwin.h"

#include <vector>

#include "CPlayerBoardFrame.h"
#include "CPlayerBoardView.h"
#include "CPlayerBoardViewMan.h"
#include "CTestKit.h"
#include "IBoardBackgrounds.h"
#include "BoardRuns.h"

namespace {

using namespace board_runs;
using Bytes = BoardBytes;

class FakeBackgrounds : public caskel::IBoardBackgrounds
{
public:
    bool ReadBackground(uint32_t viewId, uint32_t page, std::vector<uint8_t>* bytes) override
    {
        asked.push_back({viewId, page});
        if (page != pictured)
            return false;
        *bytes = SolidBitmap(kBlue);
        return true;
    }
    uint32_t pictured = 1;
    std::vector<std::pair<uint32_t, uint32_t>> asked;
};

class PlayerBoard : public ::testing::Test
{
protected:
    void SetUp() override
    {
        LPCSTR cls = AfxRegisterWndClass(0, ::LoadCursor(NULL, IDC_ARROW));
        ASSERT_TRUE(owner.CreateEx(0, cls, "board test", WS_POPUP | WS_CLIPCHILDREN, 0, 0, 420, 320,
                                   NULL, NULL));
        owner.ShowWindow(SW_SHOWNOACTIVATE);
        board = new caskel::CWBFrame;
        ASSERT_TRUE(board->CreateBoard(&owner, 7));
        board->MoveWindow(0, 0, 400, 300);
        board->SetBackgrounds(&backgrounds);
    }
    void TearDown() override
    {
        if (owner.m_hWnd)
            owner.DestroyWindow();
    }
    size_t Play(const Bytes& run) { return board->OnBoardData(run.data(), run.size()); }
    // The active page view as it shows now.
    CTestKit::Snapshot Shot()
    {
        caskel::CWBView* view = board->GetViewManager()->GetActiveView();
        EXPECT_NE(nullptr, view);
        if (!view)
            return {};
        view->RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        return CTestKit::Capture(view->m_hWnd);
    }

    CWnd owner;
    caskel::CWBFrame* board = nullptr;
    FakeBackgrounds backgrounds;
};

TEST_F(PlayerBoard, ObjectsAreDrawnOnTheirPageAndRemovedOnesGo)
{
    backgrounds.pictured = 99;
    ASSERT_GT(Play(Joined({Open(7, 200, 150, 2, "doc"), AddBox(7, 0, 1, {10, 10, 60, 40})})), 0u);
    CTestKit::Snapshot shot = Shot();
    EXPECT_EQ(kRed, shot.At(30, 20));
    EXPECT_EQ(kWhite, shot.At(100, 100)) << "the page without a background is white";
    EXPECT_EQ(kGrey, shot.At(300, 200)) << "outside the page";

    // An object for the other page adds without showing here.
    Play(AddBox(7, 1, 2, {100, 80, 150, 120}));
    ASSERT_EQ(1u, board->Documents().size());
    EXPECT_EQ((std::vector<int>{1, 1}), board->Documents()[0].objects);
    EXPECT_EQ(kWhite, Shot().At(120, 100));

    Play(Remove(7, 0, 1));
    EXPECT_EQ(kWhite, Shot().At(30, 20));
    EXPECT_EQ((std::vector<int>{0, 1}), board->Documents()[0].objects);

    Play(Page(7, 1));
    shot = Shot();
    EXPECT_EQ(1, board->Documents()[0].currentPage);
    EXPECT_EQ(kRed, shot.At(120, 100));
    EXPECT_EQ(kWhite, shot.At(30, 20));
}

TEST_F(PlayerBoard, ZoomRescalesEveryViewAndItsDrawing)
{
    backgrounds.pictured = 99;
    Play(Joined({Open(7, 200, 150, 1, "a"), AddBox(7, 0, 1, {40, 40, 100, 80})}));
    caskel::CWBView* view = board->GetViewManager()->FindView(7);
    ASSERT_NE(nullptr, view);
    EXPECT_EQ(200, view->GetTotalSize().cx);

    Play(Zoom(50));
    EXPECT_EQ(50, board->Zoom());
    EXPECT_EQ(100, view->GetTotalSize().cx);
    EXPECT_EQ(75, view->GetTotalSize().cy);
    CTestKit::Snapshot shot = Shot();
    EXPECT_EQ(kRed, shot.At(35, 30));
    EXPECT_EQ(kWhite, shot.At(60, 60)) << "inside the box only before the zoom";
    EXPECT_EQ(kGrey, shot.At(150, 100)) << "outside the halved page";
    CRect client = view->DocToClient(CRect(40, 40, 100, 80));
    EXPECT_EQ(CRect(20, 20, 50, 40), client);

    // A base other than 100 or a zoom outside 25..400 changes nothing.
    for (const Bytes& z : {Zoom(20), Zoom(500), Zoom(200, 50)})
        Play(z);
    EXPECT_EQ(50, board->Zoom());
    EXPECT_EQ(100, view->GetTotalSize().cx);
}

TEST_F(PlayerBoard, PageBackgroundsComeFromTheRecording)
{
    backgrounds.pictured = 1;
    Play(Joined({Open(9, 200, 150, 2, "pictures"), Page(9, 1)}));
    CTestKit::Snapshot shot = Shot();
    EXPECT_EQ(kBlue, shot.At(100, 70)) << "the recorded picture fills the page";
    EXPECT_EQ(kGrey, shot.At(300, 200));
    ASSERT_FALSE(backgrounds.asked.empty());
    EXPECT_EQ(9u, backgrounds.asked.back().first);
    EXPECT_EQ(1u, backgrounds.asked.back().second);

    // A page whose picture the recording lacks stays white.
    Play(Page(9, 0));
    EXPECT_EQ(kWhite, Shot().At(100, 70));
}

TEST_F(PlayerBoard, RunsStopWhereTheirRecordsEndOrAreNotTheBoards)
{
    const Bytes open = Open(7, 200, 150, 2, "doc");
    const Bytes add = AddBox(7, 0, 1, {10, 10, 60, 40});
    Bytes cut = add;
    cut.resize(cut.size() - 3);
    struct Case
    {
        const char* what;
        Bytes run;
        size_t used;
        int objects;
    } cases[] = {
        {"whole run", Joined({open, add}), open.size() + add.size(), 1},
        {"the end record stops the walk", Joined({open, {7}, add}), open.size(), 0},
        {"an unknown kind stops the walk", Joined({open, {9, 0, 0, 0, 0}, add}), open.size(), 0},
        {"a cut record stops the walk", Joined({open, cut}), open.size(), 0},
        {"a change for a document not open is passed over",
         Joined({open, AddBox(8, 0, 1, {0, 0, 5, 5}), add}), open.size() + 2 * add.size(), 1},
        {"a page outside the document changes nothing", Joined({open, Page(7, 2), add}),
         open.size() + 6 + add.size(), 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        board->CloseAll();
        EXPECT_EQ(c.used, Play(c.run));
        ASSERT_EQ(1u, board->Documents().size());
        EXPECT_EQ(0, board->Documents()[0].currentPage);
        EXPECT_EQ(c.objects, board->Documents()[0].objects[0]);
    }
}

TEST_F(PlayerBoard, DocumentsOpenActivateCloseAndClearRebuildsFromTheStart)
{
    const Bytes stream = Joined({Open(1, 200, 150, 1, "one"), AddBox(1, 0, 1, {10, 10, 60, 40}),
                                 Open(2, 300, 200, 3, "two")});
    Play(stream);
    caskel::CWBViewManView* manager = board->GetViewManager();
    ASSERT_EQ(2, manager->GetViewCount());
    EXPECT_EQ(2u, board->ActiveView());
    caskel::CWBView* one = manager->FindView(1);
    caskel::CWBView* two = manager->FindView(2);
    EXPECT_FALSE(one->IsWindowVisible());
    EXPECT_TRUE(two->IsWindowVisible());
    CRect fill, inside;
    manager->GetClientRect(&inside);
    two->GetClientRect(&fill);
    EXPECT_EQ(inside.Width(),
              fill.Width() +
                  ((two->GetStyle() & WS_VSCROLL) ? ::GetSystemMetrics(SM_CXVSCROLL) : 0));

    Bytes activate{4};
    Put32(activate, 1);
    Play(activate);
    EXPECT_EQ(1u, board->ActiveView());
    EXPECT_EQ(kRed, Shot().At(30, 20));

    Bytes close{3};
    Put32(close, 1);
    Play(close);
    EXPECT_EQ(1, manager->GetViewCount());
    EXPECT_EQ(0u, board->ActiveView()) << "closing the shown document shows none";

    // A seek empties the board; the stream from its start rebuilds it.
    ::SendMessageA(board->m_hWnd, WM_USER + 501, 0, 0);
    EXPECT_EQ(0, manager->GetViewCount());
    ::SendMessageA(board->m_hWnd, WM_USER + 500, reinterpret_cast<WPARAM>(stream.data()),
                   static_cast<LPARAM>(stream.size()));
    ASSERT_EQ(2u, board->Documents().size());
    EXPECT_EQ("one", board->Documents()[0].name);
    EXPECT_EQ((std::vector<int>{1}), board->Documents()[0].objects);
    EXPECT_EQ((std::vector<int>{0, 0, 0}), board->Documents()[1].objects);
}

} // namespace
