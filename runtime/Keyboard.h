#pragma once
// Unit Keyboard: the key model (TKey, shown by a TKeyControl button), the key collection, which
// owns the keys of a layout and reads and writes them as a layout stream, and the keyboard
// control TKeyboard, which shows a layout and types into a linked control.

#include "rtl/Classes.h"
#include "rtl/Filer.h"
#include "vcl/Buttons.h"
#include "vcl/ExtCtrls.h"
#include "vcl/Graphics.h"
#include "vcl/StdCtrls.h"

#include <array>
#include <cstdint>

namespace quimbel {

// What a key does when clicked. Stored in one byte; a layout may hold values beyond ktFunction,
// which are kept as they are.
enum TKeyType : uint8_t {
    ktNormal,
    ktShift,
    ktCapsLock,
    ktEscape,
    ktAltGr,
    ktEnter,
    KtTab,
    ktBackspace,
    ktInsert,
    ktDelete,
    ktHome,
    ktEnd,
    ktPageUp,
    ktPageDown,
    ktLeft,
    ktRight,
    ktUp,
    ktDown,
    ktFunction
};
extern const vcl::TEnumInfo TypeInfoKeyType;

// The shift level that selects a key's caption and value.
enum TKeyLevel : uint8_t { klNormal, klShift, klAltGr };
extern const vcl::TEnumInfo TypeInfoKeyLevel;

// Key sizes in layout units (4 pixels at design scale); declared 1 to 80, always read unsigned.
using TKeyWidth = uint8_t;
using TKeyHeight = uint8_t;

// One string per level, indexed by TKeyLevel.
using TKeyLevelCaption = std::array<vcl::AnsiString, 3>;
using TKeyLevelValue = std::array<vcl::AnsiString, 3>;

class TKey;

// The button that shows a key; Key leads from a clicked or dragged button back to its key.
class TKeyControl : public vcl::TSpeedButton {
    VCL_DECLARE_CLASS(TKeyControl, vcl::TSpeedButton)
public:
    using vcl::TSpeedButton::TSpeedButton;
    // Unbinds its key, so that the key never refers to a freed button.
    ~TKeyControl() override;

    TKey* Key = nullptr; // not owned; cleared when the key is freed
};

// One key of a layout: a plain object owned by its TKeyCollection. Positions and sizes are in
// layout units; a bound button (Control) shows them at the design scale of 4 pixels per unit.
class TKey : public vcl::TObject {
    VCL_DECLARE_CLASS(TKey, vcl::TObject)
public:
    explicit TKey(TKeyType AKeyType);
    // Frees the key's font and unbinds its button, which stays with its owner and from then on
    // shows no key (a click on it types nothing).
    ~TKey() override;

    // A Level other than klNormal, klShift or klAltGr raises ERangeError.
    vcl::AnsiString GetKeyCaption(TKeyLevel Level) const;
    vcl::AnsiString GetKeyValue(TKeyLevel Level) const;
    // The button keeps showing its old caption until UpdateControl.
    void SetKeyCaption(TKeyLevel Level, vcl::AnsiString Value);
    void SetKeyValue(TKeyLevel Level, vcl::AnsiString Value);
    // Only a normal key types characters, so any other type drops the values.
    void SetKeyType(TKeyType Value);

    // These move, resize, enable or show the bound button at once.
    void SetLeft(int32_t Value);
    void SetTop(int32_t Value);
    void SetWidth(TKeyWidth Value);
    void SetHeight(TKeyHeight Value);
    void SetEnabled(bool Value);
    void SetVisible(bool Value);
    // Copies the attributes of Value into the key's own font (and the button's); the caller
    // keeps Value.
    void SetFont(vcl::TFont* Value);

    // Binds AControl to this key both ways and shows the whole key on it. A key is bound to one
    // button at a time: the button bound before and the key AControl showed before are unbound.
    void AssignControl(TKeyControl* AControl);
    // Shows the whole key on the bound button again, after in-place changes of captions, type
    // or font; does nothing when no button is bound.
    void UpdateControl();

    TKeyLevelCaption KeyCaption;
    TKeyType KeyType;
    TKeyLevelValue KeyValue;
    TKeyControl* Control = nullptr; // not owned; cleared when the button is freed
    int32_t Top = 0;
    int32_t Left = 0;
    TKeyWidth Width = 8;
    TKeyHeight Height = 8;
    bool Visible = true;
    bool Enabled = true;
    vcl::TFont* const Font; // owned (it is fontObject_); changed only through Assign

private:
    // The key's font lives inside the key: one allocation per key instead of two.
    vcl::TFont fontObject_;
};

// The ordered keys of one layout. The collection owns them and is their only reader and writer:
// as a layout stream (LoadKeys, WriteKeys), as a layout file, and inside a form stream as the
// defined property "Items".
class TKeyCollection : public vcl::TPersistent {
    VCL_DECLARE_CLASS(TKeyCollection, vcl::TPersistent)
public:
    TKeyCollection();
    ~TKeyCollection() override;

    // Appends Key and takes it over. The same key may be added more than once.
    void AddKey(TKey* Key);
    // An index outside 0 to count - 1 raises EListError.
    TKey* GetItem(int Index) const;
    int GetCount() const;
    // Take a key out of the list without freeing it; DeleteKey(Key) removes only the first
    // entry that refers to Key and ignores a key that is not there.
    void DeleteKey(int Index);
    void DeleteKey(TKey* Key);
    // Free a key. Every entry that refers to it is removed first, so a key added twice is
    // freed once and leaves no dangling entry. A Key that is not in the list is freed as well.
    void DeleteAndFreeKey(int Index);
    void DeleteAndFreeKey(TKey* Key);
    // Frees the keys first to last.
    void DeleteAllKeys();

    // Reads one layout stream and appends its keys. On a read error the keys read completely
    // stay, in stream order, and the error propagates.
    void LoadKeys(vcl::TReader* Reader);
    // Writes all keys as one layout stream.
    void WriteKeys(vcl::TWriter* Writer);
    void DefineProperties(vcl::TFiler* Filer) override;

    // Empties the collection, then reads the layout file (EFOpenError when it cannot be opened).
    void LoadFromFile(const vcl::AnsiString& FileName);
    // Writes the layout file as a whole (TSaveFileStream): a failed save leaves the old file
    // intact wherever the file can be replaced rather than written in place.
    void SaveToFile(const vcl::AnsiString& FileName);

private:
    vcl::TList list_;
};

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

    // Buttons.
    void ReCreateControls();
    void CreateControls();
    void FreeAllControls();
    void ReCreateKeys();
    // The geometry pass: scales the layout so that the buttons fill the client area, less a margin
    // of 16 pixels on the right and 8 at the bottom.
    void ResizeKeyboard();

    // Layout files. LoadKeyLayout raises "File %s not found!" and changes nothing when the file
    // does not exist; the new buttons stand at their natural size until the next resize.
    void LoadKeyLayout(const vcl::AnsiString& FileName);
    void SaveKeyLayout(const vcl::AnsiString& FileName);
    // Replaces the layout by the built-in layout Name, rebuilds the buttons and lays them out; a
    // name without a layout raises EResNotFound and changes nothing.
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
};

} // namespace quimbel
