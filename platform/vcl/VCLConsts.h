#pragma once
// Messages of the visual component library.

#include "rtl/ResStrings.h"

namespace vcl::vclconsts {

inline const TResStringRec SInvalidBitmap{"SInvalidBitmap", "Bitmap image is not valid"};
inline const TResStringRec SUnsupportedBitmap{"SUnsupportedBitmap",
                                              "Bitmap image format is not supported (%s)"};
inline const TResStringRec SInvalidColor{"SInvalidColor", "'%s' is not a valid colour"};
inline const TResStringRec SControlParentSetToSelf{"SControlParentSetToSelf",
                                                   "A control cannot have itself as its parent"};
inline const TResStringRec SParentRequired{"SParentRequired", "Control '%s' has no parent window"};
inline const TResStringRec SCannotFocus{"SCannotFocus",
                                        "Cannot focus a disabled or invisible window"};
inline const TResStringRec SVisibleChanged{"SVisibleChanged",
                                           "Cannot change Visible in OnShow or OnHide"};
inline const TResStringRec SCannotShowModal{"SCannotShowModal",
                                            "Cannot make a visible window modal"};
inline const TResStringRec SNoResponder{
    "SNoResponder",
    "No modal responder is installed to answer %s; a headless program must install one"};
inline const TResStringRec SModalNotEnded{"SModalNotEnded", "The modal responder did not end %s"};
inline const TResStringRec SModalNotAnswered{"SModalNotAnswered",
                                             "The modal responder did not answer %s"};
inline const TResStringRec SModalBadAnswer{
    "SModalBadAnswer", "The modal responder answered %d, which is not a button of %s"};
inline const TResStringRec SModalRoundsExceeded{
    "SModalRoundsExceeded", "The modal responder answered %s %d times without ending it"};
inline const TResStringRec SFileMustExist{
    "SFileMustExist", "%s\nFile not found.\nPlease verify the correct file name was given."};
inline const TResStringRec SPathMustExist{
    "SPathMustExist", "%s\nPath does not exist.\nPlease verify the correct path was given."};
inline const TResStringRec SOverwritePrompt{"SOverwritePrompt",
                                            "%s already exists.\nDo you want to replace it?"};
inline const TResStringRec SMenuIndexError{"SMenuIndexError", "Menu index out of range"};
inline const TResStringRec SMenuReinserted{"SMenuReinserted", "Menu inserted twice"};
inline const TResStringRec SMenuNotFound{"SMenuNotFound", "Sub-menu is not in menu"};
inline const TResStringRec SDuplicateMenus{"SDuplicateMenus",
                                           "Menu '%s' is already being used by another form"};
inline const TResStringRec SInvalidTabOrder{"SInvalidTabOrder", "Invalid tab order %d"};
inline const TResStringRec SFormResourceNotFound{"SFormResourceNotFound", "Resource %s not found"};
inline const TResStringRec SMsgDlgWarning{"SMsgDlgWarning", "Warning"};
inline const TResStringRec SMsgDlgError{"SMsgDlgError", "Error"};
inline const TResStringRec SMsgDlgInformation{"SMsgDlgInformation", "Information"};
inline const TResStringRec SMsgDlgConfirm{"SMsgDlgConfirm", "Confirm"};
inline const TResStringRec SMsgDlgYes{"SMsgDlgYes", "&Yes"};
inline const TResStringRec SMsgDlgNo{"SMsgDlgNo", "&No"};
inline const TResStringRec SMsgDlgOK{"SMsgDlgOK", "OK"};
inline const TResStringRec SMsgDlgCancel{"SMsgDlgCancel", "Cancel"};
inline const TResStringRec SMsgDlgAbort{"SMsgDlgAbort", "&Abort"};
inline const TResStringRec SMsgDlgRetry{"SMsgDlgRetry", "&Retry"};
inline const TResStringRec SMsgDlgIgnore{"SMsgDlgIgnore", "&Ignore"};
inline const TResStringRec SMsgDlgAll{"SMsgDlgAll", "&All"};
inline const TResStringRec SMsgDlgNoToAll{"SMsgDlgNoToAll", "N&o to All"};
inline const TResStringRec SMsgDlgYesToAll{"SMsgDlgYesToAll", "Yes to &All"};
inline const TResStringRec SMsgDlgHelp{"SMsgDlgHelp", "&Help"};
inline const TResStringRec SScrollBarRange{"SScrollBarRange", "Scrollbar property out of range"};
inline const TResStringRec SListIndexError{"SListIndexError", "List index out of bounds (%d)"};

} // namespace vcl::vclconsts
