#include "vcl/Menus.h"
#include "vcl/Forms.h"

#include "vcl/VCLConsts.h"
#include "vcl/Widgetset.h"

#include <algorithm>

namespace vcl {

const TEnumInfo TPopupAlignmentInfo{"TPopupAlignment", {"paLeft", "paRight", "paCenter"}};

AnsiString StripHotkey(const AnsiString& Text) {
    AnsiString r;
    for (size_t i = 0; i < Text.size(); ++i) {
        if (Text[i] == '&') {
            if (i + 1 < Text.size() && Text[i + 1] == '&') {
                r += '&';
                ++i;
            }
            continue;
        }
        r += Text[i];
    }
    return r;
}

// --- TMenuActionLink ----------------------------------------------------------------------------

VCL_DEFINE_PLAIN_CLASS(TMenuActionLink, TBasicActionLink)

TMenuActionLink::TMenuActionLink(TMenuItem* AClient) : TBasicActionLink(AClient) {}

void TMenuActionLink::Change() {
    static_cast<TMenuItem*>(client_)->ActionChange(action_, false);
}

// --- TMenuItem ----------------------------------------------------------------------------------

VCL_DEFINE_CLASS(TMenuItem, TComponent, c) {
    c.Object<TBasicAction>("Action", &TMenuItem::GetAction, &TMenuItem::SetAction);
    c.Bool("AutoCheck", &TMenuItem::GetAutoCheck, &TMenuItem::SetAutoCheck).Default(false);
    c.Str("Caption", &TMenuItem::GetCaption, &TMenuItem::SetCaption).Stored([](const TMenuItem* o) {
        return !o->IsActionLinked();
    });
    c.Bool("Checked", &TMenuItem::GetChecked, &TMenuItem::SetChecked)
        .Default(false)
        .Stored([](const TMenuItem* o) { return !o->IsActionLinked(); });
    c.Bool("Default", &TMenuItem::GetDefault, &TMenuItem::SetDefault).Default(false);
    c.Bool("Enabled", &TMenuItem::GetEnabled, &TMenuItem::SetEnabled)
        .Default(true)
        .Stored([](const TMenuItem* o) { return !o->IsActionLinked(); });
    c.Int("GroupIndex", &TMenuItem::GetGroupIndex, &TMenuItem::SetGroupIndex).Default(0);
    c.Int("HelpContext", &TMenuItem::GetHelpContext, &TMenuItem::SetHelpContext).Default(0);
    c.Str("Hint", &TMenuItem::GetHint, &TMenuItem::SetHint).Stored([](const TMenuItem* o) {
        return !o->IsActionLinked();
    });
    c.Int("ImageIndex", &TMenuItem::GetImageIndex, &TMenuItem::SetImageIndex).Default(-1);
    c.Bool("RadioItem", &TMenuItem::GetRadioItem, &TMenuItem::SetRadioItem).Default(false);
    c.Int("ShortCut", &TMenuItem::GetShortCut, &TMenuItem::SetShortCut).Default(0);
    c.Bool("Visible", &TMenuItem::GetVisible, &TMenuItem::SetVisible)
        .Default(true)
        .Stored([](const TMenuItem* o) { return !o->IsActionLinked(); });
    c.Event("OnClick", &TMenuItem::OnClick);
}

TMenuItem::TMenuItem(TComponent* AOwner) : TComponent(AOwner) {}

TMenuItem::~TMenuItem() {
    Destroying();
    SendFreeNotifications();
    actionLink_.reset();
    if (parent_) parent_->Remove(this);
    while (!items_.empty())
        delete items_.back();
}

void TMenuItem::changed() {
    if (TMenu* menu = GetParentMenu()) menu->MenuChanged();
}

void TMenuItem::SetCaption(const AnsiString& Value) {
    caption_ = Value;
    changed();
}
void TMenuItem::SetChecked(bool Value) {
    checked_ = Value;
    // A checked radio item unchecks the other radio items of its group.
    if (Value && radioItem_ && parent_)
        for (TMenuItem* other : parent_->items_)
            if (other != this && other->radioItem_ && other->groupIndex_ == groupIndex_)
                other->checked_ = false;
    changed();
}
void TMenuItem::SetEnabled(bool Value) {
    enabled_ = Value;
    changed();
}
void TMenuItem::SetVisible(bool Value) {
    visible_ = Value;
    changed();
}
void TMenuItem::SetShortCut(int Value) {
    shortCut_ = Value;
    changed();
}

TBasicAction* TMenuItem::GetAction() const {
    return actionLink_ ? actionLink_->GetAction() : nullptr;
}

bool TMenuItem::IsActionLinked() const {
    return actionLink_ && dynamic_cast<TCustomAction*>(actionLink_->GetAction()) != nullptr;
}

void TMenuItem::SetAction(TBasicAction* Value) {
    if (!Value) {
        actionLink_.reset();
        return;
    }
    if (!actionLink_) actionLink_ = std::make_unique<TMenuActionLink>(this);
    actionLink_->SetAction(Value);
    Value->FreeNotification(this);
    ActionChange(Value, Value->ComponentState().Contains(csLoading));
}

void TMenuItem::ActionChange(TBasicAction* Sender, bool CheckDefaults) {
    auto* action = dynamic_cast<TCustomAction*>(Sender);
    if (!action) return;
    if (!CheckDefaults || caption_.empty()) SetCaption(action->GetCaption());
    if (!CheckDefaults || !checked_) SetChecked(action->GetChecked());
    if (!CheckDefaults || enabled_) SetEnabled(action->GetEnabled());
    if (!CheckDefaults || hint_.empty()) SetHint(action->GetHint());
    if (!CheckDefaults || visible_) SetVisible(action->GetVisible());
    if (!CheckDefaults || imageIndex_ == -1) SetImageIndex(action->GetImageIndex());
    if (!CheckDefaults || shortCut_ == 0) SetShortCut(action->GetShortCut());
    if (!CheckDefaults || helpContext_ == 0) SetHelpContext(action->GetHelpContext());
}

TMenuItem* TMenuItem::GetItem(int Index) const {
    if (Index < 0 || Index >= GetCount())
        throw EMenuError(LoadResString(vclconsts::SMenuIndexError));
    return items_[static_cast<size_t>(Index)];
}

void TMenuItem::Add(TMenuItem* Item) {
    Insert(GetCount(), Item);
}

void TMenuItem::Insert(int Index, TMenuItem* Item) {
    if (!Item) return;
    if (Item->parent_) throw EMenuError(LoadResString(vclconsts::SMenuReinserted));
    if (Index < 0 || Index > GetCount())
        throw EMenuError(LoadResString(vclconsts::SMenuIndexError));
    items_.insert(items_.begin() + Index, Item);
    Item->parent_ = this;
    changed();
}

void TMenuItem::Delete(int Index) {
    TMenuItem* item = GetItem(Index);
    items_.erase(items_.begin() + Index);
    item->parent_ = nullptr;
    changed();
}

void TMenuItem::Remove(TMenuItem* Item) {
    int i = IndexOf(Item);
    if (i < 0) throw EMenuError(LoadResString(vclconsts::SMenuNotFound));
    Delete(i);
}

void TMenuItem::Clear() {
    while (!items_.empty())
        delete items_.back();
}

int TMenuItem::IndexOf(const TMenuItem* Item) const {
    auto it = std::find(items_.begin(), items_.end(), Item);
    return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

TMenuItem* TMenuItem::Find(const AnsiString& ACaption) const {
    AnsiString wanted = StripHotkey(ACaption);
    for (TMenuItem* item : items_)
        if (SameText(StripHotkey(item->caption_), wanted)) return item;
    return nullptr;
}

int TMenuItem::GetMenuIndex() const {
    return parent_ ? parent_->IndexOf(this) : -1;
}

TMenu* TMenuItem::GetParentMenu() const {
    const TMenuItem* item = this;
    while (item->parent_)
        item = item->parent_;
    return item->menu_;
}

void TMenuItem::Click() {
    if (!enabled_) return;
    if (autoCheck_ && !IsActionLinked()) SetChecked(!checked_);
    if (OnClick)
        OnClick(this);
    else if (actionLink_ && actionLink_->GetAction())
        actionLink_->Execute(this);
}

TComponent* TMenuItem::GetParentComponent() const {
    if (parent_ && parent_->menu_) return parent_->menu_;
    return parent_;
}

void TMenuItem::SetParentComponent(TComponent* Value) {
    if (parent_) parent_->Remove(this);
    if (auto* menu = dynamic_cast<TMenu*>(Value))
        menu->GetItems()->Add(this);
    else if (auto* item = dynamic_cast<TMenuItem*>(Value))
        item->Add(this);
}

void TMenuItem::GetChildren(const std::function<void(TComponent*)>& Proc, TComponent* Root) {
    for (TMenuItem* item : items_)
        if (item->GetOwner() == Root) Proc(item);
}

void TMenuItem::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && actionLink_ && SameObject(AComponent, actionLink_->GetAction()))
        SetAction(nullptr);
}

// --- TMenu --------------------------------------------------------------------------------------

VCL_DEFINE_PLAIN_CLASS(TMenu, TComponent)

TMenu::TMenu(TComponent* AOwner) : TComponent(AOwner), items_(new TMenuItem(this)) {
    items_->menu_ = this;
}

TMenu::~TMenu() {
    Destroying();
    SendFreeNotifications();
    delete items_;
}

void TMenu::GetChildren(const std::function<void(TComponent*)>& Proc, TComponent* Root) {
    items_->GetChildren(Proc, Root);
}

namespace {

TMenuItem* findShortCut(TMenuItem* Parent, int Wanted) {
    for (int i = 0; i < Parent->GetCount(); ++i) {
        TMenuItem* item = Parent->GetItem(i);
        if (!item->GetVisible() || !item->GetEnabled()) continue;
        if (item->GetCount() > 0) {
            if (TMenuItem* found = findShortCut(item, Wanted)) return found;
        } else if (item->GetShortCut() == Wanted) {
            return item;
        }
    }
    return nullptr;
}

} // namespace

bool TMenu::IsShortCut(Word Key, TShiftState Shift) {
    if (Key == 0) return false;
    TMenuItem* item = findShortCut(items_, ShortCut(Key, Shift));
    if (!item) return false;
    item->Click();
    return true;
}

int ShortCut(Word Key, TShiftState Shift) {
    int value = Key & 0xFF;
    if (Shift.Contains(ssShift)) value |= scShift;
    if (Shift.Contains(ssCtrl)) value |= scCtrl;
    if (Shift.Contains(ssAlt)) value |= scAlt;
    return value;
}

// --- TPopupMenu ---------------------------------------------------------------------------------

VCL_DEFINE_CLASS(TPopupMenu, TMenu, c) {
    c.Enum("Alignment", TPopupAlignmentInfo, &TPopupMenu::GetAlignment, &TPopupMenu::SetAlignment)
        .Default(paLeft);
    c.Bool("AutoPopup", &TPopupMenu::GetAutoPopup, &TPopupMenu::SetAutoPopup).Default(true);
    c.Event("OnPopup", &TPopupMenu::OnPopup);
}

TPopupMenu::~TPopupMenu() {
    Destroying();
    SendFreeNotifications();
    CancelQueuedCalls(this);
}

void TPopupMenu::SetPopupComponent(TComponent* Value) {
    popupComponent_ = Value;
    if (Value) Value->FreeNotification(this);
}

void TPopupMenu::Notification(TComponent* AComponent, TOperation Operation) {
    TMenu::Notification(AComponent, Operation);
    if (Operation == opRemove && SameObject(AComponent, popupComponent_)) popupComponent_ = nullptr;
}

void TPopupMenu::Popup(int X, int Y) {
    popupPoint_ = {X, Y};
    if (OnPopup) OnPopup(this);
    TMenuItem* chosen = Widgetset()->TrackPopupMenu(this, X, Y);
    if (!chosen) return;
    auto alive = chosen->LifeToken();
    QueueCall(this, [chosen, alive] {
        if (*alive) chosen->Click();
    });
    if (!InInputEvent()) ProcessQueuedCalls();
}

VCL_DEFINE_PLAIN_CLASS(TMainMenu, TMenu)

void TMainMenu::MenuChanged() {
    auto* form = dynamic_cast<TCustomForm*>(GetOwner());
    if (form && form->GetMenu() == this && !form->ComponentState().Contains(csDestroying))
        form->MenuChanged();
}

} // namespace vcl
