// Prints the time of one CSkinBitmap::Draw for typical skins and lengths,
// and of cutting a skin file into its pieces. Run from the programs' folder
// (the skin files are read from "Skins").
#include "CMemoryDC.h"
#include "CSkinBitmap.h"
#include "SkinNames.h"

#include <cstdio>

namespace {
double Seconds(LARGE_INTEGER a, LARGE_INTEGER b)
{
    LARGE_INTEGER f;
    ::QueryPerformanceFrequency(&f);
    return double(b.QuadPart - a.QuadPart) / double(f.QuadPart);
}

void DrawCase(const char* what, const char* file, int start, int end, BOOL horizontal, int cx,
              int cy)
{
    CSkinBitmap skin;
    if (!skin.LoadFromFile(file, start, end, horizontal)) {
        std::printf("%-34s missing %s\n", what, file);
        return;
    }
    CMemoryDC target(cx, cy);
    const int rounds = 2000;
    LARGE_INTEGER t0, t1;
    ::QueryPerformanceCounter(&t0);
    for (int i = 0; i < rounds; ++i)
        skin.Draw(&target, 0, 0, cx, cy);
    ::QueryPerformanceCounter(&t1);
    std::printf("%-34s %5d x %-4d %8.1f us per draw\n", what, cx, cy,
                Seconds(t0, t1) * 1e6 / rounds);
}
} // namespace

int main()
{
    std::printf("skin drawing (mean of 2000 draws)\n");
    DrawCase("dialog caption", SKIN_TOP, 60, 70, TRUE, 400, 30);
    DrawCase("main caption, full screen", SKIN_MAIN_TOP, 60, 70, TRUE, 1280, 32);
    DrawCase("main border, full height", SKIN_MAIN_BORDER_LEFT, 32, 60, FALSE, 4, 1000);
    DrawCase("status bar background", SKIN_DBSTATUS_BAR_BKGND, 10, 20, TRUE, 1280, 22);
    DrawCase("button face", SKIN_STANDARD_BUTTON, 6, 10, TRUE, 90, 23);

    const int rounds = 500;
    LARGE_INTEGER t0, t1;
    ::QueryPerformanceCounter(&t0);
    for (int i = 0; i < rounds; ++i) {
        CSkinBitmap skin;
        skin.LoadFromFile(SKIN_MAIN_TOP, 60, 70, TRUE);
    }
    ::QueryPerformanceCounter(&t1);
    std::printf("%-34s %8.1f us per load and cut\n", "main caption file",
                Seconds(t0, t1) * 1e6 / rounds);
    return 0;
}
