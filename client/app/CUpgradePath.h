#pragma once
#include <cstdint>
#include <string>

#include "CString.h"
#include "CStringList.h"

class CCommandManager;
class CClientSettings;
class IProcessLauncher;
struct LOGIN_INFO;

// The product's web pages.
#define PRODUCT_WEB_ADDRESS "http://www.brovik.com/halvern/"
#define PRODUCT_DOWNLOAD_ADDRESS "http://www.brovik.com/halvern/download.html"

// What happens when the server runs another version than the client: the
// update servers are found and the updater is started with them.
class CUpgradePath
{
public:
    CUpgradePath(IProcessLauncher* launcher, CCommandManager* manager,
                 const CClientSettings* settings, const LOGIN_INFO* login);

    // Byte-wise equality of the local and the server's version texts.
    static bool IsSameVersion(const char* local, const char* server);

    // Servers newer than "03.06.00.00" name their update servers; older
    // ones are their own update server at the "UpgradeServerPort". A failed
    // request shows its text and gives false.
    bool GetUpdateServers(const CString& address, CStringList* servers, uint16_t* port);

    // The updater's command line for the servers and port.
    std::string BuildUpdaterCommandLine(const std::string& updaterPath, const CStringList& servers,
                                        uint16_t port, int codePage) const;
    // Starts "Updater.exe" of appFolder without waiting; false for an empty
    // list or when the program does not start.
    bool StartUpdater(const CStringList* servers, uint16_t port, const std::string& appFolder,
                      int codePage);

    // Opens the download page with the shell.
    bool OpenDownloadPage();
    // Opens the download page in the browser program, and with the shell
    // only when the browser does not start.
    bool OpenDownloadPageInBrowser();

private:
    IProcessLauncher* m_launcher;
    CCommandManager* m_manager;
    const CClientSettings* m_settings;
    const LOGIN_INFO* m_login;
};
