#include "CDlgSplitter.h"

#include "IFrameHost.h"
#include "MainFrameMessages.h"
#include "MainFrameResource.h"
#include "UiResource.h"
#include "WindowLayout.h"

BEGIN_MESSAGE_MAP(CDlgSplitter, CDialog)
    ON_WM_LBUTTONDOWN()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONUP()
    ON_WM_SETCURSOR()
    ON_WM_CAPTURECHANGED()
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

CDlgSplitter::CDlgSplitter() : CDialog(IDD_SPLITTER) {}

BOOL CDlgSplitter::CreateBar(CWnd* parent, IFrameHost* host)
{
    m_host = host;
    if (!Create(IDD_SPLITTER, parent))
        return FALSE;
    m_cursor = ::LoadCursorA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDC_UI_SPLIT));
    if (!m_cursor)
        m_cursor = ::LoadCursor(NULL, IDC_SIZENS);
    return TRUE;
}

BOOL CDlgSplitter::OnEraseBkgnd(CDC* dc)
{
    CRect client;
    GetClientRect(&client);
    dc->FillSolidRect(&client, RGB(0xD8, 0xE4, 0xF0));
    return TRUE;
}

BOOL CDlgSplitter::OnSetCursor(CWnd*, UINT, UINT)
{
    ::SetCursor(m_cursor);
    return TRUE;
}

void CDlgSplitter::DrawDragRect(const CRect& rect)
{
    // An inverted one-pixel frame on the desktop; drawing it again erases it.
    HDC dc = ::GetDC(NULL);
    if (!dc)
        return;
    ::DrawFocusRect(dc, &rect);
    ::ReleaseDC(NULL, dc);
}

void CDlgSplitter::OnLButtonDown(UINT, CPoint point)
{
    if (!m_host || m_host->GetDisplayMode() != DISPLAY_DATA)
        return;
    SetCapture();
    m_press = point;
    m_dragging = true;
    GetClientRect(&m_dragRect);
    ClientToScreen(&m_dragRect);
    DrawDragRect(m_dragRect);
}

void CDlgSplitter::OnMouseMove(UINT, CPoint point)
{
    if (!m_dragging)
        return;
    CRect next;
    GetClientRect(&next);
    ClientToScreen(&next);
    next.OffsetRect(0, point.y - m_press.y);
    DrawDragRect(m_dragRect);
    m_dragRect = next;
    DrawDragRect(m_dragRect);
}

void CDlgSplitter::OnLButtonUp(UINT, CPoint point)
{
    if (!m_dragging)
        return;
    OnMouseMove(0, point);
    DrawDragRect(m_dragRect);
    m_dragging = false;
    ReleaseCapture();
    CWnd* frame = GetParent();
    if (!frame)
        return;
    CRect inFrame = m_dragRect;
    frame->ScreenToClient(&inFrame);
    frame->SendMessage(WM_SPLITTER_MOVED, (WPARAM)inFrame.top, 0);
}

void CDlgSplitter::OnCaptureChanged(CWnd* wnd)
{
    if (m_dragging && wnd != this) {
        // Capture taken away: the drag ends without a move.
        DrawDragRect(m_dragRect);
        m_dragging = false;
    }
    CDialog::OnCaptureChanged(wnd);
}
