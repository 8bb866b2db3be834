#pragma once
#include <windows.h>

// The whiteboard's records as they travel between participants and sit in
// document files: little-endian, packed, read and written only through
// WireReader and WireWriter.
#pragma pack(push, 1)

struct WB_POINT
{
    LONG x;
    LONG y;
};

// Line, arrow and the hollow rectangle, rounded rectangle and ellipse.
struct WB_OUTLINE_BLOB
{
    DWORD color;
    BYTE style;
    BYTE width;
    WB_POINT from; // start, or left/top
    WB_POINT to;   // end, or right/bottom
};

// Filled rectangle, rounded rectangle and ellipse.
struct WB_FILL_BLOB
{
    DWORD color;
    BYTE fill;
    WB_POINT topLeft;
    WB_POINT bottomRight;
};

// Polygon, pen line and pencil stroke: this head, then count points.
struct WB_POINTS_HEAD
{
    DWORD color;
    BYTE style;
    BYTE width;
    DWORD count;
};

// Text: this head, then length bytes of text without a terminator.
struct WB_TEXT_HEAD
{
    DWORD color;
    LOGFONTA font;
    WORD length;
    WB_POINT topLeft;
    WB_POINT bottomRight;
};

struct WB_ICON_BLOB
{
    DWORD iconId;
    WB_POINT topLeft;
};

// Change records. Add: this head, then the items.
struct WB_CHANGE_ADD_HEAD
{
    BYTE action;
    DWORD count;
    WORD length; // bytes of items that follow
};

struct WB_CHANGE_ITEM_HEAD
{
    BYTE page;
    BYTE type;
    DWORD id;
    WORD blobLength;
};

// Delete: this head, then count object ids.
struct WB_CHANGE_DELETE_HEAD
{
    BYTE action;
    BYTE page;
    WORD count;
};

// Move: this head, then count object ids.
struct WB_CHANGE_MOVE_HEAD
{
    BYTE action;
    BYTE page;
    LONG dx;
    LONG dy;
    WORD count;
};

struct WB_CHANGE_RESIZE
{
    BYTE action;
    BYTE page;
    DWORD id;
    WORD handle;
    LONG dx;
    LONG dy;
};

#pragma pack(pop)

static_assert(sizeof(WB_POINT) == 8, "point");
static_assert(sizeof(LOGFONTA) == 60, "font");
static_assert(sizeof(WB_OUTLINE_BLOB) == 22, "outline blob");
static_assert(sizeof(WB_FILL_BLOB) == 21, "fill blob");
static_assert(sizeof(WB_POINTS_HEAD) == 10, "point list head");
static_assert(sizeof(WB_TEXT_HEAD) == 82, "text head");
static_assert(sizeof(WB_ICON_BLOB) == 12, "icon blob");
static_assert(sizeof(WB_CHANGE_ADD_HEAD) == 7, "add head");
static_assert(sizeof(WB_CHANGE_ITEM_HEAD) == 8, "item head");
static_assert(sizeof(WB_CHANGE_DELETE_HEAD) == 4, "delete head");
static_assert(sizeof(WB_CHANGE_MOVE_HEAD) == 12, "move head");
static_assert(sizeof(WB_CHANGE_RESIZE) == 16, "resize record");
