#include "CServerDispatcher.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <vector>

#include "CLanguageManager.h"
#include "CLogFile.h"
#include "CStringTable.h"
#include "CUserTable.h"
#include "IAudioSources.h"
#include "ICameraPanel.h"
#include "IChatPane.h"
#include "ICommandLink.h"
#include "IDeviceDialog.h"
#include "IDocumentList.h"
#include "IFileReceiver.h"
#include "ILeftPane.h"
#include "IMainWindow.h"
#include "INetDiskPage.h"
#include "IRecorder.h"
#include "IRemoteDeviceDialog.h"
#include "IScreenShare.h"
#include "IVideoLibrary.h"
#include "IVideoWall.h"
#include "IVotePane.h"
#include "IWebSharePane.h"
#include "IWhiteboard.h"
#include "ServerWire.h"
#include "WireReader.h"

const char* const CServerDispatcher::kHiddenUser = "tavqe";

namespace {

enum : uint32_t {
    TEXT_KICKED = 61550,
    TEXT_USER_QUIT = 61551,
    TEXT_SPEAKERS_FULL = 61556,
    TEXT_RECEIVE_VIDEO_FAILED = 61559,
    TEXT_USER_JOINED = 61588,
    TEXT_DOC_CREATE_FAILED = 61599,
    TEXT_DOC_RENAME_FAILED = 61600,
    TEXT_DOC_DELETE_FAILED = 61601,
    TEXT_DOC_LIST_FAILED = 61602,
    TEXT_DOC_MOVE_FAILED = 61603,
};

// Fields of the meeting-state record that the dispatcher reads.
enum : size_t {
    STATE_BULLETIN = 1304,
    STATE_PRIVATE_CHAT_OFF = 1388,
};

// Kinds of relay records, by the high four bits of their first byte.
enum : uint8_t {
    RELAY_WHITEBOARD = 0x00,
    RELAY_PRESENTATION = 0x10,
    RELAY_BROWSING = 0x20,
};

// The folder of the meeting's whiteboard documents.
enum : uint32_t { MEETING_DOC_FOLDER = 1354 };

enum : uint16_t { DOC_LIST_EMPTY = 5 };

// Sub-types of the data one participant sends another (2110).
enum : uint16_t {
    DATA_SETTINGS_QUERY = 1,
    DATA_REMOTE_SETTINGS = 2,
    DATA_APPLY_SETTINGS = 3,
    DATA_PAGE_SYNC = 64,
};

const size_t kDocTextSize = 1024;
const size_t kDocNameSize = 260;

uint16_t U16At(const unsigned char* m, size_t offset)
{
    return static_cast<uint16_t>(m[offset] | m[offset + 1] << 8);
}

// A text of count bytes without terminator, cut at an embedded NUL and at
// capacity - 1 bytes.
std::string CountedText(const unsigned char* bytes, size_t count, size_t capacity)
{
    if (count > capacity - 1)
        count = capacity - 1;
    const char* text = reinterpret_cast<const char*>(bytes);
    return std::string(text, strnlen(text, count));
}

} // namespace

CServerDispatcher::CServerDispatcher(const DISPATCH_TARGETS& targets) : m_t(targets) {}

bool CServerDispatcher::Dispatch(const void* data, size_t length)
{
    Bytes m = static_cast<Bytes>(data);
    if (!m || length < 2 || !m_t.users || !m_t.login) {
        Log(0, "dropped a server message of %u bytes\n", static_cast<unsigned>(length));
        return false;
    }
    uint16_t code = U16At(m, 0);
    bool taken = false;
    switch (code) {
    case CMD_USER_JOINED:
        taken = OnUserJoined(m, length);
        break;
    case CMD_USER_DEVICES:
        taken = OnUserDevices(m, length);
        break;
    case CMD_USER_QUIT:
        taken = OnUserQuit(m, length);
        break;
    case CMD_MEETING_MODE:
        taken = OnMeetingMode(m, length);
        break;
    case CMD_LOCK_MEETING:
        taken = OnMeetingLocked(m, length);
        break;
    case CMD_KICK_USER:
        taken = OnKicked(m, length);
        break;
    case CMD_SPEAK_STATE:
        taken = OnSpeakState(m, length);
        break;
    case CMD_RECEIVE_VIDEO_REPLY:
        taken = OnReceiveVideoReply(m, length);
        break;
    case CMD_STOP_VIDEO:
        taken = OnStopVideo(m, length);
        break;
    case CMD_DATA_CONTROL:
        taken = OnDataControl(m, length);
        break;
    case CMD_START_SEND_VIDEO:
        taken = OnStartSendVideo(m, length);
        break;
    case CMD_FREE_FILE_SENDING:
        taken = length == 4;
        if (taken) {
            Log(1, "received allow to send file freely info, bAllow = %d\n", m[2]);
            if (m_t.freeFileSending)
                *m_t.freeFileSending = m[2];
        }
        break;
    case CMD_FILE_OFFER_NOTICE:
        taken = OnFileOffer(m, length);
        break;
    case CMD_WINDOW_LAYOUT:
        taken = OnWindowLayout(m, length);
        break;
    case CMD_SCREEN_BROADCAST_NOTICE:
        taken = OnScreenBroadcast(m, length);
        break;
    case CMD_REMOTE_CONTROL_NOTICE:
    case CMD_REMOTE_CONTROL_REPLY:
    case CMD_SCREEN_CONTROL_GRANT:
        taken = OnRemoteControl(code, m, length);
        break;
    case CMD_RELAY:
        taken = OnRelay(m, length);
        break;
    case CMD_RELAY_RUN:
        taken = OnRelayRun(m, length);
        break;
    case CMD_SPEAKERS_FULL:
        Log(1, "received speek user full info\n");
        Message(TEXT_SPEAKERS_FULL, nullptr);
        taken = true;
        break;
    case CMD_STOP_SEND_VIDEO:
        Log(1, "received stop send video info\n");
        if (m_t.video)
            m_t.video->StopSend();
        taken = true;
        break;
    case CMD_CHAT:
        taken = OnChat(m, length);
        break;
    case CMD_CAMERA_COMMAND:
        taken = OnCameraCommand(m, length);
        break;
    case CMD_KEEP_ALIVE:
        taken = true;
        break;
    case CMD_DOCUMENT_ADDED:
        taken = OnDocumentAdded(m, length);
        break;
    case CMD_DOCUMENT_DELETED:
        taken = OnDocumentDeleted(m, length);
        break;
    case CMD_DOCUMENT_RENAMED:
        taken = OnDocumentRenamed(m, length);
        break;
    case CMD_DOCUMENT_LIST:
        taken = OnDocumentList(m, length);
        break;
    case CMD_DOCUMENT_MOVED:
        taken = OnDocumentMoved(m, length);
        break;
    case CMD_DEVICE_STATE:
        taken = OnDeviceState(m, length);
        break;
    case CMD_FORCED_LEAVE:
        taken = OnForcedLeave(m, length);
        break;
    case CMD_PARTICIPANT_DATA:
        taken = OnParticipantData(m, length);
        break;
    case CMD_VIDEO_WIDTH:
        taken = OnVideoWidth(m, length);
        break;
    case CMD_ROLE:
        taken = OnRole(m, length);
        break;
    case CMD_MEETING_STATE_ALL:
        taken = OnMeetingState(m, length);
        break;
    case CMD_WHITEBOARD_RIGHT:
    case CMD_RECORD_RIGHT:
    case CMD_TEXT_CHAT_RIGHT:
    case CMD_FILE_UPLOAD_RIGHT:
        taken = OnRight(code, m, length);
        break;
    default:
        break;
    }
    if (!taken)
        Log(0, "dropped server message %u of %u bytes\n", code, static_cast<unsigned>(length));
    return taken;
}

// --- Participants ---------------------------------------------------------

bool CServerDispatcher::OnUserJoined(Bytes m, size_t len)
{
    if (len != 32)
        return false;
    WireReader in(m, len);
    uint32_t id = 0;
    uint8_t role = 0;
    in.Seek(4);
    in.U32(id);
    // The name lies in bytes 8 to 28 and need not be terminated there.
    std::string name = CountedText(m + 8, 21, 22);
    in.Seek(29);
    in.U8(role);
    Log(1, "received user login info, userName = %s,dwUserID = %d,userType = %d\n", name.c_str(),
        id, role);
    if (name != kHiddenUser)
        Notice(TEXT_USER_JOINED, name.c_str());
    m_t.users->AddUser(id, name.c_str(), role);
    if (m_t.leftPane)
        m_t.leftPane->AddUser(id);
    if (m_t.mainWindow)
        m_t.mainWindow->SetParticipantCount(UserCount());
    if (m_t.chat)
        m_t.chat->AddRecipient(id);
    if (Recording())
        m_t.recorder->WriteChatData(name.c_str(), 1);
    return true;
}

bool CServerDispatcher::OnUserDevices(Bytes m, size_t len)
{
    if (len != 12)
        return false;
    WireReader in(m, len);
    uint32_t id = 0;
    uint8_t hasAudio = 0, hasVideo = 0, flagA = 0, flagB = 0;
    in.Seek(4);
    in.U32(id);
    in.U8(hasAudio);
    in.U8(hasVideo);
    in.U8(flagA);
    in.U8(flagB);
    Log(1, "received user device info,dwUserID = %d,bHasAudio = %d,bHasVideo = %d\n", id, hasAudio,
        hasVideo);
    CUserTable& users = *m_t.users;
    users.SetHasAudio(id, hasAudio);
    users.SetHasVideo(id, hasVideo);
    users.SetDeviceFlagA(id, flagA);
    users.SetDeviceFlagB(id, flagB);
    uint8_t videoState = 0;
    if (hasVideo == 0 && users.GetVideoState(id, &videoState) &&
        (videoState == 1 || videoState == 2)) {
        if (m_t.videoWall)
            m_t.videoWall->RemoveUserWindow(id);
        users.SetVideoState(id, 0);
        users.SetBroadcastFlag(id, 0);
    }
    if (m_t.leftPane)
        m_t.leftPane->RefreshUser(id);
    return true;
}

bool CServerDispatcher::OnUserQuit(Bytes m, size_t len)
{
    if (len != 8)
        return false;
    WireReader in(m, len);
    uint32_t id = 0;
    in.Seek(4);
    in.U32(id);
    USER_INFO user = {};
    if (!m_t.users->GetUser(id, &user))
        return false;
    user.name[sizeof user.name - 1] = '\0';
    Log(1, "recieved user quit info,dwUserID = %d\n", id);
    if (strcmp(user.name, kHiddenUser) != 0)
        Notice(TEXT_USER_QUIT, user.name);
    if (user.speakState == 2) {
        if (m_t.audio)
            m_t.audio->DelSource(id);
        if (Recording())
            m_t.recorder->DelAudio(id);
    }
    if ((user.videoState == 1 || user.videoState == 2) && m_t.videoWall)
        m_t.videoWall->RemoveUserWindow(id);
    if (user.controlState == 2) {
        if (m_t.presentation)
            m_t.presentation->SetControlRight(false);
        if (m_t.browsing)
            m_t.browsing->SetControlRight(false);
        if (m_t.screen) {
            m_t.screen->EndReceiving();
            m_t.screen->EndControlled();
        }
    }
    if (m_t.leftPane)
        m_t.leftPane->RemoveUser(id);
    if (Recording())
        m_t.recorder->WriteChatData(user.name, 2);
    m_t.users->RemoveUser(id);
    if (m_t.mainWindow)
        m_t.mainWindow->SetParticipantCount(UserCount());
    if (m_t.chat)
        m_t.chat->RemoveRecipient(id);
    return true;
}

bool CServerDispatcher::OnSpeakState(Bytes m, size_t len)
{
    if (len != 12)
        return false;
    WireReader in(m, len);
    uint32_t id = 0;
    uint8_t state = 0;
    in.Seek(4);
    in.U32(id);
    in.U8(state);
    Log(1, "received user speak state info,dwUserID = %d,state = %d\n", id, state);
    m_t.users->SetSpeakState(id, state);
    if (m_t.leftPane)
        m_t.leftPane->RefreshUser(id);
    if (IsOwn(id)) {
        if (m_t.leftPane)
            m_t.leftPane->ShowOwnSpeakState(state);
        if (state == 2 && Recording())
            m_t.recorder->AddAudio(id);
        else if (state == 0 && Recording())
            m_t.recorder->DelAudio(id);
        return true;
    }
    if (state == 2) {
        if (m_t.audio)
            m_t.audio->AddSource(id);
        if (Recording())
            m_t.recorder->AddAudio(id);
    } else if (state == 0) {
        if (m_t.audio)
            m_t.audio->DelSource(id);
        if (Recording())
            m_t.recorder->DelAudio(id);
    }
    return true;
}

bool CServerDispatcher::OnRole(Bytes m, size_t len)
{
    if (len != 12)
        return false;
    WireReader in(m, len);
    uint32_t id = 0;
    uint8_t role = 0;
    in.Seek(4);
    in.U32(id);
    in.U8(role);
    Log(1, "received user role info,dwUserID = %d,role = %d\n", id, role);
    m_t.users->SetRole(id, role);
    if (IsOwn(id))
        m_t.login->role = role;
    if (m_t.leftPane)
        m_t.leftPane->RefreshUser(id);
    return true;
}

bool CServerDispatcher::OnRight(uint16_t code, Bytes m, size_t len)
{
    if (len != 12)
        return false;
    WireReader in(m, len);
    uint32_t id = 0;
    uint8_t allowed = 0;
    in.Seek(4);
    in.U32(id);
    in.U8(allowed);
    Log(1, "received right %d info,dwUserID = %d,bAllow = %d\n", code, id, allowed);
    CUserTable& users = *m_t.users;
    switch (code) {
    case CMD_WHITEBOARD_RIGHT:
        users.SetAllowWhiteboardEdit(id, allowed);
        if (IsOwn(id) && m_t.whiteboard)
            m_t.whiteboard->SetEditRight(allowed != 0);
        break;
    case CMD_RECORD_RIGHT:
        users.SetAllowRecording(id, allowed);
        break;
    case CMD_TEXT_CHAT_RIGHT:
        users.SetAllowTextChat(id, allowed);
        break;
    default:
        users.SetAllowFileUpload(id, allowed);
        if (IsOwn(id) && m_t.netDisk)
            m_t.netDisk->EnableControls(allowed != 0);
        break;
    }
    return true;
}

// --- The meeting ----------------------------------------------------------

bool CServerDispatcher::OnMeetingMode(Bytes m, size_t len)
{
    if (len != 4)
        return false;
    uint8_t mode = m[2];
    Log(1, "received meeting mode change info,mode = %d\n", mode);
    m_t.login->meetingMode = mode;
    uint8_t ownRole = m_t.login->role;
    if (mode == 2) {
        uint32_t chair = 0;
        bool held = m_t.users->GetChairId(&chair);
        if (m_t.mainWindow && ((held && IsOwn(chair)) || (!held && ownRole == 1)))
            m_t.mainWindow->TakeLayoutControl();
        if (ownRole != 1 && m_t.videoWall)
            m_t.videoWall->DropNonBroadcastVideos();
    } else if (m_t.mainWindow) {
        m_t.mainWindow->DropLayoutControl();
    }
    if (m_t.mainWindow)
        m_t.mainWindow->SetMeetingModeText(mode);
    return true;
}

bool CServerDispatcher::OnMeetingLocked(Bytes m, size_t len)
{
    // The lock travels as code and flag byte in a message of 4 bytes.
    if (len != 4)
        return false;
    Log(1, "received lock meeting info,bLocked = %d", m[2]);
    if (m_t.meetingLocked)
        *m_t.meetingLocked = m[2];
    return true;
}

bool CServerDispatcher::OnKicked(Bytes m, size_t len)
{
    (void)m;
    if (len != 2)
        return false;
    Log(1, "received user kicked info\n");
    if (m_t.mainWindow) {
        m_t.mainWindow->AskQuestion(Format(TEXT_KICKED, nullptr).c_str());
        m_t.mainWindow->PostClose();
    }
    return true;
}

bool CServerDispatcher::OnDataControl(Bytes m, size_t len)
{
    if (len != 12)
        return false;
    WireReader in(m, len);
    uint32_t id = 0;
    uint8_t state = 0;
    in.Seek(4);
    in.U32(id);
    in.U8(state);
    CUserTable& users = *m_t.users;
    uint8_t previous = 0;
    if (!users.GetControlState(id, &previous))
        return false;
    Log(1, "received data control info,dwUserID = %d,state = %d\n", id, state);
    if (IsOwn(id)) {
        if (state == 2) {
            if (m_t.presentation)
                m_t.presentation->SetControlRight(true);
            if (m_t.browsing)
                m_t.browsing->SetControlRight(true);
            if (m_t.whiteboard)
                m_t.whiteboard->SetEditRight(true);
            if (m_t.netDisk)
                m_t.netDisk->EnableControls(true);
            if (m_t.mainWindow)
                m_t.mainWindow->EnableArrowBar(true);
            if (m_t.meetingDocs)
                m_t.meetingDocs->Clear();
            if (m_t.diskDocs)
                m_t.diskDocs->Clear();
            if (m_t.files)
                m_t.files->Reload();
            if (m_t.login->meetingMode == 2 && m_t.mainWindow)
                m_t.mainWindow->TakeLayoutControl();
        } else if (state == 0 && previous == 2) {
            if (m_t.screen && m_t.screen->IsBroadcasting()) {
                if (m_t.link)
                    m_t.link->SendCommand2076(0);
                m_t.screen->EndBroadcast();
            }
            if (m_t.screen && m_t.screen->IsControlling()) {
                if (m_t.link)
                    m_t.link->SendCommand2078(m_t.screen->GetControlledPeer(), 0);
                m_t.screen->EndControlling();
            }
            if (m_t.netDisk)
                m_t.netDisk->StopDocumentUpload();
            if (m_t.presentation)
                m_t.presentation->SetControlRight(false);
            if (m_t.browsing)
                m_t.browsing->SetControlRight(false);
            USER_INFO own = {};
            bool known = users.GetUser(id, &own);
            if (m_t.whiteboard && !(known && own.allowWhiteboard))
                m_t.whiteboard->SetEditRight(false);
            if (m_t.netDisk && !(known && own.allowFileUpload))
                m_t.netDisk->EnableControls(false);
            if (m_t.mainWindow) {
                m_t.mainWindow->EnableArrowBar(false);
                m_t.mainWindow->DropLayoutControl();
            }
        }
        if (m_t.leftPane)
            m_t.leftPane->ShowOwnControlState(state);
    } else if (state == 0 && previous == 2 && m_t.screen) {
        m_t.screen->EndReceiving();
        m_t.screen->EndControlled();
    }
    users.SetControlState(id, state);
    if (m_t.leftPane)
        m_t.leftPane->RefreshUser(id);
    return true;
}

bool CServerDispatcher::OnWindowLayout(Bytes m, size_t len)
{
    if (len < 4 || len != 4u + m[2])
        return false;
    Log(1, "received window change info,len = %d\n", m[2]);
    if (m_t.mainWindow)
        m_t.mainWindow->ApplyWindowLayout(m + 4, m[2]);
    return true;
}

bool CServerDispatcher::OnMeetingState(Bytes m, size_t len)
{
    if (len != MEETING_STATE_SIZE)
        return false;
    WireReader in(m, len);
    uint32_t privateChatOff = 0;
    in.Seek(STATE_PRIVATE_CHAT_OFF);
    in.U32(privateChatOff);
    Log(1, "received meeting state info\n");
    if (privateChatOff && m_t.chat)
        m_t.chat->SelectEveryone();
    if (m_t.mainWindow) {
        m_t.mainWindow->ReplaceMeetingState(m, len);
        // A cleared bulletin must leave the title as well as a new one.
        m_t.mainWindow->BuildTitle();
    }
    if (m_t.votes)
        m_t.votes->Refresh();
    return true;
}

bool CServerDispatcher::OnForcedLeave(Bytes m, size_t len)
{
    if (len != 4)
        return false;
    uint16_t result = U16At(m, 2);
    Log(1, "received forced leave info,result = %d\n", result);
    char text[260] = {};
    if (m_t.link)
        m_t.link->GetResultText(result, text);
    text[sizeof text - 1] = '\0';
    if (m_t.mainWindow) {
        m_t.mainWindow->ShowMessage(text);
        m_t.mainWindow->PostClose();
    }
    return true;
}

bool CServerDispatcher::OnChat(Bytes m, size_t len)
{
    if (len < 20 || len != 20u + U16At(m, 16))
        return false;
    WireReader in(m, len);
    uint32_t recipient = 0, sender = 0, colour = 0;
    uint16_t length = 0;
    in.Seek(4);
    in.U32(recipient);
    in.U32(sender);
    in.U32(colour);
    in.U16(length);
    Log(1, "received chat info,len = %d\n", length);
    // A copy with room for the terminator, which a full-size frame lacks.
    std::vector<char> payload(length + 1u, '\0');
    in.Seek(20);
    if (!in.Bytes(payload.data(), length))
        return false;
    if (m_t.chat)
        m_t.chat->OnChatReceived(recipient, sender, colour, payload.data(), length);
    return true;
}

// --- Video and devices ----------------------------------------------------

bool CServerDispatcher::OnReceiveVideoReply(Bytes m, size_t len)
{
    if (len != 12)
        return false;
    WireReader in(m, len);
    uint8_t result = 0, broadcast = 0;
    uint32_t id = 0;
    uint16_t port = 0;
    in.Seek(2);
    in.U8(result);
    in.Seek(4);
    in.U32(id);
    in.U16(port);
    in.U8(broadcast);
    CUserTable& users = *m_t.users;
    USER_INFO user = {};
    if (!users.GetUser(id, &user))
        return false;
    user.name[sizeof user.name - 1] = '\0';
    uint8_t old = user.videoState;
    uint8_t state = old;
    if (result != 0) {
        if (old == 1) {
            Message(TEXT_RECEIVE_VIDEO_FAILED, user.name);
            if (m_t.videoWall)
                m_t.videoWall->RemoveUserWindow(id);
            state = 0;
        }
    } else if (broadcast) {
        if ((old == 1 || old == 2) && m_t.videoWall)
            m_t.videoWall->RemoveUserWindow(id);
        // Without a window of its own the user receives nothing any more.
        state = 0;
        if (m_t.videoWall && m_t.videoWall->AddUserVideo(user.name, id)) {
            m_t.videoWall->SetUserVideoTarget(id, port);
            state = 2;
        }
        users.SetBroadcastFlag(id, 1);
    } else if (old == 1) {
        if (m_t.videoWall)
            m_t.videoWall->SetUserVideoTarget(id, port);
        state = 2;
    }
    Log(1,
        "received start recv video info, bResult = %d,dwUserID = %d,nServerport = %d,"
        "bBroadcast = %d\n",
        result, id, port, broadcast);
    users.SetVideoState(id, state);
    if (m_t.leftPane) {
        m_t.leftPane->RefreshUser(id);
        m_t.leftPane->ShowBroadcastState();
    }
    return true;
}

bool CServerDispatcher::OnStopVideo(Bytes m, size_t len)
{
    if (len != 12)
        return false;
    WireReader in(m, len);
    uint32_t id = 0;
    uint8_t broadcast = 0;
    in.Seek(4);
    in.U32(id);
    in.U8(broadcast);
    Log(1, "Received stop video info,dwUserID = %d,bBroadcast = %d\n", id, broadcast);
    if (m_t.videoWall)
        m_t.videoWall->RemoveUserWindow(id);
    m_t.users->SetVideoState(id, 0);
    if (broadcast)
        m_t.users->SetBroadcastFlag(id, 0);
    if (m_t.leftPane) {
        m_t.leftPane->RefreshUser(id);
        m_t.leftPane->ShowBroadcastState();
    }
    return true;
}

bool CServerDispatcher::OnStartSendVideo(Bytes m, size_t len)
{
    if (len != 4)
        return false;
    uint16_t port = U16At(m, 2);
    if (port == 0)
        return false;
    Log(1, "received start send video info,server port = %d\n", port);
    if (m_t.video) {
        char address[sizeof m_t.login->serverAddress + 1] = {};
        memcpy(address, m_t.login->serverAddress, sizeof m_t.login->serverAddress);
        m_t.video->StartSend(m_t.login->userId, address, port);
    }
    return true;
}

bool CServerDispatcher::OnVideoWidth(Bytes m, size_t len)
{
    if (len != 6)
        return false;
    uint16_t oldWidth = U16At(m, 2), newWidth = U16At(m, 4);
    Log(1, "received video width change info,wOldWidth = %d,nNewWidth = %d\n", oldWidth, newWidth);
    if (m_t.video)
        m_t.video->SetVideoWidth(oldWidth, newWidth);
    return true;
}

bool CServerDispatcher::OnCameraCommand(Bytes m, size_t len)
{
    // Byte 2 counts the command bytes from offset 4; the first is the command.
    if (len < 4 || len != 4u + m[2] || m[2] == 0)
        return false;
    Log(1, "received remote control camera info,len = %d", m[2]);
    if (m_t.camera)
        m_t.camera->OnRemoteCommand(m + 4, m[2]);
    return true;
}

bool CServerDispatcher::OnDeviceState(Bytes m, size_t len)
{
    if (len != 4)
        return false;
    Log(1, "received device state info,state = %d\n", m[2]);
    if (m_t.device)
        m_t.device->ApplyDeviceState(m[2]);
    return true;
}

bool CServerDispatcher::OnParticipantData(Bytes m, size_t len)
{
    if (len < 12)
        return false;
    uint16_t length = U16At(m, 8);
    if (len != 12u + length || length < 2)
        return false;
    WireReader in(m, len);
    uint32_t sender = 0;
    in.Seek(4);
    in.U32(sender);
    Bytes payload = m + 12;
    uint16_t subType = U16At(payload, 0);
    Log(1, "received broadcast data.\n");
    switch (subType) {
    case DATA_SETTINGS_QUERY:
        if (m_t.remoteDevice)
            m_t.remoteDevice->OnSettingsQuery(sender, payload, length);
        return true;
    case DATA_REMOTE_SETTINGS:
        if (m_t.remoteDevice)
            m_t.remoteDevice->OnRemoteSettings(sender, payload, length);
        return true;
    case DATA_APPLY_SETTINGS:
        if (m_t.remoteDevice)
            m_t.remoteDevice->ApplyReceivedSettings(sender, payload, length);
        return true;
    case DATA_PAGE_SYNC:
        if (m_t.whiteboard)
            m_t.whiteboard->SendPageSync();
        return true;
    default:
        return false;
    }
}

// --- Sharing --------------------------------------------------------------

size_t CServerDispatcher::HandRelayRecord(Bytes record, size_t length, bool* known)
{
    *known = true;
    switch (record[0] & 0xF0) {
    case RELAY_WHITEBOARD:
        return m_t.whiteboard ? m_t.whiteboard->OnPeerData(record, length) : 0;
    case RELAY_PRESENTATION:
        return m_t.presentation ? m_t.presentation->OnPeerData(record, length) : 0;
    case RELAY_BROWSING:
        return m_t.browsing ? m_t.browsing->OnPeerData(record, length) : 0;
    default:
        *known = false;
        return 0;
    }
}

bool CServerDispatcher::OnRelay(Bytes m, size_t len)
{
    if (len < 4 || len != 4u + U16At(m, 2) || len == 4)
        return false;
    size_t length = len - 4;
    Bytes record = m + 4;
    bool known = false;
    HandRelayRecord(record, length, &known);
    if (!known)
        return false;
    if ((record[0] & 0xF0) == RELAY_WHITEBOARD && Recording())
        m_t.recorder->WriteBoardData(record, length);
    return true;
}

bool CServerDispatcher::OnRelayRun(Bytes m, size_t len)
{
    if (len < 4 || len != 4u + U16At(m, 2))
        return false;
    size_t rest = len - 4;
    Bytes position = m + 4;
    while (rest > 0) {
        bool known = false;
        size_t consumed = HandRelayRecord(position, rest, &known);
        if (!known || consumed == 0)
            break;
        if (consumed > rest) {
            Log(0, "a relay handler claimed %u of %u bytes\n", static_cast<unsigned>(consumed),
                static_cast<unsigned>(rest));
            break;
        }
        // The recorder gets each step's own records once.
        if ((position[0] & 0xF0) == RELAY_WHITEBOARD && Recording())
            m_t.recorder->WriteBoardData(position, consumed);
        position += consumed;
        rest -= consumed;
    }
    return true;
}

bool CServerDispatcher::OnFileOffer(Bytes m, size_t len)
{
    if (len < 20 || len != 20u + U16At(m, 16))
        return false;
    WireReader in(m, len);
    uint32_t sender = 0, size = 0, transfer = 0;
    uint16_t nameLength = 0;
    in.Seek(4);
    in.U32(sender);
    in.U32(size);
    in.U32(transfer);
    in.U16(nameLength);
    std::string name(reinterpret_cast<const char*>(m + 20), nameLength);
    name.resize(strnlen(name.c_str(), name.size()));
    Log(1, "received recv file info,userID = %d,filesize = %d,filename = %s\n", sender, size,
        name.c_str());
    if (m_t.fileReceiver)
        m_t.fileReceiver->StartFileReceive(sender, size, transfer, name.c_str());
    return true;
}

bool CServerDispatcher::OnScreenBroadcast(Bytes m, size_t len)
{
    if (len != 12)
        return false;
    WireReader in(m, len);
    uint32_t id = 0;
    uint8_t on = 0;
    in.Seek(4);
    in.U32(id);
    in.U8(on);
    Log(1, "received screen broadcast info,dwUserID = %d,bOn = %d\n", id, on);
    if (m_t.screen) {
        if (on)
            m_t.screen->StartReceiving(id);
        else
            m_t.screen->EndReceiving();
    }
    return true;
}

bool CServerDispatcher::OnRemoteControl(uint16_t code, Bytes m, size_t len)
{
    if (len != 12)
        return false;
    WireReader in(m, len);
    uint32_t id = 0;
    uint8_t flag = 0;
    in.Seek(4);
    in.U32(id);
    in.U8(flag);
    if (code == CMD_REMOTE_CONTROL_NOTICE) {
        Log(1, "received chair request remote control info,nChairID = %d,bControl = %d\n", id,
            flag);
        if (m_t.screen)
            m_t.screen->OnControlRequest(id, flag);
    } else if (code == CMD_REMOTE_CONTROL_REPLY) {
        Log(1, "Received request remote control result info,dwUserID = %d,bAllow = %d\n", id, flag);
        if (m_t.screen)
            m_t.screen->OnControlReply(id, flag);
    } else {
        Log(1, "received screen control grant info,dwUserID = %d,bGranted = %d\n", id, flag);
        if (m_t.screen)
            m_t.screen->OnScreenControlGrant(flag);
    }
    return true;
}

bool CServerDispatcher::ReadDocumentItem(WireReader& in)
{
    DOC_ITEM item = {};
    if (!in.Record(item))
        return false;
    size_t texts = size_t(item.nameLength) + item.secondNameLength + item.thirdLength;
    if (texts > in.Remaining())
        return false;
    Bytes at = in.Current();
    std::string name = CountedText(at, item.nameLength, kDocTextSize);
    std::string second = CountedText(at + item.nameLength, item.secondNameLength, kDocTextSize);
    std::string third =
        CountedText(at + item.nameLength + item.secondNameLength, item.thirdLength, kDocTextSize);
    in.Skip(texts);
    if (item.kind == 0) {
        if (m_t.files)
            m_t.files->AddFile(item.entryKind, item.id, item.folderId, item.flag, name.c_str(),
                               second.c_str(), third.c_str());
    } else if (item.kind == 1) {
        IDocumentList* list = item.folderId == MEETING_DOC_FOLDER ? m_t.meetingDocs : m_t.diskDocs;
        if (list)
            list->AddDocument(item.entryKind, item.id, item.folderId, item.flag, item.value,
                              item.valueA, item.valueB, name.c_str(), second.c_str(),
                              third.c_str());
    }
    return true;
}

std::string CServerDispatcher::DocumentName(uint32_t id, uint8_t kind)
{
    std::string name;
    IDocumentList* lists[] = {kind == 0 ? m_t.files : m_t.diskDocs,
                              kind == 0 ? m_t.diskDocs : m_t.files, m_t.meetingDocs};
    for (IDocumentList* list : lists) {
        if (list && name.empty())
            name = list->GetDocumentName(id, kind);
    }
    return name;
}

bool CServerDispatcher::OnDocumentAdded(Bytes m, size_t len)
{
    if (len < 4 + sizeof(DOC_ITEM))
        return false;
    size_t texts = size_t(m[4 + 20]) + m[4 + 21] + U16At(m, 4 + 22);
    if (len != 4 + sizeof(DOC_ITEM) + texts)
        return false;
    uint16_t result = U16At(m, 2);
    Log(1, "received add document info,result = %d\n", result);
    if (result != 0) {
        std::string name = CountedText(m + 4 + sizeof(DOC_ITEM), m[4 + 20], kDocTextSize);
        Message(TEXT_DOC_CREATE_FAILED, name.c_str());
        return true;
    }
    WireReader in(m, len);
    in.Seek(4);
    return ReadDocumentItem(in);
}

bool CServerDispatcher::OnDocumentDeleted(Bytes m, size_t len)
{
    if (len != 12)
        return false;
    WireReader in(m, len);
    uint16_t result = 0;
    uint32_t id = 0;
    uint8_t kind = 0;
    in.Seek(2);
    in.U16(result);
    in.U32(id);
    in.U8(kind);
    Log(1, "received delete document info,result = %d,id = %u\n", result, id);
    if (result != 0) {
        Message(TEXT_DOC_DELETE_FAILED, DocumentName(id, kind).c_str());
        return true;
    }
    for (IDocumentList* list : {m_t.meetingDocs, m_t.files, m_t.diskDocs}) {
        if (list)
            list->RemoveDocument(id, kind);
    }
    return true;
}

bool CServerDispatcher::OnDocumentRenamed(Bytes m, size_t len)
{
    if (len < 12 || len != 12u + m[9])
        return false;
    WireReader in(m, len);
    uint16_t result = 0;
    uint32_t id = 0;
    uint8_t kind = 0;
    in.Seek(2);
    in.U16(result);
    in.U32(id);
    in.U8(kind);
    std::string name = CountedText(m + 12, m[9], kDocNameSize);
    Log(1, "received rename document info,result = %d,id = %u\n", result, id);
    if (result != 0) {
        Message(TEXT_DOC_RENAME_FAILED, name.c_str());
        return true;
    }
    for (IDocumentList* list : {m_t.files, m_t.diskDocs}) {
        if (list)
            list->RenameDocument(id, kind, name.c_str());
    }
    return true;
}

bool CServerDispatcher::OnDocumentList(Bytes m, size_t len)
{
    if (len < 4)
        return false;
    uint16_t result = U16At(m, 2);
    Log(1, "received document list info,result = %d,len = %u\n", result,
        static_cast<unsigned>(len));
    if (result == DOC_LIST_EMPTY)
        return true;
    if (result != 0) {
        Message(TEXT_DOC_LIST_FAILED, nullptr);
        return true;
    }
    WireReader in(m, len);
    in.Seek(4);
    // Whole records only; a record cut short by the end of the message is dropped.
    while (in.Remaining() > 0 && ReadDocumentItem(in)) {}
    if (in.Remaining() > 0 || !in.Ok())
        Log(0, "document list: a cut record at its end was dropped\n");
    return true;
}

bool CServerDispatcher::OnDocumentMoved(Bytes m, size_t len)
{
    if (len != 20)
        return false;
    WireReader in(m, len);
    uint16_t result = 0;
    uint32_t id = 0, a = 0, b = 0;
    uint8_t kind = 0;
    in.Seek(2);
    in.U16(result);
    in.U32(id);
    in.U8(kind);
    in.Seek(12);
    in.U32(a);
    in.U32(b);
    Log(1, "received move document info,result = %d,id = %u\n", result, id);
    if (result != 0) {
        Message(TEXT_DOC_MOVE_FAILED, DocumentName(id, kind).c_str());
        return true;
    }
    for (IDocumentList* list : {m_t.files, m_t.diskDocs}) {
        if (list)
            list->OnDeleteNotice(id, kind, a, b);
    }
    return true;
}

// --- Helpers --------------------------------------------------------------

bool CServerDispatcher::IsOwn(uint32_t userId) const { return userId == m_t.login->userId; }

bool CServerDispatcher::Recording() const { return m_t.recorder && m_t.recorder->IsRecording(); }

int CServerDispatcher::UserCount() const { return m_t.users->GetCount(); }

std::string CServerDispatcher::Format(uint32_t textId, const char* argument) const
{
    char format[CLanguageManager::TEXT_SIZE] = {};
    if (m_t.language) {
        m_t.language->LoadFormatString(textId, format, sizeof format);
    } else if (const char* own = CStringTable::Find(textId)) {
        strncpy(format, own, sizeof format - 1);
    }
    if (!argument)
        return format;
    char text[CLanguageManager::TEXT_SIZE * 2] = {};
    snprintf(text, sizeof text, format, argument);
    return text;
}

void CServerDispatcher::Notice(uint32_t textId, const char* argument)
{
    if (m_t.chat)
        m_t.chat->AddSystemNotice(Format(textId, argument).c_str());
}

void CServerDispatcher::Message(uint32_t textId, const char* argument)
{
    if (m_t.mainWindow)
        m_t.mainWindow->ShowMessage(Format(textId, argument).c_str());
}

void CServerDispatcher::Log(int level, const char* format, ...)
{
    if (!m_t.log || level > m_t.log->GetLevel())
        return;
    va_list args;
    va_start(args, format);
    m_t.log->WriteV(format, args);
    va_end(args);
}
