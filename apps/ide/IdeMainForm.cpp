#include "IdeMainForm.h"

#include "IdeConsts.h"

#include "designide/DesignEditors.h"
#include "designide/DesignIntf.h"
#include "rtl/FormStreams.h"
#include "rtl/Resources.h"
#include "rtl/Streams.h"
#include "vcl/Dialogs.h"

namespace quimbel::ide {

using vcl::AnsiString;
using vcl::TClass;

VCL_DEFINE_CLASS(TIdeMainForm, vcl::TForm, c) {
    c.Field("MainMenu", &TIdeMainForm::MainMenu);
    c.Field("NewItem", &TIdeMainForm::NewItem);
    c.Field("OpenItem", &TIdeMainForm::OpenItem);
    c.Field("SaveItem", &TIdeMainForm::SaveItem);
    c.Field("SaveAsItem", &TIdeMainForm::SaveAsItem);
    c.Field("QuitItem", &TIdeMainForm::QuitItem);
    c.Field("UndoItem", &TIdeMainForm::UndoItem);
    c.Field("RedoItem", &TIdeMainForm::RedoItem);
    c.Field("DeleteItem", &TIdeMainForm::DeleteItem);
    c.Field("ViewTextItem", &TIdeMainForm::ViewTextItem);
    c.Field("RunItem", &TIdeMainForm::RunItem);
    c.Field("AboutItem", &TIdeMainForm::AboutItem);
    c.Field("PaletteTabs", &TIdeMainForm::PaletteTabs);
    c.Field("PalettePanel", &TIdeMainForm::PalettePanel);
    c.Field("InspectorPanel", &TIdeMainForm::InspectorPanel);
    c.Field("ComponentPanel", &TIdeMainForm::ComponentPanel);
    c.Field("ComponentBox", &TIdeMainForm::ComponentBox);
    c.Field("InspectorTabs", &TIdeMainForm::InspectorTabs);
    c.Field("RowsPanel", &TIdeMainForm::RowsPanel);
    c.Field("RowsScrollBar", &TIdeMainForm::RowsScrollBar);
    c.Field("DesignArea", &TIdeMainForm::DesignArea);
    c.Field("DesignSurface", &TIdeMainForm::DesignSurface);
    c.Method<vcl::TNotifyEvent>("NewItemClick", &TIdeMainForm::NewItemClick);
    c.Method<vcl::TNotifyEvent>("OpenItemClick", &TIdeMainForm::OpenItemClick);
    c.Method<vcl::TNotifyEvent>("SaveItemClick", &TIdeMainForm::SaveItemClick);
    c.Method<vcl::TNotifyEvent>("SaveAsItemClick", &TIdeMainForm::SaveAsItemClick);
    c.Method<vcl::TNotifyEvent>("QuitItemClick", &TIdeMainForm::QuitItemClick);
    c.Method<vcl::TNotifyEvent>("DeleteItemClick", &TIdeMainForm::DeleteItemClick);
    c.Method<vcl::TNotifyEvent>("UndoItemClick", &TIdeMainForm::UndoItemClick);
    c.Method<vcl::TNotifyEvent>("RedoItemClick", &TIdeMainForm::RedoItemClick);
    c.Method<vcl::TKeyDownEvent>("FormKeyDown", &TIdeMainForm::FormKeyDown);
    c.Method<vcl::TNotifyEvent>("ViewTextItemClick", &TIdeMainForm::ViewTextItemClick);
    c.Method<vcl::TNotifyEvent>("RunItemClick", &TIdeMainForm::RunItemClick);
    c.Method<vcl::TNotifyEvent>("AboutItemClick", &TIdeMainForm::AboutItemClick);
    c.Method<vcl::TNotifyEvent>("PaletteTabsChange", &TIdeMainForm::PaletteTabsChange);
    c.Method<vcl::TNotifyEvent>("InspectorTabsChange", &TIdeMainForm::InspectorTabsChange);
    c.Method<vcl::TNotifyEvent>("ComponentBoxSelect", &TIdeMainForm::ComponentBoxSelect);
    c.Method<vcl::TCloseQueryEvent>("FormCloseQuery", &TIdeMainForm::FormCloseQuery);
}

void RegisterStandardComponents() {
    designide::RegisterComponents(vcl::LoadResString(consts::SStandardPage),
                                  {vcl::TButton::StaticClass(), vcl::TEdit::StaticClass(),
                                   vcl::TLabel::StaticClass(), vcl::TPanel::StaticClass(),
                                   vcl::TComboBox::StaticClass(), vcl::TGroupBox::StaticClass(),
                                   vcl::TRadioGroup::StaticClass()});
    designide::RegisterPropertyEditor(designide::KindTypeInfo(vcl::tkInteger),
                                      vcl::TCustomEdit::StaticClass(), "PasswordChar",
                                      designide::TCharProperty::StaticClass());
}

namespace {

constexpr int PaletteButtonSize = 30;
constexpr int TextButtonWidth = 74;

// A palette picture: the BITMAP resource named after the class in capitals (a device-independent
// bitmap without file header) of the package that holds the class, else the IDE's own (for the
// platform's controls), made into a bitmap file.
bool loadPaletteGlyph(vcl::TBitmap* Glyph, TClass Class) {
    const AnsiString name = vcl::UpperCase(Class->ClassName);
    const vcl::HMODULE package = vcl::FindHInstance(Class);
    vcl::TResourceData dib;
    if (vcl::ResourceExists(package, "BITMAP", name))
        dib = vcl::FindResourceData(package, "BITMAP", name);
    else if (vcl::ResourceExists("BITMAP", name))
        dib = vcl::FindResourceData("BITMAP", name);
    else
        return false;
    if (dib.Size < 40) return false;
    const uint32_t headerSize = dib.Data[0] | dib.Data[1] << 8 | dib.Data[2] << 16 |
                                static_cast<uint32_t>(dib.Data[3]) << 24;
    const uint16_t bits = dib.Data[14] | dib.Data[15] << 8;
    uint32_t colours = dib.Data[32] | dib.Data[33] << 8 | dib.Data[34] << 16 |
                       static_cast<uint32_t>(dib.Data[35]) << 24;
    if (colours == 0 && bits <= 8) colours = 1u << bits;
    const uint32_t offset = 14 + headerSize + colours * 4;
    const uint32_t size = static_cast<uint32_t>(14 + dib.Size);
    std::vector<uint8_t> file = {'B', 'M'};
    for (uint32_t v : {size, 0u, offset})
        for (int i = 0; i < 4; ++i)
            file.push_back(static_cast<uint8_t>(v >> (8 * i)));
    file.insert(file.end(), dib.Data, dib.Data + dib.Size);
    try {
        Glyph->LoadFromBytes(file);
    } catch (const vcl::Exception&) {
        return false;
    }
    return true;
}

} // namespace

TIdeMainForm::TIdeMainForm(vcl::TComponent* AOwner) : vcl::TForm(AOwner) {
    InitInheritedComponent();
    designer_ = std::make_unique<TFormDesigner>(DesignSurface);
    inspector_ = std::make_unique<TObjectInspector>(RowsPanel, RowsScrollBar);
    inspector_->OnError = [this](const AnsiString& Message) { showError(Message); };
    inspector_->OnChanging = [this](const AnsiString& Path) {
        designer_->NameNextChange(vcl::FmtLoadStr(consts::SPropertyStep, {Path}));
    };
    designer_->OnSelectionChanged = [this] { selectionChanged(); };
    designer_->OnModified = [this] { formModified(); };
    verbMenu_ = new vcl::TPopupMenu(this);
    designer_->OnContextMenu = [this](vcl::TComponent* c, const vcl::TPoint& at) {
        showVerbs(c, at);
    };
    designer_->OnDoubleClick = [this](vcl::TComponent* c) {
        if (auto editor = designide::GetComponentEditor(c, designer_.get()))
            runVerb(editor.get(), -1, -1);
    };
    if (designide::GetPalettePages().empty()) RegisterStandardComponents();
    RefreshPalette();
    selectionChanged();
    UpdateTitle();
}

TIdeMainForm::~TIdeMainForm() {
    vcl::CancelQueuedCalls(this);
    inspector_.reset();
    designer_.reset();
}

// --- packages and palette ------------------------------------------------------------------------

bool TIdeMainForm::LoadPackage(const AnsiString& FileName) {
    try {
        packages_.Load(FileName);
    } catch (const vcl::Exception& e) {
        showError(e.Message());
        return false;
    }
    RefreshPalette();
    return true;
}

void TIdeMainForm::RefreshPalette() {
    const auto& pages = designide::GetPalettePages();
    const AnsiString shown = PaletteTabs->GetTabIndex() >= 0
                                 ? PaletteTabs->GetTabs()->Get(PaletteTabs->GetTabIndex())
                                 : AnsiString();
    PaletteTabs->GetTabs()->Clear();
    for (const designide::TPalettePage& page : pages)
        PaletteTabs->GetTabs()->Add(page.Name);
    const int index = PaletteTabs->GetTabs()->IndexOf(shown);
    PaletteTabs->SetTabIndex(index >= 0 ? index : 0);
    showPalettePage();
}

void TIdeMainForm::PaletteTabsChange(vcl::TObject*) {
    showPalettePage();
}

void TIdeMainForm::showPalettePage() {
    for (vcl::TSpeedButton* b : paletteButtons_) {
        b->OnClick = nullptr;
        b->Hide();
        vcl::QueueCall(this, [b] { delete b; }); // may be the button being clicked
    }
    paletteButtons_.clear();
    paletteClasses_.clear();
    designer_->SetTool(nullptr);
    const int index = PaletteTabs->GetTabIndex();
    const auto& pages = designide::GetPalettePages();
    if (index < 0 || index >= static_cast<int>(pages.size())) return;
    int left = 2;
    for (TClass cls : pages[static_cast<size_t>(index)].Classes) {
        auto* b = new vcl::TSpeedButton(nullptr);
        const bool picture = loadPaletteGlyph(b->GetGlyph(), cls);
        const int width = picture ? PaletteButtonSize : TextButtonWidth;
        b->SetBounds(left, 1, width, PaletteButtonSize);
        if (!picture) b->SetCaption(cls->ClassName.substr(1));
        b->SetHint(cls->ClassName);
        b->SetShowHint(true);
        b->SetGroupIndex(1);
        b->SetAllowAllUp(true);
        b->SetFlat(true);
        b->SetTag(static_cast<long>(paletteClasses_.size()));
        b->SetParent(PalettePanel);
        b->OnClick = [this, b](vcl::TObject*) { paletteClick(b); };
        paletteButtons_.push_back(b);
        paletteClasses_.push_back(cls);
        left += width + 2;
    }
}

TClass TIdeMainForm::PaletteClass(vcl::TSpeedButton* Button) const {
    return paletteClasses_.at(static_cast<size_t>(Button->GetTag()));
}

void TIdeMainForm::paletteClick(vcl::TSpeedButton* Button) {
    designer_->SetTool(Button->GetDown() ? PaletteClass(Button) : nullptr);
}

// --- selection and inspector ---------------------------------------------------------------------

void TIdeMainForm::selectionChanged() {
    if (!designer_->Tool())
        for (vcl::TSpeedButton* b : paletteButtons_)
            b->SetDown(false);
    std::vector<vcl::TPersistent*> selection(designer_->Selection().begin(),
                                             designer_->Selection().end());
    inspector_->Inspect(designer_.get(), selection);

    vcl::TStrings* items = ComponentBox->GetItems();
    items->BeginUpdate();
    items->Clear();
    vcl::TForm* root = designer_->Root();
    items->Add(root->GetName() + ": " + designer_->RootClassName());
    for (int i = 0; i < root->GetComponentCount(); ++i) {
        vcl::TComponent* c = root->GetComponent(i);
        items->Add(c->GetName() + ": " + c->ClassName());
    }
    items->EndUpdate();
    int index = -1;
    if (selection.size() == 1) {
        if (selection[0] == root)
            index = 0;
        else
            index = static_cast<vcl::TComponent*>(selection[0])->GetComponentIndex() + 1;
    }
    ComponentBox->SetItemIndex(index);
}

void TIdeMainForm::ComponentBoxSelect(vcl::TObject*) {
    const int index = ComponentBox->GetItemIndex();
    vcl::TForm* root = designer_->Root();
    if (index == 0)
        designer_->Select(root);
    else if (index > 0 && index <= root->GetComponentCount())
        designer_->Select(root->GetComponent(index - 1));
}

void TIdeMainForm::InspectorTabsChange(vcl::TObject*) {
    inspector_->SetShowEvents(InspectorTabs->GetTabIndex() == 1);
}

void TIdeMainForm::formModified() {
    inspector_->Refresh();
    UpdateTitle();
    // "&Undo Move"; "&Undo" alone while there is nothing to undo.
    const auto name = [](const vcl::TResStringRec& Item, const AnsiString& Step) {
        AnsiString caption = vcl::FmtLoadStr(Item, {Step});
        if (Step.empty()) caption.pop_back();
        return caption;
    };
    UndoItem->SetCaption(name(consts::SUndoItem, designer_->UndoName()));
    UndoItem->SetEnabled(designer_->CanUndo());
    RedoItem->SetCaption(name(consts::SRedoItem, designer_->RedoName()));
    RedoItem->SetEnabled(designer_->CanRedo());
}

void TIdeMainForm::UndoItemClick(vcl::TObject*) {
    if (inspector_->CommitPending()) designer_->Undo();
}

void TIdeMainForm::RedoItemClick(vcl::TObject*) {
    if (inspector_->CommitPending()) designer_->Redo();
}

void TIdeMainForm::FormKeyDown(vcl::TObject*, vcl::Word& Key, vcl::TShiftState Shift) {
    if (Key == 'Z' && Shift == vcl::TShiftState{vcl::ssCtrl, vcl::ssShift}) {
        Key = 0;
        RedoItemClick(this);
    }
}

void TIdeMainForm::UpdateTitle() {
    const AnsiString& file = designer_->FileName();
    SetCaption(vcl::FmtLoadStr(
        consts::STitle,
        {designer_->Root()->GetName(), file.empty() ? vcl::LoadResString(consts::SUntitled) : file,
         designer_->IsModified() ? vcl::LoadResString(consts::SModifiedMark) : AnsiString()}));
}

void TIdeMainForm::showVerbs(vcl::TComponent* Component, const vcl::TPoint& At) {
    verbMenu_->GetItems()->Clear();
    verbEditor_ = designide::GetComponentEditor(Component, designer_.get());
    if (!verbEditor_ || verbEditor_->GetVerbCount() == 0) return;
    designide::TComponentEditor* editor = verbEditor_.get();
    for (int i = 0; i < editor->GetVerbCount(); ++i) {
        auto* item = new vcl::TMenuItem(verbMenu_);
        item->SetCaption(editor->GetVerb(i));
        int sub = 0;
        editor->GetSubVerbs(i, [&](const AnsiString& Name) {
            auto* subItem = new vcl::TMenuItem(verbMenu_);
            subItem->SetCaption(Name);
            subItem->OnClick = [this, editor, i, sub](vcl::TObject*) { runVerb(editor, i, sub); };
            item->Add(subItem);
            ++sub;
        });
        if (sub == 0) item->OnClick = [this, editor, i](vcl::TObject*) { runVerb(editor, i, -1); };
        verbMenu_->GetItems()->Add(item);
    }
    verbMenu_->SetPopupComponent(Component);
    verbMenu_->Popup(At.X, At.Y);
}

void TIdeMainForm::runVerb(designide::TComponentEditor* Editor, int Index, int SubIndex) {
    if (!inspector_->CommitPending()) return;
    AnsiString step = Editor->GetVerb(Index < 0 ? 0 : Index);
    if (step.size() > 3 && step.compare(step.size() - 3, 3, "...") == 0)
        step.resize(step.size() - 3);
    designer_->NameNextChange(step);
    try {
        if (Index < 0)
            Editor->Edit();
        else
            Editor->ExecuteVerb(Index, SubIndex);
    } catch (const vcl::Exception& e) {
        showError(e.Message());
    }
}

void TIdeMainForm::showError(const AnsiString& Message) {
    vcl::MessageDlg(Message, vcl::mtError, {vcl::mbOK}, 0);
}

// --- file commands -------------------------------------------------------------------------------

bool TIdeMainForm::CanDiscard() {
    if (!inspector_->CommitPending()) return false;
    if (!designer_->IsModified()) return true;
    const AnsiString name =
        designer_->FileName().empty() ? designer_->Root()->GetName() : designer_->FileName();
    switch (vcl::MessageDlg(vcl::FmtLoadStr(consts::SSaveChanges, {name}), vcl::mtConfirmation,
                            {vcl::mbYes, vcl::mbNo, vcl::mbCancel}, 0)) {
    case vcl::mrYes:
        return SaveForm();
    case vcl::mrNo:
        return true;
    default:
        return false;
    }
}

bool TIdeMainForm::NewForm() {
    if (!CanDiscard()) return false;
    designer_->NewForm();
    return true;
}

bool TIdeMainForm::OpenForm(const AnsiString& FileName) {
    if (!CanDiscard()) return false;
    AnsiString file = FileName;
    if (file.empty()) {
        vcl::TOpenDialog dialog(nullptr);
        dialog.SetFilter(vcl::LoadResString(consts::SFormFilter));
        dialog.SetDefaultExt("dfm");
        dialog.SetOptions(dialog.GetOptions() + vcl::TOpenOptions{vcl::ofFileMustExist});
        if (!dialog.Execute()) return false;
        file = dialog.GetFileName();
    }
    try {
        designer_->LoadFromFile(file);
    } catch (const vcl::Exception& e) {
        showError(vcl::FmtLoadStr(consts::SCannotOpen,
                                  {vcl::EscapeControls(file), vcl::EscapeControls(e.Message())}));
        return false;
    }
    return true;
}

bool TIdeMainForm::writeForm(const AnsiString& FileName, bool Binary) {
    try {
        designer_->SaveToFile(FileName, Binary);
    } catch (const vcl::Exception& e) {
        showError(vcl::FmtLoadStr(consts::SCannotSave, {FileName, e.Message()}));
        return false;
    }
    return true;
}

bool TIdeMainForm::SaveForm() {
    if (!inspector_->CommitPending()) return false;
    if (designer_->FileName().empty()) return SaveFormAs();
    return writeForm(designer_->FileName(), false);
}

bool TIdeMainForm::SaveFormAs() {
    if (!inspector_->CommitPending()) return false;
    vcl::TSaveDialog dialog(nullptr);
    dialog.SetFilter(vcl::LoadResString(consts::SSaveFilter));
    dialog.SetDefaultExt("dfm");
    dialog.SetFileName(designer_->FileName());
    dialog.SetOptions(dialog.GetOptions() + vcl::TOpenOptions{vcl::ofOverwritePrompt});
    if (!dialog.Execute()) return false;
    return writeForm(dialog.GetFileName(), dialog.GetFilterIndex() == 2);
}

void TIdeMainForm::ViewAsText() {
    if (!inspector_->CommitPending()) return;
    // A window of its own, so the text can be read at length and copied from.
    vcl::TForm view(nullptr);
    view.SetCaption(vcl::FmtLoadStr(consts::SFormText, {designer_->Root()->GetName()}));
    view.SetClientWidth(560);
    view.SetClientHeight(480);
    view.SetPosition(vcl::poMainFormCenter);
    auto* memo = new vcl::TMemo(&view);
    memo->SetName("TextMemo");
    memo->SetAlign(vcl::alClient);
    memo->SetReadOnly(true);
    memo->SetWordWrap(false);
    memo->SetScrollBars(vcl::ssBoth);
    memo->GetFont()->SetName("Courier New");
    memo->SetText(designer_->FormText());
    memo->SetParent(&view);
    // A window only to read: Escape closes it, from the memo as well.
    view.SetKeyPreview(true);
    view.OnKeyDown = [&view](vcl::TObject*, vcl::Word& Key, vcl::TShiftState) {
        if (Key != vcl::VK_ESCAPE) return;
        Key = 0;
        view.Close();
    };
    view.ShowModal();
}

void TIdeMainForm::RunForm() {
    if (!inspector_->CommitPending()) return;
    const std::vector<uint8_t> bytes = designer_->FormStream();
    vcl::TMemoryStream stream;
    stream.WriteBuffer(bytes.data(), bytes.size());
    stream.SetPosition(0);
    std::unique_ptr<vcl::TForm> form;
    // The methods the form's events name are not part of the IDE: those events stay unassigned.
    vcl::TReader reader(&stream, 4096);
    reader.OnFindMethod = [](vcl::TReader*, const AnsiString&, const vcl::TPropInfo*, std::any&,
                             bool& Error) { Error = false; };
    try {
        form = std::make_unique<vcl::TForm>(nullptr);
        vcl::ReadComponent(reader, form.get());
        form->SetPosition(vcl::poScreenCenter);
        running_ = form.get();
        form->ShowModal();
    } catch (const vcl::Exception& e) {
        running_ = nullptr;
        showError(vcl::FmtLoadStr(consts::SCannotRun, {e.Message()}));
        return;
    }
    running_ = nullptr;
}

void TIdeMainForm::AboutPackages() {
    vcl::ShowMessage(packages_.Describe());
}

// --- window --------------------------------------------------------------------------------------

void TIdeMainForm::FormCloseQuery(vcl::TObject*, bool& CanClose) {
    CanClose = CanDiscard();
}

void TIdeMainForm::DeleteItemClick(vcl::TObject*) {
    // Delete is the inspector's editing key while a row has the input.
    vcl::TWinControl* focused = vcl::FindFocusedControl();
    if (!focused || !InspectorPanel->ContainsControl(focused)) designer_->DeleteSelection();
}

} // namespace quimbel::ide
