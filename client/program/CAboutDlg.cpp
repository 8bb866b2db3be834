#include "CAboutDlg.h"

#include "ProgramResource.h"

BEGIN_MESSAGE_MAP(CAboutDlg, CLangDialog)
    ON_WM_ERASEBKGND()
    ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

CAboutDlg::CAboutDlg(CWnd* parent)
    : CLangDialog(IDD_ABOUTBOX, "CAboutDlg11", parent), m_pictureSize(0, 0)
{}

CAboutDlg::~CAboutDlg()
{
    if (m_picture)
        ::DeleteObject(m_picture);
}

BOOL CAboutDlg::OnInitDialog()
{
    CLangDialog::OnInitDialog();
    m_picture = static_cast<HBITMAP>(
        ::LoadImageA(NULL, "Skins\\About.bmp", IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
    if (m_picture) {
        BITMAP info = {};
        ::GetObject(m_picture, sizeof info, &info);
        m_pictureSize = CSize(info.bmWidth, info.bmHeight);
        CRect client;
        GetClientRect(&client);
        if (client.Width() != info.bmWidth || client.Height() != info.bmHeight) {
            // The client area takes the picture's size; the frame stays around it.
            CRect window;
            GetWindowRect(&window);
            int cx = window.Width() - client.Width() + info.bmWidth;
            int cy = window.Height() - client.Height() + info.bmHeight;
            SetWindowPos(NULL, 0, 0, cx, cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
            CenterWindow();
        }
        // The OK button keeps its place at the picture's lower right corner.
        if (CWnd* ok = GetDlgItem(IDOK)) {
            CRect button;
            ok->GetWindowRect(&button);
            ok->SetWindowPos(NULL, info.bmWidth - button.Width() - 10,
                             info.bmHeight - button.Height() - 10, 0, 0,
                             SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
    return TRUE;
}

BOOL CAboutDlg::OnEraseBkgnd(CDC* dc)
{
    if (!m_picture)
        return CLangDialog::OnEraseBkgnd(dc);
    HDC mem = ::CreateCompatibleDC(dc->GetSafeHdc());
    HGDIOBJ old = ::SelectObject(mem, m_picture);
    ::BitBlt(dc->GetSafeHdc(), 0, 0, m_pictureSize.cx, m_pictureSize.cy, mem, 0, 0, SRCCOPY);
    ::SelectObject(mem, old);
    ::DeleteDC(mem);
    return TRUE;
}

HBRUSH CAboutDlg::OnCtlColor(CDC* dc, CWnd* wnd, UINT ctlColor)
{
    if (m_picture && ctlColor == CTLCOLOR_STATIC) {
        // Texts lie over the picture.
        dc->SetBkMode(TRANSPARENT);
        return static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH));
    }
    return CLangDialog::OnCtlColor(dc, wnd, ctlColor);
}
