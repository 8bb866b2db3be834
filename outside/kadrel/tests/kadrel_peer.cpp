// One participant of a meeting in its own process (the audio manager is one
// per process): kadrel_peer key=value..., as CKadrelProbe::FormatPlan writes
// them. Prints the probe's result.
#include <windows.h>

#include <cstdio>
#include <string>

#include "CKadrelProbe.h"
#include "KadrelModule.h"

int main(int argc, char** argv)
{
    CKadrelProbe::Plan plan;
    if (!CKadrelProbe::ParsePlan(argc, argv, &plan)) {
        fprintf(stderr, "kadrel_peer: bad arguments\n");
        return 2;
    }
    KadrelModule kadrel;
    if (!kadrel.Load()) {
        fprintf(stderr, "kadrel_peer: Kadrel.dll missing or incomplete\n");
        return 3;
    }
    CKadrelProbe probe(kadrel);
    CKadrelProbe::Result result;
    bool ok = probe.Run(plan, &result);
    std::string text = CKadrelProbe::FormatResult(result);
    fwrite(text.data(), 1, text.size(), stdout);
    fflush(stdout);
    return ok ? 0 : 1;
}
