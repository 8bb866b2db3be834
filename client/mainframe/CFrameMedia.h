#pragma once
#include "IFrameMedia.h"

// The main window's media calls through the program's bound function table;
// a function that is not bound is left out.
class CFrameMedia : public IFrameMedia
{
public:
    bool ConnectAudio(uint32_t roomId, uint32_t userId, const char* server, uint16_t port) override;
    void StopAll() override;
};
