#pragma once
#include <windows.h>

#include "RavoApi.h"

namespace RavoTDevice {

// The device layer's link to the audio engine: the table of engine functions
// and the one source group that every manager of the library plays from.
// The group is created by the first manager and destroyed with the binding.
class CRavoBinding
{
public:
    // A binding over a table given by the caller (a test's fake engine).
    explicit CRavoBinding(const RavoApi& api);
    virtual ~CRavoBinding();

    CRavoBinding(const CRavoBinding&) = delete;
    CRavoBinding& operator=(const CRavoBinding&) = delete;

    // Binds every function by ordinal from a loaded Ravo.dll into api; false
    // when one of them is missing.
    static bool BindModule(HMODULE module, RavoApi* api);

    const RavoApi& Api() const { return m_api; }

    // The shared group, created with the play format on first use and
    // switched to measuring its level; null when the engine refuses it.
    void* GetSourceGroup(const WAVEFORMATEX* playFormat);
    void* PeekSourceGroup() const { return m_group; }
    // The address of the group handle, as the engine's net-state call wants it.
    void** SourceGroupAddress() { return &m_group; }
    void DestroySourceGroup();

private:
    RavoApi m_api;
    void* m_group = nullptr;
    CRITICAL_SECTION m_lock;
};

} // namespace RavoTDevice
