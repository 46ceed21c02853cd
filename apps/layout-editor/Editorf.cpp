#include "Editorf.h"

#include "EditorConsts.h"
#include "KlyConsts.h"
#include "LayoutFile.h"

#include "rtl/CodePage.h"
#include "rtl/Streams.h"
#include "runtime/Quimbel.h"

#include <algorithm>
#include <memory>

namespace quimbel::layouteditor {

using namespace vcl;

VCL_DEFINE_CLASS(TEditorForm, TForm, c) {
    using F = TEditorForm;
    c.Field("ToolBar", &F::ToolBar);
    c.Field("NewKeyBtn", &F::NewKeyBtn);
    c.Field("DeleteKeyBtn", &F::DeleteKeyBtn);
    c.Field("PropertiesBtn", &F::PropertiesBtn);
    c.Field("ShiftLeftBtn", &F::ShiftLeftBtn);
    c.Field("ShiftRightBtn", &F::ShiftRightBtn);
    c.Field("ShiftUpBtn", &F::ShiftUpBtn);
    c.Field("ShiftDownBtn", &F::ShiftDownBtn);
    c.Field("DeltaLabel", &F::DeltaLabel);
    c.Field("DeltaEdit", &F::DeltaEdit);
    c.Field("StatusPanel", &F::StatusPanel);
    c.Field("PreviewPanel", &F::PreviewPanel);
    c.Field("PreviewEdit", &F::PreviewEdit);
    c.Field("PreviewKeyboard", &F::PreviewKeyboard);
    c.Field("Editor", &F::Editor);
    c.Field("MainMenu", &F::MainMenu);
    c.Field("FileMenu", &F::FileMenu);
    c.Field("NewItem", &F::NewItem);
    c.Field("OpenItem", &F::OpenItem);
    c.Field("BuiltInItem", &F::BuiltInItem);
    c.Field("SaveItem", &F::SaveItem);
    c.Field("SaveAsItem", &F::SaveAsItem);
    c.Field("QuitItem", &F::QuitItem);
    c.Field("EditMenu", &F::EditMenu);
    c.Field("NewKeyItem", &F::NewKeyItem);
    c.Field("DeleteKeyItem", &F::DeleteKeyItem);
    c.Field("PropertiesItem", &F::PropertiesItem);
    c.Field("ClearAllItem", &F::ClearAllItem);
    c.Field("KeyFontItem", &F::KeyFontItem);
    c.Field("ShiftLeftItem", &F::ShiftLeftItem);
    c.Field("ShiftRightItem", &F::ShiftRightItem);
    c.Field("ShiftUpItem", &F::ShiftUpItem);
    c.Field("ShiftDownItem", &F::ShiftDownItem);
    c.Field("ViewMenu", &F::ViewMenu);
    c.Field("GridColorItem", &F::GridColorItem);
    c.Field("GridSilverItem", &F::GridSilverItem);
    c.Field("GridGrayItem", &F::GridGrayItem);
    c.Field("GridBlueItem", &F::GridBlueItem);
    c.Field("GridBlackItem", &F::GridBlackItem);
    c.Field("LimitItem", &F::LimitItem);
    c.Field("PreviewItem", &F::PreviewItem);
    c.Field("CodePageItem", &F::CodePageItem);
    c.Field("KeyMenu", &F::KeyMenu);
    c.Field("KeyDeleteItem", &F::KeyDeleteItem);
    c.Field("KeyPropertiesItem", &F::KeyPropertiesItem);
    c.Field("OpenDialog", &F::OpenDialog);
    c.Field("SaveDialog", &F::SaveDialog);
    c.Field("FontDialog", &F::FontDialog);
    c.Method<TNotifyEvent>("NewItemClick", &F::NewItemClick);
    c.Method<TNotifyEvent>("OpenItemClick", &F::OpenItemClick);
    c.Method<TNotifyEvent>("BuiltInItemClick", &F::BuiltInItemClick);
    c.Method<TNotifyEvent>("SaveItemClick", &F::SaveItemClick);
    c.Method<TNotifyEvent>("SaveAsItemClick", &F::SaveAsItemClick);
    c.Method<TNotifyEvent>("QuitItemClick", &F::QuitItemClick);
    c.Method<TNotifyEvent>("NewKeyItemClick", &F::NewKeyItemClick);
    c.Method<TNotifyEvent>("DeleteKeyItemClick", &F::DeleteKeyItemClick);
    c.Method<TNotifyEvent>("PropertiesItemClick", &F::PropertiesItemClick);
    c.Method<TNotifyEvent>("ClearAllItemClick", &F::ClearAllItemClick);
    c.Method<TNotifyEvent>("KeyFontItemClick", &F::KeyFontItemClick);
    c.Method<TNotifyEvent>("ShiftItemClick", &F::ShiftItemClick);
    c.Method<TNotifyEvent>("GridColorItemClick", &F::GridColorItemClick);
    c.Method<TNotifyEvent>("LimitItemClick", &F::LimitItemClick);
    c.Method<TNotifyEvent>("PreviewItemClick", &F::PreviewItemClick);
    c.Method<TNotifyEvent>("CodePageItemClick", &F::CodePageItemClick);
    c.Method<TKeyClickedEvent>("EditorKeyClicked", &F::EditorKeyClicked);
    c.Method<TKeyClickedEvent>("EditorKeyRightClicked", &F::EditorKeyRightClicked);
    c.Method<TCloseQueryEvent>("FormCloseQuery", &F::FormCloseQuery);
}

namespace {

AnsiString baseName(const AnsiString& Path) {
    const size_t slash = Path.find_last_of('/');
    return slash == AnsiString::npos ? Path : Path.substr(slash + 1);
}

AnsiString trimmed(const AnsiString& S) {
    const size_t first = S.find_first_not_of(" \t");
    if (first == AnsiString::npos) return AnsiString();
    return S.substr(first, S.find_last_not_of(" \t") - first + 1);
}

// Moves the keys of From to the end of To, in order.
void takeKeys(TKeyCollection& From, TKeyCollection& To) {
    while (From.GetCount() > 0) {
        TKey* key = From.GetItem(0);
        From.DeleteKey(0);
        To.AddKey(key);
    }
}

// Pointer movements over Control also go to Also; a control is hooked once (its Tag marks it).
void hookPointer(TControl* Control, const std::function<void()>& Also) {
    if (Control->GetTag() == 1) return;
    Control->SetTag(1);
    TMouseMoveEvent inner = Control->OnMouseMove;
    Control->OnMouseMove = [inner, Also](TObject* Sender, TShiftState Shift, int X, int Y) {
        if (inner) inner(Sender, Shift, X, Y);
        Also();
    };
}

} // namespace

TEditorForm::TEditorForm(TComponent* AOwner) : TForm(AOwner) {
    InitInheritedComponent();
    // Edits and keyboards publish no alignment, so the preview is arranged here.
    PreviewEdit->SetAlign(alTop);
    PreviewKeyboard->SetAlign(alClient);
    PreviewEdit->GetFont()->SetSize(14);
    // One item for each built-in layout, so the menu lists every layout the package has; grouped
    // by code page, which is also by script.
    for (int page : SupportedCodePages()) {
        TMenuItem* group = nullptr;
        for (const TBuiltInLayout& layout : BuiltInLayouts()) {
            if (layout.CodePage != page) continue;
            if (!group) {
                group = new TMenuItem(this);
                group->SetCaption(FmtLoadStr(consts::SBuiltInGroup, {CodePageScript(page), page}));
                BuiltInItem->Add(group);
            }
            auto* item = new TMenuItem(this);
            item->SetCaption(layout.Name);
            item->OnClick = [this](TObject* Sender) { BuiltInItemClick(Sender); };
            group->Add(item);
        }
    }
    for (int page : SupportedCodePages()) {
        auto* item = new TMenuItem(this);
        item->SetCaption(FmtLoadStr(consts::SCodePageItem, {page, CodePageScript(page)}));
        item->SetTag(page);
        item->SetRadioItem(true);
        item->SetGroupIndex(2);
        item->OnClick = [this](TObject* Sender) { CodePageItemClick(Sender); };
        CodePageItem->Add(item);
    }
    FileCodePage = GetAnsiCodePage();
    startLayout(AnsiString(), LoadResString(consts::SUntitled));
}

std::vector<uint8_t> TEditorForm::layoutBytes() const {
    TMemoryStream stream;
    {
        TWriter writer(&stream, 1024);
        Editor->GetKeys()->WriteKeys(&writer);
    }
    return stream.Bytes();
}

bool TEditorForm::Modified() const {
    return layoutBytes() != saved_;
}

void TEditorForm::startLayout(const AnsiString& FileName, const AnsiString& Title) {
    currentKey_ = nullptr;
    fileName_ = FileName;
    title_ = Title;
    saved_ = layoutBytes();
    notice_.clear();
    layoutChanged();
}

void TEditorForm::layoutChanged() {
    TKeyCollection* keys = Editor->GetKeys();
    bool found = false;
    for (int i = 0; i < keys->GetCount() && !found; ++i)
        found = keys->GetItem(i) == currentKey_;
    if (!found) currentKey_ = nullptr;

    const std::vector<uint8_t> bytes = layoutBytes();
    if (bytes != shown_ || PreviewKeyboard->GetKeys()->GetCount() != keys->GetCount()) {
        // The preview shows a copy, so that typing into it never touches the edited keys.
        auto copy = std::make_unique<TKeyCollection>();
        std::unique_ptr<TMemoryStream> stream(new TMemoryStream);
        if (!bytes.empty()) stream->Write(bytes.data(), static_cast<int32_t>(bytes.size()));
        stream->SetPosition(0);
        {
            TReader reader(stream.get(), 1024);
            copy->LoadKeys(&reader);
        }
        PreviewKeyboard->SetKeys(copy.release());
        shown_ = bytes;
    }
    SetCaption(FmtLoadStr(consts::STitle, {AnsiString(bytes != saved_ ? "*" : ""), title_}));
    const bool haveKey = currentKey_ != nullptr;
    for (TMenuItem* item : {DeleteKeyItem, PropertiesItem, KeyDeleteItem, KeyPropertiesItem})
        item->SetEnabled(haveKey);
    DeleteKeyBtn->SetEnabled(haveKey);
    PropertiesBtn->SetEnabled(haveKey);
    followPointer();
    showStatus();
}

void TEditorForm::showStatus() {
    const int count = Editor->GetKeys()->GetCount();
    AnsiString text = "  " + (count == 1 ? LoadResString(consts::SOneKey)
                                         : FmtLoadStr(consts::SKeyCount, {count}));
    if (currentKey_)
        text += "     " +
                FmtLoadStr(consts::SCurrentKey,
                           {currentKey_->KeyCaption[klNormal], currentKey_->Left, currentKey_->Top,
                            int(currentKey_->Width), int(currentKey_->Height)});
    if (pointer_.X >= 0) text += "     " + FmtLoadStr(consts::SPointer, {pointer_.X, pointer_.Y});
    if (!notice_.empty()) text += "     " + notice_;
    const int page = GetAnsiCodePage();
    text += "     " + FmtLoadStr(consts::SCodePageStatus, {page, CodePageScript(page)});
    StatusPanel->SetCaption(text);
    for (int i = 0; i < CodePageItem->GetCount(); ++i)
        CodePageItem->GetItem(i)->SetChecked(CodePageItem->GetItem(i)->GetTag() == page);
}

void TEditorForm::followPointer() {
    auto moved = [this] {
        const TPoint p = Editor->ScreenToClient(Mouse->GetCursorPos());
        // Layout units, rounded down also left of and above the editor.
        auto units = [](int pixels) {
            return pixels >= 0 ? pixels / PixelsPerUnit
                               : -((PixelsPerUnit - 1 - pixels) / PixelsPerUnit);
        };
        pointer_ = {units(p.X), units(p.Y)};
        layoutChanged();
    };
    hookPointer(Editor, moved);
    for (int i = 0; i < Editor->ControlCount(); ++i)
        hookPointer(Editor->GetControl(i), moved);
}

void TEditorForm::showError(const AnsiString& Message) {
    MessageDlg(Message, mtError, {mbOK}, 0);
}

bool TEditorForm::confirmDiscard() {
    if (!Modified()) return true;
    const AnsiString name = fileName_.empty() ? title_ : baseName(fileName_);
    switch (MessageDlg(FmtLoadStr(consts::SSaveChanges, {name}), mtConfirmation,
                       {mbYes, mbNo, mbCancel}, 0)) {
    case mrYes:
        return save();
    case mrNo:
        return true;
    default:
        return false;
    }
}

bool TEditorForm::save() {
    return fileName_.empty() ? saveAs() : SaveFile(fileName_);
}

bool TEditorForm::saveAs() {
    SaveDialog->SetFileName(fileName_.empty() ? title_ : fileName_);
    if (!SaveDialog->Execute()) return false;
    return SaveFile(SaveDialog->GetFileName());
}

bool TEditorForm::SaveFile(const AnsiString& FileName) {
    try {
        Editor->SaveLayout(FileName);
    } catch (const Exception& e) {
        showError(FmtLoadStr(consts::SSaveFailed, {FileName, e.Message()}));
        return false;
    }
    fileName_ = FileName;
    title_ = baseName(FileName);
    saved_ = layoutBytes();
    notice_.clear();
    layoutChanged();
    return true;
}

bool TEditorForm::OpenFile(const AnsiString& FileName) {
    // The file is read completely into a layout of its own first, so that a broken file leaves
    // the open layout as it is.
    TKeyCollection keys;
    try {
        const kly::TLayoutReadResult result = kly::ReadLayoutFile(FileName, keys);
        if (!result.Ok) {
            showError(FmtLoadStr(
                kly::consts::SLayoutError,
                {FileName, static_cast<long long>(result.ErrorOffset), result.ErrorMessage}));
            return false;
        }
    } catch (const Exception& e) {
        showError(FmtLoadStr(kly::consts::SFileError, {FileName, e.Message()}));
        return false;
    }
    Editor->ClearAll();
    takeKeys(keys, *Editor->GetKeys());
    // A file does not record its page: it opens in the one the user chose, else the command
    // line's or the locale's, never in the page of a built-in layout opened before.
    if (const int page = chosenPage_ ? chosenPage_ : FileCodePage) SetAnsiCodePage(page);
    Editor->CreateControls();
    startLayout(FileName, baseName(FileName));
    return true;
}

void TEditorForm::OpenBuiltIn(const AnsiString& Name) {
    if (BuiltInLayoutCodePage(Name) == 0)
        throw Exception(FmtLoadStr(consts::SUnknownLayout, {Name, BuiltInLayoutNames()}));
    TKeyCollection keys;
    LoadLayoutResource(&keys, Name);
    // Its captions and values are bytes of its own code page, which becomes the active one.
    if (FollowLayoutCodePage) SelectCodePage(nullptr, Name);
    Editor->ClearAll();
    takeKeys(keys, *Editor->GetKeys());
    Editor->CreateControls();
    startLayout(AnsiString(), LowerCase(Name) + ".kly");
}

void TEditorForm::NewItemClick(TObject*) {
    if (!confirmDiscard()) return;
    Editor->ClearAll();
    startLayout(AnsiString(), LoadResString(consts::SUntitled));
}

void TEditorForm::OpenItemClick(TObject*) {
    if (!confirmDiscard()) return;
    if (OpenDialog->Execute()) OpenFile(OpenDialog->GetFileName());
}

void TEditorForm::BuiltInItemClick(TObject* Sender) {
    if (!confirmDiscard()) return;
    OpenBuiltIn(StripHotkey(As<TMenuItem>(Sender)->GetCaption()));
}

void TEditorForm::SaveItemClick(TObject*) {
    save();
}

void TEditorForm::SaveAsItemClick(TObject*) {
    saveAs();
}

void TEditorForm::QuitItemClick(TObject*) {
    Close();
}

void TEditorForm::FormCloseQuery(TObject*, bool& CanClose) {
    CanClose = confirmDiscard();
}

void TEditorForm::NewKeyItemClick(TObject*) {
    Editor->NewKey();
    currentKey_ = Editor->GetKey(Editor->GetKeys()->GetCount() - 1);
    notice_.clear();
    layoutChanged();
}

void TEditorForm::DeleteKeyItemClick(TObject*) {
    if (!currentKey_) return;
    Editor->DeleteKey(currentKey_);
    currentKey_ = nullptr;
    layoutChanged();
}

void TEditorForm::PropertiesItemClick(TObject*) {
    if (!currentKey_) return;
    Editor->ShowKeyPropertiesDialog(currentKey_);
    layoutChanged();
}

void TEditorForm::ClearAllItemClick(TObject*) {
    if (Editor->GetKeys()->GetCount() == 0) return;
    if (MessageDlg(LoadResString(consts::SClearAll), mtConfirmation, {mbYes, mbNo}, 0) != mrYes)
        return;
    Editor->ClearAll();
    layoutChanged();
}

void TEditorForm::KeyFontItemClick(TObject*) {
    if (Editor->GetKeys()->GetCount() > 0 &&
        MessageDlg(LoadResString(consts::SSetKeyFont), mtConfirmation, {mbYes, mbNo}, 0) != mrYes)
        return;
    FontDialog->SetFont(Editor->GetDefaultKeyFont());
    if (!FontDialog->Execute()) return;
    Editor->SetKeyFont(FontDialog->GetFont());
    layoutChanged();
}

void TEditorForm::ShiftItemClick(TObject* Sender) {
    int delta;
    try {
        delta = StrToInt(trimmed(DeltaEdit->GetText()));
        const std::vector<uint8_t> before = layoutBytes();
        if (Sender == ShiftLeftItem || Sender == ShiftLeftBtn)
            Editor->MoveKeysLeft(delta);
        else if (Sender == ShiftRightItem || Sender == ShiftRightBtn)
            Editor->MoveKeysRight(delta);
        else if (Sender == ShiftUpItem || Sender == ShiftUpBtn)
            Editor->MoveKeysUp(delta);
        else
            Editor->MoveKeysDown(delta);
        const bool refused = layoutBytes() == before && Editor->GetKeys()->GetCount() > 0;
        notice_ = !refused                       ? AnsiString()
                  : Editor->GetLimitDesignArea() ? LoadResString(consts::SShiftRefused)
                                                 : LoadResString(consts::SShiftOutOfRange);
    } catch (const Exception& e) {
        showError(e.Message());
        return;
    }
    layoutChanged();
}

void TEditorForm::GridColorItemClick(TObject* Sender) {
    const std::pair<TMenuItem*, TColor> colours[] = {{GridSilverItem, clSilver},
                                                     {GridGrayItem, clGray},
                                                     {GridBlueItem, clSkyBlue},
                                                     {GridBlackItem, clBlack}};
    for (auto [item, colour] : colours) {
        item->SetChecked(item == Sender);
        if (item == Sender) Editor->SetGridColor(colour);
    }
}

void TEditorForm::LimitItemClick(TObject*) {
    LimitItem->SetChecked(!LimitItem->GetChecked());
    Editor->SetLimitDesignArea(LimitItem->GetChecked());
}

void TEditorForm::PreviewItemClick(TObject*) {
    PreviewItem->SetChecked(!PreviewItem->GetChecked());
    PreviewPanel->SetVisible(PreviewItem->GetChecked());
}

void TEditorForm::CodePageItemClick(TObject* Sender) {
    ChooseCodePage(As<TMenuItem>(Sender)->GetTag());
}

void TEditorForm::ChooseCodePage(int Page) {
    chosenPage_ = Page;
    useCodePage(Page);
}

void TEditorForm::useCodePage(int Page) {
    SetAnsiCodePage(Page);
    // The layout's bytes stay; the buttons and the preview are made again to show them as
    // characters of the new page.
    Editor->DestroyControls();
    Editor->CreateControls();
    Editor->Invalidate();
    shown_.clear();
    layoutChanged();
}

void TEditorForm::EditorKeyClicked(TKey* Key) {
    currentKey_ = Key;
    Editor->ShowKeyPropertiesDialog(Key);
    layoutChanged();
}

void TEditorForm::EditorKeyRightClicked(TKey* Key) {
    currentKey_ = Key;
    layoutChanged();
    const TPoint at = Mouse->GetCursorPos();
    KeyMenu->Popup(at.X, at.Y);
}

} // namespace quimbel::layouteditor
