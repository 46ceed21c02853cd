#include "Layoutf.h"

#include "QuimbelDesignConsts.h"
#include "designide/DesignIntf.h"
#include "rtl/CodePage.h"
#include "runtime/Keypropertiesf.h"
#include "runtime/Quimbel.h"

#include <algorithm>

namespace quimbel {

using namespace vcl;

VCL_DEFINE_CLASS(TLayoutForm, TForm, c) {
    c.Field("LayoutPanel", &TLayoutForm::LayoutPanel);
    c.Field("ActionList", &TLayoutForm::ActionList);
    c.Field("NewKeyAction", &TLayoutForm::NewKeyAction);
    c.Field("TopPanel", &TLayoutForm::TopPanel);
    c.Field("NewKeyBtn", &TLayoutForm::NewKeyBtn);
    c.Field("PopupMenu", &TLayoutForm::PopupMenu);
    c.Field("DeleteKeyAction", &TLayoutForm::DeleteKeyAction);
    c.Field("PropertiesAction", &TLayoutForm::PropertiesAction);
    c.Field("DeleteKey1", &TLayoutForm::DeleteKey1);
    c.Field("Properties1", &TLayoutForm::Properties1);
    c.Field("SaveLayoutBtn", &TLayoutForm::SaveLayoutBtn);
    c.Field("LoadLayoutBtn", &TLayoutForm::LoadLayoutBtn);
    c.Field("SaveLayoutAction", &TLayoutForm::SaveLayoutAction);
    c.Field("LoadLayoutAction", &TLayoutForm::LoadLayoutAction);
    c.Field("SaveDialog", &TLayoutForm::SaveDialog);
    c.Field("OpenDialog", &TLayoutForm::OpenDialog);
    c.Field("RightPanel", &TLayoutForm::RightPanel);
    c.Field("CloseBtn", &TLayoutForm::CloseBtn);
    c.Field("ClearBtn", &TLayoutForm::ClearBtn);
    c.Field("ClearAllBtn", &TLayoutForm::ClearAllBtn);
    c.Field("ShiftUpAction", &TLayoutForm::ShiftUpAction);
    c.Field("ShiftDownAction", &TLayoutForm::ShiftDownAction);
    c.Field("ShiftLeftAction", &TLayoutForm::ShiftLeftAction);
    c.Field("ShiftRightAction", &TLayoutForm::ShiftRightAction);
    c.Field("ShiftRightBtn", &TLayoutForm::ShiftRightBtn);
    c.Field("ShiftLeftBtn", &TLayoutForm::ShiftLeftBtn);
    c.Field("ShiftUpBtn", &TLayoutForm::ShiftUpBtn);
    c.Field("ShiftDownBtn", &TLayoutForm::ShiftDownBtn);
    c.Field("SetFontAction", &TLayoutForm::SetFontAction);
    c.Field("KeyFontBtn", &TLayoutForm::KeyFontBtn);
    c.Field("FontDialog", &TLayoutForm::FontDialog);
    c.Method<TNotifyEvent>("NewKeyActionExecute", &TLayoutForm::NewKeyActionExecute);
    c.Method<TNotifyEvent>("DeleteKeyActionExecute", &TLayoutForm::DeleteKeyActionExecute);
    c.Method<TNotifyEvent>("PropertiesActionExecute", &TLayoutForm::PropertiesActionExecute);
    c.Method<TNotifyEvent>("SaveLayoutActionExecute", &TLayoutForm::SaveLayoutActionExecute);
    c.Method<TNotifyEvent>("LoadLayoutActionExecute", &TLayoutForm::LoadLayoutActionExecute);
    c.Method<TNotifyEvent>("ClearAllBtnExecute", &TLayoutForm::ClearAllBtnExecute);
    c.Method<TNotifyEvent>("ShiftUpActionExecute", &TLayoutForm::ShiftUpActionExecute);
    c.Method<TNotifyEvent>("ShiftDownActionExecute", &TLayoutForm::ShiftDownActionExecute);
    c.Method<TNotifyEvent>("ShiftLeftActionExecute", &TLayoutForm::ShiftLeftActionExecute);
    c.Method<TNotifyEvent>("ShiftRightActionExecute", &TLayoutForm::ShiftRightActionExecute);
    c.Method<TNotifyEvent>("SetFontActionExecute", &TLayoutForm::SetFontActionExecute);
    c.Method<TNotifyEvent>("FormDestroy", &TLayoutForm::FormDestroy);
}

namespace {

// The shift buttons move the layout by one grid cell pair: 4 layout units, 16 pixels.
constexpr int ShiftDelta = 4;

} // namespace

TLayoutForm::TLayoutForm(TComponent* Owner, TKeyCollection* Collection)
    : TForm(Owner), FCollection(Collection) {
    InitInheritedComponent();
    FKeyFont = std::make_unique<TFont>();
    FKeyFont->Assign(FontDialog->GetFont());
    FSurface = std::make_unique<TKeyDesignSurface>(LayoutPanel, FCollection);
    // What sets this surface apart from the layout editor control.
    FSurface->LimitDesignArea = false;
    FSurface->KeyPopupMenu = PopupMenu;
    FSurface->OnKeyClick = [this](TKeyControl* Button) { ShowPropertiesForm(Button); };
    FSurface->CreateGrid(clSilver);
    FSurface->CreateControls();
    if (designide::EnvironmentOptions().CodePageInDesigners) createCodePageLine();
}

void TLayoutForm::createCodePageLine() {
    CodePagePanel = new TPanel(this);
    CodePagePanel->SetParent(this);
    CodePagePanel->SetAlign(alBottom);
    CodePagePanel->SetHeight(28);
    CodePagePanel->SetBevelOuter(bvNone);
    CodePagePanel->SetAlignment(taLeftJustify);
    CodePageCombo = new TComboBox(this);
    CodePageCombo->SetParent(CodePagePanel);
    CodePageCombo->SetStyle(csDropDownList);
    CodePageCombo->SetBounds(CodePagePanel->GetWidth() - 208, 3, 200, 22);
    CodePageCombo->SetAnchors({akTop, akRight});
    for (int page : SupportedCodePages())
        CodePageCombo->GetItems()->Add(Format("%d %s", {page, CodePageScript(page)}));
    CodePageCombo->OnChange = [this](TObject*) {
        const int index = CodePageCombo->GetItemIndex();
        if (index < 0) return;
        designide::EnvironmentOptions().ChosenCodePage = SupportedCodePages()[index];
        useCodePage(SupportedCodePages()[index]);
    };
    useCodePage(GetAnsiCodePage());
}

void TLayoutForm::useCodePage(int Page) {
    SetAnsiCodePage(Page);
    // The keys' bytes stay; their buttons are made again to show them in the new page.
    FSurface->DestroyControls();
    FSurface->CreateControls();
    LayoutPanel->Invalidate();
    const auto& pages = SupportedCodePages();
    CodePageCombo->SetItemIndex(
        static_cast<int>(std::find(pages.begin(), pages.end(), Page) - pages.begin()));
    CodePagePanel->SetCaption(
        FmtLoadStr(SCodePageStatus, {Page, AnsiString(CodePageScript(Page))}));
}

TLayoutForm::~TLayoutForm() {
    // FormDestroy is a method of this class, so it must run before this part of the object goes.
    BeforeDestruction();
}

void TLayoutForm::FormDestroy(TObject*) {
    FSurface->DestroyControls();
    FKeyFont.reset();
}

void TLayoutForm::NewKeyActionExecute(TObject*) {
    FSurface->NewKey(FKeyFont.get());
}

TKeyControl* TLayoutForm::keyButtonOf(TObject* Sender) const {
    auto* action = dynamic_cast<TBasicAction*>(Sender);
    if (!action) return dynamic_cast<TKeyControl*>(Sender);
    auto* item = dynamic_cast<TMenuItem*>(action->GetActionComponent());
    auto* menu = item ? dynamic_cast<TPopupMenu*>(item->GetParentMenu()) : nullptr;
    // The popup component is cleared when its button is freed after the menu popped up.
    return menu ? dynamic_cast<TKeyControl*>(menu->GetPopupComponent()) : nullptr;
}

void TLayoutForm::ShowPropertiesForm(TObject* Sender) {
    TKeyControl* button = keyButtonOf(Sender);
    if (!button || !button->Key) return;
    EditKeyProperties(this, button->Key);
}

void TLayoutForm::PropertiesActionExecute(TObject* Sender) {
    ShowPropertiesForm(Sender);
}

void TLayoutForm::DeleteKeyActionExecute(TObject* Sender) {
    TKeyControl* button = keyButtonOf(Sender);
    if (!button) return;
    if (TKey* key = button->Key) FCollection->DeleteAndFreeKey(key);
    delete keyButtonOf(Sender);
}

void TLayoutForm::SaveLayoutActionExecute(TObject*) {
    if (SaveDialog->Execute()) FCollection->SaveToFile(SaveDialog->GetFileName());
}

void TLayoutForm::LoadLayoutActionExecute(TObject*) {
    if (!OpenDialog->Execute()) return;
    FSurface->LoadLayout(OpenDialog->GetFileName());
    // A file does not record its page: it opens in the one chosen in this session, else in the
    // IDE's, never in one a layout shown before brought along.
    const designide::TEnvironmentOptions& options = designide::EnvironmentOptions();
    if (!CodePagePanel) return;
    if (const int page = options.ChosenCodePage ? options.ChosenCodePage : options.FileCodePage)
        useCodePage(page);
}

void TLayoutForm::ClearAllBtnExecute(TObject*) {
    if (MessageDlg(LoadResString(SClearAllKeysPrompt), mtConfirmation, {mbYes, mbNo}, 0) == mrYes)
        FSurface->ClearAll();
}

void TLayoutForm::SetFontActionExecute(TObject*) {
    // Only an explicit No stops here.
    if (MessageDlg(LoadResString(SSetAllKeysFontPrompt), mtConfirmation, {mbYes, mbNo}, 0) == mrNo)
        return;
    if (!FontDialog->Execute()) return;
    FKeyFont->Assign(FontDialog->GetFont());
    FSurface->SetKeyFont(FKeyFont.get());
}

// Left and up never take a key past the panel's left or top edge; right and down are not limited.
void TLayoutForm::ShiftUpActionExecute(TObject*) {
    FSurface->MoveKeys(ksUp, ShiftDelta, true);
}

void TLayoutForm::ShiftDownActionExecute(TObject*) {
    FSurface->MoveKeys(ksDown, ShiftDelta, false);
}

void TLayoutForm::ShiftLeftActionExecute(TObject*) {
    FSurface->MoveKeys(ksLeft, ShiftDelta, true);
}

void TLayoutForm::ShiftRightActionExecute(TObject*) {
    FSurface->MoveKeys(ksRight, ShiftDelta, false);
}

} // namespace quimbel
