#include "rtl/FormStreams.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

using namespace vcl;

namespace {

using Bytes = std::vector<uint8_t>;

Bytes textToBinary(const std::string& text) {
    TMemoryStream in, out;
    in.WriteBuffer(text.data(), static_cast<int32_t>(text.size()));
    in.SetPosition(0);
    ObjectTextToBinary(&in, &out);
    return out.Bytes();
}

std::string binaryToText(const Bytes& b) {
    TMemoryStream in, out;
    in.WriteBuffer(b.data(), static_cast<int32_t>(b.size()));
    in.SetPosition(0);
    ObjectBinaryToText(&in, &out);
    Bytes t = out.Bytes();
    return std::string(t.begin(), t.end());
}

std::string parseError(const std::string& text) {
    try {
        textToBinary(text);
    } catch (const EParserError& e) {
        return e.Message();
    }
    return "";
}

Bytes concat(std::initializer_list<Bytes> parts) {
    Bytes r;
    for (const Bytes& p : parts)
        r.insert(r.end(), p.begin(), p.end());
    return r;
}

Bytes str(const std::string& s) {
    Bytes b(s.size() + 1);
    b[0] = static_cast<uint8_t>(s.size());
    std::copy(s.begin(), s.end(), b.begin() + 1);
    return b;
}

// Every value kind, in the layout the converter writes.
const std::string kCanonical = R"(object Form1: TForm1
  Left = -5
  Width = 128
  Color = -2147483633
  Big = 1099511627776
  Ratio = 1.500000000000000000
  Tenth = 0.100000000000000000
  Tiny = 0.000000250000000000
  Third = 3.3333333333333333334E-1
  Huge = 1E20
  Big = -1234567890123456.000000000000000000
  Single = 2.5s
  Money = 123400c
  When = 36526.5d
  Caption = 'It'#39's'#13#10'caf'#233
  Empty = ''
  Long = 
    'aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa' +
    'bbbb'
  Align = alClient
  Visible = False
  Enabled = True
  Link = nil
  Value = Null
  ActiveControl = Owner.Button1
  Font.Style = [fsBold, fsItalic]
  Anchors = []
  Items.Strings = (
    'one'
    'two')
  Nested = (
    1
    (
      2
      3)
    ())
  Data = {0102FF}
  LongData = {
    000102030405060708090A0B0C0D0E0F101112131415161718191A1B1C1D1E1F
    2021}
  NoData = {}
  Columns = <
    item
      Width = 10
    end
    item [3]
      Caption = 'x'
    end>
  NoItems = <>
  object Button1: TButton
    OnClick = Button1Click
  end
  inherited Panel1: TPanel [2]
    object TLabel
    end
  end
  inline Frame1: TFrame
  end
end
)";

} // namespace

TEST(ObjectText, CanonicalTextSurvivesBinaryAndBack) {
    Bytes bin = textToBinary(kCanonical);
    EXPECT_EQ(binaryToText(bin), kCanonical);
    EXPECT_EQ(textToBinary(binaryToText(bin)), bin);
}

TEST(ObjectText, FloatsKeepKindAndValue) {
    // Written from binary and read back, every float keeps its kind and its exact value.
    for (long double v :
         {-0.0L, 1.0L / 3, 1e-30L, 123456789.125L, 1e16L, 12345678901234567.0L, -0.001L, 1e4000L}) {
        TMemoryStream m;
        {
            TWriter w(&m, 64);
            w.WriteSignature();
            w.WriteStr("TA");
            w.WriteStr("A");
            w.WriteStr("F");
            w.WriteFloat(v);
            w.WriteListEnd();
            w.WriteListEnd();
        }
        Bytes bin = m.Bytes();
        EXPECT_EQ(textToBinary(binaryToText(bin)), bin) << binaryToText(bin);
    }
    // The sign of a zero survives in every float kind.
    std::string zeros = "object A: TA\n  E = -0.0\n  S = -0s\n  D = -0d\nend\n";
    Bytes bin = textToBinary(zeros);
    EXPECT_EQ(binaryToText(bin),
              "object A: TA\n  E = -0.000000000000000000\n  S = -0s\n  D = -0d\nend\n");
    EXPECT_EQ(textToBinary(binaryToText(bin)), bin);
}

TEST(ObjectText, BinaryIsByteExact) {
    Bytes bin = textToBinary("object Form1: TForm1\n  Left = 128\n  Color = $8000000F\n"
                             "  Caption = 'A'#13'B'\n  Font.Style = [fsBold]\n"
                             "  object TItem [1]\n  end\nend\n");
    Bytes expected = concat({{'T', 'P', 'F', '0'},
                             str("TForm1"),
                             str("Form1"),
                             str("Left"),
                             {0x03, 0x80, 0x00},
                             str("Color"),
                             {0x04, 0x0F, 0x00, 0x00, 0x80},
                             str("Caption"),
                             {0x06, 3, 'A', 13, 'B'},
                             str("Font.Style"),
                             {0x0B},
                             str("fsBold"),
                             {0x00},
                             {0x00},
                             {0xF2, 0x02, 0x01},
                             str("TItem"),
                             {0x00},
                             {0x00, 0x00},
                             {0x00}});
    EXPECT_EQ(bin, expected);
}

TEST(ObjectText, LiteralsAndContinuations) {
    std::string text = "object A: TA\n  Hex = $FF\n  Neg = -$10\n  Wide = $100000000\n"
                       "  S = 'ab' +\n    'cd'#$41#8364#937\n  Flt = 1e3\n  Ref = Form2.Edit1\n"
                       "  Set = [a,b , c]\nend trailing text is not read";
    EXPECT_EQ(binaryToText(textToBinary(text)),
              "object A: TA\n  Hex = 255\n  Neg = -16\n  Wide = 4294967296\n"
              "  S = 'abcdA'#128'?'\n  Flt = 1000.000000000000000000\n  Ref = Form2.Edit1\n  Set = "
              "[a, b, c]\nend\n");
    // Line ends of either kind; keywords in any case.
    EXPECT_EQ(binaryToText(textToBinary("OBJECT a: TA\r\n  X = 1\r\nEND\r\n")),
              "object a: TA\n  X = 1\nend\n");
}

TEST(ObjectText, LongBinaryAndWideStringsFromBinary) {
    // vaWString and vaUTF8String values are written as strings of Windows-1252 bytes.
    Bytes bin = concat({{'T', 'P', 'F', '0'},
                        str("TA"),
                        str("A"),
                        str("W"),
                        {0x12, 2, 0, 0, 0, 0xE9, 0x00, 0x3A, 0x26},
                        str("U"),
                        {0x14, 2, 0, 0, 0, 0xC3, 0xA9},
                        str("I"),
                        {0x13, 1, 0, 0, 0, 0, 0, 0, 0x80},
                        {0x00, 0x00}});
    EXPECT_EQ(binaryToText(bin),
              "object A: TA\n  W = #233'?'\n  U = #233\n  I = -9223372036854775807\nend\n");
}

TEST(ObjectText, SyntaxErrorsNameLineAndColumn) {
    EXPECT_EQ(parseError("object Form1: TForm1\n  Left = \nend\n"),
              "Property value expected on line 3, column 1");
    EXPECT_EQ(parseError("object Form1: TForm1\n  Caption = 'abc\nend\n"),
              "Unterminated string on line 2, column 13");
    EXPECT_EQ(parseError("object Form1: TForm1\n  Left = 1\n"),
              "'end' expected on line 3, column 1");
    EXPECT_EQ(parseError("thing Form1: TForm1\nend\n"), "'object' expected on line 1, column 1");
    EXPECT_EQ(parseError("object Form1: TForm1\n  Left 1\nend\n"),
              "'=' expected on line 2, column 8");
    EXPECT_EQ(parseError("object Form1: TForm1\n  D = {0G}\nend\n"),
              "Invalid binary value on line 2, column 9");
    EXPECT_EQ(parseError("object Form1: TForm1\n  D = {012}\nend\n"),
              "Invalid binary value on line 2, column 11");
    EXPECT_EQ(parseError("object Form1: TForm1\n  S = 'a' + 1\nend\n"),
              "String expected on line 2, column 13");
    EXPECT_EQ(parseError("object Form1: TForm1\n  N = 99999999999999999999\nend\n"),
              "Invalid numeric value on line 2, column 7");
    EXPECT_EQ(parseError("object Form1: TForm1\n  N = 12ab\nend\n"),
              "Invalid numeric value on line 2, column 7");
    EXPECT_EQ(parseError("object F: T\n  N = 1e39s\nend\n"),
              "Invalid numeric value on line 2, column 7");
    EXPECT_EQ(parseError("object F: T\n  N = -1e309d\nend\n"),
              "Invalid numeric value on line 2, column 7");
    EXPECT_EQ(parseError("object F: " + std::string(256, 'T') + "\nend\n"),
              "Name longer than 255 characters: " + std::string(256, 'T') + " on line 2, column 1");
    EXPECT_EQ(parseError("object Form1: TForm1\n  L = (1\nend\n"),
              "')' expected on line 3, column 1");
    EXPECT_EQ(parseError("object F: T\n  C = <\n    thing\n  >\nend\n"),
              "'item' expected on line 3, column 5");
    EXPECT_EQ(parseError("object F: T\n  S = #\nend\n"),
              "Invalid string constant on line 2, column 7");
    EXPECT_EQ(parseError("object F: T\n  S = \x80\nend\n"),
              "Invalid character '#128' on line 2, column 7");
    EXPECT_EQ(parseError(""), "'object' expected on line 1, column 1");
    std::string deep = "object F: T\n  L = " + std::string(300, '(') + "\nend\n";
    EXPECT_EQ(parseError(deep),
              "Values or objects nested more than 256 levels deep on line 2, column 262");
}

TEST(ObjectText, NothingIsWrittenWhenConversionFails) {
    TMemoryStream in, out;
    std::string text = "object A: TA\n  X = \n";
    in.WriteBuffer(text.data(), static_cast<int32_t>(text.size()));
    in.SetPosition(0);
    EXPECT_THROW(ObjectTextToBinary(&in, &out), EParserError);
    EXPECT_EQ(out.GetSize(), 0);
}

TEST(ObjectText, BadBinaryRaisesReadError) {
    Bytes good = textToBinary(kCanonical);
    // Every truncation fails cleanly.
    for (size_t n = 0; n < good.size(); ++n) {
        Bytes cut(good.begin(), good.begin() + static_cast<long>(n));
        EXPECT_THROW(binaryToText(cut), EReadError) << n;
    }
    EXPECT_THROW(binaryToText({'T', 'P', 'F', '1'}), EReadError);
    Bytes badKind = concat({{'T', 'P', 'F', '0'}, str("TA"), str("A"), str("X"), {0x17}, {0, 0}});
    try {
        binaryToText(badKind);
        FAIL();
    } catch (const EReadError& e) {
        EXPECT_EQ(e.Message(), "Invalid value type (23)");
    }
}

// The text form has no quoting for names: a binary stream whose names are no identifiers would
// convert to text that reads back differently, or to extra lines of the form.
TEST(ObjectText, NamesThatAreNoIdentifiersAreRefused) {
    auto error = [](const Bytes& b) {
        try {
            binaryToText(b);
        } catch (const EReadError& e) {
            return e.Message();
        }
        return std::string();
    };
    const Bytes head = {'T', 'P', 'F', '0'};
    const Bytes end = {0, 0};
    EXPECT_EQ(error(concat({head, str("TForm"), str("F\n  Caption = 'Injected'"), end})),
              "'F#10  Caption = 'Injected'' in the stream is not a valid name");
    EXPECT_EQ(error(concat({head, str("T Form"), str(""), end})),
              "'T Form' in the stream is not a valid name");
    EXPECT_EQ(error(concat({head, str("TForm"), str("F"), str("Tag\x1b[31m"), {2, 1}, end})),
              "'Tag#27[31m' in the stream is not a valid name");
    EXPECT_EQ(error(concat({head, str("TForm"), str("F"), str("Font..Size"), {2, 1}, end})),
              "'Font..Size' in the stream is not a valid name");
    EXPECT_EQ(error(concat({head, str("TForm"), str("F"), str("Align"), {7}, str("al\rX"), end})),
              "'al#13X' in the stream is not a valid name");
    EXPECT_EQ(error(concat({head, str("TForm"), str("F"), str("S"), {11}, str("a b"), {0}, end})),
              "'a b' in the stream is not a valid name");
    EXPECT_EQ(error(textToBinary(kCanonical)), "");
    // Numbers in a set, which the text form takes, come back as they were written.
    const std::string numbers = "object F: TForm\n  S = [3, -2, x]\nend\n";
    EXPECT_EQ(binaryToText(textToBinary(numbers)), numbers);
}

namespace {

// A component whose class name has a given length.
template <size_t Length> class TNamedLength : public TComponent {
public:
    using TComponent::TComponent;
    static TClass StaticClass() {
        static const TClassInfo info = [] {
            TClassInfo i;
            i.ClassName = "T" + std::string(Length - 1, 'x');
            i.Parent = TComponent::StaticClass();
            return i;
        }();
        return &info;
    }
    TClass ClassType() const override { return StaticClass(); }
};

template <size_t Length> std::string writeError() {
    TNamedLength<Length> c(nullptr);
    TMemoryStream out;
    try {
        WriteComponent(&out, &c);
    } catch (const EWriteError& e) {
        return e.Message();
    }
    return "";
}

} // namespace

TEST(ObjectText, ClassNamesThatReadAsAPrefixAreRefused) {
    // A length byte of 0xF0 or more is read as the prefix of an object header.
    for (size_t length : {1, 239, 240, 246, 255}) {
        const std::string cls = "T" + std::string(length - 1, 'x');
        const std::string text = "object Root: TRoot\n  object Child: " + cls + "\n  end\nend\n";
        if (length <= 239) {
            EXPECT_EQ(binaryToText(textToBinary(text)), text) << length;
            continue;
        }
        EXPECT_EQ(parseError(text),
                  "Class name not 1 to 239 characters long: " + cls + " on line 2, column 17")
            << length;
        EXPECT_EQ(parseError("object " + cls + "\nend\n"),
                  "Class name not 1 to 239 characters long: " + cls + " on line 1, column 8")
            << length;
    }
    EXPECT_EQ(writeError<239>(), "");
    EXPECT_EQ(writeError<240>(),
              "Class name not 1 to 239 characters long: T" + std::string(239, 'x'));
}
