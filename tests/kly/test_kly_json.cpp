#include "KeyTestUtil.h"

#include "KlyConsts.h"
#include "LayoutJson.h"

#include "rtl/CodePage.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <random>

using namespace quimbel;
using namespace keytest;

namespace {

const std::string kExample =
    R"({"codepage": 1252, "keys": [{"type": "ktNormal", "captions": ["a", "A", ""], )"
    R"("values": ["a", "A", ""], )"
    R"("left": 0, "top": 0, "width": 8, "height": 8, "visible": true, "enabled": true, )"
    R"("font": {"name": "MS Sans Serif", "size": 8, "color": 255, "style": ["fsBold"]}}]})";

Bytes build(const std::string& json) {
    TKeyCollection keys;
    kly::LayoutFromJson(json, keys);
    return Write(keys);
}

std::string dump(const Bytes& bytes, bool pretty = false) {
    TKeyCollection keys;
    Read(keys, bytes);
    return kly::LayoutToJson(keys, pretty);
}

// The example's key object.
std::string exampleKey() {
    const size_t from = kExample.find('[') + 1;
    return kExample.substr(from, kExample.size() - from - 2);
}

// The error LayoutFromJson raises for a JSON text, or "" when there is none.
std::string errorOf(const std::string& json) {
    TKeyCollection keys;
    keys.AddKey(new TKey(ktShift));
    try {
        kly::LayoutFromJson(json, keys);
    } catch (const kly::EKlyError& e) {
        EXPECT_EQ(keys.GetCount(), 1) << "keys were added for " << json;
        return e.Message();
    }
    return "";
}

// The example with one field of the key replaced.
std::string withKeyField(const std::string& field, const std::string& value) {
    nlohmann::json doc = nlohmann::json::parse(kExample);
    if (value.empty())
        doc["keys"][0].erase(field);
    else
        doc["keys"][0][field] = nlohmann::json::parse(value);
    return doc.dump();
}

std::string withFontField(const std::string& field, const std::string& value) {
    nlohmann::json doc = nlohmann::json::parse(kExample);
    doc["keys"][0]["font"][field] = nlohmann::json::parse(value);
    return doc.dump();
}

Bytes randomLayout(std::mt19937& rng, int count) {
    TKeyCollection keys;
    for (int i = 0; i < count; ++i) {
        auto* key = new TKey(static_cast<TKeyType>(rng() % 24));
        for (TKeyLevel level : {klNormal, klShift, klAltGr}) {
            std::string caption(rng() % 5, '\0'), value(rng() % 300 == 0 ? 300 : rng() % 4, '\0');
            for (char& c : caption)
                c = static_cast<char>(rng());
            for (char& c : value)
                c = static_cast<char>(rng());
            key->SetKeyCaption(level, caption);
            key->SetKeyValue(level, value);
        }
        key->SetLeft(static_cast<int32_t>(rng()));
        key->SetTop(static_cast<int32_t>(rng() % 200) - 100);
        key->SetWidth(static_cast<TKeyWidth>(rng()));
        key->SetHeight(static_cast<TKeyHeight>(rng()));
        key->SetVisible(rng() & 1);
        key->SetEnabled(rng() & 1);
        std::string name(1 + rng() % 12, '\0');
        for (char& c : name)
            c = static_cast<char>(rng());
        key->Font->SetName(name);
        key->Font->SetSize(static_cast<int>(rng() % 200) - 20);
        key->Font->SetColor(static_cast<vcl::TColor>(rng()));
        key->Font->SetStyle(vcl::TFontStyles::FromMask(rng() & 15));
        keys.AddKey(key);
    }
    return Write(keys);
}

} // namespace

TEST(KlyJson, TheDocumentedExampleBothWays) {
    const Bytes bytes = build(kExample);
    EXPECT_EQ(bytes.size(), 52u);
    EXPECT_EQ(dump(bytes), kExample + "\n");
    EXPECT_EQ(dump({0x01, 0x00}), "{\"codepage\": 1252, \"keys\": []}\n");
    EXPECT_EQ(dump({0x01, 0x00}, true), "{\"codepage\": 1252, \"keys\": []}\n");
    EXPECT_EQ(build("{\"keys\": []}"), (Bytes{0x01, 0x00}));

    // Pretty output puts one key on a line and reads back the same.
    TKeyCollection two;
    Read(two, bytes);
    Read(two, bytes);
    const std::string pretty = dump(Write(two), true);
    EXPECT_EQ(pretty, "{\"codepage\": 1252, \"keys\": [\n  " + exampleKey() + ",\n  " +
                          exampleKey() + "\n]}\n");
    EXPECT_EQ(build(pretty), Write(two));
}

TEST(KlyJson, EveryByteValueSurvivesAsUtf8) {
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    TKeyCollection keys;
    keys.AddKey(MakeKey(ktNormal, all, "\x80\x81\x8D\x8F\x90\x9D\x9F", "\"\\/"));
    keys.GetItem(0)->Font->SetName(all.substr(1));
    const Bytes bytes = Write(keys);
    const std::string json = dump(bytes);

    // Valid JSON with UTF-8 strings: the euro sign and the undefined bytes as their code points.
    const nlohmann::json doc = nlohmann::json::parse(json);
    const std::string shift = doc["keys"][0]["captions"][1];
    EXPECT_EQ(shift, "\u20AC\u0081\u008D\u008F\u0090\u009D\u0178");
    EXPECT_EQ(json.find('\x7F'), std::string::npos); // control characters are escaped
    EXPECT_EQ(build(json), bytes);
}

TEST(KlyJson, GeneratedLayoutsRoundTripByteForByte) {
    std::mt19937 rng(4711);
    for (int round = 0; round < 30; ++round) {
        const Bytes bytes = randomLayout(rng, static_cast<int>(rng() % 50));
        ASSERT_EQ(build(dump(bytes)), bytes) << "round " << round;
        ASSERT_EQ(build(dump(bytes, true)), bytes) << "round " << round;
    }
}

TEST(KlyJson, AlternativeSpellingsAreAccepted) {
    // A type by number, names in another case, a style bit set and an unsigned colour.
    EXPECT_EQ(build(withKeyField("type", "0")), build(kExample));
    EXPECT_EQ(build(withFontField("style", "1")), build(kExample));
    EXPECT_EQ(build(withFontField("style", R"(["FSBOLD", "fsBold"])")), build(kExample));

    TKeyCollection keys;
    kly::LayoutFromJson(withKeyField("type", "\"kttab\""), keys);
    kly::LayoutFromJson(withKeyField("type", "200"), keys);
    kly::LayoutFromJson(withFontField("color", "2147483663"), keys);
    kly::LayoutFromJson(withFontField("style", "15"), keys);
    EXPECT_EQ(keys.GetItem(0)->KeyType, KtTab);
    EXPECT_EQ(keys.GetItem(1)->KeyType, 200);
    EXPECT_EQ(keys.GetItem(2)->Font->GetColor(), vcl::clBtnFace);
    EXPECT_EQ(keys.GetItem(3)->Font->GetStyle().Mask(), 15u);
    const std::string json = kly::LayoutToJson(keys);
    EXPECT_NE(json.find(R"("type": "KtTab")"), std::string::npos);
    EXPECT_NE(json.find(R"("type": 200)"), std::string::npos);
    EXPECT_NE(json.find(R"("color": -2147483633)"), std::string::npos);
    EXPECT_NE(json.find(R"("style": ["fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"])"),
              std::string::npos);
}

TEST(KlyJson, ErrorsNameTheKeyAndTheField) {
    const std::string second = R"({"keys": [)" + exampleKey() + ", " + R"({"type": "ktNormal"}]})";
    EXPECT_EQ(errorOf(second), R"(key 1: missing field "captions")");
    EXPECT_EQ(errorOf(withKeyField("width", "")), R"(key 0: missing field "width")");
    EXPECT_EQ(errorOf(withKeyField("colour", "1")), R"(key 0: unknown field "colour")");
    EXPECT_EQ(errorOf(withKeyField("width", "256")),
              R"(key 0: field "width": expected an integer from 0 to 255)");
    EXPECT_EQ(errorOf(withKeyField("height", "8.5")),
              R"(key 0: field "height": expected an integer from 0 to 255)");
    EXPECT_EQ(errorOf(withKeyField("left", "2147483648")),
              R"(key 0: field "left": expected an integer from -2147483648 to 2147483647)");
    EXPECT_EQ(errorOf(withKeyField("visible", "1")),
              R"(key 0: field "visible": expected true or false)");
    EXPECT_EQ(errorOf(withKeyField("captions", R"(["a", "A"])")),
              R"(key 0: field "captions": expected an array of 3 strings (normal, Shift, Alt Gr))");
    EXPECT_EQ(errorOf(withKeyField("values", R"(["a", 1, ""])")),
              R"(key 0: field "values": expected an array of 3 strings (normal, Shift, Alt Gr))");
    EXPECT_EQ(errorOf(withKeyField("type", "\"ktTab2\"")),
              R"(key 0: field "type": unknown key type "ktTab2")");
    EXPECT_EQ(errorOf(withKeyField("type", "256")),
              "key 0: field \"type\": expected a key type name (ktNormal ... ktFunction) or an "
              "integer from 0 to 255");
    EXPECT_EQ(errorOf(withKeyField("captions", "[\"\u2192\", \"\", \"\"]")),
              R"(key 0: field "captions": character "→" (U+2192) is not in code page 1252)");
    EXPECT_EQ(errorOf(withKeyField("font", "3")), R"(key 0: field "font": expected an object)");
    EXPECT_EQ(errorOf(withFontField("size", "\"8\"")),
              R"(key 0: field "font.size": expected an integer from -2147483648 to 2147483647)");
    EXPECT_EQ(errorOf(withFontField("color", "4294967296")),
              R"(key 0: field "font.color": expected an integer from -2147483648 to 4294967295)");
    EXPECT_EQ(errorOf(withFontField("style", R"(["fsBlink"])")),
              R"(key 0: field "font.style": unknown font style "fsBlink")");
    EXPECT_EQ(errorOf(withFontField("style", "16")),
              "key 0: field \"font.style\": expected an array of fsBold, fsItalic, fsUnderline, "
              "fsStrikeOut or an integer from 0 to 15");
    EXPECT_EQ(errorOf(withFontField("extra", "0")), R"(key 0: unknown field "font.extra")");

    // The document itself.
    EXPECT_EQ(errorOf("[]"), R"(expected an object with the field "keys")");
    EXPECT_EQ(errorOf("{}"), R"(missing field "keys")");
    EXPECT_EQ(errorOf(R"({"keys": {}})"), R"(field "keys": expected an array)");
    EXPECT_EQ(errorOf(R"({"keys": [], "name": "us"})"), R"(unknown field "name")");
    EXPECT_EQ(errorOf(R"({"keys": [7]})"), "key 0: expected an object");
    EXPECT_EQ(errorOf(R"({"keys": [], "keys": []})"), R"(field "keys" appears twice)");
    std::string twice = kExample;
    twice.insert(twice.find("\"left\""), "\"top\": 1, ");
    EXPECT_EQ(errorOf(twice), R"(key 0: field "top" appears twice)");
    std::string fontTwice = kExample;
    fontTwice.insert(fontTwice.find("\"size\""), "\"size\": 9, ");
    EXPECT_EQ(errorOf(fontTwice), R"(key 0: field "font.size" appears twice)");

    EXPECT_EQ(errorOf("{\"keys\": [").rfind("invalid JSON: parse error at line 1, column 11", 0),
              0u);
    EXPECT_EQ(errorOf(""), "invalid JSON: parse error at line 1, column 1: syntax error while "
                           "parsing value - unexpected end of input; expected '[', '{', or a "
                           "literal");
    EXPECT_EQ(errorOf(std::string(10000, '[') + std::string(10000, ']')),
              "invalid JSON: values nested more than 16 levels deep");
    EXPECT_NE(errorOf("{\"keys\": [\"\xFF\"]}").find("invalid JSON"), std::string::npos);
    // Numbers beyond the range of a double, wherever they stand.
    EXPECT_EQ(errorOf("{\"keys\":[1e999]}"),
              "invalid JSON: parse error at line 1, column 10: number overflow parsing '1e999'");
    EXPECT_EQ(errorOf("{\"keys\": [\"1e999\"],\n \"codepage\": -1e400}"),
              "invalid JSON: parse error at line 2, column 14: number overflow parsing '-1e400'");
}

TEST(KlyJson, TheCodePageFieldGivesTheBytesTheirMeaning) {
    struct Guard {
        int saved = vcl::GetAnsiCodePage();
        ~Guard() { vcl::SetAnsiCodePage(saved); }
    } guard;
    auto layout = [](const std::string& page, const char* normal, const char* shift) {
        nlohmann::json doc = nlohmann::json::parse(kExample);
        if (page.empty())
            doc.erase("codepage");
        else
            doc["codepage"] = nlohmann::json::parse(page);
        doc["keys"][0]["captions"] = {normal, shift, "q"};
        return doc.dump();
    };
    struct Case {
        const char* Page;
        const char* Normal;
        const char* Shift;
        Bytes Expected; // the caption bytes
    };
    const Case cases[] = {{"1251", "й", "Й", {0xE9, 0xC9}},
                          {"1253", "ς", "Σ", {0xF2, 0xD3}},
                          {"1252", "é", "É", {0xE9, 0xC9}}};
    for (const Case& c : cases) {
        vcl::SetAnsiCodePage(1250);
        const Bytes bytes = build(layout(c.Page, c.Normal, c.Shift));
        EXPECT_EQ(vcl::GetAnsiCodePage(), std::stoi(c.Page));
        TKeyCollection keys;
        Read(keys, bytes);
        EXPECT_EQ(keys.GetItem(0)->GetKeyCaption(klNormal), std::string(1, char(c.Expected[0])));
        EXPECT_EQ(keys.GetItem(0)->GetKeyCaption(klShift), std::string(1, char(c.Expected[1])));
        EXPECT_EQ(nlohmann::json::parse(dump(bytes)),
                  nlohmann::json::parse(layout(c.Page, c.Normal, c.Shift)));
    }

    // Without the field, or told to ignore it, the active page counts.
    vcl::SetAnsiCodePage(1252);
    TKeyCollection keys;
    EXPECT_THROW(kly::LayoutFromJson(layout("1251", "й", "Й"), keys, false), kly::EKlyError);
    EXPECT_EQ(errorOf(layout("", "й", "Й")),
              R"(key 0: field "captions": character "й" (U+0439) is not in code page 1252)");
    EXPECT_EQ(errorOf(layout("1253", "й", "Й")),
              R"(key 0: field "captions": character "й" (U+0439) is not in code page 1253)");
    EXPECT_EQ(vcl::GetAnsiCodePage(), 1252); // a failed read leaves the active page as it was
    for (const char* bad : {"65001", "\"1251\"", "-1"})
        EXPECT_EQ(errorOf(layout(bad, "a", "A")),
                  R"(field "codepage": expected a code page: 874 or 1250 to 1258)");
}
