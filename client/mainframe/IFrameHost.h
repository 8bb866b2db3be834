#pragma once
#include <cstdint>

// What the small panes of the main window (tab strip, splitter, arrow bar,
// restore bar) need of it.
class IFrameHost
{
public:
    virtual ~IFrameHost() = default;

    // Byte 2 of the current window layout.
    virtual uint8_t GetDisplayMode() const = 0;
    // The own participant may change the meeting's layout.
    virtual bool HasLayoutRight() const = 0;
    virtual void LeaveFullScreen() = 0;
    // The chat pane shown or hidden; the panes are laid out again.
    virtual void SetChatPaneShown(bool shown) = 0;
    // Sends the current layout when this client holds the layout control.
    virtual void SendWindowLayout() = 0;
};
