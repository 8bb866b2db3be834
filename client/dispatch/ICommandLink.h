#pragma once
#include <cstdint>

// What the dispatcher needs of the command connection.
class ICommandLink
{
public:
    virtual ~ICommandLink() = default;

    // Screen broadcast on or off, remote control of a user on or off.
    virtual bool SendCommand2076(uint8_t value) = 0;
    virtual bool SendCommand2078(uint32_t userId, uint8_t value) = 0;
    // The text of a server result code (260 bytes).
    virtual void GetResultText(uint16_t code, char* text) = 0;
};
