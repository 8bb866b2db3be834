#include "CTestPicture.h"

void CTestPicture::Draw(uint32_t frameNumber, int device, int width, int height,
                        std::vector<uint8_t>& bgr)
{
    bgr.assign(static_cast<size_t>(width) * height * 3, 0);
    if (width < 1 || height < 1)
        return;
    const uint32_t shift = frameNumber * 3;
    const int side = height / 4 > 8 ? height / 4 : 8;
    const int span = width > side ? width - side : 1;
    const int phase = static_cast<int>((frameNumber * 5) % (2 * span));
    const int squareX = phase < span ? phase : 2 * span - phase;
    const int squareY = height / 2 - side / 2;
    for (int y = 0; y < height; ++y) {
        uint8_t* row = &bgr[static_cast<size_t>(y) * width * 3];
        for (int x = 0; x < width; ++x) {
            uint8_t* p = row + x * 3;
            if (y < BAND_HEIGHT) {
                const int cell = x * BITS / width;
                const bool one = (frameNumber >> (BITS - 1 - cell)) & 1;
                p[0] = p[1] = p[2] = one ? 255 : 0;
                continue;
            }
            const bool inSquare =
                x >= squareX && x < squareX + side && y >= squareY && y < squareY + side;
            if (inSquare) {
                p[0] = p[1] = p[2] = 240;
                continue;
            }
            p[0] = static_cast<uint8_t>((x + shift) & 0xFF);
            p[1] = static_cast<uint8_t>((y * 2 + shift / 2) & 0xFF);
            p[2] = static_cast<uint8_t>(device ? 200 - (x & 0x3F) : 64 + ((x + y) & 0x3F));
        }
    }
}

int32_t CTestPicture::ReadFrameNumber(const uint8_t* bgr, int width, int height)
{
    if (!bgr || width < BITS * 2 || height < BAND_HEIGHT)
        return -1;
    uint32_t value = 0;
    const int y = BAND_HEIGHT / 2;
    for (int cell = 0; cell < BITS; ++cell) {
        const int x = (2 * cell + 1) * width / (2 * BITS);
        const uint8_t* p = bgr + (static_cast<size_t>(y) * width + x) * 3;
        const int luma = (p[0] + p[1] + p[2]) / 3;
        value = (value << 1) | (luma >= 128 ? 1u : 0u);
    }
    return static_cast<int32_t>(value);
}
