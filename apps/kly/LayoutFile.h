#pragma once
// Reading layout files for the kly commands: the keys, and for a broken layout stream where it
// breaks and why.

#include "runtime/Keyboard.h"

#include <cstdint>

namespace kly {

struct TLayoutReadResult {
    bool Ok = true;
    // Offset of the value that could not be read, and the reader's message.
    int64_t ErrorOffset = 0;
    vcl::AnsiString ErrorMessage;
    // Bytes after the end of the layout stream, which the library ignores.
    int64_t TrailingBytes = 0;
};

// Appends the layout in Stream (from its current position) to Keys. A broken stream is
// reported in the result; Keys then holds the keys read completely before the break.
TLayoutReadResult ReadLayout(vcl::TStream* Stream, quimbel::TKeyCollection& Keys);

// The same for a file; a file that cannot be opened raises EFOpenError.
TLayoutReadResult ReadLayoutFile(const vcl::AnsiString& FileName, quimbel::TKeyCollection& Keys);

} // namespace kly
