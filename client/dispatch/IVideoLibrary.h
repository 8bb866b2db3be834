#pragma once
#include <cstdint>

// What the dispatcher needs of the video library's send side.
class IVideoLibrary
{
public:
    virtual ~IVideoLibrary() = default;

    // Starts sending the own video to the server's port, each frame tagged
    // with streamId (the own user id).
    virtual void StartSend(uint32_t streamId, const char* serverAddress, uint16_t port) = 0;
    virtual void StopSend() = 0;
    // Moves one use from the old width to the new one.
    virtual void SetVideoWidth(uint16_t oldWidth, uint16_t newWidth) = 0;
};
