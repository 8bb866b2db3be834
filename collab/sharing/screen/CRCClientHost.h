#pragma once
#include "IRCHost.h"

class CCommandManager;

// The parts of the screen-broadcast page's host that the client's own
// services give: the command connection, the message boxes, the control
// right and the start of the sharing program. The main window derives from
// it (or holds one) and supplies its pages, its tab area, the settings
// dialog and the participants pane's broadcast flag.
class CRCClientHost : public IRCHost
{
public:
    explicit CRCClientHost(CCommandManager* commands) : m_commands(commands) {}

    bool SendBroadcastState(uint8_t on) override;
    bool SendControlRequest(uint32_t userId, uint8_t value) override;
    bool SendControlAnswer(uint32_t userId, uint8_t value) override;
    void ShowInformation(const char* text) override;
    void ShowPlain(const char* text) override;
    bool HasControlRight() override;
    unsigned RunHidden(const std::string& commandLine) override;

private:
    CCommandManager* m_commands;
};
