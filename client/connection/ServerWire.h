#pragma once
#include <cstdint>

// Records and codes of the conference server connection. Every record here
// is packed little-endian as on the wire, read and written only through
// WireReader and WireWriter.

// Synchronous requests: the first byte of a request on a connection of its own.
enum : uint8_t {
    REQ_SERVER_VERSION = 2,
    REQ_CONFERENCE_LIST = 3,
    REQ_LOGIN = 4,       // login mode 0
    REQ_LOGIN_MODE1 = 6, // login mode 1
    REQ_LOGIN_OTHER = 7, // any other login mode
    REQ_UPDATE_SERVERS = 8,
};

// Commands of the command stream (u16 code at offset 0).
enum : uint16_t {
    CMD_DEVICE_INFO = 2049,
    CMD_USER_JOINED = 2050,
    CMD_USER_DEVICES = 2051,
    CMD_USER_QUIT = 2052,
    CMD_MEETING_MODE = 2053,
    CMD_LOCK_MEETING = 2054,
    CMD_KICK_USER = 2055,
    CMD_GRANT_SPEAK = 2056,
    CMD_SPEAK_STATE = 2057,
    CMD_VIDEO_BROADCAST = 2058,
    CMD_RECEIVE_VIDEO_REPLY = 2059,
    CMD_STOP_VIDEO = 2060,
    CMD_MEETING_CONTROL = 2061,
    CMD_DATA_CONTROL = 2062,
    CMD_SPEECH_REQUEST = 2063,
    CMD_SPEECH_GIVE_UP = 2064,
    CMD_CONTROL_REQUEST = 2065,
    CMD_CONTROL_GIVE_UP = 2066,
    CMD_CLOSE_USER_VIDEO = 2068,
    CMD_START_SEND_VIDEO = 2069,
    CMD_FREE_FILE_SENDING = 2070,
    CMD_FILE_OFFER = 2071,
    CMD_FILE_OFFER_NOTICE = 2072,
    CMD_WINDOW_LAYOUT = 2073,
    CMD_SCREEN_BROADCAST = 2076,
    CMD_SCREEN_BROADCAST_NOTICE = 2077,
    CMD_REMOTE_CONTROL_REQUEST = 2078,
    CMD_REMOTE_CONTROL_NOTICE = 2079,
    CMD_REMOTE_CONTROL_ANSWER = 2080,
    CMD_RELAY = 2081,
    CMD_RELAY_RUN = 2085,
    CMD_SPEAKERS_FULL = 2086,
    CMD_STOP_SEND_VIDEO = 2087,
    CMD_CHAT = 2088,
    CMD_CAMERA_CONTROL = 2090,
    CMD_CAMERA_COMMAND = 2091,
    CMD_KEEP_ALIVE = 2092,
    CMD_DOCUMENT = 2094,
    CMD_DOCUMENT_ADDED = 2095,
    CMD_DOCUMENT_DELETE = 2096,
    CMD_DOCUMENT_DELETED = 2097,
    CMD_DOCUMENT_RENAME = 2098,
    CMD_DOCUMENT_RENAMED = 2099,
    CMD_DOCUMENT_LIST_REQUEST = 2100,
    CMD_DOCUMENT_LIST = 2101,
    CMD_DOCUMENT_MOVE = 2102,
    CMD_DOCUMENT_MOVED = 2103,
    CMD_VIDEO_DEVICE = 2105,
    CMD_DEVICE_STATE = 2106,
    CMD_FORCED_LEAVE = 2107,
    CMD_SCREEN_CONTROL_GRANT = 2108,
    CMD_BROADCAST_DATA = 2109,
    CMD_PARTICIPANT_DATA = 2110,
    CMD_TEMPORARY_HOST = 2111,
    CMD_REMOTE_CONTROL_REPLY = 4352,
    CMD_STOP_VIDEO_NOTICE = 4353,
    CMD_VIDEO_WIDTH = 4354,
    CMD_ROLE = 4355,
    CMD_MEETING_STATE = 4357,
    CMD_START_NOTICE = 4358,      // sent by the client; the server answers with
    CMD_MEETING_STATE_ALL = 4358, // the meeting state under the same code
    CMD_WHITEBOARD_RIGHT = 4359,
    CMD_RECORD_RIGHT = 4360,
    CMD_TEXT_CHAT_RIGHT = 4361,
    CMD_FILE_UPLOAD_RIGHT = 4368,
};

// Server result codes of the synchronous requests and the login.
enum : uint16_t {
    RESULT_OK = 0,
    RESULT_NO_ROOM_FOR_USER = 2,
    RESULT_SERVER_FULL = 257,
    RESULT_NO_SUCH_ROOM = 258,
    RESULT_NO_SUCH_USER = 259,
    RESULT_WRONG_PASSWORD = 260,
    RESULT_ROOM_FULL = 262,
    RESULT_SAME_NAME = 263,
    RESULT_ROOM_LOCKED = 265,
    RESULT_KICKED = 272,
    RESULT_OTHER_MCU = 282,
    RESULT_NO_NICKNAME_LOGIN = 284,
};

enum : uint32_t {
    MEETING_STATE_SIZE = 1392,
    COMMAND_BUFFER_SIZE = 32768,
    VERSION_REPLY_SIZE = 20,
    LOGIN_REPLY_HEAD_SIZE = 22,
    CONF_LIST_REQUEST_SIZE = 44,
    UPDATE_REPLY_HEAD_SIZE = 6,
    UPDATE_ADDRESS_SIZE = 16,
};

#pragma pack(push, 1)

// One meeting room of the conference list.
struct CONF_INFO
{
    uint32_t roomId;
    char name[21];
    uint8_t reserved1;
    uint16_t visits; // shown beside the name
    uint16_t online; // participants online
    uint16_t reserved2;
};
static_assert(sizeof(CONF_INFO) == 32, "CONF_INFO is 32 bytes");

// One participant of the login reply.
struct WIRE_USER_INFO
{
    uint32_t userId;
    char name[21];
    uint8_t role;
    uint8_t speakState;
    uint8_t controlState;
    uint8_t hasAudio;
    uint8_t hasVideo;
    uint8_t deviceFlagA; // video device count
    uint8_t deviceFlagB; // selected video device
    uint8_t allowWhiteboard;
    uint8_t allowRecord;
    uint8_t allowTextChat;
    uint8_t allowFileUpload;
};
static_assert(sizeof(WIRE_USER_INFO) == 36, "WIRE_USER_INFO is 36 bytes");

// The login request (kinds 4, 6 and 7).
struct LOGIN_REQUEST
{
    uint8_t kind;
    uint8_t reserved[3];
    uint32_t roomId;
    char user[21];
    char password[23];
};
static_assert(sizeof(LOGIN_REQUEST) == 52, "LOGIN_REQUEST is 52 bytes");

// The fixed head of a successful login reply, before the participants.
struct LOGIN_REPLY_HEAD
{
    uint16_t result;
    uint8_t meetingMode;
    uint8_t reserved1[7];
    uint32_t userId;
    uint8_t role;
    uint8_t reserved2;
    uint16_t audioPort;
    uint16_t audioPort2;
    uint8_t freeFileSending;
    uint8_t reserved3;
};
static_assert(sizeof(LOGIN_REPLY_HEAD) == 22, "the login reply head is 22 bytes");

// The chat payload of command 2088.
struct CHAT_MSG_HEAD
{
    uint32_t privateFlag;
    char face[12];
    uint32_t fontSize;
    // the NUL-terminated text follows
};
static_assert(sizeof(CHAT_MSG_HEAD) == 20, "the chat payload head is 20 bytes");

// The fixed head of one item of the shared-document lists (commands 2095 and
// 2101); three texts without terminators follow it, nameLength,
// secondNameLength and thirdLength bytes one after another.
struct DOC_ITEM
{
    uint32_t id;
    uint8_t kind; // 0 file, 1 document
    uint8_t entryKind;
    uint8_t reserved1[2];
    uint32_t folderId;
    uint8_t flag;
    uint8_t reserved2;
    uint16_t value;
    uint16_t valueA;
    uint16_t valueB;
    uint8_t nameLength;
    uint8_t secondNameLength;
    uint16_t thirdLength;
};
static_assert(sizeof(DOC_ITEM) == 24, "DOC_ITEM is 24 bytes");

#pragma pack(pop)

// The connection's settings (memory only).
struct LOGIN_INFO
{
    char serverVersion[12];
    char serverAddress[16];
    uint32_t serverPort;
    char roomName[24];
    uint32_t roomId;
    uint8_t meetingMode;
    uint32_t loginMode;
    uint32_t freeFileSending;
    char userName[21];
    char password[19];
    uint32_t userId;
    uint8_t role;
    uint16_t audioPort;
    uint16_t audioPort2;
};
