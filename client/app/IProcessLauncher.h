#pragma once
#include <string>

// Starts other programs without waiting for them; faked by tests.
class IProcessLauncher
{
public:
    virtual ~IProcessLauncher() = default;
    // Starts program (full path, or null to take it from the command line)
    // with the command line, shown normally; false when it did not start.
    virtual bool Start(const char* program, const std::string& commandLine) = 0;
    // Opens a document or web address with the shell's "open" verb.
    virtual bool ShellOpen(const char* target) = 0;
};
