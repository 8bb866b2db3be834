#include "CDibPainter.h"

#include <cstring>

namespace {

bool TargetRect(HWND window, const RECT* rect, RECT& out)
{
    if (rect && rect->right > rect->left && rect->bottom > rect->top) {
        out = *rect;
        return true;
    }
    return GetClientRect(window, &out) && out.right > out.left && out.bottom > out.top;
}

// Bottom-up DIB rows padded to four bytes.
void ToDib(const uint8_t* bgr, int width, int height, std::vector<uint8_t>& dib, int& stride)
{
    stride = (width * 3 + 3) & ~3;
    dib.assign(static_cast<size_t>(stride) * height, 0);
    for (int y = 0; y < height; ++y)
        memcpy(&dib[static_cast<size_t>(height - 1 - y) * stride],
               bgr + static_cast<size_t>(y) * width * 3, static_cast<size_t>(width) * 3);
}

void MakeHeader(BITMAPINFOHEADER& h, int width, int height, int stride)
{
    memset(&h, 0, sizeof h);
    h.biSize = sizeof h;
    h.biWidth = width;
    h.biHeight = height;
    h.biPlanes = 1;
    h.biBitCount = 24;
    h.biCompression = BI_RGB;
    h.biSizeImage = static_cast<DWORD>(stride) * height;
}

} // namespace

bool CDibPainter::Paint(HWND window, const RECT* rect, const uint8_t* bgr, int width, int height)
{
    if (!window || !IsWindow(window) || !bgr || width < 1 || height < 1)
        return false;
    RECT target;
    if (!TargetRect(window, rect, target))
        return false;
    std::vector<uint8_t> dib;
    int stride = 0;
    ToDib(bgr, width, height, dib, stride);
    BITMAPINFO info;
    MakeHeader(info.bmiHeader, width, height, stride);
    HDC dc = GetDC(window);
    if (!dc)
        return false;
    SetStretchBltMode(dc, COLORONCOLOR);
    const int lines = StretchDIBits(dc, target.left, target.top, target.right - target.left,
                                    target.bottom - target.top, 0, 0, width, height, dib.data(),
                                    &info, DIB_RGB_COLORS, SRCCOPY);
    ReleaseDC(window, dc);
    return lines != 0 && lines != static_cast<int>(GDI_ERROR);
}

bool CDibPainter::Fill(HWND window, const RECT* rect, COLORREF colour)
{
    if (!window || !IsWindow(window))
        return false;
    RECT target;
    if (!TargetRect(window, rect, target))
        return false;
    HDC dc = GetDC(window);
    if (!dc)
        return false;
    HBRUSH brush = CreateSolidBrush(colour);
    const int ok = FillRect(dc, &target, brush);
    DeleteObject(brush);
    ReleaseDC(window, dc);
    return ok != 0;
}

bool CDibPainter::SaveBitmap(const char* path, const uint8_t* bgr, int width, int height)
{
    if (!path || !*path || !bgr || width < 1 || height < 1)
        return false;
    std::vector<uint8_t> dib;
    int stride = 0;
    ToDib(bgr, width, height, dib, stride);
    BITMAPINFOHEADER info;
    MakeHeader(info, width, height, stride);
    BITMAPFILEHEADER file;
    memset(&file, 0, sizeof file);
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + static_cast<DWORD>(dib.size());
    HANDLE h =
        CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    bool ok = WriteFile(h, &file, sizeof file, &written, nullptr) && written == sizeof file;
    ok = ok && WriteFile(h, &info, sizeof info, &written, nullptr) && written == sizeof info;
    ok = ok && WriteFile(h, dib.data(), static_cast<DWORD>(dib.size()), &written, nullptr) &&
         written == dib.size();
    CloseHandle(h);
    if (!ok)
        DeleteFileA(path);
    return ok;
}
