#pragma once
#include <cstdint>

#include "IVideoLibrary.h"

// The video library's send side over the function table that start-up binds
// (g_MediaFunctions); an entry that is not bound is left out.
class CVideoLibraryLink : public IVideoLibrary
{
public:
    void StartSend(uint32_t streamId, const char* serverAddress, uint16_t port) override;
    void StopSend() override;
    void SetVideoWidth(uint16_t oldWidth, uint16_t newWidth) override;
};
