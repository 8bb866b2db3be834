#include "VSocket.h"

#include <ws2tcpip.h>

#include <new>

#include "CScopedLock.h"
#include "RelayLog.h"

namespace {

const uint32_t kWaitStepMs = 50; // longest single wait of a send for a writable socket
// Longest single wait of the sending thread for a full socket to take bytes
// again: it is woken when the socket can take them or is shut, so this only
// bounds a missed notice.
const uint32_t kWritableWaitMs = 200;
// Longest single sleep of a receive: it is woken when bytes or a close
// arrive, so this only bounds a missed notice. A listener's connection
// waits like this all its life; every wake is a round of system calls that
// the relaying of the stream then waits behind.
const uint32_t kReadWaitMs = 30000;
const uint32_t kSendChunk = 32768;    // most bytes handed to one send call
const uint32_t kNoBuffersPauseMs = 1; // the system is short of buffers

void SetNoDelay(SOCKET s)
{
    BOOL on = TRUE;
    setsockopt(s, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&on), sizeof on);
}

void SetNonBlocking(SOCKET s)
{
    u_long on = 1;
    ioctlsocket(s, FIONBIO, &on);
}

} // namespace

VSocket::VSocket() : CNamedThread("VSocket Thread")
{
    m_stop = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    m_queued = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    m_readable = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    InitializeCriticalSection(&m_queueLock);
    InitializeCriticalSection(&m_receiveLock);
}

VSocket::VSocket(SOCKET accepted) : VSocket()
{
    m_socket = accepted;
    SetNoDelay(m_socket);
    SetNonBlocking(m_socket);
    WatchReads();
}

void VSocket::WatchReads()
{
    if (m_readable && m_socket != INVALID_SOCKET)
        WSAEventSelect(m_socket, m_readable, FD_READ | FD_CLOSE);
}

VSocket::~VSocket()
{
    Close();
    if (m_budget)
        --m_budget->connections;
    CloseHandle(m_stop);
    CloseHandle(m_queued);
    if (m_readable)
        CloseHandle(m_readable);
    DeleteCriticalSection(&m_queueLock);
    DeleteCriticalSection(&m_receiveLock);
}

bool VSocket::Create()
{
    if (m_socket != INVALID_SOCKET)
        return false;
    m_socket = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (m_socket == INVALID_SOCKET)
        return false;
    BOOL on = TRUE;
    setsockopt(m_socket, SOL_SOCKET, SO_REUSEADDR, reinterpret_cast<const char*>(&on), sizeof on);
    SetNoDelay(m_socket);
    return true;
}

bool VSocket::Bind(uint16_t port, bool loopbackOnly, bool refuseIfInUse)
{
    if (m_socket == INVALID_SOCKET)
        return false;
    if (refuseIfInUse && port) {
        VSocket probe;
        if (probe.Create() && probe.Connect("localhost", port)) {
            RelayLog().Write(1, "<VSocket::Bind>, port %u is in use", port);
            return false;
        }
    }
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(loopbackOnly ? INADDR_LOOPBACK : INADDR_ANY);
    return bind(m_socket, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
}

void VSocket::SetBudget(RelayBudget* budget)
{
    if (m_budget || !budget)
        return;
    m_budget = budget;
    ++m_budget->connections;
}

void VSocket::ForgetQueueLocked()
{
    if (m_budget)
        m_budget->queuedBytes -= m_queuedBytes.load();
    m_queue.clear();
    m_queuedBytes = 0;
}

bool VSocket::Listen()
{
    // Joins are read apart from the accepting, so the backlog only has to
    // cover bursts of connections.
    if (m_socket == INVALID_SOCKET || listen(m_socket, SOMAXCONN) != 0)
        return false;
    SetNonBlocking(m_socket);
    // Accepted sockets take this over from it until they watch their own reads.
    if (m_readable)
        WSAEventSelect(m_socket, m_readable, FD_ACCEPT);
    return true;
}

VSocket* VSocket::Accept(uint32_t waitMs, bool* failed)
{
    if (failed)
        *failed = false;
    if (m_socket == INVALID_SOCKET || !WaitFor(false, waitMs))
        return nullptr;
    SOCKET s = accept(m_socket, nullptr, nullptr);
    if (s == INVALID_SOCKET) {
        if (failed)
            *failed = WSAGetLastError() != WSAEWOULDBLOCK;
        return nullptr;
    }
    VSocket* accepted = new (std::nothrow) VSocket(s);
    if (!accepted) {
        closesocket(s);
        if (failed)
            *failed = true;
        return nullptr;
    }
    if (!accepted->Start()) {
        delete accepted;
        if (failed)
            *failed = true;
        return nullptr;
    }
    return accepted;
}

bool VSocket::Connect(const char* host, uint16_t port)
{
    if (m_socket == INVALID_SOCKET || !host)
        return false;
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = inet_addr(host);
    if (address.sin_addr.s_addr == INADDR_NONE) {
        hostent* entry = gethostbyname(host);
        if (!entry || entry->h_addrtype != AF_INET || !entry->h_addr_list[0])
            return false;
        memcpy(&address.sin_addr, entry->h_addr_list[0], sizeof address.sin_addr);
    }
    if (connect(m_socket, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0)
        return false;
    SetNonBlocking(m_socket);
    WatchReads();
    return true;
}

void VSocket::SetTimeouts(uint32_t receiveMs, uint32_t sendMs)
{
    m_receiveTimeoutMs = receiveMs;
    m_sendTimeoutMs = sendMs;
}

void VSocket::SetSendBuffer(int bytes)
{
    if (m_socket != INVALID_SOCKET && bytes > 0)
        setsockopt(m_socket, SOL_SOCKET, SO_SNDBUF, reinterpret_cast<const char*>(&bytes),
                   sizeof bytes);
}

uint16_t VSocket::GetLocalPort() const
{
    sockaddr_in address = {};
    int length = sizeof address;
    if (getsockname(m_socket, reinterpret_cast<sockaddr*>(&address), &length) != 0)
        return 0;
    return ntohs(address.sin_port);
}

bool VSocket::WaitFor(bool write, uint32_t ms)
{
    fd_set set;
    FD_ZERO(&set);
    FD_SET(m_socket, &set);
    timeval tv;
    tv.tv_sec = ms / 1000;
    tv.tv_usec = (ms % 1000) * 1000;
    int n = write ? select(0, nullptr, &set, nullptr, &tv) : select(0, &set, nullptr, nullptr, &tv);
    return n > 0;
}

bool VSocket::QueueSend(const void* data, size_t length, bool dropOnOverflow)
{
    if (!data || !length)
        return true;
    CScopedLock lock(&m_queueLock);
    if (m_shut.load() || m_dropped.load())
        return false;
    size_t queued = m_queuedBytes.load();
    bool over = m_queueLimit && (length > m_queueLimit || queued > m_queueLimit - length);
    if (!over && m_budget && m_budget->queuedLimit) {
        // Reserve the bytes in the server's budget, never passing it even
        // for a moment.
        size_t total = m_budget->queuedBytes.load();
        for (;;) {
            if (length > m_budget->queuedLimit || total > m_budget->queuedLimit - length) {
                over = true;
                break;
            }
            if (m_budget->queuedBytes.compare_exchange_weak(total, total + length))
                break;
        }
    } else if (!over && m_budget) {
        m_budget->queuedBytes += length;
    }
    bool wasEmpty = m_queue.empty();
    if (!over && wasEmpty) {
        // Nothing waits before these bytes and the thread sends nothing
        // now (it removes an item only once it is sent): send them here, as
        // far as the socket takes them without waiting.
        const int n = send(m_socket, static_cast<const char*>(data),
                           static_cast<int>(length < kSendChunk ? length : kSendChunk), 0);
        if (n == SOCKET_ERROR) {
            const int error = WSAGetLastError();
            if (error != WSAEWOULDBLOCK && error != WSAENOBUFS) {
                // Broken: dropped as the thread drops it, the reader sees the end.
                if (m_budget)
                    m_budget->queuedBytes -= length;
                RelayLog().Write(1, "<VSocket::QueueSend>, send failed with %d", error);
                m_dropped = true;
                shutdown(m_socket, SD_BOTH);
                return true;
            }
        } else if (static_cast<size_t>(n) == length) {
            if (m_budget)
                m_budget->queuedBytes -= length;
            return true;
        } else {
            // The rest is queued below.
            if (m_budget)
                m_budget->queuedBytes -= static_cast<size_t>(n);
            data = static_cast<const uint8_t*>(data) + n;
            length -= static_cast<size_t>(n);
        }
    }
    if (!over) {
        try {
            const uint8_t* bytes = static_cast<const uint8_t*>(data);
            m_queue.push_back(Item{std::vector<uint8_t>(bytes, bytes + length), 0});
        } catch (const std::bad_alloc&) {
            if (m_budget)
                m_budget->queuedBytes -= length;
            over = true;
        }
    }
    if (over) {
        if (!dropOnOverflow)
            return false;
        RelayLog().Write(1, "<VSocket::QueueSend>, %u bytes queued, peer dropped",
                         static_cast<unsigned>(queued));
        // The queue itself is dropped by the sending thread, which may be
        // reading its head right now.
        m_dropped = true;
        shutdown(m_socket, SD_BOTH);
        return false;
    }
    m_queuedBytes += length;
    // The sending thread drains until the queue is empty, so only the first
    // item needs to wake it.
    if (wasEmpty)
        SetEvent(m_queued);
    return true;
}

bool VSocket::SendNow(const void* data, size_t length)
{
    const char* p = static_cast<const char*>(data);
    DWORD start = GetTickCount();
    while (length) {
        if (m_shut.load())
            return false;
        if (m_sendTimeoutMs && GetTickCount() - start >= m_sendTimeoutMs)
            return false;
        if (!WaitFor(true, kWaitStepMs))
            continue;
        int n = send(m_socket, p, static_cast<int>(length), 0);
        if (n == SOCKET_ERROR) {
            if (WSAGetLastError() == WSAEWOULDBLOCK)
                continue;
            return false;
        }
        p += n;
        length -= static_cast<size_t>(n);
    }
    return true;
}

int VSocket::ReceiveExact(void* data, size_t length) { return Receive(data, length, true); }

int VSocket::ReceiveSome(void* data, size_t length) { return Receive(data, length, false); }

int VSocket::Receive(void* data, size_t length, bool exact)
{
    CScopedLock lock(&m_receiveLock);
    char* p = static_cast<char*>(data);
    size_t got = 0;
    DWORD start = GetTickCount();
    while (got < length) {
        if (m_shut.load() || m_socket == INVALID_SOCKET)
            return 0;
        // Read first, unless the last read emptied the socket: that read
        // re-armed the notice, so the wait below returns at once for bytes
        // that came since. Nothing is there yet as a rule, and asking costs
        // a round of system calls.
        if (!m_readDrained) {
            const size_t want = length - got;
            int n = recv(m_socket, p + got, static_cast<int>(want), 0);
            if (n > 0) {
                got += static_cast<size_t>(n);
                m_readDrained = static_cast<size_t>(n) < want;
                if (!exact)
                    break;
                continue;
            }
            if (n == 0 || WSAGetLastError() != WSAEWOULDBLOCK)
                return 0;
        }
        m_readDrained = false;
        uint32_t step = kReadWaitMs;
        if (m_receiveTimeoutMs) {
            DWORD spent = GetTickCount() - start;
            if (spent >= m_receiveTimeoutMs)
                return 0;
            if (m_receiveTimeoutMs - spent < step)
                step = m_receiveTimeoutMs - spent;
        }
        // The last read re-armed the notice, so bytes that arrived since
        // then have set the event already. A shutdown sets m_stop.
        HANDLE waits[2] = {m_readable, m_stop};
        WaitForMultipleObjects(2, waits, FALSE, step);
    }
    return static_cast<int>(got);
}

int VSocket::ReceiveAvailable(void* data, size_t length)
{
    CScopedLock lock(&m_receiveLock);
    if (m_shut.load() || m_socket == INVALID_SOCKET)
        return -1;
    if (!length)
        return 0;
    m_readDrained = false;
    int n = recv(m_socket, static_cast<char*>(data), static_cast<int>(length), 0);
    if (n > 0)
        return n;
    if (n == SOCKET_ERROR && WSAGetLastError() == WSAEWOULDBLOCK)
        return 0;
    return -1;
}

void VSocket::Shutdown()
{
    m_shut = true;
    if (m_socket != INVALID_SOCKET)
        shutdown(m_socket, SD_BOTH);
    // Wakes a waiting receive; the sending thread has nothing left to do.
    SetEvent(m_stop);
}

void VSocket::Close()
{
    Shutdown();
    SetEvent(m_stop);
    CNamedThread::Stop();
    CScopedLock receiving(&m_receiveLock);
    CScopedLock lock(&m_queueLock);
    if (m_socket != INVALID_SOCKET) {
        closesocket(m_socket);
        m_socket = INVALID_SOCKET;
    }
    ForgetQueueLocked();
}

VSocket::Drained VSocket::DrainQueue()
{
    for (;;) {
        if (m_shut.load())
            return DRAINED_DONE;
        if (m_dropped.load()) {
            CScopedLock lock(&m_queueLock);
            ForgetQueueLocked();
            return DRAINED_DONE;
        }
        const char* bytes;
        size_t count;
        {
            CScopedLock lock(&m_queueLock);
            if (m_queue.empty())
                return DRAINED_DONE;
            Item& head = m_queue.front();
            bytes = reinterpret_cast<const char*>(head.bytes.data()) + head.offset;
            count = head.bytes.size() - head.offset;
        }
        // Only this thread removes items, so the head stays put unlocked.
        int n = send(m_socket, bytes, static_cast<int>(count < kSendChunk ? count : kSendChunk), 0);
        if (n == SOCKET_ERROR) {
            int error = WSAGetLastError();
            if (error == WSAEWOULDBLOCK)
                return DRAINED_FULL;
            if (error == WSAENOBUFS)
                return DRAINED_NO_BUFFERS;
            // The connection is broken: nothing more is queued or retried,
            // and the reader sees the end on its next read.
            RelayLog().Write(1, "<VSocket::DrainQueue>, send failed with %d", error);
            m_dropped = true;
            shutdown(m_socket, SD_BOTH);
            continue;
        }
        CScopedLock lock(&m_queueLock);
        if (m_queue.empty())
            return DRAINED_DONE;
        Item& head = m_queue.front();
        head.offset += static_cast<size_t>(n);
        if (head.offset == head.bytes.size()) {
            m_queuedBytes -= head.bytes.size();
            if (m_budget)
                m_budget->queuedBytes -= head.bytes.size();
            m_queue.pop_front();
        }
    }
}

uint32_t VSocket::Run()
{
    // An idle connection sleeps until something is queued; bytes that the
    // socket cannot take yet wait until it can, with no polling in between,
    // so that a peer that reads late costs nothing while it lags.
    HANDLE events[2] = {m_stop, m_queued};
    for (;;) {
        if (WaitForMultipleObjects(2, events, FALSE, INFINITE) != WAIT_OBJECT_0 + 1)
            break;
        ++m_wakes;
        for (;;) {
            const Drained drained = DrainQueue();
            if (drained == DRAINED_DONE)
                break;
            // A shutdown makes the socket writable at once.
            if (drained == DRAINED_FULL)
                WaitFor(true, kWritableWaitMs);
            else if (WaitForSingleObject(m_stop, kNoBuffersPauseMs) == WAIT_OBJECT_0)
                break;
            ++m_wakes;
        }
    }
    return 0;
}
