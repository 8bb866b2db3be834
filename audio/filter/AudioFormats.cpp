#include "AudioFormats.h"

#include <cstring>

namespace SonvexFilterCore {

const EncodeFormatRow EncodeFormatTable[ENCODE_FORMAT_COUNT] = {
    {6, {0x200B, 1, 16000, 3000, 60, 480, 4}, {1, 0, 1, 0}, {}, 60, 640, "G7221,24 kbps", 20},
    {7, {0x200B, 1, 16000, 4000, 80, 640, 4}, {1, 0, 1, 0}, {}, 80, 640, "G7221,32 kbps", 20},
};

const FecModeRow FecModeTable[FEC_MODE_COUNT] = {
    {0, 0x00, 1, 0, 0, "Not FEC"},     {1, 0x10, 1, 6, 12, "1X 6 +  6"},
    {2, 0x50, 2, 6, 12, "2X 6 +  6"},  {3, 0x70, 2, 8, 24, "2X 8 + 16"},
    {4, 0x80, 2, 16, 48, "2X 16+ 32"}, {5, 0xa0, 3, 32, 64, "3X 32+ 32"},
};

int FindEncodeFormatRow(const EncodeFormatRow* table, int rows, uint8_t id)
{
    for (int i = 0; table && i < rows; ++i)
        if (table[i].id == id)
            return i;
    return -1;
}

const FecModeRow* FindFecModeByHeader(uint8_t headerBits)
{
    headerBits &= 0xF0;
    if (!headerBits)
        return nullptr;
    for (const FecModeRow& row : FecModeTable)
        if (row.headerBits == headerBits)
            return &row;
    return nullptr;
}

void FillPcmFormat(const EncodeFormatRow& row, WAVEFORMATEX* out)
{
    WAVEFORMATEX f;
    memset(&f, 0, sizeof(f));
    f.wFormatTag = WAVE_FORMAT_PCM;
    f.nChannels = row.format.nChannels;
    f.nSamplesPerSec = row.format.nSamplesPerSec;
    f.wBitsPerSample = 16;
    f.nBlockAlign = static_cast<WORD>(2 * f.nChannels);
    f.nAvgBytesPerSec = f.nBlockAlign * f.nSamplesPerSec;
    f.cbSize = 0;
    memcpy(out, &f, sizeof(f)); // exactly the 18 bytes of the record
}

} // namespace SonvexFilterCore
