#include "CMainFrameTab.h"

#include "IFrameHost.h"

BEGIN_MESSAGE_MAP(CMainFrameTab, CMainTabStrip)
    ON_NOTIFY_REFLECT(TCN_SELCHANGING, OnSelChanging)
    ON_NOTIFY_REFLECT(TCN_SELCHANGE, OnSelChangeMain)
END_MESSAGE_MAP()

void CMainFrameTab::ShowPage(int index)
{
    if (index < 0 || index >= GetItemCount() || index == GetCurSel())
        return;
    SelectPage(index);
    if (m_host)
        m_host->SendWindowLayout();
}

void CMainFrameTab::AppendPage(HWND page, LPCSTR title)
{
    if (page && ::IsWindow(page))
        AddPage(page, GetItemCount(), title ? title : "");
}

int CMainFrameTab::GetCurPage() const { return GetCurSel(); }

void CMainFrameTab::OnSelChanging(NMHDR*, LRESULT* result)
{
    *result = m_host && m_host->HasLayoutRight() ? 0 : 1;
}

void CMainFrameTab::OnSelChangeMain(NMHDR* nmhdr, LRESULT* result)
{
    CSkinTabCtrl::OnSelChange(nmhdr, result);
    if (m_host)
        m_host->SendWindowLayout();
}
