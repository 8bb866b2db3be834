#pragma once
#include <winsock2.h>
#include <windows.h>

#include <string>

// The whole primary screen saved as a bitmap file "pict%04d.bmp" in a
// folder, numbered by a counter of the process. A number whose file exists
// already is passed over, so no earlier picture is overwritten.
class CScreenCapture
{
public:
    // The path of the new file, or empty when it could not be written.
    static std::string CaptureToFile(const std::string& folder);
    // Writes a bitmap as a BMP file in its own format (rows padded to four
    // bytes, the colour table of formats up to 8 bits); false on failure.
    static bool SaveBitmap(HDC dc, HBITMAP bitmap, const std::string& path);
    // The counter's next value (for tests).
    static int NextNumber();
    static void ResetNumber(int next);
};
