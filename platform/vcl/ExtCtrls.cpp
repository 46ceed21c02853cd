#include "vcl/ExtCtrls.h"

#include "vcl/Publish.h"

namespace vcl {

const TEnumInfo TAlignmentInfo{"TAlignment", {"taLeftJustify", "taRightJustify", "taCenter"}};
const TEnumInfo TShapeTypeInfo{
    "TShapeType",
    {"stRectangle", "stSquare", "stRoundRect", "stRoundSquare", "stEllipse", "stCircle"}};

// TCustomPanel publishes nothing of its own: its descendants choose what they publish.
VCL_DEFINE_PLAIN_CLASS(TCustomPanel, TCustomControl)

TCustomPanel::TCustomPanel(TComponent* AOwner) : TCustomControl(AOwner) {
    ControlStyle() = TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption,
                                   csOpaque,          csDoubleClicks, csReplicatable};
    SetBounds(0, 0, 185, 41);
    SetColor(clBtnFace);
}

void TCustomPanel::appearanceChanged(bool Realign) {
    PeerChanged(pcAppearance);
    Invalidate();
    if (Realign) this->Realign();
}

void TCustomPanel::SetAlignment(TAlignment Value) {
    if (alignment_ == Value) return;
    alignment_ = Value;
    appearanceChanged(false);
}

void TCustomPanel::SetBevelInner(TBevelCut Value) {
    if (bevelInner_ == Value) return;
    bevelInner_ = Value;
    appearanceChanged(true);
}

void TCustomPanel::SetBevelOuter(TBevelCut Value) {
    if (bevelOuter_ == Value) return;
    bevelOuter_ = Value;
    appearanceChanged(true);
}

void TCustomPanel::SetBevelWidth(TBevelWidth Value) {
    if (bevelWidth_ == Value) return;
    bevelWidth_ = Value;
    appearanceChanged(true);
}

void TCustomPanel::SetBorderWidth(TBorderWidth Value) {
    if (borderWidth_ == Value) return;
    borderWidth_ = Value;
    appearanceChanged(true);
}

void TCustomPanel::SetBorderStyle(TBorderStyle Value) {
    if (borderStyle_ == Value) return;
    bool sized = (borderStyle_ == bsNone) != (Value == bsNone);
    borderStyle_ = Value;
    appearanceChanged(true);
    if (sized && !IsLoading()) Resize();
}

TRect TCustomPanel::NonClientInsets() const {
    if (borderStyle_ == bsNone) return TRect();
    int b = GetCtl3D() ? 2 : 1;
    return TRect(b, b, b, b);
}

void TCustomPanel::AdjustClientRect(TRect& Rect) const {
    InflateRect(Rect, -borderWidth_, -borderWidth_);
    if (bevelOuter_ != bvNone) InflateRect(Rect, -bevelWidth_, -bevelWidth_);
    if (bevelInner_ != bvNone) InflateRect(Rect, -bevelWidth_, -bevelWidth_);
}

VCL_DEFINE_CLASS(TPanel, TCustomPanel, c) {
    publish::Align(c);
    c.Enum("Alignment", TAlignmentInfo, &TPanel::GetAlignment, &TPanel::SetAlignment)
        .Default(taCenter);
    publish::Anchors(c);
    c.Bool("AutoSize", &TPanel::GetAutoSize, &TPanel::SetAutoSize).Default(false);
    c.Enum("BevelInner", TBevelCutInfo, &TPanel::GetBevelInner, &TPanel::SetBevelInner)
        .Default(bvNone);
    c.Enum("BevelOuter", TBevelCutInfo, &TPanel::GetBevelOuter, &TPanel::SetBevelOuter)
        .Default(bvRaised);
    c.Int("BevelWidth", &TPanel::GetBevelWidth, &TPanel::SetBevelWidth).Default(1);
    c.Int("BorderWidth", &TPanel::GetBorderWidth, &TPanel::SetBorderWidth).Default(0);
    c.Enum("BorderStyle", TBorderStyleInfo, &TPanel::GetBorderStyle, &TPanel::SetBorderStyle)
        .Default(bsNone);
    publish::Caption(c);
    publish::Color(c, clBtnFace);
    publish::Constraints(c);
    publish::Ctl3D(c);
    c.Bool("UseDockManager", &TPanel::GetUseDockManager, &TPanel::SetUseDockManager).Default(true);
    c.Bool("DockSite", &TPanel::GetDockSite, &TPanel::SetDockSite).Default(false);
    publish::Enabled(c);
    c.Bool("FullRepaint", &TPanel::GetFullRepaint, &TPanel::SetFullRepaint).Default(true);
    publish::Font(c);
    c.Bool("Locked", &TPanel::GetLocked, &TPanel::SetLocked).Default(false);
    publish::ParentColor(c, false);
    publish::ParentCtl3D(c);
    publish::ParentFont(c);
    publish::ParentShowHint(c);
    publish::PopupMenu(c);
    publish::ShowHint(c);
    publish::TabOrder(c);
    publish::TabStop(c, false);
    publish::Visible(c);
    c.Event("OnClick", &TPanel::OnClick);
    c.Event("OnDblClick", &TPanel::OnDblClick);
    c.Event("OnEnter", &TPanel::OnEnter);
    c.Event("OnExit", &TPanel::OnExit);
    publish::MouseEvents(c);
    c.Event("OnResize", &TPanel::OnResize);
}

VCL_DEFINE_CLASS(TShape, TGraphicControl, c) {
    publish::Align(c);
    publish::Anchors(c);
    c.Object<TBrush>("Brush", &TShape::GetBrush);
    publish::Constraints(c);
    publish::Enabled(c);
    publish::ParentShowHint(c);
    c.Object<TPen>("Pen", &TShape::GetPen);
    c.Enum("Shape", TShapeTypeInfo, &TShape::GetShape, &TShape::SetShape).Default(stRectangle);
    publish::ShowHint(c);
    publish::Visible(c);
    publish::MouseEvents(c);
}

TShape::TShape(TComponent* AOwner)
    : TGraphicControl(AOwner), pen_(std::make_unique<TPen>()), brush_(std::make_unique<TBrush>()) {
    ControlStyle().Include(csReplicatable);
    SetBounds(0, 0, 65, 65);
    pen_->OnChange = [this](TObject*) { Invalidate(); };
    brush_->OnChange = [this](TObject*) { Invalidate(); };
}

void TShape::SetShape(TShapeType Value) {
    if (shape_ == Value) return;
    shape_ = Value;
    Invalidate();
}

} // namespace vcl
