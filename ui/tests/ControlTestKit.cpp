#include "ControlTestKit.h"

#include "CMemoryDC.h"
#include "CTestKit.h"

#include <climits>
#include <cstdio>

namespace controltest {

namespace {
// Removes the scratch folder and its files when the test program ends.
struct ScratchCleanup
{
    std::string dir;
    ~ScratchCleanup()
    {
        if (dir.empty())
            return;
        WIN32_FIND_DATAA fd;
        HANDLE h = ::FindFirstFileA((dir + "\\*").c_str(), &fd);
        if (h != INVALID_HANDLE_VALUE) {
            do {
                if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                    ::DeleteFileA((dir + "\\" + fd.cFileName).c_str());
            } while (::FindNextFileA(h, &fd));
            ::FindClose(h);
        }
        ::RemoveDirectoryA(dir.c_str());
    }
} g_cleanup;
} // namespace

std::string ScratchDir()
{
    static std::string dir;
    if (dir.empty()) {
        char tmp[MAX_PATH] = "";
        ::GetTempPathA(MAX_PATH, tmp);
        char name[64];
        std::snprintf(name, sizeof(name), "ui_controls_%lu",
                      (unsigned long)::GetCurrentProcessId());
        dir = std::string(tmp) + name;
        ::CreateDirectoryA(dir.c_str(), NULL);
        g_cleanup.dir = dir;
    }
    return dir;
}

bool WritePixels(const std::string& path, int width, int height,
                 const std::vector<COLORREF>& pixels)
{
    if (width <= 0 || height <= 0 || (int)pixels.size() < width * height)
        return false;
    int stride = (width * 3 + 3) & ~3;
    std::vector<unsigned char> bits((size_t)stride * height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            COLORREF c = pixels[(size_t)y * width + x];
            unsigned char* p = &bits[(size_t)(height - 1 - y) * stride + x * 3];
            p[0] = GetBValue(c);
            p[1] = GetGValue(c);
            p[2] = GetRValue(c);
        }
    BITMAPFILEHEADER fh = {};
    BITMAPINFOHEADER ih = {};
    ih.biSize = sizeof(ih);
    ih.biWidth = width;
    ih.biHeight = height;
    ih.biPlanes = 1;
    ih.biBitCount = 24;
    ih.biSizeImage = (DWORD)bits.size();
    fh.bfType = 0x4D42;
    fh.bfOffBits = sizeof(fh) + sizeof(ih);
    fh.bfSize = fh.bfOffBits + (DWORD)bits.size();
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    std::fwrite(&fh, sizeof(fh), 1, f);
    std::fwrite(&ih, sizeof(ih), 1, f);
    std::fwrite(bits.data(), 1, bits.size(), f);
    return std::fclose(f) == 0;
}

std::string WriteStrip(const std::string& name, const std::vector<COLORREF>& frames, int frameWidth,
                       int height, int extraColumns)
{
    int width = frameWidth * (int)frames.size() + extraColumns;
    int stride = (width * 3 + 3) & ~3;
    std::vector<unsigned char> bits((size_t)stride * height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            int f = x / frameWidth;
            if (f >= (int)frames.size())
                f = (int)frames.size() - 1;
            COLORREF c = frames[f];
            unsigned char* p = &bits[(size_t)(height - 1 - y) * stride + x * 3];
            p[0] = GetBValue(c);
            p[1] = GetGValue(c);
            p[2] = GetRValue(c);
        }
    }
    BITMAPFILEHEADER fh = {};
    BITMAPINFOHEADER ih = {};
    ih.biSize = sizeof(ih);
    ih.biWidth = width;
    ih.biHeight = height;
    ih.biPlanes = 1;
    ih.biBitCount = 24;
    ih.biSizeImage = (DWORD)bits.size();
    fh.bfType = 0x4D42;
    fh.bfOffBits = sizeof(fh) + sizeof(ih);
    fh.bfSize = fh.bfOffBits + (DWORD)bits.size();
    std::string path = ScratchDir() + "\\" + name;
    FILE* f = std::fopen(path.c_str(), "wb");
    if (f) {
        std::fwrite(&fh, sizeof(fh), 1, f);
        std::fwrite(&ih, sizeof(ih), 1, f);
        std::fwrite(bits.data(), 1, bits.size(), f);
        std::fclose(f);
    }
    return path;
}

BOOL CRecorderWnd::CreateTop(int cx, int cy)
{
    return CreateEx(0, AfxRegisterWndClass(0), "recorder", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                    20, 20, cx, cy, NULL, NULL);
}

int CRecorderWnd::Count(UINT message, int code) const
{
    int n = 0;
    for (const Sent& s : sent)
        if (s.message == message && (code == INT_MIN || s.code == code))
            ++n;
    return n;
}

LRESULT CRecorderWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    bool record = message == WM_HSCROLL || message == WM_VSCROLL || message == WM_NOTIFY ||
                  message == WM_COMMAND;
    for (UINT m : watched)
        if (m == message)
            record = true;
    int code = 0;
    if (message == WM_NOTIFY)
        code = (int)((NMHDR*)lParam)->code;
    else if (message == WM_COMMAND)
        code = HIWORD(wParam);
    if (record)
        sent.push_back({message, wParam, lParam, code});
    LRESULT r = CWnd::WindowProc(message, wParam, lParam);
    if (message == WM_NOTIFY)
        for (int v : vetoes)
            if (v == code)
                return 1;
    return r;
}

int Pixels::Count(COLORREF c) const
{
    int n = 0;
    for (COLORREF p : data)
        if (p == c)
            ++n;
    return n;
}

Pixels DrawOwnerDrawn(CWnd& control, UINT itemState)
{
    CRect rc;
    control.GetClientRect(&rc);
    CMemoryDC mem(rc.Width(), rc.Height());
    mem.FillSolidRect(&rc, RGB(1, 2, 3));
    DRAWITEMSTRUCT dis = {};
    dis.CtlType = ODT_BUTTON;
    dis.CtlID = control.GetDlgCtrlID();
    dis.itemAction = ODA_DRAWENTIRE;
    dis.itemState = itemState;
    dis.hwndItem = control.m_hWnd;
    dis.hDC = mem.m_hDC;
    dis.rcItem = rc;
    control.DrawItem(&dis);
    Pixels p;
    p.width = rc.Width();
    p.height = rc.Height();
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x)
            p.data.push_back(mem.GetPixel(x, y));
    return p;
}

Pixels Snap(CWnd& wnd)
{
    CTestKit::Snapshot s = CTestKit::Capture(wnd.m_hWnd, true);
    Pixels p;
    p.width = s.width;
    p.height = s.height;
    p.data = s.pixels;
    return p;
}

} // namespace controltest
