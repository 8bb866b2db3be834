#include "CDirectSoundLib.h"

#include <cstring>
#include <new>

namespace RavoTDevice {

CDirectSoundLib::CDirectSoundLib() = default;

CDirectSoundLib::~CDirectSoundLib() { Free(); }

BOOL CALLBACK CDirectSoundLib::AddDevice(LPGUID guid, LPCSTR description, LPCSTR, LPVOID context)
{
    if (!guid || !description || !context)
        return TRUE;
    DS_DEVICE_ENTRY entry;
    memset(&entry, 0, sizeof(entry));
    entry.guid = *guid;
    strncpy(entry.description, description, sizeof(entry.description) - 1);
    try {
        static_cast<std::vector<DS_DEVICE_ENTRY>*>(context)->push_back(entry);
    } catch (const std::bad_alloc&) {
        return FALSE;
    }
    return TRUE;
}

namespace {
template <typename F>
void Bind(HMODULE module, const char* name, F* out)
{
    *out = reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}
} // namespace

bool CDirectSoundLib::Load()
{
    if (m_module)
        return true;
    HMODULE module = LoadLibraryA("dsound.dll");
    if (!module)
        return false;
    Bind(module, "DirectSoundEnumerateA", &EnumerateA);
    Bind(module, "DirectSoundCaptureEnumerateA", &CaptureEnumerateA);
    Bind(module, "DirectSoundFullDuplexCreate", &FullDuplexCreate);
    Bind(module, "DirectSoundCreate8", &Create8);
    Bind(module, "DirectSoundCaptureCreate8", &CaptureCreate8);
    m_module = module;
    PlaybackDeviceList.clear();
    CaptureDeviceList.clear();
    if (!EnumerateA || !CaptureEnumerateA || !FullDuplexCreate || !Create8 || !CaptureCreate8 ||
        FAILED(EnumerateA(&CDirectSoundLib::AddDevice, &PlaybackDeviceList)) ||
        FAILED(CaptureEnumerateA(&CDirectSoundLib::AddDevice, &CaptureDeviceList))) {
        Free();
        return false;
    }
    return true;
}

void CDirectSoundLib::Free()
{
    PlaybackDeviceList.clear();
    CaptureDeviceList.clear();
    EnumerateA = CaptureEnumerateA = nullptr;
    FullDuplexCreate = nullptr;
    Create8 = nullptr;
    CaptureCreate8 = nullptr;
    if (m_module)
        FreeLibrary(m_module);
    m_module = nullptr;
}

} // namespace RavoTDevice
