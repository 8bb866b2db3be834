#include "CWebRelayLink.h"

#include "CCommandManager.h"

bool CWebRelayLink::SendRelay(const void* data, uint16_t length)
{
    return m_commands && m_commands->SendWhiteboardData(data, length);
}
