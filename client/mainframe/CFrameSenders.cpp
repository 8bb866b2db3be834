#include "CFrameSenders.h"

#include "CCommandManager.h"

CFrameSenders::CFrameSenders(CCommandManager* manager)
    : m_manager(manager ? manager : &g_CmdManager)
{}

bool CFrameSenders::SendMeetingMode(uint8_t mode) { return m_manager->SendMeetingMode(mode); }

bool CFrameSenders::SendLockMeeting(uint8_t flag) { return m_manager->SendLockMeeting(flag); }

bool CFrameSenders::SendMeetingState(const void* record)
{
    return m_manager->SendMeetingState(record);
}

bool CFrameSenders::SendRemoteControlEnd(uint32_t userId, uint8_t value)
{
    return m_manager->SendCommand2080(userId, value);
}
