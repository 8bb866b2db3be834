#pragma once
#include "IShellHost.h"

// The system's shell and registry.
class CWinShellHost : public IShellHost
{
public:
    int Execute(HWND owner, const char* verb, const char* file, const char* parameters,
                const char* folder, int show) override;
    bool FileType(const std::string& extension, std::string& type) override;
    bool ShellVerbs(const std::string& type, std::vector<std::string>& verbs) override;
    void ShowMessage(const char* text, const char* title, unsigned flags) override;
};
