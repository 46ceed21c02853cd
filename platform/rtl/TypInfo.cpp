#include "TypInfo.h"

#include "RTLConsts.h"

#include <map>

namespace vcl {

const TEnumInfo BooleanInfo{"Boolean", {"False", "True"}};

int TEnumInfo::IndexOf(const AnsiString& name) const {
    for (size_t i = 0; i < Names.size(); ++i)
        if (SameText(Names[i], name)) return static_cast<int>(i);
    return -1;
}

AnsiString TEnumInfo::NameOf(int64_t ordinal) const {
    if (ordinal < 0 || ordinal >= static_cast<int64_t>(Names.size())) return AnsiString();
    return Names[static_cast<size_t>(ordinal)];
}

bool TIdentMap::IntToIdent(int32_t value, AnsiString& ident) const {
    for (const TIdentMapEntry& e : Entries)
        if (e.Value == value) {
            ident = e.Name;
            return true;
        }
    return false;
}

bool TIdentMap::IdentToInt(const AnsiString& ident, int32_t& value) const {
    for (const TIdentMapEntry& e : Entries)
        if (SameText(e.Name, ident)) {
            value = e.Value;
            return true;
        }
    return false;
}

bool TPropInfo::IsDefault(const TObject* instance) const {
    if (!HasDefault) return false;
    switch (Kind) {
    case tkInteger:
    case tkInt64:
    case tkEnumeration:
    case tkSet:
        return GetOrd(instance) == Default;
    default:
        return false;
    }
}

bool TPropInfo::IsWritable() const {
    switch (Kind) {
    case tkInteger:
    case tkInt64:
    case tkEnumeration:
    case tkSet:
        return static_cast<bool>(SetOrd);
    case tkString:
        return static_cast<bool>(SetStr);
    case tkFloat:
        return static_cast<bool>(SetFloat);
    case tkClass:
        return static_cast<bool>(SetObject) || static_cast<bool>(GetObject);
    case tkMethod:
        return static_cast<bool>(SetMethod);
    }
    return false;
}

bool TClassInfo::InheritsFrom(TClass cls) const {
    for (TClass c = this; c; c = c->Parent)
        if (c == cls) return true;
    return false;
}

std::vector<const TPropInfo*> TClassInfo::GetProps() const {
    std::vector<const TPropInfo*> result;
    if (Parent) result = Parent->GetProps();
    for (const TPropInfo& p : Props) {
        bool replaced = false;
        for (const TPropInfo*& q : result)
            if (SameText(q->Name, p.Name)) {
                q = &p;
                replaced = true;
                break;
            }
        if (!replaced) result.push_back(&p);
    }
    return result;
}

const TPropInfo* TClassInfo::FindProp(const AnsiString& name) const {
    for (TClass c = this; c; c = c->Parent)
        for (const TPropInfo& p : c->Props)
            if (SameText(p.Name, name)) return &p;
    return nullptr;
}

const TMethodInfo* TClassInfo::FindMethod(const AnsiString& name) const {
    for (TClass c = this; c; c = c->Parent)
        for (const TMethodInfo& m : c->Methods)
            if (SameText(m.Name, name)) return &m;
    return nullptr;
}

const TFieldInfo* TClassInfo::FindField(const AnsiString& name) const {
    for (TClass c = this; c; c = c->Parent)
        for (const TFieldInfo& f : c->Fields)
            if (SameText(f.Name, name)) return &f;
    return nullptr;
}

namespace {
struct NameLess {
    bool operator()(const AnsiString& a, const AnsiString& b) const {
        return CompareText(a, b) < 0;
    }
};
std::map<AnsiString, TClass, NameLess>& registry() {
    static std::map<AnsiString, TClass, NameLess> classes;
    return classes;
}
} // namespace

void RegisterClass(TClass cls) {
    registry()[cls->ClassName] = cls;
}

void RegisterClasses(std::initializer_list<TClass> classes) {
    for (TClass c : classes)
        RegisterClass(c);
}

void UnRegisterClass(TClass cls) {
    auto it = registry().find(cls->ClassName);
    if (it != registry().end() && it->second == cls) registry().erase(it);
}

void UnRegisterModuleClasses(HMODULE module) {
    auto& classes = registry();
    for (auto it = classes.begin(); it != classes.end();)
        it = FindHInstance(it->second) == module ? classes.erase(it) : std::next(it);
}

TClass GetClass(const AnsiString& name) {
    auto it = registry().find(name);
    return it == registry().end() ? nullptr : it->second;
}

TClass FindClass(const AnsiString& name) {
    TClass c = GetClass(name);
    if (!c) throw EClassNotFound(Format(rtlconsts::SClassNotFound.Text, {name}));
    return c;
}

int64_t GetOrdProp(const TObject* instance, const TPropInfo* prop) {
    return prop->GetOrd(instance);
}

void SetOrdProp(TObject* instance, const TPropInfo* prop, int64_t value) {
    if (!prop->SetOrd) throw EPropReadOnly(Format("Property %s is read-only", {prop->Name}));
    prop->SetOrd(instance, value);
}

const TPropInfo* GetPropInfo(const TObject* instance, const AnsiString& name) {
    return instance->ClassType()->FindProp(name);
}

} // namespace vcl
