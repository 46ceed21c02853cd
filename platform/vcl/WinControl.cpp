#include "vcl/Controls.h"

#include "vcl/InputState.h"
#include "vcl/ScrollBox.h"
#include "vcl/VCLConsts.h"

#include <algorithm>

namespace vcl {

VCL_DEFINE_PLAIN_CLASS(TWinControl, TControl)

TWinControl::TWinControl(TComponent* AOwner) : TControl(AOwner) {
    isWinControl_ = true;
}

TWinControl::~TWinControl() {
    Destroying();
    SendFreeNotifications();
    InputState().ClearFocusIn(this);
    DestroyChildren();
    peer_.reset();
    if (parent_) parent_->RemoveControl(this);
}

void TWinControl::DestroyChildren() {
    while (!controls_.empty() || !winControls_.empty()) {
        TControl* child =
            !winControls_.empty() ? static_cast<TControl*>(winControls_.back()) : controls_.back();
        RemoveControl(child);
        delete child;
    }
}

int TWinControl::GetControlCount() const {
    return static_cast<int>(controls_.size() + winControls_.size());
}

TControl* TWinControl::GetControl(int Index) const {
    if (Index < 0 || Index >= GetControlCount()) TList::Error(Index);
    size_t i = static_cast<size_t>(Index);
    if (i < controls_.size()) return controls_[i];
    return winControls_[i - controls_.size()];
}

bool TWinControl::ContainsControl(const TControl* Control) const {
    for (const TControl* c = Control; c; c = c->GetParent())
        if (c == this) return true;
    return false;
}

TControl* TWinControl::ControlAtPos(const TPoint& Pos, bool AllowDisabled,
                                    bool AllowWinControls) const {
    auto hit = [&](const TControl* c) {
        return c->visible_ && (c->enabled_ || AllowDisabled) && c->BoundsRect().Contains(Pos);
    };
    if (AllowWinControls)
        for (auto it = winControls_.rbegin(); it != winControls_.rend(); ++it)
            if (hit(*it)) return *it;
    for (auto it = controls_.rbegin(); it != controls_.rend(); ++it)
        if (hit(*it)) return *it;
    return nullptr;
}

void TWinControl::InsertControl(TControl* AControl) {
    if (!AControl || AControl->parent_ == this) return;
    if (AControl == this ||
        (AControl->IsWindowed() && static_cast<TWinControl*>(AControl)->ContainsControl(this)))
        throw EInvalidOperation(LoadResString(vclconsts::SControlParentSetToSelf));
    AControl->parent_ = this;
    if (AControl->IsWindowed()) {
        auto* w = static_cast<TWinControl*>(AControl);
        winControls_.push_back(w);
        tabList_.push_back(w);
        if (w->pendingTabOrder_ >= 0 && !IsLoading() && !w->IsLoading()) {
            int wanted = w->pendingTabOrder_;
            w->pendingTabOrder_ = -1;
            w->SetTabOrder(wanted);
        }
    } else {
        controls_.push_back(AControl);
    }
    AControl->Perform(CM_PARENTCOLORCHANGED, 0, 0);
    AControl->Perform(CM_PARENTFONTCHANGED, 0, 0);
    AControl->ParentChanged();
    if (AControl->align_ != alNone && AControl->visible_) alignChildren();
    ScrollingChildrenChanged(this);
    if (AControl->IsWindowed()) {
        static_cast<TWinControl*>(AControl)->UpdateShowing();
        static_cast<TWinControl*>(AControl)->showingChanged();
    } else if (peer_)
        peer_->InvalidateControl(AControl);
    if (peer_) peer_->ZOrderChanged();
}

void TWinControl::RemoveControl(TControl* AControl) {
    if (!AControl || AControl->parent_ != this) return;
    if (AControl->IsWindowed()) {
        auto* w = static_cast<TWinControl*>(AControl);
        if (InputState().ClearFocusIn(w)) {
            if (TWinControl* top = GetTopParent()) top->FocusRemoved(w);
        } else if (TWinControl* top = GetTopParent()) {
            top->FocusRemoved(w);
        }
        if (!w->ComponentState().Contains(csDestroying)) w->DestroyHandle();
        winControls_.erase(std::remove(winControls_.begin(), winControls_.end(), w),
                           winControls_.end());
        tabList_.erase(std::remove(tabList_.begin(), tabList_.end(), w), tabList_.end());
    } else {
        if (peer_) peer_->ControlRemoved(AControl);
        // Searched from the end, where freeing many controls finds each one at once.
        auto it = std::find(controls_.rbegin(), controls_.rend(), AControl);
        if (it != controls_.rend()) controls_.erase(std::next(it).base());
    }
    AControl->parent_ = nullptr;
    if (!ComponentState().Contains(csDestroying)) {
        if (AControl->align_ != alNone) alignChildren();
        ScrollingChildrenChanged(this);
        if (peer_) peer_->ZOrderChanged();
    }
}

void TWinControl::DisableAlign() {
    ++alignLevel_;
}

void TWinControl::EnableAlign() {
    if (alignLevel_ > 0 && --alignLevel_ == 0 && ControlState().Contains(csAlignmentNeeded))
        Realign();
}

void TWinControl::Realign() {
    alignChildren();
}

void TWinControl::alignChildren() {
    if (ComponentState().Contains(csDestroying)) return;
    if (aligning_ || alignLevel_ > 0 || IsLoading()) {
        ControlState().Include(csAlignmentNeeded);
        return;
    }
    ControlState().Exclude(csAlignmentNeeded);
    TRect r = AlignRect();
    aligning_ = true;
    try {
        AlignControls(nullptr, r);
    } catch (...) {
        aligning_ = false;
        throw;
    }
    aligning_ = false;
}

void TWinControl::AdjustClientRect(TRect& Rect) const {
    (void)Rect;
}

TRect TWinControl::AlignRect() const {
    TRect r = GetClientRect();
    AdjustClientRect(r);
    return r;
}

void TWinControl::AlignControls(TControl* AControl, TRect& Rect) {
    (void)AControl;
    // Children of one kind of alignment are placed in the order of their current position.
    std::vector<TControl*> all;
    for (TControl* c : controls_)
        all.push_back(c);
    for (TWinControl* c : winControls_)
        all.push_back(c);
    for (TAlign a : {alTop, alBottom, alLeft, alRight, alClient}) {
        std::vector<TControl*> list;
        for (TControl* c : all)
            if (c->align_ == a && c->visible_) list.push_back(c);
        std::stable_sort(list.begin(), list.end(), [a](const TControl* c1, const TControl* c2) {
            switch (a) {
            case alTop:
                return c1->top_ < c2->top_;
            case alBottom:
                return int64_t{c1->top_} + c1->height_ > int64_t{c2->top_} + c2->height_;
            case alLeft:
                return c1->left_ < c2->left_;
            case alRight:
                return int64_t{c1->left_} + c1->width_ > int64_t{c2->left_} + c2->width_;
            default:
                return false;
            }
        });
        for (TControl* c : list) {
            int w = Rect.Width();
            int h = Rect.Height();
            if (w < 0 || a == alLeft || a == alRight) w = c->width_;
            if (h < 0 || a == alTop || a == alBottom) h = c->height_;
            switch (a) {
            case alTop:
                c->UpdateBoundsRect(Rect.Left, Rect.Top, w, h, false);
                Rect.Top = ClampToInt(int64_t{Rect.Top} + c->height_);
                break;
            case alBottom:
                c->UpdateBoundsRect(Rect.Left, ClampToInt(int64_t{Rect.Bottom} - h), w, h, false);
                Rect.Bottom = ClampToInt(int64_t{Rect.Bottom} - c->height_);
                break;
            case alLeft:
                c->UpdateBoundsRect(Rect.Left, Rect.Top, w, h, false);
                Rect.Left = ClampToInt(int64_t{Rect.Left} + c->width_);
                break;
            case alRight:
                c->UpdateBoundsRect(ClampToInt(int64_t{Rect.Right} - w), Rect.Top, w, h, false);
                Rect.Right = ClampToInt(int64_t{Rect.Right} - c->width_);
                break;
            default:
                c->UpdateBoundsRect(Rect.Left, Rect.Top, w, h, false);
                break;
            }
        }
    }
}

void TWinControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    TControl::SetBounds(ALeft, ATop, AWidth, AHeight);
}

void TWinControl::Loaded() {
    TControl::Loaded();
    fixupTabList();
    if (pendingTabOrder_ >= 0 && parent_ && !parent_->IsLoading()) {
        int wanted = pendingTabOrder_;
        pendingTabOrder_ = -1;
        SetTabOrder(wanted);
    }
    Realign();
}

void TWinControl::fixupTabList() {
    size_t count = winControls_.size();
    std::vector<TWinControl*> list(count, nullptr);
    bool any = false;
    for (TWinControl* c : winControls_) {
        int j = c->pendingTabOrder_;
        if (j >= 0 && static_cast<size_t>(j) < count && !list[static_cast<size_t>(j)]) {
            list[static_cast<size_t>(j)] = c;
            any = true;
        }
    }
    if (!any) return;
    for (TWinControl* c : winControls_)
        c->pendingTabOrder_ = -1;
    // Controls without a valid stored position keep their relative order after the others.
    std::vector<TWinControl*> rest;
    for (TWinControl* c : tabList_)
        if (std::find(list.begin(), list.end(), c) == list.end()) rest.push_back(c);
    size_t r = 0;
    for (auto& slot : list)
        if (!slot) slot = rest[r++];
    tabList_ = list;
}

void TWinControl::GetChildren(const std::function<void(TComponent*)>& Proc, TComponent* Root) {
    for (TControl* c : controls_)
        if (c->GetOwner() == Root) Proc(c);
    for (TWinControl* c : winControls_)
        if (c->GetOwner() == Root) Proc(c);
}

int TWinControl::GetTabOrder() const {
    if (!parent_) return pendingTabOrder_;
    auto& list = parent_->tabList_;
    auto it = std::find(list.begin(), list.end(), this);
    return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

void TWinControl::SetTabOrder(int Value) {
    if (!parent_ || IsLoading() || parent_->IsLoading()) {
        pendingTabOrder_ = Value;
        return;
    }
    auto& list = parent_->tabList_;
    auto it = std::find(list.begin(), list.end(), this);
    if (it == list.end()) return;
    int count = static_cast<int>(list.size());
    if (Value < 0) Value = 0;
    if (Value >= count) Value = count - 1;
    list.erase(it);
    list.insert(list.begin() + Value, this);
}

std::vector<TWinControl*> TWinControl::GetTabOrderList() const {
    return tabList_;
}

void TWinControl::SetLook(const TLook& Value) {
    if (Value == (look_ ? *look_ : TLook())) return;
    look_ = Value == TLook() ? nullptr : std::make_shared<const TLook>(Value);
    Invalidate();
}

void TWinControl::SetCtl3D(bool Value) {
    parentCtl3D_ = false;
    if (ctl3D_ == Value) return;
    ctl3D_ = Value;
    PeerChanged(pcAppearance);
    for (TWinControl* c : winControls_)
        if (c->parentCtl3D_) {
            c->SetCtl3D(Value);
            c->parentCtl3D_ = true;
        }
}

void TWinControl::SetParentCtl3D(bool Value) {
    if (parentCtl3D_ == Value) return;
    parentCtl3D_ = Value;
    if (Value && parent_) {
        SetCtl3D(parent_->ctl3D_);
        parentCtl3D_ = true;
    }
}

bool TWinControl::CanFocus() const {
    TWinControl* top = GetTopParent();
    for (const TControl* c = this; c && c != top; c = c->GetParent())
        if (!c->GetVisible() || !c->GetEnabled()) return false;
    return GetVisible() && GetEnabled();
}

bool TWinControl::Focused() const {
    return InputState().Focused() == this;
}

void TWinControl::SetFocus() {
    if (!CanFocus()) throw EInvalidOperation(LoadResString(vclconsts::SCannotFocus));
    TInputState& input = InputState();
    if (input.Focused() == this) return;
    TWinControl* old = input.Focused();
    input.SetFocused(this);
    if (TWinControl* top = GetTopParent()) top->FocusMovedTo(this);
    if (peer_) peer_->SetFocus();
    if (old) old->DoExit();
    DoEnter();
}

void TWinControl::DoEnter() {
    Perform(CM_ENTER, 0, 0);
    if (OnEnter) OnEnter(this);
}

void TWinControl::DoExit() {
    Perform(CM_EXIT, 0, 0);
    if (OnExit) OnExit(this);
}

TWinControl* TWinControl::FindNextControl(TWinControl* CurControl, bool GoForward,
                                          bool CheckTabStop, bool CheckParent) const {
    // Every focusable control of the subtree, depth first in tab order.
    std::vector<TWinControl*> order;
    std::function<void(const TWinControl*)> collect = [&](const TWinControl* w) {
        for (TWinControl* c : w->tabList_) {
            order.push_back(c);
            collect(c);
        }
    };
    collect(this);
    if (order.empty()) return nullptr;
    int n = static_cast<int>(order.size());
    int start = -1;
    for (int i = 0; i < n; ++i)
        if (order[static_cast<size_t>(i)] == CurControl) start = i;
    for (int step = 1; step <= n; ++step) {
        int i = start < 0 ? (GoForward ? step - 1 : n - step)
                          : ((start + (GoForward ? step : -step)) % n + n) % n;
        TWinControl* c = order[static_cast<size_t>(i)];
        if (c == CurControl) continue;
        if (CheckTabStop && !c->tabStop_) continue;
        if (CheckParent && c->parent_ != this) continue;
        // A form being designed inside a running one (an IDE's) is no stop of its tab order.
        if (c->ComponentState().Contains(csDesigning) && !ComponentState().Contains(csDesigning))
            continue;
        if (c->CanFocus() && c->winControls_.empty()) return c;
        if (c->CanFocus() && c->tabStop_) return c;
    }
    return nullptr;
}

void TWinControl::SelectNext(TWinControl* CurControl, bool GoForward, bool CheckTabStop) {
    if (TWinControl* next = FindNextControl(CurControl, GoForward, CheckTabStop, false))
        next->SetFocus();
}

void TWinControl::HandleNeeded() {
    if (peer_) return;
    if (parent_ && !parent_->peer_) parent_->HandleNeeded();
    peer_ = Widgetset()->CreatePeer(this);
    if (!peer_) return;
    createChildPeers();
}

// The peer shows its native window once its children are in it (a widgetset may keep it hidden
// until then, since a window filled while shown does work for every sibling already there).
void TWinControl::createChildPeers() {
    if (winControls_.empty()) return;
    for (TWinControl* c : std::vector<TWinControl*>(winControls_))
        c->UpdateShowing();
    if (peer_) peer_->VisibleChanged();
}

void TWinControl::UpdateShowing() {
    if (peer_ || !GetVisible() || !parent_ || !parent_->peer_) return;
    peer_ = Widgetset()->CreatePeer(this);
    if (!peer_) return;
    createChildPeers();
}

void TWinControl::DestroyHandle() {
    for (TWinControl* c : winControls_)
        c->DestroyHandle();
    peer_.reset();
}

bool TWinControl::Showing() const {
    return GetVisible() && (!parent_ || parent_->Showing());
}

void TWinControl::PeerChanged(TPeerChange What) {
    if (peer_) peer_->Changed(What);
}

void TWinControl::BoundsChanged() {
    if (peer_) peer_->BoundsChanged();
}

void TWinControl::TextChanged() {
    Perform(CM_TEXTCHANGED, 0, 0);
    if (peer_) peer_->TextChanged();
}

void TWinControl::PeerTextChanged(const AnsiString& Text) {
    // The peer already shows the text; only the model and its listeners learn about it.
    TWinControlPeer* peer = peer_.release();
    TFinally restore([this, peer] { peer_.reset(peer); });
    SetText(Text);
}

void TWinControl::FontChanged() {
    Perform(CM_FONTCHANGED, 0, 0);
    if (peer_) peer_->FontChanged();
    for (TControl* c : std::vector<TControl*>(controls_))
        c->Perform(CM_PARENTFONTCHANGED, 0, 0);
    for (TWinControl* c : std::vector<TWinControl*>(winControls_))
        c->Perform(CM_PARENTFONTCHANGED, 0, 0);
}

void TWinControl::ColorChanged() {
    Perform(CM_COLORCHANGED, 0, 0);
    if (peer_) peer_->ColorChanged();
    for (TControl* c : std::vector<TControl*>(controls_))
        c->Perform(CM_PARENTCOLORCHANGED, 0, 0);
    for (TWinControl* c : std::vector<TWinControl*>(winControls_))
        c->Perform(CM_PARENTCOLORCHANGED, 0, 0);
}

void TWinControl::VisibleChanged() {
    Perform(CM_VISIBLECHANGED, GetVisible() ? 1 : 0, 0);
    if (!GetVisible() && InputState().ClearFocusIn(this)) {
        if (TWinControl* top = GetTopParent()) top->FocusRemoved(this);
    }
    if (peer_)
        peer_->VisibleChanged();
    else
        UpdateShowing();
    showingChanged();
}

void TWinControl::showingChanged() {
    Perform(CM_SHOWINGCHANGED, 0, 0);
    for (TWinControl* c : std::vector<TWinControl*>(winControls_))
        c->showingChanged();
}

void TWinControl::EnabledChanged() {
    Perform(CM_ENABLEDCHANGED, 0, 0);
    if (peer_) peer_->EnabledChanged();
}

void TWinControl::Invalidate() {
    if (peer_) peer_->Invalidate();
}

void TWinControl::BringToFront() {
    if (!parent_) return;
    auto& list = parent_->winControls_;
    auto it = std::find(list.begin(), list.end(), this);
    if (it == list.end()) return;
    list.erase(it);
    list.push_back(this);
    if (parent_->peer_) parent_->peer_->ZOrderChanged();
}

void TWinControl::SendToBack() {
    if (!parent_) return;
    auto& list = parent_->winControls_;
    auto it = std::find(list.begin(), list.end(), this);
    if (it == list.end()) return;
    list.erase(it);
    list.insert(list.begin(), this);
    if (parent_->peer_) parent_->peer_->ZOrderChanged();
}

void TWinControl::SetParent(TWinControl* AParent) {
    TControl::SetParent(AParent);
}

void TWinControl::DefaultHandler(TMessage& Message) {
    // The control messages are the model's own notices; the peer hears of changes otherwise.
    if (peer_ && Message.Msg < CM_BASE) peer_->DefaultHandler(Message);
}

void TWinControl::Dispatch(TMessage& Message) {
    if (Message.Msg == CM_DIALOGKEY) {
        if (DialogKey(static_cast<Word>(Message.WParam),
                      KeysToShiftState(static_cast<uintptr_t>(Message.LParam))))
            Message.Result = 1;
        return;
    }
    TControl::Dispatch(Message);
}

bool TWinControl::DialogKey(Word Key, TShiftState Shift) {
    std::vector<TControl*> children(controls_.begin(), controls_.end());
    children.insert(children.end(), winControls_.begin(), winControls_.end());
    auto alive = LifeToken();
    for (TControl* c : children) {
        if (!*alive) return true;
        if (c->Perform(CM_DIALOGKEY, Key, static_cast<intptr_t>(ShiftStateToKeys(Shift))) != 0)
            return true;
    }
    return false;
}

// --- TCustomControl -----------------------------------------------------------------------------

VCL_DEFINE_PLAIN_CLASS(TCustomControl, TWinControl)

} // namespace vcl
