#pragma once
// The --size WIDTHxHEIGHT option of the programs that picture their window.

#include <CLI/CLI.hpp>

#include <cstdio>
#include <string>

namespace quimbel {

inline CLI::Option* AddSizeOption(CLI::App& App, std::string& Size) {
    return App
        .add_option("--size", Size, "Client size of the window, WIDTHxHEIGHT (with --screenshot)")
        ->check(CLI::Validator(
            [](std::string& s) {
                int w = 0, h = 0;
                char x = 0;
                return std::sscanf(s.c_str(), "%d%c%d", &w, &x, &h) == 3 && x == 'x' && w > 0 &&
                               h > 0
                           ? std::string()
                           : "expected WIDTHxHEIGHT, for example 640x480";
            },
            "WIDTHxHEIGHT"));
}

// The width and height of a checked --size value.
inline void ParseSize(const std::string& Size, int& Width, int& Height) {
    std::sscanf(Size.c_str(), "%dx%d", &Width, &Height);
}

} // namespace quimbel
