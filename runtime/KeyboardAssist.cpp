// Switch scanning and dwell on the keyboard itself: the time from the keyboard's clock, the
// switches from the keys pressed anywhere in the application and the mouse pressed on the
// keyboard, for as long as the keyboard is shown.

#include "Keyboard.h"

#include "rtl/SysUtils.h"
#include "vcl/KeyHooks.h"

namespace quimbel {

namespace {

// The messages of each mouse button: a press, the second press of a double click, the release.
constexpr struct {
    TSwitchButton Button;
    unsigned Down, Double, Up;
} buttonMessages[] = {{sbLeft, vcl::WM_LBUTTONDOWN, vcl::WM_LBUTTONDBLCLK, vcl::WM_LBUTTONUP},
                      {sbRight, vcl::WM_RBUTTONDOWN, vcl::WM_RBUTTONDBLCLK, vcl::WM_RBUTTONUP},
                      {sbMiddle, vcl::WM_MBUTTONDOWN, vcl::WM_MBUTTONDBLCLK, vcl::WM_MBUTTONUP}};

} // namespace

void TKeyboard::SetSwitchScanning(TSwitchScanning Value) {
    FScanner->SetMode(Value);
    assistChanged();
}

void TKeyboard::SetScanInterval(int Value) {
    FScanner->SetInterval(Value);
    assistChanged();
}

void TKeyboard::SetDwellTime(int Value) {
    FScanner->SetDwellTime(Value);
    // Dwell starts when the pointer next comes to a key, never on one it rested on before.
    FScanner->PointerOver(nullptr);
    assistChanged();
}

void TKeyboard::WndProc(vcl::TMessage& Message) {
    if (Message.Msg == vcl::CM_SHOWINGCHANGED)
        assistChanged();
    else if (switchButton(Message))
        return;
    vcl::TCustomPanel::WndProc(Message);
}

void TKeyboard::assistChanged() {
    // A keyboard being designed or loaded shows its options but does nothing with them.
    const bool running = Showing() && !IsLoading() && !ComponentState().Contains(vcl::csDesigning);
    if (running && GetSwitchScanning() != ssNone) {
        if (!FKeyHook)
            FKeyHook = vcl::HookKeys([this](vcl::Word Key, bool Down, bool Repeat) {
                return switchKey(Key, Down, Repeat);
            });
    } else {
        FKeyHook.reset();
    }
    if (!running) {
        // Shown again, the keyboard waits for the pointer to come to a key.
        if (GetDwellTime() > 0) FScanner->PointerOver(nullptr);
        FAssistTimer.reset();
        return;
    }
    scheduleAssist();
}

void TKeyboard::scheduleAssist() {
    const int wait = FScanner->NextTime();
    if (wait < 0) {
        FAssistTimer.reset();
        return;
    }
    const long long now = clock().Now();
    // Time passes for the scanner only while its timer runs.
    if (!FAssistTimer) FAssistLast = now;
    const long long due = FAssistLast + wait;
    FAssistTimer =
        clock().Start(static_cast<int>(std::max(0LL, due - now)), [this] { assistTick(); });
}

void TKeyboard::assistTick() {
    const long long now = clock().Now();
    const int elapsed = static_cast<int>(now - FAssistLast);
    FAssistLast = now;
    // Time may press a key, and its handler free the keyboard or raise; the time goes on.
    const auto alive = LifeToken();
    vcl::TFinally next([&] {
        if (*alive) scheduleAssist();
    });
    FScanner->Advance(elapsed);
}

void TKeyboard::dwellOver(TKeyControl* Control) {
    if (FScanner->DwellsOn(Control)) return;
    // The time since the last tick passed where the pointer was before, so that a rest on the
    // new key counts from now and never ends early. Ticking now may press a key and its
    // handler free the keyboard.
    if (FAssistTimer) {
        const auto alive = LifeToken();
        assistTick();
        if (!*alive) return;
    }
    FScanner->PointerOver(Control);
}

bool TKeyboard::switchKey(vcl::Word Key, bool Down, bool Repeat) {
    const bool select = Key == FSwitchKey;
    if (!select && !(Key == FMoveSwitchKey && GetSwitchScanning() == ssStep)) return false;
    // A switch held down acts once.
    if (Down && !Repeat) FScanner->Switch(select ? swSelect : swMove);
    return true;
}

bool TKeyboard::switchButton(const vcl::TMessage& Message) {
    if (GetSwitchScanning() == ssNone || ComponentState().Contains(vcl::csDesigning)) return false;
    for (const auto& m : buttonMessages) {
        if (Message.Msg != m.Down && Message.Msg != m.Double && Message.Msg != m.Up) continue;
        const bool select = m.Button == FSwitchButton;
        if (!select && !(m.Button == FMoveSwitchButton && GetSwitchScanning() == ssStep))
            return false;
        if (Message.Msg != m.Up) FScanner->Switch(select ? swSelect : swMove);
        return true;
    }
    return false;
}

} // namespace quimbel
