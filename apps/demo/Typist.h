#pragma once
// Typing a text on the keyboard as a person would: which key buttons to click, Shift and Alt Gr
// included. Independent of the widgetset; the caller decides how a click is made.

#include "runtime/Keyboard.h"

#include <vector>

namespace quimbel::demo {

struct TTypingPlan {
    // The keys to click, in order.
    std::vector<TKey*> Keys;
    // Empty when the whole text can be typed; otherwise the first part of the text that no key
    // of the layout types.
    vcl::AnsiString Missing;
};

// Plans the clicks that type Text on Keyboard, starting in its Normal state. Each piece of the
// text is typed by the visible, enabled normal key whose value at some level is the longest
// that matches there, the normal level preferred over Shift and Shift over Alt Gr; a Shift or
// Alt Gr key is clicked first when the level needs it (both release themselves after the key).
TTypingPlan PlanTyping(const TKeyboard& Keyboard, const vcl::AnsiString& Text);

} // namespace quimbel::demo
