#pragma once
#include <cstdint>
#include <vector>

// The synthetic camera's picture: a drifting colour field with a bouncing
// square, and along the top a band of 16 black or white cells that carry the
// frame number (most significant bit first), readable after lossy coding.
class CTestPicture
{
public:
    enum { BAND_HEIGHT = 16, BITS = 16 };

    // Fills bgr (width * height * 3 bytes, rows top down) for one frame.
    static void Draw(uint32_t frameNumber, int device, int width, int height,
                     std::vector<uint8_t>& bgr);
    // The frame number drawn into a picture, or -1 when the picture is too
    // small to carry one.
    static int32_t ReadFrameNumber(const uint8_t* bgr, int width, int height);
};
