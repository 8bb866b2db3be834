#pragma once
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>

class WireWriter;

// The board records that travel between participants, one or more back to
// back in one relay payload. Each starts with its kind byte.
enum WB_PACKET_KIND {
    WBP_CHANGE = 1,    // a change record of one document
    WBP_OPENED = 2,    // a document was opened
    WBP_CLOSED = 3,    // a document was closed
    WBP_ACTIVATED = 4, // a document became the shown one
    WBP_ZOOM = 5,      // zoom of every page
    WBP_PAGE = 6,      // the current page of a document
    WBP_END = 7,       // never written; ends a run
    WBP_SCROLL = 8,    // vertical scroll position of every page
};

#pragma pack(push, 1)
struct WBP_CHANGE_HEAD
{
    uint8_t kind;
    uint32_t doc;
    uint16_t length;
};
struct WBP_OPENED_HEAD
{
    uint8_t kind;
    uint32_t doc;
    int32_t width;
    int32_t height;
    uint8_t pages;
    uint8_t backgrounds;
    uint8_t openedHere;
    uint8_t uploadFlag;
    uint8_t titleLength;
    uint8_t serverLength;
    uint8_t storedLength;
};
struct WBP_DOC_RECORD
{
    uint8_t kind;
    uint32_t doc;
};
struct WBP_ZOOM_RECORD
{
    uint8_t kind;
    uint16_t num;
    uint16_t den;
};
struct WBP_PAGE_RECORD
{
    uint8_t kind;
    uint32_t doc;
    uint8_t page;
};
struct WBP_SCROLL_RECORD
{
    uint8_t kind;
    uint32_t pos;
};
#pragma pack(pop)
static_assert(sizeof(WBP_CHANGE_HEAD) == 7, "change head");
static_assert(sizeof(WBP_OPENED_HEAD) == 20, "opened head");
static_assert(sizeof(WBP_DOC_RECORD) == 5, "closed / activated");
static_assert(sizeof(WBP_ZOOM_RECORD) == 5, "zoom");
static_assert(sizeof(WBP_PAGE_RECORD) == 6, "page");
static_assert(sizeof(WBP_SCROLL_RECORD) == 5, "scroll");

// One record as read: the fields of its kind.
struct WB_PACKET
{
    int kind = 0;
    uint32_t doc = 0;
    const BYTE* change = nullptr; // kind 1: points into the read bytes
    UINT changeLength = 0;
    int32_t width = 0;
    int32_t height = 0;
    int pages = 0;
    int backgrounds = 0;
    BYTE openedHere = 0;
    BYTE uploadFlag = 0;
    std::string title;
    std::string server;
    std::string stored;
    uint16_t zoomNum = 0;
    uint16_t zoomDen = 0;
    int page = 0;
    uint32_t scroll = 0;
};

// Reads and writes the board records.
class CWBPacket
{
public:
    // The longest title, server address or stored name a record carries.
    enum { MAX_STRING = 255 };

    // Reads the record at data: the bytes it takes, 0 when the bytes left
    // do not hold it whole, or the kind ends a run (7 and unknown kinds).
    static size_t Read(const BYTE* data, size_t length, WB_PACKET* out);

    // The string as a record carries it: at most MAX_STRING bytes, never
    // ending inside a double-byte character.
    static std::string CutString(const char* text);

    static size_t ChangeSize(UINT changeLength) { return sizeof(WBP_CHANGE_HEAD) + changeLength; }
    static bool WriteChange(WireWriter& w, uint32_t doc, const BYTE* change, UINT changeLength);
    // Strings are cut (CutString) before their lengths are counted.
    static size_t OpenedSize(const char* title, const char* server, const char* stored);
    static bool WriteOpened(WireWriter& w, const WB_PACKET& p);
    static bool WriteDoc(WireWriter& w, int kind, uint32_t doc);
    static bool WriteZoom(WireWriter& w, uint16_t num, uint16_t den);
    static bool WritePage(WireWriter& w, uint32_t doc, BYTE page);
    static bool WriteScroll(WireWriter& w, uint32_t pos);
};
