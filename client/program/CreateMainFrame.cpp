// The program's main window: the meeting window with the program's panes.
#include "CMainFrame.h"
#include "CProgramPanes.h"
#include "CProgramSharing.h"
#include "CSharingCommandTargets.h"
#include "WbFrameRegistration.h"

CMainFrameBase* CreateMainFrame()
{
    RegisterWhiteboardFrame();
    // One main window per run: its command targets live as long as the program.
    static CSharingCommandTargets s_targets;
    MAINFRAME_SERVICES services;
    services.commands.targets = &s_targets;
    services.makePanes = [](CMainFrame* frame) -> IFramePanes* {
        CProgramPanes* panes = new CProgramPanes(frame, DefaultPaneContext(nullptr));
        panes->Sharing().BindCommandTargets(&s_targets);
        return panes;
    };
    return new CMainFrame(services);
}
