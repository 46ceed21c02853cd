#pragma once
// Standard controls: labels, edits, memos, buttons, combo boxes, group boxes, radio groups and
// scroll bars.
//
// Headless, these controls keep their state in the model (text, items, selection). With a peer,
// what the user changes natively comes back through entry points (PeerTextChanged, SelectItem,
// ClickItem, Click), which raise the same events as when a test calls them.

#include "rtl/Strings.h"
#include "vcl/ExtCtrls.h"

namespace vcl {

enum TTextLayout { tlTop, tlCenter, tlBottom };
enum TEditCharCase { ecNormal, ecUpperCase, ecLowerCase };
enum TComboBoxStyle { csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable };
enum TScrollBarKind { sbHorizontal, sbVertical };
enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };
extern const TEnumInfo TTextLayoutInfo;
extern const TEnumInfo TEditCharCaseInfo;
extern const TEnumInfo TComboBoxStyleInfo;
extern const TEnumInfo TScrollBarKindInfo;
extern const TEnumInfo TScrollStyleInfo;

// A caption drawn by its parent. With AutoSize it takes the size of its text.
class TCustomLabel : public TGraphicControl {
    VCL_DECLARE_CLASS(TCustomLabel, TGraphicControl)
public:
    explicit TCustomLabel(TComponent* AOwner);
    TAlignment GetAlignment() const { return alignment_; }
    void SetAlignment(TAlignment Value);
    bool GetAutoSize() const { return autoSize_; }
    void SetAutoSize(bool Value);
    TWinControl* GetFocusControl() const { return focusControl_; }
    void SetFocusControl(TWinControl* Value);
    TTextLayout GetLayout() const { return layout_; }
    void SetLayout(TTextLayout Value);
    bool GetShowAccelChar() const { return showAccelChar_; }
    void SetShowAccelChar(bool Value);
    bool GetTransparent() const { return transparent_; }
    void SetTransparent(bool Value);
    bool GetWordWrap() const { return wordWrap_; }
    void SetWordWrap(bool Value);
    // The text as shown ("&" markers removed when ShowAccelChar).
    AnsiString GetDisplayText() const;
    // Sizes the label to its text when AutoSize is on.
    void AdjustBounds();
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

protected:
    void TextChanged() override;
    void FontChanged() override;

private:
    TAlignment alignment_ = taLeftJustify;
    bool autoSize_ = true;
    TWinControl* focusControl_ = nullptr;
    TTextLayout layout_ = tlTop;
    bool showAccelChar_ = true;
    bool transparent_ = false;
    bool wordWrap_ = false;
};

class TLabel : public TCustomLabel {
    VCL_DECLARE_CLASS(TLabel, TCustomLabel)
public:
    explicit TLabel(TComponent* AOwner) : TCustomLabel(AOwner) {}
};

// A single-line text box.
class TCustomEdit : public TWinControl {
    VCL_DECLARE_CLASS(TCustomEdit, TWinControl)
public:
    // 121 x 21, clWindow, single border, takes part in the tab order.
    explicit TCustomEdit(TComponent* AOwner);

    bool GetAutoSelect() const { return autoSelect_; }
    void SetAutoSelect(bool Value) { autoSelect_ = Value; }
    bool GetAutoSize() const { return autoSize_; }
    void SetAutoSize(bool Value) { autoSize_ = Value; }
    TBorderStyle GetBorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle Value);
    // Upper or lower case applies to the text at once and to everything set later.
    TEditCharCase GetCharCase() const { return charCase_; }
    void SetCharCase(TEditCharCase Value);
    bool GetHideSelection() const { return hideSelection_; }
    void SetHideSelection(bool Value) { hideSelection_ = Value; }
    int GetMaxLength() const { return maxLength_; }
    void SetMaxLength(int Value);
    bool GetOEMConvert() const { return oemConvert_; }
    void SetOEMConvert(bool Value) { oemConvert_ = Value; }
    char GetPasswordChar() const { return passwordChar_; }
    void SetPasswordChar(char Value);
    bool GetReadOnly() const { return readOnly_; }
    void SetReadOnly(bool Value);
    bool GetModified() const { return modified_; }
    void SetModified(bool Value) { modified_ = Value; }

    // Caret and selection, in bytes of the text.
    int GetSelStart() const { return selStart_; }
    void SetSelStart(int Value);
    int GetSelLength() const { return selLength_; }
    void SetSelLength(int Value);
    AnsiString GetSelText() const;
    void SelectAll();
    void Clear() { SetText(AnsiString()); }
    // The peer reports the caret and selection after native editing.
    void PeerSelectionChanged(int SelStart, int SelLength);
    void PeerTextChanged(const AnsiString& Text) override;

    TRect NonClientInsets() const override;
    TNotifyEvent OnChange;

protected:
    virtual void Change();
    void TextChanged() override;

private:
    bool autoSelect_ = true;
    bool autoSize_ = true;
    TBorderStyle borderStyle_ = bsSingle;
    TEditCharCase charCase_ = ecNormal;
    bool hideSelection_ = true;
    int maxLength_ = 0;
    bool oemConvert_ = false;
    char passwordChar_ = 0;
    bool readOnly_ = false;
    bool modified_ = false;
    int selStart_ = 0;
    int selLength_ = 0;
    bool converting_ = false;
};

class TEdit : public TCustomEdit {
    VCL_DECLARE_CLASS(TEdit, TCustomEdit)
public:
    explicit TEdit(TComponent* AOwner) : TCustomEdit(AOwner) {}
};

// An edit of several lines. Lines and Text are two views of the same text: setting the text
// splits it into lines (at CR, LF or CR LF), changing the lines sets the text to the lines joined
// with CR LF after each.
class TCustomMemo : public TCustomEdit {
    VCL_DECLARE_CLASS(TCustomMemo, TCustomEdit)
public:
    // 185 x 89, word wrap on, no scroll bars.
    explicit TCustomMemo(TComponent* AOwner);
    ~TCustomMemo() override;
    TStrings* GetLines() const { return lines_.get(); }
    void SetLines(TStrings* Value) { lines_->Assign(Value); }
    TScrollStyle GetScrollBars() const { return scrollBars_; }
    void SetScrollBars(TScrollStyle Value);
    bool GetWordWrap() const { return wordWrap_; }
    void SetWordWrap(bool Value);

protected:
    void TextChanged() override;

private:
    std::unique_ptr<TStringList> lines_;
    TScrollStyle scrollBars_ = ssNone;
    bool wordWrap_ = true;
    bool syncing_ = false;
};

class TMemo : public TCustomMemo {
    VCL_DECLARE_CLASS(TMemo, TCustomMemo)
public:
    explicit TMemo(TComponent* AOwner) : TCustomMemo(AOwner) {}
};

class TButtonControl : public TWinControl {
    VCL_DECLARE_CLASS(TButtonControl, TWinControl)
public:
    explicit TButtonControl(TComponent* AOwner);
    // The button Enter clicks on its form (Default) and the one Escape clicks (Cancel).
    virtual bool IsDefaultButton() const { return false; }
    virtual bool IsCancelButton() const { return false; }
};

// A push button. Clicking it sets its form's ModalResult to the button's ModalResult first.
class TButton : public TButtonControl {
    VCL_DECLARE_CLASS(TButton, TButtonControl)
public:
    // 75 x 25, takes part in the tab order.
    explicit TButton(TComponent* AOwner);
    bool GetCancel() const { return cancel_; }
    void SetCancel(bool Value);
    bool GetDefault() const { return default_; }
    void SetDefault(bool Value);
    TModalResult GetModalResult() const { return modalResult_; }
    void SetModalResult(TModalResult Value) { modalResult_ = Value; }
    bool IsDefaultButton() const override { return default_; }
    bool IsCancelButton() const override { return cancel_; }
    // Enter reaches the focused button, or the default button when no button has the focus.
    bool IsActive() const;
    void Click() override;
    void Dispatch(TMessage& Message) override;

private:
    bool cancel_ = false;
    bool default_ = false;
    TModalResult modalResult_ = mrNone;
};

class TCustomComboBox : public TWinControl {
    VCL_DECLARE_CLASS(TCustomComboBox, TWinControl)
public:
    // 145 x 21, clWindow, csDropDown, no item selected.
    explicit TCustomComboBox(TComponent* AOwner);
    ~TCustomComboBox() override;

    TComboBoxStyle GetStyle() const { return style_; }
    void SetStyle(TComboBoxStyle Value);
    TStrings* GetItems() const { return items_.get(); }
    void SetItems(TStrings* Value) { items_->Assign(Value); }
    // The selected item, or -1. Setting it selects without raising events; an index outside the
    // items selects nothing. With csDropDownList the text is always the selected item's.
    int GetItemIndex() const { return itemIndex_; }
    void SetItemIndex(int Value);
    // A user's choice of an item (also reported by the peer): selects it, then OnClick, then
    // OnSelect (OnChange when OnSelect is not assigned).
    void SelectItem(int Index);
    bool GetSorted() const { return sorted_; }
    void SetSorted(bool Value);
    int GetDropDownCount() const { return dropDownCount_; }
    void SetDropDownCount(int Value) { dropDownCount_ = Value; }
    int GetItemHeight() const { return itemHeight_; }
    void SetItemHeight(int Value) { itemHeight_ = Value; }
    int GetMaxLength() const { return maxLength_; }
    void SetMaxLength(int Value) { maxLength_ = Value; }
    TEditCharCase GetCharCase() const { return charCase_; }
    void SetCharCase(TEditCharCase Value);
    bool GetDroppedDown() const { return droppedDown_; }
    void SetDroppedDown(bool Value);
    void Clear();
    void Loaded() override;

    TNotifyEvent OnChange;
    TNotifyEvent OnSelect;
    TNotifyEvent OnDropDown;
    TNotifyEvent OnCloseUp;

protected:
    virtual void Change();
    void TextChanged() override;

private:
    void itemsChanged();
    void sortItems();
    std::unique_ptr<TStringList> items_;
    TComboBoxStyle style_ = csDropDown;
    int itemIndex_ = -1;
    int pendingItemIndex_ = -2;
    bool sorted_ = false;
    int dropDownCount_ = 8;
    int itemHeight_ = 13;
    int maxLength_ = 0;
    TEditCharCase charCase_ = ecNormal;
    bool droppedDown_ = false;
    bool sorting_ = false;
};

class TComboBox : public TCustomComboBox {
    VCL_DECLARE_CLASS(TComboBox, TCustomComboBox)
public:
    explicit TComboBox(TComponent* AOwner) : TCustomComboBox(AOwner) {}
};

// A frame with a caption that groups controls; aligned children fill it below the caption.
class TCustomGroupBox : public TCustomControl {
    VCL_DECLARE_CLASS(TCustomGroupBox, TCustomControl)
public:
    // 185 x 105, clBtnFace.
    explicit TCustomGroupBox(TComponent* AOwner);
    void AdjustClientRect(TRect& Rect) const override;
};

class TGroupBox : public TCustomGroupBox {
    VCL_DECLARE_CLASS(TGroupBox, TCustomGroupBox)
public:
    explicit TGroupBox(TComponent* AOwner) : TCustomGroupBox(AOwner) {}
};

// A group of radio buttons, one per item, in Columns columns (items fill the first column first).
// A change of ItemIndex, by code or by the user, raises OnClick; so does a user's click on the
// selected item. Reading a form stream selects without raising it.
class TCustomRadioGroup : public TCustomGroupBox {
    VCL_DECLARE_CLASS(TCustomRadioGroup, TCustomGroupBox)
public:
    explicit TCustomRadioGroup(TComponent* AOwner);
    ~TCustomRadioGroup() override;
    TStrings* GetItems() const { return items_.get(); }
    void SetItems(TStrings* Value) { items_->Assign(Value); }
    // The selected item or -1; values beyond the items are clamped to them.
    int GetItemIndex() const { return itemIndex_; }
    void SetItemIndex(int Value);
    // Columns, 1 to 16.
    int GetColumns() const { return columns_; }
    void SetColumns(int Value);
    // A user's click on the radio button of an item (also reported by the peer).
    void ClickItem(int Index);
    // Column and row of an item's button in the columns layout.
    TPoint ItemCell(int Index) const;
    void Loaded() override;

private:
    void itemsChanged();
    std::unique_ptr<TStringList> items_;
    int itemIndex_ = -1;
    int pendingItemIndex_ = -2;
    int columns_ = 1;
};

class TRadioGroup : public TCustomRadioGroup {
    VCL_DECLARE_CLASS(TRadioGroup, TCustomRadioGroup)
public:
    explicit TRadioGroup(TComponent* AOwner) : TCustomRadioGroup(AOwner) {}
};

// A scroll bar over the range Min..Max of which a page of PageSize units is in view, so Position
// runs from Min to Max - PageSize + 1. A change of Position, by code or by the user, raises
// OnChange.
class TScrollBar : public TWinControl {
    VCL_DECLARE_CLASS(TScrollBar, TWinControl)
public:
    // Horizontal, 121 x 16, range 0..100.
    explicit TScrollBar(TComponent* AOwner);
    TScrollBarKind GetKind() const { return kind_; }
    // Turning the bar swaps its width and height.
    void SetKind(TScrollBarKind Value);
    int GetMin() const { return min_; }
    void SetMin(int Value) { SetParams(position_, Value, max_); }
    int GetMax() const { return max_; }
    void SetMax(int Value) { SetParams(position_, min_, Value); }
    int GetPosition() const { return position_; }
    void SetPosition(int Value) { SetParams(Value, min_, max_); }
    int GetPageSize() const { return pageSize_; }
    void SetPageSize(int Value);
    int GetSmallChange() const { return smallChange_; }
    void SetSmallChange(int Value);
    int GetLargeChange() const { return largeChange_; }
    void SetLargeChange(int Value);
    // Sets the range and the position at once; the position is kept inside the range. Raises
    // EInvalidOperation when Max is below Min.
    void SetParams(int APosition, int AMin, int AMax);
    // The highest position: Max - PageSize + 1, and never below Min.
    int MaxPosition() const;

    TNotifyEvent OnChange;

protected:
    // Unless OnMouseWheel handles it, a notch moves the bar by SmallChange, toward Min when
    // turned away from the user.
    bool DoMouseWheel(TShiftState Shift, int WheelDelta, const TPoint& MousePos) override;

private:
    TScrollBarKind kind_ = sbHorizontal;
    int min_ = 0;
    int max_ = 100;
    int position_ = 0;
    int pageSize_ = 0;
    int smallChange_ = 1;
    int largeChange_ = 1;
    int wheelRest_ = 0;
};

} // namespace vcl
