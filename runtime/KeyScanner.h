#pragma once
// Assistive input for a TKeyboard, free of any toolkit so that it runs the same headless and
// under a widgetset: switch scanning and dwell. The host feeds it time (Advance), switch presses
// (Switch) and the key under the pointer (PointerOver); the scanner marks the buttons it works
// with (TSpeedButton::SetAssistMark) and presses a key exactly as a click does.

#include "Keys.h"

#include <cstdint>
#include <memory>

namespace quimbel {

class TKeyboard;

// How switch scanning runs: not at all, one switch with automatic stepping at the scan
// interval, or two switches where one steps and the other picks.
enum TSwitchScanning : uint8_t { ssNone, ssAutomatic, ssStep };
extern const vcl::TEnumInfo TypeInfoSwitchScanning;

// The two switches of step scanning; one-switch scanning knows only swSelect.
enum TScanSwitch { swSelect, swMove };

// A mouse button that is a switch, or none.
enum TSwitchButton : uint8_t { sbNone, sbLeft, sbRight, sbMiddle };
extern const vcl::TEnumInfo TypeInfoSwitchButton;

class TKeyScanner {
public:
    explicit TKeyScanner(TKeyboard* Keyboard);
    TKeyScanner(const TKeyScanner&) = delete;
    TKeyScanner& operator=(const TKeyScanner&) = delete;
    ~TKeyScanner();

    TSwitchScanning GetMode() const { return mode_; }
    // Turning scanning on starts at the first row; turning it off clears the marks.
    void SetMode(TSwitchScanning Value);
    // Milliseconds between two steps of automatic scanning (at least 1).
    int GetInterval() const { return interval_; }
    void SetInterval(int Value) { interval_ = Value < 1 ? 1 : Value; }
    // Milliseconds the pointer rests on a key before it is pressed; 0 turns dwell off.
    int GetDwellTime() const { return dwellTime_; }
    void SetDwellTime(int Value);

    // Time passes: automatic scanning steps at its interval, dwell progress grows.
    void Advance(int Milliseconds);
    // How long Advance may wait before it changes something: the next step of automatic
    // scanning, or while dwell is on the next step of its progress bar; -1 when time changes
    // nothing.
    int NextTime() const;
    // A switch was pressed. swSelect picks the row, then presses the key; swMove steps (step
    // scanning only).
    void Switch(TScanSwitch Which);
    // The key button under the pointer, or null; a key is pressed by dwell once per rest on it.
    void PointerOver(TKeyControl* Control);
    // Whether dwell rests on Control now (null: on no key).
    bool DwellsOn(const TKeyControl* Control) const {
        return Control == dwellControl_ && (!Control || (dwellAlive_ && *dwellAlive_));
    }

    // While rows are scanned: the row in turn (0 is the top row) and -1 for the key. While the
    // keys of a picked row are scanned: that row and the key in turn.
    int CurrentRow() const { return row_; }
    int CurrentKey() const { return key_; }
    // The key selected now (keys phase) or null.
    TKey* SelectedKey() const;
    // Rescans the layout, after keys were added, removed or moved.
    void Restart();

private:
    struct Rows;
    Rows rows() const;
    void step();
    void showMarks();
    void press(TKeyControl* Control);

    TKeyboard* keyboard_;
    TSwitchScanning mode_ = ssNone;
    int interval_ = 1000;
    int elapsed_ = 0;
    int row_ = 0;
    int key_ = -1;
    int dwellTime_ = 0;
    int dwellElapsed_ = 0;
    TKeyControl* dwellControl_ = nullptr;
    std::shared_ptr<const bool> dwellAlive_;
    bool dwellArmed_ = false;
};

} // namespace quimbel
