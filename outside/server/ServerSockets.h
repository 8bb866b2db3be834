#pragma once
// The stand-in server's own sockets: bound on the loopback address only or
// on every address, at the given port or (0) at a free one the system picks.
#include <winsock2.h>

#include <cstdint>

// A listening TCP socket; INVALID_SOCKET when it cannot be bound. The port
// it listens on goes to *boundPort.
SOCKET OpenTcpListener(uint16_t port, bool loopbackOnly, uint16_t* boundPort);

// A bound UDP socket with that receive buffer and, unless 0, that bound on
// each read; INVALID_SOCKET when it cannot be bound.
SOCKET OpenUdpSocket(uint16_t port, bool loopbackOnly, int receiveBuffer, DWORD readWaitMs,
                     uint16_t* boundPort);
