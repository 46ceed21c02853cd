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
    if (designide::EnvironmentOptions().SafeEditingInDesigners) guardEditing();
}

void TLayoutForm::guardEditing() {
    FSafe = true;
    FOriginal = LayoutBytes(*FCollection);
    FUndo.Reset(FOriginal);
    // Cancel beside Close; Escape and the close box end the window with Cancel too.
    RightPanel->SetWidth(CloseBtn->GetWidth() * 2 + 10);
    CancelBtn = new TButton(this);
    CancelBtn->SetName("CancelBtn");
    CancelBtn->SetParent(RightPanel);
    CancelBtn->SetBounds(CloseBtn->GetLeft() + CloseBtn->GetWidth() + 5, CloseBtn->GetTop(),
                         CloseBtn->GetWidth(), CloseBtn->GetHeight());
    CancelBtn->SetCaption(LoadResString(SCancelCaption));
    CancelBtn->SetModalResult(mrCancel);
    CancelBtn->SetCancel(true);
    CancelBtn->SetTabOrder(1);
    OnClose = [this](TObject*, TCloseAction&) {
        if (GetModalResult() != mrCancel) return;
        FCancelled = true;
        restoreLayout(FOriginal);
    };
    // Clear All and Close no longer share Alt+C.
    ClearAllBtn->SetCaption(LoadResString(SClearAllCaption));

    EditMenuBar = new TMainMenu(this);
    auto* edit = new TMenuItem(this);
    edit->SetCaption(LoadResString(SEditMenuCaption));
    EditMenuBar->GetItems()->Add(edit);
    UndoItem = new TMenuItem(this);
    UndoItem->SetShortCut(ShortCut('Z', {ssCtrl}));
    UndoItem->OnClick = [this](TObject*) {
        recordStep(LoadResString(SStepMoveKey)); // a drag not yet kept
        if (FUndo.CanUndo()) restoreLayout(FUndo.Undo());
    };
    RedoItem = new TMenuItem(this);
    RedoItem->SetShortCut(ShortCut('Y', {ssCtrl}));
    RedoItem->OnClick = [this](TObject*) {
        if (FUndo.CanRedo()) restoreLayout(FUndo.Redo());
    };
    edit->Add(UndoItem);
    edit->Add(RedoItem);
    SetMenu(EditMenuBar);

    // Every action is a step, named as its button or menu item shows it.
    for (TAction* action :
         {NewKeyAction, DeleteKeyAction, PropertiesAction, LoadLayoutAction, ClearAllBtn,
          SetFontAction, ShiftUpAction, ShiftDownAction, ShiftLeftAction, ShiftRightAction}) {
        const TNotifyEvent execute = action->OnExecute;
        const AnsiString name = action->GetCaption().empty() ? LoadResString(SStepShift)
                                                             : StripHotkey(action->GetCaption());
        action->OnExecute = [this, execute, name](TObject* Sender) {
            recordStep(LoadResString(SStepMoveKey));
            execute(Sender);
            recordStep(name);
            hookKeyButtons();
        };
    }
    const auto click = FSurface->OnKeyClick;
    FSurface->OnKeyClick = [this, click](TKeyControl* Button) {
        recordStep(LoadResString(SStepMoveKey));
        click(Button);
        recordStep(StripHotkey(PropertiesAction->GetCaption()));
    };
    hookKeyButtons();
    recordStep(AnsiString());
    OnResize = [this](TObject*) { arrangeTopPanel(); };
    arrangeTopPanel();
}

void TLayoutForm::recordStep(const AnsiString& What) {
    if (!FSafe) return;
    FUndo.Record(What, LayoutBytes(*FCollection));
    UndoItem->SetEnabled(FUndo.CanUndo());
    UndoItem->SetCaption(FUndo.CanUndo() ? FmtLoadStr(SUndoCaption, {FUndo.UndoName()})
                                         : LoadResString(SUndoNothingCaption));
    RedoItem->SetEnabled(FUndo.CanRedo());
    RedoItem->SetCaption(FUndo.CanRedo() ? FmtLoadStr(SRedoCaption, {FUndo.RedoName()})
                                         : LoadResString(SRedoNothingCaption));
}

void TLayoutForm::restoreLayout(const TLayoutBytes& Bytes) {
    FSurface->DestroyControls();
    SetLayoutBytes(*FCollection, Bytes);
    FSurface->CreateControls();
    hookKeyButtons();
    recordStep(AnsiString());
}

void TLayoutForm::hookKeyButtons() {
    for (int i = 0; i < LayoutPanel->ControlCount(); ++i) {
        auto* button = dynamic_cast<TKeyControl*>(LayoutPanel->GetControl(i));
        if (!button || button->GetTag() == 1) continue;
        button->SetTag(1);
        const TMouseEvent up = button->OnMouseUp;
        button->OnMouseUp = [this, up](TObject* Sender, TMouseButton Button, TShiftState Shift,
                                       int X, int Y) {
            up(Sender, Button, Shift, X, Y);
            if (!FSurface->Pressed()) recordStep(LoadResString(SStepMoveKey));
        };
    }
}

void TLayoutForm::arrangeTopPanel() {
    // The buttons in rows left of Close and Cancel, the shift cross as one piece.
    const int width = TopPanel->GetClientWidth() - RightPanel->GetWidth() - 4;
    constexpr int Gap = 5, Row = 40;
    int x = 8, y = 0;
    auto place = [&](int W) {
        if (x > 8 && x + W > width) {
            x = 8;
            y += Row;
        }
        const int at = x;
        x += W + Gap;
        return at;
    };
    for (TButton* b : {NewKeyBtn, LoadLayoutBtn, SaveLayoutBtn, ClearBtn, KeyFontBtn})
        b->SetLeft(place(b->GetWidth())), b->SetTop(y + 8);
    const int cross = place(54) + 6;
    ShiftLeftBtn->SetBounds(cross, y + 12, 18, 18);
    ShiftUpBtn->SetBounds(cross + 18, y + 2, 18, 18);
    ShiftDownBtn->SetBounds(cross + 18, y + 20, 18, 18);
    ShiftRightBtn->SetBounds(cross + 36, y + 12, 18, 18);
    TopPanel->SetHeight(y + Row);
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
    TKey* key = FSurface->NewKey(FKeyFont.get());
    if (!FSafe) return;
    const TPoint at = FreeKeyPlace(*FCollection, key->Width, key->Height,
                                   LayoutPanel->GetClientWidth() / PixelsPerUnit, key);
    key->SetLeft(at.X);
    key->SetTop(at.Y);
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
    // Safe editing helps against keys that type nothing, as the layout editor does.
    FSafe ? EditKeyPropertiesAssisted(this, button->Key) : EditKeyProperties(this, button->Key);
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
    if (FSafe && FCollection->GetCount() > 0 &&
        ConfirmDefaultNo(FmtLoadStr(SReplaceKeysPrompt,
                                    {FCollection->GetCount(), OpenDialog->GetFileName()})) != mrYes)
        return;
    FSurface->LoadLayout(OpenDialog->GetFileName());
    // A file does not record its page: it opens in the one chosen in this session, else in the
    // IDE's, never in one a layout shown before brought along.
    const designide::TEnvironmentOptions& options = designide::EnvironmentOptions();
    if (!CodePagePanel) return;
    if (const int page = options.ChosenCodePage ? options.ChosenCodePage : options.FileCodePage)
        useCodePage(page);
}

void TLayoutForm::ClearAllBtnExecute(TObject*) {
    const AnsiString question = LoadResString(SClearAllKeysPrompt);
    if ((FSafe ? ConfirmDefaultNo(question)
               : MessageDlg(question, mtConfirmation, {mbYes, mbNo}, 0)) == mrYes)
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
