#include "vcl/Controls.h"

#include "vcl/Forms.h"
#include "vcl/Menus.h"
#include "vcl/VCLConsts.h"

#include <algorithm>
#include <climits>

namespace vcl {

const TEnumInfo TAlignInfo{
    "TAlign", {"alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient", "alCustom"}};
const TEnumInfo TBevelCutInfo{"TBevelCut", {"bvNone", "bvLowered", "bvRaised", "bvSpace"}};
const TEnumInfo TBorderStyleInfo{"TBorderStyle", {"bsNone", "bsSingle"}};
const TEnumInfo TFormBorderStyleInfo{
    "TFormBorderStyle",
    {"bsNone", "bsSingle", "bsSizeable", "bsDialog", "bsToolWindow", "bsSizeToolWin"}};
const TEnumInfo THelpTypeInfo{"THelpType", {"htKeyword", "htContext"}};
const TEnumInfo TAnchorKindInfo{"TAnchorKind", {"akLeft", "akTop", "akRight", "akBottom"}};
const TEnumInfo TMouseButtonInfo{"TMouseButton", {"mbLeft", "mbRight", "mbMiddle"}};
const TEnumInfo TShiftStateInfo{
    "TShiftState", {"ssShift", "ssAlt", "ssCtrl", "ssLeft", "ssRight", "ssMiddle", "ssDouble"}};
const TIdentMap CursorIdents{
    {{crDefault, "crDefault"},     {crNone, "crNone"},           {crArrow, "crArrow"},
     {crCross, "crCross"},         {crIBeam, "crIBeam"},         {crSizeNESW, "crSizeNESW"},
     {crSizeNS, "crSizeNS"},       {crSizeNWSE, "crSizeNWSE"},   {crSizeWE, "crSizeWE"},
     {crUpArrow, "crUpArrow"},     {crHourGlass, "crHourGlass"}, {crDrag, "crDrag"},
     {crNoDrop, "crNoDrop"},       {crHSplit, "crHSplit"},       {crVSplit, "crVSplit"},
     {crMultiDrag, "crMultiDrag"}, {crSQLWait, "crSQLWait"},     {crNo, "crNo"},
     {crAppStart, "crAppStart"},   {crHelp, "crHelp"},           {crHandPoint, "crHandPoint"},
     {crSizeAll, "crSizeAll"}}};

int MulDiv(int Number, int Numerator, int Denominator) {
    if (Denominator == 0) return -1;
    long long product = static_cast<long long>(Number) * Numerator;
    bool negative = (product < 0) != (Denominator < 0);
    long long a = product < 0 ? -product : product;
    long long d = Denominator < 0 ? -static_cast<long long>(Denominator) : Denominator;
    long long q = (a + d / 2) / d;
    // A result beyond the int range is an overflow, reported as -1 like a zero denominator.
    if (q > INT_MAX) return -1;
    return static_cast<int>(negative ? -q : q);
}

namespace {

TControl* g_capture = nullptr;
TControl* g_mouseControl = nullptr;
TWinControl* g_focused = nullptr;
TShiftState g_lastShift;
TMouse g_mouse;

bool isAncestorOrSelf(const TControl* ancestor, const TControl* c) {
    for (; c; c = c->GetParent())
        if (c == ancestor) return true;
    return false;
}

} // namespace

TMouse* const Mouse = &g_mouse;

namespace {
// A program that uses controls can read forms naming any class of the library.
const bool g_classesRegistered = (RegisterVclClasses(), true);
} // namespace

TPoint TMouse::GetCursorPos() const {
    TPoint p;
    if (Widgetset()->GetCursorPos(p)) return p;
    return pos_;
}

TControl* TMouse::Capture() const {
    return g_capture;
}

TControl* GetCaptureControl() {
    return g_capture;
}
void SetCaptureControl(TControl* Control) {
    g_capture = Control;
}
TControl* GetMouseControl() {
    return g_mouseControl;
}
TWinControl* FindFocusedControl() {
    return g_focused;
}

TShiftState KeysToShiftState(uintptr_t Keys) {
    TShiftState s;
    if (Keys & MK_SHIFT) s.Include(ssShift);
    if (Keys & MK_CONTROL) s.Include(ssCtrl);
    if (Keys & MK_LBUTTON) s.Include(ssLeft);
    if (Keys & MK_RBUTTON) s.Include(ssRight);
    if (Keys & MK_MBUTTON) s.Include(ssMiddle);
    if (g_lastShift.Contains(ssAlt)) s.Include(ssAlt);
    return s;
}

uintptr_t ShiftStateToKeys(TShiftState Shift) {
    uintptr_t k = 0;
    if (Shift.Contains(ssShift)) k |= MK_SHIFT;
    if (Shift.Contains(ssCtrl)) k |= MK_CONTROL;
    if (Shift.Contains(ssLeft)) k |= MK_LBUTTON;
    if (Shift.Contains(ssRight)) k |= MK_RBUTTON;
    if (Shift.Contains(ssMiddle)) k |= MK_MBUTTON;
    return k;
}

// --- TSizeConstraints ---------------------------------------------------------------------------

VCL_DEFINE_CLASS(TSizeConstraints, TPersistent, c) {
    c.Int("MaxHeight", &TSizeConstraints::GetMaxHeight, &TSizeConstraints::SetMaxHeight).Default(0);
    c.Int("MaxWidth", &TSizeConstraints::GetMaxWidth, &TSizeConstraints::SetMaxWidth).Default(0);
    c.Int("MinHeight", &TSizeConstraints::GetMinHeight, &TSizeConstraints::SetMinHeight).Default(0);
    c.Int("MinWidth", &TSizeConstraints::GetMinWidth, &TSizeConstraints::SetMinWidth).Default(0);
}

void TSizeConstraints::Assign(TPersistent* Source) {
    if (auto* s = dynamic_cast<TSizeConstraints*>(Source)) {
        maxHeight_ = s->maxHeight_;
        maxWidth_ = s->maxWidth_;
        minHeight_ = s->minHeight_;
        minWidth_ = s->minWidth_;
        changed();
        return;
    }
    TPersistent::Assign(Source);
}

void TSizeConstraints::SetMaxHeight(int Value) {
    if (Value == maxHeight_) return;
    maxHeight_ = Value < 0 ? 0 : Value;
    if (maxHeight_ > 0 && maxHeight_ < minHeight_) minHeight_ = maxHeight_;
    changed();
}
void TSizeConstraints::SetMaxWidth(int Value) {
    if (Value == maxWidth_) return;
    maxWidth_ = Value < 0 ? 0 : Value;
    if (maxWidth_ > 0 && maxWidth_ < minWidth_) minWidth_ = maxWidth_;
    changed();
}
void TSizeConstraints::SetMinHeight(int Value) {
    if (Value == minHeight_) return;
    minHeight_ = Value < 0 ? 0 : Value;
    if (maxHeight_ > 0 && minHeight_ > maxHeight_) maxHeight_ = minHeight_;
    changed();
}
void TSizeConstraints::SetMinWidth(int Value) {
    if (Value == minWidth_) return;
    minWidth_ = Value < 0 ? 0 : Value;
    if (maxWidth_ > 0 && minWidth_ > maxWidth_) maxWidth_ = minWidth_;
    changed();
}

void TSizeConstraints::Constrain(int& Width, int& Height) const {
    if (minWidth_ > 0 && Width < minWidth_) Width = minWidth_;
    if (maxWidth_ > 0 && Width > maxWidth_) Width = maxWidth_;
    if (minHeight_ > 0 && Height < minHeight_) Height = minHeight_;
    if (maxHeight_ > 0 && Height > maxHeight_) Height = maxHeight_;
}

void TSizeConstraints::changed() {
    if (control_ && !control_->ComponentState().Contains(csLoading))
        control_->SetBounds(control_->GetLeft(), control_->GetTop(), control_->GetWidth(),
                            control_->GetHeight());
    if (OnChange) OnChange(this);
}

// --- TControl -----------------------------------------------------------------------------------

VCL_DEFINE_CLASS(TControlActionLink, TBasicActionLink, c) {
    (void)c;
}

void TControlActionLink::Change() {
    if (auto* control = dynamic_cast<TControl*>(client_)) control->ActionChange(action_, false);
}

// TControl publishes what every control has; the rest is published by the concrete classes.
VCL_DEFINE_CLASS(TControl, TComponent, c) {
    c.Int("Left", &TControl::GetLeft, &TControl::SetLeft);
    c.Int("Top", &TControl::GetTop, &TControl::SetTop);
    c.Int("Width", &TControl::GetWidth, &TControl::SetWidth);
    c.Int("Height", &TControl::GetHeight, &TControl::SetHeight);
    c.Int("Cursor", &TControl::GetCursor, &TControl::SetCursor)
        .Idents(CursorIdents)
        .Default(crDefault);
    c.Str("Hint", &TControl::GetHint, &TControl::SetHint).Stored([](const TControl* o) {
        return o->IsHintStored();
    });
    c.Enum("HelpType", THelpTypeInfo, &TControl::GetHelpType, &TControl::SetHelpType)
        .Default(htContext);
    c.Str("HelpKeyword", &TControl::GetHelpKeyword, &TControl::SetHelpKeyword);
    c.Int("HelpContext", &TControl::GetHelpContext, &TControl::SetHelpContext).Default(0);
}

TControl::TControl(TComponent* AOwner)
    : TComponent(AOwner), font_(std::make_unique<TFont>()),
      constraints_(std::make_unique<TSizeConstraints>(this)) {
    font_->OnChange = [this](TObject* Sender) { fontChangedHandler(Sender); };
    parentColor_ = true;
}

TControl::~TControl() {
    Destroying();
    SendFreeNotifications();
    if (g_capture == this) g_capture = nullptr;
    if (g_mouseControl == this) g_mouseControl = nullptr;
    actionLink_.reset();
    if (parent_) parent_->RemoveControl(this);
}

bool TControl::IsLoading() const {
    return ComponentState().Contains(csLoading) || ComponentState().Contains(csReading);
}

void TControl::SetParent(TWinControl* AParent) {
    if (parent_ == AParent) return;
    if (AParent == this) throw EInvalidOperation(LoadResString(vclconsts::SControlParentSetToSelf));
    if (parent_) parent_->RemoveControl(this);
    if (AParent) AParent->InsertControl(this);
}

TComponent* TControl::GetParentComponent() const {
    return parent_;
}

void TControl::SetParentComponent(TComponent* Value) {
    if (auto* w = dynamic_cast<TWinControl*>(Value)) SetParent(w);
}

void TControl::SetLeft(int Value) {
    SetBounds(Value, top_, width_, height_);
}
void TControl::SetTop(int Value) {
    SetBounds(left_, Value, width_, height_);
}
void TControl::SetWidth(int Value) {
    SetBounds(left_, top_, Value, height_);
}
void TControl::SetHeight(int Value) {
    SetBounds(left_, top_, width_, Value);
}

void TControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    UpdateBoundsRect(ALeft, ATop, AWidth, AHeight, true);
}

void TControl::UpdateBoundsRect(int ALeft, int ATop, int AWidth, int AHeight, bool Realign) {
    constraints_->Constrain(AWidth, AHeight);
    if (ALeft == left_ && ATop == top_ && AWidth == width_ && AHeight == height_) return;
    bool sized = AWidth != width_ || AHeight != height_;
    if (!isWinControl_) Invalidate();
    left_ = ALeft;
    top_ = ATop;
    width_ = AWidth;
    height_ = AHeight;
    BoundsChanged();
    if (!isWinControl_) Invalidate();
    if (Realign) RequestAlign();
    if (sized) {
        if (isWinControl_) static_cast<TWinControl*>(this)->alignChildren();
        if (!IsLoading()) Resize();
    }
}

void TControl::RequestAlign() {
    if (parent_ && align_ != alNone && visible_ && !parent_->aligning_) parent_->alignChildren();
}

TRect TControl::GetClientRect() const {
    TRect f = NonClientInsets();
    return Rect(0, 0, width_ - f.Left - f.Right, height_ - f.Top - f.Bottom);
}

void TControl::SetClientWidth(int Value) {
    SetClientSize(Value, GetClientHeight());
}
void TControl::SetClientHeight(int Value) {
    SetClientSize(GetClientWidth(), Value);
}

void TControl::SetClientSize(int AWidth, int AHeight) {
    TRect client = GetClientRect();
    SetBounds(left_, top_, width_ - client.Width() + AWidth, height_ - client.Height() + AHeight);
}

TPoint TControl::ClientOrigin() const {
    TRect f = NonClientInsets();
    if (!parent_) return {left_ + f.Left, top_ + f.Top};
    TPoint p = parent_->ClientOrigin();
    return {p.X + left_ + f.Left, p.Y + top_ + f.Top};
}

TPoint TControl::ClientToScreen(const TPoint& P) const {
    TPoint o = ClientOrigin();
    return {P.X + o.X, P.Y + o.Y};
}

TPoint TControl::ScreenToClient(const TPoint& P) const {
    TPoint o = ClientOrigin();
    return {P.X - o.X, P.Y - o.Y};
}

TPoint TControl::ClientToClient(const TPoint& P, const TControl* Other) const {
    return Other->ScreenToClient(ClientToScreen(P));
}

void TControl::SetAlign(TAlign Value) {
    if (align_ == Value) return;
    TAlign old = align_;
    align_ = Value;
    if (parent_ && (old != alNone || Value != alNone) && !parent_->aligning_)
        parent_->alignChildren();
}

void TControl::SetVisible(bool Value) {
    if (visible_ == Value) return;
    visible_ = Value;
    VisibleChanged();
    if (parent_ && align_ != alNone && !parent_->aligning_) parent_->alignChildren();
}

bool TControl::Showing() const {
    return visible_ && (!parent_ || parent_->Showing());
}

void TControl::SetEnabled(bool Value) {
    if (enabled_ == Value) return;
    enabled_ = Value;
    EnabledChanged();
}

bool TControl::IsEnabledInParents() const {
    for (const TControl* c = this; c; c = c->parent_)
        if (!c->enabled_) return false;
    return true;
}

void TControl::SetText(const AnsiString& Value) {
    if (text_ == Value) return;
    text_ = Value;
    TextChanged();
}

void TControl::SetColor(TColor Value) {
    if (color_ == Value) return;
    color_ = Value;
    parentColor_ = false;
    ColorChanged();
}

void TControl::SetParentColor(bool Value) {
    if (parentColor_ == Value) return;
    parentColor_ = Value;
    if (Value && parent_) Perform(CM_PARENTCOLORCHANGED, 0, 0);
}

void TControl::SetParentFont(bool Value) {
    if (parentFont_ == Value) return;
    parentFont_ = Value;
    if (Value && parent_) Perform(CM_PARENTFONTCHANGED, 0, 0);
}

void TControl::SetShowHint(bool Value) {
    showHint_ = Value;
    parentShowHint_ = false;
}

void TControl::ParentFontChanged() {
    if (!parentFont_ || !parent_) return;
    applyingParentFont_ = true;
    try {
        font_->Assign(parent_->GetFont());
    } catch (...) {
        applyingParentFont_ = false;
        throw;
    }
    applyingParentFont_ = false;
    parentFont_ = true;
}

void TControl::ParentColorChanged() {
    if (!parentColor_ || !parent_) return;
    if (color_ != parent_->color_) {
        color_ = parent_->color_;
        ColorChanged();
    }
    parentColor_ = true;
}

void TControl::fontChangedHandler(TObject* Sender) {
    (void)Sender;
    if (!applyingParentFont_) parentFont_ = false;
    FontChanged();
}

void TControl::TextChanged() {
    Perform(CM_TEXTCHANGED, 0, 0);
    Invalidate();
}

void TControl::FontChanged() {
    Perform(CM_FONTCHANGED, 0, 0);
    Invalidate();
}

void TControl::ColorChanged() {
    Perform(CM_COLORCHANGED, 0, 0);
    Invalidate();
}

void TControl::VisibleChanged() {
    Perform(CM_VISIBLECHANGED, visible_ ? 1 : 0, 0);
    if (parent_ && parent_->peer_) parent_->peer_->InvalidateControl(this);
}

void TControl::EnabledChanged() {
    Perform(CM_ENABLEDCHANGED, 0, 0);
    Invalidate();
}

void TControl::SetPopupMenu(TPopupMenu* Value) {
    popupMenu_ = Value;
    if (Value) Value->FreeNotification(this);
}

TBasicAction* TControl::GetAction() const {
    return actionLink_ ? actionLink_->GetAction() : nullptr;
}

bool TControl::IsActionLinked() const {
    return actionLink_ && dynamic_cast<TCustomAction*>(actionLink_->GetAction()) != nullptr;
}

TControlActionLink* TControl::CreateActionLink() {
    return new TControlActionLink(this);
}

void TControl::SetAction(TBasicAction* Value) {
    if (!Value) {
        actionLink_.reset();
        controlStyle_.Exclude(csActionClient);
        return;
    }
    controlStyle_.Include(csActionClient);
    if (!actionLink_) actionLink_.reset(CreateActionLink());
    actionLink_->SetAction(Value);
    Value->FreeNotification(this);
    ActionChange(Value, Value->ComponentState().Contains(csLoading));
}

void TControl::ActionChange(TBasicAction* Sender, bool CheckDefaults) {
    auto* action = dynamic_cast<TCustomAction*>(Sender);
    if (!action) return;
    if (!CheckDefaults || text_.empty() || text_ == GetName()) SetCaption(action->GetCaption());
    if (!CheckDefaults || enabled_) SetEnabled(action->GetEnabled());
    if (!CheckDefaults || hint_.empty()) SetHint(action->GetHint());
    if (!CheckDefaults || visible_) SetVisible(action->GetVisible());
    if (!CheckDefaults || helpContext_ == 0) SetHelpContext(action->GetHelpContext());
}

void TControl::SetName(const AnsiString& NewName) {
    const TComponent* owner = GetOwner();
    bool changeText = controlStyle_.Contains(csSetCaption) && !IsLoading() && GetName() == text_ &&
                      (!owner || !dynamic_cast<const TControl*>(owner) ||
                       !owner->ComponentState().Contains(csLoading));
    TComponent::SetName(NewName);
    if (changeText) SetText(NewName);
}

void TControl::Loaded() {
    TComponent::Loaded();
    if (parent_) {
        if (parentColor_) ParentColorChanged();
        if (parentFont_) ParentFontChanged();
    }
    if (TBasicAction* action = GetAction()) ActionChange(action, true);
}

void TControl::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation != opRemove || !AComponent) return;
    if (SameObject(AComponent, popupMenu_)) popupMenu_ = nullptr;
    if (actionLink_ && SameObject(AComponent, actionLink_->GetAction())) SetAction(nullptr);
}

intptr_t TControl::Perform(unsigned Msg, uintptr_t WParam, intptr_t LParam) {
    TMessage m;
    m.Msg = Msg;
    m.WParam = WParam;
    m.LParam = LParam;
    if (WindowProc)
        WindowProc(m);
    else
        WndProc(m);
    return m.Result;
}

void TControl::WndProc(TMessage& Message) {
    Dispatch(Message);
}

void TControl::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
    case WM_LBUTTONDOWN:
        handleMouseButton(Message, mbLeft, true, false);
        return;
    case WM_LBUTTONDBLCLK:
        handleMouseButton(Message, mbLeft, true, true);
        return;
    case WM_LBUTTONUP:
        handleMouseButton(Message, mbLeft, false, false);
        return;
    case WM_RBUTTONDOWN:
        handleMouseButton(Message, mbRight, true, false);
        return;
    case WM_RBUTTONDBLCLK:
        handleMouseButton(Message, mbRight, true, true);
        return;
    case WM_RBUTTONUP:
        handleMouseButton(Message, mbRight, false, false);
        return;
    case WM_MBUTTONDOWN:
        handleMouseButton(Message, mbMiddle, true, false);
        return;
    case WM_MBUTTONDBLCLK:
        handleMouseButton(Message, mbMiddle, true, true);
        return;
    case WM_MBUTTONUP:
        handleMouseButton(Message, mbMiddle, false, false);
        return;
    case WM_MOUSEMOVE:
        MouseMove(KeysToShiftState(Message.WParam), LParamX(Message.LParam),
                  LParamY(Message.LParam));
        return;
    case WM_CONTEXTMENU: {
        // The handler must not touch the control after the popup: a chosen item may free it.
        if (popupMenu_ && popupMenu_->GetAutoPopup()) {
            TPopupMenu* menu = popupMenu_;
            menu->SetPopupComponent(this);
            Message.Result = 1;
            menu->Popup(LParamX(Message.LParam), LParamY(Message.LParam));
            return;
        }
        if (parent_)
            Message.Result = parent_->Perform(WM_CONTEXTMENU, Message.WParam, Message.LParam);
        return;
    }
    case CM_MOUSEENTER:
        if (OnMouseEnter) OnMouseEnter(this);
        return;
    case CM_MOUSELEAVE:
        if (OnMouseLeave) OnMouseLeave(this);
        return;
    case CM_PARENTFONTCHANGED:
        ParentFontChanged();
        return;
    case CM_PARENTCOLORCHANGED:
        ParentColorChanged();
        return;
    default:
        DefaultHandler(Message);
    }
}

void TControl::DefaultHandler(TMessage& Message) {
    (void)Message;
}

void TControl::handleMouseButton(TMessage& Message, TMouseButton Button, bool Down, bool Double) {
    int x = LParamX(Message.LParam);
    int y = LParamY(Message.LParam);
    TShiftState shift = KeysToShiftState(Message.WParam);
    auto alive = LifeToken();
    if (Down) {
        if (Button == mbLeft) {
            if (controlStyle_.Contains(csCaptureMouse)) g_capture = this;
            controlState_.Include(csLButtonDown);
            if (controlStyle_.Contains(csClickEvents)) controlState_.Include(csClicked);
        }
        if (Double) {
            shift.Include(ssDouble);
            if (Button == mbLeft && controlStyle_.Contains(csDoubleClicks)) {
                DblClick();
                if (!*alive) return;
            }
        }
        MouseDown(Button, shift, x, y);
        return;
    }
    bool click = false;
    if (Button == mbLeft) {
        if (g_capture == this) g_capture = nullptr;
        controlState_.Exclude(csLButtonDown);
        if (controlState_.Contains(csClicked)) {
            controlState_.Exclude(csClicked);
            click = GetClientRect().Contains({x, y});
        }
    }
    if (click) {
        Click();
        if (!*alive) return;
    }
    MouseUp(Button, shift, x, y);
}

void TControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (OnMouseDown) OnMouseDown(this, Button, Shift, X, Y);
}

void TControl::MouseMove(TShiftState Shift, int X, int Y) {
    if (OnMouseMove) OnMouseMove(this, Shift, X, Y);
}

void TControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (OnMouseUp) OnMouseUp(this, Button, Shift, X, Y);
}

void TControl::Click() {
    if (OnClick)
        OnClick(this);
    else if (actionLink_ && actionLink_->GetAction())
        actionLink_->Execute(this);
}

void TControl::DblClick() {
    if (OnDblClick) OnDblClick(this);
}

void TControl::Resize() {
    if (OnResize) OnResize(this);
}

void TControl::Invalidate() {
    if (parent_ && parent_->peer_ && !isWinControl_) parent_->peer_->InvalidateControl(this);
}

void TControl::BringToFront() {
    if (!parent_) return;
    auto& list = parent_->controls_;
    auto it = std::find(list.begin(), list.end(), this);
    if (it == list.end()) return;
    list.erase(it);
    list.push_back(this);
    if (parent_->peer_) parent_->peer_->InvalidateControl(this);
}

void TControl::SendToBack() {
    if (!parent_) return;
    auto& list = parent_->controls_;
    auto it = std::find(list.begin(), list.end(), this);
    if (it == list.end()) return;
    list.erase(it);
    list.insert(list.begin(), this);
    if (parent_->peer_) parent_->peer_->InvalidateControl(this);
}

TWinControl* TControl::GetWindowedControl() {
    return isWinControl_ ? static_cast<TWinControl*>(this) : parent_;
}

TWinControl* TControl::GetTopParent() const {
    const TControl* c = this;
    while (c->parent_)
        c = c->parent_;
    return c->isWinControl_ ? const_cast<TWinControl*>(static_cast<const TWinControl*>(c))
                            : nullptr;
}

// --- TWinControl --------------------------------------------------------------------------------

VCL_DEFINE_CLASS(TWinControl, TControl, c) {
    (void)c;
}

TWinControl::TWinControl(TComponent* AOwner) : TControl(AOwner) {
    isWinControl_ = true;
}

TWinControl::~TWinControl() {
    Destroying();
    SendFreeNotifications();
    if (g_focused && isAncestorOrSelf(this, g_focused)) g_focused = nullptr;
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
        (AControl->isWinControl_ && static_cast<TWinControl*>(AControl)->ContainsControl(this)))
        throw EInvalidOperation(LoadResString(vclconsts::SControlParentSetToSelf));
    AControl->parent_ = this;
    if (AControl->isWinControl_) {
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
    if (AControl->isWinControl_)
        static_cast<TWinControl*>(AControl)->UpdateShowing();
    else if (peer_)
        peer_->InvalidateControl(AControl);
    if (peer_) peer_->ZOrderChanged();
}

void TWinControl::RemoveControl(TControl* AControl) {
    if (!AControl || AControl->parent_ != this) return;
    if (AControl->isWinControl_) {
        auto* w = static_cast<TWinControl*>(AControl);
        if (g_focused && isAncestorOrSelf(w, g_focused)) {
            g_focused = nullptr;
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
        controls_.erase(std::remove(controls_.begin(), controls_.end(), AControl), controls_.end());
    }
    AControl->parent_ = nullptr;
    if (!ComponentState().Contains(csDestroying)) {
        if (AControl->align_ != alNone) alignChildren();
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
                return c1->top_ + c1->height_ > c2->top_ + c2->height_;
            case alLeft:
                return c1->left_ < c2->left_;
            case alRight:
                return c1->left_ + c1->width_ > c2->left_ + c2->width_;
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
                Rect.Top += c->height_;
                break;
            case alBottom:
                c->UpdateBoundsRect(Rect.Left, Rect.Bottom - h, w, h, false);
                Rect.Bottom -= c->height_;
                break;
            case alLeft:
                c->UpdateBoundsRect(Rect.Left, Rect.Top, w, h, false);
                Rect.Left += c->width_;
                break;
            case alRight:
                c->UpdateBoundsRect(Rect.Right - w, Rect.Top, w, h, false);
                Rect.Right -= c->width_;
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
    return g_focused == this;
}

void TWinControl::SetFocus() {
    if (!CanFocus()) throw EInvalidOperation(LoadResString(vclconsts::SCannotFocus));
    if (g_focused == this) return;
    TWinControl* old = g_focused;
    g_focused = this;
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
    for (TWinControl* c : std::vector<TWinControl*>(winControls_))
        c->UpdateShowing();
}

void TWinControl::UpdateShowing() {
    if (peer_ || !GetVisible() || !parent_ || !parent_->peer_) return;
    peer_ = Widgetset()->CreatePeer(this);
    if (!peer_) return;
    for (TWinControl* c : std::vector<TWinControl*>(winControls_))
        c->UpdateShowing();
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
    auto* peer = peer_.release();
    try {
        SetText(Text);
    } catch (...) {
        peer_.reset(peer);
        throw;
    }
    peer_.reset(peer);
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
    if (!GetVisible() && g_focused && isAncestorOrSelf(this, g_focused)) {
        g_focused = nullptr;
        if (TWinControl* top = GetTopParent()) top->FocusRemoved(this);
    }
    if (peer_)
        peer_->VisibleChanged();
    else
        UpdateShowing();
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

// Input ------------------------------------------------------------------------------------------

namespace {

enum { kDown, kMove, kUp };

// The deepest visible, enabled windowed control under a screen point, starting at W.
TWinControl* windowAt(TWinControl* w, const TPoint& screen) {
    for (;;) {
        TPoint p = w->ScreenToClient(screen);
        TControl* c = w->ControlAtPos(p, false, true);
        if (!c || !c->Is<TWinControl>()) return w;
        w = static_cast<TWinControl*>(c);
    }
}

unsigned mouseMessage(int kind, TMouseButton b, bool dbl) {
    if (kind == kMove) return WM_MOUSEMOVE;
    switch (b) {
    case mbLeft:
        return kind == kDown ? (dbl ? WM_LBUTTONDBLCLK : WM_LBUTTONDOWN) : WM_LBUTTONUP;
    case mbRight:
        return kind == kDown ? (dbl ? WM_RBUTTONDBLCLK : WM_RBUTTONDOWN) : WM_RBUTTONUP;
    default:
        return kind == kDown ? (dbl ? WM_MBUTTONDBLCLK : WM_MBUTTONDOWN) : WM_MBUTTONUP;
    }
}

void trackHover(TControl* over) {
    if (over == g_mouseControl) return;
    TControl* old = g_mouseControl;
    g_mouseControl = over;
    if (old) old->Perform(CM_MOUSELEAVE, 0, 0);
    if (over && g_mouseControl == over) over->Perform(CM_MOUSEENTER, 0, 0);
}

} // namespace

void TWinControl::routeMouse(unsigned Kind, TMouseButton Button, TShiftState Shift, int X, int Y) {
    TInputEventScope scope;
    TPoint screen = ClientToScreen({X, Y});
    g_mouse.SetCursorPos(screen);
    g_lastShift = Shift;

    TWinControl* window = windowAt(this, screen);
    TControl* over = window->ControlAtPos(window->ScreenToClient(screen), false, false);
    if (!over) over = window;
    if (Kind == kMove || Kind == kDown) trackHover(over);

    TControl* target = g_capture ? g_capture : over;
    uintptr_t keys = ShiftStateToKeys(Shift);
    if (Kind == kDown) {
        keys |= Button == mbLeft ? MK_LBUTTON : Button == mbRight ? MK_RBUTTON : MK_MBUTTON;
        // Windowed controls that take part in the tab order take the focus when pressed; graphic
        // controls (a speed button) never do.
        if (Button == mbLeft && target->isWinControl_) {
            auto* w = static_cast<TWinControl*>(target);
            if (w->tabStop_ && w->CanFocus() && !w->Focused()) w->SetFocus();
        }
    } else if (Kind == kUp) {
        keys &= ~(Button == mbLeft ? MK_LBUTTON : Button == mbRight ? MK_RBUTTON : MK_MBUTTON);
    }
    TPoint local = target->ScreenToClient(screen);
    auto alive = target->LifeToken();
    target->Perform(mouseMessage(static_cast<int>(Kind), Button, Shift.Contains(ssDouble)), keys,
                    PointToLParam(local.X, local.Y));
    if (Kind == kDown && Button == mbRight && *alive)
        target->Perform(WM_CONTEXTMENU, 0, PointToLParam(screen.X, screen.Y));
    scope.Finish();
}

void TWinControl::InputMouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    routeMouse(kDown, Button, Shift, X, Y);
}

void TWinControl::InputMouseMove(TShiftState Shift, int X, int Y) {
    routeMouse(kMove, mbLeft, Shift, X, Y);
}

void TWinControl::InputMouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    routeMouse(kUp, Button, Shift, X, Y);
}

bool TWinControl::InputKeyDown(Word Key, TShiftState Shift) {
    TInputEventScope scope;
    g_lastShift = Shift;
    TWinControl* target = (g_focused && ContainsControl(g_focused)) ? g_focused : this;
    if (target->OnKeyDown) {
        target->OnKeyDown(target, Key, Shift);
        if (Key == 0) {
            scope.Finish();
            return true;
        }
    }
    bool used = false;
    if (Key == VK_RETURN || Key == VK_ESCAPE || Key == VK_TAB) {
        if (TWinControl* top = target->GetTopParent())
            used = top->Perform(CM_DIALOGKEY, Key,
                                static_cast<intptr_t>(ShiftStateToKeys(Shift))) != 0;
    }
    scope.Finish();
    return used;
}

void TWinControl::InputChar(char Key) {
    TInputEventScope scope;
    TWinControl* target = (g_focused && ContainsControl(g_focused)) ? g_focused : this;
    if (target->OnKeyPress) target->OnKeyPress(target, Key);
    scope.Finish();
}

void MouseClick(TControl* Control, TMouseButton Button) {
    MouseClickAt(Control, Control->GetClientWidth() / 2, Control->GetClientHeight() / 2, Button);
}

void MouseClickAt(TControl* Control, int X, int Y, TMouseButton Button) {
    TWinControl* w = Control->GetWindowedControl();
    if (!w) throw EInvalidOperation(FmtLoadStr(vclconsts::SParentRequired, {Control->GetName()}));
    TPoint p = Control->ClientToClient({X, Y}, w);
    auto alive = w->LifeToken();
    w->InputMouseDown(Button, {}, p.X, p.Y);
    if (*alive) w->InputMouseUp(Button, {}, p.X, p.Y);
}

} // namespace vcl

namespace vcl {

VCL_DEFINE_CLASS(TGraphicControl, TControl, c) {
    (void)c;
}
VCL_DEFINE_CLASS(TCustomControl, TWinControl, c) {
    (void)c;
}

} // namespace vcl
