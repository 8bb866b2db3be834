#pragma once
#include <windows.h>

#include <vector>

// Where the player's windows go; plain arithmetic, kept apart from the
// windows so that every rule can be checked as a table.

struct PlayerFrameFlags
{
    bool showVideo;
    bool showBoard;
    bool showChat;
    bool fullVideo;
};

struct PlayerChildPlace
{
    RECT rect;
    bool shown;
};

struct PlayerFrameLayout
{
    PlayerChildPlace userList;
    PlayerChildPlace tabStrip;
    PlayerChildPlace chatPane;
    PlayerChildPlace videoWall;
};

// The frame's children inside the layout rectangle.
PlayerFrameLayout LayOutPlayerFrame(const RECT& area, const PlayerFrameFlags& flags);

struct VideoCellPlace
{
    RECT rect;
    bool shown;
    bool placed; // false: the window keeps its place (and is not shown)
};

// The video wall's windows, in display order, in the wall's client area.
// fullIndex is the index of the full window, or -1.
std::vector<VideoCellPlace> LayOutVideoWall(const RECT& area, int splitMode, int count,
                                            int fullIndex);

// A 4:3 picture centred in a cell.
RECT FitPicture(const RECT& cell);
