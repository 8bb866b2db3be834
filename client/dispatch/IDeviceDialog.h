#pragma once
#include <cstdint>

// What the dispatcher needs of the own device settings dialog.
class IDeviceDialog
{
public:
    virtual ~IDeviceDialog() = default;

    // A device state the server sends for this terminal.
    virtual void ApplyDeviceState(uint8_t state) = 0;
};
