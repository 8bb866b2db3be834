#include <gtest/gtest.h>

#include <winsock2.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "CLanguageManager.h"
#include "CMenu.h"
#include "CStringTable.h"
#include "CWnd.h"

namespace {

// A scratch program folder with a "base" folder of language files.
class LanguageFolder
{
public:
    LanguageFolder()
    {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        char name[MAX_PATH];
        GetTempFileNameA(temp, "lng", 0, name);
        DeleteFileA(name);
        m_folder = std::string(name) + "\\";
        CreateDirectoryA(name, nullptr);
        CreateDirectoryA((m_folder + "base").c_str(), nullptr);
    }
    ~LanguageFolder()
    {
        for (const std::string& file : m_files)
            DeleteFileA(file.c_str());
        RemoveDirectoryA((m_folder + "base").c_str());
        RemoveDirectoryA(m_folder.substr(0, m_folder.size() - 1).c_str());
    }
    std::string Write(const char* name, const std::string& text)
    {
        std::string path = m_folder + "base\\" + name;
        FILE* f = fopen(path.c_str(), "wb");
        fwrite(text.data(), 1, text.size(), f);
        fclose(f);
        m_files.push_back(path);
        return path;
    }
    const std::string& Folder() const { return m_folder; }

private:
    std::string m_folder;
    std::vector<std::string> m_files;
};

std::string ProgramFolder()
{
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path);
    return folder.substr(0, folder.rfind('\\') + 1);
}

std::string Load(const CLanguageManager& lang, UINT id)
{
    std::string out = "unchanged";
    lang.LoadStringTo(id, out);
    return out;
}

const char kFrench[] = "[Info]\r\nCodePage=1252\r\nLanguage=Francais\r\n"
                       "[String]\r\n61455=Aucune erreur!\r\n61440=\r\n"
                       "61452=Exclu! Revenez dans %d minutes!\r\n"
                       "61609=Reunion sur %d\r\n"
                       "61479=%s a %s: %s %n\r\n"
                       "[CDlgTest]\r\nTitle=Essai\r\n1001=Nom\r\n"
                       "[Common]\r\n1=Valider\r\n1001=Commun\r\n1002=Commun2\r\n"
                       "[TestMenu]\r\n100=Ouvrir\r\n200p=Edition\r\n300p=Vide\r\n";

} // namespace

TEST(LanguageManagerTest, ScanKeepsOnlyCompleteFilesInFoundOrder)
{
    LanguageFolder folder;
    folder.Write("a.dll", kFrench);
    folder.Write("b.dll", "[Info]\r\nLanguage=No code page\r\n");
    folder.Write("c.dll", "[Info]\r\nCodePage=0\r\nLanguage=Zero\r\n");
    folder.Write("d.dll", "[Info]\r\nCodePage=950\r\n");
    folder.Write("e.dll", "[Info]\r\nCodePage=950\r\nLanguage=\xC1\x63\xC5\xE9\r\n"); // Big5 bytes
    folder.Write("f.ini", "[Info]\r\nCodePage=936\r\nLanguage=Wrong extension\r\n");

    CLanguageManager lang;
    EXPECT_EQ(lang.GetCurrentIndex(), -1);
    EXPECT_EQ(lang.GetCurrentCodePage(), 0);
    lang.ScanLanguageFiles(folder.Folder().c_str());
    ASSERT_EQ(lang.GetCount(), 2);
    std::vector<int> pages = {lang.GetCodePage(0), lang.GetCodePage(1)};
    std::sort(pages.begin(), pages.end());
    EXPECT_EQ(pages, (std::vector<int>{950, 1252}));
    EXPECT_EQ(lang.GetName(2), nullptr);
    EXPECT_EQ(lang.GetCodePage(-1), 0);
    EXPECT_FALSE(lang.Select(2));
    EXPECT_EQ(lang.GetCurrentIndex(), -1);

    // A file of another code page is listed and read byte for byte.
    ASSERT_TRUE(lang.SelectByCodePage(950));
    EXPECT_STREQ(lang.GetName(lang.GetCurrentIndex()), "\xC1\x63\xC5\xE9");
    EXPECT_FALSE(lang.SelectByCodePage(936));
    EXPECT_EQ(lang.GetCurrentCodePage(), 950);
}

TEST(LanguageManagerTest, FileWithoutTheArchiveAttributeIsSkipped)
{
    LanguageFolder folder;
    folder.Write("a.dll", kFrench);
    std::string path = folder.Write("b.dll", "[Info]\r\nCodePage=936\r\nLanguage=Hidden\r\n");
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_ARCHIVE)
        GTEST_SKIP() << "this file system keeps no archive attribute";
    CLanguageManager lang;
    lang.ScanLanguageFiles(folder.Folder().c_str());
    ASSERT_EQ(lang.GetCount(), 1);
    EXPECT_STREQ(lang.GetName(0), "Francais");
}

TEST(LanguageManagerTest, StringsFallBackToTheProgramsTable)
{
    LanguageFolder folder;
    folder.Write("fr.dll", kFrench);
    CLanguageManager lang;
    EXPECT_EQ(Load(lang, 61455), CStringTable::Find(61455)); // nothing selected
    lang.ScanLanguageFiles(folder.Folder().c_str());
    ASSERT_TRUE(lang.SelectByCodePage(1252));
    EXPECT_EQ(Load(lang, 61455), "Aucune erreur!");
    EXPECT_EQ(Load(lang, 61456), CStringTable::Find(61456)); // missing key
    EXPECT_EQ(Load(lang, 61440), "unchanged");               // empty key, nowhere else
    EXPECT_EQ(Load(lang, 61999), "unchanged");
    char tiny[6];
    EXPECT_EQ(lang.LoadString(61455, tiny, sizeof tiny), 5);
    EXPECT_STREQ(tiny, "Aucun");

    // The file goes away after the scan: every text comes from the program.
    DeleteFileA((folder.Folder() + "base\\fr.dll").c_str());
    EXPECT_EQ(Load(lang, 61455), CStringTable::Find(61455));
}

TEST(LanguageManagerTest, FormatTextsMustTakeTheSameArguments)
{
    LanguageFolder folder;
    folder.Write("fr.dll", kFrench);
    CLanguageManager lang;
    lang.ScanLanguageFiles(folder.Folder().c_str());
    ASSERT_TRUE(lang.Select(0));
    std::string format;
    lang.LoadFormatStringTo(61452, format);
    EXPECT_EQ(format, "Exclu! Revenez dans %d minutes!");
    lang.LoadFormatStringTo(61609, format); // %d where the program has %s
    EXPECT_EQ(format, CStringTable::Find(61609));
    lang.LoadFormatStringTo(61479, format); // an extra %n
    EXPECT_EQ(format, CStringTable::Find(61479));

    struct
    {
        const char* a;
        const char* b;
        bool same;
    } cases[] = {
        {"%d minutes", "%5d min", true},
        {"%s %d", "%d %s", false},
        {"100%% %s", "%s", true},
        {"%s", "%s%", false},
        {"%ld", "%d", false},
        {"%*d", "%d", false},
        {"%-10.3s", "%s", true},
        {"none", "", true},
        {"%s", "", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CLanguageManager::SameConversions(c.a, c.b), c.same) << c.a << " / " << c.b;
}

TEST(LanguageManagerTest, DialogTextsComeFromTheSectionThenCommon)
{
    LanguageFolder folder;
    folder.Write("fr.dll", kFrench);
    CLanguageManager lang;
    lang.ScanLanguageFiles(folder.Folder().c_str());
    ASSERT_TRUE(lang.Select(0));

    HWND dialog = CreateWindowExA(0, "STATIC", "Original", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100,
                                  nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(dialog, nullptr);
    auto child = [&](int id, const char* text, HWND parent) {
        return CreateWindowExA(0, "BUTTON", text, WS_CHILD, 0, 0, 10, 10, parent,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                               GetModuleHandleA(nullptr), nullptr);
    };
    HWND name = child(1001, "name", dialog);
    HWND common = child(1002, "common", dialog);
    HWND ok = child(1, "OK", dialog);
    HWND other = child(1003, "kept", dialog);
    HWND inner = child(1004, "", dialog);
    HWND grandchild = child(1001, "deep", inner);

    auto text = [](HWND wnd) {
        char buf[64] = {};
        GetWindowTextA(wnd, buf, sizeof buf);
        return std::string(buf);
    };
    EXPECT_TRUE(lang.TranslateDialog("CDlgTest", CWnd::FromHandle(dialog)));
    EXPECT_EQ(text(dialog), "Essai");
    EXPECT_EQ(text(name), "Nom");
    EXPECT_EQ(text(common), "Commun2");
    EXPECT_EQ(text(ok), "Valider");
    EXPECT_EQ(text(other), "kept");
    EXPECT_EQ(text(grandchild), "deep");

    // A section without a title clears the caption.
    EXPECT_TRUE(lang.TranslateDialog("NoSuchSection", dialog));
    EXPECT_EQ(text(dialog), "");
    EXPECT_EQ(text(name), "Commun");

    EXPECT_FALSE(lang.TranslateDialog(nullptr, dialog));
    EXPECT_FALSE(lang.TranslateDialog("CDlgTest", static_cast<CWnd*>(nullptr)));
    EXPECT_FALSE(lang.TranslateDialog("CDlgTest", static_cast<HWND>(nullptr)));
    CWnd unattached;
    EXPECT_FALSE(lang.TranslateDialog("CDlgTest", &unattached));
    DestroyWindow(dialog);
    EXPECT_FALSE(lang.TranslateDialog("CDlgTest", dialog));
}

TEST(LanguageManagerTest, MenuItemsAndPopupsByFirstCommand)
{
    LanguageFolder folder;
    folder.Write("fr.dll", kFrench);
    CLanguageManager lang;
    lang.ScanLanguageFiles(folder.Folder().c_str());
    ASSERT_TRUE(lang.Select(0));

    HMENU bar = CreateMenu();
    HMENU edit = CreatePopupMenu();
    AppendMenuA(edit, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(edit, MF_STRING, 200, "Cut");
    AppendMenuA(edit, MF_STRING, 100, "Open");
    HMENU empty = CreatePopupMenu();
    AppendMenuA(empty, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(bar, MF_STRING, 100, "Open");
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(edit), "Edit");
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(empty), "Empty");
    AppendMenuA(bar, MF_STRING, 101, "Kept");

    EXPECT_TRUE(lang.TranslateMenu("TestMenu", CMenu::FromHandle(bar)));
    auto text = [](HMENU menu, int pos) {
        char buf[64] = {};
        GetMenuStringA(menu, pos, buf, sizeof buf, MF_BYPOSITION);
        return std::string(buf);
    };
    EXPECT_EQ(text(bar, 0), "Ouvrir");
    EXPECT_EQ(GetMenuItemID(bar, 0), 100u);
    EXPECT_EQ(text(bar, 1), "Edition");
    EXPECT_EQ(GetSubMenu(bar, 1), edit);
    EXPECT_EQ(text(edit, 2), "Ouvrir");
    EXPECT_EQ(text(edit, 1), "Cut");
    EXPECT_EQ(text(bar, 2), "Empty");
    EXPECT_EQ(text(bar, 3), "Kept");
    EXPECT_FALSE(lang.TranslateMenu(nullptr, bar));
    EXPECT_FALSE(lang.TranslateMenu("TestMenu", static_cast<CMenu*>(nullptr)));
    EXPECT_FALSE(lang.TranslateMenu("TestMenu", static_cast<HMENU>(nullptr)));
    DestroyMenu(bar);
}

TEST(LanguageManagerTest, ShippedFilesCarryEveryTextWithMatchingFormats)
{
    CLanguageManager lang;
    lang.ScanLanguageFiles(ProgramFolder().c_str());
    ASSERT_TRUE(lang.SelectByCodePage(936));
    EXPECT_STREQ(lang.GetName(lang.GetCurrentIndex()), "简体中文");
    // The string table is the program's resource, trailing blanks and all.
    ASSERT_GE(CStringTable::GetCount(), 80);
    ASSERT_NE(CStringTable::Find(61603), nullptr);
    EXPECT_STREQ(CStringTable::Find(61603), "移动文档项  %s 操作失败! ");
    for (int i = 0; i < CStringTable::GetCount(); ++i) {
        UINT id = CStringTable::GetIdAt(i);
        char text[260];
        ASSERT_GT(lang.GetText("String", id, text, sizeof text), 0) << id;
        // Whole texts; only one longer than the buffer is cut at its end.
        EXPECT_EQ(std::string(text), std::string(CStringTable::Find(id)).substr(0, sizeof text - 1))
            << id;
    }
    ASSERT_TRUE(lang.SelectByCodePage(1252));
    EXPECT_STREQ(lang.GetName(lang.GetCurrentIndex()), "English");
    for (int i = 0; i < CStringTable::GetCount(); ++i) {
        UINT id = CStringTable::GetIdAt(i);
        char text[260];
        ASSERT_GT(lang.GetText("String", id, text, sizeof text), 0) << id;
        EXPECT_TRUE(CLanguageManager::SameConversions(text, CStringTable::Find(id))) << id;
    }
    // Every section carries the same keys in both files.
    auto keys = [](const std::string& path, const char* section) {
        char buffer[4096] = {};
        DWORD n =
            GetPrivateProfileStringA(section, nullptr, "", buffer, sizeof buffer, path.c_str());
        std::vector<std::string> list;
        for (const char* k = buffer; k < buffer + n && *k; k += strlen(k) + 1)
            list.push_back(k);
        std::sort(list.begin(), list.end());
        return list;
    };
    std::string english = lang.GetCurrentFile();
    ASSERT_TRUE(lang.SelectByCodePage(936));
    std::string chinese = lang.GetCurrentFile();
    char sections[4096] = {};
    DWORD n = GetPrivateProfileSectionNamesA(sections, sizeof sections, chinese.c_str());
    int count = 0;
    for (const char* section = sections; section < sections + n && *section;
         section += strlen(section) + 1, ++count) {
        if (strcmp(section, "Info") != 0) {
            EXPECT_EQ(keys(chinese, section), keys(english, section)) << section;
        }
    }
    EXPECT_GT(count, 5);
    ASSERT_TRUE(lang.SelectByCodePage(1252));
    std::string line;
    lang.LoadStringTo(61597, line);
    EXPECT_EQ(line, "The connection to the server was lost. Please start the system again!");
}
