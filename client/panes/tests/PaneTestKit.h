#pragma once
// Helpers of the pane tests: a main window stand-in that records what the
// panes ask of it, a top-level parent for the panes, and a client logged in
// to an embedded stand-in server whose frames the tests read.
#include "afxcmn.h"

#include <string>
#include <vector>

#include "IPaneHost.h"
#include "MeetingState.h"
#include "PaneContext.h"
#include "StandInTestKit.h"

namespace panetest {

class CFakeHost : public IPaneHost
{
public:
    CFakeHost() { CMeetingState::Reset(state); }

    MEETING_STATE& GetMeetingState() override { return state; }
    bool IsRecording() override { return recording; }
    void WriteChatLine(const char* line) override { recorded.push_back(line); }
    void StartRecording() override { calls.push_back("StartRecording"); }
    bool IsBroadcastingScreen() override { return broadcastingScreen; }
    void EndScreenBroadcast() override
    {
        broadcastingScreen = false;
        calls.push_back("EndScreenBroadcast");
    }
    uint32_t GetRemoteControlledUser() override { return controlledUser; }
    void EndRemoteControl() override
    {
        controlledUser = 0;
        calls.push_back("EndRemoteControl");
    }
    void StopDocumentTransfers() override { calls.push_back("StopDocumentTransfers"); }
    void DropSharingRights() override { calls.push_back("DropSharingRights"); }
    void DropLayoutControl() override { calls.push_back("DropLayoutControl"); }
    void UpdateRemoteControlButtons() override { calls.push_back("UpdateRemoteControlButtons"); }
    void SelectChatRecipient(uint32_t userId) override
    {
        calls.push_back("SelectChatRecipient " + std::to_string(userId));
    }
    void StartFileSend(uint32_t userId) override
    {
        calls.push_back("StartFileSend " + std::to_string(userId));
    }
    void ToggleVideoPolling() override { calls.push_back("ToggleVideoPolling"); }
    void ShowRoomList(POINT) override { calls.push_back("ShowRoomList"); }
    void SelectOwnVideoDevice(int index) override
    {
        calls.push_back("SelectOwnVideoDevice " + std::to_string(index));
    }
    void ShowRemoteSettings(uint32_t userId) override
    {
        calls.push_back("ShowRemoteSettings " + std::to_string(userId));
    }
    int GetVideoBitRate() override { return bitRate; }

    MEETING_STATE state;
    bool recording = false;
    bool broadcastingScreen = false;
    uint32_t controlledUser = 0;
    int bitRate = 0;
    std::vector<std::string> recorded;
    std::vector<std::string> calls;
};

// A plain top-level window to hold a pane.
class CParentWnd : public CWnd
{
public:
    BOOL CreateTop(int cx = 800, int cy = 600);
};

// A client logged in to its own stand-in server: the pane's context.
class CMeetingClient
{
public:
    explicit CMeetingClient(CStandInServer& server) : m_server(server) {}
    bool Login(const char* user, const char* password, uint32_t room = 1);
    PANE_CONTEXT Context(IPaneHost* host);

    // The payloads of the frames of one code the server got from this
    // client, after a keep-alive sent now has arrived (so that everything
    // sent before it is there).
    std::vector<std::vector<uint8_t>> SentFrames(uint16_t code);
    // The codes of every frame this client sent, in order (the closing
    // keep-alive left out).
    std::vector<uint16_t> SentCodes();
    // Forgets what was sent so far.
    void ClearSent();

    StandInClient client;

private:
    CStandInServer& m_server;
};

bool StartWinsockOnce();

// Little-endian bytes for expected frames.
struct Bytes
{
    std::vector<uint8_t> data;
    Bytes& U8(uint8_t v)
    {
        data.push_back(v);
        return *this;
    }
    Bytes& U16(uint16_t v)
    {
        U8(v & 0xFF);
        return U8(v >> 8);
    }
    Bytes& U32(uint32_t v)
    {
        U16(v & 0xFFFF);
        return U16(v >> 16);
    }
    Bytes& Text(const void* p, size_t n)
    {
        data.insert(data.end(), static_cast<const uint8_t*>(p), static_cast<const uint8_t*>(p) + n);
        return *this;
    }
    Bytes& Zeros(size_t n)
    {
        data.insert(data.end(), n, 0);
        return *this;
    }
};

} // namespace panetest
