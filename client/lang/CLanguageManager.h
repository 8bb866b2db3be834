#pragma once
#include <winsock2.h>
#include <windows.h>

#include <string>

#include "CPtrArray.h"
#include "CString.h"

class CWnd;
class CMenu;

// The window message that tells every window that the language changed.
enum : UINT { WM_LANGUAGE_CHANGED = WM_USER + 601 };

// One language file.
struct LANGUAGE_ITEM
{
    CString name; // [Info] Language
    CString path; // full path of the file
    int codePage; // [Info] CodePage, never 0
};

// Finds the language files (ini-format text files named *.dll in the folder
// "base" beside the program), keeps the current one and answers text
// requests by string id, by dialog section and by menu section. Every lookup
// that the current file cannot answer falls back to the program's own texts.
class CLanguageManager
{
public:
    enum { TEXT_SIZE = 260 };

    CLanguageManager();
    virtual ~CLanguageManager();

    CLanguageManager(const CLanguageManager&) = delete;
    CLanguageManager& operator=(const CLanguageManager&) = delete;

    // Appends one item per acceptable file of "<folder>base\*.dll"; the
    // folder is the program's own (with its trailing backslash) unless given.
    void ScanLanguageFiles(const char* folder = nullptr);

    int GetCount() const { return static_cast<int>(m_languages.GetSize()); }
    const char* GetName(int index) const;
    int GetCodePage(int index) const;
    BOOL Select(int index);
    BOOL SelectByCodePage(int codePage);
    int GetCurrentCodePage() const { return m_currentCodePage; }
    int GetCurrentIndex() const { return m_currentIndex; }
    const char* GetCurrentFile() const { return m_currentFile; }

    // The text of a string id into buf (size bytes with the terminator); its
    // length, 0 when neither the file nor the program has it.
    int LoadString(UINT id, LPSTR buf, int size) const;
    // LoadString into a 260-byte buffer; out changes only for a nonempty text.
    int LoadStringTo(UINT id, CString& out) const;
    int LoadStringTo(UINT id, std::string& out) const;
    // As LoadString for a text that will be used as a printf format: the
    // file's text is taken only when its conversions are those of the
    // program's own text, so a file can never make the formatting read
    // arguments that are not there.
    int LoadFormatString(UINT id, LPSTR buf, int size) const;
    int LoadFormatStringTo(UINT id, CString& out) const;
    int LoadFormatStringTo(UINT id, std::string& out) const;

    int GetText(LPCSTR section, UINT id, LPSTR buf, DWORD size) const;
    int GetTextTo(LPCSTR section, UINT id, CString& out) const;
    int GetTextTo(LPCSTR section, UINT id, std::string& out) const;
    int GetKeyText(LPCSTR section, LPCSTR key, LPSTR buf, DWORD size) const;
    int GetKeyTextTo(LPCSTR section, LPCSTR key, CString& out) const;
    int GetKeyTextTo(LPCSTR section, LPCSTR key, std::string& out) const;
    int GetCommonText(UINT id, LPSTR buf, DWORD size) const;

    // Caption and direct children of a dialog from its section; FALSE for
    // no window (or one without a live window) or no section.
    BOOL TranslateDialog(LPCSTR section, CWnd* wnd) const;
    BOOL TranslateDialog(LPCSTR section, HWND wnd) const;
    // Items of a menu and, recursively, its popups from a menu section.
    BOOL TranslateMenu(LPCSTR section, CMenu* menu) const;
    BOOL TranslateMenu(LPCSTR section, HMENU menu) const;

    // True when both formats take the same conversions in the same order.
    static bool SameConversions(const char* a, const char* b);

private:
    LANGUAGE_ITEM* Item(INT_PTR index) const
    {
        return static_cast<LANGUAGE_ITEM*>(m_languages.GetAt(index));
    }

    // LANGUAGE_ITEM*, owned, in the order the files were found.
    CPtrArray m_languages;
    CString m_currentFile;
    int m_currentCodePage = 0;
    int m_currentIndex = -1;
};

extern CLanguageManager g_LangManager;
