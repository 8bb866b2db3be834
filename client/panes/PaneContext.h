#pragma once

class CUserTable;
class CCommandManager;
class CLanguageManager;
class IPaneHost;
struct LOGIN_INFO;

// The shared objects a pane works with: the program's globals in the
// client, a test's own in tests.
struct PANE_CONTEXT
{
    CUserTable* users = nullptr;
    LOGIN_INFO* login = nullptr;
    CCommandManager* commands = nullptr;
    const CLanguageManager* language = nullptr;
    IPaneHost* host = nullptr;
};

// The program's participant table, login record, command manager and
// language manager, with the given host.
PANE_CONTEXT DefaultPaneContext(IPaneHost* host);
