// The dialog tests never reach the main window.
#include "CMainFrameBase.h"

CMainFrameBase* CreateMainFrame() { return nullptr; }
