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

double LossModel::BadToGood() const
{
    return meanBurst <= 0 ? 1.0 - rate : 1.0 / meanBurst;
}

double LossPrediction::ResidualLoss(const std::vector<long long>& positions, int dataCount,
                                    int needed, const LossModel& model)
{
    const int n = static_cast<int>(positions.size());
    if (dataCount <= 0 || dataCount > n || needed <= 0 || needed > n || model.rate <= 0)
        return 0.0;
    if (model.rate >= 1)
        return 1.0;
    const double a = model.GoodToBad(), b = model.BadToGood();
    const double bad = a / (a + b), lambda = 1.0 - a - b;
    // The group's sent packets in order, each with how many of the group's
    // packets it carries.
    std::map<long long, int> carried;
    for (long long p : positions)
        ++carried[p];
    const int lostLimit = n - needed;  // more lost than this and data stays lost
    double total = 0;
    for (int i = 0; i < dataCount; ++i) {
        // prob[state][lost][dataLost], lost counted up to n.
        std::vector<double> prob(2 * (n + 1) * 2, 0.0), next(prob.size());
        auto at = [n](int state, int lost, int dataLost) {
            return (state * (n + 1) + lost) * 2 + dataLost;
        };
        bool first = true;
        long long previous = 0;
        for (const auto& entry : carried) {
            const long long position = entry.first;
            const int count = entry.second;
            const int hasData = position == positions[i] ? 1 : 0;
            std::fill(next.begin(), next.end(), 0.0);
            if (first) {
                next[at(0, 0, 0)] = 1.0 - bad;
                next[at(1, count, hasData)] = bad;
                first = false;
            } else {
                // Two-state chain moved on by the gap: P^d.
                const double decay = std::pow(lambda, static_cast<double>(position - previous));
                const double goodToBad = bad - bad * decay, badToBad = bad + (1.0 - bad) * decay;
                for (int lost = 0; lost <= n; ++lost)
                    for (int d = 0; d < 2; ++d)
                        for (int state = 0; state < 2; ++state) {
                            const double p = prob[at(state, lost, d)];
                            if (p == 0)
                                continue;
                            const double toBad = state ? badToBad : goodToBad;
                            next[at(0, lost, d)] += p * (1.0 - toBad);
                            const int l = std::min(n, lost + count);
                            next[at(1, l, d | hasData)] += p * toBad;
                        }
            }
            prob.swap(next);
            previous = position;
        }
        for (int state = 0; state < 2; ++state)
            for (int lost = lostLimit + 1; lost <= n; ++lost)
                total += prob[at(state, lost, 1)];
    }
    return total / dataCount;
}

} // namespace BenchMeasure
