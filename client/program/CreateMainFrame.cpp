// The program's main window: the meeting window with the program's panes.
#include "CMainFrame.h"
#include "CProgramPanes.h"
#include "WbFrameRegistration.h"

CMainFrameBase* CreateMainFrame()
{
    RegisterWhiteboardFrame();
    MAINFRAME_SERVICES services;
    services.makePanes = [](CMainFrame* frame) -> IFramePanes* {
        return new CProgramPanes(frame, DefaultPaneContext(nullptr));
    };
    return new CMainFrame(services);
}
