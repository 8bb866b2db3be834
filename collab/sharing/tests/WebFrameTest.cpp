#include <winsock2.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CScriptErrorSink.h"
#include "CTestKit.h"
#include "CWebFrame.h"
#include "CWebPoolView.h"
#include "CWebShareFrame.h"
#include "CWebView.h"
#include "IWebLink.h"
#include "SharingResource.h"
#include "WebNotice.h"

namespace {

// No engine from the factory: the views take the framework's own engine
// without a browser, as where no browser is installed.
CHtmlEngine* NoBrowser(CHtmlView*) { return nullptr; }

// The relay: records every payload and, when given a peer, hands it on as
// the server and the peer's dispatcher would.
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
    // The kinds sent, in order.
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

class WebFrameTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_old = CHtmlView::SetEngineFactory(NoBrowser);
        LPCSTR cls =
            AfxRegisterWndClass(0, ::LoadCursor(NULL, IDC_ARROW), (HBRUSH)(COLOR_WINDOW + 1));
        ASSERT_TRUE(parent.CreateEx(0, cls, "web test", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 20,
                                    20, 640, 480, NULL, NULL));
    }
    void TearDown() override
    {
        parent.DestroyWindow(); // the frames and views free themselves
        CHtmlView::SetEngineFactory(m_old);
    }

    template <typename Frame>
    Frame* Make(IWebLink* link, bool leader)
    {
        Frame* f = new Frame;
        EXPECT_TRUE(f->CreatePage(&parent, link));
        f->SetControlRight(leader);
        return f;
    }

    static uint32_t IdOf(const std::vector<uint8_t>& record)
    {
        return record.size() >= 8
                   ? (record[4] | record[5] << 8 | record[6] << 16 | uint32_t(record[7]) << 24)
                   : 0;
    }

    CWnd parent;
    AFX_HTMLENGINE_FACTORY m_old = nullptr;
};

TEST_F(WebFrameTest, LeaderGoesAndTheFollowerShowsTheSame)
{
    CFakeLink toFollower, fromFollower;
    CWebFrame* follower = Make<CWebFrame>(&fromFollower, false);
    CWebFrame* leader = Make<CWebFrame>(&toFollower, true);
    toFollower.peer = follower;

    leader->GetBar().SetAddress("http://intranet/start");
    leader->SendMessage(WM_COMMAND, MAKEWPARAM(ID_WEB_GO, BN_CLICKED), 0);
    CTestKit::PumpUntil([&] { return toFollower.sent.size() >= 5; }, 2000);
    // Close all, open, activate, the navigation, its completion.
    ASSERT_EQ((std::vector<uint8_t>{0x24, 0x21, 0x23, 0x20, 0x20}), toFollower.Kinds());
    const uint32_t id = IdOf(toFollower.sent[1]);
    EXPECT_EQ(id, IdOf(toFollower.sent[2]));
    EXPECT_EQ(id, leader->Tabs().GetCurTabId());
    EXPECT_EQ(1, leader->Tabs().GetTabCount());

    CTestKit::PumpUntil(
        [&] {
            return follower->Pool()->Find(id) &&
                   follower->Pool()->Find(id)->GetLastCompleted() == "http://intranet/start";
        },
        2000);
    CWebViewBase* seen = follower->Pool()->Find(id);
    ASSERT_NE(nullptr, seen);
    EXPECT_EQ(seen, follower->ActiveView());
    EXPECT_STREQ("http://intranet/start", seen->GetLocationURL());
    EXPECT_EQ(id, follower->Tabs().GetCurTabId());
    EXPECT_TRUE(fromFollower.sent.empty()); // a follower's navigation sends nothing

    // The bar follows the leader flag.
    EXPECT_TRUE(leader->GetBar().GetDlgItem(IDC_WEB_GO)->IsWindowEnabled());
    EXPECT_FALSE(follower->GetBar().GetDlgItem(IDC_WEB_GO)->IsWindowEnabled());
    EXPECT_FALSE(follower->GetBar().GetDlgItem(IDC_WEB_ADDRESS)->IsWindowEnabled());
    follower->SetControlRight(true);
    EXPECT_TRUE(follower->GetBar().GetDlgItem(IDC_WEB_ADDRESS)->IsWindowEnabled());
    follower->SetControlRight(false);

    // A second go starts over: the follower's old view goes back to its pool.
    leader->Go("http://intranet/two");
    CTestKit::PumpUntil(
        [&] {
            return follower->Tabs().GetTabCount() == 1 && follower->ActiveView() &&
                   follower->ActiveView()->GetTabId() != id;
        },
        2000);
    EXPECT_EQ(nullptr, follower->Pool()->Find(id));
    EXPECT_EQ(1u, follower->Pool()->LiveCount());
    EXPECT_EQ(seen, follower->ActiveView()); // the pooled view was taken again
}

TEST_F(WebFrameTest, ReplayTakesWholeRecordsAndIgnoresUnknownTabs)
{
    CFakeLink link;
    CWebShareFrame* board = Make<CWebShareFrame>(&link, false);
    std::vector<uint8_t> payload = CWebNotice::Tab(WEB_BASE_BOARD, WEB_OPEN, 77);
    std::vector<uint8_t> more = CWebNotice::Tab(WEB_BASE_BOARD, WEB_ACTIVATE, 77);
    payload.insert(payload.end(), more.begin(), more.end());
    const size_t whole = payload.size();
    payload.insert(payload.end(), {0x12, 0, 0, 0, 77}); // a close cut short
    EXPECT_EQ(whole, board->OnPeerData(payload.data(), payload.size()));
    ASSERT_NE(nullptr, board->ActiveView());
    EXPECT_EQ(77u, board->ActiveView()->GetTabId());
    EXPECT_EQ(77u, board->Tabs().GetCurTabId());

    // Records for tabs that have no view change nothing.
    NAV_FIELDS nav;
    nav.address = "http://elsewhere/";
    std::vector<uint8_t> other;
    ASSERT_TRUE(CWebNotice::Navigate(WEB_BASE_BOARD, 78, nav, 1000, other));
    std::vector<uint8_t> closeOther = CWebNotice::Tab(WEB_BASE_BOARD, WEB_CLOSE, 78);
    other.insert(other.end(), closeOther.begin(), closeOther.end());
    EXPECT_EQ(other.size(), board->OnPeerData(other.data(), other.size()));
    EXPECT_EQ(1, board->Tabs().GetTabCount());
    EXPECT_STRNE("http://elsewhere/", board->ActiveView()->GetLocationURL());

    // A record of the other frame's kinds is not the board's.
    std::vector<uint8_t> browsing = CWebNotice::CloseAll(WEB_BASE_BROWSING);
    EXPECT_EQ(0u, board->OnPeerData(browsing.data(), browsing.size()));
    EXPECT_EQ(1, board->Tabs().GetTabCount());

    std::vector<uint8_t> close = CWebNotice::Tab(WEB_BASE_BOARD, WEB_CLOSE, 77);
    EXPECT_EQ(close.size(), board->OnPeerData(close.data(), close.size()));
    EXPECT_EQ(0, board->Tabs().GetTabCount());
    EXPECT_EQ(0u, board->Pool()->LiveCount());
    EXPECT_EQ(1u, board->Pool()->PooledCount());
    EXPECT_TRUE(link.sent.empty());
}

TEST_F(WebFrameTest, FollowersClicksAndKeysNeverReachThePage)
{
    CFakeLink link;
    CWebFrame* frame = Make<CWebFrame>(&link, true);
    frame->Go("http://intranet/");
    CWebView* view = static_cast<CWebView*>(frame->ActiveView());
    ASSERT_NE(nullptr, view);
    HWND inner = ::CreateWindowA("STATIC", "", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, view->m_hWnd,
                                 NULL, NULL, NULL);
    struct Case
    {
        UINT message;
        bool leader;
        bool swallowed;
    } cases[] = {
        {WM_RBUTTONDOWN, true, true},  {WM_RBUTTONUP, true, true},  {WM_RBUTTONDOWN, false, true},
        {WM_LBUTTONDOWN, false, true}, {WM_LBUTTONUP, false, true}, {WM_KEYDOWN, false, true},
        {WM_LBUTTONDOWN, true, false}, {WM_KEYDOWN, true, false},   {WM_MOUSEMOVE, false, false},
    };
    for (HWND target : {view->m_hWnd, inner}) {
        for (const Case& c : cases) {
            frame->SetControlRight(c.leader);
            view->SetClicked(false);
            MSG msg = {target, c.message, c.message == WM_KEYDOWN ? WPARAM('A') : 0,
                       MAKELPARAM(5, 5)};
            EXPECT_EQ(c.swallowed, view->PreTranslateMessage(&msg) != FALSE)
                << c.message << " " << c.leader;
            EXPECT_EQ(c.leader && c.message == WM_LBUTTONDOWN, view->WasClicked()) << c.message;
        }
    }
    // The same through the message loop: a follower's click leaves no trace.
    frame->SetControlRight(false);
    view->SetClicked(false);
    CTestKit::Click(view->m_hWnd, CPoint(20, 20));
    CTestKit::PumpPending();
    EXPECT_FALSE(view->WasClicked());
}

TEST_F(WebFrameTest, NewWindowsBecomeTabsOnEveryClient)
{
    CFakeLink toFollower, none;
    CWebFrame* follower = Make<CWebFrame>(&none, false);
    CWebFrame* leader = Make<CWebFrame>(&toFollower, true);
    toFollower.peer = follower;
    leader->Go("http://intranet/");
    CWebView* first = static_cast<CWebView*>(leader->ActiveView());
    ASSERT_NE(nullptr, first);
    const uint32_t firstId = first->GetTabId();

    // Without a click into the page the window is refused.
    LPDISPATCH disp = NULL;
    BOOL cancel = FALSE;
    first->OnNewWindow2(&disp, &cancel);
    EXPECT_TRUE(cancel);
    EXPECT_EQ(1, leader->Tabs().GetTabCount());

    first->SetClicked(true);
    cancel = FALSE;
    toFollower.sent.clear();
    first->OnNewWindow2(&disp, &cancel);
    EXPECT_FALSE(cancel);
    EXPECT_EQ((std::vector<uint8_t>{0x21, 0x23}), toFollower.Kinds());
    const uint32_t secondId = IdOf(toFollower.sent[0]);
    EXPECT_NE(firstId, secondId);
    EXPECT_EQ(2, leader->Tabs().GetTabCount());
    EXPECT_EQ(secondId, leader->Tabs().GetCurTabId());

    // With two tabs, the non-active one is closed before the new one opens.
    CWebView* second = static_cast<CWebView*>(leader->ActiveView());
    second->SetClicked(true);
    toFollower.sent.clear();
    cancel = FALSE;
    second->OnNewWindow2(&disp, &cancel);
    EXPECT_FALSE(cancel);
    ASSERT_EQ((std::vector<uint8_t>{0x22, 0x21, 0x23}), toFollower.Kinds());
    EXPECT_EQ(firstId, IdOf(toFollower.sent[0]));
    const uint32_t thirdId = IdOf(toFollower.sent[1]);
    EXPECT_EQ(2, leader->Tabs().GetTabCount());
    EXPECT_EQ(thirdId, leader->Tabs().GetCurTabId());

    // The follower holds the same tabs, the new one active.
    EXPECT_EQ(2, follower->Tabs().GetTabCount());
    EXPECT_EQ(nullptr, follower->Pool()->Find(firstId));
    ASSERT_NE(nullptr, follower->ActiveView());
    EXPECT_EQ(thirdId, follower->ActiveView()->GetTabId());

    // A follower's pages open no windows.
    CWebView* followed = static_cast<CWebView*>(follower->ActiveView());
    followed->SetClicked(true);
    cancel = FALSE;
    followed->OnNewWindow2(&disp, &cancel);
    EXPECT_TRUE(cancel);
}

TEST_F(WebFrameTest, TabStripChangesNeedTheLead)
{
    CFakeLink link;
    CWebFrame* frame = Make<CWebFrame>(&link, true);
    frame->Go("http://a/");
    CWebView* a = static_cast<CWebView*>(frame->ActiveView());
    ASSERT_NE(nullptr, a);
    ASSERT_TRUE(CTestKit::PumpUntil([&] { return a->GetLastCompleted() == "http://a/"; }, 2000));
    a->SetClicked(true);
    LPDISPATCH disp = NULL;
    BOOL cancel = FALSE;
    a->OnNewWindow2(&disp, &cancel);
    ASSERT_EQ(2, frame->Tabs().GetTabCount());
    const uint32_t aId = a->GetTabId(), bId = frame->Tabs().GetCurTabId();

    auto notify = [&](int code) {
        NMHDR h = {frame->Tabs().m_hWnd, IDC_WEB_TABS, static_cast<UINT>(code)};
        return frame->SendMessage(WM_NOTIFY, IDC_WEB_TABS, reinterpret_cast<LPARAM>(&h));
    };
    frame->SetControlRight(false);
    EXPECT_NE(0, notify(TCN_SELCHANGING));
    EXPECT_NE(0, notify(TABN_CLOSING));
    EXPECT_EQ(2, frame->Tabs().GetTabCount());

    frame->SetControlRight(true);
    EXPECT_EQ(0, notify(TCN_SELCHANGING));
    link.sent.clear();
    frame->Tabs().SelectTab(aId);
    notify(TCN_SELCHANGE);
    EXPECT_EQ(a, frame->ActiveView());
    ASSERT_EQ((std::vector<uint8_t>{0x23}), link.Kinds());
    EXPECT_EQ(aId, IdOf(link.sent[0]));
    CString address = frame->GetBar().GetAddress();
    EXPECT_STREQ("http://a/", address);

    link.sent.clear();
    EXPECT_EQ(0, notify(TABN_CLOSING));
    ASSERT_EQ((std::vector<uint8_t>{0x22}), link.Kinds());
    EXPECT_EQ(aId, IdOf(link.sent[0]));
    EXPECT_EQ(1, frame->Tabs().GetTabCount());
    EXPECT_EQ(bId, frame->Tabs().GetTabId(0));
}

TEST_F(WebFrameTest, BoardRecordsUseTheirOwnKinds)
{
    CFakeLink link;
    CWebShareFrame* board = Make<CWebShareFrame>(&link, true);
    board->OnGoCommand();
    EXPECT_EQ((std::vector<uint8_t>{0x14, 0x11, 0x13}),
              link.Kinds()); // the go command navigates nowhere
    link.sent.clear();
    board->OpenDocument("http://server/docs/page1.htm");
    CTestKit::PumpUntil([&] { return link.sent.size() >= 5; }, 2000);
    EXPECT_EQ((std::vector<uint8_t>{0x14, 0x11, 0x13, 0x10, 0x10}), link.Kinds());
    // Board pages open no windows, whoever clicked.
    CWebViewBase* view = board->ActiveView();
    ASSERT_NE(nullptr, view);
    view->SetClicked(true);
    LPDISPATCH disp = reinterpret_cast<LPDISPATCH>(1);
    BOOL cancel = FALSE;
    view->OnNewWindow2(&disp, &cancel);
    EXPECT_TRUE(cancel);
    EXPECT_EQ(nullptr, disp);
    // Without the lead nothing is sent.
    board->SetControlRight(false);
    link.sent.clear();
    board->OpenDocument("http://server/docs/page2.htm");
    CTestKit::PumpPending();
    EXPECT_TRUE(link.sent.empty());
}

TEST_F(WebFrameTest, PagesKeepScriptErrorsQuiet)
{
    CWebViewBase::WriteBrowserSettings();
    HKEY key = NULL;
    ASSERT_EQ(ERROR_SUCCESS,
              ::RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Microsoft\\Internet Explorer\\Main", 0,
                              KEY_QUERY_VALUE, &key));
    char value[16] = {};
    DWORD size = sizeof value, type = 0;
    EXPECT_EQ(ERROR_SUCCESS,
              ::RegQueryValueExA(key, "Disable Script Debugger", NULL, &type, (BYTE*)value, &size));
    EXPECT_EQ(REG_SZ, type);
    EXPECT_STREQ("yes", value);
    size = sizeof value;
    EXPECT_EQ(ERROR_SUCCESS, ::RegQueryValueExA(key, "Error Dlg Displayed On Every Error", NULL,
                                                &type, (BYTE*)value, &size));
    EXPECT_STREQ("no", value);
    ::RegCloseKey(key);

    CScriptErrorSink* sink = CScriptErrorSink::Make();
    VARIANT result;
    ::VariantInit(&result);
    EXPECT_EQ(S_OK, sink->Invoke(0, IID_NULL, 0, DISPATCH_METHOD, NULL, &result, NULL, NULL));
    IDispatch* again = NULL;
    EXPECT_EQ(S_OK, sink->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&again)));
    EXPECT_EQ(1u, again->Release());
    EXPECT_EQ(0u, sink->Release());
}

} // namespace
