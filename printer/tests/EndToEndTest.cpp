#include <gtest/gtest.h>

#include <windows.h>

#include "CBitmapFile.h"
#include "TestImages.h"

namespace {
// The library as a host program sees it: loaded by name, bound by name.
struct Wendra
{
    HMODULE module = LoadLibraryA("Wendra.dll");
    int (*Install)() = nullptr;
    int (*UnInstall)() = nullptr;
    int (*Init)(const char*) = nullptr;
    int (*Print)(HWND, const char*, int, const char*, int, int) = nullptr;
    int (*GetStatus)() = nullptr;
    int (*GetPages)() = nullptr;
    int (*GetFileName)(char**) = nullptr;
    int* (*GetBmpSize)(int*) = nullptr;
    int (*SetBmpSize)(const int*) = nullptr;
    int (*Release)() = nullptr;

    template <typename F>
    void Bind(F& f, const char* name)
    {
        f = reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name)));
    }
    bool Bound()
    {
        if (!module)
            return false;
        Bind(Install, "QNT_Install");
        Bind(UnInstall, "QNT_UnInstall");
        Bind(Init, "QNT_Init");
        Bind(Print, "QNT_Print");
        Bind(GetStatus, "QNT_GetStatus");
        Bind(GetPages, "QNT_GetPages");
        Bind(GetFileName, "QNT_GetFileName");
        Bind(GetBmpSize, "QNT_GetBmpSize");
        Bind(SetBmpSize, "QNT_SetBmpSize");
        Bind(Release, "QNT_Release");
        return Install && UnInstall && Init && Print && GetStatus && GetPages && GetFileName && GetBmpSize &&
               SetBmpSize && Release;
    }
    ~Wendra()
    {
        if (module)
            FreeLibrary(module);
    }
    // Waits, bounded, for the driver side to finish the job.
    int WaitForJob()
    {
        for (int i = 0; i < 400 && GetStatus() == 1; ++i)
            Sleep(50);
        return GetStatus();
    }
};
} // namespace

TEST(WendraEndToEnd, JpegDocumentBecomesAPageFileThroughTheStandIns)
{
    Wendra w;
    ASSERT_TRUE(w.Bound());
    ASSERT_EQ(w.UnInstall(), 1);
    ASSERT_EQ(w.Install(), 1);
    char value[64] = {};
    GetPrivateProfileStringA("Wendar", "OutPath", "", value, sizeof value, "C:\\Wendra.ini");
    EXPECT_STREQ(value, "C:\\Temp");

    std::string out = TestImages::ScratchFolder("e2e") + "page files";
    ASSERT_EQ(w.Init(out.c_str()), 1);
    EXPECT_EQ(w.GetStatus(), 0);

    std::string docs = TestImages::ScratchFolder("my documents");
    std::string photo = docs + "holiday photo.jpg";
    ASSERT_TRUE(TestImages::WriteAll(photo, TestImages::MakeJpeg(320, 240, 3)));
    ASSERT_EQ(w.Print(nullptr, photo.c_str(), 0, "bmp", 1, 1), 1);
    ASSERT_EQ(w.WaitForJob(), 2);
    ASSERT_EQ(w.GetPages(), 1);
    char name[MAX_PATH] = {};
    char* names[1] = {name};
    ASSERT_NE(w.GetFileName(names), 0);
    EXPECT_EQ(std::string(name), out + "\\holiday photo1.bmp");

    // The page holds exactly what libjpeg decodes from the document.
    int width = 0, height = 0, comps = 0;
    std::vector<uint8_t> reference;
    ASSERT_TRUE(TestImages::DecodeJpeg(photo, width, height, comps, reference));
    CBitmapFile::Image page;
    ASSERT_TRUE(CBitmapFile::Load(name, page));
    ASSERT_EQ(page.info.width, width);
    ASSERT_EQ(page.info.height, height);
    uint32_t stride = TestImages::Stride(width, 24);
    int differing = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const uint8_t* bgr = &page.pixels[(height - 1 - y) * stride + 3 * x];
            const uint8_t* rgb = &reference[(y * width + x) * 3];
            differing += bgr[0] != rgb[2] || bgr[1] != rgb[1] || bgr[2] != rgb[0];
        }
    EXPECT_EQ(differing, 0);

    // A large bitmap is shrunk to the page bounds and written as JPEG.
    std::string poster = docs + "poster.bmp";
    ASSERT_TRUE(TestImages::WriteAll(poster, TestImages::SolidBitmap(1090, 1650, 0x3070B0)));
    ASSERT_EQ(w.Print(nullptr, poster.c_str(), 1, "jpg", 0, 1), 1);
    ASSERT_EQ(w.WaitForJob(), 2);
    ASSERT_EQ(w.GetPages(), 1);
    ASSERT_NE(w.GetFileName(names), 0);
    EXPECT_EQ(std::string(name), out + "\\poster1.jpg");
    ASSERT_TRUE(TestImages::DecodeJpeg(name, width, height, comps, reference));
    EXPECT_EQ(width, 545);
    EXPECT_EQ(height, 825);

    EXPECT_NE(w.Release(), 0);
    EXPECT_EQ(w.UnInstall(), 1);
}
