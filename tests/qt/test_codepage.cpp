#include "qt/Codepage.h"
#include "rtl/CodePage.h"

#include <QLineEdit>
#include <QToolTip>

#include <gtest/gtest.h>

using namespace vcl::qt;

TEST(Codepage, EveryByteSurvivesTheRoundTrip) {
    vcl::AnsiString all;
    for (int i = 0; i < 256; ++i)
        all.push_back(static_cast<char>(i));
    const QString u = ToQString(all);
    ASSERT_EQ(u.size(), 256);
    EXPECT_EQ(FromQString(u), all);
    // No two bytes share a character.
    for (int i = 0; i < 256; ++i)
        for (int j = i + 1; j < 256; ++j)
            ASSERT_NE(u[i], u[j]) << i << " " << j;
}

TEST(Codepage, KnownCharactersAndUndefinedBytes) {
    EXPECT_EQ(AnsiToUnicode(0x80), 0x20AC); // euro
    EXPECT_EQ(AnsiToUnicode(0x9F), 0x0178); // Y with diaeresis
    EXPECT_EQ(AnsiToUnicode(0xE4), 0x00E4); // a with diaeresis
    EXPECT_EQ(AnsiToUnicode(0x8A), 0x0160);
    for (unsigned char undefined : {0x81, 0x8D, 0x8F, 0x90, 0x9D})
        EXPECT_EQ(AnsiToUnicode(undefined), undefined);
    EXPECT_EQ(ToQString("\xE4\x80"), QString::fromUtf8("ä€"));
    EXPECT_EQ(FromQString(QString::fromUtf8("Grüße €5")), "Gr\xFC\xDF"
                                                          "e \x80"
                                                          "5");
}

TEST(Codepage, CharactersOutsideTheCodePageBecomeOneQuestionMarkEach) {
    // Cyrillic, a character outside the BMP (a surrogate pair) and a C1 control Windows-1252
    // does not use for its undefined bytes.
    EXPECT_EQ(FromQString(QString::fromUtf8("a\xD0\x96"
                                            "b\xF0\x9F\x98\x80"
                                            "c")),
              "a?b?c");
    EXPECT_EQ(FromQString(QString(QChar(0x85))), "?");
    unsigned char b = 0;
    EXPECT_FALSE(UnicodeToAnsi(0x0100, b));
    EXPECT_TRUE(UnicodeToAnsi(0x2122, b));
    EXPECT_EQ(b, 0x99);
}

TEST(Codepage, TypedTextTheCodePageCannotHoldIsRefusedWithItsName) {
    const int saved = vcl::GetAnsiCodePage();
    QLineEdit edit;
    edit.show();
    vcl::AnsiString out = "kept";
    vcl::SetAnsiCodePage(1252);
    EXPECT_FALSE(TypedTextToAnsi(&edit, QString::fromUtf8("Жx"), out));
    EXPECT_EQ(out, "kept");
    EXPECT_EQ(QToolTip::text(), "Character U+0416 is not in code page 1252");
    vcl::SetAnsiCodePage(1251);
    EXPECT_TRUE(TypedTextToAnsi(&edit, QString::fromUtf8("Жx"), out));
    EXPECT_EQ(out, "\xC6x");
    vcl::SetAnsiCodePage(saved);
}
