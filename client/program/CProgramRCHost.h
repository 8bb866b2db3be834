#pragma once
#include "CRCClientHost.h"

class CMainFrame;
class CProgramPanes;

// The screen broadcast page's host in the program: the command connection,
// boxes and the sharing program's start from the client's services, and the
// main window's screen page, data window and tab area, its settings command
// and the left pane's broadcast flag.
class CProgramRCHost : public CRCClientHost
{
public:
    CProgramRCHost(CMainFrame* frame, CProgramPanes* panes, CCommandManager* commands)
        : CRCClientHost(commands), m_frame(frame), m_panes(panes)
    {}

    HWND GetMainWindow() override;
    void ShowScreenPage() override;
    void RepaintTabArea() override;
    void OpenScreenSettings() override;
    bool GetBroadcastFlag() override;
    void SetBroadcastFlag(bool on) override;

    // The screen broadcast's page on the main tab strip.
    enum { SCREEN_PAGE = 4 };

private:
    CMainFrame* m_frame;
    CProgramPanes* m_panes;
};
