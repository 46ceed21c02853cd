#include "design/Layoutproperty.h"

#include "design/Layoutf.h"
#include "runtime/Keyboard.h"

#include <memory>

namespace quimbel {

VCL_DEFINE_PLAIN_CLASS(TLayoutProperty, designide::TPropertyEditor)

void TLayoutProperty::Edit() {
    inherited::Edit();
    auto* Collection = reinterpret_cast<TKeyCollection*>(static_cast<intptr_t>(GetOrdValue()));
    {
        std::unique_ptr<TLayoutForm> Form(new TLayoutForm(nullptr, Collection));
        Form->ShowModal();
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
