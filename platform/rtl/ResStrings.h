#pragma once
// Resource strings: every user-visible message of a package lives in one table of records,
// looked up by LoadResString and formatted with Format.

#include "SysUtils.h"

namespace vcl {

struct TResStringRec {
    const char* Ident;
    const char* Text;
};

inline AnsiString LoadResString(const TResStringRec& rec) { return rec.Text; }

inline AnsiString FmtLoadStr(const TResStringRec& rec, const std::vector<TVarRec>& args) {
    return Format(rec.Text, args);
}

} // namespace vcl
