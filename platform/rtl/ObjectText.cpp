// The text form of form streams (.dfm text) and its conversion to and from the binary form.
// Text is kept ASCII: bytes outside the printable range are written as #nnn escapes, and #nnn
// with nnn <= 255 in the input stands for that byte of the active ANSI code page.

#include "CodePage.h"
#include "FormStreams.h"
#include "RTLConsts.h"

#include <cerrno>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace vcl {

namespace {

AnsiString readAll(TStream* s) {
    AnsiString text;
    char buf[65536];
    for (;;) {
        int32_t n = s->Read(buf, sizeof buf);
        if (n <= 0) break;
        text.append(buf, static_cast<size_t>(n));
    }
    return text;
}

bool isIdentStart(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}
bool isIdentChar(char c) {
    return isIdentStart(c) || (c >= '0' && c <= '9');
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// --- Text to binary --------------------------------------------------------------------------

enum TokenKind { tkEOF, tkSymbol, tkString, tkInteger, tkFloat, tkChar };

class TextParser {
public:
    explicit TextParser(const AnsiString& text) : s_(text) { next(); }

    TokenKind kind = tkEOF;
    AnsiString text; // symbol text, or the char of a tkChar
    AnsiString str;  // string value (bytes)
    int64_t intValue = 0;
    long double floatValue = 0;
    char floatType = 0; // 's', 'c', 'd' or 0
    int line = 1, col = 1;

    [[noreturn]] void error(const AnsiString& msg) const { errorAt(msg, line, col); }
    [[noreturn]] static void errorAt(const AnsiString& msg, int atLine, int atCol) {
        throw EParserError(FmtLoadStr(rtlconsts::SParseError, {msg, atLine, atCol}));
    }
    [[noreturn]] void expected(const char* what) const {
        error(FmtLoadStr(rtlconsts::SSymbolExpected, {what}));
    }
    bool isChar(char c) const { return kind == tkChar && text[0] == c; }
    bool isSymbol(const char* sym) const { return kind == tkSymbol && SameText(text, sym); }
    void checkChar(char c) const {
        if (!isChar(c)) {
            char q[4] = {'\'', c, '\'', 0};
            expected(q);
        }
    }
    void checkSymbol() const {
        if (kind != tkSymbol) error(LoadResString(rtlconsts::SIdentifierExpected));
    }

    void next() {
        skipBlanks();
        line = line_;
        col = static_cast<int>(p_ - lineStart_) + 1;
        if (p_ >= s_.size()) {
            kind = tkEOF;
            return;
        }
        char c = s_[p_];
        if (isIdentStart(c)) {
            size_t b = p_;
            while (p_ < s_.size() && isIdentChar(s_[p_]))
                ++p_;
            text = s_.substr(b, p_ - b);
            kind = tkSymbol;
        } else if (c == '\'' || c == '#') {
            readString();
        } else if (isDigit(c) || c == '$' ||
                   (c == '-' && p_ + 1 < s_.size() && (isDigit(s_[p_ + 1]) || s_[p_ + 1] == '$'))) {
            readNumber();
        } else {
            if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) >= 0x7F) {
                char buf[8];
                std::snprintf(buf, sizeof buf, "#%d", static_cast<unsigned char>(c));
                error(FmtLoadStr(rtlconsts::SInvalidCharacter, {buf}));
            }
            text = AnsiString(1, c);
            kind = tkChar;
            ++p_;
        }
    }

    // A dotted component reference as a value (Owner.Button1): dots must follow immediately.
    void extendDottedSymbol() {
        while (p_ + 1 < s_.size() && s_[p_] == '.' && isIdentStart(s_[p_ + 1])) {
            size_t b = p_;
            ++p_;
            while (p_ < s_.size() && isIdentChar(s_[p_]))
                ++p_;
            text += s_.substr(b, p_ - b);
        }
    }

    // The hex digits of a binary value, after '{' was the current token; ends on the '}'.
    std::vector<uint8_t> readBinaryBody() {
        std::vector<uint8_t> data;
        int pending = -1;
        for (;;) {
            skipBlanks();
            line = line_;
            col = static_cast<int>(p_ - lineStart_) + 1;
            if (p_ >= s_.size()) expected("'}'");
            char c = s_[p_];
            if (c == '}') {
                if (pending >= 0) error(LoadResString(rtlconsts::SInvalidBinary));
                ++p_;
                break;
            }
            int h = hexValue(c);
            if (h < 0) error(LoadResString(rtlconsts::SInvalidBinary));
            ++p_;
            if (pending < 0) {
                pending = h;
            } else {
                data.push_back(static_cast<uint8_t>(pending * 16 + h));
                pending = -1;
            }
        }
        next();
        return data;
    }

private:
    void skipBlanks() {
        while (p_ < s_.size() && static_cast<unsigned char>(s_[p_]) <= ' ' && s_[p_] != '\0') {
            if (s_[p_] == '\n') {
                ++line_;
                lineStart_ = p_ + 1;
            }
            ++p_;
        }
    }

    void readString() {
        str.clear();
        for (;;) {
            if (p_ < s_.size() && s_[p_] == '\'') {
                ++p_;
                for (;;) {
                    if (p_ >= s_.size() || s_[p_] == '\n' || s_[p_] == '\r')
                        error(LoadResString(rtlconsts::SUnterminatedString));
                    if (s_[p_] == '\'') {
                        if (p_ + 1 < s_.size() && s_[p_ + 1] == '\'') {
                            str += '\'';
                            p_ += 2;
                            continue;
                        }
                        ++p_;
                        break;
                    }
                    str += s_[p_++];
                }
            } else if (p_ < s_.size() && s_[p_] == '#') {
                ++p_;
                uint32_t v = 0;
                int digits = 0;
                bool hex = p_ < s_.size() && s_[p_] == '$';
                if (hex) ++p_;
                while (p_ < s_.size() && (hex ? hexValue(s_[p_]) >= 0 : isDigit(s_[p_]))) {
                    v = v * (hex ? 16 : 10) +
                        static_cast<uint32_t>(hex ? hexValue(s_[p_]) : s_[p_] - '0');
                    ++p_;
                    if (++digits > 7) error(LoadResString(rtlconsts::SInvalidString));
                }
                if (digits == 0 || v > 0x10FFFF) error(LoadResString(rtlconsts::SInvalidString));
                if (v <= 0xFF)
                    str += static_cast<char>(v);
                else if (!AppendAnsiChar(str, v))
                    str += '?';
            } else {
                break;
            }
        }
        kind = tkString;
    }

    void readNumber() {
        size_t b = p_;
        bool negative = s_[p_] == '-';
        if (negative) ++p_;
        if (s_[p_] == '$') {
            ++p_;
            size_t d = p_;
            uint64_t v = 0;
            while (p_ < s_.size() && hexValue(s_[p_]) >= 0) {
                v = v * 16 + static_cast<uint64_t>(hexValue(s_[p_]));
                ++p_;
            }
            size_t digits = p_ - d;
            if (digits == 0 || digits > 16 || (p_ < s_.size() && isIdentChar(s_[p_])))
                error(LoadResString(rtlconsts::SInvalidNumber));
            // Up to eight digits are a 32-bit pattern, as colours such as $8000000F are written.
            int64_t value = digits <= 8 ? static_cast<int32_t>(static_cast<uint32_t>(v))
                                        : static_cast<int64_t>(v);
            intValue = negative ? static_cast<int64_t>(0ull - static_cast<uint64_t>(value)) : value;
            kind = tkInteger;
            return;
        }
        while (p_ < s_.size() && isDigit(s_[p_]))
            ++p_;
        bool isFloat = false;
        if (p_ + 1 < s_.size() && s_[p_] == '.' && isDigit(s_[p_ + 1])) {
            isFloat = true;
            ++p_;
            while (p_ < s_.size() && isDigit(s_[p_]))
                ++p_;
        }
        if (p_ < s_.size() && (s_[p_] == 'e' || s_[p_] == 'E')) {
            size_t e = p_ + 1;
            if (e < s_.size() && (s_[e] == '+' || s_[e] == '-')) ++e;
            if (e < s_.size() && isDigit(s_[e])) {
                isFloat = true;
                p_ = e;
                while (p_ < s_.size() && isDigit(s_[p_]))
                    ++p_;
            }
        }
        AnsiString literal = s_.substr(b, p_ - b);
        floatType = 0;
        if (p_ < s_.size() && std::strchr("sScCdD", s_[p_]) && s_[p_] != '\0' &&
            !(p_ + 1 < s_.size() && isIdentChar(s_[p_ + 1]))) {
            floatType = static_cast<char>(s_[p_] | 0x20);
            isFloat = true;
            ++p_;
        }
        if (p_ < s_.size() && isIdentChar(s_[p_])) error(LoadResString(rtlconsts::SInvalidNumber));
        if (isFloat) {
            errno = 0;
            floatValue = std::strtold(literal.c_str(), nullptr);
            if (errno == ERANGE && std::isinf(floatValue))
                error(LoadResString(rtlconsts::SInvalidNumber));
            kind = tkFloat;
            return;
        }
        errno = 0;
        long long v = std::strtoll(literal.c_str(), nullptr, 10);
        if (errno == ERANGE) error(LoadResString(rtlconsts::SInvalidNumber));
        intValue = v;
        kind = tkInteger;
    }

    const AnsiString& s_;
    size_t p_ = 0;
    int line_ = 1;
    size_t lineStart_ = 0;
};

class TextToBinary {
public:
    TextToBinary(TextParser& parser, TWriter& writer) : p_(parser), w_(writer) {}

    void convertObject(int depth) {
        checkDepth(depth);
        uint8_t flags = 0;
        if (p_.isSymbol("inherited"))
            flags = ffInherited;
        else if (p_.isSymbol("inline"))
            flags = ffInline;
        else if (!p_.isSymbol("object"))
            p_.expected("'object'");
        p_.next();
        p_.checkSymbol();
        AnsiString name, cls = p_.text;
        int clsLine = p_.line, clsCol = p_.col;
        p_.next();
        if (p_.isChar(':')) {
            p_.next();
            p_.checkSymbol();
            name = cls;
            cls = p_.text;
            clsLine = p_.line;
            clsCol = p_.col;
            p_.next();
        }
        if (cls.size() > MaxClassNameLength && cls.size() <= 255) // longer ones: writeName
            p_.errorAt(FmtLoadStr(rtlconsts::SClassNameLength, {cls}), clsLine, clsCol);
        int32_t pos = 0;
        if (p_.isChar('[')) {
            p_.next();
            if (p_.kind != tkInteger || p_.intValue < INT32_MIN || p_.intValue > INT32_MAX)
                p_.error(LoadResString(rtlconsts::SNumberExpected));
            pos = static_cast<int32_t>(p_.intValue);
            flags |= ffChildPos;
            p_.next();
            p_.checkChar(']');
            p_.next();
        }
        w_.WritePrefix(flags, pos);
        writeName(cls);
        writeName(name);
        while (!isObjectStart() && !p_.isSymbol("end")) {
            if (p_.kind == tkEOF) p_.expected("'end'");
            convertProperty(depth);
        }
        w_.WriteListEnd();
        while (!p_.isSymbol("end")) {
            if (p_.kind == tkEOF) p_.expected("'end'");
            convertObject(depth + 1);
        }
        w_.WriteListEnd();
        p_.next();
    }

private:
    bool isObjectStart() const {
        return p_.isSymbol("object") || p_.isSymbol("inherited") || p_.isSymbol("inline");
    }
    void checkDepth(int depth) const {
        if (depth >= MaxStreamNesting)
            p_.error(FmtLoadStr(rtlconsts::SNestingTooDeep, {MaxStreamNesting}));
    }
    void writeName(const AnsiString& name) const {
        if (name.size() > 255) p_.error(FmtLoadStr(rtlconsts::SNameTooLong, {name}));
        w_.WriteStr(name);
    }

    void convertProperty(int depth) {
        p_.checkSymbol();
        AnsiString name = p_.text;
        p_.next();
        while (p_.isChar('.')) {
            p_.next();
            p_.checkSymbol();
            name += '.' + p_.text;
            p_.next();
        }
        writeName(name);
        p_.checkChar('=');
        p_.next();
        convertValue(depth + 1);
    }

    void convertValue(int depth) {
        checkDepth(depth);
        switch (p_.kind) {
        case tkInteger:
            w_.WriteInteger(p_.intValue);
            p_.next();
            return;
        case tkFloat:
            switch (p_.floatType) {
            case 's':
                if (std::fabs(p_.floatValue) > FLT_MAX)
                    p_.error(LoadResString(rtlconsts::SInvalidNumber));
                w_.WriteSingle(static_cast<float>(p_.floatValue));
                break;
            case 'c': {
                long double v = std::nearbyint(p_.floatValue);
                if (!(v >= -9223372036854775807.0L && v <= 9223372036854775807.0L))
                    p_.error(LoadResString(rtlconsts::SInvalidNumber));
                w_.WriteCurrency(static_cast<int64_t>(v));
                break;
            }
            case 'd':
                if (std::fabs(p_.floatValue) > DBL_MAX)
                    p_.error(LoadResString(rtlconsts::SInvalidNumber));
                w_.WriteDate(static_cast<double>(p_.floatValue));
                break;
            default:
                w_.WriteFloat(p_.floatValue);
            }
            p_.next();
            return;
        case tkString: {
            AnsiString s = p_.str;
            p_.next();
            while (p_.isChar('+')) {
                p_.next();
                if (p_.kind != tkString) p_.error(LoadResString(rtlconsts::SParserStringExpected));
                s += p_.str;
                p_.next();
            }
            w_.WriteString(s);
            return;
        }
        case tkSymbol:
            // A keyword where a value belongs means the value is missing, not an identifier.
            if (isObjectStart() || p_.isSymbol("end"))
                p_.error(LoadResString(rtlconsts::SValueExpectedText));
            p_.extendDottedSymbol();
            writeIdent(p_.text);
            p_.next();
            return;
        case tkChar:
            break;
        case tkEOF:
            p_.error(LoadResString(rtlconsts::SValueExpectedText));
        }
        switch (p_.text[0]) {
        case '[':
            p_.next();
            w_.WriteValue(vaSet);
            if (!p_.isChar(']')) {
                for (;;) {
                    if (p_.kind == tkInteger)
                        writeName(IntToStr(p_.intValue));
                    else {
                        p_.checkSymbol();
                        writeName(p_.text);
                    }
                    p_.next();
                    if (p_.isChar(']')) break;
                    p_.checkChar(',');
                    p_.next();
                }
            }
            w_.WriteStr("");
            p_.next();
            return;
        case '(':
            p_.next();
            w_.WriteListBegin();
            while (!p_.isChar(')')) {
                if (p_.kind == tkEOF || p_.isSymbol("end")) p_.expected("')'");
                convertValue(depth + 1);
            }
            w_.WriteListEnd();
            p_.next();
            return;
        case '{':
            w_.WriteBinary(p_.readBinaryBody());
            return;
        case '<':
            p_.next();
            w_.WriteValue(vaCollection);
            while (!p_.isChar('>')) {
                if (!p_.isSymbol("item")) p_.expected("'item'");
                p_.next();
                if (p_.isChar('[')) {
                    p_.next();
                    if (p_.kind != tkInteger) p_.error(LoadResString(rtlconsts::SNumberExpected));
                    w_.WriteInteger(p_.intValue);
                    p_.next();
                    p_.checkChar(']');
                    p_.next();
                }
                w_.WriteListBegin();
                while (!p_.isSymbol("end")) {
                    if (p_.kind == tkEOF) p_.expected("'end'");
                    convertProperty(depth + 1);
                }
                w_.WriteListEnd();
                p_.next();
            }
            w_.WriteListEnd();
            p_.next();
            return;
        default:
            p_.error(LoadResString(rtlconsts::SValueExpectedText));
        }
    }

    void writeIdent(const AnsiString& ident) const {
        if (ident.size() > 255) p_.error(FmtLoadStr(rtlconsts::SNameTooLong, {ident}));
        w_.WriteIdent(ident);
    }

    TextParser& p_;
    TWriter& w_;
};

// --- Binary to text --------------------------------------------------------------------------

// Decimal digits of v (no sign, no point, trailing zeros removed) and the position of the
// decimal point relative to them, using the fewest significant digits from minDigits to 21 that
// read back as the same value in the stored type (0 extended, 1 double, 2 single).
void decimalDigits(long double v, int minDigits, int kind, AnsiString& digits, int& pointPos,
                   int& used) {
    char buf[64];
    int precision = minDigits;
    for (; precision < 21; ++precision) {
        std::snprintf(buf, sizeof buf, "%.*Le", precision - 1, v);
        long double back = std::strtold(buf, nullptr);
        bool same = kind == 0   ? back == v
                    : kind == 1 ? static_cast<double>(back) == static_cast<double>(v)
                                : static_cast<float>(back) == static_cast<float>(v);
        if (same) break;
    }
    std::snprintf(buf, sizeof buf, "%.*Le", precision - 1, v);
    AnsiString s(buf[0] == '-' ? buf + 1 : buf); // d.ddddde[+-]xx
    size_t e = s.find('e');
    int exp10 = std::atoi(s.c_str() + e + 1);
    digits = s.substr(0, 1) + (e > 2 ? s.substr(2, e - 2) : AnsiString());
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();
    pointPos = exp10 + 1;
    used = precision;
}

AnsiString scientific(const AnsiString& digits, int pointPos) {
    AnsiString out = digits.substr(0, 1);
    if (digits.size() > 1) out += "." + digits.substr(1);
    return out + "E" + IntToStr(pointPos - 1);
}

// The classic general format (15 significant digits, more only where 15 would change the
// value): fixed notation unless the exponent is large, no '+' and no leading zeros in it.
AnsiString floatToText(long double v, int kind) {
    if (std::isnan(v)) return "NAN";
    if (std::isinf(v)) return v < 0 ? "-INF" : "INF";
    if (v == 0) return std::signbit(v) ? "-0" : "0";
    AnsiString digits;
    int pointPos, precision;
    decimalDigits(v, 15, kind, digits, pointPos, precision);
    AnsiString out;
    if (pointPos > precision || pointPos < -3)
        out = scientific(digits, pointPos);
    else if (pointPos <= 0)
        out = "0." + AnsiString(static_cast<size_t>(-pointPos), '0') + digits;
    else if (static_cast<size_t>(pointPos) >= digits.size())
        out = digits + AnsiString(static_cast<size_t>(pointPos) - digits.size(), '0');
    else
        out = digits.substr(0, static_cast<size_t>(pointPos)) + "." +
              digits.substr(static_cast<size_t>(pointPos));
    return v < 0 ? "-" + out : out;
}

// vaExtended values: fixed notation with 18 decimals, the form text form files use, so
// that they read back as floating-point values and not as integers. Values that fixed notation
// cannot carry exactly (16 significant digits at most, 18 decimals) use scientific notation.
AnsiString extendedToText(long double v) {
    if (std::isnan(v) || std::isinf(v)) return floatToText(v, 0);
    if (v == 0) return std::signbit(v) ? "-0.000000000000000000" : "0.000000000000000000";
    AnsiString digits;
    int pointPos, precision;
    decimalDigits(v, 1, 0, digits, pointPos, precision);
    AnsiString out;
    int decimals = static_cast<int>(digits.size()) - pointPos;
    if (digits.size() <= 16 && pointPos <= 16 && decimals <= 18) {
        if (pointPos <= 0)
            out = "0." + AnsiString(static_cast<size_t>(-pointPos), '0') + digits;
        else if (static_cast<size_t>(pointPos) >= digits.size())
            out = digits + AnsiString(static_cast<size_t>(pointPos) - digits.size(), '0') + ".";
        else
            out = digits.substr(0, static_cast<size_t>(pointPos)) + "." +
                  digits.substr(static_cast<size_t>(pointPos));
        size_t point = out.find('.');
        out.append(18 - (out.size() - point - 1), '0');
    } else {
        out = scientific(digits, pointPos);
    }
    return v < 0 ? "-" + out : out;
}

class BinaryToText {
public:
    BinaryToText(TReader& reader, AnsiString& out) : r_(reader), out_(out) {}

    void convertObject(int depth) {
        checkDepth(depth);
        uint8_t flags;
        int32_t pos;
        r_.ReadPrefix(flags, pos);
        writeIndent();
        if (flags & ffInherited)
            out_ += "inherited ";
        else if (flags & ffInline)
            out_ += "inline ";
        else
            out_ += "object ";
        AnsiString cls = checkedName(r_.ReadStr(), false);
        AnsiString name = r_.ReadStr();
        if (!name.empty()) out_ += checkedName(name, false) + ": ";
        out_ += cls;
        if (flags & ffChildPos) out_ += " [" + IntToStr(pos) + "]";
        out_ += "\n";
        ++nesting_;
        while (!r_.EndOfList())
            convertProperty(depth);
        r_.ReadListEnd();
        while (!r_.EndOfList())
            convertObject(depth + 1);
        r_.ReadListEnd();
        --nesting_;
        writeIndent();
        out_ += "end\n";
    }

private:
    static constexpr size_t kLineLength = 64;
    static constexpr int32_t kBytesPerLine = 32;

    void checkDepth(int depth) const {
        if (depth >= MaxStreamNesting)
            r_.Error(FmtLoadStr(rtlconsts::SNestingTooDeep, {MaxStreamNesting}));
    }
    void writeIndent() { out_.append(static_cast<size_t>(nesting_) * 2, ' '); }
    void newLine() {
        out_ += '\n';
        writeIndent();
    }

    static bool isDecimal(const AnsiString& s) {
        const size_t digits = !s.empty() && s[0] == '-' ? 1 : 0;
        return s.size() > digits &&
               s.find_first_not_of("0123456789", digits) == AnsiString::npos;
    }

    // The text form has no quoting for names: anything but an identifier (a dotted path for a
    // property) would read back differently, or as more lines of the form.
    const AnsiString& checkedName(const AnsiString& s, bool Dotted) const {
        size_t start = 0;
        for (;;) {
            const size_t dot = Dotted ? s.find('.', start) : AnsiString::npos;
            if (!IsValidIdent(s.substr(start, dot == AnsiString::npos ? dot : dot - start)))
                r_.Error(FmtLoadStr(rtlconsts::SInvalidStreamName, {EscapeControls(s)}));
            if (dot == AnsiString::npos) return s;
            start = dot + 1;
        }
    }

    void convertProperty(int depth) {
        writeIndent();
        out_ += checkedName(r_.ReadStr(), true);
        out_ += " = ";
        convertValue(depth + 1);
        out_ += '\n';
    }

    static bool printable(char c) {
        unsigned char u = static_cast<unsigned char>(c);
        return u >= 0x20 && u < 0x7F && c != '\'';
    }

    void writeString(const AnsiString& s) {
        if (s.empty()) {
            out_ += "''";
            return;
        }
        ++nesting_;
        size_t i = 0, lineStart = 0;
        const size_t len = s.size();
        if (len > kLineLength) newLine();
        while (i < len) {
            bool lineBreak = false;
            if (printable(s[i])) {
                size_t j = i;
                do
                    ++i;
                while (i < len && printable(s[i]) && i - lineStart < kLineLength);
                if (i - lineStart >= kLineLength) lineBreak = true;
                out_ += '\'';
                out_.append(s, j, i - j);
                out_ += '\'';
            } else {
                out_ += '#';
                out_ += IntToStr(static_cast<unsigned char>(s[i]));
                ++i;
                if (i - lineStart >= kLineLength) lineBreak = true;
            }
            if (lineBreak && i < len) {
                out_ += " +";
                newLine();
                lineStart = i;
            }
        }
        --nesting_;
    }

    void convertBinary() {
        r_.ReadValue();
        out_ += '{';
        ++nesting_;
        uint8_t lenBytes[4];
        r_.Read(lenBytes, 4);
        uint32_t count = lenBytes[0] | (lenBytes[1] << 8) | (lenBytes[2] << 16) |
                         (static_cast<uint32_t>(lenBytes[3]) << 24);
        if (count > static_cast<uint64_t>(r_.Remaining()))
            r_.Error(LoadResString(rtlconsts::SReadError));
        bool multiLine = count >= static_cast<uint32_t>(kBytesPerLine);
        static const char hex[] = "0123456789ABCDEF";
        while (count > 0) {
            if (multiLine) newLine();
            int32_t n = static_cast<int32_t>(std::min<uint32_t>(count, kBytesPerLine));
            uint8_t buf[kBytesPerLine];
            r_.Read(buf, n);
            for (int32_t k = 0; k < n; ++k) {
                out_ += hex[buf[k] >> 4];
                out_ += hex[buf[k] & 15];
            }
            count -= static_cast<uint32_t>(n);
        }
        --nesting_;
        out_ += '}';
    }

    void convertValue(int depth) {
        checkDepth(depth);
        switch (r_.NextValue()) {
        case vaList:
            r_.ReadValue();
            out_ += '(';
            ++nesting_;
            while (!r_.EndOfList()) {
                newLine();
                convertValue(depth + 1);
            }
            r_.ReadListEnd();
            --nesting_;
            out_ += ')';
            break;
        case vaInt8:
        case vaInt16:
        case vaInt32:
        case vaInt64:
            out_ += IntToStr(r_.ReadInt64());
            break;
        case vaExtended:
            out_ += extendedToText(r_.ReadFloat());
            break;
        case vaSingle:
            out_ += floatToText(r_.ReadSingle(), 2) + "s";
            break;
        case vaCurrency:
            out_ += IntToStr(r_.ReadCurrency()) + "c";
            break;
        case vaDate:
            out_ += floatToText(r_.ReadDate(), 1) + "d";
            break;
        case vaString:
        case vaLString:
        case vaWString:
        case vaUTF8String:
            writeString(r_.ReadString());
            break;
        case vaIdent:
        case vaFalse:
        case vaTrue:
        case vaNil:
        case vaNull:
            out_ += checkedName(r_.ReadIdent(), true);
            break;
        case vaBinary:
            convertBinary();
            break;
        case vaSet: {
            r_.ReadValue();
            out_ += '[';
            for (int i = 0;; ++i) {
                AnsiString s = r_.ReadStr();
                if (s.empty()) break;
                if (i > 0) out_ += ", ";
                out_ += isDecimal(s) ? s : checkedName(s, false); // the text form takes numbers
            }
            out_ += ']';
            break;
        }
        case vaCollection:
            r_.ReadValue();
            out_ += '<';
            ++nesting_;
            while (!r_.EndOfList()) {
                newLine();
                out_ += "item";
                switch (r_.NextValue()) {
                case vaInt8:
                case vaInt16:
                case vaInt32:
                case vaInt64:
                    out_ += " [" + IntToStr(r_.ReadInt64()) + "]";
                    break;
                default:
                    break;
                }
                out_ += '\n';
                r_.CheckValue(vaList);
                ++nesting_;
                while (!r_.EndOfList())
                    convertProperty(depth + 1);
                r_.ReadListEnd();
                --nesting_;
                writeIndent();
                out_ += "end";
            }
            r_.ReadListEnd();
            --nesting_;
            out_ += '>';
            break;
        default:
            r_.Error(FmtLoadStr(rtlconsts::SInvalidValueType, {static_cast<int>(r_.NextValue())}));
        }
    }

    TReader& r_;
    AnsiString& out_;
    int nesting_ = 0;
};

} // namespace

void ObjectTextToBinary(TStream* Input, TStream* Output) {
    AnsiString text = readAll(Input);
    TextParser parser(text);
    TMemoryStream result;
    {
        TWriter writer(&result, 4096);
        writer.WriteSignature();
        TextToBinary(parser, writer).convertObject(0);
        writer.FlushBuffer();
    }
    // Nothing reaches Output unless the whole text converted.
    result.SaveToStream(Output);
}

void ObjectBinaryToText(TStream* Input, TStream* Output) {
    AnsiString text;
    {
        TReader reader(Input, 4096);
        reader.ReadSignature();
        BinaryToText(reader, text).convertObject(0);
    }
    if (!text.empty()) Output->WriteBuffer(text.data(), static_cast<int32_t>(text.size()));
}

} // namespace vcl
