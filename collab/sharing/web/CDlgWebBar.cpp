#include "CDlgWebBar.h"

#include "SharingResource.h"

BEGIN_MESSAGE_MAP(CDlgWebBar, CDialog)
    ON_WM_SIZE()
    ON_WM_CTLCOLOR()
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

CDlgWebBar::CDlgWebBar() : CDialog(IDD) {}

BOOL CDlgWebBar::CreateBar(CWnd* frame)
{
    m_frame = frame;
    return Create(IDD, frame);
}

BOOL CDlgWebBar::OnInitDialog()
{
    CDialog::OnInitDialog();
    CRect r;
    GetClientRect(&r);
    Layout(r.Width());
    return TRUE;
}

CString CDlgWebBar::GetAddress() const
{
    CString text;
    if (m_hWnd)
        GetDlgItemText(IDC_WEB_ADDRESS, text);
    return text;
}

void CDlgWebBar::SetAddress(const char* text)
{
    if (m_hWnd)
        SetDlgItemText(IDC_WEB_ADDRESS, text ? text : "");
}

void CDlgWebBar::Layout(int width)
{
    struct Place
    {
        UINT id;
        int x, y, cx, cy;
    } places[] = {
        {IDC_WEB_BACK, 0, 0, 22, 22},
        {IDC_WEB_FORWARD, 22, 0, 22, 22},
        {IDC_WEB_REFRESH, 44, 0, 22, 22},
        {IDC_WEB_STOP, 66, 0, 22, 22},
        {IDC_WEB_ADDRESS, 88, 2, width - 115, 18},
        {IDC_WEB_GO, width - 17, 2, 17, 17},
    };
    for (const Place& p : places)
        if (CWnd* w = GetDlgItem(p.id))
            w->MoveWindow(p.x, p.y, p.cx > 0 ? p.cx : 0, p.cy);
}

void CDlgWebBar::OnSize(UINT type, int cx, int cy)
{
    CDialog::OnSize(type, cx, cy);
    Layout(cx);
}

void CDlgWebBar::Forward(UINT command)
{
    if (m_frame && m_frame->m_hWnd)
        m_frame->SendMessage(WM_COMMAND, MAKEWPARAM(command, BN_CLICKED), 0);
}

BOOL CDlgWebBar::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (HIWORD(wParam) == BN_CLICKED) {
        switch (LOWORD(wParam)) {
        case IDC_WEB_BACK:
            Forward(ID_WEB_BACK);
            return TRUE;
        case IDC_WEB_FORWARD:
        case IDC_WEB_REFRESH:
        case IDC_WEB_STOP:
        case IDC_WEB_GO:
            Forward(LOWORD(wParam));
            return TRUE;
        default:
            break;
        }
    }
    return CDialog::OnCommand(wParam, lParam);
}

void CDlgWebBar::OnOK()
{
    // Enter in the address field.
    Forward(ID_WEB_GO);
}

HBRUSH CDlgWebBar::OnCtlColor(CDC* dc, CWnd* wnd, UINT type)
{
    if (type == CTLCOLOR_DLG || type == CTLCOLOR_STATIC)
        return static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH));
    return CDialog::OnCtlColor(dc, wnd, type);
}

BOOL CDlgWebBar::OnEraseBkgnd(CDC* dc)
{
    CRect r;
    GetClientRect(&r);
    ::FillRect(dc->GetSafeHdc(), &r, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    return TRUE;
}
