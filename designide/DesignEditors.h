#pragma once
// Property editors: the objects through which an inspector shows and changes one published
// property of the selected components. TPropertyEditor is the base a package derives its own
// editors from; the others are the framework's editors for the platform's property kinds.
//
// An editor is created for a property of a selection (one or more objects of a class that has
// the property) and a designer; an inspector asks it for the attributes, the value text, the
// list of values, sub-properties, and calls SetValue or Edit. Every change is written into all
// selected objects and reported to the designer (Modified).

#include "designide/DesignIntf.h"

#include <memory>

namespace designide {

class TPropertyEditor;
using TPropertyEditorList = std::vector<std::unique_ptr<TPropertyEditor>>;

class TPropertyEditor : public vcl::TObject {
    VCL_DECLARE_CLASS(TPropertyEditor, vcl::TObject)
public:
    TPropertyEditor() = default;
    // Binds the editor to property Prop of the selected objects (at least one) and to the
    // designer that is told of changes (may be null).
    void Initialize(IDesigner* Designer, std::vector<vcl::TPersistent*> Selection,
                    const vcl::TPropInfo* Prop);

    // [paRevertable] by default.
    virtual TPropertyAttributes GetAttributes();
    // The value as the inspector shows it; "(unknown)" by default.
    virtual vcl::AnsiString GetValue();
    // Takes a value typed into the inspector; ignored by default.
    virtual void SetValue(const vcl::AnsiString& Value);
    // The values of the drop-down list, in order; none by default.
    virtual void GetValues(const TGetStrProc& Proc);
    // Called by the inspector's "..." button or a double click. By default it moves the value to
    // the next one of GetValues (after the last, the first); without a value list it does nothing.
    virtual void Edit();
    // Editors for the sub-properties (paSubProperties); none by default.
    virtual TPropertyEditorList GetProperties();
    // True when every selected object holds the same value.
    virtual bool AllEqual();

    // The property's name as the inspector lists it.
    virtual vcl::AnsiString GetName() const;
    vcl::TPersistent* GetComponent(int Index) const;
    int PropCount() const { return static_cast<int>(selection_.size()); }
    IDesigner* Designer() const { return designer_; }
    const vcl::TPropInfo* GetPropInfo() const { return prop_; }
    // Reports a change to the designer.
    void Modified();

    // Typed access to the property: Get… reads the first selected object, Get…At another one,
    // Set… writes every selected object, then calls Modified. The ordinal of an object property
    // is the object's address; setting it calls the property's setter or, for an object the
    // component owns, assigns the given object to it.
    int64_t GetOrdValue() const { return GetOrdValueAt(0); }
    int64_t GetOrdValueAt(int Index) const;
    void SetOrdValue(int64_t Value);
    vcl::AnsiString GetStrValue() const { return GetStrValueAt(0); }
    vcl::AnsiString GetStrValueAt(int Index) const;
    void SetStrValue(const vcl::AnsiString& Value);
    long double GetFloatValue() const { return GetFloatValueAt(0); }
    long double GetFloatValueAt(int Index) const;
    void SetFloatValue(long double Value);
    vcl::AnsiString GetMethodValue() const { return GetMethodValueAt(0); }
    vcl::AnsiString GetMethodValueAt(int Index) const;

protected:
    // The editors of Props of the given objects (the nested objects of a class property).
    TPropertyEditorList EditorsOf(const std::vector<vcl::TPersistent*>& Objects) const;

private:
    IDesigner* designer_ = nullptr;
    std::vector<vcl::TPersistent*> selection_;
    const vcl::TPropInfo* prop_ = nullptr;
};

// Integers; a type with named values (cursors, charsets) shows and lists its names.
class TIntegerProperty : public TPropertyEditor {
    VCL_DECLARE_CLASS(TIntegerProperty, TPropertyEditor)
public:
    TPropertyAttributes GetAttributes() override;
    vcl::AnsiString GetValue() override;
    // A number (decimal or $hex) or one of the names; otherwise EConvertError.
    void SetValue(const vcl::AnsiString& Value) override;
    void GetValues(const TGetStrProc& Proc) override;
    bool AllEqual() override;
};

// Colours: a colour constant's name (clRed, clBtnFace) or $00BBGGRR.
class TColorProperty : public TIntegerProperty {
    VCL_DECLARE_CLASS(TColorProperty, TIntegerProperty)
public:
    vcl::AnsiString GetValue() override;
};

// A character held as an integer (an edit box's PasswordChar): shown as the character itself,
// as #n for a control character and as nothing for none (0). Takes one character, #n or nothing.
class TCharProperty : public TIntegerProperty {
    VCL_DECLARE_CLASS(TCharProperty, TIntegerProperty)
public:
    vcl::AnsiString GetValue() override;
    void SetValue(const vcl::AnsiString& Value) override;
};

class TEnumProperty : public TPropertyEditor {
    VCL_DECLARE_CLASS(TEnumProperty, TPropertyEditor)
public:
    TPropertyAttributes GetAttributes() override;
    vcl::AnsiString GetValue() override;
    // One of the names (case-insensitive); otherwise EPropertyError "Invalid property value".
    void SetValue(const vcl::AnsiString& Value) override;
    void GetValues(const TGetStrProc& Proc) override;
    bool AllEqual() override;
};

// False and True, listed in that order; a double click flips the value.
class TBoolProperty : public TEnumProperty {
    VCL_DECLARE_CLASS(TBoolProperty, TEnumProperty)
};

// Sets: shown as "[akLeft,akTop]", with one True/False sub-property per member.
class TSetProperty : public TPropertyEditor {
    VCL_DECLARE_CLASS(TSetProperty, TPropertyEditor)
public:
    TPropertyAttributes GetAttributes() override;
    vcl::AnsiString GetValue() override;
    // "[name,name]" with names of members; otherwise EPropertyError "Invalid property value".
    void SetValue(const vcl::AnsiString& Value) override;
    TPropertyEditorList GetProperties() override;
    bool AllEqual() override;
};

// One member of a set: True when the set holds it.
class TSetElementProperty : public TPropertyEditor {
    VCL_DECLARE_CLASS(TSetElementProperty, TPropertyEditor)
public:
    TSetElementProperty() = default;
    explicit TSetElementProperty(int Element) : element_(Element) {}
    int Element() const { return element_; }
    TPropertyAttributes GetAttributes() override;
    vcl::AnsiString GetName() const override; // the member's name
    vcl::AnsiString GetValue() override;      // False or True
    void SetValue(const vcl::AnsiString& Value) override;
    void GetValues(const TGetStrProc& Proc) override;
    bool AllEqual() override;

private:
    int element_ = 0;
};

class TStringProperty : public TPropertyEditor {
    VCL_DECLARE_CLASS(TStringProperty, TPropertyEditor)
public:
    TPropertyAttributes GetAttributes() override;
    vcl::AnsiString GetValue() override;
    void SetValue(const vcl::AnsiString& Value) override;
    bool AllEqual() override;
};

// A component's Name: a string that is never set for several components at once.
class TComponentNameProperty : public TStringProperty {
    VCL_DECLARE_CLASS(TComponentNameProperty, TStringProperty)
public:
    TPropertyAttributes GetAttributes() override;
};

class TFloatProperty : public TPropertyEditor {
    VCL_DECLARE_CLASS(TFloatProperty, TPropertyEditor)
public:
    TPropertyAttributes GetAttributes() override;
    vcl::AnsiString GetValue() override;
    // A decimal number; otherwise EConvertError "'%s' is not a valid floating point value".
    void SetValue(const vcl::AnsiString& Value) override;
};

// An object the component owns (Font, Constraints, Items): "(TFont)", with its properties as
// sub-properties.
class TClassProperty : public TPropertyEditor {
    VCL_DECLARE_CLASS(TClassProperty, TPropertyEditor)
public:
    TPropertyAttributes GetAttributes() override;
    vcl::AnsiString GetValue() override;
    TPropertyEditorList GetProperties() override;
};

// Fonts: sub-properties, and a font dialog on Edit that assigns the chosen font to every
// selected component.
class TFontProperty : public TClassProperty {
    VCL_DECLARE_CLASS(TFontProperty, TClassProperty)
public:
    TPropertyAttributes GetAttributes() override;
    void Edit() override;
};

// A reference to another component of the designed form, by name; the list holds the form's
// components of the property's class.
class TComponentProperty : public TPropertyEditor {
    VCL_DECLARE_CLASS(TComponentProperty, TPropertyEditor)
public:
    TPropertyAttributes GetAttributes() override;
    vcl::AnsiString GetValue() override;
    // A component's name, or empty for none; an unknown name or a component of another class
    // raises EPropertyError "Invalid property value".
    void SetValue(const vcl::AnsiString& Value) override;
    void GetValues(const TGetStrProc& Proc) override;
    bool AllEqual() override;
};

// An event: the name of the form's method that handles it.
class TMethodProperty : public TPropertyEditor {
    VCL_DECLARE_CLASS(TMethodProperty, TPropertyEditor)
public:
    TPropertyAttributes GetAttributes() override;
    vcl::AnsiString GetValue() override;
    // A method name (an identifier) binds the designer's method of that name; empty clears the
    // event; anything else raises EPropertyError "'%s' is not a valid method name".
    void SetValue(const vcl::AnsiString& Value) override;
    void GetValues(const TGetStrProc& Proc) override;
    bool AllEqual() override;
};

// A component editor: the verbs a designer offers for one designed component, on its context
// menu and (the first verb) on a double click. A package derives its own and registers it for a
// component class with RegisterComponentEditor.
class TComponentEditor : public vcl::TObject {
    VCL_DECLARE_CLASS(TComponentEditor, vcl::TObject)
public:
    TComponentEditor() = default;
    void Initialize(vcl::TComponent* Component, IDesigner* Designer);

    // The verbs, in menu order; none by default.
    virtual int GetVerbCount();
    virtual vcl::AnsiString GetVerb(int Index);
    // The items of a verb that opens a submenu, in order; none by default (the verb runs itself).
    virtual void GetSubVerbs(int Index, const TGetStrProc& Proc);
    // Runs verb Index; SubIndex is the item chosen from its submenu, -1 for a verb without one.
    // A verb that changes the component calls Modified.
    virtual void ExecuteVerb(int Index, int SubIndex);
    // A double click: the first verb, when there is one without a submenu.
    virtual void Edit();

    vcl::TComponent* GetComponent() const { return component_; }
    IDesigner* Designer() const { return designer_; }
    void Modified();

private:
    vcl::TComponent* component_ = nullptr;
    IDesigner* designer_ = nullptr;
};

// Registers EditorClass (derived from TComponentEditor, creatable; otherwise EPropertyError) for
// components of ComponentClass and its descendants; the registration nearest to a component's
// class applies, the later one among equals.
void RegisterComponentEditor(vcl::TClass ComponentClass, vcl::TClass EditorClass);
// The editor of Component, or null when none is registered for its class or an ancestor.
std::unique_ptr<TComponentEditor> GetComponentEditor(vcl::TComponent* Component,
                                                     IDesigner* Designer);

// Creates an editor of class EditorClass for property Prop of the selection.
std::unique_ptr<TPropertyEditor> CreatePropertyEditor(TPropertyEditorClass EditorClass,
                                                      IDesigner* Designer,
                                                      std::vector<vcl::TPersistent*> Selection,
                                                      const vcl::TPropInfo* Prop);
// The editors of the published properties that every selected object has, in the declared order
// of the first one's class, each of the class GetEditorClass finds. With more than one object
// selected, only editors with paMultiSelect are kept.
TPropertyEditorList GetComponentProperties(const std::vector<vcl::TPersistent*>& Selection,
                                           IDesigner* Designer);

} // namespace designide
