#include "vcl/Controls.h"

#include "vcl/InputState.h"
#include "vcl/Menus.h"
#include "vcl/Registration.h"
#include "vcl/ScrollBox.h"
#include "vcl/VCLConsts.h"

#include <algorithm>

namespace vcl {

// A static link that takes the controls takes the unit that registers the library's classes too.
[[gnu::used]] static void (*const g_registration)() = &RegisterVclClasses;

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

VCL_DEFINE_PLAIN_CLASS(TControlActionLink, TBasicActionLink)

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
    InputState().ControlGone(this);
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
    if (!IsWindowed()) Invalidate();
    left_ = ALeft;
    top_ = ATop;
    width_ = AWidth;
    height_ = AHeight;
    BoundsChanged();
    if (!IsWindowed()) Invalidate();
    ScrollingChildrenChanged(parent_);
    if (Realign) RequestAlign();
    if (sized) {
        if (IsWindowed()) static_cast<TWinControl*>(this)->alignChildren();
        if (!IsLoading()) Resize();
    }
}

void TControl::RequestAlign() {
    if (parent_ && align_ != alNone && visible_ && !parent_->aligning_) parent_->alignChildren();
}

TRect TControl::GetClientRect() const {
    TRect f = NonClientInsets();
    return Rect(0, 0, ClampToInt(int64_t{width_} - f.Left - f.Right),
                ClampToInt(int64_t{height_} - f.Top - f.Bottom));
}

void TControl::SetClientWidth(int Value) {
    SetClientSize(Value, GetClientHeight());
}
void TControl::SetClientHeight(int Value) {
    SetClientSize(GetClientWidth(), Value);
}

void TControl::SetClientSize(int AWidth, int AHeight) {
    TRect client = GetClientRect();
    SetBounds(left_, top_, ClampToInt(int64_t{width_} - client.Width() + AWidth),
              ClampToInt(int64_t{height_} - client.Height() + AHeight));
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
    ScrollingChildrenChanged(parent_);
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

bool TControl::GetShowHint() const {
    // A form keeps its own setting also when it sits in another control (a designed form).
    return parentShowHint_ && parent_ && !isForm_ ? parent_->GetShowHint() : showHint_;
}

void TControl::SetShowHint(bool Value) {
    showHint_ = Value;
    parentShowHint_ = false;
}

void TControl::SetParentShowHint(bool Value) {
    // Leaving the parent's setting keeps the value it gave.
    if (!Value) showHint_ = GetShowHint();
    parentShowHint_ = Value;
}

AnsiString GetShortHint(const AnsiString& Hint) {
    return Hint.substr(0, Hint.find('|'));
}

AnsiString HintOf(const TControl* Control) {
    // A control whose ShowHint is off shows nothing, whatever its parents say.
    if (!Control || !Control->GetShowHint() ||
        Control->ComponentState().Contains(csDesigning))
        return AnsiString();
    const TControl* c = Control;
    while (c && c->GetHint().empty())
        c = c->GetParent();
    return c ? GetShortHint(c->GetHint()) : AnsiString();
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
    case WM_MOUSEWHEEL: {
        // Unhandled, the turn is the native widget's to use (a text view scrolls), else the
        // parent's.
        auto alive = LifeToken();
        Message.Result = DoMouseWheel(KeysToShiftState(Message.WParam & 0xFFFF),
                                      WParamWheelDelta(Message.WParam),
                                      {LParamX(Message.LParam), LParamY(Message.LParam)});
        if (!Message.Result && *alive) DefaultHandler(Message);
        if (!Message.Result && *alive && parent_)
            Message.Result = parent_->Perform(WM_MOUSEWHEEL, Message.WParam, Message.LParam);
        return;
    }
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
            if (controlStyle_.Contains(csCaptureMouse)) InputState().SetCapture(this);
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
        if (InputState().Capture() == this) InputState().SetCapture(nullptr);
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

bool TControl::DoMouseWheel(TShiftState Shift, int WheelDelta, const TPoint& MousePos) {
    bool handled = false;
    if (OnMouseWheel) OnMouseWheel(this, Shift, WheelDelta, MousePos, handled);
    return handled;
}

bool TControl::GetAccessibleInfo(TAccessibleInfo& Info) const {
    (void)Info;
    return false;
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
    if (parent_ && parent_->peer_ && !IsWindowed()) parent_->peer_->InvalidateControl(this);
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
    return IsWindowed() ? static_cast<TWinControl*>(this) : parent_;
}

TWinControl* TControl::GetTopParent() const {
    const TControl* c = this;
    while (c->parent_)
        c = c->parent_;
    return c->IsWindowed() ? const_cast<TWinControl*>(static_cast<const TWinControl*>(c)) : nullptr;
}

// --- TWinControl --------------------------------------------------------------------------------

// --- TGraphicControl ---------------------------------------------------------------------------

VCL_DEFINE_PLAIN_CLASS(TGraphicControl, TControl)

} // namespace vcl
