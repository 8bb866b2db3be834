#pragma once
#include "CWnd.h"

class CDocument;
class CFrameWnd;

// A child window that shows (part of) a document in its frame; it paints
// through OnDraw and frees itself when its window is destroyed. A view may
// also stand alone, without a document.
class CView : public CWnd
{
    DECLARE_DYNAMIC(CView)
public:
    CView();
    virtual ~CView();

    CDocument* GetDocument() const { return m_pDocument; }
    virtual BOOL PreCreateWindow(CREATESTRUCT& cs);
    virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo);
    virtual void OnInitialUpdate();
    virtual void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint);
    virtual void OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView);
    virtual void OnActivateFrame(UINT nState, CFrameWnd* pFrameWnd) {}
    virtual void OnPrepareDC(CDC* pDC, void* pInfo = NULL) {}
    virtual void OnDraw(CDC* pDC) = 0;
    virtual void PostNcDestroy();

    CDocument* m_pDocument;

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpcs);
    afx_msg void OnDestroy();
    afx_msg void OnPaint();
    afx_msg int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);
    afx_msg LRESULT OnInitialUpdateMsg(WPARAM, LPARAM);
    friend class CDocument;
    DECLARE_MESSAGE_MAP()
};
