#include "CProgramRCHost.h"

#include "CDlgLeft.h"
#include "CMainFrame.h"
#include "CProgramPanes.h"
#include "MainFrameResource.h"

HWND CProgramRCHost::GetMainWindow() { return m_frame->GetSafeHwnd(); }

void CProgramRCHost::ShowScreenPage()
{
    CMainFrameTab& tab = m_frame->TabStrip();
    if (tab.GetSafeHwnd() && tab.GetItemCount() > SCREEN_PAGE && tab.GetCurPage() != SCREEN_PAGE)
        tab.ShowPage(SCREEN_PAGE);
    m_frame->ShowDataWindow();
}

void CProgramRCHost::RepaintTabArea()
{
    CMainFrameTab& tab = m_frame->TabStrip();
    if (tab.GetSafeHwnd())
        tab.Invalidate();
}

void CProgramRCHost::OpenScreenSettings()
{
    if (m_frame->GetSafeHwnd())
        m_frame->PostMessage(WM_COMMAND, ID_SCREEN_SETTINGS, 0);
}

bool CProgramRCHost::GetBroadcastFlag()
{
    CDlgLeft* left = m_panes->LeftPane();
    return left && left->GetRemoteControlFlag() != 0;
}

void CProgramRCHost::SetBroadcastFlag(bool on)
{
    if (CDlgLeft* left = m_panes->LeftPane())
        left->SetRemoteControlState(on ? 1 : 0);
}
