#pragma once
#include <winsock2.h>
#include <windows.h>

#include <cstdint>
#include <string>

#include "CBufferPool.h"
#include "CNamedThread.h"
#include "ServerWire.h"
#include "CPtrArray.h"
#include "CString.h"
#include "CStringList.h"

class CTcpLink;
class CUserTable;
class CLanguageManager;
class CLogFile;

extern LOGIN_INFO g_LoginInfo;

// The client's connection to the conference server: the synchronous requests
// that precede a meeting (each on a connection of its own), the login on the
// command connection, the receive thread that queues every server message
// for the UI thread (at most two ahead; nothing is dropped), and the senders
// of the commands of a meeting, which build each message in one send buffer
// under the send lock.
class CCommandManager : public CNamedThread, public CBufferPool
{
public:
    enum : uint32_t {
        QUEUE_COUNT = 2,
        QUEUE_SIZE = 32768,
        TEXT_SIZE = 260,
        SEND_SIZE = COMMAND_BUFFER_SIZE,
        REPLY_SIZE = 32768,
        // The longest string that a one-byte length field can carry with its terminator.
        MAX_SHORT_STRING = 254,
    };

    // The tables the manager fills and reads; the program's globals by default.
    CCommandManager(CUserTable* users = nullptr, LOGIN_INFO* login = nullptr,
                    CLanguageManager* lang = nullptr, CLogFile* log = nullptr);
    ~CCommandManager() override;

    // Synchronous requests. text receives the message for the user (260 bytes).
    bool GetServerVersion(const char* address, uint16_t port, char* versionOut, char* text);
    // Appends a heap copy (CONF_INFO*) of each room to rooms; the caller
    // frees them (FreeConferenceList).
    bool GetConferenceList(const char* address, const char* user, const char* password,
                           uint16_t port, CPtrArray* rooms, char* text);
    // Empties servers, then adds the address of each update server.
    bool GetUpdateServerAddress(const CString& address, CStringList* servers, uint16_t* portOut,
                                char* text);
    // Logs in on a new command connection and starts the receive thread.
    bool Login(LOGIN_INFO* info, char* text);
    void Close();

    // The text of a server result code.
    void GetResultText(uint16_t code, char* text);
    // The string id of a result code; the edition's own table replaces the
    // built-in one when set.
    typedef UINT (*RESULT_TEXT_ID)(uint16_t code);
    void SetResultTextIds(RESULT_TEXT_ID ids) { m_resultIds = ids; }

    uint32_t Run() override;

    // True while a command connection is open.
    bool IsConnected();

    // How long the requests wait for their replies (10 and 20 seconds).
    void SetReplyWaits(uint32_t shortSeconds, uint32_t longSeconds);

    // Sends one built message on the command connection.
    bool SendFrame(const void* payload, uint32_t length);

    // Senders of the meeting's commands.
    bool SendDeviceInfo(uint8_t a, uint8_t b, uint8_t c, uint8_t d);
    bool SendMeetingMode(uint8_t mode);
    bool SendLockMeeting(uint8_t flag);
    bool SendKickUser(uint32_t id, uint16_t minutes);
    bool SendGrantSpeak(uint32_t id, uint8_t on);
    bool SendVideoBroadcast(uint32_t id, uint8_t on);
    bool SendMeetingControl(uint32_t id, uint8_t on);
    bool SendSpeechRequest();
    bool SendSpeechGiveUp();
    bool SendControlRequest();
    bool SendControlGiveUp();
    bool SendCommand2068(uint32_t id);
    bool SendFileOffer(uint32_t size, uint32_t handle, const char* name, const uint32_t* ids,
                       uint8_t count);
    bool SendWindowLayout(const void* record, uint8_t length);
    bool SendCommand2076(uint8_t value);
    bool SendCommand2078(uint32_t id, uint8_t value);
    bool SendCommand2080(uint32_t id, uint8_t value);
    bool SendWhiteboardData(const void* data, uint16_t length);
    bool SendChat(uint32_t recipient, uint32_t colour, const void* chat, uint16_t length);
    bool SendCameraControl(uint32_t target, const void* bytes, uint8_t length);
    bool SendKeepAlive();
    bool SendDocumentItem(uint8_t a, uint32_t b, uint8_t c, uint16_t d, const uint16_t* pair,
                          const char* name, const char* path);
    bool SendDocumentCategory(uint8_t a, uint32_t b, uint8_t c, const char* first,
                              const char* second, const char* third);
    bool SendDocumentDelete(uint32_t id, uint8_t kind);
    bool SendDocumentRename(uint32_t id, uint8_t value, const char* name);
    bool SendDocumentListRequest(uint32_t id, uint8_t value);
    bool SendCommand2105(uint32_t id, uint8_t deviceIndex);
    bool SendBroadcastData(const uint32_t* ids, uint16_t count, const void* data, uint16_t length);
    bool SendTemporaryHost(uint32_t id, uint8_t value);
    bool SendStopVideoNotice(uint32_t id, uint16_t a, uint16_t b);
    // record: the 1392-byte meeting-state record; it goes out as command 4357.
    bool SendMeetingState(const void* record);
    bool SendStartNotice();
    bool SendWhiteboardRight(uint32_t id, uint8_t allow);
    bool SendRecordRight(uint32_t id, uint8_t allow);
    bool SendTextChatRight(uint32_t id, uint8_t allow);
    bool SendFileUploadRight(uint32_t id, uint8_t allow);

private:
    bool SendCodeOnly(uint16_t code);
    bool SendIdByte(uint16_t code, uint32_t id, uint8_t value);
    bool SendByte(uint16_t code, uint8_t value);
    void LoadText(UINT id, char* text);
    void LoadFormat(UINT id, char* format);
    // True for a reply that holds at least its result code; otherwise text
    // says why and the log names the request ("getting ...").
    bool CheckReply(int32_t got, const char* request, char* text);
    // Closes and frees the connection of a login that failed; returns false.
    bool DropLink();
    void Log(const char* format, ...);
    // Runs one request on a connection of its own; the reply length or -1
    // when the connection failed (text then holds the message).
    int32_t Request(const char* address, uint16_t port, const void* request, uint32_t length,
                    void* reply, int32_t capacity, uint32_t seconds);

    CRITICAL_SECTION m_sendLock;
    volatile uint32_t m_closing = 0;
    // Set by the receive thread when it reports a lost connection and ends.
    volatile uint32_t m_lost = 0;
    CTcpLink* m_link = nullptr;
    unsigned char* m_reply;
    unsigned char* m_send;

    CUserTable* m_users;
    LOGIN_INFO* m_login;
    CLanguageManager* m_lang;
    CLogFile* m_log;
    RESULT_TEXT_ID m_resultIds = nullptr;
    uint32_t m_shortWait = 10;
    uint32_t m_longWait = 20;
};

extern CCommandManager g_CmdManager;

// The room list of the login: heap CONF_INFO copies that the application
// frees at exit.
extern CPtrArray g_ConfList;

// Frees the rooms of a conference list and empties it.
void FreeConferenceList(CPtrArray& rooms);
