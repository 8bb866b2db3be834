#pragma once
#include "CDlgWbToolPanel.h"
#include "CDlgWbTopBar.h"
#include "CWBPacket.h"
#include "CWBViewManView.h"
#include "CZrTabCtrl.h"
#include "IWBFrameHost.h"
#include "IWBTransfers.h"
#include "WbSettings.h"
#include "afxwin.h"

#include <memory>
#include <string>

class CVirtualPrinterLink;

// Receives every board record the frame writes: record, length, context.
typedef void (*WB_SEND_CALLBACK)(const void* data, size_t length, void* context);

// The whiteboard window of a meeting: tool panel, top bar, the online
// documents pane, the document tabs and the pages of every open document.
// Local changes and document operations leave as board records through
// the send callback; records of the other participants come in through
// OnPeerData. Office documents become pages through the virtual printer.
class CWBFrame : public CWnd, public IWBPageSink
{
public:
    enum { TIMER_PRINT = 100, TIMER_PRINT_UPLOAD = 101, TIMER_PRINT_CONFIRM = 110 };
    enum { ONLINE_PANE_WIDTH = 157, TOOL_PANEL_WIDTH = 83, TOP_BAR_HEIGHT = 32 };
    enum { DEFAULT_PAGE_WIDTH = 600, DEFAULT_PAGE_HEIGHT = 800, MAX_PAGE_SIDE = 20000 };
    enum { UPLOAD_DOC_ID = 1000, UPLOAD_FOLDER = 1354 };

    CWBFrame();
    virtual ~CWBFrame();

    // host and printer may be null (no meeting around, no printing); the
    // frame owns what transfers points to. Made with new: once created,
    // the frame frees itself with its window; on failure the caller frees it.
    BOOL CreateFrame(CWnd* parent, UINT id, IWBFrameHost* host, IWBTransfers* transfers,
                     CVirtualPrinterLink* printer);
    void SetTransfers(IWBTransfers* transfers);
    void SetSendCallback(WB_SEND_CALLBACK fn, void* context);

    // Records of another participant; returns the bytes it took.
    size_t OnPeerData(const BYTE* data, size_t length);
    void SetEditRight(BOOL bRight);
    BOOL HasEditRight() const { return m_bEditRight; }
    void SendPageSync();

    BOOL NewBlankDocument();
    BOOL OpenDocumentFile(LPCTSTR lpszPath) { return OpenFile(lpszPath, FALSE); }
    void OpenMeetingDocument(int folder);
    void UploadLocalFile();
    BOOL OpenStoredDocument(DWORD storedId, BYTE uploadFlag, int pages, SIZE pageSize,
                            LPCTSTR lpszTitle, LPCTSTR lpszServer, LPCTSTR lpszStored);
    BOOL SaveActiveDocument(LPCTSTR lpszPath);
    // The transfer list: a page of a document has arrived.
    void OnPageArrived(DWORD docId, int page) override;
    // Stops every transfer (the main window's close).
    void StopAllTransfers();

    // Writers: each builds one record and hands it to the send callback.
    void SendChange(CWBView* pView, const BYTE* pChange, UINT nLength);
    void SendDocumentOpened(CWBView* pView, BYTE openedHere, BYTE uploadFlag, LPCTSTR lpszServer,
                            LPCTSTR lpszStored);
    void SendDocumentClosed(DWORD doc);
    void SendDocumentActivated(CWBView* pView);
    void SendZoom(int num, int den);
    void SendPageChange(CWBView* pView);
    void SendScrollPos(int pos);
    // Adds a document's tab and shows it; when announcing, uploads its page
    // pictures and tells the others.
    BOOL AddDocumentView(CWBView* pView, BOOL bAnnounce);
    BOOL GotoPage(int index);

    // The tool of a command, -1 for a command that is no tool.
    static int ToolOfCommand(UINT id);
    // True for the picture extensions that open as one-page documents.
    static BOOL IsPictureExtension(LPCTSTR lpszExt);
    // Deletes this printer's waiting jobs from the spooler folder.
    static void ClearSpoolerJobs(LPCTSTR lpszPrinter);

    WB_SETTINGS& Settings() { return m_settings; }
    CWBViewManView* Views() { return m_pViews; }
    CZrTabCtrl& Tabs() { return m_tabs; }
    CDlgWbToolPanel& ToolPanel() { return m_toolPanel; }
    CDlgWbTopBar& TopBar() { return m_topBar; }
    CWBView* ActiveView() { return m_pViews ? m_pViews->GetActive() : NULL; }
    BOOL IsPrintBusy() const { return m_bPrintBusy; }
    int GetZoomIndex() const { return m_nZoomIndex; }
    BOOL IsOnlinePaneShown() const { return m_bOnlinePane; }

protected:
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    virtual void PostNcDestroy();
    afx_msg int OnCreate(LPCREATESTRUCT lpcs);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnDestroy();
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg LRESULT OnSetColour(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnGotoPage(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSetZoom(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSetWidth(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSetStyle(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSetFill(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnScrolled(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnLanguageChanged(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

    static void ChangeThunk(void* pContext, CWBView* pView, const BYTE* pRecord, UINT nLength);
    BOOL OpenFile(LPCTSTR lpszPath, BOOL bPrintOthers);
    BOOL StartPrint(LPCTSTR lpszPath, UINT timer);
    void OnPrintTimer(UINT_PTR timer);
    void ClickPrintConfirmation();
    void ApplyPacket(const WB_PACKET& p);
    void CloseDocument(CWBView* pView);
    void UpdatePageTexts();
    void SelectZoomItem(int value);
    void Emit(const BYTE* data, size_t length);
    // Grows the packet buffer to length bytes; FALSE drops the record.
    BOOL ReservePacket(size_t length);
    void ShowInfo(UINT id, const char* fallback);
    std::string Text(UINT id, const char* fallback);

    BOOL m_bAutoDelete;
    WB_SETTINGS m_settings;
    IWBFrameHost* m_pHost;
    std::unique_ptr<IWBTransfers> m_transfers;
    CVirtualPrinterLink* m_pPrinter;
    CDlgWbToolPanel m_toolPanel;
    CDlgWbTopBar m_topBar;
    CButton m_docsGroup, m_docsOpen, m_docsClose;
    CListBox m_docsList;
    CZrTabCtrl m_tabs;
    CWBViewManView* m_pViews;
    BOOL m_bOnlinePane;

    BOOL m_bEditRight;
    BOOL m_bPrintBusy;
    int m_nPendingFolder;
    CString m_strPendingName;
    int m_nZoomIndex;
    int m_nScrollPos;
    WB_SEND_CALLBACK m_pfnSend;
    void* m_pSendContext;
    CRITICAL_SECTION m_packetLock;
    BYTE* m_pPacket;
    size_t m_nPacketCapacity;
};
