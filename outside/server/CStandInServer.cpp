#include "CStandInServer.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstring>

#include "CAudioRelay.h"
#include "CCommandContext.h"
#include "CDocumentCommands.h"
#include "CFileStore.h"
#include "CJoinerState.h"
#include "CMeetingCommands.h"
#include "CParticipantCommands.h"
#include "CServerMessage.h"
#include "CSharingCommands.h"
#include "CVideoRelay.h"
#include "CVideoCommands.h"
#include "ServerClock.h"
#include "ServerSockets.h"
#include "ServerWire.h"
#include "WireReader.h"
#include "WireWriter.h"

namespace {

const uint32_t kRequestWaitSeconds = 30;
const uint32_t kSendWaitMs = 5000;

std::string Field(const uint8_t* bytes, size_t size)
{
    return std::string(reinterpret_cast<const char*>(bytes),
                       strnlen(reinterpret_cast<const char*>(bytes), size));
}

} // namespace

CStandInServer::CStandInServer() = default;

CStandInServer::CStandInServer(const CServerConfig& config) : m_config(config) {}

CStandInServer::~CStandInServer() { Stop(); }

bool CStandInServer::Start(uint16_t port, bool loopbackOnly)
{
    if (m_running)
        return false;
    m_rooms.clear();
    for (const ROOM_CONFIG& config : m_config.rooms) {
        std::unique_ptr<Room> room(new Room());
        room->config = config;
        room->mode = config.mode;
        room->locked = config.locked;
        room->freeFileSending = m_config.freeFileSending;
        room->meetingState.assign(MEETING_STATE_SIZE, 0);
        WireWriter(room->meetingState.data(), 2).U16(CMD_MEETING_STATE_ALL);
        m_rooms.push_back(std::move(room));
    }
    m_listener = OpenTcpListener(port, loopbackOnly, &m_port);
    if (m_listener == INVALID_SOCKET)
        return false;
    StartAudioRelay(loopbackOnly);
    StartVideoRelay(loopbackOnly);
    m_fileStore.reset(new CFileStore());
    if (!m_fileStore->Start(m_config.ftpServerPort, loopbackOnly))
        m_fileStore.reset();
    m_running = true;
    m_acceptThread = std::thread([this] { AcceptLoop(); });
    return true;
}

void CStandInServer::Stop()
{
    if (!m_running)
        return;
    m_running = false;
    m_audioRelay.reset();
    m_videoRelay.reset();
    m_fileStore.reset();
    closesocket(m_listener);
    m_listener = INVALID_SOCKET;
    if (m_acceptThread.joinable())
        m_acceptThread.join();
    std::vector<std::pair<std::thread, std::shared_ptr<std::atomic<bool>>>> threads;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        for (auto& session : m_sessions) {
            shutdown(session->socket, SD_BOTH);
            std::lock_guard<std::mutex> readLock(session->readLock);
            session->closed = true;
            session->readSignal.notify_all();
        }
        threads.swap(m_threads);
    }
    for (auto& thread : threads)
        thread.first.join();
    std::lock_guard<std::mutex> lock(m_lock);
    m_sessions.clear();
}

void CStandInServer::AcceptLoop()
{
    for (;;) {
        SOCKET s = accept(m_listener, nullptr, nullptr);
        if (s == INVALID_SOCKET) {
            if (!m_running)
                return;
            Sleep(10);
            continue;
        }
        DWORD wait = kSendWaitMs;
        setsockopt(s, SOL_SOCKET, SO_SNDTIMEO, reinterpret_cast<const char*>(&wait), sizeof wait);
        BOOL noDelay = TRUE;
        setsockopt(s, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&noDelay),
                   sizeof noDelay);
        auto session = std::make_shared<Session>();
        session->socket = s;
        std::lock_guard<std::mutex> lock(m_lock);
        if (!m_running) {
            closesocket(s);
            return;
        }
        for (auto it = m_threads.begin(); it != m_threads.end();) {
            if (*it->second) {
                it->first.join();
                it = m_threads.erase(it);
            } else {
                ++it;
            }
        }
        // Each connection has a thread: beyond the bound, or when no thread
        // can be had, the connection is refused and the server goes on.
        if (m_threads.size() >= m_config.maxConnections) {
            ++m_refused;
            closesocket(s);
            continue;
        }
        session->connection = m_nextConnection++;
        m_sessions.push_back(session);
        auto ended = std::make_shared<std::atomic<bool>>(false);
        try {
            m_threads.reserve(m_threads.size() + 1);
            std::thread thread([this, session, ended] {
                SessionLoop(session);
                *ended = true;
            });
            m_threads.emplace_back(std::move(thread), ended);
        } catch (const std::exception&) {
            ++m_refused;
            m_sessions.pop_back();
            closesocket(s);
        }
    }
}

bool CStandInServer::ReadFrame(Session& session, std::vector<uint8_t>& payload)
{
    uint32_t seconds = session.userId ? m_config.keepAliveSeconds : kRequestWaitSeconds;
    // Wait for the next frame to begin. Nothing is read while reading is
    // stopped, and a client silent for longer than the keep-alive time (not
    // counting the stop) is given up.
    uint64_t deadline = seconds ? ServerNowMs() + seconds * 1000ull : 0;
    for (;;) {
        {
            std::unique_lock<std::mutex> lock(session.readLock);
            if (!session.reading) {
                session.readSignal.wait(lock, [&] { return session.reading || session.closed; });
                if (seconds)
                    deadline = ServerNowMs() + seconds * 1000ull;
            }
            if (session.closed)
                return false;
        }
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(session.socket, &readable);
        timeval slice = {0, 500000};
        int ready = select(0, &readable, nullptr, nullptr, &slice);
        if (ready < 0) {
            session.endReason = "waiting for its next message failed";
            session.endError = WSAGetLastError();
            return false;
        }
        if (ready > 0) {
            std::lock_guard<std::mutex> lock(session.readLock);
            if (session.reading)
                break;
            continue;
        }
        if (deadline && ServerNowMs() >= deadline) {
            session.endReason = "the client was silent for longer than the keep-alive time";
            return false;
        }
    }
    auto readExactly = [&](uint8_t* into, size_t count) {
        size_t got = 0;
        while (got < count) {
            if (seconds) {
                fd_set readable;
                FD_ZERO(&readable);
                FD_SET(session.socket, &readable);
                timeval limit = {static_cast<long>(seconds), 0};
                if (select(0, &readable, nullptr, nullptr, &limit) <= 0) {
                    session.endReason = "a message stopped arriving halfway";
                    session.endError = WSAGetLastError();
                    return false;
                }
            }
            int n = recv(session.socket, reinterpret_cast<char*>(into + got),
                         static_cast<int>(count - got), 0);
            if (n < 0) {
                session.endReason = "reading from the connection failed";
                session.endError = WSAGetLastError();
            }
            if (n <= 0)
                return false;
            got += static_cast<size_t>(n);
        }
        return true;
    };
    uint8_t head[6];
    if (!readExactly(head, sizeof head))
        return false;
    WireReader in(head, sizeof head);
    uint8_t marker1 = 0, unused = 0, marker2 = 0;
    uint16_t length = 0;
    in.U8(marker1);
    in.U8(unused);
    in.U16(length);
    in.U8(marker2);
    if (marker1 != 0xFF || marker2 != 0xFF || length == 0 || length > 65530) {
        session.endReason = "a message head was not valid";
        return false;
    }
    payload.resize(length);
    return readExactly(payload.data(), length);
}

bool CStandInServer::SendRaw(Session& session, const void* bytes, size_t length)
{
    std::lock_guard<std::mutex> lock(session.sendLock);
    const char* data = static_cast<const char*>(bytes);
    size_t sent = 0;
    while (sent < length) {
        int n = send(session.socket, data + sent, static_cast<int>(length - sent), 0);
        if (n <= 0) {
            // A client that does not take its messages is dropped.
            session.endReason = "sending to the client failed";
            session.endError = WSAGetLastError();
            shutdown(session.socket, SD_BOTH);
            return false;
        }
        sent += static_cast<size_t>(n);
    }
    return true;
}

bool CStandInServer::SendTo(Session& session, const std::vector<uint8_t>& payload)
{
    if (payload.empty() || payload.size() > 65530)
        return false;
    std::vector<uint8_t> frame(6 + payload.size());
    WireWriter out(frame.data(), frame.size());
    out.U8(0xFF);
    out.U8(0);
    out.U16(static_cast<uint16_t>(payload.size()));
    out.U8(0xFF);
    out.U8(0);
    out.Bytes(payload.data(), payload.size());
    return SendRaw(session, frame.data(), frame.size());
}

void CStandInServer::Record(Session& session, const std::vector<uint8_t>& payload)
{
    std::lock_guard<std::mutex> lock(m_frameLock);
    ++m_commandCount;
    if (!m_recording)
        return;
    SERVER_FRAME frame;
    frame.connection = session.connection;
    frame.userId = session.userId;
    frame.payload = payload;
    m_frames.push_back(std::move(frame));
    m_taken.push_back(false);
    m_frameSignal.notify_all();
}

bool CStandInServer::OverrideReply(Session& session, uint8_t kind)
{
    std::vector<uint8_t> reply;
    bool silent = false;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        auto it = m_replies.find(kind);
        if (it == m_replies.end())
            return false;
        reply = it->second.first;
        silent = it->second.second;
    }
    if (!silent)
        SendTo(session, reply);
    return true;
}

void CStandInServer::SessionLoop(std::shared_ptr<Session> session)
{
    std::vector<uint8_t> request;
    if (ReadFrame(*session, request)) {
        Record(*session, request);
        uint8_t kind = request[0];
        bool meeting = false;
        if (OverrideReply(*session, kind)) {
            // Frames that follow a replaced login reply are only recorded.
            session->raw = kind == REQ_LOGIN || kind == REQ_LOGIN_MODE1 || kind == REQ_LOGIN_OTHER;
            meeting = session->raw;
        } else if (kind == REQ_SERVER_VERSION && request.size() == 1) {
            HandleVersion(*session);
        } else if (kind == REQ_CONFERENCE_LIST && request.size() == CONF_LIST_REQUEST_SIZE) {
            HandleConferenceList(*session, request);
        } else if (kind == REQ_UPDATE_SERVERS && request.size() == 1) {
            HandleUpdateServers(*session);
        } else if ((kind == REQ_LOGIN || kind == REQ_LOGIN_MODE1 || kind == REQ_LOGIN_OTHER) &&
                   request.size() == sizeof(LOGIN_REQUEST)) {
            meeting = HandleLogin(session, request);
        }
        if (meeting) {
            std::vector<uint8_t> message;
            while (ReadFrame(*session, message)) {
                Record(*session, message);
                if (!session->raw && message.size() >= 2)
                    HandleCommand(session, message);
            }
            const uint32_t userId = session->userId;
            Leave(session);
            if (m_log && userId) {
                std::string text =
                    "user " + std::to_string(userId) + " left the meeting: " + session->endReason;
                if (session->endError)
                    text += " (socket error " + std::to_string(session->endError) + ")";
                m_log(text);
            }
        } else if (kind != REQ_LOGIN && kind != REQ_LOGIN_MODE1 && kind != REQ_LOGIN_OTHER) {
            // A request connection ends when the client has read its reply.
            std::vector<uint8_t> rest;
            ReadFrame(*session, rest);
        }
    }
    shutdown(session->socket, SD_BOTH);
    {
        std::lock_guard<std::mutex> lock(m_lock);
        auto it = std::find(m_sessions.begin(), m_sessions.end(), session);
        if (it != m_sessions.end())
            m_sessions.erase(it);
    }
    {
        std::lock_guard<std::mutex> sendLock(session->sendLock);
        closesocket(session->socket);
        session->socket = INVALID_SOCKET;
    }
}

// --- Synchronous requests --------------------------------------------------

void CStandInServer::HandleVersion(Session& session)
{
    CServerMessage reply(RESULT_OK, VERSION_REPLY_SIZE);
    std::string version = m_config.version.substr(0, 11);
    reply.At(2).Bytes(version.data(), version.size());
    SendTo(session, reply.Bytes());
}

void CStandInServer::HandleConferenceList(Session& session, const std::vector<uint8_t>& request)
{
    std::string user = Field(request.data() + 1, 21);
    std::string password = Field(request.data() + 22, 22);
    std::vector<uint8_t> reply(2, 0);
    uint16_t result = RESULT_OK;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        const ACCOUNT_CONFIG* account = FindAccount(user);
        if (!m_config.accounts.empty() && account && account->password != password) {
            result = RESULT_WRONG_PASSWORD;
        } else {
            for (const auto& room : m_rooms) {
                const auto& allowed = room->config.users;
                if (!allowed.empty() &&
                    std::find(allowed.begin(), allowed.end(), user) == allowed.end())
                    continue;
                CONF_INFO info = {};
                info.roomId = room->config.id;
                strncpy(info.name, room->config.name.c_str(), sizeof info.name - 1);
                info.visits = static_cast<uint16_t>(room->users.size());
                info.online = static_cast<uint16_t>(room->users.size());
                size_t at = reply.size();
                reply.resize(at + sizeof info);
                WireWriter(reply.data() + at, sizeof info).Record(info);
            }
            if (reply.size() == 2)
                result = RESULT_NO_ROOM_FOR_USER;
        }
    }
    if (result != RESULT_OK)
        reply.resize(2);
    WireWriter(reply.data(), 2).U16(result);
    SendTo(session, reply);
}

void CStandInServer::HandleUpdateServers(Session& session)
{
    size_t count = std::min<size_t>(m_config.updateServers.size(), 255);
    CServerMessage reply(RESULT_OK, UPDATE_REPLY_HEAD_SIZE + UPDATE_ADDRESS_SIZE * count);
    reply.At(2).U16(m_config.updatePort);
    reply.At(4).U8(static_cast<uint8_t>(count));
    for (size_t i = 0; i < count; ++i) {
        std::string address = m_config.updateServers[i].substr(0, 15);
        reply.At(UPDATE_REPLY_HEAD_SIZE + UPDATE_ADDRESS_SIZE * i)
            .Bytes(address.data(), address.size());
    }
    SendTo(session, reply.Bytes());
}

bool CStandInServer::HandleLogin(const std::shared_ptr<Session>& session,
                                 const std::vector<uint8_t>& request)
{
    WireReader in(request.data(), request.size());
    uint8_t kind = 0;
    uint32_t roomId = 0;
    in.U8(kind);
    in.Seek(4);
    in.U32(roomId);
    std::string user = Field(request.data() + 8, 21);
    std::string password = Field(request.data() + 29, 23);

    uint16_t result = RESULT_OK;
    uint16_t minutes = 0;
    std::vector<uint8_t> reply;
    Targets others;
    std::vector<std::vector<uint8_t>> state;
    CServerMessage joined(CMD_USER_JOINED, 32);
    // The rooms stay for the server's life; the room's order is taken before
    // the server lock, so that the new participant's reply, his state and his
    // arrival fall in one place among the room's other messages.
    Room* room = nullptr;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        room = FindRoom(roomId);
    }
    std::unique_lock<std::recursive_mutex> order;
    if (room)
        order = std::unique_lock<std::recursive_mutex>(room->order);
    {
        std::lock_guard<std::mutex> lock(m_lock);
        const ACCOUNT_CONFIG* account = FindAccount(user);
        uint8_t role = 2;
        if (!room) {
            result = kind == REQ_LOGIN_OTHER ? 2064 : RESULT_NO_SUCH_ROOM;
        } else if (kind == REQ_LOGIN_MODE1) {
            // A nickname, no account needed.
            if (!room->config.nicknames || user.empty())
                result = RESULT_NO_NICKNAME_LOGIN;
        } else if (!account) {
            result = RESULT_NO_SUCH_USER;
        } else if (account->password != password) {
            result = RESULT_WRONG_PASSWORD;
        } else if (!room->config.users.empty() &&
                   std::find(room->config.users.begin(), room->config.users.end(), user) ==
                       room->config.users.end()) {
            result = 261;
        } else {
            role = account->role;
        }
        if (result == RESULT_OK) {
            auto ban = room->bans.find(user);
            uint64_t now = ServerNowMs();
            if (ban != room->bans.end() && ban->second > now) {
                result = RESULT_KICKED;
                minutes = static_cast<uint16_t>((ban->second - now + 59999) / 60000);
            } else if (room->locked && role != 1) {
                result = RESULT_ROOM_LOCKED;
            } else if (room->users.size() >= room->config.capacity) {
                result = RESULT_ROOM_FULL;
            } else {
                for (const auto& other : room->users) {
                    if (user == other->info.name)
                        result = RESULT_SAME_NAME;
                }
            }
        }
        if (result == RESULT_OK) {
            session->userId = m_nextUserId++;
            session->room = room;
            WIRE_USER_INFO& info = session->info;
            info = WIRE_USER_INFO();
            info.userId = session->userId;
            strncpy(info.name, user.c_str(), sizeof info.name - 1);
            info.role = role;
            info.allowWhiteboard = role == 1;
            info.allowRecord = 1;
            info.allowTextChat = 1;
            info.allowFileUpload = role == 1;
            others = Others(*room, nullptr);
            room->users.push_back(session);

            LOGIN_REPLY_HEAD head = {};
            head.meetingMode = room->mode;
            head.userId = session->userId;
            head.role = role;
            head.audioPort = m_config.audioPort;
            head.audioPort2 = m_config.audioPort2;
            head.freeFileSending = room->freeFileSending;
            reply.resize(sizeof head + sizeof(WIRE_USER_INFO) * room->users.size());
            WireWriter out(reply.data(), reply.size());
            out.Record(head);
            for (const auto& member : room->users)
                out.Record(member->info);

            joined.At(4).U32(session->userId);
            joined.At(8).Bytes(info.name, strnlen(info.name, 20));
            joined.At(29).U8(role);
            state = CJoinerState::Messages(*room, m_config, *session, [this](uint32_t userId) {
                return m_videoRelay ? m_videoRelay->GetSenderPort(userId) : uint16_t(0);
            });
        }
    }
    if (result != RESULT_OK) {
        CServerMessage refusal(result, result == RESULT_KICKED ? 4 : 2);
        if (result == RESULT_KICKED)
            refusal.At(2).U16(minutes);
        SendTo(*session, refusal.Bytes());
        return false;
    }
    SendTo(*session, reply);
    SendAll(others, joined.Bytes());
    for (const auto& message : state)
        SendTo(*session, message);
    return true;
}

// --- The command stream ----------------------------------------------------

CStandInServer::Targets CStandInServer::Others(const Room& room, const Session* except)
{
    Targets targets;
    for (const auto& member : room.users) {
        if (member.get() != except)
            targets.push_back(member);
    }
    return targets;
}

void CStandInServer::SendAll(const Targets& targets, const std::vector<uint8_t>& payload)
{
    for (const auto& target : targets) {
        if (uint32_t pause = m_sendPause)
            Sleep(pause);
        SendTo(*target, payload);
    }
}

std::shared_ptr<CStandInServer::Session> CStandInServer::FindUser(uint32_t userId)
{
    for (const auto& session : m_sessions) {
        if (session->userId == userId && userId != 0)
            return session;
    }
    return nullptr;
}

CStandInServer::Room* CStandInServer::FindRoom(uint32_t roomId)
{
    for (const auto& room : m_rooms) {
        if (room->config.id == roomId)
            return room.get();
    }
    return nullptr;
}

const ACCOUNT_CONFIG* CStandInServer::FindAccount(const std::string& name) const
{
    for (const ACCOUNT_CONFIG& account : m_config.accounts) {
        if (account.name == name)
            return &account;
    }
    return nullptr;
}

// --- The audio port ----------------------------------------------------------

void CStandInServer::StartAudioRelay(bool loopbackOnly)
{
    m_audioRelay.reset(new CAudioRelay([this](uint32_t roomId, uint32_t userId, uint8_t* speakState,
                                              std::vector<uint32_t>* others) {
        return LookUpAudioMember(roomId, userId, speakState, others);
    }));
    if (m_audioRelay->Start(m_config.audioPort, loopbackOnly))
        m_config.audioPort = m_audioRelay->GetPort(); // the free port taken for 0
    else
        m_audioRelay.reset();
}

bool CStandInServer::LookUpAudioMember(uint32_t roomId, uint32_t userId, uint8_t* speakState,
                                       std::vector<uint32_t>* others)
{
    std::lock_guard<std::mutex> lock(m_lock);
    Room* room = FindRoom(roomId);
    if (!room || userId == 0)
        return false;
    bool member = false;
    for (const auto& user : room->users) {
        if (user->userId == userId) {
            member = true;
            *speakState = user->info.speakState;
        } else {
            others->push_back(user->userId);
        }
    }
    return member;
}

void CStandInServer::Leave(const std::shared_ptr<Session>& session)
{
    Room* room = nullptr;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        room = session->room;
    }
    if (!room)
        return;
    std::lock_guard<std::recursive_mutex> order(room->order);
    Targets others;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        if (session->room != room)
            return;
        auto it = std::find(room->users.begin(), room->users.end(), session);
        if (it != room->users.end())
            room->users.erase(it);
        session->room = nullptr;
        others = Others(*room, nullptr);
    }
    // A broadcaster who leaves without stopping gives his relay port back.
    StopVideoFor(session->userId);
    CServerMessage quit(CMD_USER_QUIT, 8);
    quit.At(4).U32(session->userId);
    SendAll(others, quit.Bytes());
}

void CStandInServer::HandleCommand(const std::shared_ptr<Session>& session,
                                   const std::vector<uint8_t>& message)
{
    Room* room = nullptr;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        room = session->room;
    }
    if (!room)
        return;
    // Everything a command makes the server send to the room goes out in the
    // room's one order.
    std::unique_lock<std::recursive_mutex> order(room->order);
    CCommandContext c(m_config, *room, session, message);
    const uint32_t roomId = room->config.id;
    c.videoPortFor = [this, roomId](uint32_t userId) { return VideoPortFor(roomId, userId); };
    c.stopVideoFor = [this](uint32_t userId) { StopVideoFor(userId); };
    {
        std::lock_guard<std::mutex> lock(m_lock);
        if (session->room != room)
            return;
        CParticipantCommands::Handle(c) || CMeetingCommands::Handle(c) ||
            CSharingCommands::Handle(c) || CDocumentCommands::Handle(c) ||
            CVideoCommands::Handle(c);
    }
    for (const auto& entry : c.sends)
        SendAll(entry.first, entry.second);
    order.unlock();
    // A removed participant leaves the room; his connection stays until he closes it.
    for (const auto& target : c.kicked)
        Leave(target);
}

// --- Triggers ----------------------------------------------------------------

bool CStandInServer::ForceLeave(uint32_t userId, uint16_t resultCode)
{
    std::shared_ptr<Session> session;
    Room* room = nullptr;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        session = FindUser(userId);
        room = session ? session->room : nullptr;
    }
    if (!room)
        return false;
    std::lock_guard<std::recursive_mutex> order(room->order);
    CServerMessage notice(CMD_FORCED_LEAVE, 4);
    notice.At(2).U16(resultCode);
    SendTo(*session, notice.Bytes());
    Leave(session);
    return true;
}

bool CStandInServer::GrantScreenControl(uint32_t userId, uint8_t granted)
{
    std::shared_ptr<Session> session;
    Room* room = nullptr;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        session = FindUser(userId);
        room = session ? session->room : nullptr;
    }
    if (!room)
        return false;
    std::lock_guard<std::recursive_mutex> order(room->order);
    CServerMessage grant(CMD_SCREEN_CONTROL_GRANT, 12);
    {
        std::lock_guard<std::mutex> lock(m_lock);
        for (const auto& member : room->users) {
            if (member->screenBroadcast)
                grant.At(4).U32(member->userId);
        }
    }
    grant.At(8).U8(granted);
    return SendTo(*session, grant.Bytes());
}

bool CStandInServer::SetFreeFileSending(uint32_t roomId, uint8_t allowed)
{
    Room* room = nullptr;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        room = FindRoom(roomId);
    }
    if (!room)
        return false;
    std::lock_guard<std::recursive_mutex> order(room->order);
    Targets targets;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        room->freeFileSending = allowed;
        targets = room->users;
    }
    CServerMessage notice(CMD_FREE_FILE_SENDING, 4);
    notice.At(2).U8(allowed);
    SendAll(targets, notice.Bytes());
    return true;
}

uint64_t CStandInServer::GetRefusedCount()
{
    std::lock_guard<std::mutex> lock(m_lock);
    return m_refused;
}

// --- Hooks -------------------------------------------------------------------

void CStandInServer::SetRequestReply(uint8_t kind, const std::vector<uint8_t>& payload, bool silent)
{
    std::lock_guard<std::mutex> lock(m_lock);
    m_replies[kind] = std::make_pair(payload, silent);
}

void CStandInServer::ClearRequestReplies()
{
    std::lock_guard<std::mutex> lock(m_lock);
    m_replies.clear();
}

bool CStandInServer::InjectFrame(uint32_t userId, const std::vector<uint8_t>& payload)
{
    std::shared_ptr<Session> session;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        session = FindUser(userId);
    }
    return session && SendTo(*session, payload);
}

bool CStandInServer::InjectRaw(uint32_t userId, const std::vector<uint8_t>& bytes)
{
    std::shared_ptr<Session> session;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        session = FindUser(userId);
    }
    return session && SendRaw(*session, bytes.data(), bytes.size());
}

bool CStandInServer::CloseMidFrame(uint32_t userId, uint16_t length, uint16_t partBytes)
{
    std::shared_ptr<Session> session;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        session = FindUser(userId);
    }
    if (!session)
        return false;
    std::vector<uint8_t> bytes(6 + std::min(length, partBytes), 0x5A);
    WireWriter out(bytes.data(), 6);
    out.U8(0xFF);
    out.U8(0);
    out.U16(length);
    out.U8(0xFF);
    out.U8(0);
    SendRaw(*session, bytes.data(), bytes.size());
    shutdown(session->socket, SD_BOTH);
    return true;
}

bool CStandInServer::Disconnect(uint32_t userId)
{
    std::lock_guard<std::mutex> lock(m_lock);
    std::shared_ptr<Session> session = FindUser(userId);
    if (!session)
        return false;
    shutdown(session->socket, SD_BOTH);
    std::lock_guard<std::mutex> readLock(session->readLock);
    session->closed = true;
    session->readSignal.notify_all();
    return true;
}

bool CStandInServer::SetReading(uint32_t userId, bool on)
{
    std::lock_guard<std::mutex> lock(m_lock);
    std::shared_ptr<Session> session = FindUser(userId);
    if (!session)
        return false;
    std::lock_guard<std::mutex> readLock(session->readLock);
    session->reading = on;
    session->readSignal.notify_all();
    return true;
}

std::vector<SERVER_FRAME> CStandInServer::GetFrames()
{
    std::lock_guard<std::mutex> lock(m_frameLock);
    return m_frames;
}

void CStandInServer::ClearFrames()
{
    std::lock_guard<std::mutex> lock(m_frameLock);
    m_frames.clear();
    m_taken.clear();
}

void CStandInServer::SetRecording(bool on)
{
    std::lock_guard<std::mutex> lock(m_frameLock);
    m_recording = on;
}

bool CStandInServer::WaitForFrame(uint16_t code, uint32_t userId, uint32_t timeoutMs,
                                  SERVER_FRAME* out)
{
    std::unique_lock<std::mutex> lock(m_frameLock);
    size_t found = 0;
    bool ok = m_frameSignal.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] {
        for (size_t i = 0; i < m_frames.size(); ++i) {
            if (!m_taken[i] && m_frames[i].Code() == code &&
                (userId == 0 || m_frames[i].userId == userId)) {
                found = i;
                return true;
            }
        }
        return false;
    });
    if (!ok)
        return false;
    m_taken[found] = true;
    if (out)
        *out = m_frames[found];
    return true;
}

std::vector<uint32_t> CStandInServer::GetRoomUsers(uint32_t roomId)
{
    std::lock_guard<std::mutex> lock(m_lock);
    std::vector<uint32_t> ids;
    if (Room* room = FindRoom(roomId)) {
        for (const auto& member : room->users)
            ids.push_back(member->userId);
    }
    return ids;
}

bool CStandInServer::WaitForRoomCount(uint32_t roomId, size_t count, uint32_t timeoutMs)
{
    uint64_t end = ServerNowMs() + timeoutMs;
    for (;;) {
        if (GetRoomUsers(roomId).size() == count)
            return true;
        if (ServerNowMs() >= end)
            return false;
        Sleep(5);
    }
}

uint64_t CStandInServer::GetCommandCount()
{
    std::lock_guard<std::mutex> lock(m_frameLock);
    return m_commandCount;
}
