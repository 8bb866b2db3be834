#include "CQuilletBinder.h"

#include <cstring>

#include "CMediaBinder.h"

RAVOTM_FUNCTIONS g_RavoTM;

namespace {

const char* const kLibraryFiles[3] = {"RavoTM.dll", "Dravom.dll", "Caskel.dll"};

const char* const kRavoTMNames[RAVOTM_FUNCTION_COUNT] = {
#define RAVOTM_NAME(name) #name,
    RAVOTM_FUNCTION_LIST(RAVOTM_NAME)
#undef RAVOTM_NAME
};

// The pointers of the RavoTM table in binding order.
FARPROC* RavoTMSlot(RAVOTM_FUNCTIONS* table, int index)
{
    static_assert(sizeof(RAVOTM_FUNCTIONS) == RAVOTM_FUNCTION_COUNT * sizeof(FARPROC),
                  "one pointer per name, in order");
    return reinterpret_cast<FARPROC*>(table) + index;
}

} // namespace

CQuilletBinder::CQuilletBinder(ILibraryLoader* loader) : m_loader(loader) {}

const char* CQuilletBinder::GetLibraryFile(int library)
{
    return library >= 0 && library < 3 ? kLibraryFiles[library] : "";
}

const char* CQuilletBinder::GetRavoTMName(int index)
{
    return index >= 0 && index < RAVOTM_FUNCTION_COUNT ? kRavoTMNames[index] : "";
}

bool CQuilletBinder::Bind(const std::string& folder, RAVOTM_FUNCTIONS* ravotm,
                          MEDIA_FUNCTIONS* media)
{
    m_failure.clear();
    if (!m_loader || !ravotm || !media) {
        m_failure = "no loader or table";
        return false;
    }
    HMODULE libraries[3] = {};
    for (int i = 0; i < 3; ++i) {
        const std::string path = folder + kLibraryFiles[i];
        libraries[i] = m_loader->Load(path.c_str());
        if (!libraries[i]) {
            m_failure = path;
            return false;
        }
    }
    for (int i = 0; i < RAVOTM_FUNCTION_COUNT; ++i) {
        FARPROC entry = m_loader->Resolve(libraries[0], kRavoTMNames[i]);
        if (!entry) {
            m_failure = std::string(kLibraryFiles[0]) + ": " + kRavoTMNames[i];
            return false;
        }
        memcpy(RavoTMSlot(ravotm, i), &entry, sizeof entry);
    }
    for (int i = MF_T_TAKEDevices; i < MEDIA_FUNCTION_COUNT; ++i) {
        const int library = CMediaBinder::GetLibraryOf(i) == MEDIA_DRAVOM ? 1 : 2;
        const char* name = CMediaBinder::GetExportName(i);
        FARPROC entry = m_loader->Resolve(libraries[library], name);
        if (!entry) {
            m_failure = std::string(kLibraryFiles[library]) + ": " + name;
            return false;
        }
        media->entries[i] = entry;
    }
    return true;
}
