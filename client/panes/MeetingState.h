#pragma once
#include <cstddef>
#include <cstdint>

#include "ServerWire.h"

#pragma pack(push, 1)
// The meeting-state record: the current vote, the bulletin and the two
// meeting-wide switches. It travels whole: received with 4358, sent after
// every local change with 4357.
struct MEETING_STATE
{
    uint16_t code;      // 4357 or 4358
    char initiator[24]; // who started the vote
    char title[30];     // empty: no vote
    char remark[1024];
    char items[5][40];  // item texts A to E
    uint32_t counts[5]; // 0xFFFFFFFF: item not in use
    uint32_t startTime; // seconds since 1970-01-01 UTC
    char bulletin[80];
    uint32_t noFileTransfer; // nonzero: participants may not send files
    uint32_t noPrivateChat;  // nonzero: chat only to everybody
};
#pragma pack(pop)
static_assert(sizeof(MEETING_STATE) == MEETING_STATE_SIZE, "MEETING_STATE is 1392 bytes");
static_assert(offsetof(MEETING_STATE, initiator) == 2, "initiator at 2");
static_assert(offsetof(MEETING_STATE, title) == 26, "title at 26");
static_assert(offsetof(MEETING_STATE, remark) == 56, "remark at 56");
static_assert(offsetof(MEETING_STATE, items) == 1080, "items at 1080");
static_assert(offsetof(MEETING_STATE, counts) == 1280, "counts at 1280");
static_assert(offsetof(MEETING_STATE, startTime) == 1300, "start time at 1300");
static_assert(offsetof(MEETING_STATE, bulletin) == 1304, "bulletin at 1304");
static_assert(offsetof(MEETING_STATE, noFileTransfer) == 1384, "file switch at 1384");
static_assert(offsetof(MEETING_STATE, noPrivateChat) == 1388, "private-chat switch at 1388");

enum : uint32_t { VOTE_ITEM_UNUSED = 0xFFFFFFFF, VOTE_ITEM_COUNT = 5 };

// Reading, writing and clearing the record.
class CMeetingState
{
public:
    // An empty record: no vote, no bulletin, both switches off.
    static void Reset(MEETING_STATE& state);
    // Reads a received record; false (state unchanged) when fewer than 1392
    // bytes came. Every text field gets a terminator in its last byte.
    static bool Read(const void* data, size_t length, MEETING_STATE& state);
    // Writes the record into out (1392 bytes).
    static bool Write(const MEETING_STATE& state, void* out, size_t capacity);
    // Clears the vote; the bulletin and the switches keep their values.
    static void ClearVote(MEETING_STATE& state);
    static bool HasVote(const MEETING_STATE& state) { return state.title[0] != 0; }
    // Copies text into a field of size bytes, at most size - 1 bytes and never
    // half a double-byte character; the rest of the field is zeroed.
    static void CopyField(char* field, size_t size, const char* text);
};
