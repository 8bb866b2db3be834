#include "CDlgDocProperties.h"

#include "CDocName.h"
#include "CFileDialog.h"
#include "DocsResource.h"

BEGIN_MESSAGE_MAP(CDlgDocProperties, CLangDialog)
    ON_BN_CLICKED(IDC_DOC_BROWSE, OnBrowse)
END_MESSAGE_MAP()

const char* const CDlgDocProperties::kFilter =
    "All Supperted Files|*.doc;*.ppt;*.xls;*.txt;*.bmp;*.gif;*.jpg;*.jpeg;*.avi;*.mpg;*.mpeg;"
    "*.mp3;*.wmv;*.wma;*.asf;*.rm;*.ram;*.mov;*.qt;*.swf;*.dwg|"
    "Office Files(*.doc,*.ppt,*.xls,*.txt)|*.doc;*.ppt;*.xls;*.txt|"
    "Picture Files(*.bmp,*.gif,*.jpg,*.jpeg)|*.bmp;*.gif;*.jpg;*.jpeg|"
    "Media Files(*.avi,*.mpg,*.mpeg,*.mp3,*.wmv,*.wma,*.asf,*.rm,*.ram,*.mov,*.qt)|"
    "*.avi;*.mpg;*.mpeg;*.mp3;*.wmv;*.wma;*.asf;*.rm;*.ram;*.mov;*.qt|"
    "Flash Files(*.swf)|*.swf|"
    "AutoCAD Files(*.dwg)|*.dwg|"
    "All Files(*.*)|*.*||";

CDlgDocProperties::CDlgDocProperties(CWnd* parent)
    : CLangDialog(IDD_DOC_PROPERTIES, "CDlgDocProperties", parent)
{}

BOOL CDlgDocProperties::OnInitDialog()
{
    CLangDialog::OnInitDialog();
    SetDlgItemText(IDC_DOC_PATH, m_path.c_str());
    SetDlgItemText(IDC_DOC_NAME, m_name.c_str());
    return TRUE;
}

void CDlgDocProperties::OnBrowse()
{
    CFileDialog dialog(TRUE, NULL, NULL, OFN_FILEMUSTEXIST | OFN_HIDEREADONLY,
                       m_allFiles ? NULL : kFilter, this);
    if (dialog.DoModal() != IDOK)
        return;
    m_path = (LPCSTR)dialog.GetPathName();
    m_name = CDocName::FileName(m_path);
    m_extension = (LPCSTR)dialog.GetFileExt();
    m_title = (LPCSTR)dialog.GetFileTitle();
    SetDlgItemText(IDC_DOC_PATH, m_path.c_str());
    SetDlgItemText(IDC_DOC_NAME, m_name.c_str());
}

void CDlgDocProperties::OnOK()
{
    CString path, name;
    GetDlgItemText(IDC_DOC_PATH, path);
    GetDlgItemText(IDC_DOC_NAME, name);
    if (path.IsEmpty() || name.IsEmpty()) {
        MessageBox("文件路径和名不能为空");
        return;
    }
    m_path = (LPCSTR)path;
    m_name = (LPCSTR)name;
    CLangDialog::OnOK();
}
