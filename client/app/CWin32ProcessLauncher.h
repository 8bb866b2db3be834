#pragma once
#include "IProcessLauncher.h"

class CWin32ProcessLauncher : public IProcessLauncher
{
public:
    bool Start(const char* program, const std::string& commandLine) override;
    bool ShellOpen(const char* target) override;
};
