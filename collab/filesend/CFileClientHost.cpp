#include "CFileClientHost.h"

#include "afxdlgs.h"
#include "afxwin.h"

#include "CClientSettings.h"
#include "CCommandManager.h"
#include "CFileSendDlg.h"
#include "CMainFrameBase.h"
#include "CPassLibrary.h"
#include "CUserTable.h"
#include "ClientUtil.h"

#include <shlobj.h>

#include <cstring>

CFileClientHost::CFileClientHost() : m_receiveFolder(g_Settings.recvFilePath) {}

CUserTable& CFileClientHost::Users() { return g_UserTable; }

uint32_t CFileClientHost::OwnUserId() { return g_LoginInfo.userId; }

std::string CFileClientHost::ServerAddress()
{
    return std::string(g_LoginInfo.serverAddress,
                       strnlen(g_LoginInfo.serverAddress, sizeof g_LoginInfo.serverAddress));
}

uint16_t CFileClientHost::FileTransferPort()
{
    return static_cast<uint16_t>(g_Settings.ftpServerPort);
}

uint32_t CFileClientHost::RoomId() { return g_LoginInfo.roomId; }

CPassLibrary& CFileClientHost::Pass() { return CPassLibrary::Client(); }

HWND CFileClientHost::MainWindow() { return g_pMainFrame ? g_pMainFrame->m_hWnd : NULL; }

bool CFileClientHost::SendFileOffer(uint32_t size, uint32_t transferId, const std::string& name,
                                    const std::vector<uint32_t>& recipients)
{
    if (recipients.size() > 255 || name.size() > 0xFFFF)
        return false;
    return g_CmdManager.SendFileOffer(size, transferId, name.c_str(), recipients.data(),
                                      static_cast<uint8_t>(recipients.size()));
}

void CFileClientHost::ShowMessage(const char* text) { ::ShowMessage(text); }

bool CFileClientHost::AskYesNo(const char* text)
{
    return AfxMessageBox(text ? text : "", MB_YESNO | MB_ICONQUESTION) == IDYES;
}

bool CFileClientHost::ChooseFile(CWnd* owner, std::string* path)
{
    CFileDialog dlg(TRUE, NULL, NULL, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, NULL, owner);
    if (dlg.DoModal() != IDOK)
        return false;
    *path = (LPCSTR)dlg.GetPathName();
    return !path->empty();
}

bool CFileClientHost::ChooseRecipients(CFileSendDlg& dlg) { return dlg.DoModal() == IDOK; }

bool CFileClientHost::ChooseFolder(CWnd* owner, std::string* folder)
{
    char chosen[MAX_PATH] = {};
    BROWSEINFOA info = {};
    info.hwndOwner = owner ? owner->GetSafeHwnd() : NULL;
    info.pszDisplayName = chosen;
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    LPITEMIDLIST list = SHBrowseForFolderA(&info);
    if (!list)
        return false;
    const bool ok = SHGetPathFromIDListA(list, chosen) && chosen[0];
    CoTaskMemFree(list);
    if (ok)
        *folder = chosen;
    return ok;
}

bool CFileClientHost::Run(const std::string& commandLine)
{
    return ::WinExec(commandLine.c_str(), SW_SHOWNORMAL) > 31;
}
