#include "CDlgPrintProc.h"
#include "CTestKit.h"
#include "CVirtualPrinterLink.h"
#include "WbFrameMessages.h"

#include <gtest/gtest.h>

#include <stdio.h>
#include <string>
#include <vector>

namespace {

std::string Scratch(const char* name)
{
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    std::string folder = std::string(temp) + name;
    CreateDirectoryA(folder.c_str(), NULL);
    WIN32_FIND_DATAA fd;
    HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &fd);
    if (find != INVALID_HANDLE_VALUE) {
        do
            DeleteFileA((folder + "\\" + fd.cFileName).c_str());
        while (FindNextFileA(find, &fd));
        FindClose(find);
    }
    return folder;
}

void Touch(const std::string& path)
{
    FILE* f = fopen(path.c_str(), "wb");
    if (f)
        fclose(f);
}

void SetFileDir(const char* folder)
{
    HKEY key = NULL;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, VPRINT_PROC_KEY, 0, NULL, 0, KEY_ALL_ACCESS, NULL,
                              &key, NULL),
              ERROR_SUCCESS);
    RegSetValueExA(key, "FileDir", 0, REG_SZ, (const BYTE*)folder, (DWORD)strlen(folder) + 1);
    RegCloseKey(key);
}

std::vector<std::string> Pages(CVirtualPrinterLink& link)
{
    std::vector<std::vector<char>> buffers(link.GetPageCount(), std::vector<char>(MAX_PATH));
    std::vector<char*> out;
    for (auto& b : buffers)
        out.push_back(b.data());
    link.GetPageFiles(out.data());
    std::vector<std::string> pages;
    for (auto& b : buffers)
        pages.push_back(b.data());
    return pages;
}

} // namespace

TEST(WbPrinterLink, DocumentNamesDropTheFolderAndTheLastExtension)
{
    struct Row
    {
        const char* path;
        const char* name;
    };
    const Row rows[] = {{"C:\\docs\\report.final.doc", "report.final"},
                        {"plain.ppt", "plain"},
                        {"C:\\a.b\\noext", "noext"},
                        {"C:\\docs\\", ""},
                        {"", ""}};
    for (const Row& r : rows)
        EXPECT_EQ(CVirtualPrinterLink::DocumentName(r.path), r.name) << r.path;
}

TEST(WbPrinterLink, TheRecordIsFilledUnderItsNamesAndLongTextsStayInTheirFields)
{
    const std::string mapping = "WbLinkRecordTest" + std::to_string(GetCurrentProcessId());
    CVirtualPrinterLink link(mapping.c_str(), "NoSuchPrinterHere");
    EXPECT_FALSE(link.Print(NULL, "C:\\x.doc")) << "no record yet";
    const std::string longFolder(2000, 'f');
    ASSERT_TRUE(link.Init(longFolder.c_str()));

    // What another process sees through the names.
    HANDLE map = OpenFileMappingA(FILE_MAP_READ, FALSE, mapping.c_str());
    ASSERT_NE(map, (HANDLE)NULL);
    HANDLE mutex = OpenMutexA(SYNCHRONIZE, FALSE, (mapping + "Mutex").c_str());
    EXPECT_NE(mutex, (HANDLE)NULL);
    const BYTE* view = (const BYTE*)MapViewOfFile(map, FILE_MAP_READ, 0, 0, 2196);
    ASSERT_NE(view, nullptr);
    EXPECT_STREQ((const char*)view, "TobrinVirtualPrinter");
    EXPECT_EQ(strnlen((const char*)view + 128, 1024), 1023u) << "the folder is cut to its field";
    EXPECT_EQ(view[128 + 1023], 0);
    EXPECT_EQ(view[1152], 0);
    EXPECT_STREQ((const char*)view + 2176, "emf");

    // The printer cannot be made the default: nothing is written.
    EXPECT_FALSE(link.Print(NULL, "C:\\docs\\report.final.doc"));
    EXPECT_EQ(view[1152], 0);
    EXPECT_EQ(view[2192], 0);

    // A second start zeroes the record again.
    ASSERT_TRUE(link.Init("C:\\Program\\Temp"));
    EXPECT_STREQ((const char*)view + 128, "C:\\Program\\Temp");
    EXPECT_EQ(view[128 + 20], 0);
    UnmapViewOfFile(view);
    CloseHandle(map);
    if (mutex)
        CloseHandle(mutex);
}

TEST(WbPrinterLink, TheProcessorsReportSetsTheStatusAndThePagesComeInPageOrder)
{
    CVirtualPrinterLink link("WbLinkReportTest", "NoSuchPrinterHere");
    CDlgPrintProc window(&link);
    ASSERT_TRUE(window.CreateHidden());
    char caption[64] = {0};
    window.GetWindowText(caption, sizeof caption);
    EXPECT_STREQ(caption, "Varn_Print_Proc");
    EXPECT_FALSE(window.IsWindowVisible());
    EXPECT_EQ(FindWindowA(NULL, "Varn_Print_Proc") != NULL, true);

    struct Row
    {
        const char* name;
        std::vector<const char*> files;
        std::vector<const char*> pages;
    };
    const Row rows[] = {
        {"numbers out of order", {"2.emf", "1.emf", "3.EMF"}, {"1.emf", "2.emf", "3.EMF"}},
        {"names outside 1..count are not pages",
         {"1.emf", "0.emf", "9.emf", "x.emf", "2.emf", "12abc.emf", "-1.emf"},
         {"1.emf", "2.emf"}},
        {"other files are not counted", {"1.emf", "2.txt", "notes"}, {"1.emf"}},
        {"an empty folder", {}, {}},
    };
    const std::string folder = Scratch("wbpages");
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        Scratch("wbpages");
        for (const char* f : r.files)
            Touch(folder + "\\" + f);
        SetFileDir(folder.c_str());
        EXPECT_EQ(window.SendMessage(WM_PRINTPROC_DONE, 3, 0), CVirtualPrinterLink::STATUS_READY);
        EXPECT_EQ(link.GetStatus(), CVirtualPrinterLink::STATUS_READY);
        std::vector<std::string> expected;
        for (const char* p : r.pages)
            expected.push_back(folder + "\\" + p);
        EXPECT_EQ(Pages(link), expected);
        link.Reset();
        EXPECT_EQ(link.GetStatus(), CVirtualPrinterLink::STATUS_IDLE);
        EXPECT_EQ(link.GetPageCount(), 0);
    }

    // Any other report is a failure and does not read the key.
    SetFileDir("C:\\elsewhere");
    EXPECT_EQ(window.SendMessage(WM_PRINTPROC_DONE, 5, 0), CVirtualPrinterLink::STATUS_FAILED);
    EXPECT_EQ(link.GetPageFolder(), "");
    EXPECT_EQ(link.GetStatus(), CVirtualPrinterLink::STATUS_FAILED);
    window.DestroyWindow();
}
