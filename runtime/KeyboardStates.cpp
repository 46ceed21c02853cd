#include "Keyboard.h"

#include "KeyChars.h"
#include "KeyDetail.h"
#include "rtl/CodePage.h"
#include "vcl/Widgetset.h"

#include <cmath>
#include <cstdlib>

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
    case ktAltGr:
        modifierTap(key);
        return;
    default:
        break;
    }
    const TKeyLevel level = levelOf(key);
    const vcl::AnsiString value = reported(levelValue(key, level));
    const auto alive = LifeToken();
    const KeyWatch watch(key);
    // Each step may run handlers that free the keyboard or the key.
    auto goOn = [&] { return *alive && watch.key; };
    if (OnKey) OnKey(this, key, level, value);
    if (!goOn()) return;
    DoLinkedControlAction(key);
    if (!goOn()) return;
    releaseOneShot(key);
}

vcl::AnsiString TKeyboard::reported(const vcl::AnsiString& Value) const {
    if (FCharCase == vcl::ecUpperCase) return vcl::UpperCase(Value);
    if (FCharCase == vcl::ecLowerCase) return vcl::LowerCase(Value);
    return Value;
}

bool TKeyboard::releaseOneShot(const TKey* Key) {
    const auto alive = LifeToken();
    const KeyWatch watch(Key);
    auto goOn = [&] { return *alive && watch.key; };
    // A locked modifier, or one a finger still holds down, outlasts the key.
    for (TTouchPoint& p : FPoints)
        if (p.Held) p.TypedMeanwhile = true;
    if (FShiftState && !FCapsState && !FShiftLocked && FHeldShift == 0) ClearShiftState();
    if (!goOn()) return false;
    if (FAltGrState && !FAltGrLocked && FHeldAltGr == 0) ToggleAltGrState();
    return goOn();
}

void TKeyboard::modifierTap(TKey* Key) {
    const bool shift = Key->KeyType == ktShift;
    if (!FLatchModifiers) {
        if (!shift)
            ToggleAltGrState();
        else if (FCapsState)
            ToggleCapsState();
        else
            SetShiftState();
        return;
    }
    const long long now = clock().Now();
    const auto alive = LifeToken();
    auto doubleTap = [now](long long last) { return last >= 0 && now - last <= DoubleTapTime; };
    if (shift) {
        if (FCapsState) {
            ToggleCapsState();
            return;
        }
        if (FShiftLocked) {
            ClearShiftState(); // also unlocks
            return;
        }
        if (FShiftState && doubleTap(FLastShiftTap)) {
            FShiftLocked = true;
            FLastShiftTap = -1;
            showLocks();
            return;
        }
        SetShiftState();
        if (*alive) FLastShiftTap = FShiftState ? now : -1;
    } else {
        if (!FAltGrLocked && FAltGrState && doubleTap(FLastAltGrTap)) {
            FAltGrLocked = true;
            FLastAltGrTap = -1;
            showLocks();
            return;
        }
        ToggleAltGrState(); // also unlocks
        if (*alive) FLastAltGrTap = FAltGrState ? now : -1;
    }
}

void TKeyboard::showLocks() {
    for (int i = 0; i < FKeys->GetCount(); ++i) {
        TKey* key = FKeys->GetItem(i);
        if (!key->Control) continue;
        if (key->KeyType == ktShift && FShiftLocked)
            key->Control->SetHeld(true);
        else if (key->KeyType == ktAltGr && FAltGrLocked)
            key->Control->SetHeld(true);
        else if (key->KeyType == ktNormal && FShiftLocked)
            showCaption(key, klShift);
    }
}

TKeyLevel TKeyboard::levelOf(const TKey* Key) const {
    return shiftedLevel(Key, GetKeyLevel());
}

TKeyLevel TKeyboard::shiftedLevel(const TKey* Key, TKeyLevel Level) const {
    if (Level == klShift && ((FCapsState && FCapsLockLettersOnly) || FShiftLocked) &&
        !isLetterKey(Key))
        return klNormal;
    return Level;
}

bool TKeyboard::isLetterKey(const TKey* Key) const {
    const vcl::AnsiString value = Key->GetKeyValue(klNormal);
    return value.size() == 1 &&
           IsLetterChar(vcl::AnsiCharToUnicode(static_cast<unsigned char>(value[0])));
}

vcl::AnsiString TKeyboard::capsCapital(const TKey* Key, TKeyLevel Level) const {
    vcl::AnsiString capital;
    if (Level != klShift || !FCapsLockLettersOnly || !FCapsState || !isLetterKey(Key))
        return capital;
    const char32_t letter = vcl::AnsiCharToUnicode(
        static_cast<unsigned char>(Key->GetKeyValue(klNormal)[0]));
    const vcl::AnsiString shifted = Key->GetKeyValue(klShift);
    if (CapitalChar(letter) == letter || !vcl::AppendAnsiChar(capital, CapitalChar(letter)) ||
        capital == shifted)
        capital.clear();
    return capital;
}

vcl::AnsiString TKeyboard::levelValue(const TKey* Key, TKeyLevel Level) const {
    const vcl::AnsiString capital = capsCapital(Key, Level);
    return capital.empty() ? Key->GetKeyValue(shiftedLevel(Key, Level)) : capital;
}

vcl::AnsiString TKeyboard::levelCaption(const TKey* Key, TKeyLevel Level) const {
    const vcl::AnsiString capital = capsCapital(Key, Level);
    return capital.empty() ? Key->GetKeyCaption(shiftedLevel(Key, Level)) : capital;
}

void TKeyboard::showCaption(TKey* Key, TKeyLevel Level) {
    if (!Key->Control) return;
    Key->Control->SetCaption(levelCaption(Key, Level));
    if (FScaleCaptions) fitKeyCaption(Key);
}

void TKeyboard::fitKeyCaption(TKey* Key) {
    const double scale =
        Key->Height ? double(Key->Control->GetHeight()) / (Key->Height * PixelsPerUnit) : 1.0;
    fitCaption(Key->Control, Key->Font, scale);
}

void TKeyboard::fitCaption(vcl::TSpeedButton* Button, const vcl::TFont* Font, double Scale) {
    // The size keeps its sign: a negative one counts pixels rather than points.
    const int sign = Font->GetSize() < 0 ? -1 : 1;
    int size = std::max(1, static_cast<int>(std::lround(std::abs(Font->GetSize()) * Scale)));
    vcl::TFont* font = Button->GetFont();
    font->SetSize(sign * size);
    const vcl::AnsiString caption = Button->GetCaption();
    if (caption.empty()) return;
    // A button leaves a little room around its caption.
    const int room = Button->GetWidth() - 4, height = Button->GetHeight() - 2;
    while (size > 1) {
        const vcl::TSize extent = vcl::Widgetset()->TextExtent(font, caption);
        if (extent.cx <= room && extent.cy <= height) break;
        font->SetSize(sign * --size);
    }
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
        if (key->KeyType == ktNormal)
            showCaption(key, klShift);
        else if (key->KeyType == ktShift && !FCapsState)
            highlight(key, true);
        else if (key->KeyType == ktCapsLock && FCapsState)
            highlight(key, true);
    }
    FShiftState = true;
    if (OnShiftStateChange) OnShiftStateChange(this, true);
}

void TKeyboard::ClearShiftState() {
    const bool wasLocked = FShiftLocked;
    FShiftLocked = false;
    for (int i = 0; i < FKeys->GetCount(); ++i) {
        TKey* key = FKeys->GetItem(i);
        if (key->KeyType == ktNormal) {
            showCaption(key, klNormal);
        } else if (key->KeyType == ktShift || key->KeyType == ktCapsLock) {
            highlight(key, false);
            if (wasLocked && key->Control) key->Control->SetHeld(false);
        }
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
    const bool wasLocked = FAltGrLocked;
    FAltGrLocked = false;
    for (int i = 0; i < FKeys->GetCount(); ++i) {
        TKey* key = FKeys->GetItem(i);
        if (key->KeyType == ktNormal) {
            showCaption(key, target);
        } else if (key->KeyType == ktAltGr) {
            highlight(key, target == klAltGr);
            if (wasLocked && key->Control) key->Control->SetHeld(false);
        }
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
        const vcl::AnsiString value = TypedValue(Key);
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
