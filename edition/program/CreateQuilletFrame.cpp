// The program's main window: the meeting window of this edition.
#include "CQuilletApp.h"
#include "CQuilletFrame.h"

CMainFrameBase* CreateMainFrame()
{
    return new CQuilletFrame(g_pQuilletApp ? g_pQuilletApp->Audio() : nullptr);
}
