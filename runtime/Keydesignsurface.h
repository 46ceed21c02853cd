#pragma once
// Unit Keydesignsurface: the editing logic that the layout designers share. A design surface is
// a windowed control that shows a layout at PixelsPerUnit (4 pixels per layout unit): a grid of
// lines 8 pixels apart below one button per key. Pressing a key button with the left button and
// moving the pointer more than 2 pixels drags the key, which then follows the pointer, snapped to
// whole layout units; a click that ended no drag is reported instead. TKeyboardLayoutEditor is such
// a surface itself; the layout designer form uses its layout panel.
//
// What differs between the surfaces is set on the TKeyDesignSurface object: whether dragged keys
// stay inside the client area, the popup menu of the key buttons, and what a click or a press of
// another mouse button on a key does.

#include "runtime/Keyboard.h"

#include "vcl/Menus.h"

#include <functional>

namespace quimbel {

enum TKeyShiftDirection { ksUp, ksDown, ksLeft, ksRight };

class TKeyDesignSurface {
public:
    // Surface becomes parent and owner of the grid lines and key buttons; Keys is the layout it
    // shows (not owned).
    TKeyDesignSurface(vcl::TWinControl* Surface, TKeyCollection* Keys);
    TKeyDesignSurface(const TKeyDesignSurface&) = delete;
    TKeyDesignSurface& operator=(const TKeyDesignSurface&) = delete;

    vcl::TWinControl* GetSurface() const { return surface_; }
    TKeyCollection* GetKeys() const { return keys_; }

    // The grid: 251 vertical lines at x = 0 ... 2000, 1500 pixels long, and 188 horizontal lines
    // at y = 0 ... 1496, 2000 pixels long, whatever the surface's size. Created once, before any
    // key button, so that the buttons are drawn above it.
    void CreateGrid(vcl::TColor Color);
    // Recolours every shape on the surface, the grid lines and any other.
    void SetGridColor(vcl::TColor Color);

    // A button on the surface with the pointer handlers below, not yet bound to a key.
    TKeyControl* CreateKeyControl();
    // One bound button per key, in layout order.
    void CreateControls();
    // Frees the buttons of the keys; the keys stay.
    void DestroyControls();

    // Appends an 8 x 8 key of type ktNormal at (0, 0) with a copy of Font, drawn above the keys
    // before it.
    TKey* NewKey(vcl::TFont* Font);
    void DeleteKey(TKey* Key);
    void ClearAll();
    // Gives every key a copy of Font and shows it.
    void SetKeyFont(vcl::TFont* Font);
    // Replaces the layout with the file's. When reading fails, the keys that were read completely
    // (none when the file cannot be opened) replace the layout all the same and get their
    // buttons before the error propagates, so that the surface shows what it holds.
    void LoadLayout(const vcl::AnsiString& FileName);

    // Shifts every key by Delta layout units. With KeepInside, a shift that would take any key
    // past an edge of the client area (a Left or Top below 0, a right or bottom edge beyond the
    // client width or height in layout units) moves no key and returns false; so does a shift
    // that would take a position beyond the 32 bits a layout stores.
    bool MoveKeys(TKeyShiftDirection Direction, int Delta, bool KeepInside);

    // The key buttons' pointer handlers; X and Y are in the sending button's client coordinates.
    void BtnMouseDown(vcl::TObject* Sender, vcl::TMouseButton Button, vcl::TShiftState Shift, int X,
                      int Y);
    void BtnMouseMove(vcl::TObject* Sender, vcl::TShiftState Shift, int X, int Y);
    void BtnMouseUp(vcl::TObject* Sender, vcl::TMouseButton Button, vcl::TShiftState Shift, int X,
                    int Y);
    void BtnClick(vcl::TObject* Sender);

    // The pointer state: a left press on a key is being held; a drag has begun and its ending
    // click is still to come.
    bool Pressed() const { return pressed_; }
    bool Dragging() const { return dragging_; }

    // Keeps a dragged key inside the client area.
    bool LimitDesignArea = false;
    // The popup menu of every key button created from now on.
    vcl::TPopupMenu* KeyPopupMenu = nullptr;
    // A left click on a key button that ended no drag.
    std::function<void(TKeyControl* Button)> OnKeyClick;
    // A press of the right or middle button on a key button.
    std::function<void(TKeyControl* Button)> OnKeyOtherButton;

private:
    // Centres the key of Button on the pointer, snapped to whole layout units.
    void placeKey(TKeyControl* Button);

    vcl::TWinControl* const surface_;
    TKeyCollection* const keys_;
    bool dragging_ = false;
    bool pressed_ = false;
    int pressX_ = 0;
    int pressY_ = 0;
    // Dragged keys snap to whole layout units.
    const int snapX_ = PixelsPerUnit;
    const int snapY_ = PixelsPerUnit;
};

} // namespace quimbel
