#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The presentation board's relay records of this edition, carried inside
// relay command 2081. Little-endian, packed; texts without terminators.
#pragma pack(push, 1)
// 0x10 navigate: the head, then payloadLength bytes of payload.
struct BOARD_NAVIGATE_HEAD
{
    uint8_t kind;
    uint8_t unused[3];
    uint32_t pageId;
    uint16_t payloadLength;
    uint16_t unused2;
};
// 0x11 open page: the head, then the title, the address and the third text.
struct BOARD_OPEN_PAGE_HEAD
{
    uint8_t kind;
    uint8_t unused[3];
    uint32_t pageId;
    uint8_t flag;
    uint8_t unused2;
    uint16_t titleLength;
    uint16_t addressLength;
    uint16_t thirdLength;
};
// 0x12 close page, 0x13 activate page.
struct BOARD_PAGE_RECORD
{
    uint8_t kind;
    uint8_t unused[3];
    uint32_t pageId;
};
#pragma pack(pop)
static_assert(sizeof(BOARD_NAVIGATE_HEAD) == 12, "the navigate head is 12 bytes");
static_assert(sizeof(BOARD_OPEN_PAGE_HEAD) == 16, "the open-page head is 16 bytes");
static_assert(sizeof(BOARD_PAGE_RECORD) == 8, "a page record is 8 bytes");

enum : uint8_t {
    BOARD_NAVIGATE = 0x10,
    BOARD_OPEN_PAGE = 0x11,
    BOARD_CLOSE_PAGE = 0x12,
    BOARD_ACTIVATE_PAGE = 0x13,
    BOARD_CLOSE_ALL = 0x14,
};

// What a received run asks of the board.
class IBoardRecordTarget
{
public:
    virtual ~IBoardRecordTarget() = default;
    virtual void OnNavigate(uint32_t pageId, const uint8_t* payload, size_t length) = 0;
    // Texts of length 0 or of 260 bytes or more arrive empty.
    virtual void OnOpenPage(uint32_t pageId, uint8_t flag, const std::string& title,
                            const std::string& address, const std::string& third) = 0;
    virtual void OnClosePage(uint32_t pageId) = 0;
    virtual void OnActivatePage(uint32_t pageId) = 0;
    virtual void OnCloseAll() = 0;
};

// Writing and reading the records.
class CBoardRecords
{
public:
    enum { MAX_TEXT = 260 };

    // Empty when a text is too long for its length field.
    static std::vector<uint8_t> OpenPage(uint32_t pageId, uint8_t flag, const std::string& title,
                                         const std::string& address, const std::string& third);
    // A navigation: the head, then the payload (empty when it does not fit
    // the 16-bit length).
    static std::vector<uint8_t> Navigate(uint32_t pageId, const uint8_t* payload, size_t length);
    static std::vector<uint8_t> PageRecord(uint8_t kind, uint32_t pageId);
    static std::vector<uint8_t> CloseAll();

    // Reads the records of a run one after the other, each only when the
    // rest of the run holds all of it; stops at a short record or a kind
    // that is not the board's. The bytes consumed.
    static size_t ReadRun(const uint8_t* data, size_t length, IBoardRecordTarget& target);
};
