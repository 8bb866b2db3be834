#pragma once
#include <cstdint>

// The commands the main window's menu sends to the server.
class IFrameSenders
{
public:
    virtual ~IFrameSenders() = default;

    // 2053: the meeting mode (0 free, 2 chair-controlled).
    virtual bool SendMeetingMode(uint8_t mode) = 0;
    // 2054: the meeting room locked (1) or open (0).
    virtual bool SendLockMeeting(uint8_t flag) = 0;
    // 4357: the whole 1392-byte meeting-state record.
    virtual bool SendMeetingState(const void* record) = 0;
    // 2080: the end of remote control, to the participant controlling.
    virtual bool SendRemoteControlEnd(uint32_t userId, uint8_t value) = 0;
};
