#pragma once
#include <string>

#include "CLangDialog.h"

// "属性": the file to share and the name it is shown under. OK needs both.
class CDlgDocProperties : public CLangDialog
{
public:
    explicit CDlgDocProperties(CWnd* parent = NULL);

    // The open dialog's filter groups; with allFiles set no filter is given.
    static const char* const kFilter;

    std::string m_path;
    std::string m_name;
    std::string m_extension; // the picked file's extension, without its dot
    std::string m_title;     // the picked file's name without its extension
    bool m_allFiles = false;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;

    afx_msg void OnBrowse();
    DECLARE_MESSAGE_MAP()
};
