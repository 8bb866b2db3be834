#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

// The block of named shared memory through which the client drives the
// screen-sharing program (Shell.exe) and reads its status back. Both sides
// map the same 328 bytes; each field is read and written on its own through
// the checked record helpers, never through a cast of the whole block.
#pragma pack(push, 1)
struct RC_SHARE_BLOCK
{
    uint32_t ownerWindow;   // the client's dialog: target of the status messages
    uint32_t messageWindow; // the program's message window (written by it)
    uint32_t viewWindow;    // the program's view window (written by it)
    uint32_t sharedWindow;  // the window to share (the desktop by default)
    char serverAddress[16]; // zero-terminated
    uint16_t serverPort;    // the application-server port
    uint8_t reserved1[2];
    uint32_t roomId;
    uint32_t userId;
    uint32_t shareKind; // the client writes 2
    uint8_t compress8;  // 8-bit compression
    uint8_t fitToView;  // 1: the picture fits the view
    uint8_t scaled;     // 1: scaled display
    uint8_t reserved2;
    uint32_t scaleNumerator;
    uint32_t scaleDenominator;
    uint32_t viewStart; // 0 when watching starts
    uint32_t command;   // to the program
    uint32_t status;    // from the program
    char errorText[256];
};
#pragma pack(pop)
static_assert(sizeof(RC_SHARE_BLOCK) == 328, "RC_SHARE_BLOCK is 328 bytes");

// The one message that goes both ways: a command or a status was written.
enum : unsigned { WM_RC_NOTIFY = 0x400 + 402 };

// Commands to the program.
enum : uint32_t {
    RC_CMD_SHARE = 1,
    RC_CMD_VIEW = 2,
    RC_CMD_STOP = 3,
    RC_CMD_QUIT = 4,
    RC_CMD_CONTROL_GRANTED = 5,
    RC_CMD_CONTROL_REVOKED = 6,
    RC_CMD_APPLY_OPTIONS = 7,
};

// Statuses from the program.
enum : uint32_t {
    RC_STATUS_STARTED = 7,
    RC_STATUS_SHARE_FAILED = 8,
    RC_STATUS_VIEW_READY = 9,
    RC_STATUS_VIEW_FAILED = 10,
    RC_STATUS_ENDED = 11,
    RC_STATUS_ENDED2 = 12,
};

// Field offsets inside the block.
enum : size_t {
    RC_OFF_OWNER_WINDOW = offsetof(RC_SHARE_BLOCK, ownerWindow),
    RC_OFF_MESSAGE_WINDOW = offsetof(RC_SHARE_BLOCK, messageWindow),
    RC_OFF_VIEW_WINDOW = offsetof(RC_SHARE_BLOCK, viewWindow),
    RC_OFF_SHARED_WINDOW = offsetof(RC_SHARE_BLOCK, sharedWindow),
    RC_OFF_SERVER_ADDRESS = offsetof(RC_SHARE_BLOCK, serverAddress),
    RC_OFF_SERVER_PORT = offsetof(RC_SHARE_BLOCK, serverPort),
    RC_OFF_ROOM_ID = offsetof(RC_SHARE_BLOCK, roomId),
    RC_OFF_USER_ID = offsetof(RC_SHARE_BLOCK, userId),
    RC_OFF_SHARE_KIND = offsetof(RC_SHARE_BLOCK, shareKind),
    RC_OFF_COMPRESS8 = offsetof(RC_SHARE_BLOCK, compress8),
    RC_OFF_FIT = offsetof(RC_SHARE_BLOCK, fitToView),
    RC_OFF_SCALED = offsetof(RC_SHARE_BLOCK, scaled),
    RC_OFF_SCALE_NUM = offsetof(RC_SHARE_BLOCK, scaleNumerator),
    RC_OFF_SCALE_DEN = offsetof(RC_SHARE_BLOCK, scaleDenominator),
    RC_OFF_VIEW_START = offsetof(RC_SHARE_BLOCK, viewStart),
    RC_OFF_COMMAND = offsetof(RC_SHARE_BLOCK, command),
    RC_OFF_STATUS = offsetof(RC_SHARE_BLOCK, status),
    RC_OFF_ERROR_TEXT = offsetof(RC_SHARE_BLOCK, errorText),
};
static_assert(RC_OFF_SERVER_PORT == 32 && RC_OFF_COMPRESS8 == 48 && RC_OFF_SCALE_NUM == 52 &&
                  RC_OFF_COMMAND == 64 && RC_OFF_ERROR_TEXT == 72,
              "RC_SHARE_BLOCK fields sit where the program expects them");

// Access to a mapped block (or any 328 bytes). A null view reads as zeros
// and ignores writes.
class CRCShareBlock
{
public:
    explicit CRCShareBlock(void* view = nullptr) : m_view(static_cast<unsigned char*>(view)) {}

    void Attach(void* view) { m_view = static_cast<unsigned char*>(view); }
    bool IsMapped() const { return m_view != nullptr; }
    unsigned char* Data() { return m_view; }

    uint32_t U32(size_t offset) const;
    uint16_t U16(size_t offset) const;
    uint8_t U8(size_t offset) const;
    void SetU32(size_t offset, uint32_t value);
    void SetU16(size_t offset, uint16_t value);
    void SetU8(size_t offset, uint8_t value);

    // The server address, cut to 15 bytes and a terminator.
    void SetServerAddress(const char* address);
    std::string GetServerAddress() const;
    // The error text, cut to 255 bytes and a terminator.
    void SetErrorText(const char* text);
    std::string GetErrorText() const;

    // Takes the command out of its slot and leaves 0 there, so that each
    // written command is carried out once even when several notices of it
    // arrive.
    uint32_t TakeCommand();

    // The name of a block made at the given tick count.
    static std::string MakeName(uint32_t tickCount);

private:
    std::string Text(size_t offset, size_t width) const;
    void SetText(size_t offset, size_t width, const char* text);

    unsigned char* m_view;
};
