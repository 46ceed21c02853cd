#include "ObjectInspector.h"

#include "vcl/Widgetset.h"

#include <algorithm>

namespace quimbel::ide {

using designide::TPropertyAttributes;
using vcl::AnsiString;

namespace {

constexpr int RowHeight = 21;
constexpr int NameWidth = 118;
constexpr int IndentWidth = 10;
constexpr int ButtonWidth = 20;
constexpr int WheelRows = 3;

bool listOnly(designide::TPropertyEditor* Editor) {
    return Editor->InheritsFrom(designide::TEnumProperty::StaticClass()) ||
           Editor->InheritsFrom(designide::TSetElementProperty::StaticClass());
}

} // namespace

TObjectInspector::TObjectInspector(vcl::TWinControl* Host, vcl::TScrollBar* ScrollBar)
    : host_(Host), scrollBar_(ScrollBar), rowsPanel_(std::make_unique<vcl::TPanel>(nullptr)) {
    rowsPanel_->SetBevelOuter(vcl::bvNone);
    rowsPanel_->SetColor(host_->GetColor());
    rowsPanel_->SetParent(host_);
    scrollBar_->OnChange = [this](vcl::TObject*) { updateScrolling(); };
    host_->OnResize = [this](vcl::TObject*) { updateScrolling(); };
    const auto onWheel = [this](vcl::TObject*, vcl::TShiftState, int WheelDelta, const vcl::TPoint&,
                                bool& Handled) { wheel(WheelDelta, Handled); };
    rowsPanel_->OnMouseWheel = onWheel;
    scrollBar_->OnMouseWheel = onWheel;
    updateScrolling();
}

TObjectInspector::~TObjectInspector() {
    scrollBar_->OnChange = nullptr;
    scrollBar_->OnMouseWheel = nullptr;
    host_->OnResize = nullptr;
    clearRows();
    freeRetiredControls();
    vcl::CancelQueuedCalls(this);
}

void TObjectInspector::updateScrolling() {
    const int rows = static_cast<int>(rows_.size());
    const int shown = std::max(host_->GetClientHeight() / RowHeight, 1);
    // A position the new range cuts back raises OnChange, which comes back here once.
    scrollBar_->SetPageSize(shown);
    scrollBar_->SetParams(scrollBar_->GetPosition(), 0, std::max(rows - 1, 0));
    scrollBar_->SetLargeChange(shown);
    scrollBar_->SetEnabled(rows > shown);
    rowsPanel_->SetBounds(0, -scrollBar_->GetPosition() * RowHeight, host_->GetClientWidth(),
                          std::max(RowsHeight(), host_->GetClientHeight()));
}

void TObjectInspector::showRow(int Index) {
    const int first = scrollBar_->GetPosition(), shown = scrollBar_->GetPageSize();
    if (Index < first)
        scrollBar_->SetPosition(Index);
    else if (Index >= first + shown)
        scrollBar_->SetPosition(Index - shown + 1);
}

void TObjectInspector::wheel(int WheelDelta, bool& Handled) {
    const int rows = vcl::WheelSteps(wheelRest_, WheelDelta, WheelRows);
    if (rows) scrollBar_->SetPosition(scrollBar_->GetPosition() - rows);
    Handled = true;
}

void TObjectInspector::Inspect(designide::IDesigner* Designer,
                               const std::vector<vcl::TPersistent*>& Selection) {
    const bool other = Selection != selection_;
    designer_ = Designer;
    selection_ = Selection;
    rebuild();
    // Another component's rows start at the top.
    if (other) scrollBar_->SetPosition(0);
}

void TObjectInspector::SetShowEvents(bool Value) {
    if (events_ == Value) return;
    events_ = Value;
    rebuild();
}

TObjectInspector::TRow* TObjectInspector::FindRow(const AnsiString& Path) const {
    for (const auto& row : rows_)
        if (vcl::SameText(row->Path, Path)) return row.get();
    return nullptr;
}

void TObjectInspector::clearRows() {
    // A row's control may be running the handler that got here; the controls go once the
    // current event is handled.
    for (auto& row : rows_) {
        for (vcl::TControl* c :
             std::initializer_list<vcl::TControl*>{row->NameLabel, row->ValueEdit, row->ValueBox,
                                                   row->DialogButton, row->ExpandButton})
            if (c) {
                c->Hide();
                c->SetParent(nullptr);
                c->OnClick = nullptr;
                retired_.push_back(c);
            }
        if (row->ValueEdit) row->ValueEdit->OnExit = nullptr;
        if (row->ValueBox) row->ValueBox->OnExit = nullptr;
    }
    if (!rows_.empty()) vcl::QueueCall(this, [this] { freeRetiredControls(); });
    rows_.clear();
}

void TObjectInspector::freeRetiredControls() {
    std::vector<vcl::TControl*> retired;
    retired.swap(retired_);
    for (vcl::TControl* c : retired)
        delete c;
}

void TObjectInspector::rebuild() {
    clearRows();
    if (!selection_.empty())
        addRows(designide::GetComponentProperties(selection_, designer_), AnsiString(), 0);
    updateScrolling();
}

void TObjectInspector::addRows(designide::TPropertyEditorList Editors, const AnsiString& Prefix,
                               int Depth) {
    const int width = rowsPanel_->GetClientWidth();
    for (auto& editor : Editors) {
        const bool isEvent = editor->GetPropInfo()->Kind == vcl::tkMethod;
        if (Depth == 0 && isEvent != events_) continue;
        auto row = std::make_unique<TRow>();
        TRow* r = row.get();
        r->Path = Prefix + editor->GetName();
        r->Depth = Depth;
        const TPropertyAttributes attributes = editor->GetAttributes();
        const int top = static_cast<int>(rows_.size()) * RowHeight;
        const int indent = Depth * IndentWidth;

        if (attributes.Contains(designide::paSubProperties)) {
            r->ExpandButton = new vcl::TSpeedButton(nullptr);
            r->ExpandButton->SetBounds(indent, top + 3, 14, 14);
            r->ExpandButton->SetCaption(expanded_.count(r->Path) ? "-" : "+");
            r->ExpandButton->SetParent(rowsPanel_.get());
            r->ExpandButton->OnClick = [this, r](vcl::TObject*) { ToggleExpanded(r); };
        }
        r->NameLabel = new vcl::TLabel(nullptr);
        r->NameLabel->SetBounds(indent + 16, top + 4, NameWidth - indent - 16, RowHeight - 4);
        r->NameLabel->SetCaption(editor->GetName());
        r->NameLabel->SetParent(rowsPanel_.get());

        const bool dialog = attributes.Contains(designide::paDialog);
        const int valueWidth = width - NameWidth - (dialog ? ButtonWidth : 0);
        if (attributes.Contains(designide::paValueList)) {
            r->ValueBox = new vcl::TComboBox(nullptr);
            r->ValueBox->SetBounds(NameWidth, top, valueWidth, RowHeight);
            r->ValueBox->SetStyle(listOnly(editor.get()) ? vcl::csDropDownList : vcl::csDropDown);
            r->ValueBox->SetSorted(attributes.Contains(designide::paSortList));
            r->ValueBox->SetParent(rowsPanel_.get());
            r->ValueBox->OnSelect = [this, r](vcl::TObject*) {
                const int i = r->ValueBox->GetItemIndex();
                if (i >= 0) commit(r, r->ValueBox->GetItems()->Get(i));
            };
            r->ValueBox->OnKeyDown = [this, r](vcl::TObject*, vcl::Word& Key, vcl::TShiftState) {
                if (Key == vcl::VK_RETURN) commit(r, r->ValueBox->GetText());
            };
            r->ValueBox->OnExit = [this, r](vcl::TObject*) { commit(r, r->ValueBox->GetText()); };
        } else {
            r->ValueEdit = new vcl::TEdit(nullptr);
            r->ValueEdit->SetBounds(NameWidth, top, valueWidth, RowHeight);
            r->ValueEdit->SetReadOnly(attributes.Contains(designide::paReadOnly));
            r->ValueEdit->SetParent(rowsPanel_.get());
            r->ValueEdit->OnKeyDown = [this, r](vcl::TObject*, vcl::Word& Key, vcl::TShiftState) {
                if (Key == vcl::VK_RETURN) commit(r, r->ValueEdit->GetText());
            };
            r->ValueEdit->OnExit = [this, r](vcl::TObject*) { commit(r, r->ValueEdit->GetText()); };
        }
        if (dialog) {
            r->DialogButton = new vcl::TButton(nullptr);
            r->DialogButton->SetBounds(width - ButtonWidth, top, ButtonWidth, RowHeight);
            r->DialogButton->SetCaption("...");
            r->DialogButton->SetParent(rowsPanel_.get());
            r->DialogButton->OnClick = [this, r](vcl::TObject*) { PressDialogButton(r); };
        }
        // A row that gets the input (by Tab, say) scrolls into view.
        const int index = static_cast<int>(rows_.size());
        vcl::TWinControl* value =
            r->ValueEdit ? static_cast<vcl::TWinControl*>(r->ValueEdit) : r->ValueBox;
        value->OnEnter = [this, index](vcl::TObject*) { showRow(index); };
        r->Editor = std::move(editor);
        showValue(r);
        rows_.push_back(std::move(row));
        if (attributes.Contains(designide::paSubProperties) && expanded_.count(r->Path))
            addRows(r->Editor->GetProperties(), r->Path + ".", Depth + 1);
    }
}

void TObjectInspector::showValue(TRow* Row) {
    designide::TPropertyEditor* e = Row->Editor.get();
    const AnsiString value = e->AllEqual() ? e->GetValue() : AnsiString();
    Row->Shown = value;
    if (Row->ValueEdit) {
        Row->ValueEdit->SetText(value);
        // A value longer than the box shows from its start.
        if (!Row->ValueEdit->Focused()) Row->ValueEdit->SetSelStart(0);
    } else if (Row->ValueBox) {
        vcl::TStrings* items = Row->ValueBox->GetItems();
        items->BeginUpdate(); // the list box sorts and shows its items once, not per item
        items->Clear();
        e->GetValues([&](const AnsiString& v) { items->Add(v); });
        items->EndUpdate();
        const int index = items->IndexOf(value);
        Row->ValueBox->SetItemIndex(index);
        if (index < 0 && Row->ValueBox->GetStyle() != vcl::csDropDownList)
            Row->ValueBox->SetText(value);
    }
}

int TObjectInspector::RowsHeight() const {
    return static_cast<int>(rows_.size()) * RowHeight + 4;
}

void TObjectInspector::Refresh() {
    for (auto& row : rows_)
        showValue(row.get());
}

bool TObjectInspector::commit(TRow* Row, const AnsiString& Value) {
    designide::TPropertyEditor* e = Row->Editor.get();
    if (e->GetAttributes().Contains(designide::paReadOnly) && !Row->ValueBox) return true;
    if (e->AllEqual() && e->GetValue() == Value) return true;
    if (OnChanging) OnChanging(Row->Path);
    try {
        e->SetValue(Value);
    } catch (const vcl::Exception& ex) {
        showValue(Row);
        if (OnError) OnError(ex.Message());
        return false;
    }
    Refresh();
    return true;
}

bool TObjectInspector::CommitPending() {
    // A pick from a list that takes no typing is set at once.
    for (const auto& row : rows_) {
        TRow* r = row.get();
        if (r->ValueBox && r->ValueBox->GetStyle() == vcl::csDropDownList) continue;
        const AnsiString typed = r->ValueEdit ? r->ValueEdit->GetText() : r->ValueBox->GetText();
        if (typed != r->Shown && !commit(r, typed)) return false;
    }
    return true;
}

void TObjectInspector::EnterValue(TRow* Row, const AnsiString& Value) {
    if (Row->ValueEdit)
        Row->ValueEdit->SetText(Value);
    else
        Row->ValueBox->SetText(Value);
    commit(Row, Value);
}

void TObjectInspector::PickValue(TRow* Row, const AnsiString& Value) {
    const int index = Row->ValueBox->GetItems()->IndexOf(Value);
    if (index >= 0) Row->ValueBox->SelectItem(index);
}

void TObjectInspector::PressDialogButton(TRow* Row) {
    if (OnChanging) OnChanging(Row->Path);
    try {
        Row->Editor->Edit();
    } catch (const vcl::Exception& ex) {
        if (OnError) OnError(ex.Message());
    }
    Refresh();
}

void TObjectInspector::ToggleExpanded(TRow* Row) {
    if (!expanded_.erase(Row->Path)) expanded_.insert(Row->Path);
    rebuild();
}

} // namespace quimbel::ide
