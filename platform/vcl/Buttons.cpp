#include "vcl/Buttons.h"

#include "vcl/Menus.h"
#include "vcl/Publish.h"

namespace vcl {

const TEnumInfo TButtonLayoutInfo{"TButtonLayout",
                                  {"blGlyphLeft", "blGlyphRight", "blGlyphTop", "blGlyphBottom"}};

VCL_DEFINE_CLASS(TSpeedButton, TGraphicControl, c) {
    c.Object<TBasicAction>("Action", &TSpeedButton::GetAction, &TSpeedButton::SetAction);
    c.Enum("Align", TAlignInfo, &TSpeedButton::GetAlign, &TSpeedButton::SetAlign).Default(alNone);
    c.Bool("AllowAllUp", &TSpeedButton::GetAllowAllUp, &TSpeedButton::SetAllowAllUp).Default(false);
    c.SetOf("Anchors", TAnchorKindInfo, &TSpeedButton::GetAnchors, &TSpeedButton::SetAnchors)
        .Default(TAnchors{akLeft, akTop}.Mask());
    c.Object<TSizeConstraints>("Constraints", &TSpeedButton::GetConstraints);
    c.Int("GroupIndex", &TSpeedButton::GetGroupIndex, &TSpeedButton::SetGroupIndex).Default(0);
    c.Bool("Down", &TSpeedButton::GetDown, &TSpeedButton::SetDown).Default(false);
    c.Str("Caption", &TSpeedButton::GetCaption, &TSpeedButton::SetCaption)
        .Stored([](const TSpeedButton* o) { return o->IsCaptionStored(); });
    c.Bool("Enabled", &TSpeedButton::GetEnabled, &TSpeedButton::SetEnabled)
        .Default(true)
        .Stored([](const TSpeedButton* o) { return o->IsEnabledStored(); });
    c.Bool("Flat", &TSpeedButton::GetFlat, &TSpeedButton::SetFlat).Default(false);
    c.Object<TFont>("Font", &TSpeedButton::GetFont).Stored([](const TSpeedButton* o) {
        return o->IsFontStored();
    });
    c.Object<TBitmap>("Glyph", &TSpeedButton::GetGlyph);
    c.Enum("Layout", TButtonLayoutInfo, &TSpeedButton::GetLayout, &TSpeedButton::SetLayout)
        .Default(blGlyphLeft);
    c.Int("Margin", &TSpeedButton::GetMargin, &TSpeedButton::SetMargin).Default(-1);
    c.Int("NumGlyphs", &TSpeedButton::GetNumGlyphs, &TSpeedButton::SetNumGlyphs).Default(1);
    c.Bool("ParentFont", &TSpeedButton::GetParentFont, &TSpeedButton::SetParentFont).Default(true);
    c.Bool("ParentShowHint", &TSpeedButton::GetParentShowHint, &TSpeedButton::SetParentShowHint)
        .Default(true);
    c.Object<TPopupMenu>("PopupMenu", &TSpeedButton::GetPopupMenu, &TSpeedButton::SetPopupMenu);
    c.Bool("ShowHint", &TSpeedButton::GetShowHint, &TSpeedButton::SetShowHint)
        .Stored([](const TSpeedButton* o) { return o->IsShowHintStored(); });
    c.Int("Spacing", &TSpeedButton::GetSpacing, &TSpeedButton::SetSpacing).Default(4);
    c.Bool("Transparent", &TSpeedButton::GetTransparent, &TSpeedButton::SetTransparent)
        .Default(true);
    c.Bool("Visible", &TSpeedButton::GetVisible, &TSpeedButton::SetVisible)
        .Default(true)
        .Stored([](const TSpeedButton* o) { return o->IsVisibleStored(); });
    c.Event("OnClick", &TSpeedButton::OnClick);
    c.Event("OnDblClick", &TSpeedButton::OnDblClick);
    c.Event("OnMouseDown", &TSpeedButton::OnMouseDown);
    c.Event("OnMouseMove", &TSpeedButton::OnMouseMove);
    c.Event("OnMouseUp", &TSpeedButton::OnMouseUp);
}

TSpeedButton::TSpeedButton(TComponent* AOwner)
    : TGraphicControl(AOwner), glyph_(std::make_unique<TBitmap>()) {
    SetBounds(0, 0, 23, 22);
    ControlStyle() = TControlStyle{csCaptureMouse, csDoubleClicks};
    glyph_->OnChange = [this](TObject*) { Invalidate(); };
}

TButtonState TSpeedButton::GetState() const {
    if (!GetEnabled()) return bsDisabled;
    if ((dragging_ && pressedIn_) || held_) return bsDown;
    if (down_) return groupIndex_ != 0 ? bsExclusive : bsDown;
    return bsUp;
}

void TSpeedButton::SetAllowAllUp(bool Value) {
    if (allowAllUp_ == Value) return;
    allowAllUp_ = Value;
    updateExclusive();
}

void TSpeedButton::SetGroupIndex(int Value) {
    if (groupIndex_ == Value) return;
    groupIndex_ = Value;
    updateExclusive();
}

void TSpeedButton::SetHeld(bool Value) {
    if (held_ == Value) return;
    held_ = Value;
    Invalidate();
}

void TSpeedButton::SetDown(bool Value) {
    if (groupIndex_ == 0) Value = false;
    if (Value == down_) return;
    if (down_ && !allowAllUp_) return;
    down_ = Value;
    Invalidate();
    if (Value) updateExclusive();
}

// Releases the other latched buttons of the same group and parent.
void TSpeedButton::updateExclusive() {
    if (groupIndex_ == 0 || !GetParent()) return;
    TWinControl* parent = GetParent();
    for (int i = 0; i < parent->ControlCount(); ++i) {
        auto* other = dynamic_cast<TSpeedButton*>(parent->Controls(i));
        if (!other || other == this || other->groupIndex_ != groupIndex_) continue;
        if (down_ && other->down_) {
            other->down_ = false;
            other->Invalidate();
        }
        other->allowAllUp_ = allowAllUp_;
    }
}

void TSpeedButton::SetFlat(bool Value) {
    if (flat_ == Value) return;
    flat_ = Value;
    Invalidate();
}
void TSpeedButton::SetAssistMark(const TAssistMark& Value) {
    if (assistMark_ == Value) return;
    assistMark_ = Value;
    Invalidate();
}

bool TSpeedButton::GetAccessibleInfo(TAccessibleInfo& Info) const {
    Info.Caption = GetCaption();
    Info.Checkable = groupIndex_ != 0;
    Info.Checked = down_;
    return true;
}

void TSpeedButton::SetLayout(TButtonLayout Value) {
    if (layout_ == Value) return;
    layout_ = Value;
    Invalidate();
}
void TSpeedButton::SetMargin(int Value) {
    if (margin_ == Value || Value < -1) return;
    margin_ = Value;
    Invalidate();
}
void TSpeedButton::SetNumGlyphs(TNumGlyphs Value) {
    if (Value < 1) Value = 1;
    if (Value > 4) Value = 4;
    if (numGlyphs_ == Value) return;
    numGlyphs_ = Value;
    Invalidate();
}
void TSpeedButton::SetSpacing(int Value) {
    if (spacing_ == Value) return;
    spacing_ = Value;
    Invalidate();
}
void TSpeedButton::SetTransparent(bool Value) {
    if (transparent_ == Value) return;
    transparent_ = Value;
    Invalidate();
}

void TSpeedButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (Button == mbLeft && GetEnabled()) {
        dragging_ = true;
        pressedIn_ = true;
        Invalidate();
    }
    TGraphicControl::MouseDown(Button, Shift, X, Y);
}

void TSpeedButton::MouseMove(TShiftState Shift, int X, int Y) {
    if (dragging_) {
        bool inside = GetClientRect().Contains({X, Y});
        if (inside != pressedIn_) {
            pressedIn_ = inside;
            Invalidate();
        }
    }
    TGraphicControl::MouseMove(Shift, X, Y);
}

void TSpeedButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    // The state is settled before any handler runs, so a handler that raises or frees the
    // button leaves nothing half done.
    bool doClick = false;
    if (dragging_ && Button == mbLeft) {
        dragging_ = false;
        pressedIn_ = false;
        doClick = GetClientRect().Contains({X, Y});
        if (doClick && groupIndex_ != 0) {
            if (!down_)
                SetDown(true);
            else if (allowAllUp_)
                SetDown(false);
        }
        Invalidate();
    }
    auto alive = LifeToken();
    TGraphicControl::MouseUp(Button, Shift, X, Y);
    if (doClick && *alive) Click();
}

void TSpeedButton::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
    case CM_MOUSEENTER:
        mouseInControl_ = true;
        if (flat_) Invalidate();
        break;
    case CM_MOUSELEAVE:
        mouseInControl_ = false;
        if (flat_) Invalidate();
        break;
    case CM_ENABLEDCHANGED:
        if (!GetEnabled()) {
            dragging_ = false;
            pressedIn_ = false;
            if (GetCaptureControl() == this) SetCaptureControl(nullptr);
        }
        break;
    default:
        break;
    }
    TGraphicControl::Dispatch(Message);
}

} // namespace vcl
