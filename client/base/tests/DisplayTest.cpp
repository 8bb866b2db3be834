#include <gtest/gtest.h>

#include <windows.h>

// The display the tests run on: a real window, its timers, and GDI drawing
// into a memory bitmap read back pixel by pixel.
namespace {

int g_ticks = 0;

LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_TIMER && wp == 7) {
        if (++g_ticks == 3) {
            KillTimer(hwnd, 7);
            PostQuitMessage(0);
        }
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

} // namespace

TEST(Display, WindowTimersAndMemoryBitmap)
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = Proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "DisplayProbe";
    ASSERT_TRUE(RegisterClassA(&wc));
    HWND hwnd = CreateWindowA("DisplayProbe", "probe", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr,
                              nullptr, wc.hInstance, nullptr);
    ASSERT_NE(hwnd, nullptr) << "no display";
    ShowWindow(hwnd, SW_SHOW);
    SetTimer(hwnd, 7, 20, nullptr);
    UINT_PTR guard = SetTimer(nullptr, 0, 5000, nullptr);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (msg.message == WM_TIMER && msg.hwnd == nullptr)
            break; // bounded wait
        DispatchMessageA(&msg);
    }
    KillTimer(nullptr, guard);
    EXPECT_EQ(g_ticks, 3);

    HDC screen = GetDC(hwnd);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 16, 16);
    HGDIOBJ old = SelectObject(memory, bitmap);
    RECT all = {0, 0, 16, 16};
    HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
    FillRect(memory, &all, blue);
    SetPixel(memory, 3, 4, RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(memory, 3, 4), RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(memory, 10, 10), RGB(0, 0, 255));
    SelectObject(memory, old);
    DeleteObject(blue);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(hwnd, screen);
    DestroyWindow(hwnd);
}

TEST(Display, AnsiCodePageIsChinese)
{
    // Every text the system shows or stores is code page 936.
    EXPECT_EQ(GetACP(), 936u);
}
