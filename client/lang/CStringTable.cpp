#include "CStringTable.h"

#include <winsock2.h>
#include <windows.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

namespace {

// The client's string ids begin here; the framework's lie below.
const unsigned kFirstClientId = 61440;

struct STRING_TABLE
{
    std::map<unsigned, std::string> texts;
    std::vector<unsigned> ids;
};

HMODULE OwnModule()
{
    HMODULE module = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                           GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&OwnModule), &module);
    return module;
}

BOOL CALLBACK CollectBlock(HMODULE, LPCSTR, LPSTR name, LONG_PTR context)
{
    if (IS_INTRESOURCE(name))
        reinterpret_cast<std::vector<unsigned>*>(context)->push_back(
            static_cast<unsigned>(reinterpret_cast<ULONG_PTR>(name)));
    return TRUE;
}

// Read once: each block of sixteen ids that the module's table holds.
const STRING_TABLE& Table()
{
    static const STRING_TABLE table = [] {
        STRING_TABLE t;
        HMODULE module = OwnModule();
        std::vector<unsigned> blocks;
        EnumResourceNamesA(module, reinterpret_cast<LPCSTR>(RT_STRING), CollectBlock,
                           reinterpret_cast<LONG_PTR>(&blocks));
        std::vector<char> text(4096);
        for (unsigned block : blocks) {
            for (unsigned i = 0; i < 16; ++i) {
                unsigned id = (block - 1) * 16 + i;
                if (id < kFirstClientId)
                    continue;
                int n = LoadStringA(module, id, text.data(), static_cast<int>(text.size()));
                if (n > 0 && t.texts.emplace(id, std::string(text.data(), n)).second)
                    t.ids.push_back(id);
            }
        }
        std::sort(t.ids.begin(), t.ids.end());
        return t;
    }();
    return table;
}

} // namespace

const char* CStringTable::Find(unsigned id)
{
    const STRING_TABLE& table = Table();
    auto it = table.texts.find(id);
    return it != table.texts.end() ? it->second.c_str() : nullptr;
}

int CStringTable::GetCount() { return static_cast<int>(Table().ids.size()); }

unsigned CStringTable::GetIdAt(int index)
{
    const STRING_TABLE& table = Table();
    return (index >= 0 && index < GetCount()) ? table.ids[index] : 0;
}
