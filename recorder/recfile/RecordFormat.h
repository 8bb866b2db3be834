#pragma once
#include <cstddef>
#include <cstdint>

// The meeting recording file: a fixed header, five stream descriptors, then
// stream blocks, embedded document bodies and index chunks appended as they
// come. Only the two index chains locate the appended pieces. All words are
// little-endian; every record below is read and written through
// WireReader / WireWriter.

#define REC_FILE_EXTENSION "Pellrund"
#define REC_FILE_FILTER "Record Files (*.Pellrund)|*.Pellrund||"

enum : uint32_t {
    REC_FILE_VERSION = 0x03050000,
    REC_NO_CHUNK = 0xFFFFFFFF,
    REC_STREAM_COUNT = 5,
    REC_NAME_SIZE = 64,
    REC_HEADER_SIZE = 96,
    REC_DESC_OFFSET = 96,
    REC_DATA_OFFSET = 156, // first byte after the descriptors
    REC_TOTAL_TIME_OFFSET = 76,
    REC_BLOCK_CHAIN_OFFSET = 80, // header word holding the first block chunk
    REC_FILE_CHAIN_OFFSET = 84,  // header word holding the first document chunk
    REC_CHUNK_ENTRIES = 1024,
    REC_DOCUMENT_PIECE = 0x20000, // embedded documents are copied in pieces of this size
    REC_MAX_BLOCK = 0x200000,     // longest block a reader accepts
};

extern const char REC_FILE_MAGIC[4]; // "V))A", no terminator

// Stream kinds, also the order of the descriptors in the file.
enum RecStreamKind : uint32_t {
    REC_STREAM_AUDIO = 1,
    REC_STREAM_VIDEO = 2,
    REC_STREAM_BOARD = 3,
    REC_STREAM_COMMAND = 4,
    REC_STREAM_CHAT = 5,
};

// Buffer capacity of a stream in the recorder, 0 for an unknown kind.
uint32_t RecStreamCapacity(uint32_t kind);
// Audio, video and chat records carry a 4-byte prefix word before their payload.
bool RecStreamHasPrefix(uint32_t kind);

#pragma pack(push, 1)

struct REC_FILE_HEADER
{
    char magic[4];
    uint32_t version;
    char name[REC_NAME_SIZE]; // the file path, NUL-terminated only when shorter than 64
    uint32_t startTime;       // seconds since 1970-01-01 UTC
    uint32_t totalTime;       // milliseconds, 0 until the recording is stopped
    uint32_t firstBlockChunk; // REC_NO_CHUNK while there is none
    uint32_t firstFileChunk;  // REC_NO_CHUNK while there is none
    uint32_t reserved;
    uint32_t streamCount;
};
static_assert(sizeof(REC_FILE_HEADER) == 96, "file header is 96 bytes");

struct REC_STREAM_DESC
{
    uint32_t kind;
    uint32_t capacity;
    uint32_t reserved;
};
static_assert(sizeof(REC_STREAM_DESC) == 12, "stream descriptor is 12 bytes");

// Head of one record of a stream block; L bytes follow.
struct REC_ITEM
{
    uint32_t time;   // milliseconds since the recording started
    uint32_t length; // L, the length of the rest of the record
};
static_assert(sizeof(REC_ITEM) == 8, "record head is 8 bytes");

struct REC_INDEX_CHUNK_HEAD
{
    uint32_t next; // REC_NO_CHUNK in the last chunk of a chain
    uint32_t reserved;
    uint32_t count; // 1 to 1024 entries of 20 bytes follow
};
static_assert(sizeof(REC_INDEX_CHUNK_HEAD) == 12, "chunk head is 12 bytes");

struct REC_BLOCK_ENTRY
{
    uint32_t kind;
    uint32_t firstTime;
    uint32_t offset;
    uint32_t length;
    uint32_t reserved;
};
static_assert(sizeof(REC_BLOCK_ENTRY) == 20, "block entry is 20 bytes");

struct REC_FILE_ENTRY
{
    uint32_t key1;
    uint32_t key2;
    uint32_t offset;
    uint32_t length;
    uint32_t reserved;
};
static_assert(sizeof(REC_FILE_ENTRY) == 20, "document entry is 20 bytes");

// One layout command: a code byte and up to eight bytes of arguments, stored
// packed with only as many argument bytes as the code takes.
struct REC_LAYOUT_CMD
{
    uint8_t code;
    uint8_t args[8];
};
static_assert(sizeof(REC_LAYOUT_CMD) == 9, "longest layout command is 9 bytes");

#pragma pack(pop)

enum RecLayoutCode : uint8_t {
    REC_LAYOUT_ADD_VIDEO = 1,
    REC_LAYOUT_DEL_VIDEO = 2,
    REC_LAYOUT_FLOAT_VIDEO = 3,
    REC_LAYOUT_MAIN_VIDEO = 4,
    REC_LAYOUT_FULL_VIDEO = 5,
    REC_LAYOUT_SWAP_VIDEO = 6,
    REC_LAYOUT_LAST_VIDEO = 7,
    REC_LAYOUT_SPLIT_MODE = 16,
    REC_LAYOUT_SHOW_VIDEO = 17,
    REC_LAYOUT_SHOW_BOARD = 18,
    REC_LAYOUT_SHOW_CHAT = 19,
    REC_LAYOUT_ADD_AUDIO = 20,
    REC_LAYOUT_DEL_AUDIO = 21,
};

// Stored length of a layout command with this code, 0 for a code the
// recorder never writes.
size_t RecLayoutLength(uint8_t code);

// Chat stream payload kinds (the prefix word of a kind-5 record).
enum RecChatKind : uint32_t {
    REC_CHAT_LINE = 0,
    REC_CHAT_USER_JOINED = 1,
    REC_CHAT_USER_LEFT = 2,
    REC_CHAT_BOARD_ADDRESS = 3,
    REC_CHAT_BROWSE_ADDRESS = 4,
};

// Fills out with the first REC_DATA_OFFSET bytes of a new recording: the
// header with the name text cut to 64 characters (NUL-terminated only when
// shorter), no index chunks and total time 0, then the five stream
// descriptors.
void RecBuildFileStart(unsigned char (&out)[REC_DATA_OFFSET], const char* name, uint32_t startTime);
