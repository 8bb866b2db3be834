#pragma once
#include "CWBView.h"

// The container of the open whiteboard documents' views; shows one of them.
class CWBViewManView : public CView
{
    DECLARE_DYNCREATE(CWBViewManView)
public:
    CWBViewManView();
    virtual ~CWBViewManView();

    CWBView* CreateLocalDocument(WB_SETTINGS* pSettings, int nPages, const char* const* ppszFiles);
    CWBView* CreateRemoteDocument(WB_SETTINGS* pSettings, DWORD id, LPCTSTR lpszTitle, SIZE size,
                                  int nPages, int nBackgrounds);
    DWORD NewDocumentId();
    CWBView* FindById(DWORD id);
    CWBView* FindByStoredId(DWORD id);
    CWBView* GetActive() const { return m_pActive; }
    BOOL Activate(DWORD id);
    BOOL CloseDocument(DWORD id);
    void RescaleAll();
    void ScrollAll(int nPos);
    void CancelToolActions();
    void SetEditRight(BOOL bRight);
    int GetViewCount() const { return m_views.GetCount(); }

protected:
    virtual void OnDraw(CDC* pDC);
    CWBView* AddView(WB_SETTINGS* pSettings);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg LRESULT OnScrolled(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

    int m_nCreated;
    CPtrList m_views;
    BOOL m_bEditRight;
    CWBView* m_pActive;
};
