#pragma once
#include "ILibraryLoader.h"

// Loads a library by full path with the altered search order, so that the
// libraries it needs in turn are found in its own folder.
class CWin32LibraryLoader : public ILibraryLoader
{
public:
    HMODULE Load(const char* path) override;
    FARPROC Resolve(HMODULE library, const char* name) override;
};
