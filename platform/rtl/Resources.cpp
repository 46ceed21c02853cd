#include "Resources.h"

#include "RTLConsts.h"

#include <dlfcn.h>

#include <algorithm>
#include <vector>

namespace vcl {

namespace {

struct Entry {
    AnsiString Type, Name; // in capitals
    TResourceData Res;
};

// Built on first use: registrars of generated resource units run during static initialisation,
// in an order the language leaves open.
std::vector<Entry>& registry() {
    static std::vector<Entry> entries;
    return entries;
}

void add(HMODULE module, const char* type, const char* name, const uint8_t* data, size_t size,
         LANGID language) {
    Entry e{UpperCase(type), UpperCase(name), TResourceData{data, size, language, module}};
    auto& entries = registry();
    auto same = std::find_if(entries.begin(), entries.end(), [&](const Entry& x) {
        return x.Res.Module == module && x.Res.Language == language && x.Type == e.Type &&
               x.Name == e.Name;
    });
    if (same != entries.end()) entries.erase(same);
    entries.push_back(std::move(e));
}

const Entry* find(const HMODULE* module, const AnsiString& type, const AnsiString& name) {
    AnsiString t = UpperCase(type), n = UpperCase(name);
    auto& entries = registry();
    for (auto it = entries.rbegin(); it != entries.rend(); ++it)
        if ((!module || it->Res.Module == *module) && it->Type == t && it->Name == n) return &*it;
    return nullptr;
}

TResourceData found(const Entry* e, const AnsiString& name) {
    if (!e) throw EResNotFound(FmtLoadStr(rtlconsts::SResNotFound, {name}));
    return e->Res;
}

} // namespace

HMODULE FindHInstance(const void* Address) {
    Dl_info info;
    if (!Address || !dladdr(Address, &info)) return 0;
    return reinterpret_cast<HMODULE>(info.dli_fbase);
}

void RegisterResource(const char* Type, const char* Name, const uint8_t* Data, size_t Size,
                      LANGID Language) {
    add(FindHInstance(Data), Type, Name, Data, Size, Language);
}

void RegisterModuleResources(HMODULE Module, const TResourceEntry* const* Table) {
    for (; Table && *Table; ++Table)
        add(Module, (*Table)->Type, (*Table)->Name, (*Table)->Data, (*Table)->Size,
            (*Table)->Language);
}

void UnRegisterModuleResources(HMODULE Module) {
    auto& entries = registry();
    entries.erase(std::remove_if(entries.begin(), entries.end(),
                                 [&](const Entry& e) { return e.Res.Module == Module; }),
                  entries.end());
}

bool ResourceExists(const AnsiString& Type, const AnsiString& Name) {
    return find(nullptr, Type, Name) != nullptr;
}

bool ResourceExists(HMODULE Module, const AnsiString& Type, const AnsiString& Name) {
    return find(&Module, Type, Name) != nullptr;
}

TResourceData FindResourceData(const AnsiString& Type, const AnsiString& Name) {
    return found(find(nullptr, Type, Name), Name);
}

TResourceData FindResourceData(HMODULE Module, const AnsiString& Type, const AnsiString& Name) {
    return found(find(&Module, Type, Name), Name);
}

} // namespace vcl
