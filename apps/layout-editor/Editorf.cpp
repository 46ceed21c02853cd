#include "Editorf.h"

#include "EditorConsts.h"
#include "KlyConsts.h"
#include "LayoutFile.h"
#include "LayoutJson.h"

#include "rtl/CodePage.h"
#include "rtl/Streams.h"
#include "runtime/Keypropertiesf.h"
#include "runtime/Quimbel.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
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
    c.Field("KeyPanel", &F::KeyPanel);
    c.Field("KeyPanelLabel", &F::KeyPanelLabel);
    c.Field("LeftLabel", &F::LeftLabel);
    c.Field("LeftEdit", &F::LeftEdit);
    c.Field("TopLabel", &F::TopLabel);
    c.Field("TopEdit", &F::TopEdit);
    c.Field("WidthLabel", &F::WidthLabel);
    c.Field("WidthEdit", &F::WidthEdit);
    c.Field("HeightLabel", &F::HeightLabel);
    c.Field("HeightEdit", &F::HeightEdit);
    c.Field("StatusPanel", &F::StatusPanel);
    c.Field("PreviewPanel", &F::PreviewPanel);
    c.Field("PreviewEdit", &F::PreviewEdit);
    c.Field("PreviewKeyboard", &F::PreviewKeyboard);
    c.Field("EditorBox", &F::EditorBox);
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
    c.Field("UndoItem", &F::UndoItem);
    c.Field("RedoItem", &F::RedoItem);
    c.Field("CutItem", &F::CutItem);
    c.Field("CopyItem", &F::CopyItem);
    c.Field("PasteItem", &F::PasteItem);
    c.Field("SelectAllItem", &F::SelectAllItem);
    c.Field("SelectNextItem", &F::SelectNextItem);
    c.Field("SelectPreviousItem", &F::SelectPreviousItem);
    c.Field("NewKeyItem", &F::NewKeyItem);
    c.Field("DeleteKeyItem", &F::DeleteKeyItem);
    c.Field("PropertiesItem", &F::PropertiesItem);
    c.Field("ClearAllItem", &F::ClearAllItem);
    c.Field("KeyFontItem", &F::KeyFontItem);
    c.Field("ShiftLeftItem", &F::ShiftLeftItem);
    c.Field("ShiftRightItem", &F::ShiftRightItem);
    c.Field("ShiftUpItem", &F::ShiftUpItem);
    c.Field("ShiftDownItem", &F::ShiftDownItem);
    c.Field("MoveItem", &F::MoveItem);
    c.Field("MoveLeftItem", &F::MoveLeftItem);
    c.Field("MoveRightItem", &F::MoveRightItem);
    c.Field("MoveUpItem", &F::MoveUpItem);
    c.Field("MoveDownItem", &F::MoveDownItem);
    c.Field("MoveLeftFarItem", &F::MoveLeftFarItem);
    c.Field("MoveRightFarItem", &F::MoveRightFarItem);
    c.Field("MoveUpFarItem", &F::MoveUpFarItem);
    c.Field("MoveDownFarItem", &F::MoveDownFarItem);
    c.Field("AlignItem", &F::AlignItem);
    c.Field("AlignLeftItem", &F::AlignLeftItem);
    c.Field("AlignTopItem", &F::AlignTopItem);
    c.Field("AlignRightItem", &F::AlignRightItem);
    c.Field("AlignBottomItem", &F::AlignBottomItem);
    c.Field("DistributeAcrossItem", &F::DistributeAcrossItem);
    c.Field("DistributeDownItem", &F::DistributeDownItem);
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
    c.Method<TNotifyEvent>("UndoItemClick", &F::UndoItemClick);
    c.Method<TNotifyEvent>("RedoItemClick", &F::RedoItemClick);
    c.Method<TNotifyEvent>("CutItemClick", &F::CutItemClick);
    c.Method<TNotifyEvent>("CopyItemClick", &F::CopyItemClick);
    c.Method<TNotifyEvent>("PasteItemClick", &F::PasteItemClick);
    c.Method<TNotifyEvent>("SelectAllItemClick", &F::SelectAllItemClick);
    c.Method<TNotifyEvent>("SelectNextItemClick", &F::SelectNextItemClick);
    c.Method<TNotifyEvent>("MoveItemClick", &F::MoveItemClick);
    c.Method<TNotifyEvent>("AlignItemClick", &F::AlignItemClick);
    c.Method<TNotifyEvent>("KeyFieldExit", &F::KeyFieldExit);
    c.Method<TKeyDownEvent>("KeyFieldKeyDown", &F::KeyFieldKeyDown);
    c.Method<TNotifyEvent>("FormResize", &F::FormResize);
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

// The whole number S holds, or false.
bool parseInt(const AnsiString& S, int& Value) {
    try {
        Value = StrToInt(S);
        return true;
    } catch (const Exception&) {
        return false;
    }
}

// Moves the keys of From to the end of To, in order.
void takeKeys(TKeyCollection& From, TKeyCollection& To) {
    while (From.GetCount() > 0) {
        TKey* key = From.GetItem(0);
        From.DeleteKey(0);
        To.AddKey(key);
    }
}

int indexOf(const TKeyCollection& Keys, const TKey* Key) {
    for (int i = 0; i < Keys.GetCount(); ++i)
        if (Keys.GetItem(i) == Key) return i;
    return -1;
}

// Layout units, rounded down also left of and above the editor.
int units(int Pixels) {
    return Pixels >= 0 ? Pixels / PixelsPerUnit : -((PixelsPerUnit - 1 - Pixels) / PixelsPerUnit);
}

// The smallest rectangle around Keys, in layout units.
TRect keyBounds(const std::vector<TKey*>& Keys) {
    TRect r{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
    for (const TKey* k : Keys) {
        r.Left = std::min(r.Left, k->Left);
        r.Top = std::min(r.Top, k->Top);
        r.Right = std::max(r.Right, k->Left + int(k->Width));
        r.Bottom = std::max(r.Bottom, k->Top + int(k->Height));
    }
    return r;
}

// A standard key is 8 layout units wide: Shift+arrow moves by one.
constexpr int KeyStep = 8;

// The colour that marks the selected keys: a frame drawn over each.
constexpr TColor SelectionColor = clHighlight;

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
    // Clicks on the grid lines reach the editor itself, where they start a rubber band.
    for (int i = 0; i < Editor->ControlCount(); ++i)
        if (auto* line = dynamic_cast<TShape*>(Editor->GetControl(i))) line->SetEnabled(false);
    SetClipboardText = [this](const std::string& Utf8) { clipboard_ = Utf8; };
    GetClipboardText = [this] { return clipboard_; };
    FileCodePage = GetAnsiCodePage();
    startLayout(AnsiString(), LoadResString(consts::SUntitled));
    arrange();
}

std::vector<uint8_t> TEditorForm::layoutBytes() const {
    return LayoutBytes(*Editor->GetKeys());
}

bool TEditorForm::Modified() const {
    return layoutBytes() != saved_;
}

void TEditorForm::startLayout(const AnsiString& FileName, const AnsiString& Title) {
    selection_.clear();
    fileName_ = FileName;
    title_ = Title;
    saved_ = layoutBytes();
    undo_.Reset(saved_);
    notice_.clear();
    layoutChanged();
}

void TEditorForm::changed(const AnsiString& What) {
    undo_.Record(What, layoutBytes());
    layoutChanged();
}

void TEditorForm::restore(const TLayoutBytes& Bytes) {
    // The keys are made anew; those at the places of the selected ones stay selected.
    std::vector<int> selected;
    for (TKey* key : selection_)
        selected.push_back(indexOf(*Editor->GetKeys(), key));
    Editor->DestroyControls();
    SetLayoutBytes(*Editor->GetKeys(), Bytes);
    Editor->CreateControls();
    selection_.clear();
    for (int i : selected)
        if (i >= 0 && i < Editor->GetKeys()->GetCount()) selection_.push_back(Editor->GetKey(i));
    notice_.clear();
    layoutChanged();
}

bool TEditorForm::typesNothing(const TKey* Key) const {
    return Key->KeyType == ktNormal && Key->GetKeyValue(klNormal).empty() &&
           Key->GetKeyValue(klShift).empty() && Key->GetKeyValue(klAltGr).empty();
}

void TEditorForm::layoutChanged() {
    TKeyCollection* keys = Editor->GetKeys();
    std::vector<TKey*> kept;
    for (TKey* key : selection_)
        if (indexOf(*keys, key) >= 0) kept.push_back(key);
    selection_ = kept;

    std::vector<uint8_t> bytes = layoutBytes();
    // A drag of the editor is a step of its own once the button is up.
    if (!Editor->Design().Pressed()) undo_.Record(LoadResString(consts::SStepMove), bytes);
    if (bytes != shown_ || PreviewKeyboard->GetKeys()->GetCount() != keys->GetCount()) {
        // The preview shows a copy, so that typing into it never touches the edited keys.
        auto copy = std::make_unique<TKeyCollection>();
        SetLayoutBytes(*copy, bytes);
        PreviewKeyboard->SetKeys(copy.release());
        shown_ = bytes;
    }
    SetCaption(FmtLoadStr(consts::STitle, {AnsiString(bytes != saved_ ? "*" : ""), title_}));
    const bool haveKey = !selection_.empty();
    for (TMenuItem* item : {DeleteKeyItem, PropertiesItem, KeyDeleteItem, KeyPropertiesItem,
                            CutItem, CopyItem, MoveItem, AlignItem})
        item->SetEnabled(haveKey);
    DeleteKeyBtn->SetEnabled(haveKey);
    PropertiesBtn->SetEnabled(haveKey);
    UndoItem->SetEnabled(undo_.CanUndo());
    UndoItem->SetCaption(undo_.CanUndo() ? FmtLoadStr(consts::SUndo, {undo_.UndoName()})
                                         : LoadResString(consts::SUndoNothing));
    RedoItem->SetEnabled(undo_.CanRedo());
    RedoItem->SetCaption(undo_.CanRedo() ? FmtLoadStr(consts::SRedo, {undo_.RedoName()})
                                         : LoadResString(consts::SRedoNothing));
    hookInput();
    showSelection();
    showStatus();
    fitEditor();
}

void TEditorForm::showSelection() {
    TKeyCollection* keys = Editor->GetKeys();
    // Keys that type nothing show their caption in red.
    for (int i = 0; i < keys->GetCount(); ++i) {
        TKey* key = keys->GetItem(i);
        if (!key->Control) continue;
        const TColor colour = typesNothing(key) ? clRed : key->Font->GetColor();
        if (key->Control->GetFont()->GetColor() != colour)
            key->Control->GetFont()->SetColor(colour);
    }
    // One frame over each selected key, above the buttons.
    size_t shown = 0;
    for (TKey* key : selection_) {
        if (!key->Control) continue;
        if (shown == frames_.size()) {
            auto* frame = new TShape(Editor);
            frame->SetParent(Editor);
            frame->SetEnabled(false);
            frame->GetBrush()->SetStyle(bsClear);
            frame->GetPen()->SetWidth(2);
            frame->SetTag(1);
            frames_.push_back(frame);
        }
        TShape* frame = frames_[shown++];
        const TControl* b = key->Control;
        frame->GetPen()->SetColor(SelectionColor);
        frame->SetBounds(b->GetLeft() - 1, b->GetTop() - 1, b->GetWidth() + 2, b->GetHeight() + 2);
        frame->SetVisible(true);
        frame->BringToFront();
    }
    for (size_t i = shown; i < frames_.size(); ++i)
        frames_[i]->SetVisible(false);

    // The panel shows a value that all selected keys share; a field of values that differ is
    // empty.
    const std::pair<TEdit*, std::function<int(const TKey*)>> fields[] = {
        {LeftEdit, [](const TKey* k) { return k->Left; }},
        {TopEdit, [](const TKey* k) { return k->Top; }},
        {WidthEdit, [](const TKey* k) { return int(k->Width); }},
        {HeightEdit, [](const TKey* k) { return int(k->Height); }}};
    for (const auto& [edit, value] : fields) {
        AnsiString text;
        if (!selection_.empty()) {
            text = IntToStr(value(selection_.front()));
            for (const TKey* key : selection_)
                if (value(key) != value(selection_.front())) text.clear();
        }
        if (edit->GetText() != text) edit->SetText(text);
        edit->SetEnabled(!selection_.empty());
    }
}

void TEditorForm::showStatus() {
    const int count = Editor->GetKeys()->GetCount();
    AnsiString text = "  " + (count == 1 ? LoadResString(consts::SOneKey)
                                         : FmtLoadStr(consts::SKeyCount, {count}));
    int silent = 0;
    for (int i = 0; i < count; ++i)
        silent += typesNothing(Editor->GetKey(i));
    if (silent) text += ", " + FmtLoadStr(consts::SSilentKeys, {silent});
    if (selection_.size() > 1)
        text += "     " + FmtLoadStr(consts::SSelectedKeys, {int(selection_.size())});
    else if (TKey* key = CurrentKey())
        text += "     " +
                FmtLoadStr(consts::SCurrentKey, {key->KeyCaption[klNormal], key->Left, key->Top,
                                                 int(key->Width), int(key->Height)});
    if (pointer_.X >= 0) text += "     " + FmtLoadStr(consts::SPointer, {pointer_.X, pointer_.Y});
    if (!notice_.empty()) text += "     " + notice_;
    const int page = GetAnsiCodePage();
    text += "     " + FmtLoadStr(consts::SCodePageStatus, {page, CodePageScript(page)});
    StatusPanel->SetCaption(text);
    for (int i = 0; i < CodePageItem->GetCount(); ++i)
        CodePageItem->GetItem(i)->SetChecked(CodePageItem->GetItem(i)->GetTag() == page);
}

void TEditorForm::hookInput() {
    // Every control on the editor is hooked once (its Tag marks it): the editor for the rubber
    // band, the key buttons for selecting and dragging the selection, all of them for the
    // pointer position in the status line.
    auto hook = [this](TControl* Control) {
        if (Control->GetTag() == 1) return;
        Control->SetTag(1);
        auto* button = dynamic_cast<TKeyControl*>(Control);
        const TMouseEvent down = Control->OnMouseDown;
        Control->OnMouseDown = [this, down, button](TObject* Sender, TMouseButton Button,
                                                    TShiftState Shift, int X, int Y) {
            if (button && Button == mbLeft) keyDown(button, Shift);
            if (down) down(Sender, Button, Shift, X, Y);
            if (!button) bandDown(Button, Shift, X, Y);
        };
        const TMouseMoveEvent move = Control->OnMouseMove;
        Control->OnMouseMove = [this, move](TObject* Sender, TShiftState Shift, int X, int Y) {
            if (move) move(Sender, Shift, X, Y);
            const TPoint p = Editor->ScreenToClient(Mouse->GetCursorPos());
            pointer_ = {units(p.X), units(p.Y)};
            bandMove(p.X, p.Y);
            // The other selected keys follow the dragged one.
            if (dragKey_ && Editor->Design().Pressed() && Editor->Design().Dragging()) {
                const int dx = dragKey_->Left - dragFrom_.front().X;
                const int dy = dragKey_->Top - dragFrom_.front().Y;
                for (size_t i = 0; i < selection_.size(); ++i) {
                    if (selection_[i] == dragKey_) continue;
                    selection_[i]->SetLeft(dragFrom_[i + 1].X + dx);
                    selection_[i]->SetTop(dragFrom_[i + 1].Y + dy);
                }
            }
            layoutChanged();
        };
        const TMouseEvent up = Control->OnMouseUp;
        Control->OnMouseUp = [this, up, button](TObject* Sender, TMouseButton Button,
                                                TShiftState Shift, int X, int Y) {
            if (up) up(Sender, Button, Shift, X, Y);
            if (!button) bandUp();
            if (Button == mbLeft) dragKey_ = nullptr;
            layoutChanged();
        };
    };
    hook(Editor);
    for (int i = 0; i < Editor->ControlCount(); ++i)
        hook(Editor->GetControl(i));
}

void TEditorForm::keyDown(TKeyControl* Button, TShiftState Shift) {
    TKey* key = Button->Key;
    if (!key) return;
    commitField();
    const bool selected = std::find(selection_.begin(), selection_.end(), key) != selection_.end();
    clickOpens_ = selection_.size() == 1 && selected && !Shift.Contains(ssShift);
    shiftClick_ = Shift.Contains(ssShift);
    if (shiftClick_)
        select(key, true);
    else if (!selected)
        select(key, false);
    // The pressed key leads a drag; where every selected key started.
    dragKey_ =
        std::find(selection_.begin(), selection_.end(), key) != selection_.end() ? key : nullptr;
    dragFrom_.assign(1, {key->Left, key->Top});
    for (const TKey* k : selection_)
        dragFrom_.push_back({k->Left, k->Top});
    layoutChanged();
    leaveTextField();
}

void TEditorForm::commitField() {
    TWinControl* focused = FindFocusedControl();
    for (TEdit* edit : {LeftEdit, TopEdit, WidthEdit, HeightEdit})
        if (focused == edit) KeyFieldExit(edit);
}

void TEditorForm::leaveTextField() {
    // The grid takes no focus itself: keys pressed after a click on it go to the selection,
    // not into the text field that had the focus, and Enter opens the key's properties.
    if (!dynamic_cast<TCustomEdit*>(FindFocusedControl())) return;
    for (TButton* button : {PropertiesBtn, NewKeyBtn})
        if (button->CanFocus()) return button->SetFocus();
}

void TEditorForm::select(TKey* Key, bool Add) {
    auto at = std::find(selection_.begin(), selection_.end(), Key);
    if (!Add) {
        selection_.assign(1, Key);
    } else if (at != selection_.end()) {
        selection_.erase(at);
    } else {
        selection_.push_back(Key);
    }
}

void TEditorForm::SelectKeys(int First, int Last) {
    selection_.clear();
    for (int i = std::max(First, 0); i <= Last && i < Editor->GetKeys()->GetCount(); ++i)
        selection_.push_back(Editor->GetKey(i));
    layoutChanged();
}

void TEditorForm::bandDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (Button != mbLeft) return;
    commitField();
    bandFrom_ = {X, Y};
    if (!Shift.Contains(ssShift)) selection_.clear();
    band_ = new TShape(Editor);
    band_->SetParent(Editor);
    band_->SetEnabled(false);
    band_->SetTag(1);
    band_->GetBrush()->SetStyle(bsClear);
    band_->GetPen()->SetStyle(psDot);
    band_->GetPen()->SetColor(SelectionColor);
    band_->SetBounds(X, Y, 1, 1);
}

void TEditorForm::bandMove(int X, int Y) {
    if (!band_) return;
    band_->SetBounds(std::min(X, bandFrom_.X), std::min(Y, bandFrom_.Y),
                     std::abs(X - bandFrom_.X) + 1, std::abs(Y - bandFrom_.Y) + 1);
}

void TEditorForm::bandUp() {
    if (!band_) return;
    const TRect r = band_->BoundsRect();
    delete band_;
    band_ = nullptr;
    // Every key the band touches joins the selection.
    TKeyCollection* keys = Editor->GetKeys();
    for (int i = 0; i < keys->GetCount(); ++i) {
        TKey* key = keys->GetItem(i);
        const TControl* b = key->Control;
        if (!b || r.Right - r.Left <= 1 || r.Bottom - r.Top <= 1) continue;
        const bool touches = b->GetLeft() < r.Right && r.Left < b->GetLeft() + b->GetWidth() &&
                             b->GetTop() < r.Bottom && r.Top < b->GetTop() + b->GetHeight();
        if (touches && std::find(selection_.begin(), selection_.end(), key) == selection_.end())
            selection_.push_back(key);
    }
    layoutChanged();
    leaveTextField();
}

void TEditorForm::arrange() {
    // The toolbar's controls in rows, wrapped at the window's width.
    const int width = std::max(GetClientWidth(), 1);
    constexpr int Gap = 4, Row = 28;
    int x = Gap, y = 4;
    auto place = [&](int W, const std::function<void(int, int)>& Put) {
        if (x > Gap && x + W > width - Gap) {
            x = Gap;
            y += Row;
        }
        Put(x, y);
        x += W + Gap;
    };
    for (TButton* b : {NewKeyBtn, DeleteKeyBtn, PropertiesBtn, ShiftLeftBtn, ShiftRightBtn,
                       ShiftUpBtn, ShiftDownBtn})
        place(b->GetWidth(), [b](int X, int Y) { b->SetBounds(X, Y, b->GetWidth(), 24); });
    place(20 + DeltaEdit->GetWidth(), [this](int X, int Y) {
        DeltaLabel->SetBounds(X, Y + 5, 16, DeltaLabel->GetHeight());
        DeltaEdit->SetBounds(X + 20, Y + 1, DeltaEdit->GetWidth(), 22);
    });
    ToolBar->SetHeight(y + Row + 2);
    // The editor keeps at least half of what the toolbar and the status line leave, and room
    // for the key panel's fields; the preview takes at most the rest.
    const int left = GetClientHeight() - ToolBar->GetHeight() - StatusPanel->GetHeight();
    const int editor = std::max(left / 2, HeightEdit->GetTop() + HeightEdit->GetHeight() + 4);
    PreviewPanel->SetHeight(std::clamp(left - editor, 0, 278));
    // Bottom-aligned panels stack in the order of their tops: the status line stays lowest.
    StatusPanel->SetTop(GetClientHeight());
    fitEditor();
}

void TEditorForm::fitEditor() {
    if (!EditorBox || !Editor) return;
    int right = 0, bottom = 0;
    for (int i = 0; i < Editor->GetControlCount(); ++i) {
        const TControl* c = Editor->GetControl(i);
        if (!c->Is<TKeyControl>()) continue;
        right = std::max(right, c->GetLeft() + c->GetWidth());
        bottom = std::max(bottom, c->GetTop() + c->GetHeight());
    }
    // Twice: a bar the first size brings takes client space the second one sees.
    for (int pass = 0; pass < 2; ++pass)
        Editor->SetBounds(Editor->GetLeft(), Editor->GetTop(),
                          std::max(EditorBox->GetClientWidth(), right + 2 * PixelsPerUnit),
                          std::max(EditorBox->GetClientHeight(), bottom + 2 * PixelsPerUnit));
}

void TEditorForm::FormResize(TObject*) {
    arrange();
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

void TEditorForm::UndoItemClick(TObject*) {
    if (undo_.CanUndo()) restore(undo_.Undo());
}

void TEditorForm::RedoItemClick(TObject*) {
    if (undo_.CanRedo()) restore(undo_.Redo());
}

void TEditorForm::NewKeyItemClick(TObject*) {
    Editor->NewKey();
    // Each new key goes to the first free place, so that new keys never hide one another.
    TKeyCollection* keys = Editor->GetKeys();
    TKey* key = keys->GetItem(keys->GetCount() - 1);
    const TPoint at =
        FreeKeyPlace(*keys, key->Width, key->Height, Editor->GetClientWidth() / PixelsPerUnit, key);
    key->SetLeft(at.X);
    key->SetTop(at.Y);
    selection_.assign(1, key);
    notice_.clear();
    changed(LoadResString(consts::SStepNewKey));
    if (key->Control) EditorBox->ScrollInView(key->Control);
}

void TEditorForm::DeleteKeyItemClick(TObject*) {
    if (selection_.empty()) return;
    for (TKey* key : std::vector<TKey*>(selection_))
        Editor->DeleteKey(key);
    selection_.clear();
    changed(LoadResString(consts::SStepDelete));
}

void TEditorForm::PropertiesItemClick(TObject*) {
    TKey* key = CurrentKey();
    if (!key) return;
    EditKeyPropertiesAssisted(Editor, key);
    changed(LoadResString(consts::SStepProperties));
}

void TEditorForm::ClearAllItemClick(TObject*) {
    if (Editor->GetKeys()->GetCount() == 0) return;
    if (ConfirmDefaultNo(LoadResString(consts::SClearAll)) != mrYes) return;
    Editor->ClearAll();
    changed(LoadResString(consts::SStepClearAll));
}

void TEditorForm::KeyFontItemClick(TObject*) {
    if (Editor->GetKeys()->GetCount() > 0 &&
        MessageDlg(LoadResString(consts::SSetKeyFont), mtConfirmation, {mbYes, mbNo}, 0) != mrYes)
        return;
    FontDialog->SetFont(Editor->GetDefaultKeyFont());
    if (!FontDialog->Execute()) return;
    Editor->SetKeyFont(FontDialog->GetFont());
    changed(LoadResString(consts::SStepKeyFont));
}

int TEditorForm::shiftAmount() {
    const AnsiString text = trimmed(DeltaEdit->GetText());
    int delta = 0;
    if (text.empty())
        showError(FmtLoadStr(consts::SShiftEmpty, {1, consts::MaxShift}));
    else if (!parseInt(text, delta) || delta < 1 || delta > consts::MaxShift)
        showError(FmtLoadStr(consts::SShiftInvalid, {text, 1, consts::MaxShift}));
    else
        return delta;
    if (DeltaEdit->CanFocus()) DeltaEdit->SetFocus();
    return 0;
}

void TEditorForm::ShiftItemClick(TObject* Sender) {
    const int delta = shiftAmount();
    if (delta == 0) return;
    try {
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
    changed(LoadResString(consts::SStepShift));
}

bool TEditorForm::moveSelection(int DX, int DY) {
    for (const TKey* key : selection_) {
        const long long left = static_cast<long long>(key->Left) + DX;
        const long long top = static_cast<long long>(key->Top) + DY;
        if (left < INT_MIN || left > INT_MAX || top < INT_MIN || top > INT_MAX) return false;
        if (Editor->GetLimitDesignArea() && (left < 0 || top < 0)) return false;
    }
    for (TKey* key : selection_) {
        key->SetLeft(key->Left + DX);
        key->SetTop(key->Top + DY);
    }
    return true;
}

void TEditorForm::MoveItemClick(TObject* Sender) {
    const std::pair<TMenuItem*, TPoint> moves[] = {{MoveLeftItem, {-1, 0}},
                                                   {MoveRightItem, {1, 0}},
                                                   {MoveUpItem, {0, -1}},
                                                   {MoveDownItem, {0, 1}},
                                                   {MoveLeftFarItem, {-KeyStep, 0}},
                                                   {MoveRightFarItem, {KeyStep, 0}},
                                                   {MoveUpFarItem, {0, -KeyStep}},
                                                   {MoveDownFarItem, {0, KeyStep}}};
    for (auto [item, by] : moves)
        if (item == Sender) {
            notice_ =
                moveSelection(by.X, by.Y) ? AnsiString() : LoadResString(consts::SShiftRefused);
            changed(LoadResString(consts::SStepMove));
        }
}

void TEditorForm::AlignItemClick(TObject* Sender) {
    if (selection_.size() < 2) return;
    const TRect box = keyBounds(selection_);
    const int minLeft = box.Left, minTop = box.Top, maxRight = box.Right, maxBottom = box.Bottom;
    if (Sender == DistributeAcrossItem || Sender == DistributeDownItem) {
        // Equal gaps between the keys, from the first to the last in that direction.
        const bool across = Sender == DistributeAcrossItem;
        std::vector<TKey*> keys = selection_;
        std::stable_sort(keys.begin(), keys.end(), [&](const TKey* a, const TKey* b) {
            return across ? a->Left < b->Left : a->Top < b->Top;
        });
        long long sizes = 0;
        for (const TKey* k : keys)
            sizes += across ? k->Width : k->Height;
        const long long space = (across ? maxRight - minLeft : maxBottom - minTop) - sizes;
        long long at = across ? minLeft : minTop;
        for (size_t i = 0; i < keys.size(); ++i) {
            // The rest of the division goes to the first gaps, one unit each.
            const long long gap = space / long(keys.size() - 1) +
                                  (i < static_cast<size_t>(space % long(keys.size() - 1)) ? 1 : 0);
            across ? keys[i]->SetLeft(int(at)) : keys[i]->SetTop(int(at));
            at += (across ? keys[i]->Width : keys[i]->Height) + gap;
        }
        changed(LoadResString(consts::SStepDistribute));
        return;
    }
    for (TKey* k : selection_) {
        if (Sender == AlignLeftItem) k->SetLeft(minLeft);
        if (Sender == AlignTopItem) k->SetTop(minTop);
        if (Sender == AlignRightItem) k->SetLeft(maxRight - k->Width);
        if (Sender == AlignBottomItem) k->SetTop(maxBottom - k->Height);
    }
    changed(LoadResString(consts::SStepAlign));
}

void TEditorForm::SelectAllItemClick(TObject*) {
    SelectKeys(0, Editor->GetKeys()->GetCount() - 1);
}

void TEditorForm::SelectNextItemClick(TObject* Sender) {
    // The keys in layout order, round: from the current key to the next or the previous one.
    const int count = Editor->GetKeys()->GetCount();
    if (count == 0) return;
    const int at = indexOf(*Editor->GetKeys(), CurrentKey());
    const int next =
        Sender == SelectPreviousItem ? (at <= 0 ? count - 1 : at - 1) : (at + 1) % count;
    SelectKeys(next, next);
}

void TEditorForm::CopyItemClick(TObject*) {
    if (selection_.empty()) return;
    // A copy of the whole layout without the keys that are not selected, in layout order.
    TKeyCollection copy;
    SetLayoutBytes(copy, layoutBytes());
    for (int i = Editor->GetKeys()->GetCount() - 1; i >= 0; --i)
        if (std::find(selection_.begin(), selection_.end(), Editor->GetKey(i)) == selection_.end())
            copy.DeleteAndFreeKey(i);
    SetClipboardText(kly::LayoutToJson(copy, true));
}

void TEditorForm::CutItemClick(TObject*) {
    if (selection_.empty()) return;
    CopyItemClick(nullptr);
    for (TKey* key : std::vector<TKey*>(selection_))
        Editor->DeleteKey(key);
    selection_.clear();
    changed(LoadResString(consts::SStepCut));
}

void TEditorForm::PasteItemClick(TObject*) {
    TKeyCollection pasted;
    try {
        kly::LayoutFromJson(GetClipboardText(), pasted, false);
    } catch (const Exception& e) {
        notice_ = FmtLoadStr(consts::SNoKeysOnClipboard, {e.Message()});
        layoutChanged();
        return;
    }
    if (pasted.GetCount() == 0) return;
    // The keys keep their arrangement and go, as one block, to the first free place.
    selection_.clear();
    for (int i = 0; i < pasted.GetCount(); ++i)
        selection_.push_back(pasted.GetItem(i));
    const TRect box = keyBounds(selection_);
    const TPoint at = FreeKeyPlace(*Editor->GetKeys(), box.Right - box.Left, box.Bottom - box.Top,
                                   Editor->GetClientWidth() / PixelsPerUnit);
    for (TKey* k : selection_) {
        k->SetLeft(k->Left - box.Left + at.X);
        k->SetTop(k->Top - box.Top + at.Y);
    }
    Editor->DestroyControls();
    takeKeys(pasted, *Editor->GetKeys());
    Editor->CreateControls();
    notice_.clear();
    changed(LoadResString(consts::SStepPaste));
}

void TEditorForm::KeyFieldKeyDown(TObject* Sender, Word& Key, TShiftState) {
    if (Key != VK_RETURN) return;
    Key = 0;
    KeyFieldExit(Sender);
}

void TEditorForm::KeyFieldExit(TObject* Sender) {
    auto* edit = dynamic_cast<TEdit*>(Sender);
    if (!edit || selection_.empty()) return;
    const AnsiString text = trimmed(edit->GetText());
    // An empty field (values that differ) changes nothing.
    if (text.empty()) return showSelection();
    const bool size = edit == WidthEdit || edit == HeightEdit;
    const int low = size ? 1 : 0, high = size ? 80 : consts::MaxShift;
    int value = 0;
    if (!parseInt(text, value) || value < low || value > high) {
        const AnsiString field = StripHotkey((edit == LeftEdit    ? LeftLabel
                                              : edit == TopEdit   ? TopLabel
                                              : edit == WidthEdit ? WidthLabel
                                                                  : HeightLabel)
                                                 ->GetCaption());
        showSelection();
        showError(FmtLoadStr(consts::SFieldInvalid, {text, LowerCase(field), low, high}));
        return;
    }
    for (TKey* key : selection_) {
        if (edit == LeftEdit) key->SetLeft(value);
        if (edit == TopEdit) key->SetTop(value);
        if (edit == WidthEdit) key->SetWidth(static_cast<TKeyWidth>(value));
        if (edit == HeightEdit) key->SetHeight(static_cast<TKeyHeight>(value));
    }
    changed(LoadResString(consts::SStepPosition));
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
    // The grid colour reaches every shape, the selection's frames too.
    showSelection();
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
    // The press selected the key already (a press on a selected key keeps the selection, to drag
    // it); a click on the key that was the only one selected opens its properties.
    const bool opens = clickOpens_ && CurrentKey() == Key;
    const bool shift = shiftClick_;
    clickOpens_ = shiftClick_ = false;
    if (opens) return PropertiesItemClick(nullptr);
    // A click that was no drag selects that key alone.
    if (!shift) select(Key, false);
    layoutChanged();
}

void TEditorForm::EditorKeyRightClicked(TKey* Key) {
    if (std::find(selection_.begin(), selection_.end(), Key) == selection_.end())
        select(Key, false);
    layoutChanged();
    const TPoint at = Mouse->GetCursorPos();
    KeyMenu->Popup(at.X, at.Y);
}

} // namespace quimbel::layouteditor
