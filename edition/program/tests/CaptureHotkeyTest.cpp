// The screen-capture hot key and the bitmap files it writes.
#include <gtest/gtest.h>

#include <winsock2.h>
#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "CCaptureHotkey.h"
#include "CScreenCapture.h"
#include "CTestKit.h"
#include "WireReader.h"

namespace {

// The hot-key library as a table of registrations per window and key.
std::map<std::pair<HWND, int>, int> s_registered;
int s_adds = 0;
int s_removes = 0;
bool s_addWorks = true;

int FakeAdd(HWND window, int key, int modifiers)
{
    ++s_adds;
    if (!s_addWorks || modifiers != 0)
        return 0;
    return ++s_registered[{window, key & 0xFF}];
}

int FakeRemove(HWND window, int key, int)
{
    ++s_removes;
    auto it = s_registered.find({window, key & 0xFF});
    if (it == s_registered.end() || it->second == 0)
        return 0;
    --it->second;
    return 1;
}

int Registrations()
{
    int n = 0;
    for (const auto& r : s_registered)
        n += r.second;
    return n;
}

std::string TempFolder(const char* name)
{
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    std::string folder =
        std::string(temp) + name + "_" + std::to_string(GetCurrentProcessId()) + "\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

std::vector<unsigned char> ReadAll(const std::string& path)
{
    std::vector<unsigned char> data;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return data;
    data.resize(GetFileSize(file, nullptr));
    DWORD got = 0;
    if (!data.empty() &&
        !ReadFile(file, data.data(), static_cast<DWORD>(data.size()), &got, nullptr))
        data.clear();
    CloseHandle(file);
    return data;
}

// A BMP file's headers, read and checked against the file's own size.
struct BmpFile
{
    uint32_t fileSize = 0, offset = 0, infoSize = 0, compression = 0, imageSize = 0, colours = 0;
    int32_t width = 0, height = 0;
    uint16_t planes = 0, bits = 0;
    std::vector<unsigned char> data;

    bool Read(const std::string& path)
    {
        data = ReadAll(path);
        WireReader r(data.data(), data.size());
        uint8_t b = 0, m = 0;
        uint16_t reserved1 = 1, reserved2 = 1;
        int32_t xppm = 0, yppm = 0;
        uint32_t important = 0;
        r.U8(b);
        r.U8(m);
        r.U32(fileSize);
        r.U16(reserved1);
        r.U16(reserved2);
        r.U32(offset);
        r.U32(infoSize);
        r.I32(width);
        r.I32(height);
        r.U16(planes);
        r.U16(bits);
        r.U32(compression);
        r.U32(imageSize);
        r.I32(xppm);
        r.I32(yppm);
        r.U32(colours);
        r.U32(important);
        return r.Ok() && b == 'B' && m == 'M' && reserved1 == 0 && reserved2 == 0;
    }
    uint32_t Stride() const { return (static_cast<uint32_t>(width) * bits + 31) / 32 * 4; }
};

class CaptureHotkey : public ::testing::Test
{
protected:
    void SetUp() override
    {
        s_registered.clear();
        s_adds = s_removes = 0;
        s_addWorks = true;
        window = CreateWindowA("STATIC", "capture", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                               nullptr, nullptr);
        ASSERT_NE(window, nullptr);
        folder = TempFolder("quillet_capture");
        CScreenCapture::ResetNumber(0);
    }
    void TearDown() override { DestroyWindow(window); }

    HWND window = nullptr;
    std::string folder;
};

} // namespace

TEST_F(CaptureHotkey, ArmedTwiceLeavesOneRegistrationAndOnePressCapturesOnce)
{
    CCaptureHotkey hotkey(&FakeAdd, &FakeRemove);
    CTestKit::MessageBoxes boxes(IDOK);
    hotkey.Arm(window);
    hotkey.Arm(window);
    EXPECT_EQ(Registrations(), 1);
    EXPECT_EQ(s_registered[std::make_pair(window, static_cast<int>(VK_F9))], 1)
        << "F9, for the window";
    ASSERT_EQ(boxes.Shown().size(), 2u);
    EXPECT_EQ(boxes.Shown()[0].text, "请按F9截图!");
    EXPECT_EQ(boxes.Shown()[1].text, "请按F9截图!");

    const std::string path = hotkey.OnHotkey(window, folder);
    EXPECT_EQ(path, folder + "pict0000.bmp");
    EXPECT_EQ(Registrations(), 0) << "one capture per arming";
    EXPECT_FALSE(hotkey.IsArmed());
    BmpFile bmp;
    ASSERT_TRUE(bmp.Read(path));
    EXPECT_EQ(bmp.width, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(bmp.height, GetSystemMetrics(SM_CYSCREEN));
    EXPECT_EQ(bmp.infoSize, 40u);
    EXPECT_EQ(bmp.planes, 1);
    EXPECT_EQ(bmp.compression, static_cast<uint32_t>(BI_RGB));
    EXPECT_EQ(bmp.imageSize, bmp.Stride() * static_cast<uint32_t>(bmp.height));
    EXPECT_EQ(bmp.offset, 54u + (bmp.bits <= 8 ? 4u << bmp.bits : 0u));
    EXPECT_EQ(bmp.fileSize, bmp.data.size());
    EXPECT_EQ(bmp.fileSize, bmp.offset + bmp.imageSize);

    // A second press without a new arming captures nothing.
    EXPECT_EQ(hotkey.OnHotkey(window, folder), "");
    EXPECT_EQ(GetFileAttributesA((folder + "pict0001.bmp").c_str()), INVALID_FILE_ATTRIBUTES);
    DeleteFileA(path.c_str());
}

TEST_F(CaptureHotkey, FailedRegistrationIsToldBeforeThePromptAndF9DoesNothing)
{
    s_addWorks = false;
    CCaptureHotkey hotkey(&FakeAdd, &FakeRemove);
    CTestKit::MessageBoxes boxes(IDOK);
    hotkey.Arm(window);
    ASSERT_EQ(boxes.Shown().size(), 2u);
    EXPECT_EQ(boxes.Shown()[0].text, "启动截图失败");
    EXPECT_EQ(boxes.Shown()[1].text, "请按F9截图!");
    EXPECT_FALSE(hotkey.IsArmed());
    EXPECT_EQ(hotkey.OnHotkey(window, folder), "");
    EXPECT_EQ(s_removes, 0);
}

TEST_F(CaptureHotkey, EarlierPicturesAreKeptAndTheNextFreeNumberIsUsed)
{
    const std::string first = folder + "pict0000.bmp";
    HANDLE file = CreateFileA(first.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(file, "old", 3, &written, nullptr);
    CloseHandle(file);

    const std::string path = CScreenCapture::CaptureToFile(folder);
    EXPECT_EQ(path, folder + "pict0001.bmp");
    EXPECT_EQ(ReadAll(first).size(), 3u) << "the earlier picture stays";
    EXPECT_EQ(CScreenCapture::NextNumber(), 2);
    DeleteFileA(first.c_str());
    DeleteFileA(path.c_str());
}

TEST_F(CaptureHotkey, PaletteBitmapOfOddWidthKeepsItsColoursAndRows)
{
    // 13 x 5 pixels at 8 bits: rows of 13 bytes padded to 16, 256 colours.
    struct
    {
        BITMAPINFOHEADER header;
        RGBQUAD colours[256];
    } info = {};
    info.header.biSize = sizeof info.header;
    info.header.biWidth = 13;
    info.header.biHeight = 5;
    info.header.biPlanes = 1;
    info.header.biBitCount = 8;
    info.header.biCompression = BI_RGB;
    for (int i = 0; i < 256; ++i)
        info.colours[i] =
            RGBQUAD{static_cast<BYTE>(i), static_cast<BYTE>(255 - i), static_cast<BYTE>(i / 2), 0};
    HDC dc = GetDC(nullptr);
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(dc, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS,
                                      &bits, nullptr, 0);
    ASSERT_NE(bitmap, nullptr);
    unsigned char* pixels = static_cast<unsigned char*>(bits);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 13; ++x)
            pixels[y * 16 + x] = static_cast<unsigned char>(y * 13 + x + 7);
    GdiFlush();

    const std::string path = folder + "palette.bmp";
    ASSERT_TRUE(CScreenCapture::SaveBitmap(dc, bitmap, path));
    ReleaseDC(nullptr, dc);
    DeleteObject(bitmap);

    BmpFile bmp;
    ASSERT_TRUE(bmp.Read(path));
    EXPECT_EQ(bmp.bits, 8);
    EXPECT_EQ(bmp.colours, 256u);
    EXPECT_EQ(bmp.offset, 54u + 1024u);
    EXPECT_EQ(bmp.imageSize, 16u * 5u);
    ASSERT_EQ(bmp.data.size(), bmp.offset + bmp.imageSize);
    for (int i : {0, 1, 100, 255}) {
        const unsigned char* entry = bmp.data.data() + 54 + 4 * i;
        EXPECT_EQ(entry[0], info.colours[i].rgbBlue) << i;
        EXPECT_EQ(entry[1], info.colours[i].rgbGreen) << i;
        EXPECT_EQ(entry[2], info.colours[i].rgbRed) << i;
    }
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 13; ++x)
            EXPECT_EQ(bmp.data[bmp.offset + y * 16 + x], y * 13 + x + 7) << x << "," << y;
    DeleteFileA(path.c_str());
}
