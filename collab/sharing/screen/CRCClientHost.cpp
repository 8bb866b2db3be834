#include "CRCClientHost.h"

#include "afxwin.h"

#include "CCommandManager.h"
#include "ClientUtil.h"

bool CRCClientHost::SendBroadcastState(uint8_t on)
{
    return m_commands && m_commands->SendCommand2076(on);
}

bool CRCClientHost::SendControlRequest(uint32_t userId, uint8_t value)
{
    return m_commands && m_commands->SendCommand2078(userId, value);
}

bool CRCClientHost::SendControlAnswer(uint32_t userId, uint8_t value)
{
    return m_commands && m_commands->SendCommand2080(userId, value);
}

void CRCClientHost::ShowInformation(const char* text) { ::ShowMessage(text); }

void CRCClientHost::ShowPlain(const char* text) { AfxMessageBox(text ? text : "", MB_OK); }

bool CRCClientHost::HasControlRight() { return ::HasControlRight(); }

unsigned CRCClientHost::RunHidden(const std::string& commandLine)
{
    return ::WinExec(commandLine.c_str(), SW_HIDE);
}
