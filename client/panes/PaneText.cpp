#include "PaneText.h"

#include "afxwin.h"
#include "CLanguageManager.h"
#include "CStringTable.h"

std::string PaneText(const CLanguageManager* language, unsigned id, const char* fallback)
{
    std::string text;
    if (language)
        language->LoadStringTo(id, text);
    if (text.empty()) {
        const char* own = CStringTable::Find(id);
        text = own ? own : (fallback ? fallback : "");
    }
    return text;
}

std::string PaneFormat(const CLanguageManager* language, unsigned id)
{
    std::string text;
    if (language)
        language->LoadFormatStringTo(id, text);
    if (text.empty()) {
        const char* own = CStringTable::Find(id);
        text = own ? own : "";
    }
    return text;
}

void PaneMessage(void* owner, const char* text)
{
    AfxShowMessageBox(static_cast<HWND>(owner), text ? text : "", "", MB_OK | MB_ICONINFORMATION);
}
