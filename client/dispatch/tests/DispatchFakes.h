#pragma once
#include <cstdarg>
#include <cstdio>
#include <string>
#include <vector>

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

// Every call the dispatcher makes, written down as "part.Method(arguments)".
class CallLog
{
public:
    void Add(const char* format, ...)
    {
        char line[512];
        va_list args;
        va_start(args, format);
        vsnprintf(line, sizeof line, format, args);
        va_end(args);
        calls.push_back(line);
    }
    std::vector<std::string> calls;
};

// Consumes the byte count its record's second byte names (the whole rest
// when the record has no second byte).
inline size_t RecordLength(const unsigned char* data, size_t length)
{
    return length >= 2 ? data[1] : length;
}

class FakeWebShare : public IWebSharePane
{
public:
    FakeWebShare(CallLog& log, const char* name) : m_log(log), m_name(name) {}
    size_t OnPeerData(const unsigned char* data, size_t length) override
    {
        m_log.Add("%s.OnPeerData(%02X,%u)", m_name, data[0], unsigned(length));
        return RecordLength(data, length);
    }
    void SetControlRight(bool allowed) override
    {
        m_log.Add("%s.SetControlRight(%d)", m_name, allowed);
    }

private:
    CallLog& m_log;
    const char* m_name;
};

class FakeDocList : public IDocumentList
{
public:
    FakeDocList(CallLog& log, const char* name) : m_log(log), m_name(name) {}
    void AddFile(uint8_t entryKind, uint32_t id, uint32_t folderId, uint8_t flag, const char* name,
                 const char* second, const char* address) override
    {
        m_log.Add("%s.AddFile(%u,%u,%u,%u,%s,%s,%s)", m_name, entryKind, id, folderId, flag, name,
                  second, address);
    }
    void AddDocument(uint8_t entryKind, uint32_t id, uint32_t folderId, uint8_t flag,
                     uint16_t value, uint16_t valueA, uint16_t valueB, const char* name,
                     const char* second, const char* path) override
    {
        m_log.Add("%s.AddDocument(%u,%u,%u,%u,%u,%u,%u,%s,%s,%s)", m_name, entryKind, id, folderId,
                  flag, value, valueA, valueB, name, second, path);
    }
    void RemoveDocument(uint32_t id, uint8_t kind) override
    {
        m_log.Add("%s.RemoveDocument(%u,%u)", m_name, id, kind);
    }
    void RenameDocument(uint32_t id, uint8_t kind, const char* name) override
    {
        m_log.Add("%s.RenameDocument(%u,%u,%s)", m_name, id, kind, name);
    }
    void OnDeleteNotice(uint32_t id, uint8_t kind, uint32_t a, uint32_t b) override
    {
        m_log.Add("%s.OnDeleteNotice(%u,%u,%u,%u)", m_name, id, kind, a, b);
    }
    std::string GetDocumentName(uint32_t id, uint8_t kind) override { return rowName; }
    void Clear() override { m_log.Add("%s.Clear()", m_name); }
    void Reload() override { m_log.Add("%s.Reload()", m_name); }

    std::string rowName;

private:
    CallLog& m_log;
    const char* m_name;
};

// The main window, the panes, the media side, the recorder and the link in one.
class FakeTargets : public IMainWindow,
                    public ILeftPane,
                    public IChatPane,
                    public IVotePane,
                    public IVideoWall,
                    public IVideoLibrary,
                    public IAudioSources,
                    public IDeviceDialog,
                    public IRemoteDeviceDialog,
                    public ICameraPanel,
                    public IRecorder,
                    public IWhiteboard,
                    public IScreenShare,
                    public INetDiskPage,
                    public IFileReceiver,
                    public ICommandLink
{
public:
    explicit FakeTargets(CallLog& log) : m_log(log) {}

    // Main window.
    void SetParticipantCount(int count) override
    {
        m_log.Add("main.SetParticipantCount(%d)", count);
    }
    void SetMeetingModeText(uint8_t mode) override
    {
        m_log.Add("main.SetMeetingModeText(%u)", mode);
    }
    void BuildTitle() override { m_log.Add("main.BuildTitle()"); }
    void ReplaceMeetingState(const void* record, size_t length) override
    {
        m_log.Add("main.ReplaceMeetingState(%u)", unsigned(length));
    }
    void TakeLayoutControl() override { m_log.Add("main.TakeLayoutControl()"); }
    void DropLayoutControl() override { m_log.Add("main.DropLayoutControl()"); }
    void ApplyWindowLayout(const void* record, size_t length) override
    {
        m_log.Add("main.ApplyWindowLayout(%u)", unsigned(length));
    }
    void EnableArrowBar(bool enable) override { m_log.Add("main.EnableArrowBar(%d)", enable); }
    void ShowMessage(const char* text) override { m_log.Add("main.ShowMessage(%s)", text); }
    int AskQuestion(const char* text) override
    {
        m_log.Add("main.AskQuestion(%s)", text);
        return 2;
    }
    void PostClose() override { m_log.Add("main.PostClose()"); }

    // Left pane.
    void AddUser(uint32_t id) override { m_log.Add("left.AddUser(%u)", id); }
    void RemoveUser(uint32_t id) override { m_log.Add("left.RemoveUser(%u)", id); }
    void RefreshUser(uint32_t id) override { m_log.Add("left.RefreshUser(%u)", id); }
    void ShowOwnSpeakState(uint8_t s) override { m_log.Add("left.ShowOwnSpeakState(%u)", s); }
    void ShowOwnControlState(uint8_t s) override { m_log.Add("left.ShowOwnControlState(%u)", s); }
    void ShowBroadcastState() override { m_log.Add("left.ShowBroadcastState()"); }

    // Chat pane.
    void AddSystemNotice(const char* text) override { m_log.Add("chat.AddSystemNotice(%s)", text); }
    void AddRecipient(uint32_t id) override { m_log.Add("chat.AddRecipient(%u)", id); }
    void RemoveRecipient(uint32_t id) override { m_log.Add("chat.RemoveRecipient(%u)", id); }
    void SelectEveryone() override { m_log.Add("chat.SelectEveryone()"); }
    void OnChatReceived(uint32_t recipient, uint32_t sender, uint32_t colour, const char* payload,
                        size_t length) override
    {
        m_log.Add("chat.OnChatReceived(%u,%u,%u,%s,%u,%s)", recipient, sender, colour, payload,
                  unsigned(length), payload[length] == '\0' ? "ended" : "open");
    }

    // Vote pane.
    void Refresh() override { m_log.Add("votes.Refresh()"); }

    // Video wall.
    void RemoveUserWindow(uint32_t id) override { m_log.Add("wall.RemoveUserWindow(%u)", id); }
    int AddUserVideo(const char* name, uint32_t id) override
    {
        m_log.Add("wall.AddUserVideo(%s,%u)", name, id);
        return wallHasRoom ? 1 : 0;
    }
    void SetUserVideoTarget(uint32_t id, uint16_t port) override
    {
        m_log.Add("wall.SetUserVideoTarget(%u,%u)", id, port);
    }
    void DropNonBroadcastVideos() override { m_log.Add("wall.DropNonBroadcastVideos()"); }

    // Video library and audio manager.
    void StartSend(uint32_t stream, const char* address, uint16_t port) override
    {
        m_log.Add("video.StartSend(%u,%s,%u)", stream, address, port);
    }
    void StopSend() override { m_log.Add("video.StopSend()"); }
    void SetVideoWidth(uint16_t a, uint16_t b) override
    {
        m_log.Add("video.SetVideoWidth(%u,%u)", a, b);
    }
    void AddSource(uint32_t id) override { m_log.Add("audio.AddSource(%u)", id); }
    void DelSource(uint32_t id) override { m_log.Add("audio.DelSource(%u)", id); }

    // Device dialogs and the camera panel.
    void ApplyDeviceState(uint8_t s) override { m_log.Add("device.ApplyDeviceState(%u)", s); }
    void OnSettingsQuery(uint32_t sender, const void* p, size_t n) override
    {
        m_log.Add("remote.OnSettingsQuery(%u,%u)", sender, unsigned(n));
    }
    void OnRemoteSettings(uint32_t sender, const void* p, size_t n) override
    {
        m_log.Add("remote.OnRemoteSettings(%u,%u)", sender, unsigned(n));
    }
    void ApplyReceivedSettings(uint32_t sender, const void* p, size_t n) override
    {
        m_log.Add("remote.ApplyReceivedSettings(%u,%u)", sender, unsigned(n));
    }
    void OnRemoteCommand(const unsigned char* bytes, size_t n) override
    {
        m_log.Add("camera.OnRemoteCommand(%u,%u)", bytes[0], unsigned(n));
    }

    // Recorder.
    bool IsRecording() override { return recording; }
    void WriteChatData(const char* text, uint32_t kind) override
    {
        m_log.Add("rec.WriteChatData(%s,%u)", text, kind);
    }
    void WriteBoardData(const void* data, size_t n) override
    {
        m_log.Add("rec.WriteBoardData(%02X,%u)", *static_cast<const unsigned char*>(data),
                  unsigned(n));
    }
    void AddAudio(uint32_t id) override { m_log.Add("rec.AddAudio(%u)", id); }
    void DelAudio(uint32_t id) override { m_log.Add("rec.DelAudio(%u)", id); }

    // Whiteboard.
    size_t OnPeerData(const unsigned char* data, size_t n) override
    {
        m_log.Add("wb.OnPeerData(%02X,%u)", data[0], unsigned(n));
        return RecordLength(data, n);
    }
    void SetEditRight(bool allowed) override { m_log.Add("wb.SetEditRight(%d)", allowed); }
    void SendPageSync() override { m_log.Add("wb.SendPageSync()"); }

    // Screen broadcast and remote control.
    void StartReceiving(uint32_t id) override { m_log.Add("screen.StartReceiving(%u)", id); }
    void EndReceiving() override { m_log.Add("screen.EndReceiving()"); }
    void EndControlled() override { m_log.Add("screen.EndControlled()"); }
    void OnControlRequest(uint32_t id, uint8_t f) override
    {
        m_log.Add("screen.OnControlRequest(%u,%u)", id, f);
    }
    void OnControlReply(uint32_t id, uint8_t f) override
    {
        m_log.Add("screen.OnControlReply(%u,%u)", id, f);
    }
    void OnScreenControlGrant(uint8_t g) override
    {
        m_log.Add("screen.OnScreenControlGrant(%u)", g);
    }
    bool IsBroadcasting() override { return broadcasting; }
    void EndBroadcast() override { m_log.Add("screen.EndBroadcast()"); }
    bool IsControlling() override { return controlledPeer != 0; }
    uint32_t GetControlledPeer() override { return controlledPeer; }
    void EndControlling() override { m_log.Add("screen.EndControlling()"); }

    // Network disk, file transfer, link.
    void EnableControls(bool e) override { m_log.Add("disk.EnableControls(%d)", e); }
    void StopDocumentUpload() override { m_log.Add("disk.StopDocumentUpload()"); }
    void StartFileReceive(uint32_t sender, uint32_t size, uint32_t transfer,
                          const char* name) override
    {
        m_log.Add("files.StartFileReceive(%u,%u,%u,%s)", sender, size, transfer, name);
    }
    bool SendCommand2076(uint8_t v) override
    {
        m_log.Add("link.SendCommand2076(%u)", v);
        return true;
    }
    bool SendCommand2078(uint32_t id, uint8_t v) override
    {
        m_log.Add("link.SendCommand2078(%u,%u)", id, v);
        return true;
    }
    void GetResultText(uint16_t code, char* text) override
    {
        snprintf(text, 260, "result %u", code);
    }

    bool wallHasRoom = true;
    bool recording = false;
    bool broadcasting = false;
    uint32_t controlledPeer = 0;

private:
    CallLog& m_log;
};
