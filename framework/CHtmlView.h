#pragma once
#include "CByteArray.h"
#include "CHtmlEngine.h"
#include "CView.h"

#include <exdisp.h> // CSC_NAVIGATEBACK and the other command-state values

// A view showing web pages through a browser engine (see CHtmlEngine).
// Navigation calls go to the engine; the engine's reports arrive as the
// virtual On... events, which derived views override.
class CHtmlView : public CView
{
    DECLARE_DYNCREATE(CHtmlView)
public:
    CHtmlView();
    virtual ~CHtmlView();

    // Chooses the engine of views created from now on (NULL: the default,
    // the browser control where the system has one).
    static AFX_HTMLENGINE_FACTORY PASCAL SetEngineFactory(AFX_HTMLENGINE_FACTORY pfn);

    void Navigate(LPCSTR lpszURL, DWORD dwFlags = 0, LPCSTR lpszTargetFrameName = NULL,
                  LPCSTR lpszHeaders = NULL, LPVOID lpvPostData = NULL, DWORD dwPostDataLen = 0);
    void Navigate2(LPCSTR lpszURL, DWORD dwFlags = 0, LPCSTR lpszTargetFrameName = NULL,
                   LPCSTR lpszHeaders = NULL, LPVOID lpvPostData = NULL, DWORD dwPostDataLen = 0);
    void Navigate2(LPCSTR lpszURL, DWORD dwFlags, CByteArray& baPostedData,
                   LPCSTR lpszTargetFrameName = NULL, LPCSTR lpszHeader = NULL);
    void GoBack();
    void GoForward();
    void GoHome();
    void Refresh();
    void Stop();
    CString GetLocationURL() const;
    CString GetLocationName() const;
    BOOL GetBusy() const;
    void SetSilent(BOOL bSilent);
    LPDISPATCH GetHtmlDocument() const;
    LPDISPATCH GetApplication() const;
    CHtmlEngine* GetEngine() const { return m_pEngine; }

    // Events reported by the engine.
    virtual void OnBeforeNavigate2(LPCSTR lpszURL, DWORD nFlags, LPCSTR lpszTargetFrameName,
                                   CByteArray& baPostedData, LPCSTR lpszHeaders, BOOL* pbCancel)
    {}
    virtual void OnNavigateComplete2(LPCSTR strURL) {}
    virtual void OnDocumentComplete(LPCSTR lpszURL) {}
    virtual void OnTitleChange(LPCSTR lpszText) {}
    virtual void OnStatusTextChange(LPCSTR lpszText) {}
    virtual void OnCommandStateChange(long nCommand, BOOL bEnable) {}
    virtual void OnNewWindow2(LPDISPATCH* ppDisp, BOOL* Cancel) {}
    virtual void OnDownloadBegin() {}
    virtual void OnDownloadComplete() {}
    virtual void OnProgressChange(long nProgress, long nProgressMax) {}

    virtual void OnDraw(CDC* pDC);
    virtual BOOL PreCreateWindow(CREATESTRUCT& cs);
    virtual BOOL PreTranslateMessage(MSG* pMsg);

protected:
    CHtmlEngine* m_pEngine;
    BOOL m_bDefaultEngine;
    afx_msg int OnCreate(LPCREATESTRUCT lpcs);
    afx_msg void OnDestroy();
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg LRESULT OnEngineMessage(WPARAM wParam, LPARAM lParam);
    friend class CNullHtmlEngine;
    DECLARE_MESSAGE_MAP()
};

// The engine without a browser: keeps the history, asks the view before
// each navigation and reports it complete without loading.
CHtmlEngine* AFXAPI AfxCreateNullHtmlEngine(CHtmlView* pView);
// The default engine: the system's browser control where its HTML library
// loads, else the engine without a browser. A control that still cannot be
// made when the view is created falls back to the latter too.
CHtmlEngine* AFXAPI AfxCreateDefaultHtmlEngine(CHtmlView* pView);
