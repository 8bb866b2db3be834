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
    timeval wait = { static_cast<long>(seconds), 0 };
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
    timeval wait = { static_cast<long>(seconds), 0 };
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
