#pragma once
#include <windows.h>
#include <mmsystem.h>

#include <cstdint>

namespace RavoEngine {

// The two fixed tables of the engine: the codec rows a processer can encode
// with and a source can decode, and the packet FEC modes.

#pragma pack(push, 1)
// One codec row: the kind (the low nibble of a packet's first byte), the coded
// format with up to ten extension bytes, the coded frame size, the PCM input
// block size and the row name.
struct EncodeFormatRow
{
    uint8_t kind;
    WAVEFORMATEX format;
    uint8_t extension[10];
    uint32_t frameBytes;
    uint32_t blockBytes;
    char name[64];
};

// One FEC mode: the code ORed into byte 0 of each packet sent in the mode,
// and n packets per group of which k carry data.
struct FecModeRow
{
    uint8_t mode;
    uint8_t code;
    uint8_t n;
    uint8_t k;
    char name[20];
};
#pragma pack(pop)

static_assert(sizeof(WAVEFORMATEX) == 18, "WAVEFORMATEX is the packed 18-byte record");
static_assert(sizeof(EncodeFormatRow) == 101, "codec row layout");
static_assert(sizeof(FecModeRow) == 24, "FEC mode row layout");

enum {
    ENCODE_FORMAT_COUNT = 5,
    FEC_MODE_COUNT = 5,
    CODEC_KIND_ILBC_20 = 2,
    CODEC_KIND_ILBC_30 = 3,
    CODEC_KIND_G7221_24 = 6,
    CODEC_KIND_G7221_32 = 7,
};

extern const EncodeFormatRow EncodeFormatTable[ENCODE_FORMAT_COUNT];
extern const FecModeRow FecModeTable[FEC_MODE_COUNT];

// Lookups over the tables. Each returns -1 (or false) when nothing matches.
class RavoTables
{
public:
    // The first row whose kind equals the low nibble of a packet's first byte.
    static int FindRowByKind(uint8_t kind);
    // The FEC mode whose code equals byte0 & 0xF0; 0 ("Not FEC") is not an
    // FEC code and gives -1.
    static int FindFecModeByCode(uint8_t byte0);
    // The 16-bit PCM input format of a row; false for an index above 4.
    static bool GetPcmFormat(int row, WAVEFORMATEX* out);
    // 30 for kinds below 6, 20 for kinds 6 and 7.
    static int FrameTimeMs(uint8_t kind);
    // True when the two formats differ in any of tag, channels, rate, bytes
    // per second, block align, bits or extension size.
    static bool FormatsDiffer(const WAVEFORMATEX& a, const WAVEFORMATEX& b);
};

} // namespace RavoEngine
