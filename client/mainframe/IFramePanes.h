#pragma once

class CWnd;
class IFrameVideoWall;

// The panes and dialogs of the main window that other parts of the client
// build, in the order the main window creates them.
enum FRAME_PANE {
    PANE_DEVICE,          // the device settings dialog (hidden)
    PANE_DEVICE_REMOTE,   // the remote device settings dialog (hidden)
    PANE_CHAT,            // the chat pane
    PANE_LEFT,            // the left pane with the participants list
    PANE_SCREEN_DIALOG,   // the screen broadcast's own dialog (parent: the tab strip)
    PANE_PAGE_WHITEBOARD, // the tab strip's pages, in tab order
    PANE_PAGE_PRESENTATION,
    PANE_PAGE_BROWSING,
    PANE_PAGE_NET_DISK,
    PANE_PAGE_SCREEN,
    PANE_PAGE_VOTES,
    PANE_PRINT_PROGRESS, // dialogs created hidden, after the tab strip
    PANE_CAMERA,
    PANE_PAN_TILT,
    PANE_SCREEN_CONFIG,
    PANE_ROOM_LIST,
    PANE_RECORD_TIMER,
    PANE_COUNT
};

// Creates those panes. A null result is a pane that does not exist here;
// for the first three pages and the camera panel it makes the main window's
// creation fail. The main window owns what it gets (except frames, which
// delete themselves with their windows: OwnedByFrame false).
class IFramePanes
{
public:
    virtual ~IFramePanes() = default;

    virtual CWnd* CreatePane(FRAME_PANE pane, CWnd* parent) = 0;
    // The video wall, created between the chat pane and the left pane.
    virtual IFrameVideoWall* CreateVideoWall(CWnd* parent) = 0;
    // True when the main window deletes the pane's object after its window.
    virtual bool OwnedByFrame(FRAME_PANE pane) = 0;

    // The first start-up step: the saved device settings are applied.
    virtual void InitDevices() {}
    // The own participant has a video device: the own preview starts.
    virtual void StartOwnPreview() {}
};

// True for the panes whose absence makes the main window's creation fail.
inline bool IsRequiredPane(FRAME_PANE pane)
{
    return pane == PANE_PAGE_WHITEBOARD || pane == PANE_PAGE_PRESENTATION ||
           pane == PANE_PAGE_BROWSING || pane == PANE_CAMERA;
}
