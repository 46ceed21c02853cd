#pragma once
// Scrolling containers: a control whose children may reach beyond its client area, with a
// horizontal and a vertical scroll bar to bring them into view.
//
// The scroll bars lie inside the control's bounds, along its right and bottom edges, outside its
// client area (NonClientInsets), and each is shown only while the extent it scrolls (its Range)
// is larger than the client area. Scrolling moves the children: at a position of 30 a child
// placed at Left 40 has Left 10, as the user sees it. With AutoScroll (the default) the ranges
// follow the children: the right and bottom edges of the furthest child, in unscrolled
// coordinates, plus the bar's Margin; children aligned to the client area do not count, and
// those aligned to the top or bottom count for the vertical range only (left and right: the
// horizontal one). Without AutoScroll the program sets each Range.

#include "vcl/StdCtrls.h"

namespace vcl {

class TScrollingWinControl;

// One of the two scroll bars of a scrolling container.
class TControlScrollBar : public TPersistent {
    VCL_DECLARE_CLASS(TControlScrollBar, TPersistent)
public:
    TControlScrollBar(TScrollingWinControl* Control, TScrollBarKind Kind)
        : control_(Control), kind_(Kind) {}
    void Assign(TPersistent* Source) override;

    TScrollBarKind GetKind() const { return kind_; }
    // The distance one click on an arrow (or a notch of the wheel) scrolls; 8 pixels.
    int GetIncrement() const { return increment_; }
    void SetIncrement(int Value) { increment_ = Value > 0 ? Value : 1; }
    // Space kept after the furthest child when AutoScroll computes the range.
    int GetMargin() const { return margin_; }
    void SetMargin(int Value);
    // How far the content is scrolled: 0 up to Range less the client extent.
    int GetPosition() const { return position_; }
    void SetPosition(int Value);
    // The extent of the content in pixels.
    int GetRange() const { return range_; }
    void SetRange(int Value);
    // Whether the bar may be shown at all (it shows only while the range exceeds the client).
    bool GetVisible() const { return visible_; }
    void SetVisible(bool Value);
    // Whether dragging the thumb scrolls at once (otherwise at its release).
    bool GetTracking() const { return tracking_; }
    void SetTracking(bool Value) { tracking_ = Value; }
    // Whether the bar is shown now.
    bool IsScrollBarVisible() const { return shown_; }
    TScrollingWinControl* Control() const { return control_; }
    // The client extent the bar scrolls over (its page).
    int ClientExtent() const;
    // The highest position: Range less the client extent, never below 0.
    int MaxPosition() const;

private:
    friend class TScrollingWinControl;
    TScrollingWinControl* control_;
    TScrollBarKind kind_;
    int increment_ = 8;
    int margin_ = 0;
    int position_ = 0;
    int range_ = 0;
    bool visible_ = true;
    bool tracking_ = false;
    bool shown_ = false;
};

class TScrollingWinControl : public TWinControl {
    VCL_DECLARE_CLASS(TScrollingWinControl, TWinControl)
public:
    // The width of a vertical bar and the height of a horizontal one.
    static constexpr int ScrollBarSize = 16;

    explicit TScrollingWinControl(TComponent* AOwner);
    ~TScrollingWinControl() override;

    TControlScrollBar* GetHorzScrollBar() const { return horz_.get(); }
    void SetHorzScrollBar(TControlScrollBar* Value) { horz_->Assign(Value); }
    TControlScrollBar* GetVertScrollBar() const { return vert_.get(); }
    void SetVertScrollBar(TControlScrollBar* Value) { vert_->Assign(Value); }
    bool GetAutoScroll() const { return autoScroll_; }
    void SetAutoScroll(bool Value);
    // Scrolls as little as needed to show the whole control (its top left corner when it is
    // larger than the client area); AControl is a child or a control inside one.
    void ScrollInView(TControl* AControl);
    // Moves the children by DeltaX, DeltaY pixels (positive: right and down), leaving the
    // positions of the scroll bars alone.
    void ScrollBy(int DeltaX, int DeltaY);
    // Recomputes the ranges (with AutoScroll), which bars show and their positions.
    void UpdateScrollBars();

    TRect NonClientInsets() const override;

protected:
    // The frame around the client area and the bars; none here.
    virtual TRect FrameInsets() const { return TRect(); }
    void AlignControls(TControl* AControl, TRect& Rect) override;
    void Loaded() override;
    // Unless OnMouseWheel handles it, a notch scrolls by three increments: vertically, or
    // horizontally with Shift or when there is no vertical bar.
    bool DoMouseWheel(TShiftState Shift, int WheelDelta, const TPoint& MousePos) override;

private:
    friend class TControlScrollBar;
    friend void ScrollingChildrenChanged(TWinControl* Parent);
    void scrollTo(TControlScrollBar* Bar, int Position);
    std::unique_ptr<TControlScrollBar> horz_;
    std::unique_ptr<TControlScrollBar> vert_;
    bool autoScroll_ = true;
    bool updating_ = false;
    int wheelRest_ = 0;
};

// A scrolling container with a border: 185 x 41 pixels, a sunken single border, AutoScroll.
class TScrollBox : public TScrollingWinControl {
    VCL_DECLARE_CLASS(TScrollBox, TScrollingWinControl)
public:
    explicit TScrollBox(TComponent* AOwner);
    TBorderStyle GetBorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle Value);

protected:
    TRect FrameInsets() const override;

private:
    TBorderStyle borderStyle_ = bsSingle;
};

// Called by the model when a child's bounds or visibility change, or a child comes or goes:
// the ranges of a scrolling parent follow.
void ScrollingChildrenChanged(TWinControl* Parent);

} // namespace vcl
