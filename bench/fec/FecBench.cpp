// Residual loss of data packets after the Reed-Solomon packet FEC, against
// the figure its parameters predict:
//
//   fec_bench [packets]     at most this many packets per case (default 800000)
//
// For every distinct (k, n) of the FEC mode table, random loss and burst loss
// (a two-state chain, mean burst 4 packets) at 5, 10 and 20 % drop whole
// packets as sent: a data packet with the parity packets that ride along.
// The prediction takes the packets each group is actually sent in (recorded
// from the encoder) and the loss chain, and gives the share of data packets
// lost with more than n - k of their group's packets. Lost data packets come
// in whole failed groups, so the precision of a measurement rests on how many
// groups failed: each case runs enough packets to expect 500 failed groups
// (about +-9 % at 95 %), up to the limit, and its 95 % interval is taken from
// the spread of the groups' losses. A case whose interval is wider than
// +-10 % is marked as too few events, unless it already differs beyond doubt.
#include <windows.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <vector>

#include "../BenchRow.h"
#include "AudioFormats.h"
#include "FecDecoder.h"
#include "FecEncoder.h"
#include "FecHeader.h"
#include "LossPrediction.h"

using BenchMeasure::LossModel;
using BenchMeasure::LossPrediction;
using SonvexFilterCore::FecModeRow;
using SonvexFilterCore::FecModeTable;

namespace {

// The payload's length does not change which groups can be rebuilt; a short
// one keeps the run quick.
const int kPayload = 8;
const int kSeeds = 4;
const double kTargetGroups = 500.0;
const double kMeanBurst = 4.0;

// Full group numbers from the headers' low 16 bits, for a stream that moves
// forward.
struct GroupClock
{
    long long last = 0;
    long long Full(uint16_t low)
    {
        last += static_cast<int16_t>(static_cast<uint16_t>(low - static_cast<uint16_t>(last)));
        return last;
    }
};

// The sent packets that carry each packet of a group well past the start.
std::vector<long long> ScheduleOf(int n, int k)
{
    const long long group = 20;
    std::vector<long long> positions(n, -1);
    FecEncoder encoder(n, k, kPayload);
    std::vector<uint8_t> in(FecHeader::SIZE + kPayload, 0);
    GroupClock clock;
    for (long long sent = 0; sent < (group + 6) * k; ++sent) {
        FecEncoder::Output out;
        if (!encoder.Accept(in.data(), kPayload, &out))
            return {};
        for (int j = -1; j < out.parityCount; ++j) {
            const FecHeader h = FecHeader::Read(j < 0 ? out.data : out.parity[j]);
            if (clock.Full(h.group) == group && h.index < n)
                positions[h.index] = sent;
        }
    }
    for (long long p : positions)
        if (p < 0)
            return {}; // some packet of the group was never sent
    return positions;
}

// Data packets lost per counted group.
struct Count
{
    long long groups = 0, lost = 0, failed = 0;
    double squares = 0;
    void Add(int lostInGroup)
    {
        ++groups;
        lost += lostInGroup;
        failed += lostInGroup > 0;
        squares += static_cast<double>(lostInGroup) * lostInGroup;
    }
    void Add(const Count& c)
    {
        groups += c.groups;
        lost += c.lost;
        failed += c.failed;
        squares += c.squares;
    }
};

Count Simulate(int n, int k, const LossModel& model, uint32_t seed, long long packets)
{
    FecEncoder encoder(n, k, kPayload);
    FecDecoder decoder;
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> uniform(0.0, 1.0);
    const double toBad = model.GoodToBad(), toGood = model.BadToGood();
    bool bad = uniform(random) < model.rate;
    const long long groups = packets / k;
    std::vector<uint8_t> delivered(static_cast<size_t>(groups * k + k), 0);
    std::vector<uint8_t> in(FecHeader::SIZE + kPayload), buffer(256);
    GroupClock clock;
    int length = 0;
    auto drain = [&]() {
        while (decoder.Pull(buffer.data(), static_cast<int>(buffer.size()), &length) > 0) {
            const FecHeader h = FecHeader::Read(buffer.data());
            const long long g = clock.Full(h.group);
            if (g >= 0 && g < groups && h.index < k)
                delivered[static_cast<size_t>(g * k + h.index)] = 1;
        }
    };
    for (long long sent = 0; sent < groups * k; ++sent) {
        for (int i = 0; i < kPayload; ++i)
            in[FecHeader::SIZE + i] = static_cast<uint8_t>(sent * 7 + i);
        FecEncoder::Output out;
        encoder.Accept(in.data(), kPayload, &out);
        bad = bad ? uniform(random) >= toGood : uniform(random) < toBad;
        if (bad)
            continue; // the whole packet is lost
        // As a source inserts them: the riding parity first, the data last.
        for (int j = 0; j < out.parityCount; ++j)
            decoder.Insert(out.parity[j], kPayload);
        decoder.Insert(out.data, kPayload);
        drain();
    }
    decoder.Flush();
    drain();
    // Groups whose parity has been sent in full: all but the last few.
    Count c;
    for (long long g = 2; g < groups - 5; ++g) {
        int lost = 0;
        for (int i = 0; i < k; ++i)
            lost += delivered[static_cast<size_t>(g * k + i)] ? 0 : 1;
        c.Add(lost);
    }
    return c;
}

double Now()
{
    LARGE_INTEGER f, t;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) / f.QuadPart;
}

} // namespace

int main(int argc, char** argv)
{
    long long limit = argc > 1 ? atoll(argv[1]) : 800000;
    if (limit < 10000)
        limit = 10000;
    printf(
        "FEC residual loss of data packets: whole packets (data with its riding parity) are lost "
        "at\n"
        "random or in bursts (two-state chain, mean burst %.0f packets); at most %lld packets per\n"
        "case over %d seeds, enough where possible to expect %.0f failed groups. Failed groups:\n"
        "expected (more than n - k of the group's packets lost) and observed (data packets "
        "lost).\n",
        kMeanBurst, limit, kSeeds, kTargetGroups);
    printf("%-8s %3s %3s %-6s %5s %9s %11s %11s %9s %9s %9s  %s\n", "modes", "k", "n", "loss",
           "rate", "packets", "measured", "predicted", "+-95%", "expected", "observed", "verdict");
    const double started = Now();
    for (int mode = 1; mode < FEC_MODE_COUNT; ++mode) {
        const FecModeRow& row = FecModeTable[mode];
        bool seen = false;
        for (int earlier = 1; earlier < mode; ++earlier)
            seen = seen || (FecModeTable[earlier].k == row.k && FecModeTable[earlier].n == row.n);
        if (seen)
            continue; // same code, same figures
        char modes[16];
        int used = snprintf(modes, sizeof modes, "%d", mode);
        for (int later = mode + 1; later < FEC_MODE_COUNT; ++later)
            if (FecModeTable[later].k == row.k && FecModeTable[later].n == row.n)
                used += snprintf(modes + used, sizeof modes - used, ",%d", later);
        const int k = row.k, n = row.n;
        const std::vector<long long> schedule = ScheduleOf(n, k);
        if (schedule.empty()) {
            printf("%-8s %3d %3d  some packet of a group is never sent: nothing to predict\n",
                   modes, k, n);
            continue;
        }
        for (int burst = 0; burst < 2; ++burst)
            for (double rate : {0.05, 0.10, 0.20}) {
                const LossModel model{rate, burst ? kMeanBurst : 0.0};
                const double predicted = LossPrediction::ResidualLoss(schedule, k, k, model);
                const double failing = LossPrediction::GroupLoss(schedule, k, model);
                long long packets =
                    failing > 0 ? static_cast<long long>(kTargetGroups / failing * k) : limit;
                packets = std::max(60000LL, std::min(limit, packets));
                Count total;
                for (int s = 0; s < kSeeds; ++s)
                    total.Add(Simulate(n, k, model,
                                       1000u * mode + 100u * burst +
                                           static_cast<uint32_t>(rate * 100) * 7 + s,
                                       packets / kSeeds));
                const double groups = static_cast<double>(std::max(1LL, total.groups));
                const double measured = total.lost / (groups * k);
                const double mean = total.lost / groups;
                const double variance = std::max(0.0, total.squares / groups - mean * mean);
                const double interval = 1.96 * std::sqrt(variance / groups) / k;
                const double expected = failing * groups;
                // Decided: an interval within 10 % of the prediction, or a
                // measurement that differs beyond doubt (twice its interval,
                // or no failed group where ten were due). An interval needs
                // some failed groups to mean anything.
                const bool counted = total.failed >= 30;
                const bool decidable =
                    (counted && predicted > 0 && interval <= 0.1 * predicted) ||
                    (counted && std::fabs(measured - predicted) > 2 * interval) ||
                    (total.failed == 0 && expected >= 10);
                const bool agrees = predicted > 0 && std::fabs(measured / predicted - 1.0) <= 0.1;
                char verdict[64];
                if (decidable)
                    snprintf(verdict, sizeof verdict, "%s", agrees ? "within 10 %" : "DIFFERS");
                else if (failing > 0)
                    snprintf(verdict, sizeof verdict, "too few events (needs %.2g packets)",
                             kTargetGroups / failing * k);
                else
                    snprintf(verdict, sizeof verdict, "nothing predicted to fail");
                printf(
                    "%-8s %3d %3d %-6s %4.0f%% %9lld %10.3g%% %10.3g%% %8.2g%% %9.1f %9lld  %s\n",
                    modes, k, n, burst ? "burst" : "random", rate * 100, packets, measured * 100,
                    predicted * 100, interval * 100, expected, total.failed, verdict);
                char name[96];
                snprintf(name, sizeof name, "FEC %d+%d, %s loss %.0f %%, residual", k, n - k,
                         burst ? "burst" : "random", rate * 100);
                BenchRowAgree(name, measured * 100, predicted * 100, "%", 0.10, decidable);
            }
    }
    printf("(%.0f s)\n", Now() - started);
    return 0;
}
