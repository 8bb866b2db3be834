#pragma once
#include "afxcmn.h"

#include <string>
#include <vector>

// Helpers of the control tests: bitmap files with known colours, a parent
// window that records what its controls send it, and pixel reads of an
// owner-drawn control drawn into memory.
namespace controltest {

// Writes a 24-bit BMP of frames solid colours side by side, each frameWidth
// x height (plus extra columns of the last colour); returns the path.
std::string WriteStrip(const std::string& name, const std::vector<COLORREF>& frames, int frameWidth,
                       int height, int extraColumns = 0);
// Writes pixels (rows top to bottom) as a 24-bit BMP file at path.
bool WritePixels(const std::string& path, int width, int height,
                 const std::vector<COLORREF>& pixels);
// A scratch folder for such files (created on first use).
std::string ScratchDir();

struct Sent
{
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    int code; // WM_NOTIFY code or WM_COMMAND notification
};

// A top-level window whose WindowProc records the messages of interest and
// answers WM_NOTIFY codes listed in vetoes with 1.
class CRecorderWnd : public CWnd
{
public:
    BOOL CreateTop(int cx = 400, int cy = 300);
    std::vector<Sent> sent;
    std::vector<int> vetoes;
    std::vector<UINT> watched; // messages to record besides the standard ones
    int Count(UINT message, int code = INT_MIN) const;
    void Clear() { sent.clear(); }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};

// Draws an owner-drawn control through its DrawItem into a memory bitmap of
// its client size with the given item state; returns the pixels.
struct Pixels
{
    int width = 0, height = 0;
    std::vector<COLORREF> data;
    COLORREF At(int x, int y) const { return data[y * width + x]; }
    int Count(COLORREF c) const;
};
Pixels DrawOwnerDrawn(CWnd& control, UINT itemState);
// Paints a window (WM_PRINTCLIENT-free: through its WM_PAINT into a memory
// DC via PrintWindow-like capture) and returns its client pixels.
Pixels Snap(CWnd& wnd);

// Makes another module the one resources are loaded from, for its lifetime.
class ScopedResourceModule
{
public:
    explicit ScopedResourceModule(HINSTANCE module) : m_old(AfxGetResourceHandle())
    {
        AfxSetResourceHandle(module);
    }
    ~ScopedResourceModule() { AfxSetResourceHandle(m_old); }
    ScopedResourceModule(const ScopedResourceModule&) = delete;
    ScopedResourceModule& operator=(const ScopedResourceModule&) = delete;

private:
    HINSTANCE m_old;
};

} // namespace controltest
