#pragma once
#include <winsock2.h>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "CServerConfig.h"
#include "ServerRoom.h"
#include "ServerSession.h"

class CAudioRelay;
class CFileStore;
class CVideoRelay;

// One frame that a client sent to the server, as the server read it.
struct SERVER_FRAME
{
    uint32_t connection = 0; // running number of the connection, from 1
    uint32_t userId = 0;     // 0 before a login
    std::vector<uint8_t> payload;

    uint16_t Code() const
    {
        return payload.size() >= 2 ? static_cast<uint16_t>(payload[0] | payload[1] << 8) : 0;
    }
};

// A small conference server for running and testing the client: one TCP
// port with FRAME_HEAD framing, the synchronous requests (version, room
// list, login, update servers), and after a login the command stream of a
// meeting with its notices and relays. It runs on a thread of its own and
// can be embedded in a test, which may inject frames, cut connections, stop
// reading and read back every frame a client sent.
class CStandInServer
{
public:
    CStandInServer();
    explicit CStandInServer(const CServerConfig& config);
    ~CStandInServer();

    CStandInServer(const CStandInServer&) = delete;
    CStandInServer& operator=(const CStandInServer&) = delete;

    CServerConfig& Config() { return m_config; }

    // Listens on the loopback address only when loopbackOnly, else on every
    // address; port 0 takes a free one. Winsock must be started.
    bool Start(uint16_t port, bool loopbackOnly = true);
    void Stop();
    uint16_t GetPort() const { return m_port; }

    // --- Hooks for tests ---
    // Replaces the server's reply to a synchronous request kind (2, 3, 4, 6,
    // 7, 8) by these bytes; silent: no reply at all.
    void SetRequestReply(uint8_t kind, const std::vector<uint8_t>& payload, bool silent = false);
    void ClearRequestReplies();
    // Sends a frame, or raw bytes without framing, to a logged-in user.
    bool InjectFrame(uint32_t userId, const std::vector<uint8_t>& payload);
    bool InjectRaw(uint32_t userId, const std::vector<uint8_t>& bytes);
    // Sends a header declaring length bytes and only part of them, then closes.
    bool CloseMidFrame(uint32_t userId, uint16_t length, uint16_t partBytes);
    // Closes a user's connection as a network failure would.
    bool Disconnect(uint32_t userId);
    // Stops or resumes reading from a user's connection.
    bool SetReading(uint32_t userId, bool on);

    // Every frame clients sent, in arrival order.
    std::vector<SERVER_FRAME> GetFrames();
    void ClearFrames();
    // Waits until a frame with this code (from this user unless 0) arrived;
    // the first such frame not yet returned by an earlier wait.
    bool WaitForFrame(uint16_t code, uint32_t userId, uint32_t timeoutMs,
                      SERVER_FRAME* out = nullptr);
    // The logged-in users of a room, in order of arrival.
    std::vector<uint32_t> GetRoomUsers(uint32_t roomId);
    bool WaitForRoomCount(uint32_t roomId, size_t count, uint32_t timeoutMs);
    uint64_t GetCommandCount();
    // Off: frames are counted but not kept (a long-running server).
    void SetRecording(bool on);
    // Waits this long before each frame that goes to several participants,
    // so that a test can make the server's sends to a room overlap.
    void SetSendPause(uint32_t milliseconds) { m_sendPause = milliseconds; }
    // Told a line when a participant leaves, with the reason (called on the
    // connection's thread). Set before Start.
    void SetLog(std::function<void(const std::string&)> log) { m_log = std::move(log); }
    // The audio port's relay (null when its port could not be bound). Its
    // port is Config().audioPort: set that to 0 before Start for a free one.
    CAudioRelay* AudioRelay() { return m_audioRelay.get(); }
    // The video relay: a port per broadcasting participant.
    CVideoRelay* VideoRelay() { return m_videoRelay.get(); }
    // The file store on Config().ftpServerPort (0: a free port); null when
    // that port could not be bound.
    CFileStore* FileStore() { return m_fileStore.get(); }
    // Connections refused because Config().maxConnections were open, or
    // because no thread could be started for them.
    uint64_t GetRefusedCount();

    // --- Triggers of what no client command produces ---
    // Tells a participant that he must leave (2107 with the result code) and
    // takes him out of his room; his connection stays until he closes it.
    bool ForceLeave(uint32_t userId, uint16_t resultCode);
    // Tells a participant watching a screen broadcast that the broadcaster
    // grants (nonzero) or takes back (0) the remote control (2108).
    bool GrantScreenControl(uint32_t userId, uint8_t granted);
    // Allows or forbids sending files freely in a room (2070 to everybody
    // there; later logins get the same in their reply).
    bool SetFreeFileSending(uint32_t roomId, uint8_t allowed);

private:
    typedef SERVER_SESSION Session;
    typedef SERVER_ROOM Room;

    void AcceptLoop();
    void SessionLoop(std::shared_ptr<Session> session);
    bool ReadFrame(Session& session, std::vector<uint8_t>& payload);
    bool SendTo(Session& session, const std::vector<uint8_t>& payload);
    bool SendRaw(Session& session, const void* bytes, size_t length);
    void Record(Session& session, const std::vector<uint8_t>& payload);
    bool OverrideReply(Session& session, uint8_t kind);

    void HandleVersion(Session& session);
    void HandleConferenceList(Session& session, const std::vector<uint8_t>& request);
    void HandleUpdateServers(Session& session);
    bool HandleLogin(const std::shared_ptr<Session>& session, const std::vector<uint8_t>& request);
    void HandleCommand(const std::shared_ptr<Session>& session,
                       const std::vector<uint8_t>& message);
    void Leave(const std::shared_ptr<Session>& session);

    // Targets, collected under the lock and sent to after it is released.
    typedef std::vector<std::shared_ptr<Session>> Targets;
    Targets Others(const Room& room, const Session* except);
    void SendAll(const Targets& targets, const std::vector<uint8_t>& payload);
    std::shared_ptr<Session> FindUser(uint32_t userId);
    Room* FindRoom(uint32_t roomId);
    const ACCOUNT_CONFIG* FindAccount(const std::string& name) const;
    void StartAudioRelay(bool loopbackOnly);
    bool LookUpAudioMember(uint32_t roomId, uint32_t userId, uint8_t* speakState,
                           std::vector<uint32_t>* others);
    void StartVideoRelay(bool loopbackOnly);
    uint16_t VideoPortFor(uint32_t roomId, uint32_t userId);
    void StopVideoFor(uint32_t userId);

    CServerConfig m_config;
    SOCKET m_listener = INVALID_SOCKET;
    uint16_t m_port = 0;
    std::thread m_acceptThread;
    bool m_running = false;

    std::mutex m_lock; // rooms, sessions and users
    std::vector<std::unique_ptr<Room>> m_rooms;
    std::vector<std::shared_ptr<Session>> m_sessions;
    // Connection threads with their end flags; ended ones are joined as new
    // connections come.
    std::vector<std::pair<std::thread, std::shared_ptr<std::atomic<bool>>>> m_threads;
    uint32_t m_nextConnection = 1;
    uint32_t m_nextUserId = 1001;
    uint64_t m_refused = 0;
    std::atomic<uint32_t> m_sendPause{0};
    std::function<void(const std::string&)> m_log;
    std::map<uint8_t, std::pair<std::vector<uint8_t>, bool>> m_replies;

    std::mutex m_frameLock;
    std::condition_variable m_frameSignal;
    std::vector<SERVER_FRAME> m_frames;
    std::vector<bool> m_taken;
    uint64_t m_commandCount = 0;
    bool m_recording = true;

    std::unique_ptr<CAudioRelay> m_audioRelay;
    std::unique_ptr<CVideoRelay> m_videoRelay;
    std::unique_ptr<CFileStore> m_fileStore;
};
