#include "CQuilletApp.h"

#include "CClientSettings.h"
#include "CCommandManager.h"
#include "CMediaBinder.h"
#include "CQuilletAudio.h"
#include "CQuilletBinder.h"
#include "CQuilletDlgLogin.h"
#include "CQuilletResultCodes.h"
#include "CRavoTMSlots.h"
#include "ClientLog.h"
#include "ClientUtil.h"
#include "IProcessLauncher.h"
#include "QuilletConfig.h"

CQuilletApp* g_pQuilletApp = nullptr;

CQuilletApp::CQuilletApp() {}

CQuilletApp::~CQuilletApp()
{
    if (g_pQuilletApp == this)
        g_pQuilletApp = nullptr;
    delete m_audio;
}

BOOL CQuilletApp::InitInstance()
{
    g_CmdManager.SetResultTextIds(&CQuilletResultCodes::TextId);
    return CClientApp::InitInstance();
}

bool CQuilletApp::BindMediaLibraries()
{
    if (g_MediaFolder.empty())
        g_MediaFolder = CMediaBinder::GetDefaultFolder();
    CQuilletBinder binder(GetLibraryLoader());
    if (!binder.Bind(g_MediaFolder, &g_RavoTM, &g_MediaFunctions)) {
        g_Log.Write(0, "Binding the media libraries failed: %s\n", binder.GetFailure().c_str());
        return false;
    }
    delete m_audio;
    m_audio = new CQuilletAudio(g_RavoTM, g_MediaFunctions, g_Settings,
                                [](UINT id) { ShowMessageById(id); });
    CRavoTMSlots::Fill(g_RavoTM, m_audio, &g_MediaFunctions);
    g_pQuilletApp = this;
    return true;
}

void CQuilletApp::StartAudio()
{
    // This edition makes its first audio call when the main window starts
    // the devices.
}

void CQuilletApp::Upgrade(const CString&, bool)
{
    // The setup package of the new version; no updater is started.
    GetProcessLauncher()->ShellOpen(QUILLET_SETUP_ADDRESS);
}

CDlgLogin* CQuilletApp::NewLoginDialog() { return new CQuilletDlgLogin(nullptr); }
