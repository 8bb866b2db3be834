#include "CWBFrame.h"

#include "CScopedLock.h"
#include "CVirtualPrinterLink.h"
#include "WbFrameMessages.h"
#include "WbFrameResource.h"
#include "WireWriter.h"
#include "afxdlgs.h"

#include <algorithm>
#include <new>
#include <stdlib.h>
#include <string.h>
#include <vector>

namespace {
struct ToolCommand
{
    UINT id;
    int tool;
};
const ToolCommand kToolCommands[] = {
    {ID_WB_ERASER, 1},     {ID_WB_SELECT, 2},        {IDC_WB_T_ICON, 3},  {IDC_WB_T_LINE, 4},
    {ID_WB_LINE, 4},       {ID_WB_ARROW, 5},         {ID_WB_RECT, 6},     {ID_WB_RECTFILL, 7},
    {ID_WB_ROUNDRECT, 8},  {ID_WB_ROUNDRECTFILL, 9}, {ID_WB_ELLIPSE, 10}, {ID_WB_ELLIPSEFILL, 11},
    {ID_WB_TEXT, 12},      {IDC_WB_T_POLY, 13},      {IDC_WB_T_PEN, 14},  {ID_WB_PEN, 14},
    {IDC_WB_T_PENCIL, 15},
};
const int kZoomValues[] = {0, 50, 100, 150, 200, 400};
const char* const kPictureExtensions[] = {"bmp", "jpg", "jpeg", "ico", "emf", "cur", "wmf", "gif"};
const char kPrinterName[] = "Gastrel";

int ClampSide(int32_t v, int fallback, int limit)
{
    if (v <= 0)
        return fallback;
    return v > limit ? limit : v;
}
} // namespace

BEGIN_MESSAGE_MAP(CWBFrame, CWnd)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_DESTROY()
    ON_WM_TIMER()
    ON_MESSAGE(WM_WB_SET_COLOUR, OnSetColour)
    ON_MESSAGE(WM_WB_GOTO_PAGE, OnGotoPage)
    ON_MESSAGE(WM_WB_SET_ZOOM, OnSetZoom)
    ON_MESSAGE(WM_WB_SET_WIDTH, OnSetWidth)
    ON_MESSAGE(WM_WB_SET_STYLE, OnSetStyle)
    ON_MESSAGE(WM_WB_SET_FILL, OnSetFill)
    ON_MESSAGE(WM_WB_SCROLLED, OnScrolled)
    ON_MESSAGE(WM_WB_LANGUAGE_CHANGED, OnLanguageChanged)
END_MESSAGE_MAP()

CWBFrame::CWBFrame()
    : m_bAutoDelete(FALSE), m_pHost(NULL), m_pPrinter(NULL), m_pViews(NULL), m_bOnlinePane(TRUE),
      m_bEditRight(FALSE), m_bPrintBusy(FALSE), m_nPendingFolder(0), m_nZoomIndex(0),
      m_nScrollPos(0), m_pfnSend(NULL), m_pSendContext(NULL), m_pPacket(NULL), m_nPacketCapacity(0)
{
    ::InitializeCriticalSection(&m_packetLock);
    m_settings.pfnChange = &CWBFrame::ChangeThunk;
    m_settings.pChangeContext = this;
}

CWBFrame::~CWBFrame()
{
    m_transfers.reset();
    free(m_pPacket);
    ::DeleteCriticalSection(&m_packetLock);
}

BOOL CWBFrame::CreateFrame(CWnd* parent, UINT id, IWBFrameHost* host, IWBTransfers* transfers,
                           CVirtualPrinterLink* printer)
{
    m_pHost = host;
    m_transfers.reset(transfers);
    m_pPrinter = printer;
    CRect rc(0, 0, 800, 600);
    if (parent)
        parent->GetClientRect(&rc);
    if (!CreateEx(0,
                  AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(NULL, IDC_ARROW),
                                      (HBRUSH)(COLOR_BTNFACE + 1)),
                  "Whiteboard", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, rc, parent, id))
        return FALSE; // the caller still owns the object
    m_bAutoDelete = TRUE;
    return TRUE;
}

void CWBFrame::SetTransfers(IWBTransfers* transfers) { m_transfers.reset(transfers); }

void CWBFrame::SetSendCallback(WB_SEND_CALLBACK fn, void* context)
{
    m_pfnSend = fn;
    m_pSendContext = context;
}

void CWBFrame::PostNcDestroy()
{
    // Made with new by whoever placed it; once created it goes with its window.
    if (m_bAutoDelete)
        delete this;
}

int CWBFrame::OnCreate(LPCREATESTRUCT lpcs)
{
    if (CWnd::OnCreate(lpcs) == -1)
        return -1;
    if (!m_toolPanel.CreatePanel(this))
        return -1;
    HFONT font = (HFONT)::GetStockObject(DEFAULT_GUI_FONT);
    m_docsGroup.Create("", WS_CHILD | WS_VISIBLE | BS_GROUPBOX, CRect(0, 0, 10, 10), this,
                       IDC_WB_DOCS_GROUP);
    m_docsGroup.SendMessage(WM_SETFONT, (WPARAM)font, 0);
    m_docsOpen.Create("打开在线文档", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON | BS_MULTILINE,
                      CRect(0, 0, 10, 10), this, IDC_WB_DOCS_OPEN);
    m_docsOpen.SendMessage(WM_SETFONT, (WPARAM)font, 0);
    m_docsClose.Create("关闭在线文档", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON | BS_MULTILINE,
                       CRect(0, 0, 10, 10), this, IDC_WB_DOCS_CLOSE);
    m_docsClose.SendMessage(WM_SETFONT, (WPARAM)font, 0);
    m_docsList.Create(WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
                      CRect(0, 0, 10, 10), &m_docsGroup, IDC_WB_DOCS_LIST);
    if (!m_topBar.CreateBar(this))
        return -1;
    if (!m_tabs.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 10, 10), this, IDC_WB_TABS))
        return -1;
    m_pViews = new CWBViewManView;
    if (!m_pViews->Create(NULL, "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, CRect(0, 0, 10, 10),
                          this, IDC_WB_VIEWS)) {
        m_pViews = NULL; // a view that failed to create has freed itself
        return -1;
    }
    m_pViews->SetEditRight(FALSE);
    SelectZoomItem(m_settings.zoomNum);
    if (m_pPrinter) {
        char folder[MAX_PATH] = {0};
        ::GetModuleFileNameA(NULL, folder, MAX_PATH);
        if (char* slash = strrchr(folder, '\\'))
            slash[1] = 0;
        strncat(folder, "Temp", MAX_PATH - strlen(folder) - 1);
        if (!m_pPrinter->Init(folder))
            ShowInfo(0, "初始化失败");
    }
    CRect rc;
    GetClientRect(&rc);
    OnSize(SIZE_RESTORED, rc.Width(), rc.Height());
    return 0;
}

void CWBFrame::OnSize(UINT nType, int cx, int cy)
{
    CWnd::OnSize(nType, cx, cy);
    if (!m_toolPanel.m_hWnd || !m_topBar.m_hWnd || !m_tabs.m_hWnd || !m_pViews)
        return;
    const int left = m_bOnlinePane ? ONLINE_PANE_WIDTH : 0;
    const int show = m_bOnlinePane ? SW_SHOW : SW_HIDE;
    m_docsGroup.ShowWindow(show);
    m_docsOpen.ShowWindow(show);
    m_docsClose.ShowWindow(show);
    if (m_bOnlinePane) {
        m_docsGroup.MoveWindow(0, 1, left - 2, std::max(cy - 60, 0));
        m_docsList.MoveWindow(4, 8, left - 10, std::max(cy - 72, 0));
        m_docsOpen.MoveWindow(5, cy - 50, 70, 40);
        m_docsClose.MoveWindow(80, cy - 50, 70, 40);
    }
    m_toolPanel.MoveWindow(left, 0, TOOL_PANEL_WIDTH, cy);
    const int x = left + TOOL_PANEL_WIDTH;
    const int w = std::max(cx - x, 0);
    m_topBar.MoveWindow(x, 0, w, TOP_BAR_HEIGHT);
    const int t = std::max(m_tabs.GetHeight(), 20);
    m_tabs.MoveWindow(x, TOP_BAR_HEIGHT, w, t);
    m_pViews->MoveWindow(x, TOP_BAR_HEIGHT + t, w, std::max(cy - TOP_BAR_HEIGHT - t, 0));
}

void CWBFrame::OnDestroy()
{
    KillTimer(TIMER_PRINT);
    KillTimer(TIMER_PRINT_UPLOAD);
    KillTimer(TIMER_PRINT_CONFIRM);
    if (m_transfers)
        m_transfers->StopAll();
    if (m_pPrinter)
        m_pPrinter->RestoreDefaultPrinter();
    m_pViews = NULL; // destroyed with its window
    CWnd::OnDestroy();
}

void CWBFrame::StopAllTransfers()
{
    if (m_transfers)
        m_transfers->StopAll();
}

// ---------------------------------------------------------------- sending

void CWBFrame::Emit(const BYTE* data, size_t length)
{
    if (m_pfnSend && data && length)
        m_pfnSend(data, length, m_pSendContext);
}

BOOL CWBFrame::ReservePacket(size_t length)
{
    if (length <= m_nPacketCapacity)
        return TRUE;
    free(m_pPacket);
    m_pPacket = (BYTE*)malloc(length);
    m_nPacketCapacity = m_pPacket ? length : 0;
    return m_pPacket != NULL;
}

void CWBFrame::ChangeThunk(void* pContext, CWBView* pView, const BYTE* pRecord, UINT nLength)
{
    if (pContext)
        static_cast<CWBFrame*>(pContext)->SendChange(pView, pRecord, nLength);
}

void CWBFrame::SendChange(CWBView* pView, const BYTE* pChange, UINT nLength)
{
    if (!pView || !pChange || nLength == 0 || nLength > 0xFFFF)
        return;
    CScopedLock lock(&m_packetLock);
    const size_t size = CWBPacket::ChangeSize(nLength);
    if (!ReservePacket(size))
        return;
    WireWriter w(m_pPacket, size);
    if (CWBPacket::WriteChange(w, pView->GetDocId(), pChange, nLength))
        Emit(m_pPacket, w.Offset());
}

void CWBFrame::SendDocumentOpened(CWBView* pView, BYTE openedHere, BYTE uploadFlag,
                                  LPCTSTR lpszServer, LPCTSTR lpszStored)
{
    if (!pView)
        return;
    WB_PACKET p;
    p.doc = pView->GetDocId();
    CSize size = pView->GetPageSize();
    p.width = size.cx;
    p.height = size.cy;
    p.pages = pView->GetPageCount();
    p.backgrounds = std::min(pView->GetDocument().CountBackgrounds(), 255);
    p.openedHere = openedHere;
    p.uploadFlag = uploadFlag;
    p.title = (LPCTSTR)pView->GetTitle();
    p.server = lpszServer ? lpszServer : "";
    p.stored = lpszStored ? lpszStored : "";
    CScopedLock lock(&m_packetLock);
    const size_t length =
        CWBPacket::OpenedSize(p.title.c_str(), p.server.c_str(), p.stored.c_str());
    if (!ReservePacket(length))
        return;
    WireWriter w(m_pPacket, length);
    if (CWBPacket::WriteOpened(w, p))
        Emit(m_pPacket, w.Offset());
}

void CWBFrame::SendDocumentClosed(DWORD doc)
{
    BYTE rec[sizeof(WBP_DOC_RECORD)];
    WireWriter w(rec, sizeof rec);
    if (CWBPacket::WriteDoc(w, WBP_CLOSED, doc))
        Emit(rec, w.Offset());
}

void CWBFrame::SendDocumentActivated(CWBView* pView)
{
    if (!pView)
        return;
    BYTE rec[sizeof(WBP_DOC_RECORD)];
    WireWriter w(rec, sizeof rec);
    if (CWBPacket::WriteDoc(w, WBP_ACTIVATED, pView->GetDocId()))
        Emit(rec, w.Offset());
}

void CWBFrame::SendZoom(int num, int den)
{
    BYTE rec[sizeof(WBP_ZOOM_RECORD)];
    WireWriter w(rec, sizeof rec);
    if (CWBPacket::WriteZoom(w, (uint16_t)num, (uint16_t)den))
        Emit(rec, w.Offset());
}

void CWBFrame::SendPageChange(CWBView* pView)
{
    if (!pView)
        return;
    BYTE rec[sizeof(WBP_PAGE_RECORD)];
    WireWriter w(rec, sizeof rec);
    if (CWBPacket::WritePage(w, pView->GetDocId(), (BYTE)pView->GetCurrentPage()))
        Emit(rec, w.Offset());
}

void CWBFrame::SendScrollPos(int pos)
{
    BYTE rec[sizeof(WBP_SCROLL_RECORD)];
    WireWriter w(rec, sizeof rec);
    if (CWBPacket::WriteScroll(w, (uint32_t)pos))
        Emit(rec, w.Offset());
}

void CWBFrame::SendPageSync() { SendPageChange(ActiveView()); }

// ---------------------------------------------------------------- receiving

size_t CWBFrame::OnPeerData(const BYTE* data, size_t length)
{
    size_t used = 0;
    try {
        while (used < length) {
            WB_PACKET p;
            size_t n = CWBPacket::Read(data + used, length - used, &p);
            if (n == 0)
                break;
            used += n;
            ApplyPacket(p);
        }
    } catch (...) {
        // A record that could not be applied ends the walk; what was taken stays.
    }
    return used;
}

void CWBFrame::ApplyPacket(const WB_PACKET& p)
{
    if (!m_pViews)
        return;
    switch (p.kind) {
    case WBP_CHANGE:
        if (CWBView* view = m_pViews->FindById(p.doc))
            view->ApplyChange(p.change, p.changeLength);
        break;
    case WBP_OPENED: {
        if (m_pViews->FindById(p.doc))
            break; // announced twice: the first stands
        SIZE size = {ClampSide(p.width, DEFAULT_PAGE_WIDTH, MAX_PAGE_SIDE),
                     ClampSide(p.height, DEFAULT_PAGE_HEIGHT, MAX_PAGE_SIDE)};
        const int backgrounds = std::min(p.backgrounds, p.pages);
        CWBView* view = m_pViews->CreateRemoteDocument(&m_settings, p.doc, p.title.c_str(), size,
                                                       p.pages, backgrounds);
        if (!view)
            break;
        AddDocumentView(view, FALSE);
        if (backgrounds > 0 && m_transfers) {
            std::vector<LPCTSTR> paths(backgrounds);
            view->GetDocument().GetBackgroundPaths(paths.data(), backgrounds);
            const std::string server =
                p.server.empty() && m_pHost ? m_pHost->ServerAddress() : p.server;
            m_transfers->StartDownload(server.c_str(), p.doc, p.openedHere, p.uploadFlag,
                                       paths.data(), backgrounds, p.stored.c_str());
        }
        if (m_pHost && !m_pHost->IsChair())
            m_pHost->RequestPageSync();
        break;
    }
    case WBP_CLOSED:
        if (CWBView* view = m_pViews->FindById(p.doc))
            CloseDocument(view);
        break;
    case WBP_ACTIVATED:
        if (m_pViews->FindById(p.doc)) {
            m_tabs.SelectTab(p.doc);
            m_pViews->Activate(p.doc);
            UpdatePageTexts();
        }
        break;
    case WBP_ZOOM:
        // A zero denominator would divide by zero on every later drawing.
        if (p.zoomDen == 0)
            break;
        if (p.zoomNum != m_settings.zoomNum || p.zoomDen != m_settings.zoomDen) {
            m_settings.zoomNum = p.zoomNum;
            m_settings.zoomDen = p.zoomDen;
            m_pViews->RescaleAll();
            SelectZoomItem(p.zoomNum);
        }
        break;
    case WBP_PAGE:
        if (CWBView* view = m_pViews->FindById(p.doc)) {
            int before = view->GetCurrentPage();
            if (view->SetCurrentPage(p.page) && before != view->GetCurrentPage() &&
                view == ActiveView())
                UpdatePageTexts();
        }
        break;
    case WBP_SCROLL:
        if ((int)p.scroll != m_nScrollPos) {
            m_nScrollPos = (int)p.scroll;
            m_settings.nScrollPos = m_nScrollPos;
            m_pViews->ScrollAll(m_nScrollPos);
        }
        break;
    default:
        break;
    }
}

void CWBFrame::CloseDocument(CWBView* pView)
{
    const DWORD doc = pView->GetDocId();
    if (m_transfers && pView->GetDocument().CountBackgrounds() > 0) {
        if (pView->m_bOpenedHere)
            m_transfers->CancelUpload(doc);
        else
            m_transfers->CancelDownload(doc);
    }
    m_tabs.RemoveTab(doc);
    m_pViews->CloseDocument(doc);
    // The tab strip's current tab is the one shown from here.
    if (m_tabs.GetTabCount() > 0)
        m_pViews->Activate(m_tabs.GetCurTabId());
    UpdatePageTexts();
}

// ---------------------------------------------------------------- documents

BOOL CWBFrame::AddDocumentView(CWBView* pView, BOOL bAnnounce)
{
    if (!pView || !m_pViews)
        return FALSE;
    m_tabs.ShowWindow(SW_SHOW);
    m_tabs.AddTab(pView->GetTitle(), pView->GetDocId());
    m_tabs.SelectTab(pView->GetDocId());
    m_pViews->Activate(pView->GetDocId());
    UpdatePageTexts();
    if (!bAnnounce)
        return TRUE;
    BYTE uploadFlag = 0;
    std::string stored;
    const int backgrounds = pView->GetDocument().CountBackgrounds();
    if (backgrounds > 0 && m_transfers) {
        std::vector<LPCTSTR> paths(backgrounds);
        pView->GetDocument().GetBackgroundPaths(paths.data(), backgrounds);
        if (!m_transfers->StartUpload(pView->GetDocId(), -1, true, pView->GetTitle(),
                                      pView->GetPageSize(), paths.data(), backgrounds, &uploadFlag,
                                      &stored)) {
            uploadFlag = 0;
            stored.clear();
        }
    }
    SendDocumentOpened(pView, 1, uploadFlag, NULL, stored.c_str());
    SendDocumentActivated(pView);
    return TRUE;
}

BOOL CWBFrame::NewBlankDocument()
{
    if (!m_bEditRight || !m_pViews)
        return FALSE;
    CWBView* view = m_pViews->CreateLocalDocument(&m_settings, 1, NULL);
    return view && AddDocumentView(view, TRUE);
}

BOOL CWBFrame::IsPictureExtension(LPCTSTR lpszExt)
{
    if (!lpszExt)
        return FALSE;
    for (const char* ext : kPictureExtensions)
        if (_stricmp(lpszExt, ext) == 0)
            return TRUE;
    return FALSE;
}

BOOL CWBFrame::OpenFile(LPCTSTR lpszPath, BOOL bPrintOthers)
{
    if (!lpszPath || !*lpszPath || !m_pViews)
        return FALSE;
    CString ext = CWBDocument::GetExtension(lpszPath);
    if (ext.GetLength() > 0 && ext[0] == '.')
        ext = ext.Mid(1);
    // Extensions are compared without case: "X.JPG" is a picture too.
    if (IsPictureExtension(ext)) {
        const char* files[1] = {lpszPath};
        CWBView* view = m_pViews->CreateLocalDocument(&m_settings, 1, files);
        return view && AddDocumentView(view, TRUE);
    }
    if (_stricmp(ext, "kqf") == 0) {
        const char* files[1] = {lpszPath};
        CWBView* view = m_pViews->CreateLocalDocument(&m_settings, 1, files);
        if (!view || !AddDocumentView(view, TRUE))
            return FALSE;
        view->SendAllObjects();
        return TRUE;
    }
    if (!bPrintOthers)
        return FALSE;
    return StartPrint(lpszPath, TIMER_PRINT);
}

BOOL CWBFrame::StartPrint(LPCTSTR lpszPath, UINT timer)
{
    if (m_bPrintBusy) {
        ShowInfo(61636, "系统正忙,请稍后再试!");
        return FALSE;
    }
    ::CreateDirectoryA("C:\\PrintDir", NULL);
    ClearSpoolerJobs(kPrinterName);
    if (!m_pPrinter || !m_pPrinter->Print(m_hWnd, lpszPath)) {
        ShowInfo(61629, "不支持的文件类型");
        return FALSE;
    }
    CString ext = CWBDocument::GetExtension(lpszPath);
    if (ext.GetLength() > 0 && ext[0] == '.')
        ext = ext.Mid(1);
    if (_stricmp(ext, "ppt") == 0 || _stricmp(ext, "htm") == 0)
        SetTimer(TIMER_PRINT_CONFIRM, 500, NULL);
    SetTimer(timer, 500, NULL);
    m_bPrintBusy = TRUE;
    return TRUE;
}

void CWBFrame::ClearSpoolerJobs(LPCTSTR lpszPrinter)
{
    // Only this printer's waiting jobs: the spooler folder holds every
    // user's jobs of every printer.
    HANDLE printer = NULL;
    if (!lpszPrinter || !::OpenPrinterA((LPSTR)lpszPrinter, &printer, NULL))
        return;
    DWORD needed = 0, count = 0;
    ::EnumJobsA(printer, 0, 0xFFFFFFFF, 1, NULL, 0, &needed, &count);
    if (needed > 0) {
        std::vector<BYTE> buffer(needed);
        if (::EnumJobsA(printer, 0, 0xFFFFFFFF, 1, buffer.data(), needed, &needed, &count)) {
            const JOB_INFO_1A* jobs = (const JOB_INFO_1A*)buffer.data();
            for (DWORD i = 0; i < count; ++i)
                ::SetJobA(printer, jobs[i].JobId, 0, NULL, JOB_CONTROL_DELETE);
        }
    }
    ::ClosePrinter(printer);
}

void CWBFrame::OpenMeetingDocument(int folder)
{
    if (!m_bEditRight || !m_pHost)
        return;
    std::string path, name;
    if (!m_pHost->ChooseMeetingDocument(&path, &name))
        return;
    CString ext = CWBDocument::GetExtension(path.c_str());
    if (ext.GetLength() > 0 && ext[0] == '.')
        ext = ext.Mid(1);
    if (IsPictureExtension(ext)) {
        if (!m_transfers)
            return;
        SIZE size = {DEFAULT_PAGE_WIDTH, DEFAULT_PAGE_HEIGHT};
        CWBDocument::GetPictureSize(path.c_str(), &size);
        const char* files[1] = {path.c_str()};
        BYTE flag = 0;
        std::string stored;
        m_transfers->StartUpload(0, folder, false, name.c_str(), size, files, 1, &flag, &stored);
        return;
    }
    if (StartPrint(path.c_str(), TIMER_PRINT_UPLOAD)) {
        m_nPendingFolder = folder;
        m_strPendingName = name.c_str();
    }
}

void CWBFrame::UploadLocalFile()
{
    if (!m_bEditRight || !m_pHost || !m_transfers)
        return;
    std::string path;
    if (!m_pHost->ChooseFile(false, NULL, "All Files (*.*)|*.*||", &path))
        return;
    char name[_MAX_FNAME + _MAX_EXT];
    char ext[_MAX_EXT];
    _splitpath(path.c_str(), NULL, NULL, name, ext);
    strncat(name, ext, sizeof name - strlen(name) - 1);
    SIZE size = {DEFAULT_PAGE_WIDTH, DEFAULT_PAGE_HEIGHT};
    const char* files[1] = {path.c_str()};
    BYTE flag = 0;
    std::string stored;
    m_transfers->StartUpload(UPLOAD_DOC_ID, UPLOAD_FOLDER, false, name, size, files, 1, &flag,
                             &stored);
}

BOOL CWBFrame::OpenStoredDocument(DWORD storedId, BYTE uploadFlag, int pages, SIZE pageSize,
                                  LPCTSTR lpszTitle, LPCTSTR lpszServer, LPCTSTR lpszStored)
{
    if (!m_pViews)
        return FALSE;
    if (CWBView* open = m_pViews->FindByStoredId(storedId)) {
        if (m_bEditRight) {
            m_tabs.SelectTab(open->GetDocId());
            m_pViews->Activate(open->GetDocId());
            UpdatePageTexts();
            SendDocumentActivated(open);
        }
        return TRUE;
    }
    if (pages <= 0)
        return FALSE;
    SIZE size = {ClampSide(pageSize.cx, DEFAULT_PAGE_WIDTH, MAX_PAGE_SIDE),
                 ClampSide(pageSize.cy, DEFAULT_PAGE_HEIGHT, MAX_PAGE_SIDE)};
    CWBView* view = m_pViews->CreateRemoteDocument(&m_settings, m_pViews->NewDocumentId(),
                                                   lpszTitle, size, pages, pages);
    if (!view)
        return FALSE;
    view->m_dwStoredId = storedId;
    AddDocumentView(view, FALSE);
    SendDocumentOpened(view, 0, uploadFlag, lpszServer, lpszStored);
    SendDocumentActivated(view);
    if (m_transfers) {
        const int count = view->GetDocument().CountBackgrounds();
        std::vector<LPCTSTR> paths(count);
        view->GetDocument().GetBackgroundPaths(paths.data(), count);
        const std::string server = lpszServer && *lpszServer ? std::string(lpszServer)
                                   : m_pHost                 ? m_pHost->ServerAddress()
                                                             : std::string();
        m_transfers->StartDownload(server.c_str(), view->GetDocId(), 0, uploadFlag, paths.data(),
                                   count, lpszStored ? lpszStored : "");
    }
    return TRUE;
}

BOOL CWBFrame::SaveActiveDocument(LPCTSTR lpszPath)
{
    CWBView* view = ActiveView();
    return view && lpszPath && view->SaveDocument(lpszPath);
}

void CWBFrame::OnPageArrived(DWORD docId, int page)
{
    CWBView* view = m_pViews ? m_pViews->FindById(docId) : NULL;
    if (!view)
        return;
    if (view == ActiveView() &&
        (page == view->GetCurrentPage() || page == view->GetPageCount() - 1))
        view->Rescale();
}

// ---------------------------------------------------------------- pages, zoom

void CWBFrame::UpdatePageTexts()
{
    if (!m_topBar.m_hWnd)
        return;
    CWBView* view = ActiveView();
    if (view)
        m_topBar.SetPageTexts(view->GetCurrentPage() + 1, view->GetPageCount());
    else
        m_topBar.SetPageTexts(0, 0);
}

BOOL CWBFrame::GotoPage(int index)
{
    CWBView* view = ActiveView();
    if (!m_bEditRight || !view)
        return FALSE;
    if (index < 0 || index >= view->GetPageCount() || index == view->GetCurrentPage())
        return FALSE;
    if (!view->SetCurrentPage(index))
        return FALSE;
    UpdatePageTexts();
    SendPageChange(view);
    return TRUE;
}

void CWBFrame::SelectZoomItem(int value)
{
    for (int i = 0; i < (int)(sizeof kZoomValues / sizeof kZoomValues[0]); ++i)
        if (kZoomValues[i] == value) {
            m_nZoomIndex = i;
            if (m_toolPanel.ZoomList().m_hWnd)
                m_toolPanel.ZoomList().SetCurSel(i);
            return;
        }
}

LRESULT CWBFrame::OnGotoPage(WPARAM wParam, LPARAM)
{
    GotoPage((int)wParam - 1);
    return 0;
}

LRESULT CWBFrame::OnSetZoom(WPARAM wParam, LPARAM lParam)
{
    if (!m_bEditRight || (int)wParam < 0 || (int)lParam < 0)
        return 0;
    m_nZoomIndex = (int)wParam;
    m_settings.zoomNum = (int)lParam;
    m_settings.zoomDen = 100;
    if (m_pViews)
        m_pViews->RescaleAll();
    SendZoom(m_settings.zoomNum, 100);
    return 0;
}

LRESULT CWBFrame::OnSetColour(WPARAM wParam, LPARAM)
{
    m_settings.color = (COLORREF)wParam;
    return 0;
}

LRESULT CWBFrame::OnSetWidth(WPARAM wParam, LPARAM)
{
    m_settings.width = (BYTE)wParam;
    return 0;
}

LRESULT CWBFrame::OnSetStyle(WPARAM, LPARAM)
{
    // New objects keep the solid style; the list only shows the choice.
    return 0;
}

LRESULT CWBFrame::OnSetFill(WPARAM wParam, LPARAM)
{
    m_settings.fill = (BYTE)wParam;
    return 0;
}

LRESULT CWBFrame::OnScrolled(WPARAM wParam, LPARAM)
{
    m_settings.nScrollPos = (int)wParam;
    SendScrollPos((int)wParam);
    return 0;
}

LRESULT CWBFrame::OnLanguageChanged(WPARAM, LPARAM)
{
    CComboBox& zoom = m_toolPanel.ZoomList();
    if (!zoom.m_hWnd || zoom.GetCount() == 0)
        return 0;
    const std::string text = Text(61637, "自适应");
    zoom.DeleteString(0);
    zoom.InsertString(0, text.c_str());
    zoom.SetItemData(0, 0);
    zoom.SetCurSel(m_nZoomIndex);
    return 0;
}

// ---------------------------------------------------------------- edit right, commands

void CWBFrame::SetEditRight(BOOL bRight)
{
    bRight = bRight ? TRUE : FALSE;
    if (bRight == m_bEditRight)
        return;
    m_bEditRight = bRight;
    if (m_pViews)
        m_pViews->SetEditRight(bRight);
    if (m_toolPanel.m_hWnd)
        m_toolPanel.EnableTools(bRight);
    if (m_topBar.m_hWnd)
        m_topBar.EnableBar(bRight);
    if (bRight && m_pViews && m_pViews->GetViewCount() == 0)
        NewBlankDocument();
}

int CWBFrame::ToolOfCommand(UINT id)
{
    for (const ToolCommand& t : kToolCommands)
        if (t.id == id)
            return t.tool;
    return -1;
}

BOOL CWBFrame::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const UINT id = LOWORD(wParam);
    try {
        const int tool = ToolOfCommand(id);
        if (tool >= 0) {
            if (m_bEditRight && tool != m_settings.tool) {
                m_settings.tool = tool;
                if (m_pViews)
                    m_pViews->CancelToolActions();
                m_toolPanel.ShowTool(tool);
            }
            return TRUE;
        }
        switch (id) {
        case ID_WB_NEW:
            NewBlankDocument();
            return TRUE;
        case ID_WB_OPEN: {
            std::string path;
            if (m_bEditRight && m_pHost &&
                m_pHost->ChooseFile(false, NULL, "All Files (*.*)|*.*||", &path))
                OpenFile(path.c_str(), TRUE);
            return TRUE;
        }
        case ID_WB_SAVE: {
            CWBView* view = ActiveView();
            std::string path;
            if (view && m_pHost &&
                m_pHost->ChooseFile(true, view->GetTitle() + ".kqf", "WB Files (*.kqf)|*.kqf||",
                                    &path))
                view->SaveDocument(path.c_str());
            return TRUE;
        }
        case ID_WB_NEXT:
        case ID_WB_PREV:
            if (CWBView* view = ActiveView())
                GotoPage(view->GetCurrentPage() + (id == ID_WB_NEXT ? 1 : -1));
            return TRUE;
        case ID_WB_FONT: {
            CFontDialog dlg(&m_settings.font);
            if (dlg.DoModal() == IDOK)
                dlg.GetCurrentFont(&m_settings.font);
            return TRUE;
        }
        case IDC_WB_T_RULER:
            m_settings.bRuler = m_toolPanel.IsDlgButtonChecked(IDC_WB_T_RULER) == BST_CHECKED;
            if (CWBView* view = ActiveView())
                view->Invalidate(FALSE);
            return TRUE;
        case IDC_WB_DOCS_OPEN:
        case IDC_WB_DOCS_CLOSE:
            m_bOnlinePane = id == IDC_WB_DOCS_OPEN;
            {
                CRect rc;
                GetClientRect(&rc);
                OnSize(SIZE_RESTORED, rc.Width(), rc.Height());
            }
            return TRUE;
        case ID_WB_DRAWING:
            return TRUE;
        default:
            break;
        }
    } catch (...) {
        return TRUE;
    }
    return CWnd::OnCommand(wParam, lParam);
}

BOOL CWBFrame::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    const NMHDR* hdr = (const NMHDR*)lParam;
    if (!hdr || hdr->idFrom != IDC_WB_TABS)
        return CWnd::OnNotify(wParam, lParam, pResult);
    if (!m_bEditRight) {
        *pResult = -1;
        return TRUE;
    }
    *pResult = 0;
    switch ((int)hdr->code) {
    case (int)TCN_SELCHANGE: {
        CWBView* view = m_pViews ? m_pViews->FindById(m_tabs.GetCurTabId()) : NULL;
        if (view && view != ActiveView()) {
            m_pViews->Activate(view->GetDocId());
            UpdatePageTexts();
            SendDocumentActivated(view);
        }
        break;
    }
    case TABN_CLOSING: {
        CWBView* view = m_pViews ? m_pViews->FindById(m_tabs.GetCurTabId()) : NULL;
        if (view) {
            const DWORD doc = view->GetDocId();
            CloseDocument(view);
            SendDocumentClosed(doc);
        }
        break;
    }
    default:
        break;
    }
    return TRUE;
}

// ---------------------------------------------------------------- printing

void CWBFrame::OnTimer(UINT_PTR nIDEvent)
{
    try {
        if (nIDEvent == TIMER_PRINT || nIDEvent == TIMER_PRINT_UPLOAD)
            OnPrintTimer(nIDEvent);
        else if (nIDEvent == TIMER_PRINT_CONFIRM)
            ClickPrintConfirmation();
        else
            CWnd::OnTimer(nIDEvent);
    } catch (...) {}
}

void CWBFrame::OnPrintTimer(UINT_PTR timer)
{
    if (!m_pPrinter) {
        KillTimer(timer);
        m_bPrintBusy = FALSE;
        return;
    }
    const int status = m_pPrinter->GetStatus();
    if (status == CVirtualPrinterLink::STATUS_READY) {
        KillTimer(timer);
        KillTimer(TIMER_PRINT_CONFIRM);
        const int count = m_pPrinter->GetPageCount();
        std::vector<std::vector<char>> buffers(count, std::vector<char>(MAX_PATH, 0));
        std::vector<char*> out(count);
        for (int i = 0; i < count; ++i)
            out[i] = buffers[i].data();
        m_pPrinter->GetPageFiles(out.data());
        std::vector<const char*> files(out.begin(), out.end());
        if (count > 0 && timer == TIMER_PRINT) {
            if (CWBView* view =
                    m_pViews ? m_pViews->CreateLocalDocument(&m_settings, count, files.data())
                             : NULL)
                AddDocumentView(view, TRUE);
        } else if (count > 0 && m_transfers) {
            SIZE size = {DEFAULT_PAGE_WIDTH, DEFAULT_PAGE_HEIGHT};
            CWBDocument::GetPictureSize(files[0], &size);
            BYTE flag = 0;
            std::string stored;
            m_transfers->StartUpload(0, m_nPendingFolder, false, m_strPendingName, size,
                                     files.data(), count, &flag, &stored);
        }
        m_pPrinter->Reset();
        m_bPrintBusy = FALSE;
    } else if (status == CVirtualPrinterLink::STATUS_FAILED) {
        KillTimer(TIMER_PRINT);
        KillTimer(TIMER_PRINT_UPLOAD);
        KillTimer(TIMER_PRINT_CONFIRM);
        ShowInfo(0, "Print document failed!\n");
        m_pPrinter->Reset();
        m_bPrintBusy = FALSE;
    }
}

namespace {
struct ConfirmSearch
{
    HWND found;
};
BOOL CALLBACK FindPrintDialog(HWND hWnd, LPARAM lParam)
{
    ConfirmSearch* search = (ConfirmSearch*)lParam;
    // Our own windows are never the printing application's: the print
    // processor's report window carries "Print" in its caption.
    DWORD process = 0;
    ::GetWindowThreadProcessId(hWnd, &process);
    if (process == ::GetCurrentProcessId())
        return TRUE;
    if (::IsWindowUnicode(hWnd)) {
        wchar_t title[256] = {0};
        ::GetWindowTextW(hWnd, title, 256);
        if (wcscmp(title, L"\x6253\x5370") == 0 || wcscmp(title, L"Print") == 0) {
            search->found = hWnd;
            return FALSE;
        }
    } else {
        char title[256] = {0};
        ::GetWindowTextA(hWnd, title, sizeof title);
        if (strstr(title, "打印") || strstr(title, "Print")) {
            search->found = hWnd;
            return FALSE;
        }
    }
    return TRUE;
}
} // namespace

void CWBFrame::ClickPrintConfirmation()
{
    ConfirmSearch search = {NULL};
    ::EnumWindows(FindPrintDialog, (LPARAM)&search);
    if (!search.found)
        return;
    ::PostMessageA(search.found, WM_COMMAND, IDOK, 0);
    KillTimer(TIMER_PRINT_CONFIRM);
}

// ---------------------------------------------------------------- messages

std::string CWBFrame::Text(UINT id, const char* fallback)
{
    if (id && m_pHost)
        return m_pHost->Text(id, fallback);
    return fallback ? fallback : "";
}

void CWBFrame::ShowInfo(UINT id, const char* fallback)
{
    const std::string text = Text(id, fallback);
    AfxMessageBox(text.c_str(), MB_OK | MB_ICONINFORMATION);
}
