#include "CUpgradePath.h"

#include <cstring>

#include "CClientSettings.h"
#include "CCommandManager.h"
#include "ClientUtil.h"
#include "IProcessLauncher.h"

CUpgradePath::CUpgradePath(IProcessLauncher* launcher, CCommandManager* manager,
                           const CClientSettings* settings, const LOGIN_INFO* login)
    : m_launcher(launcher), m_manager(manager), m_settings(settings), m_login(login)
{}

bool CUpgradePath::IsSameVersion(const char* local, const char* server)
{
    return strcmp(local ? local : "", server ? server : "") == 0;
}

bool CUpgradePath::GetUpdateServers(const CString& address, CStringList* servers, uint16_t* port)
{
    if (!servers || !port)
        return false;
    if (strcmp(m_login->serverVersion, "03.06.00.00") > 0) {
        char text[CCommandManager::TEXT_SIZE] = {};
        if (!m_manager->GetUpdateServerAddress(address, servers, port, text)) {
            ShowMessage(text);
            return false;
        }
        return true;
    }
    servers->RemoveAll();
    servers->AddTail(address);
    *port = static_cast<uint16_t>(m_settings->upgradeServerPort);
    return true;
}

std::string CUpgradePath::BuildUpdaterCommandLine(const std::string& updaterPath,
                                                  const CStringList& servers, uint16_t port,
                                                  int codePage) const
{
    // The updater knows these two language files only.
    const char* languageFile = codePage == 950 ? "trachinese.ini" : "english.ini";
    std::string line = "\"" + updaterPath + "\" /LANGFILE:" + languageFile +
                       " /PRODUCTNAME:" + std::to_string(m_settings->versionId) +
                       " /VERSIONTO:" + m_login->serverVersion +
                       " /VERSIONFROM:" + m_settings->version;
    for (POSITION pos = servers.GetHeadPosition(); pos;) {
        std::string server = static_cast<LPCSTR>(servers.GetNext(pos));
        line += " /FILESERVER:" + server + "@" + server + "@" + std::to_string(port);
    }
    return line;
}

bool CUpgradePath::StartUpdater(const CStringList* servers, uint16_t port,
                                const std::string& appFolder, int codePage)
{
    if (!servers || servers->IsEmpty())
        return false;
    std::string updater = appFolder + "Updater.exe";
    return m_launcher->Start(updater.c_str(),
                             BuildUpdaterCommandLine(updater, *servers, port, codePage));
}

bool CUpgradePath::OpenDownloadPage() { return m_launcher->ShellOpen(PRODUCT_DOWNLOAD_ADDRESS); }

bool CUpgradePath::OpenDownloadPageInBrowser()
{
    if (m_launcher->Start(nullptr, std::string("iexplore ") + PRODUCT_DOWNLOAD_ADDRESS))
        return true;
    return OpenDownloadPage();
}
