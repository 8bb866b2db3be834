#pragma once
#include "CSkinButton.h"
#include "afxwin.h"

// The presentation board's history bar: a skinned "历史文件" button and a
// skinned button without text; Enter and Escape do nothing.
class CDlgHistoryFile : public CDialog
{
public:
    enum { IDD = 604 };

    CDlgHistoryFile() = default;

    BOOL Create(CWnd* parent);

protected:
    BOOL OnInitDialog() override;
    void OnOK() override {}
    void OnCancel() override {}
    afx_msg void OnSize(UINT type, int cx, int cy);
    afx_msg BOOL OnEraseBkgnd(CDC* dc);
    DECLARE_MESSAGE_MAP()

private:
    CSkinButton m_files;
    CSkinButton m_close;
};
