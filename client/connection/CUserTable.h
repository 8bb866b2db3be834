#pragma once
#include <winsock2.h>
#include <windows.h>

#include <cstdint>
#include <vector>

#include "ServerWire.h"

// One participant of the meeting (memory record, naturally aligned).
struct USER_INFO
{
    char name[24];
    uint32_t userId;
    uint8_t role; // 1 host
    uint8_t hasVideo;
    uint8_t hasAudio;
    uint8_t deviceFlagA;  // video device count
    uint8_t deviceFlagB;  // selected video device
    uint8_t speakState;   // 0 silent, 1 asked, 2 speaking
    uint8_t controlState; // 0 none, 1 asked, 2 holds the meeting control
    uint8_t videoState;   // 0 none, 1 requested, 2 receiving
    uint8_t broadcastFlag;
    uint8_t reserved;        // kept at 0
    uint8_t allowWhiteboard; // default 0
    uint8_t allowRecord;     // default 1
    uint8_t allowTextChat;   // default 1
    uint8_t allowFileUpload; // default 0
};
static_assert(sizeof(USER_INFO) == 44, "USER_INFO is 44 bytes");

// The participants of the current meeting, the own user included, in order
// of arrival, looked up by user id (the first match wins).
class CUserTable
{
public:
    CUserTable();
    virtual ~CUserTable();

    CUserTable(const CUserTable&) = delete;
    CUserTable& operator=(const CUserTable&) = delete;

    void AddUser(uint32_t id, const char* name, uint8_t role);
    void AddWireUser(const WIRE_USER_INFO* entry);
    void RemoveUser(uint32_t id);
    // Frees every record (not used during a meeting).
    void RemoveAll();

    // The record itself, valid until the user is removed; the getters below
    // copy under the table's lock and are the ones to use across threads.
    USER_INFO* FindUser(uint32_t id);
    bool GetUser(uint32_t id, USER_INFO* out);
    int GetCount();
    bool GetUserAt(int index, USER_INFO* out);
    bool GetUserName(uint32_t id, char* out);
    bool GetRole(uint32_t id, uint8_t* out);
    bool GetSpeakState(uint32_t id, uint8_t* out);
    bool GetControlState(uint32_t id, uint8_t* out);
    bool GetVideoState(uint32_t id, uint8_t* out);
    uint8_t HasVideo(uint32_t id);
    uint8_t HasAudio(uint32_t id);
    uint8_t GetBroadcastFlag(uint32_t id);
    uint8_t GetDeviceFlagA(uint32_t id);
    uint8_t GetDeviceFlagB(uint32_t id);

    void SetRole(uint32_t id, uint8_t value);
    void SetHasVideo(uint32_t id, uint8_t value);
    void SetHasAudio(uint32_t id, uint8_t value);
    void SetDeviceFlagA(uint32_t id, uint8_t value);
    void SetDeviceFlagB(uint32_t id, uint8_t value);
    // The video device count and the selected video device, by their other names.
    void SetFlag31(uint32_t id, uint8_t value) { SetDeviceFlagA(id, value); }
    void SetFlag32(uint32_t id, uint8_t value) { SetDeviceFlagB(id, value); }
    void SetSpeakState(uint32_t id, uint8_t value);
    void SetControlState(uint32_t id, uint8_t value);
    void SetVideoState(uint32_t id, uint8_t value);
    void SetBroadcastFlag(uint32_t id, uint8_t value);
    void SetAllowWhiteboardEdit(uint32_t id, uint8_t value);
    void SetAllowRecording(uint32_t id, uint8_t value);
    void SetAllowTextChat(uint32_t id, uint8_t value);
    void SetAllowFileUpload(uint32_t id, uint8_t value);

    // The first participant holding the meeting control.
    bool GetChairId(uint32_t* out);

private:
    // The record of a user id; the caller holds the lock for as long as it
    // touches the record.
    USER_INFO* FindLocked(uint32_t id) const;
    void SetByte(uint32_t id, uint8_t USER_INFO::*field, uint8_t value);
    uint8_t GetByte(uint32_t id, uint8_t USER_INFO::*field);
    bool GetByte(uint32_t id, uint8_t USER_INFO::*field, uint8_t* out);

    CRITICAL_SECTION m_lock;
    std::vector<USER_INFO*> m_users;
};

extern CUserTable g_UserTable;
