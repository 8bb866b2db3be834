#pragma once
#include "ICommandLink.h"

class CCommandManager;

// The dispatcher's senders over the program's command manager.
class CFrameCommandLink : public ICommandLink
{
public:
    explicit CFrameCommandLink(CCommandManager* manager = nullptr);

    bool SendCommand2076(uint8_t value) override;
    bool SendCommand2078(uint32_t userId, uint8_t value) override;
    void GetResultText(uint16_t code, char* text) override;

private:
    CCommandManager* m_manager;
};
