#include "designide/DesignIntf.h"

#include "designide/DesignConsts.h"
#include "designide/DesignEditors.h"
#include "vcl/Graphics.h"

#include <dlfcn.h>

#include <algorithm>
#include <climits>
#include <tuple>

namespace designide {

TEnvironmentOptions& EnvironmentOptions() {
    static TEnvironmentOptions options;
    return options;
}

using vcl::AnsiString;
using vcl::TClass;

// --- designer ------------------------------------------------------------------------------------

void IDesigner::GetComponentNames(TClass Class, const TGetStrProc& Proc) const {
    vcl::TComponent* root = GetRoot();
    if (!root) return;
    if (root->InheritsFrom(Class) && !root->GetName().empty()) Proc(root->GetName());
    for (int i = 0; i < root->GetComponentCount(); ++i) {
        vcl::TComponent* c = root->GetComponent(i);
        if (c->InheritsFrom(Class) && !c->GetName().empty()) Proc(c->GetName());
    }
}

vcl::TComponent* IDesigner::GetComponent(const AnsiString& Name) const {
    vcl::TComponent* root = GetRoot();
    if (!root || Name.empty()) return nullptr;
    if (vcl::SameText(root->GetName(), Name)) return root;
    return root->FindComponent(Name);
}

AnsiString IDesigner::GetComponentName(vcl::TComponent* Component) const {
    return Component ? Component->GetName() : AnsiString();
}

void IDesigner::GetMethods(const vcl::TPropInfo* Event, const TGetStrProc& Proc) const {
    std::vector<AnsiString> names;
    if (vcl::TComponent* root = GetRoot())
        for (TClass c = root->ClassType(); c; c = c->Parent)
            for (const vcl::TMethodInfo& m : c->Methods)
                if (m.Signature == Event->EventType) names.push_back(m.Name);
    for (const AnsiString& n : createdMethods_)
        if (std::none_of(names.begin(), names.end(),
                         [&](const AnsiString& x) { return vcl::SameText(x, n); }))
            names.push_back(n);
    for (const AnsiString& n : names)
        Proc(n);
}

std::any IDesigner::CreateMethod(const AnsiString& Name, const vcl::TPropInfo* Event) {
    if (vcl::TComponent* root = GetRoot())
        if (const vcl::TMethodInfo* m = root->ClassType()->FindMethod(Name))
            if (m->Signature == Event->EventType) return m->Bind(root);
    if (std::none_of(createdMethods_.begin(), createdMethods_.end(),
                     [&](const AnsiString& x) { return vcl::SameText(x, Name); }))
        createdMethods_.push_back(Name);
    return Event->EmptyHandler ? Event->EmptyHandler() : std::any();
}

// --- property types ------------------------------------------------------------------------------

TTypeInfo TypeInfoOf(const vcl::TPropInfo* Prop) {
    switch (Prop->Kind) {
    case vcl::tkEnumeration:
    case vcl::tkSet:
        return {Prop->Kind, Prop->EnumType};
    case vcl::tkInteger:
    case vcl::tkInt64:
        return {Prop->Kind, Prop->Idents};
    case vcl::tkClass:
        return {Prop->Kind, static_cast<TClass>(Prop->PropClass)};
    default:
        return {Prop->Kind, nullptr};
    }
}
TTypeInfo ClassTypeInfo(TClass Class) {
    return {vcl::tkClass, Class};
}
TTypeInfo EnumTypeInfo(const vcl::TEnumInfo& Enum) {
    return {vcl::tkEnumeration, &Enum};
}
TTypeInfo SetTypeInfo(const vcl::TEnumInfo& Members) {
    return {vcl::tkSet, &Members};
}
TTypeInfo IdentTypeInfo(const vcl::TIdentMap& Idents) {
    return {vcl::tkInteger, &Idents};
}
TTypeInfo KindTypeInfo(vcl::TTypeKind Kind) {
    return {Kind, nullptr};
}

// --- property-editor registry
// ----------------------------------------------------------------------

namespace {

struct TEditorRegistration {
    TTypeInfo Type;
    TClass ComponentClass;
    AnsiString PropertyName;
    TPropertyEditorClass EditorClass;
};

std::vector<TEditorRegistration>& editors() {
    static std::vector<TEditorRegistration> list;
    return list;
}

std::vector<TPalettePage>& palette() {
    static std::vector<TPalettePage> pages;
    return pages;
}

constexpr int NoMatch = -1;
constexpr int Anything = INT_MAX / 2; // distance of a registration that names no class or type

// Steps from Class up to Ancestor, or NoMatch.
int distance(TClass Class, TClass Ancestor) {
    int steps = 0;
    for (TClass c = Class; c; c = c->Parent, ++steps)
        if (c == Ancestor) return steps;
    return NoMatch;
}

int typeDistance(const TTypeInfo& registered, const TTypeInfo& prop) {
    if (registered.Kind != prop.Kind) return NoMatch;
    if (!registered.Type) return Anything;
    if (prop.Kind == vcl::tkClass)
        return distance(static_cast<TClass>(prop.Type), static_cast<TClass>(registered.Type));
    return registered.Type == prop.Type ? 0 : NoMatch;
}

TPropertyEditorClass defaultEditorClass(const vcl::TPropInfo* Prop, TClass ComponentClass) {
    switch (Prop->Kind) {
    case vcl::tkInteger:
    case vcl::tkInt64:
        return Prop->Idents == &vcl::ColorIdents ? TColorProperty::StaticClass()
                                                 : TIntegerProperty::StaticClass();
    case vcl::tkEnumeration:
        return Prop->EnumType == &vcl::BooleanInfo ? TBoolProperty::StaticClass()
                                                   : TEnumProperty::StaticClass();
    case vcl::tkSet:
        return TSetProperty::StaticClass();
    case vcl::tkString:
        if (vcl::SameText(Prop->Name, "Name") && ComponentClass &&
            ComponentClass->InheritsFrom(vcl::TComponent::StaticClass()))
            return TComponentNameProperty::StaticClass();
        return TStringProperty::StaticClass();
    case vcl::tkFloat:
        return TFloatProperty::StaticClass();
    case vcl::tkMethod:
        return TMethodProperty::StaticClass();
    case vcl::tkClass: {
        TClass cls = Prop->PropClass;
        if (Prop->SetObject && cls && cls->InheritsFrom(vcl::TComponent::StaticClass()))
            return TComponentProperty::StaticClass();
        if (cls && cls->InheritsFrom(vcl::TFont::StaticClass()))
            return TFontProperty::StaticClass();
        return TClassProperty::StaticClass();
    }
    }
    return TPropertyEditor::StaticClass();
}

bool lies(const void* address, uintptr_t module) {
    return address && ModuleOfAddress(address) == module;
}

} // namespace

void RegisterPropertyEditor(const TTypeInfo& PropertyType, TClass ComponentClass,
                            const AnsiString& PropertyName, TPropertyEditorClass EditorClass) {
    if (!EditorClass || !EditorClass->InheritsFrom(TPropertyEditor::StaticClass()) ||
        !EditorClass->CreateObject)
        throw vcl::EPropertyError(vcl::FmtLoadStr(
            consts::SNotAnEditorClass, {EditorClass ? EditorClass->ClassName : AnsiString()}));
    editors().push_back({PropertyType, ComponentClass, PropertyName, EditorClass});
}

TPropertyEditorClass GetEditorClass(const vcl::TPropInfo* Prop, TClass ComponentClass) {
    const TTypeInfo type = TypeInfoOf(Prop);
    const TEditorRegistration* best = nullptr;
    std::tuple<int, int, int> bestRank; // smaller is better
    for (const TEditorRegistration& r : editors()) {
        if (!r.PropertyName.empty() && !vcl::SameText(r.PropertyName, Prop->Name)) continue;
        int classSteps = Anything;
        if (r.ComponentClass) {
            classSteps = distance(ComponentClass, r.ComponentClass);
            if (classSteps == NoMatch) continue;
        }
        int typeSteps = typeDistance(r.Type, type);
        if (typeSteps == NoMatch) continue;
        std::tuple<int, int, int> rank{r.PropertyName.empty() ? 1 : 0, classSteps, typeSteps};
        // A later registration of the same rank wins.
        if (!best || rank <= bestRank) {
            best = &r;
            bestRank = rank;
        }
    }
    return best ? best->EditorClass : defaultEditorClass(Prop, ComponentClass);
}

// --- component editors

namespace {

struct TComponentEditorRegistration {
    TClass ComponentClass;
    TClass EditorClass;
};

std::vector<TComponentEditorRegistration>& componentEditors() {
    static std::vector<TComponentEditorRegistration> list;
    return list;
}

} // namespace

void RegisterComponentEditor(TClass ComponentClass, TClass EditorClass) {
    if (!ComponentClass || !EditorClass ||
        !EditorClass->InheritsFrom(TComponentEditor::StaticClass()) || !EditorClass->CreateObject)
        throw vcl::EPropertyError(vcl::FmtLoadStr(
            consts::SNotAnEditorClass, {EditorClass ? EditorClass->ClassName : AnsiString()}));
    componentEditors().push_back({ComponentClass, EditorClass});
}

TClass GetComponentEditorClass(TClass ComponentClass) {
    TClass best = nullptr;
    int bestSteps = 0;
    for (const TComponentEditorRegistration& r : componentEditors()) {
        const int steps = distance(ComponentClass, r.ComponentClass);
        if (steps != NoMatch && (!best || steps <= bestSteps)) {
            best = r.EditorClass;
            bestSteps = steps;
        }
    }
    return best;
}

// --- palette
// ---------------------------------------------------------------------------------------

void RegisterComponents(const AnsiString& Page, std::initializer_list<TClass> Classes) {
    RegisterComponents(Page, std::vector<TClass>(Classes));
}

void RegisterComponents(const AnsiString& Page, const std::vector<TClass>& Classes) {
    for (TClass c : Classes) {
        TClass known = vcl::GetClass(c->ClassName);
        if (known && known != c)
            throw vcl::EComponentError(vcl::FmtLoadStr(consts::SDuplicateClass, {c->ClassName}));
    }
    auto& pages = palette();
    auto page = std::find_if(pages.begin(), pages.end(),
                             [&](const TPalettePage& p) { return vcl::SameText(p.Name, Page); });
    if (page == pages.end()) page = pages.insert(pages.end(), TPalettePage{Page, {}});
    for (TClass c : Classes) {
        bool listed = std::any_of(pages.begin(), pages.end(), [&](const TPalettePage& p) {
            return std::find(p.Classes.begin(), p.Classes.end(), c) != p.Classes.end();
        });
        if (!listed) page->Classes.push_back(c);
        vcl::RegisterClass(c);
    }
}

const std::vector<TPalettePage>& GetPalettePages() {
    return palette();
}

// --- unloading
// -------------------------------------------------------------------------------------

uintptr_t ModuleOfAddress(const void* Address) {
    Dl_info info;
    if (!Address || !dladdr(Address, &info)) return 0;
    return reinterpret_cast<uintptr_t>(info.dli_fbase);
}

void UnRegisterModuleDesignItems(uintptr_t Module) {
    auto& list = editors();
    list.erase(std::remove_if(list.begin(), list.end(),
                              [&](const TEditorRegistration& r) {
                                  return lies(r.EditorClass, Module) ||
                                         lies(r.ComponentClass, Module) ||
                                         lies(r.Type.Type, Module);
                              }),
               list.end());
    auto& components = componentEditors();
    components.erase(std::remove_if(components.begin(), components.end(),
                                    [&](const TComponentEditorRegistration& r) {
                                        return lies(r.EditorClass, Module) ||
                                               lies(r.ComponentClass, Module);
                                    }),
                     components.end());
    auto& pages = palette();
    for (TPalettePage& page : pages) {
        auto& classes = page.Classes;
        for (TClass c : classes)
            if (lies(c, Module)) vcl::UnRegisterClass(c);
        classes.erase(std::remove_if(classes.begin(), classes.end(),
                                     [&](TClass c) { return lies(c, Module); }),
                      classes.end());
    }
    pages.erase(std::remove_if(pages.begin(), pages.end(),
                               [](const TPalettePage& p) { return p.Classes.empty(); }),
                pages.end());
}

} // namespace designide
