#pragma once
#include <winsock2.h>
#include <windows.h>

// Loads libraries and resolves their exports; the binder's only way to the
// platform, so that its tests can hand it libraries of their own.
class ILibraryLoader
{
public:
    virtual ~ILibraryLoader() = default;
    // The loaded library, or null.
    virtual HMODULE Load(const char* path) = 0;
    // The export of that name, or null.
    virtual FARPROC Resolve(HMODULE library, const char* name) = 0;
};
