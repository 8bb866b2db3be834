// The screen-sharing program: Shell.exe <block name>
// It opens the shared block the client made, writes its windows into it and
// carries out the client's commands until told to quit or the client's
// window is gone.
#include <winsock2.h>
#include <windows.h>

#include <cstring>
#include <string>

#include "CShellProgram.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int)
{
    std::string name = commandLine ? commandLine : "";
    while (!name.empty() && (name.back() == ' ' || name.back() == '"'))
        name.pop_back();
    while (!name.empty() && (name.front() == ' ' || name.front() == '"'))
        name.erase(0, 1);
    if (name.empty())
        return 2;
    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 2), &data) != 0)
        return 2;
    int result = 1;
    {
        CShellProgram program;
        if (program.Open(name.c_str()))
            result = program.Run();
    }
    WSACleanup();
    return result;
}
