#include "Keyboardlayouteditor.h"

#include "QuimbelConsts.h"
#include "runtime/Keypropertiesf.h"
#include "vcl/Publish.h"

namespace quimbel {

VCL_DEFINE_CLASS(TKeyboardLayoutEditor, vcl::TCustomPanel, c) {
    using namespace vcl;
    using E = TKeyboardLayoutEditor;
    publish::Align(c);
    c.Enum("BevelOuter", TBevelCutInfo, &E::GetBevelOuter, &E::SetBevelOuter).Default(bvRaised);
    c.Enum("BevelInner", TBevelCutInfo, &E::GetBevelInner, &E::SetBevelInner).Default(bvNone);
    c.Int("BevelWidth", &E::GetBevelWidth, &E::SetBevelWidth).Default(1);
    c.Enum("BorderStyle", TBorderStyleInfo, &E::GetBorderStyle, &E::SetBorderStyle).Default(bsNone);
    c.Int("BorderWidth", &E::GetBorderWidth, &E::SetBorderWidth).Default(0);
    publish::Color(c, clBtnFace);
    publish::Constraints(c);
    publish::Enabled(c);
    c.Event("OnEnter", &E::OnEnter);
    c.Event("OnExit", &E::OnExit);
    c.Object<TFont>("DefaultKeyFont", &E::GetDefaultKeyFont, &E::SetDefaultFont);
    c.Int("GridColor", &E::GetGridColor, &E::SetGridColor).Idents(ColorIdents);
    c.Bool("LimitDesignArea", &E::GetLimitDesignArea, &E::SetLimitDesignArea);
    c.Event("OnKeyClicked", &E::OnKeyClicked);
    c.Event("OnKeyRightClicked", &E::OnKeyRightClicked);
}

TKeyboardLayoutEditor::TKeyboardLayoutEditor(vcl::TComponent* AOwner)
    : vcl::TCustomPanel(AOwner), FKeys(new TKeyCollection()), FDesign(this, FKeys) {
    FGridColor = vcl::clSilver;
    FDesign.LimitDesignArea = true;
    SetCaption("");
    FDefaultKeyFont = new vcl::TFont();
    FDefaultKeyFont->SetName("MS Sans Serif");
    FDefaultKeyFont->SetSize(8);
    FDesign.OnKeyClick = [this](TKeyControl* Button) {
        if (OnKeyClicked) OnKeyClicked(Button->Key);
    };
    FDesign.OnKeyOtherButton = [this](TKeyControl* Button) {
        if (OnKeyRightClicked) OnKeyRightClicked(Button->Key);
    };
    CreateGrid();
}

TKeyboardLayoutEditor::~TKeyboardLayoutEditor() {
    delete FKeys;
    FKeys = nullptr;
    delete FDefaultKeyFont;
    FDefaultKeyFont = nullptr;
}

void TKeyboardLayoutEditor::CreateGrid() {
    FDesign.CreateGrid(FGridColor);
}

void TKeyboardLayoutEditor::SetGridColor(vcl::TColor Value) {
    FGridColor = Value;
    FDesign.SetGridColor(Value);
}

TKeyControl* TKeyboardLayoutEditor::CreateKeyControl() {
    return FDesign.CreateKeyControl();
}

void TKeyboardLayoutEditor::CreateControls() {
    FDesign.CreateControls();
}

void TKeyboardLayoutEditor::DestroyControls() {
    FDesign.DestroyControls();
}

void TKeyboardLayoutEditor::NewKey() {
    FDesign.NewKey(FDefaultKeyFont);
}

void TKeyboardLayoutEditor::DeleteKey(TKey* Key) {
    FDesign.DeleteKey(Key);
}

void TKeyboardLayoutEditor::ClearAll() {
    FDesign.ClearAll();
}

void TKeyboardLayoutEditor::SetDefaultFont(vcl::TFont* Value) {
    FDefaultKeyFont->Assign(Value);
}

void TKeyboardLayoutEditor::SetKeyFont(vcl::TFont* Font) {
    FDefaultKeyFont->Assign(Font);
    FDesign.SetKeyFont(FDefaultKeyFont);
}

void TKeyboardLayoutEditor::LoadLayout(const vcl::AnsiString& FileName) {
    FDesign.LoadLayout(FileName);
}

void TKeyboardLayoutEditor::SaveLayout(const vcl::AnsiString& FileName) {
    FKeys->SaveToFile(FileName);
}

void TKeyboardLayoutEditor::moveKeys(TKeyShiftDirection Direction, int Delta) {
    if (Delta < 1) throw vcl::Exception(vcl::FmtLoadStr(SInvalidDelta, {Delta}));
    FDesign.MoveKeys(Direction, Delta, FDesign.LimitDesignArea);
}

void TKeyboardLayoutEditor::MoveKeysUp(int Delta) {
    moveKeys(ksUp, Delta);
}

void TKeyboardLayoutEditor::MoveKeysDown(int Delta) {
    moveKeys(ksDown, Delta);
}

void TKeyboardLayoutEditor::MoveKeysLeft(int Delta) {
    moveKeys(ksLeft, Delta);
}

void TKeyboardLayoutEditor::MoveKeysRight(int Delta) {
    moveKeys(ksRight, Delta);
}

void TKeyboardLayoutEditor::ShowKeyPropertiesDialog(TKey* Key) {
    ShowPropertiesForm(Key);
}

void TKeyboardLayoutEditor::ShowPropertiesForm(TKey* Key) {
    EditKeyProperties(this, Key);
}

void TKeyboardLayoutEditor::Loaded() {
    vcl::TCustomPanel::Loaded();
    SetText("");
}

} // namespace quimbel
