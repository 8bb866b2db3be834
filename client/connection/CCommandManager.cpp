#include "CCommandManager.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "CLanguageManager.h"
#include "CLogFile.h"
#include "CScopedLock.h"
#include "CTcpLink.h"
#include "CUserTable.h"
#include "ClientLog.h"
#include "WireReader.h"
#include "WireWriter.h"

LOGIN_INFO g_LoginInfo;
CPtrArray g_ConfList;
CCommandManager g_CmdManager;

namespace {

// String ids of this connection's texts.
enum : UINT {
    IDS_CONNECT_FAILED = 61448,
    IDS_NO_REPLY = 61449,
    IDS_SEND_FAILED = 61451,
    IDS_KICKED_MINUTES = 61452,
    IDS_BAD_LOGIN_REPLY = 61453,
    IDS_BAD_ROOM_LIST = 61454,
    IDS_OTHER_MCU = 61609,
    IDS_UPDATE_FAILED = 61648,
    IDS_UNKNOWN_RESULT = 61475,
};

struct RESULT_TEXT
{
    uint16_t code;
    UINT id;
};

const RESULT_TEXT kResultTexts[] = {
    {0, 61455},    {1, 61456},     {2, 61457},     {257, 61458},   {258, 61459},  {259, 61460},
    {260, 61461},  {262, 61463},   {263, 61464},   {264, 61465},   {265, 61466},  {272, 61467},
    {273, 61468},  {274, 61469},   {275, 61470},   {276, 61471},   {277, 61472},  {280, 61607},
    {281, 61608},  {282, 61609},   {283, 61610},   {284, 61611},   {2064, 61612}, {4097, 61473},
    {4098, 61474}, {32769, 61613}, {32770, 61614}, {32771, 61615},
};

// Copies a text into a field of size bytes, NUL-terminated; bytes after the
// terminator stay as they are (the callers zero the field first).
void CopyField(char* field, size_t size, const char* text)
{
    if (!text || size == 0)
        return;
    size_t n = strnlen(text, size - 1);
    memcpy(field, text, n);
    field[n] = '\0';
}

size_t TextLength(const char* text) { return text ? strlen(text) : 0; }

} // namespace

void FreeConferenceList(CPtrArray& rooms)
{
    for (INT_PTR i = 0; i < rooms.GetSize(); ++i)
        delete static_cast<CONF_INFO*>(rooms[i]);
    rooms.RemoveAll();
}

CCommandManager::CCommandManager(CUserTable* users, LOGIN_INFO* login, CLanguageManager* lang,
                                 CLogFile* log)
    : CNamedThread("Command Manager Thread", 0), CBufferPool(QUEUE_COUNT, QUEUE_SIZE),
      m_reply(new unsigned char[REPLY_SIZE]()), m_send(new unsigned char[SEND_SIZE]()),
      m_users(users ? users : &g_UserTable), m_login(login ? login : &g_LoginInfo),
      m_lang(lang ? lang : &g_LangManager), m_log(log ? log : &g_Log)
{
    InitializeCriticalSection(&m_sendLock);
}

CCommandManager::~CCommandManager()
{
    // At exit the log may already be gone (globals of other files end in
    // no fixed order); the main window's own Close has logged already.
    m_log = nullptr;
    Close();
    DeleteCriticalSection(&m_sendLock);
    delete[] m_reply;
    delete[] m_send;
}

void CCommandManager::SetReplyWaits(uint32_t shortSeconds, uint32_t longSeconds)
{
    m_shortWait = shortSeconds;
    m_longWait = longSeconds;
}

void CCommandManager::Log(const char* format, ...)
{
    if (!m_log || m_log->GetLevel() < 1)
        return;
    va_list args;
    va_start(args, format);
    m_log->WriteV(format, args);
    va_end(args);
}

void CCommandManager::LoadText(UINT id, char* text)
{
    if (!text)
        return;
    text[0] = '\0';
    m_lang->LoadString(id, text, TEXT_SIZE);
}

void CCommandManager::LoadFormat(UINT id, char* format)
{
    format[0] = '\0';
    m_lang->LoadFormatString(id, format, TEXT_SIZE);
}

void CCommandManager::GetResultText(uint16_t code, char* text)
{
    UINT id = IDS_UNKNOWN_RESULT;
    if (m_resultIds) {
        LoadText(m_resultIds(code), text);
        return;
    }
    for (const RESULT_TEXT& entry : kResultTexts) {
        if (entry.code == code) {
            id = entry.id;
            break;
        }
    }
    LoadText(id, text);
}

bool CCommandManager::CheckReply(int32_t got, const char* request, char* text)
{
    if (got < 0) {
        LoadText(IDS_CONNECT_FAILED, text);
        Log("connect server failed when %s!\n", request);
        return false;
    }
    if (got < 2) {
        LoadText(IDS_NO_REPLY, text);
        Log("receive time out when %s!\n", request);
        return false;
    }
    return true;
}

int32_t CCommandManager::Request(const char* address, uint16_t port, const void* request,
                                 uint32_t length, void* reply, int32_t capacity, uint32_t seconds)
{
    CTcpLink* link = CreateTcpLink(FRAME_KIND_HEAD);
    if (!LinkConnect(link, address, port)) {
        DestroyTcpLink(link);
        return -1;
    }
    LinkSend(link, request, length);
    int32_t got = LinkRecvTimeout(link, reply, capacity, seconds);
    DestroyTcpLink(link);
    return got;
}

bool CCommandManager::GetServerVersion(const char* address, uint16_t port, char* versionOut,
                                       char* text)
{
    unsigned char request[1] = {REQ_SERVER_VERSION};
    unsigned char reply[VERSION_REPLY_SIZE] = {};
    int32_t got = Request(address, port, request, sizeof request, reply, sizeof reply, m_shortWait);
    if (got < 0) {
        LoadText(IDS_CONNECT_FAILED, text);
        Log("connect server failed when getting server version!\n");
        return false;
    }
    if (got != static_cast<int32_t>(VERSION_REPLY_SIZE)) {
        LoadText(IDS_NO_REPLY, text);
        Log("socket received error message when getting server version!\n");
        return false;
    }
    WireReader in(reply, sizeof reply);
    uint16_t result = 0;
    in.U16(result);
    GetResultText(result, text);
    if (result != RESULT_OK) {
        Log("Get version failed when getting server version!\n");
        return false;
    }
    reply[13] = 0;
    if (versionOut)
        memcpy(versionOut, reply + 2, strlen(reinterpret_cast<char*>(reply + 2)) + 1);
    Log("Get server version successful!\n");
    return true;
}

bool CCommandManager::GetConferenceList(const char* address, const char* user, const char* password,
                                        uint16_t port, CPtrArray* rooms, char* text)
{
    // Unused bytes are sent as zeros, never as what the memory held before.
    char request[CONF_LIST_REQUEST_SIZE] = {};
    request[0] = REQ_CONFERENCE_LIST;
    CopyField(request + 1, 21, user);
    CopyField(request + 22, 22, password);
    int32_t got = Request(address, port, request, sizeof request, m_reply, REPLY_SIZE, m_longWait);
    SecureZeroMemory(request, sizeof request);
    if (!CheckReply(got, "getting conference list", text))
        return false;
    WireReader in(m_reply, static_cast<size_t>(got));
    uint16_t result = 0;
    in.U16(result);
    GetResultText(result, text);
    if (result != RESULT_OK)
        return false;
    if ((got - 2) % sizeof(CONF_INFO) != 0) {
        LoadText(IDS_BAD_ROOM_LIST, text);
        Log("received wrong data when getting conference list!\n");
        return false;
    }
    while (in.Remaining() >= sizeof(CONF_INFO)) {
        CONF_INFO room;
        in.Record(room);
        room.name[sizeof room.name - 1] = '\0';
        if (rooms)
            rooms->Add(new CONF_INFO(room));
    }
    return true;
}

bool CCommandManager::GetUpdateServerAddress(const CString& address, CStringList* servers,
                                             uint16_t* portOut, char* text)
{
    if (servers)
        servers->RemoveAll();
    unsigned char request[1] = {REQ_UPDATE_SERVERS};
    int32_t got = Request(static_cast<LPCSTR>(address), static_cast<uint16_t>(m_login->serverPort),
                          request, sizeof request, m_reply, REPLY_SIZE, m_shortWait);
    if (!CheckReply(got, "getting update server address", text))
        return false;
    WireReader in(m_reply, static_cast<size_t>(got));
    uint16_t result = 0, port = 0;
    uint8_t count = 0;
    in.U16(result);
    GetResultText(result, text);
    if (result != RESULT_OK) {
        Log("Get update server address failed!\n");
        return false;
    }
    in.U16(port);
    in.U8(count);
    if (!in.Ok() ||
        static_cast<uint32_t>(got) != UPDATE_REPLY_HEAD_SIZE + UPDATE_ADDRESS_SIZE * count) {
        LoadText(IDS_UPDATE_FAILED, text);
        Log("Get update server address failed, the date of server return length failed!\n");
        return false;
    }
    in.Seek(UPDATE_REPLY_HEAD_SIZE);
    size_t added = 0;
    for (uint8_t i = 0; i < count; ++i) {
        char entry[UPDATE_ADDRESS_SIZE];
        in.Bytes(entry, sizeof entry);
        size_t n = strnlen(entry, sizeof entry);
        if (n == 0 || n > 15)
            break;
        if (servers)
            servers->AddTail(CString(entry, static_cast<int>(n)));
        ++added;
    }
    if (added == 0) {
        LoadText(IDS_UPDATE_FAILED, text);
        Log("Get update server address failed, the date of IP String failed!\n");
        return false;
    }
    if (portOut)
        *portOut = port;
    Log("getting update server address successful!\n");
    return true;
}

bool CCommandManager::Login(LOGIN_INFO* info, char* text)
{
    if (!info)
        info = m_login;
    if (GetHandle()) {
        // A receive thread from an earlier login: joined when it has ended
        // (the connection was lost); a running one keeps its connection.
        // A thread that reported the loss is already on its way out.
        if (!m_lost && WaitForSingleObject(GetHandle(), 0) != WAIT_OBJECT_0) {
            LoadText(IDS_CONNECT_FAILED, text);
            Log("already logged in!\n");
            return false;
        }
        CNamedThread::Stop();
    }
    m_lost = 0;

    LOGIN_REQUEST request = {};
    request.kind = info->loginMode == 0   ? REQ_LOGIN
                   : info->loginMode == 1 ? REQ_LOGIN_MODE1
                                          : REQ_LOGIN_OTHER;
    request.roomId = info->roomId;
    CopyField(request.user, sizeof request.user, info->userName);
    CopyField(request.password, sizeof request.password, info->password);
    unsigned char wire[sizeof(LOGIN_REQUEST)];
    WireWriter out(wire, sizeof wire);
    out.U8(request.kind);
    out.Zeros(3);
    out.U32(request.roomId);
    out.Bytes(request.user, sizeof request.user);
    out.Bytes(request.password, sizeof request.password);
    SecureZeroMemory(&request, sizeof request);

    {
        CScopedLock lock(&m_sendLock);
        DestroyTcpLink(m_link);
        m_link = CreateTcpLink(FRAME_KIND_HEAD);
    }
    if (!LinkConnect(m_link, info->serverAddress, static_cast<uint16_t>(info->serverPort))) {
        SecureZeroMemory(wire, sizeof wire);
        LoadText(IDS_CONNECT_FAILED, text);
        Log("connect server failed when loginning!\n");
        return false;
    }
    uint32_t sent = LinkSend(m_link, wire, sizeof wire);
    SecureZeroMemory(wire, sizeof wire);
    if (sent == 0) {
        LoadText(IDS_SEND_FAILED, text);
        Log("send failed when loginning!\n");
        return DropLink();
    }
    int32_t got = LinkRecvTimeout(m_link, m_reply, REPLY_SIZE, m_longWait);
    if (got <= 0) {
        LoadText(IDS_NO_REPLY, text);
        Log("receive time out when loginning!\n");
        return DropLink();
    }
    WireReader in(m_reply, static_cast<size_t>(got));
    uint16_t result = 0;
    in.U16(result);
    GetResultText(result, text);
    if (result == RESULT_KICKED && got >= 4) {
        uint16_t minutes = 0;
        in.U16(minutes);
        char format[TEXT_SIZE];
        LoadFormat(IDS_KICKED_MINUTES, format);
        snprintf(text, TEXT_SIZE, format, minutes);
        Log("user kicked when loginning!\n");
    } else if (result == RESULT_OTHER_MCU && got >= 18) {
        m_reply[17] = 0;
        char format[TEXT_SIZE];
        LoadFormat(IDS_OTHER_MCU, format);
        snprintf(text, TEXT_SIZE, format, reinterpret_cast<char*>(m_reply + 2));
    }
    if (result != RESULT_OK)
        return DropLink();

    // The length is checked before anything of the reply is taken, so a
    // short reply leaves the login record as it was.
    if (got < static_cast<int32_t>(LOGIN_REPLY_HEAD_SIZE) ||
        (got - LOGIN_REPLY_HEAD_SIZE) % sizeof(WIRE_USER_INFO) != 0) {
        LoadText(IDS_BAD_LOGIN_REPLY, text);
        Log("Received error data when loginning!\n");
        return DropLink();
    }
    LOGIN_REPLY_HEAD head = {};
    in.Seek(0);
    in.Record(head);
    info->meetingMode = head.meetingMode;
    info->userId = head.userId;
    info->role = head.role;
    info->audioPort = head.audioPort;
    info->audioPort2 = head.audioPort2;
    info->freeFileSending = head.freeFileSending;
    while (in.Remaining() >= sizeof(WIRE_USER_INFO)) {
        WIRE_USER_INFO entry;
        in.Record(entry);
        // The name field is 21 bytes; it ends within it.
        entry.name[sizeof entry.name - 1] = '\0';
        if (entry.userId == info->userId)
            CopyField(info->userName, sizeof info->userName, entry.name);
        m_users->AddWireUser(&entry);
    }
    if (info != m_login)
        *m_login = *info;
    Start();
    return true;
}

bool CCommandManager::DropLink()
{
    CScopedLock lock(&m_sendLock);
    DestroyTcpLink(m_link);
    return false;
}

uint32_t CCommandManager::Run()
{
    m_closing = 0;
    if (!m_link)
        return 0;
    for (;;) {
        CQueueBuffer* buffer = GetFree(INFINITE);
        if (!buffer)
            return 0;
        int32_t got =
            LinkRecv(m_link, buffer->GetData(), static_cast<int32_t>(buffer->GetCapacity()));
        if (got >= 2) {
            buffer->SetLength(static_cast<uint32_t>(got));
            PutFilled(buffer);
            if (m_closing)
                return 0;
            continue;
        }
        if (m_closing) {
            PutFree(buffer);
            return 0;
        }
        // The connection is lost: its socket is closed at once, so that the
        // server sees the end too, and the UI thread learns of it from an
        // entry of length 0.
        LinkClose(m_link);
        m_lost = 1;
        buffer->SetLength(0);
        PutFilled(buffer);
        return 0;
    }
}

void CCommandManager::Close()
{
    if (m_log)
        m_log->Write(1, "Closing command manager!\n");
    m_closing = 1;
    CBufferPool::Stop();
    LinkClose(m_link);
    CNamedThread::Stop();
    {
        CScopedLock lock(&m_sendLock);
        DestroyTcpLink(m_link);
    }
    if (m_log)
        m_log->Write(1, "Closed command manager!\n");
}

bool CCommandManager::IsConnected()
{
    CScopedLock lock(&m_sendLock);
    return m_link && m_link->IsConnected();
}

bool CCommandManager::SendFrame(const void* payload, uint32_t length)
{
    if (!m_link)
        return false;
    return m_link->Send(payload, length) >= length;
}

// ---------------------------------------------------------------------------
// Senders. Each builds its message under the send lock, in the send buffer
// or, for the short ones, in a local buffer; bytes that a layout leaves open
// are zero.

bool CCommandManager::SendCodeOnly(uint16_t code)
{
    unsigned char message[2];
    WireWriter out(message, sizeof message);
    out.U16(code);
    CScopedLock lock(&m_sendLock);
    return SendFrame(message, sizeof message);
}

bool CCommandManager::SendByte(uint16_t code, uint8_t value)
{
    unsigned char message[4] = {};
    WireWriter out(message, sizeof message);
    out.U16(code);
    out.U8(value);
    CScopedLock lock(&m_sendLock);
    return SendFrame(message, sizeof message);
}

bool CCommandManager::SendIdByte(uint16_t code, uint32_t id, uint8_t value)
{
    unsigned char message[12] = {};
    WireWriter out(message, sizeof message);
    out.U16(code);
    out.Seek(4);
    out.U32(id);
    out.U8(value);
    CScopedLock lock(&m_sendLock);
    return SendFrame(message, sizeof message);
}

bool CCommandManager::SendDeviceInfo(uint8_t a, uint8_t b, uint8_t c, uint8_t d)
{
    unsigned char message[6];
    WireWriter out(message, sizeof message);
    out.U16(CMD_DEVICE_INFO);
    out.U8(b);
    out.U8(a);
    out.U8(c);
    out.U8(d);
    CScopedLock lock(&m_sendLock);
    return SendFrame(message, sizeof message);
}

bool CCommandManager::SendMeetingMode(uint8_t mode) { return SendByte(CMD_MEETING_MODE, mode); }
bool CCommandManager::SendLockMeeting(uint8_t flag) { return SendByte(CMD_LOCK_MEETING, flag); }

bool CCommandManager::SendKickUser(uint32_t id, uint16_t minutes)
{
    unsigned char message[12] = {};
    WireWriter out(message, sizeof message);
    out.U16(CMD_KICK_USER);
    out.Seek(4);
    out.U32(id);
    out.U16(minutes);
    CScopedLock lock(&m_sendLock);
    return SendFrame(message, sizeof message);
}

bool CCommandManager::SendGrantSpeak(uint32_t id, uint8_t on)
{
    return SendIdByte(CMD_GRANT_SPEAK, id, on);
}
bool CCommandManager::SendVideoBroadcast(uint32_t id, uint8_t on)
{
    return SendIdByte(CMD_VIDEO_BROADCAST, id, on);
}
bool CCommandManager::SendMeetingControl(uint32_t id, uint8_t on)
{
    return SendIdByte(CMD_MEETING_CONTROL, id, on);
}
bool CCommandManager::SendSpeechRequest() { return SendCodeOnly(CMD_SPEECH_REQUEST); }
bool CCommandManager::SendSpeechGiveUp() { return SendCodeOnly(CMD_SPEECH_GIVE_UP); }
bool CCommandManager::SendControlRequest() { return SendCodeOnly(CMD_CONTROL_REQUEST); }
bool CCommandManager::SendControlGiveUp() { return SendCodeOnly(CMD_CONTROL_GIVE_UP); }
bool CCommandManager::SendCommand2068(uint32_t id)
{
    return SendIdByte(CMD_CLOSE_USER_VIDEO, id, 0);
}
bool CCommandManager::SendCommand2076(uint8_t value)
{
    return SendByte(CMD_SCREEN_BROADCAST, value);
}
bool CCommandManager::SendCommand2078(uint32_t id, uint8_t value)
{
    return SendIdByte(CMD_REMOTE_CONTROL_REQUEST, id, value);
}
bool CCommandManager::SendCommand2080(uint32_t id, uint8_t value)
{
    return SendIdByte(CMD_REMOTE_CONTROL_ANSWER, id, value);
}
bool CCommandManager::SendKeepAlive() { return SendCodeOnly(CMD_KEEP_ALIVE); }
bool CCommandManager::SendDocumentDelete(uint32_t id, uint8_t kind)
{
    return SendIdByte(CMD_DOCUMENT_DELETE, id, kind);
}
bool CCommandManager::SendDocumentListRequest(uint32_t id, uint8_t value)
{
    return SendIdByte(CMD_DOCUMENT_LIST_REQUEST, id, value);
}
bool CCommandManager::SendCommand2105(uint32_t id, uint8_t deviceIndex)
{
    return SendIdByte(CMD_VIDEO_DEVICE, id, deviceIndex);
}
bool CCommandManager::SendTemporaryHost(uint32_t id, uint8_t value)
{
    return SendIdByte(CMD_TEMPORARY_HOST, id, value);
}
bool CCommandManager::SendStartNotice() { return SendCodeOnly(CMD_START_NOTICE); }
bool CCommandManager::SendWhiteboardRight(uint32_t id, uint8_t allow)
{
    return SendIdByte(CMD_WHITEBOARD_RIGHT, id, allow);
}
bool CCommandManager::SendRecordRight(uint32_t id, uint8_t allow)
{
    return SendIdByte(CMD_RECORD_RIGHT, id, allow);
}
bool CCommandManager::SendTextChatRight(uint32_t id, uint8_t allow)
{
    return SendIdByte(CMD_TEXT_CHAT_RIGHT, id, allow);
}
bool CCommandManager::SendFileUploadRight(uint32_t id, uint8_t allow)
{
    return SendIdByte(CMD_FILE_UPLOAD_RIGHT, id, allow);
}

bool CCommandManager::SendStopVideoNotice(uint32_t id, uint16_t a, uint16_t b)
{
    unsigned char message[12] = {};
    WireWriter out(message, sizeof message);
    out.U16(CMD_STOP_VIDEO_NOTICE);
    out.Seek(4);
    out.U32(id);
    out.U16(a);
    out.U16(b);
    CScopedLock lock(&m_sendLock);
    return SendFrame(message, sizeof message);
}

bool CCommandManager::SendFileOffer(uint32_t size, uint32_t handle, const char* name,
                                    const uint32_t* ids, uint8_t count)
{
    size_t nameLength = TextLength(name);
    if (count && !ids)
        return false;
    size_t length = 16 + nameLength + 4u * count;
    if (length > SEND_SIZE)
        return false;
    CScopedLock lock(&m_sendLock);
    memset(m_send, 0, length);
    WireWriter out(m_send, length);
    out.U16(CMD_FILE_OFFER);
    out.Seek(4);
    out.U32(size);
    out.U32(handle);
    out.U16(static_cast<uint16_t>(nameLength));
    out.U8(count);
    out.Seek(16);
    out.Bytes(name, nameLength);
    for (uint8_t i = 0; i < count; ++i)
        out.U32(ids[i]);
    return out.Ok() && SendFrame(m_send, static_cast<uint32_t>(length));
}

bool CCommandManager::SendWindowLayout(const void* record, uint8_t length)
{
    if (length && !record)
        return false;
    uint32_t total = 4u + length;
    CScopedLock lock(&m_sendLock);
    memset(m_send, 0, total);
    WireWriter out(m_send, total);
    out.U16(CMD_WINDOW_LAYOUT);
    out.U8(length);
    out.Seek(4);
    out.Bytes(record, length);
    return out.Ok() && SendFrame(m_send, total);
}

bool CCommandManager::SendWhiteboardData(const void* data, uint16_t length)
{
    if (length && !data)
        return false;
    uint32_t total = 4u + length;
    if (total > SEND_SIZE)
        return false;
    CScopedLock lock(&m_sendLock);
    WireWriter out(m_send, total);
    out.U16(CMD_RELAY);
    out.U16(length);
    out.Bytes(data, length);
    return out.Ok() && SendFrame(m_send, total);
}

bool CCommandManager::SendChat(uint32_t recipient, uint32_t colour, const void* chat,
                               uint16_t length)
{
    if (length && !chat)
        return false;
    uint32_t total = 20u + length;
    if (total > SEND_SIZE)
        return false;
    CScopedLock lock(&m_sendLock);
    memset(m_send, 0, 20);
    WireWriter out(m_send, total);
    out.U16(CMD_CHAT);
    out.Seek(4);
    out.U32(recipient);
    out.U32(m_login->userId);
    out.U32(colour);
    out.U16(static_cast<uint16_t>(length));
    out.Seek(20);
    out.Bytes(chat, length);
    return out.Ok() && SendFrame(m_send, total);
}

bool CCommandManager::SendCameraControl(uint32_t target, const void* bytes, uint8_t length)
{
    if (length && !bytes)
        return false;
    uint32_t total = 12u + length;
    CScopedLock lock(&m_sendLock);
    memset(m_send, 0, 12);
    WireWriter out(m_send, total);
    out.U16(CMD_CAMERA_CONTROL);
    out.Seek(4);
    out.U32(target);
    out.U8(length);
    out.Seek(12);
    out.Bytes(bytes, length);
    return out.Ok() && SendFrame(m_send, total);
}

bool CCommandManager::SendDocumentItem(uint8_t a, uint32_t b, uint8_t c, uint16_t d,
                                       const uint16_t* pair, const char* name, const char* path)
{
    // Lengths count the terminator, which is sent; a null string sends nothing.
    size_t l1 = name ? strlen(name) + 1 : 0;
    size_t l2 = path ? strlen(path) + 1 : 0;
    if (l1 > MAX_SHORT_STRING + 1 || l2 > 0xFFFF)
        return false;
    size_t total = 24 + l1 + l2;
    if (total > SEND_SIZE)
        return false;
    CScopedLock lock(&m_sendLock);
    memset(m_send, 0, 24);
    WireWriter out(m_send, total);
    out.U16(CMD_DOCUMENT);
    out.U8(1);
    out.U8(a);
    out.U32(b);
    out.U8(c);
    out.Seek(10);
    out.U16(d);
    out.U16(pair ? pair[0] : 0);
    out.U16(pair ? pair[2] : 0);
    out.U8(static_cast<uint8_t>(l1));
    out.Seek(18);
    out.U16(static_cast<uint16_t>(l2));
    out.U16(0);
    out.Seek(24);
    out.Bytes(name, l1);
    out.Bytes(path, l2);
    return out.Ok() && SendFrame(m_send, static_cast<uint32_t>(total));
}

bool CCommandManager::SendDocumentCategory(uint8_t a, uint32_t b, uint8_t c, const char* first,
                                           const char* second, const char* third)
{
    size_t l1 = first ? strlen(first) + 1 : 0;
    size_t l2 = second ? strlen(second) + 1 : 0;
    size_t l3 = third ? strlen(third) + 1 : 0;
    if (l1 > MAX_SHORT_STRING + 1 || l2 > 0xFFFF || l3 > 0xFFFF)
        return false;
    size_t total = 24 + l1 + l2 + l3;
    if (total > SEND_SIZE)
        return false;
    CScopedLock lock(&m_sendLock);
    memset(m_send, 0, 24);
    WireWriter out(m_send, total);
    out.U16(CMD_DOCUMENT);
    out.U8(0);
    out.U8(a);
    out.U32(b);
    out.U8(c);
    out.Seek(10);
    out.U16(0);
    out.Seek(16);
    out.U8(static_cast<uint8_t>(l1));
    out.Seek(18);
    out.U16(static_cast<uint16_t>(l2));
    out.U16(static_cast<uint16_t>(l3));
    out.Seek(24);
    out.Bytes(first, l1);
    out.Bytes(second, l2);
    out.Bytes(third, l3);
    return out.Ok() && SendFrame(m_send, static_cast<uint32_t>(total));
}

bool CCommandManager::SendDocumentRename(uint32_t id, uint8_t value, const char* name)
{
    size_t l = name ? strlen(name) + 1 : 0;
    if (l > MAX_SHORT_STRING + 1)
        return false;
    size_t total = 12 + l;
    CScopedLock lock(&m_sendLock);
    memset(m_send, 0, 12);
    WireWriter out(m_send, total);
    out.U16(CMD_DOCUMENT_RENAME);
    out.Seek(4);
    out.U32(id);
    out.U8(value);
    out.U8(static_cast<uint8_t>(l));
    out.Seek(12);
    out.Bytes(name, l);
    return out.Ok() && SendFrame(m_send, static_cast<uint32_t>(total));
}

bool CCommandManager::SendBroadcastData(const uint32_t* ids, uint16_t count, const void* data,
                                        uint16_t length)
{
    if (!ids || count == 0 || !data || length == 0)
        return false;
    size_t total = 6 + 4u * count + length;
    if (total > SEND_SIZE)
        return false;
    CScopedLock lock(&m_sendLock);
    WireWriter out(m_send, total);
    out.U16(CMD_BROADCAST_DATA);
    out.U16(count);
    out.U16(length);
    for (uint16_t i = 0; i < count; ++i)
        out.U32(ids[i]);
    out.Bytes(data, length);
    return out.Ok() && SendFrame(m_send, static_cast<uint32_t>(total));
}

bool CCommandManager::SendMeetingState(const void* record)
{
    if (!record)
        return false;
    CScopedLock lock(&m_sendLock);
    WireWriter out(m_send, MEETING_STATE_SIZE);
    out.Bytes(record, MEETING_STATE_SIZE);
    // The record may still carry the code under which it arrived.
    out.Seek(0);
    out.U16(CMD_MEETING_STATE);
    return out.Ok() && SendFrame(m_send, MEETING_STATE_SIZE);
}
