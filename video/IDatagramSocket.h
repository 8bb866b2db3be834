#pragma once
#include <cstdint>

// The UDP socket under a video endpoint, narrow enough to fake in a test.
// Addresses and ports are in host order.
class IDatagramSocket
{
public:
    enum { TOO_LARGE = -2, WOULD_BLOCK = -3 };

    virtual ~IDatagramSocket() = default;
    // Makes a fresh non-blocking socket, closing any held.
    virtual bool Create() = 0;
    virtual bool SetReceiveBuffer(int bytes) = 0;
    virtual bool Bind(uint32_t address, uint16_t port) = 0;
    virtual void Close() = 0;
    // Bytes sent, or -1.
    virtual int SendTo(const void* data, int length, uint32_t address, uint16_t port) = 0;
    // Bytes waiting to be read as the system counts them, 0 when none, -1 on
    // error. Never blocks. Only a hint: some systems report 0 while an empty
    // datagram is first in the queue, whatever waits behind it.
    virtual int Pending() = 0;
    // Reads one datagram without blocking: its length (0 for an empty one),
    // TOO_LARGE for a datagram larger than the buffer (discarded),
    // WOULD_BLOCK when nothing waits, or -1.
    virtual int ReceiveFrom(void* buffer, int capacity, uint32_t& address, uint16_t& port) = 0;
};
