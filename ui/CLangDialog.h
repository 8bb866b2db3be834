#pragma once
#include "afxwin.h"

// The dialog base whose texts come from the current language file: the
// section named by the dialog (its class name) gives the caption ("Title")
// and the control texts (by control id). They are applied after the derived
// class's OnInitDialog and again on every language change.
class CLangDialog : public CDialog
{
public:
    CLangDialog(UINT templateId, LPCTSTR section, CWnd* parent = NULL);

    const CString& GetSection() const { return m_strSection; }

    // Re-applies the language texts of the dialog. Derived dialogs that
    // refill lists override it and then call the base.
    virtual void TranslateTexts(BOOL apply);

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    afx_msg LRESULT OnLanguageChanged(WPARAM, LPARAM);
    DECLARE_MESSAGE_MAP()

    CString m_strSection;
};
