#include "CCommandLink.h"

#include "CCommandManager.h"

bool CCommandLink::SendCommand2076(uint8_t value) { return m_manager.SendCommand2076(value); }

bool CCommandLink::SendCommand2078(uint32_t userId, uint8_t value)
{
    return m_manager.SendCommand2078(userId, value);
}

void CCommandLink::GetResultText(uint16_t code, char* text) { m_manager.GetResultText(code, text); }
