// The player's windows: the frame's and the video wall's layouts as tables,
// and the record handlers against real windows in a test-owned window.
#include <gtest/gtest.h>

#include "afxwin.h"
#include "afxhtml.h"

#include <algorithm>
#include <string>
#include <vector>

#include "CPlayChatView.h"
#include "CPlayerBoardFrame.h"
#include "CPlayerFrame.h"
#include "CPlayerTabCtrl.h"
#include "CPlayerVideoWall.h"
#include "CShareView.h"
#include "CTestKit.h"
#include "PlayerLayout.h"
#include "RecordFormat.h"

namespace {

RECT R(LONG l, LONG t, LONG r, LONG b)
{
    RECT rc = {l, t, r, b};
    return rc;
}

::testing::AssertionResult SameRect(const RECT& want, const RECT& got)
{
    if (EqualRect(&want, &got))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "want (" << want.left << "," << want.top << "," << want.right << "," << want.bottom
           << ") got (" << got.left << "," << got.top << "," << got.right << "," << got.bottom
           << ")";
}

// The device layer's playback calls, recorded.
struct FakeAudio
{
    static std::vector<std::string>& Calls()
    {
        static std::vector<std::string> calls;
        return calls;
    }
    static int __cdecl StartPlay(int)
    {
        Calls().push_back("start");
        return 1;
    }
    static void __cdecl SetAec(int) {}
    static void __cdecl StopPlay() { Calls().push_back("stop"); }
    static int __cdecl Add(DWORD id)
    {
        Calls().push_back("add " + std::to_string(id));
        return 1;
    }
    static int __cdecl Remove(DWORD id)
    {
        Calls().push_back("remove " + std::to_string(id));
        return 1;
    }
    static int __cdecl Write(DWORD id, uint8_t*, int n)
    {
        Calls().push_back("write " + std::to_string(id) + " " + std::to_string(n));
        return 1;
    }
    static void __cdecl Tap(void* context, void*) { Calls().push_back(context ? "tap" : "untap"); }
    static void __cdecl Format(WAVEFORMATEX* f) { f->nSamplesPerSec = 16000; }
};
const PlayAudioApi kFakeAudio = {FakeAudio::StartPlay, FakeAudio::SetAec, FakeAudio::StopPlay,
                                 FakeAudio::Add,       FakeAudio::Remove, FakeAudio::Write,
                                 FakeAudio::Tap,       FakeAudio::Format};

CHtmlEngine* NoBrowser(CHtmlView* view) { return AfxCreateNullHtmlEngine(view); }

std::vector<unsigned char> Command(uint8_t code, std::initializer_list<uint8_t> args)
{
    std::vector<unsigned char> c{code};
    c.insert(c.end(), args.begin(), args.end());
    return c;
}

std::vector<unsigned char> IdCommand(uint8_t code, uint32_t id)
{
    return Command(code, {uint8_t(id), uint8_t(id >> 8), uint8_t(id >> 16), uint8_t(id >> 24)});
}

std::vector<unsigned char> Chat(uint32_t kind, const std::string& text)
{
    std::vector<unsigned char> c{uint8_t(kind), uint8_t(kind >> 8), uint8_t(kind >> 16),
                                 uint8_t(kind >> 24)};
    c.insert(c.end(), text.begin(), text.end());
    c.push_back(0);
    return c;
}

std::vector<std::string> ListItems(CListBox* list)
{
    std::vector<std::string> items;
    int count = static_cast<int>(list->SendMessage(LB_GETCOUNT));
    for (int i = 0; i < count; ++i) {
        char text[256] = "";
        list->SendMessage(LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
        items.push_back(text);
    }
    return items;
}

// A top-level window holding the player's children.
class PlayerWindows : public ::testing::Test
{
protected:
    void SetUp() override
    {
        CHtmlView::SetEngineFactory(NoBrowser);
        FakeAudio::Calls().clear();
        LPCSTR cls = AfxRegisterWndClass(0, ::LoadCursor(NULL, IDC_ARROW),
                                         (HBRUSH)::GetStockObject(WHITE_BRUSH));
        ASSERT_TRUE(owner.CreateEx(0, cls, "player test", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0,
                                   0, 1000, 700, NULL, NULL));
        owner.ShowWindow(SW_SHOWNOACTIVATE);
        ASSERT_EQ(1, frame.Build(owner.m_hWnd));
        frame.SetLayoutRect(0, 0, 900, 600);
        frame.Clear();
        CTestKit::PumpFor(50);
    }
    void TearDown() override
    {
        frame.DestroyChildren();
        if (owner.m_hWnd)
            owner.DestroyWindow();
        CHtmlView::SetEngineFactory(NULL);
    }
    int Cmd(const std::vector<unsigned char>& c)
    {
        return frame.OnCommandRecord(c.data(), static_cast<uint32_t>(c.size()));
    }
    void Settle() { CTestKit::PumpFor(60); }
    bool Shown(CWnd* w) { return w && (::GetWindowLongA(w->m_hWnd, GWL_STYLE) & WS_VISIBLE); }
    RECT Place(CWnd* w)
    {
        RECT rc;
        ::GetWindowRect(w->m_hWnd, &rc);
        ::MapWindowPoints(NULL, owner.m_hWnd, reinterpret_cast<POINT*>(&rc), 2);
        return rc;
    }

    CWnd owner;
    CPlayerFrame frame{&kFakeAudio};
};

} // namespace

TEST(PlayerLayout, FrameChildrenFollowTheShowFlags)
{
    const RECT area = R(10, 20, 1010, 720);
    struct Case
    {
        PlayerFrameFlags flags;
        RECT tab;
        bool tabShown;
        RECT chat;
        bool chatShown;
        RECT wall;
    } cases[] = {
        {{true, true, true, false},
         R(215, 20, 855, 640),
         true,
         R(215, 643, 855, 720),
         true,
         R(10, 20, 210, 720)},
        {{false, true, true, false},
         R(10, 20, 855, 640),
         true,
         R(10, 643, 855, 720),
         true,
         R(10, 20, 210, 720)},
        {{true, true, false, false},
         R(215, 20, 855, 720),
         true,
         R(215, 643, 855, 720),
         false,
         R(10, 20, 210, 720)},
        {{true, false, true, false},
         R(215, 20, 855, 640),
         false,
         R(215, 20, 855, 720),
         true,
         R(10, 20, 210, 720)},
        {{true, false, false, false},
         R(215, 20, 855, 720),
         false,
         R(215, 20, 855, 720),
         false,
         R(10, 20, 860, 720)},
        {{true, true, true, true},
         R(215, 20, 855, 640),
         false,
         R(215, 643, 855, 720),
         false,
         R(10, 20, 860, 720)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.flags.showVideo << c.flags.showBoard
                                        << c.flags.showChat << c.flags.fullVideo);
        PlayerFrameLayout l = LayOutPlayerFrame(area, c.flags);
        EXPECT_TRUE(SameRect(R(860, 20, 1010, 720), l.userList.rect));
        EXPECT_TRUE(l.userList.shown);
        EXPECT_TRUE(SameRect(c.tab, l.tabStrip.rect));
        EXPECT_EQ(c.tabShown, l.tabStrip.shown);
        EXPECT_TRUE(SameRect(c.chat, l.chatPane.rect));
        EXPECT_EQ(c.chatShown, l.chatPane.shown);
        EXPECT_TRUE(SameRect(c.wall, l.videoWall.rect));
        EXPECT_EQ(c.flags.showVideo, l.videoWall.shown);
    }
}

TEST(PlayerLayout, VideoWallPlacesWindowsBySplitMode)
{
    struct Cell
    {
        RECT rect;
        bool shown;
    };
    struct Case
    {
        int mode;
        int count;
        RECT area;
        std::vector<Cell> cells;
    } cases[] = {
        // A 3 x 3 grid; the last column and row take the remainder.
        {9,
         4,
         R(0, 0, 301, 302),
         {{R(0, 0, 100, 100), true},
          {R(100, 0, 200, 100), true},
          {R(200, 0, 301, 100), true},
          {R(0, 100, 100, 200), true}}},
        {4,
         5,
         R(0, 0, 200, 100),
         {{R(0, 0, 100, 50), true},
          {R(100, 0, 200, 50), true},
          {R(0, 50, 100, 100), true},
          {R(100, 50, 200, 100), true},
          {R(0, 100, 100, 100), false}}},
        // A column of 4:3 cells; those below the wall are hidden.
        {0,
         3,
         R(0, 0, 200, 320),
         {{R(0, 0, 200, 150), true}, {R(0, 150, 200, 300), true}, {R(0, 300, 200, 450), false}}},
        // One big window top left, the right column, then the bottom row.
        {6,
         6,
         R(0, 0, 300, 301),
         {{R(0, 0, 200, 200), true},
          {R(200, 0, 300, 100), true},
          {R(200, 100, 300, 200), true},
          {R(0, 200, 100, 301), true},
          {R(100, 200, 200, 301), true},
          {R(200, 200, 300, 301), true}}},
        {8,
         3,
         R(0, 0, 600, 400),
         {{R(0, 0, 300, 325), true}, {R(300, 0, 600, 325), true}, {R(0, 325, 100, 400), true}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "mode " << c.mode);
        std::vector<VideoCellPlace> places = LayOutVideoWall(c.area, c.mode, c.count, -1);
        ASSERT_EQ(c.cells.size(), places.size());
        for (size_t i = 0; i < places.size(); ++i) {
            EXPECT_TRUE(SameRect(c.cells[i].rect, places[i].rect)) << i;
            EXPECT_EQ(c.cells[i].shown, places[i].shown) << i;
        }
    }
    // A full window takes the whole area; the others are left alone.
    std::vector<VideoCellPlace> full = LayOutVideoWall(R(0, 0, 640, 480), 4, 3, 1);
    EXPECT_TRUE(full[1].placed && full[1].shown);
    EXPECT_TRUE(SameRect(R(0, 0, 640, 480), full[1].rect));
    EXPECT_FALSE(full[0].placed || full[2].placed);
    // An unknown mode moves nothing.
    EXPECT_FALSE(LayOutVideoWall(R(0, 0, 640, 480), 7, 2, -1)[0].placed);
}

TEST(PlayerLayout, PicturesKeepFourToThreeCentredInTheirCell)
{
    EXPECT_TRUE(SameRect(R(67, 0, 333, 200), FitPicture(R(0, 0, 400, 200))));
    EXPECT_TRUE(SameRect(R(10, 45, 210, 195), FitPicture(R(10, 20, 210, 220))));
    EXPECT_TRUE(SameRect(R(0, 0, 320, 240), FitPicture(R(0, 0, 320, 240))));
}

TEST_F(PlayerWindows, BuildMakesEveryChildWithItsId)
{
    for (int id : {154, 1234, 10010, 10002, 10011})
        EXPECT_NE(nullptr, ::GetDlgItem(owner.m_hWnd, id)) << id;
    EXPECT_EQ(3, frame.GetTabStrip()->GetItemCount());
    EXPECT_EQ(frame.GetTabStrip()->m_hWnd, ::GetParent(frame.GetBoard()->m_hWnd));
    EXPECT_FALSE(Shown(&frame));
    EXPECT_EQ("start", FakeAudio::Calls().front());
    // After the first clear every area shows, in the rectangle set.
    Settle();
    // A list box keeps to whole lines: its bottom may stop short by less
    // than one.
    RECT users = Place(frame.GetUserList());
    EXPECT_TRUE(SameRect(R(750, 0, 900, users.bottom), users));
    EXPECT_GT(users.bottom, 580);
    EXPECT_LE(users.bottom, 600);
    EXPECT_TRUE(SameRect(R(205, 0, 745, 520), Place(frame.GetTabStrip())));
    EXPECT_TRUE(SameRect(R(205, 523, 745, 600), Place(frame.GetChatPane())));
    EXPECT_TRUE(SameRect(R(0, 0, 200, 600), Place(frame.GetVideoWall())));
}

TEST_F(PlayerWindows, LayoutCommandsDriveTheAreas)
{
    // Hiding the board hides the chat too, and the wall widens.
    EXPECT_EQ(1, Cmd(Command(REC_LAYOUT_SHOW_BOARD, {0})));
    Settle();
    EXPECT_FALSE(Shown(frame.GetTabStrip()));
    EXPECT_FALSE(Shown(frame.GetChatPane()));
    EXPECT_TRUE(SameRect(R(0, 0, 750, 600), Place(frame.GetVideoWall())));
    // Showing it again sets split mode 0.
    frame.GetVideoWall()->SetSplit(9, false);
    EXPECT_EQ(1, Cmd(Command(REC_LAYOUT_SHOW_BOARD, {1})));
    EXPECT_EQ(1, Cmd(Command(REC_LAYOUT_SHOW_CHAT, {1})));
    Settle();
    EXPECT_EQ(0, frame.GetVideoWall()->GetSplit());
    EXPECT_TRUE(Shown(frame.GetTabStrip()));
    EXPECT_TRUE(Shown(frame.GetChatPane()));
    // A split mode shows only the video area.
    EXPECT_EQ(1, Cmd(Command(REC_LAYOUT_SPLIT_MODE, {4})));
    Settle();
    EXPECT_EQ(4, frame.GetVideoWall()->GetSplit());
    EXPECT_FALSE(Shown(frame.GetTabStrip()));
    EXPECT_EQ(1, Cmd(Command(REC_LAYOUT_SHOW_VIDEO, {0})));
    Settle();
    EXPECT_FALSE(Shown(frame.GetVideoWall()));
    // Lengths other than the command's are not acted on.
    EXPECT_EQ(1, Cmd(Command(REC_LAYOUT_SHOW_VIDEO, {1, 0})));
    EXPECT_FALSE(frame.GetFlags().showVideo);
}

TEST_F(PlayerWindows, VideoCommandsArrangeTheWall)
{
    CPlayerVideoWall* wall = frame.GetVideoWall();
    for (uint32_t id : {1u, 2u, 3u})
        EXPECT_EQ(1, Cmd(IdCommand(REC_LAYOUT_ADD_VIDEO, id)));
    EXPECT_EQ(1, Cmd(IdCommand(REC_LAYOUT_MAIN_VIDEO, 3)));
    EXPECT_EQ((std::vector<uint32_t>{3, 1, 2}), wall->VideoIds());
    std::vector<unsigned char> swap = IdCommand(REC_LAYOUT_SWAP_VIDEO, 1);
    swap.insert(swap.end(), {2, 0, 0, 0});
    EXPECT_EQ(1, Cmd(swap));
    EXPECT_EQ((std::vector<uint32_t>{3, 2, 1}), wall->VideoIds());
    EXPECT_EQ(1, Cmd(IdCommand(REC_LAYOUT_LAST_VIDEO, 3)));
    EXPECT_EQ(1, Cmd(IdCommand(REC_LAYOUT_DEL_VIDEO, 2)));
    EXPECT_EQ((std::vector<uint32_t>{1, 3}), wall->VideoIds());
    // Records too short for their ids change nothing.
    EXPECT_EQ(1, Cmd(Command(REC_LAYOUT_ADD_VIDEO, {9, 0})));
    EXPECT_EQ(1, Cmd(Command(REC_LAYOUT_SWAP_VIDEO, {1, 0, 0, 0, 3})));
    EXPECT_EQ(1, Cmd(IdCommand(REC_LAYOUT_FULL_VIDEO, 3))); // 5 bytes: relayout only
    EXPECT_EQ((std::vector<uint32_t>{1, 3}), wall->VideoIds());
    EXPECT_FALSE(frame.GetFlags().fullVideo);

    // A 4:3 picture in the wall's column: 200 wide, 150 high.
    Settle();
    RECT rc;
    uint32_t visible = 0;
    ASSERT_TRUE(wall->GetVideoPlace(3, &rc, &visible));
    EXPECT_TRUE(SameRect(R(0, 150, 200, 300), rc));
    EXPECT_EQ(1u, visible);

    std::vector<unsigned char> full = IdCommand(REC_LAYOUT_FULL_VIDEO, 3);
    full.push_back(1);
    EXPECT_EQ(1, Cmd(full));
    EXPECT_TRUE(frame.GetFlags().fullVideo);
    Settle();
    ASSERT_TRUE(wall->GetVideoPlace(1, nullptr, &visible));
    EXPECT_EQ(0u, visible);
    EXPECT_FALSE(Shown(frame.GetTabStrip()));
    // Video records: to a window or to nobody, both accepted; a bare prefix
    // refused.
    const unsigned char frameBytes[8] = {3, 0, 0, 0, 1, 2, 3, 4};
    EXPECT_EQ(1, frame.OnVideoRecord(frameBytes, 8));
    const unsigned char nobody[8] = {77, 0, 0, 0, 1, 2, 3, 4};
    EXPECT_EQ(1, frame.OnVideoRecord(nobody, 8));
    EXPECT_EQ(0, frame.OnVideoRecord(frameBytes, 4));
}

TEST_F(PlayerWindows, ShortRecordsAreRefused)
{
    const unsigned char bytes[8] = {5, 0, 0, 0, 9, 9, 9, 9};
    struct Case
    {
        const char* name;
        int result;
        int want;
    } cases[] = {
        {"audio prefix only", frame.OnAudioRecord(bytes, 4), 0},
        {"audio", frame.OnAudioRecord(bytes, 6), 1},
        {"video prefix only", frame.OnVideoRecord(bytes, 4), 0},
        {"board empty", frame.OnBoardRecord(bytes, 0), 0},
        {"board null", frame.OnBoardRecord(nullptr, 4), 0},
        {"command one byte", frame.OnCommandRecord(bytes, 1), 0},
        {"command unknown code", frame.OnCommandRecord(bytes, 2), 1},
        {"chat without its kind", frame.OnChatRecord(bytes, 3), 0},
        {"chat of unknown kind", frame.OnChatRecord(bytes, 8), 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.want, c.result) << c.name;
    EXPECT_EQ("write 5 2", FakeAudio::Calls().back());
}

TEST_F(PlayerWindows, ChatLinesUsersAndAddressesAndWhatClearTakesAway)
{
    auto chat = [&](uint32_t kind, const std::string& text) {
        std::vector<unsigned char> c = Chat(kind, text);
        return frame.OnChatRecord(c.data(), static_cast<uint32_t>(c.size()));
    };
    EXPECT_EQ(1, chat(REC_CHAT_USER_JOINED, "alice"));
    EXPECT_EQ(1, chat(REC_CHAT_USER_JOINED, "bob"));
    EXPECT_EQ(1, chat(REC_CHAT_USER_JOINED, "alice"));
    EXPECT_EQ(1, chat(REC_CHAT_USER_LEFT, "alice"));
    EXPECT_EQ((std::vector<std::string>{"用户：bob", "用户：alice"}),
              ListItems(frame.GetUserList()));
    EXPECT_EQ(1, chat(REC_CHAT_LINE, "alice 对 所有人 说:  hi\r\n"));
    char text[256] = "";
    ::GetWindowTextA(frame.GetChatPane()->m_hWnd, text, sizeof text);
    EXPECT_NE(nullptr, strstr(text, "hi"));
    // A text without its terminator stops at the end of the record.
    std::vector<unsigned char> open = Chat(REC_CHAT_USER_JOINED, "carol");
    open.pop_back();
    EXPECT_EQ(1, frame.OnChatRecord(open.data(), static_cast<uint32_t>(open.size())));
    EXPECT_EQ("用户：carol", ListItems(frame.GetUserList()).back());

    EXPECT_EQ(1, chat(REC_CHAT_BOARD_ADDRESS, "http://example.invalid/board"));
    EXPECT_EQ(1, chat(REC_CHAT_BROWSE_ADDRESS, "http://example.invalid/browse"));
    ASSERT_TRUE(CTestKit::PumpUntil(
        [&] { return !frame.GetBrowsingView()->GetLastAddress().empty(); }, 1000));
    EXPECT_EQ("http://example.invalid/board", frame.GetPresentationView()->GetLastAddress());
    EXPECT_EQ("http://example.invalid/browse", frame.GetBrowsingView()->GetLastAddress());

    EXPECT_EQ(1, Cmd(IdCommand(REC_LAYOUT_ADD_AUDIO, 41)));
    EXPECT_EQ(1, Cmd(IdCommand(REC_LAYOUT_ADD_VIDEO, 41)));
    frame.Clear();
    EXPECT_TRUE(ListItems(frame.GetUserList()).empty());
    ::GetWindowTextA(frame.GetChatPane()->m_hWnd, text, sizeof text);
    EXPECT_STREQ("", text);
    EXPECT_TRUE(frame.GetVideoWall()->VideoIds().empty());
    EXPECT_EQ("remove 41", FakeAudio::Calls().back());
    // Typing into the chat pane changes nothing.
    frame.GetChatPane()->SendMessage(WM_CHAR, 'x', 0);
    ::GetWindowTextA(frame.GetChatPane()->m_hWnd, text, sizeof text);
    EXPECT_STREQ("", text);
}

TEST_F(PlayerWindows, WhiteboardRunsReachTheBoardAndClearEmptiesIt)
{
    const std::vector<unsigned char> run = {
        2, 7,   0, 0,   0,   0x58, 2, 0, 0, 0x20, 3, 0, 0, 3, 0, 0, 0,
        3, 0,   0, 'd', 'o', 'c',  6, 7, 0, 0,    0, 2, 8, 0, 0, 0, 0, // a view setting, skipped
        5, 50,  0, 100, 0,                                             // zoom 50
        7,                                                             // the end of the run
        5, 200, 0, 100, 0,
    };
    EXPECT_EQ(1, frame.OnBoardRecord(run.data(), static_cast<uint32_t>(run.size())));
    caskel::CWBFrame* board = frame.GetBoard();
    ASSERT_EQ(1u, board->Documents().size());
    EXPECT_EQ("doc", board->Documents()[0].name);
    EXPECT_EQ(2, board->Documents()[0].currentPage);
    EXPECT_EQ(3, board->Documents()[0].pageCount);
    EXPECT_EQ(50, board->Zoom());
    frame.Clear();
    EXPECT_TRUE(board->Documents().empty());
}

TEST_F(PlayerWindows, TheTabUnderAReleasedButtonIsSelected)
{
    CPlayerTabCtrl* tabs = frame.GetTabStrip();
    Settle();
    RECT item;
    ASSERT_TRUE(tabs->GetItemRect(2, &item));
    POINT pt = {(item.left + item.right) / 2, (item.top + item.bottom) / 2};
    CTestKit::SendMouse(tabs->m_hWnd, WM_LBUTTONDOWN, pt, MK_LBUTTON);
    CTestKit::SendMouse(tabs->m_hWnd, WM_LBUTTONUP, pt);
    EXPECT_EQ(2, tabs->GetCurSel());
    EXPECT_TRUE(Shown(frame.GetBrowsingView()));
    EXPECT_FALSE(Shown(frame.GetBoard()));
}
