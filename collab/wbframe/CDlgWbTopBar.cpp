#include "CDlgWbTopBar.h"

#include "WbFrameMessages.h"
#include "WbFrameResource.h"

#include <stdlib.h>

namespace {
// The top bar's buttons and the commands they send.
struct BarButton
{
    UINT button;
    UINT command;
};
const BarButton kButtons[] = {{IDC_WB_B_NEW, ID_WB_NEW},    {IDC_WB_B_OPEN, ID_WB_OPEN},
                              {IDC_WB_B_OPEN2, ID_WB_OPEN}, {IDC_WB_B_SAVE, ID_WB_SAVE},
                              {IDC_WB_B_NEXT, ID_WB_NEXT},  {IDC_WB_B_PREV, ID_WB_PREV}};
const int kListWidth = 40;
} // namespace

BEGIN_MESSAGE_MAP(CDlgWbTopBar, CDialog)
    ON_WM_SIZE()
END_MESSAGE_MAP()

CDlgWbTopBar::CDlgWbTopBar()
    : CDialog(IDD_WB_TOP_BAR), m_width(CWbLineCombo::MODE_WIDTH), m_style(CWbLineCombo::MODE_STYLE),
      m_fill(CWbLineCombo::MODE_FILL)
{}

BOOL CDlgWbTopBar::CreateBar(CWnd* parent) { return Create(IDD_WB_TOP_BAR, parent); }

BOOL CDlgWbTopBar::OnInitDialog()
{
    CDialog::OnInitDialog();
    // The tool bar sits right of the page controls; its three list buttons
    // become separators that the lists cover.
    CRect client;
    GetClientRect(&client);
    if (m_toolBar.CreateEx(this, TBSTYLE_FLAT,
                           WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP | CCS_NORESIZE | CCS_NODIVIDER,
                           CRect(0, 0, 0, 0), IDC_WB_TOOLBAR) &&
        m_toolBar.LoadToolBar(IDR_WB_TOOLBAR)) {
        const UINT lists[] = {ID_WB_WIDTH, ID_WB_STYLE, ID_WB_FILL};
        CWbLineCombo* combos[] = {&m_width, &m_style, &m_fill};
        for (int i = 0; i < 3; ++i) {
            int index = m_toolBar.CommandToIndex(lists[i]);
            if (index < 0)
                continue;
            TBBUTTONINFOA info = {sizeof info};
            info.dwMask = TBIF_STYLE | TBIF_SIZE | TBIF_BYINDEX;
            info.fsStyle = BTNS_SEP;
            info.cx = kListWidth;
            m_toolBar.SendMessage(TB_SETBUTTONINFOA, index, (LPARAM)&info);
        }
        m_toolBar.MoveWindow(300, 2, client.Width() > 300 ? client.Width() - 300 : 300, 28);
        for (int i = 0; i < 3; ++i) {
            CRect rc;
            int index = m_toolBar.CommandToIndex(lists[i]);
            if (index >= 0)
                m_toolBar.GetItemRect(index, &rc);
            else
                rc.SetRect(i * kListWidth, 0, (i + 1) * kListWidth, 22);
            m_toolBar.ClientToScreen(&rc);
            ScreenToClient(&rc);
            rc.right = rc.left + kListWidth;
            combos[i]->CreateList(this, lists[i], rc);
        }
    } else {
        for (int i = 0; i < 3; ++i) {
            CWbLineCombo* combo = i == 0 ? &m_width : i == 1 ? &m_style : &m_fill;
            combo->CreateList(
                this,
                i == 0   ? ID_WB_WIDTH
                : i == 1 ? ID_WB_STYLE
                         : ID_WB_FILL,
                CRect(300 + i * (kListWidth + 4), 4, 300 + i * (kListWidth + 4) + kListWidth, 26));
        }
    }
    SetPageTexts(0, 0);
    EnableBar(FALSE);
    return TRUE;
}

void CDlgWbTopBar::OnSize(UINT nType, int cx, int cy) { CDialog::OnSize(nType, cx, cy); }

void CDlgWbTopBar::EnableBar(BOOL bEnable)
{
    for (CWnd* child = GetWindow(GW_CHILD); child; child = child->GetWindow(GW_HWNDNEXT))
        if (child->GetDlgCtrlID() != IDC_WB_B_PAGES)
            child->EnableWindow(bEnable);
}

void CDlgWbTopBar::SetPageTexts(int page, int count)
{
    char text[32];
    if (count > 0)
        wsprintfA(text, "%d", page);
    else
        text[0] = 0;
    SetDlgItemText(IDC_WB_B_PAGE, text);
    wsprintfA(text, "共%d页", count);
    SetDlgItemText(IDC_WB_B_PAGES, text);
}

int CDlgWbTopBar::GetTypedPage() const
{
    char text[32] = {0};
    ::GetDlgItemTextA(m_hWnd, IDC_WB_B_PAGE, text, sizeof text);
    const char* p = text;
    while (*p == ' ' || *p == '\t')
        ++p;
    if (*p < '0' || *p > '9')
        return 0;
    char* end = nullptr;
    long n = strtol(p, &end, 10);
    while (*end == ' ' || *end == '\t')
        ++end;
    if (*end || n > 0xFFFF)
        return 0;
    return (int)n;
}

BOOL CDlgWbTopBar::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const UINT id = LOWORD(wParam);
    const UINT code = HIWORD(wParam);
    CWnd* frame = GetParent();
    if (!frame)
        return CDialog::OnCommand(wParam, lParam);
    if (id == ID_WB_WIDTH || id == ID_WB_STYLE || id == ID_WB_FILL) {
        if (code == CBN_SELCHANGE) {
            CWbLineCombo& list = id == ID_WB_WIDTH ? m_width : id == ID_WB_STYLE ? m_style : m_fill;
            int value = list.GetSelectedValue();
            if (value >= 0)
                frame->SendMessage(id == ID_WB_WIDTH   ? WM_WB_SET_WIDTH
                                   : id == ID_WB_STYLE ? WM_WB_SET_STYLE
                                                       : WM_WB_SET_FILL,
                                   (WPARAM)value, 0);
        }
        return TRUE;
    }
    if (id == IDC_WB_B_GOTO && code == BN_CLICKED) {
        frame->SendMessage(WM_WB_GOTO_PAGE, (WPARAM)GetTypedPage(), 0);
        return TRUE;
    }
    if (code == BN_CLICKED) {
        for (const BarButton& b : kButtons)
            if (b.button == id) {
                frame->SendMessage(WM_COMMAND, b.command, 0);
                return TRUE;
            }
        // The tool bar's own buttons carry the frame's commands.
        if (id == ID_WB_NEW || id == ID_WB_OPEN || id == ID_WB_SAVE || id == ID_WB_NEXT ||
            id == ID_WB_PREV) {
            frame->SendMessage(WM_COMMAND, id, 0);
            return TRUE;
        }
    }
    return CDialog::OnCommand(wParam, lParam);
}
