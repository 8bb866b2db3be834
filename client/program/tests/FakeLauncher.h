#pragma once
#include <string>
#include <vector>

#include "IProcessLauncher.h"

// Records the programs that would have been started.
class FakeLauncher : public IProcessLauncher
{
public:
    bool Start(const char* program, const std::string& commandLine) override
    {
        started.push_back((program ? std::string(program) : "<search>") + "|" + commandLine);
        if (onStart)
            onStart();
        return startWorks;
    }
    bool ShellOpen(const char* target) override
    {
        opened.push_back(target);
        return true;
    }
    std::vector<std::string> started;
    std::vector<std::string> opened;
    bool startWorks = true;
    void (*onStart)() = nullptr;
};
