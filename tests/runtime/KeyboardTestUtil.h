#pragma once
// Helpers for the keyboard tests: a control that records the messages it receives, layouts built
// in code, and clicks on key buttons through the headless input path.

#include "KeyTestUtil.h"

#include "vcl/Controls.h"
#include "vcl/Messages.h"

#include <cstdio>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

namespace keytest {

// Records WM_CHAR and WM_KEYDOWN as "WM_CHAR 0x61" / "WM_KEYDOWN 0x25", in order.
class TRecorder : public vcl::TWinControl {
public:
    explicit TRecorder(vcl::TComponent* AOwner) : vcl::TWinControl(AOwner) {}
    void WndProc(vcl::TMessage& Message) override {
        if (Message.Msg == vcl::WM_CHAR || Message.Msg == vcl::WM_KEYDOWN) {
            char text[32];
            std::snprintf(text, sizeof text, "%s 0x%02X",
                          Message.Msg == vcl::WM_CHAR ? "WM_CHAR" : "WM_KEYDOWN",
                          static_cast<unsigned>(Message.WParam));
            Log->push_back(text);
            if (OnMessage) {
                // The handler may free this control.
                const auto alive = LifeToken();
                const std::function<void()> handler = OnMessage;
                handler();
                if (!*alive) return;
            }
        }
        vcl::TWinControl::WndProc(Message);
    }
    std::vector<std::string>* Log = nullptr;
    std::function<void()> OnMessage;
};

// A key with type, position and size in layout units.
inline quimbel::TKey* PlacedKey(quimbel::TKeyType type, int left, int top, int width = 8,
                                int height = 8) {
    auto* key = new quimbel::TKey(type);
    key->SetLeft(left);
    key->SetTop(top);
    key->SetWidth(static_cast<quimbel::TKeyWidth>(width));
    key->SetHeight(static_cast<quimbel::TKeyHeight>(height));
    return key;
}

// Presses and releases the left button in the middle of a button of the keyboard.
inline void ClickButton(quimbel::TKeyboard& keyboard, vcl::TControl* button) {
    int x = button->GetLeft() + button->GetWidth() / 2;
    int y = button->GetTop() + button->GetHeight() / 2;
    keyboard.InputMouseDown(vcl::mbLeft, {}, x, y);
    keyboard.InputMouseUp(vcl::mbLeft, {}, x, y);
}

inline void Click(quimbel::TKeyboard& keyboard, quimbel::TKey* key) {
    ClickButton(keyboard, key->Control);
}

struct Bounds {
    int Left, Top, Width, Height;
    bool operator==(const Bounds& o) const {
        return Left == o.Left && Top == o.Top && Width == o.Width && Height == o.Height;
    }
};
inline Bounds BoundsOf(const quimbel::TKey* key) {
    const vcl::TControl* b = key->Control;
    return {b->GetLeft(), b->GetTop(), b->GetWidth(), b->GetHeight()};
}
inline std::ostream& operator<<(std::ostream& os, const Bounds& b) {
    return os << "(" << b.Left << ", " << b.Top << ", " << b.Width << ", " << b.Height << ")";
}

} // namespace keytest
