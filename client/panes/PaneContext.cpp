#include "PaneContext.h"

#include "CCommandManager.h"
#include "CLanguageManager.h"
#include "CUserTable.h"

PANE_CONTEXT DefaultPaneContext(IPaneHost* host)
{
    PANE_CONTEXT context;
    context.users = &g_UserTable;
    context.login = &g_LoginInfo;
    context.commands = &g_CmdManager;
    context.language = &g_LangManager;
    context.host = host;
    return context;
}
