#pragma once
// Messages of the Quimbel package.

#include "rtl/ResStrings.h"

namespace quimbel {

inline const vcl::TResStringRec SFileNotFound{"SFileNotFound", "File %s not found!"};
inline const vcl::TResStringRec SInvalidDelta{"SInvalidDelta",
                                              "A \"Delta\" value of %d is invalid"};
inline const vcl::TResStringRec SKeyLevelOutOfRange{"SKeyLevelOutOfRange",
                                                    "Key level %d out of range"};

} // namespace quimbel
