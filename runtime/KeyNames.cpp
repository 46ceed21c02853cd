#include "Keyboard.h"

namespace quimbel {

vcl::AnsiString SpokenKeyName(TKeyType Type, const vcl::AnsiString& Value) {
    switch (Type) {
    case ktNormal:
        if (Value == " ") return "Space";
        if (Value == "\t") return "Tab";
        return "";
    case ktShift:
        return "Shift";
    case ktCapsLock:
        return "Caps Lock";
    case ktEscape:
        return "Escape";
    case ktAltGr:
        return "Alt Gr";
    case ktEnter:
        return "Enter";
    case KtTab:
        return "Tab";
    case ktBackspace:
        return "Backspace";
    case ktInsert:
        return "Insert";
    case ktDelete:
        return "Delete";
    case ktHome:
        return "Home";
    case ktEnd:
        return "End";
    case ktPageUp:
        return "Page up";
    case ktPageDown:
        return "Page down";
    case ktLeft:
        return "Left arrow";
    case ktRight:
        return "Right arrow";
    case ktUp:
        return "Up arrow";
    case ktDown:
        return "Down arrow";
    default:
        return "";
    }
}

bool TKeyControl::GetAccessibleInfo(vcl::TAccessibleInfo& Info) const {
    vcl::TSpeedButton::GetAccessibleInfo(Info);
    Info.Checkable = false;
    Info.Checked = false;
    if (!Key) return true;
    const auto* keyboard = dynamic_cast<const TKeyboard*>(GetParent());
    const TKeyLevel level = keyboard ? keyboard->GetKeyLevel() : klNormal;
    Info.SpokenName = SpokenKeyName(Key->KeyType, Key->GetKeyValue(level));
    if (!keyboard) return true;
    switch (Key->KeyType) {
    case ktShift:
        Info.Checkable = true;
        Info.Checked = keyboard->GetShiftState() && !keyboard->GetCapsState();
        break;
    case ktCapsLock:
        Info.Checkable = true;
        Info.Checked = keyboard->GetCapsState();
        break;
    case ktAltGr:
        Info.Checkable = true;
        Info.Checked = keyboard->GetAltGrState();
        break;
    default:
        break;
    }
    return true;
}

} // namespace quimbel
