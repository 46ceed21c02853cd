#include "vcl/ActnList.h"

#include <algorithm>

namespace vcl {

// --- TBasicActionLink ---------------------------------------------------------------------------

VCL_DEFINE_PLAIN_CLASS(TBasicActionLink, TObject)

TBasicActionLink::~TBasicActionLink() {
    SetAction(nullptr);
}

void TBasicActionLink::SetAction(TBasicAction* Value) {
    if (action_ == Value) return;
    if (action_) {
        auto& list = action_->clients_;
        list.erase(std::remove(list.begin(), list.end(), this), list.end());
    }
    action_ = Value;
    if (action_) action_->clients_.push_back(this);
}

bool TBasicActionLink::Execute(TComponent* AComponent) {
    TBasicAction* action = action_;
    if (!action) return false;
    // The handler may free the action, the client or this link; the action's token tells.
    auto alive = action->LifeToken();
    action->SetActionComponent(AComponent);
    bool result;
    try {
        result = action->Execute();
    } catch (...) {
        if (*alive) action->SetActionComponent(nullptr);
        throw;
    }
    if (*alive) action->SetActionComponent(nullptr);
    return result;
}

// --- TBasicAction -------------------------------------------------------------------------------

VCL_DEFINE_CLASS(TBasicAction, TComponent, c) {
    c.Event("OnExecute", &TBasicAction::OnExecute);
    c.Event("OnUpdate", &TBasicAction::OnUpdate);
}

TBasicAction::TBasicAction(TComponent* AOwner) : TComponent(AOwner) {}

TBasicAction::~TBasicAction() {
    Destroying();
    SendFreeNotifications();
    while (!clients_.empty())
        clients_.back()->SetAction(nullptr);
}

bool TBasicAction::Execute() {
    if (!OnExecute) return false;
    OnExecute(this);
    return true;
}

bool TBasicAction::Update() {
    if (!OnUpdate) return false;
    OnUpdate(this);
    return true;
}

void TBasicAction::SetActionComponent(TComponent* Value) {
    if (actionComponent_ == Value) return;
    actionComponent_ = Value;
    if (Value) Value->FreeNotification(this);
}

void TBasicAction::Change() {
    for (TBasicActionLink* link : std::vector<TBasicActionLink*>(clients_))
        if (std::find(clients_.begin(), clients_.end(), link) != clients_.end()) link->Change();
    if (OnChange) OnChange(this);
}

void TBasicAction::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && SameObject(AComponent, actionComponent_))
        actionComponent_ = nullptr;
}

// --- TContainedAction ---------------------------------------------------------------------------

VCL_DEFINE_CLASS(TContainedAction, TBasicAction, c) {
    c.Str("Category", &TContainedAction::GetCategory, &TContainedAction::SetCategory);
}

TContainedAction::~TContainedAction() {
    Destroying();
    SendFreeNotifications();
    SetActionList(nullptr);
}

bool TContainedAction::Execute() {
    if (actionList_ && actionList_->ExecuteAction(this)) return true;
    return TBasicAction::Execute();
}

void TContainedAction::SetActionList(TCustomActionList* Value) {
    if (actionList_ == Value) return;
    if (actionList_) actionList_->removeAction(this);
    if (Value) Value->addAction(this);
}

int TContainedAction::GetIndex() const {
    if (!actionList_) return -1;
    auto& list = actionList_->actions_;
    auto it = std::find(list.begin(), list.end(), this);
    return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

void TContainedAction::SetIndex(int Value) {
    if (!actionList_) return;
    auto& list = actionList_->actions_;
    int count = static_cast<int>(list.size());
    if (Value < 0) Value = 0;
    if (Value >= count) Value = count - 1;
    list.erase(std::find(list.begin(), list.end(), this));
    list.insert(list.begin() + Value, this);
}

TComponent* TContainedAction::GetParentComponent() const {
    return actionList_;
}

void TContainedAction::SetParentComponent(TComponent* AParent) {
    if (auto* list = dynamic_cast<TCustomActionList*>(AParent)) SetActionList(list);
}

// --- TCustomAction ------------------------------------------------------------------------------

VCL_DEFINE_PLAIN_CLASS(TCustomAction, TContainedAction)

bool TCustomAction::Execute() {
    Update();
    if (!enabled_) return false;
    if (autoCheck_) SetChecked(!checked_);
    return TContainedAction::Execute();
}

void TCustomAction::SetCaption(const AnsiString& Value) {
    if (caption_ == Value) return;
    caption_ = Value;
    Change();
}

void TCustomAction::SetChecked(bool Value) {
    if (checked_ == Value) return;
    checked_ = Value;
    Change();
}

void TCustomAction::SetEnabled(bool Value) {
    if (enabled_ == Value) return;
    enabled_ = Value;
    Change();
}

void TCustomAction::SetVisible(bool Value) {
    if (visible_ == Value) return;
    visible_ = Value;
    Change();
}

void TCustomAction::SetHint(const AnsiString& Value) {
    if (hint_ == Value) return;
    hint_ = Value;
    Change();
}

void TCustomAction::SetHelpContext(int Value) {
    if (helpContext_ == Value) return;
    helpContext_ = Value;
    Change();
}

void TCustomAction::SetImageIndex(int Value) {
    if (imageIndex_ == Value) return;
    imageIndex_ = Value;
    Change();
}

void TCustomAction::SetShortCut(int Value) {
    if (shortCut_ == Value) return;
    shortCut_ = Value;
    Change();
}

VCL_DEFINE_CLASS(TAction, TCustomAction, c) {
    c.Bool("AutoCheck", &TAction::GetAutoCheck, &TAction::SetAutoCheck).Default(false);
    c.Str("Caption", &TAction::GetCaption, &TAction::SetCaption);
    c.Bool("Checked", &TAction::GetChecked, &TAction::SetChecked).Default(false);
    c.Bool("Enabled", &TAction::GetEnabled, &TAction::SetEnabled).Default(true);
    c.Int("GroupIndex", &TAction::GetGroupIndex, &TAction::SetGroupIndex).Default(0);
    c.Int("HelpContext", &TAction::GetHelpContext, &TAction::SetHelpContext).Default(0);
    c.Str("Hint", &TAction::GetHint, &TAction::SetHint);
    c.Int("ImageIndex", &TAction::GetImageIndex, &TAction::SetImageIndex).Default(-1);
    c.Int("ShortCut", &TAction::GetShortCut, &TAction::SetShortCut).Default(0);
    c.Bool("Visible", &TAction::GetVisible, &TAction::SetVisible).Default(true);
}

// --- TCustomActionList --------------------------------------------------------------------------

VCL_DEFINE_PLAIN_CLASS(TCustomActionList, TComponent)

TCustomActionList::~TCustomActionList() {
    Destroying();
    SendFreeNotifications();
    for (TContainedAction* a : actions_)
        a->actionList_ = nullptr;
    actions_.clear();
}

TContainedAction* TCustomActionList::GetAction(int Index) const {
    if (Index < 0 || Index >= ActionCount()) TList::Error(Index);
    return actions_[static_cast<size_t>(Index)];
}

void TCustomActionList::addAction(TContainedAction* Action) {
    actions_.push_back(Action);
    Action->actionList_ = this;
    Action->FreeNotification(this);
}

void TCustomActionList::removeAction(TContainedAction* Action) {
    actions_.erase(std::remove(actions_.begin(), actions_.end(), Action), actions_.end());
    Action->actionList_ = nullptr;
}

bool TCustomActionList::ExecuteAction(TBasicAction* Action) {
    bool handled = false;
    if (OnExecute) OnExecute(Action, handled);
    return handled;
}

bool TCustomActionList::UpdateAction(TBasicAction* Action) {
    bool handled = false;
    if (OnUpdate) OnUpdate(Action, handled);
    return handled;
}

void TCustomActionList::UpdateActions() {
    for (TContainedAction* a : std::vector<TContainedAction*>(actions_))
        if (!UpdateAction(a)) a->Update();
}

void TCustomActionList::GetChildren(const std::function<void(TComponent*)>& Proc,
                                    TComponent* Root) {
    for (TContainedAction* a : actions_)
        if (a->GetOwner() == Root) Proc(a);
}

void TCustomActionList::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove)
        if (auto* a = dynamic_cast<TContainedAction*>(AComponent))
            if (std::find(actions_.begin(), actions_.end(), a) != actions_.end()) removeAction(a);
}

VCL_DEFINE_CLASS(TActionList, TCustomActionList, c) {
    c.Event("OnExecute", &TActionList::OnExecute);
    c.Event("OnUpdate", &TActionList::OnUpdate);
    c.Event("OnChange", &TActionList::OnChange);
}

} // namespace vcl
