#pragma once
// Messages of the run-time library.

#include "ResStrings.h"

namespace vcl::rtlconsts {

inline const TResStringRec SListIndexError{"SListIndexError", "List index out of bounds (%d)"};
inline const TResStringRec SListCapacityError{"SListCapacityError",
                                              "List capacity out of bounds (%d)"};
inline const TResStringRec SInvalidCast{"SInvalidCast", "Invalid class typecast"};
inline const TResStringRec SAssignError{"SAssignError", "Cannot assign a %s to a %s"};
inline const TResStringRec SFOpenErrorEx{"SFOpenErrorEx", "Cannot open file \"%s\". %s"};
inline const TResStringRec SFCreateErrorEx{"SFCreateErrorEx", "Cannot create file \"%s\". %s"};
inline const TResStringRec SReadError{"SReadError", "Stream read error"};
inline const TResStringRec SWriteError{"SWriteError", "Stream write error"};
inline const TResStringRec SFileStreamError{"SFileStreamError", "%s in file \"%s\". %s"};
inline const TResStringRec SFileEndsEarly{"SFileEndsEarly", "The file ends early"};
inline const TResStringRec SInvalidImage{"SInvalidImage", "Invalid stream format"};
inline const TResStringRec SClassNotFound{"SClassNotFound", "Class %s not found"};
inline const TResStringRec SUnknownProperty{"SUnknownProperty", "Property %s does not exist"};
inline const TResStringRec SInvalidPropertyValue{"SInvalidPropertyValue", "Invalid property value"};
inline const TResStringRec SDuplicateName{"SDuplicateName", "A component named %s already exists"};
inline const TResStringRec SInvalidName{"SInvalidName", "'%s' is not a valid component name"};
inline const TResStringRec SInvalidStreamName{"SInvalidStreamName",
                                              "'%s' in the stream is not a valid name"};
inline const TResStringRec SDuplicateString{"SDuplicateString",
                                            "String list does not allow duplicates"};
inline const TResStringRec SResNotFound{"SResNotFound", "Resource %s not found"};
inline const TResStringRec SInvalidInteger{"SInvalidInteger", "'%s' is not a valid integer value"};
inline const TResStringRec SMethodNotFound{"SMethodNotFound", "Method %s not found"};
inline const TResStringRec SUnknownFormat{"SUnknownFormat",
                                          "Format '%s' invalid or incompatible with argument"};

// Streams and resources.
inline const TResStringRec SSetSizeError{"SSetSizeError",
                                         "Cannot change the size of file \"%s\". %s"};
inline const TResStringRec SFlushError{"SFlushError", "Cannot write file \"%s\" to disk. %s"};
inline const TResStringRec SMemoryStreamError{"SMemoryStreamError",
                                              "Out of memory while expanding memory stream"};
inline const TResStringRec SCantWriteResourceStreamError{
    "SCantWriteResourceStreamError", "Can't write to a read-only resource stream"};

// Packages.
inline const TResStringRec SLoadPackageError{"SLoadPackageError", "Cannot load package %s. %s"};
inline const TResStringRec SNotAPackage{"SNotAPackage", "%s is not a package"};
inline const TResStringRec SInvalidPackageInfo{"SInvalidPackageInfo",
                                               "Invalid package information in %s"};

// Value encoding of form and layout streams: each message says what the reader expected.
inline const TResStringRec SIntegerExpected{"SIntegerExpected", "Integer value expected"};
inline const TResStringRec SIntegerRange{"SIntegerRange", "Integer value out of range"};
inline const TResStringRec SStringExpected{"SStringExpected", "String value expected"};
inline const TResStringRec SCharExpected{"SCharExpected", "Character value expected"};
inline const TResStringRec SBooleanExpected{"SBooleanExpected", "Boolean value expected"};
inline const TResStringRec SIdentExpected{"SIdentExpected", "Identifier value expected"};
inline const TResStringRec SFloatExpected{"SFloatExpected", "Floating point value expected"};
inline const TResStringRec SSetExpected{"SSetExpected", "Set value expected"};
inline const TResStringRec SBinaryExpected{"SBinaryExpected", "Binary value expected"};
inline const TResStringRec SListExpected{"SListExpected", "List start expected"};
inline const TResStringRec SListEndExpected{"SListEndExpected", "End of list expected"};
inline const TResStringRec SCollectionExpected{"SCollectionExpected", "Collection value expected"};
inline const TResStringRec SValueExpected{"SValueExpected", "Value of type %s expected"};
inline const TResStringRec SInvalidValueType{"SInvalidValueType", "Invalid value type (%d)"};
inline const TResStringRec SNestingTooDeep{"SNestingTooDeep",
                                           "Values or objects nested more than %d levels deep"};
inline const TResStringRec SNameTooLong{"SNameTooLong", "Name longer than 255 characters: %s"};
inline const TResStringRec SClassNameLength{"SClassNameLength",
                                            "Class name not 1 to 239 characters long: %s"};
inline const TResStringRec SEmptyPropertyName{"SEmptyPropertyName", "Property name is empty"};
inline const TResStringRec SStringTooLong{"SStringTooLong", "String too long to be written"};
inline const TResStringRec SUnknownSetMember{"SUnknownSetMember", "Set member %d has no name"};

// Form streams.
inline const TResStringRec SPropertyException{"SPropertyException", "Error reading %s%s%s: %s"};
inline const TResStringRec SInvalidPropertyElement{"SInvalidPropertyElement",
                                                   "Invalid property element: %s"};
inline const TResStringRec SInvalidPropertyPath{"SInvalidPropertyPath", "Invalid property path"};
inline const TResStringRec SReadOnlyProperty{"SReadOnlyProperty", "Property is read-only"};
inline const TResStringRec SMethodSignature{"SMethodSignature",
                                            "Method %s has an incompatible parameter list"};
inline const TResStringRec SComponentNotFound{"SComponentNotFound", "Component %s not found"};
inline const TResStringRec SAncestorNotFound{"SAncestorNotFound", "Ancestor for '%s' not found"};
inline const TResStringRec SNotAComponentClass{"SNotAComponentClass",
                                               "Class %s cannot be created as a component"};
inline const TResStringRec SNoRootComponent{"SNoRootComponent", "Root component %s is not a %s"};

// Text form of form streams.
inline const TResStringRec SParseError{"SParseError", "%s on line %d, column %d"};
inline const TResStringRec SIdentifierExpected{"SIdentifierExpected", "Identifier expected"};
inline const TResStringRec SParserStringExpected{"SParserStringExpected", "String expected"};
inline const TResStringRec SNumberExpected{"SNumberExpected", "Number expected"};
inline const TResStringRec SSymbolExpected{"SSymbolExpected", "%s expected"};
inline const TResStringRec SInvalidBinary{"SInvalidBinary", "Invalid binary value"};
inline const TResStringRec SInvalidString{"SInvalidString", "Invalid string constant"};
inline const TResStringRec SInvalidNumber{"SInvalidNumber", "Invalid numeric value"};
inline const TResStringRec SInvalidCharacter{"SInvalidCharacter", "Invalid character '%s'"};
inline const TResStringRec SUnterminatedString{"SUnterminatedString", "Unterminated string"};
inline const TResStringRec SValueExpectedText{"SValueExpectedText", "Property value expected"};

// Code pages.
inline const TResStringRec SNoAnsiChar{"SNoAnsiChar", "Character U+%.4X is not in code page %d"};
inline const TResStringRec SInvalidUtf8{"SInvalidUtf8", "Invalid UTF-8 at byte %d"};
inline const TResStringRec SBadCodePage{"SBadCodePage",
                                        "'%s' is not a supported code page (874, 1250 to 1258)"};

} // namespace vcl::rtlconsts
