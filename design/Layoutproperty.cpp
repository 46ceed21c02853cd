#include "design/Layoutproperty.h"

#include "design/Layoutf.h"
#include "runtime/Keyboard.h"

#include <memory>

namespace quimbel {

VCL_DEFINE_PLAIN_CLASS(TLayoutProperty, designide::TPropertyEditor)

void TLayoutProperty::Edit() {
    inherited::Edit();
    auto* Collection = reinterpret_cast<TKeyCollection*>(static_cast<intptr_t>(GetOrdValue()));
    const TLayoutBytes before = LayoutBytes(*Collection);
    {
        std::unique_ptr<TLayoutForm> Form(new TLayoutForm(nullptr, Collection));
        Form->ShowModal();
    }
    // A layout that leaves the window as it came in is no change of the form: the keyboard
    // only gets its buttons back.
    auto* keyboard = dynamic_cast<TKeyboard*>(GetComponent(0));
    if (LayoutDesignerOptions().SafeEditing && keyboard && keyboard->GetKeys() == Collection &&
        LayoutBytes(*Collection) == before) {
        keyboard->SetKeys(Collection);
        return;
    }
    SetOrdValue(reinterpret_cast<intptr_t>(Collection));
}

designide::TPropertyAttributes TLayoutProperty::GetAttributes() {
    return designide::TPropertyAttributes{designide::paDialog};
}

vcl::AnsiString TLayoutProperty::GetValue() {
    return "TKeyCollection";
}

} // namespace quimbel
