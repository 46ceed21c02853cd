#include "SysUtils.h"

#include "RTLConsts.h"

#include <cerrno>
#include <cmath>
#include <cstring>
#include <sys/stat.h>

namespace vcl {

namespace {

[[noreturn]] void formatError(const AnsiString& fmt) {
    throw EConvertError(Format(rtlconsts::SUnknownFormat.Text, {fmt}));
}

AnsiString digits(unsigned long long v, unsigned base, bool upper) {
    const char* set = upper ? "0123456789ABCDEF" : "0123456789abcdef";
    AnsiString out;
    do {
        out.insert(out.begin(), set[v % base]);
        v /= base;
    } while (v != 0);
    return out;
}

} // namespace

AnsiString Format(const AnsiString& fmt, const std::vector<TVarRec>& args) {
    AnsiString out;
    size_t next = 0;
    for (size_t i = 0; i < fmt.size(); ++i) {
        char c = fmt[i];
        if (c != '%') {
            out += c;
            continue;
        }
        if (++i >= fmt.size()) formatError(fmt);
        if (fmt[i] == '%') {
            out += '%';
            continue;
        }
        bool left = false;
        if (fmt[i] == '-') {
            left = true;
            ++i;
        }
        auto number = [&](int& value) {
            bool any = false;
            value = 0;
            if (i < fmt.size() && fmt[i] == '*') {
                if (next >= args.size() || args[next].kind() == TVarRec::vtString) formatError(fmt);
                value = static_cast<int>(args[next++].asInteger());
                ++i;
                return true;
            }
            while (i < fmt.size() && fmt[i] >= '0' && fmt[i] <= '9') {
                value = value * 10 + (fmt[i] - '0');
                if (value > 100000) formatError(fmt);
                ++i;
                any = true;
            }
            return any;
        };
        int width = 0, precision = 0;
        bool hasWidth = number(width);
        bool hasPrecision = false;
        if (i < fmt.size() && fmt[i] == '.') {
            ++i;
            hasPrecision = number(precision);
        }
        if (i >= fmt.size() || next >= args.size()) formatError(fmt);
        const TVarRec& arg = args[next++];
        char conv = fmt[i];
        AnsiString item;
        switch (conv) {
        case 's':
        case 'S':
            if (arg.kind() != TVarRec::vtString) formatError(fmt);
            item = arg.asString();
            if (hasPrecision && item.size() > static_cast<size_t>(precision))
                item.resize(precision);
            break;
        case 'd':
        case 'D':
        case 'u':
        case 'U':
        case 'x':
        case 'X': {
            if (arg.kind() == TVarRec::vtString) formatError(fmt);
            long long v = arg.asInteger();
            bool negative = false;
            unsigned long long magnitude;
            if (conv == 'x' || conv == 'X') {
                // Hexadecimal shows the two's complement of 32-bit values, so -1 reads FFFFFFFF.
                magnitude = (arg.kind() == TVarRec::vtInteger && v < 0 && v >= INT32_MIN)
                                ? static_cast<uint32_t>(v)
                                : static_cast<unsigned long long>(v);
                item = digits(magnitude, 16, conv == 'X');
            } else if (conv == 'u' || conv == 'U') {
                magnitude = (arg.kind() == TVarRec::vtInteger && v < 0 && v >= INT32_MIN)
                                ? static_cast<uint32_t>(v)
                                : static_cast<unsigned long long>(v);
                item = digits(magnitude, 10, false);
            } else {
                negative = arg.kind() == TVarRec::vtInteger && v < 0;
                magnitude = negative ? 0ull - static_cast<unsigned long long>(v)
                                     : static_cast<unsigned long long>(v);
                item = digits(magnitude, 10, false);
            }
            if (hasPrecision && item.size() < static_cast<size_t>(precision))
                item.insert(0, precision - item.size(), '0');
            if (negative) item.insert(0, 1, '-');
            break;
        }
        default:
            formatError(fmt);
        }
        if (hasWidth && item.size() < static_cast<size_t>(width)) {
            if (left)
                item.append(width - item.size(), ' ');
            else
                item.insert(0, width - item.size(), ' ');
        }
        out += item;
    }
    return out;
}

AnsiString IntToStr(long long value) {
    return Format("%d", {value});
}

int StrToInt(const AnsiString& s) {
    size_t i = 0;
    while (i < s.size() && s[i] == ' ')
        ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '-' || s[i] == '+')) negative = s[i++] == '-';
    unsigned base = 10;
    if (i < s.size() && s[i] == '$') {
        base = 16;
        ++i;
    } else if (i + 1 < s.size() && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i >= s.size()) throw EConvertError(Format(rtlconsts::SInvalidInteger.Text, {s}));
    unsigned long long v = 0;
    for (; i < s.size(); ++i) {
        int d;
        char c = s[i];
        if (c >= '0' && c <= '9')
            d = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f')
            d = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F')
            d = c - 'A' + 10;
        else
            throw EConvertError(Format(rtlconsts::SInvalidInteger.Text, {s}));
        v = v * base + d;
        if (v > 0xFFFFFFFFull) throw EConvertError(Format(rtlconsts::SInvalidInteger.Text, {s}));
    }
    if (base == 10 && v > (negative ? 0x80000000ull : 0x7FFFFFFFull))
        throw EConvertError(Format(rtlconsts::SInvalidInteger.Text, {s}));
    int32_t r = static_cast<int32_t>(static_cast<uint32_t>(v));
    return negative ? static_cast<int>(0u - static_cast<uint32_t>(r)) : r;
}

AnsiString UpperCase(const AnsiString& s) {
    AnsiString r = s;
    for (char& c : r)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return r;
}

AnsiString EscapeControls(const AnsiString& s) {
    AnsiString r;
    r.reserve(s.size());
    for (char c : s) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7F)
            r += "#" + std::to_string(u);
        else
            r += c;
    }
    return r;
}

AnsiString LowerCase(const AnsiString& s) {
    AnsiString r = s;
    for (char& c : r)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return r;
}

int CompareText(const AnsiString& a, const AnsiString& b) {
    size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        unsigned char x = static_cast<unsigned char>(a[i]);
        unsigned char y = static_cast<unsigned char>(b[i]);
        if (x >= 'a' && x <= 'z') x = static_cast<unsigned char>(x - 32);
        if (y >= 'a' && y <= 'z') y = static_cast<unsigned char>(y - 32);
        if (x != y) return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

bool SameText(const AnsiString& a, const AnsiString& b) {
    return a.size() == b.size() && CompareText(a, b) == 0;
}

bool FileExists(const AnsiString& fileName) {
    struct stat st;
    return !fileName.empty() && ::stat(fileName.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

AnsiString SysErrorMessage(int errorCode) {
    return std::strerror(errorCode);
}

long long Trunc(long double x) {
    return static_cast<long long>(x);
}

long long Round(long double x) {
    long double r = std::nearbyint(x); // the default rounding mode rounds ties to even
    return static_cast<long long>(r);
}

} // namespace vcl
