#pragma once
// Unit Keyboard: the key model (TKey, shown by a TKeyControl button), the key collection, which
// owns the keys of a layout and reads and writes them as a layout stream, and the keyboard
// control TKeyboard, which shows a layout and types into a linked control. The unit is split by
// job: the key model (Keys.h), the layout stream (LayoutStream.h, from the record description
// of LayoutRecord.h), the geometry pass (KeyboardGeometry.h), and here the keyboard control,
// whose Shift, Caps Lock and Alt Gr states and key dispatch live in KeyboardStates.cpp.

#include "KeyScanner.h"
#include "Keys.h"
#include "LayoutStream.h"

#include "vcl/ExtCtrls.h"
#include "vcl/StdCtrls.h"

namespace quimbel {

// Event types of the keyboard, raised from inside a click.
using TKeyEvent = vcl::TEvent<void(vcl::TObject* Sender, TKey* Key, TKeyLevel KeyLevel,
                                   vcl::AnsiString KeyValue)>;
using TShiftStateChange = vcl::TEvent<void(vcl::TObject* Sender, bool ShiftOn)>;
using TCapsStateChange = vcl::TEvent<void(vcl::TObject* Sender, bool CapsOn)>;
using TAltGrStateChange = vcl::TEvent<void(vcl::TObject* Sender, bool AltGrOn)>;

// The on-screen keyboard: a panel that shows one button per key of its layout, stretched to fill
// its client area, and types into the linked control when the buttons are clicked. It keeps
// Shift (released after the next typed key), Caps Lock and Alt Gr (released after the next typed
// key) states of its own.
class TKeyboard : public vcl::TCustomPanel {
    VCL_DECLARE_CLASS(TKeyboard, vcl::TCustomPanel)
public:
    explicit TKeyboard(vcl::TComponent* AOwner);
    // Frees the key collection; the inherited destruction then frees the buttons.
    ~TKeyboard() override;

    TKeyCollection* GetKeys() const { return FKeys; }
    // Takes Value as the keyboard's layout (no copy), rebuilds the buttons and lays them out. A
    // collection other than the keyboard's own is taken over, and the previous one is freed.
    void SetKeys(TKeyCollection* Value);
    vcl::TWinControl* GetLinkedControl() const { return FLinkedControl; }
    // The keyboard itself is stored as none. The keyboard forgets a linked control that is
    // destroyed.
    void SetLinkedControl(vcl::TWinControl* Value);

    bool GetShiftState() const { return FShiftState; }
    bool GetCapsState() const { return FCapsState; }
    bool GetAltGrState() const { return FAltGrState; }
    TKeyLevel GetKeyLevel() const;
    vcl::TEditCharCase GetCharCase() const { return FCharCase; }
    void SetCharCase(vcl::TEditCharCase Value) { FCharCase = Value; }
    bool GetBeepOnKeyPressed() const { return FBeepOnKeyPressed; }
    void SetBeepOnKeyPressed(bool Value) { FBeepOnKeyPressed = Value; }
    // Applies at the next change of state; buttons highlighted already keep their colour.
    vcl::TColor GetHighlightColor() const { return FHighlightColor; }
    void SetHighlightColor(vcl::TColor Value) { FHighlightColor = Value; }

    // Assistive input, off by default: switch scanning (rows, then keys, picked by a switch)
    // and dwell (a key is pressed when the pointer rests on it for DwellTime milliseconds). The
    // host feeds time, switch presses and the pointer through Scanner().
    TSwitchScanning GetSwitchScanning() const { return FScanner->GetMode(); }
    void SetSwitchScanning(TSwitchScanning Value) { FScanner->SetMode(Value); }
    int GetScanInterval() const { return FScanner->GetInterval(); }
    void SetScanInterval(int Value) { FScanner->SetInterval(Value); }
    int GetDwellTime() const { return FScanner->GetDwellTime(); }
    void SetDwellTime(int Value) { FScanner->SetDwellTime(Value); }
    TKeyScanner* Scanner() const { return FScanner.get(); }

    // Buttons.
    void ReCreateControls();
    void CreateControls();
    void FreeAllControls();
    void ReCreateKeys();
    // The geometry pass: scales the layout so that the buttons fill the client area, less a margin
    // of 16 pixels on the right and 8 at the bottom.
    void ResizeKeyboard();

    // Layout files. LoadKeyLayout raises "File %s not found!" and changes nothing when the file
    // does not exist. It runs no geometry pass: the new buttons stand at their natural bounds
    // until the next resize, and the modifier states stay. A file that cannot be read leaves the
    // keys read completely before the error, without buttons, until the buttons are rebuilt.
    void LoadKeyLayout(const vcl::AnsiString& FileName);
    void SaveKeyLayout(const vcl::AnsiString& FileName);
    // Replaces the layout by the built-in layout Name, as TakeLayout does; a name without a
    // layout raises EResNotFound and changes nothing.
    void LoadLayoutResource(const vcl::AnsiString& Name);

    // Dispatch of a click and the modifier states. Handlers run from inside a click may free the
    // keyboard, its linked control or its keys, or switch the layout: the click then ends
    // safely, and once the clicked key is freed it sends nothing more and leaves the one-shot
    // Shift and Alt Gr states as they are.
    void KeyClick(vcl::TObject* Sender);
    void SetShiftState();
    void ClearShiftState();
    void ToggleCapsState();
    void ToggleAltGrState();
    void DoLinkedControlAction(TKey* Key);
    TKey* SearchKey(const vcl::AnsiString& Caption, TKeyLevel Level) const;
    TKey* SearchKey(TKeyLevel Level, const vcl::AnsiString& Value) const;
    TKey* SearchKey(TKeyType Type, const vcl::AnsiString& Caption, TKeyLevel Level) const;

    TKeyEvent OnKey;
    TShiftStateChange OnShiftStateChange;
    TCapsStateChange OnCapsStateChange;
    TAltGrStateChange OnAltGrStateChange;

protected:
    void Loaded() override;
    void Resize() override;
    void Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) override;

private:
    void highlight(TKey* Key, bool On);

    bool FShiftState = false;
    bool FCapsState = false;
    bool FAltGrState = false;
    TKeyCollection* FKeys = nullptr;
    vcl::TEditCharCase FCharCase = vcl::ecNormal;
    bool FBeepOnKeyPressed = false;
    vcl::TWinControl* FLinkedControl = nullptr;
    vcl::TColor FHighlightColor = 0;
    std::unique_ptr<TKeyScanner> FScanner;
};

// Replaces the keys of Keyboard by the layout read (the collection stays the same object),
// rebuilds the buttons and lays them out; a failed read raises its error and changes nothing.
// This is how the package's own helpers show a layout, from a built-in name or a file alike.
void TakeLayout(TKeyboard* Keyboard, TLayoutRead& Read);

} // namespace quimbel
