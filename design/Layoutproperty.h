#pragma once
// Unit Layoutproperty: the property editor of TKeyboard's Keys. The inspector shows the value
// "TKeyCollection" with a button that opens the layout designer on the keyboard's own key
// collection; on closing, the keyboard rebuilds its buttons from it and the designer learns of
// the change.

#include "designide/DesignEditors.h"

namespace quimbel {

class TLayoutProperty : public designide::TPropertyEditor {
    VCL_DECLARE_CLASS(TLayoutProperty, designide::TPropertyEditor)
public:
    // Opens the layout designer modally. It edits the collection in place, so there is nothing
    // to cancel: however it is closed, the collection is written back into Keys (which rebuilds
    // the keyboard) and the designer is told. An exception while it is shown frees it and
    // passes on without the write-back. With LayoutDesignerOptions().SafeEditing a layout that
    // is the same as before (nothing changed, or Cancel) rebuilds the keyboard without telling
    // the designer, so that the form is not marked modified.
    void Edit() override;
    // [paDialog] only: a button, one keyboard at a time, no list, writable.
    designide::TPropertyAttributes GetAttributes() override;
    // "TKeyCollection", whatever the keys.
    vcl::AnsiString GetValue() override;
};

} // namespace quimbel
