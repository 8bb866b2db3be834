#include "ClientUtil.h"

#include <cstring>
#include <vector>

#include "CCommandManager.h"
#include "CLanguageManager.h"
#include "CMainFrameBase.h"
#include "CUserTable.h"

CMainFrameBase* g_pMainFrame = nullptr;

namespace {

bool IsLead(const char* p) { return p[1] != '\0' && IsDBCSLeadByte(static_cast<BYTE>(p[0])); }

std::string LoadText(uint32_t id)
{
    std::string text;
    g_LangManager.LoadStringTo(id, text);
    return text;
}

struct THREAD_WINDOWS
{
    std::vector<HWND> windows;
};

BOOL CALLBACK CollectWindow(HWND wnd, LPARAM context)
{
    reinterpret_cast<THREAD_WINDOWS*>(context)->windows.push_back(wnd);
    return TRUE;
}

void SendIfPermanent(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (IsWindow(wnd) && CWnd::FromHandlePermanent(wnd))
        SendMessageA(wnd, message, wParam, lParam);
}

} // namespace

std::string GetAppDirectory()
{
    char path[MAX_PATH] = {};
    DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH)
        return std::string();
    return SplitPath(path, SPLIT_DRIVE | SPLIT_FOLDER);
}

std::string SplitPath(const char* path, uint8_t parts)
{
    if (!path)
        return std::string();
    std::string text = path;
    size_t driveEnd = 0;
    if (text.size() >= 2 && text[1] == ':' && !IsDBCSLeadByte(static_cast<BYTE>(text[0])))
        driveEnd = 2;
    // The end of the folder part: just after the last separator.
    size_t folderEnd = driveEnd;
    size_t lastDot = std::string::npos;
    for (size_t i = driveEnd; i < text.size(); ++i) {
        if (IsLead(text.c_str() + i)) {
            ++i;
            continue;
        }
        if (text[i] == '\\' || text[i] == '/') {
            folderEnd = i + 1;
            lastDot = std::string::npos;
        } else if (text[i] == '.') {
            lastDot = i;
        }
    }
    size_t nameEnd = lastDot != std::string::npos ? lastDot : text.size();
    std::string out;
    if (parts & SPLIT_DRIVE)
        out += text.substr(0, driveEnd);
    if (parts & SPLIT_FOLDER)
        out += text.substr(driveEnd, folderEnd - driveEnd);
    if (parts & SPLIT_NAME)
        out += text.substr(folderEnd, nameEnd - folderEnd);
    if (parts & SPLIT_EXTENSION)
        out += text.substr(nameEnd);
    return out;
}

void DeleteFolderTree(const char* folder)
{
    if (!folder || !*folder)
        return;
    std::string base = folder;
    if (base.back() != '\\' && base.back() != '/')
        base += '\\';
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((base + "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        if (strcmp(found.cFileName, ".") == 0 || strcmp(found.cFileName, "..") == 0)
            continue;
        if (found.dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM))
            continue;
        std::string path = base + found.cFileName;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            DeleteFolderTree(path.c_str());
            RemoveDirectoryA(path.c_str()); // fails, as meant, while it holds skipped entries
        } else {
            if (found.dwFileAttributes & FILE_ATTRIBUTE_READONLY)
                SetFileAttributesA(path.c_str(), found.dwFileAttributes & ~FILE_ATTRIBUTE_READONLY);
            DeleteFileA(path.c_str());
        }
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

bool HasControlRight(const LOGIN_INFO& login, CUserTable& users)
{
    if (login.role == 1)
        return true;
    uint8_t control = 0;
    if (!users.GetControlState(login.userId, &control))
        return false;
    if (control == 2)
        return true;
    return login.meetingMode != 2;
}

bool HasControlRight() { return HasControlRight(g_LoginInfo, g_UserTable); }

void ShowMessage(const char* text)
{
    AfxShowMessageBox(nullptr, text ? text : "", "", MB_OK | MB_ICONINFORMATION);
}

void ShowMessageById(uint32_t id) { ShowMessage(LoadText(id).c_str()); }

int AskMainWindow(const char* text)
{
    HWND owner = g_pMainFrame ? g_pMainFrame->GetSafeHwnd() : nullptr;
    return AfxShowMessageBox(owner, text ? text : "", "系统提示", MB_OKCANCEL | MB_ICONQUESTION);
}

int AskMainWindowById(uint32_t id) { return AskMainWindow(LoadText(id).c_str()); }

void AddSystemNotice(const char* text)
{
    if (g_pMainFrame && g_pMainFrame->GetSafeHwnd())
        g_pMainFrame->AddSystemNotice(text ? text : "");
}

void AddSystemNoticeById(uint32_t id) { AddSystemNotice(LoadText(id).c_str()); }

void BroadcastToThreadWindows(UINT message, WPARAM wParam, LPARAM lParam)
{
    // The windows are listed first: a receiver may create or destroy windows.
    THREAD_WINDOWS top;
    EnumThreadWindows(GetCurrentThreadId(), CollectWindow, reinterpret_cast<LPARAM>(&top));
    for (HWND wnd : top.windows) {
        if (!IsWindow(wnd) || !CWnd::FromHandlePermanent(wnd))
            continue;
        THREAD_WINDOWS children;
        EnumChildWindows(wnd, CollectWindow, reinterpret_cast<LPARAM>(&children));
        for (HWND child : children.windows)
            SendIfPermanent(child, message, wParam, lParam);
        SendIfPermanent(wnd, message, wParam, lParam);
    }
}

std::string FindTokenInList(const char* list, const char* address)
{
    if (!list)
        return std::string();
    std::string text = list;
    std::string last;
    size_t start = 0;
    for (size_t bar = text.find('|'); bar != std::string::npos; bar = text.find('|', start)) {
        last = text.substr(start, bar - start);
        if (address && last == address)
            return last;
        start = bar + 1;
    }
    return last;
}

std::string FindTokenInList(const char* list)
{
    return FindTokenInList(list, g_LoginInfo.serverAddress);
}
