// Frames per second and round-trip latency of the framed link over loopback,
// printed beside a plain-socket baseline measured in the same run, and the
// buffer pool's hand-overs per second between two threads.
#include <winsock2.h>

#include <cstdio>
#include <thread>
#include <vector>

#include "../BenchRow.h"
#include "CBufferPool.h"
#include "CTcpLink.h"

namespace {

double Seconds()
{
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return double(now.QuadPart) / double(frequency.QuadPart);
}

SOCKET Listen(uint16_t* port)
{
    SOCKET listener = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address);
    int length = sizeof address;
    getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length);
    *port = ntohs(address.sin_port);
    listen(listener, 1);
    return listener;
}

bool RecvExactly(SOCKET s, char* data, int length)
{
    while (length > 0) {
        int n = recv(s, data, length, 0);
        if (n <= 0)
            return false;
        data += n;
        length -= n;
    }
    return true;
}

// An echo peer that returns every frame it reads, header and payload.
void EchoFrames(SOCKET s)
{
    std::vector<char> buffer(70000);
    for (;;) {
        if (!RecvExactly(s, buffer.data(), 6))
            return;
        int length =
            static_cast<unsigned char>(buffer[2]) | (static_cast<unsigned char>(buffer[3]) << 8);
        if (!RecvExactly(s, buffer.data() + 6, length))
            return;
        if (send(s, buffer.data(), length + 6, 0) <= 0)
            return;
    }
}

struct Figures
{
    double framesPerSecond;
    double roundTripMicroseconds;
    bool ok; // false when a round trip failed: the figures then mean nothing
};

Figures MeasureLink(uint32_t payloadSize, int rounds)
{
    uint16_t port = 0;
    SOCKET listener = Listen(&port);
    std::thread peer([listener] {
        SOCKET s = accept(listener, nullptr, nullptr);
        BOOL noDelay = TRUE;
        setsockopt(s, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&noDelay),
                   sizeof noDelay);
        EchoFrames(s);
        closesocket(s);
    });
    CTcpLink* link = CreateTcpLink(FRAME_KIND_HEAD);
    bool ok = link && link->Connect("127.0.0.1", port);
    std::vector<unsigned char> payload(payloadSize, 0x42), reply(65530);
    double start = Seconds();
    int done = 0;
    for (; ok && done < rounds && Seconds() - start < 2.0; ++done) {
        ok = link->Send(payload.data(), payloadSize) == payloadSize + FRAME_HEAD_SIZE &&
             link->Recv(reply.data(), static_cast<int32_t>(reply.size())) ==
                 static_cast<int32_t>(payloadSize);
    }
    double elapsed = Seconds() - start;
    DestroyTcpLink(link);
    closesocket(listener);
    peer.join();
    return {done / elapsed, elapsed / done * 1e6, ok && done > 0};
}

Figures MeasurePlain(uint32_t payloadSize, int rounds)
{
    uint16_t port = 0;
    SOCKET listener = Listen(&port);
    std::thread peer([listener] {
        SOCKET s = accept(listener, nullptr, nullptr);
        BOOL noDelay = TRUE;
        setsockopt(s, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&noDelay),
                   sizeof noDelay);
        EchoFrames(s);
        closesocket(s);
    });
    SOCKET s = socket(AF_INET, SOCK_STREAM, 0);
    BOOL noDelay = TRUE;
    setsockopt(s, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&noDelay),
               sizeof noDelay);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(port);
    bool ok = connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    std::vector<char> frame(payloadSize + 6, 0x42), reply(payloadSize + 6);
    frame[0] = frame[4] = char(0xFF);
    frame[2] = char(payloadSize & 0xFF);
    frame[3] = char(payloadSize >> 8);
    double start = Seconds();
    int done = 0;
    for (; ok && done < rounds && Seconds() - start < 2.0; ++done) {
        ok = send(s, frame.data(), static_cast<int>(frame.size()), 0) ==
                 static_cast<int>(frame.size()) &&
             RecvExactly(s, reply.data(), static_cast<int>(reply.size()));
    }
    double elapsed = Seconds() - start;
    closesocket(s);
    closesocket(listener);
    peer.join();
    return {done / elapsed, elapsed / done * 1e6, ok && done > 0};
}

double MeasurePoolHandOvers(int count)
{
    CBufferPool pool(2, 32768);
    double start = Seconds();
    std::thread producer([&] {
        for (int i = 0; i < count; ++i) {
            CQueueBuffer* b = pool.GetFree(INFINITE);
            b->SetLength(i);
            pool.PutFilled(b);
        }
    });
    for (int i = 0; i < count; ++i)
        pool.PutFree(pool.GetFilled(INFINITE));
    producer.join();
    return count / (Seconds() - start);
}

} // namespace

int main()
{
    if (!StartWinsock()) {
        fprintf(stderr, "Winsock 2.2 is not available\n");
        return 1;
    }
    bool failed = false;
    printf("%-10s %14s %14s %8s %14s %14s\n", "payload", "link frames/s", "plain frames/s", "ratio",
           "link rtt us", "plain rtt us");
    for (uint32_t size : {2u, 4096u}) {
        const int rounds = 5000;
        // Each twice, alternating, so that neither profits alone from a quiet
        // moment of the machine.
        Figures link = MeasureLink(size, rounds);
        Figures plain = MeasurePlain(size, rounds);
        Figures link2 = MeasureLink(size, rounds);
        Figures plain2 = MeasurePlain(size, rounds);
        link = {(link.framesPerSecond + link2.framesPerSecond) / 2,
                (link.roundTripMicroseconds + link2.roundTripMicroseconds) / 2,
                link.ok && link2.ok};
        plain = {(plain.framesPerSecond + plain2.framesPerSecond) / 2,
                 (plain.roundTripMicroseconds + plain2.roundTripMicroseconds) / 2,
                 plain.ok && plain2.ok};
        if (!link.ok || !plain.ok) {
            printf("%-10u failed: a %s round trip over loopback did not complete\n", size,
                   link.ok ? "plain" : "link");
            failed = true;
            continue;
        }
        printf("%-10u %14.0f %14.0f %8.2f %14.1f %14.1f\n", size, link.framesPerSecond,
               plain.framesPerSecond, link.framesPerSecond / plain.framesPerSecond,
               link.roundTripMicroseconds, plain.roundTripMicroseconds);
        if (size == 4096)
            BenchRow("framed link, 4 KB frames, round trips", link.framesPerSecond,
                     plain.framesPerSecond, "frames/s", ">=", 0.9);
    }
    printf("pool hand-overs per second: %.0f\n", MeasurePoolHandOvers(200000));
    WSACleanup();
    return failed ? 1 : 0;
}
