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
        return Install && UnInstall && Init && Print && GetStatus && GetPages && GetFileName &&
               GetBmpSize && SetBmpSize && Release;
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

TEST(WendraEndToEnd, OtherDocumentsPrintThroughTheirRegisteredVerb)
{
    Wendra w;
    ASSERT_TRUE(w.Bound());
    ASSERT_EQ(w.Install(), 1);

    // A document type whose print verb hands the file to the paint program.
    char program[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, program, sizeof program);
    std::string bin = program;
    bin = bin.substr(0, bin.find_last_of('\\') + 1);
    std::string command = "\"" + bin + "mspaint.exe\" /p \"%1\"";
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyA(HKEY_CLASSES_ROOT, ".wscan", &key), ERROR_SUCCESS);
    RegSetValueA(key, nullptr, REG_SZ, "Wendra.Scan", 0);
    RegCloseKey(key);
    ASSERT_EQ(RegCreateKeyA(HKEY_CLASSES_ROOT, "Wendra.Scan\\shell\\Open\\command", &key),
              ERROR_SUCCESS);
    RegCloseKey(key);
    ASSERT_EQ(RegCreateKeyA(HKEY_CLASSES_ROOT, "Wendra.Scan\\shell\\Print\\command", &key),
              ERROR_SUCCESS);
    RegSetValueA(key, nullptr, REG_SZ, command.c_str(), 0);
    RegCloseKey(key);

    std::string out = TestImages::ScratchFolder("verb") + "pages";
    ASSERT_EQ(w.Init(out.c_str()), 1);
    std::string scan = TestImages::ScratchFolder("scans") + "page scan.wscan";
    ASSERT_TRUE(TestImages::WriteAll(scan, TestImages::SolidBitmap(30, 20, 0x405060)));
    ASSERT_EQ(w.Print(nullptr, scan.c_str(), 0, "bmp", 0, 1), 1);
    EXPECT_EQ(w.WaitForJob(), 2);
    ASSERT_EQ(w.GetPages(), 1);
    char name[MAX_PATH] = {};
    char* names[1] = {name};
    ASSERT_NE(w.GetFileName(names), 0);
    EXPECT_EQ(std::string(name), out + "\\page scan1.bmp");
    CBitmapFile::Image page;
    ASSERT_TRUE(CBitmapFile::Load(name, page));
    EXPECT_EQ(page.info.width, 30);
    EXPECT_EQ(page.pixels[0], 0x60);
    EXPECT_EQ(page.pixels[2], 0x40);

    RegDeleteKeyA(HKEY_CLASSES_ROOT, "Wendra.Scan\\shell\\Print\\command");
    RegDeleteKeyA(HKEY_CLASSES_ROOT, "Wendra.Scan\\shell\\Print");
    RegDeleteKeyA(HKEY_CLASSES_ROOT, "Wendra.Scan\\shell\\Open\\command");
    RegDeleteKeyA(HKEY_CLASSES_ROOT, "Wendra.Scan\\shell\\Open");
    RegDeleteKeyA(HKEY_CLASSES_ROOT, "Wendra.Scan\\shell");
    RegDeleteKeyA(HKEY_CLASSES_ROOT, "Wendra.Scan");
    RegDeleteKeyA(HKEY_CLASSES_ROOT, ".wscan");
    EXPECT_NE(w.Release(), 0);
    EXPECT_EQ(w.UnInstall(), 1);
}

TEST(WendraEndToEnd, PagesOfAManyPageJobAreNamedInOrder)
{
    Wendra w;
    ASSERT_TRUE(w.Bound());
    ASSERT_EQ(w.Install(), 1);
    std::string out = TestImages::ScratchFolder("many") + "pages";
    ASSERT_EQ(w.Init(out.c_str()), 1);
    std::string docs = TestImages::ScratchFolder("many docs");
    std::string first = docs + "Report.bmp";
    ASSERT_TRUE(TestImages::WriteAll(first, TestImages::SolidBitmap(10, 10, 0x010203)));
    ASSERT_EQ(w.Print(nullptr, first.c_str(), 0, "bmp", 0, 0), 1);
    ASSERT_EQ(w.WaitForJob(), 2);

    // The driver side renders a three-page job for the same record.
    char program[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, program, sizeof program);
    std::string bin = program;
    bin = bin.substr(0, bin.find_last_of('\\') + 1);
    std::vector<std::string> pages;
    for (int i = 0; i < 3; ++i) {
        pages.push_back(docs + "p" + std::to_string(i) + ".bmp");
        ASSERT_TRUE(TestImages::WriteAll(pages.back(),
                                         TestImages::SolidBitmap(8 + i, 8, 0x102030 * (i + 1))));
    }
    std::string command = "\"" + bin + "WendraDriver.exe\" \"" + pages[0] + "\" \"" + pages[1] +
                          "\" \"" + pages[2] + "\"";
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    std::vector<char> line(command.begin(), command.end());
    line.push_back('\0');
    ASSERT_TRUE(CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                               &si, &pi));
    ASSERT_EQ(WaitForSingleObject(pi.hProcess, 20000), WAIT_OBJECT_0);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);

    ASSERT_EQ(w.GetPages(), 3);
    EXPECT_EQ(w.GetStatus(), 2);
    char storage[3][MAX_PATH] = {};
    char* names[3] = {storage[0], storage[1], storage[2]};
    ASSERT_NE(w.GetFileName(names), 0);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(std::string(storage[i]), out + "\\Report" + std::to_string(i + 1) + ".bmp");
        CBitmapFile::Image page;
        ASSERT_TRUE(CBitmapFile::Load(storage[i], page)) << storage[i];
        EXPECT_EQ(page.info.width, 8 + i);
    }
    EXPECT_NE(w.Release(), 0);
    EXPECT_EQ(w.UnInstall(), 1);
}
