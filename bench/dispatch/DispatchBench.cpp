// The dispatcher's cost per message kind, and a 2085 run of 1000 whiteboard
// records with a recording running. The reference beside each figure is a
// plain copy of the same message (for the kinds) and a plain walk over the
// same records (for the run), made in the same process.
#include <winsock2.h>
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "CServerDispatcher.h"
#include "CUserTable.h"
#include "IChatPane.h"
#include "ILeftPane.h"
#include "IMainWindow.h"
#include "IRecorder.h"
#include "IVideoWall.h"
#include "IWhiteboard.h"
#include "ServerWire.h"
#include "WireWriter.h"

namespace {

typedef std::vector<uint8_t> Bytes;

// Panes that take each call and do nothing with it; the whiteboard consumes
// the length its record's second byte names, the recorder adds up its bytes.
class Sinks : public IMainWindow,
              public ILeftPane,
              public IChatPane,
              public IVideoWall,
              public IRecorder,
              public IWhiteboard
{
public:
    void SetParticipantCount(int) override {}
    void SetMeetingModeText(uint8_t) override {}
    void BuildTitle() override {}
    void ReplaceMeetingState(const void* r, size_t n) override { memcpy(state, r, n); }
    void TakeLayoutControl() override {}
    void DropLayoutControl() override {}
    void ApplyWindowLayout(const void*, size_t) override {}
    void EnableArrowBar(bool) override {}
    void ShowMessage(const char*) override {}
    int AskQuestion(const char*) override { return 1; }
    void PostClose() override {}
    void AddUser(uint32_t) override {}
    void RemoveUser(uint32_t) override {}
    void RefreshUser(uint32_t) override {}
    void ShowOwnSpeakState(uint8_t) override {}
    void ShowOwnControlState(uint8_t) override {}
    void ShowBroadcastState() override {}
    void AddSystemNotice(const char*) override {}
    void AddRecipient(uint32_t) override {}
    void RemoveRecipient(uint32_t) override {}
    void SelectEveryone() override {}
    void OnChatReceived(uint32_t, uint32_t, uint32_t, const char*, size_t n) override
    {
        chars += n;
    }
    void RemoveUserWindow(uint32_t) override {}
    int AddUserVideo(const char*, uint32_t) override { return 1; }
    void SetUserVideoTarget(uint32_t, uint16_t) override {}
    void DropNonBroadcastVideos() override {}
    bool IsRecording() override { return true; }
    void WriteChatData(const char*, uint32_t) override {}
    void WriteBoardData(const void*, size_t n) override { recorded += n; }
    void AddAudio(uint32_t) override {}
    void DelAudio(uint32_t) override {}
    size_t OnPeerData(const unsigned char* d, size_t n) override { return n >= 2 ? d[1] : n; }
    void SetEditRight(bool) override {}
    void SendPageSync() override {}

    unsigned char state[MEETING_STATE_SIZE];
    size_t chars = 0;
    size_t recorded = 0;
};

Bytes Message(uint16_t code, size_t length, std::initializer_list<std::pair<size_t, uint32_t>> u32s)
{
    Bytes m(length, 0);
    WireWriter out(m.data(), m.size());
    out.U16(code);
    for (auto& f : u32s) {
        out.Seek(f.first);
        out.U32(f.second);
    }
    return m;
}

double Now()
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

} // namespace

int main()
{
    CUserTable users;
    LOGIN_INFO login = {};
    login.userId = 1;
    users.AddUser(1, "me", 0);
    users.AddUser(2, "alice", 0);
    Sinks sinks;
    DISPATCH_TARGETS t;
    t.users = &users;
    t.login = &login;
    t.mainWindow = &sinks;
    t.leftPane = &sinks;
    t.chat = &sinks;
    t.videoWall = &sinks;
    t.recorder = &sinks;
    t.whiteboard = &sinks;
    CServerDispatcher dispatcher(t);

    Bytes chat = Message(2088, 20 + 200, {{8, 2}});
    WireWriter(chat.data() + 16, 2).U16(200);
    Bytes layout = Message(2073, 16, {});
    layout[2] = 12;
    struct Kind
    {
        const char* name;
        Bytes message;
    } kinds[] = {
        {"2057 speak state", Message(2057, 12, {{4, 2}})},
        {"2059 receive-video reply", Message(2059, 12, {{4, 2}})},
        {"2062 data control", Message(2062, 12, {{4, 2}})},
        {"2073 window layout", layout},
        {"2088 chat, 200 bytes", chat},
        {"4358 meeting state", Message(4358, MEETING_STATE_SIZE, {})},
        {"9999 unknown (dropped)", Message(9999, 12, {})},
    };
    const int rounds = 20000;
    printf("%-28s %14s %18s\n", "message", "dispatch (us)", "reference copy (us)");
    static unsigned char copy[65536];
    for (const Kind& k : kinds) {
        double start = Now();
        for (int i = 0; i < rounds; ++i)
            dispatcher.Dispatch(k.message.data(), k.message.size());
        double dispatch = (Now() - start) / rounds * 1e6;
        start = Now();
        for (int i = 0; i < rounds; ++i) {
            memcpy(copy, k.message.data(), k.message.size());
            copy[i & 7] ^= 1;
        }
        double reference = (Now() - start) / rounds * 1e6;
        printf("%-28s %14.3f %18.3f\n", k.name, dispatch, reference);
    }

    // 1000 whiteboard records of 3 to 40 bytes in one relay run.
    Bytes records;
    for (int i = 0; records.size() < 30000 && i < 1000; ++i) {
        uint8_t n = static_cast<uint8_t>(3 + i % 38);
        Bytes r(n, static_cast<uint8_t>(i));
        r[0] = 1;
        r[1] = n;
        records.insert(records.end(), r.begin(), r.end());
    }
    Bytes run = Message(2085, 4, {});
    WireWriter(run.data() + 2, 2).U16(static_cast<uint16_t>(records.size()));
    run.insert(run.end(), records.begin(), records.end());
    const int runs = 500;
    sinks.recorded = 0;
    double start = Now();
    for (int i = 0; i < runs; ++i)
        dispatcher.Dispatch(run.data(), run.size());
    double perRun = (Now() - start) / runs * 1e6;
    size_t walked = 0;
    start = Now();
    for (int i = 0; i < runs; ++i) {
        size_t at = 0;
        while (at < records.size()) {
            at += records[at + 1];
            ++walked;
        }
    }
    double reference = (Now() - start) / runs * 1e6;
    printf("2085 run of 1000 records (%u bytes): %.1f us per run, reference walk %.1f us; "
           "recorded %.0f bytes per run (each record once)\n",
           static_cast<unsigned>(records.size()), perRun, reference,
           static_cast<double>(sinks.recorded) / runs);
    return walked == 0;
}
