#pragma once
// TSpeedButton: a graphic button. It has no window, so pressing it never moves the input focus;
// it captures the pointer while held (sunken while the pointer is over it) and clicks when the
// left button is released over it.

#include "vcl/Controls.h"

namespace vcl {

enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
enum TButtonState { bsUp, bsDisabled, bsDown, bsExclusive };
using TNumGlyphs = int;
extern const TEnumInfo TButtonLayoutInfo;

class TSpeedButton : public TGraphicControl {
    VCL_DECLARE_CLASS(TSpeedButton, TGraphicControl)
public:
    // A 23 x 22 button with the parent's font and colour, no caption and no glyph.
    explicit TSpeedButton(TComponent* AOwner);

    // What the button shows: bsUp, bsDown while held over it or latched down, bsDisabled,
    // bsExclusive for a latched button of a group.
    TButtonState GetState() const;
    // True while the left button that pressed it is held and the pointer is over it.
    bool IsPressed() const { return dragging_ && pressedIn_; }
    // True while the pointer is over the button (flat buttons show it raised).
    bool MouseInControl() const { return mouseInControl_; }
    // Shown down although no mouse holds it: held by a finger, or a locked state shown on it.
    bool GetHeld() const { return held_; }
    void SetHeld(bool Value);

    bool GetAllowAllUp() const { return allowAllUp_; }
    void SetAllowAllUp(bool Value);
    int GetGroupIndex() const { return groupIndex_; }
    void SetGroupIndex(int Value);
    // Latched down (group buttons); setting it releases the other buttons of the group.
    bool GetDown() const { return down_; }
    void SetDown(bool Value);
    bool GetFlat() const { return flat_; }
    void SetFlat(bool Value);
    TBitmap* GetGlyph() const { return glyph_.get(); }
    void SetGlyph(TBitmap* Value) { glyph_->Assign(Value); }
    TButtonLayout GetLayout() const { return layout_; }
    void SetLayout(TButtonLayout Value);
    int GetMargin() const { return margin_; }
    void SetMargin(int Value);
    TNumGlyphs GetNumGlyphs() const { return numGlyphs_; }
    void SetNumGlyphs(TNumGlyphs Value);
    int GetSpacing() const { return spacing_; }
    void SetSpacing(int Value);
    bool GetTransparent() const { return transparent_; }
    void SetTransparent(bool Value);
    // The scanning and dwell marks drawn over the face; none by default.
    const TAssistMark& GetAssistMark() const { return assistMark_; }
    void SetAssistMark(const TAssistMark& Value);
    // The caption, and for a button of a group its latched state.
    bool GetAccessibleInfo(TAccessibleInfo& Info) const override;

protected:
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void Dispatch(TMessage& Message) override;

private:
    void updateExclusive();
    std::unique_ptr<TBitmap> glyph_;
    bool allowAllUp_ = false;
    int groupIndex_ = 0;
    bool down_ = false;
    bool flat_ = false;
    TButtonLayout layout_ = blGlyphLeft;
    int margin_ = -1;
    TNumGlyphs numGlyphs_ = 1;
    int spacing_ = 4;
    bool transparent_ = true;
    TAssistMark assistMark_;
    bool dragging_ = false;
    bool pressedIn_ = false;
    bool mouseInControl_ = false;
    bool held_ = false;
};

} // namespace vcl
