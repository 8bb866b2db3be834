#include "LossPrediction.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace BenchMeasure {

double LossModel::GoodToBad() const
{
    if (meanBurst <= 0)
        return rate;
    return rate * BadToGood() / (1.0 - rate);
}

double LossModel::BadToGood() const { return meanBurst <= 0 ? 1.0 - rate : 1.0 / meanBurst; }

double LossPrediction::ResidualLoss(const std::vector<long long>& positions, int dataCount,
                                    int needed, const LossModel& model)
{
    const int n = static_cast<int>(positions.size());
    if (dataCount <= 0 || dataCount > n || needed <= 0 || needed > n || model.rate <= 0)
        return 0.0;
    if (model.rate >= 1)
        return 1.0;
    double total = 0;
    for (int i = 0; i < dataCount; ++i)
        total += TailWith(positions, i, needed, model);
    return total / dataCount;
}

double LossPrediction::GroupLoss(const std::vector<long long>& positions, int needed,
                                 const LossModel& model)
{
    const int n = static_cast<int>(positions.size());
    if (needed <= 0 || needed > n || model.rate <= 0)
        return 0.0;
    if (model.rate >= 1)
        return 1.0;
    return TailWith(positions, -1, needed, model);
}

double LossPrediction::TailWith(const std::vector<long long>& positions, int marked, int needed,
                                const LossModel& model)
{
    const int n = static_cast<int>(positions.size());
    const double a = model.GoodToBad(), b = model.BadToGood();
    const double bad = a / (a + b), lambda = 1.0 - a - b;
    // The group's sent packets in order, each with how many of the group's
    // packets it carries.
    std::map<long long, int> carried;
    for (long long p : positions)
        ++carried[p];
    // prob[state][lost][markedLost], lost counted up to n.
    std::vector<double> prob(2 * (n + 1) * 2, 0.0), next(prob.size());
    auto at = [n](int state, int lost, int markedLost) {
        return (state * (n + 1) + lost) * 2 + markedLost;
    };
    bool first = true;
    long long previous = 0;
    for (const auto& entry : carried) {
        const long long position = entry.first;
        const int count = entry.second;
        const int hasMarked = marked < 0 || position == positions[marked] ? 1 : 0;
        std::fill(next.begin(), next.end(), 0.0);
        if (first) {
            next[at(0, 0, 0)] = 1.0 - bad;
            next[at(1, count, hasMarked)] = bad;
            first = false;
        } else {
            // Two-state chain moved on by the gap: P^d.
            const double decay = std::pow(lambda, static_cast<double>(position - previous));
            const double goodToBad = bad - bad * decay, badToBad = bad + (1.0 - bad) * decay;
            for (int lost = 0; lost <= n; ++lost)
                for (int m = 0; m < 2; ++m)
                    for (int state = 0; state < 2; ++state) {
                        const double p = prob[at(state, lost, m)];
                        if (p == 0)
                            continue;
                        const double toBad = state ? badToBad : goodToBad;
                        next[at(0, lost, m)] += p * (1.0 - toBad);
                        const int l = std::min(n, lost + count);
                        next[at(1, l, m | hasMarked)] += p * toBad;
                    }
        }
        prob.swap(next);
        previous = position;
    }
    double total = 0;
    for (int state = 0; state < 2; ++state)
        for (int lost = n - needed + 1; lost <= n; ++lost)
            total += prob[at(state, lost, 1)];
    return total;
}

} // namespace BenchMeasure
