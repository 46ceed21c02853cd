#include "design/Compreg.h"

#include "design/Layoutproperty.h"
#include "designide/DesignIntf.h"
#include "runtime/Keyboard.h"
#include "runtime/Keyboardlayouteditor.h"

namespace quimbel {

void Register() {
    designide::RegisterComponents("Touch Screen", {TKeyboard::StaticClass()});
    designide::RegisterComponents("Touch Screen", {TKeyboardLayoutEditor::StaticClass()});
    designide::RegisterPropertyEditor(designide::TypeInfo<TKeyCollection>(),
                                      TKeyboard::StaticClass(), "Keys",
                                      TLayoutProperty::StaticClass());
    designide::RegisterPropertyEditor(designide::TypeInfo<vcl::TWinControl>(),
                                      TKeyboard::StaticClass(), "LinkedControl",
                                      TLinkedControlProperty::StaticClass());
    designide::RegisterComponentEditor(TKeyboard::StaticClass(), TKeyboardEditor::StaticClass());
}

} // namespace quimbel

void Compreg_Register() {
    quimbel::Register();
}
