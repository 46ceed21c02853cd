// Typing on a touch screen: one key per finger, key repeat, the long-press row of alternates,
// the preview of a held key, and the options that switch them on.

#include "Keyboard.h"

#include "KeyChars.h"
#include "KeyDetail.h"
#include "vcl/Widgetset.h"

#include <limits>

namespace quimbel {

using detail::KeyWatch;

namespace {

class TWidgetsetClock : public TKeyClock {
public:
    long long Now() override { return vcl::TickCount(); }
    std::shared_ptr<void> Start(int Ms, std::function<void()> Fire) override {
        return vcl::Widgetset()->StartTimer(Ms, std::move(Fire));
    }
};

bool repeats(TKeyType Type) {
    switch (Type) {
    case ktNormal:
    case ktBackspace:
    case ktDelete:
    case ktLeft:
    case ktRight:
    case ktUp:
    case ktDown:
        return true;
    default:
        return false;
    }
}

// The touch point of the mouse; the widgetset numbers fingers from 0. A point without a key
// and the id MouseClickTaken stands between the release of a mouse that typed its key and the
// button's click, which then types nothing.
constexpr int MousePoint = std::numeric_limits<int>::min();
constexpr int MouseClickTaken = MousePoint + 1;

// The name of the frame behind the long-press row.
const char* const AlternateFrame = "AlternateFrame";

bool contains(const vcl::TControl* Control, int X, int Y) {
    return X >= Control->GetLeft() && X < Control->GetLeft() + Control->GetWidth() &&
           Y >= Control->GetTop() && Y < Control->GetTop() + Control->GetHeight();
}

} // namespace

void TKeyboard::SetMultiTouch(bool Value) {
    if (FMultiTouch == Value) return;
    FMultiTouch = Value;
    if (!Value) forgetTouches();
    PeerChanged(vcl::pcAppearance);
}

void TKeyboard::SetScaleCaptions(bool Value) {
    if (FScaleCaptions == Value) return;
    FScaleCaptions = Value;
    if (Value) {
        ResizeKeyboard();
        return;
    }
    for (int i = 0; i < FKeys->GetCount(); ++i) {
        TKey* key = FKeys->GetItem(i);
        if (key->Control) key->Control->GetFont()->SetSize(key->Font->GetSize());
    }
}

void TKeyboard::SetCapsLockLettersOnly(bool Value) {
    if (FCapsLockLettersOnly == Value) return;
    FCapsLockLettersOnly = Value;
    if (!FCapsState) return;
    for (int i = 0; i < FKeys->GetCount(); ++i)
        if (FKeys->GetItem(i)->KeyType == ktNormal) showCaption(FKeys->GetItem(i), klShift);
}

void TKeyboard::SetKeyPreview(bool Value) {
    FKeyPreview = Value;
    if (!Value) hidePreview();
}

void TKeyboard::SetClock(TKeyClock* Clock) {
    FTimer.reset();
    FAssistTimer.reset();
    FClock = Clock;
    schedule();
    assistChanged();
}

TKeyClock& TKeyboard::clock() {
    if (FClock) return *FClock;
    if (!FOwnClock) FOwnClock = std::make_unique<TWidgetsetClock>();
    return *FOwnClock;
}

vcl::AnsiString TKeyboard::KeyAlternates(const TKey* Key, TKeyLevel Level) const {
    if (Key->Alternates) return *Key->Alternates;
    if (Key->KeyType != ktNormal) return {};
    return FindAlternates(Key->GetKeyValue(Level));
}

TKeyboard::TTouchPoint* TKeyboard::point(int Id) {
    for (TTouchPoint& p : FPoints)
        if (p.Id == Id) return &p;
    return nullptr;
}

// The topmost visible, enabled key button under the point.
TKey* TKeyboard::keyAt(int X, int Y) const {
    for (int i = FKeys->GetCount() - 1; i >= 0; --i) {
        TKey* key = FKeys->GetItem(i);
        const TKeyControl* button = key->Control;
        if (button && button->GetVisible() && button->GetEnabled() && contains(button, X, Y))
            return key;
    }
    return nullptr;
}

void TKeyboard::InputTouch(vcl::TTouchKind Kind, int Id, int X, int Y) {
    if (!FMultiTouch) return;
    switch (Kind) {
    case vcl::tkDown:
        touchDown(Id, X, Y);
        break;
    case vcl::tkMove:
        if (TTouchPoint* p = point(Id)) touchMove(*p, X, Y);
        break;
    case vcl::tkUp:
    case vcl::tkCancel:
        touchUp(Id, X, Y, Kind == vcl::tkCancel);
        break;
    }
}

void TKeyboard::touchDown(int Id, int X, int Y) {
    // While a row of alternates is open, the finger that opened it alone decides.
    if (point(Id) || !FAlternateKeys.empty()) return;
    TKey* key = keyAt(X, Y);
    FPoints.push_back({});
    FPoints.back().Id = Id;
    FPoints.back().Key = key;
    if (!key) return;
    const auto alive = LifeToken();
    const KeyWatch watch(key);
    if (OnKeyPressed) OnKeyPressed(this, key);
    TTouchPoint* p = *alive && watch.key ? point(Id) : nullptr;
    if (!p || !key->Control) return;
    key->Control->SetHeld(true);
    if (key->KeyType == ktShift || key->KeyType == ktAltGr) {
        // The modifier acts now, so that it applies to the keys other fingers tap meanwhile.
        p->Held = true;
        ++(key->KeyType == ktShift ? FHeldShift : FHeldAltGr);
        if (FBeepOnKeyPressed) vcl::Beep();
        modifierTap(key);
        return;
    }
    if (FKeyPreview && key->KeyType == ktNormal) showPreview(key);
    if (holdActs(key)) {
        p->NextAt = clock().Now() + FRepeatDelay;
        schedule();
    }
}

bool TKeyboard::holdActs(const TKey* Key) const {
    return (FLongPressAlternates && !KeyAlternates(Key, levelOf(Key)).empty()) ||
           (FKeyRepeat && repeats(Key->KeyType));
}

void TKeyboard::mouseDown(TKey* Key) {
    mouseTookClick();
    if (point(MousePoint) || !FAlternateKeys.empty() || !holdActs(Key)) return;
    TTouchPoint p;
    p.Id = MousePoint;
    p.Key = Key;
    p.NextAt = clock().Now() + FRepeatDelay;
    FPoints.push_back(p);
    schedule();
}

void TKeyboard::mouseMove(const TKeyControl* Button, int X, int Y) {
    if (TTouchPoint* p = point(MousePoint))
        touchMove(*p, X + Button->GetLeft(), Y + Button->GetTop());
}

void TKeyboard::mouseUp(const TKeyControl* Button, int X, int Y) {
    const TTouchPoint* p = point(MousePoint);
    if (!p) return;
    // The button clicks after this when the mouse is released over it.
    if ((p->Acted || p->Popup) && X >= 0 && Y >= 0 && X < Button->GetWidth() &&
        Y < Button->GetHeight()) {
        FPoints.push_back({});
        FPoints.back().Id = MouseClickTaken;
    }
    touchUp(MousePoint, X + Button->GetLeft(), Y + Button->GetTop(), false);
}

bool TKeyboard::mouseTookClick() {
    const TTouchPoint* taken = point(MouseClickTaken);
    if (!taken) return false;
    FPoints.erase(FPoints.begin() + (taken - FPoints.data()));
    return true;
}

void TKeyboard::touchMove(TTouchPoint& P, int X, int Y) {
    if (!P.Popup) return;
    P.Chosen = -1;
    for (size_t i = 0; i < FAlternateKeys.size(); ++i) {
        const bool under = contains(FAlternateKeys[i], X, Y);
        if (under) P.Chosen = static_cast<int>(i);
        FAlternateKeys[i]->SetHeld(under);
    }
}

void TKeyboard::touchUp(int Id, int X, int Y, bool Cancel) {
    TTouchPoint* found = point(Id);
    if (!found) return;
    const TTouchPoint p = *found;
    FPoints.erase(FPoints.begin() + (found - FPoints.data()));
    TKey* key = p.Key;
    if (!key || !key->Control) return;
    // A locked modifier stays shown down.
    if (!(key->KeyType == ktShift && FShiftLocked) && !(key->KeyType == ktAltGr && FAltGrLocked))
        key->Control->SetHeld(false);
    updatePreview();
    schedule();
    if (p.Held) {
        // A modifier held while another finger typed ends with its finger; a plain tap leaves
        // it on for the next key, as a click does.
        int& held = key->KeyType == ktShift ? FHeldShift : FHeldAltGr;
        --held;
        if (p.TypedMeanwhile && held == 0) {
            if (key->KeyType == ktShift && FShiftState && !FCapsState && !FShiftLocked)
                ClearShiftState();
            else if (key->KeyType == ktAltGr && FAltGrState && !FAltGrLocked)
                ToggleAltGrState();
        }
        return;
    }
    if (p.Popup) {
        const vcl::AnsiString chars = FAlternateChars;
        closeAlternates();
        if (!Cancel && p.Chosen >= 0)
            typeValue(key, p.Level, chars.substr(static_cast<size_t>(p.Chosen), 1), true);
        return;
    }
    // A finger lifted off its key types nothing, as the mouse released elsewhere does; the
    // mouse's own click is the button's.
    if (Cancel || p.Acted || Id == MousePoint || !contains(key->Control, X, Y)) return;
    KeyClick(key->Control);
}

void TKeyboard::schedule() {
    long long next = -1;
    for (const TTouchPoint& p : FPoints)
        if (p.NextAt >= 0 && (next < 0 || p.NextAt < next)) next = p.NextAt;
    if (next < 0) {
        FTimer.reset();
        return;
    }
    const long long wait = std::max(0LL, next - clock().Now());
    FTimer = clock().Start(static_cast<int>(wait), [this] { timerFired(); });
}

void TKeyboard::timerFired() {
    const long long now = clock().Now();
    std::vector<int> due;
    for (const TTouchPoint& p : FPoints)
        if (p.NextAt >= 0 && p.NextAt <= now) due.push_back(p.Id);
    const auto alive = LifeToken();
    for (int id : due) {
        TTouchPoint* p = point(id); // handlers may have ended touches meanwhile
        if (!p || !p->Key || !p->Key->Control) continue;
        TKey* key = p->Key;
        if (!p->Acted && FLongPressAlternates && !KeyAlternates(key, levelOf(key)).empty()) {
            p->NextAt = -1;
            openAlternates(*p);
            continue;
        }
        // After a stall of the event loop the repeats go on at their rate rather than in a burst.
        p->NextAt = std::max(p->NextAt + std::max(1, 1000 / FRepeatRate), now + 1);
        if (!p->Acted) {
            // The first action is a whole click; the repeats type what it typed, even once it
            // has released a one-shot Shift.
            p->Acted = true;
            p->Level = levelOf(key);
            KeyClick(key->Control);
        } else {
            const TKeyLevel level = p->Level;
            typeValue(key, level, levelValue(key, level), false);
        }
        if (!*alive) return;
    }
    schedule();
}

void TKeyboard::openAlternates(TTouchPoint& P) {
    hidePreview();
    TKey* key = P.Key;
    P.Level = levelOf(key);
    FAlternateChars = KeyAlternates(key, P.Level);
    P.Popup = true;
    P.Chosen = -1;
    const TKeyControl* button = key->Control;
    const int w = button->GetWidth(), h = button->GetHeight();
    const int count = static_cast<int>(FAlternateChars.size());
    // A row of keys of the key's size in a frame standing on the key, kept inside the keyboard,
    // so that it reads as one popup and not as keys of the layout.
    const int pad = std::max(2, h / 12);
    const int left =
        std::max(pad, std::min(button->GetLeft(), GetClientWidth() - count * w - pad));
    const int top = std::max(pad, button->GetTop() - h - pad);
    auto* frame = new vcl::TShape(this);
    frame->SetName(AlternateFrame);
    frame->SetParent(this);
    frame->SetBounds(left - pad, top - pad, count * w + 2 * pad, h + 2 * pad);
    frame->GetPen()->SetColor(vcl::cl3DDkShadow);
    frame->GetPen()->SetWidth(std::max(1, pad / 2));
    frame->GetBrush()->SetColor(vcl::clBtnShadow);
    for (int i = 0; i < count; ++i) {
        auto* alternate = new vcl::TSpeedButton(this);
        alternate->SetName("AlternateKey" + std::to_string(i + 1));
        alternate->SetParent(this);
        alternate->SetBounds(left + i * w, top, w, h);
        alternate->GetFont()->Assign(button->GetFont());
        alternate->SetCaption(FAlternateChars.substr(static_cast<size_t>(i), 1));
        FAlternateKeys.push_back(alternate);
    }
}

void TKeyboard::closeAlternates() {
    std::vector<vcl::TSpeedButton*> keys;
    keys.swap(FAlternateKeys);
    for (vcl::TSpeedButton* alternate : keys)
        delete alternate;
    delete FindComponent(AlternateFrame);
    FAlternateChars.clear();
}

void TKeyboard::showPreview(TKey* Key) {
    const TKeyControl* button = Key->Control;
    if (!FPreview) {
        FPreview = new vcl::TSpeedButton(this);
        FPreview->SetName("PreviewKey");
        FPreview->SetParent(this);
    }
    // Half as large again, standing on the key so that the finger does not hide it.
    const int w = button->GetWidth() * 3 / 2, h = button->GetHeight() * 3 / 2;
    const int left = button->GetLeft() + (button->GetWidth() - w) / 2;
    FPreview->SetBounds(std::max(0, std::min(left, GetClientWidth() - w)),
                        std::max(0, button->GetTop() - h), w, h);
    FPreview->GetFont()->Assign(button->GetFont());
    FPreview->GetFont()->SetSize(button->GetFont()->GetSize() * 3 / 2);
    FPreview->SetCaption(button->GetCaption());
    FPreview->BringToFront();
    FPreview->SetVisible(true);
}

void TKeyboard::updatePreview() {
    TKey* shown = nullptr;
    for (const TTouchPoint& p : FPoints)
        if (p.Id != MousePoint && p.Key && p.Key->Control && p.Key->KeyType == ktNormal &&
            !p.Popup)
            shown = p.Key;
    if (FKeyPreview && shown)
        showPreview(shown);
    else
        hidePreview();
}

void TKeyboard::hidePreview() {
    if (FPreview) FPreview->SetVisible(false);
}

void TKeyboard::forgetTouches() {
    closeAlternates();
    hidePreview();
    FPoints.clear();
    FHeldShift = 0;
    FHeldAltGr = 0;
    FTimer.reset();
}

bool TKeyboard::typeValue(TKey* Key, TKeyLevel Level, const vcl::AnsiString& Value, bool Release) {
    const auto alive = LifeToken();
    const KeyWatch watch(Key);
    auto goOn = [&] { return *alive && watch.key; };
    if (OnKey) OnKey(this, Key, Level, reported(Value));
    if (!goOn()) return false;
    if (Key->KeyType != ktNormal) {
        DoLinkedControlAction(Key);
    } else {
        for (char ch : Value) {
            if (!goOn() || !FLinkedControl) break;
            FLinkedControl->Perform(vcl::WM_CHAR, static_cast<unsigned char>(ch), 0);
        }
    }
    if (!goOn()) return false;
    return !Release || releaseOneShot(Key);
}

} // namespace quimbel
