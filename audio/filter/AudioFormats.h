#pragma once
#include <windows.h>
#include <mmreg.h>

#include <cstdint>
#include "AudioStreamHead.h"

// The records that cross SonvexFilter's boundary. All are packed and
// little-endian, laid out exactly as callers and peers expect them.

static_assert(sizeof(WAVEFORMATEX) == 18, "tWAVEFORMATEX is 18 bytes");

// Audio block: 16-bit mono PCM at 16000 Hz, 320 samples (20 ms).
enum : uint32_t {
    AUDIO_RATE = 16000,
    AUDIO_BLOCK_SAMPLES = 320,
    AUDIO_BLOCK_BYTES = 640,
};

enum : uint8_t {
    CODEC_ID_NONE = 15,
    FEC_MODE_COUNT = 6,
    ENCODE_FORMAT_COUNT = 2,
};

#pragma pack(push, 1)

namespace SonvexFilterCore {

// One codec row: id, coded-stream format with its extra bytes, frame and
// block sizes, name and frame duration.
struct EncodeFormatRow
{
    uint8_t id;
    WAVEFORMATEX format;
    uint8_t extra[4];
    uint8_t zero[9];
    uint32_t frameBytes;
    uint32_t blockBytes;
    char name[64];
    uint32_t frameMs;
};
static_assert(sizeof(EncodeFormatRow) == 108, "EncodeFormatRow is 108 bytes");

// One FEC mode: mode number, header bits (high nibble of the packet's first
// byte), m coded frames per FEC packet, k data packets and n packets per group.
struct FecModeRow
{
    uint8_t mode;
    uint8_t headerBits;
    uint8_t m;
    uint8_t k;
    uint8_t n;
    char name[20];
};
static_assert(sizeof(FecModeRow) == 25, "FecModeRow is 25 bytes");

} // namespace SonvexFilterCore

// Receive statistics of one source. This library leaves the first 16 bytes alone.
struct FEC_NET_STATE
{
    uint8_t reserved[16];
    uint32_t lastSequence;
    uint32_t queued;
    uint8_t lossPercent;
    uint8_t longestLoss;
};
static_assert(sizeof(FEC_NET_STATE) == 26, "FEC_NET_STATE is 26 bytes");

#pragma pack(pop)

namespace SonvexFilterCore {

extern const EncodeFormatRow EncodeFormatTable[ENCODE_FORMAT_COUNT];
extern const FecModeRow FecModeTable[FEC_MODE_COUNT];

// Row of a codec id in a table (first row whose id matches), or -1.
int FindEncodeFormatRow(const EncodeFormatRow* table, int rows, uint8_t id);
// Row of FecModeTable whose header bits equal the high nibble given (bits
// 4-7 of a packet's first byte), or null.
const FecModeRow* FindFecModeByHeader(uint8_t headerBits);
// The 18-byte PCM input format of a row: 16-bit PCM with the row's channels
// and rate.
void FillPcmFormat(const EncodeFormatRow& row, WAVEFORMATEX* out);

} // namespace SonvexFilterCore
