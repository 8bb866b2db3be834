#pragma once
#include <cstdint>

class CBufferPool;

// What the main window needs of the command connection: the queue of
// received messages and the senders its timers and layout use.
class IFrameLink
{
public:
    virtual ~IFrameLink() = default;

    // Filled buffers (one received message each; length 0: connection lost).
    virtual CBufferPool* ReceivedQueue() = 0;
    virtual bool SendStartNotice() = 0;
    virtual bool SendKeepAlive() = 0;
    virtual bool SendWindowLayout(const void* record, uint8_t length) = 0;
    virtual bool SendWhiteboardData(const void* data, uint16_t length) = 0;
};
