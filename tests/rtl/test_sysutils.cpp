#include "rtl/SysUtils.h"

#include <gtest/gtest.h>

using namespace vcl;

TEST(Format, DirectivesWidthsAndAlignment) {
    EXPECT_EQ(Format("File %s not found!", {"missing.kly"}), "File missing.kly not found!");
    EXPECT_EQ(Format("A \"Delta\" value of %d is invalid", {-3}),
              "A \"Delta\" value of -3 is invalid");
    EXPECT_EQ(Format("[%5d|%-5d|%.3d]", {42, 42, 7}), "[   42|42   |007]");
    EXPECT_EQ(Format("%x %X %u %%", {255, 0xBEEF, 7u}), "ff BEEF 7 %");
    EXPECT_EQ(Format("%x", {-1}), "ffffffff");
    EXPECT_EQ(Format("%-4s|%4s", {"ab", "cd"}), "ab  |  cd");
    EXPECT_EQ(Format("%d", {static_cast<long long>(INT64_MIN)}), "-9223372036854775808");
}

TEST(Format, MismatchRaisesConvertError) {
    EXPECT_THROW(Format("%d", {"text"}), EConvertError);
    EXPECT_THROW(Format("%s", {1}), EConvertError);
    EXPECT_THROW(Format("%d %d", {1}), EConvertError);
    EXPECT_THROW(Format("%q", {1}), EConvertError);
    EXPECT_THROW(Format("trailing %", {}), EConvertError);
}

TEST(SysUtils, CaseConversionTouchesAsciiLettersOnly) {
    EXPECT_EQ(UpperCase("a\xE4z1!"), "A\xE4Z1!");
    EXPECT_EQ(LowerCase("A\xC4Z1!"), "a\xC4z1!");
    EXPECT_TRUE(SameText("KeyS", "keys"));
    EXPECT_FALSE(SameText("\xE4", "\xC4"));
}

TEST(SysUtils, TruncAndBankersRounding) {
    EXPECT_EQ(Trunc(-6.5L), -6);
    EXPECT_EQ(Trunc(6.9L), 6);
    EXPECT_EQ(Round(2.5L), 2);
    EXPECT_EQ(Round(7.5L), 8);
    EXPECT_EQ(Round(-2.5L), -2);
    EXPECT_EQ(Round(2.51L), 3);
    EXPECT_EQ(Min(3, -4), -4);
    EXPECT_EQ(Max(3, -4), 3);
}

TEST(SysUtils, IntegerConversions) {
    EXPECT_EQ(IntToStr(-129), "-129");
    EXPECT_EQ(StrToInt("$FF"), 255);
    EXPECT_EQ(StrToInt("-2147483648"), INT32_MIN);
    EXPECT_THROW(StrToInt("12a"), EConvertError);
    EXPECT_THROW(StrToInt("2147483648"), EConvertError);
}

TEST(SysUtils, FileExistsSeesOnlyRegularFiles) {
    EXPECT_FALSE(FileExists(""));
    EXPECT_FALSE(FileExists("/"));
    EXPECT_FALSE(FileExists("/nonexistent/quimbel.kly"));
}

TEST(SysUtils, FinallyRunsWhenTheBlockEndsOrThrows) {
    int depth = 0;
    for (const bool fail : {false, true}) {
        try {
            ++depth;
            TFinally done([&] { --depth; });
            if (fail) throw EConvertError("stop");
        } catch (const EConvertError&) {
        }
        EXPECT_EQ(depth, 0) << "fail=" << fail;
    }
}
