#pragma once
#include "CString.h"

#include <oaidl.h>

class CHtmlView;

// The browser behind a CHtmlView: the seam between the view and a browser
// engine. The view calls these; the engine reports back through the view's
// On... events. CHtmlView::SetEngineFactory chooses the engine; by default
// the view uses the system's browser control where the system has one, else
// one that keeps an address history and reports navigations without showing
// pages.
class CHtmlEngine
{
public:
    virtual ~CHtmlEngine() {}
    virtual BOOL Create(CHtmlView* pView) = 0;
    virtual void Destroy() = 0;
    virtual void Resize(const RECT& rect) = 0;
    virtual void Navigate(LPCSTR lpszURL, DWORD dwFlags, LPCSTR lpszTargetFrameName,
                          LPCSTR lpszHeaders, const void* lpvPostData, DWORD dwPostDataLen) = 0;
    virtual void GoBack() = 0;
    virtual void GoForward() = 0;
    virtual void GoHome() = 0;
    virtual void Refresh() = 0;
    virtual void Stop() = 0;
    virtual CString GetLocationURL() const = 0;
    virtual CString GetLocationName() const = 0;
    virtual BOOL GetBusy() const = 0;
    virtual void SetSilent(BOOL bSilent) = 0;
    virtual LPDISPATCH GetHtmlDocument() const = 0;
    virtual LPDISPATCH GetApplication() const = 0;
    // A key message on its way to the view or a window inside it: the
    // browser's own keys (Tab between links, accelerators) are handled here,
    // and TRUE returned.
    virtual BOOL PreTranslateMessage(MSG* pMsg) { return FALSE; }
};

typedef CHtmlEngine* (*AFX_HTMLENGINE_FACTORY)(CHtmlView* pView);
