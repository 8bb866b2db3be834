#pragma once
#include "CSkinBitmap.h"
#include "CSkinButton.h"
#include "afxwin.h"

// Sent (WM_NOTIFY) to the parent when the close button is pressed, before
// anything else; a non-zero reply vetoes the close.
#define TABN_CLOSING (-650)

// A scrolling row of document tabs with previous, next and close buttons.
// Every change goes to the parent as WM_NOTIFY (TCN_SELCHANGING, which may
// veto, TCN_SELCHANGE and TABN_CLOSING). Ids are the caller's, non-zero.
class CZrTabCtrl : public CWnd
{
public:
    enum { ID_PREV = 1000, ID_NEXT = 1001, ID_CLOSE = 1002 };

    CZrTabCtrl();
    virtual ~CZrTabCtrl();

    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    BOOL AddTab(LPCSTR lpszCaption, UINT nId);
    void RemoveTab(UINT nId);
    void SelectTab(UINT nId);
    void SetCurSel(int nIndex);
    int GetCurSel() const;
    UINT GetCurTabId() const;
    UINT GetTabId(int nIndex) const;
    int GetTabCount() const;
    void SetTabText(UINT nId, LPCSTR lpszText);
    void RemoveAll();
    int GetHeight() const { return m_current.GetHeight(); }
    int GetFirstVisible() const;
    int GetTabWidth(int nIndex) const;
    // The tab under a point of the client area, -1 for none.
    int HitTest(CPoint point) const;
    CRect GetTabsRect() const;
    int MeasureTab(LPCSTR lpszCaption) const;

protected:
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnPaint();
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnDestroy();
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnScrollLeft();
    afx_msg void OnScrollRight();
    afx_msg void OnCloseTab();
    DECLARE_MESSAGE_MAP()

    struct TabItem
    {
        CString caption;
        UINT id;
        int width;
    };
    class Lock
    {
    public:
        explicit Lock(CRITICAL_SECTION* cs) : m_cs(cs) { ::EnterCriticalSection(m_cs); }
        ~Lock() { ::LeaveCriticalSection(m_cs); }

    private:
        CRITICAL_SECTION* m_cs;
    };

    void LayoutButtons();
    BOOL CanScrollRight() const;
    LRESULT NotifyParent(int nCode);
    BOOL SelectByUser(CPoint point);
    void FreeRecords();

    CBrush m_background;
    CSkinBitmap m_current;
    CSkinBitmap m_other;
    CSkinButton m_prev, m_next, m_close;
    int m_nCurrent;
    int m_nFirstVisible;
    mutable CRITICAL_SECTION m_lock;
    CPtrArray m_tabs;
};
