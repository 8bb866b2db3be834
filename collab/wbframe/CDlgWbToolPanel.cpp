#include "CDlgWbToolPanel.h"

#include "SkinNames.h"
#include "WbFrameMessages.h"
#include "WbFrameResource.h"

namespace {
struct ToolButton
{
    UINT button;
    UINT command;
    const char* skin;
};
const ToolButton kButtons[CDlgWbToolPanel::TOOL_BUTTONS] = {
    {IDC_WB_T_ERASER, ID_WB_ERASER, SKIN_WB_BRUSH},
    {IDC_WB_T_SELECT, ID_WB_SELECT, SKIN_WB_SEL},
    {IDC_WB_T_ICON, IDC_WB_T_ICON, SKIN_WB_SHARE},
    {IDC_WB_T_LINE, IDC_WB_T_LINE, SKIN_WB_LINE},
    {IDC_WB_T_ARROW, ID_WB_ARROW, SKIN_WB_PIN_PEN},
    {IDC_WB_T_RECT, ID_WB_RECT, SKIN_WB_SQUA},
    {IDC_WB_T_RECTFILL, ID_WB_RECTFILL, SKIN_WB_SOLID_SQUA},
    {IDC_WB_T_ROUNDRECT, ID_WB_ROUNDRECT, SKIN_WB_SQUA_LIN},
    {IDC_WB_T_ROUNDRECTFILL, ID_WB_ROUNDRECTFILL, SKIN_WB_SOLID_SQUA_LIN},
    {IDC_WB_T_ELLIPSE, ID_WB_ELLIPSE, SKIN_WB_ROUND},
    {IDC_WB_T_ELLIPSEFILL, ID_WB_ELLIPSEFILL, SKIN_WB_SOLID_ROUND},
    {IDC_WB_T_TEXT, ID_WB_TEXT, SKIN_WB_EDIT},
    {IDC_WB_T_POLY, IDC_WB_T_POLY, SKIN_WB_POLY},
    {IDC_WB_T_PEN, IDC_WB_T_PEN, SKIN_WB_STRONG_PEN},
    {IDC_WB_T_PENCIL, IDC_WB_T_PENCIL, SKIN_WB_THIN_PEN},
};
struct Zoom
{
    const char* text;
    int value;
};
const Zoom kZooms[] = {{"自适应", 0}, {"50%", 50},   {"100%", 100},
                       {"150%", 150}, {"200%", 200}, {"400%", 400}};
} // namespace

BEGIN_MESSAGE_MAP(CDlgWbToolPanel, CDialog)
    ON_WM_ERASEBKGND()
    ON_MESSAGE(WM_COLOURPICKER_ACCEPTED, OnColourChanged)
END_MESSAGE_MAP()

CDlgWbToolPanel::CDlgWbToolPanel() : CDialog(IDD_WB_TOOL_PANEL) {}

BOOL CDlgWbToolPanel::CreatePanel(CWnd* parent) { return Create(IDD_WB_TOOL_PANEL, parent); }

UINT CDlgWbToolPanel::CommandOfButton(UINT buttonId)
{
    for (const ToolButton& b : kButtons)
        if (b.button == buttonId)
            return b.command;
    return 0;
}

BOOL CDlgWbToolPanel::OnInitDialog()
{
    CDialog::OnInitDialog();
    for (int i = 0; i < TOOL_BUTTONS; ++i)
        if (m_tools[i].SubclassDlgItem(kButtons[i].button, this))
            m_tools[i].SetBitmapStrip(kButtons[i].skin, TRUE);
    if (m_font.SubclassDlgItem(IDC_WB_T_FONT, this))
        m_font.SetBitmapStrip(SKIN_WB_FONT, TRUE);
    if (m_capture.SubclassDlgItem(IDC_WB_T_CAPTURE, this))
        m_capture.SetBitmapStrip("Skins\\jindu.bmp", TRUE);
    m_ruler.SubclassDlgItem(IDC_WB_T_RULER, this);
    if (m_colour.SubclassDlgItem(IDC_WB_T_COLOUR, this)) {
        m_colour.SetOwner(this);
        m_colour.SetColour(0x00FF0000);
    }
    if (m_zoom.SubclassDlgItem(IDC_WB_T_ZOOM, this)) {
        for (const Zoom& z : kZooms)
            m_zoom.SetItemData(m_zoom.AddString(z.text), (DWORD_PTR)z.value);
    }
    EnableTools(FALSE);
    return TRUE;
}

void CDlgWbToolPanel::EnableTools(BOOL bEnable)
{
    for (CWnd* child = GetWindow(GW_CHILD); child; child = child->GetWindow(GW_HWNDNEXT))
        child->EnableWindow(bEnable);
}

void CDlgWbToolPanel::ShowTool(int tool)
{
    // Tools 1..15 are the buttons in table order.
    for (int i = 0; i < TOOL_BUTTONS; ++i)
        if (m_tools[i].m_hWnd)
            m_tools[i].SetCheck(i + 1 == tool ? BST_CHECKED : BST_UNCHECKED);
}

BOOL CDlgWbToolPanel::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const UINT id = LOWORD(wParam);
    const UINT code = HIWORD(wParam);
    CWnd* frame = GetParent();
    if (!frame)
        return CDialog::OnCommand(wParam, lParam);
    if (id == IDC_WB_T_ZOOM) {
        if (code == CBN_SELCHANGE) {
            int sel = m_zoom.GetCurSel();
            if (sel >= 0)
                frame->SendMessage(WM_WB_SET_ZOOM, (WPARAM)sel, (LPARAM)m_zoom.GetItemData(sel));
        }
        return TRUE;
    }
    if (code != BN_CLICKED)
        return CDialog::OnCommand(wParam, lParam);
    if (UINT command = CommandOfButton(id)) {
        frame->SendMessage(WM_COMMAND, command, 0);
        return TRUE;
    }
    switch (id) {
    case IDC_WB_T_FONT:
        frame->SendMessage(WM_COMMAND, ID_WB_FONT, 0);
        return TRUE;
    case IDC_WB_T_RULER:
        frame->SendMessage(WM_COMMAND, IDC_WB_T_RULER, 0);
        return TRUE;
    case IDC_WB_T_CAPTURE:
        // Left to the ordinary command routing above the frame.
        frame->SendMessage(WM_COMMAND, IDC_WB_T_CAPTURE, 0);
        return TRUE;
    default:
        return CDialog::OnCommand(wParam, lParam);
    }
}

LRESULT CDlgWbToolPanel::OnColourChanged(WPARAM wParam, LPARAM)
{
    if (CWnd* frame = GetParent())
        frame->SendMessage(WM_WB_SET_COLOUR, wParam, 0);
    return 0;
}

BOOL CDlgWbToolPanel::OnEraseBkgnd(CDC* pDC)
{
    CRect rc;
    GetClientRect(&rc);
    pDC->FillSolidRect(&rc, RGB(255, 255, 255));
    return TRUE;
}
