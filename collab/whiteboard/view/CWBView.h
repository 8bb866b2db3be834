#pragma once
#include "CWBDocument.h"
#include "CWBTextEdit.h"
#include "WbSettings.h"
#include "afxext.h"

// One whiteboard document, one page of it shown at a time: the user draws,
// selects, moves, resizes and erases here, and every change becomes a change
// record handed to the settings' callback. Changes of peers come back in
// through ApplyChange.
class CWBView : public CScrollView
{
    DECLARE_DYNCREATE(CWBView)
public:
    enum State {
        stateNone,
        stateDrawIdle,
        stateCreating,
        stateDragHandle,
        stateMoving,
        stateSelectIdle,
        stateSelecting,
        stateEraseIdle,
        stateErasing
    };

    CWBView();
    virtual ~CWBView();

    BOOL CreateView(CWnd* pParent, UINT nID, WB_SETTINGS* pSettings);
    CWBDocument& GetDocument() { return m_doc; }

    void ApplyChange(const BYTE* pRecord, UINT nLength);
    BOOL SetCurrentPage(int nPage);
    BOOL SaveDocument(LPCTSTR lpszPath) { return m_doc.Save(lpszPath); }
    // Sends every object of every page, in records below 24576 bytes.
    void SendAllObjects();
    void SetEditRight(BOOL bRight);
    // Ends what the current tool was doing and starts the tool afresh.
    void ResetForTool(BOOL bClearSelection);
    void Rescale();
    void ApplyScrollPos(int nPos);

    DWORD GetDocId() const { return m_dwDocId; }
    const CString& GetTitle() const { return m_strTitle; }
    int GetCurrentPage() const { return m_nCurPage; }
    int GetPageCount() const { return m_doc.GetPageCount(); }
    CSize GetPageSize() const { return CSize(m_nPageWidth, m_nPageHeight); }
    int GetState() const { return m_nState; }
    int GetSelectedCount() const { return m_selection.GetCount(); }
    CDrawObj* GetCurrentObject() const { return m_pCurObj; }
    CWBTextEdit& GetTextEdit() { return m_textEdit; }
    int GetZoomNum() const { return m_nZoomNum; }

    CPoint ClientToDoc(CPoint pt) const;
    CPoint DocToClient(CPoint pt) const;
    CRect DocToClient(const RECT& rc) const;

    DWORD m_dwStoredId;
    CString m_strTitle;
    DWORD m_dwDocId;
    BOOL m_bOpenedHere;

protected:
    virtual void OnDraw(CDC* pDC);
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    virtual BOOL OnScrollBy(CSize sizeScroll, BOOL bDoScroll = TRUE);

    CDrawObj* CreateToolObject(CPoint ptDoc);
    void Commit();
    void CancelCreation();
    void HandleResult(int nResult);
    void EndResize(CPoint ptDoc);
    void EndMove(CPoint ptDoc);
    void SelectInRect(CRect rc, BOOL bCtrl);
    void EraseInRect(CRect rc);
    void DeleteSelection();
    void ClearSelection();
    BOOL IsSelected(CDrawObj* pObj) const;
    void SendRecord(const std::vector<BYTE>& rec);
    void InvalidateDoc(const RECT& rcDoc, BOOL bErase = FALSE);
    void InvalidateObject(CDrawObj* pObj);
    void DrawBackground(CDC* pDC);
    void DropBackground();
    void UpdateZoom();

    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnRButtonUp(UINT nFlags, CPoint point);
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg LRESULT OnTextDone(WPARAM, LPARAM);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    DECLARE_MESSAGE_MAP()

    WB_SETTINGS* m_pSettings;
    CWBDocument m_doc;
    CPtrList m_selection;
    int m_nCurPage;
    int m_nPageWidth;
    int m_nPageHeight;
    int m_nState;
    CDrawObj* m_pCurObj;
    CWBTextEdit m_textEdit;
    int m_nHandle;
    CPoint m_ptStart;
    CPoint m_ptLast;
    CBitmap m_background;
    BOOL m_bBackgroundTried;
    BOOL m_bEditRight;
    int m_nZoomNum;
    int m_nZoomDen;
};
