#pragma once
// Messages of the kly tool, and its exception class.

#include "rtl/ResStrings.h"

namespace kly {

// A command could not do its work; the message says why.
class EKlyError : public vcl::Exception {
public:
    using vcl::Exception::Exception;
    const char* ClassName() const override { return "EKlyError"; }
};

namespace consts {

using vcl::TResStringRec;

// Results of the commands.
inline const TResStringRec SLayoutError{"SLayoutError", "%s: error at byte %d: %s"};
inline const TResStringRec SFileError{"SFileError", "%s: error: %s"};
inline const TResStringRec SCheckOk{"SCheckOk", "%s: OK, %d keys"};
inline const TResStringRec SCheckOkOneKey{"SCheckOkOneKey", "%s: OK, 1 key"};
inline const TResStringRec SWarnType{"SWarnType", "%s: warning: key %d: type %d is outside 0-18"};
inline const TResStringRec SWarnWidth{"SWarnWidth",
                                      "%s: warning: key %d: width %d is outside 1-80"};
inline const TResStringRec SWarnHeight{"SWarnHeight",
                                       "%s: warning: key %d: height %d is outside 1-80"};
inline const TResStringRec SWarnTrailing{"SWarnTrailing",
                                         "%s: warning: %d bytes after the end of the layout"};
inline const TResStringRec SInFile{"SInFile", "%s: %s"};
inline const TResStringRec SStdoutError{"SStdoutError", "cannot write to standard output"};
inline const TResStringRec SUsage{"SUsage", "%s (see kly --help)"};

// The JSON form of a layout.
inline const TResStringRec SJsonSyntax{"SJsonSyntax", "invalid JSON: %s"};
inline const TResStringRec SJsonNesting{"SJsonNesting",
                                        "invalid JSON: values nested more than %d levels deep"};
inline const TResStringRec SAtRoot{"SAtRoot", "%s"};
inline const TResStringRec SAtKey{"SAtKey", "key %d: %s"};
inline const TResStringRec SField{"SField", "field \"%s\": %s"};
inline const TResStringRec SMissingField{"SMissingField", "missing field \"%s\""};
inline const TResStringRec SUnknownField{"SUnknownField", "unknown field \"%s\""};
inline const TResStringRec SDuplicateField{"SDuplicateField", "field \"%s\" appears twice"};
inline const TResStringRec SRootExpected{"SRootExpected",
                                         "expected an object with the field \"keys\""};
inline const TResStringRec SKeyExpected{"SKeyExpected", "expected an object"};
inline const TResStringRec SArrayExpected{"SArrayExpected", "expected an array"};
inline const TResStringRec SObjectExpected{"SObjectExpected", "expected an object"};
inline const TResStringRec SIntegerExpected{"SIntegerExpected",
                                            "expected an integer from %d to %d"};
inline const TResStringRec SStringExpected{"SStringExpected", "expected a string"};
inline const TResStringRec SBooleanExpected{"SBooleanExpected", "expected true or false"};
inline const TResStringRec SLevelsExpected{
    "SLevelsExpected", "expected an array of 3 strings (normal, Shift, Alt Gr)"};
inline const TResStringRec SKeyTypeExpected{
    "SKeyTypeExpected",
    "expected a key type name (ktNormal ... ktFunction) or an integer from 0 to 255"};
inline const TResStringRec SUnknownKeyType{"SUnknownKeyType", "unknown key type \"%s\""};
inline const TResStringRec SStyleExpected{
    "SStyleExpected",
    "expected an array of fsBold, fsItalic, fsUnderline, fsStrikeOut or an integer from 0 to 15"};
inline const TResStringRec SUnknownStyle{"SUnknownStyle", "unknown font style \"%s\""};
inline const TResStringRec SCodePageExpected{"SCodePageExpected",
                                             "expected a code page: 874 or 1250 to 1258"};
inline const TResStringRec SNoAnsiChar{"SNoAnsiChar",
                                       "character \"%s\" (U+%.4X) is not in code page %d"};

} // namespace consts
} // namespace kly
