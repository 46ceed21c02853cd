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

// The "by" field of the shift buttons: how far they shift, in layout units; the grid is 500
// units wide, so a larger shift takes every key off it.
constexpr int MaxShift = 500;
inline const TResStringRec SShiftEmpty{
    "SShiftEmpty", "Type how far to shift into the \"by\" field: %d to %d layout units."};
inline const TResStringRec SShiftInvalid{
    "SShiftInvalid", "\"%s\" in the \"by\" field is not a number of layout units from %d to %d."};
// A field of the key panel: its name, the text and the range.
inline const TResStringRec SFieldInvalid{
    "SFieldInvalid", "\"%s\" is not a valid %s: type a whole number from %d to %d."};
// Normal keys without any value type nothing when pressed; the status line counts them and their
// captions are drawn red.
inline const TResStringRec SSilentKeys{"SSilentKeys",
                                       "%d without a value (red): they type nothing"};
inline const TResStringRec SSelectedKeys{"SSelectedKeys", "%d keys selected"};
inline const TResStringRec SNoKeysOnClipboard{"SNoKeysOnClipboard",
                                              "The clipboard holds no keys to paste: %s"};
// Edit > Undo and Redo, with what they undo or redo.
inline const TResStringRec SUndo{"SUndo", "&Undo %s"};
inline const TResStringRec SRedo{"SRedo", "&Redo %s"};
inline const TResStringRec SUndoNothing{"SUndoNothing", "&Undo"};
inline const TResStringRec SRedoNothing{"SRedoNothing", "&Redo"};
// The names of the steps Undo takes back.
inline const TResStringRec SStepNewKey{"SStepNewKey", "New Key"};
inline const TResStringRec SStepDelete{"SStepDelete", "Delete"};
inline const TResStringRec SStepCut{"SStepCut", "Cut"};
inline const TResStringRec SStepPaste{"SStepPaste", "Paste"};
inline const TResStringRec SStepProperties{"SStepProperties", "Key Properties"};
inline const TResStringRec SStepClearAll{"SStepClearAll", "Clear All"};
inline const TResStringRec SStepKeyFont{"SStepKeyFont", "Set Key Font"};
inline const TResStringRec SStepShift{"SStepShift", "Shift"};
inline const TResStringRec SStepMove{"SStepMove", "Move"};
inline const TResStringRec SStepAlign{"SStepAlign", "Align"};
inline const TResStringRec SStepDistribute{"SStepDistribute", "Distribute"};
inline const TResStringRec SStepPosition{"SStepPosition", "Position and Size"};

} // namespace quimbel::layouteditor::consts
