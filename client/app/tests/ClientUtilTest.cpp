#include <gtest/gtest.h>

#include <winsock2.h>
#include <windows.h>

#include <string>
#include <vector>

#include "CMainFrameBase.h"
#include "CTestKit.h"
#include "CUserTable.h"
#include "ClientUtil.h"

namespace {

std::string TempFolder(const char* name)
{
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    return std::string(temp) + name + "_" + std::to_string(GetCurrentProcessId());
}

void WriteTestFile(const std::string& path)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
    DWORD written = 0;
    ::WriteFile(file, "x", 1, &written, nullptr);
    CloseHandle(file);
}

bool Exists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

} // namespace

TEST(ClientUtilTest, SplitPathSelectsParts)
{
    struct Case
    {
        const char* path;
        uint8_t parts;
        const char* expected;
    } cases[] = {
        {"C:\\dir\\sub\\file.name.txt", SPLIT_DRIVE, "C:"},
        {"C:\\dir\\sub\\file.name.txt", SPLIT_FOLDER, "\\dir\\sub\\"},
        {"C:\\dir\\sub\\file.name.txt", SPLIT_NAME, "file.name"},
        {"C:\\dir\\sub\\file.name.txt", SPLIT_EXTENSION, ".txt"},
        {"C:\\dir\\sub\\file.name.txt", SPLIT_DRIVE | SPLIT_FOLDER, "C:\\dir\\sub\\"},
        {"C:\\dir\\sub\\file.name.txt", SPLIT_NAME | SPLIT_EXTENSION, "file.name.txt"},
        {"C:\\dir.d\\file", SPLIT_NAME | SPLIT_EXTENSION, "file"},
        {"file.txt", SPLIT_DRIVE | SPLIT_FOLDER, ""},
        {"C:file.txt", SPLIT_DRIVE | SPLIT_NAME, "C:file"},
        // The second byte of "淺" is a backslash: it is no separator.
        {"C:\\淺\\淺.txt", SPLIT_FOLDER, "\\淺\\"},
        {"C:\\淺\\淺.txt", SPLIT_NAME, "淺"},
        {"", 15, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SplitPath(c.path, c.parts), c.expected) << c.path << " " << int(c.parts);
}

TEST(ClientUtilTest, AppDirectoryIsTheProgramsFolder)
{
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string expected = path;
    expected.erase(expected.rfind('\\') + 1);
    EXPECT_EQ(GetAppDirectory(), expected);
}

TEST(ClientUtilTest, DeleteFolderTreeSkipsHiddenAndSystemEntries)
{
    std::string root = TempFolder("tree");
    CreateDirectoryA(root.c_str(), nullptr);
    CreateDirectoryA((root + "\\sub").c_str(), nullptr);
    CreateDirectoryA((root + "\\sub\\deep").c_str(), nullptr);
    CreateDirectoryA((root + "\\hiddenDir").c_str(), nullptr);
    CreateDirectoryA((root + "\\mixed").c_str(), nullptr);
    WriteTestFile(root + "\\a.txt");
    WriteTestFile(root + "\\readonly.txt");
    SetFileAttributesA((root + "\\readonly.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    WriteTestFile(root + "\\sub\\deep\\b.txt");
    WriteTestFile(root + "\\hidden.txt");
    SetFileAttributesA((root + "\\hidden.txt").c_str(), FILE_ATTRIBUTE_HIDDEN);
    WriteTestFile(root + "\\system.txt");
    SetFileAttributesA((root + "\\system.txt").c_str(), FILE_ATTRIBUTE_SYSTEM);
    WriteTestFile(root + "\\hiddenDir\\c.txt");
    SetFileAttributesA((root + "\\hiddenDir").c_str(), FILE_ATTRIBUTE_HIDDEN);
    WriteTestFile(root + "\\mixed\\d.txt");
    WriteTestFile(root + "\\mixed\\e.txt");
    SetFileAttributesA((root + "\\mixed\\e.txt").c_str(), FILE_ATTRIBUTE_HIDDEN);

    DeleteFolderTree(root.c_str());

    EXPECT_TRUE(Exists(root));
    EXPECT_FALSE(Exists(root + "\\a.txt"));
    EXPECT_FALSE(Exists(root + "\\readonly.txt"));
    EXPECT_FALSE(Exists(root + "\\sub"));
    EXPECT_TRUE(Exists(root + "\\hidden.txt"));
    EXPECT_TRUE(Exists(root + "\\system.txt"));
    EXPECT_TRUE(Exists(root + "\\hiddenDir\\c.txt"));
    // A folder that keeps a hidden file stays, emptied of the rest.
    EXPECT_FALSE(Exists(root + "\\mixed\\d.txt"));
    EXPECT_TRUE(Exists(root + "\\mixed\\e.txt"));

    DeleteFolderTree((root + "\\missing").c_str()); // no folder: nothing happens
}

TEST(ClientUtilTest, HasControlRightTable)
{
    struct Case
    {
        uint8_t role;
        bool inTable;
        uint8_t control;
        uint8_t mode;
        bool expected;
    } cases[] = {
        {1, false, 0, 2, true},                         // the host, even without a record
        {2, false, 0, 0, false},                        // no own record
        {2, true, 2, 2, true},                          // holds the meeting control
        {2, true, 1, 2, false},                         // only asked for it, chair-controlled
        {2, true, 0, 2, false},  {2, true, 0, 0, true}, // not chair-controlled: everyone
        {4, true, 0, 1, true},   {3, true, 0, 2, false},
    };
    for (const Case& c : cases) {
        CUserTable users;
        LOGIN_INFO login = {};
        login.userId = 7;
        login.role = c.role;
        login.meetingMode = c.mode;
        users.AddUser(3, "other", 1);
        users.SetControlState(3, 2);
        if (c.inTable) {
            users.AddUser(7, "me", c.role);
            users.SetControlState(7, c.control);
        }
        EXPECT_EQ(HasControlRight(login, users), c.expected)
            << int(c.role) << " " << c.inTable << " " << int(c.control) << " " << int(c.mode);
    }
}

TEST(ClientUtilTest, FindTokenInListTable)
{
    struct Case
    {
        const char* list;
        const char* address;
        const char* expected;
    } cases[] = {
        {"1.1.1.1|2.2.2.2|", "1.1.1.1", "1.1.1.1"},
        {"1.1.1.1|2.2.2.2|", "2.2.2.2", "2.2.2.2"},
        {"1.1.1.1|2.2.2.2|", "9.9.9.9", "2.2.2.2"},
        {"1.1.1.1|2.2.2.2", "2.2.2.2", "1.1.1.1"}, // the text after the last "|" never counts
        {"1.1.1.1", "1.1.1.1", ""},
        {"", "1.1.1.1", ""},
        {"|", "", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FindTokenInList(c.list, c.address), c.expected) << c.list << " " << c.address;
}

TEST(ClientUtilTest, MessageBoxesHaveTheirOwnerCaptionAndButtons)
{
    CTestKit::MessageBoxes boxes(IDCANCEL);
    ShowMessage("hello");
    EXPECT_EQ(AskMainWindow("sure?"), IDCANCEL);
    AddSystemNotice("nobody hears this before the main window exists");
    ASSERT_EQ(boxes.Shown().size(), 2u);
    EXPECT_EQ(boxes.Shown()[0].text, "hello");
    EXPECT_EQ(boxes.Shown()[0].caption, "");
    EXPECT_EQ(boxes.Shown()[0].type & (MB_TYPEMASK | MB_ICONMASK),
              UINT(MB_OK | MB_ICONINFORMATION));
    EXPECT_EQ(boxes.Shown()[1].caption, "系统提示");
    EXPECT_EQ(boxes.Shown()[1].type & (MB_TYPEMASK | MB_ICONMASK),
              UINT(MB_OKCANCEL | MB_ICONQUESTION));
}

namespace {

std::vector<std::string>* g_received = nullptr;

class CProbeWnd : public CWnd
{
public:
    explicit CProbeWnd(const char* name) : m_name(name) {}
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_USER + 77 && g_received)
            g_received->push_back(m_name);
        return CWnd::WindowProc(message, wParam, lParam);
    }

private:
    std::string m_name;
};

} // namespace

TEST(ClientUtilTest, BroadcastReachesDescendantsFirstThenTheWindow)
{
    std::vector<std::string> received;
    g_received = &received;
    CProbeWnd top("top"), child("child"), grandchild("grandchild");
    ASSERT_TRUE(top.CreateEx(0, AfxRegisterWndClass(0), "top", WS_OVERLAPPED, CRect(0, 0, 50, 50),
                             nullptr, 0));
    ASSERT_TRUE(child.Create(nullptr, "child", WS_CHILD, CRect(0, 0, 20, 20), &top, 1));
    ASSERT_TRUE(grandchild.Create(nullptr, "grandchild", WS_CHILD, CRect(0, 0, 5, 5), &child, 2));
    // A window without a framework object is passed over.
    HWND plain = CreateWindowA("STATIC", "plain", WS_CHILD, 0, 0, 5, 5, top.GetSafeHwnd(), nullptr,
                               nullptr, nullptr);
    ASSERT_NE(plain, nullptr);

    BroadcastToThreadWindows(WM_USER + 77, 0, 0);
    EXPECT_EQ(received, (std::vector<std::string>{"child", "grandchild", "top"}));
    g_received = nullptr;
    top.DestroyWindow();
}
