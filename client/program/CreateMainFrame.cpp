// The program's main window: the meeting window.
#include "CMainFrame.h"
#include "WbFrameRegistration.h"

CMainFrameBase* CreateMainFrame()
{
    RegisterWhiteboardFrame();
    return new CMainFrame;
}
