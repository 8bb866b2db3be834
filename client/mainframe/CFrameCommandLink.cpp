#include "CFrameCommandLink.h"

#include "CCommandManager.h"

CFrameCommandLink::CFrameCommandLink(CCommandManager* manager)
    : m_manager(manager ? manager : &g_CmdManager)
{}

bool CFrameCommandLink::SendCommand2076(uint8_t value) { return m_manager->SendCommand2076(value); }

bool CFrameCommandLink::SendCommand2078(uint32_t userId, uint8_t value)
{
    return m_manager->SendCommand2078(userId, value);
}

void CFrameCommandLink::GetResultText(uint16_t code, char* text)
{
    m_manager->GetResultText(code, text);
}
