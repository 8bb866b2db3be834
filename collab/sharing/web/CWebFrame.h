#pragma once
#include "CDlgWebBar.h"
#include "CWebFrameBase.h"

class CWebView;

// The co-browsing page: the browser bar, the tab strip and the views. The
// leader's pages may open new windows, which become new tabs on every
// client.
class CWebFrame : public CWebFrameBase
{
public:
    CWebFrame();

    CDlgWebBar& GetBar() { return m_bar; }

    // A page of the leader asks for a new window: true (and the new view's
    // browser in disp) when a new tab took it.
    bool OnViewNewWindow(CWebView* view, LPDISPATCH* disp);
    void OnViewCommandState(CWebView* view);

protected:
    CWebPoolView* MakePool() override;
    BOOL MakeBar() override;
    int BarHeight() const override { return CDlgWebBar::HEIGHT; }
    CWnd* Bar() override { return &m_bar; }
    void UpdateBar() override;
    void ShowAddress(const std::string& address) override;
    void OnViewCompleted(CWebViewBase* view, const std::string& address) override;

    afx_msg void OnBack();
    afx_msg void OnForward();
    afx_msg void OnRefresh();
    afx_msg void OnStop();
    afx_msg void OnGo();
    DECLARE_MESSAGE_MAP()

private:
    CDlgWebBar m_bar;
};
