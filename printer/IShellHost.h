#pragma once
#include <windows.h>

#include <string>
#include <vector>

// What a print job needs of the shell: starting programs and documents, the
// file-type entries under HKEY_CLASSES_ROOT, and message boxes. The real one
// is the system's; tests put a fake in its place.
class IShellHost
{
public:
    virtual ~IShellHost() = default;

    // ShellExecute; the result as ShellExecute gives it (above 32 on success).
    virtual int Execute(HWND owner, const char* verb, const char* file, const char* parameters,
                        const char* folder, int show) = 0;
    // Default value of HKEY_CLASSES_ROOT\<extension>; false when the key cannot
    // be opened.
    virtual bool FileType(const std::string& extension, std::string& type) = 0;
    // Subkey names of HKEY_CLASSES_ROOT\<type>\shell in enumeration order;
    // false when the key cannot be opened.
    virtual bool ShellVerbs(const std::string& type, std::vector<std::string>& verbs) = 0;
    virtual void ShowMessage(const char* text, const char* title, unsigned flags) = 0;
};
