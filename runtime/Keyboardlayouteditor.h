#pragma once
// Unit Keyboardlayouteditor: TKeyboardLayoutEditor, a control on which a user designs a key
// layout. It owns a layout of its own and shows each key as a button on a grid, at 4 pixels per
// layout unit. Keys are added, deleted, dragged with the left mouse button (snapped to whole
// layout units and, with LimitDesignArea, kept inside the control), shifted all together, given
// fonts, loaded from and saved to layout files. The control asks the user nothing itself: a
// click on a key and a press of another mouse button on a key are reported through
// OnKeyClicked and OnKeyRightClicked, and the application decides what follows.

#include "runtime/Keyboard.h"
#include "runtime/Keydesignsurface.h"

#include "vcl/ExtCtrls.h"

namespace quimbel {

// The key whose button was clicked or pressed.
using TKeyClickedEvent = vcl::TEvent<void(TKey* Key)>;

class TKeyboardLayoutEditor : public vcl::TCustomPanel {
    VCL_DECLARE_CLASS(TKeyboardLayoutEditor, vcl::TCustomPanel)
public:
    // An empty layout on a silver grid, LimitDesignArea set, new keys in MS Sans Serif 8.
    explicit TKeyboardLayoutEditor(vcl::TComponent* AOwner);
    // Frees the layout and the default key font; the key buttons and grid lines go with the
    // control's children.
    ~TKeyboardLayoutEditor() override;

    // Adds an 8 x 8 key at the top left corner with a copy of DefaultKeyFont; it is drawn above
    // the keys before it until it is dragged away.
    void NewKey();
    void DeleteKey(TKey* Key);
    void ClearAll();
    TKey* GetKey(int Index) const { return FKeys->GetItem(Index); }
    TKeyCollection* GetKeys() const { return FKeys; }

    // Replaces the layout with the file's; errors of the file and the reader propagate. Keys read
    // before a read error stay and are shown.
    void LoadLayout(const vcl::AnsiString& FileName);
    void SaveLayout(const vcl::AnsiString& FileName);

    // Shift every key by Delta layout units. A Delta below 1 raises 'A "Delta" value of %d is
    // invalid'; with LimitDesignArea a shift that would take any key outside the client area
    // moves no key, and neither does one that would take a position beyond 32 bits.
    void MoveKeysUp(int Delta);
    void MoveKeysDown(int Delta);
    void MoveKeysLeft(int Delta);
    void MoveKeysRight(int Delta);

    // Makes Font the default key font and gives it to every key.
    void SetKeyFont(vcl::TFont* Font);
    // The key properties dialog for Key, owned by the editor; OK shows the changes on the key's
    // button.
    void ShowKeyPropertiesDialog(TKey* Key);

    // One bound button per key, in layout order, for keys put into GetKeys() directly.
    void CreateControls();
    // Frees the key buttons; the keys stay.
    void DestroyControls();

    vcl::TFont* GetDefaultKeyFont() const { return FDefaultKeyFont; }
    // Copies Value into the font of later new keys; existing keys keep their fonts.
    void SetDefaultFont(vcl::TFont* Value);
    vcl::TColor GetGridColor() const { return FGridColor; }
    // Recolours every shape on the editor, the grid lines and any other.
    void SetGridColor(vcl::TColor Value);
    // Governs later drags and shifts only; no key moves when it changes.
    bool GetLimitDesignArea() const { return FDesign.LimitDesignArea; }
    void SetLimitDesignArea(bool Value) { FDesign.LimitDesignArea = Value; }

    // The pointer state of the key buttons.
    const TKeyDesignSurface& Design() const { return FDesign; }

    TKeyClickedEvent OnKeyClicked;
    TKeyClickedEvent OnKeyRightClicked;

protected:
    void Loaded() override;
    void CreateGrid();
    TKeyControl* CreateKeyControl();
    void ShowPropertiesForm(TKey* Key);

private:
    void moveKeys(TKeyShiftDirection Direction, int Delta);

    TKeyCollection* FKeys;
    // The drag and press flags, the press position, the snap steps and LimitDesignArea.
    TKeyDesignSurface FDesign;
    vcl::TFont* FDefaultKeyFont = nullptr;
    vcl::TColor FGridColor = vcl::clSilver;
};

} // namespace quimbel
