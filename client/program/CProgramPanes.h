#pragma once
#include "CStandInPanes.h"
#include "PaneContext.h"

#include <cstdint>
#include <memory>

class CMainFrame;
class CDlgChat;
class CDlgLeft;
class CDlgLocalVideo;
class CDlgVoteList;
class CVideoWallPane;
class VideoControl_Dlg;
class CFramePaneHost;
class CFrameVideoHost;
class CProgramDocs;
class CProgramSettings;
class IVideoLibrary;
class IAudioSources;
class ICameraPanel;
class CProgramSharing;
class IPaneHost;

// The program's panes of the main window: the chat pane, the left pane with
// the participants list, the mixer controls and the own video window, the
// vote page, the video wall, the camera panel and the pan-tilt settings.
// Each pane reaches the main window through a host over it, and the
// dispatcher reaches each pane (and the video library, the audio manager
// and the recorder) through its targets. Panes not built here come from the
// stand-ins. The main window owns this object and the panes it makes.
class CProgramPanes : public CStandInPanes
{
public:
    // context: the participant table, login record, command manager and
    // language manager the panes work with (its host is this object's).
    CProgramPanes(CMainFrame* frame, const PANE_CONTEXT& context);
    ~CProgramPanes() override;

    CWnd* CreatePane(FRAME_PANE pane, CWnd* parent) override;
    IFrameVideoWall* CreateVideoWall(CWnd* parent) override;
    bool OwnedByFrame(FRAME_PANE pane) override;
    void InitDevices() override;
    void StartOwnPreview() override;

    CDlgChat* ChatPane() { return m_chat; }
    CDlgLeft* LeftPane() { return m_left; }
    CDlgVoteList* VotePane() { return m_votes; }
    CVideoWallPane* VideoWall() { return m_wall; }
    CDlgLocalVideo* LocalVideo();
    VideoControl_Dlg* CameraPanel() { return m_camera; }
    CProgramSharing& Sharing() { return *m_sharing; }
    IPaneHost* PaneHost();
    // The main window's meeting recording runs.
    bool IsRecording() const;
    // The settings and media dialogs.
    CProgramSettings& Settings() { return *m_settings; }

private:
    // The dispatcher's targets follow the panes made so far.
    void UpdateTargets();

    CMainFrame* m_frame;
    PANE_CONTEXT m_ctx;
    std::unique_ptr<CFramePaneHost> m_paneHost;
    std::unique_ptr<CFrameVideoHost> m_videoHost;
    std::unique_ptr<CDlgLocalVideo> m_localVideo;
    std::unique_ptr<IVideoLibrary> m_videoLink;
    std::unique_ptr<IAudioSources> m_audioLink;
    std::unique_ptr<ICameraPanel> m_cameraLink;
    std::unique_ptr<CProgramSharing> m_sharing;
    std::unique_ptr<CProgramDocs> m_docs;
    CDlgChat* m_chat = nullptr;
    CDlgLeft* m_left = nullptr;
    CDlgVoteList* m_votes = nullptr;
    CVideoWallPane* m_wall = nullptr;
    VideoControl_Dlg* m_camera = nullptr;
    std::unique_ptr<CProgramSettings> m_settings;
};
