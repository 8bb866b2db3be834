#include "CScreenCapture.h"

#include <cstdio>
#include <vector>

#include "WireWriter.h"

namespace {

int s_nextNumber = 0;

const uint32_t kFileHeaderSize = 14;
const uint32_t kInfoHeaderSize = 40;

} // namespace

int CScreenCapture::NextNumber() { return s_nextNumber; }

void CScreenCapture::ResetNumber(int next) { s_nextNumber = next; }

bool CScreenCapture::SaveBitmap(HDC dc, HBITMAP bitmap, const std::string& path)
{
    BITMAP format = {};
    if (!GetObjectA(bitmap, sizeof format, &format) || format.bmWidth <= 0 || format.bmHeight <= 0)
        return false;
    const uint32_t bits = format.bmBitsPixel * format.bmPlanes;
    const uint32_t width = static_cast<uint32_t>(format.bmWidth);
    const uint32_t height = static_cast<uint32_t>(format.bmHeight);
    // Every row is padded to a multiple of four bytes.
    const uint32_t stride = (width * bits + 31) / 32 * 4;
    const uint32_t imageSize = stride * height;
    const uint32_t colours = bits <= 8 ? (1u << bits) : 0;

    // The information header with room for a full colour table.
    std::vector<unsigned char> info(sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD), 0);
    BITMAPINFOHEADER* header = reinterpret_cast<BITMAPINFOHEADER*>(info.data());
    header->biSize = sizeof(BITMAPINFOHEADER);
    header->biWidth = format.bmWidth;
    header->biHeight = format.bmHeight;
    header->biPlanes = 1;
    header->biBitCount = static_cast<WORD>(bits);
    header->biCompression = BI_RGB;
    header->biSizeImage = imageSize;
    header->biClrUsed = colours;
    std::vector<unsigned char> pixels(imageSize);
    if (GetDIBits(dc, bitmap, 0, height, pixels.data(), reinterpret_cast<BITMAPINFO*>(info.data()),
                  DIB_RGB_COLORS) == 0)
        return false;

    const uint32_t offset = kFileHeaderSize + kInfoHeaderSize + colours * 4;
    std::vector<unsigned char> head(offset);
    WireWriter w(head.data(), head.size());
    w.U8('B');
    w.U8('M');
    w.U32(offset + imageSize);
    w.U16(0);
    w.U16(0);
    w.U32(offset);
    w.U32(kInfoHeaderSize);
    w.I32(format.bmWidth);
    w.I32(format.bmHeight);
    w.U16(1);
    w.U16(static_cast<uint16_t>(bits));
    w.U32(BI_RGB);
    w.U32(imageSize);
    w.I32(0);
    w.I32(0);
    w.U32(colours);
    w.U32(0);
    const RGBQUAD* table = reinterpret_cast<const RGBQUAD*>(info.data() + sizeof(BITMAPINFOHEADER));
    for (uint32_t i = 0; i < colours; ++i) {
        w.U8(table[i].rgbBlue);
        w.U8(table[i].rgbGreen);
        w.U8(table[i].rgbRed);
        w.U8(0);
    }
    if (!w.Ok() || w.Offset() != offset)
        return false;

    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0, more = 0;
    const bool ok = WriteFile(file, head.data(), offset, &written, nullptr) && written == offset &&
                    WriteFile(file, pixels.data(), imageSize, &more, nullptr) && more == imageSize;
    CloseHandle(file);
    if (!ok)
        DeleteFileA(path.c_str());
    return ok;
}

std::string CScreenCapture::CaptureToFile(const std::string& folder)
{
    CreateDirectoryA(folder.c_str(), nullptr);
    // The next number whose file does not exist yet.
    std::string path;
    for (int tries = 0; tries < 10000; ++tries) {
        char name[32];
        snprintf(name, sizeof name, "pict%04d.bmp", s_nextNumber++);
        path = folder + name;
        if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES)
            break;
        path.clear();
    }
    if (path.empty())
        return path;

    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    HDC screen = CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
    if (!screen)
        return std::string();
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    bool ok = false;
    if (memory && bitmap) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        ok = BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY) != FALSE;
        SelectObject(memory, old);
        ok = ok && SaveBitmap(screen, bitmap, path);
    }
    if (bitmap)
        DeleteObject(bitmap);
    if (memory)
        DeleteDC(memory);
    DeleteDC(screen);
    return ok ? path : std::string();
}
