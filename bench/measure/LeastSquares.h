#pragma once
#include <vector>

namespace BenchMeasure {

// Solves a symmetric positive definite system a x = b (a is n x n, row by
// row) by Cholesky's method. False when a is not positive definite.
class LeastSquares
{
public:
    static bool Solve(std::vector<double> a, std::vector<double> b, int n, std::vector<double>* x);
};

} // namespace BenchMeasure
