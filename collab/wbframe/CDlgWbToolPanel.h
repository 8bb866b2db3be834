#pragma once
#include "CColourPickerXP.h"
#include "CSkinButton.h"
#include "afxwin.h"

// The whiteboard's tool panel: one button per tool, the font and colour
// buttons, the zoom list, the ruler switch and the screen capture. Each
// choice goes to the frame (the dialog's parent) as a command or message.
class CDlgWbToolPanel : public CDialog
{
public:
    enum { TOOL_BUTTONS = 15 };

    CDlgWbToolPanel();
    BOOL CreatePanel(CWnd* parent);
    // Enables or disables every control.
    void EnableTools(BOOL bEnable);
    // Checks the button of the current tool's command.
    void ShowTool(int tool);
    CComboBox& ZoomList() { return m_zoom; }
    CColourPickerXP& ColourButton() { return m_colour; }
    // The command a panel button stands for, 0 for none.
    static UINT CommandOfButton(UINT buttonId);

protected:
    virtual BOOL OnInitDialog();
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual void OnOK() {}
    virtual void OnCancel() {}
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg LRESULT OnColourChanged(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

    CSkinButton m_tools[TOOL_BUTTONS];
    CSkinButton m_font, m_capture;
    CButton m_ruler;
    CColourPickerXP m_colour;
    CComboBox m_zoom;
};
