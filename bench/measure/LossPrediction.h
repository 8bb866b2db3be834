#pragma once
#include <vector>

namespace BenchMeasure {

// Packet loss as a two-state Markov chain over the packets sent: a packet is
// lost while the chain is in its bad state. Random loss is the chain without
// memory (mean burst 1 / (1 - rate)).
struct LossModel
{
    double rate;      // mean loss, 0..1
    double meanBurst; // mean run of lost packets; 0 for random loss

    // Probabilities of moving from good to bad and from bad to good.
    double GoodToBad() const;
    double BadToGood() const;
};

class LossPrediction
{
public:
    // A group of packets coded so that any `needed` of them rebuild its data
    // packets, sent in the packets numbered `positions` (data packets first,
    // `dataCount` of them; several may share a sent packet). Result: the
    // expected share of the group's data packets that stay lost, with the
    // chain in its steady state.
    static double ResidualLoss(const std::vector<long long>& positions, int dataCount, int needed,
                               const LossModel& model);

    // The probability that the group cannot be rebuilt (fewer than `needed`
    // of its packets arrive). Lost data packets come in such groups, so
    // their count is what a measurement's precision rests on.
    static double GroupLoss(const std::vector<long long>& positions, int needed,
                            const LossModel& model);

private:
    // Probability of more than n - needed lost with the packet at
    // positions[marked] among them (marked < 0: whichever are lost).
    static double TailWith(const std::vector<long long>& positions, int marked, int needed,
                           const LossModel& model);
};

} // namespace BenchMeasure
