#pragma once
// Messages of the QuimbelDesign package.

#include "rtl/ResStrings.h"

namespace quimbel {

inline const vcl::TResStringRec SClearAllKeysPrompt{"SClearAllKeysPrompt",
                                                    "All keys will be deleted! Proceed?"};
inline const vcl::TResStringRec SSetAllKeysFontPrompt{
    "SSetAllKeysFontPrompt", "This will set the font for ALL existing keys! Proceed?"};
// The designer window's safe editing (EnvironmentOptions().SafeEditingInDesigners).
inline const vcl::TResStringRec SReplaceKeysPrompt{
    "SReplaceKeysPrompt", "The %d keys of the layout will be replaced by those of %s. Proceed?"};
inline const vcl::TResStringRec SClearAllCaption{"SClearAllCaption", "Clear &All"};
inline const vcl::TResStringRec SCancelCaption{"SCancelCaption", "Cancel"};
inline const vcl::TResStringRec SEditMenuCaption{"SEditMenuCaption", "&Edit"};
inline const vcl::TResStringRec SUndoCaption{"SUndoCaption", "&Undo %s"};
inline const vcl::TResStringRec SRedoCaption{"SRedoCaption", "&Redo %s"};
inline const vcl::TResStringRec SUndoNothingCaption{"SUndoNothingCaption", "&Undo"};
inline const vcl::TResStringRec SRedoNothingCaption{"SRedoNothingCaption", "&Redo"};
inline const vcl::TResStringRec SStepMoveKey{"SStepMoveKey", "Move Key"};
inline const vcl::TResStringRec SStepShift{"SStepShift", "Shift"};

// The status line of the code page: the page and what it is for.
inline const vcl::TResStringRec SCodePageStatus{"SCodePageStatus", "  code page %d (%s)"};

// The verbs of a designed keyboard.
inline const vcl::TResStringRec SEditKeysVerb{"SEditKeysVerb", "Edit Keys..."};
inline const vcl::TResStringRec SBuiltInVerb{"SBuiltInVerb", "Load Built-in Layout"};
inline const vcl::TResStringRec SLoadFileVerb{"SLoadFileVerb", "Load Layout File..."};
inline const vcl::TResStringRec SSaveFileVerb{"SSaveFileVerb", "Save Layout As..."};
inline const vcl::TResStringRec SLayoutFilter{"SLayoutFilter", "Keyboard Layout (*.kly)|*.kly"};

} // namespace quimbel
