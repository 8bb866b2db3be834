#pragma once
#include <winsock2.h>

#include <atomic>
#include <cstdint>
#include <mutex>
#include <random>
#include <vector>

// A small stand-in for the conference server's video relay on loopback:
// a receiver's 20-byte report makes the relay learn that receiver; every
// other datagram is forwarded to the receivers it knows. Loss, repeats and
// reordering (a datagram held back until the next one has gone) happen at
// the given percentages.
class CUdpRelay
{
public:
    CUdpRelay(int lossPercent = 0, int repeatPercent = 0, int reorderPercent = 0);
    ~CUdpRelay();

    bool Start();
    void Stop();
    uint16_t GetPort() const { return m_port; }

    uint32_t Reports() const { return m_reports; }
    uint32_t Forwarded() const { return m_forwarded; }
    uint32_t Received() const { return m_received; }

private:
    static unsigned __stdcall ThreadProc(void* arg);
    void Loop();
    void Forward(const std::vector<char>& datagram);

    int m_loss, m_repeat, m_reorder;
    SOCKET m_socket = INVALID_SOCKET;
    uint16_t m_port = 0;
    HANDLE m_thread = nullptr;
    std::atomic<bool> m_stop{false};
    std::vector<sockaddr_in> m_receivers;
    std::vector<std::vector<char>> m_held;
    std::mt19937 m_random{12345};
    std::atomic<uint32_t> m_reports{0};
    std::atomic<uint32_t> m_forwarded{0};
    std::atomic<uint32_t> m_received{0};
};
