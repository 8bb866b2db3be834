#pragma once
#include "afxwin.h"

#include <cstdint>
#include <string>

namespace caskel {

class CWBView;
struct WBViewSettings;

// The container of the player's page views: one view per recorded document,
// the active one filling the container, the others hidden.
class CWBViewManView : public CView
{
    DECLARE_DYNCREATE(CWBViewManView)
public:
    CWBViewManView();
    virtual ~CWBViewManView();

    BOOL CreateManager(CWnd* parent);
    // Null when the view could not be made (nothing is kept then). The
    // background count is carried by the record but not needed here.
    CWBView* OpenView(WBViewSettings* settings, uint32_t viewId, const std::string& name,
                      SIZE pageSize, int pageCount, int backgroundCount);
    void CloseView(uint32_t viewId);
    void ActivateView(uint32_t viewId);
    CWBView* FindView(uint32_t viewId) const;
    void CloseAll();
    void ApplyZoom();

    int GetViewCount() const { return m_nViews; }
    CWBView* GetActiveView() const { return m_pActive; }
    CWBView* GetView(int index) const;

protected:
    virtual void OnDraw(CDC* pDC);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    DECLARE_MESSAGE_MAP()

private:
    void FitActive();

    int m_nViews;
    CPtrList m_views;
    CWBView* m_pActive;
};

} // namespace caskel
