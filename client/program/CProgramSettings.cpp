#include "CProgramSettings.h"

#include "CMainFrame.h"
#include "CMainFrameCommands.h"
#include "ClientLog.h"

CProgramSettings::CProgramSettings(CMainFrame* frame, CProgramPanes* panes)
    : m_host(frame), m_targets(frame, panes, &m_dialogs, &frame->Commands().Targets())
{
    SetSettingsHost(&m_host);
    // The window's commands reach the dialogs from now on; what they do not
    // handle goes on to the targets the window had.
    frame->Commands().SetTargets(&m_targets);
}

CProgramSettings::~CProgramSettings()
{
    if (GetSettingsHost() == &m_host)
        SetSettingsHost(nullptr);
    m_dialogs.Destroy();
}

bool CProgramSettings::MakesPane(FRAME_PANE pane)
{
    return pane == PANE_DEVICE || pane == PANE_DEVICE_REMOTE || pane == PANE_RECORD_TIMER;
}

CWnd* CProgramSettings::CreatePane(FRAME_PANE pane, CWnd* parent)
{
    switch (pane) {
    case PANE_DEVICE:
        // Both settings dialogs, hidden, with the main window as parent.
        if (!m_dialogs.CreateSettings(parent))
            g_Log.Write(
                0, "<CProgramSettings::CreatePane> the settings dialogs could not be created\n");
        return m_dialogs.Device().GetSafeHwnd() ? &m_dialogs.Device() : nullptr;
    case PANE_DEVICE_REMOTE:
        return m_dialogs.Remote().GetSafeHwnd() ? &m_dialogs.Remote() : nullptr;
    case PANE_RECORD_TIMER:
        // Without parent, hidden.
        if (!m_dialogs.RecordTimer().GetSafeHwnd() && !m_dialogs.CreateRecordTimer())
            return nullptr;
        return &m_dialogs.RecordTimer();
    default:
        return nullptr;
    }
}

bool CProgramSettings::HasDialogs() { return m_dialogs.Device().GetSafeHwnd() != NULL; }

bool CProgramSettings::InitDevices()
{
    if (!HasDialogs())
        return false;
    m_dialogs.InitDevices();
    return true;
}
