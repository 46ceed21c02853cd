#pragma once
// Clicking the keys of a headless keyboard that kly press names: "#N" for the key at index N,
// anything else for the key with that caption at the level in force.

#include "runtime/Keyboard.h"

#include <string>

namespace kly {

// The key Arg names; raises EKlyError naming argument ArgNo when there is none.
quimbel::TKey* FindKey(const quimbel::TKeyboard& Keyboard, const std::string& Arg, int ArgNo);

// Presses and releases the pointer in the middle of the key's button; raises EKlyError when a
// user could not click it there.
void ClickKey(quimbel::TKeyboard& Keyboard, quimbel::TKey* Key, int ArgNo);

// Finds and clicks the key Arg names. A character that the code page writes as a letter and a
// combining mark (ấ in 1258) and that no key shows whole takes a click on the key of each.
void PressArgument(quimbel::TKeyboard& Keyboard, const std::string& Arg, int ArgNo);

} // namespace kly
