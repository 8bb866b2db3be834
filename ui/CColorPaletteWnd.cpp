#include "CColorPaletteWnd.h"

#include "CColorPaletteButton.h"

const char* const CColorPaletteWnd::CLASS_NAME = "ColorPalette";
int CColorPaletteWnd::m_nHover = -1;

BEGIN_MESSAGE_MAP(CColorPaletteWnd, CWnd)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_MESSAGE(WM_SET_INITIAL, OnSetInitial)
    ON_COMMAND(ID_MORE, OnMore)
    ON_WM_DRAWITEM()
END_MESSAGE_MAP()

namespace {
const BYTE kGreys[12] = {255, 232, 209, 186, 163, 140, 117, 94, 71, 48, 23, 0};
}

CColorPaletteWnd::CColorPaletteWnd()
    : m_pButton(NULL), m_crCurrent(::GetSysColor(COLOR_BTNFACE)),
      m_crInitial(::GetSysColor(COLOR_BTNFACE)), m_ptDown(0, 0)
{}

CColorPaletteWnd::~CColorPaletteWnd() {}

int CColorPaletteWnd::CellFromPoint(CPoint point)
{
    if (point.x < 0 || point.y < 0 || point.x >= GRID_COLUMNS * 10 || point.y >= GRID_ROWS * 10)
        return -1;
    if (point.x % 10 == 0 || point.y % 10 == 0)
        return -1;
    return point.x / 10 + GRID_COLUMNS * (point.y / 10);
}

COLORREF CColorPaletteWnd::CellColour(int nCell)
{
    if (nCell < 0 || nCell >= GRID_COLUMNS * GRID_ROWS)
        return CLR_INVALID;
    int column = nCell % GRID_COLUMNS, row = nCell / GRID_COLUMNS;
    if (column == 0)
        return RGB(kGreys[row], kGreys[row], kGreys[row]);
    // Down a column blue steps; across six columns green; red by column
    // group and band (rows 0-5, 6-11).
    int blue = (row % 6) * 0x33;
    int green = ((column - 1) % 6) * 0x33;
    int red = ((column - 1) / 6 + 3 * (row / 6)) * 0x33;
    return RGB(red, green, blue);
}

BOOL CColorPaletteWnd::Create(CColorPaletteButton* pButton)
{
    m_pButton = pButton;
    WNDCLASSA wc = {};
    if (!::GetClassInfoA(AfxGetInstanceHandle(), CLASS_NAME, &wc)) {
        wc.lpfnWndProc = ::DefWindowProcA;
        wc.hInstance = AfxGetInstanceHandle();
        wc.hCursor = ::LoadCursorA(NULL, IDC_ARROW);
        wc.hbrBackground = (HBRUSH)(COLOR_BTNFACE + 1);
        wc.lpszClassName = CLASS_NAME;
        // Without its class the palette does not open (nothing is thrown
        // through the button's mouse handling).
        if (!AfxRegisterClass(&wc)) {
            delete this;
            return FALSE;
        }
    }
    CRect br;
    pButton->GetWindowRect(&br);
    int x = br.left, y = br.bottom - 1;
    int sx = ::GetSystemMetrics(SM_CXSCREEN), sy = ::GetSystemMetrics(SM_CYSCREEN);
    if (x + WIDTH > sx)
        x = sx - WIDTH;
    if (x < 0)
        x = 0;
    if (y + HEIGHT > sy)
        y -= HEIGHT;
    if (!CreateEx(WS_EX_TOPMOST, CLASS_NAME, "Palatte", WS_POPUP | WS_BORDER | WS_VISIBLE, x, y,
                  WIDTH, HEIGHT, pButton->m_hWnd, NULL)) {
        delete this;
        return FALSE;
    }
    m_font.CreateFont(-12, 0, 0, 0, 400, 0, 0, 0, GB2312_CHARSET, 0, 0, 0, 0, "宋体");
    m_more.Create(NULL, WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, CRect(167, 126, 183, 142), this,
                  ID_MORE);
    SetCapture();
    return TRUE;
}

void CColorPaletteWnd::PostNcDestroy() { delete this; }

BOOL CColorPaletteWnd::OnEraseBkgnd(CDC* pDC)
{
    CRect rc;
    GetClientRect(&rc);
    pDC->FillSolidRect(&rc, RGB(255, 255, 255));
    for (int x = 9; x <= 179; x += 10)
        pDC->FillSolidRect(x, 0, 1, 120, RGB(128, 128, 128));
    for (int y = 9; y <= 119; y += 10)
        pDC->FillSolidRect(0, y, 190, 1, RGB(128, 128, 128));
    pDC->FillSolidRect(0, 120, rc.Width(), rc.Height() - 120, RGB(192, 192, 192));
    pDC->Draw3dRect(4, 124, 37, 20, RGB(128, 128, 128), RGB(255, 255, 255));
    return TRUE;
}

void CColorPaletteWnd::OnPaint()
{
    CPaintDC dc(this);
    OnEraseBkgnd(&dc);
    for (int cell = 0; cell < GRID_COLUMNS * GRID_ROWS; ++cell) {
        int column = cell % GRID_COLUMNS, row = cell / GRID_COLUMNS;
        dc.FillSolidRect(column * 10, row * 10, 9, 9, CellColour(cell));
    }
    if (m_nHover >= 0) {
        CRect focus((m_nHover % GRID_COLUMNS) * 10 - 1, (m_nHover / GRID_COLUMNS) * 10 - 1, 0, 0);
        focus.right = focus.left + 11;
        focus.bottom = focus.top + 11;
        dc.DrawFocusRect(&focus);
    }
    dc.FillSolidRect(5, 125, 35, 18, m_crCurrent);
    CString hex;
    hex.Format("#%02X%02X%02X", GetRValue(m_crCurrent), GetGValue(m_crCurrent),
               GetBValue(m_crCurrent));
    CFont* pOld = dc.SelectObject(&m_font);
    dc.SetBkMode(TRANSPARENT);
    dc.TextOut(80, 127, hex);
    dc.SelectObject(pOld);
}

void CColorPaletteWnd::OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDIS)
{
    if (nIDCtl != ID_MORE) {
        CWnd::OnDrawItem(nIDCtl, lpDIS);
        return;
    }
    CDC* pDC = CDC::FromHandle(lpDIS->hDC);
    CRect rc(lpDIS->rcItem);
    pDC->FillSolidRect(&rc, ::GetSysColor(COLOR_BTNFACE));
    pDC->FillSolidRect(2, 2, 8, 8, RGB(255, 0, 0));
    pDC->FillSolidRect(5, 5, 8, 8, RGB(0, 255, 0));
    pDC->FillSolidRect(8, 8, 6, 6, RGB(255, 255, 0));
}

LRESULT CColorPaletteWnd::OnSetInitial(WPARAM wParam, LPARAM)
{
    m_crCurrent = m_crInitial = (COLORREF)wParam;
    Invalidate();
    return 0;
}

void CColorPaletteWnd::Track(CPoint point)
{
    CRect rc;
    GetClientRect(&rc);
    CPoint screen = point;
    ClientToScreen(&screen);
    if (rc.PtInRect(point)) {
        int cell = CellFromPoint(point);
        if (point.y < GRID_ROWS * 10) {
            if (cell >= 0) {
                if (cell != m_nHover) {
                    m_nHover = cell;
                    Invalidate(FALSE);
                }
                m_crCurrent = CellColour(cell);
            }
        } else {
            m_crCurrent = m_crInitial;
        }
    } else {
        // The eyedropper: the screen pixel under the cursor.
        HDC hScreen = ::GetDC(NULL);
        COLORREF c = ::GetPixel(hScreen, screen.x, screen.y);
        ::ReleaseDC(NULL, hScreen);
        if (c != CLR_INVALID)
            m_crCurrent = c;
    }
    CRect preview(5, 125, 190, 143);
    InvalidateRect(&preview, FALSE);
    if (m_pButton)
        m_pButton->UpdateCursor(screen);
}

void CColorPaletteWnd::OnMouseMove(UINT, CPoint point) { Track(point); }

void CColorPaletteWnd::OnLButtonDown(UINT nFlags, CPoint point)
{
    // The press is remembered; the button forwards its own press here.
    (void)nFlags;
    m_ptDown = point;
    if ((HWND)::GetCapture() != m_hWnd)
        SetCapture();
}

void CColorPaletteWnd::OnLButtonUp(UINT, CPoint point)
{
    CRect more;
    m_more.GetWindowRect(&more);
    ScreenToClient(&more);
    if (more.PtInRect(point)) {
        ReleaseCapture();
        if (m_pButton)
            m_pButton->PostMessage(WM_MORE_COLOURS);
        return;
    }
    Track(point);
    ReleaseCapture();
    if (m_pButton)
        m_pButton->PostMessage(WM_LBUTTONUP, (WPARAM)m_crCurrent, (LPARAM)m_hWnd);
}

void CColorPaletteWnd::OnMore()
{
    ReleaseCapture();
    if (m_pButton)
        m_pButton->PostMessage(WM_MORE_COLOURS);
}
