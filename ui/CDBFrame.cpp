#include "CDBFrame.h"

#include "SkinNames.h"
#include "UiFont.h"

IMPLEMENT_DYNCREATE(CDBFrame, CFrameWnd)

BEGIN_MESSAGE_MAP(CDBFrame, CFrameWnd)
    ON_WM_CREATE()
    ON_WM_NCCALCSIZE()
    ON_WM_NCPAINT()
    ON_WM_NCHITTEST()
    ON_WM_ACTIVATE()
    ON_WM_SIZE()
    ON_WM_GETMINMAXINFO()
    ON_COMMAND(ID_CAPTION_CLOSE, OnCaptionClose)
    ON_COMMAND(ID_CAPTION_MAXIMIZE, OnCaptionMaxRestore)
    ON_COMMAND(ID_CAPTION_RESTORE, OnCaptionMaxRestore)
    ON_COMMAND(ID_CAPTION_MINIMIZE, OnCaptionMinimize)
END_MESSAGE_MAP()

CDBFrame::CDBFrame()
    : m_skinCaption(*this,
                    CSkinCaption::Layout{{13, 0, 33, 26}, {33, 0, 53, 26}, {53, 0, 73, 26}, 10}),
      m_bActive(TRUE)
{
    m_captionActive.LoadFromFile(SKIN_MAIN_TOP, 60, 70, TRUE);
    m_captionInactive.LoadFromFile(SKIN_MAIN_TOP, 60, 70, TRUE);
    m_title.LoadFromFile(SKIN_MAIN_TITLE, 50, 100, TRUE);
    m_skinCaption.LoadBorders(SKIN_MAIN_BORDER_LEFT, SKIN_MAIN_BORDER_RIGHT,
                              SKIN_MAIN_BORDER_BOTTOM, 32, 60, 20, 60);
}

int CDBFrame::GetCaptionHeight() const
{
    // Without its bitmap the caption keeps the system's caption height.
    return m_captionActive.IsEmpty() ? ::GetSystemMetrics(SM_CYCAPTION)
                                     : m_captionActive.GetHeight();
}

void CDBFrame::OnMaxRestore() {}

void CDBFrame::OnCloseButton() { PostMessage(WM_CLOSE); }

int CDBFrame::OnCreate(LPCREATESTRUCT cs)
{
    if (CFrameWnd::OnCreate(cs) == -1)
        return -1;
    ModifyStyle(WS_CAPTION, 0);
    ModifyStyleEx(WS_EX_DLGMODALFRAME, 0);
    SetWindowPos(NULL, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    CRect window;
    GetWindowRect(&window);
    SetWindowPos(NULL, 0, 0, window.Width(),
                 window.Height() - ::GetSystemMetrics(SM_CYCAPTION) + GetCaptionHeight() +
                     BORDER_TOP + BORDER_BOTTOM,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

    m_skinCaption.CreateButtons(
        {SKIN_MAIN_CLOSE_BTN, SKIN_MAX_BUTTON, SKIN_RESTORE_BUTTON, SKIN_MIN_BUTTON});
    return 0;
}

void CDBFrame::OnNcCalcSize(BOOL calcValidRects, NCCALCSIZE_PARAMS* params)
{
    m_skinCaption.CalcSize(params, GetCaptionHeight());
}

void CDBFrame::OnNcPaint()
{
    const int captionHeight = GetCaptionHeight();
    m_skinCaption.PaintNonClient(captionHeight, [&](CDC* mem, int width) {
        (m_bActive ? m_captionActive : m_captionInactive).Draw(mem, 0, 0, width, captionHeight);
        CString text;
        GetWindowText(text);
        CFont* oldFont = mem->SelectObject(GetUiFont());
        mem->SetBkMode(TRANSPARENT);
        mem->SetTextColor(TITLE_COLOUR);
        CRect titleRect(28, 7, 678, m_title.IsEmpty() ? captionHeight : m_title.GetHeight());
        mem->DrawText(text, &titleRect, 0);
        mem->SelectObject(oldFont);
    });
}

UINT CDBFrame::OnNcHitTest(CPoint point)
{
    const UINT hit = m_skinCaption.HitTest(point, GetCaptionHeight());
    return hit ? hit : CFrameWnd::OnNcHitTest(point);
}

LRESULT CDBFrame::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_hWnd && (GetStyle() & WS_SYSMENU)) {
        MSG msg = {m_hWnd, message, wParam, lParam, 0, {0, 0}};
        m_skinCaption.RelayToButtons(&msg);
    }
    return CFrameWnd::WindowProc(message, wParam, lParam);
}

BOOL CDBFrame::PreTranslateMessage(MSG* pMsg)
{
    if (m_hWnd && (GetStyle() & WS_SYSMENU))
        m_skinCaption.RelayToToolTip(pMsg);
    return CFrameWnd::PreTranslateMessage(pMsg);
}

void CDBFrame::OnActivate(UINT state, CWnd* other, BOOL minimized)
{
    CFrameWnd::OnActivate(state, other, minimized);
    m_bActive = state != WA_INACTIVE;
    if (m_skinCaption.ToolTip().GetSafeHwnd())
        SendMessage(WM_NCPAINT);
}

void CDBFrame::OnSize(UINT type, int cx, int cy)
{
    CFrameWnd::OnSize(type, cx, cy);
    m_skinCaption.OnSize(type);
}

void CDBFrame::OnGetMinMaxInfo(MINMAXINFO* info)
{
    CFrameWnd::OnGetMinMaxInfo(info);
    RECT work = {0, 0, 0, 0};
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    info->ptMaxPosition.x = work.left - 1;
    info->ptMaxPosition.y = work.top - 1;
    info->ptMaxSize.x = work.right - work.left + 2;
    info->ptMaxSize.y = work.bottom - work.top + 2;
    info->ptMaxTrackSize.x = 5000;
    info->ptMaxTrackSize.y = 5000;
}

void CDBFrame::OnCaptionClose() { OnCloseButton(); }

void CDBFrame::OnCaptionMaxRestore() { OnMaxRestore(); }

void CDBFrame::OnCaptionMinimize() { ShowWindow(SW_SHOWMINNOACTIVE); }
