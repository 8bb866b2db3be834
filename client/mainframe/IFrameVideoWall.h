#pragma once
#include <cstdint>

class CWnd;

// What the main window needs of the video wall: its window, its split count,
// its main video and the full-screen video of one user.
class IFrameVideoWall
{
public:
    virtual ~IFrameVideoWall() = default;

    virtual CWnd* Window() = 0;
    virtual void SetSplitCount(uint8_t count) = 0;
    virtual void SetMainVideo(uint32_t userId) = 0;
    virtual uint32_t GetMainVideoUser() = 0;
    // Shows (on) or ends the user's video over the whole wall.
    virtual void SetFullVideo(uint32_t userId, bool on) = 0;
    // The user whose video fills the wall; LAYOUT_NO_USER when none.
    virtual uint32_t GetFullScreenUser() = 0;
    // The number of video windows in the wall (0 when it cannot tell).
    virtual int GetWindowCount() { return 0; }
};
