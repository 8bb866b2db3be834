#include "CWin32LibraryLoader.h"

HMODULE CWin32LibraryLoader::Load(const char* path)
{
    if (!path || !*path)
        return nullptr;
    return LoadLibraryExA(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

FARPROC CWin32LibraryLoader::Resolve(HMODULE library, const char* name)
{
    if (!library || !name)
        return nullptr;
    return GetProcAddress(library, name);
}
