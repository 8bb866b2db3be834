#pragma once
#include "CLangDialog.h"

// The options page of the system settings: a few client switches and the
// folders of received files and captured pictures.
class CDlgPathConfig : public CLangDialog
{
public:
    CDlgPathConfig(CWnd* parent = nullptr);

    BOOL Create(CWnd* parent);
    void Apply();

protected:
    BOOL OnInitDialog() override;
    void OnOK() override {}
    void OnCancel() override {}
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    // The shell's folder browser; false when the user chose nothing.
    virtual bool BrowseForFolder(CString* path);
};
