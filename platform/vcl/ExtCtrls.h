#pragma once
// Panels and shapes.

#include "vcl/Controls.h"

namespace vcl {

enum TAlignment { taLeftJustify, taRightJustify, taCenter };
enum TShapeType { stRectangle, stSquare, stRoundRect, stRoundSquare, stEllipse, stCircle };
using TBevelWidth = int;
using TBorderWidth = int;
extern const TEnumInfo TAlignmentInfo;
extern const TEnumInfo TShapeTypeInfo;

// A container with a caption and a border made of an outer and an inner bevel. Children aligned
// to it fill its client area less BorderWidth and the width of each bevel that is not bvNone.
// A single border style (bsSingle) puts a frame around the client area (2 pixels with Ctl3D,
// else 1).
class TCustomPanel : public TCustomControl {
    VCL_DECLARE_CLASS(TCustomPanel, TCustomControl)
public:
    // 185 x 41 pixels, clBtnFace, raised outer bevel 1 pixel wide, caption centred.
    explicit TCustomPanel(TComponent* AOwner);

    TAlignment GetAlignment() const { return alignment_; }
    void SetAlignment(TAlignment Value);
    TBevelCut GetBevelInner() const { return bevelInner_; }
    void SetBevelInner(TBevelCut Value);
    TBevelCut GetBevelOuter() const { return bevelOuter_; }
    void SetBevelOuter(TBevelCut Value);
    TBevelWidth GetBevelWidth() const { return bevelWidth_; }
    void SetBevelWidth(TBevelWidth Value);
    TBorderWidth GetBorderWidth() const { return borderWidth_; }
    void SetBorderWidth(TBorderWidth Value);
    TBorderStyle GetBorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle Value);
    bool GetFullRepaint() const { return fullRepaint_; }
    void SetFullRepaint(bool Value) { fullRepaint_ = Value; }
    bool GetLocked() const { return locked_; }
    void SetLocked(bool Value) { locked_ = Value; }
    bool GetAutoSize() const { return autoSize_; }
    void SetAutoSize(bool Value) { autoSize_ = Value; }
    bool GetUseDockManager() const { return useDockManager_; }
    void SetUseDockManager(bool Value) { useDockManager_ = Value; }
    bool GetDockSite() const { return dockSite_; }
    void SetDockSite(bool Value) { dockSite_ = Value; }

    void AdjustClientRect(TRect& Rect) const override;
    TRect NonClientInsets() const override;

private:
    void appearanceChanged(bool Realign);
    TAlignment alignment_ = taCenter;
    TBevelCut bevelInner_ = bvNone;
    TBevelCut bevelOuter_ = bvRaised;
    TBevelWidth bevelWidth_ = 1;
    TBorderWidth borderWidth_ = 0;
    TBorderStyle borderStyle_ = bsNone;
    bool fullRepaint_ = true;
    bool locked_ = false;
    bool autoSize_ = false;
    bool useDockManager_ = true;
    bool dockSite_ = false;
};

class TPanel : public TCustomPanel {
    VCL_DECLARE_CLASS(TPanel, TCustomPanel)
public:
    explicit TPanel(TComponent* AOwner) : TCustomPanel(AOwner) {}
};

// A rectangle, square, rounded shape, ellipse or circle drawn with a pen and a brush.
class TShape : public TGraphicControl {
    VCL_DECLARE_CLASS(TShape, TGraphicControl)
public:
    // 65 x 65 pixels, a rectangle with a black 1-pixel pen and a white brush.
    explicit TShape(TComponent* AOwner);
    TShapeType GetShape() const { return shape_; }
    void SetShape(TShapeType Value);
    TPen* GetPen() const { return pen_.get(); }
    void SetPen(TPen* Value) { pen_->Assign(Value); }
    TBrush* GetBrush() const { return brush_.get(); }
    void SetBrush(TBrush* Value) { brush_->Assign(Value); }

private:
    TShapeType shape_ = stRectangle;
    std::unique_ptr<TPen> pen_;
    std::unique_ptr<TBrush> brush_;
};

} // namespace vcl
