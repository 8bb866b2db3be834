#pragma once
#include <cstdint>

// The UDP socket under a video endpoint, narrow enough to fake in a test.
// Addresses and ports are in host order.
class IDatagramSocket
{
public:
    enum { TOO_LARGE = -2 };

    virtual ~IDatagramSocket() = default;
    // Makes a fresh socket, closing any held.
    virtual bool Create() = 0;
    virtual bool SetReceiveBuffer(int bytes) = 0;
    virtual bool Bind(uint32_t address, uint16_t port) = 0;
    virtual void Close() = 0;
    // Bytes sent, or -1.
    virtual int SendTo(const void* data, int length, uint32_t address, uint16_t port) = 0;
    // Bytes waiting to be read, 0 when none, -1 on error. Never blocks.
    virtual int Pending() = 0;
    // Reads one datagram: its length, TOO_LARGE for a datagram larger than
    // the buffer (discarded), or -1.
    virtual int ReceiveFrom(void* buffer, int capacity, uint32_t& address, uint16_t& port) = 0;
};
