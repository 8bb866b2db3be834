// The icons the program carries for its windows: the whiteboard's stamp is
// drawn where the stamp tool puts it, with a transparent surround.
#include <gtest/gtest.h>

#include <windows.h>

#include "ProgramResource.h"

// Both editions carry the stamp; each test program names its own suite.
#ifndef PROGRAM_ICONS_SUITE
#define PROGRAM_ICONS_SUITE ProgramIcons
#endif

TEST(PROGRAM_ICONS_SUITE, TheWhiteboardStampDrawsAsARedSealOnWhatLiesBelow)
{
    HICON stamp = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_WB_STAMP));
    ASSERT_NE(stamp, nullptr);
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 32, 32);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, bitmap);
    RECT all = {0, 0, 32, 32};
    HBRUSH green = CreateSolidBrush(RGB(0, 255, 0));
    FillRect(dc, &all, green);
    DeleteObject(green);
    ASSERT_TRUE(DrawIconEx(dc, 0, 0, stamp, 32, 32, 0, nullptr, DI_NORMAL));
    struct Spot
    {
        const char* what;
        int x, y;
        bool red;
    };
    const Spot spots[] = {
        {"the corner shows what lies below", 0, 0, false},
        {"the far corner too", 31, 31, false},
        {"the seal's face", 8, 16, true},
        {"beside its tick", 16, 24, true},
    };
    for (const Spot& s : spots) {
        SCOPED_TRACE(s.what);
        const COLORREF c = GetPixel(dc, s.x, s.y);
        if (s.red) {
            EXPECT_GT(GetRValue(c), 120);
            EXPECT_LT(GetGValue(c), 80);
        } else {
            EXPECT_EQ(RGB(0, 255, 0), c);
        }
    }
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
}
