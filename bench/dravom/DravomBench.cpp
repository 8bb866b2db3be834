// Prints the video library's figures:
//  1. cutting frames into datagrams, parsing and putting them back
//     together, in MB/s of frame bytes, beside memcpy of the same bytes;
//  2. the share of frames delivered at 1 % and 5 % datagram loss;
//  3. the latency of frames from the engine's callback on the send side
//     to the renderer on the receive side, over loopback.
#include <winsock2.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <mutex>
#include <random>
#include <vector>

#include "../BenchRow.h"
#include "CVideoPacket.h"
#include "CVideoReassembler.h"
#include "Dravom.h"

namespace {

double Now()
{
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) / static_cast<double>(frequency.QuadPart);
}

volatile uint32_t g_sink = 0;

void Throughput()
{
    printf("packetise and reassemble (frame bytes per second), beside one memcpy of the same\n"
           "bytes; cutting and putting back copy every byte twice, so 0.5 is the ceiling\n");
    printf("%10s %14s %14s %8s   (best of 5 alternating rounds each)\n", "frame", "packets MB/s",
           "memcpy MB/s", "ratio");
    // The two alternate in rounds and each keeps its best round, so that a
    // moment of load on this shared machine does not fall on one of them.
    const int rounds = 5;
    for (uint32_t size : {400u, 4000u, 16000u, 61440u}) {
        std::vector<uint8_t> frame(size);
        for (uint32_t i = 0; i < size; ++i)
            frame[i] = static_cast<uint8_t>(i * 13);
        const uint32_t frames = std::max(200u, 8000000u / size);
        CVideoReassembler r;
        uint8_t packet[VideoWire::MAX_PACKET];
        std::vector<uint8_t> copy(size);
        double packets = 1e30, copies = 1e30;
        uint16_t sequence = 0;
        for (int round = 0; round < rounds; ++round) {
            const double t0 = Now();
            for (uint32_t n = 0; n < frames; ++n, ++sequence) {
                CVideoPacket::Header h{sequence, n * 30u, 110, 0};
                const uint32_t count = VideoWire::PieceCount(size);
                for (uint32_t i = 0; i < count; ++i) {
                    const size_t len =
                        CVideoPacket::Build(packet, sizeof packet, h, frame.data(), size, i);
                    CVideoPacket::View view;
                    if (CVideoPacket::ParseInPlace(packet, len, 0x7F000001, 10000, view))
                        r.Add(view);
                }
                while (auto f = r.Pop())
                    g_sink += f->Payload()[f->payloadLength - 1];
            }
            const double t1 = Now();
            for (uint32_t n = 0; n < frames; ++n) {
                frame[0] = static_cast<uint8_t>(n);
                memcpy(copy.data(), frame.data(), size);
                g_sink += copy[size - 1];
            }
            const double t2 = Now();
            packets = std::min(packets, t1 - t0);
            copies = std::min(copies, t2 - t1);
        }
        const double mb = static_cast<double>(size) * frames / 1e6;
        printf("%10u %14.1f %14.1f %8.2f\n", size, mb / packets, mb / copies, copies / packets);
        char row[64];
        snprintf(row, sizeof row, "Dravom packetise+reassemble, %u-byte frames", size);
        BenchRow(row, mb / packets, mb / copies, "MB/s", ">=", 0.35);
    }
    {
        // Where the time of the largest frame goes: cutting alone, and
        // cutting with parsing, beside the whole path above.
        const uint32_t size = VideoWire::MAX_FRAME;
        std::vector<uint8_t> frame(size, 3);
        uint8_t packet[VideoWire::MAX_PACKET];
        const uint32_t frames = 600;
        const double t0 = Now();
        for (uint32_t n = 0; n < frames; ++n) {
            CVideoPacket::Header h{static_cast<uint16_t>(n), n * 30, 110, 0};
            for (uint32_t i = 0; i < VideoWire::PieceCount(size); ++i)
                g_sink += static_cast<uint32_t>(
                    CVideoPacket::Build(packet, sizeof packet, h, frame.data(), size, i));
        }
        const double t1 = Now();
        for (uint32_t n = 0; n < frames; ++n) {
            CVideoPacket::Header h{static_cast<uint16_t>(n), n * 30, 110, 0};
            for (uint32_t i = 0; i < VideoWire::PieceCount(size); ++i) {
                const size_t len =
                    CVideoPacket::Build(packet, sizeof packet, h, frame.data(), size, i);
                CVideoPacket::View view;
                g_sink += CVideoPacket::ParseInPlace(packet, len, 0, 0, view) ? 1u : 0u;
            }
        }
        const double t2 = Now();
        const double mb = static_cast<double>(size) * frames / 1e6;
        printf("%10u frames: cutting alone %.1f MB/s, cutting and parsing %.1f MB/s\n", size,
               mb / (t1 - t0), mb / (t2 - t1));
    }
}

void DeliveredUnderLoss()
{
    printf("\nframes delivered under random datagram loss (2000 frames each)\n");
    printf("%10s %8s %12s\n", "frame", "loss", "delivered");
    for (uint32_t size : {3000u, 8000u, 20000u}) {
        for (int loss : {1, 5}) {
            std::mt19937 rng(99);
            std::vector<uint8_t> frame(size, 7);
            CVideoReassembler r;
            uint8_t packet[VideoWire::MAX_PACKET];
            uint32_t delivered = 0;
            const uint32_t frames = 2000;
            for (uint32_t n = 0; n < frames; ++n) {
                CVideoPacket::Header h{static_cast<uint16_t>(n), n * 30, 110, 0};
                for (uint32_t i = 0; i < VideoWire::PieceCount(size); ++i) {
                    if (static_cast<int>(rng() % 100) < loss)
                        continue;
                    const size_t len =
                        CVideoPacket::Build(packet, sizeof packet, h, frame.data(), size, i);
                    CVideoPacket::View view;
                    if (CVideoPacket::ParseInPlace(packet, len, 0, 0, view))
                        r.Add(view);
                }
                while (r.Pop())
                    ++delivered;
            }
            printf("%10u %7d%% %11.1f%%\n", size, loss, 100.0 * delivered / frames);
        }
    }
}

uint64_t Hash(const unsigned char* data, int length)
{
    uint64_t h = 1469598103934665603ull;
    for (int i = 0; i < length; ++i)
        h = (h ^ data[i]) * 1099511628211ull;
    return h ^ static_cast<uint64_t>(length);
}

std::mutex g_lock;
std::map<uint64_t, double> g_sent;
std::vector<double> g_latency;

void __cdecl OnSent(void*, const unsigned char* frame, int length)
{
    const double t = Now();
    std::lock_guard<std::mutex> g(g_lock);
    g_sent[Hash(frame, length)] = t;
}

void __cdecl OnRendered(void*, const unsigned char* frame, int length)
{
    const double t = Now();
    if (length <= 4)
        return;
    std::lock_guard<std::mutex> g(g_lock);
    auto it = g_sent.find(Hash(frame + 4, length - 4));
    if (it != g_sent.end())
        g_latency.push_back((t - it->second) * 1000.0);
}

void Latency()
{
    printf("\nframe latency over loopback, engine callback to renderer (176x144, 512 kbit/s)\n");
    WNDCLASSA wc = {};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "DravomBench";
    RegisterClassA(&wc);
    // The renderer calls back before it paints, so the figure holds for
    // windows that show nothing: without a display (an environment whose
    // virtual display is gone) the windows are message-only.
    HWND windows[2] = {};
    for (HWND& w : windows)
        w = CreateWindowA("DravomBench", "video", WS_OVERLAPPEDWINDOW, 0, 0, 176, 144, nullptr,
                          nullptr, wc.hInstance, nullptr);
    if (!windows[0] || !windows[1]) {
        for (HWND& w : windows) {
            if (w)
                DestroyWindow(w);
            w = CreateWindowA("DravomBench", "video", 0, 0, 0, 176, 144, HWND_MESSAGE, nullptr,
                              wc.hInstance, nullptr);
        }
        printf("(no display: the video windows are message-only, nothing is painted)\n");
    }
    HWND local = windows[0], remote = windows[1];
    if (!local || !remote) {
        printf("receiver could not start: no window could be made (error %lu)\n", GetLastError());
        return;
    }
    void* receiver = T_R_StartPreview(1, remote, WM_APP);
    if (!receiver) {
        printf("receiver could not start: no renderer for its window\n");
        return;
    }
    uint16_t port = 0;
    if (!T_R_BindLocalPort(receiver, 1, 2, 0, &port)) {
        printf("receiver could not start: no local port could be bound from 10000 up\n");
        T_R_StopPreview(&receiver);
        return;
    }
    T_R_SetRecord(receiver, 1, nullptr, &OnRendered);
    if (!T_S_StartCapture(0, 0, 1, 512, 176, 144) || !T_S_StartPreview(1, local, WM_APP)) {
        printf("capture could not start\n");
        T_R_StopPreview(&receiver);
        return;
    }
    T_S_SetRecord(1, nullptr, &OnSent);
    T_S_StartSend(1, "127.0.0.1", port);
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < 4000) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
        Sleep(10);
    }
    T_S_StopCapture();
    T_R_StopPreview(&receiver);
    DestroyWindow(local);
    DestroyWindow(remote);
    std::lock_guard<std::mutex> g(g_lock);
    if (g_latency.empty()) {
        printf("no frames arrived\n");
        return;
    }
    std::sort(g_latency.begin(), g_latency.end());
    const size_t n = g_latency.size();
    printf("frames %u of %u, latency ms: median %.1f, 90th %.1f, max %.1f\n",
           static_cast<unsigned>(n), static_cast<unsigned>(g_sent.size()), g_latency[n / 2],
           g_latency[n * 9 / 10], g_latency[n - 1]);
}

} // namespace

int main()
{
    Throughput();
    DeliveredUnderLoss();
    Latency();
    return 0;
}
