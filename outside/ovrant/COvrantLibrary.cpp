#include "COvrantLibrary.h"

#include <string>

namespace {

template <typename F>
bool BindName(HMODULE module, const char* name, F& out)
{
    out = reinterpret_cast<F>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
    return out != nullptr;
}

} // namespace

COvrantLibrary::~COvrantLibrary()
{
    if (m_module) {
        StopPlay();
        ::FreeLibrary(m_module);
    }
}

bool COvrantLibrary::Load(const char* path)
{
    if (m_module)
        return true;
    std::string file;
    if (path) {
        file = path;
    } else {
        char self[MAX_PATH] = "";
        ::GetModuleFileNameA(nullptr, self, MAX_PATH);
        file = self;
        size_t slash = file.find_last_of("\\/");
        file =
            (slash == std::string::npos ? std::string() : file.substr(0, slash + 1)) + "Caskel.dll";
    }
    HMODULE module = ::LoadLibraryA(file.c_str());
    if (!module)
        return false;
    bool ok = BindName(module, "PV_StartPlay", StartPlay) &&
              BindName(module, "PV_GetMeetingName", GetMeetingName) &&
              BindName(module, "PV_GetMeetingDate", GetMeetingDate) &&
              BindName(module, "PV_GetTotalTime", GetTotalTime) &&
              BindName(module, "PV_GetCurTime", GetCurTime) &&
              BindName(module, "PV_SetCurTime", SetCurTime) &&
              BindName(module, "PV_Pause", Pause) && BindName(module, "PV_Resume", Resume) &&
              BindName(module, "PV_StopPlay", StopPlay) &&
              BindName(module, "PV_SetWindowRect", SetWindowRect) &&
              BindName(module, "PV_GetFileTotalTime", GetFileTotalTime);
    if (!ok) {
        ::FreeLibrary(module);
        return false;
    }
    m_module = module;
    return true;
}
