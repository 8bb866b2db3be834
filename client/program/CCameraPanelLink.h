#pragma once
#include "ICameraPanel.h"
#include "VideoControl_Dlg.h"

// The camera panel as the dispatcher sees it: commands a chair sent to
// steer this participant's camera.
class CCameraPanelLink : public ICameraPanel
{
public:
    explicit CCameraPanelLink(VideoControl_Dlg* panel) : m_panel(panel) {}
    void OnRemoteCommand(const unsigned char* bytes, size_t length) override
    {
        if (m_panel && bytes && length > 0 && length <= 255)
            m_panel->OnRemoteCommand(bytes, (int)length);
    }

private:
    VideoControl_Dlg* m_panel;
};
