#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <map>

#include "CBitmapFile.h"
#include "CSharedRecord.h"
#include "CVirtualPrinter.h"
#include "FakeSpooler.h"
#include "TestImages.h"

namespace {
// A shell that records what it is asked to start and answers file-type
// questions from a table.
class FakeShell : public IShellHost
{
public:
    struct Call
    {
        std::string verb, file, parameters, folder;
        int show;
    };
    std::vector<Call> calls;
    int result = 42;
    std::map<std::string, std::string> types;
    std::map<std::string, std::vector<std::string>> verbs;
    std::vector<std::pair<std::string, std::string>> messages;

    int Execute(HWND, const char* verb, const char* file, const char* parameters,
                const char* folder, int show) override
    {
        calls.push_back({verb ? verb : "", file ? file : "", parameters ? parameters : "",
                         folder ? folder : "", show});
        return result;
    }
    bool FileType(const std::string& extension, std::string& type) override
    {
        auto it = types.find(extension);
        if (it == types.end())
            return false;
        type = it->second;
        return true;
    }
    bool ShellVerbs(const std::string& type, std::vector<std::string>& out) override
    {
        auto it = verbs.find(type);
        if (it == verbs.end())
            return false;
        out = it->second;
        return true;
    }
    void ShowMessage(const char* text, const char* title, unsigned) override
    {
        messages.emplace_back(text, title);
    }
};

struct JobFixture
{
    FakeSpooler spooler;
    FakeShell shell;
    std::string host = TestImages::ScratchFolder("host with spaces");
    std::string out = TestImages::ScratchFolder("out") + "pages";
    CVirtualPrinter::Places places;
    std::unique_ptr<CVirtualPrinter> printer;

    JobFixture()
    {
        static int n = 0;
        places.hostFolder = host;
        places.mappingName =
            "WendraJob_" + std::to_string(GetCurrentProcessId()) + "_" + std::to_string(++n);
        places.settingsPath = host + "Wendra.ini";
        WritePrivateProfileStringA("Wendar", "OutAutoExec", "C:\\after.exe",
                                   places.settingsPath.c_str());
        spooler.defaultPrinter = "Office";
        printer.reset(new CVirtualPrinter(spooler, shell, places));
    }
    // The record as the driver side sees it.
    QNT_SHARED_RECORD Record()
    {
        QNT_SHARED_RECORD record = {};
        HANDLE m = OpenFileMappingA(FILE_MAP_READ, FALSE, places.mappingName.c_str());
        void* v = m ? MapViewOfFile(m, FILE_MAP_READ, 0, 0, sizeof record) : nullptr;
        if (v) {
            memcpy(&record, v, sizeof record);
            UnmapViewOfFile(v);
        }
        if (m)
            CloseHandle(m);
        return record;
    }
    void DriverWrites(uint32_t pages, uint32_t status)
    {
        HANDLE m = OpenFileMappingA(FILE_MAP_WRITE, FALSE, places.mappingName.c_str());
        void* v = MapViewOfFile(m, FILE_MAP_WRITE, 0, 0, sizeof(QNT_SHARED_RECORD));
        CSharedRecord::SetProgress(v, sizeof(QNT_SHARED_RECORD), pages, status);
        UnmapViewOfFile(v);
        CloseHandle(m);
    }
    std::string Document(const std::string& name, const std::vector<uint8_t>& bytes)
    {
        std::string path = TestImages::ScratchFolder("doc") + name;
        TestImages::WriteAll(path, bytes);
        return path;
    }
};
} // namespace

TEST(WendraPrintJob, NothingHappensBeforeInit)
{
    JobFixture f;
    std::string doc = f.Document("a.bmp", TestImages::SolidBitmap(4, 4, 0x123456));
    EXPECT_EQ(f.printer->Print(nullptr, doc.c_str(), 0, "bmp", 0, 1), 0);
    EXPECT_TRUE(f.spooler.calls.empty());
    EXPECT_TRUE(f.shell.calls.empty());
    EXPECT_EQ(f.printer->GetStatus(), 0u);
    EXPECT_EQ(f.printer->GetPages(), 0u);
    char* names[1] = {nullptr};
    EXPECT_EQ(f.printer->GetFileName(names), 0);
}

TEST(WendraPrintJob, BitmapGoesToThePaintProgramWithItsPathQuoted)
{
    JobFixture f;
    ASSERT_EQ(f.printer->Init(f.out.c_str()), 1);
    std::vector<uint8_t> bmp = TestImages::SolidBitmap(40, 30, 0xFF8000);
    std::string doc = f.Document("Quarter Report.BMP", bmp);

    ASSERT_EQ(f.printer->Print(nullptr, doc.c_str(), 0, "bmp", 5, 1), 1);

    EXPECT_EQ(f.spooler.defaultPrinter, "Morlent虚拟打印机");
    ASSERT_EQ(f.shell.calls.size(), 1u);
    const FakeShell::Call& call = f.shell.calls[0];
    EXPECT_EQ(call.verb, "open");
    EXPECT_EQ(call.file, "mspaint.exe");
    EXPECT_EQ(call.parameters, " /p \"" + f.host + "Temp\\_temp.bmp\"");
    EXPECT_EQ(call.folder, f.host);
    EXPECT_EQ(call.show, SW_SHOWNORMAL);
    EXPECT_EQ(TestImages::ReadAll(f.printer->TempImagePath()), bmp);

    QNT_SHARED_RECORD r = f.Record();
    EXPECT_STREQ(r.tag, "MorlentVirtualPrinter");
    EXPECT_EQ(std::string(r.folder), f.out);
    EXPECT_STREQ(r.baseName, "Quarter Report");
    EXPECT_STREQ(r.extension, "bmp");
    EXPECT_STREQ(r.autoExec, "C:\\after.exe");
    EXPECT_EQ(r.colour, 5u);
    EXPECT_EQ(r.format, 1u);
    EXPECT_EQ(r.pages, 0u);
    EXPECT_EQ(r.status, 1u);
    EXPECT_EQ(f.printer->GetStatus(), 1u);
    EXPECT_NE(GetFileAttributesA(f.out.c_str()), INVALID_FILE_ATTRIBUTES);

    ASSERT_EQ(f.printer->Print(nullptr, doc.c_str(), 3, "jpg", 0, 0), 1);
    EXPECT_EQ(f.Record().format, 0u);

    // A second Init while the virtual printer is still the default keeps the
    // user's printer; Release gives it back.
    ASSERT_EQ(f.printer->Init(f.out.c_str()), 1);
    EXPECT_EQ(f.printer->Release(), 1);
    EXPECT_EQ(f.spooler.defaultPrinter, "Office");
}

TEST(WendraPrintJob, FailuresReportZero)
{
    JobFixture f;
    ASSERT_EQ(f.printer->Init(f.out.c_str()), 1);
    std::string bmp = f.Document("a.bmp", TestImages::SolidBitmap(4, 4, 0));

    f.spooler.failSetDefault = true;
    EXPECT_EQ(f.printer->Print(nullptr, bmp.c_str(), 0, "bmp", 0, 1), 0);
    f.spooler.failSetDefault = false;

    EXPECT_EQ(f.printer->Print(nullptr, bmp.c_str(), 0, "extension too long", 0, 1), 0);
    EXPECT_EQ(f.printer->Print(nullptr, (bmp + ".missing.bmp").c_str(), 0, "bmp", 0, 1), 0);
    EXPECT_EQ(f.printer->Print(nullptr, nullptr, 0, "bmp", 0, 1), 0);
    std::string notBitmap = f.Document("text.bmp", std::vector<uint8_t>(100, 'x'));
    EXPECT_EQ(f.printer->Print(nullptr, notBitmap.c_str(), 0, "bmp", 0, 1), 0);

    f.shell.result = 2; // the paint program could not be started
    EXPECT_EQ(f.printer->Print(nullptr, bmp.c_str(), 0, "bmp", 0, 1), 0);

    // An image that must shrink but has no image size in its header.
    std::vector<uint8_t> px(TestImages::Stride(600, 24) * 2, 0);
    std::string noSize =
        f.Document("nosize.bmp", TestImages::MakeBitmap(600, 2, 24, px, 40, {}, false));
    f.shell.result = 42;
    EXPECT_EQ(f.printer->Print(nullptr, noSize.c_str(), 0, "bmp", 0, 1), 0);
    // Without fitting it is printed as it is.
    EXPECT_EQ(f.printer->Print(nullptr, noSize.c_str(), 0, "bmp", 0, 0), 1);
}

TEST(WendraPrintJob, LargeImagesShrinkIntoTheBounds)
{
    struct
    {
        int32_t w, h, ew, eh;
        bool scaled;
    } cases[] = {
        {1090, 1650, 545, 825, true}, {100, 2000, 41, 825, true},
        {400, 600, 400, 600, false},  {2000, 1, 545, 1, true}, // height kept when it would become 0
        {1, 100000, 1, 825, true},                             // width kept when it would become 0
    };
    for (const auto& c : cases) {
        int32_t w = c.w, h = c.h;
        EXPECT_EQ(CVirtualPrinter::FitToBounds(w, h, 545, 825), c.scaled) << c.w << "x" << c.h;
        EXPECT_EQ(w, c.ew) << c.w << "x" << c.h;
        EXPECT_EQ(h, c.eh) << c.w << "x" << c.h;
    }

    JobFixture f;
    ASSERT_EQ(f.printer->Init(f.out.c_str()), 1);
    std::string doc = f.Document("big.bmp", TestImages::SolidBitmap(1090, 1650, 0x2060A0));
    ASSERT_EQ(f.printer->Print(nullptr, doc.c_str(), 0, "bmp", 0, 1), 1);
    CBitmapFile::Image scaled;
    ASSERT_TRUE(CBitmapFile::Load(f.printer->TempImagePath(), scaled));
    EXPECT_EQ(scaled.info.width, 545);
    EXPECT_EQ(scaled.info.height, 825);
    EXPECT_EQ(scaled.info.bitCount, 24);
    EXPECT_EQ(scaled.pixels[0], 0xA0);
    EXPECT_EQ(scaled.pixels[1], 0x60);
    EXPECT_EQ(scaled.pixels[2], 0x20);

    // Changed bounds apply to the next job; nonsense bounds are refused.
    int bounds[2] = {100, 100};
    EXPECT_EQ(f.printer->SetBmpSize(bounds), 1);
    int bad[2] = {0, 100};
    EXPECT_EQ(f.printer->SetBmpSize(bad), 0);
    int got[2] = {};
    EXPECT_EQ(f.printer->GetBmpSize(got), got);
    EXPECT_EQ(got[0], 100);
    EXPECT_EQ(got[1], 100);
    ASSERT_EQ(f.printer->Print(nullptr, doc.c_str(), 0, "bmp", 0, 1), 1);
    ASSERT_TRUE(CBitmapFile::Load(f.printer->TempImagePath(), scaled));
    EXPECT_EQ(scaled.info.width, 66);
    EXPECT_EQ(scaled.info.height, 100);
}

TEST(WendraPrintJob, OtherDocumentsUseTheirPrintVerb)
{
    struct
    {
        std::vector<std::string> verbs;
        const char* expected;
    } cases[] = {
        {{"Open", "PrintTo"}, "printto"}, {{"open", "PrintTo", "Print"}, "print"},
        {{"Open", "打印"}, "打印"},       {{"Open", "用打印机打印"}, "用打印机打印"},
        {{"Open", "Edit"}, "print"},
    };
    for (const auto& c : cases) {
        JobFixture f;
        ASSERT_EQ(f.printer->Init(f.out.c_str()), 1);
        f.shell.types[".DOC"] = "Word.Document";
        f.shell.verbs["Word.Document"] = c.verbs;
        std::string doc = f.Document("letter.DOC", {'x'});
        EXPECT_EQ(f.printer->Print(nullptr, doc.c_str(), 0, "bmp", 0, 1), 1);
        ASSERT_EQ(f.shell.calls.size(), 1u);
        EXPECT_EQ(f.shell.calls[0].verb, c.expected);
        EXPECT_EQ(f.shell.calls[0].file, doc);
    }

    JobFixture f;
    ASSERT_EQ(f.printer->Init(f.out.c_str()), 1);
    std::string unknown = f.Document("notes.xyz", {'x'});
    f.shell.result = 31;
    EXPECT_EQ(f.printer->Print(nullptr, unknown.c_str(), 0, "bmp", 0, 1), 0);
    EXPECT_EQ(f.shell.calls.back().verb, "print");
}

TEST(WendraPrintJob, PageNamesStayWithinTheCallersArray)
{
    JobFixture f;
    ASSERT_EQ(f.printer->Init("C:\\Temp"), 1);
    std::string doc = f.Document("Report.bmp", TestImages::SolidBitmap(4, 4, 0));
    ASSERT_EQ(f.printer->Print(nullptr, doc.c_str(), 0, "bmp", 0, 0), 1);

    char storage[4][MAX_PATH];
    char* names[4] = {storage[0], storage[1], storage[2], storage[3]};
    memset(storage, '#', sizeof storage);
    EXPECT_EQ(f.printer->GetPages(), 0u);
    EXPECT_NE(f.printer->GetFileName(names), 0);
    EXPECT_EQ(storage[0][0], '#');

    f.DriverWrites(3, 1);
    ASSERT_EQ(f.printer->GetPages(), 3u);
    f.DriverWrites(5, 2); // more pages arrive after the caller sized its array
    EXPECT_NE(f.printer->GetFileName(names), 0);
    EXPECT_STREQ(storage[0], "C:\\Temp\\Report1.bmp");
    EXPECT_STREQ(storage[2], "C:\\Temp\\Report3.bmp");
    EXPECT_EQ(storage[3][0], '#');
    EXPECT_EQ(f.printer->GetStatus(), 2u);

    EXPECT_EQ(storage[0][strlen("C:\\Temp\\Report1.bmp") + 1], '#') << "written past the name";

    char* withHole[3] = {storage[0], nullptr, storage[2]};
    EXPECT_EQ(f.printer->GetFileName(withHole), 0);

    // A new job whose pages were never counted for the caller: no array to
    // fill, and no success without names.
    ASSERT_EQ(f.printer->Print(nullptr, doc.c_str(), 0, "bmp", 0, 0), 1);
    f.DriverWrites(2, 2);
    memset(storage, '#', sizeof storage);
    EXPECT_EQ(f.printer->GetFileName(names), 0);
    EXPECT_EQ(storage[0][0], '#');
    ASSERT_EQ(f.printer->GetPages(), 2u);
    EXPECT_NE(f.printer->GetFileName(names), 0);
    EXPECT_STREQ(storage[1], "C:\\Temp\\Report2.bmp");
}

TEST(WendraPrintJob, PageNamesLongerThanAPathAreGivenWhole)
{
    JobFixture f;
    const std::string folder = "C:\\" + std::string(300, 'd');
    ASSERT_EQ(f.printer->Init(folder.c_str()), 1);
    std::string doc = f.Document("Report.bmp", TestImages::SolidBitmap(4, 4, 0));
    ASSERT_EQ(f.printer->Print(nullptr, doc.c_str(), 0, "bmp", 0, 0), 1);
    f.DriverWrites(1, 2);
    ASSERT_EQ(f.printer->GetPages(), 1u);
    std::vector<char> buffer(600, '#');
    char* names[1] = {buffer.data()};
    EXPECT_NE(f.printer->GetFileName(names), 0);
    const std::string expected = folder + "\\Report1.bmp";
    EXPECT_EQ(std::string(buffer.data()), expected);
    EXPECT_EQ(buffer[expected.size() + 1], '#');
}

TEST(WendraPrintJob, JpegDocumentsBecomeBitmapsAndBadOnesAreRefused)
{
    JobFixture f;
    ASSERT_EQ(f.printer->Init(f.out.c_str()), 1);
    std::string jpg = f.Document("photo.JPG", TestImages::MakeJpeg(64, 48, 3));
    ASSERT_EQ(f.printer->Print(nullptr, jpg.c_str(), 0, "bmp", 0, 1), 1);
    CBitmapFile::Image image;
    ASSERT_TRUE(CBitmapFile::Load(f.printer->TempImagePath(), image));
    EXPECT_EQ(image.info.width, 64);
    EXPECT_EQ(image.info.height, 48);
    EXPECT_TRUE(f.shell.messages.empty());

    std::string bad = f.Document("broken.jpg", {0xFF, 0xD8, 0xFF, 0xC0, 0x00, 0x02, 0x00});
    EXPECT_EQ(f.printer->Print(nullptr, bad.c_str(), 0, "bmp", 0, 1), 0);
    ASSERT_EQ(f.shell.messages.size(), 1u);
    EXPECT_EQ(f.shell.messages[0].second, "JPEG Fatal Error");
    EXPECT_EQ(f.shell.calls.size(), 1u);
}
