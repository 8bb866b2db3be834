#include "CDlgScreenCapture.h"

#include "CScreenBitmapFile.h"
#include "SettingsResource.h"

#include <cstdio>

namespace {
// The colour text of the pixel last shown, kept for the whole run.
CString g_lastColour;

const char* const kHintNone =
    "\r\n ·按下鼠标左键不放选择截取\r\n 范围\r\n\r\n ·按ESC键或鼠标右键退出";
const char* const kHintDragging = "\r\n ·松开鼠标左键确定截取范围\r\n\r\n ·按ESC键退出";
const char* const kHintSelected =
    "\r\n ·用鼠标左键调整截取范围的\r\n 大小和位置\r\n\r\n ·截取范围内双击鼠标左键保"
    "\r\n 存图像，结束操作\r\n\r\n ·点击鼠标右键重新选择";

CString ColourUnderCursor()
{
    POINT pt;
    GetCursorPos(&pt);
    HDC screen = ::GetDC(NULL);
    COLORREF c = GetPixel(screen, pt.x, pt.y);
    ::ReleaseDC(NULL, screen);
    if (c == CLR_INVALID)
        c = 0;
    char text[48];
    snprintf(text, sizeof text, "(%d,%d,%d)", GetRValue(c), GetGValue(c), GetBValue(c));
    return text;
}
} // namespace

CDlgScreenCapture::CDlgScreenCapture(const std::string& path)
    : CDialog(IDD_SCREEN_CAPTURE, NULL), m_path(path),
      m_tracker(CRect(-1, -1, -1, -1), CRectTracker::solidLine)
{
    m_cx = GetSystemMetrics(SM_CXSCREEN);
    m_cy = GetSystemMetrics(SM_CYSCREEN);
    m_tracker.m_nStyle = CRectTracker::resizeInside | CRectTracker::solidLine;
    m_tracker.m_nHandleSize = 6;
    HDC display = CreateDCA("DISPLAY", NULL, NULL, NULL);
    HDC memory = CreateCompatibleDC(display);
    m_snapshot = CreateCompatibleBitmap(display, m_cx, m_cy);
    HGDIOBJ old = SelectObject(memory, m_snapshot);
    BitBlt(memory, 0, 0, m_cx, m_cy, display, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    DeleteDC(memory);
    DeleteDC(display);
    m_cursor = LoadCursor(NULL, IDC_CROSS);
}

CDlgScreenCapture::~CDlgScreenCapture()
{
    if (m_snapshot)
        DeleteObject(m_snapshot);
}

BOOL CDlgScreenCapture::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_info.SubclassDlgItem(IDC_CAPTURE_INFO, this);
    ::SetWindowPos(m_hWnd, HWND_TOPMOST, 0, 0, m_cx, m_cy, SWP_SHOWWINDOW);
    CRect box;
    m_info.GetWindowRect(&box);
    m_info.SetWindowPos(NULL, 10, 10, box.Width(), box.Height(), SWP_NOZORDER);
    WriteInfo();
    return TRUE;
}

CString CDlgScreenCapture::Hint() const
{
    if (m_bDragging)
        return kHintDragging;
    return m_bSelected ? kHintSelected : kHintNone;
}

void CDlgScreenCapture::WriteInfo()
{
    if (g_lastColour.IsEmpty())
        g_lastColour = ColourUnderCursor();
    if (m_info.m_hWnd)
        m_info.SetWindowText(InfoText());
}

CString CDlgScreenCapture::InfoText() const
{
    return CString("\r\n\r\n\r\n ·当前像素RGB ") + g_lastColour + "\r\n" + Hint();
}

void CDlgScreenCapture::RepaintArea()
{
    if (!m_hWnd)
        return;
    CRect window, edit;
    GetWindowRect(&window);
    HRGN area = CreateRectRgn(0, 0, window.Width(), window.Height());
    if (m_info.m_hWnd) {
        m_info.GetWindowRect(&edit);
        ScreenToClient(&edit);
        HRGN cut = CreateRectRgn(edit.left, edit.top, edit.right, edit.bottom);
        CombineRgn(area, area, cut, RGN_DIFF);
        DeleteObject(cut);
    }
    ::InvalidateRgn(m_hWnd, area, FALSE);
    DeleteObject(area);
}

void CDlgScreenCapture::ClearSelection()
{
    m_tracker.m_rect.SetRect(-1, -1, -1, -1);
    m_bSelected = false;
    m_bDragging = false;
}

void CDlgScreenCapture::OnLButtonDown(CPoint point)
{
    if (m_tracker.HitTest(point) >= 0) {
        m_bButtonHeld = true;
        if (m_bSelected) {
            m_tracker.Track(this, point, TRUE, NULL);
            m_tracker.m_rect.NormalizeRect();
            RepaintArea();
        }
        return;
    }
    if (m_bSelected)
        return;
    m_start = point;
    m_tracker.m_rect.SetRect(point.x, point.y, point.x + 1, point.y + 1);
    m_bDragging = true;
    m_bSelected = true;
    m_bButtonHeld = true;
    WriteInfo();
}

void CDlgScreenCapture::OnMouseMove(CPoint point)
{
    if (m_bDragging) {
        // A drag up or to the left gives the same rectangle as the other way.
        CRect rect(m_start.x + 4, m_start.y + 4, point.x, point.y);
        rect.NormalizeRect();
        m_tracker.m_rect = rect;
        RepaintArea();
    }
    if (m_info.m_hWnd) {
        CRect edit;
        m_info.GetWindowRect(&edit);
        CPoint screen = point;
        ClientToScreen(&screen);
        if (edit.PtInRect(screen)) {
            CPoint inEdit = screen;
            m_info.ScreenToClient(&inEdit);
            m_info.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(inEdit.x, inEdit.y));
        }
    }
    CString colour = ColourUnderCursor();
    if (colour != g_lastColour) {
        g_lastColour = colour;
        WriteInfo();
    }
}

void CDlgScreenCapture::OnLButtonUp()
{
    m_bDragging = false;
    m_bButtonHeld = false;
    WriteInfo();
    RepaintArea();
}

void CDlgScreenCapture::OnLButtonDblClk(CPoint point)
{
    if (!m_bSelected || m_tracker.HitTest(point) != CRectTracker::hitMiddle)
        return;
    CRect rect = m_tracker.m_rect;
    rect.NormalizeRect();
    if (HBITMAP picture = CopySelection(rect)) {
        HDC screen = ::GetDC(NULL);
        int bits = CScreenBitmapFile::BitsForDisplay(GetDeviceCaps(screen, BITSPIXEL),
                                                     GetDeviceCaps(screen, PLANES));
        ::ReleaseDC(NULL, screen);
        m_bSaved = CScreenBitmapFile::Save(picture, bits, m_path.c_str());
        DeleteObject(picture);
    }
    m_bSelected = false;
    PostMessage(WM_CLOSE);
}

void CDlgScreenCapture::OnRButtonUp()
{
    if (m_bSelected) {
        ClearSelection();
        WriteInfo();
        RepaintArea();
        return;
    }
    EndDialog(IDCANCEL);
}

void CDlgScreenCapture::OnCancel()
{
    if (m_bSelected) {
        ClearSelection();
        WriteInfo();
        RepaintArea();
        return;
    }
    EndDialog(IDCANCEL);
}

HBITMAP CDlgScreenCapture::CopySelection(CRect rect) const
{
    rect.NormalizeRect();
    if (rect.left < 0)
        rect.left = 0;
    if (rect.top < 0)
        rect.top = 0;
    if (rect.right > m_cx)
        rect.right = m_cx;
    if (rect.bottom > m_cy)
        rect.bottom = m_cy;
    if (rect.IsRectEmpty() || !m_snapshot)
        return NULL;
    HDC display = ::GetDC(NULL);
    HDC source = CreateCompatibleDC(display);
    HDC target = CreateCompatibleDC(display);
    HBITMAP picture = CreateCompatibleBitmap(display, rect.Width(), rect.Height());
    HGDIOBJ oldSource = SelectObject(source, m_snapshot);
    HGDIOBJ oldTarget = SelectObject(target, picture);
    BitBlt(target, 0, 0, rect.Width(), rect.Height(), source, rect.left, rect.top, SRCCOPY);
    SelectObject(source, oldSource);
    SelectObject(target, oldTarget);
    DeleteDC(source);
    DeleteDC(target);
    ::ReleaseDC(NULL, display);
    return picture;
}

CRect CDlgScreenCapture::InfoBoxRect(CPoint cursor, CSize box, int screenWidth)
{
    CRect rect(cursor.x + 3, cursor.y - 3 - box.cy, cursor.x + 3 + box.cx, cursor.y - 3);
    if (rect.right >= screenWidth)
        rect.SetRect(cursor.x - 3 - box.cx, rect.top, cursor.x - 3, rect.bottom);
    if (rect.top < -2)
        rect.SetRect(rect.left, cursor.y + 3, rect.right, cursor.y + 3 + box.cy);
    return rect;
}

void CDlgScreenCapture::DrawInfoBox(CDC* dc, CPoint cursor)
{
    HFONT font = CreateFontA(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, GB2312_CHARSET, 0, 0, 0, 0, "宋体");
    HDC hdc = dc->m_hDC;
    HGDIOBJ oldFont = SelectObject(hdc, font);
    TEXTMETRICA metrics = {};
    GetTextMetricsA(hdc, &metrics);
    SIZE wide = {};
    GetTextExtentPoint32A(hdc, "顶点位置  ", (int)strlen("顶点位置  "), &wide);
    int line = metrics.tmHeight + metrics.tmExternalLeading;
    CRect box = InfoBoxRect(cursor, CSize(wide.cx, line * 6), m_cx);
    HGDIOBJ oldBrush = SelectObject(hdc, GetStockObject(NULL_BRUSH));
    Rectangle(hdc, box.left, box.top, box.right, box.bottom);
    SelectObject(hdc, oldBrush);
    SetBkMode(hdc, TRANSPARENT);
    CRect sel = m_tracker.m_rect;
    char lines[6][48];
    snprintf(lines[0], 48, "顶点位置");
    snprintf(lines[1], 48, "(%ld,%ld)", sel.left, sel.top);
    snprintf(lines[2], 48, "矩形大小");
    snprintf(lines[3], 48, "(%d,%d)", sel.Width(), sel.Height());
    snprintf(lines[4], 48, "光标坐标");
    POINT screen;
    GetCursorPos(&screen);
    snprintf(lines[5], 48, "(%ld,%ld)", screen.x, screen.y);
    for (int i = 0; i < 6; ++i)
        TextOutA(hdc, box.left + 2, box.top + 2 + i * line, lines[i], (int)strlen(lines[i]));
    SelectObject(hdc, oldFont);
    DeleteObject(font);
}

void CDlgScreenCapture::OnPaint()
{
    PAINTSTRUCT ps;
    HDC hdc = ::BeginPaint(m_hWnd, &ps);
    HDC memory = CreateCompatibleDC(hdc);
    HGDIOBJ old = SelectObject(memory, m_snapshot);
    BitBlt(hdc, 0, 0, m_cx, m_cy, memory, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    DeleteDC(memory);
    if (m_bSelected) {
        CDC* dc = CDC::FromHandle(hdc);
        if (m_bButtonHeld) {
            POINT cursor;
            GetCursorPos(&cursor);
            ::ScreenToClient(m_hWnd, &cursor);
            DrawInfoBox(dc, cursor);
        }
        m_tracker.Draw(dc);
    }
    ::EndPaint(m_hWnd, &ps);
}

BOOL CDlgScreenCapture::OnSetCursor(UINT hitTest)
{
    if (m_bSelected && !m_bDragging && m_tracker.SetCursor(this, hitTest))
        return TRUE;
    ::SetCursor(m_cursor);
    return TRUE;
}

LRESULT CDlgScreenCapture::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    CPoint point((short)LOWORD(lParam), (short)HIWORD(lParam));
    switch (message) {
    case WM_LBUTTONDOWN:
        OnLButtonDown(point);
        return 0;
    case WM_MOUSEMOVE:
        OnMouseMove(point);
        return 0;
    case WM_LBUTTONUP:
        OnLButtonUp();
        return 0;
    case WM_LBUTTONDBLCLK:
        OnLButtonDblClk(point);
        return 0;
    case WM_RBUTTONUP:
        OnRButtonUp();
        return 0;
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_SETCURSOR:
        if ((HWND)wParam == m_hWnd)
            return OnSetCursor(LOWORD(lParam));
        break;
    }
    return CDialog::WindowProc(message, wParam, lParam);
}
