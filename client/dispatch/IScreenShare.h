#pragma once
#include <cstdint>

// What the dispatcher needs of the screen broadcast and remote control.
class IScreenShare
{
public:
    virtual ~IScreenShare() = default;

    virtual void StartReceiving(uint32_t userId) = 0;
    virtual void EndReceiving() = 0;
    // Ends a remote control of this computer by another participant.
    virtual void EndControlled() = 0;
    virtual void OnControlRequest(uint32_t chairId, uint8_t request) = 0;
    virtual void OnControlReply(uint32_t userId, uint8_t allowed) = 0;
    virtual void OnScreenControlGrant(uint8_t granted) = 0;

    // This computer's own broadcast.
    virtual bool IsBroadcasting() = 0;
    virtual void EndBroadcast() = 0;
    // This computer controlling another one.
    virtual bool IsControlling() = 0;
    virtual uint32_t GetControlledPeer() = 0;
    virtual void EndControlling() = 0;
};
