#pragma once
#include "CSkinDialog.h"

#include "afxcmn.h"

#include <cstdint>
#include <string>
#include <vector>

class IFileSendHost;

// The file to send and its recipients: every other participant of the
// meeting in a list with check boxes, one of them ticked beforehand, and
// "全选" to tick or clear them all. OK needs a file and at least one
// recipient; the ticked ids are then collected in list order.
class CFileSendDlg : public CSkinDialog
{
public:
    enum : UINT { IDD = 131 };
    // The reserved participant that is never offered a file.
    static const char* const kReservedUser;

    CFileSendDlg(IFileSendHost* host, const std::string& path, uint32_t preselectedUser,
                 CWnd* parent = NULL);

    const std::string& GetPath() const { return m_path; }
    const std::string& GetFileName() const { return m_fileName; }
    const std::vector<uint32_t>& GetRecipients() const { return m_recipients; }

    // For tests: the list and the rows' ticks.
    CListCtrl& List() { return m_list; }
    bool IsTicked(int row) const;
    void SetTicked(int row, bool ticked);

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override;

    afx_msg void OnBrowse();
    afx_msg void OnSelectAll();
    DECLARE_MESSAGE_MAP()

private:
    void SetPath(const std::string& path);

    IFileSendHost* m_host;
    std::string m_path;
    std::string m_fileName;
    uint32_t m_preselected;
    std::vector<uint32_t> m_recipients;
    CListCtrl m_list;
    // Set while the dialog changes ticks itself.
    bool m_ticking = false;
};
