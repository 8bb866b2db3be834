#pragma once
// One line of the summary table that tools/bench.sh prints after every
// benchmark has run: a figure, the reference it is measured against in the
// same run, their ratio and the ratio aimed at. Absolute figures vary from
// run to run (and under emulation mean little); the ratio is what counts.
#include <cmath>
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

// Figures in dB (echo return loss, SNR gain, levels): their ratio is their
// difference in dB, which op compares with the target in dB.
inline void BenchRowDb(const char* row, double figureDb, double referenceDb, const char* op,
                       double targetDb)
{
    const double difference = figureDb - referenceDb;
    const bool met = op[0] == '<' ? difference <= targetDb : difference >= targetDb;
    printf("ROW|%s|%.1f dB|%.1f dB|%+.1f dB|%s %+.1f dB|%s\n", row, figureDb, referenceDb,
           difference, op, targetDb, met ? "met" : "short");
    fflush(stdout);
}

// A measured figure against the one predicted for it: met when the ratio lies
// within 1 +- tolerance. Where the run could not tell (too few events for
// that precision), the row says so instead of met or short.
inline void BenchRowAgree(const char* row, double figure, double reference, const char* unit,
                          double tolerance, bool decidable)
{
    const double ratio = reference > 0 ? figure / reference : 0.0;
    const bool met = reference > 0 && std::fabs(ratio - 1.0) <= tolerance;
    printf("ROW|%s|%.4g %s|%.4g %s|%.3f|1 +- %.2f|%s\n", row, figure, unit, reference, unit, ratio,
           tolerance, !decidable ? "too few events" : (met ? "met" : "short"));
    fflush(stdout);
}
