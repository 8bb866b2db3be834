// The program's main window: the meeting window of this edition, with the
// program's panes and this edition's whiteboard, audio page, microphone
// meter and video command.
#include "CDlgAudioConfig.h"
#include "CDlgLeft.h"
#include "CDlgRight.h"
#include "CMicMeter.h"
#include "CProgramPanes.h"
#include "CProgramSharing.h"
#include "CQuilletApp.h"
#include "CQuilletAudioPage.h"
#include "CQuilletBinder.h"
#include "CQuilletFrame.h"
#include "CQuilletWBFrame.h"
#include "CClientSettings.h"
#include "CCommandManager.h"
#include "CQuilletShareFrame.h"
#include "CSharingCommandTargets.h"
#include "CWBFrame.h"
#include "CWebView.h"
#include "MediaFunctionList.h"
#include "ServerWire.h"
#include "WbFrameRegistration.h"

#include <memory>

namespace {
CQuilletFrame* s_frame = nullptr;
std::unique_ptr<CQuilletAudioPage> s_audioPage;

typedef int(__cdecl* PFN_RV_WriteChatData)(const char* text, uint32_t kind);
enum : uint32_t { RECORD_BOARD_ADDRESS = 3, RECORD_BROWSING_ADDRESS = 4 };

void RecordAddress(const char* address, uint32_t kind)
{
    if (PFN_RV_WriteChatData write =
            g_MediaFunctions.Get<PFN_RV_WriteChatData>(MF_RV_WriteChatData))
        write(address, kind);
}

// Co-browsing addresses go to the recorder, which keeps them only while it records.
void RecordBrowsingAddress(const char* address) { RecordAddress(address, RECORD_BROWSING_ADDRESS); }

CWebShareFrame* MakeBoard()
{
    CQuilletShareFrame* board = new CQuilletShareFrame;
    board->SetServerAddress(g_LoginInfo.serverAddress);
    board->SetRecordAddress([](const std::string& address) {
        if (s_frame && s_frame->IsRecording())
            RecordAddress(address.c_str(), RECORD_BOARD_ADDRESS);
    });
    return board;
}
} // namespace

CMainFrameBase* CreateMainFrame()
{
    RegisterWhiteboardFrame(&CQuilletWBFrame::Make);
    CDlgLeft::SetMicLevelPainter(&CMicMeter::Paint);
    CDlgRight::SetDeviceCommandAsksParticipant(true);
    CWebShareFrame::SetMaker(&MakeBoard);
    CWebView::SetNavigationRecorder(&RecordBrowsingAddress);

    CQuilletAudio* audio = g_pQuilletApp ? g_pQuilletApp->Audio() : nullptr;
    // One main window per run: its command targets live as long as the program.
    static CSharingCommandTargets s_targets;
    MAINFRAME_SERVICES services;
    services.commands.targets = &s_targets;
    services.makePanes = [](CMainFrame* frame) -> IFramePanes* {
        CProgramPanes* panes = new CProgramPanes(frame, DefaultPaneContext(nullptr));
        panes->Sharing().BindCommandTargets(&s_targets);
        return panes;
    };
    CQuilletFrame* frame = new CQuilletFrame(audio, services);
    s_frame = frame;
    if (audio) {
        // The one window of the run starts the devices, from its start step
        // or the settings dialog.
        s_audioPage.reset(new CQuilletAudioPage(g_RavoTM, *audio, g_Settings,
                                                [] { return s_frame && s_frame->StartDevices(); }));
        CDlgAudioConfig::SetBinding(s_audioPage.get());
    }
    frame->SetPictureTarget([frame](const std::string& path) {
        if (IFrameWhiteboard* board = frame->Whiteboard())
            board->OpenDocument(path.c_str());
    });
    return frame;
}
