#pragma once
// Texts of quimbel-ide.

#include "rtl/ResStrings.h"

namespace quimbel::ide::consts {

inline const vcl::TResStringRec SAppTitle{"SAppTitle", "Quimbel IDE"};
inline const vcl::TResStringRec STitle{"STitle", "Quimbel IDE - %s (%s)%s"};
inline const vcl::TResStringRec SUntitled{"SUntitled", "untitled"};
inline const vcl::TResStringRec SModifiedMark{"SModifiedMark", " *"};
inline const vcl::TResStringRec SSaveChanges{"SSaveChanges", "Save changes to %s?"};
inline const vcl::TResStringRec SFormFilter{"SFormFilter",
                                            "Form files (*.dfm)|*.dfm|All files (*)|*"};
inline const vcl::TResStringRec SSaveFilter{"SSaveFilter",
                                            "Text form (*.dfm)|*.dfm|Binary form (*.dfm)|*.dfm"};
inline const vcl::TResStringRec SPackageLoadFailed{"SPackageLoadFailed",
                                                   "Package %s could not be loaded: %s"};
inline const vcl::TResStringRec SNoSuchFile{"SNoSuchFile", "the file does not exist"};
inline const vcl::TResStringRec SNoRegistrationEntry{
    "SNoRegistrationEntry", "none of its units exports a registration procedure (%s)"};
inline const vcl::TResStringRec SCannotOpen{"SCannotOpen", "Cannot open %s: %s"};
inline const vcl::TResStringRec SCannotSave{"SCannotSave", "Cannot save %s: %s"};
inline const vcl::TResStringRec SCannotRun{"SCannotRun", "Cannot run the form: %s"};
inline const vcl::TResStringRec SNoPackages{"SNoPackages", "No design packages are loaded."};
inline const vcl::TResStringRec SPackageLine{"SPackageLine", "%s\n  %s, version %s\n  Units: %s"};
inline const vcl::TResStringRec SStandardPage{"SStandardPage", "Standard"};
inline const vcl::TResStringRec SFormText{"SFormText", "%s as text"};
// Undo and redo: the Edit menu's items and the names of the steps.
inline const vcl::TResStringRec SUndoItem{"SUndoItem", "&Undo %s"};
inline const vcl::TResStringRec SRedoItem{"SRedoItem", "&Redo %s"};
inline const vcl::TResStringRec SNewStep{"SNewStep", "New %s"};
inline const vcl::TResStringRec SDeleteStep{"SDeleteStep", "Delete"};
inline const vcl::TResStringRec SMoveStep{"SMoveStep", "Move"};
inline const vcl::TResStringRec SSizeStep{"SSizeStep", "Size"};
inline const vcl::TResStringRec SChangeStep{"SChangeStep", "Change"};
inline const vcl::TResStringRec SPropertyStep{"SPropertyStep", "Change %s"};

} // namespace quimbel::ide::consts
