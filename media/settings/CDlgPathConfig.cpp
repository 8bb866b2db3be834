#include "CDlgPathConfig.h"

#include "CClientSettings.h"
#include "CSettingsHost.h"
#include "SettingsControls.h"
#include "SettingsResource.h"

#include <shlobj.h>

using namespace settingsui;

CDlgPathConfig::CDlgPathConfig(CWnd* parent)
    : CLangDialog(IDD_PATH_CONFIG, "CDlgPathConfig", parent)
{}

BOOL CDlgPathConfig::Create(CWnd* parent) { return CDialog::Create(IDD_PATH_CONFIG, parent); }

BOOL CDlgPathConfig::OnInitDialog()
{
    CLangDialog::OnInitDialog();
    for (int id : {IDC_PATH_REMEMBER_SERVER, IDC_PATH_SHOW_STATISTICS, IDC_PATH_PLAIN_LOGIN})
        SetChecked(this, id, true);
    SetDlgItemText(IDC_PATH_RECV_EDIT, g_Settings.recvFilePath.c_str());
    SetDlgItemText(IDC_PATH_PHOTO_EDIT, g_Settings.photoFilePath.c_str());
    return TRUE;
}

bool CDlgPathConfig::BrowseForFolder(CString* path)
{
    char chosen[MAX_PATH] = {};
    BROWSEINFOA info = {};
    info.hwndOwner = m_hWnd;
    info.pszDisplayName = chosen;
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    LPITEMIDLIST list = SHBrowseForFolderA(&info);
    if (!list)
        return false;
    bool ok = SHGetPathFromIDListA(list, chosen) && chosen[0];
    CoTaskMemFree(list);
    if (ok)
        *path = chosen;
    return ok;
}

BOOL CDlgPathConfig::OnCommand(WPARAM wParam, LPARAM lParam)
{
    UINT id = LOWORD(wParam);
    if (HIWORD(wParam) == BN_CLICKED &&
        (id == IDC_PATH_RECV_BROWSE || id == IDC_PATH_PHOTO_BROWSE)) {
        CString path;
        if (BrowseForFolder(&path) && !path.IsEmpty())
            SetDlgItemText(id == IDC_PATH_RECV_BROWSE ? IDC_PATH_RECV_EDIT : IDC_PATH_PHOTO_EDIT,
                           path);
        return TRUE;
    }
    return CLangDialog::OnCommand(wParam, lParam);
}

void CDlgPathConfig::Apply()
{
    GetSettingsHost()->ShowChatMessageButton(Checked(this, IDC_PATH_SHOW_STATISTICS));
    CString text;
    GetDlgItemText(IDC_PATH_PHOTO_EDIT, text);
    g_Settings.photoFilePath = (const char*)text;
    GetDlgItemText(IDC_PATH_RECV_EDIT, text);
    g_Settings.recvFilePath = (const char*)text;
}
