// Prints how long the skinned controls take to compose one picture: a skin
// button drawn through its owner-draw routine, a slider and a document tab
// strip painted off-screen. Run from the programs' folder (the skins lie in
// "Skins" there) with a display.
#include "CSkinButton.h"
#include "CSkinSlider.h"
#include "CStandardSkinButton.h"
#include "CZrTabCtrl.h"
#include "SkinNames.h"

#include <chrono>
#include <cstdio>
#include <functional>

namespace {
double MicrosPerCall(int n, const std::function<void()>& fn)
{
    fn(); // warm up
    auto t0 = std::chrono::steady_clock::now();
    for (int i = 0; i < n; ++i)
        fn();
    auto t1 = std::chrono::steady_clock::now();
    return std::chrono::duration<double, std::micro>(t1 - t0).count() / n;
}

// Paints a window into a memory DC through its own WM_PAINT handling.
void PaintInto(CWnd& wnd)
{
    wnd.Invalidate(FALSE);
    wnd.UpdateWindow();
}
} // namespace

int main()
{
    CWnd parent;
    if (!parent.CreateEx(0, AfxRegisterWndClass(0), "bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                         600, 300, NULL, NULL)) {
        std::printf("no window (is a display set?)\n");
        return 1;
    }
    const int n = 2000;

    CStandardSkinButton button;
    button.Create("确定", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, CRect(10, 10, 110, 33), &parent,
                  1);
    CRect rc;
    button.GetClientRect(&rc);
    HDC screen = ::GetDC(NULL);
    HDC mem = ::CreateCompatibleDC(screen);
    HBITMAP bmp = ::CreateCompatibleBitmap(screen, rc.Width(), rc.Height());
    ::ReleaseDC(NULL, screen);
    HGDIOBJ old = ::SelectObject(mem, bmp);
    DRAWITEMSTRUCT dis = {};
    dis.CtlType = ODT_BUTTON;
    dis.hwndItem = button.m_hWnd;
    dis.hDC = mem;
    dis.rcItem = rc;
    double buttonUs = MicrosPerCall(n, [&] { button.DrawItem(&dis); });
    ::SelectObject(mem, old);
    ::DeleteObject(bmp);
    ::DeleteDC(mem);

    CSkinSlider slider;
    slider.Create(SKIN_SLIDER_CHANNEL_LEFT, SKIN_SLIDERL_CHANNEL_RIGHT, SKIN_SLIDER_THUMB,
                  CRect(10, 50, 82, 60), &parent, 2, TRUE);
    slider.m_nLevel = 60;
    slider.SetPos(40);
    double sliderUs = MicrosPerCall(n, [&] { PaintInto(slider); });

    CZrTabCtrl tabs;
    tabs.Create(WS_CHILD | WS_VISIBLE, CRect(0, 100, 600, 124), &parent, 3);
    for (UINT id = 1; id <= 40; ++id)
        tabs.AddTab("共享文档.doc", id);
    tabs.SetCurSel(3);
    double tabsUs = MicrosPerCall(n / 4, [&] { PaintInto(tabs); });

    std::printf("skin button draw (100 x 23):   %8.1f us\n", buttonUs);
    std::printf("slider paint (72 x 10):        %8.1f us\n", sliderUs);
    std::printf("document tab strip (40 tabs):  %8.1f us\n", tabsUs);
    parent.DestroyWindow();
    return 0;
}
