#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

#include "CUserTable.h"

TEST(UserTableTest, NewParticipantsGetDefaultRightsAndDuplicatesKeepTheFirst)
{
    CUserTable table;
    table.AddUser(7, "alice", 2);
    table.AddUser(7, "alice-again", 1);
    ASSERT_EQ(table.GetCount(), 2);
    USER_INFO user;
    ASSERT_TRUE(table.GetUser(7, &user));
    EXPECT_STREQ(user.name, "alice");
    EXPECT_EQ(user.role, 2);
    EXPECT_EQ(user.allowRecord, 1);
    EXPECT_EQ(user.allowTextChat, 1);
    EXPECT_EQ(user.allowWhiteboard, 0);
    EXPECT_EQ(user.allowFileUpload, 0);
    EXPECT_EQ(user.speakState + user.controlState + user.videoState + user.broadcastFlag, 0);

    table.RemoveUser(7);
    ASSERT_TRUE(table.GetUser(7, &user));
    EXPECT_STREQ(user.name, "alice-again");
    table.RemoveUser(7);
    EXPECT_FALSE(table.GetUser(7, &user));
    EXPECT_EQ(table.GetCount(), 0);
}

TEST(UserTableTest, LoginEntriesCarryEveryByteAndALongNameIsEnded)
{
    WIRE_USER_INFO entry;
    memset(&entry, 'x', sizeof entry); // a name without terminator
    entry.userId = 42;
    entry.role = 1;
    entry.speakState = 2;
    entry.controlState = 2;
    entry.hasAudio = 1;
    entry.hasVideo = 0;
    entry.deviceFlagA = 3;
    entry.deviceFlagB = 1;
    entry.allowWhiteboard = 1;
    entry.allowRecord = 0;
    entry.allowTextChat = 0;
    entry.allowFileUpload = 1;
    CUserTable table;
    table.AddWireUser(&entry);
    USER_INFO user;
    ASSERT_TRUE(table.GetUser(42, &user));
    EXPECT_EQ(strlen(user.name), 21u);
    EXPECT_EQ(user.role, 1);
    EXPECT_EQ(user.speakState, 2);
    EXPECT_EQ(user.controlState, 2);
    EXPECT_EQ(user.hasAudio, 1);
    EXPECT_EQ(user.hasVideo, 0);
    EXPECT_EQ(table.GetDeviceFlagA(42), 3);
    EXPECT_EQ(table.GetDeviceFlagB(42), 1);
    EXPECT_EQ(user.allowWhiteboard, 1);
    EXPECT_EQ(user.allowRecord, 0);
    EXPECT_EQ(user.allowTextChat, 0);
    EXPECT_EQ(user.allowFileUpload, 1);
    EXPECT_EQ(user.videoState + user.broadcastFlag + user.reserved, 0);
    uint32_t chair = 0;
    EXPECT_TRUE(table.GetChairId(&chair));
    EXPECT_EQ(chair, 42u);
}

TEST(UserTableTest, IndexesSettersAndUnknownIds)
{
    CUserTable table;
    table.AddUser(1, "a", 2);
    table.AddUser(2, "b", 2);
    USER_INFO user;
    EXPECT_TRUE(table.GetUserAt(1, &user));
    EXPECT_EQ(user.userId, 2u);
    EXPECT_FALSE(table.GetUserAt(2, &user));
    EXPECT_FALSE(table.GetUserAt(-1, &user));

    uint32_t chair = 0;
    EXPECT_FALSE(table.GetChairId(&chair));
    table.SetControlState(2, 2);
    EXPECT_TRUE(table.GetChairId(&chair));
    EXPECT_EQ(chair, 2u);

    table.SetSpeakState(99, 2); // unknown: nothing changes
    table.SetVideoState(1, 2);
    table.SetBroadcastFlag(1, 1);
    table.SetFlag31(1, 4);
    uint8_t state = 0;
    EXPECT_TRUE(table.GetVideoState(1, &state));
    EXPECT_EQ(state, 2);
    EXPECT_EQ(table.GetBroadcastFlag(1), 1);
    EXPECT_EQ(table.GetDeviceFlagA(1), 4);
    EXPECT_FALSE(table.GetSpeakState(99, &state));
    EXPECT_EQ(table.HasVideo(99), 0);
    char name[24];
    EXPECT_TRUE(table.GetUserName(2, name));
    EXPECT_STREQ(name, "b");
    EXPECT_FALSE(table.GetUserName(99, name));
}

namespace {

struct Churn
{
    CUserTable* table;
    volatile LONG stop;
};

// Joins and leaves, as the command stream brings them, while another
// thread reads the table.
DWORD WINAPI ChurnUsers(void* arg)
{
    Churn* c = static_cast<Churn*>(arg);
    for (uint32_t i = 0; !c->stop; ++i) {
        const uint32_t id = 100 + i % 8;
        char name[24];
        snprintf(name, sizeof name, "user%u", id);
        c->table->AddUser(id, name, 0);
        c->table->SetSpeakState(id, 2);
        c->table->RemoveUser(id);
    }
    return 0;
}

} // namespace

TEST(UserTableTest, ReadersSeeWholeRecordsWhileOthersJoinAndLeave)
{
    CUserTable table;
    table.AddUser(1, "user1", 1);
    Churn churn{&table, 0};
    HANDLE writer = CreateThread(nullptr, 0, &ChurnUsers, &churn, 0, nullptr);
    ASSERT_NE(nullptr, writer);
    int torn = 0;
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < 400 && torn == 0) {
        for (int n = 0; n < 1000; ++n) {
            USER_INFO user;
            const int count = table.GetCount();
            for (int index = count - 1; index >= 0; --index) {
                if (!table.GetUserAt(index, &user))
                    continue;
                char expected[24];
                snprintf(expected, sizeof expected, "user%u", user.userId);
                if (strncmp(user.name, expected, sizeof user.name) != 0)
                    ++torn;
            }
            char name[24];
            const uint32_t id = 100 + n % 8;
            if (table.GetUserName(id, name) && strncmp(name, "user", 4) != 0)
                ++torn;
        }
    }
    churn.stop = 1;
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(writer, 5000));
    CloseHandle(writer);
    EXPECT_EQ(0, torn);
}
