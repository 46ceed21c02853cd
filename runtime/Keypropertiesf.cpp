#include "Keypropertiesf.h"

#include <iterator>
#include <memory>

namespace quimbel {

using namespace vcl;

VCL_DEFINE_CLASS(TKeyPropertiesForm, TForm, c) {
    c.Field("OKBtn", &TKeyPropertiesForm::OKBtn);
    c.Field("CancelBtn", &TKeyPropertiesForm::CancelBtn);
    c.Field("KeyTypeRadioGroup", &TKeyPropertiesForm::KeyTypeRadioGroup);
    c.Field("KeyCaptionsGroupBox", &TKeyPropertiesForm::KeyCaptionsGroupBox);
    c.Field("NormalCaptionEdit", &TKeyPropertiesForm::NormalCaptionEdit);
    c.Field("Label1", &TKeyPropertiesForm::Label1);
    c.Field("Label2", &TKeyPropertiesForm::Label2);
    c.Field("Label3", &TKeyPropertiesForm::Label3);
    c.Field("ShiftCaptionEdit", &TKeyPropertiesForm::ShiftCaptionEdit);
    c.Field("AltGrCaptionEdit", &TKeyPropertiesForm::AltGrCaptionEdit);
    c.Field("KeyValuesGroupBox", &TKeyPropertiesForm::KeyValuesGroupBox);
    c.Field("Label4", &TKeyPropertiesForm::Label4);
    c.Field("Label5", &TKeyPropertiesForm::Label5);
    c.Field("Label6", &TKeyPropertiesForm::Label6);
    c.Field("NormalValueEdit", &TKeyPropertiesForm::NormalValueEdit);
    c.Field("ShiftValueEdit", &TKeyPropertiesForm::ShiftValueEdit);
    c.Field("AltGrValueEdit", &TKeyPropertiesForm::AltGrValueEdit);
    c.Field("KeyWidthComboBox", &TKeyPropertiesForm::KeyWidthComboBox);
    c.Field("Label7", &TKeyPropertiesForm::Label7);
    c.Field("Label8", &TKeyPropertiesForm::Label8);
    c.Field("KeyHeightComboBox", &TKeyPropertiesForm::KeyHeightComboBox);
    c.Field("FontBtn", &TKeyPropertiesForm::FontBtn);
    c.Field("FontDialog", &TKeyPropertiesForm::FontDialog);
    c.Field("FontLabel", &TKeyPropertiesForm::FontLabel);
    c.Method<TNotifyEvent>("KeyTypeRadioGroupClick", &TKeyPropertiesForm::KeyTypeRadioGroupClick);
    c.Method<TCloseEvent>("FormClose", &TKeyPropertiesForm::FormClose);
    c.Method<TNotifyEvent>("FontBtnClick", &TKeyPropertiesForm::FontBtnClick);
}

namespace {

// Size items step by half a standard key (4 layout units): item i stands for (i + 1) * 4 units.
// A size off the steps selects the next lower one; one outside 4 to 80 selects none.
int sizeToItem(uint8_t Units) {
    return Units >= 4 && Units <= 80 ? Units / 4 - 1 : -1;
}

// The arrow a special key shows in the Wingdings symbol font, or 0 for a key that keeps its
// caption.
unsigned char arrowGlyph(int KeyType) {
    switch (KeyType) {
    case ktEnter:
        return 0xC3;
    case ktPageUp:
        return 0xF1;
    case ktPageDown:
        return 0xF2;
    case ktLeft:
        return 0xDF;
    case ktRight:
        return 0xE0;
    case ktUp:
        return 0xE1;
    case ktDown:
        return 0xE2;
    default:
        return 0;
    }
}

const char* const ArrowFontName = "Wingdings";

// The caption a key of a type that types no text suggests, as the built-in layouts name them;
// the arrow for a type that shows one; empty for normal and function keys.
AnsiString suggestedCaption(int KeyType) {
    static const char* const names[] = {"",    "Shift",     "Caps Lock", "Esc", "Alt Gr", "",
                                        "Tab", "Backspace", "Ins",       "Del", "Home",   "End"};
    if (const unsigned char arrow = arrowGlyph(KeyType)) return AnsiString(1, char(arrow));
    return KeyType >= 0 && KeyType < int(std::size(names)) ? AnsiString(names[KeyType])
                                                           : AnsiString();
}

} // namespace

TKeyPropertiesForm::TKeyPropertiesForm(TComponent* Owner, TKey* Key) : TForm(Owner), FKey(Key) {
    InitInheritedComponent();
    LoadProperties();
    UpdateControls();
    // The label shows the font the key's button had when the dialog opened; a key without a
    // button shows its own font.
    const TFont* shown = FKey->Control ? FKey->Control->GetFont() : FKey->Font;
    FontLabel->SetCaption(shown->GetName() + " " + IntToStr(shown->GetSize()));
}

void TKeyPropertiesForm::LoadProperties() {
    struct LoadingScope {
        bool& flag;
        explicit LoadingScope(bool& f) : flag(f) { flag = true; }
        ~LoadingScope() { flag = false; }
    } loading(FLoading);

    KeyTypeRadioGroup->SetItemIndex(FKey->KeyType);
    NormalCaptionEdit->SetText(FKey->GetKeyCaption(klNormal));
    ShiftCaptionEdit->SetText(FKey->GetKeyCaption(klShift));
    AltGrCaptionEdit->SetText(FKey->GetKeyCaption(klAltGr));
    NormalValueEdit->SetText(FKey->GetKeyValue(klNormal));
    ShiftValueEdit->SetText(FKey->GetKeyValue(klShift));
    AltGrValueEdit->SetText(FKey->GetKeyValue(klAltGr));
    KeyWidthComboBox->SetItemIndex(sizeToItem(FKey->Width));
    KeyHeightComboBox->SetItemIndex(sizeToItem(FKey->Height));
    for (TEdit* edit : {NormalCaptionEdit, ShiftCaptionEdit, AltGrCaptionEdit})
        edit->GetFont()->SetName(FKey->Font->GetName());
}

void TKeyPropertiesForm::UpdateControls() {
    const int selected = KeyTypeRadioGroup->GetItemIndex();
    const bool enabled = selected == ktNormal;
    TEdit* const levelEdits[] = {NormalValueEdit, ShiftValueEdit, AltGrValueEdit, ShiftCaptionEdit,
                                 AltGrCaptionEdit};
    for (TEdit* edit : levelEdits)
        edit->SetEnabled(enabled);
    for (TEdit* edit : levelEdits)
        edit->SetColor(edit->GetEnabled() ? clWindow : clBtnFace);
    // Special keys have one caption only; a function key keeps its levels.
    if (selected > ktNormal && selected < ktFunction) {
        ShiftCaptionEdit->SetText(AnsiString());
        AltGrCaptionEdit->SetText(AnsiString());
    }
}

void TKeyPropertiesForm::KeyTypeRadioGroupClick(TObject*) {
    UpdateControls();
    if (FLoading) return;
    const unsigned char arrow = arrowGlyph(KeyTypeRadioGroup->GetItemIndex());
    if (!arrow) return;
    NormalCaptionEdit->GetFont()->SetName(ArrowFontName);
    FKey->Font->SetName(ArrowFontName);
    NormalCaptionEdit->SetText(AnsiString(1, static_cast<char>(arrow)));
}

void TKeyPropertiesForm::FormClose(TObject*, TCloseAction&) {
    if (GetModalResult() != mrCancel) SaveProperties();
}

void TKeyPropertiesForm::SaveProperties() {
    const int selected = KeyTypeRadioGroup->GetItemIndex();
    // A stored type this dialog has no item for shows as a function key; it stays what it is
    // unless the user picks another type.
    const bool unknownKept = selected == ktFunction && FKey->KeyType > ktFunction;
    FKey->SetKeyType(unknownKept ? FKey->KeyType : static_cast<TKeyType>(selected));
    FKey->SetKeyCaption(klNormal, NormalCaptionEdit->GetText());
    FKey->SetKeyCaption(klShift, ShiftCaptionEdit->GetText());
    FKey->SetKeyCaption(klAltGr, AltGrCaptionEdit->GetText());
    FKey->SetKeyValue(klNormal, NormalValueEdit->GetText());
    if (selected == ktNormal || selected == ktFunction) {
        FKey->SetKeyValue(klShift, ShiftValueEdit->GetText());
        FKey->SetKeyValue(klAltGr, AltGrValueEdit->GetText());
    }
    // A size that no item showed stays as it is rather than becoming 0.
    if (KeyWidthComboBox->GetItemIndex() >= 0)
        FKey->SetWidth(static_cast<TKeyWidth>((KeyWidthComboBox->GetItemIndex() + 1) * 4));
    if (KeyHeightComboBox->GetItemIndex() >= 0)
        FKey->SetHeight(static_cast<TKeyHeight>((KeyHeightComboBox->GetItemIndex() + 1) * 4));
}

void TKeyPropertiesForm::FontBtnClick(TObject*) {
    FontDialog->GetFont()->Assign(FKey->Font);
    if (!FontDialog->Execute()) return;
    FKey->Font->Assign(FontDialog->GetFont());
    for (TEdit* edit : {NormalCaptionEdit, ShiftCaptionEdit, AltGrCaptionEdit})
        edit->GetFont()->SetName(FKey->Font->GetName());
}

namespace {

// Shows the dialog modally; OK shows the changes on the key's button.
TModalResult showForKey(TKeyPropertiesForm& Dialog, TKey* Key) {
    const TModalResult result = Dialog.ShowModal();
    if (result == mrOk) Key->UpdateControl();
    return result;
}

} // namespace

TModalResult EditKeyProperties(TComponent* Owner, TKey* Key) {
    std::unique_ptr<TKeyPropertiesForm> dialog(new TKeyPropertiesForm(Owner, Key));
    return showForKey(*dialog, Key);
}

TModalResult EditKeyPropertiesAssisted(TComponent* Owner, TKey* Key) {
    std::unique_ptr<TKeyPropertiesForm> dialog(new TKeyPropertiesForm(Owner, Key));
    TKeyPropertiesForm* d = dialog.get();
    const AnsiString keyFont = Key->Font->GetName();
    int shownType = d->KeyTypeRadioGroup->GetItemIndex();
    const TNotifyEvent typeClick = d->KeyTypeRadioGroup->OnClick;
    d->KeyTypeRadioGroup->OnClick = [=, &shownType](TObject* Sender) {
        const AnsiString before = d->NormalCaptionEdit->GetText();
        const bool arrowBefore = arrowGlyph(shownType) != 0;
        if (typeClick) typeClick(Sender);
        const int type = d->KeyTypeRadioGroup->GetItemIndex();
        const AnsiString suggested = suggestedCaption(type);
        // A caption the user wrote stays.
        if (!suggested.empty() && !arrowGlyph(type) &&
            (before.empty() || before == suggestedCaption(shownType))) {
            d->NormalCaptionEdit->SetText(suggested);
            // A name in place of an arrow is shown in the key's font again, not in the symbols.
            if (arrowBefore && keyFont != ArrowFontName) {
                Key->Font->SetName(keyFont);
                d->NormalCaptionEdit->GetFont()->SetName(keyFont);
            }
        }
        shownType = type;
    };
    const TCloseEvent close = d->OnClose;
    d->OnClose = [=](TObject* Sender, TCloseAction& Action) {
        if (d->GetModalResult() != mrCancel && d->KeyTypeRadioGroup->GetItemIndex() == ktNormal) {
            const std::pair<TEdit*, TEdit*> levels[] = {{d->NormalCaptionEdit, d->NormalValueEdit},
                                                        {d->ShiftCaptionEdit, d->ShiftValueEdit},
                                                        {d->AltGrCaptionEdit, d->AltGrValueEdit}};
            for (auto [caption, value] : levels)
                if (value->GetText().empty()) value->SetText(caption->GetText());
        }
        if (close) close(Sender, Action);
    };
    return showForKey(*d, Key);
}

} // namespace quimbel
