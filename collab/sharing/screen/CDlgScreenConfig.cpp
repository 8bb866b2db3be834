#include "CDlgScreenConfig.h"

#include "SharingResource.h"

BEGIN_MESSAGE_MAP(CDlgScreenConfig, CLangDialog)
END_MESSAGE_MAP()

CDlgScreenConfig::CDlgScreenConfig(CWnd* parent) : CLangDialog(IDD, "CDlgScreenConfig", parent) {}

BOOL CDlgScreenConfig::CreateHidden(CWnd* parent) { return Create(IDD, parent); }

BOOL CDlgScreenConfig::OnInitDialog()
{
    CLangDialog::OnInitDialog();
    static const char* const compressions[] = {"自动", "无损", "高压缩", "8位色"};
    static const char* const rates[] = {"64K", "128K", "256K", "512K", "1M", "不限"};
    if (m_compression.SubclassDlgItem(IDC_SC_COMPRESSION, this)) {
        for (const char* text : compressions)
            m_compression.AddString(text);
        m_compression.SetCurSel(0);
    }
    if (m_rate.SubclassDlgItem(IDC_SC_RATE, this)) {
        for (const char* text : rates)
            m_rate.AddString(text);
        m_rate.SetCurSel(3);
    }
    CheckDlgButton(IDC_SC_DELAY, BST_CHECKED);
    return TRUE;
}

int CDlgScreenConfig::GetCompression() const
{
    return m_compression.m_hWnd ? m_compression.GetCurSel() : 0;
}

int CDlgScreenConfig::GetRateLimit() const { return m_rate.m_hWnd ? m_rate.GetCurSel() : 3; }

bool CDlgScreenConfig::GetDelayOnPoorNetwork() const
{
    return m_hWnd && ::IsDlgButtonChecked(m_hWnd, IDC_SC_DELAY) == BST_CHECKED;
}

// The dialog is modeless and kept: OK and Cancel only hide it.
void CDlgScreenConfig::OnOK() { ShowWindow(SW_HIDE); }

void CDlgScreenConfig::OnCancel() { ShowWindow(SW_HIDE); }
