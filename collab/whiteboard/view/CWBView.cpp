#include "CWBView.h"

#include "CIconObj.h"
#include "CTextObj.h"
#include "CWBChange.h"
#include "CWBPicture.h"
#include "CScopedLock.h"

IMPLEMENT_DYNCREATE(CWBView, CScrollView)

BEGIN_MESSAGE_MAP(CWBView, CScrollView)
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_MOUSEMOVE()
    ON_WM_RBUTTONDOWN()
    ON_WM_RBUTTONUP()
    ON_WM_SETCURSOR()
    ON_WM_ERASEBKGND()
    ON_WM_SIZE()
    ON_MESSAGE(WM_WB_TEXT_DONE, OnTextDone)
END_MESSAGE_MAP()

namespace {
const UINT kSplitSize = 0x6000;
const UINT kStampIcon = 136;
// The program's cursors of the page: drawing, and choosing or erasing; the
// system's cross and arrow where a program carries none.
const UINT kDrawCursor = 518;
const UINT kPointCursor = 520;

HCURSOR PageCursor(UINT id, LPCSTR fallback)
{
    HCURSOR cursor = NULL;
    if (HINSTANCE module = AfxGetResourceHandle())
        cursor = ::LoadCursorA(module, MAKEINTRESOURCEA(id));
    if (!cursor)
        cursor = ::LoadCursorA(::GetModuleHandleA(NULL), MAKEINTRESOURCEA(id));
    return cursor ? cursor : ::LoadCursor(NULL, fallback);
}
const COLORREF kMarkColour = 0x00DD882A;

// The object type each drawing tool makes.
int TypeOfTool(int tool)
{
    static const int types[16] = {0,
                                  0,
                                  0,
                                  WB_ICON,
                                  WB_LINE,
                                  WB_ARROW,
                                  WB_RECT,
                                  WB_RECTFILL,
                                  WB_ROUNDRECT,
                                  WB_ROUNDRECTFILL,
                                  WB_ELLIPSE,
                                  WB_ELLIPSEFILL,
                                  WB_TEXT,
                                  WB_POLY,
                                  WB_PEN,
                                  WB_PENCIL};
    return tool >= 0 && tool < 16 ? types[tool] : 0;
}

LONG MulDiv64(LONG v, int num, int den)
{
    if (den == 0)
        return v;
    LONGLONG r = (LONGLONG)v * num / den;
    if (r > 0x3FFFFFFF)
        r = 0x3FFFFFFF;
    if (r < -0x3FFFFFFF)
        r = -0x3FFFFFFF;
    return (LONG)r;
}
} // namespace

CWBView::CWBView()
    : m_dwStoredId((DWORD)-1), m_dwDocId(0), m_bOpenedHere(FALSE), m_pSettings(NULL), m_nCurPage(0),
      m_nPageWidth(600), m_nPageHeight(800), m_nState(stateNone), m_pCurObj(NULL), m_nHandle(-1),
      m_bBackgroundTried(FALSE), m_bEditRight(TRUE), m_nZoomNum(100), m_nZoomDen(100)
{}

CWBView::~CWBView()
{
    delete m_pCurObj;
    m_pCurObj = NULL;
    m_selection.RemoveAll();
    m_doc.Clear();
}

BOOL CWBView::CreateView(CWnd* pParent, UINT nID, WB_SETTINGS* pSettings)
{
    m_pSettings = pSettings;
    SIZE size;
    m_doc.GetPageSize(&size);
    m_nPageWidth = size.cx;
    m_nPageHeight = size.cy;
    CRect rc;
    if (pParent)
        pParent->GetClientRect(&rc);
    if (!Create(NULL, NULL, WS_CHILD | WS_VSCROLL, rc, pParent, nID))
        return FALSE;
    UpdateZoom();
    ResetForTool(TRUE);
    return TRUE;
}

// ---------------------------------------------------------------- coordinates

void CWBView::UpdateZoom()
{
    SIZE page;
    m_doc.GetPageSize(&page);
    m_nPageWidth = page.cx;
    m_nPageHeight = page.cy;
    m_nZoomDen = m_pSettings && m_pSettings->zoomDen > 0 ? m_pSettings->zoomDen : 100;
    int num = m_pSettings ? m_pSettings->zoomNum : 100;
    if (num <= 0) {
        CRect rc;
        if (m_hWnd)
            GetClientRect(&rc);
        num = m_nPageWidth > 0 ? (int)((double)rc.Width() * 100 / m_nPageWidth) : 100;
        if (num < 1)
            num = 1;
    }
    m_nZoomNum = num;
    if (m_hWnd) {
        CSize total(MulDiv64(m_nPageWidth, m_nZoomNum, m_nZoomDen),
                    MulDiv64(m_nPageHeight, m_nZoomNum, m_nZoomDen));
        SetScrollSizes(MM_TEXT, total, CSize(50, 50), CSize(10, 10));
    }
}

void CWBView::Rescale()
{
    UpdateZoom();
    DropBackground();
    if (m_hWnd)
        Invalidate(FALSE);
}

CPoint CWBView::ClientToDoc(CPoint pt) const
{
    CPoint scroll = m_hWnd ? GetScrollPosition() : CPoint(0, 0);
    return CPoint(MulDiv64(pt.x + scroll.x, m_nZoomDen, m_nZoomNum),
                  MulDiv64(pt.y + scroll.y, m_nZoomDen, m_nZoomNum));
}

CPoint CWBView::DocToClient(CPoint pt) const
{
    CPoint scroll = m_hWnd ? GetScrollPosition() : CPoint(0, 0);
    return CPoint(MulDiv64(pt.x, m_nZoomNum, m_nZoomDen) - scroll.x,
                  MulDiv64(pt.y, m_nZoomNum, m_nZoomDen) - scroll.y);
}

CRect CWBView::DocToClient(const RECT& rc) const
{
    return CRect(DocToClient(CPoint(rc.left, rc.top)), DocToClient(CPoint(rc.right, rc.bottom)));
}

void CWBView::InvalidateDoc(const RECT& rcDoc, BOOL bErase)
{
    if (!m_hWnd || ::IsRectEmpty(&rcDoc))
        return;
    CRect rc = DocToClient(rcDoc);
    rc.NormalizeRect();
    rc.InflateRect(1, 1);
    InvalidateRect(&rc, bErase);
}

void CWBView::InvalidateObject(CDrawObj* pObj)
{
    if (!pObj)
        return;
    CRect rc;
    pObj->GetUpdateRect(&rc);
    InvalidateDoc(rc);
}

// ---------------------------------------------------------------- painting

BOOL CWBView::OnEraseBkgnd(CDC*) { return TRUE; }

void CWBView::DropBackground()
{
    m_background.DeleteObject();
    m_bBackgroundTried = FALSE;
}

void CWBView::DrawBackground(CDC* pDC)
{
    CWBPage* page = m_doc.GetPage(m_nCurPage);
    if (!page || page->m_strBackground.IsEmpty())
        return;
    int cx = MulDiv64(m_nPageWidth, m_nZoomNum, m_nZoomDen),
        cy = MulDiv64(m_nPageHeight, m_nZoomNum, m_nZoomDen);
    if (!m_bBackgroundTried) {
        m_bBackgroundTried = TRUE;
        CWBPicture picture;
        if (picture.LoadFile(page->m_strBackground))
            picture.Render(pDC, cx, cy, m_background);
    }
    if (!m_background.GetSafeHandle())
        return;
    CDC mdc;
    mdc.CreateCompatibleDC(pDC);
    CBitmap* old = mdc.SelectObject(&m_background);
    pDC->BitBlt(0, 0, cx, cy, &mdc, 0, 0, SRCCOPY);
    mdc.SelectObject(old);
}

void CWBView::OnDraw(CDC* pDC)
{
    CRect client;
    GetClientRect(&client);
    CPoint scroll = GetScrollPosition();
    CDC mem;
    CBitmap bitmap;
    if (!mem.CreateCompatibleDC(pDC) ||
        !bitmap.CreateCompatibleBitmap(pDC, client.Width(), client.Height()))
        return;
    CBitmap* oldBitmap = mem.SelectObject(&bitmap);
    mem.SetViewportOrg(-scroll.x, -scroll.y);
    mem.FillSolidRect(scroll.x, scroll.y, client.Width(), client.Height(), RGB(255, 255, 255));
    DrawBackground(&mem);

    int cx = MulDiv64(m_nPageWidth, m_nZoomNum, m_nZoomDen),
        cy = MulDiv64(m_nPageHeight, m_nZoomNum, m_nZoomDen);
    {
        CPen pen(PS_DOT, 1, kMarkColour);
        CPen* old = mem.SelectObject(&pen);
        if (m_pSettings && m_pSettings->bRuler) {
            for (int x = 0; x < cx; x += 20) {
                mem.MoveTo(x, 0);
                mem.LineTo(x, 10);
            }
            for (int y = 0; y < cy; y += 20) {
                mem.MoveTo(0, y);
                mem.LineTo(10, y);
            }
        }
        mem.SelectObject(old);
        CPen border(PS_DOT, 2, kMarkColour);
        old = mem.SelectObject(&border);
        CGdiObject* oldBrush = mem.SelectStockObject(NULL_BRUSH);
        mem.Rectangle(0, 0, cx, cy);
        mem.SelectObject(oldBrush);
        mem.SelectObject(old);
    }

    BOOL scaled = m_nZoomNum != m_nZoomDen;
    if (CWBPage* page = m_doc.GetPage(m_nCurPage)) {
        for (POSITION pos = page->GetHeadPosition(); pos;) {
            CDrawObj* obj = page->GetNext(pos);
            scaled ? obj->DrawScaled(&mem, m_nZoomNum, m_nZoomDen) : obj->Draw(&mem);
        }
    }
    if (m_pCurObj && m_nState == stateCreating)
        scaled ? m_pCurObj->DrawScaled(&mem, m_nZoomNum, m_nZoomDen) : m_pCurObj->Draw(&mem);
    for (POSITION pos = m_selection.GetHeadPosition(); pos;) {
        CDrawObj* obj = (CDrawObj*)m_selection.GetNext(pos);
        obj->DrawHandlesScaled(&mem, m_nZoomNum, m_nZoomDen);
    }
    if (m_nState == stateSelecting || m_nState == stateErasing) {
        CPen pen(PS_DOT, 1, 0x00FF0000);
        CPen* old = mem.SelectObject(&pen);
        CGdiObject* oldBrush = mem.SelectStockObject(NULL_BRUSH);
        CPoint a(MulDiv64(m_ptStart.x, m_nZoomNum, m_nZoomDen),
                 MulDiv64(m_ptStart.y, m_nZoomNum, m_nZoomDen));
        CPoint b(MulDiv64(m_ptLast.x, m_nZoomNum, m_nZoomDen),
                 MulDiv64(m_ptLast.y, m_nZoomNum, m_nZoomDen));
        mem.Rectangle(CRect(a, b));
        mem.SelectObject(oldBrush);
        mem.SelectObject(old);
    }
    pDC->BitBlt(scroll.x, scroll.y, client.Width(), client.Height(), &mem, scroll.x, scroll.y,
                SRCCOPY);
    mem.SelectObject(oldBitmap);
}

// ---------------------------------------------------------------- sending

void CWBView::SendRecord(const std::vector<BYTE>& rec)
{
    if (!m_pSettings || rec.empty())
        return;
    CScopedLock lock(&m_pSettings->lock);
    if (!m_pSettings->Reserve((UINT)rec.size()))
        return;
    memcpy(m_pSettings->pBuffer, rec.data(), rec.size());
    if (m_pSettings->pfnChange)
        m_pSettings->pfnChange(m_pSettings->pChangeContext, this, m_pSettings->pBuffer,
                               (UINT)rec.size());
}

void CWBView::SendAllObjects()
{
    if (!m_pSettings)
        return;
    std::vector<std::vector<BYTE>> records;
    {
        CScopedLock lock(m_doc.GetLock());
        std::vector<BYTE> rec;
        DWORD items = 0;
        CWBChange::BeginAdd(rec);
        for (int p = 0; p < m_doc.GetPageCount() && p <= 0xFF; ++p) {
            CWBPage* page = m_doc.GetPage(p);
            for (POSITION pos = page->GetHeadPosition(); pos;) {
                CDrawObj* obj = page->GetNext(pos);
                UINT size = CWBChange::AddItemSize(obj);
                if (items && rec.size() + size >= kSplitSize) {
                    CWBChange::EndAdd(rec, items);
                    records.push_back(rec);
                    CWBChange::BeginAdd(rec);
                    items = 0;
                }
                if (CWBChange::AppendAddItem(rec, p, obj))
                    ++items;
            }
        }
        if (CWBChange::EndAdd(rec, items))
            records.push_back(rec);
    }
    for (const std::vector<BYTE>& r : records)
        SendRecord(r);
}

// ---------------------------------------------------------------- tools

CDrawObj* CWBView::CreateToolObject(CPoint ptDoc)
{
    int tool = m_pSettings ? m_pSettings->tool : 0;
    CDrawObj* obj = CDrawObj::CreateByType(TypeOfTool(tool), CWBDocument::NewObjectId());
    if (!obj)
        return NULL;
    obj->SetColor(m_pSettings->color);
    obj->SetWidth(m_pSettings->width);
    obj->SetStyle(m_pSettings->style);
    obj->SetFill(m_pSettings->fill);
    if (obj->GetType() == WB_ICON)
        static_cast<CIconObj*>(obj)->SetIcon(kStampIcon, ptDoc);
    if (obj->GetType() == WB_TEXT) {
        LOGFONTA lf = m_pSettings->font;
        if (m_nZoomNum != m_nZoomDen)
            lf.lfHeight = MulDiv64(lf.lfHeight, m_nZoomNum, m_nZoomDen);
        m_textEdit.Open(this, DocToClient(ptDoc), lf, m_pSettings->color);
    }
    return obj;
}

void CWBView::Commit()
{
    if (GetCapture() == this)
        ReleaseCapture();
    CDrawObj* obj = m_pCurObj;
    m_pCurObj = NULL;
    m_nState = stateDrawIdle;
    if (!obj)
        return;
    if (obj->GetType() == WB_TEXT) {
        CString text = m_textEdit.GetTextNow();
        CRect rc;
        if (m_textEdit.m_hWnd) {
            m_textEdit.GetWindowRect(&rc);
            ScreenToClient(&rc);
        }
        m_textEdit.Close();
        if (text.IsEmpty()) {
            delete obj;
            return;
        }
        obj->SetFont(m_pSettings->font);
        obj->SetText(text);
        obj->SetRect(CRect(ClientToDoc(rc.TopLeft()), ClientToDoc(rc.BottomRight())));
    }
    if (!m_doc.AddObject(m_nCurPage, obj)) {
        delete obj;
        return;
    }
    std::vector<BYTE> rec;
    if (CWBChange::BuildAdd(rec, m_nCurPage, obj))
        SendRecord(rec);
    InvalidateObject(obj);
}

void CWBView::CancelCreation()
{
    if (GetCapture() == this)
        ReleaseCapture();
    if (m_pCurObj) {
        InvalidateObject(m_pCurObj);
        delete m_pCurObj;
        m_pCurObj = NULL;
    }
    m_textEdit.Close();
    m_nState = stateDrawIdle;
}

void CWBView::HandleResult(int nResult)
{
    if (nResult == 1)
        Commit();
    else if (nResult == -1)
        CancelCreation();
    else if (m_pCurObj)
        InvalidateObject(m_pCurObj);
}

void CWBView::OnLButtonDown(UINT nFlags, CPoint point)
{
    if (!m_bEditRight || !m_pSettings)
        return;
    CPoint pt = ClientToDoc(point);
    int tool = m_pSettings->tool;
    if (tool == 1) {
        SetCapture();
        m_ptStart = m_ptLast = pt;
        m_nState = stateErasing;
    } else if (tool == 2) {
        SetCapture();
        m_ptStart = m_ptLast = pt;
        BOOL ctrl = (GetKeyState(VK_CONTROL) & 0x8000) != 0 || (nFlags & MK_CONTROL);
        m_nState = stateSelecting;
        if (!ctrl) {
            for (POSITION pos = m_selection.GetHeadPosition(); pos;) {
                CDrawObj* obj = (CDrawObj*)m_selection.GetNext(pos);
                int h = obj->HitHandle(pt);
                if (h >= 0) {
                    m_pCurObj = obj;
                    m_nHandle = h;
                    m_nState = stateDragHandle;
                    return;
                }
            }
            for (POSITION pos = m_selection.GetHeadPosition(); pos;) {
                CDrawObj* obj = (CDrawObj*)m_selection.GetNext(pos);
                if (obj->ContainsPoint(pt)) {
                    m_nState = stateMoving;
                    return;
                }
            }
        }
    } else if (tool >= 3 && tool <= 15) {
        if (!m_pCurObj || m_nState != stateCreating) {
            delete m_pCurObj;
            m_pCurObj = CreateToolObject(pt);
            if (!m_pCurObj)
                return;
            m_nState = stateCreating;
            if (tool == 12)
                return;
            int r = m_pCurObj->OnLButtonDown(pt);
            if (r == 1)
                Commit();
            else if (r == -1)
                CancelCreation();
            else
                SetCapture();
            return;
        }
        HandleResult(m_pCurObj->OnLButtonDown(pt));
    }
    Invalidate(FALSE);
}

void CWBView::OnMouseMove(UINT, CPoint point)
{
    if (!m_bEditRight || !m_pSettings)
        return;
    CPoint pt = ClientToDoc(point);
    switch (m_nState) {
    case stateDragHandle:
        if (m_pCurObj) {
            m_pCurObj->MoveHandle(m_nHandle, pt - m_ptLast);
            m_ptLast = pt;
            InvalidateObject(m_pCurObj);
        }
        break;
    case stateMoving:
        for (POSITION pos = m_selection.GetHeadPosition(); pos;) {
            CDrawObj* obj = (CDrawObj*)m_selection.GetNext(pos);
            obj->Offset(pt - m_ptLast);
            InvalidateObject(obj);
        }
        m_ptLast = pt;
        break;
    case stateSelecting:
    case stateErasing:
        m_ptLast = pt;
        Invalidate(FALSE);
        break;
    case stateCreating:
        if (m_pCurObj)
            HandleResult(m_pCurObj->OnMouseMove(pt));
        break;
    default:
        break;
    }
}

void CWBView::OnLButtonUp(UINT nFlags, CPoint point)
{
    if (!m_bEditRight || !m_pSettings)
        return;
    CPoint pt = ClientToDoc(point);
    switch (m_nState) {
    case stateErasing: {
        ReleaseCapture();
        CRect rc(m_ptStart, pt);
        rc.NormalizeRect();
        rc.InflateRect(1, 1);
        EraseInRect(rc);
        m_nState = stateEraseIdle;
        Invalidate(FALSE);
        break;
    }
    case stateDragHandle:
        EndResize(pt);
        m_nState = stateSelectIdle;
        break;
    case stateMoving:
        EndMove(pt);
        m_nState = stateSelectIdle;
        break;
    case stateSelecting: {
        ReleaseCapture();
        CRect rc(m_ptStart, pt);
        rc.NormalizeRect();
        rc.InflateRect(1, 1);
        BOOL ctrl = (GetKeyState(VK_CONTROL) & 0x8000) != 0 || (nFlags & MK_CONTROL);
        SelectInRect(rc, ctrl);
        m_nState = stateSelectIdle;
        Invalidate(FALSE);
        break;
    }
    case stateCreating:
        if (m_pCurObj && m_pCurObj->GetType() != WB_TEXT)
            HandleResult(m_pCurObj->OnLButtonUp(pt));
        break;
    default:
        if (m_pSettings->tool == 2)
            m_nState = stateSelectIdle;
        break;
    }
}

void CWBView::OnRButtonDown(UINT, CPoint point)
{
    if (!m_bEditRight || m_nState != stateCreating || !m_pCurObj || m_pCurObj->GetType() == WB_TEXT)
        return;
    HandleResult(m_pCurObj->OnRButtonDown(ClientToDoc(point)));
}

void CWBView::OnRButtonUp(UINT, CPoint point)
{
    if (!m_bEditRight || m_nState != stateCreating || !m_pCurObj || m_pCurObj->GetType() == WB_TEXT)
        return;
    HandleResult(m_pCurObj->OnRButtonUp(ClientToDoc(point)));
}

LRESULT CWBView::OnTextDone(WPARAM, LPARAM)
{
    if (m_nState == stateCreating && m_pCurObj && m_pCurObj->GetType() == WB_TEXT)
        Commit();
    return 0;
}

void CWBView::EndResize(CPoint ptDoc)
{
    if (GetCapture() == this)
        ReleaseCapture();
    CDrawObj* obj = m_pCurObj;
    m_pCurObj = NULL;
    if (!obj)
        return;
    obj->MoveHandle(m_nHandle, ptDoc - m_ptLast);
    m_ptLast = ptDoc;
    InvalidateObject(obj);
    std::vector<BYTE> rec;
    if (CWBChange::BuildResize(rec, m_nCurPage, obj->GetId(), m_nHandle, ptDoc - m_ptStart))
        SendRecord(rec);
}

void CWBView::EndMove(CPoint ptDoc)
{
    if (GetCapture() == this)
        ReleaseCapture();
    std::vector<DWORD> ids;
    for (POSITION pos = m_selection.GetHeadPosition(); pos;)
        ids.push_back(((CDrawObj*)m_selection.GetNext(pos))->GetId());
    std::vector<BYTE> rec;
    if (!ids.empty() &&
        CWBChange::BuildMove(rec, m_nCurPage, ptDoc - m_ptStart, ids.data(), (int)ids.size()))
        SendRecord(rec);
    for (POSITION pos = m_selection.GetHeadPosition(); pos;) {
        CDrawObj* obj = (CDrawObj*)m_selection.GetNext(pos);
        obj->Offset(ptDoc - m_ptLast);
        InvalidateObject(obj);
    }
    m_ptLast = ptDoc;
}

BOOL CWBView::IsSelected(CDrawObj* pObj) const { return m_selection.Find(pObj) != NULL; }

void CWBView::ClearSelection()
{
    for (POSITION pos = m_selection.GetHeadPosition(); pos;)
        InvalidateObject((CDrawObj*)m_selection.GetNext(pos));
    m_selection.RemoveAll();
}

void CWBView::SelectInRect(CRect rc, BOOL bCtrl)
{
    CWBPage* page = m_doc.GetPage(m_nCurPage);
    if (!page)
        return;
    BOOL click = rc.Width() < 3 + 2 && rc.Height() < 3 + 2;
    if (bCtrl) {
        for (POSITION pos = page->GetHeadPosition(); pos;) {
            CDrawObj* obj = page->GetNext(pos);
            if (!obj->IntersectsRect(rc))
                continue;
            POSITION at = m_selection.Find(obj);
            if (at)
                m_selection.RemoveAt(at);
            else
                m_selection.AddTail(obj);
            InvalidateObject(obj);
        }
        return;
    }
    ClearSelection();
    for (POSITION pos = page->GetHeadPosition(); pos;) {
        CDrawObj* obj = page->GetNext(pos);
        if (obj->IntersectsRect(rc)) {
            m_selection.AddTail(obj);
            InvalidateObject(obj);
            if (click)
                break;
        }
    }
}

void CWBView::EraseInRect(CRect rc)
{
    ClearSelection();
    SelectInRect(rc, FALSE);
    DeleteSelection();
}

void CWBView::DeleteSelection()
{
    if (m_selection.IsEmpty())
        return;
    std::vector<DWORD> ids;
    for (POSITION pos = m_selection.GetHeadPosition(); pos;)
        ids.push_back(((CDrawObj*)m_selection.GetNext(pos))->GetId());
    std::vector<BYTE> rec;
    if (CWBChange::BuildDelete(rec, m_nCurPage, ids.data(), (int)ids.size()))
        SendRecord(rec);
    for (POSITION pos = m_selection.GetHeadPosition(); pos;) {
        CDrawObj* obj = (CDrawObj*)m_selection.GetNext(pos);
        if (!obj)
            continue;
        InvalidateObject(obj);
        CDrawObj* removed = m_doc.RemoveObject(m_nCurPage, obj->GetId());
        // Two objects may share an id: the one taken off is deleted.
        if (removed && removed != obj) {
            POSITION other = m_selection.Find(removed);
            if (other)
                m_selection.SetAt(other, NULL);
        }
        delete removed;
    }
    m_selection.RemoveAll();
}

BOOL CWBView::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message == WM_KEYDOWN && m_bEditRight) {
        if (pMsg->wParam == VK_ESCAPE && m_nState == stateCreating) {
            CancelCreation();
            return TRUE;
        }
        if (pMsg->wParam == VK_DELETE && m_nState != stateCreating && !m_selection.IsEmpty()) {
            DeleteSelection();
            return TRUE;
        }
    }
    return CScrollView::PreTranslateMessage(pMsg);
}

BOOL CWBView::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
{
    if (nHitTest != HTCLIENT)
        return CScrollView::OnSetCursor(pWnd, nHitTest, message);
    LPCSTR cursor = IDC_ARROW;
    UINT own = 0; // a cursor of the program's, in place of cursor
    static const LPCSTR handleCursors[6] = {IDC_ARROW,  IDC_ARROW,    IDC_SIZENS,
                                            IDC_SIZEWE, IDC_SIZENWSE, IDC_SIZENESW};
    switch (m_nState) {
    case stateNone:
        break;
    case stateDrawIdle:
    case stateCreating:
        own = kDrawCursor;
        cursor = IDC_CROSS;
        break;
    case stateDragHandle:
        if (m_pCurObj)
            cursor = handleCursors[m_pCurObj->GetHandleCursor(m_nHandle) % 6];
        break;
    case stateMoving:
        cursor = IDC_SIZEALL;
        break;
    default: {
        own = kPointCursor;
        cursor = IDC_UPARROW;
        if (m_nState == stateSelectIdle && !(GetKeyState(VK_CONTROL) & 0x8000)) {
            CPoint pt;
            GetCursorPos(&pt);
            ScreenToClient(&pt);
            pt = ClientToDoc(pt);
            for (POSITION pos = m_selection.GetHeadPosition(); pos;) {
                CDrawObj* obj = (CDrawObj*)m_selection.GetNext(pos);
                int h = obj->HitHandle(pt);
                if (h >= 0) {
                    own = 0;
                    cursor = handleCursors[obj->GetHandleCursor(h) % 6];
                    break;
                }
                if (obj->ContainsPoint(pt)) {
                    own = 0;
                    cursor = IDC_SIZEALL;
                    break;
                }
            }
        }
        break;
    }
    }
    ::SetCursor(own ? PageCursor(own, cursor) : ::LoadCursor(NULL, cursor));
    return TRUE;
}

// ---------------------------------------------------------------- state

void CWBView::ResetForTool(BOOL bClearSelection)
{
    if (m_nState == stateCreating)
        Commit();
    if (bClearSelection && (!m_pSettings || m_pSettings->tool != 2))
        ClearSelection();
    int tool = m_pSettings ? m_pSettings->tool : 0;
    if (tool == 1) {
        DeleteSelection();
        m_nState = stateEraseIdle;
    } else if (tool == 2) {
        m_nState = stateSelectIdle;
    } else {
        m_nState = stateDrawIdle;
    }
    if (m_hWnd)
        Invalidate(FALSE);
}

void CWBView::SetEditRight(BOOL bRight)
{
    if (bRight == m_bEditRight)
        return;
    if (!bRight) {
        // What the user was doing ends as his release would have ended it.
        CPoint pt = m_ptLast;
        switch (m_nState) {
        case stateCreating:
            Commit();
            break;
        case stateDragHandle:
            EndResize(pt);
            break;
        case stateMoving:
            EndMove(pt);
            break;
        case stateSelecting:
        case stateErasing:
            if (GetCapture() == this)
                ReleaseCapture();
            Invalidate(FALSE);
            break;
        default:
            break;
        }
        m_bEditRight = FALSE;
        m_nState = stateNone;
        return;
    }
    m_bEditRight = TRUE;
    ResetForTool(FALSE);
}

BOOL CWBView::SetCurrentPage(int nPage)
{
    if (nPage < 0 || nPage >= m_doc.GetPageCount() || nPage == m_nCurPage)
        return FALSE;
    if (m_nState == stateCreating)
        CancelCreation();
    m_pCurObj = NULL;
    if (m_nState == stateDragHandle || m_nState == stateMoving)
        m_nState = stateSelectIdle;
    m_nCurPage = nPage;
    DropBackground();
    m_selection.RemoveAll();
    if (m_hWnd)
        Invalidate(FALSE);
    return TRUE;
}

void CWBView::ApplyChange(const BYTE* pRecord, UINT nLength)
{
    CWBChange::Result result;
    auto onRemove = [this](CDrawObj* obj) {
        POSITION at = m_selection.Find(obj);
        if (at)
            m_selection.RemoveAt(at);
        // A peer deleted what is being dragged here: the drag ends.
        if (obj == m_pCurObj && m_nState == stateDragHandle) {
            m_pCurObj = NULL;
            if (GetCapture() == this)
                ReleaseCapture();
            m_nState = stateSelectIdle;
        }
    };
    if (!CWBChange::Apply(m_doc, pRecord, nLength, m_nCurPage, result, onRemove))
        return;
    if (result.touchedCurrent)
        InvalidateDoc(result.redraw, result.action == CWBChange::actionMove);
}

BOOL CWBView::OnScrollBy(CSize sizeScroll, BOOL bDoScroll)
{
    sizeScroll.cx = 0;
    int before = GetScrollPosition().y;
    BOOL moved = CScrollView::OnScrollBy(sizeScroll, bDoScroll);
    int after = GetScrollPosition().y;
    if (bDoScroll && after != before && GetParent()) {
        if (m_pSettings)
            m_pSettings->nScrollPos = after / 10;
        GetParent()->PostMessage(WM_WB_SCROLLED, (WPARAM)(after / 10));
    }
    return moved;
}

void CWBView::ApplyScrollPos(int nPos)
{
    if (m_hWnd)
        ScrollToPosition(CPoint(0, nPos * 10));
}

void CWBView::OnSize(UINT nType, int cx, int cy)
{
    CScrollView::OnSize(nType, cx, cy);
    if (m_pSettings && m_pSettings->zoomNum <= 0)
        UpdateZoom();
}
