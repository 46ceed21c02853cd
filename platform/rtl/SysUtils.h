#pragma once
// Strings, exceptions, formatting and the small numeric helpers of the run-time library.

#include <cstdint>
#include <exception>
#include <string>
#include <utility>
#include <vector>

namespace vcl {

// 8-bit string holding bytes of the active ANSI code page (CodePage.h); converted to Unicode only
// at the widgetset boundary and in text file formats.
using AnsiString = std::string;

// Runs an action when the scope that holds it ends, by return or by exception (the classic
// try/finally): undoes a count, a flag or a change made for the length of a block.
template <class F> class TFinally {
public:
    explicit TFinally(F Action) : action_(std::move(Action)) {}
    ~TFinally() { action_(); }
    TFinally(const TFinally&) = delete;
    TFinally& operator=(const TFinally&) = delete;

private:
    F action_;
};

// One argument of Format: an integer (signed or unsigned) or a string.
class TVarRec {
public:
    enum Kind { vtInteger, vtUnsigned, vtString };
    TVarRec(int v) : kind_(vtInteger), int_(v) {}
    TVarRec(long v) : kind_(vtInteger), int_(v) {}
    TVarRec(long long v) : kind_(vtInteger), int_(v) {}
    TVarRec(unsigned v) : kind_(vtUnsigned), int_(static_cast<long long>(v)) {}
    TVarRec(unsigned long v) : kind_(vtUnsigned), int_(static_cast<long long>(v)) {}
    TVarRec(unsigned long long v) : kind_(vtUnsigned), int_(static_cast<long long>(v)) {}
    TVarRec(const char* s) : kind_(vtString), str_(s ? s : "") {}
    TVarRec(const AnsiString& s) : kind_(vtString), str_(s) {}
    Kind kind() const { return kind_; }
    long long asInteger() const { return int_; }
    const AnsiString& asString() const { return str_; }

private:
    Kind kind_;
    long long int_ = 0;
    AnsiString str_;
};

// Classic Format: %s %d %u %x (and %X) %%, with optional '-' (left alignment), width and, for
// %d/%u/%x, precision (minimum digits). A directive whose argument is missing or of the wrong
// kind raises EConvertError.
AnsiString Format(const AnsiString& fmt, const std::vector<TVarRec>& args);

AnsiString IntToStr(long long value);
// Parses a decimal or $-hexadecimal integer; raises EConvertError ("'%s' is not a valid integer
// value").
int StrToInt(const AnsiString& s);
// Changes only the ASCII letters; every other byte stays as it is.
AnsiString UpperCase(const AnsiString& s);
AnsiString LowerCase(const AnsiString& s);
// Case-insensitive comparison of ASCII letters, as identifiers and names are compared.
bool SameText(const AnsiString& a, const AnsiString& b);
int CompareText(const AnsiString& a, const AnsiString& b);
bool FileExists(const AnsiString& fileName);
// The operating system's text for an errno value.
AnsiString SysErrorMessage(int errorCode);
// S with its control characters (below 32, and 127) written as #n, the way the text form writes
// them, so that bytes from a file quoted in a message cannot drive a terminal.
AnsiString EscapeControls(const AnsiString& s);

inline int Min(int a, int b) {
    return a < b ? a : b;
}
inline int Max(int a, int b) {
    return a > b ? a : b;
}
inline long long Min(long long a, long long b) {
    return a < b ? a : b;
}
inline long long Max(long long a, long long b) {
    return a > b ? a : b;
}
// Truncation toward zero.
long long Trunc(long double x);
// Rounding to the nearest integer, ties to the even one (2.5 -> 2, 7.5 -> 8).
long long Round(long double x);

class Exception : public std::exception {
public:
    explicit Exception(AnsiString msg) : message_(std::move(msg)) {}
    Exception(const AnsiString& fmt, const std::vector<TVarRec>& args)
        : message_(Format(fmt, args)) {}
    const AnsiString& Message() const { return message_; }
    void SetMessage(const AnsiString& m) { message_ = m; }
    const char* what() const noexcept override { return message_.c_str(); }
    virtual const char* ClassName() const { return "Exception"; }

private:
    AnsiString message_;
};

#define VCL_EXCEPTION(Name, Base)                                                                  \
    class Name : public Base {                                                                     \
    public:                                                                                        \
        using Base::Base;                                                                          \
        const char* ClassName() const override { return #Name; }                                   \
    };

VCL_EXCEPTION(EConvertError, Exception)
VCL_EXCEPTION(EListError, Exception)
VCL_EXCEPTION(ERangeError, Exception)
VCL_EXCEPTION(EStringListError, Exception)
VCL_EXCEPTION(EInvalidCast, Exception)
VCL_EXCEPTION(EComponentError, Exception)
VCL_EXCEPTION(EResNotFound, Exception)
VCL_EXCEPTION(EInvalidOperation, Exception)
VCL_EXCEPTION(EStreamError, Exception)
VCL_EXCEPTION(EFCreateError, EStreamError)
VCL_EXCEPTION(EFOpenError, EStreamError)
VCL_EXCEPTION(EFilerError, EStreamError)
VCL_EXCEPTION(EReadError, EFilerError)
VCL_EXCEPTION(EWriteError, EFilerError)
VCL_EXCEPTION(EClassNotFound, EFilerError)
VCL_EXCEPTION(EMethodNotFound, EFilerError)
VCL_EXCEPTION(EInvalidImage, EFilerError)
VCL_EXCEPTION(EParserError, Exception)
VCL_EXCEPTION(EOutOfResources, Exception)
VCL_EXCEPTION(EPropertyError, Exception)
VCL_EXCEPTION(EPropReadOnly, EPropertyError)

} // namespace vcl
