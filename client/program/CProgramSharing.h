#pragma once
#include <winsock2.h>
#include <windows.h>

#include "IFramePanes.h"
#include "PaneContext.h"

#include <cstdint>
#include <memory>

class CMainFrame;
class CProgramPanes;
class CRCManager;
class CWebFrame;
class CWebShareFrame;
class CDlgScreenConfig;
class CFileTransfers;
class CSharingCommandTargets;
class IFileSendHost;
class IRCHost;
class IWebLink;

// The sharing pages of the main window and what drives them: the
// presentation board, co-browsing and the screen broadcast page on the tab
// strip, the screen-broadcast settings, and the file transfer between
// participants. Made by the program's pane factory; gives the dispatcher its
// targets and the main window's commands and panes their sharing calls.
class CProgramSharing
{
public:
    CProgramSharing(CMainFrame* frame, CProgramPanes* panes, const PANE_CONTEXT& context);
    ~CProgramSharing();

    // The main window's command targets reach these pages from now on,
    // until this object goes.
    void BindCommandTargets(CSharingCommandTargets* targets);

    // The panes made here (null for the others; handled tells which).
    CWnd* CreatePane(FRAME_PANE pane, CWnd* parent, bool* handled);
    // The two web pages are frames that delete themselves with their windows.
    static bool OwnedByFrame(FRAME_PANE pane);

    // The pages while their windows live (null otherwise).
    CWebShareFrame* Presentation();
    CWebFrame* Browsing();
    CRCManager* Screen();
    CDlgScreenConfig* ScreenConfig() { return m_screenConfig; }
    CFileTransfers& Files() { return *m_files; }

    // What the panes and the main window's commands ask of sharing.
    bool IsBroadcastingScreen();
    void EndScreenBroadcast();
    uint32_t GetRemoteControlledUser();
    void EndRemoteControl();
    uint32_t GetControllingUser();
    void EndControlled();
    // The board and co-browsing lose the control right, the whiteboard the
    // edit right unless the own record grants it.
    void DropSharingRights();
    void ShowScreenConfig();
    void StartFileSend(uint32_t preselectedUser);
    void OpenReceiveFolder();

private:
    void UpdateTargets();

    CMainFrame* m_frame;
    PANE_CONTEXT m_ctx;
    CSharingCommandTargets* m_commandTargets = nullptr;
    std::unique_ptr<IWebLink> m_relay;
    std::unique_ptr<IRCHost> m_rcHost;
    std::unique_ptr<IFileSendHost> m_fileHost;
    std::unique_ptr<CFileTransfers> m_files;
    CWebShareFrame* m_presentation = nullptr;
    CWebFrame* m_browsing = nullptr;
    HWND m_presentationWnd = NULL;
    HWND m_browsingWnd = NULL;
    CRCManager* m_screen = nullptr;
    CDlgScreenConfig* m_screenConfig = nullptr;
};
