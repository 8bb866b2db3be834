// A console participant of a meeting: checks the server version, lists the
// rooms, logs in, shows the participants, optionally says one chat line to
// everybody, and prints every chat line and participant notice it receives
// until its time is up.
//
//   MeetingDemo [-lang zh|en] <server> <port> <user> <password> <room id> <seconds> [chat text]
//
// -lang picks the interface language (the language file of that code page,
// and the demo's own lines); Chinese without it. The chat text is taken in
// the system's code page (936).
#include <winsock2.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "CCommandManager.h"
#include "CLanguageManager.h"
#include "CTcpLink.h"
#include "CUserTable.h"
#include "ServerWire.h"
#include "WireReader.h"

namespace {

// The demo's own lines in the two interface languages.
struct DemoTexts
{
    const char* everybody;
    const char* says;   // sender, recipient, text
    const char* joined; // name
    const char* left;   // name
    const char* connectionLost;
    const char* serverVersion;
    const char* room; // id, name, online
    const char* loggedIn;
    const char* participant;
    const char* host;
    const char* leftMeeting;
};
const DemoTexts kChinese = {"所有人",
                            "%s 对 %s 说:  %s",
                            "用户%s登录",
                            "用户%s退出",
                            "与服务器连接意外中断",
                            "服务器版本 ",
                            "会议室 %u: %.21s (%u 人在线)",
                            "已登录",
                            "与会者 ",
                            " (主持人)",
                            "已离开会议"};
const DemoTexts kEnglish = {"everybody",
                            "%s to %s:  %s",
                            "%s joined",
                            "%s left",
                            "The connection to the server broke",
                            "server version ",
                            "room %u: %.21s (%u online)",
                            "logged in",
                            "participant ",
                            " (host)",
                            "left the meeting"};
const DemoTexts* g_texts = &kChinese;

// The program's texts are code page 936; the terminal reads UTF-8.
std::string ToUtf8(const char* text)
{
    int wide = MultiByteToWideChar(936, 0, text, -1, nullptr, 0);
    if (wide <= 0)
        return text;
    std::vector<wchar_t> w(wide);
    MultiByteToWideChar(936, 0, text, -1, w.data(), wide);
    int bytes = WideCharToMultiByte(CP_UTF8, 0, w.data(), -1, nullptr, 0, nullptr, nullptr);
    std::string out(bytes > 0 ? bytes - 1 : 0, '\0');
    if (bytes > 1)
        WideCharToMultiByte(CP_UTF8, 0, w.data(), -1, &out[0], bytes, nullptr, nullptr);
    return out;
}

void Say(const char* prefix, const char* text)
{
    printf("[%s] %s\n", prefix, ToUtf8(text).c_str());
    fflush(stdout);
}

std::string NameOf(uint32_t id)
{
    if (id == 0)
        return g_texts->everybody;
    char name[64] = "";
    if (!g_UserTable.GetUserName(id, name))
        snprintf(name, sizeof name, "#%u", id);
    return name;
}

void ShowChat(const char* me, WireReader& in)
{
    uint32_t recipient = 0, sender = 0, colour = 0;
    uint16_t length = 0;
    if (!in.Seek(4) || !in.U32(recipient) || !in.U32(sender) || !in.U32(colour) ||
        !in.U16(length) || !in.Seek(20))
        return;
    CHAT_MSG_HEAD head;
    if (!in.Record(head))
        return;
    std::string text(reinterpret_cast<const char*>(in.Current()), in.Remaining());
    text = text.c_str(); // up to the terminator
    char line[1024];
    snprintf(line, sizeof line, g_texts->says, NameOf(sender).c_str(), NameOf(recipient).c_str(),
             text.c_str());
    Say(me, line);
}

void Drain(const char* me, DWORD until)
{
    while (GetTickCount() < until) {
        CQueueBuffer* buffer = g_CmdManager.GetFilled(100);
        if (!buffer)
            continue;
        uint32_t length = buffer->GetLength();
        if (length == 0) {
            Say(me, g_texts->connectionLost);
            g_CmdManager.PutFree(buffer);
            return;
        }
        WireReader in(buffer->GetData(), length);
        uint16_t code = 0;
        in.U16(code);
        if (code == CMD_CHAT) {
            ShowChat(me, in);
        } else if (code == CMD_USER_JOINED && length == 32) {
            uint32_t id = 0;
            char name[22] = "";
            uint8_t role = 0;
            if (in.Seek(4) && in.U32(id) && in.Bytes(name, 21) && in.U8(role)) {
                g_UserTable.AddUser(id, name, role);
                char line[64];
                snprintf(line, sizeof line, g_texts->joined, name);
                Say(me, line);
            }
        } else if (code == CMD_USER_QUIT) {
            uint32_t id = 0;
            if (in.Seek(4) && in.U32(id)) {
                char line[96];
                snprintf(line, sizeof line, g_texts->left, NameOf(id).c_str());
                Say(me, line);
                g_UserTable.RemoveUser(id);
            }
        }
        g_CmdManager.PutFree(buffer);
    }
}

} // namespace

int main(int argc, char** argv)
{
    const char* usage = "usage: MeetingDemo [-lang zh|en] <server> <port> <user> <password> <room "
                        "id> <seconds> [chat text]\n";
    if (argc >= 3 && strcmp(argv[1], "-lang") == 0) {
        int codePage = 0;
        if (strcmp(argv[2], "zh") == 0) {
            codePage = 936;
        } else if (strcmp(argv[2], "en") == 0) {
            codePage = 1252;
            g_texts = &kEnglish;
        } else {
            fprintf(stderr, "%s", usage);
            return 1;
        }
        g_LangManager.ScanLanguageFiles();
        if (!g_LangManager.SelectByCodePage(codePage))
            fprintf(stderr, "no language file of code page %d in the program's base folder\n",
                    codePage);
        argc -= 2;
        argv += 2;
    }
    if (argc < 7) {
        fprintf(stderr, "%s", usage);
        return 1;
    }
    const char* server = argv[1];
    uint16_t port = static_cast<uint16_t>(atoi(argv[2]));
    const char* me = argv[3];
    if (!StartWinsock()) {
        fprintf(stderr, "Winsock 2.2 is not available\n");
        return 2;
    }

    char version[64] = "", text[CCommandManager::TEXT_SIZE] = "";
    if (!g_CmdManager.GetServerVersion(server, port, version, text)) {
        Say(me, text);
        return 3;
    }
    Say(me, (std::string(g_texts->serverVersion) + version).c_str());

    CPtrArray rooms;
    if (!g_CmdManager.GetConferenceList(server, argv[3], argv[4], port, &rooms, text)) {
        Say(me, text);
        return 3;
    }
    for (INT_PTR i = 0; i < rooms.GetSize(); ++i) {
        CONF_INFO* room = static_cast<CONF_INFO*>(rooms[i]);
        char line[96];
        snprintf(line, sizeof line, g_texts->room, room->roomId, room->name, room->online);
        Say(me, line);
    }
    FreeConferenceList(rooms);

    LOGIN_INFO& login = g_LoginInfo;
    memset(&login, 0, sizeof login);
    strncpy(login.serverAddress, server, sizeof login.serverAddress - 1);
    login.serverPort = port;
    login.roomId = static_cast<uint32_t>(atoi(argv[5]));
    strncpy(login.userName, argv[3], sizeof login.userName - 1);
    strncpy(login.password, argv[4], sizeof login.password - 1);
    if (!g_CmdManager.Login(&login, text)) {
        Say(me, text);
        return 4;
    }
    Say(me, g_texts->loggedIn);
    USER_INFO user;
    for (int i = 0; i < g_UserTable.GetCount(); ++i)
        if (g_UserTable.GetUserAt(i, &user))
            Say(me, (std::string(g_texts->participant) + user.name +
                     (user.role == 1 ? g_texts->host : ""))
                        .c_str());

    DWORD end = GetTickCount() + static_cast<DWORD>(atoi(argv[6])) * 1000;
    if (argc > 7) {
        Drain(me, GetTickCount() + 1000);
        std::vector<unsigned char> chat(sizeof(CHAT_MSG_HEAD) + strlen(argv[7]) + 1, 0);
        CHAT_MSG_HEAD head = {};
        strncpy(head.face, "宋体", sizeof head.face - 1);
        head.fontSize = 9;
        memcpy(chat.data(), &head, sizeof head);
        memcpy(chat.data() + sizeof head, argv[7], strlen(argv[7]));
        if (g_CmdManager.SendChat(0, 0, chat.data(), static_cast<uint16_t>(chat.size()))) {
            char line[1024];
            snprintf(line, sizeof line, g_texts->says, me, g_texts->everybody, argv[7]);
            Say(me, line);
        }
    }
    Drain(me, end);
    g_CmdManager.Close();
    Say(me, g_texts->leftMeeting);
    WSACleanup();
    return 0;
}
