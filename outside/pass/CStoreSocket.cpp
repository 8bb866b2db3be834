#include "CStoreSocket.h"

#include <ws2tcpip.h>

#include <cstdio>
#include <vector>

#include "WireReader.h"
#include "WireWriter.h"

namespace {

const uint32_t kSliceMs = 50;

} // namespace

CStoreSocket::CStoreSocket(SOCKET s) : m_socket(s)
{
    if (m_socket != INVALID_SOCKET) {
        u_long on = 1;
        ioctlsocket(m_socket, FIONBIO, &on);
    }
}

CStoreSocket::~CStoreSocket() { Close(); }

void CStoreSocket::Close()
{
    if (m_socket != INVALID_SOCKET) {
        closesocket(m_socket);
        m_socket = INVALID_SOCKET;
    }
}

bool CStoreSocket::Fail(const std::string& text)
{
    if (m_error.empty())
        m_error = text;
    return false;
}

bool CStoreSocket::Connect(const char* host, uint16_t port, uint32_t timeoutMs)
{
    Close();
    if (!host || !*host || port == 0)
        return Fail("no file store address or port");
    addrinfo hints = {};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    char service[8];
    snprintf(service, sizeof service, "%u", static_cast<unsigned>(port));
    if (getaddrinfo(host, service, &hints, &found) != 0 || !found)
        return Fail(std::string("cannot resolve the file store address ") + host);
    sockaddr_in address = *reinterpret_cast<sockaddr_in*>(found->ai_addr);
    freeaddrinfo(found);

    m_socket = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (m_socket == INVALID_SOCKET)
        return Fail("no socket for the file store");
    u_long on = 1;
    ioctlsocket(m_socket, FIONBIO, &on);
    BOOL noDelay = TRUE;
    setsockopt(m_socket, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&noDelay),
               sizeof noDelay);
    if (connect(m_socket, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 &&
        WSAGetLastError() != WSAEWOULDBLOCK) {
        Close();
        return Fail("the file store refused the connection");
    }
    // Connected when writable; refused when the exception set reports it.
    DWORD start = GetTickCount();
    for (;;) {
        if (m_cancel && *m_cancel) {
            Close();
            return Fail("stopped while connecting to the file store");
        }
        fd_set writable, failed;
        FD_ZERO(&writable);
        FD_ZERO(&failed);
        FD_SET(m_socket, &writable);
        FD_SET(m_socket, &failed);
        timeval slice = {0, static_cast<long>(kSliceMs * 1000)};
        int ready = select(0, nullptr, &writable, &failed, &slice);
        if (ready < 0 || FD_ISSET(m_socket, &failed)) {
            Close();
            return Fail("the file store refused the connection");
        }
        if (ready > 0 && FD_ISSET(m_socket, &writable))
            return true;
        if (GetTickCount() - start >= timeoutMs) {
            Close();
            return Fail("the file store did not answer the connection");
        }
    }
}

bool CStoreSocket::Wait(bool write)
{
    DWORD start = GetTickCount();
    for (;;) {
        if (m_socket == INVALID_SOCKET)
            return Fail("the connection is closed");
        if (m_cancel && *m_cancel)
            return Fail("stopped");
        fd_set set;
        FD_ZERO(&set);
        FD_SET(m_socket, &set);
        timeval slice = {0, static_cast<long>(kSliceMs * 1000)};
        int ready = write ? select(0, nullptr, &set, nullptr, &slice)
                          : select(0, &set, nullptr, nullptr, &slice);
        if (ready < 0)
            return Fail("the connection failed");
        if (ready > 0)
            return true;
        if (GetTickCount() - start >= m_stallMs)
            return Fail("the transfer stalled: nothing moved for " + std::to_string(m_stallMs) +
                        " ms");
    }
}

bool CStoreSocket::SendAll(const void* data, size_t size)
{
    const char* p = static_cast<const char*>(data);
    while (size > 0) {
        if (!Wait(true))
            return false;
        int chunk = static_cast<int>(size > 65536 ? 65536 : size);
        int sent = send(m_socket, p, chunk, 0);
        if (sent == SOCKET_ERROR) {
            if (WSAGetLastError() == WSAEWOULDBLOCK)
                continue;
            return Fail("the connection broke while sending");
        }
        p += sent;
        size -= static_cast<size_t>(sent);
    }
    return true;
}

bool CStoreSocket::RecvAll(void* data, size_t size)
{
    char* p = static_cast<char*>(data);
    while (size > 0) {
        if (!Wait(false))
            return false;
        int chunk = static_cast<int>(size > 65536 ? 65536 : size);
        int got = recv(m_socket, p, chunk, 0);
        if (got == 0)
            return Fail("the connection ended early");
        if (got == SOCKET_ERROR) {
            if (WSAGetLastError() == WSAEWOULDBLOCK)
                continue;
            return Fail("the connection broke while receiving");
        }
        p += got;
        size -= static_cast<size_t>(got);
    }
    return true;
}

bool CStoreSocket::SendRequest(uint16_t op, uint32_t roomId, uint32_t value, uint32_t size,
                               const std::string& name)
{
    if (name.size() > STORE_MAX_NAME)
        return Fail("name too long for the file store");
    std::vector<uint8_t> bytes(sizeof(STORE_REQUEST) + name.size());
    WireWriter w(bytes.data(), bytes.size());
    w.U32(STORE_REQUEST_MAGIC);
    w.U16(op);
    w.U16(static_cast<uint16_t>(name.size()));
    w.U32(roomId);
    w.U32(value);
    w.U32(size);
    w.Bytes(name.data(), name.size());
    return w.Ok() && SendAll(bytes.data(), bytes.size());
}

bool CStoreSocket::ReadRequest(STORE_REQUEST& request, std::string& name)
{
    uint8_t head[sizeof(STORE_REQUEST)];
    if (!RecvAll(head, sizeof head))
        return false;
    WireReader r(head, sizeof head);
    r.U32(request.magic);
    r.U16(request.op);
    r.U16(request.nameLength);
    r.U32(request.roomId);
    r.U32(request.value);
    r.U32(request.size);
    if (!r.Ok() || request.magic != STORE_REQUEST_MAGIC)
        return Fail("not a file store request");
    if (request.nameLength > STORE_MAX_NAME)
        return Fail("request name too long");
    name.assign(request.nameLength, '\0');
    return request.nameLength == 0 || RecvAll(&name[0], request.nameLength);
}

bool CStoreSocket::SendReply(uint16_t status, uint32_t value, uint32_t size,
                             const std::string& name)
{
    if (name.size() > STORE_MAX_NAME)
        return Fail("name too long for a reply");
    std::vector<uint8_t> bytes(sizeof(STORE_REPLY) + name.size());
    WireWriter w(bytes.data(), bytes.size());
    w.U32(STORE_REPLY_MAGIC);
    w.U16(status);
    w.U16(static_cast<uint16_t>(name.size()));
    w.U32(value);
    w.U32(size);
    w.Bytes(name.data(), name.size());
    return w.Ok() && SendAll(bytes.data(), bytes.size());
}

bool CStoreSocket::ReadReply(STORE_REPLY& reply, std::string& name)
{
    uint8_t head[sizeof(STORE_REPLY)];
    if (!RecvAll(head, sizeof head))
        return false;
    WireReader r(head, sizeof head);
    r.U32(reply.magic);
    r.U16(reply.status);
    r.U16(reply.nameLength);
    r.U32(reply.value);
    r.U32(reply.size);
    if (!r.Ok() || reply.magic != STORE_REPLY_MAGIC)
        return Fail("the file store sent something that is not a reply");
    if (reply.nameLength > STORE_MAX_NAME)
        return Fail("the file store's reply names more than 255 bytes");
    name.assign(reply.nameLength, '\0');
    return reply.nameLength == 0 || RecvAll(&name[0], reply.nameLength);
}
