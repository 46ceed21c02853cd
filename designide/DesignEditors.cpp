#include "designide/DesignEditors.h"

#include "designide/DesignConsts.h"
#include "rtl/RTLConsts.h"
#include "vcl/Dialogs.h"

#include <cstdlib>
#include <cstring>

namespace designide {

using vcl::AnsiString;
using vcl::TObject;
using vcl::TPersistent;

VCL_DEFINE_PLAIN_CLASS(TPropertyEditor, vcl::TObject)
VCL_DEFINE_PLAIN_CLASS(TIntegerProperty, TPropertyEditor)
VCL_DEFINE_PLAIN_CLASS(TColorProperty, TIntegerProperty)
VCL_DEFINE_PLAIN_CLASS(TCharProperty, TIntegerProperty)
VCL_DEFINE_PLAIN_CLASS(TEnumProperty, TPropertyEditor)
VCL_DEFINE_PLAIN_CLASS(TBoolProperty, TEnumProperty)
VCL_DEFINE_PLAIN_CLASS(TSetProperty, TPropertyEditor)
VCL_DEFINE_PLAIN_CLASS(TSetElementProperty, TPropertyEditor)
VCL_DEFINE_PLAIN_CLASS(TStringProperty, TPropertyEditor)
VCL_DEFINE_PLAIN_CLASS(TComponentNameProperty, TStringProperty)
VCL_DEFINE_PLAIN_CLASS(TFloatProperty, TPropertyEditor)
VCL_DEFINE_PLAIN_CLASS(TClassProperty, TPropertyEditor)
VCL_DEFINE_PLAIN_CLASS(TFontProperty, TClassProperty)
VCL_DEFINE_PLAIN_CLASS(TComponentProperty, TPropertyEditor)
VCL_DEFINE_PLAIN_CLASS(TMethodProperty, TPropertyEditor)
VCL_DEFINE_PLAIN_CLASS(TComponentEditor, vcl::TObject)

namespace {

[[noreturn]] void invalidValue() {
    throw vcl::EPropertyError(vcl::LoadResString(vcl::rtlconsts::SInvalidPropertyValue));
}

// True when Get gives the same value for every selected object.
template <class Get> bool allSame(const TPropertyEditor& e, Get get) {
    for (int i = 1; i < e.PropCount(); ++i)
        if (!(get(i) == get(0))) return false;
    return true;
}

} // namespace

// --- TPropertyEditor -----------------------------------------------------------------------------

void TPropertyEditor::Initialize(IDesigner* Designer, std::vector<TPersistent*> Selection,
                                 const vcl::TPropInfo* Prop) {
    designer_ = Designer;
    selection_ = std::move(Selection);
    prop_ = Prop;
}

TPropertyAttributes TPropertyEditor::GetAttributes() {
    return {paRevertable};
}

AnsiString TPropertyEditor::GetValue() {
    return vcl::LoadResString(consts::SUnknownValue);
}

void TPropertyEditor::SetValue(const AnsiString& Value) {
    (void)Value;
}

void TPropertyEditor::GetValues(const TGetStrProc& Proc) {
    (void)Proc;
}

void TPropertyEditor::Edit() {
    if (!GetAttributes().Contains(paValueList)) return;
    std::vector<AnsiString> values;
    GetValues([&](const AnsiString& v) { values.push_back(v); });
    if (values.empty()) return;
    const AnsiString current = GetValue();
    size_t next = 0;
    for (size_t i = 0; i < values.size(); ++i)
        if (vcl::SameText(values[i], current)) {
            next = (i + 1) % values.size();
            break;
        }
    SetValue(values[next]);
}

TPropertyEditorList TPropertyEditor::GetProperties() {
    return {};
}

bool TPropertyEditor::AllEqual() {
    return PropCount() == 1;
}

AnsiString TPropertyEditor::GetName() const {
    return prop_->Name;
}

TPersistent* TPropertyEditor::GetComponent(int Index) const {
    if (Index < 0 || Index >= PropCount())
        throw vcl::EListError(vcl::FmtLoadStr(vcl::rtlconsts::SListIndexError, {Index}));
    return selection_[static_cast<size_t>(Index)];
}

void TPropertyEditor::Modified() {
    if (designer_) designer_->Modified();
}

int64_t TPropertyEditor::GetOrdValueAt(int Index) const {
    const TObject* o = GetComponent(Index);
    if (prop_->Kind == vcl::tkClass)
        return static_cast<int64_t>(reinterpret_cast<intptr_t>(prop_->GetObject(o)));
    return vcl::GetOrdProp(o, prop_);
}

void TPropertyEditor::SetOrdValue(int64_t Value) {
    for (TPersistent* o : selection_) {
        if (prop_->Kind != vcl::tkClass) {
            vcl::SetOrdProp(o, prop_, Value);
            continue;
        }
        TObject* object = reinterpret_cast<TObject*>(static_cast<intptr_t>(Value));
        if (prop_->SetObject) {
            prop_->SetObject(o, object);
        } else if (auto* owned = dynamic_cast<TPersistent*>(prop_->GetObject(o))) {
            if (owned != object) owned->Assign(vcl::As<TPersistent>(object));
        }
    }
    Modified();
}

AnsiString TPropertyEditor::GetStrValueAt(int Index) const {
    return prop_->GetStr(GetComponent(Index));
}

void TPropertyEditor::SetStrValue(const AnsiString& Value) {
    if (!prop_->SetStr)
        throw vcl::EPropReadOnly(vcl::LoadResString(vcl::rtlconsts::SReadOnlyProperty));
    for (TPersistent* o : selection_)
        prop_->SetStr(o, Value);
    Modified();
}

long double TPropertyEditor::GetFloatValueAt(int Index) const {
    return prop_->GetFloat(GetComponent(Index));
}

void TPropertyEditor::SetFloatValue(long double Value) {
    if (!prop_->SetFloat)
        throw vcl::EPropReadOnly(vcl::LoadResString(vcl::rtlconsts::SReadOnlyProperty));
    for (TPersistent* o : selection_)
        prop_->SetFloat(o, Value);
    Modified();
}

AnsiString TPropertyEditor::GetMethodValueAt(int Index) const {
    const TObject* o = GetComponent(Index);
    return prop_->MethodAssigned && prop_->MethodAssigned(o) ? prop_->GetMethodName(o)
                                                             : AnsiString();
}

TPropertyEditorList TPropertyEditor::EditorsOf(const std::vector<TPersistent*>& Objects) const {
    return GetComponentProperties(Objects, designer_);
}

// --- integers and colours ------------------------------------------------------------------------

TPropertyAttributes TIntegerProperty::GetAttributes() {
    TPropertyAttributes a{paMultiSelect, paRevertable};
    if (GetPropInfo()->Idents) a << paValueList;
    return a;
}

AnsiString TIntegerProperty::GetValue() {
    AnsiString ident;
    const int64_t v = GetOrdValue();
    if (GetPropInfo()->Idents && GetPropInfo()->Idents->IntToIdent(static_cast<int32_t>(v), ident))
        return ident;
    return vcl::IntToStr(v);
}

void TIntegerProperty::SetValue(const AnsiString& Value) {
    int32_t v;
    if (!GetPropInfo()->Idents || !GetPropInfo()->Idents->IdentToInt(Value, v))
        v = vcl::StrToInt(Value);
    SetOrdValue(v);
}

void TIntegerProperty::GetValues(const TGetStrProc& Proc) {
    if (const vcl::TIdentMap* idents = GetPropInfo()->Idents)
        for (const vcl::TIdentMapEntry& e : idents->Entries)
            Proc(e.Name);
}

bool TIntegerProperty::AllEqual() {
    return allSame(*this, [&](int i) { return GetOrdValueAt(i); });
}

AnsiString TColorProperty::GetValue() {
    AnsiString ident;
    const int32_t v = static_cast<int32_t>(GetOrdValue());
    if (vcl::ColorIdents.IntToIdent(v, ident)) return ident;
    return vcl::Format("$%.8X", {static_cast<unsigned>(v)});
}

AnsiString TCharProperty::GetValue() {
    const auto c = static_cast<unsigned char>(GetOrdValue());
    if (c == 0) return AnsiString();
    if (c < ' ' || c == 127) return "#" + vcl::IntToStr(c);
    return AnsiString(1, static_cast<char>(c));
}

void TCharProperty::SetValue(const AnsiString& Value) {
    int v = 0;
    if (Value.size() == 1) {
        v = static_cast<unsigned char>(Value[0]);
    } else if (!Value.empty()) {
        const AnsiString digits = Value.substr(1);
        if (Value[0] != '#' || digits.find_first_not_of("0123456789") != AnsiString::npos)
            invalidValue();
        v = vcl::StrToInt(digits);
        if (v > 255) invalidValue();
    }
    SetOrdValue(v);
}

// --- enumerations, Booleans and sets -------------------------------------------------------------

TPropertyAttributes TEnumProperty::GetAttributes() {
    return {paMultiSelect, paValueList, paSortList, paRevertable};
}

AnsiString TEnumProperty::GetValue() {
    const int64_t v = GetOrdValue();
    AnsiString name = GetPropInfo()->EnumType->NameOf(v);
    return name.empty() ? vcl::IntToStr(v) : name;
}

void TEnumProperty::SetValue(const AnsiString& Value) {
    int v = GetPropInfo()->EnumType->IndexOf(Value);
    if (v < 0) invalidValue();
    SetOrdValue(v);
}

void TEnumProperty::GetValues(const TGetStrProc& Proc) {
    for (const char* name : GetPropInfo()->EnumType->Names)
        Proc(name);
}

bool TEnumProperty::AllEqual() {
    return allSame(*this, [&](int i) { return GetOrdValueAt(i); });
}

TPropertyAttributes TSetProperty::GetAttributes() {
    return {paMultiSelect, paSubProperties, paReadOnly, paRevertable};
}

AnsiString TSetProperty::GetValue() {
    const uint64_t mask = static_cast<uint64_t>(GetOrdValue());
    const vcl::TEnumInfo* members = GetPropInfo()->EnumType;
    AnsiString text = "[";
    for (size_t i = 0; i < members->Names.size() && i < 64; ++i)
        if (mask & (uint64_t{1} << i)) {
            if (text.size() > 1) text += ',';
            text += members->Names[i];
        }
    return text + "]";
}

void TSetProperty::SetValue(const AnsiString& Value) {
    AnsiString text = Value;
    if (text.size() < 2 || text.front() != '[' || text.back() != ']') invalidValue();
    text = text.substr(1, text.size() - 2);
    uint64_t mask = 0;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find(',', start);
        if (end == AnsiString::npos) end = text.size();
        AnsiString name = text.substr(start, end - start);
        name.erase(0, name.find_first_not_of(' '));
        name.erase(name.find_last_not_of(' ') + 1);
        if (!name.empty()) {
            int member = GetPropInfo()->EnumType->IndexOf(name);
            if (member < 0) invalidValue();
            mask |= uint64_t{1} << member;
        } else if (end < text.size()) {
            invalidValue(); // an empty name between two commas
        }
        start = end + 1;
    }
    SetOrdValue(static_cast<int64_t>(mask));
}

TPropertyEditorList TSetProperty::GetProperties() {
    TPropertyEditorList list;
    std::vector<TPersistent*> selection;
    for (int i = 0; i < PropCount(); ++i)
        selection.push_back(GetComponent(i));
    const size_t count = GetPropInfo()->EnumType->Names.size();
    for (size_t i = 0; i < count && i < 64; ++i) {
        auto element = std::make_unique<TSetElementProperty>(static_cast<int>(i));
        element->Initialize(Designer(), selection, GetPropInfo());
        list.push_back(std::move(element));
    }
    return list;
}

bool TSetProperty::AllEqual() {
    return allSame(*this, [&](int i) { return GetOrdValueAt(i); });
}

TPropertyAttributes TSetElementProperty::GetAttributes() {
    return {paMultiSelect, paValueList, paSortList};
}

AnsiString TSetElementProperty::GetName() const {
    return GetPropInfo()->EnumType->NameOf(element_);
}

AnsiString TSetElementProperty::GetValue() {
    return vcl::BooleanInfo.NameOf((static_cast<uint64_t>(GetOrdValue()) >> element_) & 1);
}

void TSetElementProperty::SetValue(const AnsiString& Value) {
    const int on = vcl::BooleanInfo.IndexOf(Value);
    if (on < 0) invalidValue();
    // Each selected object keeps its other members.
    for (int i = 0; i < PropCount(); ++i) {
        uint64_t mask = static_cast<uint64_t>(GetOrdValueAt(i));
        mask = on ? mask | (uint64_t{1} << element_) : mask & ~(uint64_t{1} << element_);
        vcl::SetOrdProp(GetComponent(i), GetPropInfo(), static_cast<int64_t>(mask));
    }
    Modified();
}

void TSetElementProperty::GetValues(const TGetStrProc& Proc) {
    for (const char* name : vcl::BooleanInfo.Names)
        Proc(name);
}

bool TSetElementProperty::AllEqual() {
    return allSame(*this, [&](int i) { return (GetOrdValueAt(i) >> element_) & 1; });
}

// --- strings and numbers -------------------------------------------------------------------------

TPropertyAttributes TStringProperty::GetAttributes() {
    return {paMultiSelect, paRevertable};
}

AnsiString TStringProperty::GetValue() {
    return GetStrValue();
}

void TStringProperty::SetValue(const AnsiString& Value) {
    SetStrValue(Value);
}

bool TStringProperty::AllEqual() {
    return allSame(*this, [&](int i) { return GetStrValueAt(i); });
}

TPropertyAttributes TComponentNameProperty::GetAttributes() {
    return TStringProperty::GetAttributes() - TPropertyAttributes{paMultiSelect};
}

TPropertyAttributes TFloatProperty::GetAttributes() {
    return {paMultiSelect, paRevertable};
}

AnsiString TFloatProperty::GetValue() {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.15Lg", GetFloatValue());
    return buffer;
}

void TFloatProperty::SetValue(const AnsiString& Value) {
    const char* begin = Value.c_str();
    char* end = nullptr;
    long double v = std::strtold(begin, &end);
    if (Value.empty() || end != begin + Value.size())
        throw vcl::EConvertError(vcl::FmtLoadStr(consts::SInvalidFloat, {Value}));
    SetFloatValue(v);
}

// --- objects -------------------------------------------------------------------------------------

TPropertyAttributes TClassProperty::GetAttributes() {
    return {paMultiSelect, paSubProperties, paReadOnly};
}

AnsiString TClassProperty::GetValue() {
    return "(" + static_cast<vcl::TClass>(GetPropInfo()->PropClass)->ClassName + ")";
}

TPropertyEditorList TClassProperty::GetProperties() {
    std::vector<TPersistent*> objects;
    for (int i = 0; i < PropCount(); ++i) {
        auto* object = dynamic_cast<TPersistent*>(GetPropInfo()->GetObject(GetComponent(i)));
        if (!object) return {};
        objects.push_back(object);
    }
    return EditorsOf(objects);
}

TPropertyAttributes TFontProperty::GetAttributes() {
    return TClassProperty::GetAttributes() + TPropertyAttributes{paDialog};
}

void TFontProperty::Edit() {
    std::unique_ptr<vcl::TFontDialog> dialog(new vcl::TFontDialog(nullptr));
    dialog->SetFont(vcl::As<vcl::TFont>(GetPropInfo()->GetObject(GetComponent(0))));
    dialog->SetOptions(dialog->GetOptions() + vcl::TFontDialogOptions{vcl::fdForceFontExist});
    if (dialog->Execute())
        SetOrdValue(static_cast<int64_t>(reinterpret_cast<intptr_t>(dialog->GetFont())));
}

TPropertyAttributes TComponentProperty::GetAttributes() {
    return {paMultiSelect, paValueList, paSortList, paRevertable};
}

AnsiString TComponentProperty::GetValue() {
    auto* component = reinterpret_cast<vcl::TComponent*>(static_cast<intptr_t>(GetOrdValue()));
    if (!component) return AnsiString();
    return Designer() ? Designer()->GetComponentName(component) : component->GetName();
}

void TComponentProperty::SetValue(const AnsiString& Value) {
    vcl::TComponent* component = nullptr;
    if (!Value.empty()) {
        component = Designer() ? Designer()->GetComponent(Value) : nullptr;
        if (!component || !component->InheritsFrom(GetPropInfo()->PropClass)) invalidValue();
    }
    SetOrdValue(static_cast<int64_t>(reinterpret_cast<intptr_t>(component)));
}

void TComponentProperty::GetValues(const TGetStrProc& Proc) {
    if (Designer()) Designer()->GetComponentNames(GetPropInfo()->PropClass, Proc);
}

bool TComponentProperty::AllEqual() {
    return allSame(*this, [&](int i) { return GetOrdValueAt(i); });
}

// --- events --------------------------------------------------------------------------------------

TPropertyAttributes TMethodProperty::GetAttributes() {
    return {paMultiSelect, paValueList, paSortList, paRevertable};
}

AnsiString TMethodProperty::GetValue() {
    return GetMethodValue();
}

void TMethodProperty::SetValue(const AnsiString& Value) {
    const vcl::TPropInfo* event = GetPropInfo();
    if (!event->SetMethod)
        throw vcl::EPropReadOnly(vcl::LoadResString(vcl::rtlconsts::SReadOnlyProperty));
    if (!Value.empty() && !vcl::IsValidIdent(Value))
        throw vcl::EPropertyError(vcl::FmtLoadStr(consts::SInvalidMethodName, {Value}));
    std::any handler;
    if (!Value.empty())
        handler = Designer() ? Designer()->CreateMethod(Value, event)
                             : (event->EmptyHandler ? event->EmptyHandler() : std::any());
    for (int i = 0; i < PropCount(); ++i)
        event->SetMethod(GetComponent(i), handler, handler.has_value() ? Value : AnsiString());
    Modified();
}

void TMethodProperty::GetValues(const TGetStrProc& Proc) {
    if (Designer()) Designer()->GetMethods(GetPropInfo(), Proc);
}

bool TMethodProperty::AllEqual() {
    return allSame(*this, [&](int i) { return GetMethodValueAt(i); });
}

// --- building editors ----------------------------------------------------------------------------

// --- component editors ---------------------------------------------------------------------------

void TComponentEditor::Initialize(vcl::TComponent* Component, IDesigner* Designer) {
    component_ = Component;
    designer_ = Designer;
}

int TComponentEditor::GetVerbCount() {
    return 0;
}

AnsiString TComponentEditor::GetVerb(int) {
    return AnsiString();
}

void TComponentEditor::GetSubVerbs(int, const TGetStrProc&) {}

void TComponentEditor::ExecuteVerb(int, int) {}

void TComponentEditor::Edit() {
    if (GetVerbCount() == 0) return;
    bool submenu = false;
    GetSubVerbs(0, [&](const AnsiString&) { submenu = true; });
    if (!submenu) ExecuteVerb(0, -1);
}

void TComponentEditor::Modified() {
    if (designer_) designer_->Modified();
}

std::unique_ptr<TComponentEditor> GetComponentEditor(vcl::TComponent* Component,
                                                     IDesigner* Designer) {
    const vcl::TClass cls = GetComponentEditorClass(Component->ClassType());
    if (!cls) return nullptr;
    std::unique_ptr<TComponentEditor> editor(static_cast<TComponentEditor*>(cls->CreateObject()));
    editor->Initialize(Component, Designer);
    return editor;
}

std::unique_ptr<TPropertyEditor> CreatePropertyEditor(TPropertyEditorClass EditorClass,
                                                      IDesigner* Designer,
                                                      std::vector<TPersistent*> Selection,
                                                      const vcl::TPropInfo* Prop) {
    if (!EditorClass || !EditorClass->InheritsFrom(TPropertyEditor::StaticClass()) ||
        !EditorClass->CreateObject)
        throw vcl::EPropertyError(vcl::FmtLoadStr(
            consts::SNotAnEditorClass, {EditorClass ? EditorClass->ClassName : AnsiString()}));
    std::unique_ptr<TPropertyEditor> editor(
        static_cast<TPropertyEditor*>(EditorClass->CreateObject()));
    editor->Initialize(Designer, std::move(Selection), Prop);
    return editor;
}

TPropertyEditorList GetComponentProperties(const std::vector<TPersistent*>& Selection,
                                           IDesigner* Designer) {
    TPropertyEditorList list;
    if (Selection.empty()) return list;
    const vcl::TClass cls = Selection.front()->ClassType();
    for (const vcl::TPropInfo* prop : cls->GetProps()) {
        bool common = true;
        for (TPersistent* o : Selection)
            if (o->ClassType()->FindProp(prop->Name) != prop) common = false;
        if (!common) continue;
        auto editor = CreatePropertyEditor(GetEditorClass(prop, cls), Designer, Selection, prop);
        if (Selection.size() > 1 && !editor->GetAttributes().Contains(paMultiSelect)) continue;
        list.push_back(std::move(editor));
    }
    return list;
}

} // namespace designide
