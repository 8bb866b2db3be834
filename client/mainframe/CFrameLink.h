#pragma once
#include "IFrameLink.h"

class CCommandManager;

// The main window's link over the program's command manager.
class CFrameLink : public IFrameLink
{
public:
    explicit CFrameLink(CCommandManager* manager = nullptr);

    CBufferPool* ReceivedQueue() override;
    bool SendStartNotice() override;
    bool SendKeepAlive() override;
    bool SendWindowLayout(const void* record, uint8_t length) override;
    bool SendWhiteboardData(const void* data, uint16_t length) override;

private:
    CCommandManager* m_manager;
};
