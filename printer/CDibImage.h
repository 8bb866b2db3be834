#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

// A device-independent bitmap selected into its own memory device context,
// compatible with the display.
class CDibImage
{
public:
    CDibImage() = default;
    ~CDibImage();
    CDibImage(const CDibImage&) = delete;
    CDibImage& operator=(const CDibImage&) = delete;

    // Builds the image; refuses when one exists already. A height below zero
    // makes a top-down image. colours: the colour table of 1, 4 and 8 bits.
    bool Create(int32_t width, int32_t height, uint16_t bits,
                const std::vector<uint32_t>& colours = {});
    // Loads a bitmap file of any supported layout (see CBitmapFile::Parse).
    bool Load(const std::string& path);
    // Copies the pixels in; their size must equal the image size.
    bool SetPixels(const uint8_t* pixels, size_t size);

    // Draws the whole image into a new one of the given size with halftone
    // stretching and writes it as a bitmap file. Images of 1, 4 and 8 bits are
    // written with 24 bits, as the written file carries no colour table.
    bool WriteScaled(const std::string& path, int32_t newWidth, int32_t newHeight) const;

    int32_t Width() const { return m_width; }
    int32_t Height() const { return m_height; }
    uint16_t Bits() const { return m_bits; }
    uint32_t ImageSize() const { return m_imageSize; }
    const uint8_t* Pixels() const { return m_pixels; }
    HDC Dc() const { return m_dc; }

private:
    void Destroy();

    int32_t m_width = 0;
    int32_t m_height = 0;
    uint16_t m_bits = 0;
    uint32_t m_imageSize = 0;
    uint8_t* m_pixels = nullptr;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_oldBitmap = nullptr;
    HDC m_dc = nullptr;
};
