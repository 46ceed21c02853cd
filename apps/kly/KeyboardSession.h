#pragma once
// What the kly commands that run a keyboard share: the --size option and a headless TKeyboard
// that holds a layout file, sized and laid out as an application would show it.

#include "KeyboardConsts.h"
#include "KlyConsts.h"
#include "LayoutFile.h"

#include <CLI/CLI.hpp>

#include <memory>
#include <string>

namespace kly {

struct TPixelSize {
    int Width = 400;
    int Height = 80;
};

// The largest width or height that --size takes.
constexpr int MaxPixelSize = 32767;

// Reads "WxH" (two decimal numbers from 1 to MaxPixelSize); false for anything else.
inline bool ParsePixelSize(const std::string& Text, TPixelSize& Size) {
    const size_t x = Text.find('x');
    if (x == std::string::npos) return false;
    auto number = [](const std::string& Digits, int& Out) {
        if (Digits.empty() || Digits.size() > 5) return false;
        Out = 0;
        for (char c : Digits) {
            if (c < '0' || c > '9') return false;
            Out = Out * 10 + (c - '0');
        }
        return Out >= 1 && Out <= MaxPixelSize;
    };
    TPixelSize parsed;
    if (!number(Text.substr(0, x), parsed.Width) || !number(Text.substr(x + 1), parsed.Height))
        return false;
    Size = parsed;
    return true;
}

// Declares --size on a command; a malformed value is a usage error.
inline CLI::Option* AddSizeOption(CLI::App& Sub, std::string& Text, const std::string& Help) {
    return Sub.add_option("--size", Text, Help)
        ->type_name("WxH")
        ->check(CLI::Validator(
            [](std::string& Value) -> std::string {
                TPixelSize size;
                if (ParsePixelSize(Value, size)) return {};
                return vcl::FmtLoadStr(consts::SSizeExpected, {MaxPixelSize, Value});
            },
            "WxH"));
}

// Gives Keyboard the layout of File at a client area of Size pixels, with the buttons built and
// laid out. A layout file that cannot be read raises EKlyError (or the file's EFOpenError), and
// the keyboard keeps what it had.
inline void LoadKeyboard(quimbel::TKeyboard& Keyboard, const std::string& File,
                         const TPixelSize& Size) {
    auto keys = std::make_unique<quimbel::TKeyCollection>();
    TLayoutReadResult result = ReadLayoutFile(File, *keys);
    if (!result.Ok)
        throw EKlyError(
            vcl::FmtLoadStr(consts::SLayoutError, {File, static_cast<long long>(result.ErrorOffset),
                                                   result.ErrorMessage}));
    // The keyboard has no border or bevel, so its bounds are its client area.
    Keyboard.SetBounds(0, 0, Size.Width, Size.Height);
    Keyboard.SetKeys(keys.release());
}

} // namespace kly
