#pragma once
#include "CDBFrame.h"

// What start-up and the client's utilities need of the main window: a
// skinned frame that start-up creates from resource 128 once the user is in
// a room, and the chat pane's system lines. The program supplies
// CreateMainFrame.
class CMainFrameBase : public CDBFrame
{
public:
    // A system line in the chat pane.
    virtual void AddSystemNotice(const char* text) = 0;
};

// A new, not yet created main window (heap object; it frees itself when its
// window is destroyed).
CMainFrameBase* CreateMainFrame();

// The main window once it exists, null before.
extern CMainFrameBase* g_pMainFrame;
