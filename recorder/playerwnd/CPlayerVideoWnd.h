#pragma once
#include <windows.h>

#include <cstdint>

#include "Dravo.h"

class CPlayerVideoWall;

// One participant's video on the player's wall: a renderer of the video
// engine drawing into the wall's window. Not a window itself.
class CPlayerVideoWnd
{
public:
    CPlayerVideoWnd(uint32_t videoId, CPlayerVideoWall* wall, DRAVO_HANDLE renderer);
    ~CPlayerVideoWnd(); // destroys the renderer

    CPlayerVideoWnd(const CPlayerVideoWnd&) = delete;
    CPlayerVideoWnd& operator=(const CPlayerVideoWnd&) = delete;

    // Places a 4:3 picture in the cell; only while visible, and only when
    // no coordinate of the picture is negative.
    void SetPos(int left, int top, int right, int bottom);
    void SetVisible(uint32_t flag);
    int Render(const unsigned char* frame, int length);

    uint32_t GetVideoId() const { return m_videoId; }
    DRAVO_HANDLE GetRenderer() const { return m_renderer; }
    uint32_t IsVisible() const { return m_visible; }
    const RECT& GetRect() const { return m_rect; }

private:
    uint32_t m_videoId;
    CPlayerVideoWall* m_wall;
    DRAVO_HANDLE m_renderer;
    uint32_t m_visible = 1;
    RECT m_rect = {0, 0, 1, 1};
};
