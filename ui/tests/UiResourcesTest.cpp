#include <gtest/gtest.h>

#include "CCJFlatComboBox.h"
#include "CFlatHeaderCtrl.h"
#include "CIconButton.h"
#include "CSkinEdit.h"
#include "CTestKit.h"
#include "ControlTestKit.h"
#include "UiResource.h"

#include <cstdlib>

using namespace controltest;

namespace {
// A bitmap resource of the program read back as pixels.
struct ResourceBitmap
{
    int width = 0, height = 0, bits = 0;
    std::vector<COLORREF> pixels;
    COLORREF At(int x, int y) const { return pixels[y * width + x]; }
};

bool LoadResourceBitmap(UINT id, ResourceBitmap* out)
{
    HBITMAP h = (HBITMAP)::LoadImageA(AfxGetResourceHandle(), MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0,
                                      0, LR_CREATEDIBSECTION);
    if (!h)
        return false;
    BITMAP bm = {};
    ::GetObjectA(h, sizeof(bm), &bm);
    out->width = bm.bmWidth;
    out->height = bm.bmHeight;
    out->bits = bm.bmBitsPixel;
    HDC dc = ::CreateCompatibleDC(NULL);
    HGDIOBJ old = ::SelectObject(dc, h);
    out->pixels.resize((size_t)bm.bmWidth * bm.bmHeight);
    for (int y = 0; y < bm.bmHeight; ++y)
        for (int x = 0; x < bm.bmWidth; ++x)
            out->pixels[(size_t)y * bm.bmWidth + x] = ::GetPixel(dc, x, y);
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
    ::DeleteObject(h);
    return true;
}

bool Near(COLORREF a, COLORREF b, int tolerance)
{
    return std::abs((int)GetRValue(a) - (int)GetRValue(b)) <= tolerance &&
           std::abs((int)GetGValue(a) - (int)GetGValue(b)) <= tolerance &&
           std::abs((int)GetBValue(a) - (int)GetBValue(b)) <= tolerance;
}
} // namespace

TEST(UiResources, EveryProgramCarriesTheControlsBitmapsAndHandCursor)
{
    struct Case
    {
        UINT id;
        int width, height; // 0: any
    } cases[] = {
        {IDB_UI_COMBO_BUTTON, 60, 16}, {IDB_UI_EDIT_BACK, 0, 0}, {IDB_UI_HEADER_BACK, 0, 0}};
    for (const Case& c : cases) {
        ResourceBitmap bm;
        ASSERT_TRUE(LoadResourceBitmap(c.id, &bm)) << "bitmap " << c.id;
        EXPECT_EQ(bm.bits, 24) << "bitmap " << c.id;
        if (c.width) {
            EXPECT_EQ(bm.width, c.width) << "bitmap " << c.id;
            EXPECT_EQ(bm.height, c.height) << "bitmap " << c.id;
        }
    }
    // The combo button strip: black (transparent) only outside the faces,
    // and its three used images differ.
    ResourceBitmap strip;
    ASSERT_TRUE(LoadResourceBitmap(IDB_UI_COMBO_BUTTON, &strip));
    EXPECT_NE(strip.At(7, 2), RGB(0, 0, 0));
    EXPECT_NE(strip.At(7, 2), strip.At(15 + 7, 2)) << "hot differs from normal";
    EXPECT_NE(strip.At(7, 2), strip.At(30 + 7, 2)) << "pressed differs from normal";

    HCURSOR hand = (HCURSOR)::LoadImageA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDC_UI_HAND),
                                         IMAGE_CURSOR, 0, 0, 0);
    ASSERT_NE(hand, nullptr);
    ICONINFO info = {};
    ASSERT_TRUE(::GetIconInfo(hand, &info));
    EXPECT_FALSE(info.fIcon);
    EXPECT_EQ(info.xHotspot, 6u) << "the finger tip";
    EXPECT_EQ(info.yHotspot, 1u);
    if (info.hbmMask)
        ::DeleteObject(info.hbmMask);
    if (info.hbmColor)
        ::DeleteObject(info.hbmColor);
    ::DestroyCursor(hand);

    CIconButton button;
    EXPECT_EQ(button.SetButtonCursor(IDC_UI_HAND, FALSE), 0u) << "the hand cursor loads";
}

TEST(UiResources, FlatComboBoxDrawsItsButtonFromTheStrip)
{
    ResourceBitmap strip;
    ASSERT_TRUE(LoadResourceBitmap(IDB_UI_COMBO_BUTTON, &strip));
    CRecorderWnd parent;
    ASSERT_TRUE(parent.CreateTop());
    parent.ShowWindow(SW_SHOWNOACTIVATE);
    HWND h = ::CreateWindowA("COMBOBOX", "",
                             WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWN |
                                 CBS_OWNERDRAWFIXED | CBS_HASSTRINGS,
                             10, 10, 150, 200, parent.m_hWnd, (HMENU)40, NULL, NULL);
    CCJFlatComboBox combo;
    ASSERT_TRUE(combo.SubclassWindow(h));
    // The combo box draws its hot look while the cursor is over it, and
    // other test programs on the display move the cursor: it is this
    // one's, and away.
    CTestKit::ParkCursor();
    Pixels p = Snap(combo);
    ASSERT_GT(p.width, 20);
    EXPECT_EQ(p.At(0, 0), (COLORREF)0xBD9E7B) << "the flat outer frame of the skinned look";
    // The button area: one pixel in from the right, two from the top, 16
    // wide; the normal image sits at its left.
    const int left = p.width - 1 - 16, top = 2;
    for (POINT at : {POINT{7, 3}, POINT{3, 8}, POINT{12, 12}})
        EXPECT_EQ(p.At(left + at.x, top + at.y), strip.At(at.x, at.y)) << at.x << "," << at.y;
    parent.DestroyWindow();
}

TEST(UiResources, SkinEditAndFlatHeaderPaintTheirBackgrounds)
{
    ResourceBitmap editBack, headerBack;
    ASSERT_TRUE(LoadResourceBitmap(IDB_UI_EDIT_BACK, &editBack));
    ASSERT_TRUE(LoadResourceBitmap(IDB_UI_HEADER_BACK, &headerBack));
    CRecorderWnd parent;
    ASSERT_TRUE(parent.CreateTop(600, 300));
    parent.ShowWindow(SW_SHOWNOACTIVATE);

    CSkinEdit edit;
    ASSERT_TRUE(edit.Create(WS_CHILD | WS_VISIBLE | ES_READONLY,
                            CRect(10, 100, 10 + editBack.width + 20, 100 + editBack.height + 10),
                            &parent, 41));
    {
        // The background erase, into a memory bitmap.
        HDC screen = ::GetDC(NULL);
        HDC dc = ::CreateCompatibleDC(screen);
        HBITMAP bmp = ::CreateCompatibleBitmap(screen, editBack.width + 20, editBack.height + 10);
        ::ReleaseDC(NULL, screen);
        HGDIOBJ old = ::SelectObject(dc, bmp);
        EXPECT_TRUE(edit.SendMessage(WM_ERASEBKGND, (WPARAM)dc));
        for (POINT at : {POINT{0, 0}, POINT{editBack.width - 1, editBack.height - 1},
                         POINT{editBack.width / 2, 5}})
            EXPECT_EQ(::GetPixel(dc, at.x, at.y), editBack.At(at.x, at.y))
                << "edit " << at.x << "," << at.y;
        ::SelectObject(dc, old);
        ::DeleteObject(bmp);
        ::DeleteDC(dc);
    }

    CFlatHeaderCtrl header;
    ASSERT_TRUE(header.Create(WS_CHILD | WS_VISIBLE | HDS_HORZ, CRect(0, 0, 400, 24), &parent, 42));
    HDITEMA item = {};
    item.mask = HDI_WIDTH | HDI_FORMAT;
    item.cxy = 100;
    item.fmt = HDF_LEFT;
    header.InsertItem(0, &item);
    Pixels h = Snap(header);
    // Right of the item the pattern is tiled from the window's origin
    // (inside the frame of the empty area).
    for (POINT at : {POINT{150, 5}, POINT{237, 11}, POINT{301, 18}})
        EXPECT_EQ(h.At(at.x, at.y),
                  headerBack.At(at.x % headerBack.width, at.y % headerBack.height))
            << "pattern " << at.x << "," << at.y;
    // Over the item the bitmap is stretched to the item's height.
    for (int y : {1, 10, 20}) {
        COLORREF want = headerBack.At(0, y * headerBack.height / 24);
        EXPECT_TRUE(Near(h.At(50, y), want, 6))
            << "row " << y << ": " << std::hex << h.At(50, y) << " vs " << want;
    }
    parent.DestroyWindow();
}
