#include "CSkinDialog.h"

#include "SkinNames.h"
#include "UiFont.h"

BEGIN_MESSAGE_MAP(CSkinDialog, CLangDialog)
    ON_WM_NCCALCSIZE()
    ON_WM_NCPAINT()
    ON_WM_NCHITTEST()
    ON_WM_ACTIVATE()
    ON_WM_SIZE()
    ON_WM_CTLCOLOR()
    ON_COMMAND(ID_CAPTION_CLOSE, OnCaptionClose)
    ON_COMMAND(ID_CAPTION_MAXIMIZE, OnCaptionMaximize)
    ON_COMMAND(ID_CAPTION_RESTORE, OnCaptionRestore)
    ON_COMMAND(ID_CAPTION_MINIMIZE, OnCaptionMinimize)
END_MESSAGE_MAP()

CSkinDialog::CSkinDialog(UINT templateId, LPCTSTR section, CWnd* parent)
    : CLangDialog(templateId, section, parent),
      m_skinCaption(*this,
                    CSkinCaption::Layout{{0, 5, 20, 30}, {20, 5, 40, 30}, {40, 5, 60, 30}, 1})
{
    m_caption.LoadFromFile(SKIN_TOP, 60, 70, TRUE);
    m_skinCaption.LoadBorders(SKIN_BORDER2, SKIN_BORDER3, SKIN_BORDER1, 10, 20, 10, 20);
    m_brushBackground.CreateSolidBrush(BACKGROUND);
}

int CSkinDialog::GetCaptionHeight() const
{
    return m_caption.IsEmpty() ? ::GetSystemMetrics(SM_CYCAPTION) : m_caption.GetHeight();
}

BOOL CSkinDialog::OnInitDialog()
{
    CLangDialog::OnInitDialog();
    m_skinCaption.CreateButtons({SKIN_CLOSES, SKIN_CLOSESD, SKIN_S_BTN, SKIN_SS});
    return TRUE;
}

void CSkinDialog::OnNcCalcSize(BOOL calcValidRects, NCCALCSIZE_PARAMS* params)
{
    m_skinCaption.CalcSize(params, GetCaptionHeight());
}

void CSkinDialog::OnNcPaint()
{
    const int captionHeight = GetCaptionHeight() + BORDER_TOP;
    m_skinCaption.PaintNonClient(captionHeight, [&](CDC* mem, int width) {
        m_caption.Draw(mem, 0, 0, width, captionHeight);
        CString text;
        GetWindowText(text);
        CFont* oldFont = mem->SelectObject(GetUiFont());
        mem->SetBkMode(TRANSPARENT);
        CRect textRect(12, 2, width + 12, captionHeight + 2);
        mem->DrawText(text, &textRect, DT_SINGLELINE | DT_VCENTER);
        mem->SelectObject(oldFont);
    });
}

UINT CSkinDialog::OnNcHitTest(CPoint point)
{
    UINT hit = m_skinCaption.HitTest(point, GetCaptionHeight());
    if (hit)
        return hit;
    hit = CLangDialog::OnNcHitTest(point);
    if (hit == HTCLOSE || hit == HTMAXBUTTON || hit == HTMINBUTTON)
        hit = HTCAPTION;
    return hit;
}

BOOL CSkinDialog::PreTranslateMessage(MSG* pMsg)
{
    if (m_hWnd && (GetStyle() & WS_SYSMENU)) {
        m_skinCaption.RelayToButtons(pMsg);
        m_skinCaption.RelayToToolTip(pMsg);
    }
    return CLangDialog::PreTranslateMessage(pMsg);
}

LRESULT CSkinDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    // A lost capture and the window's end are sent, never queued: the
    // buttons hear of them here, so that none is left holding the shared
    // capture pointer.
    if (m_hWnd &&
        (message == WM_CAPTURECHANGED || message == WM_DESTROY || message == WM_NCDESTROY) &&
        (GetStyle() & WS_SYSMENU)) {
        MSG msg = {m_hWnd, message, wParam, lParam, 0, {0, 0}};
        m_skinCaption.RelayToButtons(&msg);
    }
    return CLangDialog::WindowProc(message, wParam, lParam);
}

void CSkinDialog::OnCaptionClose() { PostMessage(WM_CLOSE); }

void CSkinDialog::OnCaptionMaximize() { ShowWindow(SW_MAXIMIZE); }

void CSkinDialog::OnCaptionRestore() { ShowWindow(SW_RESTORE); }

void CSkinDialog::OnCaptionMinimize() { ShowWindow(SW_SHOWMINNOACTIVE); }

void CSkinDialog::OnSize(UINT type, int cx, int cy)
{
    CLangDialog::OnSize(type, cx, cy);
    m_skinCaption.OnSize(type);
}

void CSkinDialog::OnActivate(UINT state, CWnd* other, BOOL minimized)
{
    CLangDialog::OnActivate(state, other, minimized);
    if (m_skinCaption.ToolTip().GetSafeHwnd())
        SendMessage(WM_NCPAINT);
}

HBRUSH CSkinDialog::OnCtlColor(CDC* dc, CWnd* wnd, UINT ctlColor)
{
    if (ctlColor == CTLCOLOR_DLG || ctlColor == CTLCOLOR_STATIC) {
        dc->SetBkColor(BACKGROUND);
        return (HBRUSH)m_brushBackground.GetSafeHandle();
    }
    return CLangDialog::OnCtlColor(dc, wnd, ctlColor);
}
