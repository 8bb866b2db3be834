#pragma once
#include <winsock2.h>
#include <windows.h>

#include <cstdint>
#include <string>

#include "afxwin.h"
#include "CHttpDownLoad.h"
#include "CWin32LibraryLoader.h"
#include "CWin32ProcessLauncher.h"

class CDlgLogin;
class CDlgSelectConf;
class ILibraryLoader;
class IProcessLauncher;
class ISettingsStore;

// Installs the virtual printer on the first run; TRUE on success. The
// program sets the whiteboard printer link's installer; while none is set
// the step is left for a later start.
typedef BOOL (*VIRTUAL_PRINTER_INSTALLER)();

// The client's application object: binds the media libraries, opens the
// log, starts Winsock and the audio manager, loads the settings, makes the
// working folders, brings the user into a room (from the command line or
// through the login dialogs) and creates the main window. Its exit saves
// the settings and cleans up.
class CClientApp : public CWinApp
{
public:
    CClientApp();
    ~CClientApp() override;

    BOOL InitInstance() override;
    int ExitInstance() override;

    // What the two editions do differently: the media libraries bound,
    // the audio started with the program, the upgrade when the server runs
    // another version (from the command line or the login dialog) and the
    // login dialog shown.
    virtual bool BindMediaLibraries();
    virtual void StartAudio();
    virtual void Upgrade(const CString& server, bool fromLoginDialog);
    virtual CDlgLogin* NewLoginDialog();
    // Direct login from the command line: server address, room name, room
    // id, user name, password and an optional login mode, each may be quoted.
    bool ParseCommandLine();
    bool ParseCommandLine(const char* commandLine);
    bool CheckServerVersion(const char* address);
    bool IsSameVersion();
    bool LoginToServer();
    bool GetUpdateServers(const CString& address, CStringList* servers, uint16_t* port);
    bool StartUpdater(const CStringList* servers, uint16_t port);
    // The download page: with the shell; or by the browser program, and with
    // the shell only when that does not start.
    void OpenDownloadPage();
    void OpenDownloadPageInBrowser();

    void InitNetworkDefaults();
    void LoadSettings();
    void SaveSettings();

    // The login dialogs in turn until the user is in a room (4) or gave up
    // (any other state).
    static uint32_t RunLoginDialogs(CDlgLogin& login, CDlgSelectConf& rooms);

    // The program folder, with its trailing backslash.
    const std::string& GetAppFolder() const { return m_appFolder; }

    // Seams for tests: the programs started, the libraries loaded, the
    // settings storage, the folder the media libraries are loaded from and
    // the virtual printer's installer.
    void SetProcessLauncher(IProcessLauncher* launcher);
    void SetLibraryLoader(ILibraryLoader* loader);
    void SetSettingsStore(ISettingsStore* store);
    void SetAppFolder(const std::string& folder);
    IProcessLauncher* GetProcessLauncher() const { return m_launcher; }
    ILibraryLoader* GetLibraryLoader() const { return m_loader; }
    static void SetVirtualPrinterInstaller(VIRTUAL_PRINTER_INSTALLER installer);

    CHttpDownLoad m_HttpDownLoad;

protected:
    afx_msg void OnAppAbout();
    DECLARE_MESSAGE_MAP()

private:
    bool DirectLogin();
    void MakeWorkingFolders();
    void InstallPrinterOnce();
    bool CreateMainWindow();

    CWin32ProcessLauncher m_win32Launcher;
    CWin32LibraryLoader m_win32Loader;
    IProcessLauncher* m_launcher;
    ILibraryLoader* m_loader;
    ISettingsStore* m_store = nullptr;
    ISettingsStore* m_ownStore = nullptr;
    std::string m_appFolder;
    bool m_winsockStarted = false;
    // Settings are written back at exit only once they were read: a start
    // that ends early must not overwrite them with the defaults.
    bool m_settingsLoaded = false;
};

// The application object once InitInstance runs (null before).
extern CClientApp* g_pClientApp;
// The folder the media libraries are loaded from, with its trailing backslash.
extern std::string g_MediaFolder;
