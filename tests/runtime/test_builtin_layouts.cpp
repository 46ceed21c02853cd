// The layouts built into the package: complete, typable, and laid out without overlaps.

#include "runtime/Quimbel.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

using namespace quimbel;

namespace {

struct Layout {
    TKeyCollection keys;
    explicit Layout(const char* name) { LoadLayoutResource(&keys, name); }

    std::vector<const TKey*> OfType(TKeyType type) const {
        std::vector<const TKey*> found;
        for (int i = 0; i < keys.GetCount(); ++i)
            if (keys.GetItem(i)->KeyType == type) found.push_back(keys.GetItem(i));
        return found;
    }

    // The normal key whose value at klNormal is Normal.
    const TKey* Key(const std::string& normal) const {
        for (const TKey* k : OfType(ktNormal))
            if (k->GetKeyValue(klNormal) == normal) return k;
        return nullptr;
    }

    // Every single character that some normal key types at some level, with the level; the
    // key shows what it types at that level.
    std::map<char, TKeyLevel> Typable() const {
        std::map<char, TKeyLevel> chars;
        for (const TKey* k : OfType(ktNormal)) {
            for (TKeyLevel level : {klNormal, klShift, klAltGr}) {
                const std::string value = k->GetKeyValue(level);
                if (value.size() != 1) continue;
                EXPECT_EQ(k->GetKeyCaption(level), value);
                chars.emplace(value[0], level);
            }
        }
        return chars;
    }
};

void expectSoundGeometry(const Layout& layout, const char* name) {
    for (int i = 0; i < layout.keys.GetCount(); ++i) {
        const TKey* a = layout.keys.GetItem(i);
        EXPECT_TRUE(a->Width >= 4 && a->Width <= 80 && a->Width % 4 == 0) << name << " key " << i;
        EXPECT_TRUE(a->Height >= 4 && a->Height <= 80 && a->Height % 4 == 0) << name;
        EXPECT_GE(a->Left, 0);
        EXPECT_GE(a->Top, 0);
        EXPECT_TRUE(a->Visible && a->Enabled);
        for (int j = 0; j < i; ++j) {
            const TKey* b = layout.keys.GetItem(j);
            const bool overlap = a->Left < b->Left + b->Width && b->Left < a->Left + a->Width &&
                                 a->Top < b->Top + b->Height && b->Top < a->Top + a->Height;
            EXPECT_FALSE(overlap) << name << ": keys " << j << " and " << i << " overlap";
        }
    }
}

// Editing and cursor keys, with the Wingdings arrows where the key properties dialog puts them.
void expectFullKeyboard(const Layout& layout, const char* name) {
    EXPECT_EQ(layout.OfType(ktShift).size(), 2u) << name;
    for (TKeyType single :
         {ktCapsLock, ktAltGr, ktEscape, KtTab, ktBackspace, ktInsert, ktDelete, ktHome, ktEnd})
        EXPECT_EQ(layout.OfType(single).size(), 1u) << name << " type " << int(single);
    const std::map<TKeyType, char> arrows{{ktEnter, '\xC3'},   {ktLeft, '\xDF'}, {ktRight, '\xE0'},
                                          {ktUp, '\xE1'},      {ktDown, '\xE2'}, {ktPageUp, '\xF1'},
                                          {ktPageDown, '\xF2'}};
    for (const auto& [type, glyph] : arrows) {
        ASSERT_EQ(layout.OfType(type).size(), 1u) << name << " type " << int(type);
        const TKey* k = layout.OfType(type)[0];
        EXPECT_EQ(k->GetKeyCaption(klNormal), std::string(1, glyph)) << name;
        EXPECT_EQ(k->Font->GetName(), "Wingdings") << name;
    }
    const auto functions = layout.OfType(ktFunction);
    ASSERT_EQ(functions.size(), 12u) << name;
    for (size_t i = 0; i < functions.size(); ++i)
        EXPECT_EQ(functions[i]->GetKeyCaption(klNormal), "F" + std::to_string(i + 1));
    const TKey* space = layout.Key(" ");
    ASSERT_NE(space, nullptr) << name;
    EXPECT_GE(space->Width, 40);
    // Special keys type nothing by themselves.
    for (int i = 0; i < layout.keys.GetCount(); ++i) {
        const TKey* k = layout.keys.GetItem(i);
        if (k->KeyType != ktNormal && k->KeyType != ktFunction) {
            EXPECT_EQ(k->KeyValue, (TKeyLevelValue{"", "", ""}));
        }
    }
}

} // namespace

TEST(BuiltInLayouts, UsTypesEveryPrintableAsciiCharacter) {
    Layout us("us");
    expectSoundGeometry(us, "us");
    expectFullKeyboard(us, "us");
    const auto typable = us.Typable();
    for (int c = 0x20; c < 0x7F; ++c)
        EXPECT_TRUE(typable.count(static_cast<char>(c))) << "cannot type '" << char(c) << "'";
    for (char c = 'a'; c <= 'z'; ++c) {
        ASSERT_NE(us.Key(std::string(1, c)), nullptr);
        EXPECT_EQ(us.Key(std::string(1, c))->GetKeyValue(klShift), std::string(1, c - 32));
    }
    EXPECT_EQ(us.Key("2")->GetKeyValue(klShift), "@");
    EXPECT_EQ(us.Key("'")->GetKeyValue(klShift), "\"");
}

TEST(BuiltInLayouts, GermanTypesAsciiAndItsAltGrCharacters) {
    Layout de("DE"); // resource names are not case-sensitive
    expectSoundGeometry(de, "de");
    expectFullKeyboard(de, "de");
    const auto typable = de.Typable();
    for (int c = 0x20; c < 0x7F; ++c)
        EXPECT_TRUE(typable.count(static_cast<char>(c))) << "cannot type '" << char(c) << "'";
    // QWERTZ, umlauts and sharp s.
    EXPECT_NE(de.Key("z"), nullptr);
    EXPECT_EQ(de.Key("y")->Top, de.Key("x")->Top);
    EXPECT_GT(de.Key("y")->Top, de.Key("z")->Top);
    for (const char* c : {"\xE4", "\xF6", "\xFC", "\xDF"})
        EXPECT_NE(de.Key(c), nullptr);
    const std::map<std::string, std::string> altGr{
        {"q", "@"},     {"e", "\x80"}, {"7", "{"}, {"8", "["},    {"9", "]"},    {"0", "}"},
        {"\xDF", "\\"}, {"+", "~"},    {"<", "|"}, {"m", "\xB5"}, {"2", "\xB2"}, {"3", "\xB3"}};
    for (const auto& [key, value] : altGr) {
        ASSERT_NE(de.Key(key), nullptr) << key;
        EXPECT_EQ(de.Key(key)->GetKeyValue(klAltGr), value) << key;
        EXPECT_EQ(de.Key(key)->GetKeyCaption(klAltGr), value) << key;
    }
    EXPECT_EQ(de.Key("3")->GetKeyValue(klShift), "\xA7");
}

TEST(BuiltInLayouts, NumpadAndUnknownNames) {
    Layout pad("numpad");
    expectSoundGeometry(pad, "numpad");
    for (const char* c :
         {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "+", "-", "*", "/", "."}) {
        ASSERT_NE(pad.Key(c), nullptr) << c;
        EXPECT_EQ(pad.Key(c)->KeyValue, (TKeyLevelValue{c, c, c}));
    }
    EXPECT_EQ(pad.OfType(ktEnter).size(), 1u);
    EXPECT_EQ(pad.OfType(ktBackspace).size(), 1u);

    TKeyCollection keys;
    keys.AddKey(new TKey(ktNormal));
    try {
        LoadLayoutResource(&keys, "xx");
        FAIL() << "no error";
    } catch (const vcl::EResNotFound& e) {
        EXPECT_EQ(e.Message(), "Resource xx not found");
    }
    EXPECT_EQ(keys.GetCount(), 0);
}

// The layouts imported from the system's keymaps: each a full keyboard on the us or de geometry,
// in the code page the table gives, showing what it types.
TEST(BuiltInLayouts, ImportedLayoutsAreFullKeyboardsInTheirCodePage) {
    ASSERT_GE(BuiltInLayouts().size(), 40u);
    const std::map<std::string, int> pages{{"fr", 1252}, {"pl", 1250}, {"ro", 1250},  {"tr", 1254},
                                           {"ua", 1251}, {"il", 1255}, {"ara", 1256}, {"lt", 1257},
                                           {"vn", 1258}, {"th", 874}};
    for (const auto& [name, page] : pages)
        EXPECT_EQ(BuiltInLayoutCodePage(name), page) << name;
    for (const TBuiltInLayout& builtIn : BuiltInLayouts()) {
        const std::string name = builtIn.Name;
        if (name == "numpad" || name == "phone") continue; // pads, not keyboards
        Layout layout(builtIn.Name);
        expectSoundGeometry(layout, builtIn.Name);
        expectFullKeyboard(layout, builtIn.Name);
        EXPECT_GE(layout.Typable().size(), 60u) << name;
        // ISO layouts have the key beside left Shift and the tall Enter.
        const TKey* enter = layout.OfType(ktEnter)[0];
        EXPECT_EQ(enter->Height == 16, layout.keys.GetCount() == 79) << name;
    }
    // Romanian s and t with comma below are written with the cedilla of page 1250.
    Layout ro("ro");
    EXPECT_EQ(ro.Typable().count('\xBA'), 1u); // ş
    EXPECT_EQ(ro.Typable().count('\xFE'), 1u); // ţ
}
