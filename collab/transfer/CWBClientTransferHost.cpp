#include "CWBClientTransferHost.h"

#include <cstring>

#include "CClientSettings.h"
#include "CCommandManager.h"
#include "CMainFrameBase.h"
#include "CPassLibrary.h"
#include "ClientUtil.h"

CWBClientTransferHost::CWBClientTransferHost(PageArrived pageArrived)
    : m_pageArrived(std::move(pageArrived))
{}

CPassLibrary& CWBClientTransferHost::Pass() { return CPassLibrary::Client(); }

std::string CWBClientTransferHost::ServerAddress()
{
    return std::string(g_LoginInfo.serverAddress,
                       strnlen(g_LoginInfo.serverAddress, sizeof g_LoginInfo.serverAddress));
}

uint16_t CWBClientTransferHost::FileTransferPort()
{
    return static_cast<uint16_t>(g_Settings.ftpServerPort);
}

uint32_t CWBClientTransferHost::RoomId() { return g_LoginInfo.roomId; }

HWND CWBClientTransferHost::MainWindow() { return g_pMainFrame ? g_pMainFrame->m_hWnd : NULL; }

void CWBClientTransferHost::OnPageArrived(uint32_t documentId, int pageIndex)
{
    if (m_pageArrived)
        m_pageArrived(documentId, pageIndex);
}

void CWBClientTransferHost::AnnounceDocument(const WB_UPLOADED_DOCUMENT& document)
{
    // The page size travels as the low halves of the two 32-bit values.
    uint32_t size[2] = {document.pageWidth, document.pageHeight};
    g_CmdManager.SendDocumentItem(2, document.folder, document.uploadFlag, document.pageCount,
                                  reinterpret_cast<const uint16_t*>(size), document.name.c_str(),
                                  document.storedName.c_str());
}

void CWBClientTransferHost::ShowMessage(const char* text) { ::ShowMessage(text); }
