#include "CPassLibrary.h"

#include <cstring>

namespace {

// The table in ordinal order, as an array of entry slots.
const int kSlots = sizeof(PASS_FUNCTIONS) / sizeof(FARPROC);
static_assert(kSlots == PASS_ORDINAL_COUNT, "one slot per ordinal");

FARPROC* Slots(PASS_FUNCTIONS& f) { return reinterpret_cast<FARPROC*>(&f); }

} // namespace

CPassLibrary::~CPassLibrary() { Unload(); }

void CPassLibrary::Unload()
{
    m_functions = PASS_FUNCTIONS();
    m_bound = false;
    if (m_module) {
        FreeLibrary(m_module);
        m_module = nullptr;
    }
}

bool CPassLibrary::Load(const char* path)
{
    Unload();
    m_error.clear();
    m_module = path ? LoadLibraryA(path) : nullptr;
    if (!m_module) {
        m_error = std::string("the file-transfer library ") + (path ? path : "(none)") +
                  " could not be loaded";
        return false;
    }
    PASS_FUNCTIONS functions;
    for (int i = 0; i < kSlots; ++i) {
        FARPROC proc = GetProcAddress(m_module, MAKEINTRESOURCEA(i + 1));
        if (!proc) {
            m_error = "the file-transfer library has no ordinal " + std::to_string(i + 1);
            Unload();
            return false;
        }
        Slots(functions)[i] = proc;
    }
    m_functions = functions;
    m_bound = true;
    return true;
}

bool CPassLibrary::Bind(const PASS_FUNCTIONS& functions)
{
    Unload();
    PASS_FUNCTIONS copy = functions;
    for (int i = 0; i < kSlots; ++i) {
        if (!Slots(copy)[i]) {
            m_error = "no function for ordinal " + std::to_string(i + 1);
            return false;
        }
    }
    m_functions = copy;
    m_bound = true;
    return true;
}

CPassLibrary& CPassLibrary::Client()
{
    static CPassLibrary library;
    static bool tried = false;
    if (!tried) {
        tried = true;
        char path[MAX_PATH] = {};
        GetModuleFileNameA(nullptr, path, MAX_PATH);
        char* slash = strrchr(path, '\\');
        if (slash)
            slash[1] = 0;
        strncat(path, "pass.dll", MAX_PATH - strlen(path) - 1);
        library.Load(path);
    }
    return library;
}
