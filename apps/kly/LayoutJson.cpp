#include "LayoutJson.h"

#include "KlyConsts.h"

#include "rtl/CodePage.h"
#include "runtime/LayoutRecord.h"

#include <nlohmann/json.hpp>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <set>
#include <vector>

namespace kly {

using nlohmann::json;
using quimbel::TKey;
using vcl::AnsiString;

namespace {

using quimbel::layoutrecord::StyleBits;
using quimbel::layoutrecord::StylesOf;
using quimbel::layoutrecord::StyleValue;

// --- writing ---------------------------------------------------------------------------------

// Control characters, DEL, the C1 range and the private-use characters that stand for undefined
// bytes are escaped so that they stay visible.
void appendString(std::string& out, const AnsiString& s) {
    out += '"';
    for (unsigned char b : s) {
        char32_t cp = vcl::AnsiCharToUnicode(b);
        switch (cp) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\b':
            out += "\\b";
            break;
        case '\f':
            out += "\\f";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (cp < 0x20 || (cp >= 0x7F && cp <= 0x9F) || (cp >= 0xF700 && cp <= 0xF7FF)) {
                char buf[8];
                std::snprintf(buf, sizeof buf, "\\u%04x", static_cast<unsigned>(cp));
                out += buf;
            } else {
                out += vcl::AnsiToUtf8(AnsiString(1, static_cast<char>(b)));
            }
        }
    }
    out += '"';
}

void appendLevels(std::string& out, const std::array<AnsiString, 3>& levels) {
    out += '[';
    for (size_t i = 0; i < levels.size(); ++i) {
        if (i) out += ", ";
        appendString(out, levels[i]);
    }
    out += ']';
}

void appendKey(std::string& out, const TKey& key) {
    out += "{\"type\": ";
    if (key.KeyType <= quimbel::ktFunction)
        appendString(out, quimbel::TypeInfoKeyType.NameOf(key.KeyType));
    else
        out += std::to_string(key.KeyType);
    out += ", \"captions\": ";
    appendLevels(out, key.KeyCaption);
    out += ", \"values\": ";
    appendLevels(out, key.KeyValue);
    out += ", \"left\": " + std::to_string(key.Left);
    out += ", \"top\": " + std::to_string(key.Top);
    out += ", \"width\": " + std::to_string(key.Width);
    out += ", \"height\": " + std::to_string(key.Height);
    out += key.Visible ? ", \"visible\": true" : ", \"visible\": false";
    out += key.Enabled ? ", \"enabled\": true" : ", \"enabled\": false";
    out += ", \"font\": {\"name\": ";
    appendString(out, key.Font->GetName());
    out += ", \"size\": " + std::to_string(key.Font->GetSize());
    out += ", \"color\": " + std::to_string(static_cast<int32_t>(key.Font->GetColor()));
    out += ", \"style\": [";
    const int bits = StyleValue(key.Font->GetStyle());
    bool first = true;
    for (int i = 0; i < 4; ++i) {
        if (!(bits & (1 << i))) continue;
        if (!first) out += ", ";
        first = false;
        appendString(out, vcl::TFontStyleInfo.NameOf(StyleBits[i]));
    }
    out += "]}}";
}

// --- reading ---------------------------------------------------------------------------------

// Deepest nesting of a valid layout: root, keys, key, font, style.
constexpr int kMaxDepth = 16;

// Reads the fields of one JSON object, naming the key and the field in every error.
class TFieldReader {
public:
    TFieldReader(const json& Object, int KeyIndex, const char* Prefix)
        : object_(Object), key_(KeyIndex), prefix_(Prefix) {}

    [[noreturn]] void Fail(const AnsiString& Message) const {
        if (key_ < 0) throw EKlyError(vcl::FmtLoadStr(consts::SAtRoot, {Message}));
        throw EKlyError(vcl::FmtLoadStr(consts::SAtKey, {key_, Message}));
    }
    [[noreturn]] void FailField(const char* Name, const AnsiString& Message) const {
        Fail(vcl::FmtLoadStr(consts::SField, {prefix_ + Name, Message}));
    }

    // Every field must be one of Names or Optional, and each of Names must be present.
    void CheckFields(std::initializer_list<const char*> Names,
                     std::initializer_list<const char*> Optional = {}) const {
        for (const auto& item : object_.items()) {
            bool known = false;
            for (const char* n : Names)
                known = known || item.key() == n;
            for (const char* n : Optional)
                known = known || item.key() == n;
            if (!known)
                Fail(vcl::FmtLoadStr(consts::SUnknownField, {prefix_ + AnsiString(item.key())}));
        }
        for (const char* n : Names)
            if (!object_.contains(n)) Fail(vcl::FmtLoadStr(consts::SMissingField, {prefix_ + n}));
    }

    const json& Get(const char* Name) const { return object_.at(Name); }

    int64_t Integer(const char* Name, int64_t Min, int64_t Max) const {
        int64_t v;
        if (!IntegerOf(Get(Name), Min, Max, v))
            FailField(Name,
                      vcl::FmtLoadStr(consts::SIntegerExpected,
                                      {static_cast<long long>(Min), static_cast<long long>(Max)}));
        return v;
    }

    bool Boolean(const char* Name) const {
        const json& v = Get(Name);
        if (!v.is_boolean()) FailField(Name, vcl::LoadResString(consts::SBooleanExpected));
        return v.get<bool>();
    }

    AnsiString String(const char* Name) const {
        const json& v = Get(Name);
        if (!v.is_string()) FailField(Name, vcl::LoadResString(consts::SStringExpected));
        return ToAnsi(Name, v.get_ref<const std::string&>());
    }

    std::array<AnsiString, 3> Levels(const char* Name) const {
        const json& v = Get(Name);
        if (!v.is_array() || v.size() != 3)
            FailField(Name, vcl::LoadResString(consts::SLevelsExpected));
        std::array<AnsiString, 3> result;
        for (size_t i = 0; i < 3; ++i) {
            if (!v[i].is_string()) FailField(Name, vcl::LoadResString(consts::SLevelsExpected));
            result[i] = ToAnsi(Name, v[i].get_ref<const std::string&>());
        }
        return result;
    }

    static bool IntegerOf(const json& v, int64_t Min, int64_t Max, int64_t& Out) {
        if (v.is_number_unsigned()) {
            uint64_t u = v.get<uint64_t>();
            if (u > static_cast<uint64_t>(Max)) return false;
            Out = static_cast<int64_t>(u);
        } else if (v.is_number_integer()) {
            Out = v.get<int64_t>();
        } else {
            return false;
        }
        return Out >= Min && Out <= Max;
    }

private:
    // JSON strings are valid UTF-8 (the parser checks); each character must be in the active
    // code page.
    AnsiString ToAnsi(const char* Name, const std::string& Utf8) const {
        AnsiString out;
        out.reserve(Utf8.size());
        for (size_t i = 0; i < Utf8.size();) {
            const size_t start = i;
            char32_t cp = 0;
            vcl::DecodeUtf8(Utf8, i, cp);
            if (!vcl::AppendAnsiChar(out, cp))
                FailField(Name, vcl::FmtLoadStr(consts::SNoAnsiChar, {Utf8.substr(start, i - start),
                                                                      static_cast<unsigned>(cp),
                                                                      vcl::GetAnsiCodePage()}));
        }
        return out;
    }

    const json& object_;
    int key_;
    AnsiString prefix_;
};

quimbel::TKeyType keyTypeOf(const TFieldReader& r) {
    const json& v = r.Get("type");
    if (v.is_string()) {
        const std::string& name = v.get_ref<const std::string&>();
        int ordinal = quimbel::TypeInfoKeyType.IndexOf(name);
        if (ordinal < 0) r.FailField("type", vcl::FmtLoadStr(consts::SUnknownKeyType, {name}));
        return static_cast<quimbel::TKeyType>(ordinal);
    }
    int64_t n;
    if (!TFieldReader::IntegerOf(v, 0, 255, n))
        r.FailField("type", vcl::LoadResString(consts::SKeyTypeExpected));
    return static_cast<quimbel::TKeyType>(n);
}

vcl::TFontStyles styleOf(const TFieldReader& r) {
    const json& v = r.Get("style");
    int64_t n;
    if (TFieldReader::IntegerOf(v, 0, 15, n)) return StylesOf(static_cast<int32_t>(n));
    if (!v.is_array()) r.FailField("style", vcl::LoadResString(consts::SStyleExpected));
    int bits = 0;
    for (const json& item : v) {
        if (!item.is_string()) r.FailField("style", vcl::LoadResString(consts::SStyleExpected));
        const std::string& name = item.get_ref<const std::string&>();
        int bit = -1;
        for (int i = 0; i < 4; ++i)
            if (vcl::SameText(name, vcl::TFontStyleInfo.NameOf(StyleBits[i]))) bit = i;
        if (bit < 0) r.FailField("style", vcl::FmtLoadStr(consts::SUnknownStyle, {name}));
        bits |= 1 << bit;
    }
    return StylesOf(bits);
}

std::unique_ptr<TKey> keyOf(const json& v, int index) {
    TFieldReader r(v, index, "");
    if (!v.is_object()) r.Fail(vcl::LoadResString(consts::SKeyExpected));
    r.CheckFields({"type", "captions", "values", "left", "top", "width", "height", "visible",
                   "enabled", "font"});
    auto key = std::make_unique<TKey>(keyTypeOf(r));
    key->KeyCaption = r.Levels("captions");
    key->KeyValue = r.Levels("values");
    key->SetLeft(static_cast<int32_t>(r.Integer("left", INT32_MIN, INT32_MAX)));
    key->SetTop(static_cast<int32_t>(r.Integer("top", INT32_MIN, INT32_MAX)));
    key->SetWidth(static_cast<quimbel::TKeyWidth>(r.Integer("width", 0, 255)));
    key->SetHeight(static_cast<quimbel::TKeyHeight>(r.Integer("height", 0, 255)));
    key->SetVisible(r.Boolean("visible"));
    key->SetEnabled(r.Boolean("enabled"));

    const json& font = r.Get("font");
    if (!font.is_object()) r.FailField("font", vcl::LoadResString(consts::SObjectExpected));
    TFieldReader f(font, index, "font.");
    f.CheckFields({"name", "size", "color", "style"});
    key->Font->SetName(f.String("name"));
    key->Font->SetSize(static_cast<int32_t>(f.Integer("size", INT32_MIN, INT32_MAX)));
    // Colours are written signed; the unsigned spelling of the same 32 bits is accepted too.
    key->Font->SetColor(static_cast<vcl::TColor>(
        static_cast<int32_t>(static_cast<uint32_t>(f.Integer("color", INT32_MIN, UINT32_MAX)))));
    key->Font->SetStyle(styleOf(f));
    return key;
}

// The line and column (from 1) of the first number in Text whose value lies beyond the range of
// a double, for the parser's overflow error, which names no position.
std::string overflowPosition(const std::string& Text) {
    int line = 1, column = 1;
    bool inString = false;
    for (size_t i = 0; i < Text.size(); ++i, ++column) {
        const char c = Text[i];
        if (inString) {
            if (c == '\\')
                ++i, ++column;
            else if (c == '"')
                inString = false;
        } else if (c == '"') {
            inString = true;
        } else if (c == '\n') {
            ++line;
            column = 0;
        } else if (c == '-' || (c >= '0' && c <= '9')) {
            size_t end = i;
            while (end < Text.size() && std::strchr("+-.eE0123456789", Text[end]))
                ++end;
            if (std::isinf(std::strtod(Text.substr(i, end - i).c_str(), nullptr)))
                return "at line " + std::to_string(line) + ", column " + std::to_string(column);
            column += static_cast<int>(end - i) - 1;
            i = end - 1;
        }
    }
    return "at line " + std::to_string(line) + ", column " + std::to_string(column);
}

// Parses JSON text, refusing duplicate fields (which the parser would silently merge) and
// absurd nesting.
json parse(const std::string& text) {
    std::vector<std::set<std::string>> objects;
    int keyIndex = -1;
    auto callback = [&](int depth, json::parse_event_t event, json& parsed) {
        if (depth > kMaxDepth) throw EKlyError(vcl::FmtLoadStr(consts::SJsonNesting, {kMaxDepth}));
        switch (event) {
        case json::parse_event_t::object_start:
            if (depth == 2) ++keyIndex;
            objects.emplace_back();
            break;
        case json::parse_event_t::object_end:
            objects.pop_back();
            break;
        case json::parse_event_t::key: {
            const std::string& name = parsed.get_ref<const std::string&>();
            if (!objects.back().insert(name).second) {
                AnsiString field = depth == 4 ? "font." + name : name;
                AnsiString message = vcl::FmtLoadStr(consts::SDuplicateField, {field});
                if (depth >= 3 && keyIndex >= 0)
                    throw EKlyError(vcl::FmtLoadStr(consts::SAtKey, {keyIndex, message}));
                throw EKlyError(message);
            }
            break;
        }
        default:
            break;
        }
        return true;
    };
    try {
        return json::parse(text, callback);
    } catch (const json::parse_error& e) {
        // The parser's text starts with an internal tag in brackets.
        std::string message = e.what();
        size_t end = message.find("] ");
        if (message.rfind("[json.exception", 0) == 0 && end != std::string::npos)
            message.erase(0, end + 2);
        throw EKlyError(vcl::FmtLoadStr(consts::SJsonSyntax, {message}));
    } catch (const json::out_of_range& e) {
        // A number too large for a double, such as 1e999.
        std::string message = e.what();
        size_t end = message.find("] ");
        if (end != std::string::npos) message.erase(0, end + 2);
        throw EKlyError(vcl::FmtLoadStr(
            consts::SJsonSyntax, {"parse error " + overflowPosition(text) + ": " + message}));
    }
}

} // namespace

std::string LayoutToJson(const quimbel::TKeyCollection& Keys, bool Pretty) {
    std::string out = "{\"codepage\": " + std::to_string(vcl::GetAnsiCodePage()) + ", \"keys\": [";
    const int count = Keys.GetCount();
    for (int i = 0; i < count; ++i) {
        if (Pretty)
            out += i ? ",\n  " : "\n  ";
        else if (i)
            out += ", ";
        appendKey(out, *Keys.GetItem(i));
    }
    if (Pretty && count > 0) out += '\n';
    out += "]}\n";
    return out;
}

void LayoutFromJson(const std::string& Json, quimbel::TKeyCollection& Keys, bool UseFileCodePage) {
    const json doc = parse(Json);
    TFieldReader root(doc, -1, "");
    if (!doc.is_object()) root.Fail(vcl::LoadResString(consts::SRootExpected));
    root.CheckFields({"keys"}, {"codepage"});
    int64_t page = 0;
    if (doc.contains("codepage")) {
        if (!TFieldReader::IntegerOf(doc.at("codepage"), 0, INT32_MAX, page) ||
            !vcl::IsSupportedCodePage(static_cast<int>(page)))
            root.FailField("codepage", vcl::LoadResString(consts::SCodePageExpected));
    }
    const json& keys = doc.at("keys");
    if (!keys.is_array()) root.FailField("keys", vcl::LoadResString(consts::SArrayExpected));

    // The file's page converts the strings; a read that fails leaves the page that was active.
    const int previousPage = vcl::GetAnsiCodePage();
    if (UseFileCodePage && page != 0) vcl::SetAnsiCodePage(static_cast<int>(page));
    std::vector<std::unique_ptr<TKey>> read;
    try {
        read.reserve(keys.size());
        for (size_t i = 0; i < keys.size(); ++i)
            read.push_back(keyOf(keys[i], static_cast<int>(i)));
    } catch (...) {
        vcl::SetAnsiCodePage(previousPage);
        throw;
    }
    for (auto& key : read)
        Keys.AddKey(key.release());
}

} // namespace kly
