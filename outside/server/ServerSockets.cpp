#include "ServerSockets.h"

namespace {

// Binds s (and listens when it is a stream socket); closes it on failure.
SOCKET Bind(SOCKET s, uint16_t port, bool loopbackOnly, bool listens, uint16_t* boundPort)
{
    if (s == INVALID_SOCKET)
        return s;
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(loopbackOnly ? INADDR_LOOPBACK : INADDR_ANY);
    address.sin_port = htons(port);
    int length = sizeof address;
    if (bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        (listens && listen(s, SOMAXCONN) != 0) ||
        getsockname(s, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        closesocket(s);
        return INVALID_SOCKET;
    }
    if (boundPort)
        *boundPort = ntohs(address.sin_port);
    return s;
}

} // namespace

SOCKET OpenTcpListener(uint16_t port, bool loopbackOnly, uint16_t* boundPort)
{
    return Bind(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP), port, loopbackOnly, true, boundPort);
}

SOCKET OpenUdpSocket(uint16_t port, bool loopbackOnly, int receiveBuffer, DWORD readWaitMs,
                     uint16_t* boundPort)
{
    SOCKET s = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    if (s == INVALID_SOCKET)
        return s;
    setsockopt(s, SOL_SOCKET, SO_RCVBUF, reinterpret_cast<const char*>(&receiveBuffer),
               sizeof receiveBuffer);
    if (readWaitMs)
        setsockopt(s, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&readWaitMs),
                   sizeof readWaitMs);
    return Bind(s, port, loopbackOnly, false, boundPort);
}
