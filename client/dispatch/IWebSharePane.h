#pragma once
#include <cstddef>

// What the dispatcher needs of the presentation board and of the co-browsing
// pane (one object each).
class IWebSharePane
{
public:
    virtual ~IWebSharePane() = default;

    // Records received from another participant; reads at most length bytes
    // and returns the count it consumed (0: nothing usable).
    virtual size_t OnPeerData(const unsigned char* data, size_t length) = 0;
    virtual void SetControlRight(bool allowed) = 0;
};
