#include "CClientApp.h"

#include <objbase.h>

#include <cstring>
#include <memory>

#include "CAboutDlg.h"
#include "CClientSettings.h"
#include "CCommandLine.h"
#include "CCommandManager.h"
#include "CDlgLogin.h"
#include "CDlgSelectConf.h"
#include "CLanguageManager.h"
#include "CMainFrameBase.h"
#include "CMediaBinder.h"
#include "CTcpLink.h"
#include "CUpgradePath.h"
#include "CWin32SettingsStore.h"
#include "ClientLog.h"
#include "ClientUtil.h"
#include "ProgramResource.h"
#include "UiFont.h"

CClientApp* g_pClientApp = nullptr;
std::string g_MediaFolder;

namespace {

VIRTUAL_PRINTER_INSTALLER s_printerInstaller = nullptr;

const char kReinstallText[] = "请重新安装系统！";
const char kPrinterFailedText[] = "虚拟打印机第一次初化失败，将不能上传白板里的word,ppt文件";

} // namespace

BEGIN_MESSAGE_MAP(CClientApp, CWinApp)
    ON_COMMAND(ID_APP_ABOUT, OnAppAbout)
END_MESSAGE_MAP()

CClientApp::CClientApp() : m_launcher(&m_win32Launcher), m_loader(&m_win32Loader) {}

CClientApp::~CClientApp()
{
    if (g_pClientApp == this)
        g_pClientApp = nullptr;
    delete m_ownStore;
}

void CClientApp::SetProcessLauncher(IProcessLauncher* launcher)
{
    m_launcher = launcher ? launcher : &m_win32Launcher;
}

void CClientApp::SetLibraryLoader(ILibraryLoader* loader)
{
    m_loader = loader ? loader : &m_win32Loader;
}

void CClientApp::SetSettingsStore(ISettingsStore* store) { m_store = store; }

void CClientApp::SetAppFolder(const std::string& folder)
{
    m_appFolder = folder;
    if (!m_appFolder.empty() && m_appFolder.back() != '\\')
        m_appFolder += '\\';
}

void CClientApp::SetVirtualPrinterInstaller(VIRTUAL_PRINTER_INSTALLER installer)
{
    s_printerInstaller = installer;
}

BOOL CClientApp::InitInstance()
{
    if (m_appFolder.empty())
        m_appFolder = GetAppDirectory();
    if (!m_store) {
        m_ownStore = new CWin32SettingsStore(m_appFolder + SETTINGS_INI_FILE);
        m_store = m_ownStore;
    }

    AfxEnableControlContainer();
    Enable3dControls();
    SetRegistryKey(AFX_IDS_APP_TITLE);
    AfxInitRichEdit();
    AfxOleInit();
    CoInitialize(nullptr);

    if (!BindMediaLibraries()) {
        AfxShowMessageBox(nullptr, kReinstallText, "", MB_OK);
        return FALSE;
    }
    g_pClientApp = this;

    g_Log.SetFlags(CLogFile::LOG_FILE);
    g_Log.SetFile((m_appFolder + "Quillet.log").c_str(), 0);

    if (!StartWinsock()) {
        ShowMessageById(61446);
        return FALSE;
    }
    m_winsockStarted = true;

    StartAudio();

    InitNetworkDefaults();
    LoadSettings();
    CreateUiFont();
    MakeWorkingFolders();
    InstallPrinterOnce();

    if (ParseCommandLine()) {
        if (!DirectLogin())
            return FALSE;
    } else {
        CDlgSelectConf rooms(nullptr);
        std::unique_ptr<CDlgLogin> login(NewLoginDialog());
        login->SetSelectConf(&rooms);
        g_Log.Write(0, "start up application from window!\n");
        if (RunLoginDialogs(*login, rooms) != 4)
            return FALSE;
    }
    return CreateMainWindow() ? TRUE : FALSE;
}

bool CClientApp::DirectLogin()
{
    g_Log.Write(0, "start up application form command line!\n");
    if (!CheckServerVersion(g_LoginInfo.serverAddress))
        return false;
    if (!IsSameVersion()) {
        if (AskMainWindowById(61595) == IDCANCEL)
            return false;
        Upgrade(CString(g_LoginInfo.serverAddress), false);
        return false;
    }
    return LoginToServer();
}

uint32_t CClientApp::RunLoginDialogs(CDlgLogin& login, CDlgSelectConf& rooms)
{
    uint32_t state = 1;
    for (;;) {
        if (state == 1) {
            login.SetNextState(0);
            login.DoModal();
            state = login.GetNextState();
        } else if (state == 2) {
            rooms.SetNextState(0);
            rooms.DoModal();
            state = rooms.GetNextState();
        } else {
            return state;
        }
    }
}

bool CClientApp::CreateMainWindow()
{
    CMainFrameBase* frame = CreateMainFrame();
    if (!frame)
        return false;
    m_pMainWnd = frame;
    g_pMainFrame = frame;
    g_Log.Write(0, "Creating the main window\n");
    if (!frame->LoadFrame(128, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, nullptr, nullptr)) {
        // A frame that failed to create has freed itself.
        m_pMainWnd = nullptr;
        g_pMainFrame = nullptr;
        g_Log.Write(0, "Creating the main window failed!\n");
        return false;
    }
    g_Log.Write(0, "Main window created!\n");
    frame->ShowWindow(SW_SHOWMAXIMIZED);
    frame->UpdateWindow();
    return true;
}

int CClientApp::ExitInstance()
{
    // The connection (if a login left one) goes before Winsock does.
    g_CmdManager.Close();
    if (m_settingsLoaded)
        SaveSettings();
    FreeConferenceList(g_ConfList);
    if (m_winsockStarted) {
        WSACleanup();
        m_winsockStarted = false;
    }
    if (!m_appFolder.empty())
        DeleteFolderTree((m_appFolder + "temp").c_str());
    return CWinApp::ExitInstance();
}

bool CClientApp::BindMediaLibraries()
{
    if (g_MediaFolder.empty())
        g_MediaFolder = CMediaBinder::GetDefaultFolder();
    CMediaBinder binder(m_loader);
    if (binder.Bind(g_MediaFolder, &g_MediaFunctions))
        return true;
    g_Log.Write(0, "Binding the media libraries failed: %s\n", binder.GetFailure().c_str());
    return false;
}

void CClientApp::StartAudio()
{
    g_MediaFunctions.Get<PFN_AUDIO_MGR_Init>(MF_AUDIO_MGR_Init)(0, 16000);
}

void CClientApp::Upgrade(const CString& server, bool fromLoginDialog)
{
    CStringList servers;
    uint16_t port = 0;
    if (fromLoginDialog) {
        if (GetUpdateServers(server, &servers, &port))
            StartUpdater(&servers, port);
        OpenDownloadPageInBrowser();
        return;
    }
    OpenDownloadPage();
    if (GetUpdateServers(server, &servers, &port))
        StartUpdater(&servers, port);
}

CDlgLogin* CClientApp::NewLoginDialog() { return new CDlgLogin(nullptr); }

bool CClientApp::ParseCommandLine() { return ParseCommandLine(GetCommandLineA()); }

bool CClientApp::ParseCommandLine(const char* commandLine)
{
    return CCommandLine::ParseLogin(CCommandLine::Split(commandLine), &g_LoginInfo, &g_Log);
}

bool CClientApp::CheckServerVersion(const char* address)
{
    char text[CCommandManager::TEXT_SIZE] = {};
    if (g_CmdManager.GetServerVersion(address, static_cast<uint16_t>(g_LoginInfo.serverPort),
                                      g_LoginInfo.serverVersion, text))
        return true;
    g_Log.Write(0, "Getting the server version failed: %s\n", text);
    ShowMessage(text);
    return false;
}

bool CClientApp::IsSameVersion()
{
    return CUpgradePath::IsSameVersion(g_Settings.version.c_str(), g_LoginInfo.serverVersion);
}

bool CClientApp::LoginToServer()
{
    char text[CCommandManager::TEXT_SIZE] = {};
    if (g_CmdManager.Login(&g_LoginInfo, text))
        return true;
    g_Log.Write(0, "Login failed: %s\n", text);
    ShowMessage(text);
    return false;
}

bool CClientApp::GetUpdateServers(const CString& address, CStringList* servers, uint16_t* port)
{
    CUpgradePath path(m_launcher, &g_CmdManager, &g_Settings, &g_LoginInfo);
    return path.GetUpdateServers(address, servers, port);
}

bool CClientApp::StartUpdater(const CStringList* servers, uint16_t port)
{
    CUpgradePath path(m_launcher, &g_CmdManager, &g_Settings, &g_LoginInfo);
    return path.StartUpdater(servers, port, m_appFolder, g_LangManager.GetCurrentCodePage());
}

void CClientApp::OpenDownloadPage()
{
    CUpgradePath(m_launcher, &g_CmdManager, &g_Settings, &g_LoginInfo).OpenDownloadPage();
}

void CClientApp::OpenDownloadPageInBrowser()
{
    CUpgradePath(m_launcher, &g_CmdManager, &g_Settings, &g_LoginInfo).OpenDownloadPageInBrowser();
}

void CClientApp::InitNetworkDefaults()
{
    g_Settings.InitNetworkDefaults(m_appFolder, &g_LoginInfo);
}

void CClientApp::LoadSettings()
{
    if (!m_store)
        return;
    g_Settings.Load(*m_store, m_appFolder, g_LangManager, &g_LoginInfo);
    m_settingsLoaded = true;
}

void CClientApp::SaveSettings()
{
    if (m_store)
        g_Settings.Save(*m_store, g_LangManager);
}

void CClientApp::MakeWorkingFolders()
{
    CreateDirectoryA((m_appFolder + "Share").c_str(), nullptr);
    CreateDirectoryA((m_appFolder + "Temp").c_str(), nullptr);
    CreateDirectoryA(g_Settings.recvFilePath.c_str(), nullptr);
    CreateDirectoryA(g_Settings.photoFilePath.c_str(), nullptr);
}

void CClientApp::InstallPrinterOnce()
{
    if (!m_store || m_store->ReadIniInt(SETTINGS_INI_SECTION, "InitPrinter", 0) != 0)
        return;
    if (!s_printerInstaller) {
        g_Log.Write(0, "No virtual printer to install yet\n");
        return;
    }
    if (s_printerInstaller())
        m_store->WriteIniString(SETTINGS_INI_SECTION, "InitPrinter", "1");
    else
        AfxShowMessageBox(nullptr, kPrinterFailedText, "", MB_OK | MB_ICONEXCLAMATION);
}

void CClientApp::OnAppAbout()
{
    CAboutDlg about(m_pMainWnd);
    about.DoModal();
}
