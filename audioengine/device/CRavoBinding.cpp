#include "CRavoBinding.h"

#include "CScopedLock.h"

namespace RavoTDevice {

CRavoBinding::CRavoBinding(const RavoApi& api) : m_api(api) { InitializeCriticalSection(&m_lock); }

CRavoBinding::~CRavoBinding()
{
    DestroySourceGroup();
    DeleteCriticalSection(&m_lock);
}

namespace {
template <typename F>
bool Bind(HMODULE module, int ordinal, F* out)
{
    FARPROC p = GetProcAddress(module, MAKEINTRESOURCEA(ordinal));
    *out = reinterpret_cast<F>(reinterpret_cast<void*>(p));
    return p != nullptr;
}
} // namespace

bool CRavoBinding::BindModule(HMODULE module, RavoApi* api)
{
    if (!module || !api)
        return false;
    bool ok = true;
    ok &= Bind(module, 11, &api->SourceGroup_Create);
    ok &= Bind(module, 12, &api->SourceGroup_SourceIsExist);
    ok &= Bind(module, 13, &api->SourceGroup_AddSource);
    ok &= Bind(module, 14, &api->SourceGroup_RemoveSource);
    ok &= Bind(module, 15, &api->SourceGroup_WriteSource);
    ok &= Bind(module, 16, &api->SourceGroup_SetSourceVolume);
    ok &= Bind(module, 17, &api->SourceGroup_GetSourceVolume);
    ok &= Bind(module, 19, &api->SourceGroup_GetSourceEnergy);
    ok &= Bind(module, 20, &api->SourceGroup_WriteLocal);
    ok &= Bind(module, 21, &api->SourceGroup_ReadData);
    ok &= Bind(module, 22, &api->SourceGroup_GetEnergy);
    ok &= Bind(module, 23, &api->SourceGroup_EnableCalEnergy);
    ok &= Bind(module, 24, &api->SourceGroup_EnableLocal);
    ok &= Bind(module, 25, &api->SourceGroup_Destroy);
    ok &= Bind(module, 26, &api->SourceGroup_GetNetState);
    ok &= Bind(module, 27, &api->Processer_Create);
    ok &= Bind(module, 28, &api->Processer_SetDenoise);
    ok &= Bind(module, 29, &api->Processer_SetAGC);
    ok &= Bind(module, 30, &api->Processer_EnableSilenceDetect);
    ok &= Bind(module, 31, &api->Processer_SetFECMode);
    ok &= Bind(module, 32, &api->GetFECModeCount);
    ok &= Bind(module, 33, &api->Processer_SetDenoiseChain);
    ok &= Bind(module, 35, &api->Processer_GetEnergy);
    ok &= Bind(module, 36, &api->Processer_Process);
    ok &= Bind(module, 37, &api->Processer_Destroy);
    ok &= Bind(module, 38, &api->GetEncodeFormatCount);
    ok &= Bind(module, 39, &api->GetEncodeFormatName);
    ok &= Bind(module, 40, &api->GetEncodeFormatIn);
    ok &= Bind(module, 41, &api->GetEncodeBlockSize);
    return ok;
}

void* CRavoBinding::GetSourceGroup(const WAVEFORMATEX* playFormat)
{
    CScopedLock lock(&m_lock);
    if (!m_group && m_api.SourceGroup_Create) {
        m_group = m_api.SourceGroup_Create(playFormat);
        if (m_group && m_api.SourceGroup_EnableCalEnergy)
            m_api.SourceGroup_EnableCalEnergy(m_group, 1);
    }
    return m_group;
}

void CRavoBinding::DestroySourceGroup()
{
    CScopedLock lock(&m_lock);
    if (m_group && m_api.SourceGroup_Destroy)
        m_api.SourceGroup_Destroy(&m_group);
    m_group = nullptr;
}

} // namespace RavoTDevice
