#pragma once
#include <cstdint>

// What the main window needs of the media libraries: the room's audio
// connection and the stop of every stream when the connection breaks.
class IFrameMedia
{
public:
    virtual ~IFrameMedia() = default;

    // Joins the room's audio on the server; false when it failed.
    virtual bool ConnectAudio(uint32_t roomId, uint32_t userId, const char* server,
                              uint16_t port) = 0;
    // Stops the video send, the audio connection, capture and playback and
    // the video capture, in this order.
    virtual void StopAll() = 0;
};
