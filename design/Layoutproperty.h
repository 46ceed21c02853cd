#pragma once
// Unit Layoutproperty: the design-time editors of TKeyboard. The property editor of Keys: the
// inspector shows the value "TKeyCollection" with a button that opens the layout designer on the
// keyboard's own key collection; on closing, the keyboard rebuilds its buttons from it and the
// designer learns of the change. The property editor of LinkedControl, and the component editor
// with the keyboard's verbs.

#include "designide/DesignEditors.h"

namespace quimbel {

class TLayoutProperty : public designide::TPropertyEditor {
    VCL_DECLARE_CLASS(TLayoutProperty, designide::TPropertyEditor)
public:
    // Opens the layout designer modally. It edits the collection in place, so there is nothing
    // to cancel: however it is closed, the collection is written back into Keys (which rebuilds
    // the keyboard) and the designer is told. An exception while it is shown frees it and
    // passes on without the write-back. With EnvironmentOptions().SafeEditingInDesigners a layout that
    // is the same as before (nothing changed, or Cancel) rebuilds the keyboard without telling
    // the designer, so that the form is not marked modified.
    void Edit() override;
    // [paDialog] only: a button, one keyboard at a time, no list, writable.
    designide::TPropertyAttributes GetAttributes() override;
    // "TKeyCollection", whatever the keys.
    vcl::AnsiString GetValue() override;
};

// LinkedControl lists the form's windowed controls but the form and the keyboard itself: the
// keyboard types into neither.
class TLinkedControlProperty : public designide::TComponentProperty {
    VCL_DECLARE_CLASS(TLinkedControlProperty, designide::TComponentProperty)
public:
    void GetValues(const designide::TGetStrProc& Proc) override;
};

// The verbs of a designed keyboard: "Edit Keys..." (the layout designer, also on a double
// click), "Load Built-in Layout" with every built-in layout as its submenu, "Load Layout
// File..." and "Save Layout As...". A built-in layout's code page becomes the active one, so
// that its captions show; a file that cannot be read or written raises its error.
class TKeyboardEditor : public designide::TComponentEditor {
    VCL_DECLARE_CLASS(TKeyboardEditor, designide::TComponentEditor)
public:
    enum { EditKeysVerb, BuiltInVerb, LoadFileVerb, SaveFileVerb, VerbCount };
    int GetVerbCount() override { return VerbCount; }
    vcl::AnsiString GetVerb(int Index) override;
    void GetSubVerbs(int Index, const designide::TGetStrProc& Proc) override;
    void ExecuteVerb(int Index, int SubIndex) override;
};

} // namespace quimbel
