#include "CWebFrame.h"

#include "CWebView.h"
#include "CWebViewManView.h"
#include "SharingResource.h"

BEGIN_MESSAGE_MAP(CWebFrame, CWebFrameBase)
    ON_COMMAND(ID_WEB_BACK, OnBack)
    ON_COMMAND(ID_WEB_FORWARD, OnForward)
    ON_COMMAND(ID_WEB_REFRESH, OnRefresh)
    ON_COMMAND(ID_WEB_STOP, OnStop)
    ON_COMMAND(ID_WEB_GO, OnGo)
END_MESSAGE_MAP()

CWebFrame::CWebFrame() : CWebFrameBase(WEB_BASE_BROWSING, IDC_WEB_TABS) {}

CWebPoolView* CWebFrame::MakePool() { return new CWebViewManView(this); }

BOOL CWebFrame::MakeBar() { return m_bar.CreateBar(this) && (m_bar.ShowWindow(SW_SHOW), TRUE); }

void CWebFrame::UpdateBar()
{
    if (!m_bar.m_hWnd)
        return;
    CWebView* view = static_cast<CWebView*>(ActiveView());
    auto enable = [this](UINT id, bool on) {
        if (CWnd* w = m_bar.GetDlgItem(id))
            w->EnableWindow(on ? TRUE : FALSE);
    };
    enable(IDC_WEB_BACK, m_leader && view && view->CanGoBack());
    enable(IDC_WEB_FORWARD, m_leader && view && view->CanGoForward());
    enable(IDC_WEB_REFRESH, m_leader);
    enable(IDC_WEB_STOP, m_leader);
    enable(IDC_WEB_GO, m_leader);
    enable(IDC_WEB_ADDRESS, m_leader);
}

void CWebFrame::ShowAddress(const std::string& address) { m_bar.SetAddress(address.c_str()); }

void CWebFrame::OnViewCompleted(CWebViewBase* view, const std::string& address)
{
    CWebFrameBase::OnViewCompleted(view, address);
    if (view == ActiveView())
        ShowAddress(address);
}

void CWebFrame::OnViewCommandState(CWebView* view)
{
    if (view == ActiveView())
        UpdateBar();
}

bool CWebFrame::OnViewNewWindow(CWebView* view, LPDISPATCH* disp)
{
    // Only a page the leader clicked into may open a window.
    const bool clicked = view->WasClicked();
    view->SetClicked(false);
    if (!m_leader || !clicked)
        return false;
    if (m_tabs.GetTabCount() >= 2) {
        // Room for the new tab: the last tab that is not the active one goes.
        const UINT active = m_tabs.GetCurTabId();
        for (int i = m_tabs.GetTabCount() - 1; i >= 0; --i) {
            const UINT id = m_tabs.GetTabId(i);
            if (id != active) {
                CloseTab(id, true);
                break;
            }
        }
    }
    CWebViewBase* added = OpenTab(MakeTabId(), true);
    if (!added)
        return false;
    if (disp)
        *disp = added->GetApplication();
    UpdateBar();
    return true;
}

void CWebFrame::OnBack()
{
    if (CWebViewBase* view = ActiveView())
        if (m_leader)
            view->GoBack();
}

void CWebFrame::OnForward()
{
    if (CWebViewBase* view = ActiveView())
        if (m_leader)
            view->GoForward();
}

void CWebFrame::OnRefresh()
{
    if (CWebViewBase* view = ActiveView())
        if (m_leader)
            view->Refresh();
}

void CWebFrame::OnStop()
{
    if (CWebViewBase* view = ActiveView())
        if (m_leader)
            view->Stop();
}

void CWebFrame::OnGo()
{
    if (!m_leader)
        return;
    const CString address = m_bar.GetAddress();
    Go(address);
}
