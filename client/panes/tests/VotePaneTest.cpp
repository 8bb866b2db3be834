#include <gtest/gtest.h>

#include <cstring>
#include <ctime>
#include <string>

#include "CDlgMeetingSettings.h"
#include "CDlgStartVote.h"
#include "CDlgVote.h"
#include "CDlgVoteList.h"
#include "CTestKit.h"
#include "PaneTestKit.h"
#include "PanesResource.h"

using namespace panetest;

namespace {

std::string Text(CWnd* wnd)
{
    char buffer[256] = {};
    ::GetWindowTextA(wnd->GetSafeHwnd(), buffer, sizeof buffer);
    return buffer;
}

MEETING_STATE TwoItemVote()
{
    MEETING_STATE s;
    CMeetingState::Reset(s);
    strcpy(s.title, "Lunch");
    strcpy(s.initiator, "host");
    strcpy(s.remark, "Where to go");
    strcpy(s.items[0], "noodles");
    strcpy(s.items[1], "rice");
    s.counts[0] = 0;
    s.counts[1] = 7;
    s.startTime = static_cast<uint32_t>(time(nullptr));
    return s;
}

class VotePane : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(StartWinsockOnce());
        ASSERT_TRUE(server.Start(0));
        ASSERT_TRUE(host.Login("host", "pw"));
        self = host.client.login.userId;
        ASSERT_TRUE(parent.CreateTop(900, 400));
        votes.reset(new CDlgVoteList(host.Context(&fake)));
        ASSERT_TRUE(votes->CreatePane(&parent));
        votes->MoveWindow(0, 0, 880, 380);
        votes->ShowWindow(SW_SHOW);
        host.ClearSent();
    }
    void TearDown() override
    {
        votes->DestroyWindow();
        parent.DestroyWindow();
        CTestKit::PumpPending();
    }

    int BarWidth(UINT id)
    {
        CRect r;
        votes->GetDlgItem(id)->GetWindowRect(&r);
        return r.Width();
    }
    bool Visible(UINT id) { return (votes->GetDlgItem(id)->GetStyle() & WS_VISIBLE) != 0; }
    MEETING_STATE LastSent()
    {
        MEETING_STATE s = {};
        auto frames = host.SentFrames(CMD_MEETING_STATE);
        if (!frames.empty())
            CMeetingState::Read(frames.back().data(), frames.back().size(), s);
        return s;
    }

    CStandInServer server{StandInTestConfig()};
    CMeetingClient host{server};
    CFakeHost fake;
    CParentWnd parent;
    std::unique_ptr<CDlgVoteList> votes;
    uint32_t self = 0;
};

} // namespace

TEST(MeetingState, ReadForcesTerminatorsAndDropsShortRecords)
{
    std::vector<uint8_t> bytes(MEETING_STATE_SIZE, 'x');
    MEETING_STATE s;
    CMeetingState::Reset(s);
    EXPECT_FALSE(CMeetingState::Read(bytes.data(), bytes.size() - 1, s));
    EXPECT_EQ(0, s.title[0]);
    ASSERT_TRUE(CMeetingState::Read(bytes.data(), bytes.size(), s));
    EXPECT_EQ(29u, strlen(s.title));
    EXPECT_EQ(23u, strlen(s.initiator));
    EXPECT_EQ(1023u, strlen(s.remark));
    EXPECT_EQ(39u, strlen(s.items[4]));
    EXPECT_EQ(79u, strlen(s.bulletin));

    MEETING_STATE v = TwoItemVote();
    strcpy(v.bulletin, "keep");
    v.noPrivateChat = 1;
    CMeetingState::ClearVote(v);
    EXPECT_FALSE(CMeetingState::HasVote(v));
    EXPECT_EQ(0, v.items[0][0]);
    EXPECT_EQ(VOTE_ITEM_UNUSED, v.counts[1]);
    EXPECT_EQ(0u, v.startTime);
    EXPECT_STREQ("keep", v.bulletin);
    EXPECT_EQ(1u, v.noPrivateChat);
}

TEST_F(VotePane, RefreshShowsTheUsedItemsWithTheirBars)
{
    fake.state = TwoItemVote();
    votes->Refresh();
    CListCtrl* list = static_cast<CListCtrl*>(votes->GetDlgItem(IDC_VOTE_LIST));
    ASSERT_EQ(1, list->SendMessage(LVM_GETITEMCOUNT));
    EXPECT_EQ("A:0人次,noodles", Text(votes->GetDlgItem(IDC_VOTE_LABEL_A)));
    EXPECT_EQ("B:7人次,rice", Text(votes->GetDlgItem(IDC_VOTE_LABEL_B)));
    EXPECT_EQ("", Text(votes->GetDlgItem(IDC_VOTE_LABEL_C)));
    EXPECT_EQ("Where to go", Text(votes->GetDlgItem(IDC_VOTE_REMARK)));
    EXPECT_TRUE(Visible(IDC_VOTE_BAR_A));
    EXPECT_EQ(0, BarWidth(IDC_VOTE_BAR_A));
    EXPECT_EQ(70, BarWidth(IDC_VOTE_BAR_B));
    EXPECT_FALSE(Visible(IDC_VOTE_BAR_C));

    // The fifth item shows like the others; a huge count stays within the pane.
    strcpy(fake.state.items[4], "last");
    fake.state.counts[4] = 0xFFFFFFF0;
    votes->Refresh();
    EXPECT_EQ("E:4294967280人次,last", Text(votes->GetDlgItem(IDC_VOTE_LABEL_E)));
    EXPECT_TRUE(Visible(IDC_VOTE_BAR_E));
    CRect pane, bar;
    votes->GetWindowRect(&pane);
    votes->GetDlgItem(IDC_VOTE_BAR_E)->GetWindowRect(&bar);
    EXPECT_LE(bar.right, pane.right);

    // A record without a title empties the pane.
    fake.state.title[0] = 0;
    votes->Refresh();
    EXPECT_EQ(0, list->SendMessage(LVM_GETITEMCOUNT));
    EXPECT_EQ("", Text(votes->GetDlgItem(IDC_VOTE_LABEL_A)));
    EXPECT_FALSE(Visible(IDC_VOTE_BAR_B));
}

TEST_F(VotePane, StartingAndDeletingNeedTheMeetingControl)
{
    CTestKit::MessageBoxes boxes(IDYES);
    fake.state = TwoItemVote();
    votes->OnStartVote();
    votes->OnDeleteVote();
    ASSERT_EQ(2u, boxes.Shown().size());
    EXPECT_EQ("得到会议控制才可以发起投票!", boxes.Shown()[0].text);
    EXPECT_TRUE(CMeetingState::HasVote(fake.state));
    EXPECT_TRUE(host.SentFrames(CMD_MEETING_STATE).empty());

    host.client.users.SetControlState(self, 2);
    boxes.SetAnswer(IDNO);
    votes->OnDeleteVote();
    EXPECT_EQ("确定删除当前项吗？", boxes.Shown().back().text);
    EXPECT_TRUE(host.SentFrames(CMD_MEETING_STATE).empty());
    boxes.SetAnswer(IDYES);
    votes->OnDeleteVote();
    const MEETING_STATE sent = LastSent();
    EXPECT_EQ(CMD_MEETING_STATE, sent.code);
    EXPECT_EQ(0, sent.title[0]);
    EXPECT_STREQ("rice", sent.items[1]);
}

TEST_F(VotePane, StartVoteDialogNumbersItemsAndSendsTheVote)
{
    host.client.users.SetControlState(self, 2);
    strcpy(fake.state.bulletin, "bulletin stays");
    CDlgStartVote dialog(fake.state, "host", &host.client.manager);
    CTestKit::MessageBoxes boxes;
    std::vector<std::string> numbers;
    const INT_PTR result = CTestKit::RunModal(dialog, [&](CDialog&) {
        dialog.OnOK(); // no title yet
        for (const char* item : {"zero", "one", "two"}) {
            dialog.SetDlgItemText(IDC_START_ITEM, item);
            dialog.OnAdd();
        }
        dialog.GetItems().SetItemState(1, LVIS_SELECTED, LVIS_SELECTED);
        dialog.OnDelete();
        dialog.SetDlgItemText(IDC_START_ITEM, std::string(45, 'i').c_str());
        dialog.OnAdd();
        dialog.OnAdd(); // empty item
        dialog.OnAdd();
        dialog.OnAdd(); // the sixth
        for (int i = 0; i < dialog.GetItems().GetItemCount(); ++i)
            numbers.push_back(static_cast<LPCSTR>(dialog.GetItems().GetItemText(i, 0)));
        dialog.SetDlgItemText(IDC_START_TITLE, std::string(40, 't').c_str());
        dialog.SetDlgItemText(IDC_START_REMARK, "why");
        dialog.OnOK();
    });
    EXPECT_EQ(IDOK, result);
    EXPECT_EQ((std::vector<std::string>{"0", "2", "2", "3", "4"}), numbers);
    ASSERT_EQ(2u, boxes.Shown().size());
    EXPECT_EQ("没有标题为空不能发布", boxes.Shown()[0].text);
    EXPECT_EQ("加入新的项不能大于5项", boxes.Shown()[1].text);

    const MEETING_STATE sent = LastSent();
    EXPECT_EQ(std::string(29, 't'), sent.title);
    EXPECT_STREQ("why", sent.remark);
    EXPECT_STREQ("host", sent.initiator);
    EXPECT_STREQ("zero", sent.items[0]);
    EXPECT_STREQ("two", sent.items[1]);
    EXPECT_EQ(std::string(38, 'i'), sent.items[2]);
    EXPECT_STREQ("", sent.items[3]);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(0u, sent.counts[i]) << i;
    EXPECT_NEAR(static_cast<double>(time(nullptr)), static_cast<double>(sent.startTime), 30.0);
    EXPECT_STREQ("bulletin stays", sent.bulletin);
}

TEST_F(VotePane, VoteDialogListsTheUsedItems)
{
    MEETING_STATE s = TwoItemVote();
    strcpy(s.items[3], "fourth");
    s.counts[3] = 2;
    CDlgVote dialog(s);
    std::vector<std::string> rows;
    CTestKit::RunModal(dialog, [&](CDialog&) {
        for (int i = 0; i < dialog.GetChoices().GetItemCount(); ++i)
            rows.push_back(static_cast<LPCSTR>(dialog.GetChoices().GetItemText(i, 0)));
        dialog.EndDialog(IDOK);
    });
    EXPECT_EQ((std::vector<std::string>{"noodles", "rice", "fourth"}), rows);
}

TEST_F(VotePane, MeetingSettingsSendOnlyAChange)
{
    struct Case
    {
        const char* name;
        const char* bulletin;
        bool noUpload;
        bool sent;
        const char* stored;
    };
    const Case cases[] = {
        {"nothing changed", "old", false, false, "old"},
        {"blanks around", "  old  ", false, false, "old"},
        {"only blanks", "   ", false, true, ""},
        {"new text", " news ", false, true, "news"},
        {"switch only", "news", true, true, "news"},
    };
    strcpy(fake.state.bulletin, "old");
    for (const Case& c : cases) {
        host.ClearSent();
        CDlgMeetingSettings dialog(fake.state, &host.client.manager);
        CTestKit::RunModal(dialog, [&](CDialog&) {
            dialog.SetDlgItemText(IDC_SETTINGS_BULLETIN, c.bulletin);
            dialog.CheckDlgButton(IDC_SETTINGS_NO_UPLOAD, c.noUpload ? BST_CHECKED : BST_UNCHECKED);
            dialog.SendMessage(WM_COMMAND, IDOK);
        });
        const auto frames = host.SentFrames(CMD_MEETING_STATE);
        EXPECT_EQ(c.sent ? 1u : 0u, frames.size()) << c.name;
        EXPECT_STREQ(c.stored, fake.state.bulletin) << c.name;
        EXPECT_EQ(c.noUpload ? 1u : 0u, fake.state.noFileTransfer) << c.name;
    }
}

TEST_F(VotePane, AVoteStartedByTheHostReachesTheOther)
{
    CMeetingClient alice{server};
    ASSERT_TRUE(alice.Login("alice", "a"));
    host.client.users.SetControlState(self, 2);
    CDlgStartVote dialog(fake.state, "host", &host.client.manager);
    CTestKit::RunModal(dialog, [&](CDialog&) {
        dialog.SetDlgItemText(IDC_START_TITLE, "Agenda");
        dialog.SetDlgItemText(IDC_START_ITEM, "yes");
        dialog.OnAdd();
        dialog.OnOK();
    });
    std::vector<uint8_t> m;
    ASSERT_TRUE(alice.client.WaitFor(CMD_MEETING_STATE_ALL, m));
    CFakeHost aliceHost;
    ASSERT_TRUE(CMeetingState::Read(m.data(), m.size(), aliceHost.state));
    CDlgVoteList aliceVotes(alice.Context(&aliceHost));
    ASSERT_TRUE(aliceVotes.CreatePane(&parent));
    aliceVotes.Refresh();
    EXPECT_EQ("A:0人次,yes", Text(aliceVotes.GetDlgItem(IDC_VOTE_LABEL_A)));
    aliceVotes.DestroyWindow();
}
