#pragma once
#include "CWBFrame.h"
#include "CWBMeetingHost.h"
#include "IFrameWhiteboard.h"

// The whiteboard frame as the main window's whiteboard page.
class CWBMeetingFrame : public CWBFrame, public IFrameWhiteboard
{
public:
    CWnd* GetPageWindow() override { return this; }
    void SetSendCallback(FRAME_WHITEBOARD_SEND fn, void* context) override
    {
        CWBFrame::SetSendCallback(fn, context);
    }
    void StopAllTransfers() override { CWBFrame::StopAllTransfers(); }
    size_t OnPeerData(const unsigned char* data, size_t length) override
    {
        return CWBFrame::OnPeerData(data, length);
    }
    void SetEditRight(bool allowed) override { CWBFrame::SetEditRight(allowed ? TRUE : FALSE); }
    void SendPageSync() override { CWBFrame::SendPageSync(); }
    bool OpenDocument(const char* path) override { return path && OpenDocumentFile(path) != FALSE; }
    CWBFrame* DocumentFrame() override { return this; }

    CWBMeetingHost& Host() { return m_host; }

protected:
    // The tool panel's screen-capture button goes to the main window, which
    // puts the captured region into this board.
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

private:
    CWBMeetingHost m_host;
};
