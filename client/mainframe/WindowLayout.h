#pragma once
#include <cstddef>
#include <cstdint>

#include "WireReader.h"
#include "WireWriter.h"

// The window layout that the participant holding the layout control imposes
// on the others (body of command 2073, 12 bytes).
#pragma pack(push, 1)
struct WINDOW_LAYOUT
{
    uint8_t fullScreenVideo;  // 1: one user's video over the whole screen
    uint8_t fullScreenWindow; // 1: the main window grown over the screen
    uint8_t displayMode;      // 0 video windows, 1 data window, 2 data window only
    uint8_t tabPage;          // current page of the main tab strip
    uint32_t split;           // low byte: the video split count
    uint32_t userId;          // the full-screen video user, else the main video user
};
#pragma pack(pop)
static_assert(sizeof(WINDOW_LAYOUT) == 12, "WINDOW_LAYOUT is 12 bytes");

enum : uint32_t { LAYOUT_NO_USER = 0xFFFFFFFFu };
enum : uint8_t { DISPLAY_VIDEOS = 0, DISPLAY_DATA = 1, DISPLAY_DATA_ONLY = 2 };

// Reads a layout record; false (and out unchanged) unless exactly 12 bytes.
inline bool ReadWindowLayout(const void* data, size_t length, WINDOW_LAYOUT* out)
{
    if (!data || length != sizeof(WINDOW_LAYOUT))
        return false;
    WireReader r(data, length);
    WINDOW_LAYOUT l = {};
    if (!r.U8(l.fullScreenVideo) || !r.U8(l.fullScreenWindow) || !r.U8(l.displayMode) ||
        !r.U8(l.tabPage) || !r.U32(l.split) || !r.U32(l.userId))
        return false;
    *out = l;
    return true;
}

// Writes the record's 12 bytes.
inline void WriteWindowLayout(const WINDOW_LAYOUT& l, unsigned char out[12])
{
    WireWriter w(out, sizeof(WINDOW_LAYOUT));
    w.U8(l.fullScreenVideo);
    w.U8(l.fullScreenWindow);
    w.U8(l.displayMode);
    w.U8(l.tabPage);
    w.U32(l.split);
    w.U32(l.userId);
}
