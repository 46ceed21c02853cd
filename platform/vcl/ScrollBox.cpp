#include "vcl/ScrollBox.h"

#include "vcl/Publish.h"

#include <algorithm>

namespace vcl {

// --- TControlScrollBar --------------------------------------------------------------------------

VCL_DEFINE_CLASS(TControlScrollBar, TPersistent, c) {
    c.Int("Increment", &TControlScrollBar::GetIncrement, &TControlScrollBar::SetIncrement)
        .Default(8);
    c.Int("Margin", &TControlScrollBar::GetMargin, &TControlScrollBar::SetMargin).Default(0);
    c.Int("Position", &TControlScrollBar::GetPosition, &TControlScrollBar::SetPosition)
        .Default(0);
    // The range a program sets; with AutoScroll it follows the children and is not stored.
    c.Int("Range", &TControlScrollBar::GetRange, &TControlScrollBar::SetRange)
        .Default(0)
        .Stored([](const TControlScrollBar* b) { return !b->Control()->GetAutoScroll(); });
    c.Bool("Tracking", &TControlScrollBar::GetTracking, &TControlScrollBar::SetTracking)
        .Default(false);
    c.Bool("Visible", &TControlScrollBar::GetVisible, &TControlScrollBar::SetVisible)
        .Default(true);
}

void TControlScrollBar::Assign(TPersistent* Source) {
    if (auto* s = dynamic_cast<TControlScrollBar*>(Source)) {
        increment_ = s->increment_;
        margin_ = s->margin_;
        range_ = s->range_;
        visible_ = s->visible_;
        tracking_ = s->tracking_;
        control_->UpdateScrollBars();
        SetPosition(s->position_);
        return;
    }
    TPersistent::Assign(Source);
}

void TControlScrollBar::SetMargin(int Value) {
    margin_ = std::max(Value, 0);
    control_->UpdateScrollBars();
}

void TControlScrollBar::SetRange(int Value) {
    range_ = std::max(Value, 0);
    control_->UpdateScrollBars();
}

void TControlScrollBar::SetVisible(bool Value) {
    visible_ = Value;
    control_->UpdateScrollBars();
}

void TControlScrollBar::SetPosition(int Value) {
    // Read from a form file, the position applies to children stored where it put them.
    if (control_->ComponentState().Contains(csLoading)) {
        position_ = std::max(Value, 0);
        return;
    }
    control_->scrollTo(this, std::clamp(Value, 0, MaxPosition()));
}

int TControlScrollBar::ClientExtent() const {
    const TRect client = control_->GetClientRect();
    return kind_ == sbHorizontal ? client.Width() : client.Height();
}

int TControlScrollBar::MaxPosition() const {
    return shown_ ? std::max(range_ - ClientExtent(), 0) : 0;
}

// --- TScrollingWinControl -----------------------------------------------------------------------

VCL_DEFINE_PLAIN_CLASS(TScrollingWinControl, TWinControl)

TScrollingWinControl::TScrollingWinControl(TComponent* AOwner)
    : TWinControl(AOwner), horz_(std::make_unique<TControlScrollBar>(this, sbHorizontal)),
      vert_(std::make_unique<TControlScrollBar>(this, sbVertical)) {}

TScrollingWinControl::~TScrollingWinControl() = default;

void TScrollingWinControl::SetAutoScroll(bool Value) {
    if (autoScroll_ == Value) return;
    autoScroll_ = Value;
    UpdateScrollBars();
}

TRect TScrollingWinControl::NonClientInsets() const {
    TRect f = FrameInsets();
    if (vert_ && vert_->shown_) f.Right += ScrollBarSize;
    if (horz_ && horz_->shown_) f.Bottom += ScrollBarSize;
    return f;
}

void TScrollingWinControl::UpdateScrollBars() {
    if (updating_ || ComponentState().Contains(csLoading) ||
        ComponentState().Contains(csDestroying))
        return;
    updating_ = true;
    TFinally done([this] { updating_ = false; });
    if (autoScroll_) {
        int right = 0, bottom = 0;
        for (int i = 0; i < GetControlCount(); ++i) {
            const TControl* c = GetControl(i);
            if (!c->GetVisible()) continue;
            const TAlign a = c->GetAlign();
            if (a != alClient && a != alTop && a != alBottom)
                right = std::max(right, c->GetLeft() + c->GetWidth() + horz_->position_);
            if (a != alClient && a != alLeft && a != alRight)
                bottom = std::max(bottom, c->GetTop() + c->GetHeight() + vert_->position_);
        }
        horz_->range_ = right > 0 ? right + horz_->margin_ : 0;
        vert_->range_ = bottom > 0 ? bottom + vert_->margin_ : 0;
    }
    // A bar shows when its range exceeds the client area, which the other bar makes smaller.
    const TRect f = FrameInsets();
    const int width = GetWidth() - f.Left - f.Right, height = GetHeight() - f.Top - f.Bottom;
    const auto needs = [](const TControlScrollBar* Bar, int Extent) {
        return Bar->visible_ && Bar->range_ > Extent;
    };
    bool h = needs(horz_.get(), width);
    bool v = needs(vert_.get(), height - (h ? ScrollBarSize : 0));
    h = needs(horz_.get(), width - (v ? ScrollBarSize : 0));
    v = needs(vert_.get(), height - (h ? ScrollBarSize : 0));
    const bool changed = h != horz_->shown_ || v != vert_->shown_;
    horz_->shown_ = h;
    vert_->shown_ = v;
    for (TControlScrollBar* bar : {horz_.get(), vert_.get()})
        scrollTo(bar, std::clamp(bar->position_, 0, bar->MaxPosition()));
    if (changed) {
        Realign();
        BoundsChanged(); // the client area changed within the same bounds
    }
    PeerChanged(pcScroll);
}

void TScrollingWinControl::scrollTo(TControlScrollBar* Bar, int Position) {
    const int delta = Bar->position_ - Position;
    if (delta == 0) return;
    Bar->position_ = Position;
    if (Bar->kind_ == sbHorizontal)
        ScrollBy(delta, 0);
    else
        ScrollBy(0, delta);
    PeerChanged(pcScroll);
}

void TScrollingWinControl::ScrollBy(int DeltaX, int DeltaY) {
    const bool updating = updating_;
    updating_ = true;
    TFinally done([this, updating] { updating_ = updating; });
    DisableAlign();
    TFinally aligned([this] { EnableAlign(); });
    for (int i = 0; i < GetControlCount(); ++i) {
        TControl* c = GetControl(i);
        if (c->GetAlign() == alNone || c->GetAlign() == alCustom)
            c->SetBounds(c->GetLeft() + DeltaX, c->GetTop() + DeltaY, c->GetWidth(),
                         c->GetHeight());
    }
}

void TScrollingWinControl::ScrollInView(TControl* AControl) {
    if (!AControl || !ContainsControl(AControl) || !AControl->GetParent()) return;
    const TPoint at =
        AControl->GetParent()->ClientToClient({AControl->GetLeft(), AControl->GetTop()}, this);
    const auto reveal = [this](TControlScrollBar* Bar, int Start, int Size) {
        const int client = Bar->ClientExtent();
        int position = Bar->position_;
        if (Start < 0)
            position += Start;
        else if (Start + Size > client)
            position += std::min(Start + Size - client, Start);
        scrollTo(Bar, std::clamp(position, 0, Bar->MaxPosition()));
    };
    reveal(horz_.get(), at.X, AControl->GetWidth());
    reveal(vert_.get(), at.Y, AControl->GetHeight());
}

void TScrollingWinControl::AlignControls(TControl* AControl, TRect& Rect) {
    TWinControl::AlignControls(AControl, Rect);
    UpdateScrollBars();
}

void TScrollingWinControl::Loaded() {
    TWinControl::Loaded();
    UpdateScrollBars();
}

bool TScrollingWinControl::DoMouseWheel(TShiftState Shift, int WheelDelta,
                                        const TPoint& MousePos) {
    if (TWinControl::DoMouseWheel(Shift, WheelDelta, MousePos)) return true;
    TControlScrollBar* bar =
        Shift.Contains(ssShift) || !vert_->shown_ ? horz_.get() : vert_.get();
    if (!bar->shown_) return false;
    const int steps = WheelSteps(wheelRest_, WheelDelta, 3);
    bar->SetPosition(bar->position_ - steps * bar->increment_);
    return true;
}

void ScrollingChildrenChanged(TWinControl* Parent) {
    if (Parent && Parent->Is<TScrollingWinControl>()) {
        auto* scrolling = static_cast<TScrollingWinControl*>(Parent);
        if (scrolling->autoScroll_) scrolling->UpdateScrollBars();
    }
}

// --- TScrollBox ---------------------------------------------------------------------------------

VCL_DEFINE_CLASS(TScrollBox, TScrollingWinControl, c) {
    publish::Align(c);
    publish::Anchors(c);
    c.Bool("AutoScroll", &TScrollBox::GetAutoScroll, &TScrollBox::SetAutoScroll).Default(true);
    c.Enum("BorderStyle", TBorderStyleInfo, &TScrollBox::GetBorderStyle,
           &TScrollBox::SetBorderStyle)
        .Default(bsSingle);
    publish::Color(c, clBtnFace);
    publish::Constraints(c);
    publish::Ctl3D(c);
    publish::Enabled(c);
    publish::Font(c);
    c.template Object<TControlScrollBar>("HorzScrollBar", &TScrollBox::GetHorzScrollBar);
    publish::ParentColor(c, false);
    publish::ParentCtl3D(c);
    publish::ParentFont(c);
    publish::ParentShowHint(c);
    publish::PopupMenu(c);
    publish::ShowHint(c);
    publish::TabOrder(c);
    publish::TabStop(c, false);
    c.template Object<TControlScrollBar>("VertScrollBar", &TScrollBox::GetVertScrollBar);
    publish::Visible(c);
    c.Event("OnClick", &TScrollBox::OnClick);
    c.Event("OnDblClick", &TScrollBox::OnDblClick);
    c.Event("OnEnter", &TScrollBox::OnEnter);
    c.Event("OnExit", &TScrollBox::OnExit);
    c.Event("OnResize", &TScrollBox::OnResize);
    publish::MouseEvents(c);
}

TScrollBox::TScrollBox(TComponent* AOwner) : TScrollingWinControl(AOwner) {
    ControlStyle() = TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents,
                                   csDoubleClicks};
    SetBounds(0, 0, 185, 41);
    SetColor(clBtnFace);
}

void TScrollBox::SetBorderStyle(TBorderStyle Value) {
    if (borderStyle_ == Value) return;
    borderStyle_ = Value;
    PeerChanged(pcAppearance);
    Invalidate();
    Realign();
}

TRect TScrollBox::FrameInsets() const {
    if (borderStyle_ == bsNone) return TRect();
    const int b = GetCtl3D() ? 2 : 1;
    return TRect(b, b, b, b);
}

} // namespace vcl
