// Start-up time of the client: from starting Halvern.exe with a direct
// login on its command line to its main window on screen, beside the time a
// trivial program of the same installation (the updater) takes from start
// to exit, measured in the same run.
#include <winsock2.h>
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "CStandInServer.h"
#include "CTcpLink.h"
#include "HalvernProcess.h"
#include "StandInTestKit.h"

namespace {

double Ms(std::chrono::steady_clock::time_point from)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - from)
        .count();
}

} // namespace

int main(int argc, char** argv)
{
    int runs = argc > 1 ? atoi(argv[1]) : (getenv("HALVERN_EMULATED") ? 2 : 5);
    if (runs < 1)
        runs = 1;
    if (!StartWinsock())
        return 1;
    CServerConfig config = StandInTestConfig();
    CStandInServer server(config);
    if (!server.Start(0)) {
        fprintf(stderr, "the stand-in server did not start\n");
        return 1;
    }
    HalvernProcess install;
    std::string error;
    if (!install.Install("halvern_bench", &error)) {
        fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    install.SetIni("Version", config.version);
    install.SetIni("ServerPort", std::to_string(server.GetPort()));

    double reference = 0, startup = 0, best = 1e30;
    int done = 0;
    for (int i = 0; i < runs; ++i) {
        auto begin = std::chrono::steady_clock::now();
        DWORD code = 1;
        HalvernProcess::Run("\"" + install.folder + "Updater.exe\" /BENCH", 60000, &code);
        reference += Ms(begin);

        HalvernProcess client;
        client.folder = install.folder;
        begin = std::chrono::steady_clock::now();
        if (!client.Start("127.0.0.1 \"Room one\" 1 host pw")) {
            fprintf(stderr, "Halvern.exe did not start\n");
            return 1;
        }
        HWND frame = client.WaitForWindow("!#32770", 120000);
        double took = Ms(begin);
        if (!frame) {
            fprintf(stderr, "no main window in run %d:\n%s\n", i + 1,
                    client.ReadFile("Quillet.log").c_str());
            return 1;
        }
        startup += took;
        best = took < best ? took : best;
        ++done;
        PostMessageA(frame, WM_CLOSE, 0, 0);
        client.WaitForExit(30000);
    }
    printf("startup: launch to main window %.0f ms mean, %.0f ms best over %d runs "
           "(reference: a program of the installation from start to exit %.0f ms mean)\n",
           startup / done, best, done, reference / runs);
    server.Stop();
    WSACleanup();
    return 0;
}
