#pragma once
#include "CSkinButton.h"
#include "CWbLineCombo.h"
#include "afxext.h"
#include "afxwin.h"

// The whiteboard's top bar: new, open, save, previous and next page, the
// page field with its "转到" button and page count, and the tool bar with
// the width, style and fill lists. Every choice goes to the frame (the
// dialog's parent).
class CDlgWbTopBar : public CDialog
{
public:
    CDlgWbTopBar();
    BOOL CreateBar(CWnd* parent);
    void EnableBar(BOOL bEnable);
    // Page n of count in the page field and its label.
    void SetPageTexts(int page, int count);
    // The number typed in the page field, 0 when none.
    int GetTypedPage() const;
    CWbLineCombo& WidthList() { return m_width; }
    CWbLineCombo& StyleList() { return m_style; }
    CWbLineCombo& FillList() { return m_fill; }
    CToolBar& ToolBar() { return m_toolBar; }

protected:
    virtual BOOL OnInitDialog();
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual void OnOK() {}
    virtual void OnCancel() {}
    afx_msg void OnSize(UINT nType, int cx, int cy);
    DECLARE_MESSAGE_MAP()

    CToolBar m_toolBar;
    CWbLineCombo m_width, m_style, m_fill;
};
