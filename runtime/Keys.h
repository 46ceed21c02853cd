#pragma once
// The key model of unit Keyboard: the key types and levels, TKey, the button TKeyControl that
// shows a key, and the key collection that owns the keys of a layout.

#include "rtl/Classes.h"
#include "rtl/Filer.h"
#include "vcl/Buttons.h"
#include "vcl/Graphics.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>

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

// What a person calls a key of the type ("Enter", "Left arrow"); for a normal key the name of a
// blank character key ("Space" for a space) or empty.
vcl::AnsiString SpokenKeyName(TKeyType Type, const vcl::AnsiString& Value);

// Pixels per layout unit at the design scale: keys stand at this scale until a keyboard stretches
// them, and the layout designers always show them so.
inline constexpr int PixelsPerUnit = 4;

// Key sizes in layout units; declared 1 to 80, always read unsigned.
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
    // A key's button refers to no sibling, so creating and freeing the buttons of a large layout
    // does not notify every other button.
    explicit TKeyControl(vcl::TComponent* AOwner);
    // Unbinds its key, so that the key never refers to a freed button.
    ~TKeyControl() override;
    // The caption shown at the level in force, what a person calls the key when it shows a
    // symbol or nothing, and for Shift, Caps Lock and Alt Gr whether they are on.
    bool GetAccessibleInfo(vcl::TAccessibleInfo& Info) const override;
    // A message TakeMessage returns true for never reaches the button: the keyboard takes a
    // press that is a switch of switch scanning, so that it does not type the key underneath.
    void WndProc(vcl::TMessage& Message) override;

    TKey* Key = nullptr; // not owned; cleared when the key is freed
    std::function<bool(const vcl::TMessage&)> TakeMessage;
};

// One key of a layout: a plain object owned by its TKeyCollection. Positions and sizes are in
// layout units; a bound button (Control) shows them at PixelsPerUnit.
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
    // The characters a long press offers, one byte each, when the application set them (empty:
    // none); unset, the keyboard finds them in the code page. Never streamed.
    std::optional<vcl::AnsiString> Alternates;
    vcl::TFont* const Font; // owned (it is fontObject_); changed only through Assign

private:
    // The key's font lives inside the key: one allocation per key instead of two.
    vcl::TFont fontObject_;
};

// The ordered keys of one layout. The collection owns them and is their only reader and writer:
// as a layout stream (LoadKeys, WriteKeys), as a layout file, and inside a form stream as the
// defined property "Items". Reading and writing live in the layout stream unit (LayoutStream.cpp),
// driven by the record description of LayoutRecord.h.
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

    // Replaces the keys by those of the layout file. A failed read leaves the keys read completely
    // before the error (none when the file cannot be opened: EFOpenError).
    void LoadFromFile(const vcl::AnsiString& FileName);
    // Writes the layout file as a whole (TSaveFileStream): a failed save leaves the old file
    // intact wherever the file can be replaced rather than written in place.
    void SaveToFile(const vcl::AnsiString& FileName);

private:
    friend class TLayoutRead; // hands the keys it read over without copying them

    vcl::TList list_;
};

} // namespace quimbel
