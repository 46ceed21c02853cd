#pragma once
// Messages and texts of the layout editor.

#include "rtl/ResStrings.h"

namespace quimbel::layouteditor::consts {

using vcl::TResStringRec;

// The window title: the modified mark ("*" or nothing), then the file's name. The dash is an
// en dash in Windows-1252.
inline const TResStringRec STitle{"STitle", "%s%s \x96 Quimbel Layout Editor"};
inline const TResStringRec SUntitled{"SUntitled", "untitled.kly"};
inline const TResStringRec SSaveChanges{"SSaveChanges", "Do you want to save the changes to %s?"};
inline const TResStringRec SSaveFailed{"SSaveFailed", "%s could not be saved: %s"};
inline const TResStringRec SClearAll{"SClearAll", "All keys will be deleted! Proceed?"};
inline const TResStringRec SSetKeyFont{"SSetKeyFont",
                                       "This will set the font for ALL existing keys! Proceed?"};
inline const TResStringRec SShiftRefused{
    "SShiftRefused", "Not shifted: a key would leave the design area (View > Limit Design Area)."};
inline const TResStringRec SShiftOutOfRange{
    "SShiftOutOfRange", "Not shifted: a key would move beyond the positions a layout can hold."};
inline const TResStringRec SKeyCount{"SKeyCount", "%d keys"};
inline const TResStringRec SOneKey{"SOneKey", "1 key"};
inline const TResStringRec SPointer{"SPointer", "pointer at %d, %d"};
inline const TResStringRec SCurrentKey{"SCurrentKey", "key \"%s\" at %d, %d, %d x %d"};
// The unknown name, then the names of the built-in layouts.
inline const TResStringRec SUnknownLayout{"SUnknownLayout",
                                          "There is no built-in layout \"%s\" (%s)."};
// The code page and what it is for, in the status line and in View > Code Page.
inline const TResStringRec SCodePageStatus{"SCodePageStatus", "code page %d (%s)"};
inline const TResStringRec SCodePageItem{"SCodePageItem", "&%d %s"};
// A submenu of Open built-in layout: the layouts of one code page.
inline const TResStringRec SBuiltInGroup{"SBuiltInGroup", "%s (%d)"};
inline const TResStringRec SScreenshotError{"SScreenshotError", "could not write %s"};

} // namespace quimbel::layouteditor::consts
