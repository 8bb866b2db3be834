#include "CDlgMeetingSettings.h"

#include <cstring>
#include <string>

#include "CCommandManager.h"
#include "PanesResource.h"

CDlgMeetingSettings::CDlgMeetingSettings(MEETING_STATE& state, CCommandManager* commands,
                                         CWnd* parent)
    : CLangDialog(IDD, "CDlgMeetingSettings", parent), m_state(state), m_commands(commands)
{}

BOOL CDlgMeetingSettings::OnInitDialog()
{
    CLangDialog::OnInitDialog();
    static_cast<CEdit*>(GetDlgItem(IDC_SETTINGS_BULLETIN))->LimitText(BULLETIN_CHARS);
    SetDlgItemText(IDC_SETTINGS_BULLETIN, m_state.bulletin);
    CheckDlgButton(IDC_SETTINGS_NO_UPLOAD, m_state.noFileTransfer ? BST_CHECKED : BST_UNCHECKED);
    return TRUE;
}

void CDlgMeetingSettings::OnOK()
{
    CString edit;
    GetDlgItemText(IDC_SETTINGS_BULLETIN, edit);
    std::string bulletin(static_cast<LPCSTR>(edit), edit.GetLength());
    const size_t first = bulletin.find_first_not_of(' ');
    const size_t last = bulletin.find_last_not_of(' ');
    bulletin =
        first == std::string::npos ? std::string() : bulletin.substr(first, last - first + 1);

    bool changed = false;
    char field[sizeof m_state.bulletin];
    CMeetingState::CopyField(field, sizeof field, bulletin.c_str());
    if (strcmp(field, m_state.bulletin) != 0) {
        memcpy(m_state.bulletin, field, sizeof field);
        changed = true;
    }
    const uint32_t noUpload = IsDlgButtonChecked(IDC_SETTINGS_NO_UPLOAD) ? 1 : 0;
    if ((m_state.noFileTransfer != 0) != (noUpload != 0)) {
        m_state.noFileTransfer = noUpload;
        changed = true;
    }
    if (changed && m_commands) {
        unsigned char record[MEETING_STATE_SIZE];
        if (CMeetingState::Write(m_state, record, sizeof record))
            m_commands->SendMeetingState(record);
    }
    EndDialog(IDOK);
}
