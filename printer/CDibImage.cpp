#include "CDibImage.h"

#include <cstring>

#include "CBitmapFile.h"

CDibImage::~CDibImage() { Destroy(); }

void CDibImage::Destroy()
{
    if (m_dc && m_oldBitmap)
        SelectObject(m_dc, m_oldBitmap);
    if (m_bitmap)
        DeleteObject(m_bitmap);
    if (m_dc)
        DeleteDC(m_dc);
    m_dc = nullptr;
    m_bitmap = nullptr;
    m_oldBitmap = nullptr;
    m_pixels = nullptr;
    m_width = m_height = 0;
    m_bits = 0;
    m_imageSize = 0;
}

bool CDibImage::Create(int32_t width, int32_t height, uint16_t bits,
                       const std::vector<uint32_t>& colours)
{
    if (m_dc)
        return false;
    uint32_t stride = CBitmapFile::Stride(width, bits);
    uint64_t rows = height < 0 ? -static_cast<int64_t>(height) : height;
    uint64_t imageSize = static_cast<uint64_t>(stride) * rows;
    if (stride == 0 || rows == 0 || imageSize > CBitmapFile::kMaxImageBytes)
        return false;
    if (bits <= 8 && colours.size() < (1u << bits))
        return false;

    std::vector<uint8_t> infoBuffer(sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD), 0);
    BITMAPINFO* info = reinterpret_cast<BITMAPINFO*>(infoBuffer.data());
    info->bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info->bmiHeader.biWidth = width;
    info->bmiHeader.biHeight = height;
    info->bmiHeader.biPlanes = 1;
    info->bmiHeader.biBitCount = bits;
    info->bmiHeader.biCompression = BI_RGB;
    info->bmiHeader.biSizeImage = static_cast<DWORD>(imageSize);
    if (bits <= 8) {
        info->bmiHeader.biClrUsed = 1u << bits;
        memcpy(info->bmiColors, colours.data(), (1u << bits) * sizeof(RGBQUAD));
    }

    HDC display = CreateICA("DISPLAY", nullptr, nullptr, nullptr);
    m_dc = CreateCompatibleDC(display);
    if (display)
        DeleteDC(display);
    if (!m_dc)
        return false;
    void* bits_ = nullptr;
    m_bitmap = CreateDIBSection(m_dc, info, DIB_RGB_COLORS, &bits_, nullptr, 0);
    if (!m_bitmap || !bits_) {
        Destroy();
        return false;
    }
    m_oldBitmap = SelectObject(m_dc, m_bitmap);
    SetBkMode(m_dc, TRANSPARENT);
    m_pixels = static_cast<uint8_t*>(bits_);
    m_width = width;
    m_height = height;
    m_bits = bits;
    m_imageSize = static_cast<uint32_t>(imageSize);
    return true;
}

bool CDibImage::SetPixels(const uint8_t* pixels, size_t size)
{
    if (!m_pixels || !pixels || size != m_imageSize)
        return false;
    memcpy(m_pixels, pixels, size);
    return true;
}

bool CDibImage::Load(const std::string& path)
{
    CBitmapFile::Image image;
    if (!CBitmapFile::Load(path, image))
        return false;
    if (!Create(image.info.width, image.info.height, image.info.bitCount, image.colours))
        return false;
    return SetPixels(image.pixels.data(), image.pixels.size());
}

bool CDibImage::WriteScaled(const std::string& path, int32_t newWidth, int32_t newHeight) const
{
    if (!m_dc || newWidth <= 0 || newHeight <= 0)
        return false;
    CDibImage scaled;
    uint16_t bits = m_bits <= 8 ? 24 : m_bits;
    if (!scaled.Create(newWidth, newHeight, bits))
        return false;
    int32_t rows = m_height < 0 ? -m_height : m_height;
    SetStretchBltMode(scaled.m_dc, HALFTONE);
    SetBrushOrgEx(scaled.m_dc, 0, 0, nullptr);
    if (!StretchBlt(scaled.m_dc, 0, 0, newWidth, newHeight, m_dc, 0, 0, m_width, rows, SRCCOPY))
        return false;
    GdiFlush();
    return CBitmapFile::Write(path, scaled.m_pixels, scaled.m_imageSize, newWidth, newHeight, bits);
}
