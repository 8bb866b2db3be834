#include "CQuilletFrame.h"

#include "CClientApp.h"
#include "CCommandManager.h"
#include "ClientLog.h"
#include "CQuilletAudio.h"
#include "CUserTable.h"
#include "MainFrameResource.h"
#include "WbFrameResource.h"

BEGIN_MESSAGE_MAP(CQuilletFrame, CMainFrame)
    ON_WM_TIMER()
END_MESSAGE_MAP()

MAINFRAME_SERVICES CQuilletFrame::EditionServices(MAINFRAME_SERVICES services)
{
    services.languageMenu = false;
    services.removedCommands = {ID_SPLIT_25, ID_SPLIT_25_FULL};
    return services;
}

CQuilletFrame::CQuilletFrame(CQuilletAudio* audio, const MAINFRAME_SERVICES& services)
    : CMainFrame(EditionServices(services)), m_audio(audio)
{}

void CQuilletFrame::OnTimer(UINT_PTR id)
{
    // The audio devices come up before the shared start step, which reports
    // the terminal's devices to the server.
    if (id == TIMER_START)
        StartDevices();
    CMainFrame::OnTimer(id);
}

bool CQuilletFrame::StartDevices()
{
    if (m_devicesStarted)
        return m_capturing;
    m_devicesStarted = true;
    if (m_audio) {
        m_capturing = m_audio->ApplyAll(g_UserTable, g_LoginInfo.userId);
        g_UserTable.SetHasAudio(g_LoginInfo.userId, m_capturing ? 1 : 0);
    }
    return m_capturing;
}

void CQuilletFrame::ArmCapture() { m_hotkey.Arm(GetSafeHwnd()); }

LRESULT CQuilletFrame::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    try {
        if (message == WM_HOTKEY && wParam == CCaptureHotkey::HOTKEY_ID) {
            std::string folder = m_captureFolder;
            if (folder.empty() && g_pClientApp)
                folder = g_pClientApp->GetAppFolder() + "ShareAll\\";
            const std::string path = m_hotkey.OnHotkey(GetSafeHwnd(), folder);
            g_Log.Write(1, "<CQuilletFrame::WindowProc> screen captured to \"%s\"\n", path.c_str());
            // An empty path (the capture failed) adds nothing to the board.
            if (m_pictureTarget && !path.empty())
                m_pictureTarget(path);
            return 0;
        }
        // The whiteboard's screen-capture button.
        if (message == WM_COMMAND && LOWORD(wParam) == IDC_WB_T_CAPTURE && lParam == 0) {
            ArmCapture();
            return 0;
        }
        if (message == WM_DESTROY)
            m_hotkey.Disarm(GetSafeHwnd());
    } catch (...) {
        g_Log.Write(0, "<CQuilletFrame::WindowProc> message %u failed\n", message);
        return 0;
    }
    return CMainFrame::WindowProc(message, wParam, lParam);
}
