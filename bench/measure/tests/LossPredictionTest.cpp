#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "LossPrediction.h"

using namespace BenchMeasure;

namespace {
double Binomial(int n, int k, double p)
{
    double c = 1.0;
    for (int i = 1; i <= k; ++i)
        c = c * (n - k + i) / i;
    return c * std::pow(p, k) * std::pow(1 - p, n - k);
}

// Every loss pattern of the sent packets first..last, weighed by the chain:
// the share of data packets that stay lost (group: of groups that fail).
double Enumerate(const std::vector<long long>& positions, int dataCount, int needed,
                 const LossModel& model, bool group = false)
{
    long long first = positions[0], last = positions[0];
    for (long long p : positions) {
        first = std::min(first, p);
        last = std::max(last, p);
    }
    const int span = static_cast<int>(last - first + 1);
    const double a = model.GoodToBad(), b = model.BadToGood(), bad = a / (a + b);
    const int n = static_cast<int>(positions.size());
    double total = 0;
    for (unsigned pattern = 0; pattern < (1u << span); ++pattern) {
        double p = (pattern & 1) ? bad : 1 - bad;
        for (int j = 1; j < span; ++j) {
            const bool was = (pattern >> (j - 1)) & 1, is = (pattern >> j) & 1;
            p *= was ? (is ? 1 - b : b) : (is ? a : 1 - a);
        }
        int lost = 0;
        for (long long q : positions)
            lost += (pattern >> (q - first)) & 1;
        if (lost <= n - needed)
            continue;
        if (group) {
            total += p * dataCount;
            continue;
        }
        for (int i = 0; i < dataCount; ++i)
            if ((pattern >> (positions[i] - first)) & 1)
                total += p;
    }
    return total / dataCount;
}
} // namespace

TEST(LossPrediction, RandomLossGivesTheBinomialTail)
{
    // A data packet stays lost when it is lost and r or more of the group's
    // other n - 1 packets are lost too.
    const std::vector<long long> positions = {0, 1, 2, 3, 4, 5, 9, 12, 13, 20, 21, 30};
    for (double p : {0.05, 0.10, 0.20}) {
        double tail = 0;
        for (int j = 6; j <= 11; ++j)
            tail += Binomial(11, j, p);
        EXPECT_NEAR(LossPrediction::ResidualLoss(positions, 6, 6, {p, 0}) / (p * tail), 1.0, 1e-9)
            << p;
    }
}

TEST(LossPrediction, BurstLossMatchesEveryLossPatternWeighed)
{
    struct Case
    {
        std::vector<long long> positions;
        int dataCount, needed;
        LossModel model;
    } cases[] = {
        {{0, 1, 2, 3, 5, 7}, 3, 3, {0.1, 4}},
        {{0, 1, 2, 3, 5, 7}, 3, 3, {0.2, 2}},
        {{10, 11, 12, 13, 14, 15, 16, 17}, 4, 4, {0.3, 3}},
        // Two parity packets in one sent packet, and a parity sent first.
        {{2, 3, 4, 4, 0}, 3, 3, {0.15, 5}},
        {{0, 1, 2, 3, 5, 7}, 3, 3, {0.1, 0}},
    };
    for (const Case& c : cases) {
        const double expected = Enumerate(c.positions, c.dataCount, c.needed, c.model);
        EXPECT_GT(expected, 0.0);
        EXPECT_NEAR(LossPrediction::ResidualLoss(c.positions, c.dataCount, c.needed, c.model),
                    expected, expected * 1e-9);
        const double failing = Enumerate(c.positions, c.dataCount, c.needed, c.model, true);
        EXPECT_NEAR(LossPrediction::GroupLoss(c.positions, c.needed, c.model), failing,
                    failing * 1e-9);
    }
    // Bursts hurt more than random loss of the same rate.
    const std::vector<long long> group = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
    EXPECT_GT(LossPrediction::ResidualLoss(group, 6, 6, {0.1, 4}),
              10 * LossPrediction::ResidualLoss(group, 6, 6, {0.1, 0}));
}

TEST(LossPrediction, OutOfRangeGroupsPredictNothingOrEverything)
{
    const std::vector<long long> group = {0, 1, 2, 3};
    EXPECT_EQ(LossPrediction::ResidualLoss(group, 0, 2, {0.1, 0}), 0.0);
    EXPECT_EQ(LossPrediction::ResidualLoss(group, 5, 2, {0.1, 0}), 0.0);
    EXPECT_EQ(LossPrediction::ResidualLoss(group, 2, 5, {0.1, 0}), 0.0);
    EXPECT_EQ(LossPrediction::ResidualLoss(group, 2, 2, {0.0, 0}), 0.0);
    EXPECT_EQ(LossPrediction::ResidualLoss(group, 2, 2, {1.0, 0}), 1.0);
    // Without parity every lost data packet stays lost.
    EXPECT_NEAR(LossPrediction::ResidualLoss(group, 4, 4, {0.1, 3}), 0.1, 1e-12);
}
