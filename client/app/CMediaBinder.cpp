#include "CMediaBinder.h"

#include <shlobj.h>

MEDIA_FUNCTIONS g_MediaFunctions;

namespace {

struct MEDIA_NAME
{
    MEDIA_LIBRARY library;
    const char* exported;
};

const MEDIA_NAME kNames[MEDIA_FUNCTION_COUNT] = {
#define MEDIA_NAME_ENTRY(library, name, exported) {library, exported},
    MEDIA_FUNCTION_LIST(MEDIA_NAME_ENTRY)
#undef MEDIA_NAME_ENTRY
};

const char* const kLibraryFiles[MEDIA_LIBRARY_COUNT] = {"Kadrel.dll", "Dravom.dll", "Caskel.dll"};

} // namespace

CMediaBinder::CMediaBinder(ILibraryLoader* loader) : m_loader(loader) {}

std::string CMediaBinder::GetDefaultFolder()
{
    char common[MAX_PATH] = {};
    std::string folder;
    // The folder moves with the system (another drive, a 64-bit system's
    // folder for 32-bit programs); the fixed path is only the last resort.
    if (SUCCEEDED(SHGetFolderPathA(nullptr, CSIDL_PROGRAM_FILES_COMMON, nullptr, 0, common)) &&
        common[0])
        folder = common;
    else
        folder = "C:\\Program Files\\Common Files";
    if (folder.back() != '\\')
        folder += '\\';
    return folder + "Tessaly\\";
}

const char* CMediaBinder::GetLibraryFile(MEDIA_LIBRARY library)
{
    return library >= 0 && library < MEDIA_LIBRARY_COUNT ? kLibraryFiles[library] : "";
}

const char* CMediaBinder::GetExportName(int index)
{
    return index >= 0 && index < MEDIA_FUNCTION_COUNT ? kNames[index].exported : "";
}

MEDIA_LIBRARY CMediaBinder::GetLibraryOf(int index)
{
    return index >= 0 && index < MEDIA_FUNCTION_COUNT ? kNames[index].library : MEDIA_LIBRARY_COUNT;
}

bool CMediaBinder::Bind(const std::string& folder, MEDIA_FUNCTIONS* table)
{
    m_failure.clear();
    if (!m_loader || !table) {
        m_failure = "no loader or table";
        return false;
    }
    HMODULE libraries[MEDIA_LIBRARY_COUNT] = {};
    for (int i = 0; i < MEDIA_LIBRARY_COUNT; ++i) {
        std::string path = folder + kLibraryFiles[i];
        libraries[i] = m_loader->Load(path.c_str());
        if (!libraries[i]) {
            m_failure = path;
            return false;
        }
    }
    for (int i = 0; i < MEDIA_FUNCTION_COUNT; ++i) {
        FARPROC entry = m_loader->Resolve(libraries[kNames[i].library], kNames[i].exported);
        if (!entry) {
            m_failure = std::string(kLibraryFiles[kNames[i].library]) + ": " + kNames[i].exported;
            return false;
        }
        table->entries[i] = entry;
    }
    return true;
}
