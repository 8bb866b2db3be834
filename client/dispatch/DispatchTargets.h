#pragma once
#include <cstdint>

class IMainWindow;
class ILeftPane;
class IChatPane;
class IVotePane;
class IVideoWall;
class IVideoLibrary;
class IAudioSources;
class IDeviceDialog;
class IRemoteDeviceDialog;
class ICameraPanel;
class IRecorder;
class IWhiteboard;
class IWebSharePane;
class IScreenShare;
class IDocumentList;
class INetDiskPage;
class IFileReceiver;
class ICommandLink;
class CUserTable;
class CLanguageManager;
class CLogFile;
struct LOGIN_INFO;

// Everything a received server message can reach. A null pointer is a part
// that does not exist (yet): its calls are left out, the rest of the message
// still takes effect.
struct DISPATCH_TARGETS
{
    // Shared values the dispatcher writes.
    CUserTable* users = nullptr;         // required
    LOGIN_INFO* login = nullptr;         // required: meeting mode, own role, own id
    uint32_t* meetingLocked = nullptr;   // the received byte of 2054
    uint32_t* freeFileSending = nullptr; // the received byte of 2070

    // Texts of the notices and message boxes, and the developer log.
    const CLanguageManager* language = nullptr;
    CLogFile* log = nullptr;

    IMainWindow* mainWindow = nullptr;
    ILeftPane* leftPane = nullptr;
    IChatPane* chat = nullptr;
    IVotePane* votes = nullptr;
    IVideoWall* videoWall = nullptr;
    IVideoLibrary* video = nullptr;
    IAudioSources* audio = nullptr;
    IDeviceDialog* device = nullptr;
    IRemoteDeviceDialog* remoteDevice = nullptr;
    ICameraPanel* camera = nullptr;
    IRecorder* recorder = nullptr;
    IWhiteboard* whiteboard = nullptr;
    IWebSharePane* presentation = nullptr; // the presentation board
    IWebSharePane* browsing = nullptr;     // co-browsing
    IScreenShare* screen = nullptr;
    IDocumentList* meetingDocs = nullptr; // the meeting-document list
    IDocumentList* files = nullptr;       // the file list
    IDocumentList* diskDocs = nullptr;    // the network disk's document list
    INetDiskPage* netDisk = nullptr;
    IFileReceiver* fileReceiver = nullptr;
    ICommandLink* link = nullptr;
};
