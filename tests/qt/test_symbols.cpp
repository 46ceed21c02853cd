#include "qt/Symbols.h"

#include <QGlyphRun>
#include <QTextLayout>
#include <gtest/gtest.h>

#include "qt/Fonts.h"

using namespace vcl::qt;

TEST(Symbols, KeyCaptionArrowsOfTheKeyPropertiesDialog) {
    EXPECT_EQ(WingdingsToUnicode(0xC3), U'\u21B5'); // Enter
    EXPECT_EQ(WingdingsToUnicode(0xDF), U'\u2190'); // left
    EXPECT_EQ(WingdingsToUnicode(0xE0), U'\u2192'); // right
    EXPECT_EQ(WingdingsToUnicode(0xE1), U'\u2191'); // up
    EXPECT_EQ(WingdingsToUnicode(0xE2), U'\u2193'); // down
    EXPECT_EQ(WingdingsToUnicode(0xF1), U'\u21E7'); // page up
    EXPECT_EQ(WingdingsToUnicode(0xF2), U'\u21E9'); // page down
    EXPECT_EQ(WingdingsToUnicode(0x20), 0u);
}

TEST(Symbols, DisplayTextDependsOnTheFace) {
    EXPECT_EQ(DisplayText("Wingdings", "\xE0"), QString::fromUtf8("→"));
    EXPECT_EQ(DisplayText("WINGDINGS", "\xDF\xE1"), QString::fromUtf8("←↑"));
    EXPECT_EQ(DisplayText("MS Sans Serif", "\xE0"), QString::fromUtf8("à"));
    // A byte without a symbol stays readable.
    EXPECT_EQ(DisplayText("Wingdings", " \xE2"), QString::fromUtf8(" ↓"));
    // What a user types into a control set in the face is stored back as the same bytes.
    for (int b = 0; b < 256; ++b) {
        const vcl::AnsiString byte(1, static_cast<char>(b));
        EXPECT_EQ(StoredText("Wingdings", DisplayText("Wingdings", byte)), byte) << b;
        EXPECT_EQ(StoredText("Arial", DisplayText("Arial", byte)), byte) << b;
    }
    EXPECT_EQ(StoredText("Wingdings", QString::fromUtf8("a→€")), "a\xE0\x80");
    EXPECT_TRUE(IsSymbolFont("wingdings"));
    EXPECT_FALSE(IsSymbolFont("Wingdings 2"));
}

TEST(Symbols, EverySymbolCanBeDrawnWithTheSubstituteFace) {
    // A symbol that no installed font carries would show as an empty box on a key.
    const QFont font = MakeFont("Wingdings", 10);
    for (int b = 0; b < 256; ++b) {
        const char32_t code = WingdingsToUnicode(static_cast<unsigned char>(b));
        if (code == 0) continue;
        QTextLayout layout(QString::fromUcs4(&code, 1), font);
        layout.beginLayout();
        layout.createLine();
        layout.endLayout();
        const QList<QGlyphRun> runs = layout.glyphRuns();
        ASSERT_EQ(runs.size(), 1) << std::hex << b;
        // Glyph 0 is the font's "missing character" box, after every fallback face was tried.
        EXPECT_NE(runs[0].glyphIndexes().value(0), 0u) << std::hex << b;
    }
}
