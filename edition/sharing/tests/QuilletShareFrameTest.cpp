// This edition's presentation board: pages opened by key and announced in
// this edition's records to a second board, the pages' modes, the history
// bar and the presenter's input.
#include <winsock2.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CQuilletBoardView.h"
#include "CQuilletShareFrame.h"
#include "CTestKit.h"
#include "CWebFrame.h"
#include "CWebView.h"
#include "CWebPoolView.h"
#include "IWebLink.h"
#include "QuilletSharingResource.h"

namespace {

CHtmlEngine* NoBrowser(CHtmlView*) { return nullptr; }

// The relay: keeps every payload and hands it to the peer board.
class CFakeLink : public IWebLink
{
public:
    bool SendRelay(const void* data, uint16_t length) override
    {
        const uint8_t* p = static_cast<const uint8_t*>(data);
        sent.emplace_back(p, p + length);
        if (peer)
            peer->OnPeerData(p, length);
        return true;
    }
    std::vector<uint8_t> Kinds() const
    {
        std::vector<uint8_t> kinds;
        for (const auto& s : sent)
            kinds.push_back(s.at(0));
        return kinds;
    }
    std::vector<std::vector<uint8_t>> sent;
    IWebSharePane* peer = nullptr;
};

class QuilletBoard : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_old = CHtmlView::SetEngineFactory(NoBrowser);
        LPCSTR cls =
            AfxRegisterWndClass(0, ::LoadCursor(NULL, IDC_ARROW), (HBRUSH)(COLOR_WINDOW + 1));
        ASSERT_TRUE(parent.CreateEx(0, cls, "board test", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN,
                                    20, 20, 640, 480, NULL, NULL));
        follower = Make(&none, false);
        presenter = Make(&toFollower, true);
        toFollower.peer = follower;
    }
    void TearDown() override
    {
        parent.DestroyWindow(); // the frames and views free themselves
        CHtmlView::SetEngineFactory(m_old);
    }
    CQuilletShareFrame* Make(IWebLink* link, bool presenting)
    {
        CQuilletShareFrame* f = new CQuilletShareFrame;
        f->SetServerAddress("10.0.0.2");
        f->SetRecordAddress([this](const std::string& a) { recorded.push_back(a); });
        EXPECT_TRUE(f->CreatePage(&parent, link));
        f->SetControlRight(presenting);
        return f;
    }
    static std::string Shown(CQuilletShareFrame* f)
    {
        CWebViewBase* v = f->ActiveView();
        return v && v->GetLocationURL() ? std::string(v->GetLocationURL()) : std::string();
    }

    CWnd parent;
    AFX_HTMLENGINE_FACTORY m_old = nullptr;
    CFakeLink toFollower, none;
    CQuilletShareFrame* follower = nullptr;
    CQuilletShareFrame* presenter = nullptr;
    std::vector<std::string> recorded;
};

} // namespace

TEST_F(QuilletBoard, APageOpenedReplacesTheShownOneOnBothBoards)
{
    presenter->OpenPage(1, "http://docs/a.htm", "A", "", 2);
    CTestKit::PumpUntil([&] { return Shown(follower) == "http://docs/a.htm"; }, 2000);
    ASSERT_GE(toFollower.sent.size(), 3u);
    EXPECT_EQ(0x11, toFollower.sent[0][0]);
    EXPECT_EQ(16u + 1 + 17, toFollower.sent[0].size())
        << "no third text: the record ends after the address";
    EXPECT_EQ(0x13, toFollower.sent[1][0]);
    EXPECT_EQ(0x10, toFollower.sent[2][0]);
    EXPECT_EQ(Shown(presenter), "http://docs/a.htm");
    EXPECT_EQ(Shown(follower), "http://docs/a.htm");
    EXPECT_EQ(follower->Tabs().GetTabCount(), 1);

    // The same key again only brings its page forward.
    toFollower.sent.clear();
    presenter->OpenPage(1, "http://docs/a.htm", "A", "", 2);
    EXPECT_EQ(toFollower.Kinds(), std::vector<uint8_t>({0x13}));

    // Another key: everyone's board is cleared first, one page remains.
    toFollower.sent.clear();
    presenter->OpenPage(2, "http://docs/b.htm", "B", "", 2);
    CTestKit::PumpUntil([&] { return Shown(follower) == "http://docs/b.htm"; }, 2000);
    const std::vector<uint8_t> kinds = toFollower.Kinds();
    ASSERT_GE(kinds.size(), 3u);
    EXPECT_EQ(std::vector<uint8_t>(kinds.begin(), kinds.begin() + 3),
              std::vector<uint8_t>({0x14, 0x11, 0x13}));
    for (CQuilletShareFrame* board : {presenter, follower}) {
        EXPECT_EQ(board->Tabs().GetTabCount(), 1);
        EXPECT_EQ(board->Pool()->LiveCount(), 1u);
        EXPECT_EQ(Shown(board), "http://docs/b.htm");
    }
    EXPECT_EQ(recorded, std::vector<std::string>({"http://docs/a.htm", "http://docs/a.htm",
                                                  "http://docs/b.htm", "http://docs/b.htm"}));
}

TEST_F(QuilletBoard, AParticipantWhoDoesNotPresentChangesOnlyHisOwnBoard)
{
    CFakeLink fromFollower;
    CQuilletShareFrame* watcher = Make(&fromFollower, false);
    watcher->OpenPage(1, "http://docs/a.htm", "A", "", 2);
    watcher->OpenPage(2, "http://docs/b.htm", "B", "", 2);
    EXPECT_EQ(watcher->Pool()->LiveCount(), 1u);
    // Neither the page nor the clearing reaches the others.
    for (uint8_t kind : fromFollower.Kinds())
        EXPECT_EQ(kind, 0x13);
    EXPECT_EQ(fromFollower.Kinds().size(), 2u);
}

TEST_F(QuilletBoard, MissingTextsAndEmptyAddressesOpenNothing)
{
    presenter->OpenPage(1, nullptr, "A", "", 2);
    presenter->OpenPage(1, "http://docs/a.htm", nullptr, "", 2);
    presenter->OpenPage(1, "http://docs/a.htm", "A", nullptr, 2);
    presenter->OpenPage(1, "", "A", "", 2);
    EXPECT_EQ(presenter->Pool()->LiveCount(), 0u);
    EXPECT_TRUE(toFollower.sent.empty());
}

TEST_F(QuilletBoard, PagesOpenAddressesOnTheirOwnHost)
{
    struct Case
    {
        uint8_t mode;
        const char* host;
        const char* address;
        const char* opened; // "" none
    } cases[] = {
        {2, "h", "docs/a.htm", "docs/a.htm"},
        {1, "10.0.0.2", "http://192.168.1.9/docs/a.htm", "http://10.0.0.2/docs/a.htm"},
        {0, "10.0.0.2", "http://192.168.1.9:80/a?b=/c", "http://10.0.0.2/a?b=/c"},
        {1, "10.0.0.2", "docs/a.htm", ""},
        {1, "10.0.0.2", "http://192.168.1.9", ""},
        // Without a host of its own the page keeps its address.
        {1, "", "http://192.168.1.9/docs/a.htm", "http://192.168.1.9/docs/a.htm"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CQuilletBoardView::AddressFor(c.mode, c.host, c.address), c.opened) << c.address;

    // A page in mode 1 takes the third text's entry for this client's server.
    presenter->OpenPage(5, "http://192.168.1.9/docs/a.htm", "A", "10.0.0.1|10.0.0.2|", 1);
    CTestKit::PumpUntil([&] { return Shown(follower) == "http://10.0.0.2/docs/a.htm"; }, 2000);
    EXPECT_EQ(Shown(presenter), "http://10.0.0.2/docs/a.htm");
    EXPECT_EQ(Shown(follower), "http://10.0.0.2/docs/a.htm");
    ASSERT_NE(follower->ActiveView(), nullptr);
    EXPECT_EQ(static_cast<CQuilletBoardView*>(follower->ActiveView())->Host(), "10.0.0.2");
}

TEST_F(QuilletBoard, RecordsOfUnknownPagesAndCutRunsChangeNothing)
{
    const std::vector<uint8_t> activateUnknown = {0x13, 0, 0, 0, 9, 0, 0, 0};
    const std::vector<uint8_t> closeUnknown = {0x12, 0, 0, 0, 9, 0, 0, 0};
    const std::vector<uint8_t> navigateUnknown = {0x10, 0, 0, 0, 9, 0, 0, 0, 0, 0, 0, 0};
    const std::vector<uint8_t> cutOpen = {0x11, 0, 0, 0, 9, 0, 0, 0, 2, 0, 5, 0, 5, 0, 0, 0, 'a'};
    struct Case
    {
        const char* name;
        std::vector<uint8_t> run;
        size_t consumed;
    } cases[] = {
        {"activate", activateUnknown, 8},  {"close", closeUnknown, 8},
        {"navigate", navigateUnknown, 12}, {"cut open", cutOpen, 0},
        {"other kind", {0x24}, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(follower->OnPeerData(c.run.data(), c.run.size()), c.consumed) << c.name;
        EXPECT_EQ(follower->Pool()->LiveCount(), 0u) << c.name;
    }
}

TEST_F(QuilletBoard, HistoryBarStandsOverTheHiddenTabStrip)
{
    CDlgHistoryFile& bar = presenter->HistoryBar();
    ASSERT_TRUE(::IsWindow(bar.m_hWnd));
    EXPECT_TRUE(bar.IsWindowVisible());
    EXPECT_FALSE(presenter->Tabs().IsWindowVisible());
    EXPECT_TRUE(::IsWindowVisible(::GetDlgItem(bar.m_hWnd, IDC_HISTORY_FILES)));
    EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(bar.m_hWnd, IDOK)));
    EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(bar.m_hWnd, IDCANCEL)));
    CRect client, barRect, poolRect;
    presenter->GetClientRect(&client);
    bar.GetWindowRect(&barRect);
    presenter->ScreenToClient(&barRect);
    presenter->Pool()->GetWindowRect(&poolRect);
    presenter->ScreenToClient(&poolRect);
    EXPECT_EQ(barRect.TopLeft(), CPoint(0, 0));
    EXPECT_EQ(barRect.Width(), client.Width());
    EXPECT_EQ(poolRect, client) << "the pages fill the whole board";
    // Enter and Escape leave the bar as it is.
    bar.SendMessage(WM_COMMAND, IDOK, 0);
    bar.SendMessage(WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(bar.IsWindowVisible());
}

TEST_F(QuilletBoard, OnlyThePresenterOperatesThePage)
{
    follower->OpenPage(1, "http://docs/a.htm", "A", "", 2);
    CWebViewBase* view = follower->ActiveView();
    ASSERT_NE(view, nullptr);
    struct Case
    {
        UINT message;
        bool presenting, swallowed;
    } cases[] = {
        {WM_RBUTTONDOWN, true, true}, {WM_RBUTTONDBLCLK, true, true}, {WM_LBUTTONDOWN, false, true},
        {WM_KEYDOWN, false, true},    {WM_LBUTTONDOWN, true, false},  {WM_KEYDOWN, true, false},
        {WM_MOUSEMOVE, false, false},
    };
    for (const Case& c : cases) {
        follower->SetControlRight(c.presenting);
        MSG msg = {view->m_hWnd, c.message, 0, MAKELPARAM(5, 5)};
        EXPECT_EQ(view->PreTranslateMessage(&msg) != FALSE, c.swallowed)
            << c.message << " " << c.presenting;
    }
}

TEST_F(QuilletBoard, DocumentsOpenByTheirAddressAndBrowsingAddressesReachTheRecorder)
{
    presenter->OpenDocument("http://docs/share/plan.htm");
    CTestKit::PumpUntil([&] { return Shown(follower) == "http://docs/share/plan.htm"; }, 2000);
    EXPECT_EQ(Shown(follower), "http://docs/share/plan.htm");
    presenter->OpenDocument("http://docs/share/plan.htm");
    EXPECT_EQ(presenter->Pool()->LiveCount(), 1u) << "the same document is the same page";

    static std::vector<std::string> browsed;
    browsed.clear();
    CWebView::SetNavigationRecorder([](const char* address) { browsed.push_back(address); });
    CFakeLink link;
    CWebFrame* browsing = new CWebFrame;
    ASSERT_TRUE(browsing->CreatePage(&parent, &link));
    browsing->SetControlRight(true);
    browsing->Go("http://intranet/start");
    CTestKit::PumpUntil([&] { return !browsed.empty(); }, 2000);
    CWebView::SetNavigationRecorder(nullptr);
    EXPECT_EQ(browsed, std::vector<std::string>({"http://intranet/start"}));
}
