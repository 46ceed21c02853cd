#pragma once
// Messages of the design-time framework.

#include "rtl/ResStrings.h"

namespace designide::consts {

inline const vcl::TResStringRec SDuplicateClass{"SDuplicateClass",
                                                "A class named %s already exists"};
inline const vcl::TResStringRec SNotAnEditorClass{"SNotAnEditorClass",
                                                  "%s is not a property editor class"};
inline const vcl::TResStringRec SInvalidMethodName{"SInvalidMethodName",
                                                   "'%s' is not a valid method name"};
inline const vcl::TResStringRec SInvalidFloat{"SInvalidFloat",
                                              "'%s' is not a valid floating point value"};
inline const vcl::TResStringRec SUnknownValue{"SUnknownValue", "(unknown)"};

} // namespace designide::consts
