#include "CDlgRCOption.h"

#include "SharingResource.h"

BEGIN_MESSAGE_MAP(CDlgRCOption, CLangDialog)
END_MESSAGE_MAP()

namespace {
BOOL CALLBACK CollectWindow(HWND hWnd, LPARAM param)
{
    auto* out = reinterpret_cast<std::vector<std::pair<HWND, std::string>>*>(param);
    if (!::IsWindowVisible(hWnd) || ::GetParent(hWnd) != NULL)
        return TRUE;
    RECT r;
    if (!::GetWindowRect(hWnd, &r) || r.right - r.left < 1 || r.bottom - r.top < 1)
        return TRUE;
    char title[256] = {};
    if (::GetWindowTextA(hWnd, title, sizeof title) <= 0 || !title[0])
        return TRUE;
    char cls[64] = {};
    ::GetClassNameA(hWnd, cls, sizeof cls);
    if (lstrcmpA(cls, "Progman") == 0)
        return TRUE;
    out->emplace_back(hWnd, title);
    return TRUE;
}
} // namespace

CDlgRCOption::CDlgRCOption(CWnd* parent) : CLangDialog(IDD, "CDlgRCOption", parent) {}

std::vector<std::pair<HWND, std::string>> CDlgRCOption::ListShareableWindows()
{
    std::vector<std::pair<HWND, std::string>> windows;
    ::EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

BOOL CDlgRCOption::OnInitDialog()
{
    CLangDialog::OnInitDialog();
    m_list.SubclassDlgItem(IDC_RC_WINDOWS, this);
    for (const auto& w : ListShareableWindows()) {
        const int row = m_list.AddString(w.second.c_str());
        if (row >= 0)
            m_list.SetItemData(row, static_cast<DWORD_PTR>(reinterpret_cast<uintptr_t>(w.first)));
    }
    CheckDlgButton(IDC_RC_COMPRESS8, BST_UNCHECKED);
    CheckDlgButton(IDC_RC_FIT_WINDOW, BST_CHECKED);
    return TRUE;
}

void CDlgRCOption::OnOK()
{
    int row = m_list.GetCurSel();
    if (row < 0)
        row = 0;
    if (row >= m_list.GetCount())
        return;
    HWND chosen = reinterpret_cast<HWND>(static_cast<uintptr_t>(m_list.GetItemData(row)));
    // The window may have gone while the dialog was open.
    if (!::IsWindow(chosen))
        return;
    m_chosen = chosen;
    m_compress8 = IsDlgButtonChecked(IDC_RC_COMPRESS8) == BST_CHECKED;
    m_fit = IsDlgButtonChecked(IDC_RC_FIT_WINDOW) == BST_CHECKED;
    CLangDialog::OnOK();
}
