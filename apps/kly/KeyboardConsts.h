#pragma once
// Messages of the kly commands that run a keyboard (geometry, press, render).

#include "rtl/ResStrings.h"

namespace kly::consts {

using vcl::TResStringRec;

inline const TResStringRec SSizeExpected{
    "SSizeExpected",
    "expected WIDTHxHEIGHT in pixels, each from 1 to %d (e.g. 400x80), not \"%s\""};
inline const TResStringRec SKeyIndexRange{
    "SKeyIndexRange", "argument %d: no key %s: the layout has %d keys (#0 to #%d)"};
inline const TResStringRec SKeyNotFound{
    "SKeyNotFound", "argument %d: no key with the caption \"%s\" at level %d (%s)"};
inline const TResStringRec SKeyNotClickable{"SKeyNotClickable",
                                            "argument %d: key #%d (\"%s\") cannot be clicked: %s"};
inline const TResStringRec SKeyHidden{"SKeyHidden", "it is hidden"};
inline const TResStringRec SKeyDisabled{"SKeyDisabled", "it is disabled"};
inline const TResStringRec SKeyNoArea{"SKeyNoArea", "its button has no area at this size"};
inline const TResStringRec SKeyCovered{"SKeyCovered", "another key's button covers its middle"};
inline const TResStringRec SRenderTooLarge{"SRenderTooLarge",
                                           "a picture can be at most %d x %d pixels"};
inline const TResStringRec SRenderWriteError{"SRenderWriteError", "%s: cannot write the picture"};

} // namespace kly::consts
