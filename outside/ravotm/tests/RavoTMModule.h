#pragma once
// RavoTM.dll loaded as the earlier edition loads it, with its 30 functions
// bound by name.
#include <windows.h>

#include <cstring>

#include "RavoTMApi.h"

struct RavoTMModule : RAVOTM_FUNCTIONS
{
    HMODULE module = nullptr;
    int missing = 0;

    // Loads the library from path and binds every name; false when it is
    // missing or lacks a name.
    bool Load(const char* path = "RavoTM.dll")
    {
        module = LoadLibraryA(path);
        if (!module)
            return false;
        missing = 0;
#define RAVOTM_BIND(name) Bind(#name, &name);
        RAVOTM_FUNCTION_LIST(RAVOTM_BIND)
#undef RAVOTM_BIND
        return missing == 0;
    }

private:
    template <typename F>
    void Bind(const char* exported, F* out)
    {
        FARPROC p = GetProcAddress(module, exported);
        static_assert(sizeof(F) == sizeof(p), "function pointers are one size");
        memcpy(out, &p, sizeof p);
        missing += p == nullptr;
    }
};
