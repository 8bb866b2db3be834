// The main window until the meeting window exists: a plain frame that shows
// the room it was opened for and ends the program when it is closed.
#include <cstdio>

#include "CCommandManager.h"
#include "CMainFrameBase.h"
#include "ClientLog.h"

namespace {

class CPlaceholderFrame : public CMainFrameBase
{
public:
    void AddSystemNotice(const char* text) override { g_Log.Write(0, "%s\n", text ? text : ""); }

protected:
    int OnCreate(LPCREATESTRUCT lpcs)
    {
        if (CMainFrameBase::OnCreate(lpcs) == -1)
            return -1;
        char title[128];
        snprintf(title, sizeof title, "Halvern - %s (%s)", g_LoginInfo.roomName,
                 g_LoginInfo.userName);
        SetWindowText(title);
        return 0;
    }
    void OnDestroy()
    {
        g_CmdManager.Close();
        if (g_pMainFrame == this)
            g_pMainFrame = nullptr;
        CMainFrameBase::OnDestroy();
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CPlaceholderFrame, CMainFrameBase)
    ON_WM_CREATE()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

} // namespace

CMainFrameBase* CreateMainFrame()
{
    return new CPlaceholderFrame;
}
