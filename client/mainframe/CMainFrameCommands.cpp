#include "CMainFrameCommands.h"

#include "CFrameCommandTargets.h"
#include "CFrameRecorder.h"
#include "CFrameRecorderLink.h"
#include "CFrameSenders.h"
#include "CKeyNoticeHook.h"
#include "CLanguageManager.h"
#include "CMainFrame.h"
#include "CUserTable.h"
#include "ClientLog.h"
#include "ClientUtil.h"
#include "IFrameVideoWall.h"
#include "IProcessLauncher.h"
#include "MainFrameMessages.h"
#include "MainFrameResource.h"
#include "WireReader.h"
#include "WireWriter.h"

#include <cstring>

namespace {
// Switches of the meeting-state record (u32 each).
enum : size_t { MS_FILES_FORBIDDEN = 1384, MS_PRIVATE_CHAT_FORBIDDEN = 1388 };

// The split commands of the menu: count, and whether the window then fills
// the screen.
struct SplitCommand
{
    UINT id;
    uint8_t count;
    bool fullScreen;
};
const SplitCommand kSplitCommands[] = {
    {ID_SPLIT_4, 4, false},       {ID_SPLIT_6, 6, false},       {ID_SPLIT_8, 8, false},
    {ID_SPLIT_9, 9, false},       {ID_SPLIT_12, 12, false},     {ID_SPLIT_16, 16, false},
    {ID_SPLIT_25, 25, false},     {ID_SPLIT_4_FULL, 4, true},   {ID_SPLIT_9_FULL, 9, true},
    {ID_SPLIT_16_FULL, 16, true}, {ID_SPLIT_25_FULL, 25, true},
};

// The window-mode popup's items as layout codes: videos, data window, videos
// over the screen, data only over the screen.
struct WindowModeCommand
{
    UINT id;
    unsigned code;
};
const WindowModeCommand kWindowModes[] = {
    {ID_WINDOW_MODE_1, 4}, {ID_WINDOW_MODE_2, 0}, {ID_WINDOW_MODE_3, 10}, {ID_WINDOW_MODE_4, 3}};

const UINT kHandled[] = {
    ID_MINIMIZE_BUTTON,     ID_SEND_FILE,
    ID_OPEN_RECEIVE_FOLDER, ID_CHAIR_MODE,
    ID_MEETING_MODE_1,      ID_FREE_MODE,
    ID_REQUEST_CONTROL,     ID_RELEASE_CONTROL,
    ID_STOP_CONTROLLED,     ID_RECORD,
    ID_LOCK_MEETING,        ID_EXIT,
    ID_SYSTEM_SETTINGS,     ID_PAGE_WHITEBOARD,
    ID_PAGE_DOCUMENTS,      ID_PAGE_BROWSING,
    ID_WB_SCREEN_CAPTURE,   ID_ABOUT,
    ID_OPEN_PLAYER,         ID_RECORDINGS_FOLDER,
    ID_ONLINE_HELP,         ID_PAN_TILT_SETTINGS,
    ID_SCREEN_SETTINGS,     ID_MEETING_SETTINGS,
    ID_FORBID_FILES,        ID_FORBID_PRIVATE_CHAT,
    ID_LANGUAGE_DIALOG,
};

// The camera keys: arrows left, right, up, down, then T and W (zoom in, out).
int CameraCommand(UINT key)
{
    switch (key) {
    case VK_LEFT:
        return 1;
    case VK_RIGHT:
        return 2;
    case VK_UP:
        return 3;
    case VK_DOWN:
        return 4;
    case 'T':
        return 5;
    case 'W':
        return 6;
    default:
        return 0;
    }
}

// A name that the file system takes: characters a file name cannot hold
// become '_' (double-byte characters stay whole).
std::string FileNameOf(const std::string& text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = (unsigned char)text[i];
        if (c >= 0x81 && c <= 0xFE && i + 1 < text.size()) {
            out += text[i];
            out += text[++i];
            continue;
        }
        out += (c < 32 || strchr("\\/:*?\"<>|", c)) ? '_' : (char)c;
    }
    return out;
}

// A quoted argument; a folder loses its trailing backslash, which would
// otherwise escape the closing quote.
std::string Quoted(std::string path)
{
    while (path.size() > 3 && path.back() == '\\')
        path.pop_back();
    return "\"" + path + "\"";
}
} // namespace

const char* const CMainFrameCommands::kHelpAddress = "http://help.halvern.example/";

CMainFrameCommands::CMainFrameCommands(const FRAME_COMMAND_CONTEXT& context,
                                       const FRAME_COMMAND_SERVICES& services)
    : m_ctx(context)
{
    if (!services.senders)
        m_ownSenders.reset(new CFrameSenders);
    if (!services.recorder)
        m_ownRecorder.reset(new CFrameRecorder);
    if (!services.targets)
        m_ownTargets.reset(new CFrameCommandTargets);
    m_senders = services.senders ? services.senders : m_ownSenders.get();
    m_recorder = services.recorder ? services.recorder : m_ownRecorder.get();
    m_targets = services.targets ? services.targets : m_ownTargets.get();
    m_recorderLink.reset(new CFrameRecorderLink(m_recorder, &m_recording));
    m_altHeld = [] { return (::GetKeyState(VK_MENU) & 0x8000) != 0; };
    if (!m_ctx.programFolder.empty() && m_ctx.programFolder.back() != '\\')
        m_ctx.programFolder += '\\';
}

CMainFrameCommands::~CMainFrameCommands() { Detach(); }

void CMainFrameCommands::Attach()
{
    if (!m_keyHook)
        m_keyHook.reset(new CKeyNoticeHook);
    if (!m_keyHook->Start(m_ctx.frame->GetSafeHwnd()))
        g_Log.Write(0, "<CMainFrameCommands::Attach> no key notices: %lu\n", ::GetLastError());
}

void CMainFrameCommands::Detach()
{
    if (m_keyHook)
        m_keyHook->Stop();
}

// ---------------------------------------------------------------- state

bool CMainFrameCommands::OwnRecord(USER_INFO* own)
{
    return m_ctx.users->GetUser(m_ctx.login->userId, own);
}

bool CMainFrameCommands::IsChair() const { return m_ctx.login->role == 1; }

uint32_t CMainFrameCommands::FileSwitch(size_t offset) const
{
    uint32_t value = 0;
    WireReader r(m_ctx.frame->MeetingState() + offset, 4);
    r.U32(value);
    return value;
}

void CMainFrameCommands::ToggleSwitch(size_t offset)
{
    const uint32_t value = FileSwitch(offset) ? 0 : 1;
    WireWriter w(m_ctx.frame->MeetingState() + offset, 4);
    w.U32(value);
    m_senders->SendMeetingState(m_ctx.frame->MeetingState());
}

bool CMainFrameCommands::GetCommandState(UINT id, bool* enabled, bool* checked)
{
    switch (id) {
    case ID_RECORD:
        *enabled = true;
        *checked = IsRecording();
        return true;
    case ID_SYSTEM_SETTINGS:
        *enabled = true;
        *checked = m_targets->IsDeviceDialogShown();
        return true;
    default:
        return false;
    }
}

// ---------------------------------------------------------------- commands

bool CMainFrameCommands::Handles(UINT id) const
{
    for (UINT h : kHandled)
        if (h == id)
            return true;
    for (const SplitCommand& c : kSplitCommands)
        if (c.id == id)
            return true;
    for (const WindowModeCommand& c : kWindowModes)
        if (c.id == id)
            return true;
    return id >= ID_LANGUAGE_FIRST && id < ID_LANGUAGE_DIALOG && m_ctx.language &&
           (int)(id - ID_LANGUAGE_FIRST) < m_ctx.language->GetCount();
}

void CMainFrameCommands::SetMeetingMode(uint8_t mode)
{
    if (mode == 2) {
        m_senders->SendMeetingMode(2);
        // Another participant holding the meeting control keeps the layout.
        bool otherHolds = false;
        USER_INFO user = {};
        for (int i = 0; m_ctx.users->GetUserAt(i, &user); ++i)
            if (user.userId != m_ctx.login->userId && user.controlState == 2)
                otherHolds = true;
        m_ctx.login->meetingMode = 2;
        if (!otherHolds)
            m_ctx.frame->TakeLayoutControl();
        return;
    }
    m_ctx.frame->DropLayoutControl();
    m_senders->SendMeetingMode(mode);
}

bool CMainFrameCommands::OnCommand(UINT id)
{
    if (!Handles(id))
        return false;
    CMainFrame* frame = m_ctx.frame;
    const bool right = frame->HasLayoutRight();
    for (const SplitCommand& c : kSplitCommands) {
        if (c.id != id)
            continue;
        if (right) {
            frame->SetSplitMode(c.count);
            if (c.fullScreen)
                frame->EnterFullScreen();
        }
        return true;
    }
    for (const WindowModeCommand& c : kWindowModes) {
        if (c.id == id && right)
            frame->ApplyLayoutCode(c.code);
        if (c.id == id)
            return true;
    }
    if (id >= ID_LANGUAGE_FIRST && id < ID_LANGUAGE_DIALOG) {
        m_ctx.language->Select((int)(id - ID_LANGUAGE_FIRST));
        BroadcastToThreadWindows(WM_LANGUAGE_CHANGED, 0, 0);
        return true;
    }
    switch (id) {
    case ID_MINIMIZE_BUTTON:
        frame->PostMessage(WM_SYSCOMMAND, SC_MINIMIZE, 0);
        break;
    case ID_SEND_FILE:
        if (FileSwitch(MS_FILES_FORBIDDEN) == 0)
            m_targets->StartFileSend();
        else
            frame->ShowMessage("会议禁止发送文件!");
        break;
    case ID_OPEN_RECEIVE_FOLDER:
        m_targets->OpenReceiveFolder();
        break;
    case ID_CHAIR_MODE:
        if (IsChair())
            SetMeetingMode(2);
        break;
    case ID_MEETING_MODE_1:
    case ID_FREE_MODE:
        if (IsChair())
            SetMeetingMode(id == ID_FREE_MODE ? 0 : 1);
        break;
    case ID_REQUEST_CONTROL:
        m_targets->RequestControl();
        break;
    case ID_RELEASE_CONTROL:
        m_targets->ReleaseControl();
        break;
    case ID_STOP_CONTROLLED:
        if (const uint32_t controller = m_targets->GetControllingUser()) {
            m_senders->SendRemoteControlEnd(controller, 0);
            m_targets->EndControlled();
        }
        break;
    case ID_RECORD:
        if (IsRecording())
            StopRecording();
        else
            StartRecording();
        m_targets->RedrawRecordButton();
        break;
    case ID_LOCK_MEETING:
        if (IsChair())
            m_senders->SendLockMeeting(*frame->MeetingLockedFlag() ? 0 : 1);
        break;
    case ID_EXIT:
        AskExit();
        break;
    case ID_SYSTEM_SETTINGS:
        m_targets->ShowDeviceDialog(!m_targets->IsDeviceDialogShown());
        break;
    case ID_PAGE_WHITEBOARD:
    case ID_PAGE_DOCUMENTS:
    case ID_PAGE_BROWSING:
        if (right)
            frame->TabStrip().ShowPage((int)(id - ID_PAGE_WHITEBOARD));
        break;
    case ID_WB_SCREEN_CAPTURE:
        CaptureScreenToFile();
        break;
    case ID_ABOUT:
        m_targets->ShowAbout();
        break;
    case ID_OPEN_PLAYER:
        m_ctx.launcher->Start(nullptr, Quoted(m_ctx.programFolder + "Ovrant.exe"));
        break;
    case ID_RECORDINGS_FOLDER:
        m_ctx.launcher->Start(nullptr, "Explorer " + Quoted(m_ctx.programFolder + "Record\\"));
        break;
    case ID_ONLINE_HELP:
        OpenHelp();
        break;
    case ID_PAN_TILT_SETTINGS:
        m_targets->ShowPanTiltSettings();
        break;
    case ID_SCREEN_SETTINGS:
        m_targets->ShowScreenConfig();
        break;
    case ID_MEETING_SETTINGS:
        if (IsChair())
            m_targets->ShowMeetingSettings(frame->MeetingState(), frame);
        break;
    case ID_FORBID_FILES:
        if (IsChair())
            ToggleSwitch(MS_FILES_FORBIDDEN);
        break;
    case ID_FORBID_PRIVATE_CHAT:
        if (IsChair())
            ToggleSwitch(MS_PRIVATE_CHAT_FORBIDDEN);
        break;
    case ID_LANGUAGE_DIALOG:
        m_targets->ShowLanguageDialog(frame);
        break;
    default:
        return false;
    }
    return true;
}

void CMainFrameCommands::AskExit()
{
    std::string text = "是否真的要退出会议室?";
    if (m_ctx.language)
        m_ctx.language->LoadStringTo(61560, text);
    if (AskMainWindow(text.c_str()) == IDOK)
        m_ctx.frame->PostMessage(WM_CLOSE);
}

void CMainFrameCommands::OpenHelp() { m_ctx.launcher->ShellOpen(kHelpAddress); }

// ---------------------------------------------------------------- keys

POINT CMainFrameCommands::PopupPoint()
{
    CRect client;
    m_ctx.frame->GetClientRect(&client);
    POINT pt = {client.Width() / 2 - 20, client.Height() / 2 - 30};
    m_ctx.frame->ClientToScreen(&pt);
    return pt;
}

CWnd* CMainFrameCommands::PopupOwner()
{
    IFrameVideoWall* wall = m_ctx.frame->VideoWall();
    CWnd* owner = wall ? wall->Window() : nullptr;
    return owner && owner->GetSafeHwnd() ? owner : m_ctx.frame;
}

void CMainFrameCommands::ShowPopup(int popup)
{
    CMenu* menu = m_ctx.frame->PreparePopup((CMainFrame::POPUP)popup);
    if (!menu)
        return;
    if (popup == CMainFrame::POPUP_SPLIT) {
        // The check follows the split count alone here.
        const uint8_t split = (uint8_t)(m_ctx.frame->GetLayout().split & 0xFF);
        for (const SplitCommand& c : kSplitCommands)
            if (!c.fullScreen)
                menu->CheckMenuItem(c.id,
                                    MF_BYCOMMAND | (split == c.count ? MF_CHECKED : MF_UNCHECKED));
    }
    m_targets->TrackPopup(menu, PopupPoint(), PopupOwner());
}

bool CMainFrameCommands::OnFunctionKey(UINT key)
{
    USER_INFO own = {};
    switch (key) {
    case VK_F1:
        AskExit();
        return true;
    case VK_F2:
        ShowPopup(CMainFrame::POPUP_WINDOW_MODE);
        return true;
    case VK_F3:
        ShowPopup(CMainFrame::POPUP_SPLIT);
        return true;
    case VK_F4:
        OnCommand(ID_SYSTEM_SETTINGS);
        return true;
    case VK_F5:
        if (OwnRecord(&own) && own.role != 3)
            ShowPopup(CMainFrame::POPUP_REQUEST);
        return true;
    case VK_F6:
        ShowPopup(CMainFrame::POPUP_MEETING_MODE);
        return true;
    case VK_F7:
        OnCommand(ID_RECORD);
        return true;
    case VK_F8:
        if (m_ctx.frame->HasLayoutRight()) {
            POINT pt = {};
            ::GetCursorPos(&pt);
            m_targets->PopupVideoMenu(pt);
        }
        return true;
    case VK_F9:
        ShowPopup(CMainFrame::POPUP_DATA_WINDOW);
        return true;
    case VK_F10:
        ShowPopup(CMainFrame::POPUP_FILE);
        return true;
    case VK_F11:
        OnCommand(ID_LOCK_MEETING);
        return true;
    default:
        return false;
    }
}

LRESULT CMainFrameCommands::OnKeyNotice(WPARAM key, LPARAM flags)
{
    const LONG state = (LONG)flags;
    if (state < 0 && OnFunctionKey((UINT)key))
        return 1;
    if (const int command = CameraCommand((UINT)key)) {
        if (state > 0) {
            if (m_altHeld && m_altHeld())
                m_targets->SendCameraCommand(command);
        } else {
            m_targets->StopCamera();
        }
    }
    return 1;
}

// ---------------------------------------------------------------- recording

std::string CMainFrameCommands::RecordingName() const
{
    char name[sizeof m_ctx.login->roomName + 1] = {};
    memcpy(name, m_ctx.login->roomName, sizeof m_ctx.login->roomName);
    return FileNameOf(name);
}

void CMainFrameCommands::StartRecording()
{
    if (IsRecording())
        return;
    std::string path;
    if (!m_targets->AskRecordingPath(m_ctx.frame, RecordingName(), &path))
        return;
    if (!m_recorder->StartRecord(path.c_str())) {
        // The recording stays off and the user learns why.
        m_recorder->StopRecord();
        std::string error = m_recorder->GetErrorMsg();
        if (error.empty())
            error = "录制失败";
        g_Log.Write(0, "<CMainFrameCommands::StartRecording> %s: %s\n", path.c_str(),
                    error.c_str());
        m_ctx.frame->ShowMessage(error.c_str());
        return;
    }
    m_targets->StartRecordTimer();
    m_recording = 1;
    m_recorder->SetAudioRecord(true, &CMainFrameCommands::OnAudioRecord, this);
    m_targets->RecordVideos(true);
    RecordLayoutState(true);
    USER_INFO user = {};
    for (int i = 0; m_ctx.users->GetUserAt(i, &user); ++i) {
        char name[sizeof user.name + 1] = {};
        memcpy(name, user.name, sizeof user.name);
        m_recorder->WriteChatData(name, 1);
        if (user.speakState == 2)
            m_recorder->AddAudio(user.userId);
    }
}

void CMainFrameCommands::StopRecording()
{
    if (!IsRecording())
        return;
    g_Log.Write(0, "stop record\n");
    m_recorder->StopRecord();
    m_recording = 0;
    m_recorder->SetAudioRecord(false, nullptr, nullptr);
    m_targets->RecordVideos(false);
    m_targets->HideRecordTimer();
}

IRecorder& CMainFrameCommands::Recorder() { return *m_recorderLink; }

void CMainFrameCommands::RecordLayoutState(bool force)
{
    if (!IsRecording())
        return;
    const WINDOW_LAYOUT& l = m_ctx.frame->GetLayout();
    const bool fullVideo = l.fullScreenVideo == 1;
    const uint8_t split = (uint8_t)(l.split & 0xFF);
    const uint8_t video = fullVideo || l.displayMode != DISPLAY_DATA_ONLY;
    const uint8_t board = !fullVideo && l.displayMode != DISPLAY_VIDEOS;
    const uint8_t chat = !fullVideo && l.displayMode == DISPLAY_DATA;
    if (force || split != m_toldSplit)
        m_recorder->SplitVideoWnd(m_toldSplit = split);
    if (force || video != m_toldVideo)
        m_recorder->ShowVideoWnd(m_toldVideo = video);
    if (force || board != m_toldBoard)
        m_recorder->ShowBoardWnd(m_toldBoard = board);
    if (force || chat != m_toldChat)
        m_recorder->ShowChatWnd(m_toldChat = chat);
}

int CMainFrameCommands::OnAudioRecord(void* context, unsigned long extra, unsigned long,
                                      const void* data, unsigned long length)
{
    CMainFrameCommands* self = static_cast<CMainFrameCommands*>(context);
    if (self && self->IsRecording() && data && length > 0)
        self->m_recorder->WriteAudioData(data, length, extra);
    return 0;
}

void CMainFrameCommands::RecordBoardData(const void* data, size_t length)
{
    m_recorderLink->WriteBoardData(data, length);
}

// ---------------------------------------------------------------- close

void CMainFrameCommands::BeforeConnectionCloses()
{
    Detach();
    StopRecording();
}

void CMainFrameCommands::AfterConnectionClosed()
{
    m_targets->ClearVideos();
    m_targets->StopTransfers();
}

// ---------------------------------------------------------------- whiteboard

std::string CMainFrameCommands::CapturePicturePath() const
{
    const std::string folder =
        m_ctx.programFolder.empty() ? GetAppDirectory() : m_ctx.programFolder;
    return folder + "Temp\\CapturePicture.bmp";
}

void CMainFrameCommands::CaptureScreenToFile()
{
    const std::string path = CapturePicturePath();
    if (m_targets->CaptureScreenRegion(path))
        OpenInWhiteboard(path);
}

void CMainFrameCommands::OpenInWhiteboard(const std::string& path)
{
    USER_INFO own = {};
    if (!OwnRecord(&own) || own.controlState != 2)
        return;
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return;
    m_targets->OpenWhiteboardDocument(path);
}
