#include "KeyTestUtil.h"

#include "rtl/RTLConsts.h"

#include <gtest/gtest.h>

#include <random>

using namespace quimbel;
using namespace keytest;

namespace {

// The bytes of a default key (type 0, six empty strings, Left 0, Top 0, 8 by 8, visible,
// enabled, the default font) around its Left value, which the tests vary.
const Bytes kHead = Concat({{0x01, 0x02, 0x00},
                            {0x06, 0x00, 0x06, 0x00, 0x06, 0x00},
                            {0x06, 0x00, 0x06, 0x00, 0x06, 0x00}});
const Bytes kTail = Concat({{0x02, 0x00, 0x02, 0x08, 0x02, 0x08, 0x09, 0x09},
                            ShortString("MS Sans Serif"),
                            {0x02, 0x08, 0x04, 0x08, 0x00, 0x00, 0x80, 0x02, 0x00, 0x00}});

Bytes encodedLeft(int32_t left) {
    TKeyCollection keys;
    auto* key = new TKey(ktNormal);
    key->SetLeft(left);
    keys.AddKey(key);
    Bytes all = Write(keys);
    EXPECT_EQ(Bytes(all.begin(), all.begin() + kHead.size()), kHead);
    EXPECT_EQ(Bytes(all.end() - kTail.size(), all.end()), kTail);
    return Bytes(all.begin() + kHead.size(), all.end() - kTail.size());
}

// Destruction is observable through a key class that logs it.
std::vector<std::string>* g_freed = nullptr;

class TProbeKey : public TKey {
public:
    explicit TProbeKey(const std::string& name) : TKey(ktNormal), name_(name) {}
    ~TProbeKey() override {
        if (g_freed) g_freed->push_back(name_);
    }

private:
    std::string name_;
};

struct FreedLog {
    std::vector<std::string> names;
    FreedLog() { g_freed = &names; }
    ~FreedLog() { g_freed = nullptr; }
};

TKey* randomKey(std::mt19937& rng) {
    auto byteString = [&](size_t maxLen) {
        std::string s(std::uniform_int_distribution<size_t>(0, maxLen)(rng), '\0');
        for (char& c : s)
            c = static_cast<char>(rng());
        return s;
    };
    auto* key = new TKey(static_cast<TKeyType>(rng() & 0xFF));
    for (TKeyLevel level : {klNormal, klShift, klAltGr}) {
        key->SetKeyCaption(level, byteString(rng() % 8 == 0 ? 300 : 6));
        key->SetKeyValue(level, byteString(rng() % 8 == 0 ? 300 : 6));
    }
    key->SetLeft(static_cast<int32_t>(rng()));
    key->SetTop(static_cast<int32_t>(rng() % 65536) - 32768);
    key->SetWidth(static_cast<TKeyWidth>(rng()));
    key->SetHeight(static_cast<TKeyHeight>(rng()));
    key->SetVisible(rng() & 1);
    key->SetEnabled(rng() & 1);
    key->Font->SetName("Font " + byteString(20));
    key->Font->SetSize(static_cast<int>(rng() % 2000) - 1000);
    key->Font->SetColor(static_cast<vcl::TColor>(rng()));
    key->Font->SetStyle(vcl::TFontStyles::FromMask(rng() & 15));
    return key;
}

} // namespace

TEST(KeyCollectionStream, EmptyLayoutIsListStartAndListEnd) {
    TKeyCollection keys;
    EXPECT_EQ(Write(keys), (Bytes{0x01, 0x00}));
    Read(keys, {0x01, 0x00});
    EXPECT_EQ(keys.GetCount(), 0);
}

TEST(KeyCollectionStream, OneKeyLayoutIsTheDocumented52Bytes) {
    TKeyCollection keys;
    TKey* key = MakeKey(ktNormal, "a", "A", "");
    key->Font->SetName("MS Sans Serif");
    key->Font->SetSize(8);
    key->Font->SetColor(255);
    key->Font->SetStyle({vcl::fsBold});
    keys.AddKey(key);

    const Bytes expected = Concat({{0x01, 0x02, 0x00},
                                   {0x06, 0x01, 'a', 0x06, 0x01, 'A', 0x06, 0x00},
                                   {0x06, 0x01, 'a', 0x06, 0x01, 'A', 0x06, 0x00},
                                   {0x02, 0x00, 0x02, 0x00, 0x02, 0x08, 0x02, 0x08, 0x09, 0x09},
                                   ShortString("MS Sans Serif"),
                                   {0x02, 0x08, 0x03, 0xFF, 0x00, 0x02, 0x01, 0x00}});
    ASSERT_EQ(expected.size(), 52u);
    EXPECT_EQ(Write(keys), expected);

    TKeyCollection back;
    Read(back, expected);
    EXPECT_EQ(Describe(back), Describe(keys));
}

TEST(KeyCollectionStream, IntegersTakeTheSmallestForm) {
    EXPECT_EQ(encodedLeft(127), (Bytes{0x02, 0x7F}));
    EXPECT_EQ(encodedLeft(128), (Bytes{0x03, 0x80, 0x00}));
    EXPECT_EQ(encodedLeft(-128), (Bytes{0x02, 0x80}));
    EXPECT_EQ(encodedLeft(-129), (Bytes{0x03, 0x7F, 0xFF}));
    EXPECT_EQ(encodedLeft(32767), (Bytes{0x03, 0xFF, 0x7F}));
    EXPECT_EQ(encodedLeft(32768), (Bytes{0x04, 0x00, 0x80, 0x00, 0x00}));
    EXPECT_EQ(encodedLeft(-3), (Bytes{0x02, 0xFD}));
    EXPECT_EQ(encodedLeft(INT32_MIN), (Bytes{0x04, 0x00, 0x00, 0x00, 0x80}));

    // A system colour has the top bit set and is written as a negative 32-bit value.
    TKeyCollection keys;
    auto* key = new TKey(ktNormal);
    key->Font->SetColor(vcl::clBtnFace);
    keys.AddKey(key);
    Bytes all = Write(keys);
    const Bytes colour{0x04, 0x0F, 0x00, 0x00, 0x80};
    EXPECT_EQ(Bytes(all.end() - 8, all.end() - 3), colour);

    // Width and height go out as unsigned bytes.
    key->SetWidth(200);
    all = Write(keys);
    EXPECT_EQ(Bytes(all.begin() + 19, all.begin() + 22), (Bytes{0x03, 0xC8, 0x00}));

    TKeyCollection back;
    Read(back, all);
    EXPECT_EQ(back.GetItem(0)->Width, 200);
    EXPECT_EQ(back.GetItem(0)->Font->GetColor(), vcl::clBtnFace);
}

TEST(KeyCollectionStream, StringsUpTo255BytesAreShortAndLongerOnesLong) {
    TKeyCollection keys;
    TKey* key = new TKey(ktNormal);
    key->SetKeyCaption(klNormal, std::string(255, 'x'));
    key->SetKeyCaption(klShift, std::string(256, 'y'));
    keys.AddKey(key);
    Bytes all = Write(keys);
    EXPECT_EQ(Bytes(all.begin() + 3, all.begin() + 5), (Bytes{0x06, 0xFF}));
    EXPECT_EQ(all[5 + 254], 'x');
    const size_t shift = 5 + 255;
    EXPECT_EQ(Bytes(all.begin() + shift, all.begin() + shift + 5),
              (Bytes{0x0C, 0x00, 0x01, 0x00, 0x00}));
    EXPECT_EQ(all[shift + 5 + 255], 'y');

    TKeyCollection back;
    Read(back, all);
    EXPECT_EQ(back.GetItem(0)->GetKeyCaption(klNormal), std::string(255, 'x'));
    EXPECT_EQ(back.GetItem(0)->GetKeyCaption(klShift), std::string(256, 'y'));
}

TEST(KeyCollectionStream, WhatTheWriterProducesReadsBackToEqualKeys) {
    std::mt19937 rng(20240611);
    for (int round = 0; round < 20; ++round) {
        TKeyCollection keys;
        const int count = round == 0 ? 1 : static_cast<int>(rng() % 40);
        for (int i = 0; i < count; ++i)
            keys.AddKey(randomKey(rng));
        // A special key keeps the values it holds; reading never applies SetKeyType's rule.
        TKey* enter = MakeKey(ktEnter, "\xC3", "", "");
        enter->SetKeyValue(klShift, "shifted");
        keys.AddKey(enter);

        const Bytes bytes = Write(keys);
        TKeyCollection back;
        Read(back, bytes);
        ASSERT_EQ(Describe(back), Describe(keys)) << "round " << round;
        EXPECT_EQ(back.GetItem(back.GetCount() - 1)->GetKeyValue(klShift), "shifted");
        EXPECT_EQ(Write(back), bytes);
    }
}

TEST(KeyCollectionStream, LoadKeysAppendsBehindTheKeysAlreadyThere) {
    TKeyCollection source;
    source.AddKey(MakeKey(ktNormal, "x", "X", ""));
    source.AddKey(MakeKey(ktNormal, "y", "Y", ""));
    const Bytes bytes = Write(source);

    TKeyCollection keys;
    TKey* first[3] = {MakeKey(ktNormal, "1", "!", ""), new TKey(ktShift), new TKey(ktEnter)};
    for (TKey* k : first)
        keys.AddKey(k);
    Read(keys, bytes);
    ASSERT_EQ(keys.GetCount(), 5);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(keys.GetItem(i), first[i]);
    EXPECT_EQ(keys.GetItem(3)->GetKeyCaption(klNormal), "x");
    EXPECT_EQ(keys.GetItem(4)->GetKeyCaption(klNormal), "y");
    EXPECT_EQ(keys.GetItem(4)->Control, nullptr);
}

TEST(KeyCollectionStream, ReadingAcceptsEveryIntegerAndStringForm) {
    // The 52-byte example, with each integer in a larger form than needed, the strings in the
    // long form, the font name as UTF-8 and the booleans as written.
    const Bytes stream =
        Concat({{0x01, 0x04, 0x00, 0x00, 0x00, 0x00}, // type as vaInt32
                {0x0C, 0x01, 0x00, 0x00, 0x00, 'a'},  // vaLString
                {0x06, 0x01, 'A', 0x06, 0x00},        // short strings
                {0x0C, 0x01, 0x00, 0x00, 0x00, 'a', 0x06, 0x01, 'A', 0x0C, 0x00, 0x00, 0x00, 0x00},
                {0x03, 0x00, 0x00},                                     // Left 0 as vaInt16
                {0x13, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}, // Top 0 as vaInt64
                {0x04, 0x08, 0x00, 0x00, 0x00, 0x03, 0x08, 0x00},       // 8 as vaInt32, vaInt16
                {0x09, 0x08},                                           // visible, disabled
                {0x14, 0x0D, 0x00, 0x00, 0x00},                         // vaUTF8String
                Bytes{'M', 'S', ' ', 'S', 'a', 'n', 's', ' ', 'S', 'e', 'r', 'i', 'f'},
                {0x04, 0x08, 0x00, 0x00, 0x00, 0x04, 0xFF, 0x00, 0x00, 0x00, 0x03, 0x01, 0x00},
                {0x00}});
    TKeyCollection keys;
    Read(keys, stream);
    ASSERT_EQ(keys.GetCount(), 1);
    const TKey* key = keys.GetItem(0);
    EXPECT_EQ(key->KeyType, ktNormal);
    EXPECT_EQ(key->KeyCaption, (TKeyLevelCaption{"a", "A", ""}));
    EXPECT_EQ(key->KeyValue, (TKeyLevelValue{"a", "A", ""}));
    EXPECT_EQ(key->Left, 0);
    EXPECT_EQ(key->Top, 0);
    EXPECT_EQ(key->Width, 8);
    EXPECT_EQ(key->Height, 8);
    EXPECT_TRUE(key->Visible);
    EXPECT_FALSE(key->Enabled);
    EXPECT_EQ(key->Font->GetName(), "MS Sans Serif");
    EXPECT_EQ(key->Font->GetSize(), 8);
    EXPECT_EQ(key->Font->GetColor(), 255);
    EXPECT_EQ(key->Font->GetStyle(), vcl::TFontStyles{vcl::fsBold});
}

TEST(KeyCollectionStream, StoredValuesAreTakenWithoutRangeTest) {
    // Type 0x113 and width 0x108 keep their low 8 bits; a height of -1 is 255; style bits
    // beyond strike-out are ignored.
    const Bytes stream =
        Concat({{0x01, 0x03, 0x13, 0x01},
                {0x06, 0x00, 0x06, 0x00, 0x06, 0x00, 0x06, 0x00, 0x06, 0x00, 0x06, 0x00},
                {0x04, 0xFF, 0xFF, 0xFF, 0x7F, 0x02, 0x80},
                {0x03, 0x08, 0x01, 0x02, 0xFF, 0x08, 0x09},
                ShortString(""),
                {0x02, 0x00, 0x02, 0x00, 0x03, 0xFA, 0x00, 0x00}});
    TKeyCollection keys;
    Read(keys, stream);
    ASSERT_EQ(keys.GetCount(), 1);
    const TKey* key = keys.GetItem(0);
    EXPECT_EQ(key->KeyType, 0x13);
    EXPECT_EQ(key->Left, INT32_MAX);
    EXPECT_EQ(key->Top, -128);
    EXPECT_EQ(key->Width, 8);
    EXPECT_EQ(key->Height, 255);
    EXPECT_FALSE(key->Visible);
    EXPECT_TRUE(key->Enabled);
    // 0xFA: italic (2) and strike-out (8) among the four known bits.
    EXPECT_EQ(key->Font->GetStyle(), (vcl::TFontStyles{vcl::fsItalic, vcl::fsStrikeOut}));
}

TEST(KeyCollectionStream, AbsurdFontSizesSettleAfterOneRoundTrip) {
    // The font keeps its size as a pixel height, so sizes beyond what a height can hold change
    // on reading; what the writer then produces reads back unchanged.
    for (int32_t size : {INT32_MAX, INT32_MIN, 1610612736, -1610612736, 1610612735, 0, -7}) {
        TKeyCollection keys;
        auto* key = new TKey(ktNormal);
        key->Font->SetSize(size);
        keys.AddKey(key);
        const Bytes once = Write(keys);
        TKeyCollection back;
        Read(back, once);
        EXPECT_EQ(Write(back), once) << size;
        if (size > -1000 && size < 1000) {
            EXPECT_EQ(back.GetItem(0)->Font->GetSize(), size);
        }
    }
}

TEST(KeyCollectionStream, BrokenStreamKeepsTheKeysReadCompletely) {
    TKeyCollection source;
    source.AddKey(MakeKey(ktNormal, "a", "A", ""));
    source.AddKey(MakeKey(ktNormal, "b", "B", ""));
    source.AddKey(MakeKey(ktNormal, "c", "C", ""));
    const Bytes good = Write(source);

    // Cut anywhere inside the third key or before the list end.
    const size_t third = 1 + 2 * (good.size() - 2) / 3;
    for (size_t cut : {third + 1, third + 10, good.size() - 1}) {
        TKeyCollection keys;
        keys.AddKey(MakeKey(ktNormal, "z", "Z", ""));
        EXPECT_THROW(Read(keys, Bytes(good.begin(), good.begin() + cut)), vcl::EReadError);
        const int expected = cut == good.size() - 1 ? 4 : 3;
        ASSERT_EQ(keys.GetCount(), expected) << "cut at " << cut;
        EXPECT_EQ(keys.GetItem(1)->GetKeyCaption(klNormal), "a");
        EXPECT_EQ(keys.GetItem(2)->GetKeyCaption(klNormal), "b");
    }

    // A value of another kind where an integer, a string or a Boolean is expected.
    Bytes wrong = good;
    wrong[1] = 0x06; // the first type as a string
    TKeyCollection keys;
    try {
        Read(keys, wrong);
        FAIL() << "no error";
    } catch (const vcl::EReadError& e) {
        EXPECT_EQ(e.Message(), "Integer value expected");
    }
    EXPECT_EQ(keys.GetCount(), 0);

    // No list start, an empty stream, and a lying string length.
    EXPECT_THROW(Read(keys, {0x00}), vcl::EReadError);
    EXPECT_THROW(Read(keys, {}), vcl::EReadError);
    EXPECT_THROW(Read(keys, {0x01, 0x02, 0x00, 0x0C, 0xFF, 0xFF, 0xFF, 0xFF, 'a'}),
                 vcl::EReadError);
    EXPECT_EQ(keys.GetCount(), 0);
}

TEST(KeyCollectionStream, ItemsIsAlwaysStoredAsADefinedProperty) {
    TKeyCollection keys;
    vcl::TMemoryStream stream;
    {
        vcl::TWriter writer(&stream, 1024);
        writer.PropPath = "Keys.";
        keys.DefineProperties(&writer);
    }
    const std::string name = "Keys.Items";
    Bytes expected{static_cast<uint8_t>(name.size())};
    expected.insert(expected.end(), name.begin(), name.end());
    expected.insert(expected.end(), {0x01, 0x00});
    EXPECT_EQ(stream.Bytes(), expected);

    // The form reader hands the value of "Items" to LoadKeys, which appends.
    TKeyCollection source;
    source.AddKey(MakeKey(ktNormal, "q", "Q", "@"));
    std::unique_ptr<vcl::TMemoryStream> in(StreamOf(Write(source)));
    keys.AddKey(new TKey(ktShift));
    {
        vcl::TReader reader(in.get(), 1024);
        reader.PropName = "Other";
        keys.DefineProperties(&reader);
        EXPECT_EQ(keys.GetCount(), 1);
        reader.PropName = "Items";
        keys.DefineProperties(&reader);
    }
    ASSERT_EQ(keys.GetCount(), 2);
    EXPECT_EQ(keys.GetItem(1)->GetKeyValue(klAltGr), "@");
}

TEST(KeyCollection, ListOperationsAndIndexErrors) {
    TKeyCollection keys;
    TKey* a = new TKey(ktNormal);
    TKey* b = new TKey(ktShift);
    TKey* c = new TKey(ktEnter);
    keys.AddKey(a);
    keys.AddKey(b);
    keys.AddKey(c);
    ASSERT_EQ(keys.GetCount(), 3);
    EXPECT_EQ(keys.GetItem(1), b);

    for (int bad : {-1, 3}) {
        try {
            keys.GetItem(bad);
            FAIL() << "no error for " << bad;
        } catch (const vcl::EListError& e) {
            EXPECT_EQ(e.Message(), "List index out of bounds (" + std::to_string(bad) + ")");
        }
        EXPECT_THROW(keys.DeleteKey(bad), vcl::EListError);
        EXPECT_THROW(keys.DeleteAndFreeKey(bad), vcl::EListError);
    }
    EXPECT_EQ(keys.GetCount(), 3);

    // DeleteKey hands the key back without freeing it; later entries move down.
    keys.DeleteKey(0);
    EXPECT_EQ(keys.GetCount(), 2);
    EXPECT_EQ(keys.GetItem(0), b);
    a->SetKeyCaption(klNormal, "still alive");
    keys.DeleteKey(a); // not in the list: nothing happens
    EXPECT_EQ(keys.GetCount(), 2);
    keys.AddKey(a);
    keys.DeleteKey(c);
    EXPECT_EQ(keys.GetCount(), 2);
    EXPECT_EQ(keys.GetItem(1), a);
    delete c;
}

TEST(KeyCollection, FreeingKeysIsOrderlyAndNeverTwice) {
    FreedLog log;
    {
        TKeyCollection keys;
        keys.AddKey(new TProbeKey("a"));
        keys.AddKey(new TProbeKey("b"));
        keys.AddKey(new TProbeKey("c"));
        keys.DeleteAllKeys();
        EXPECT_EQ(keys.GetCount(), 0);
        EXPECT_EQ(log.names, (std::vector<std::string>{"a", "b", "c"}));
    }

    // A key that is not in the list is freed, and the list stays as it was.
    log.names.clear();
    TKeyCollection keys;
    keys.AddKey(new TProbeKey("x"));
    keys.DeleteAndFreeKey(new TProbeKey("stranger"));
    EXPECT_EQ(log.names, (std::vector<std::string>{"stranger"}));
    EXPECT_EQ(keys.GetCount(), 1);

    // DeleteKey removes only the first of two entries of the same key.
    TKey* twice = new TProbeKey("twice");
    keys.AddKey(twice);
    keys.AddKey(new TProbeKey("y"));
    keys.AddKey(twice);
    keys.DeleteKey(twice);
    ASSERT_EQ(keys.GetCount(), 3);
    EXPECT_EQ(keys.GetItem(2), twice);

    // Freeing a key added twice removes every entry that refers to it, whichever way.
    log.names.clear();
    keys.AddKey(twice);
    keys.DeleteAndFreeKey(twice);
    EXPECT_EQ(log.names, (std::vector<std::string>{"twice"}));
    ASSERT_EQ(keys.GetCount(), 2);
    for (int i = 0; i < keys.GetCount(); ++i)
        EXPECT_NE(keys.GetItem(i), twice);

    TKey* again = new TProbeKey("again");
    keys.AddKey(again);
    keys.AddKey(again);
    keys.DeleteAndFreeKey(3);
    EXPECT_EQ(keys.GetCount(), 2);

    TKey* thrice = new TProbeKey("thrice");
    keys.AddKey(thrice);
    keys.AddKey(thrice);
    keys.AddKey(thrice);
    log.names.clear();
    keys.DeleteAllKeys();
    EXPECT_EQ(log.names, (std::vector<std::string>{"x", "y", "thrice"}));
    EXPECT_EQ(keys.GetCount(), 0);

    // The destructor too.
    log.names.clear();
    {
        TKeyCollection owner;
        TKey* k = new TProbeKey("k");
        owner.AddKey(k);
        owner.AddKey(new TProbeKey("l"));
        owner.AddKey(k);
    }
    EXPECT_EQ(log.names, (std::vector<std::string>{"k", "l"}));
}
