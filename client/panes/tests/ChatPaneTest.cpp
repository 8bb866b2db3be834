#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "CDlgChat.h"
#include "CTestKit.h"
#include "ChatMessage.h"
#include "PaneTestKit.h"
#include "PanesResource.h"

using namespace panetest;

namespace {

std::string WindowText(CWnd& wnd)
{
    // Rich-edit controls count characters, not bytes, in their text length:
    // their text is read whole into a buffer large enough for any of it.
    std::vector<char> buffer(256 * 1024, 0);
    GETTEXTEX get = {};
    get.cb = static_cast<DWORD>(buffer.size());
    get.flags = GT_DEFAULT;
    get.codepage = CP_ACP;
    char cls[32] = {};
    ::GetClassNameA(wnd.GetSafeHwnd(), cls, sizeof cls);
    if (_strnicmp(cls, "RichEdit", 8) == 0)
        wnd.SendMessage(EM_GETTEXTEX, reinterpret_cast<WPARAM>(&get),
                        reinterpret_cast<LPARAM>(buffer.data()));
    else
        ::GetWindowTextA(wnd.GetSafeHwnd(), buffer.data(), static_cast<int>(buffer.size()));
    std::string s(buffer.data());
    // The history ends its paragraphs with CR alone; lines are compared
    // with the CR LF they were inserted with.
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\r' && (i + 1 >= s.size() || s[i + 1] != '\n'))
            out += "\r\n";
        else
            out += s[i];
    }
    return out;
}

// The chat head of a 2088 frame and its payload.
struct ChatFrame
{
    uint32_t recipient = 0, sender = 0, colour = 0;
    std::vector<uint8_t> payload;
};

ChatFrame ReadChat(const std::vector<uint8_t>& m)
{
    ChatFrame f;
    f.recipient = ReadU32(m, 4);
    f.sender = ReadU32(m, 8);
    f.colour = ReadU32(m, 12);
    const uint16_t length = ReadU16(m, 16);
    if (m.size() >= 20u + length)
        f.payload.assign(m.begin() + 20, m.begin() + 20 + length);
    return f;
}

class ChatPane : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(StartWinsockOnce());
        ASSERT_TRUE(server.Start(0));
        ASSERT_TRUE(host.Login("host", "pw"));
        ASSERT_TRUE(parent.CreateTop());
        self = host.client.login.userId;
        host.client.users.AddUser(501, "alice", 2);
        host.client.users.AddUser(502, "bob", 2);
        chat.reset(new CDlgChat(host.Context(&fake)));
        ASSERT_TRUE(chat->CreatePane(&parent));
        ASSERT_TRUE(chat->GetHistory().GetSafeHwnd());
        chat->MoveWindow(0, 0, 780, 400);
        chat->ShowWindow(SW_SHOW);
        CTestKit::PumpPending();
        host.ClearSent();
    }
    void TearDown() override
    {
        if (chat && chat->GetSafeHwnd())
            chat->DestroyWindow();
        chat.reset();
        parent.DestroyWindow();
        CTestKit::PumpPending();
    }

    void Type(const std::string& text)
    {
        chat->GetDlgItem(IDC_CHAT_INPUT)->SetWindowText(text.c_str());
    }
    std::string Input() { return WindowText(*chat->GetDlgItem(IDC_CHAT_INPUT)); }
    std::string History() { return WindowText(chat->GetHistory()); }
    void Choose(uint32_t userId)
    {
        CComboBox& box = chat->GetRecipients();
        for (int i = 0; i < box.GetCount(); ++i)
            if (box.GetItemData(i) == userId)
                box.SetCurSel(i);
    }

    CStandInServer server{StandInTestConfig()};
    CMeetingClient host{server};
    CFakeHost fake;
    CParentWnd parent;
    std::unique_ptr<CDlgChat> chat;
    uint32_t self = 0;
};

} // namespace

TEST(ChatMessage, PayloadBytesAndTheirReading)
{
    CHAT_LINE line;
    line.privateFlag = 1;
    line.face = "宋体";
    line.fontSize = 14;
    line.text = "hi";
    const std::vector<uint8_t> payload = CChatMessage::Build(line);
    Bytes expected;
    expected.U32(1).Text("宋体", 4).Zeros(8).U32(14).Text("hi", 3);
    EXPECT_EQ(expected.data, payload);

    struct Case
    {
        const char* name;
        std::vector<uint8_t> payload;
        bool ok;
        std::string face, text;
        uint32_t size;
    };
    std::vector<uint8_t> unterminated = payload;
    memset(unterminated.data() + 4, 'F', 12); // face without terminator
    unterminated.pop_back();                  // text without terminator
    std::vector<uint8_t> big = payload;
    big[16] = 0xFF;
    big[17] = 0xFF;
    std::vector<uint8_t> tiny = payload;
    tiny[16] = 1;
    const Case cases[] = {
        {"as built", payload, true, "宋体", "hi", 14},
        {"face and text unterminated", unterminated, true, "FFFFFFFFFFF", "hi", 14},
        {"huge size", big, true, "宋体", "hi", 72},
        {"tiny size", tiny, true, "宋体", "hi", 6},
        {"head only", std::vector<uint8_t>(payload.begin(), payload.begin() + 20), false, "", "",
         0},
    };
    for (const Case& c : cases) {
        CHAT_LINE out;
        EXPECT_EQ(c.ok, CChatMessage::Parse(c.payload.data(), c.payload.size(), out)) << c.name;
        if (!c.ok)
            continue;
        EXPECT_EQ(c.face, out.face) << c.name;
        EXPECT_EQ(c.text, out.text) << c.name;
        EXPECT_EQ(c.size, out.fontSize) << c.name;
    }
    // A face of 12 bytes or more is cut to 11, never through a character.
    EXPECT_EQ("abcdefghijk", CChatMessage::FitFace("abcdefghijklmn"));
    EXPECT_EQ("abcde宋体宋", CChatMessage::FitFace("abcde宋体宋体"));
    EXPECT_EQ("abcd宋体宋", CChatMessage::FitFace("abcd宋体宋体"));
    EXPECT_EQ("abcdefghij", CChatMessage::FitFace("abcdefghij宋"));
}

TEST_F(ChatPane, OwnLineGoesOutWithItsExactBytesAndShowsAtOnce)
{
    Type("hello");
    chat->OnSend();
    const auto frames = host.SentFrames(CMD_CHAT);
    ASSERT_EQ(1u, frames.size());
    Bytes expected;
    expected.U16(CMD_CHAT).Zeros(2).U32(0).U32(self).U32(0).U16(26).Zeros(2);
    expected.U32(0).Text("宋体", 4).Zeros(8).U32(10).Text("hello", 6);
    EXPECT_EQ(expected.data, frames[0]);
    EXPECT_EQ("你 对 所有人 说:  hello\r\n", History());
    EXPECT_EQ("", Input());

    // The line is shown in its face, size and colour.
    CRichEditCtrl& history = chat->GetHistory();
    history.SetSel(2, 3);
    CHARFORMATA format = {};
    history.GetSelectionCharFormat(format);
    EXPECT_EQ(200, format.yHeight);
    EXPECT_STREQ("宋体", format.szFaceName);
    EXPECT_EQ(0u, format.crTextColor);
    EXPECT_EQ(0u, format.dwEffects & (CFE_BOLD | CFE_UNDERLINE));
}

TEST_F(ChatPane, PrivateLineCarriesRecipientFaceSizeAndColour)
{
    Choose(502);
    static_cast<CComboBox*>(chat->GetDlgItem(IDC_CHAT_FACE))->SetCurSel(1);
    static_cast<CComboBox*>(chat->GetDlgItem(IDC_CHAT_SIZE))->SetCurSel(4);
    static_cast<CColorPaletteButton*>(
        CWnd::FromHandlePermanent(chat->GetDlgItem(IDC_CHAT_COLOUR)->GetSafeHwnd()))
        ->SetColor(RGB(200, 10, 20));
    chat->CheckDlgButton(IDC_CHAT_WHISPER, BST_CHECKED);
    Type("secret");
    chat->OnSend();
    const auto frames = host.SentFrames(CMD_CHAT);
    ASSERT_EQ(1u, frames.size());
    const ChatFrame f = ReadChat(frames[0]);
    EXPECT_EQ(502u, f.recipient);
    EXPECT_EQ(static_cast<uint32_t>(RGB(200, 10, 20)), f.colour);
    CHAT_LINE line;
    ASSERT_TRUE(CChatMessage::Parse(f.payload.data(), f.payload.size(), line));
    EXPECT_EQ(1u, line.privateFlag);
    EXPECT_EQ("隶书", line.face);
    EXPECT_EQ(20u, line.fontSize);
    EXPECT_EQ("你 对 bob 说:  secret\r\n", History());
    CRichEditCtrl& history = chat->GetHistory();
    history.SetSel(2, 3);
    CHARFORMATA format = {};
    history.GetSelectionCharFormat(format);
    EXPECT_EQ(400, format.yHeight);
    EXPECT_EQ(static_cast<COLORREF>(RGB(200, 10, 20)), format.crTextColor);
}

TEST_F(ChatPane, TextOf2043BytesIsSentAnd2044Refused)
{
    CTestKit::MessageBoxes boxes;
    Type(std::string(2043, 'x'));
    chat->OnSend();
    EXPECT_TRUE(boxes.Shown().empty());
    Type(std::string(2044, 'y'));
    chat->OnSend();
    ASSERT_EQ(1u, boxes.Shown().size());
    EXPECT_EQ("发言字数太长！", boxes.Shown()[0].text);
    EXPECT_EQ(std::string(2044, 'y'), Input());
    const auto frames = host.SentFrames(CMD_CHAT);
    ASSERT_EQ(1u, frames.size());
    EXPECT_EQ(20u + 21u + 2043u, frames[0].size());
}

TEST_F(ChatPane, RefusalsSendNothing)
{
    struct Case
    {
        const char* name;
        uint8_t chatRight;
        uint32_t privateForbidden;
        uint32_t recipient;
        const char* message; // null: sent
        bool backToEveryone;
    };
    const Case cases[] = {
        {"chat right withdrawn, to everybody", 0, 0, 0, "主持人禁止了你的发言!", false},
        {"chat right withdrawn, private", 0, 0, 501, "主持人禁止了你的发言!", false},
        {"private chat forbidden, private", 1, 1, 501, "系统禁止私聊!", true},
        {"private chat forbidden, to everybody", 1, 1, 0, nullptr, false},
        {"allowed private", 1, 0, 501, nullptr, false},
    };
    for (const Case& c : cases) {
        CTestKit::MessageBoxes boxes;
        host.ClearSent();
        host.client.users.SetAllowTextChat(self, c.chatRight);
        fake.state.noPrivateChat = c.privateForbidden;
        Choose(c.recipient);
        Type("text");
        chat->OnSend();
        const size_t sent = host.SentFrames(CMD_CHAT).size();
        if (c.message) {
            EXPECT_EQ(0u, sent) << c.name;
            ASSERT_EQ(1u, boxes.Shown().size()) << c.name;
            EXPECT_EQ(c.message, boxes.Shown()[0].text) << c.name;
            EXPECT_EQ(c.backToEveryone ? 0 : chat->GetRecipients().GetCurSel(),
                      chat->GetRecipients().GetCurSel())
                << c.name;
            if (c.backToEveryone)
                EXPECT_EQ(0, chat->GetRecipients().GetCurSel()) << c.name;
        } else {
            EXPECT_EQ(1u, sent) << c.name;
            EXPECT_TRUE(boxes.Shown().empty()) << c.name;
        }
    }
    // An empty input sends nothing and shows nothing.
    host.ClearSent();
    Type("");
    chat->OnSend();
    EXPECT_EQ(0u, host.SentFrames(CMD_CHAT).size());
}

TEST_F(ChatPane, ReceivedLinesNameSenderAndRecipient)
{
    CHAT_LINE line;
    line.face = "幼圆";
    line.fontSize = 16;
    line.text = "hi";
    const std::vector<uint8_t> payload = CChatMessage::Build(line);
    const char* p = reinterpret_cast<const char*>(payload.data());
    struct Case
    {
        const char* name;
        uint32_t recipient, sender;
        const char* shown; // null: dropped
    };
    const Case cases[] = {
        {"to everybody", 0, 501, "alice 对 所有人 说:  hi\r\n"},
        {"to the own user", self, 502, "bob 对 host 说:  hi\r\n"},
        {"to another", 502, 501, "alice 对 bob 说:  hi\r\n"},
        {"unknown sender", 0, 999, nullptr},
        {"unknown recipient", 998, 501, nullptr},
    };
    for (const Case& c : cases) {
        chat->GetHistory().SetWindowText("");
        chat->OnChatReceived(c.recipient, c.sender, RGB(0, 128, 0), p, payload.size());
        EXPECT_EQ(c.shown ? c.shown : "", History()) << c.name;
    }
    chat->OnChatReceived(0, 501, RGB(0, 128, 0), p, payload.size());
    chat->GetHistory().SetSel(0, 1);
    CHARFORMATA format = {};
    chat->GetHistory().GetSelectionCharFormat(format);
    EXPECT_EQ(320, format.yHeight);
    EXPECT_STREQ("幼圆", format.szFaceName);
    EXPECT_EQ(static_cast<COLORREF>(RGB(0, 128, 0)), format.crTextColor);

    // A payload too short for its head is dropped.
    chat->GetHistory().SetWindowText("");
    chat->OnChatReceived(0, 501, 0, p, 20);
    EXPECT_EQ("", History());
}

TEST_F(ChatPane, RecipientListFollowsJoinsAndQuits)
{
    CComboBox& box = chat->GetRecipients();
    ASSERT_EQ(3, box.GetCount());
    CString name;
    box.GetLBText(0, name);
    EXPECT_STREQ("所有人", name);
    EXPECT_EQ(0u, box.GetItemData(0));

    host.client.users.AddUser(503, "carol", 4);
    host.client.users.AddUser(504, "tavqe", 2);
    chat->AddRecipient(503);
    chat->AddRecipient(504);
    chat->AddRecipient(505); // unknown
    ASSERT_EQ(4, box.GetCount());
    EXPECT_EQ(503u, box.GetItemData(3));

    Choose(503);
    chat->RemoveRecipient(503);
    EXPECT_EQ(3, box.GetCount());
    EXPECT_EQ(0, box.GetCurSel());

    chat->SelectRecipient(502);
    EXPECT_EQ(502u, box.GetItemData(box.GetCurSel()));
    chat->SelectEveryone();
    EXPECT_EQ(0, box.GetCurSel());
}

TEST_F(ChatPane, EveryShownLineReachesTheRecorderOnceWhileRecording)
{
    CHAT_LINE line;
    line.face = "宋体";
    line.fontSize = 10;
    line.text = "in";
    const std::vector<uint8_t> payload = CChatMessage::Build(line);
    Type("before");
    chat->OnSend();
    EXPECT_TRUE(fake.recorded.empty());

    fake.recording = true;
    Type("out");
    chat->OnSend();
    chat->OnChatReceived(0, 501, 0, reinterpret_cast<const char*>(payload.data()), payload.size());
    chat->OnChatReceived(0, 999, 0, reinterpret_cast<const char*>(payload.data()), payload.size());
    chat->AddNotice("notice");
    const std::vector<std::string> expected = {"你 对 所有人 说:  out\r\n",
                                               "alice 对 所有人 说:  in\r\n"};
    EXPECT_EQ(expected, fake.recorded);
    EXPECT_EQ("notice\r\n", WindowText(chat->GetNotices()));
    CHARFORMATA format = {};
    chat->GetNotices().SetSel(0, 1);
    chat->GetNotices().GetSelectionCharFormat(format);
    EXPECT_EQ(static_cast<COLORREF>(0xFF0000), format.crTextColor);
}

TEST_F(ChatPane, StatusLineShowsBitRateAndProcessorLoad)
{
    fake.bitRate = 384;
    chat->SetCpuUsage(37);
    EXPECT_EQ("系统码流:384kbps, 当前系统cpu:37%", chat->GetStatusText());
    EXPECT_EQ(chat->GetStatusText(), WindowText(*chat->GetDlgItem(IDC_CHAT_STATUS)));
}

TEST_F(ChatPane, LinesTravelToTheOtherClientPublicAndPrivate)
{
    CMeetingClient alice{server};
    ASSERT_TRUE(alice.Login("alice", "a"));
    const uint32_t aliceId = alice.client.login.userId;
    // Each side knows the other as the dispatcher's join handling would.
    host.client.users.AddUser(aliceId, "alice", 2);
    chat->AddRecipient(aliceId);
    CFakeHost aliceHost;
    CDlgChat aliceChat(alice.Context(&aliceHost));
    ASSERT_TRUE(aliceChat.CreatePane(&parent));
    if (!alice.client.users.FindUser(self))
        alice.client.users.AddUser(self, "host", 1);

    auto deliver = [&](const char* what) {
        std::vector<uint8_t> m;
        ASSERT_TRUE(alice.client.WaitFor(CMD_CHAT, m)) << what;
        const ChatFrame f = ReadChat(m);
        std::vector<char> copy(f.payload.begin(), f.payload.end());
        copy.push_back(0);
        aliceChat.OnChatReceived(f.recipient, f.sender, f.colour, copy.data(), f.payload.size());
    };
    Type("to all");
    chat->OnSend();
    deliver("public line");
    Choose(aliceId);
    Type("to alice");
    chat->OnSend();
    deliver("private line");
    EXPECT_EQ("host 对 所有人 说:  to all\r\nhost 对 alice 说:  to alice\r\n",
              WindowText(aliceChat.GetHistory()));
    aliceChat.DestroyWindow();
}
