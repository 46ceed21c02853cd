#pragma once
// What an IDE host and the design packages it loads share: the attributes of a property editor,
// the designer that editors report to, the property-editor registry and the component palette.
//
// A package registers in its registration entry, which the host calls once after loading it:
//
//   RegisterComponents("Touch Screen", {TKeyboard::StaticClass()});
//   RegisterPropertyEditor(TypeInfo<TKeyCollection>(), TKeyboard::StaticClass(), "Keys",
//                          TLayoutProperty::StaticClass());
//
// Before it unloads the package the host calls UnRegisterModuleDesignItems with the package's
// module: every palette entry, editor registration and class the package registered goes away.

#include "rtl/Classes.h"

#include <any>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <vector>

namespace designide {

enum TPropertyAttribute {
    paValueList,
    paSubProperties,
    paDialog,
    paMultiSelect,
    paAutoUpdate,
    paSortList,
    paReadOnly,
    paRevertable,
    paFullWidthName,
    paVolatileSubProperties,
    paVCL,
    paNotNestable
};
using TPropertyAttributes = vcl::Set<TPropertyAttribute>;
// The attributes as the 16-bit set an inspector keeps (bit n is member n: [paDialog] is 0x0004).
inline uint16_t AttributesWord(TPropertyAttributes Attributes) {
    return static_cast<uint16_t>(Attributes.Mask());
}

using TGetStrProc = std::function<void(const vcl::AnsiString&)>;

// Options of the IDE's environment that the windows of design packages follow. The host sets
// them; every one is off by default, so that a window looks and acts as its form says.
struct TEnvironmentOptions {
    // Layout designer windows show the active ANSI code page in a status line and let the user
    // choose it; a page chosen there holds for the rest of the session (ChosenCodePage).
    bool CodePageInDesigners = false;
    // The page layout files open in while none was chosen: the host's command line's or the
    // locale's (0: the active page stays).
    int FileCodePage = 0;
    int ChosenCodePage = 0;
    // Layout designer windows guard the work done in them: undo and redo, Cancel, a question
    // before a step that replaces or clears keys.
    bool SafeEditingInDesigners = false;
};
TEnvironmentOptions& EnvironmentOptions();

// The designer of the form being edited, as property editors see it. The host implements it;
// an editor calls Modified after every change it makes.
class IDesigner {
public:
    virtual ~IDesigner() = default;
    // Reports a change of the designed form: the host marks it modified and shows the new values.
    virtual void Modified() = 0;
    // The designed form; it owns every component placed on it.
    virtual vcl::TComponent* GetRoot() const = 0;

    // The names of the designed components of class Class or a descendant, the form included,
    // in creation order.
    virtual void GetComponentNames(vcl::TClass Class, const TGetStrProc& Proc) const;
    // The designed component of that name (the form by its own name), or null.
    virtual vcl::TComponent* GetComponent(const vcl::AnsiString& Name) const;
    virtual vcl::AnsiString GetComponentName(vcl::TComponent* Component) const;
    // Names of the form's methods that fit the event Event.
    virtual void GetMethods(const vcl::TPropInfo* Event, const TGetStrProc& Proc) const;
    // A handler for Event named Name, to be bound with TPropInfo::SetMethod: the form's published
    // method of that name when it has one of the event's type, otherwise a handler that does
    // nothing (a designed form runs no code of its own); the name is kept for GetMethods.
    virtual std::any CreateMethod(const vcl::AnsiString& Name, const vcl::TPropInfo* Event);

private:
    std::vector<vcl::AnsiString> createdMethods_;
};

// The type of a published property, as the registry matches it: a kind and, for the kinds that
// have one, the type object (the TEnumInfo of an enumeration or set, the TIdentMap of an integer
// type with named values such as TColor, the class of an object property). A null type matches
// every property of the kind.
struct TTypeInfo {
    vcl::TTypeKind Kind = vcl::tkInteger;
    const void* Type = nullptr;
};
TTypeInfo TypeInfoOf(const vcl::TPropInfo* Prop);
TTypeInfo ClassTypeInfo(vcl::TClass Class);
TTypeInfo EnumTypeInfo(const vcl::TEnumInfo& Enum);
TTypeInfo SetTypeInfo(const vcl::TEnumInfo& Members);
TTypeInfo IdentTypeInfo(const vcl::TIdentMap& Idents);
TTypeInfo KindTypeInfo(vcl::TTypeKind Kind);
template <class T> TTypeInfo TypeInfo() {
    return ClassTypeInfo(T::StaticClass());
}

// A class derived from TPropertyEditor.
using TPropertyEditorClass = vcl::TClass;

// Registers EditorClass for properties of type PropertyType; ComponentClass (null: any) limits
// it to properties of that class and its descendants, PropertyName (empty: any) to properties of
// that name. EditorClass must derive from TPropertyEditor and be creatable (EPropertyError).
void RegisterPropertyEditor(const TTypeInfo& PropertyType, vcl::TClass ComponentClass,
                            const vcl::AnsiString& PropertyName, TPropertyEditorClass EditorClass);
// The editor for property Prop of ComponentClass: among the registrations that match, the one
// naming the property, then the one whose component class is nearest to ComponentClass, then the
// one whose type is nearest to the property's (an object property matches registrations for its
// class's ancestors), then the one registered last; without a match, the framework's default
// editor for the property's kind.
TPropertyEditorClass GetEditorClass(const vcl::TPropInfo* Prop, vcl::TClass ComponentClass);

// Component editors (class TComponentEditor, DesignEditors.h): RegisterComponentEditor there;
// the editor class registered nearest to ComponentClass (the later among equals), or null.
vcl::TClass GetComponentEditorClass(vcl::TClass ComponentClass);

struct TPalettePage {
    vcl::AnsiString Name;
    std::vector<vcl::TClass> Classes; // in registration order
};

// Puts component classes on the palette page Page (created after the existing pages when new),
// in the given order, and registers them with the form reader. A class already on the palette is
// not added twice. A class whose name another class already holds in the form reader's registry
// (a second copy of a component) raises EComponentError "A class named %s already exists" and
// registers nothing of the call.
void RegisterComponents(const vcl::AnsiString& Page, std::initializer_list<vcl::TClass> Classes);
void RegisterComponents(const vcl::AnsiString& Page, const std::vector<vcl::TClass>& Classes);
// The palette, pages in the order they were first registered.
const std::vector<TPalettePage>& GetPalettePages();

// Removes every palette entry (unregistering its class from the form reader) and every
// property-editor and component-editor registration whose classes or types lie in Module, the
// address a shared library is loaded at, and the palette pages this leaves empty. A host calls it
// before it unloads a package.
void UnRegisterModuleDesignItems(uintptr_t Module);
// The module whose image holds Address (code or static data): the address it is loaded at, or 0.
uintptr_t ModuleOfAddress(const void* Address);

} // namespace designide
