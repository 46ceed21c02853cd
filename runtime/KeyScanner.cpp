#include "KeyScanner.h"

#include "Keyboard.h"

#include <algorithm>
#include <map>
#include <vector>

namespace quimbel {

const vcl::TEnumInfo TypeInfoSwitchScanning{"TSwitchScanning", {"ssNone", "ssAutomatic", "ssStep"}};
const vcl::TEnumInfo TypeInfoSwitchButton{"TSwitchButton",
                                          {"sbNone", "sbLeft", "sbRight", "sbMiddle"}};

namespace {
// Often enough for a dwell bar that fills smoothly.
constexpr int DwellStep = 40;
} // namespace

// The keys a person can pick, row by row: keys that show on a button and can be clicked,
// grouped by their top edge, each row from left to right. Built afresh at every step, so a
// layout that changes between two steps never leaves a dangling key behind.
struct TKeyScanner::Rows {
    std::vector<std::vector<TKey*>> Keys;
};

TKeyScanner::TKeyScanner(TKeyboard* Keyboard) : keyboard_(Keyboard) {}

TKeyScanner::~TKeyScanner() = default;

TKeyScanner::Rows TKeyScanner::rows() const {
    std::map<int32_t, std::vector<TKey*>> byTop;
    TKeyCollection* keys = keyboard_->GetKeys();
    for (int i = 0; i < keys->GetCount(); ++i) {
        TKey* key = keys->GetItem(i);
        if (key->Control && key->Visible && key->Enabled) byTop[key->Top].push_back(key);
    }
    Rows result;
    for (auto& [top, row] : byTop) {
        (void)top;
        std::stable_sort(row.begin(), row.end(),
                         [](const TKey* a, const TKey* b) { return a->Left < b->Left; });
        result.Keys.push_back(std::move(row));
    }
    return result;
}

TKey* TKeyScanner::SelectedKey() const {
    if (mode_ == ssNone || key_ < 0) return nullptr;
    const Rows r = rows();
    if (row_ >= static_cast<int>(r.Keys.size())) return nullptr;
    const auto& row = r.Keys[static_cast<size_t>(row_)];
    return key_ < static_cast<int>(row.size()) ? row[static_cast<size_t>(key_)] : nullptr;
}

void TKeyScanner::SetMode(TSwitchScanning Value) {
    if (mode_ == Value) return;
    mode_ = Value;
    Restart();
}

void TKeyScanner::Restart() {
    row_ = 0;
    key_ = -1;
    elapsed_ = 0;
    showMarks();
}

void TKeyScanner::SetDwellTime(int Value) {
    dwellTime_ = Value < 0 ? 0 : Value;
    dwellElapsed_ = 0;
    showMarks();
}

void TKeyScanner::showMarks() {
    const TKey* selected = SelectedKey();
    const Rows r = rows();
    const std::vector<TKey*>* row =
        mode_ != ssNone && key_ < 0 && row_ < static_cast<int>(r.Keys.size())
            ? &r.Keys[static_cast<size_t>(row_)]
            : nullptr;
    const bool dwelling = dwellTime_ > 0 && dwellAlive_ && *dwellAlive_ && dwellArmed_;
    TKeyCollection* keys = keyboard_->GetKeys();
    for (int i = 0; i < keys->GetCount(); ++i) {
        TKey* key = keys->GetItem(i);
        if (!key->Control) continue;
        vcl::TAssistMark mark;
        mark.Selected =
            key == selected || (row && std::find(row->begin(), row->end(), key) != row->end());
        if (dwelling && key->Control == dwellControl_)
            mark.Progress = std::min(100, dwellElapsed_ * 100 / dwellTime_);
        key->Control->SetAssistMark(mark);
    }
}

void TKeyScanner::step() {
    const Rows r = rows();
    if (r.Keys.empty()) return;
    if (key_ < 0) {
        row_ = (row_ + 1) % static_cast<int>(r.Keys.size());
    } else {
        // One step past the last key goes back to the rows, so a missed key costs one round.
        const int count = static_cast<int>(r.Keys[static_cast<size_t>(row_)].size());
        if (++key_ >= count) key_ = -1;
    }
    showMarks();
}

void TKeyScanner::Advance(int Milliseconds) {
    if (mode_ == ssAutomatic) {
        elapsed_ += Milliseconds;
        while (elapsed_ >= interval_) {
            elapsed_ -= interval_;
            step();
        }
    }
    if (dwellTime_ > 0 && dwellArmed_ && dwellAlive_ && *dwellAlive_) {
        dwellElapsed_ += Milliseconds;
        if (dwellElapsed_ >= dwellTime_) {
            // One press per rest: the pointer has to leave the key before it presses again.
            dwellArmed_ = false;
            dwellElapsed_ = 0;
            showMarks();
            press(dwellControl_);
            return;
        }
        showMarks();
    }
}

int TKeyScanner::NextTime() const {
    int next = mode_ == ssAutomatic ? std::max(0, interval_ - elapsed_) : -1;
    if (dwellTime_ > 0) next = next < 0 ? DwellStep : std::min(next, DwellStep);
    return next;
}

void TKeyScanner::Switch(TScanSwitch Which) {
    if (mode_ == ssNone) return;
    if (Which == swMove) {
        if (mode_ == ssStep) step();
        return;
    }
    const Rows r = rows();
    if (r.Keys.empty() || row_ >= static_cast<int>(r.Keys.size())) return;
    elapsed_ = 0;
    if (key_ < 0) {
        key_ = 0;
        showMarks();
        return;
    }
    TKey* key = SelectedKey();
    // Scanning starts over from the top row for the next key.
    row_ = 0;
    key_ = -1;
    showMarks();
    if (key) press(key->Control);
}

void TKeyScanner::PointerOver(TKeyControl* Control) {
    if (Control == dwellControl_ && dwellAlive_ && *dwellAlive_) return;
    dwellControl_ = Control;
    dwellAlive_ = Control ? Control->LifeToken() : nullptr;
    dwellElapsed_ = 0;
    dwellArmed_ = Control != nullptr;
    showMarks();
}

void TKeyScanner::press(TKeyControl* Control) {
    // The click may free the keyboard and this scanner with it (a handler of OnKey).
    const auto alive = keyboard_->LifeToken();
    Control->Click();
    if (*alive) showMarks();
}

} // namespace quimbel
