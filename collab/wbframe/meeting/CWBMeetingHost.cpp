#include "CWBMeetingHost.h"

#include "CCommandManager.h"
#include "CLanguageManager.h"
#include "CUserTable.h"
#include "afxdlgs.h"

#include <string.h>

bool CWBMeetingHost::IsChair()
{
    uint32_t chair = 0;
    return g_UserTable.GetChairId(&chair) && chair == g_LoginInfo.userId;
}

void CWBMeetingHost::RequestPageSync()
{
    uint32_t chair = 0;
    if (!g_UserTable.GetChairId(&chair))
        return;
    // The chair's client answers with the page it shows.
    const unsigned char request[2] = {0x40, 0x00};
    g_CmdManager.SendBroadcastData(&chair, 1, request, sizeof request);
}

std::string CWBMeetingHost::ServerAddress()
{
    return std::string(g_LoginInfo.serverAddress,
                       strnlen(g_LoginInfo.serverAddress, sizeof g_LoginInfo.serverAddress));
}

std::string CWBMeetingHost::Text(UINT id, const char* fallback)
{
    std::string text = fallback ? fallback : "";
    g_LangManager.LoadStringTo(id, text);
    return text;
}

bool CWBMeetingHost::ChooseMeetingDocument(std::string* path, std::string* name)
{
    CFileDialog dlg(TRUE, NULL, NULL, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST,
                    "All Files (*.*)|*.*||");
    if (dlg.DoModal() != IDOK)
        return false;
    *path = (LPCTSTR)dlg.GetPathName();
    *name = (LPCTSTR)dlg.GetFileTitle();
    return true;
}

bool CWBMeetingHost::ChooseFile(bool save, const char* defaultName, const char* filter,
                                std::string* path)
{
    CFileDialog dlg(save ? FALSE : TRUE, save ? "kqf" : NULL, defaultName,
                    save ? OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT
                         : OFN_HIDEREADONLY | OFN_FILEMUSTEXIST,
                    filter);
    if (dlg.DoModal() != IDOK)
        return false;
    *path = (LPCTSTR)dlg.GetPathName();
    return true;
}
