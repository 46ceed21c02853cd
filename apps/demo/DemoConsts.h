#pragma once
// Messages of quimbel-demo.

#include "rtl/ResStrings.h"

namespace quimbel::demo::consts {

using vcl::TResStringRec;

inline const TResStringRec SUnknownLayout{
    "SUnknownLayout", "unknown layout \"%s\" (built in: %s; or a .kly file)"};
inline const TResStringRec SNotAnsi{"SNotAnsi", "no key can type the text: %s"};
inline const TResStringRec SNoKeyFor{"SNoKeyFor", "no key of this layout types \"%s\""};
inline const TResStringRec SScreenshotError{"SScreenshotError", "%s: cannot write the screenshot"};
inline const TResStringRec STypedOther{"STypedOther", "the edit box holds \"%s\", expected \"%s\""};

} // namespace quimbel::demo::consts
