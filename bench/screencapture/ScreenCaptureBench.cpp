// Prints what the screen capture's snapshot costs beside a plain copy of the
// screen into a bitmap, and what saving a 1920 x 1080 region costs beside
// reading the same pixels and writing the same number of bytes.
#include <windows.h>

#include "CScreenBitmapFile.h"
#include "CDlgScreenCapture.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {
double Seconds(LARGE_INTEGER a, LARGE_INTEGER b)
{
    LARGE_INTEGER f;
    ::QueryPerformanceFrequency(&f);
    return double(b.QuadPart - a.QuadPart) / double(f.QuadPart);
}

std::string TempFile(const char* name)
{
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    return std::string(folder) + name;
}

void PlainScreenCopy()
{
    int cx = GetSystemMetrics(SM_CXSCREEN), cy = GetSystemMetrics(SM_CYSCREEN);
    HDC screen = GetDC(NULL);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, cx, cy);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, cx, cy, screen, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(NULL, screen);
}

void PlainSave(HBITMAP bitmap, const std::string& path)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = 1920;
    info.bmiHeader.biHeight = 1080;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    std::vector<unsigned char> pixels(CScreenBitmapFile::RowBytes(1920, 24) * 1080);
    HDC screen = GetDC(NULL);
    GetDIBits(screen, bitmap, 0, 1080, pixels.data(), &info, DIB_RGB_COLORS);
    ReleaseDC(NULL, screen);
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    DWORD written = 0;
    WriteFile(file, pixels.data(), (DWORD)pixels.size(), &written, NULL);
    CloseHandle(file);
}
} // namespace

int main()
{
    const int rounds = 5;
    LARGE_INTEGER t0, t1;

    ::QueryPerformanceCounter(&t0);
    for (int i = 0; i < rounds; ++i) {
        CDlgScreenCapture capture(TempFile("bench_capture.bmp"));
    }
    ::QueryPerformanceCounter(&t1);
    double snapshotMs = Seconds(t0, t1) * 1e3 / rounds;
    ::QueryPerformanceCounter(&t0);
    for (int i = 0; i < rounds; ++i)
        PlainScreenCopy();
    ::QueryPerformanceCounter(&t1);
    double plainCopyMs = Seconds(t0, t1) * 1e3 / rounds;
    printf("snapshot of the %dx%d screen: %.2f ms   (plain screen copy: %.2f ms)\n",
           GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), snapshotMs, plainCopyMs);

    HDC screen = GetDC(NULL);
    HBITMAP region = CreateCompatibleBitmap(screen, 1920, 1080);
    ReleaseDC(NULL, screen);
    std::string path = TempFile("bench_region.bmp");
    ::QueryPerformanceCounter(&t0);
    bool ok = true;
    for (int i = 0; i < rounds; ++i)
        ok = CScreenBitmapFile::Save(region, 24, path.c_str()) && ok;
    ::QueryPerformanceCounter(&t1);
    double saveMs = Seconds(t0, t1) * 1e3 / rounds;
    ::QueryPerformanceCounter(&t0);
    for (int i = 0; i < rounds; ++i)
        PlainSave(region, path);
    ::QueryPerformanceCounter(&t1);
    double plainSaveMs = Seconds(t0, t1) * 1e3 / rounds;
    printf("save of a 1920x1080 region at 24 bits: %.2f ms%s   (read pixels and write the bytes: "
           "%.2f ms)\n",
           saveMs, ok ? "" : " (FAILED)", plainSaveMs);
    DeleteObject(region);
    DeleteFileA(path.c_str());
    return ok ? 0 : 1;
}
