#include <gtest/gtest.h>

#include "CSkinBitmap.h"
#include "CSkinButton.h"
#include "CSkinProgressCtrl.h"
#include "CTestKit.h"
#include "CZrTabCtrl.h"
#include "ControlTestKit.h"
#include "SkinNames.h"

using namespace controltest;

// The skin images as the main window shows them.

namespace {
struct Image
{
    int width = 0, height = 0;
    std::vector<COLORREF> pixels;
    COLORREF At(int x, int y) const { return pixels[(size_t)y * width + x]; }
};

Image Load(LPCSTR file)
{
    Image img;
    HBITMAP bmp = (HBITMAP)::LoadImageA(NULL, file, IMAGE_BITMAP, 0, 0,
                                        LR_LOADFROMFILE | LR_CREATEDIBSECTION);
    if (!bmp)
        return img;
    BITMAP info = {};
    ::GetObject(bmp, sizeof info, &info);
    img.width = info.bmWidth;
    img.height = info.bmHeight;
    HDC dc = ::CreateCompatibleDC(NULL);
    HGDIOBJ old = ::SelectObject(dc, bmp);
    for (int y = 0; y < img.height; ++y)
        for (int x = 0; x < img.width; ++x)
            img.pixels.push_back(::GetPixel(dc, x, y));
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
    ::DeleteObject(bmp);
    return img;
}
} // namespace

TEST(MainWindowSkins, CaptionButtonsContinueTheCaptionBand)
{
    // The frame's caption is 32 high; its buttons (26 high) sit at its top
    // and must show the same band row for row, with no seam.
    const Image caption = Load(SKIN_MAIN_TOP);
    ASSERT_EQ(32, caption.height);
    for (LPCSTR file :
         {SKIN_MIN_BUTTON, SKIN_MAX_BUTTON, SKIN_RESTORE_BUTTON, SKIN_MAIN_CLOSE_BTN}) {
        const Image button = Load(file);
        ASSERT_EQ(26, button.height) << file;
        for (int y = 0; y < button.height; ++y)
            EXPECT_EQ(caption.At(65, y), button.At(1, y)) << file << " row " << y;
    }
}

TEST(MainWindowSkins, RestoreGlyphShowsTheButtonFaceInEveryState)
{
    // Inside the front window of the glyph the button's own face shows, in
    // the normal, pressed, hover and disabled frames alike.
    struct Case
    {
        LPCSTR file;
        int insideY; // a row inside the front window
    } cases[] = {{SKIN_RESTORE_BUTTON, 15}, {SKIN_S_BTN, 19}};
    for (const Case& c : cases) {
        const Image strip = Load(c.file);
        ASSERT_EQ(80, strip.width) << c.file;
        for (int frame = 0; frame < 4; ++frame) {
            const int x0 = frame * 20;
            EXPECT_EQ(strip.At(x0 + 3, c.insideY), strip.At(x0 + 9, c.insideY))
                << c.file << " frame " << frame;
            EXPECT_NE(strip.At(x0 + 3, c.insideY), strip.At(x0 + 6, c.insideY))
                << "the glyph's edge";
        }
    }
}

TEST(MainWindowSkins, ProgressSkinsAreAsHighAsTheLevelMeters)
{
    for (LPCSTR file : {SKIN_PROGRESS_CTRL_LEFT, SKIN_DBPROGRESS_CTRL})
        EXPECT_EQ(6, Load(file).height) << file;
    CRecorderWnd parent;
    ASSERT_TRUE(parent.CreateTop());
    CSkinProgressCtrl meter;
    ASSERT_TRUE(meter.Create(WS_CHILD | WS_VISIBLE, CRect(10, 10, 110, 16), &parent, 40));
    CRect r;
    meter.GetWindowRect(&r);
    EXPECT_EQ(6, r.Height());
    parent.DestroyWindow();
}

TEST(MainWindowSkins, TabStripButtonsDrawOneFaceEach)
{
    // Each image of the close, previous and next strips is exactly the size
    // of its button, so no glyph is tiled twice into it.
    CRecorderWnd parent;
    ASSERT_TRUE(parent.CreateTop());
    CZrTabCtrl tabs;
    ASSERT_TRUE(tabs.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 300, 24), &parent, 41));
    for (UINT id :
         {(UINT)CZrTabCtrl::ID_CLOSE, (UINT)CZrTabCtrl::ID_PREV, (UINT)CZrTabCtrl::ID_NEXT}) {
        CSkinButton* button = static_cast<CSkinButton*>(
            CWnd::FromHandlePermanent(tabs.GetDlgItem(id)->GetSafeHwnd()));
        ASSERT_NE(nullptr, button) << id;
        CRect client;
        button->GetClientRect(&client);
        for (int state = 0; state < 4; ++state) {
            EXPECT_EQ(client.Width(), button->GetStateImage(state).GetWidth()) << id;
            EXPECT_EQ(client.Height(), button->GetStateImage(state).GetHeight()) << id;
        }
    }
    parent.DestroyWindow();
}
