#pragma once
#include <cstdint>

// What the dispatcher needs of the left pane (the participants list and the
// own speech, control and broadcast buttons).
class ILeftPane
{
public:
    virtual ~ILeftPane() = default;

    virtual void AddUser(uint32_t userId) = 0;
    virtual void RemoveUser(uint32_t userId) = 0;
    // Redraws the participant's line.
    virtual void RefreshUser(uint32_t userId) = 0;
    // The own speak state changed; the pane also switches the sending of the
    // own audio.
    virtual void ShowOwnSpeakState(uint8_t state) = 0;
    virtual void ShowOwnControlState(uint8_t state) = 0;
    // The broadcast buttons follow the participants' broadcast flags.
    virtual void ShowBroadcastState() = 0;
};
