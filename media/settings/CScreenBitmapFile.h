#pragma once
#include <windows.h>

#include <cstdint>

// Bitmap files of screen pictures: the file's layout for a size and bit
// count, and saving a bitmap at 1, 4, 8 or 24 bits per pixel.
class CScreenBitmapFile
{
public:
    // The bit count a display of that depth saves at: 1, 4, 8 or 24.
    static int BitsForDisplay(int bitsPerPixel, int planes);
    static uint32_t RowBytes(int width, int bits);
    static uint32_t ColourTableBytes(int bits);
    static uint32_t PixelOffset(int bits);
    static uint32_t FileSize(int width, int height, int bits);

    // Writes the bitmap (read through the screen's device context) as a new
    // file; false when it cannot be read or the file cannot be written.
    static bool Save(HBITMAP bitmap, int bits, const char* path);
};
