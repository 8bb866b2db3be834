#pragma once
#include <windows.h>

#include <cstdint>
#include <vector>

// Draws 24-bit BGR pictures into windows and writes them to bitmap files.
// Drawing takes the window's device context directly and never sends a
// message, so it may run on any thread.
class CDibPainter
{
public:
    // Stretches the picture over rect (window coordinates), or over the
    // whole client area when rect is null or empty.
    static bool Paint(HWND window, const RECT* rect, const uint8_t* bgr, int width, int height);
    static bool Fill(HWND window, const RECT* rect, COLORREF colour);
    static bool SaveBitmap(const char* path, const uint8_t* bgr, int width, int height);
};
