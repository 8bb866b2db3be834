#include "CDlgLanguage.h"

#include "CLanguageManager.h"
#include "SettingsResource.h"

#include <vector>

namespace {
BOOL CALLBACK CollectWindow(HWND window, LPARAM list)
{
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    EnumChildWindows(window, CollectWindow, list);
    return TRUE;
}
} // namespace

CDlgLanguage::CDlgLanguage(CWnd* parent) : CSkinDialog(IDD_LANGUAGE, "CDlgLanguage", parent) {}

BOOL CDlgLanguage::OnInitDialog()
{
    CSkinDialog::OnInitDialog();
    m_ok.SubclassDlgItem(IDOK, this);
    m_cancel.SubclassDlgItem(IDCANCEL, this);
    HWND list = ::GetDlgItem(m_hWnd, IDC_LANGUAGE_LIST);
    for (int i = 0; i < g_LangManager.GetCount(); ++i)
        ::SendMessageA(list, LB_ADDSTRING, 0, (LPARAM)g_LangManager.GetName(i));
    ::SendMessageA(list, LB_SETCURSEL, g_LangManager.GetCurrentIndex(), 0);
    return TRUE;
}

void CDlgLanguage::OnOK()
{
    int sel = (int)::SendDlgItemMessageA(m_hWnd, IDC_LANGUAGE_LIST, LB_GETCURSEL, 0, 0);
    bool changed = sel >= 0 && sel != g_LangManager.GetCurrentIndex() && g_LangManager.Select(sel);
    CSkinDialog::OnOK();
    if (changed)
        BroadcastLanguageChanged();
}

int CDlgLanguage::BroadcastLanguageChanged()
{
    std::vector<HWND> windows;
    EnumThreadWindows(GetCurrentThreadId(), CollectWindow, (LPARAM)&windows);
    int sent = 0;
    for (HWND window : windows) {
        if (::IsWindow(window)) {
            ::SendMessageA(window, WM_LANGUAGE_CHANGED, 0, 0);
            ++sent;
        }
    }
    return sent;
}
