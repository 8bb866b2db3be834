#pragma once
#include "afxwin.h"

#include <cstdint>

// The recorder library's player, bound by name as the player program binds
// it.
class COvrantLibrary
{
public:
    COvrantLibrary() = default;
    ~COvrantLibrary();

    COvrantLibrary(const COvrantLibrary&) = delete;
    COvrantLibrary& operator=(const COvrantLibrary&) = delete;

    // Loads the library (beside the program when path is null) and binds
    // every name; false when it or a name is missing.
    bool Load(const char* path = nullptr);
    bool IsLoaded() const { return m_module != nullptr; }

    int (*StartPlay)(CWnd* owner, const char* path) = nullptr;
    CString (*GetMeetingName)() = nullptr;
    CString (*GetMeetingDate)() = nullptr;
    uint32_t (*GetTotalTime)() = nullptr;
    uint32_t (*GetCurTime)() = nullptr;
    int (*SetCurTime)(uint32_t ms) = nullptr;
    int (*Pause)() = nullptr;
    int (*Resume)() = nullptr;
    int (*StopPlay)() = nullptr;
    int (*SetWindowRect)(int left, int top, int right, int bottom) = nullptr;
    uint32_t (*GetFileTotalTime)(const char* path) = nullptr;

private:
    HMODULE m_module = nullptr;
};
