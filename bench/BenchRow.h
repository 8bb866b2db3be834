#pragma once
// One line of the summary table that tools/bench.sh prints after every
// benchmark has run: a figure, the reference it is measured against in the
// same run, their ratio and the ratio aimed at. Absolute figures vary from
// run to run (and under emulation mean little); the ratio is what counts.
#include <cstdio>

// op is ">=" (the ratio must reach target) or "<=" (it must stay within it).
inline void BenchRow(const char* row, double figure, double reference, const char* unit,
                     const char* op, double target)
{
    const double ratio = reference > 0 ? figure / reference : 0.0;
    const bool met = op[0] == '<' ? ratio <= target : ratio >= target;
    printf("ROW|%s|%.4g %s|%.4g %s|%.3f|%s %.2f|%s\n", row, figure, unit, reference, unit, ratio,
           op, target, met ? "met" : "short");
    fflush(stdout);
}
