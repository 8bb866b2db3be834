#pragma once
#include "afxwin.h"

#include <cstdint>
#include <string>
#include <vector>

#include "CZrTabCtrl.h"
#include "IWebSharePane.h"
#include "WebNotice.h"

class CWebPoolView;
class CWebViewBase;
class IWebLink;

// What co-browsing and the presentation board share: a tab strip with one
// browser view per tab in a container view, the leader flag, the tab ids,
// the leader's records and the followers' replay. The two frames differ in
// their record kinds, their browser bar and their views.
class CWebFrameBase : public CFrameWnd, public IWebSharePane
{
public:
    enum : UINT { ID_POOL = 0xE900 };

    CWebFrameBase(uint8_t base, UINT stripId);
    ~CWebFrameBase() override;

    // A child frame of parent, shown, with a sunken client edge.
    BOOL CreatePage(CWnd* parent, IWebLink* link);

    // IWebSharePane (the dispatcher).
    size_t OnPeerData(const unsigned char* data, size_t length) override;
    void SetControlRight(bool allowed) override;
    bool IsLeader() const { return m_leader; }

    // The leader starts over with one tab showing address (none: the tab
    // stays empty).
    void Go(const char* address);

    // Reports of the views.
    virtual void OnViewNavigate(CWebViewBase* view, const NAV_FIELDS& nav);
    virtual void OnViewCompleted(CWebViewBase* view, const std::string& address);
    virtual void OnViewTitle(CWebViewBase* view, const char* title);

    CZrTabCtrl& Tabs() { return m_tabs; }
    CWebPoolView* Pool() { return m_pool; }
    CWebViewBase* ActiveView();
    // A new tab id: the tick count, the thread and this frame's running count.
    uint32_t MakeTabId();

protected:
    int OnCreateFrame();
    virtual CWebPoolView* MakePool() = 0;
    virtual BOOL MakeBar() { return TRUE; }
    virtual int BarHeight() const { return 0; }
    virtual CWnd* Bar() { return nullptr; }
    // The bar follows the active view and the leader flag.
    virtual void UpdateBar() {}
    virtual void ShowAddress(const std::string&) {}

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    afx_msg int OnCreate(LPCREATESTRUCT cs);
    afx_msg void OnSize(UINT type, int cx, int cy);
    DECLARE_MESSAGE_MAP()

    void Send(const std::vector<uint8_t>& record);
    // The view of a new tab, its tab added, selected and activated; null
    // when no view could be made (then no tab is added).
    CWebViewBase* OpenTab(uint32_t id, bool announce);
    void CloseTab(uint32_t id, bool announce);
    void CloseAllTabs();
    void Layout();

    uint8_t m_base;
    UINT m_stripId;
    IWebLink* m_link = nullptr;
    CZrTabCtrl m_tabs;
    CWebPoolView* m_pool = nullptr;
    bool m_leader = false;
    uint32_t m_counter = 0;
};
