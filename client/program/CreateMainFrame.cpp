// The program's main window: the meeting window.
#include "CMainFrame.h"

CMainFrameBase* CreateMainFrame()
{
    return new CMainFrame;
}
