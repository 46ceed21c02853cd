#include "DemoForm.h"

#include "DemoConsts.h"

#include "runtime/Quimbel.h"


namespace quimbel::demo {

TDemoForm::TDemoForm(vcl::TComponent* AOwner) : vcl::TForm(AOwner) {
    SetCaption("Quimbel");
    SetPosition(vcl::poScreenCenter);
    SetClientSize(960, 400);

    Edit = new vcl::TEdit(this);
    Edit->SetParent(this);
    Edit->SetAlign(vcl::alTop);
    Edit->GetFont()->SetSize(16);
    Edit->SetHeight(36);

    Status = new vcl::TPanel(this);
    Status->SetParent(this);
    Status->SetAlign(vcl::alBottom);
    Status->SetHeight(24);
    Status->SetBevelOuter(vcl::bvLowered);
    Status->SetAlignment(vcl::taLeftJustify);

    // The keyboard fills the rest of the window and follows its size; its 16 pixels of right
    // margin and 8 of bottom margin frame the keys.
    Keyboard = new TKeyboard(this);
    Keyboard->SetParent(this);
    Keyboard->SetAlign(vcl::alClient);
    Keyboard->SetLinkedControl(Edit);
    Keyboard->SetHighlightColor(vcl::clRed);
    // Captions grow with the window and shrink to fit a small one, readable at any size.
    Keyboard->SetScaleCaptions(true);
    Keyboard->OnKey = [this](vcl::TObject*, TKey*, TKeyLevel, vcl::AnsiString Value) {
        lastKey_ = Value;
        showStatus();
    };
    auto changed = [this](vcl::TObject*, bool) { showStatus(); };
    Keyboard->OnShiftStateChange = changed;
    Keyboard->OnCapsStateChange = changed;
    Keyboard->OnAltGrStateChange = changed;
    SetActiveControl(Edit);
    showStatus();
}

bool IsLayoutFileName(const vcl::AnsiString& Name) {
    if (Name.find('/') != vcl::AnsiString::npos) return true;
    return Name.size() > 4 && vcl::LowerCase(Name.substr(Name.size() - 4)) == ".kly";
}

void TDemoForm::UseLayout(const vcl::AnsiString& Name) {
    if (IsLayoutFileName(Name)) {
        Keyboard->LoadKeyLayout(Name);
        Keyboard->ResizeKeyboard();
    } else {
        if (BuiltInLayoutCodePage(Name) == 0)
            throw vcl::Exception(
                vcl::FmtLoadStr(consts::SUnknownLayout, {Name, BuiltInLayoutNames()}));
        Keyboard->LoadLayoutResource(Name);
    }
    SetCaption("Quimbel - " + Name);
}

void TDemoForm::showStatus() {
    static const char* const levels[] = {"normal", "Shift", "Alt Gr"};
    vcl::AnsiString text = "  Level: ";
    text += levels[Keyboard->GetKeyLevel()];
    if (Keyboard->GetCapsState()) text += " (Caps Lock)";
    if (!lastKey_.empty()) text += "    Last key: " + lastKey_;
    Status->SetCaption(text);
}

} // namespace quimbel::demo
