#include "CStandInPanes.h"

#include "CStandInPane.h"
#include "CStandInVideoWall.h"

#include <memory>

namespace {
const char* const kNames[PANE_COUNT] = {
    "Device",     "DeviceRemote",  "Chat",     "Participants", "ScreenShare",
    "Whiteboard", "Presentation",  "Browsing", "NetDisk",      "ScreenBroadcast",
    "Votes",      "PrintProgress", "Camera",   "PanTilt",      "ScreenConfig",
    "RoomList",   "RecordTimer",
};
} // namespace

CWnd* CStandInPanes::CreatePane(FRAME_PANE pane, CWnd* parent)
{
    bool visible = false;
    int height = 0;
    switch (pane) {
    case PANE_CHAT:
        visible = true;
        height = CHAT_HEIGHT;
        break;
    case PANE_LEFT:
        visible = true;
        break;
    case PANE_PAGE_WHITEBOARD:
    case PANE_PAGE_PRESENTATION:
    case PANE_PAGE_BROWSING:
    case PANE_PAGE_NET_DISK:
    case PANE_PAGE_SCREEN:
    case PANE_PAGE_VOTES:
        visible = true;
        break;
    case PANE_CAMERA:
        parent = nullptr;
        break;
    default:
        return nullptr;
    }
    std::unique_ptr<CStandInPane> wnd(new CStandInPane);
    if (!wnd->CreatePane(kNames[pane], parent, visible, height))
        return nullptr;
    return wnd.release();
}

IFrameVideoWall* CStandInPanes::CreateVideoWall(CWnd* parent)
{
    std::unique_ptr<CStandInVideoWall> wall(new CStandInVideoWall);
    if (!wall->CreatePane("Video", parent, true))
        return nullptr;
    return wall.release();
}
