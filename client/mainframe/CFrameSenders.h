#pragma once
#include "IFrameSenders.h"

class CCommandManager;

// The menu's commands through the command connection (the program's one
// when none is given).
class CFrameSenders : public IFrameSenders
{
public:
    explicit CFrameSenders(CCommandManager* manager = nullptr);

    bool SendMeetingMode(uint8_t mode) override;
    bool SendLockMeeting(uint8_t flag) override;
    bool SendMeetingState(const void* record) override;
    bool SendRemoteControlEnd(uint32_t userId, uint8_t value) override;

private:
    CCommandManager* m_manager;
};
