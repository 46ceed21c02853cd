#include "rtl/Filer.h"
#include "rtl/TypInfo.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>

using namespace vcl;

namespace {

using Bytes = std::vector<uint8_t>;

Bytes written(const std::function<void(TWriter&)>& fn) {
    TMemoryStream m;
    {
        TWriter w(&m, 1024);
        fn(w);
    }
    return m.Bytes();
}

TMemoryStream* streamOf(const Bytes& b) {
    auto* m = new TMemoryStream;
    if (!b.empty()) m->WriteBuffer(b.data(), static_cast<int32_t>(b.size()));
    m->SetPosition(0);
    return m;
}

// Runs fn on a reader over b and returns the EReadError message ("" when nothing was raised).
std::string readError(const Bytes& b, const std::function<void(TReader&)>& fn) {
    std::unique_ptr<TMemoryStream> m(streamOf(b));
    TReader r(m.get(), 1024);
    try {
        fn(r);
    } catch (const EReadError& e) {
        return e.Message();
    }
    return "";
}

const TEnumInfo kStyles{"TFontStyle", {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"}};

} // namespace

TEST(Writer, IntegersTakeTheSmallestForm) {
    auto enc = [](int64_t v) { return written([v](TWriter& w) { w.WriteInteger(v); }); };
    EXPECT_EQ(enc(0), (Bytes{0x02, 0x00}));
    EXPECT_EQ(enc(127), (Bytes{0x02, 0x7F}));
    EXPECT_EQ(enc(128), (Bytes{0x03, 0x80, 0x00}));
    EXPECT_EQ(enc(-128), (Bytes{0x02, 0x80}));
    EXPECT_EQ(enc(-129), (Bytes{0x03, 0x7F, 0xFF}));
    EXPECT_EQ(enc(-3), (Bytes{0x02, 0xFD}));
    EXPECT_EQ(enc(32767), (Bytes{0x03, 0xFF, 0x7F}));
    EXPECT_EQ(enc(-32768), (Bytes{0x03, 0x00, 0x80}));
    EXPECT_EQ(enc(32768), (Bytes{0x04, 0x00, 0x80, 0x00, 0x00}));
    EXPECT_EQ(enc(static_cast<int32_t>(0x8000000F)), (Bytes{0x04, 0x0F, 0x00, 0x00, 0x80}));
    EXPECT_EQ(enc(INT32_MIN), (Bytes{0x04, 0x00, 0x00, 0x00, 0x80}));
    EXPECT_EQ(enc(int64_t{1} << 32), (Bytes{0x13, 0, 0, 0, 0, 1, 0, 0, 0}));
    EXPECT_EQ(enc(int64_t{INT32_MIN} - 1),
              (Bytes{0x13, 0xFF, 0xFF, 0xFF, 0x7F, 0xFF, 0xFF, 0xFF, 0xFF}));
}

TEST(Writer, StringsAndOtherKinds) {
    Bytes s255 = written([](TWriter& w) { w.WriteString(std::string(255, 'a')); });
    ASSERT_EQ(s255.size(), 257u);
    EXPECT_EQ(s255[0], 0x06);
    EXPECT_EQ(s255[1], 0xFF);
    EXPECT_EQ(s255[256], 'a');
    Bytes s256 = written([](TWriter& w) { w.WriteString(std::string(256, 'b')); });
    ASSERT_EQ(s256.size(), 261u);
    EXPECT_EQ(Bytes(s256.begin(), s256.begin() + 5), (Bytes{0x0C, 0x00, 0x01, 0x00, 0x00}));
    EXPECT_EQ(written([](TWriter& w) { w.WriteString(""); }), (Bytes{0x06, 0x00}));
    EXPECT_EQ(written([](TWriter& w) {
                  w.WriteListBegin();
                  w.WriteBoolean(true);
                  w.WriteBoolean(false);
                  w.WriteListEnd();
              }),
              (Bytes{0x01, 0x09, 0x08, 0x00}));
    EXPECT_EQ(written([](TWriter& w) {
                  w.WriteIdent("clRed");
                  w.WriteIdent("false");
                  w.WriteIdent("TRUE");
                  w.WriteIdent("nil");
                  w.WriteIdent("Null");
              }),
              (Bytes{0x07, 5, 'c', 'l', 'R', 'e', 'd', 0x08, 0x09, 0x0D, 0x00}));
    EXPECT_EQ(written([](TWriter& w) { w.WriteSet(0b1001, &kStyles); }),
              (Bytes{0x0B, 6,   'f', 's', 'B', 'o', 'l', 'd', 11,  'f', 's',
                     'S',  't', 'r', 'i', 'k', 'e', 'O', 'u', 't', 0}));
    EXPECT_EQ(written([](TWriter& w) {
                  w.WriteBinary({0xDE, 0xAD});
              }),
              (Bytes{0x0A, 2, 0, 0, 0, 0xDE, 0xAD}));
    EXPECT_EQ(written([](TWriter& w) { w.WriteChar('x'); }), (Bytes{0x06, 1, 'x'}));
    // 1.5 as an 80-bit extended: mantissa 0xC000..., exponent 0x3FFF.
    EXPECT_EQ(written([](TWriter& w) { w.WriteFloat(1.5L); }),
              (Bytes{0x05, 0, 0, 0, 0, 0, 0, 0, 0xC0, 0xFF, 0x3F}));
    EXPECT_EQ(written([](TWriter& w) { w.WriteFloat(-2.0L); }),
              (Bytes{0x05, 0, 0, 0, 0, 0, 0, 0, 0x80, 0x00, 0xC0}));
    EXPECT_EQ(written([](TWriter& w) { w.WriteSignature(); }), (Bytes{'T', 'P', 'F', '0'}));
    // Names are short strings: cutting one would change what is read back.
    EXPECT_THROW(written([](TWriter& w) { w.WriteStr(std::string(256, 'n')); }), EWriteError);
    EXPECT_THROW(written([](TWriter& w) { w.WriteSet(1u << 7, &kStyles); }), EWriteError);
}

TEST(Writer, BuffersAndFlushesOnDestruction) {
    TMemoryStream m;
    {
        TWriter w(&m, 16);
        w.WriteString("0123456789");
        EXPECT_EQ(m.GetSize(), 0); // still buffered
        EXPECT_EQ(w.Position(), 12);
        w.WriteString(std::string(40, 'z')); // larger than the buffer
        EXPECT_EQ(w.Position(), 54);
    }
    EXPECT_EQ(m.GetSize(), 54);
}

TEST(Reader, RoundTripOfEveryKind) {
    Bytes b = written([](TWriter& w) {
        w.WriteListBegin();
        for (int64_t v :
             {0LL, 127LL, -128LL, 128LL, -129LL, 32767LL, 32768LL, -2147483648LL, 2147483647LL})
            w.WriteInteger(v);
        w.WriteInteger(int64_t{1} << 40);
        w.WriteString(std::string(300, 'q'));
        w.WriteString("short");
        w.WriteBoolean(true);
        w.WriteIdent("alClient");
        w.WriteFloat(0.1L);
        w.WriteFloat(-1e300L);
        w.WriteSingle(2.5f);
        w.WriteCurrency(123400);
        w.WriteDate(36526.5);
        w.WriteSet(0b0110, &kStyles);
        w.WriteBinary({1, 2, 3});
        w.WriteChar('c');
        w.WriteListEnd();
    });
    std::unique_ptr<TMemoryStream> m(streamOf(b));
    TReader r(m.get(), 7); // a small buffer exercises the refills
    r.ReadListBegin();
    for (int64_t v :
         {0LL, 127LL, -128LL, 128LL, -129LL, 32767LL, 32768LL, -2147483648LL, 2147483647LL})
        EXPECT_EQ(r.ReadInteger(), v);
    EXPECT_EQ(r.ReadInt64(), int64_t{1} << 40);
    EXPECT_EQ(r.ReadString(), std::string(300, 'q'));
    EXPECT_EQ(r.ReadString(), "short");
    EXPECT_TRUE(r.ReadBoolean());
    EXPECT_EQ(r.ReadIdent(), "alClient");
    EXPECT_EQ(r.ReadFloat(), 0.1L);
    EXPECT_EQ(r.ReadFloat(), -1e300L);
    EXPECT_EQ(r.NextValue(), vaSingle);
    EXPECT_EQ(r.ReadFloat(), 2.5L);
    EXPECT_EQ(r.ReadCurrency(), 123400);
    EXPECT_EQ(r.ReadDate(), 36526.5);
    EXPECT_EQ(r.ReadSet(&kStyles), 0b0110u);
    EXPECT_EQ(r.ReadBinary(), (Bytes{1, 2, 3}));
    EXPECT_EQ(r.ReadChar(), 'c');
    EXPECT_TRUE(r.EndOfList());
    r.ReadListEnd();
}

TEST(Reader, IntegerFormsAreAcceptedWhateverTheMagnitude) {
    auto read = [](const Bytes& b) {
        std::unique_ptr<TMemoryStream> m(streamOf(b));
        TReader r(m.get(), 1024);
        return r.ReadInteger();
    };
    EXPECT_EQ(read({0x04, 0x08, 0, 0, 0}), 8);
    EXPECT_EQ(read({0x03, 0x08, 0}), 8);
    EXPECT_EQ(read({0x02, 0xFF}), -1);
    EXPECT_EQ(read({0x03, 0xFF, 0xFF}), -1);
    EXPECT_EQ(read({0x04, 0xFF, 0xFF, 0xFF, 0xFF}), -1);
    EXPECT_EQ(read({0x13, 0x08, 0, 0, 0, 0, 0, 0, 0}), 8);
    EXPECT_EQ(read({0x13, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}), -1);
    EXPECT_EQ(readError({0x13, 0, 0, 0, 0x80, 0, 0, 0, 0}, [](TReader& r) { r.ReadInteger(); }),
              "Integer value out of range");
    EXPECT_EQ(readError({0x13, 0, 0, 0, 0x80, 0, 0, 0, 0}, [](TReader& r) { r.ReadInt64(); }), "");
}

TEST(Reader, WideAndUtf8StringsBecomeWindows1252) {
    // "é€Ω" as UTF-16 and as UTF-8; Ω has no Windows-1252 byte.
    Bytes wide{0x12, 3, 0, 0, 0, 0xE9, 0x00, 0xAC, 0x20, 0xA9, 0x03};
    Bytes utf8{0x14, 7, 0, 0, 0, 0xC3, 0xA9, 0xE2, 0x82, 0xAC, 0xCE, 0xA9};
    for (const Bytes& b : {wide, utf8}) {
        std::unique_ptr<TMemoryStream> m(streamOf(b));
        TReader r(m.get(), 1024);
        EXPECT_EQ(r.ReadString(), "\xE9\x80?");
    }
    Bytes viaWriter = written([](TWriter& w) {
        w.WriteWideString(u"\u00e9\u20ac");
        w.WriteUTF8String("\xC3\xA9");
    });
    EXPECT_EQ(viaWriter,
              (Bytes{0x12, 2, 0, 0, 0, 0xE9, 0, 0xAC, 0x20, 0x14, 2, 0, 0, 0, 0xC3, 0xA9}));
}

TEST(Reader, WrongKindSaysWhatWasExpected) {
    EXPECT_EQ(readError({0x06, 0x00}, [](TReader& r) { r.ReadInteger(); }),
              "Integer value expected");
    EXPECT_EQ(readError({0x02, 0x00}, [](TReader& r) { r.ReadString(); }), "String value expected");
    EXPECT_EQ(readError({0x02, 0x01}, [](TReader& r) { r.ReadBoolean(); }),
              "Boolean value expected");
    EXPECT_EQ(readError({0x06, 0x00}, [](TReader& r) { r.ReadIdent(); }),
              "Identifier value expected");
    EXPECT_EQ(readError({0x06, 0x00}, [](TReader& r) { r.ReadFloat(); }),
              "Floating point value expected");
    EXPECT_EQ(readError({0x02, 0x00}, [](TReader& r) { r.ReadListBegin(); }),
              "List start expected");
    EXPECT_EQ(readError({0x02, 0x00}, [](TReader& r) { r.ReadListEnd(); }), "End of list expected");
    EXPECT_EQ(readError({0x06, 0x00}, [](TReader& r) { r.ReadSet(&kStyles); }),
              "Set value expected");
    EXPECT_EQ(readError({0x06, 0x00}, [](TReader& r) { r.ReadBinary(); }), "Binary value expected");
    EXPECT_EQ(readError({0x06, 0x02, 'a', 'b'}, [](TReader& r) { r.ReadChar(); }),
              "Character value expected");
    EXPECT_EQ(readError({0x0B, 3, 'f', 's', 'X', 0}, [](TReader& r) { r.ReadSet(&kStyles); }),
              "Invalid property element: fsX");
    EXPECT_EQ(readError({0x15}, [](TReader& r) { r.SkipValue(); }), "Invalid value type (21)");
    EXPECT_EQ(readError({'T', 'P', 'F', '1'}, [](TReader& r) { r.ReadSignature(); }),
              "Invalid stream format");
}

TEST(Reader, TruncatedInputAndLyingLengthsFailAtOnce) {
    const std::string err = "Stream read error";
    EXPECT_EQ(readError({}, [](TReader& r) { r.NextValue(); }), err);
    EXPECT_EQ(readError({0x03, 0x01}, [](TReader& r) { r.ReadInteger(); }), err);
    EXPECT_EQ(readError({0x04, 1, 2, 3}, [](TReader& r) { r.ReadInteger(); }), err);
    EXPECT_EQ(readError({0x06, 5, 'a', 'b'}, [](TReader& r) { r.ReadString(); }), err);
    EXPECT_EQ(readError({0x0C, 0xFF, 0xFF, 0xFF, 0xFF, 'a'}, [](TReader& r) { r.ReadString(); }),
              err);
    EXPECT_EQ(readError({0x12, 0xFF, 0xFF, 0xFF, 0x7F}, [](TReader& r) { r.ReadString(); }), err);
    EXPECT_EQ(readError({0x14, 0x00, 0x00, 0x00, 0x80}, [](TReader& r) { r.ReadString(); }), err);
    EXPECT_EQ(readError({0x0A, 0xFF, 0xFF, 0xFF, 0xFF}, [](TReader& r) { r.ReadBinary(); }), err);
    EXPECT_EQ(readError({0x0C, 0xFF, 0xFF, 0xFF, 0xFF}, [](TReader& r) { r.SkipValue(); }), err);
    EXPECT_EQ(readError({0x05, 0, 0, 0}, [](TReader& r) { r.ReadFloat(); }), err);
    EXPECT_EQ(readError({0x01, 0x02, 0x05}, [](TReader& r) { r.SkipValue(); }), err);
    EXPECT_EQ(readError({0x0B, 6, 'f', 's'}, [](TReader& r) { r.ReadSet(&kStyles); }), err);
    // A list that never ends.
    EXPECT_EQ(readError({0x01, 0x02, 0x05, 0x02, 0x06},
                        [](TReader& r) {
                            r.ReadListBegin();
                            while (!r.EndOfList())
                                r.ReadInteger();
                        }),
              err);
    // Nesting deeper than any real stream is rejected before the stack runs out.
    Bytes deep(100000, 0x01);
    EXPECT_EQ(readError(deep, [](TReader& r) { r.SkipValue(); }),
              "Values or objects nested more than 256 levels deep");
}

TEST(Reader, SkipsEveryKindIncludingCollections) {
    Bytes b = written([](TWriter& w) {
        w.WriteListBegin();
        w.WriteInteger(1 << 20);
        w.WriteString(std::string(400, 's'));
        w.WriteWideString(u"ab");
        w.WriteUTF8String("cd");
        w.WriteFloat(3);
        w.WriteSingle(1);
        w.WriteCurrency(5);
        w.WriteDate(1);
        w.WriteInt64(1);
        w.WriteSet(3, &kStyles);
        w.WriteBinary({1, 2});
        w.WriteIdent("x");
        w.WriteIdent("nil");
        w.WriteValue(vaCollection);
        w.WriteInteger(0); // item with an index
        w.WriteListBegin();
        w.WritePropName("Caption");
        w.WriteString("c");
        w.WriteListEnd();
        w.WriteListBegin(); // item without
        w.WriteListEnd();
        w.WriteListEnd();
        w.WriteListEnd();
        w.WriteInteger(42);
    });
    std::unique_ptr<TMemoryStream> m(streamOf(b));
    TReader r(m.get(), 1024);
    r.SkipValue();
    EXPECT_EQ(r.ReadInteger(), 42);
}

TEST(Reader, GivesBackUnconsumedBytesOnDestruction) {
    Bytes b = written([](TWriter& w) {
        w.WriteInteger(1);
        w.WriteString("abc");
        w.WriteInteger(2);
    });
    std::unique_ptr<TMemoryStream> m(streamOf(b));
    {
        TReader r(m.get(), 1024);
        EXPECT_EQ(r.ReadInteger(), 1);
        EXPECT_EQ(r.Position(), 2);
        EXPECT_EQ(m->GetPosition(), static_cast<int64_t>(b.size())); // all buffered
        EXPECT_EQ(r.Remaining(), static_cast<int64_t>(b.size()) - 2);
    }
    EXPECT_EQ(m->GetPosition(), 2);
    {
        TReader r(m.get(), 1024);
        EXPECT_EQ(r.ReadString(), "abc");
    }
    EXPECT_EQ(m->GetPosition(), 7);
    TReader r(m.get(), 1024);
    EXPECT_EQ(r.ReadInteger(), 2);
}

TEST(Extended, EncodingIsExactForRepresentableValues) {
    for (long double v : {0.0L, -0.0L, 1.0L, 0.1L, -123.456L, 1e-4950L, 1e4000L, 3.4e38L,
                          std::ldexp(1.0L, -16445), HUGE_VALL, -HUGE_VALL}) {
        uint8_t b[10];
        ExtendedToBytes(v, b);
        long double back = BytesToExtended(b);
        EXPECT_EQ(back, v);
        EXPECT_EQ(std::signbit(back), std::signbit(v));
    }
    uint8_t b[10];
    ExtendedToBytes(NAN, b);
    EXPECT_TRUE(std::isnan(BytesToExtended(b)));
    ExtendedToBytes(1.0L, b);
    EXPECT_EQ(Bytes(b, b + 10), (Bytes{0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x3F}));
}
