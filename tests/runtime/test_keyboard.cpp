// The keyboard control: construction, buttons, the geometry pass, layout files and form streams.

#include "KeyboardTestUtil.h"
#include "TestSupport.h"

#include "rtl/FormStreams.h"
#include "vcl/Forms.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <unistd.h>

using namespace quimbel;
using namespace keytest;

namespace {

void AddRow(TKeyCollection* keys, int count, int top = 0) {
    for (int i = 0; i < count; ++i)
        keys->AddKey(PlacedKey(ktNormal, 8 * i, top));
}

int ButtonCount(TKeyboard& keyboard) {
    int n = 0;
    for (int i = 0; i < keyboard.GetComponentCount(); ++i)
        if (dynamic_cast<TKeyControl*>(keyboard.GetComponent(i))) ++n;
    return n;
}

} // namespace

TEST(Keyboard, NewKeyboardIsEmptyAt400By80) {
    TKeyboard keyboard(nullptr);
    EXPECT_EQ(keyboard.GetWidth(), 400);
    EXPECT_EQ(keyboard.GetHeight(), 80);
    EXPECT_EQ(keyboard.GetKeys()->GetCount(), 0);
    EXPECT_EQ(ButtonCount(keyboard), 0);
    EXPECT_EQ(keyboard.GetBevelOuter(), vcl::bvNone);
    EXPECT_EQ(keyboard.GetBevelInner(), vcl::bvNone);
    EXPECT_EQ(keyboard.GetHighlightColor(), vcl::clRed);
    EXPECT_EQ(keyboard.GetKeyLevel(), klNormal);
    EXPECT_EQ(keyboard.GetLinkedControl(), nullptr);
    keyboard.ResizeKeyboard(); // nothing to position, no error
}

TEST(Keyboard, GeometryOfTheWorkedExamples) {
    TKeyboard keyboard(nullptr);
    AddRow(keyboard.GetKeys(), 10);
    keyboard.SetKeys(keyboard.GetKeys());
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(BoundsOf(keyboard.GetKeys()->GetItem(i)), (Bounds{38 * i, 0, 38, 72})) << i;

    keyboard.SetWidth(200);
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(BoundsOf(keyboard.GetKeys()->GetItem(i)), (Bounds{19 * i, 0, 19, 72})) << i;
    TKey* shifted = keyboard.GetKeys()->GetItem(1);
    shifted->Left = 4;
    keyboard.ResizeKeyboard();
    EXPECT_EQ(BoundsOf(shifted).Left, 10); // -6.5 truncated toward zero

    TKeyboard two(nullptr);
    AddRow(two.GetKeys(), 10);
    two.GetKeys()->AddKey(PlacedKey(ktNormal, 0, 8, 12, 8));
    two.GetKeys()->AddKey(PlacedKey(ktNormal, 12, 8, 4, 8));
    two.SetKeys(two.GetKeys());
    two.SetWidth(388);
    EXPECT_EQ(BoundsOf(two.GetKeys()->GetItem(10)), (Bounds{0, 36, 56, 36}));
    EXPECT_EQ(BoundsOf(two.GetKeys()->GetItem(11)), (Bounds{55, 36, 18, 36}));
}

TEST(Keyboard, GeometryMeasuresFromTheBoundingBox) {
    TKeyboard keyboard(nullptr);
    keyboard.GetKeys()->AddKey(PlacedKey(ktNormal, 10, 3));
    keyboard.GetKeys()->AddKey(PlacedKey(ktNormal, 18, 3));
    keyboard.SetKeys(keyboard.GetKeys());
    EXPECT_EQ(BoundsOf(keyboard.GetKeys()->GetItem(0)).Left, 0);
    EXPECT_EQ(BoundsOf(keyboard.GetKeys()->GetItem(0)).Top, 0);

    // Keys at 10000 units and beyond are measured from 10000.
    TKeyboard far(nullptr);
    far.GetKeys()->AddKey(PlacedKey(ktNormal, 10008, 10004));
    far.SetKeys(far.GetKeys());
    // The box runs from 10000 to 10016 across (extra 160) and to 10012 down (extra 16).
    EXPECT_EQ(BoundsOf(far.GetKeys()->GetItem(0)), (Bounds{192, 24, 192, 48}));
}

TEST(Keyboard, ZeroSpanKeepsTheNaturalSizeInThatDirection) {
    TKeyboard keyboard(nullptr);
    keyboard.GetKeys()->AddKey(PlacedKey(ktNormal, 0, 0, 0, 8));
    keyboard.GetKeys()->AddKey(PlacedKey(ktNormal, 0, 8, 0, 8));
    keyboard.SetKeys(keyboard.GetKeys());
    EXPECT_EQ(BoundsOf(keyboard.GetKeys()->GetItem(1)), (Bounds{0, 36, 0, 36}));
    keyboard.SetBounds(0, 0, 10, 5); // tiny client areas give sizes of zero or less, no crash
    EXPECT_LE(BoundsOf(keyboard.GetKeys()->GetItem(1)).Height, 0);
}

TEST(Keyboard, ButtonsAreOwnedWiredAndRebuilt) {
    TKeyboard keyboard(nullptr);
    AddRow(keyboard.GetKeys(), 3);
    auto* extra = new vcl::TWinControl(&keyboard); // not a key button: left alone
    keyboard.ReCreateKeys();
    ASSERT_EQ(ButtonCount(keyboard), 3);
    TKey* first = keyboard.GetKeys()->GetItem(0);
    EXPECT_EQ(first->Control->Key, first);
    EXPECT_EQ(first->Control->GetParent(), &keyboard);
    EXPECT_EQ(first->Control->GetOwner(), &keyboard);
    // ReCreateKeys does not lay out: natural bounds at 4 pixels per unit.
    EXPECT_EQ(BoundsOf(keyboard.GetKeys()->GetItem(2)), (Bounds{64, 0, 32, 32}));

    keyboard.FreeAllControls();
    EXPECT_EQ(ButtonCount(keyboard), 0);
    EXPECT_EQ(first->Control, nullptr); // no key points at a freed button
    EXPECT_EQ(keyboard.GetComponentCount(), 1);
    EXPECT_EQ(keyboard.GetComponent(0), extra);
    keyboard.ReCreateControls();
    EXPECT_EQ(ButtonCount(keyboard), 3);
}

TEST(Keyboard, SetKeysOwnAndForeignCollections) {
    TKeyboard keyboard(nullptr);
    AddRow(keyboard.GetKeys(), 2);
    TKeyCollection* own = keyboard.GetKeys();
    keyboard.SetKeys(own);
    EXPECT_EQ(keyboard.GetKeys(), own);
    EXPECT_EQ(ButtonCount(keyboard), 2);

    auto* other = new TKeyCollection();
    AddRow(other, 5);
    keyboard.SetKeys(other); // taken over; the previous collection is freed (ASan checks)
    EXPECT_EQ(keyboard.GetKeys(), other);
    EXPECT_EQ(ButtonCount(keyboard), 5);
    // Laid out at once: 5 keys span 40 units over 96, extra = trunc(56 / 5 * 4) = 44.
    EXPECT_EQ(BoundsOf(other->GetItem(4)), (Bounds{32 * 4 + (32 * 44) / 8, 0, 32 + 44, 72}));

    keyboard.SetKeys(nullptr); // a keyboard always keeps a layout, an empty one here
    ASSERT_NE(keyboard.GetKeys(), nullptr);
    EXPECT_EQ(keyboard.GetKeys()->GetCount(), 0);
    EXPECT_EQ(ButtonCount(keyboard), 0);
}

TEST(Keyboard, LinkedControlIsNeverItselfAndForgottenWhenDestroyed) {
    TKeyboard keyboard(nullptr);
    keyboard.SetLinkedControl(&keyboard);
    EXPECT_EQ(keyboard.GetLinkedControl(), nullptr);

    keyboard.GetKeys()->AddKey(MakeKey(ktNormal, "a", "A", ""));
    keyboard.SetKeys(keyboard.GetKeys());
    {
        TRecorder edit(nullptr);
        keyboard.SetLinkedControl(&edit);
        EXPECT_EQ(keyboard.GetLinkedControl(), &edit);
    }
    EXPECT_EQ(keyboard.GetLinkedControl(), nullptr);
    Click(keyboard, keyboard.GetKeys()->GetItem(0)); // nothing reaches the destroyed control

    // Siblings on one form: the form tells the keyboard.
    vcl::TForm form(nullptr);
    auto* kb = new TKeyboard(&form);
    auto* edit = new TRecorder(&form);
    kb->SetLinkedControl(edit);
    delete edit;
    EXPECT_EQ(kb->GetLinkedControl(), nullptr);
}

TEST(Keyboard, LoadAndSaveLayoutFiles) {
    const testsupport::TempDir dir;
    const std::string path = dir.Path("layout.kly");
    TKeyboard keyboard(nullptr);
    keyboard.GetKeys()->AddKey(PlacedKey(ktNormal, 8, 2));
    keyboard.SetKeys(keyboard.GetKeys());
    keyboard.SaveKeyLayout(path);

    TKeyboard other(nullptr);
    other.ToggleCapsState();
    other.LoadKeyLayout(path);
    ASSERT_EQ(other.GetKeys()->GetCount(), 1);
    EXPECT_EQ(ButtonCount(other), 1);
    // Natural bounds until the next resize; the state is kept.
    EXPECT_EQ(BoundsOf(other.GetKeys()->GetItem(0)), (Bounds{32, 8, 32, 32}));
    EXPECT_TRUE(other.GetCapsState());
    EXPECT_EQ(other.GetKeys()->GetItem(0)->Control->GetCaption(), "");

    try {
        other.LoadKeyLayout("missing.kly");
        FAIL();
    } catch (const vcl::Exception& e) {
        EXPECT_EQ(e.Message(), "File missing.kly not found!");
    }
    EXPECT_EQ(other.GetKeys()->GetCount(), 1);
    EXPECT_EQ(ButtonCount(other), 1);

    // An unreadable file: keys read completely stay, without buttons, and resizing is safe.
    FILE* f = std::fopen(path.c_str(), "wb");
    const unsigned char broken[] = {0x01, 0x02, 0x00, 0x06};
    std::fwrite(broken, 1, sizeof broken, f);
    std::fclose(f);
    EXPECT_THROW(other.LoadKeyLayout(path), vcl::EReadError);
    EXPECT_EQ(other.GetKeys()->GetCount(), 0);
    EXPECT_EQ(ButtonCount(other), 0);
    other.SetWidth(300);
}

namespace {
class TKeyboardForm : public vcl::TForm {
    VCL_DECLARE_CLASS(TKeyboardForm, vcl::TForm)
public:
    explicit TKeyboardForm(vcl::TComponent* AOwner) : vcl::TForm(AOwner) {}
    TKeyboard* Keyboard1 = nullptr;
    vcl::TWinControl* Edit1 = nullptr;
    void KeyboardKey(vcl::TObject*, TKey*, TKeyLevel, vcl::AnsiString Value) { Typed += Value; }
    std::string Typed;
};
VCL_DEFINE_CLASS(TKeyboardForm, vcl::TForm, c) {
    c.Field("Keyboard1", &TKeyboardForm::Keyboard1);
    c.Method<TKeyEvent>("KeyboardKey", &TKeyboardForm::KeyboardKey);
}

bool Contains(const Bytes& haystack, const Bytes& needle) {
    return std::search(haystack.begin(), haystack.end(), needle.begin(), needle.end()) !=
           haystack.end();
}
} // namespace

TEST(Keyboard, StoredWithItsFormAndRebuiltWhenRead) {
    Bytes keysItems{0x0A, 'K', 'e', 'y', 's', '.', 'I', 't', 'e', 'm', 's'};
    vcl::TMemoryStream empty;
    {
        TKeyboardForm form(nullptr);
        form.SetName("KeyboardForm");
        auto* kb = new TKeyboard(&form);
        kb->SetName("Keyboard1");
        kb->SetParent(&form);
        vcl::WriteComponent(&empty, &form);
    }
    Bytes bytes = empty.Bytes();
    EXPECT_TRUE(Contains(bytes, Concat({keysItems, {0x01, 0x00}}))); // an empty layout too
    EXPECT_TRUE(Contains(bytes, Bytes{0x0A, 'B', 'e', 'v', 'e', 'l', 'O', 'u', 't', 'e', 'r', 0x07,
                                      0x06, 'b', 'v', 'N', 'o', 'n', 'e'}));

    vcl::RegisterClass(TKeyboardForm::StaticClass());
    vcl::TMemoryStream stream;
    {
        TKeyboardForm form(nullptr);
        form.SetName("KeyboardForm");
        auto* kb = new TKeyboard(&form);
        kb->SetName("Keyboard1");
        kb->SetParent(&form);
        kb->SetCaption("Keyboard1");
        kb->SetCharCase(vcl::ecUpperCase);
        kb->OnKey.Bind([&form](vcl::TObject* s, TKey* k, TKeyLevel l,
                               vcl::AnsiString v) { form.KeyboardKey(s, k, l, v); },
                       "KeyboardKey");
        kb->GetKeys()->AddKey(MakeKey(ktNormal, "q", "Q", "@"));
        kb->GetKeys()->AddKey(MakeKey(ktNormal, "w", "W", ""));
        kb->GetKeys()->GetItem(1)->SetLeft(8);
        vcl::WriteComponent(&stream, &form);
    }
    stream.SetPosition(0);
    TKeyboardForm form(nullptr);
    vcl::ReadComponent(&stream, &form);
    ASSERT_NE(form.Keyboard1, nullptr);
    TKeyboard& kb = *form.Keyboard1;
    EXPECT_EQ(kb.GetCaption(), ""); // a keyboard shows no caption
    EXPECT_EQ(kb.GetCharCase(), vcl::ecUpperCase);
    ASSERT_EQ(kb.GetKeys()->GetCount(), 2);
    EXPECT_EQ(ButtonCount(kb), 2);
    // Laid out by Loaded: 16 units over 96, extra = 160 pixels per 8 units.
    EXPECT_EQ(BoundsOf(kb.GetKeys()->GetItem(1)), (Bounds{192, 0, 192, 72}));
    Click(kb, kb.GetKeys()->GetItem(1));
    EXPECT_EQ(form.Typed, "W");
    vcl::UnRegisterClass(TKeyboardForm::StaticClass());
}
