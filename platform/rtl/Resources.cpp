#include "Resources.h"

#include "RTLConsts.h"

#include <map>
#include <utility>

namespace vcl {

namespace {

using Key = std::pair<AnsiString, AnsiString>; // type and name, in capitals

// Built on first use: registrars of generated resource units run during static initialisation,
// in an order the language leaves open.
std::map<Key, TResourceData>& registry() {
    static std::map<Key, TResourceData> map;
    return map;
}

} // namespace

void RegisterResource(const char* Type, const char* Name, const uint8_t* Data, size_t Size) {
    registry()[{UpperCase(Type), UpperCase(Name)}] = TResourceData{Data, Size};
}

bool ResourceExists(const AnsiString& Type, const AnsiString& Name) {
    return registry().count({UpperCase(Type), UpperCase(Name)}) != 0;
}

TResourceData FindResourceData(const AnsiString& Type, const AnsiString& Name) {
    auto it = registry().find({UpperCase(Type), UpperCase(Name)});
    if (it == registry().end()) throw EResNotFound(FmtLoadStr(rtlconsts::SResNotFound, {Name}));
    return it->second;
}

} // namespace vcl
