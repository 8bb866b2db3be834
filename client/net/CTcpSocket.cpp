#include "CTcpSocket.h"

bool CTcpSocket::Create(int type)
{
    if (m_handle)
        return false;
    SOCKET s = socket(AF_INET, type, 0);
    if (s == INVALID_SOCKET)
        return false;
    SOCKET none = 0;
    if (!m_handle.compare_exchange_strong(none, s)) {
        closesocket(s);
        return false;
    }
    m_sendTimeoutMs = 0;
    return true;
}

bool CTcpSocket::Connect(const sockaddr* address, int length)
{
    SOCKET s = m_handle;
    if (!s)
        return false;
    return connect(s, address, length) == 0;
}

void CTcpSocket::Close()
{
    SOCKET s = m_handle.exchange(0);
    if (s)
        closesocket(s);
}

int CTcpSocket::SendOnce(const void* data, int length, uint32_t seconds)
{
    SOCKET s = m_handle;
    if (!s)
        return 0;
    fd_set writable;
    FD_ZERO(&writable);
    FD_SET(s, &writable);
    timeval wait = {static_cast<long>(seconds), 0};
    int ready = select(0, nullptr, &writable, nullptr, &wait);
    if (ready == 0)
        return -1;
    if (ready < 0)
        return 0;
    int sent = send(s, static_cast<const char*>(data), length, 0);
    return sent == SOCKET_ERROR ? 0 : sent;
}

int CTcpSocket::SendAll(const void* data, int length, uint32_t seconds, uint32_t totalMs)
{
    if (!m_handle)
        return 0;
    const char* bytes = static_cast<const char*>(data);
    int done = 0;
    DWORD start = GetTickCount();
    while (done < length) {
        int n = SendOnce(bytes + done, length - done, seconds);
        if (n == 0)
            break;
        if (n < 0) {
            // Not writable in time: the peer stopped reading. Give up once the
            // whole wait is over, so a stalled peer cannot hold the sender.
            if (GetTickCount() - start >= totalMs)
                break;
            Sleep(200);
            continue;
        }
        done += n;
    }
    return done;
}

int CTcpSocket::RecvOnce(void* data, int length, uint32_t seconds)
{
    SOCKET s = m_handle;
    if (!s)
        return 0;
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(s, &readable);
    timeval wait = {static_cast<long>(seconds), 0};
    int ready = select(0, &readable, nullptr, nullptr, &wait);
    if (ready <= 0)
        return 0;
    int got = recv(s, static_cast<char*>(data), length, 0);
    return got == SOCKET_ERROR ? 0 : got;
}

int CTcpSocket::RecvOnce(void* data, int length)
{
    SOCKET s = m_handle;
    if (!s)
        return 0;
    int got = recv(s, static_cast<char*>(data), length, 0);
    return got == SOCKET_ERROR ? 0 : got;
}

int CTcpSocket::SendPair(const void* first, int firstLength, const void* second, int secondLength,
                         uint32_t totalMs)
{
    SOCKET s = m_handle;
    if (!s || firstLength < 0 || secondLength < 0)
        return 0;
    // The socket blocks while the peer is not reading; the time-out bounds
    // that wait, after which the send fails and its socket is not used again.
    DWORD timeout = totalMs ? totalMs : 1;
    if (m_sendTimeoutMs != timeout) {
        if (setsockopt(s, SOL_SOCKET, SO_SNDTIMEO, reinterpret_cast<const char*>(&timeout),
                       sizeof timeout) != 0)
            return 0;
        m_sendTimeoutMs = timeout;
    }
    WSABUF buffers[2];
    buffers[0].len = static_cast<ULONG>(firstLength);
    buffers[0].buf = static_cast<char*>(const_cast<void*>(first));
    buffers[1].len = static_cast<ULONG>(secondLength);
    buffers[1].buf = static_cast<char*>(const_cast<void*>(second));
    WSABUF* next = buffers;
    DWORD count = 2;
    if (firstLength == 0) {
        next = buffers + 1;
        count = 1;
    }
    int done = 0;
    const int total = firstLength + secondLength;
    while (done < total) {
        DWORD sent = 0;
        if (WSASend(s, next, count, &sent, 0, nullptr, nullptr) != 0 || sent == 0)
            break;
        done += static_cast<int>(sent);
        // A blocking send takes everything or fails; stepping over a short
        // count keeps this right either way.
        while (count > 0 && sent >= next->len) {
            sent -= next->len;
            ++next;
            --count;
        }
        if (count > 0) {
            next->buf += sent;
            next->len -= sent;
        }
    }
    return done;
}

int CTcpSocket::RecvPair(void* first, int firstLength, void* second, int secondLength,
                         uint32_t seconds, bool timed)
{
    SOCKET s = m_handle;
    if (!s || firstLength < 0 || secondLength < 0 || firstLength + secondLength == 0)
        return 0;
    if (timed) {
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(s, &readable);
        timeval wait = {static_cast<long>(seconds), 0};
        if (select(0, &readable, nullptr, nullptr, &wait) <= 0)
            return 0;
    }
    WSABUF buffers[2];
    buffers[0].len = static_cast<ULONG>(firstLength);
    buffers[0].buf = static_cast<char*>(first);
    buffers[1].len = static_cast<ULONG>(secondLength);
    buffers[1].buf = static_cast<char*>(second);
    WSABUF* next = firstLength ? buffers : buffers + 1;
    DWORD count = firstLength ? 2 : 1;
    if (secondLength == 0)
        count -= 1;
    DWORD got = 0;
    DWORD flags = 0;
    if (WSARecv(s, next, count, &got, &flags, nullptr, nullptr) != 0)
        return 0;
    return static_cast<int>(got);
}
