#pragma once
// Messages of the run-time library.

#include "ResStrings.h"

namespace vcl::rtlconsts {

inline const TResStringRec SListIndexError{"SListIndexError", "List index out of bounds (%d)"};
inline const TResStringRec SListCapacityError{"SListCapacityError", "List capacity out of bounds (%d)"};
inline const TResStringRec SInvalidCast{"SInvalidCast", "Invalid class typecast"};
inline const TResStringRec SAssignError{"SAssignError", "Cannot assign a %s to a %s"};
inline const TResStringRec SFOpenErrorEx{"SFOpenErrorEx", "Cannot open file \"%s\". %s"};
inline const TResStringRec SFCreateErrorEx{"SFCreateErrorEx", "Cannot create file \"%s\". %s"};
inline const TResStringRec SReadError{"SReadError", "Stream read error"};
inline const TResStringRec SWriteError{"SWriteError", "Stream write error"};
inline const TResStringRec SInvalidImage{"SInvalidImage", "Invalid stream format"};
inline const TResStringRec SClassNotFound{"SClassNotFound", "Class %s not found"};
inline const TResStringRec SUnknownProperty{"SUnknownProperty", "Property %s does not exist"};
inline const TResStringRec SInvalidPropertyValue{"SInvalidPropertyValue", "Invalid property value"};
inline const TResStringRec SDuplicateName{"SDuplicateName", "A component named %s already exists"};
inline const TResStringRec SInvalidName{"SInvalidName", "'%s' is not a valid component name"};
inline const TResStringRec SDuplicateString{"SDuplicateString", "String list does not allow duplicates"};
inline const TResStringRec SResNotFound{"SResNotFound", "Resource %s not found"};
inline const TResStringRec SInvalidInteger{"SInvalidInteger", "'%s' is not a valid integer value"};
inline const TResStringRec SMethodNotFound{"SMethodNotFound", "Method %s not found"};
inline const TResStringRec SUnknownFormat{"SUnknownFormat", "Format '%s' invalid or incompatible with argument"};

} // namespace vcl::rtlconsts
