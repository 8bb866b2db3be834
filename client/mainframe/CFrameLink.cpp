#include "CFrameLink.h"

#include "CCommandManager.h"

CFrameLink::CFrameLink(CCommandManager* manager) : m_manager(manager ? manager : &g_CmdManager) {}

CBufferPool* CFrameLink::ReceivedQueue() { return m_manager; }

bool CFrameLink::SendStartNotice() { return m_manager->SendStartNotice(); }

bool CFrameLink::SendKeepAlive() { return m_manager->SendKeepAlive(); }

bool CFrameLink::SendWindowLayout(const void* record, uint8_t length)
{
    return m_manager->SendWindowLayout(record, length);
}

bool CFrameLink::SendWhiteboardData(const void* data, uint16_t length)
{
    return m_manager->SendWhiteboardData(data, length);
}
