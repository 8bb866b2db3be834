#pragma once
#include "CProgramSettingsHost.h"
#include "CSettingsCommandTargets.h"
#include "CSettingsDialogs.h"
#include "IFramePanes.h"

class CMainFrame;
class CProgramPanes;
class CWnd;

// The settings and media dialogs of the program's main window: the system
// settings, remote settings and recording timer dialogs are made as the
// window's panes of those names (and stay this object's), the window's
// commands and the dialogs reach each other through the targets and the
// host installed here, and the dispatcher's device state (2106) and
// settings data (2110) go to the dialogs.
class CProgramSettings
{
public:
    CProgramSettings(CMainFrame* frame, CProgramPanes* panes);
    ~CProgramSettings();

    // The panes made here; null for any other pane or when the dialog could
    // not be created.
    CWnd* CreatePane(FRAME_PANE pane, CWnd* parent);
    static bool MakesPane(FRAME_PANE pane);
    // The saved device settings applied; false when the settings dialog
    // does not exist.
    bool InitDevices();

    CSettingsDialogs& Dialogs() { return m_dialogs; }
    // The dialogs as the dispatcher reaches them, once they exist.
    bool HasDialogs();

private:
    CSettingsDialogs m_dialogs;
    CProgramSettingsHost m_host;
    CSettingsCommandTargets m_targets;
};
