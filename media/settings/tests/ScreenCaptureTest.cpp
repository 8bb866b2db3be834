// Screen region capture: the bitmap file's layout, the saved pixels at each
// bit count, and the selection driven by mouse input.
#include "CScreenBitmapFile.h"
#include "CDlgScreenCapture.h"
#include "CSettingsDialogs.h"
#include "CTestKit.h"
#include "SettingsTestKit.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

using namespace settingstest;

namespace {

std::vector<uint8_t> ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

uint32_t U32(const std::vector<uint8_t>& d, size_t at)
{
    return d[at] | d[at + 1] << 8 | d[at + 2] << 16 | (uint32_t)d[at + 3] << 24;
}

uint16_t U16(const std::vector<uint8_t>& d, size_t at)
{
    return (uint16_t)(d[at] | d[at + 1] << 8);
}

std::string TempPath(const char* name)
{
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    return std::string(folder) + name;
}

// The colour of pixel (x, y) of a saved file, top row first.
COLORREF PixelOf(const std::vector<uint8_t>& file, int x, int y)
{
    int width = (int)U32(file, 18);
    int height = (int)U32(file, 22);
    int bits = U16(file, 28);
    uint32_t offset = U32(file, 10);
    uint32_t row = CScreenBitmapFile::RowBytes(width, bits);
    const uint8_t* line = &file[offset + row * (uint32_t)(height - 1 - y)];
    if (bits == 24)
        return RGB(line[x * 3 + 2], line[x * 3 + 1], line[x * 3]);
    int index = 0;
    if (bits == 8)
        index = line[x];
    else if (bits == 4)
        index = (line[x / 2] >> (x % 2 ? 0 : 4)) & 0x0F;
    else
        index = (line[x / 8] >> (7 - x % 8)) & 1;
    const uint8_t* entry = &file[54 + index * 4];
    return RGB(entry[2], entry[1], entry[0]);
}

} // namespace

TEST(ScreenBitmapFile, LayoutOfTheFile)
{
    struct Case
    {
        int width, height, bits;
        uint32_t row, offset, size;
    } cases[] = {
        {1, 1, 1, 4, 62, 66},       {33, 2, 1, 8, 62, 78},  {5, 3, 4, 4, 118, 130},
        {10, 2, 8, 12, 1078, 1102}, {3, 2, 24, 12, 54, 78}, {1920, 1080, 24, 5760, 54, 6220854},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CScreenBitmapFile::RowBytes(c.width, c.bits), c.row) << c.width << "x" << c.bits;
        EXPECT_EQ(CScreenBitmapFile::PixelOffset(c.bits), c.offset) << c.bits;
        EXPECT_EQ(CScreenBitmapFile::FileSize(c.width, c.height, c.bits), c.size)
            << c.width << "x" << c.bits;
    }
    struct Depth
    {
        int bits, planes, saved;
    } depths[] = {{1, 1, 1},   {2, 1, 4},   {4, 1, 4},   {1, 4, 4},  {8, 1, 8},
                  {15, 1, 24}, {16, 1, 24}, {24, 1, 24}, {32, 1, 24}};
    for (const Depth& d : depths)
        EXPECT_EQ(CScreenBitmapFile::BitsForDisplay(d.bits, d.planes), d.saved)
            << d.bits << "*" << d.planes;
}

TEST(ScreenBitmapFile, SavedPixelsAtEachBitCount)
{
    HDC screen = GetDC(NULL);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 5, 2);
    HDC memory = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(memory, bitmap);
    const COLORREF colours[2][5] = {
        {RGB(0, 0, 0), RGB(255, 255, 255), RGB(255, 0, 0), RGB(0, 0, 255), RGB(0, 255, 0)},
        {RGB(255, 255, 255), RGB(0, 0, 0), RGB(0, 0, 0), RGB(255, 255, 255), RGB(0, 0, 0)}};
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 5; ++x)
            SetPixel(memory, x, y, colours[y][x]);
    SelectObject(memory, old);
    DeleteDC(memory);
    ReleaseDC(NULL, screen);

    std::string path = TempPath("settings_bits.bmp");
    for (int bits : {1, 4, 8, 24}) {
        ASSERT_TRUE(CScreenBitmapFile::Save(bitmap, bits, path.c_str())) << bits;
        std::vector<uint8_t> file = ReadFile(path);
        ASSERT_EQ(file.size(), CScreenBitmapFile::FileSize(5, 2, bits)) << bits;
        EXPECT_EQ(file[0], 'B');
        EXPECT_EQ(file[1], 'M');
        EXPECT_EQ(U32(file, 2), file.size());
        EXPECT_EQ(U32(file, 6), 0u);
        EXPECT_EQ(U32(file, 10), CScreenBitmapFile::PixelOffset(bits));
        EXPECT_EQ(U32(file, 14), 40u);
        EXPECT_EQ(U16(file, 26), 1);
        EXPECT_EQ(U16(file, 28), bits);
        EXPECT_EQ(U32(file, 30), 0u) << "no compression";
        for (int y = 0; y < 2; ++y) {
            for (int x = 0; x < 5; ++x) {
                COLORREF c = colours[y][x];
                if (bits == 1)
                    c = (c == RGB(255, 255, 255)) ? c : RGB(0, 0, 0);
                if (bits == 1 && colours[y][x] != RGB(255, 255, 255) &&
                    colours[y][x] != RGB(0, 0, 0))
                    continue; // a colour has no exact place in two entries
                EXPECT_EQ(PixelOf(file, x, y), c) << bits << " bits at " << x << "," << y;
            }
        }
    }
    EXPECT_FALSE(CScreenBitmapFile::Save(bitmap, 16, path.c_str()));
    EXPECT_FALSE(CScreenBitmapFile::Save(bitmap, 24, "Z:\\no such folder\\x.bmp"));
    DeleteFile(path.c_str());
    DeleteObject(bitmap);
}

TEST(ScreenCapture, InfoBoxStaysOnTheScreen)
{
    CSize box(60, 90);
    EXPECT_EQ(CDlgScreenCapture::InfoBoxRect(CPoint(400, 300), box, 800),
              CRect(403, 207, 463, 297));
    EXPECT_EQ(CDlgScreenCapture::InfoBoxRect(CPoint(795, 5), box, 800), CRect(732, 8, 792, 98))
        << "at the top-right corner: left of and below the cursor";
    EXPECT_EQ(CDlgScreenCapture::InfoBoxRect(CPoint(20, 91), box, 800), CRect(23, -2, 83, 88));
}

TEST(ScreenCapture, DragUpAndLeftThenDoubleClickSavesTheRegion)
{
    std::string path = TempPath("settings_capture.bmp");
    DeleteFile(path.c_str());
    CDlgScreenCapture dlg(path);
    CRect selection;
    bool draggingSeen = false;
    INT_PTR result = CTestKit::RunModal(dlg, [&](CDialog& d) {
        HWND w = d.m_hWnd;
        CTestKit::SendMouse(w, WM_LBUTTONDOWN, POINT{200, 150}, MK_LBUTTON);
        draggingSeen = dlg.Dragging();
        CTestKit::SendMouse(w, WM_MOUSEMOVE, POINT{120, 100}, MK_LBUTTON);
        CTestKit::SendMouse(w, WM_LBUTTONUP, POINT{120, 100});
        selection = dlg.Selection();
        EXPECT_TRUE(dlg.HasSelection());
        EXPECT_FALSE(dlg.Dragging());
        EXPECT_NE(dlg.InfoText().Find("双击鼠标左键"), -1);
        // A press outside the selection does nothing; a double click outside neither.
        CTestKit::SendMouse(w, WM_LBUTTONDOWN, POINT{400, 400}, MK_LBUTTON);
        CTestKit::SendMouse(w, WM_LBUTTONUP, POINT{400, 400});
        CTestKit::SendMouse(w, WM_LBUTTONDBLCLK, POINT{400, 400}, MK_LBUTTON);
        EXPECT_EQ(dlg.Selection(), selection);
        EXPECT_FALSE(dlg.Saved());
        CTestKit::SendMouse(w, WM_LBUTTONDBLCLK, POINT{150, 120}, MK_LBUTTON);
    });
    EXPECT_TRUE(draggingSeen);
    EXPECT_EQ(selection, CRect(120, 100, 204, 154)) << "a drag up and left is normalised";
    EXPECT_EQ(result, IDCANCEL);
    ASSERT_TRUE(dlg.Saved());
    std::vector<uint8_t> file = ReadFile(path);
    ASSERT_GT(file.size(), 54u);
    EXPECT_EQ(U32(file, 18), 84u);
    EXPECT_EQ(U32(file, 22), 54u);
    DeleteFile(path.c_str());
}

TEST(ScreenCapture, RightButtonAndEscapeClearTheSelectionThenEnd)
{
    std::string path = TempPath("settings_capture2.bmp");
    CDlgScreenCapture dlg(path);
    bool clearedByRight = false, clearedByEscape = false, stillOpen = false;
    INT_PTR result = CTestKit::RunModal(dlg, [&](CDialog& d) {
        HWND w = d.m_hWnd;
        CTestKit::SendMouse(w, WM_LBUTTONDOWN, POINT{50, 50}, MK_LBUTTON);
        CTestKit::SendMouse(w, WM_MOUSEMOVE, POINT{150, 150}, MK_LBUTTON);
        CTestKit::SendMouse(w, WM_LBUTTONUP, POINT{150, 150});
        CTestKit::SendMouse(w, WM_RBUTTONUP, POINT{100, 100});
        clearedByRight = !dlg.HasSelection() && dlg.Selection() == CRect(-1, -1, -1, -1);
        CTestKit::SendMouse(w, WM_LBUTTONDOWN, POINT{60, 60}, MK_LBUTTON);
        CTestKit::SendMouse(w, WM_MOUSEMOVE, POINT{90, 90}, MK_LBUTTON);
        CTestKit::SendMouse(w, WM_LBUTTONUP, POINT{90, 90});
        d.SendMessage(WM_COMMAND, IDCANCEL);
        clearedByEscape = !dlg.HasSelection();
        stillOpen = ::IsWindow(w) && ::IsWindowVisible(w);
        CTestKit::SendMouse(w, WM_RBUTTONUP, POINT{100, 100});
    });
    EXPECT_TRUE(clearedByRight);
    EXPECT_TRUE(clearedByEscape);
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_FALSE(dlg.Saved());
}

TEST(ScreenCapture, OnlyAPictureSavedInThisRunGoesToTheWhiteboard)
{
    CTestSettingsHost host;
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    host.temp = folder;
    std::string path = CSettingsDialogs::CapturePath();
    EXPECT_EQ(path, std::string(folder) + "CapturePicture.bmp");
    FILE* old = fopen(path.c_str(), "wb");
    ASSERT_NE(old, nullptr);
    fputs("an older capture", old);
    fclose(old);

    CSettingsDialogs dialogs;
    CTestKit::AutoCloseDialogs closer(300);
    EXPECT_FALSE(dialogs.RunScreenCapture());
    EXPECT_TRUE(host.events.empty());
    EXPECT_EQ(ReadFile(path).size(), 16u) << "the old file is left alone";
    DeleteFile(path.c_str());
}
