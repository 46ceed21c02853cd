#pragma once
// Controls: TControl, TWinControl, TGraphicControl, TCustomControl, the global Mouse, capture and
// input routing.
//
// Bounds (Left, Top, Width, Height) are pixels in the parent's client area and are kept exactly as
// given, negative and zero included; every change of the size calls Resize. Windowed controls
// (TWinControl) get a peer from the widgetset when shown; graphic controls never have one.
//
// Pointer input enters at a windowed control, in its client coordinates, through InputMouseDown,
// InputMouseMove and InputMouseUp; the widgetset and tests use the same calls. The input goes to
// the deepest windowed child under the pointer and there to the topmost visible, enabled graphic
// child under it, as a WM_xBUTTONxxx message. A left press on a control that captures the mouse
// (csCaptureMouse, e.g. a speed button) captures the pointer: moves and the release go to that
// control, even outside it, until the release. A right press over a control with a PopupMenu pops
// the menu up and records the control as its PopupComponent.
//
// A turn of the mouse wheel enters the same way (InputMouseWheel) and goes, as WM_MOUSEWHEEL, to
// the control under the pointer; a control that does not handle it (DoMouseWheel, OnMouseWheel,
// then its peer's native widget) passes it to its parent, and so on up to the form.

#include "vcl/Accessible.h"
#include "vcl/ActnList.h"
#include "vcl/Graphics.h"
#include "vcl/Looks.h"
#include "vcl/Messages.h"
#include "vcl/Widgetset.h"

#include <functional>
#include <memory>
#include <vector>

namespace vcl {

class TWinControl;
class TPopupMenu;
class TControlActionLink;

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom };
enum TMouseButton { mbLeft, mbRight, mbMiddle };
// What a pointer event reports: a button pressed, the pointer moved, a button released.
enum TMouseEventKind { mekDown, mekMove, mekUp };
// What a touch point does; tkCancel ends it without effect (the system took the touch over).
enum TTouchKind { tkDown, tkMove, tkUp, tkCancel };
enum TShiftStateItem { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };
using TShiftState = Set<TShiftStateItem>;
enum TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };
// A form's border; other controls use only bsNone and bsSingle (TBorderStyle).
enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
using TBorderStyle = TFormBorderStyle;
enum THelpType { htKeyword, htContext };
enum TAnchorKind { akLeft, akTop, akRight, akBottom };
using TAnchors = Set<TAnchorKind>;

enum TControlStyleItem {
    csAcceptsControls,
    csCaptureMouse,
    csClickEvents,
    csSetCaption,
    csOpaque,
    csDoubleClicks,
    csFixedHeight,
    csReplicatable,
    csActionClient
};
using TControlStyle = Set<TControlStyleItem>;
enum TControlStateItem {
    csLButtonDown,
    csClicked,
    csPalette,
    csReadingState,
    csAlignmentNeeded,
    csFocusing,
    csCreating,
    csPaintCopy,
    csCustomPaint,
    csDestroyingHandle,
    csDocking
};
using TControlState = Set<TControlStateItem>;

using TCursor = int16_t;
constexpr TCursor crDefault = 0;
constexpr TCursor crNone = -1;
constexpr TCursor crArrow = -2;
constexpr TCursor crCross = -3;
constexpr TCursor crIBeam = -4;
constexpr TCursor crSizeNESW = -6;
constexpr TCursor crSizeNS = -7;
constexpr TCursor crSizeNWSE = -8;
constexpr TCursor crSizeWE = -9;
constexpr TCursor crUpArrow = -10;
constexpr TCursor crHourGlass = -11;
constexpr TCursor crDrag = -12;
constexpr TCursor crNoDrop = -13;
constexpr TCursor crHSplit = -14;
constexpr TCursor crVSplit = -15;
constexpr TCursor crMultiDrag = -16;
constexpr TCursor crSQLWait = -17;
constexpr TCursor crNo = -18;
constexpr TCursor crAppStart = -19;
constexpr TCursor crHelp = -20;
constexpr TCursor crHandPoint = -21;
constexpr TCursor crSizeAll = -22;

extern const TEnumInfo TAlignInfo;
extern const TEnumInfo TBevelCutInfo;
extern const TEnumInfo TBorderStyleInfo;     // bsNone, bsSingle
extern const TEnumInfo TFormBorderStyleInfo; // all six
extern const TEnumInfo THelpTypeInfo;
extern const TEnumInfo TAnchorKindInfo;
extern const TEnumInfo TMouseButtonInfo;
extern const TEnumInfo TShiftStateInfo;
extern const TIdentMap CursorIdents;

using TMouseEvent =
    TEvent<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = TEvent<void(TObject* Sender, TShiftState Shift, int X, int Y)>;
// WheelDelta in 1/120 notches (WHEEL_DELTA), positive when turned away from the user; MousePos in
// screen coordinates. A handler that uses the turn sets Handled.
using TMouseWheelEvent = TEvent<void(TObject* Sender, TShiftState Shift, int WheelDelta,
                                     const TPoint& MousePos, bool& Handled)>;
using TKeyPressEvent = TEvent<void(TObject* Sender, char& Key)>;
using TKeyDownEvent = TEvent<void(TObject* Sender, Word& Key, TShiftState Shift)>;
using TWndMethod = std::function<void(TMessage& Message)>;

// Minimum and maximum sizes of a control; 0 means no limit.
class TSizeConstraints : public TPersistent {
    VCL_DECLARE_CLASS(TSizeConstraints, TPersistent)
public:
    explicit TSizeConstraints(class TControl* Control = nullptr) : control_(Control) {}
    void Assign(TPersistent* Source) override;
    int GetMaxHeight() const { return maxHeight_; }
    void SetMaxHeight(int Value);
    int GetMaxWidth() const { return maxWidth_; }
    void SetMaxWidth(int Value);
    int GetMinHeight() const { return minHeight_; }
    void SetMinHeight(int Value);
    int GetMinWidth() const { return minWidth_; }
    void SetMinWidth(int Value);
    // Applies the limits to a proposed size.
    void Constrain(int& Width, int& Height) const;
    TNotifyEvent OnChange;

private:
    void changed();
    class TControl* control_;
    int maxHeight_ = 0;
    int maxWidth_ = 0;
    int minHeight_ = 0;
    int minWidth_ = 0;
};

class TControl : public TComponent {
    VCL_DECLARE_CLASS(TControl, TComponent)
public:
    explicit TControl(TComponent* AOwner);
    // Tells the components watching this one, leaves the parent, and drops the capture, the
    // hover and every action or menu reference.
    ~TControl() override;

    // Parent and bounds.
    TWinControl* GetParent() const { return parent_; }
    virtual void SetParent(TWinControl* AParent);
    int GetLeft() const { return left_; }
    int GetTop() const { return top_; }
    int GetWidth() const { return width_; }
    int GetHeight() const { return height_; }
    void SetLeft(int Value);
    void SetTop(int Value);
    void SetWidth(int Value);
    void SetHeight(int Value);
    // Moves and sizes the control; a size change calls Resize (except while it is being read from
    // a form stream), and the parent realigns its children.
    virtual void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);
    TRect BoundsRect() const { return Bounds(left_, top_, width_, height_); }
    void SetBoundsRect(const TRect& R) { SetBounds(R.Left, R.Top, R.Width(), R.Height()); }
    // The client area in the control's own coordinates: the bounds less the non-client frame.
    virtual TRect GetClientRect() const;
    // Thickness of the frame around the client area (a form's caption and border, a single
    // border): Left, Top, Right and Bottom in pixels. None by default.
    virtual TRect NonClientInsets() const { return TRect(); }
    int GetClientWidth() const { return GetClientRect().Width(); }
    int GetClientHeight() const { return GetClientRect().Height(); }
    void SetClientWidth(int Value);
    void SetClientHeight(int Value);
    virtual void SetClientSize(int AWidth, int AHeight);
    // Screen position of the client area's top left corner.
    virtual TPoint ClientOrigin() const;
    TPoint ClientToScreen(const TPoint& P) const;
    TPoint ScreenToClient(const TPoint& P) const;
    // Converts a point in the client area of this control to the client area of Other.
    TPoint ClientToClient(const TPoint& P, const TControl* Other) const;

    TAlign GetAlign() const { return align_; }
    void SetAlign(TAlign Value);
    TAnchors GetAnchors() const { return anchors_; }
    void SetAnchors(TAnchors Value) { anchors_ = Value; }
    TSizeConstraints* GetConstraints() const { return constraints_.get(); }
    void SetConstraints(TSizeConstraints* Value) { constraints_->Assign(Value); }

    // Visibility and state.
    bool GetVisible() const { return visible_; }
    void SetVisible(bool Value);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    // Visible, and so are all its parents (a form: shown).
    virtual bool Showing() const;
    bool GetEnabled() const { return enabled_; }
    virtual void SetEnabled(bool Value);
    // Enabled, and so are all its parents.
    bool IsEnabledInParents() const;

    // Caption and text are one string (the classic framework's Caption and Text).
    const AnsiString& GetText() const { return text_; }
    void SetText(const AnsiString& Value);
    const AnsiString& GetCaption() const { return text_; }
    void SetCaption(const AnsiString& Value) { SetText(Value); }

    // Colour and font, optionally taken from the parent.
    TColor GetColor() const { return color_; }
    void SetColor(TColor Value);
    bool GetParentColor() const { return parentColor_; }
    void SetParentColor(bool Value);
    bool IsColorStored() const { return !parentColor_ && !IsActionLinked(); }
    TFont* GetFont() const { return font_.get(); }
    void SetFont(TFont* Value) { font_->Assign(Value); }
    bool GetParentFont() const { return parentFont_; }
    void SetParentFont(bool Value);
    bool IsFontStored() const { return !parentFont_; }

    TPopupMenu* GetPopupMenu() const { return popupMenu_; }
    void SetPopupMenu(TPopupMenu* Value);
    TBasicAction* GetAction() const;
    void SetAction(TBasicAction* Value);
    bool IsActionLinked() const;
    bool IsCaptionStored() const { return !IsActionLinked(); }
    bool IsEnabledStored() const { return !IsActionLinked(); }
    bool IsVisibleStored() const { return !IsActionLinked(); }
    bool IsHintStored() const { return !IsActionLinked(); }

    const AnsiString& GetHint() const { return hint_; }
    void SetHint(const AnsiString& Value) { hint_ = Value; }
    // While ParentShowHint is true, ShowHint is the parent's.
    bool GetShowHint() const;
    void SetShowHint(bool Value);
    bool GetParentShowHint() const { return parentShowHint_; }
    void SetParentShowHint(bool Value);
    bool IsShowHintStored() const { return !parentShowHint_; }
    TCursor GetCursor() const { return cursor_; }
    void SetCursor(TCursor Value) { cursor_ = Value; }
    THelpType GetHelpType() const { return helpType_; }
    void SetHelpType(THelpType Value) { helpType_ = Value; }
    const AnsiString& GetHelpKeyword() const { return helpKeyword_; }
    void SetHelpKeyword(const AnsiString& Value) { helpKeyword_ = Value; }
    int GetHelpContext() const { return helpContext_; }
    void SetHelpContext(int Value) { helpContext_ = Value; }

    TControlStyle& ControlStyle() { return controlStyle_; }
    const TControlStyle& ControlStyle() const { return controlStyle_; }
    TControlState& ControlState() { return controlState_; }
    const TControlState& ControlState() const { return controlState_; }

    // Messages. Perform hands a message to WindowProc (by default WndProc) synchronously and
    // returns its Result. WndProc calls Dispatch, which handles the messages a class knows and
    // passes every other one to DefaultHandler; derived classes override Dispatch (calling the
    // inherited one for what they do not handle). A windowed control's DefaultHandler gives the
    // message to its peer; without a peer nothing happens.
    intptr_t Perform(unsigned Msg, uintptr_t WParam, intptr_t LParam);
    virtual void WndProc(TMessage& Message);
    virtual void Dispatch(TMessage& Message);
    virtual void DefaultHandler(TMessage& Message);
    // Replaces the message handling (subclassing); empty restores WndProc.
    TWndMethod WindowProc;

    // Repainting: a graphic control asks its parent's peer, a windowed one its own.
    virtual void Invalidate();
    void Repaint() { Invalidate(); }
    virtual void BringToFront();
    virtual void SendToBack();

    // Simulates a click (the classic Click): OnClick, or the action when no OnClick is assigned.
    virtual void Click();
    virtual void DblClick();
    // What assistive technology reads for the control; false for a control that shows nothing
    // of its own to read (the widgetset then leaves it out).
    virtual bool GetAccessibleInfo(TAccessibleInfo& Info) const;
    // Called after every change of the size.
    virtual void Resize();

    // True for a windowed control (a TWinControl), which has a peer of its own.
    bool IsWindowed() const { return isWinControl_; }
    // True for a form (a TCustomForm), once its constructor has begun.
    bool IsForm() const { return isForm_; }
    // The windowed control whose peer shows this control: itself when windowed, else the parent.
    TWinControl* GetWindowedControl();
    // The form (or top-level windowed control) the control sits on.
    TWinControl* GetTopParent() const;

    void SetName(const AnsiString& NewName) override;
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    bool HasParent() const override { return true; }
    TComponent* GetParentComponent() const override;
    void SetParentComponent(TComponent* Value) override;

    // True while this control exists; for code that calls handlers which may free it.
    std::shared_ptr<const bool> LifeToken() const { return life_.Token(); }

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseMoveEvent OnMouseMove;
    TMouseEvent OnMouseUp;
    TNotifyEvent OnResize;
    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;
    TMouseWheelEvent OnMouseWheel;

protected:
    // Mouse handling called from the WM_ messages; they raise the OnMouse events.
    virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void MouseMove(TShiftState Shift, int X, int Y);
    virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
    // Raises OnMouseWheel; true when the turn was handled and goes no further.
    virtual bool DoMouseWheel(TShiftState Shift, int WheelDelta, const TPoint& MousePos);
    // The action's properties changed (or the action was linked).
    virtual void ActionChange(TBasicAction* Sender, bool CheckDefaults);
    virtual TControlActionLink* CreateActionLink();
    // Notifications of the control's own changes; windowed controls forward them to the peer.
    virtual void BoundsChanged() {}
    virtual void TextChanged();
    virtual void FontChanged();
    virtual void ColorChanged();
    virtual void VisibleChanged();
    virtual void EnabledChanged();
    // The parent's font or colour changed.
    void ParentFontChanged();
    void ParentColorChanged();
    // The parent changed.
    virtual void ParentChanged() {}
    // The parent realigns when a child's bounds, visibility or alignment change.
    void RequestAlign();
    // Sets the bounds without realigning the parent (used by the parent's alignment).
    void UpdateBoundsRect(int ALeft, int ATop, int AWidth, int AHeight, bool Realign);
    bool IsLoading() const;

    std::unique_ptr<TFont> font_;

private:
    friend class TWinControl;
    friend class TCustomForm;
    friend class TControlActionLink;
    void fontChangedHandler(TObject* Sender);
    void handleMouseButton(TMessage& Message, TMouseButton Button, bool Down, bool Double);

    TWinControl* parent_ = nullptr;
    bool isWinControl_ = false;
    bool isForm_ = false;
    int left_ = 0;
    int top_ = 0;
    int width_ = 0;
    int height_ = 0;
    TAlign align_ = alNone;
    TAnchors anchors_{akLeft, akTop};
    bool visible_ = true;
    bool enabled_ = true;
    AnsiString text_;
    TColor color_ = clWindow;
    bool parentColor_ = false;
    bool parentFont_ = true;
    bool applyingParentFont_ = false;
    TPopupMenu* popupMenu_ = nullptr;
    std::unique_ptr<TControlActionLink> actionLink_;
    AnsiString hint_;
    bool showHint_ = false;
    bool parentShowHint_ = true;
    TCursor cursor_ = crDefault;
    THelpType helpType_ = htContext;
    AnsiString helpKeyword_;
    int helpContext_ = 0;
    std::unique_ptr<TSizeConstraints> constraints_;
    TControlStyle controlStyle_{csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
    TControlState controlState_;
    TLifeFlag life_;
};

class TControlActionLink : public TBasicActionLink {
    VCL_DECLARE_CLASS(TControlActionLink, TBasicActionLink)
public:
    explicit TControlActionLink(TControl* AClient) : TBasicActionLink(AClient) {}
    void Change() override;
};

class TWinControl : public TControl {
    VCL_DECLARE_CLASS(TWinControl, TControl)
public:
    explicit TWinControl(TComponent* AOwner);
    // Frees the child controls (owned or not), then the peer.
    ~TWinControl() override;

    // Children: graphic controls first, then windowed ones, each in z-order (last on top).
    int GetControlCount() const;
    int ControlCount() const { return GetControlCount(); }
    // A child by index; an index outside 0..count-1 raises EListError.
    TControl* GetControl(int Index) const;
    TControl* Controls(int Index) const { return GetControl(Index); }
    bool ContainsControl(const TControl* Control) const;
    // The topmost visible child under a point of the client area (enabled only, unless
    // AllowDisabled); windowed children only when AllowWinControls.
    TControl* ControlAtPos(const TPoint& Pos, bool AllowDisabled,
                           bool AllowWinControls = false) const;
    void InsertControl(TControl* AControl);
    void RemoveControl(TControl* AControl);

    // Alignment of the children (Align), on every resize and whenever a child changes.
    void DisableAlign();
    void EnableAlign();
    void Realign();
    // The area that aligned children fill; panels subtract their border and bevels.
    virtual void AdjustClientRect(TRect& Rect) const;
    TRect AlignRect() const;

    // Focus and tab order.
    int GetTabOrder() const;
    void SetTabOrder(int Value);
    bool GetTabStop() const { return tabStop_; }
    void SetTabStop(bool Value) { tabStop_ = Value; }
    // Three-dimensional look of the border, optionally taken from the parent.
    bool GetCtl3D() const { return ctl3D_; }
    void SetCtl3D(bool Value);
    bool GetParentCtl3D() const { return parentCtl3D_; }
    void SetParentCtl3D(bool Value);
    // The theme the widgetset draws the control's background and graphic buttons in; null for
    // the classic look (the default). Setting the classic look without colours clears it.
    const TLook* GetLook() const { return look_.get(); }
    void SetLook(const TLook& Value);
    virtual bool CanFocus() const;
    bool Focused() const;
    // Gives the control the input focus; EInvalidOperation when it cannot have it.
    virtual void SetFocus();
    // The windowed children in tab order.
    std::vector<TWinControl*> GetTabOrderList() const;
    // The next (or previous) control in tab order after CurControl, in this control's subtree.
    TWinControl* FindNextControl(TWinControl* CurControl, bool GoForward, bool CheckTabStop,
                                 bool CheckParent) const;
    void SelectNext(TWinControl* CurControl, bool GoForward, bool CheckTabStop);

    // The peer: created when the control is shown and a widgetset is installed.
    TWinControlPeer* GetPeer() const { return peer_.get(); }
    bool HandleAllocated() const { return peer_ != nullptr; }
    // Creates the peer now (parents first), if the widgetset makes one.
    void HandleNeeded();
    void DestroyHandle();
    // A windowed control is showing when it is visible and its parent is showing; a control
    // without a parent when it is visible.
    bool Showing() const override;

    // Pointer input at client coordinates of this control (see the unit's description).
    void InputMouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
    void InputMouseMove(TShiftState Shift, int X, int Y);
    void InputMouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
    // The pointer left the control's window for a place outside every control inside it: the
    // control under the pointer there, if any, is left (CM_MOUSELEAVE).
    void InputMouseLeave();
    // A turn of the wheel with the pointer at (X, Y); true when a control handled it.
    bool InputMouseWheel(TShiftState Shift, int WheelDelta, int X, int Y);
    // Whether the control takes the points of a touch screen itself, each with its own Id, through
    // InputTouch; the widgetset then hands it no mouse input synthesised from touches. A control
    // that does not gets a touch as a click of the mouse.
    virtual bool TakesTouch() const { return false; }
    virtual void InputTouch(TTouchKind Kind, int Id, int X, int Y) {
        (void)Kind, (void)Id, (void)X, (void)Y;
    }
    // A key the user pressed while this control (or the focused control inside it) has the
    // input: OnKeyDown of that control, which may swallow the key by setting it to 0, then for
    // Enter, Escape and Tab CM_DIALOGKEY to its form (Enter clicks the default button, Escape the
    // cancel button, Tab moves the focus). No message goes to the control itself. Returns true
    // when the key was used by the model.
    bool InputKeyDown(Word Key, TShiftState Shift = {});
    // A character the user typed: OnKeyPress of the focused control; no message is sent.
    void InputChar(char Key);
    // The peer reports text the user edited natively; the model takes it over without echoing
    // it back to the peer.
    virtual void PeerTextChanged(const AnsiString& Text);

    void Invalidate() override;
    void BringToFront() override;
    void SendToBack() override;
    void SetParent(TWinControl* AParent) override;
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    void Loaded() override;
    void GetChildren(const std::function<void(TComponent*)>& Proc, TComponent* Root) override;
    void DefaultHandler(TMessage& Message) override;
    void Dispatch(TMessage& Message) override;

    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;
    TKeyDownEvent OnKeyDown;
    TKeyDownEvent OnKeyUp;
    TKeyPressEvent OnKeyPress;

protected:
    // The focus left Control or one of its children because it was removed from its parent or
    // freed; a form forgets it as its active control.
    virtual void FocusRemoved(TWinControl* Control) { (void)Control; }
    // The focus moved to Control, a child of this top-level control.
    virtual void FocusMovedTo(TWinControl* Control) { (void)Control; }
    // Positions the children with an Align other than alNone.
    virtual void AlignControls(TControl* AControl, TRect& Rect);
    // Tells the peer about a change of a class-specific property.
    void PeerChanged(TPeerChange What);
    virtual void DoEnter();
    virtual void DoExit();
    // Handles a dialog key (CM_DIALOGKEY) for the children; true when one used it.
    virtual bool DialogKey(Word Key, TShiftState Shift);
    void BoundsChanged() override;
    void TextChanged() override;
    void FontChanged() override;
    void ColorChanged() override;
    void VisibleChanged() override;
    void EnabledChanged() override;
    // Creates the peers of this control and its showing windowed children, if it is showing.
    void UpdateShowing();
    // Frees every child control (owned or not), topmost first.
    void DestroyChildren();

private:
    friend class TControl;
    // Creates the peers of the showing windowed children, then lets the peer show itself.
    void createChildPeers();
    // Sends CM_SHOWINGCHANGED to the control and every windowed control inside it: it may have
    // been shown or hidden with a parent, which it is not told otherwise.
    void showingChanged();
    void alignChildren();
    void fixupTabList();
    void routeMouse(TMouseEventKind Kind, TMouseButton Button, TShiftState Shift, int X, int Y);

    std::vector<TControl*> controls_;       // graphic children
    std::vector<TWinControl*> winControls_; // windowed children
    std::vector<TWinControl*> tabList_;
    std::unique_ptr<TWinControlPeer> peer_;
    int alignLevel_ = 0;
    bool aligning_ = false;
    bool tabStop_ = false;
    bool ctl3D_ = true;
    bool parentCtl3D_ = true;
    std::shared_ptr<const TLook> look_;
    int pendingTabOrder_ = -1;
};

// A control without a window of its own: its parent paints it and routes pointer input to it.
class TGraphicControl : public TControl {
    VCL_DECLARE_CLASS(TGraphicControl, TControl)
public:
    explicit TGraphicControl(TComponent* AOwner) : TControl(AOwner) {}
};

// A windowed control that paints itself.
class TCustomControl : public TWinControl {
    VCL_DECLARE_CLASS(TCustomControl, TWinControl)
public:
    explicit TCustomControl(TComponent* AOwner) : TWinControl(AOwner) {}
};

// The mouse: the position of the screen cursor, as the last pointer input left it (or as the
// widgetset reads it).
class TMouse {
public:
    TPoint GetCursorPos() const;
    void SetCursorPos(const TPoint& P) { pos_ = P; }
    TPoint CursorPos() const { return GetCursorPos(); }
    TControl* Capture() const;

private:
    TPoint pos_;
};
extern TMouse* const Mouse;

// The control that receives all pointer input until the button is released; null for none.
TControl* GetCaptureControl();
void SetCaptureControl(TControl* Control);
// The control the pointer is over (as the last pointer input left it).
TControl* GetMouseControl();
// The windowed control that has the input focus, or null.
TWinControl* FindFocusedControl();

// The part of a hint before its first '|' (the part after it is the longer text for a status
// line).
AnsiString GetShortHint(const AnsiString& Hint);
// The hint to show while the pointer rests on Control: when the control's ShowHint is true (and it
// is not being designed), its short Hint, or else the first non-empty Hint of its parents. Empty
// when nothing is to be shown.
AnsiString HintOf(const TControl* Control);

// Turns wheel deltas into whole steps, StepsPerNotch for each WHEEL_DELTA, positive for a turn
// away from the user. What is left of a partial notch waits in Rest for the next delta of the
// same direction, so that fine wheels step as far as notched ones.
int WheelSteps(int& Rest, int WheelDelta, int StepsPerNotch = 1);

// Converts mouse-message key flags and the modifier keys into a shift state.
TShiftState KeysToShiftState(uintptr_t Keys);
uintptr_t ShiftStateToKeys(TShiftState Shift);

// Clicks a control as a user does: press and release in the middle of its client area, entering
// through the windowed control that shows it. MouseClickAt clicks at (X, Y) of its client area.
void MouseClick(TControl* Control, TMouseButton Button = mbLeft);
void MouseClickAt(TControl* Control, int X, int Y, TMouseButton Button = mbLeft);

} // namespace vcl
