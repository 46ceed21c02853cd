#include "Keyboard.h"

#include "KeyDetail.h"
#include "KeyboardGeometry.h"
#include "QuimbelConsts.h"
#include "rtl/SysUtils.h"
#include "vcl/Publish.h"

namespace quimbel {

VCL_DEFINE_CLASS(TKeyboard, vcl::TCustomPanel, c) {
    using namespace vcl;
    c.Enum("BevelOuter", TBevelCutInfo, &TKeyboard::GetBevelOuter, &TKeyboard::SetBevelOuter)
        .Default(bvRaised);
    c.Enum("BevelInner", TBevelCutInfo, &TKeyboard::GetBevelInner, &TKeyboard::SetBevelInner)
        .Default(bvNone);
    c.Int("BevelWidth", &TKeyboard::GetBevelWidth, &TKeyboard::SetBevelWidth).Default(1);
    c.Enum("BorderStyle", TBorderStyleInfo, &TKeyboard::GetBorderStyle, &TKeyboard::SetBorderStyle)
        .Default(bsNone);
    c.Int("BorderWidth", &TKeyboard::GetBorderWidth, &TKeyboard::SetBorderWidth).Default(0);
    publish::Color(c, clBtnFace);
    publish::Enabled(c);
    c.Enum("CharCase", TEditCharCaseInfo, &TKeyboard::GetCharCase, &TKeyboard::SetCharCase)
        .Default(ecNormal);
    c.Bool("BeepOnKeyPressed", &TKeyboard::GetBeepOnKeyPressed, &TKeyboard::SetBeepOnKeyPressed)
        .Default(false);
    c.Object<TWinControl>("LinkedControl", &TKeyboard::GetLinkedControl,
                          &TKeyboard::SetLinkedControl);
    c.Int("HighlightColor", &TKeyboard::GetHighlightColor, &TKeyboard::SetHighlightColor)
        .Idents(ColorIdents);
    c.Bool("ShiftState", &TKeyboard::GetShiftState).NotStored();
    c.Bool("CapsState", &TKeyboard::GetCapsState).NotStored();
    c.Bool("AltGrState", &TKeyboard::GetAltGrState).NotStored();
    c.Enum("KeyLevel", TypeInfoKeyLevel, &TKeyboard::GetKeyLevel).NotStored();
    c.Object<TKeyCollection>("Keys", &TKeyboard::GetKeys, &TKeyboard::SetKeys);
    c.Event("OnKey", &TKeyboard::OnKey);
    c.Event("OnShiftStateChange", &TKeyboard::OnShiftStateChange);
    c.Event("OnCapsStateChange", &TKeyboard::OnCapsStateChange);
    c.Event("OnAltGrStateChange", &TKeyboard::OnAltGrStateChange);
    // Touch typing options, off and unstored at their defaults, so that existing forms and
    // layouts stream as they always did.
    c.Bool("KeyRepeat", &TKeyboard::GetKeyRepeat, &TKeyboard::SetKeyRepeat).Default(false);
    c.Int("RepeatDelay", &TKeyboard::GetRepeatDelay, &TKeyboard::SetRepeatDelay).Default(500);
    c.Int("RepeatRate", &TKeyboard::GetRepeatRate, &TKeyboard::SetRepeatRate).Default(20);
    c.Bool("LongPressAlternates", &TKeyboard::GetLongPressAlternates,
           &TKeyboard::SetLongPressAlternates)
        .Default(false);
    c.Bool("MultiTouch", &TKeyboard::GetMultiTouch, &TKeyboard::SetMultiTouch).Default(false);
    c.Bool("ScaleCaptions", &TKeyboard::GetScaleCaptions, &TKeyboard::SetScaleCaptions)
        .Default(false);
    c.Bool("LatchModifiers", &TKeyboard::GetLatchModifiers, &TKeyboard::SetLatchModifiers)
        .Default(false);
    c.Bool("CapsLockLettersOnly", &TKeyboard::GetCapsLockLettersOnly,
           &TKeyboard::SetCapsLockLettersOnly)
        .Default(false);
    c.Bool("KeyPreview", &TKeyboard::GetKeyPreview, &TKeyboard::SetKeyPreview).Default(false);
    c.Event("OnKeyPressed", &TKeyboard::OnKeyPressed);
    c.Enum("SwitchScanning", TypeInfoSwitchScanning, &TKeyboard::GetSwitchScanning,
           &TKeyboard::SetSwitchScanning)
        .Default(ssNone);
    c.Int("ScanInterval", &TKeyboard::GetScanInterval, &TKeyboard::SetScanInterval)
        .Default(1000);
    c.Int("DwellTime", &TKeyboard::GetDwellTime, &TKeyboard::SetDwellTime).Default(0);
    c.Enum("Theme", TThemeInfo, &TKeyboard::GetTheme, &TKeyboard::SetTheme).Default(thClassic);
    c.Int("SwitchKey", &TKeyboard::GetSwitchKey, &TKeyboard::SetSwitchKey).Default(VK_SPACE);
    c.Int("MoveSwitchKey", &TKeyboard::GetMoveSwitchKey, &TKeyboard::SetMoveSwitchKey)
        .Default(VK_RETURN);
    c.Enum("SwitchButton", TypeInfoSwitchButton, &TKeyboard::GetSwitchButton,
           &TKeyboard::SetSwitchButton)
        .Default(sbLeft);
    c.Enum("MoveSwitchButton", TypeInfoSwitchButton, &TKeyboard::GetMoveSwitchButton,
           &TKeyboard::SetMoveSwitchButton)
        .Default(sbRight);
}

TKeyboard::TKeyboard(vcl::TComponent* AOwner)
    : vcl::TCustomPanel(AOwner), FScanner(std::make_unique<TKeyScanner>(this)) {
    FShiftState = false;
    FCapsState = false;
    FAltGrState = false;
    FHighlightColor = vcl::clRed;
    SetBevelOuter(vcl::bvNone);
    SetBevelInner(vcl::bvNone);
    // No collection exists yet, so these size changes lay nothing out.
    SetHeight(80);
    SetWidth(400);
    FKeys = new TKeyCollection();
    CreateControls();
}

TKeyboard::~TKeyboard() {
    FTimer.reset();
    FAssistTimer.reset();
    FKeyHook.reset();
    SendFreeNotifications();
    delete FKeys;
    FKeys = nullptr;
}

void TKeyboard::SetKeys(TKeyCollection* Value) {
    if (!Value) Value = new TKeyCollection(); // a keyboard always has a layout, maybe empty
    TKeyCollection* previous = FKeys;
    FKeys = Value;
    ReCreateControls();
    if (previous != Value) delete previous;
    ResizeKeyboard();
}

void TKeyboard::SetHighlightColor(vcl::TColor Value) {
    FHighlightColor = Value;
    applyLook();
}

void TKeyboard::SetTheme(vcl::TTheme Value) {
    FTheme = Value;
    applyLook();
}

void TKeyboard::SetThemeColors(const vcl::TThemeColors& Value) {
    FThemeColors = Value;
    applyLook();
}

void TKeyboard::applyLook() {
    // A classic keyboard carries no look at all, so it paints exactly as it always did.
    vcl::TLook look;
    if (FTheme != vcl::thClassic) look = {FTheme, FThemeColors, FHighlightColor};
    SetLook(look);
}

void TKeyboard::SetLinkedControl(vcl::TWinControl* Value) {
    if (Value == this) Value = nullptr;
    if (FLinkedControl == Value) return;
    if (FLinkedControl) FLinkedControl->RemoveFreeNotification(this);
    FLinkedControl = Value;
    if (FLinkedControl) FLinkedControl->FreeNotification(this);
}

void TKeyboard::Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) {
    vcl::TCustomPanel::Notification(AComponent, Operation);
    if (Operation == vcl::opRemove && AComponent == FLinkedControl) FLinkedControl = nullptr;
}

void TKeyboard::ReCreateControls() {
    FreeAllControls();
    CreateControls();
}

void TKeyboard::ReCreateKeys() {
    ReCreateControls();
}

void TKeyboard::CreateControls() {
    if (!FKeys) return;
    for (int i = 0; i < FKeys->GetCount(); ++i) {
        TKey* key = FKeys->GetItem(i);
        auto* button = new TKeyControl(this);
        button->SetParent(this);
        button->OnClick = [this](vcl::TObject* Sender) {
            // A held mouse that repeated the key or chose an alternate has typed already.
            if (!mouseTookClick()) KeyClick(Sender);
        };
        // A press of the mouse is the moment the key goes down, as a finger's touch is.
        button->OnMouseDown = [this](vcl::TObject* Sender, vcl::TMouseButton Button,
                                     vcl::TShiftState, int, int) {
            auto* pressed = static_cast<TKeyControl*>(Sender);
            if (Button != vcl::mbLeft || !pressed->Key) return;
            const auto alive = pressed->LifeToken();
            if (OnKeyPressed) OnKeyPressed(this, pressed->Key);
            if (*alive && pressed->Key) mouseDown(pressed->Key);
        };
        button->OnMouseMove = [this](vcl::TObject* Sender, vcl::TShiftState, int X, int Y) {
            auto* over = static_cast<TKeyControl*>(Sender);
            // Dwell follows the key under the pointer, not one that holds the mouse's capture.
            if (GetDwellTime() > 0 && vcl::GetMouseControl() == over) {
                // Time given to dwell on the way may press a key whose handler rebuilds the keys.
                const auto alive = over->LifeToken();
                dwellOver(over);
                if (!*alive) return;
            }
            mouseMove(over, X, Y);
        };
        button->OnMouseLeave = [this](vcl::TObject*) {
            if (GetDwellTime() > 0) dwellOver(nullptr);
        };
        button->TakeMessage = [this](const vcl::TMessage& Message) {
            return switchButton(Message);
        };
        button->OnMouseUp = [this](vcl::TObject* Sender, vcl::TMouseButton Button,
                                   vcl::TShiftState, int X, int Y) {
            if (Button == vcl::mbLeft) mouseUp(static_cast<TKeyControl*>(Sender), X, Y);
        };
        key->AssignControl(button);
    }
}

void TKeyboard::FreeAllControls() {
    forgetTouches(); // the fingers' keys lose their buttons
    // From the last, so that each button leaves the lists at their end.
    for (int i = GetComponentCount(); i-- > 0;) {
        if (i >= GetComponentCount()) continue; // a notification freed more than this button
        if (auto* button = dynamic_cast<TKeyControl*>(GetComponent(i))) {
            RemoveComponent(button);
            delete button;
        }
    }
}

void TKeyboard::Loaded() {
    vcl::TCustomPanel::Loaded();
    SetText("");
    CreateControls();
    ResizeKeyboard();
    assistChanged();
}

void TKeyboard::Resize() {
    vcl::TCustomPanel::Resize();
    ResizeKeyboard();
}

void TKeyboard::ResizeKeyboard() {
    if (!FKeys) return;
    const std::vector<TButtonBounds> bounds =
        KeyboardGeometry(*FKeys, GetClientWidth(), GetClientHeight());
    for (int i = 0; i < FKeys->GetCount(); ++i) {
        TKeyControl* button = FKeys->GetItem(i)->Control;
        if (!button) continue; // a key whose button is gone (a failed layout load) is not laid out
        const TButtonBounds& b = bounds[static_cast<size_t>(i)];
        button->SetLeft(b.Left);
        button->SetWidth(b.Width);
        button->SetTop(b.Top);
        button->SetHeight(b.Height);
        if (FScaleCaptions) fitKeyCaption(FKeys->GetItem(i));
    }
}

void TKeyboard::LoadKeyLayout(const vcl::AnsiString& FileName) {
    if (!vcl::FileExists(FileName))
        throw vcl::Exception(vcl::FmtLoadStr(SFileNotFound, {FileName}));
    TLayoutRead read = TLayoutRead::FromFile(FileName);
    FreeAllControls();
    read.HandOver(FKeys);
    read.RaiseError(); // the keys read completely stay, without buttons
    CreateControls();
}

void TKeyboard::SaveKeyLayout(const vcl::AnsiString& FileName) {
    FKeys->SaveToFile(FileName);
}

void TKeyboard::LoadLayoutResource(const vcl::AnsiString& Name) {
    TLayoutRead read = TLayoutRead::FromResource(Name);
    TakeLayout(this, read);
}

void TakeLayout(TKeyboard* Keyboard, TLayoutRead& Read) {
    Read.RaiseError();
    Keyboard->FreeAllControls();
    Read.HandOver(Keyboard->GetKeys());
    Keyboard->CreateControls();
    Keyboard->ResizeKeyboard();
}

TKey* TKeyboard::SearchKey(const vcl::AnsiString& Caption, TKeyLevel Level) const {
    detail::levelIndex(Level);
    for (int i = 0; i < FKeys->GetCount(); ++i)
        if (FKeys->GetItem(i)->GetKeyCaption(Level) == Caption) return FKeys->GetItem(i);
    return nullptr;
}

TKey* TKeyboard::SearchKey(TKeyLevel Level, const vcl::AnsiString& Value) const {
    detail::levelIndex(Level);
    for (int i = 0; i < FKeys->GetCount(); ++i)
        if (FKeys->GetItem(i)->GetKeyValue(Level) == Value) return FKeys->GetItem(i);
    return nullptr;
}

TKey* TKeyboard::SearchKey(TKeyType Type, const vcl::AnsiString& Caption, TKeyLevel Level) const {
    detail::levelIndex(Level);
    for (int i = 0; i < FKeys->GetCount(); ++i) {
        TKey* key = FKeys->GetItem(i);
        if (key->KeyType == Type && (Caption.empty() || key->GetKeyCaption(Level) == Caption))
            return key;
    }
    return nullptr;
}

} // namespace quimbel
