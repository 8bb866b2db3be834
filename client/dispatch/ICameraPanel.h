#pragma once
#include <cstddef>

// What the dispatcher needs of the camera panel.
class ICameraPanel
{
public:
    virtual ~ICameraPanel() = default;

    // A camera command from the chair; bytes[0] is the command, length >= 1.
    virtual void OnRemoteCommand(const unsigned char* bytes, size_t length) = 0;
};
