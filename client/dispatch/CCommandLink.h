#pragma once
#include "ICommandLink.h"

class CCommandManager;

// The dispatcher's view of the command connection, over the command manager.
class CCommandLink : public ICommandLink
{
public:
    explicit CCommandLink(CCommandManager& manager) : m_manager(manager) {}

    bool SendCommand2076(uint8_t value) override;
    bool SendCommand2078(uint32_t userId, uint8_t value) override;
    void GetResultText(uint16_t code, char* text) override;

private:
    CCommandManager& m_manager;
};
