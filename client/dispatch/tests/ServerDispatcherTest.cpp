#include <winsock2.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include <cstdio>
#include <memory>

#include "CLogFile.h"
#include "CServerDispatcher.h"
#include "CUserTable.h"
#include "DispatchFakes.h"
#include "ServerWire.h"
#include "WireWriter.h"

namespace {

typedef std::vector<uint8_t> Bytes;
typedef std::vector<std::string> Calls;

// A message built field by field at its offsets.
class Msg
{
public:
    Msg(uint16_t code, size_t length) : m_bytes(length, 0) { At(0).U16(code); }
    Msg& U8(size_t at, uint8_t v) { return At(at).U8(v), *this; }
    Msg& U16(size_t at, uint16_t v) { return At(at).U16(v), *this; }
    Msg& U32(size_t at, uint32_t v) { return At(at).U32(v), *this; }
    Msg& Text(size_t at, const std::string& s) { return At(at).Bytes(s.data(), s.size()), *this; }
    // Appends bytes past the current end.
    Msg& Append(const Bytes& more)
    {
        m_bytes.insert(m_bytes.end(), more.begin(), more.end());
        return *this;
    }
    operator Bytes() const { return m_bytes; }

private:
    WireWriter At(size_t at)
    {
        WireWriter out(m_bytes.data(), m_bytes.size());
        out.Seek(at);
        return out;
    }
    Bytes m_bytes;
};

const uint32_t kOwn = 1, kAlice = 2, kBob = 7;

// The participant table, the login record, the flags and the fakes of one case.
struct World
{
    World()
        : fakes(log), meetingDocs(log, "meetingDocs"), files(log, "fileList"),
          diskDocs(log, "diskDocs"), presentation(log, "board"), browsing(log, "browse")
    {
        login = LOGIN_INFO();
        strcpy(login.serverAddress, "10.0.0.5");
        login.userId = kOwn;
        users.AddUser(kOwn, "me", 0);
        users.AddUser(kAlice, "alice", 0);
        DISPATCH_TARGETS t;
        t.users = &users;
        t.login = &login;
        t.meetingLocked = &locked;
        t.freeFileSending = &freeFiles;
        t.mainWindow = &fakes;
        t.leftPane = &fakes;
        t.chat = &fakes;
        t.votes = &fakes;
        t.videoWall = &fakes;
        t.video = &fakes;
        t.audio = &fakes;
        t.device = &fakes;
        t.remoteDevice = &fakes;
        t.camera = &fakes;
        t.recorder = &fakes;
        t.whiteboard = &fakes;
        t.presentation = &presentation;
        t.browsing = &browsing;
        t.screen = &fakes;
        t.meetingDocs = &meetingDocs;
        t.files = &files;
        t.diskDocs = &diskDocs;
        t.netDisk = &fakes;
        t.fileReceiver = &fakes;
        t.link = &fakes;
        targets = t;
    }
    USER_INFO User(uint32_t id)
    {
        USER_INFO u = {};
        users.GetUser(id, &u);
        return u;
    }

    CallLog log;
    CUserTable users;
    LOGIN_INFO login;
    uint32_t locked = 0;
    uint32_t freeFiles = 0;
    FakeTargets fakes;
    FakeDocList meetingDocs, files, diskDocs;
    FakeWebShare presentation, browsing;
    DISPATCH_TARGETS targets;
};

struct Case
{
    const char* name;
    Bytes message;
    Calls calls; // empty with taken false: dropped
    bool taken;
    std::function<void(World&)> before; // optional
    std::function<void(World&)> after;  // optional checks of the shared values
    bool exactLength;                   // one byte more or less is dropped
};

void RunCase(const Case& c)
{
    SCOPED_TRACE(c.name);
    World w;
    if (c.before)
        c.before(w);
    w.log.calls.clear();
    CServerDispatcher dispatcher(w.targets);
    EXPECT_EQ(dispatcher.Dispatch(c.message.data(), c.message.size()), c.taken);
    EXPECT_EQ(w.log.calls, c.calls);
    if (c.after)
        c.after(w);
}

// A DOC_ITEM with its three texts.
Bytes DocItem(uint32_t id, uint8_t kind, uint32_t folder, const std::string& a,
              const std::string& b, const std::string& c)
{
    Msg m(0, 24);
    m.U32(0, id).U8(4, kind).U8(5, 9).U32(8, folder).U8(12, 1).U16(14, 10).U16(16, 11).U16(18, 12);
    m.U8(20, uint8_t(a.size())).U8(21, uint8_t(b.size())).U16(22, uint16_t(c.size()));
    Bytes bytes = m;
    bytes.insert(bytes.end(), a.begin(), a.end());
    bytes.insert(bytes.end(), b.begin(), b.end());
    bytes.insert(bytes.end(), c.begin(), c.end());
    return bytes;
}

Bytes Cut(Bytes bytes, size_t count)
{
    bytes.resize(bytes.size() - count);
    return bytes;
}

Bytes Relay(uint16_t code, const Bytes& records)
{
    return Msg(code, 4).U16(2, uint16_t(records.size())).Append(records);
}

// The bytes at the very end of a readable page with an inaccessible page
// after it: a read past the message faults.
class GuardedCopy
{
public:
    explicit GuardedCopy(const Bytes& bytes)
    {
        SYSTEM_INFO info;
        GetSystemInfo(&info);
        size_t page = info.dwPageSize;
        size_t pages = (bytes.size() + page - 1) / page + 1;
        m_base = static_cast<uint8_t*>(
            VirtualAlloc(nullptr, (pages + 1) * page, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
        DWORD old = 0;
        VirtualProtect(m_base + pages * page, page, PAGE_NOACCESS, &old);
        m_data = m_base + pages * page - bytes.size();
        if (!bytes.empty())
            memcpy(m_data, bytes.data(), bytes.size());
    }
    ~GuardedCopy() { VirtualFree(m_base, 0, MEM_RELEASE); }
    const uint8_t* Data() const { return m_data; }

private:
    uint8_t* m_base;
    uint8_t* m_data;
};

void SetVideo(World& w, uint32_t id, uint8_t state) { w.users.SetVideoState(id, state); }

std::vector<Case> Participants()
{
    return {
        {"2050 joins: notice, table, list, title, recipient",
         Msg(2050, 32).U32(4, kBob).Text(8, "bob").U8(29, 3),
         {"chat.AddSystemNotice(用户bob登录)", "left.AddUser(7)", "main.SetParticipantCount(3)",
          "chat.AddRecipient(7)"},
         true,
         nullptr,
         [](World& w) {
             EXPECT_STREQ(w.User(kBob).name, "bob");
             EXPECT_EQ(w.User(kBob).role, 3);
         },
         true},
        {"2050 while recording",
         Msg(2050, 32).U32(4, kBob).Text(8, "bob"),
         {"chat.AddSystemNotice(用户bob登录)", "left.AddUser(7)", "main.SetParticipantCount(3)",
          "chat.AddRecipient(7)", "rec.WriteChatData(bob,1)"},
         true,
         [](World& w) { w.fakes.recording = true; }},
        {"2050 hidden user joins without a notice",
         Msg(2050, 32).U32(4, kBob).Text(8, "tavqe"),
         {"left.AddUser(7)", "main.SetParticipantCount(3)", "chat.AddRecipient(7)"},
         true},
        {"2050 name fills its field without terminator",
         Msg(2050, 32).U32(4, kBob).Text(8, std::string(21, 'n')).U8(29, 1),
         {"chat.AddSystemNotice(用户nnnnnnnnnnnnnnnnnnnnn登录)", "left.AddUser(7)",
          "main.SetParticipantCount(3)", "chat.AddRecipient(7)"},
         true,
         nullptr,
         [](World& w) { EXPECT_EQ(w.User(kBob).role, 1); }},
        {"2051 video gone closes the window",
         Msg(2051, 12).U32(4, kAlice).U8(8, 1).U8(9, 0).U8(10, 2).U8(11, 1),
         {"wall.RemoveUserWindow(2)", "left.RefreshUser(2)"},
         true,
         [](World& w) {
             SetVideo(w, kAlice, 2);
             w.users.SetBroadcastFlag(kAlice, 1);
         },
         [](World& w) {
             USER_INFO u = w.User(kAlice);
             EXPECT_EQ(u.hasAudio, 1);
             EXPECT_EQ(u.deviceFlagA, 2);
             EXPECT_EQ(u.deviceFlagB, 1);
             EXPECT_EQ(u.videoState, 0);
             EXPECT_EQ(u.broadcastFlag, 0);
         },
         true},
        {"2051 with video keeps the window",
         Msg(2051, 12).U32(4, kAlice).U8(9, 1),
         {"left.RefreshUser(2)"},
         true,
         [](World& w) { SetVideo(w, kAlice, 2); },
         [](World& w) { EXPECT_EQ(w.User(kAlice).videoState, 2); }},
        {"2052 quits with speech, video and control",
         Msg(2052, 8).U32(4, kAlice),
         {"chat.AddSystemNotice(用户alice退出)", "audio.DelSource(2)", "rec.DelAudio(2)",
          "wall.RemoveUserWindow(2)", "board.SetControlRight(0)", "browse.SetControlRight(0)",
          "screen.EndReceiving()", "screen.EndControlled()", "left.RemoveUser(2)",
          "rec.WriteChatData(alice,2)", "main.SetParticipantCount(1)", "chat.RemoveRecipient(2)"},
         true,
         [](World& w) {
             w.fakes.recording = true;
             w.users.SetSpeakState(kAlice, 2);
             SetVideo(w, kAlice, 1);
             w.users.SetControlState(kAlice, 2);
         },
         [](World& w) { EXPECT_EQ(w.users.GetCount(), 1); },
         true},
        {"2052 hidden user leaves without a notice",
         Msg(2052, 8).U32(4, kBob),
         {"left.RemoveUser(7)", "main.SetParticipantCount(2)", "chat.RemoveRecipient(7)"},
         true,
         [](World& w) { w.users.AddUser(kBob, "tavqe", 0); }},
        {"2052 unknown user", Msg(2052, 8).U32(4, 99), {}, false},
        {"2057 own speech does not add a source",
         Msg(2057, 12).U32(4, kOwn).U8(8, 2),
         {"left.RefreshUser(1)", "left.ShowOwnSpeakState(2)", "rec.AddAudio(1)"},
         true,
         [](World& w) { w.fakes.recording = true; },
         [](World& w) { EXPECT_EQ(w.User(kOwn).speakState, 2); },
         true},
        {"2057 another speaks",
         Msg(2057, 12).U32(4, kAlice).U8(8, 2),
         {"left.RefreshUser(2)", "audio.AddSource(2)"},
         true},
        {"2057 another stops",
         Msg(2057, 12).U32(4, kAlice).U8(8, 0),
         {"left.RefreshUser(2)", "audio.DelSource(2)", "rec.DelAudio(2)"},
         true,
         [](World& w) { w.fakes.recording = true; }},
        {"2057 another asks",
         Msg(2057, 12).U32(4, kAlice).U8(8, 1),
         {"left.RefreshUser(2)"},
         true,
         nullptr,
         [](World& w) { EXPECT_EQ(w.User(kAlice).speakState, 1); }},
        {"4355 own role",
         Msg(4355, 12).U32(4, kOwn).U8(8, 1),
         {"left.RefreshUser(1)"},
         true,
         nullptr,
         [](World& w) {
             EXPECT_EQ(w.login.role, 1);
             EXPECT_EQ(w.User(kOwn).role, 1);
         },
         true},
        {"4355 another's role",
         Msg(4355, 12).U32(4, kAlice).U8(8, 1),
         {"left.RefreshUser(2)"},
         true,
         nullptr,
         [](World& w) { EXPECT_EQ(w.login.role, 0); }},
        {"4359 own whiteboard right",
         Msg(4359, 12).U32(4, kOwn).U8(8, 1),
         {"wb.SetEditRight(1)"},
         true,
         nullptr,
         [](World& w) { EXPECT_EQ(w.User(kOwn).allowWhiteboard, 1); },
         true},
        {"4359 another's whiteboard right",
         Msg(4359, 12).U32(4, kAlice).U8(8, 1),
         {},
         true,
         nullptr,
         [](World& w) { EXPECT_EQ(w.User(kAlice).allowWhiteboard, 1); }},
        {"4360 recording right",
         Msg(4360, 12).U32(4, kAlice).U8(8, 0),
         {},
         true,
         nullptr,
         [](World& w) { EXPECT_EQ(w.User(kAlice).allowRecord, 0); },
         true},
        {"4361 text chat right",
         Msg(4361, 12).U32(4, kAlice).U8(8, 0),
         {},
         true,
         nullptr,
         [](World& w) { EXPECT_EQ(w.User(kAlice).allowTextChat, 0); },
         true},
        {"4368 own upload right",
         Msg(4368, 12).U32(4, kOwn).U8(8, 1),
         {"disk.EnableControls(1)"},
         true,
         nullptr,
         [](World& w) { EXPECT_EQ(w.User(kOwn).allowFileUpload, 1); },
         true},
    };
}

std::vector<Case> Meeting()
{
    Bytes state = Msg(4358, MEETING_STATE_SIZE).Text(1304, "notice").U32(1388, 1);
    Bytes cleared = Msg(4358, MEETING_STATE_SIZE);
    return {
        {"2053 chair mode, host without holder takes the layout",
         Msg(2053, 4).U8(2, 2),
         {"main.TakeLayoutControl()", "main.SetMeetingModeText(2)"},
         true,
         [](World& w) { w.login.role = 1; },
         [](World& w) { EXPECT_EQ(w.login.meetingMode, 2); },
         true},
        {"2053 chair mode, own holder takes the layout and drops videos",
         Msg(2053, 4).U8(2, 2),
         {"main.TakeLayoutControl()", "wall.DropNonBroadcastVideos()",
          "main.SetMeetingModeText(2)"},
         true,
         [](World& w) { w.users.SetControlState(kOwn, 2); }},
        {"2053 chair mode, another holds",
         Msg(2053, 4).U8(2, 2),
         {"wall.DropNonBroadcastVideos()", "main.SetMeetingModeText(2)"},
         true,
         [](World& w) { w.users.SetControlState(kAlice, 2); }},
        {"2053 free mode drops the layout",
         Msg(2053, 4).U8(2, 0),
         {"main.DropLayoutControl()", "main.SetMeetingModeText(0)"},
         true,
         [](World& w) { w.login.meetingMode = 2; },
         [](World& w) { EXPECT_EQ(w.login.meetingMode, 0); }},
        {"2054 lock",
         Msg(2054, 4).U8(2, 1),
         {},
         true,
         nullptr,
         [](World& w) { EXPECT_EQ(w.locked, 1u); },
         true},
        {"2070 free file sending",
         Msg(2070, 4).U8(2, 1),
         {},
         true,
         nullptr,
         [](World& w) { EXPECT_EQ(w.freeFiles, 1u); },
         true},
        {"2055 kicked: question, then close",
         Msg(2055, 2),
         {"main.AskQuestion(你已被主持人踢出会议室)", "main.PostClose()"},
         true,
         nullptr,
         nullptr,
         true},
        {"2062 own gain of the data control in chair mode",
         Msg(2062, 12).U32(4, kOwn).U8(8, 2),
         {"board.SetControlRight(1)", "browse.SetControlRight(1)", "wb.SetEditRight(1)",
          "disk.EnableControls(1)", "main.EnableArrowBar(1)", "meetingDocs.Clear()",
          "diskDocs.Clear()", "fileList.Reload()", "main.TakeLayoutControl()",
          "left.ShowOwnControlState(2)", "left.RefreshUser(1)"},
         true,
         [](World& w) { w.login.meetingMode = 2; },
         [](World& w) { EXPECT_EQ(w.User(kOwn).controlState, 2); },
         true},
        {"2062 own loss ends broadcast, control and upload",
         Msg(2062, 12).U32(4, kOwn).U8(8, 0),
         {"link.SendCommand2076(0)", "screen.EndBroadcast()", "link.SendCommand2078(5,0)",
          "screen.EndControlling()", "disk.StopDocumentUpload()", "board.SetControlRight(0)",
          "browse.SetControlRight(0)", "wb.SetEditRight(0)", "disk.EnableControls(0)",
          "main.EnableArrowBar(0)", "main.DropLayoutControl()", "left.ShowOwnControlState(0)",
          "left.RefreshUser(1)"},
         true,
         [](World& w) {
             w.users.SetControlState(kOwn, 2);
             w.fakes.broadcasting = true;
             w.fakes.controlledPeer = 5;
         },
         [](World& w) { EXPECT_EQ(w.User(kOwn).controlState, 0); }},
        {"2062 own loss keeps the rights the record grants",
         Msg(2062, 12).U32(4, kOwn).U8(8, 0),
         {"disk.StopDocumentUpload()", "board.SetControlRight(0)", "browse.SetControlRight(0)",
          "main.EnableArrowBar(0)", "main.DropLayoutControl()", "left.ShowOwnControlState(0)",
          "left.RefreshUser(1)"},
         true,
         [](World& w) {
             w.users.SetControlState(kOwn, 2);
             w.users.SetAllowWhiteboardEdit(kOwn, 1);
             w.users.SetAllowFileUpload(kOwn, 1);
         }},
        {"2062 own request only",
         Msg(2062, 12).U32(4, kOwn).U8(8, 1),
         {"left.ShowOwnControlState(1)", "left.RefreshUser(1)"},
         true},
        {"2062 another loses the control",
         Msg(2062, 12).U32(4, kAlice).U8(8, 0),
         {"screen.EndReceiving()", "screen.EndControlled()", "left.RefreshUser(2)"},
         true,
         [](World& w) { w.users.SetControlState(kAlice, 2); }},
        {"2062 unknown user", Msg(2062, 12).U32(4, 99).U8(8, 2), {}, false},
        {"2073 layout",
         Msg(2073, 16).U8(2, 12),
         {"main.ApplyWindowLayout(12)"},
         true,
         nullptr,
         nullptr,
         true},
        {"4358 meeting state with private chat off",
         state,
         {"chat.SelectEveryone()", "main.ReplaceMeetingState(1392)", "main.BuildTitle()",
          "votes.Refresh()"},
         true,
         nullptr,
         nullptr,
         true},
        {"4358 a cleared bulletin rebuilds the title too",
         cleared,
         {"main.ReplaceMeetingState(1392)", "main.BuildTitle()", "votes.Refresh()"},
         true},
        {"2107 forced leave",
         Msg(2107, 4).U16(2, 265),
         {"main.ShowMessage(result 265)", "main.PostClose()"},
         true,
         nullptr,
         nullptr,
         true},
        {"2086 speakers full", Msg(2086, 2), {"main.ShowMessage(发言人数已满!)"}, true},
        {"2092 keep-alive answer", Msg(2092, 2), {}, true},
        {"2088 chat",
         Msg(2088, 25).U32(8, kAlice).U32(12, 255).U16(16, 5).Text(20, "hello"),
         {"chat.OnChatReceived(0,2,255,hello,5,ended)"},
         true,
         nullptr,
         nullptr,
         true},
        {"2088 unterminated payload at the end of the message",
         Msg(2088, 23).U32(4, kOwn).U32(8, kAlice).U16(16, 3).Text(20, "abc"),
         {"chat.OnChatReceived(1,2,0,abc,3,ended)"},
         true},
    };
}

std::vector<Case> Video()
{
    auto reply = [](uint8_t result, uint8_t broadcast) {
        return Bytes(Msg(2059, 12).U8(2, result).U32(4, kAlice).U16(8, 7200).U8(10, broadcast));
    };
    auto state = [](uint8_t s) {
        return [s](World& w) { EXPECT_EQ(w.User(kAlice).videoState, s); };
    };
    const char* refresh = "left.RefreshUser(2)";
    const char* buttons = "left.ShowBroadcastState()";
    return {
        {"2059 failure while requested",
         reply(1, 0),
         {"main.ShowMessage(接收用户alice视频失败!)", "wall.RemoveUserWindow(2)", refresh, buttons},
         true,
         [](World& w) { SetVideo(w, kAlice, 1); },
         state(0),
         true},
        {"2059 failure while receiving changes nothing",
         reply(1, 0),
         {refresh, buttons},
         true,
         [](World& w) { SetVideo(w, kAlice, 2); },
         state(2)},
        {"2059 broadcast opens a window",
         reply(0, 1),
         {"wall.AddUserVideo(alice,2)", "wall.SetUserVideoTarget(2,7200)", refresh, buttons},
         true,
         nullptr,
         [](World& w) {
             EXPECT_EQ(w.User(kAlice).videoState, 2);
             EXPECT_EQ(w.User(kAlice).broadcastFlag, 1);
         }},
        {"2059 broadcast while receiving reopens",
         reply(0, 1),
         {"wall.RemoveUserWindow(2)", "wall.AddUserVideo(alice,2)",
          "wall.SetUserVideoTarget(2,7200)", refresh, buttons},
         true,
         [](World& w) { SetVideo(w, kAlice, 2); },
         state(2)},
        {"2059 broadcast with a full wall ends the reception",
         reply(0, 1),
         {"wall.RemoveUserWindow(2)", "wall.AddUserVideo(alice,2)", refresh, buttons},
         true,
         [](World& w) {
             SetVideo(w, kAlice, 1);
             w.fakes.wallHasRoom = false;
         },
         [](World& w) {
             EXPECT_EQ(w.User(kAlice).videoState, 0);
             EXPECT_EQ(w.User(kAlice).broadcastFlag, 1);
         }},
        {"2059 requested video arrives",
         reply(0, 0),
         {"wall.SetUserVideoTarget(2,7200)", refresh, buttons},
         true,
         [](World& w) { SetVideo(w, kAlice, 1); },
         state(2)},
        {"2059 unrequested video is ignored",
         reply(0, 0),
         {refresh, buttons},
         true,
         nullptr,
         state(0)},
        {"2059 unknown user", Msg(2059, 12).U32(4, 99), {}, false},
        {"2060 stop video of a broadcast",
         Msg(2060, 12).U32(4, kAlice).U8(8, 1),
         {"wall.RemoveUserWindow(2)", refresh, buttons},
         true,
         [](World& w) {
             SetVideo(w, kAlice, 2);
             w.users.SetBroadcastFlag(kAlice, 1);
         },
         [](World& w) {
             EXPECT_EQ(w.User(kAlice).videoState, 0);
             EXPECT_EQ(w.User(kAlice).broadcastFlag, 0);
         },
         true},
        {"2069 start sending",
         Msg(2069, 4).U16(2, 7002),
         {"video.StartSend(1,10.0.0.5,7002)"},
         true,
         nullptr,
         nullptr,
         true},
        {"2069 port 0", Msg(2069, 4), {}, false},
        {"2087 stop sending", Msg(2087, 2), {"video.StopSend()"}, true},
        {"4354 video width",
         Msg(4354, 6).U16(2, 176).U16(4, 352),
         {"video.SetVideoWidth(176,352)"},
         true,
         nullptr,
         nullptr,
         true},
        {"2091 camera command",
         Msg(2091, 6).U8(2, 2).U8(4, 3).U8(5, 9),
         {"camera.OnRemoteCommand(3,2)"},
         true,
         nullptr,
         nullptr,
         true},
        {"2091 without command bytes", Msg(2091, 4), {}, false},
        {"2106 device state",
         Msg(2106, 4).U8(2, 3),
         {"device.ApplyDeviceState(3)"},
         true,
         nullptr,
         nullptr,
         true},
        {"2110 settings query",
         Msg(2110, 14).U32(4, kAlice).U16(8, 2).U16(12, 1),
         {"remote.OnSettingsQuery(2,2)"},
         true,
         nullptr,
         nullptr,
         true},
        {"2110 remote settings",
         Msg(2110, 16).U32(4, kAlice).U16(8, 4).U16(12, 2),
         {"remote.OnRemoteSettings(2,4)"},
         true},
        {"2110 settings to apply",
         Msg(2110, 16).U32(4, kAlice).U16(8, 4).U16(12, 3),
         {"remote.ApplyReceivedSettings(2,4)"},
         true},
        {"2110 page sync",
         Msg(2110, 14).U32(4, kAlice).U16(8, 2).U16(12, 64),
         {"wb.SendPageSync()"},
         true},
        {"2110 unknown sub-type", Msg(2110, 14).U32(4, kAlice).U16(8, 2).U16(12, 9), {}, false},
        {"2110 payload of one byte", Msg(2110, 13).U32(4, kAlice).U16(8, 1).U8(12, 1), {}, false},
    };
}

std::vector<Case> Sharing()
{
    Bytes run = {0x01, 3, 0xAA, 0x02, 2, 0x03, 4, 0xBB, 0xCC};
    return {
        {"2081 kind 0x07 goes to the whiteboard and the recorder",
         Relay(2081, {0x07, 3, 0}),
         {"wb.OnPeerData(07,3)", "rec.WriteBoardData(07,3)"},
         true,
         [](World& w) { w.fakes.recording = true; },
         nullptr,
         true},
        {"2081 kind 0x35 is dropped", Relay(2081, {0x35, 3, 0}), {}, false},
        {"2081 presentation board", Relay(2081, {0x12, 2}), {"board.OnPeerData(12,2)"}, true},
        {"2081 co-browsing", Relay(2081, {0x21, 2}), {"browse.OnPeerData(21,2)"}, true},
        {"2081 without a record", Relay(2081, {}), {}, false},
        {"2085 run of three whiteboard records, each recorded once",
         Relay(2085, run),
         {"wb.OnPeerData(01,9)", "rec.WriteBoardData(01,3)", "wb.OnPeerData(02,6)",
          "rec.WriteBoardData(02,2)", "wb.OnPeerData(03,4)", "rec.WriteBoardData(03,4)"},
         true,
         [](World& w) { w.fakes.recording = true; },
         nullptr,
         true},
        {"2085 run of mixed kinds ends at an unknown one",
         Relay(2085, {0x10, 2, 0x20, 2, 0x45, 2, 0x00, 2}),
         {"board.OnPeerData(10,8)", "browse.OnPeerData(20,6)"},
         true},
        {"2085 handler consuming nothing ends the run",
         Relay(2085, {0x01, 0, 0x01, 2}),
         {"wb.OnPeerData(01,4)"},
         true},
        {"2085 handler claiming more than there is ends the run",
         Relay(2085, {0x01, 9, 0x01}),
         {"wb.OnPeerData(01,3)"},
         true,
         [](World& w) { w.fakes.recording = true; }},
        {"2072 file offer",
         Msg(2072, 25).U32(4, kAlice).U32(8, 100).U32(12, 9).U16(16, 5).Text(20, "a.txt"),
         {"files.StartFileReceive(2,100,9,a.txt)"},
         true,
         nullptr,
         nullptr,
         true},
        {"2077 screen broadcast on",
         Msg(2077, 12).U32(4, kAlice).U8(8, 1),
         {"screen.StartReceiving(2)"},
         true,
         nullptr,
         nullptr,
         true},
        {"2077 screen broadcast off",
         Msg(2077, 12).U32(4, kAlice),
         {"screen.EndReceiving()"},
         true},
        {"2079 remote-control request",
         Msg(2079, 12).U32(4, kAlice).U8(8, 1),
         {"screen.OnControlRequest(2,1)"},
         true,
         nullptr,
         nullptr,
         true},
        {"4352 remote-control answer",
         Msg(4352, 12).U32(4, kAlice).U8(8, 1),
         {"screen.OnControlReply(2,1)"},
         true,
         nullptr,
         nullptr,
         true},
        {"2108 screen control grant",
         Msg(2108, 12).U32(4, kOwn).U8(8, 1),
         {"screen.OnScreenControlGrant(1)"},
         true,
         nullptr,
         nullptr,
         true},
        {"2095 file added",
         Msg(2095, 4).Append(DocItem(5, 0, 77, "slides", "s2", "http://x")),
         {"fileList.AddFile(9,5,77,1,slides,s2,http://x)"},
         true,
         nullptr,
         nullptr,
         true},
        {"2095 meeting document added",
         Msg(2095, 4).Append(DocItem(6, 1, 1354, "plan", "", "p.kqf")),
         {"meetingDocs.AddDocument(9,6,1354,1,10,11,12,plan,,p.kqf)"},
         true},
        {"2095 disk document added",
         Msg(2095, 4).Append(DocItem(6, 1, 40, "plan", "b", "p.kqf")),
         {"diskDocs.AddDocument(9,6,40,1,10,11,12,plan,b,p.kqf)"},
         true},
        {"2095 refused by the server",
         Msg(2095, 4).U16(2, 1).Append(DocItem(6, 1, 40, "plan", "", "")),
         {"main.ShowMessage(文档共享列表操作失败,服务器创建  plan 失败! )"},
         true},
        {"2097 deleted",
         Msg(2097, 12).U32(4, 6).U8(8, 1),
         {"meetingDocs.RemoveDocument(6,1)", "fileList.RemoveDocument(6,1)",
          "diskDocs.RemoveDocument(6,1)"},
         true,
         nullptr,
         nullptr,
         true},
        {"2097 refused names the item",
         Msg(2097, 12).U16(2, 1).U32(4, 6).U8(8, 1),
         {"main.ShowMessage(文档共享列表操作失败,服务器删除  plan 失败! )"},
         true,
         [](World& w) { w.diskDocs.rowName = "plan"; }},
        {"2099 renamed",
         Msg(2099, 15).U32(4, 6).U8(8, 1).U8(9, 3).Text(12, "new"),
         {"fileList.RenameDocument(6,1,new)", "diskDocs.RenameDocument(6,1,new)"},
         true,
         nullptr,
         nullptr,
         true},
        {"2099 refused",
         Msg(2099, 15).U16(2, 2).U32(4, 6).U8(8, 1).U8(9, 3).Text(12, "new"),
         {"main.ShowMessage(文档共享列表操作失败,服务器重命名  new 失败! )"},
         true},
        {"2101 list with a cut last record keeps the whole ones",
         Msg(2101, 4)
             .Append(DocItem(1, 0, 3, "a", "b", "c"))
             .Append(DocItem(2, 1, 1354, "d", "", "e"))
             .Append(Cut(DocItem(3, 1, 8, "fff", "", "g"), 1)),
         {"fileList.AddFile(9,1,3,1,a,b,c)", "meetingDocs.AddDocument(9,2,1354,1,10,11,12,d,,e)"},
         true},
        {"2101 list whose last head is cut",
         Msg(2101, 4).Append(DocItem(1, 0, 3, "a", "b", "c")).Append({1, 2, 3}),
         {"fileList.AddFile(9,1,3,1,a,b,c)"},
         true},
        {"2101 empty list result", Msg(2101, 4).U16(2, 5), {}, true},
        {"2101 failed",
         Msg(2101, 4).U16(2, 3),
         {"main.ShowMessage(获取文档共享列表信息失败!)"},
         true},
        {"2103 moved",
         Msg(2103, 20).U32(4, 6).U8(8, 1).U32(12, 30).U32(16, 31),
         {"fileList.OnDeleteNotice(6,1,30,31)", "diskDocs.OnDeleteNotice(6,1,30,31)"},
         true,
         nullptr,
         nullptr,
         true},
        {"2103 refused",
         Msg(2103, 20).U16(2, 1).U32(4, 6),
         {"main.ShowMessage(移动文档项  slides 操作失败! )"},
         true,
         [](World& w) { w.files.rowName = "slides"; }},
    };
}

std::vector<Case> Dropped()
{
    return {
        {"unknown code", Msg(9999, 12), {}, false},
        {"a server-side code", Msg(4357, MEETING_STATE_SIZE), {}, false},
        {"a code without room for itself", Bytes{0x02}, {}, false},
        {"2091 count past the end", Msg(2091, 5).U8(2, 2).U8(4, 1), {}, false},
        {"2101 shorter than its head", Msg(2101, 3), {}, false},
    };
}

std::vector<Case> AllCases()
{
    std::vector<Case> all;
    for (auto part : {Participants(), Meeting(), Video(), Sharing(), Dropped()})
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

} // namespace

TEST(ServerDispatcherTest, MessagesGiveTheirCalls)
{
    for (const Case& c : AllCases())
        RunCase(c);
}

// Every command with a length rule drops a message one byte shorter or
// longer than its layout, before anything takes effect.
TEST(ServerDispatcherTest, LengthOffByOneEitherSideIsDropped)
{
    int checked = 0;
    for (const Case& c : AllCases()) {
        if (!c.exactLength)
            continue;
        for (int delta : {-1, +1}) {
            Case changed = c;
            changed.message.resize(c.message.size() + delta);
            changed.calls.clear();
            changed.taken = false;
            changed.after = nullptr;
            std::string name = std::string(c.name) + (delta < 0 ? " (one short)" : " (one over)");
            changed.name = name.c_str();
            RunCase(changed);
            ++checked;
        }
    }
    EXPECT_GE(checked, 60);
}

// Every message and every cut of it is read within its bounds: each lies at
// the end of a page before an inaccessible one, so a read past it faults. A
// cut of a command with a length rule takes no effect at all.
TEST(ServerDispatcherTest, EveryCutOfEveryMessageIsReadWithinIt)
{
    for (const Case& c : AllCases()) {
        for (size_t n = 0; n <= c.message.size(); ++n) {
            World w;
            if (c.before)
                c.before(w);
            w.log.calls.clear();
            GuardedCopy copy(Bytes(c.message.begin(), c.message.begin() + n));
            CServerDispatcher dispatcher(w.targets);
            bool taken = dispatcher.Dispatch(copy.Data(), n);
            if (c.exactLength && n < c.message.size()) {
                EXPECT_FALSE(taken) << c.name << " cut at " << n;
                EXPECT_TRUE(w.log.calls.empty()) << c.name << " cut at " << n;
            }
        }
    }
}

TEST(ServerDispatcherTest, MissingPartsAreLeftOutAndTheSharedValuesStillChange)
{
    World w;
    DISPATCH_TARGETS bare;
    bare.users = &w.users;
    bare.login = &w.login;
    CServerDispatcher dispatcher(bare);
    std::vector<Bytes> messages;
    for (const Case& c : AllCases())
        messages.push_back(c.message);
    for (const Bytes& m : messages)
        dispatcher.Dispatch(m.data(), m.size());
    EXPECT_TRUE(w.log.calls.empty());
    Bytes join = Msg(2050, 32).U32(4, kBob).Text(8, "bob");
    EXPECT_TRUE(dispatcher.Dispatch(join.data(), join.size()));
    USER_INFO bob = {};
    EXPECT_TRUE(w.users.GetUser(kBob, &bob));
}

TEST(ServerDispatcherTest, RefusalsAreLogged)
{
    World w;
    char path[MAX_PATH];
    GetTempPathA(MAX_PATH, path);
    std::string file = std::string(path) + "dispatch_refusals.log";
    {
        CLogFile log(CLogFile::LOG_FILE, 0, file.c_str());
        w.targets.log = &log;
        CServerDispatcher dispatcher(w.targets);
        Bytes shortJoin = Msg(2050, 31);
        EXPECT_FALSE(dispatcher.Dispatch(shortJoin.data(), shortJoin.size()));
    }
    FILE* f = fopen(file.c_str(), "rb");
    ASSERT_NE(f, nullptr);
    char text[4096] = {};
    fread(text, 1, sizeof text - 1, f);
    fclose(f);
    DeleteFileA(file.c_str());
    EXPECT_NE(strstr(text, "dropped server message 2050 of 31 bytes"), nullptr) << text;
}
