// One participant on RavoTM in its own process: ravotm_peer key=value...,
// as CKadrelProbe::FormatPlan writes them. Prints the probe's result.
#include <windows.h>

#include <cstdio>
#include <string>

#include "CKadrelProbe.h"
#include "CRavoTMParticipant.h"

int main(int argc, char** argv)
{
    CKadrelProbe::Plan plan;
    if (!CKadrelProbe::ParsePlan(argc, argv, &plan)) {
        fprintf(stderr, "ravotm_peer: bad arguments\n");
        return 2;
    }
    // The tone is set before the library's first call brings the devices up.
    char tone[96];
    snprintf(tone, sizeof tone, "%g,%d", plan.toneHz, plan.amplitude);
    SetEnvironmentVariableA("KADREL_TEST_TONE", tone);
    KadrelModule table;
    if (!CRavoTMParticipant::Bind(&table)) {
        fprintf(stderr, "ravotm_peer: RavoTM.dll missing or incomplete\n");
        return 3;
    }
    CKadrelProbe probe(table);
    CKadrelProbe::Result result;
    bool ok = probe.Run(plan, &result);
    std::string text = CKadrelProbe::FormatResult(result);
    fwrite(text.data(), 1, text.size(), stdout);
    fflush(stdout);
    return ok ? 0 : 1;
}
