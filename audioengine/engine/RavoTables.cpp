#include "RavoTables.h"

#include <cstring>

namespace RavoEngine {

namespace {
const uint16_t kTagMsg723 = 0x0042;
const uint16_t kTagAlaw = 0x0006;
const uint16_t kTagG7221 = 0x200B;
} // namespace

// The G.723.1 rows carry ten extension bytes; they are left zero.
const EncodeFormatRow EncodeFormatTable[ENCODE_FORMAT_COUNT] = {
    {0, {kTagMsg723, 1, 8000, 800, 24, 0, 10}, {0}, 24, 480, "G.723.1,6.4 kbps"},
    {1, {kTagMsg723, 1, 8000, 666, 20, 0, 10}, {0}, 20, 480, "G.723.1,5.3 kbps"},
    {4, {kTagAlaw, 1, 8000, 8000, 1, 8, 0}, {0}, 240, 480, "CCITT A-Law,64 kbps"},
    {6, {kTagG7221, 1, 16000, 3000, 60, 480, 4}, {1, 0, 1, 0}, 60, 640, "G7221,24 kbps"},
    {7, {kTagG7221, 1, 16000, 4000, 80, 640, 4}, {1, 0, 1, 0}, 80, 640, "G7221,32 kbps"},
};

const FecModeRow FecModeTable[FEC_MODE_COUNT] = {
    {0, 0x00, 0, 0, "Not FEC"}, {1, 0x70, 12, 6, "6+6"},    {2, 0x80, 18, 6, "6+12"},
    {3, 0x90, 24, 8, "8+16"},   {4, 0xA0, 48, 16, "16+32"},
};

int RavoTables::FindRowByKind(uint8_t kind)
{
    for (int i = 0; i < ENCODE_FORMAT_COUNT; ++i)
        if (EncodeFormatTable[i].kind == kind)
            return i;
    return -1;
}

int RavoTables::FindFecModeByCode(uint8_t byte0)
{
    const uint8_t code = byte0 & 0xF0;
    for (int i = 1; i < FEC_MODE_COUNT; ++i)
        if (FecModeTable[i].code == code)
            return i;
    return -1;
}

bool RavoTables::GetPcmFormat(int row, WAVEFORMATEX* out)
{
    if (row < 0 || row >= ENCODE_FORMAT_COUNT || !out)
        return false;
    const WAVEFORMATEX& coded = EncodeFormatTable[row].format;
    WAVEFORMATEX pcm;
    memset(&pcm, 0, sizeof pcm);
    pcm.wFormatTag = WAVE_FORMAT_PCM;
    pcm.nChannels = coded.nChannels;
    pcm.nSamplesPerSec = coded.nSamplesPerSec;
    pcm.wBitsPerSample = 16;
    pcm.nBlockAlign = static_cast<WORD>(coded.nChannels * 2);
    pcm.nAvgBytesPerSec = pcm.nBlockAlign * coded.nSamplesPerSec;
    pcm.cbSize = 0;
    *out = pcm;
    return true;
}

int RavoTables::FrameTimeMs(uint8_t kind) { return kind < 6 ? 30 : 20; }

bool RavoTables::FormatsDiffer(const WAVEFORMATEX& a, const WAVEFORMATEX& b)
{
    return a.wFormatTag != b.wFormatTag || a.nChannels != b.nChannels ||
           a.nSamplesPerSec != b.nSamplesPerSec || a.nAvgBytesPerSec != b.nAvgBytesPerSec ||
           a.nBlockAlign != b.nBlockAlign || a.wBitsPerSample != b.wBitsPerSample ||
           a.cbSize != b.cbSize;
}

} // namespace RavoEngine
