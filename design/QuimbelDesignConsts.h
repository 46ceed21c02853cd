#pragma once
// Messages of the QuimbelDesign package.

#include "rtl/ResStrings.h"

namespace quimbel {

inline const vcl::TResStringRec SClearAllKeysPrompt{"SClearAllKeysPrompt",
                                                    "All keys will be deleted! Proceed?"};
inline const vcl::TResStringRec SSetAllKeysFontPrompt{
    "SSetAllKeysFontPrompt", "This will set the font for ALL existing keys! Proceed?"};
// The status line of the code page: the page and what it is for.
inline const vcl::TResStringRec SCodePageStatus{"SCodePageStatus", "  code page %d (%s)"};

} // namespace quimbel
