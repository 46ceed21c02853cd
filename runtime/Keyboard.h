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

#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

namespace quimbel {

// Event types of the keyboard, raised from inside a click.
using TKeyEvent = vcl::TEvent<void(vcl::TObject* Sender, TKey* Key, TKeyLevel KeyLevel,
                                   vcl::AnsiString KeyValue)>;
using TShiftStateChange = vcl::TEvent<void(vcl::TObject* Sender, bool ShiftOn)>;
using TCapsStateChange = vcl::TEvent<void(vcl::TObject* Sender, bool CapsOn)>;
using TAltGrStateChange = vcl::TEvent<void(vcl::TObject* Sender, bool AltGrOn)>;
// A key went down (a finger or the mouse touched it), before it types anything.
using TKeyPressedEvent = vcl::TEvent<void(vcl::TObject* Sender, TKey* Key)>;

// Time as the keyboard sees it, for key repeat, long presses and double taps. The keyboard uses
// the widgetset's clock and timers unless a program (a test) gives it a clock of its own.
class TKeyClock {
public:
    virtual ~TKeyClock() = default;
    // Milliseconds of a monotonic clock.
    virtual long long Now() = 0;
    // Calls Fire once, Ms milliseconds from now, for as long as the returned handle lives.
    virtual std::shared_ptr<void> Start(int Ms, std::function<void()> Fire) = 0;
};

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
    void SetHighlightColor(vcl::TColor Value);

    // Assistive input, off by default: switch scanning (rows, then keys, picked by a switch)
    // and dwell (a key is pressed when the pointer rests on it for DwellTime milliseconds).
    // While either is on and the keyboard is shown (not designed), the keyboard feeds its
    // scanner the time (from its clock), the key under the pointer (from the mouse moves it
    // gets) and the switches. Scanner() takes them from a program that feeds them itself.
    TSwitchScanning GetSwitchScanning() const { return FScanner->GetMode(); }
    void SetSwitchScanning(TSwitchScanning Value);
    int GetScanInterval() const { return FScanner->GetInterval(); }
    void SetScanInterval(int Value);
    int GetDwellTime() const { return FScanner->GetDwellTime(); }
    void SetDwellTime(int Value);
    TKeyScanner* Scanner() const { return FScanner.get(); }
    // The switches of scanning: a key pressed anywhere in the application (a virtual-key code; 0
    // for none) and a mouse button pressed on the keyboard. The move switches step only in step
    // scanning. A switch types nothing, and keys and buttons that are no switch work as ever.
    int GetSwitchKey() const { return FSwitchKey; }
    void SetSwitchKey(int Value) { FSwitchKey = Value; }
    int GetMoveSwitchKey() const { return FMoveSwitchKey; }
    void SetMoveSwitchKey(int Value) { FMoveSwitchKey = Value; }
    TSwitchButton GetSwitchButton() const { return FSwitchButton; }
    void SetSwitchButton(TSwitchButton Value) { FSwitchButton = Value; }
    TSwitchButton GetMoveSwitchButton() const { return FMoveSwitchButton; }
    void SetMoveSwitchButton(TSwitchButton Value) { FMoveSwitchButton = Value; }

    // How the widgetset draws the keys: thClassic (the default) or a theme of vcl/Looks.h, whose
    // colours ThemeColors overrides one by one (clDefault keeps the theme's own).
    vcl::TTheme GetTheme() const { return FTheme; }
    void SetTheme(vcl::TTheme Value);
    const vcl::TThemeColors& GetThemeColors() const { return FThemeColors; }
    void SetThemeColors(const vcl::TThemeColors& Value);

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

    // Options for typing on a touch screen, all off by default. Key repeat and long presses
    // work for a finger (MultiTouch) and for the mouse button held down alike.
    //
    // Holding a typing key (characters, Space, Backspace, Delete, arrows) types it after
    // RepeatDelay milliseconds and then RepeatRate times a second until it is released; every
    // repeat types what the first did.
    bool GetKeyRepeat() const { return FKeyRepeat; }
    void SetKeyRepeat(bool Value) { FKeyRepeat = Value; }
    int GetRepeatDelay() const { return FRepeatDelay; }
    void SetRepeatDelay(int Value) { FRepeatDelay = std::max(1, Value); }
    int GetRepeatRate() const { return FRepeatRate; }
    void SetRepeatRate(int Value) { FRepeatRate = std::max(1, Value); }
    // Holding a key that has alternates (KeyAlternates) for RepeatDelay opens a row of them
    // above it instead; lifting the finger on one types it, lifting it elsewhere types nothing.
    bool GetLongPressAlternates() const { return FLongPressAlternates; }
    void SetLongPressAlternates(bool Value) { FLongPressAlternates = Value; }
    // Takes the points of a touch screen one by one: every finger presses its own key, a key
    // types when its own finger lifts, and Shift or Alt Gr held by one finger applies to the
    // keys other fingers tap meanwhile and ends with its finger.
    bool GetMultiTouch() const { return FMultiTouch; }
    void SetMultiTouch(bool Value);
    // Scales each key's font with the keyboard's vertical scale (one layout unit at four pixels
    // keeps the key's own size) and shrinks a caption that still does not fit its key.
    bool GetScaleCaptions() const { return FScaleCaptions; }
    void SetScaleCaptions(bool Value);
    // Two taps of Shift within DoubleTapTime lock it for letters until it is tapped again; two
    // of Alt Gr lock Alt Gr. A locked modifier's button is shown down as well as highlighted.
    bool GetLatchModifiers() const { return FLatchModifiers; }
    void SetLatchModifiers(bool Value) { FLatchModifiers = Value; }
    // Caps Lock shifts only keys whose character at the normal level is a letter.
    bool GetCapsLockLettersOnly() const { return FCapsLockLettersOnly; }
    void SetCapsLockLettersOnly(bool Value);
    // Shows the key a finger holds enlarged above it.
    bool GetKeyPreview() const { return FKeyPreview; }
    void SetKeyPreview(bool Value);
    TKeyPressedEvent OnKeyPressed;

    static constexpr int DoubleTapTime = 400;
    bool GetShiftLocked() const { return FShiftLocked; }
    bool GetAltGrLocked() const { return FAltGrLocked; }

    // The characters a long press on Key offers at Level: those the application set
    // (SetKeyAlternates), else every character of the active code page whose canonical
    // decomposition begins with the key's character at that level, in code-page order.
    vcl::AnsiString KeyAlternates(const TKey* Key, TKeyLevel Level) const;
    // What a click on Key types in the present state (its value at the level it is read at).
    vcl::AnsiString TypedValue(const TKey* Key) const { return levelValue(Key, levelOf(Key)); }
    // Sets the alternates of a key (one byte each; empty for none), or with ResetKeyAlternates
    // lets the keyboard find them again.
    void SetKeyAlternates(TKey* Key, const vcl::AnsiString& Chars) { Key->Alternates = Chars; }
    void ResetKeyAlternates(TKey* Key) { Key->Alternates.reset(); }
    // The keys of the open long-press row (children of the keyboard named AlternateKey1, ...,
    // captioned with their character), left to right; empty while none is open.
    const std::vector<vcl::TSpeedButton*>& GetAlternateKeys() const { return FAlternateKeys; }
    // The enlarged key shown while a finger holds one (KeyPreview), or null.
    vcl::TSpeedButton* GetPreviewKey() const { return FPreview; }
    // The clock used for repeats, long presses and double taps; null: the widgetset's. The
    // keyboard does not own it.
    void SetClock(TKeyClock* Clock);

    bool TakesTouch() const override { return FMultiTouch; }
    // One touch point, in client coordinates (the widgetset's entry, and tests').
    void InputTouch(vcl::TTouchKind Kind, int Id, int X, int Y) override;

    void WndProc(vcl::TMessage& Message) override;

protected:
    void Loaded() override;
    void Resize() override;
    void Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) override;

private:
    struct TTouchPoint {
        int Id = 0;
        TKey* Key = nullptr;
        bool Held = false;           // a Shift or Alt Gr held down by this finger
        bool TypedMeanwhile = false; // another finger typed while it was held
        bool Acted = false;          // the key typed already (it repeated)
        TKeyLevel Level = klNormal;  // the level of its first action, for the repeats
        bool Popup = false;          // the long-press row is open for it
        int Chosen = -1;             // the alternate under the finger
        long long NextAt = -1;       // when it repeats or opens its row next; -1: never
    };

    void highlight(TKey* Key, bool On);
    // Switch scanning and dwell: starts, moves or stops the time and the switch keys after an
    // option changed or the keyboard was shown or hidden.
    void assistChanged();
    void scheduleAssist();
    void assistTick();
    // The pointer came to a key button or left them (null) while dwell is on.
    void dwellOver(TKeyControl* Control);
    // A switch among the keys pressed anywhere, and among the mouse messages of the keyboard
    // and its buttons: true takes the key or message.
    bool switchKey(vcl::Word Key, bool Down, bool Repeat);
    bool switchButton(const vcl::TMessage& Message);
    // Hands theme, colours and highlight colour to the widgetset through the control's look.
    void applyLook();
    // The level a key is read at: the level in force, except that Caps Lock for letters only and
    // a locked Shift read keys other than letters at the normal level.
    TKeyLevel levelOf(const TKey* Key) const;
    TKeyLevel shiftedLevel(const TKey* Key, TKeyLevel Level) const;
    bool isLetterKey(const TKey* Key) const;
    // A key's value and caption at Level in the present state: the stored ones at the level it
    // is read at, or its capital (capsCapital).
    vcl::AnsiString levelValue(const TKey* Key, TKeyLevel Level) const;
    vcl::AnsiString levelCaption(const TKey* Key, TKeyLevel Level) const;
    // With CapsLockLettersOnly and Caps Lock on, a letter key whose Shift level holds something
    // other than its capital (ç and 9 on one key) gives the capital (Ç) where the code page has
    // it, as the system's keymaps do; else empty.
    vcl::AnsiString capsCapital(const TKey* Key, TKeyLevel Level) const;
    // Shows a normal key's caption at the level it is read at in the state Level stands for.
    void showCaption(TKey* Key, TKeyLevel Level);
    // Scales the button's font from the key's by the key's vertical scale, then shrinks it
    // until the caption fits.
    void fitKeyCaption(TKey* Key);
    void fitCaption(vcl::TSpeedButton* Button, const vcl::TFont* Font, double Scale);
    // A tap of Shift or Alt Gr: a toggle, or a lock on the second tap of a double tap.
    void modifierTap(TKey* Key);
    void showLocks();
    TKeyClock& clock();
    TTouchPoint* point(int Id);
    TKey* keyAt(int X, int Y) const;
    void touchDown(int Id, int X, int Y);
    void touchMove(TTouchPoint& P, int X, int Y);
    void touchUp(int Id, int X, int Y, bool Cancel);
    // The mouse held on a key is a touch point of its own for repeats and the row of
    // alternates; the button's click still types an ordinary click. X and Y are the button's.
    void mouseDown(TKey* Key);
    // Holding Key repeats it or opens its alternates.
    bool holdActs(const TKey* Key) const;
    void mouseMove(const TKeyControl* Button, int X, int Y);
    void mouseUp(const TKeyControl* Button, int X, int Y);
    // Whether the button's click after the mouse's release types nothing, the held mouse having
    // typed the key already (repeats, an alternate); asking forgets the answer.
    bool mouseTookClick();
    // Shows the preview of the key the latest finger still holds, or hides it.
    void updatePreview();
    void timerFired();
    void schedule();
    void openAlternates(TTouchPoint& P);
    void closeAlternates();
    void showPreview(TKey* Key);
    void hidePreview();
    void forgetTouches();
    // Types Value as Key at Level: OnKey and the characters, then the release of a one-shot
    // Shift or Alt Gr when Release is set. False when a handler freed the keyboard or the key.
    bool typeValue(TKey* Key, TKeyLevel Level, const vcl::AnsiString& Value, bool Release);
    // Releases a one-shot Shift or Alt Gr after a typed key; false when a handler freed the
    // keyboard or the key.
    bool releaseOneShot(const TKey* Key);
    // The value OnKey reports: Value in the case CharCase asks for.
    vcl::AnsiString reported(const vcl::AnsiString& Value) const;

    bool FShiftState = false;
    bool FCapsState = false;
    bool FAltGrState = false;
    TKeyCollection* FKeys = nullptr;
    vcl::TEditCharCase FCharCase = vcl::ecNormal;
    bool FBeepOnKeyPressed = false;
    vcl::TWinControl* FLinkedControl = nullptr;
    vcl::TColor FHighlightColor = 0;

    bool FKeyRepeat = false;
    int FRepeatDelay = 500;
    int FRepeatRate = 20;
    bool FLongPressAlternates = false;
    bool FMultiTouch = false;
    bool FScaleCaptions = false;
    bool FLatchModifiers = false;
    bool FCapsLockLettersOnly = false;
    bool FKeyPreview = false;
    bool FShiftLocked = false;
    bool FAltGrLocked = false;
    int FHeldShift = 0; // fingers holding Shift down
    int FHeldAltGr = 0;
    long long FLastShiftTap = -1;
    long long FLastAltGrTap = -1;
    TKeyClock* FClock = nullptr;
    std::unique_ptr<TKeyClock> FOwnClock;
    std::vector<TTouchPoint> FPoints;
    std::shared_ptr<void> FTimer;
    std::vector<vcl::TSpeedButton*> FAlternateKeys;
    vcl::AnsiString FAlternateChars;
    vcl::TSpeedButton* FPreview = nullptr;
    std::unique_ptr<TKeyScanner> FScanner;
    std::shared_ptr<void> FAssistTimer;
    long long FAssistLast = 0; // when the scanner was last given the time
    std::shared_ptr<void> FKeyHook;
    int FSwitchKey = vcl::VK_SPACE;
    int FMoveSwitchKey = vcl::VK_RETURN;
    TSwitchButton FSwitchButton = sbLeft;
    TSwitchButton FMoveSwitchButton = sbRight;
    vcl::TTheme FTheme = vcl::thClassic;
    vcl::TThemeColors FThemeColors;
};

// Replaces the keys of Keyboard by the layout read (the collection stays the same object),
// rebuilds the buttons and lays them out; a failed read raises its error and changes nothing.
// This is how the package's own helpers show a layout, from a built-in name or a file alike.
void TakeLayout(TKeyboard* Keyboard, TLayoutRead& Read);

} // namespace quimbel
