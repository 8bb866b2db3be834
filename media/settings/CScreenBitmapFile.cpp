#include "CScreenBitmapFile.h"

#include "WireWriter.h"

#include <vector>

int CScreenBitmapFile::BitsForDisplay(int bitsPerPixel, int planes)
{
    int bits = bitsPerPixel * planes;
    if (bits <= 1)
        return 1;
    if (bits <= 4)
        return 4;
    if (bits <= 8)
        return 8;
    return 24;
}

uint32_t CScreenBitmapFile::RowBytes(int width, int bits)
{
    return (((uint32_t)width * (uint32_t)bits + 31) / 32) * 4;
}

uint32_t CScreenBitmapFile::ColourTableBytes(int bits) { return bits <= 8 ? (1u << bits) * 4 : 0; }

uint32_t CScreenBitmapFile::PixelOffset(int bits) { return 14 + 40 + ColourTableBytes(bits); }

uint32_t CScreenBitmapFile::FileSize(int width, int height, int bits)
{
    return PixelOffset(bits) + RowBytes(width, bits) * (uint32_t)height;
}

bool CScreenBitmapFile::Save(HBITMAP bitmap, int bits, const char* path)
{
    BITMAP info = {};
    if (!bitmap || !GetObjectA(bitmap, sizeof info, &info) || info.bmWidth <= 0 ||
        info.bmHeight <= 0)
        return false;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 24)
        return false;
    int width = info.bmWidth;
    int height = info.bmHeight;
    uint32_t tableBytes = ColourTableBytes(bits);
    std::vector<uint8_t> header(sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD), 0);
    BITMAPINFO* bmi = reinterpret_cast<BITMAPINFO*>(header.data());
    bmi->bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi->bmiHeader.biWidth = width;
    bmi->bmiHeader.biHeight = height; // bottom-up
    bmi->bmiHeader.biPlanes = 1;
    bmi->bmiHeader.biBitCount = (WORD)bits;
    bmi->bmiHeader.biCompression = BI_RGB;
    std::vector<uint8_t> pixels(RowBytes(width, bits) * (size_t)height);

    HDC screen = GetDC(NULL);
    HPALETTE old = SelectPalette(screen, (HPALETTE)GetStockObject(DEFAULT_PALETTE), FALSE);
    RealizePalette(screen);
    int rows = GetDIBits(screen, bitmap, 0, (UINT)height, pixels.data(), bmi, DIB_RGB_COLORS);
    if (old)
        SelectPalette(screen, old, FALSE);
    ReleaseDC(NULL, screen);
    if (rows != height)
        return false;

    std::vector<uint8_t> file(FileSize(width, height, bits));
    WireWriter out(file.data(), file.size());
    out.U8('B');
    out.U8('M');
    out.U32((uint32_t)file.size());
    out.U16(0);
    out.U16(0);
    out.U32(PixelOffset(bits));
    out.U32(40);
    out.I32(width);
    out.I32(height);
    out.U16(1);
    out.U16((uint16_t)bits);
    out.U32(BI_RGB);
    out.Zeros(20);
    out.Bytes(bmi->bmiColors, tableBytes);
    out.Bytes(pixels.data(), pixels.size());
    if (!out.Ok())
        return false;

    HANDLE handle =
        CreateFileA(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (handle == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    BOOL ok = WriteFile(handle, file.data(), (DWORD)file.size(), &written, NULL);
    CloseHandle(handle);
    return ok && written == file.size();
}
