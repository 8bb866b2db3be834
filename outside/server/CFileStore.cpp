#include "CFileStore.h"

#include <windows.h>

#include <algorithm>
#include <chrono>

#include "CStoreSocket.h"
#include "PassStoreWire.h"
#include "ServerSockets.h"

namespace {

// A client silent this long between requests, or in the middle of one, is
// given up.
const uint32_t kIdleMs = 60000;
const uint32_t kChunk = 65536;

} // namespace

CFileStore::CFileStore() = default;

CFileStore::~CFileStore() { Stop(); }

bool CFileStore::Start(uint16_t port, bool loopbackOnly)
{
    if (m_running)
        return false;
    m_listener = OpenTcpListener(port, loopbackOnly, &m_port);
    if (m_listener == INVALID_SOCKET)
        return false;
    m_running = true;
    m_acceptThread = std::thread([this] { AcceptLoop(); });
    return true;
}

void CFileStore::Stop()
{
    if (!m_running)
        return;
    m_running = false;
    closesocket(m_listener);
    m_listener = INVALID_SOCKET;
    if (m_acceptThread.joinable())
        m_acceptThread.join();
    std::vector<std::pair<std::thread, std::shared_ptr<std::atomic<bool>>>> threads;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        for (SOCKET s : m_open)
            shutdown(s, SD_BOTH);
        m_resume = true;
        m_changed.notify_all();
        threads.swap(m_threads);
    }
    for (auto& thread : threads)
        thread.first.join();
    std::lock_guard<std::mutex> lock(m_lock);
    m_items.clear();
    m_storedBytes = 0;
}

void CFileStore::AcceptLoop()
{
    for (;;) {
        SOCKET s = accept(m_listener, nullptr, nullptr);
        if (s == INVALID_SOCKET) {
            if (!m_running)
                return;
            Sleep(10);
            continue;
        }
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
        uint32_t connection = m_nextConnection++;
        auto ended = std::make_shared<std::atomic<bool>>(false);
        // The socket is listed before its thread runs (under this lock), so
        // the thread's own removal at its end always finds it.
        try {
            m_threads.reserve(m_threads.size() + 1);
            m_open.push_back(s);
            std::thread thread([this, s, connection, ended] {
                ConnectionLoop(s, connection);
                *ended = true;
            });
            m_threads.emplace_back(std::move(thread), ended);
        } catch (const std::exception&) {
            m_open.erase(std::remove(m_open.begin(), m_open.end(), s), m_open.end());
            closesocket(s);
        }
    }
}

void CFileStore::ScriptFault(const STORE_FAULT& fault)
{
    std::lock_guard<std::mutex> lock(m_lock);
    m_fault = fault;
    m_stalled = false;
    m_resume = false;
}

void CFileStore::Resume()
{
    std::lock_guard<std::mutex> lock(m_lock);
    m_resume = true;
    m_changed.notify_all();
}

bool CFileStore::WaitForStall(uint32_t timeoutMs)
{
    std::unique_lock<std::mutex> lock(m_lock);
    return m_changed.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                              [this] { return m_stalled; });
}

size_t CFileStore::GetItemCount()
{
    std::lock_guard<std::mutex> lock(m_lock);
    return m_items.size();
}

uint64_t CFileStore::GetStoredBytes()
{
    std::lock_guard<std::mutex> lock(m_lock);
    return m_storedBytes;
}

int CFileStore::GetCompleteParts(const std::string& name)
{
    std::lock_guard<std::mutex> lock(m_lock);
    auto it = m_items.find(name);
    if (it == m_items.end())
        return -1;
    return static_cast<int>(std::count_if(it->second.parts.begin(), it->second.parts.end(),
                                          [](const PART& p) { return p.complete; }));
}

STORE_FAULT CFileStore::TakeFault(uint16_t op, bool raw, uint32_t partBytes)
{
    std::lock_guard<std::mutex> lock(m_lock);
    STORE_FAULT fault;
    if (m_fault.kind == STORE_FAULT::NONE || m_fault.op != op)
        return fault;
    bool applies = raw ? m_fault.kind == STORE_FAULT::RAW_REPLY
                       : m_fault.kind != STORE_FAULT::RAW_REPLY && partBytes > m_fault.afterBytes;
    if (applies) {
        fault = m_fault;
        m_fault = STORE_FAULT();
    }
    return fault;
}

bool CFileStore::Stall()
{
    std::unique_lock<std::mutex> lock(m_lock);
    m_stalled = true;
    m_changed.notify_all();
    m_changed.wait(lock, [this] { return m_resume || !m_running; });
    return false;
}

void CFileStore::EndOwned(uint32_t connection)
{
    std::lock_guard<std::mutex> lock(m_lock);
    for (auto& entry : m_items) {
        ITEM& item = entry.second;
        if (item.owner != connection)
            continue;
        bool whole = std::all_of(item.parts.begin(), item.parts.end(),
                                 [](const PART& p) { return p.complete; });
        if (!whole)
            item.failed = true;
        item.owner = 0;
    }
    m_changed.notify_all();
}

void CFileStore::ConnectionLoop(SOCKET s, uint32_t connection)
{
    CStoreSocket socket(s);
    socket.SetStallTimeout(kIdleMs);
    for (;;) {
        if (!m_running)
            break;
        STORE_REQUEST request = {};
        std::string name;
        if (!socket.ReadRequest(request, name))
            break;
        STORE_FAULT fault = TakeFault(request.op, true);
        if (fault.kind == STORE_FAULT::RAW_REPLY) {
            socket.SendAll(fault.raw.data(), fault.raw.size());
            break;
        }

        if (request.op == STORE_OP_CREATE) {
            if (request.value == 0 || request.value > STORE_MAX_PARTS || request.size != 0) {
                socket.SendReply(STORE_BAD_REQUEST, 0, 0, std::string());
                break;
            }
            std::string stored;
            {
                std::lock_guard<std::mutex> lock(m_lock);
                uint32_t id = m_nextId++;
                stored = std::to_string(id);
                ITEM& item = m_items[stored];
                item.roomId = request.roomId;
                item.owner = connection;
                item.fileName = name;
                item.parts.resize(request.value);
            }
            if (!socket.SendReply(STORE_OK, static_cast<uint32_t>(std::stoul(stored)), 0, stored))
                break;
            continue;
        }

        if (request.op == STORE_OP_PUT) {
            uint16_t status = STORE_OK;
            {
                std::lock_guard<std::mutex> lock(m_lock);
                auto it = m_items.find(name);
                if (it == m_items.end() || it->second.roomId != request.roomId)
                    status = STORE_NOT_FOUND;
                else if (it->second.owner != connection)
                    status = STORE_REFUSED;
                else if (request.value >= it->second.parts.size() ||
                         it->second.parts[request.value].complete)
                    status = STORE_BAD_REQUEST;
                else if (request.size > STORE_MAX_PART_BYTES ||
                         m_storedBytes + request.size > m_maxBytes)
                    status = STORE_REFUSED;
            }
            if (status != STORE_OK) {
                socket.SendReply(status, 0, 0, std::string());
                break;
            }
            fault = TakeFault(STORE_OP_PUT, false, request.size);
            std::vector<uint8_t> data;
            bool ok = true;
            try {
                data.resize(request.size);
            } catch (const std::bad_alloc&) {
                socket.SendReply(STORE_REFUSED, 0, 0, std::string());
                break;
            }
            for (uint32_t done = 0; ok && done < request.size;) {
                uint32_t chunk = std::min(kChunk, request.size - done);
                if (fault.kind != STORE_FAULT::NONE && done + chunk > fault.afterBytes) {
                    chunk = fault.afterBytes > done ? fault.afterBytes - done : 0;
                    if (chunk == 0) {
                        ok = fault.kind == STORE_FAULT::STALL ? Stall() : false;
                        break;
                    }
                }
                ok = socket.RecvAll(data.data() + done, chunk);
                done += chunk;
            }
            if (!ok)
                break;
            {
                std::lock_guard<std::mutex> lock(m_lock);
                auto it = m_items.find(name);
                if (it == m_items.end())
                    break;
                PART& part = it->second.parts[request.value];
                m_storedBytes += data.size();
                part.data.swap(data);
                part.complete = true;
                m_changed.notify_all();
            }
            if (!socket.SendReply(STORE_OK, request.value, 0, std::string()))
                break;
            continue;
        }

        if (request.op == STORE_OP_GET) {
            const std::vector<uint8_t>* data = nullptr;
            uint16_t status = STORE_OK;
            bool sendFailed = false;
            std::unique_lock<std::mutex> lock(m_lock);
            for (;;) {
                auto it = m_items.find(name);
                if (it == m_items.end() || it->second.roomId != request.roomId) {
                    status = STORE_NOT_FOUND;
                    break;
                }
                if (request.value >= it->second.parts.size()) {
                    status = STORE_BAD_REQUEST;
                    break;
                }
                const PART& part = it->second.parts[request.value];
                if (part.complete) {
                    data = &part.data; // complete parts never change until Stop
                    break;
                }
                if (it->second.failed) {
                    status = STORE_FAILED;
                    break;
                }
                if (!m_running) {
                    status = STORE_FAILED;
                    break;
                }
                if (!m_changed.wait_for(lock, std::chrono::milliseconds(500), [&] {
                        return part.complete || it->second.failed || !m_running;
                    })) {
                    lock.unlock();
                    sendFailed = !socket.SendReply(STORE_WAITING, request.value, 0, std::string());
                    lock.lock();
                    if (sendFailed)
                        break;
                }
            }
            lock.unlock();
            if (sendFailed)
                break;
            if (status != STORE_OK) {
                socket.SendReply(status, request.value, 0, std::string());
                if (status == STORE_BAD_REQUEST)
                    break;
                continue;
            }
            uint32_t size = static_cast<uint32_t>(data->size());
            fault = TakeFault(STORE_OP_GET, false, size);
            if (!socket.SendReply(STORE_OK, request.value, size, std::string()))
                break;
            bool ok = true;
            for (uint32_t done = 0; ok && done < size;) {
                uint32_t chunk = std::min(kChunk, size - done);
                if (fault.kind != STORE_FAULT::NONE && done + chunk > fault.afterBytes) {
                    chunk = fault.afterBytes > done ? fault.afterBytes - done : 0;
                    if (chunk == 0) {
                        ok = fault.kind == STORE_FAULT::STALL ? Stall() : false;
                        break;
                    }
                }
                ok = socket.SendAll(data->data() + done, chunk);
                done += chunk;
            }
            if (!ok)
                break;
            continue;
        }

        socket.SendReply(STORE_BAD_REQUEST, 0, 0, std::string());
        break;
    }
    EndOwned(connection);
    std::lock_guard<std::mutex> lock(m_lock);
    m_open.erase(std::remove(m_open.begin(), m_open.end(), s), m_open.end());
}
