#pragma once
#include "IWebLink.h"

class CCommandManager;

// The web pages' records sent through the command connection's relay.
class CWebRelayLink : public IWebLink
{
public:
    explicit CWebRelayLink(CCommandManager* commands) : m_commands(commands) {}
    bool SendRelay(const void* data, uint16_t length) override;

private:
    CCommandManager* m_commands;
};
