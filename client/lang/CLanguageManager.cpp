#include "CLanguageManager.h"

#include <cstdio>
#include <cstring>

#include "CMenu.h"
#include "CStringTable.h"
#include "CWnd.h"

CLanguageManager g_LangManager;

namespace {

const char kStringSection[] = "String";
const char kCommonSection[] = "Common";
const char kInfoSection[] = "Info";

// The program's folder with its trailing backslash.
std::string ProgramFolder()
{
    char path[MAX_PATH] = {};
    DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH)
        return std::string();
    char* slash = strrchr(path, '\\');
    if (!slash)
        return std::string();
    slash[1] = '\0';
    return path;
}

// One printf conversion reduced to what decides the arguments it reads:
// '*' for each star, the length modifier and the conversion letter.
bool NextConversion(const char*& p, std::string& out)
{
    for (; *p; ++p) {
        if (*p != '%')
            continue;
        ++p;
        if (*p == '%') {
            continue;
        }
        out.clear();
        while (*p && strchr("-+ #0'", *p))
            ++p;
        if (*p == '*') {
            out += '*';
            ++p;
        } else {
            while (*p >= '0' && *p <= '9')
                ++p;
        }
        if (*p == '.') {
            ++p;
            if (*p == '*') {
                out += '*';
                ++p;
            } else {
                while (*p >= '0' && *p <= '9')
                    ++p;
            }
        }
        while (*p && strchr("hlLqjztI3264", *p))
            out += *p++;
        if (!*p) {
            out = "!"; // a lone '%' at the end
            return true;
        }
        out += *p++;
        return true;
    }
    return false;
}

} // namespace

CLanguageManager::CLanguageManager() = default;

CLanguageManager::~CLanguageManager()
{
    for (INT_PTR i = 0; i < m_languages.GetSize(); ++i)
        delete Item(i);
    m_languages.RemoveAll();
}

void CLanguageManager::ScanLanguageFiles(const char* folder)
{
    std::string base = folder ? std::string(folder) : ProgramFolder();
    std::string pattern = base + "base\\*.dll";
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_ARCHIVE) ||
            (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            continue;
        std::string path = base + "base\\" + found.cFileName;
        int codePage =
            static_cast<int>(GetPrivateProfileIntA(kInfoSection, "CodePage", 0, path.c_str()));
        if (codePage == 0)
            continue;
        char name[TEXT_SIZE] = {};
        GetPrivateProfileStringA(kInfoSection, "Language", "", name, sizeof name, path.c_str());
        if (name[0] == '\0')
            continue;
        m_languages.Add(new LANGUAGE_ITEM{CString(name), CString(path.c_str()), codePage});
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

const char* CLanguageManager::GetName(int index) const
{
    if (index < 0 || index >= GetCount())
        return nullptr;
    return Item(index)->name;
}

int CLanguageManager::GetCodePage(int index) const
{
    if (index < 0 || index >= GetCount())
        return 0;
    return Item(index)->codePage;
}

BOOL CLanguageManager::Select(int index)
{
    if (index < 0 || index >= GetCount())
        return FALSE;
    m_currentFile = Item(index)->path;
    m_currentCodePage = Item(index)->codePage;
    m_currentIndex = index;
    return TRUE;
}

BOOL CLanguageManager::SelectByCodePage(int codePage)
{
    for (int i = 0; i < GetCount(); ++i) {
        if (Item(i)->codePage == codePage)
            return Select(i);
    }
    return FALSE;
}

int CLanguageManager::GetKeyText(LPCSTR section, LPCSTR key, LPSTR buf, DWORD size) const
{
    if (!buf || size == 0)
        return 0;
    buf[0] = '\0';
    if (!section || !key || m_currentFile.IsEmpty())
        return 0;
    return static_cast<int>(GetPrivateProfileStringA(section, key, "", buf, size, m_currentFile));
}

int CLanguageManager::GetKeyTextTo(LPCSTR section, LPCSTR key, std::string& out) const
{
    char text[TEXT_SIZE];
    int n = GetKeyText(section, key, text, sizeof text);
    if (n > 0)
        out.assign(text, n);
    return n;
}

int CLanguageManager::GetText(LPCSTR section, UINT id, LPSTR buf, DWORD size) const
{
    char key[16];
    snprintf(key, sizeof key, "%u", id);
    return GetKeyText(section, key, buf, size);
}

int CLanguageManager::GetTextTo(LPCSTR section, UINT id, std::string& out) const
{
    char key[16];
    snprintf(key, sizeof key, "%u", id);
    return GetKeyTextTo(section, key, out);
}

int CLanguageManager::GetCommonText(UINT id, LPSTR buf, DWORD size) const
{
    return GetText(kCommonSection, id, buf, size);
}

namespace {

// The program's own text of a string id into buf; its length or 0.
int LoadProgramString(UINT id, LPSTR buf, int size)
{
    if (!buf || size <= 0)
        return 0;
    buf[0] = '\0';
    if (const char* text = CStringTable::Find(id)) {
        size_t n = strlen(text);
        if (n >= static_cast<size_t>(size))
            n = static_cast<size_t>(size) - 1; // cut like the 260-byte buffers
        memcpy(buf, text, n);
        buf[n] = '\0';
        return static_cast<int>(n);
    }
    // Texts below the client's own range come from the program's resources.
    return LoadStringA(GetModuleHandleA(nullptr), id, buf, size);
}

} // namespace

int CLanguageManager::LoadString(UINT id, LPSTR buf, int size) const
{
    if (!buf || size <= 0)
        return 0;
    int n = GetText(kStringSection, id, buf, static_cast<DWORD>(size));
    if (n > 0)
        return n;
    return LoadProgramString(id, buf, size);
}

int CLanguageManager::LoadStringTo(UINT id, std::string& out) const
{
    char text[TEXT_SIZE];
    int n = LoadString(id, text, sizeof text);
    if (n > 0)
        out.assign(text, n);
    return n;
}

int CLanguageManager::LoadFormatString(UINT id, LPSTR buf, int size) const
{
    if (!buf || size <= 0)
        return 0;
    int n = GetText(kStringSection, id, buf, static_cast<DWORD>(size));
    char own[TEXT_SIZE];
    int ownLength = LoadProgramString(id, own, sizeof own);
    if (n > 0 && SameConversions(buf, ownLength > 0 ? own : ""))
        return n;
    // A file text whose conversions differ is not used as a format.
    return LoadProgramString(id, buf, size);
}

int CLanguageManager::LoadFormatStringTo(UINT id, std::string& out) const
{
    char text[TEXT_SIZE];
    int n = LoadFormatString(id, text, sizeof text);
    if (n > 0)
        out.assign(text, n);
    return n;
}

bool CLanguageManager::SameConversions(const char* a, const char* b)
{
    if (!a || !b)
        return false;
    std::string ca, cb;
    for (;;) {
        bool moreA = NextConversion(a, ca);
        bool moreB = NextConversion(b, cb);
        if (moreA != moreB)
            return false;
        if (!moreA)
            return true;
        if (ca != cb || ca == "!")
            return false;
    }
}

BOOL CLanguageManager::TranslateDialog(LPCSTR section, HWND wnd) const
{
    if (!section || !wnd || !IsWindow(wnd))
        return FALSE;
    char text[TEXT_SIZE];
    GetKeyText(section, "Title", text, sizeof text);
    SetWindowTextA(wnd, text);
    SendMessageA(wnd, WM_NCPAINT, 0, 0);
    for (HWND child = GetWindow(wnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        UINT id = static_cast<UINT>(GetDlgCtrlID(child));
        if (GetText(section, id, text, sizeof text) > 0 ||
            GetText(kCommonSection, id, text, sizeof text) > 0)
            SetWindowTextA(child, text);
    }
    return TRUE;
}

BOOL CLanguageManager::TranslateMenu(LPCSTR section, HMENU menu) const
{
    if (!section || !menu)
        return FALSE;
    int count = GetMenuItemCount(menu);
    char text[TEXT_SIZE];
    for (int pos = 0; pos < count; ++pos) {
        UINT id = GetMenuItemID(menu, pos);
        if (id == 0)
            continue;
        if (id != static_cast<UINT>(-1)) {
            if (GetText(section, id, text, sizeof text) > 0)
                ModifyMenuA(menu, pos, MF_BYPOSITION | MF_STRING, id, text);
            continue;
        }
        HMENU popup = GetSubMenu(menu, pos);
        if (!popup)
            continue;
        int inner = GetMenuItemCount(popup);
        UINT first = 0;
        for (int i = 0; i < inner; ++i) {
            UINT candidate = GetMenuItemID(popup, i);
            if (candidate != 0 && candidate != static_cast<UINT>(-1) &&
                static_cast<int>(candidate) > 0) {
                first = candidate;
                break;
            }
        }
        if (first == 0)
            continue;
        char key[20];
        snprintf(key, sizeof key, "%up", first);
        if (GetKeyText(section, key, text, sizeof text) > 0)
            ModifyMenuA(menu, pos, MF_BYPOSITION | MF_STRING | MF_POPUP,
                        reinterpret_cast<UINT_PTR>(popup), text);
        TranslateMenu(section, popup);
    }
    return TRUE;
}

namespace {

template <class F>
int AssignIfAny(CString& out, F read)
{
    char text[CLanguageManager::TEXT_SIZE];
    int n = read(text, static_cast<int>(sizeof text));
    if (n > 0)
        out = CString(text, n);
    return n;
}

} // namespace

int CLanguageManager::LoadStringTo(UINT id, CString& out) const
{
    return AssignIfAny(out, [&](LPSTR buf, int size) { return LoadString(id, buf, size); });
}

int CLanguageManager::LoadFormatStringTo(UINT id, CString& out) const
{
    return AssignIfAny(out, [&](LPSTR buf, int size) { return LoadFormatString(id, buf, size); });
}

int CLanguageManager::GetTextTo(LPCSTR section, UINT id, CString& out) const
{
    return AssignIfAny(out, [&](LPSTR buf, int size) {
        return GetText(section, id, buf, static_cast<DWORD>(size));
    });
}

int CLanguageManager::GetKeyTextTo(LPCSTR section, LPCSTR key, CString& out) const
{
    return AssignIfAny(out, [&](LPSTR buf, int size) {
        return GetKeyText(section, key, buf, static_cast<DWORD>(size));
    });
}

BOOL CLanguageManager::TranslateDialog(LPCSTR section, CWnd* wnd) const
{
    return wnd ? TranslateDialog(section, wnd->GetSafeHwnd()) : FALSE;
}

BOOL CLanguageManager::TranslateMenu(LPCSTR section, CMenu* menu) const
{
    return menu ? TranslateMenu(section, menu->GetSafeHmenu()) : FALSE;
}
