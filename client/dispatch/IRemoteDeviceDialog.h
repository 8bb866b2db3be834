#pragma once
#include <cstddef>
#include <cstdint>

// What the dispatcher needs of the remote device settings dialog: the data
// another participant sent to this one (payload begins with its u16 sub-type).
class IRemoteDeviceDialog
{
public:
    virtual ~IRemoteDeviceDialog() = default;

    virtual void OnSettingsQuery(uint32_t senderId, const void* payload, size_t length) = 0;
    virtual void OnRemoteSettings(uint32_t senderId, const void* payload, size_t length) = 0;
    virtual void ApplyReceivedSettings(uint32_t senderId, const void* payload, size_t length) = 0;
};
