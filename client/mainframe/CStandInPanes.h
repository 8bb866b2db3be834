#pragma once
#include "IFramePanes.h"

// The panes of the main window until their own parts are built: empty
// stand-ins for the visible panes, the tab pages and the camera panel;
// nothing for the other hidden dialogs.
class CStandInPanes : public IFramePanes
{
public:
    CWnd* CreatePane(FRAME_PANE pane, CWnd* parent) override;
    IFrameVideoWall* CreateVideoWall(CWnd* parent) override;
    bool OwnedByFrame(FRAME_PANE) override { return true; }

    // The height the chat stand-in starts with.
    enum { CHAT_HEIGHT = 150 };
};
