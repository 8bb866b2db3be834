#pragma once
#include <cstddef>

// What the dispatcher needs of the whiteboard frame.
class IWhiteboard
{
public:
    virtual ~IWhiteboard() = default;

    // Board records received from another participant; reads at most length
    // bytes and returns the count it consumed (0: nothing usable).
    virtual size_t OnPeerData(const unsigned char* data, size_t length) = 0;
    virtual void SetEditRight(bool allowed) = 0;
    // Sends the current page to the others (asked for by a participant).
    virtual void SendPageSync() = 0;
};
