#include "vcl/StdCtrls.h"

#include "vcl/Forms.h"
#include "vcl/Publish.h"
#include "vcl/VCLConsts.h"

#include <algorithm>
#include <limits>

namespace vcl {

const TEnumInfo TTextLayoutInfo{"TTextLayout", {"tlTop", "tlCenter", "tlBottom"}};
const TEnumInfo TEditCharCaseInfo{"TEditCharCase", {"ecNormal", "ecUpperCase", "ecLowerCase"}};
const TEnumInfo TComboBoxStyleInfo{
    "TComboBoxStyle",
    {"csDropDown", "csSimple", "csDropDownList", "csOwnerDrawFixed", "csOwnerDrawVariable"}};
const TEnumInfo TScrollBarKindInfo{"TScrollBarKind", {"sbHorizontal", "sbVertical"}};
const TEnumInfo TScrollStyleInfo{"TScrollStyle",
                                 {"ssNone", "ssHorizontal", "ssVertical", "ssBoth"}};

namespace {

AnsiString applyCase(const AnsiString& s, TEditCharCase c) {
    switch (c) {
    case ecUpperCase:
        return UpperCase(s);
    case ecLowerCase:
        return LowerCase(s);
    default:
        return s;
    }
}

} // namespace

// --- TCustomLabel -------------------------------------------------------------------------------

VCL_DEFINE_PLAIN_CLASS(TCustomLabel, TGraphicControl)

TCustomLabel::TCustomLabel(TComponent* AOwner) : TGraphicControl(AOwner) {
    ControlStyle().Include(csOpaque);
    ControlStyle().Include(csReplicatable);
    SetBounds(0, 0, 65, 17);
}

void TCustomLabel::SetAlignment(TAlignment Value) {
    if (alignment_ == Value) return;
    alignment_ = Value;
    Invalidate();
}

void TCustomLabel::SetAutoSize(bool Value) {
    if (autoSize_ == Value) return;
    autoSize_ = Value;
    AdjustBounds();
}

void TCustomLabel::SetFocusControl(TWinControl* Value) {
    focusControl_ = Value;
    if (Value) Value->FreeNotification(this);
}

void TCustomLabel::SetLayout(TTextLayout Value) {
    if (layout_ == Value) return;
    layout_ = Value;
    Invalidate();
}

void TCustomLabel::SetShowAccelChar(bool Value) {
    if (showAccelChar_ == Value) return;
    showAccelChar_ = Value;
    AdjustBounds();
    Invalidate();
}

void TCustomLabel::SetTransparent(bool Value) {
    if (transparent_ == Value) return;
    transparent_ = Value;
    Invalidate();
}

void TCustomLabel::SetWordWrap(bool Value) {
    if (wordWrap_ == Value) return;
    wordWrap_ = Value;
    AdjustBounds();
    Invalidate();
}

AnsiString TCustomLabel::GetDisplayText() const {
    return showAccelChar_ ? StripHotkey(GetCaption()) : GetCaption();
}

void TCustomLabel::AdjustBounds() {
    if (!autoSize_ || IsLoading()) return;
    AnsiString text = GetDisplayText();
    TSize size = Widgetset()->TextExtent(GetFont(), text.empty() ? AnsiString(" ") : text);
    if (text.empty()) size.cx = 0;
    int width = wordWrap_ ? GetWidth() : size.cx;
    int left = GetLeft();
    if (alignment_ == taRightJustify && !wordWrap_) left = GetLeft() + GetWidth() - width;
    SetBounds(left, GetTop(), width, size.cy);
}

void TCustomLabel::Loaded() {
    TGraphicControl::Loaded();
    AdjustBounds();
}

void TCustomLabel::Notification(TComponent* AComponent, TOperation Operation) {
    TGraphicControl::Notification(AComponent, Operation);
    if (Operation == opRemove && SameObject(AComponent, focusControl_)) focusControl_ = nullptr;
}

void TCustomLabel::TextChanged() {
    TGraphicControl::TextChanged();
    AdjustBounds();
}

void TCustomLabel::FontChanged() {
    TGraphicControl::FontChanged();
    AdjustBounds();
}

VCL_DEFINE_CLASS(TLabel, TCustomLabel, c) {
    publish::Align(c);
    c.Enum("Alignment", TAlignmentInfo, &TLabel::GetAlignment, &TLabel::SetAlignment)
        .Default(taLeftJustify);
    publish::Anchors(c);
    c.Bool("AutoSize", &TLabel::GetAutoSize, &TLabel::SetAutoSize).Default(true);
    publish::Caption(c);
    publish::Color(c, clBtnFace);
    publish::Constraints(c);
    publish::Enabled(c);
    c.Object<TWinControl>("FocusControl", &TLabel::GetFocusControl, &TLabel::SetFocusControl);
    publish::Font(c);
    c.Enum("Layout", TTextLayoutInfo, &TLabel::GetLayout, &TLabel::SetLayout).Default(tlTop);
    publish::ParentColor(c, true);
    publish::ParentFont(c);
    publish::ParentShowHint(c);
    publish::PopupMenu(c);
    c.Bool("ShowAccelChar", &TLabel::GetShowAccelChar, &TLabel::SetShowAccelChar).Default(true);
    publish::ShowHint(c);
    c.Bool("Transparent", &TLabel::GetTransparent, &TLabel::SetTransparent).Default(false);
    publish::Visible(c);
    c.Bool("WordWrap", &TLabel::GetWordWrap, &TLabel::SetWordWrap).Default(false);
    c.Event("OnClick", &TLabel::OnClick);
    c.Event("OnDblClick", &TLabel::OnDblClick);
    publish::MouseEvents(c);
}

// --- TCustomEdit --------------------------------------------------------------------------------

VCL_DEFINE_PLAIN_CLASS(TCustomEdit, TWinControl)

TCustomEdit::TCustomEdit(TComponent* AOwner) : TWinControl(AOwner) {
    ControlStyle() = TControlStyle{csClickEvents, csSetCaption, csDoubleClicks, csFixedHeight};
    SetBounds(0, 0, 121, 21);
    SetTabStop(true);
    SetColor(clWindow);
    // The new colour equals the inherited default, so SetColor alone keeps ParentColor on.
    SetParentColor(false);
}

void TCustomEdit::SetBorderStyle(TBorderStyle Value) {
    if (borderStyle_ == Value) return;
    borderStyle_ = Value;
    PeerChanged(pcAppearance);
}

TRect TCustomEdit::NonClientInsets() const {
    if (borderStyle_ == bsNone) return TRect();
    int b = GetCtl3D() ? 2 : 1;
    return TRect(b, b, b, b);
}

void TCustomEdit::SetCharCase(TEditCharCase Value) {
    if (charCase_ == Value) return;
    charCase_ = Value;
    PeerChanged(pcEditOptions);
    SetText(applyCase(GetText(), Value));
}

void TCustomEdit::SetMaxLength(int Value) {
    if (Value < 0) Value = 0;
    if (maxLength_ == Value) return;
    maxLength_ = Value;
    PeerChanged(pcEditOptions);
}

void TCustomEdit::SetPasswordChar(char Value) {
    if (passwordChar_ == Value) return;
    passwordChar_ = Value;
    PeerChanged(pcEditOptions);
}

void TCustomEdit::SetReadOnly(bool Value) {
    if (readOnly_ == Value) return;
    readOnly_ = Value;
    PeerChanged(pcEditOptions);
}

void TCustomEdit::SetSelStart(int Value) {
    int len = static_cast<int>(GetText().size());
    selStart_ = std::clamp(Value, 0, len);
    selLength_ = 0;
    PeerChanged(pcSelection);
}

void TCustomEdit::SetSelLength(int Value) {
    int len = static_cast<int>(GetText().size());
    selLength_ = std::clamp(Value, 0, len - selStart_);
    PeerChanged(pcSelection);
}

AnsiString TCustomEdit::GetSelText() const {
    const AnsiString& t = GetText();
    size_t start = std::min(static_cast<size_t>(selStart_), t.size());
    return t.substr(start, static_cast<size_t>(selLength_));
}

void TCustomEdit::SelectAll() {
    selStart_ = 0;
    selLength_ = static_cast<int>(GetText().size());
    PeerChanged(pcSelection);
}

void TCustomEdit::PeerSelectionChanged(int SelStart, int SelLength) {
    int len = static_cast<int>(GetText().size());
    selStart_ = std::clamp(SelStart, 0, len);
    selLength_ = std::clamp(SelLength, 0, len - selStart_);
}

void TCustomEdit::PeerTextChanged(const AnsiString& Text) {
    modified_ = true;
    TWinControl::PeerTextChanged(Text);
}

void TCustomEdit::TextChanged() {
    if (!converting_ && charCase_ != ecNormal) {
        AnsiString converted = applyCase(GetText(), charCase_);
        if (converted != GetText()) {
            converting_ = true;
            try {
                SetText(converted);
            } catch (...) {
                converting_ = false;
                throw;
            }
            converting_ = false;
            return;
        }
    }
    int len = static_cast<int>(GetText().size());
    if (selStart_ > len) selStart_ = len;
    if (selStart_ + selLength_ > len) selLength_ = len - selStart_;
    TWinControl::TextChanged();
    if (!IsLoading()) Change();
}

void TCustomEdit::Change() {
    if (OnChange) OnChange(this);
}

VCL_DEFINE_CLASS(TEdit, TCustomEdit, c) {
    publish::Anchors(c);
    c.Bool("AutoSelect", &TEdit::GetAutoSelect, &TEdit::SetAutoSelect).Default(true);
    c.Bool("AutoSize", &TEdit::GetAutoSize, &TEdit::SetAutoSize).Default(true);
    c.Enum("BorderStyle", TBorderStyleInfo, &TEdit::GetBorderStyle, &TEdit::SetBorderStyle)
        .Default(bsSingle);
    c.Enum("CharCase", TEditCharCaseInfo, &TEdit::GetCharCase, &TEdit::SetCharCase)
        .Default(ecNormal);
    publish::Color(c, clWindow);
    publish::Constraints(c);
    publish::Ctl3D(c);
    publish::Enabled(c);
    publish::Font(c);
    c.Bool("HideSelection", &TEdit::GetHideSelection, &TEdit::SetHideSelection).Default(true);
    c.Int("MaxLength", &TEdit::GetMaxLength, &TEdit::SetMaxLength).Default(0);
    c.Bool("OEMConvert", &TEdit::GetOEMConvert, &TEdit::SetOEMConvert).Default(false);
    publish::ParentColor(c, false);
    publish::ParentCtl3D(c);
    publish::ParentFont(c);
    publish::ParentShowHint(c);
    c.Int("PasswordChar", &TEdit::GetPasswordChar, &TEdit::SetPasswordChar).Default(0);
    publish::PopupMenu(c);
    c.Bool("ReadOnly", &TEdit::GetReadOnly, &TEdit::SetReadOnly).Default(false);
    publish::ShowHint(c);
    publish::TabOrder(c);
    publish::TabStop(c, true);
    c.Str("Text", &TEdit::GetText, &TEdit::SetText);
    publish::Visible(c);
    c.Event("OnChange", &TEdit::OnChange);
    c.Event("OnClick", &TEdit::OnClick);
    c.Event("OnDblClick", &TEdit::OnDblClick);
    publish::WinEvents(c);
    publish::MouseEvents(c);
}

// --- TCustomMemo, TMemo ------------------------------------------------------------------------

VCL_DEFINE_PLAIN_CLASS(TCustomMemo, TCustomEdit)

TCustomMemo::TCustomMemo(TComponent* AOwner)
    : TCustomEdit(AOwner), lines_(std::make_unique<TStringList>()) {
    ControlStyle().Exclude(csFixedHeight);
    SetBounds(0, 0, 185, 89);
    lines_->OnChange = [this](TObject*) {
        if (syncing_) return;
        syncing_ = true;
        try {
            SetText(lines_->GetText());
        } catch (...) {
            syncing_ = false;
            throw;
        }
        syncing_ = false;
    };
}

TCustomMemo::~TCustomMemo() {
    lines_->OnChange = nullptr;
}

void TCustomMemo::SetScrollBars(TScrollStyle Value) {
    if (scrollBars_ == Value) return;
    scrollBars_ = Value;
    PeerChanged(pcAppearance);
}

void TCustomMemo::SetWordWrap(bool Value) {
    if (wordWrap_ == Value) return;
    wordWrap_ = Value;
    PeerChanged(pcAppearance);
}

void TCustomMemo::TextChanged() {
    if (!syncing_) {
        syncing_ = true;
        lines_->SetText(GetText());
        syncing_ = false;
    }
    TCustomEdit::TextChanged();
}

VCL_DEFINE_CLASS(TMemo, TCustomMemo, c) {
    publish::Align(c);
    publish::Anchors(c);
    c.Enum("BorderStyle", TBorderStyleInfo, &TMemo::GetBorderStyle, &TMemo::SetBorderStyle)
        .Default(bsSingle);
    publish::Color(c, clWindow);
    publish::Constraints(c);
    publish::Ctl3D(c);
    publish::Enabled(c);
    publish::Font(c);
    c.Bool("HideSelection", &TMemo::GetHideSelection, &TMemo::SetHideSelection).Default(true);
    c.Object<TStrings>("Lines", &TMemo::GetLines);
    c.Int("MaxLength", &TMemo::GetMaxLength, &TMemo::SetMaxLength).Default(0);
    publish::ParentColor(c, false);
    publish::ParentCtl3D(c);
    publish::ParentFont(c);
    publish::ParentShowHint(c);
    publish::PopupMenu(c);
    c.Bool("ReadOnly", &TMemo::GetReadOnly, &TMemo::SetReadOnly).Default(false);
    c.Enum("ScrollBars", TScrollStyleInfo, &TMemo::GetScrollBars, &TMemo::SetScrollBars)
        .Default(ssNone);
    publish::ShowHint(c);
    publish::TabOrder(c);
    publish::TabStop(c, true);
    publish::Visible(c);
    c.Bool("WordWrap", &TMemo::GetWordWrap, &TMemo::SetWordWrap).Default(true);
    c.Event("OnChange", &TMemo::OnChange);
    c.Event("OnClick", &TMemo::OnClick);
    c.Event("OnDblClick", &TMemo::OnDblClick);
    publish::WinEvents(c);
    publish::MouseEvents(c);
}

// --- TButtonControl, TButton --------------------------------------------------------------------

VCL_DEFINE_PLAIN_CLASS(TButtonControl, TWinControl)

TButtonControl::TButtonControl(TComponent* AOwner) : TWinControl(AOwner) {}

VCL_DEFINE_CLASS(TButton, TButtonControl, c) {
    publish::Action(c);
    publish::Anchors(c);
    c.Bool("Cancel", &TButton::GetCancel, &TButton::SetCancel).Default(false);
    publish::Caption(c);
    publish::Constraints(c);
    c.Bool("Default", &TButton::GetDefault, &TButton::SetDefault).Default(false);
    publish::Enabled(c);
    publish::Font(c);
    c.Int("ModalResult", &TButton::GetModalResult, &TButton::SetModalResult).Default(0);
    publish::ParentFont(c);
    publish::ParentShowHint(c);
    publish::PopupMenu(c);
    publish::ShowHint(c);
    publish::TabOrder(c);
    publish::TabStop(c, true);
    publish::Visible(c);
    c.Event("OnClick", &TButton::OnClick);
    publish::WinEvents(c);
    publish::MouseEvents(c);
}

TButton::TButton(TComponent* AOwner) : TButtonControl(AOwner) {
    // Pressing and releasing it over itself clicks it, as for every push button.
    ControlStyle() = TControlStyle{csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
    SetBounds(0, 0, 75, 25);
    SetTabStop(true);
    SetColor(clBtnFace);
}

void TButton::SetCancel(bool Value) {
    if (cancel_ == Value) return;
    cancel_ = Value;
    PeerChanged(pcButtonOptions);
}

void TButton::SetDefault(bool Value) {
    if (default_ == Value) return;
    default_ = Value;
    PeerChanged(pcButtonOptions);
}

bool TButton::IsActive() const {
    TWinControl* focused = FindFocusedControl();
    if (focused && focused->Is<TButton>() && GetParentForm(focused) == GetParentForm(this))
        return focused == this;
    return default_;
}

void TButton::Click() {
    if (TCustomForm* form = GetParentForm(this)) form->SetModalResult(modalResult_);
    TButtonControl::Click();
}

void TButton::Dispatch(TMessage& Message) {
    if (Message.Msg == CM_DIALOGKEY) {
        Word key = static_cast<Word>(Message.WParam);
        TShiftState shift = KeysToShiftState(static_cast<uintptr_t>(Message.LParam));
        shift.Exclude(ssAlt);
        if (((key == VK_RETURN && IsActive()) || (key == VK_ESCAPE && cancel_)) && shift.Empty() &&
            CanFocus()) {
            Message.Result = 1;
            Click();
        }
        return;
    }
    TButtonControl::Dispatch(Message);
}

// --- TCustomComboBox ----------------------------------------------------------------------------

VCL_DEFINE_PLAIN_CLASS(TCustomComboBox, TWinControl)

TCustomComboBox::TCustomComboBox(TComponent* AOwner)
    : TWinControl(AOwner), items_(std::make_unique<TStringList>()) {
    ControlStyle() = TControlStyle{csCaptureMouse, csSetCaption, csDoubleClicks, csFixedHeight};
    SetBounds(0, 0, 145, 21);
    SetTabStop(true);
    SetColor(clWindow);
    SetParentColor(false);
    items_->OnChange = [this](TObject*) { itemsChanged(); };
}

TCustomComboBox::~TCustomComboBox() {
    items_->OnChange = nullptr;
}

void TCustomComboBox::SetStyle(TComboBoxStyle Value) {
    if (style_ == Value) return;
    style_ = Value;
    PeerChanged(pcAppearance);
    if (style_ == csDropDownList) SetText(itemIndex_ >= 0 ? items_->Get(itemIndex_) : AnsiString());
}

void TCustomComboBox::SetItemIndex(int Value) {
    if (IsLoading()) {
        pendingItemIndex_ = Value;
        return;
    }
    if (Value < 0 || Value >= items_->GetCount()) Value = -1;
    if (itemIndex_ == Value) return;
    itemIndex_ = Value;
    PeerChanged(pcItemIndex);
    if (itemIndex_ >= 0)
        SetText(items_->Get(itemIndex_));
    else if (style_ == csDropDownList)
        SetText(AnsiString());
}

void TCustomComboBox::SelectItem(int Index) {
    SetItemIndex(Index);
    auto alive = LifeToken();
    Click();
    if (!*alive) return;
    if (OnSelect)
        OnSelect(this);
    else
        Change();
}

void TCustomComboBox::SetSorted(bool Value) {
    if (sorted_ == Value) return;
    sorted_ = Value;
    if (sorted_) sortItems();
}

void TCustomComboBox::sortItems() {
    if (sorting_) return;
    AnsiString selected =
        itemIndex_ >= 0 && itemIndex_ < items_->GetCount() ? items_->Get(itemIndex_) : AnsiString();
    std::vector<AnsiString> all;
    for (int i = 0; i < items_->GetCount(); ++i)
        all.push_back(items_->Get(i));
    std::stable_sort(all.begin(), all.end(), [](const AnsiString& a, const AnsiString& b) {
        return CompareText(a, b) < 0;
    });
    sorting_ = true;
    items_->BeginUpdate();
    items_->Clear();
    for (auto& s : all)
        items_->Add(s);
    items_->EndUpdate();
    sorting_ = false;
    if (itemIndex_ >= 0) itemIndex_ = items_->IndexOf(selected);
    PeerChanged(pcItems);
}

void TCustomComboBox::SetCharCase(TEditCharCase Value) {
    if (charCase_ == Value) return;
    charCase_ = Value;
    PeerChanged(pcEditOptions);
}

void TCustomComboBox::SetDroppedDown(bool Value) {
    if (droppedDown_ == Value) return;
    droppedDown_ = Value;
    if (Value && OnDropDown) OnDropDown(this);
    if (!Value && OnCloseUp) OnCloseUp(this);
}

void TCustomComboBox::Clear() {
    items_->Clear();
    SetText(AnsiString());
}

void TCustomComboBox::itemsChanged() {
    if (sorting_) return;
    if (sorted_ && !IsLoading()) {
        sortItems();
        return;
    }
    if (itemIndex_ >= items_->GetCount()) itemIndex_ = -1;
    PeerChanged(pcItems);
}

void TCustomComboBox::Loaded() {
    TWinControl::Loaded();
    if (sorted_) sortItems();
    if (pendingItemIndex_ != -2) {
        int wanted = pendingItemIndex_;
        pendingItemIndex_ = -2;
        SetItemIndex(wanted);
    }
}

void TCustomComboBox::Change() {
    if (OnChange) OnChange(this);
}

void TCustomComboBox::TextChanged() {
    TWinControl::TextChanged();
    if (!IsLoading() && style_ != csDropDownList && itemIndex_ >= 0 &&
        GetText() != items_->Get(itemIndex_))
        itemIndex_ = -1;
}

VCL_DEFINE_CLASS(TComboBox, TCustomComboBox, c) {
    c.Enum("Style", TComboBoxStyleInfo, &TComboBox::GetStyle, &TComboBox::SetStyle)
        .Default(csDropDown);
    publish::Anchors(c);
    c.Enum("CharCase", TEditCharCaseInfo, &TComboBox::GetCharCase, &TComboBox::SetCharCase)
        .Default(ecNormal);
    publish::Color(c, clWindow);
    publish::Constraints(c);
    publish::Ctl3D(c);
    c.Int("DropDownCount", &TComboBox::GetDropDownCount, &TComboBox::SetDropDownCount).Default(8);
    publish::Enabled(c);
    publish::Font(c);
    c.Int("ItemHeight", &TComboBox::GetItemHeight, &TComboBox::SetItemHeight);
    c.Int("ItemIndex", &TComboBox::GetItemIndex, &TComboBox::SetItemIndex).Default(-1);
    c.Int("MaxLength", &TComboBox::GetMaxLength, &TComboBox::SetMaxLength).Default(0);
    publish::ParentColor(c, false);
    publish::ParentCtl3D(c);
    publish::ParentFont(c);
    publish::ParentShowHint(c);
    publish::PopupMenu(c);
    publish::ShowHint(c);
    c.Bool("Sorted", &TComboBox::GetSorted, &TComboBox::SetSorted).Default(false);
    publish::TabOrder(c);
    publish::TabStop(c, true);
    c.Str("Text", &TComboBox::GetText, &TComboBox::SetText).Stored([](const TComboBox* o) {
        return o->GetStyle() != csDropDownList;
    });
    publish::Visible(c);
    c.Event("OnChange", &TComboBox::OnChange);
    c.Event("OnClick", &TComboBox::OnClick);
    c.Event("OnCloseUp", &TComboBox::OnCloseUp);
    c.Event("OnDblClick", &TComboBox::OnDblClick);
    c.Event("OnDropDown", &TComboBox::OnDropDown);
    publish::WinEvents(c);
    c.Event("OnSelect", &TComboBox::OnSelect);
    c.Object<TStrings>("Items", &TComboBox::GetItems);
}

// --- TCustomGroupBox ----------------------------------------------------------------------------

VCL_DEFINE_PLAIN_CLASS(TCustomGroupBox, TCustomControl)

TCustomGroupBox::TCustomGroupBox(TComponent* AOwner) : TCustomControl(AOwner) {
    ControlStyle() = TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents,
                                   csSetCaption,      csDoubleClicks, csReplicatable};
    SetBounds(0, 0, 185, 105);
    SetColor(clBtnFace);
}

void TCustomGroupBox::AdjustClientRect(TRect& Rect) const {
    Rect.Top += Widgetset()->TextExtent(GetFont(), "0").cy;
    InflateRect(Rect, -1, -1);
    if (GetCtl3D()) InflateRect(Rect, -1, -1);
}

VCL_DEFINE_CLASS(TGroupBox, TCustomGroupBox, c) {
    publish::Align(c);
    publish::Anchors(c);
    publish::Caption(c);
    publish::Color(c, clBtnFace);
    publish::Constraints(c);
    publish::Ctl3D(c);
    publish::Enabled(c);
    publish::Font(c);
    publish::ParentColor(c, false);
    publish::ParentCtl3D(c);
    publish::ParentFont(c);
    publish::ParentShowHint(c);
    publish::PopupMenu(c);
    publish::ShowHint(c);
    publish::TabOrder(c);
    publish::TabStop(c, false);
    publish::Visible(c);
    c.Event("OnClick", &TGroupBox::OnClick);
    c.Event("OnDblClick", &TGroupBox::OnDblClick);
    c.Event("OnEnter", &TGroupBox::OnEnter);
    c.Event("OnExit", &TGroupBox::OnExit);
    publish::MouseEvents(c);
}

// --- TCustomRadioGroup --------------------------------------------------------------------------

VCL_DEFINE_PLAIN_CLASS(TCustomRadioGroup, TCustomGroupBox)

TCustomRadioGroup::TCustomRadioGroup(TComponent* AOwner)
    : TCustomGroupBox(AOwner), items_(std::make_unique<TStringList>()) {
    items_->OnChange = [this](TObject*) { itemsChanged(); };
}

TCustomRadioGroup::~TCustomRadioGroup() {
    items_->OnChange = nullptr;
}

void TCustomRadioGroup::SetItemIndex(int Value) {
    if (IsLoading()) {
        pendingItemIndex_ = Value;
        return;
    }
    if (Value < -1) Value = -1;
    if (Value >= items_->GetCount()) Value = items_->GetCount() - 1;
    if (itemIndex_ == Value) return;
    itemIndex_ = Value;
    PeerChanged(pcItemIndex);
    if (itemIndex_ >= 0) Click();
}

void TCustomRadioGroup::ClickItem(int Index) {
    if (Index < 0 || Index >= items_->GetCount() || !GetEnabled()) return;
    if (Index == itemIndex_)
        Click();
    else
        SetItemIndex(Index);
}

void TCustomRadioGroup::SetColumns(int Value) {
    Value = std::clamp(Value, 1, 16);
    if (columns_ == Value) return;
    columns_ = Value;
    PeerChanged(pcAppearance);
}

TPoint TCustomRadioGroup::ItemCell(int Index) const {
    int count = items_->GetCount();
    int rows = (count + columns_ - 1) / columns_;
    if (rows == 0) return {0, 0};
    return {Index / rows, Index % rows};
}

void TCustomRadioGroup::itemsChanged() {
    if (IsLoading()) return;
    if (itemIndex_ >= items_->GetCount()) itemIndex_ = items_->GetCount() - 1;
    PeerChanged(pcItems);
}

void TCustomRadioGroup::Loaded() {
    TCustomGroupBox::Loaded();
    int wanted = pendingItemIndex_ != -2 ? pendingItemIndex_ : itemIndex_;
    pendingItemIndex_ = -2;
    if (wanted < -1) wanted = -1;
    if (wanted >= items_->GetCount()) wanted = items_->GetCount() - 1;
    itemIndex_ = wanted;
    PeerChanged(pcItems);
}

VCL_DEFINE_CLASS(TRadioGroup, TCustomRadioGroup, c) {
    publish::Align(c);
    publish::Anchors(c);
    publish::Caption(c);
    publish::Color(c, clBtnFace);
    c.Int("Columns", &TRadioGroup::GetColumns, &TRadioGroup::SetColumns).Default(1);
    publish::Constraints(c);
    publish::Ctl3D(c);
    publish::Enabled(c);
    publish::Font(c);
    c.Int("ItemIndex", &TRadioGroup::GetItemIndex, &TRadioGroup::SetItemIndex).Default(-1);
    c.Object<TStrings>("Items", &TRadioGroup::GetItems);
    publish::ParentColor(c, false);
    publish::ParentCtl3D(c);
    publish::ParentFont(c);
    publish::ParentShowHint(c);
    publish::PopupMenu(c);
    publish::ShowHint(c);
    publish::TabOrder(c);
    publish::TabStop(c, false);
    publish::Visible(c);
    c.Event("OnClick", &TRadioGroup::OnClick);
    c.Event("OnEnter", &TRadioGroup::OnEnter);
    c.Event("OnExit", &TRadioGroup::OnExit);
}

// --- TScrollBar ---------------------------------------------------------------------------------

VCL_DEFINE_CLASS(TScrollBar, TWinControl, c) {
    publish::Align(c);
    publish::Anchors(c);
    publish::Constraints(c);
    publish::Enabled(c);
    c.Enum("Kind", TScrollBarKindInfo, &TScrollBar::GetKind, &TScrollBar::SetKind)
        .Default(sbHorizontal);
    c.Int("LargeChange", &TScrollBar::GetLargeChange, &TScrollBar::SetLargeChange).Default(1);
    c.Int("Max", &TScrollBar::GetMax, &TScrollBar::SetMax).Default(100);
    c.Int("Min", &TScrollBar::GetMin, &TScrollBar::SetMin).Default(0);
    c.Int("PageSize", &TScrollBar::GetPageSize, &TScrollBar::SetPageSize).Default(0);
    publish::ParentShowHint(c);
    publish::PopupMenu(c);
    c.Int("Position", &TScrollBar::GetPosition, &TScrollBar::SetPosition).Default(0);
    publish::ShowHint(c);
    c.Int("SmallChange", &TScrollBar::GetSmallChange, &TScrollBar::SetSmallChange).Default(1);
    publish::TabOrder(c);
    publish::TabStop(c, true);
    publish::Visible(c);
    c.Event("OnChange", &TScrollBar::OnChange);
    c.Event("OnEnter", &TScrollBar::OnEnter);
    c.Event("OnExit", &TScrollBar::OnExit);
}

TScrollBar::TScrollBar(TComponent* AOwner) : TWinControl(AOwner) {
    SetBounds(0, 0, 121, 16);
    SetTabStop(true);
}

void TScrollBar::SetKind(TScrollBarKind Value) {
    if (kind_ == Value) return;
    kind_ = Value;
    if (!ComponentState().Contains(csLoading))
        SetBounds(GetLeft(), GetTop(), GetHeight(), GetWidth());
    PeerChanged(pcScroll);
}

int TScrollBar::MaxPosition() const {
    return std::max(min_, max_ - std::max(pageSize_, 1) + 1);
}

void TScrollBar::SetParams(int APosition, int AMin, int AMax) {
    if (AMax < AMin) throw EInvalidOperation(LoadResString(vclconsts::SScrollBarRange));
    min_ = AMin;
    max_ = AMax;
    const int position = std::clamp(APosition, min_, MaxPosition());
    const bool moved = position != position_;
    position_ = position;
    PeerChanged(pcScroll);
    if (moved && OnChange) OnChange(this);
}

bool TScrollBar::DoMouseWheel(TShiftState Shift, int WheelDelta, const TPoint& MousePos) {
    if (TWinControl::DoMouseWheel(Shift, WheelDelta, MousePos)) return true;
    const long long moved =
        static_cast<long long>(WheelSteps(wheelRest_, WheelDelta)) * smallChange_;
    SetPosition(static_cast<int>(std::clamp<long long>(
        position_ - moved, std::numeric_limits<int>::min(), std::numeric_limits<int>::max())));
    return true;
}

void TScrollBar::SetPageSize(int Value) {
    pageSize_ = std::max(Value, 0);
    SetParams(position_, min_, max_);
}

void TScrollBar::SetSmallChange(int Value) {
    smallChange_ = Value;
    PeerChanged(pcScroll);
}

void TScrollBar::SetLargeChange(int Value) {
    largeChange_ = Value;
    PeerChanged(pcScroll);
}

} // namespace vcl
