#include "Keyboard.h"

#include "KeyDetail.h"
#include "vcl/Widgetset.h"

namespace quimbel {

using detail::KeyWatch;

TKeyLevel TKeyboard::GetKeyLevel() const {
    if (FShiftState || FCapsState) return klShift;
    if (FAltGrState) return klAltGr;
    return klNormal;
}

void TKeyboard::highlight(TKey* Key, bool On) {
    if (!Key->Control) return;
    Key->Control->GetFont()->SetColor(On ? FHighlightColor : Key->Font->GetColor());
}

void TKeyboard::KeyClick(vcl::TObject* Sender) {
    if (!Sender) vcl::RaiseInvalidCast();
    TKey* key = vcl::As<TKeyControl>(Sender)->Key;
    if (FBeepOnKeyPressed) vcl::Beep();
    if (!key) return; // a button that shows no key types nothing
    switch (key->KeyType) {
    case ktCapsLock:
        ToggleCapsState();
        return;
    case ktShift:
        if (FCapsState)
            ToggleCapsState();
        else
            SetShiftState();
        return;
    case ktAltGr:
        ToggleAltGrState();
        return;
    default:
        break;
    }
    const TKeyLevel level = GetKeyLevel();
    vcl::AnsiString value = key->GetKeyValue(level);
    if (FCharCase == vcl::ecUpperCase)
        value = vcl::UpperCase(value);
    else if (FCharCase == vcl::ecLowerCase)
        value = vcl::LowerCase(value);
    const auto alive = LifeToken();
    const KeyWatch watch(key);
    // Each step may run handlers that free the keyboard or the key.
    auto goOn = [&] { return *alive && watch.key; };
    if (OnKey) OnKey(this, key, level, value);
    if (!goOn()) return;
    DoLinkedControlAction(key);
    if (!goOn()) return;
    if (FShiftState && !FCapsState) ClearShiftState();
    if (!goOn()) return;
    if (FAltGrState) ToggleAltGrState();
}

void TKeyboard::SetShiftState() {
    if (FAltGrState) {
        const auto alive = LifeToken();
        ToggleAltGrState();
        if (!*alive) return; // a state handler freed the keyboard
    }
    if (FShiftState) {
        ClearShiftState();
        return;
    }
    for (int i = 0; i < FKeys->GetCount(); ++i) {
        TKey* key = FKeys->GetItem(i);
        if (key->KeyType == ktNormal && key->Control)
            key->Control->SetCaption(key->GetKeyCaption(klShift));
        else if (key->KeyType == ktShift && !FCapsState)
            highlight(key, true);
        else if (key->KeyType == ktCapsLock && FCapsState)
            highlight(key, true);
    }
    FShiftState = true;
    if (OnShiftStateChange) OnShiftStateChange(this, true);
}

void TKeyboard::ClearShiftState() {
    for (int i = 0; i < FKeys->GetCount(); ++i) {
        TKey* key = FKeys->GetItem(i);
        if (key->KeyType == ktNormal && key->Control)
            key->Control->SetCaption(key->GetKeyCaption(klNormal));
        else if (key->KeyType == ktShift || key->KeyType == ktCapsLock)
            highlight(key, false);
    }
    FShiftState = false;
    FCapsState = false;
    if (OnShiftStateChange) OnShiftStateChange(this, false);
}

void TKeyboard::ToggleCapsState() {
    const auto alive = LifeToken();
    if (FShiftState) {
        ClearShiftState();
    } else {
        FCapsState = true;
        SetShiftState();
    }
    if (*alive && OnCapsStateChange) OnCapsStateChange(this, FCapsState);
}

void TKeyboard::ToggleAltGrState() {
    if (FShiftState) {
        const auto alive = LifeToken();
        const bool capsWasOn = FCapsState;
        ClearShiftState();
        if (*alive && capsWasOn && OnCapsStateChange) OnCapsStateChange(this, false);
        if (!*alive) return; // a state handler freed the keyboard
    }
    const TKeyLevel target = FAltGrState ? klNormal : klAltGr;
    for (int i = 0; i < FKeys->GetCount(); ++i) {
        TKey* key = FKeys->GetItem(i);
        if (key->KeyType == ktNormal && key->Control)
            key->Control->SetCaption(key->GetKeyCaption(target));
        else if (key->KeyType == ktAltGr)
            highlight(key, target == klAltGr);
    }
    FAltGrState = !FAltGrState;
    if (OnAltGrStateChange) OnAltGrStateChange(this, FAltGrState);
}

void TKeyboard::DoLinkedControlAction(TKey* Key) {
    if (!FLinkedControl) return;
    auto keyDown = [this](unsigned vk) { FLinkedControl->Perform(vcl::WM_KEYDOWN, vk, 0); };
    auto character = [this](unsigned char ch) { FLinkedControl->Perform(vcl::WM_CHAR, ch, 0); };
    switch (Key->KeyType) {
    case ktNormal: {
        // The value is read once: a handler of the control may change the state meanwhile, or
        // free the control, the key or the keyboard, which ends the output.
        const vcl::AnsiString value = Key->GetKeyValue(GetKeyLevel());
        const auto alive = LifeToken();
        const KeyWatch watch(Key);
        for (char ch : value) {
            if (!*alive || !watch.key || !FLinkedControl) return;
            character(static_cast<unsigned char>(ch));
        }
        break;
    }
    case ktEscape:
        keyDown(vcl::VK_ESCAPE);
        break;
    case ktEnter:
        character(13);
        break;
    case KtTab:
        character(9);
        break;
    case ktBackspace:
        character(8);
        break;
    case ktInsert:
        keyDown(vcl::VK_INSERT);
        break;
    case ktDelete:
        keyDown(vcl::VK_DELETE);
        break;
    case ktHome:
        keyDown(vcl::VK_HOME);
        break;
    case ktEnd:
        keyDown(vcl::VK_END);
        break;
    case ktPageUp:
        keyDown(vcl::VK_PRIOR);
        break;
    case ktPageDown:
        keyDown(vcl::VK_NEXT);
        break;
    case ktLeft:
        keyDown(vcl::VK_LEFT);
        break;
    case ktRight:
        keyDown(vcl::VK_RIGHT);
        break;
    case ktUp:
        keyDown(vcl::VK_UP);
        break;
    case ktDown:
        keyDown(vcl::VK_DOWN);
        break;
    default:
        break; // modifiers and function keys send nothing
    }
}

} // namespace quimbel
