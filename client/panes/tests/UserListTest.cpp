#include <gtest/gtest.h>

#include <string>

#include "CTestKit.h"
#include "CUserListBox.h"
#include "PaneTestKit.h"
#include "PanesResource.h"

using namespace panetest;

namespace {

void CALLBACK EndMenuSoon(HWND, UINT, UINT_PTR id, DWORD)
{
    ::KillTimer(NULL, id);
    ::EndMenu();
}

class UserList : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(StartWinsockOnce());
        ASSERT_TRUE(server.Start(0));
        ASSERT_TRUE(host.Login("host", "pw"));
        self = host.client.login.userId;
        ASSERT_TRUE(parent.CreateTop(300, 400));
        list.reset(new CUserListBox(host.Context(&fake)));
        ASSERT_TRUE(list->CreateList(&parent, CRect(0, 0, 200, 300), IDC_USER_LIST));
        host.ClearSent();
    }
    void TearDown() override
    {
        list->DestroyWindow();
        parent.DestroyWindow();
        CTestKit::PumpPending();
    }

    USER_INFO& Add(uint32_t id, const char* name, uint8_t role)
    {
        host.client.users.AddUser(id, name, role);
        return *host.client.users.FindUser(id);
    }
    std::vector<uint32_t> Rows()
    {
        std::vector<uint32_t> rows;
        for (int i = 0; i < list->GetCount(); ++i)
            rows.push_back(static_cast<uint32_t>(list->GetItemData(i)));
        return rows;
    }

    CStandInServer server{StandInTestConfig()};
    CMeetingClient host{server};
    CFakeHost fake;
    CParentWnd parent;
    std::unique_ptr<CUserListBox> list;
    uint32_t self = 0;
};

} // namespace

TEST_F(UserList, OwnRowFirstThenByRoleInOrderOfArrival)
{
    Add(601, "two-a", 2);
    Add(602, "one", 1);
    Add(603, "two-b", 2);
    Add(604, "tavqe", 1);
    Add(605, "four", 4);
    Add(606, "three", 3);
    for (uint32_t id : {601u, 602u, 603u, 604u, self, 605u, 606u, 999u})
        list->AddUser(id);
    EXPECT_EQ((std::vector<uint32_t>{self, 602, 601, 603, 606, 605}), Rows());

    list->RemoveUser(601);
    list->RemoveUser(999);
    EXPECT_EQ((std::vector<uint32_t>{self, 602, 603, 606, 605}), Rows());
    // A row whose participant left stops the search: a newcomer goes there.
    host.client.users.RemoveUser(603);
    Add(607, "five", 5);
    list->AddUser(607);
    EXPECT_EQ((std::vector<uint32_t>{self, 602, 607, 603, 606, 605}), Rows());
}

TEST_F(UserList, HostMenuChecksAndGreysFollowTheParticipant)
{
    const UINT items[] = {ID_MENU_SPEAK,       ID_MENU_BROADCAST,    ID_MENU_CONTROL,
                          ID_MENU_ALLOW_BOARD, ID_MENU_ALLOW_RECORD, ID_MENU_ALLOW_UPLOAD,
                          ID_MENU_ALLOW_CHAT,  ID_MENU_SEND_MESSAGE, ID_MENU_SEND_FILE,
                          ID_MENU_MAKE_HOST,   ID_MENU_UNMAKE_HOST,  ID_MENU_KICK};
    struct Case
    {
        const char* name;
        uint8_t role, hasAudio, hasVideo, speak, control, broadcast, board, record, upload, chat;
        bool self;
        const char* checked; // one letter per item: x checked, . not
        const char* greyed;  // g greyed, . enabled
    };
    const Case cases[] = {
        {"plain participant", 2, 1, 1, 0, 0, 0, 0, 1, 0, 1, false, "....x.x.....", "..........g."},
        {"speaking, broadcast", 2, 1, 1, 2, 0, 1, 1, 0, 1, 0, false, "xx.x.x......",
         "..........g."},
        {"no devices", 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, false, "............", "gg........g."},
        {"holds the control", 2, 1, 1, 0, 2, 0, 0, 0, 0, 0, false, "..xxxxx.....", "...gggg...g."},
        {"role 4", 4, 1, 1, 0, 0, 0, 0, 0, 0, 0, false, "............", "..g.......g."},
        {"another host", 1, 1, 1, 0, 0, 0, 0, 0, 0, 0, false, "............", ".........g.."},
        {"the own row", 1, 1, 1, 0, 0, 0, 0, 1, 0, 1, true, "....x.x.....", ".......ggggg"},
    };
    HMENU menu = list->GetHostMenu();
    ASSERT_TRUE(menu);
    for (const Case& c : cases) {
        USER_INFO u = {};
        u.role = c.role;
        u.hasAudio = c.hasAudio;
        u.hasVideo = c.hasVideo;
        u.speakState = c.speak;
        u.controlState = c.control;
        u.broadcastFlag = c.broadcast;
        u.allowWhiteboard = c.board;
        u.allowRecord = c.record;
        u.allowFileUpload = c.upload;
        u.allowTextChat = c.chat;
        CUserListBox::ApplyMenuStates(menu, u, c.self);
        std::string checked, greyed;
        for (UINT item : items) {
            const UINT state = ::GetMenuState(menu, item, MF_BYCOMMAND);
            checked += (state & MF_CHECKED) ? 'x' : '.';
            greyed += (state & MF_GRAYED) ? 'g' : '.';
        }
        EXPECT_EQ(c.checked, checked) << c.name;
        EXPECT_EQ(c.greyed, greyed) << c.name;
    }
}

TEST_F(UserList, MenuCommandsSendTheirCommands)
{
    USER_INFO& bob = Add(701, "bob", 2);
    bob.hasAudio = 1;
    bob.hasVideo = 1;
    bob.speakState = 2;
    bob.allowRecord = 1;
    bob.allowTextChat = 1;
    USER_INFO& mute = Add(702, "mute", 3);
    mute.hasAudio = 1;
    mute.hasVideo = 0;
    struct Case
    {
        const char* name;
        uint32_t user;
        UINT command;
        uint16_t code; // 0: nothing is sent
        uint8_t value;
    };
    const Case cases[] = {
        {"withdraw speech", 701, ID_MENU_SPEAK, 2056, 0},
        {"broadcast on", 701, ID_MENU_BROADCAST, 2058, 1},
        {"give control", 701, ID_MENU_CONTROL, 2061, 1},
        {"board right on", 701, ID_MENU_ALLOW_BOARD, 4359, 1},
        {"record right off", 701, ID_MENU_ALLOW_RECORD, 4360, 0},
        {"upload right on", 701, ID_MENU_ALLOW_UPLOAD, 4368, 1},
        {"chat right off", 701, ID_MENU_ALLOW_CHAT, 4361, 0},
        {"temporary host", 701, ID_MENU_MAKE_HOST, 2111, 1},
        {"no longer host", 701, ID_MENU_UNMAKE_HOST, 2111, 2},
        {"role 3 gets no speech", 702, ID_MENU_SPEAK, 0, 0},
        {"no video, no broadcast", 702, ID_MENU_BROADCAST, 0, 0},
        {"role 3 gets no control", 702, ID_MENU_CONTROL, 0, 0},
        {"left meanwhile", 799, ID_MENU_SPEAK, 0, 0},
    };
    for (const Case& c : cases) {
        host.ClearSent();
        list->SetMenuUser(c.user);
        list->RunMenuCommand(c.command);
        const uint16_t code = c.code ? c.code : 2056;
        const auto frames = host.SentFrames(c.code ? c.code : 0);
        if (!c.code) {
            for (uint16_t any : {2056, 2058, 2061})
                EXPECT_TRUE(host.SentFrames(any).empty()) << c.name;
            continue;
        }
        ASSERT_EQ(1u, frames.size()) << c.name;
        Bytes expected;
        expected.U16(code).Zeros(2).U32(c.user).U8(c.value).Zeros(3);
        EXPECT_EQ(expected.data, frames[0]) << c.name;
    }

    host.ClearSent();
    list->SetMenuUser(701);
    list->RunMenuCommand(ID_MENU_KICK);
    auto kicks = host.SentFrames(2055);
    ASSERT_EQ(1u, kicks.size());
    EXPECT_EQ(10u, ReadU16(kicks[0], 8));
    list->SetMenuUser(self);
    list->RunMenuCommand(ID_MENU_KICK);
    EXPECT_EQ(1u, host.SentFrames(2055).size());

    list->SetMenuUser(701);
    list->RunMenuCommand(ID_MENU_SEND_MESSAGE);
    list->RunMenuCommand(ID_MENU_SEND_FILE);
    EXPECT_EQ((std::vector<std::string>{"SelectChatRecipient 701", "StartFileSend 701"}),
              fake.calls);
}

// The chair's video device commands: the own line switches the own device,
// another participant's goes to the server; the remote settings of anyone.
TEST_F(UserList, VideoDeviceAndRemoteSettingsCommands)
{
    Add(701, "bob", 2);
    ASSERT_NE(nullptr, host.client.users.FindUser(self));
    struct Case
    {
        const char* name;
        uint8_t ownRole;
        uint32_t user;
        UINT command;
        const char* hostCall; // "": none
        int device;           // the index sent in 2105; -1: nothing sent
    };
    const Case cases[] = {
        {"own line, first device", 1, 0, ID_MENU_VIDEO_FIRST, "SelectOwnVideoDevice 0", -1},
        {"own line, last device", 1, 0, ID_MENU_VIDEO_FIRST + 19, "SelectOwnVideoDevice 19", -1},
        {"another's line", 1, 701, ID_MENU_VIDEO_FIRST + 2, "", 2},
        {"another's line, last", 1, 701, ID_MENU_VIDEO_FIRST + 19, "", 19},
        {"not the chair", 2, 701, ID_MENU_VIDEO_FIRST + 2, "", -1},
        {"not the chair, own line", 2, 0, ID_MENU_VIDEO_FIRST, "", -1},
        {"left meanwhile", 1, 799, ID_MENU_VIDEO_FIRST, "", -1},
        {"remote settings", 2, 701, ID_MENU_REMOTE_SETTINGS, "ShowRemoteSettings 701", -1},
    };
    for (const Case& c : cases) {
        host.client.users.FindUser(self)->role = c.ownRole;
        fake.calls.clear();
        host.ClearSent();
        list->SetMenuUser(c.user ? c.user : self);
        list->RunMenuCommand(c.command);
        const std::vector<std::string> expected =
            *c.hostCall ? std::vector<std::string>{c.hostCall} : std::vector<std::string>{};
        EXPECT_EQ(expected, fake.calls) << c.name;
        const auto frames = host.SentFrames(2105);
        if (c.device < 0) {
            EXPECT_TRUE(frames.empty()) << c.name;
            continue;
        }
        ASSERT_EQ(1u, frames.size()) << c.name;
        Bytes sent;
        sent.U16(2105).Zeros(2).U32(c.user).U8((uint8_t)c.device).Zeros(3);
        EXPECT_EQ(sent.data, frames[0]) << c.name;
    }
    host.client.users.FindUser(self)->role = 1;
}

TEST_F(UserList, HostMenuOpensOnlyForTheHostOnAKnownRow)
{
    Add(801, "bob", 2);
    list->AddUser(self);
    list->AddUser(801);
    CTestKit::PumpPending();
    // The menu is tracked modally; a timer ends it at once.
    auto openAt = [&](int row) {
        list->SetMenuUser(0);
        ::SetTimer(NULL, 0, 300, EndMenuSoon);
        list->OpenHostMenu(CPoint(20, row * CUserListBox::ITEM_HEIGHT + 5));
        return list->GetMenuUser();
    };
    EXPECT_EQ(801u, openAt(1));
    EXPECT_EQ(0u, openAt(4)); // no row there
    host.client.users.SetRole(self, 2);
    host.client.login.role = 2;
    EXPECT_EQ(0u, openAt(1));
}
