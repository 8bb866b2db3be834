#include "CKadrelDevices.h"

#include <cstring>
#include <new>

#include "CMMAudioManager.h"
#include "CRavoBinding.h"

using namespace RavoTDevice;

CKadrelDevices::CKadrelDevices(const std::string& engineFolder, AudioCommon::IWaveApi* wave)
    : m_engineFolder(engineFolder), m_wave(wave)
{}

CKadrelDevices::~CKadrelDevices() { Unload(); }

bool CKadrelDevices::EnsureEngine()
{
    if (m_ravo)
        return true;
    // The engine lies beside this library; the loader would look beside the
    // program instead.
    HMODULE module = LoadLibraryA((m_engineFolder + "Ravo.dll").c_str());
    if (!module)
        module = LoadLibraryA("Ravo.dll");
    if (!module)
        return false;
    RavoApi api;
    memset(&api, 0, sizeof api);
    if (!CRavoBinding::BindModule(module, &api)) {
        FreeLibrary(module);
        return false;
    }
    // The engine stays loaded with this library: the source group lives in it.
    m_ravo = new (std::nothrow) CRavoBinding(api);
    return m_ravo != nullptr;
}

CAudioManagerBase* CKadrelDevices::NewWaveManager()
{
    return new (std::nothrow) CMMAudioManager(m_ravo, m_wave);
}

bool CKadrelDevices::CanEncode(uint8_t formatIndex)
{
    if (!EnsureEngine())
        return false;
    const RavoApi& api = m_ravo->Api();
    WAVEFORMATEX format;
    memset(&format, 0, sizeof format);
    if (!api.GetEncodeFormatIn(formatIndex, &format))
        return false;
    void* processer = api.Processer_Create(formatIndex, &format);
    if (!processer)
        return false;
    api.Processer_Destroy(&processer);
    return true;
}
