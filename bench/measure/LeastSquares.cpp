#include "LeastSquares.h"

#include <cmath>

namespace BenchMeasure {

bool LeastSquares::Solve(std::vector<double> a, std::vector<double> b, int n,
                         std::vector<double>* x)
{
    if (n <= 0 || a.size() != static_cast<size_t>(n) * n || b.size() != static_cast<size_t>(n))
        return false;
    // a = L L^T, L kept in the lower triangle of a.
    for (int j = 0; j < n; ++j) {
        double d = a[j * n + j];
        for (int k = 0; k < j; ++k)
            d -= a[j * n + k] * a[j * n + k];
        if (!(d > 0))
            return false;
        d = std::sqrt(d);
        a[j * n + j] = d;
        for (int i = j + 1; i < n; ++i) {
            double s = a[i * n + j];
            for (int k = 0; k < j; ++k)
                s -= a[i * n + k] * a[j * n + k];
            a[i * n + j] = s / d;
        }
    }
    for (int i = 0; i < n; ++i) { // L y = b
        for (int k = 0; k < i; ++k)
            b[i] -= a[i * n + k] * b[k];
        b[i] /= a[i * n + i];
    }
    for (int i = n - 1; i >= 0; --i) { // L^T x = y
        for (int k = i + 1; k < n; ++k)
            b[i] -= a[k * n + i] * b[k];
        b[i] /= a[i * n + i];
    }
    *x = b;
    return true;
}

} // namespace BenchMeasure
