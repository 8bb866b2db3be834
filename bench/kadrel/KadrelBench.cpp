// Mouth-to-ear audio latency of the audio manager: a speaker in a process
// of its own sends tone bursts that start at known instants of the machine's
// performance clock; a listener in this process detects each burst in the
// block handed to its playback device. Beside it, in the same run, the
// reference: the same manager playing its own microphone locally, which is
// the path of capture, coding, decoding and mixing without network and
// relay. The difference is what the UDP path through the stand-in server's
// relay and the jitter buffer add.
//
//   kadrel_bench [bursts per run, default 20]
#include <winsock2.h>
#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "CKadrelProbe.h"
#include "CMeetingClock.h"
#include "CPeerProcess.h"
#include "CAudioRelay.h"
#include "CStandInServer.h"
#include "CTcpLink.h"
#include "KadrelModule.h"
#include "StandInTestKit.h"

namespace {

const double kPeriodMs = 500;
const double kBurstMs = 100;

struct Figures
{
    size_t count = 0;
    double median = 0, p90 = 0, low = 0, high = 0;
};

Figures Measure(const std::vector<double>& onsets)
{
    std::vector<double> latencies;
    for (double at : onsets)
        latencies.push_back(at - std::floor(at / kPeriodMs) * kPeriodMs);
    Figures f;
    f.count = latencies.size();
    if (latencies.empty())
        return f;
    std::sort(latencies.begin(), latencies.end());
    f.median = latencies[latencies.size() / 2];
    f.p90 = latencies[std::min(latencies.size() - 1, latencies.size() * 9 / 10)];
    f.low = latencies.front();
    f.high = latencies.back();
    return f;
}

void Print(const char* what, const Figures& f)
{
    printf("%-46s %3u bursts  median %6.1f ms  p90 %6.1f ms  min %6.1f  max %6.1f\n", what,
           static_cast<unsigned>(f.count), f.median, f.p90, f.low, f.high);
}

uint32_t JoinSpeaker(CStandInServer& server, StandInClient& client, const char* user,
                     const char* password)
{
    if (!client.Login(server.GetPort(), user, password, 2))
        return 0;
    client.manager.SendSpeechRequest();
    std::vector<uint8_t> m;
    while (client.WaitFor(CMD_SPEAK_STATE, m))
        if (ReadU32(m, 4) == client.login.userId && m[8] == 2)
            break;
    return client.login.userId;
}

} // namespace

int main(int argc, char** argv)
{
    const int bursts = argc > 1 ? std::max(3, atoi(argv[1])) : 20;
    const double durationMs = bursts * kPeriodMs;
    if (!StartWinsock())
        return 1;
    KadrelModule kadrel;
    if (!kadrel.Load()) {
        fprintf(stderr, "Kadrel.dll missing or incomplete\n");
        return 1;
    }
    CServerConfig config = StandInTestConfig();
    config.audioPort = 0;
    CStandInServer server(config);
    if (!server.Start(0)) {
        fprintf(stderr, "the stand-in server did not start\n");
        return 1;
    }
    StandInClient alice, bob;
    const uint32_t speaker = JoinSpeaker(server, alice, "alice", "a");
    const uint32_t listener = JoinSpeaker(server, bob, "bob", "b");
    if (!speaker || !listener) {
        fprintf(stderr, "login failed\n");
        return 1;
    }

    CKadrelProbe::Plan plan;
    plan.audioPort = server.Config().audioPort;
    plan.room = 2;
    plan.toneHz = 1000;
    plan.amplitude = 8000;
    plan.burstMs = kBurstMs;
    plan.periodMs = kPeriodMs;

    // Reference: the speaker's own microphone played locally.
    CKadrelProbe::Plan local = plan;
    local.user = speaker;
    local.send = false;
    local.playLocal = true;
    local.fromMs = CKadrelProbe::NowMs() + 1000;
    local.toMs = local.fromMs + durationMs;
    CKadrelProbe::Result reference;
    {
        CKadrelProbe probe(kadrel);
        if (!probe.Run(local, &reference)) {
            fprintf(stderr, "the reference run failed\n");
            return 1;
        }
    }

    // Through the relay: the speaker in a peer process, the listener here.
    const std::string clockName = "KadrelBenchMeeting-" + std::to_string(GetCurrentProcessId());
    CMeetingClock clock;
    if (!clock.Create(clockName))
        return 1;
    CKadrelProbe::Plan talk = plan;
    talk.user = speaker;
    talk.clock = clockName;
    CKadrelProbe::Plan hear = plan;
    hear.user = listener;
    hear.amplitude = 0;
    hear.send = false;
    hear.sources = {speaker};
    hear.clock = clockName;
    CPeerProcess peer;
    if (!peer.Start("kadrel_peer.exe " + CKadrelProbe::FormatPlan(talk))) {
        fprintf(stderr, "kadrel_peer.exe did not start\n");
        return 1;
    }
    CKadrelProbe::Result heard;
    bool ran = false;
    std::thread own([&] {
        CKadrelProbe probe(kadrel);
        ran = probe.Run(hear, &heard);
    });
    const DWORD start = GetTickCount();
    while (clock.ReadyCount() < 2 && GetTickCount() - start < 30000)
        Sleep(20);
    const double from = CKadrelProbe::NowMs() + 1000;
    clock.Publish(from, from + durationMs);
    own.join();
    peer.Wait(30000);
    if (!ran || clock.ReadyCount() < 2) {
        fprintf(stderr, "the meeting run failed\n%s", peer.Output().c_str());
        return 1;
    }

    const Figures ref = Measure(reference.onsetsMs);
    const Figures relay = Measure(heard.onsetsMs);
    printf("Kadrel mouth-to-ear latency, tone bursts of %.0f ms every %.0f ms, G.722.1 24 kbit/s\n",
           kBurstMs, kPeriodMs);
    Print("reference: own microphone played locally", ref);
    Print("speaker -> stand-in relay -> listener", relay);
    if (ref.count && relay.count)
        printf("added by the network path and the relay (median): %.1f ms\n",
               relay.median - ref.median);
    const CAudioRelay::Counters counters = server.AudioRelay()->GetCounters();
    printf("relay: %llu datagrams read, %llu relayed, %llu dropped (silent), %llu refused\n",
           static_cast<unsigned long long>(counters.received),
           static_cast<unsigned long long>(counters.relayed),
           static_cast<unsigned long long>(counters.droppedSilent),
           static_cast<unsigned long long>(counters.refused));
    return relay.count ? 0 : 1;
}
