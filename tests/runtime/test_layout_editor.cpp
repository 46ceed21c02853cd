// The layout editor control, driven through the headless pointer input as a user drags.

#include "KeyTestUtil.h"

#include "runtime/Keyboardlayouteditor.h"
#include "runtime/Keypropertiesf.h"

#include "rtl/FormStreams.h"
#include "vcl/ExtCtrls.h"
#include "vcl/Forms.h"
#include "vcl/Widgetset.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <unistd.h>

using namespace quimbel;

namespace {

// An editor placed away from the screen's origin, so that placing from the screen cursor
// position is tested as well.
struct Editor {
    explicit Editor(int Width = 400, int Height = 300) {
        ed.SetBounds(50, 30, Width, Height);
        ed.OnKeyClicked = [this](TKey* Key) { clicked.push_back(Key); };
        ed.OnKeyRightClicked = [this](TKey* Key) { rightClicked.push_back(Key); };
    }
    TKey* Add(int Left, int Top) {
        ed.NewKey();
        TKey* key = ed.GetKey(ed.GetKeys()->GetCount() - 1);
        key->SetLeft(Left);
        key->SetTop(Top);
        return key;
    }
    void Down(int X, int Y, vcl::TMouseButton Button = vcl::mbLeft) {
        ed.InputMouseDown(Button, {}, X, Y);
    }
    void Move(int X, int Y) { ed.InputMouseMove({}, X, Y); }
    void Up(int X, int Y, vcl::TMouseButton Button = vcl::mbLeft) {
        ed.InputMouseUp(Button, {}, X, Y);
    }
    TKeyboardLayoutEditor ed{nullptr};
    std::vector<TKey*> clicked;
    std::vector<TKey*> rightClicked;
};

std::pair<int, int> At(const TKey* Key) {
    return {Key->Left, Key->Top};
}

std::string TempPath(const char* name) {
    return std::string("/tmp/quimbel-ed-") + std::to_string(::getpid()) + "-" + name;
}

int Shapes(const TKeyboardLayoutEditor& ed, vcl::TColor Color) {
    int n = 0;
    for (int i = 0; i < ed.ControlCount(); ++i)
        if (auto* s = dynamic_cast<vcl::TShape*>(ed.GetControl(i)))
            n += s->GetPen()->GetColor() == Color;
    return n;
}

} // namespace

TEST(LayoutEditor, NewEditorAndItsPublishedProperties) {
    Editor e;
    TKeyboardLayoutEditor& ed = e.ed;
    EXPECT_EQ(ed.GetKeys()->GetCount(), 0);
    EXPECT_EQ(ed.GetGridColor(), vcl::clSilver);
    EXPECT_TRUE(ed.GetLimitDesignArea());
    EXPECT_EQ(ed.GetCaption(), "");
    EXPECT_EQ(ed.GetDefaultKeyFont()->GetName(), "MS Sans Serif");
    EXPECT_EQ(ed.GetDefaultKeyFont()->GetSize(), 8);
    EXPECT_EQ(ed.ControlCount(), 439);
    EXPECT_EQ(Shapes(ed, vcl::clSilver), 439);
    auto* first = dynamic_cast<vcl::TShape*>(ed.GetControl(0));
    auto* last = dynamic_cast<vcl::TShape*>(ed.GetControl(438));
    ASSERT_TRUE(first && last);
    EXPECT_EQ(first->BoundsRect(), (vcl::TRect{0, 0, 1, 1500}));
    EXPECT_EQ(ed.GetControl(250)->BoundsRect(), (vcl::TRect{2000, 0, 2001, 1500}));
    EXPECT_EQ(last->BoundsRect(), (vcl::TRect{0, 1496, 2000, 1497}));

    std::vector<std::string> names;
    for (const vcl::TPropInfo* p : TKeyboardLayoutEditor::StaticClass()->GetProps())
        names.push_back(p->Name);
    ASSERT_EQ(names.size(), 27u);
    EXPECT_EQ(std::vector<std::string>(names.begin() + 11, names.end()),
              (std::vector<std::string>{
                  "Align", "BevelOuter", "BevelInner", "BevelWidth", "BorderStyle", "BorderWidth",
                  "Color", "Constraints", "Enabled", "OnEnter", "OnExit", "DefaultKeyFont",
                  "GridColor", "LimitDesignArea", "OnKeyClicked", "OnKeyRightClicked"}));

    ed.SetGridColor(vcl::clRed);
    EXPECT_EQ(Shapes(ed, vcl::clRed), 439);
}

TEST(LayoutEditor, DragsSnapAndKeepInsideAsTheWorkedExamples) {
    struct Case {
        int width, height;
        bool limit;
        int pressX, pressY, moveX, moveY;
        std::pair<int, int> at;
    } cases[] = {
        {400, 300, true, 16, 16, 101, 50, {21, 8}},     // (100 - 16) / 4, (48 - 16) / 4
        {400, 300, false, 16, 16, 5, 5, {-3, -3}},      // (4 - 16) / 4 truncated toward zero
        {400, 300, true, 16, 16, 5, 5, {0, 0}},         // pointer left of and above half a key
        {400, 300, true, 16, 16, 390, 50, {92, 8}},     // (400 - 32) / 4
        {20, 300, true, 5, 5, 10, 10, {-3, 0}},         // key wider than the client: (20 - 32) / 4
        {400, 300, false, 16, 16, 450, 320, {108, 76}}, // nothing keeps it inside
        {400, 300, true, 16, 16, 450, 320, {92, 67}},
    };
    for (const Case& c : cases) {
        Editor e(c.width, c.height);
        e.ed.SetLimitDesignArea(c.limit);
        TKey* key = e.Add(0, 0);
        e.Down(c.pressX, c.pressY);
        e.Move(c.moveX, c.moveY);
        EXPECT_EQ(At(key), c.at) << c.moveX << "," << c.moveY << " limit " << c.limit;
        EXPECT_EQ(key->Control->GetLeft(), 4 * c.at.first);
        EXPECT_TRUE(e.ed.Design().Dragging());
    }
}

TEST(LayoutEditor, PressDragAndClickStates) {
    Editor e;
    TKey* a = e.Add(0, 0);
    TKey* b = e.Add(20, 0); // pixels 80 .. 112

    // At most 2 pixels is no drag: the key stays and the click is reported.
    e.Down(10, 10);
    e.Move(12, 12);
    EXPECT_FALSE(e.ed.Design().Dragging());
    e.Up(12, 12);
    EXPECT_EQ(At(a), (std::pair<int, int>{0, 0}));
    EXPECT_EQ(e.clicked, std::vector<TKey*>{a});

    // 3 pixels on one axis drags; the click that ends the drag is swallowed, the next one not.
    e.Down(10, 10);
    e.Move(13, 10);
    EXPECT_TRUE(e.ed.Design().Dragging());
    e.Move(200, 100);
    EXPECT_EQ(At(a), (std::pair<int, int>{46, 21}));
    e.Up(200, 100);
    EXPECT_EQ(e.clicked.size(), 1u);
    EXPECT_FALSE(e.ed.Design().Dragging());
    e.Down(200, 100);
    e.Up(200, 100);
    EXPECT_EQ(e.clicked, (std::vector<TKey*>{a, a}));

    // Right and middle presses report the key and change no state, also during a drag.
    e.Down(96, 16, vcl::mbRight);
    e.Up(96, 16, vcl::mbRight);
    e.Down(96, 16, vcl::mbMiddle);
    EXPECT_EQ(e.rightClicked, (std::vector<TKey*>{b, b}));
    EXPECT_FALSE(e.ed.Design().Pressed());
    EXPECT_FALSE(e.ed.Design().Dragging());
    e.Up(96, 16, vcl::mbMiddle);

    // A drag released off the button: no click, the flag stays; the next movement over any key
    // button places that key, and the next click is swallowed.
    e.Down(200, 100);
    e.Move(450, 100); // kept inside: pixels 368 .. 400
    EXPECT_EQ(At(a).first, 92);
    e.Up(450, 100);
    EXPECT_FALSE(e.ed.Design().Pressed());
    EXPECT_TRUE(e.ed.Design().Dragging());
    e.Move(100, 20); // over b, no button held
    EXPECT_EQ(At(b), (std::pair<int, int>{21, 1}));
    e.Down(100, 20);
    e.Up(100, 20);
    EXPECT_FALSE(e.ed.Design().Dragging());
    EXPECT_EQ(e.clicked.size(), 2u);
    e.Move(101, 21); // no drag any more
    EXPECT_EQ(At(b), (std::pair<int, int>{21, 1}));
}

TEST(LayoutEditor, ShiftingAllKeys) {
    struct Case {
        bool limit;
        std::vector<std::pair<int, int>> keys;
        void (TKeyboardLayoutEditor::*move)(int);
        int delta;
        std::vector<std::pair<int, int>> after;
    } cases[] = {
        {true, {{2, 0}, {10, 0}}, &TKeyboardLayoutEditor::MoveKeysLeft, 3, {{2, 0}, {10, 0}}},
        {true, {{2, 0}, {10, 0}}, &TKeyboardLayoutEditor::MoveKeysLeft, 2, {{0, 0}, {8, 0}}},
        {true, {{90, 0}, {0, 0}}, &TKeyboardLayoutEditor::MoveKeysRight, 2, {{92, 0}, {2, 0}}},
        {true, {{0, 0}, {90, 0}}, &TKeyboardLayoutEditor::MoveKeysRight, 3, {{0, 0}, {90, 0}}},
        {true, {{0, 65}}, &TKeyboardLayoutEditor::MoveKeysDown, 2, {{0, 67}}}, // bottom edge 75
        {true, {{0, 65}}, &TKeyboardLayoutEditor::MoveKeysDown, 3, {{0, 65}}},
        {true, {{0, 2}}, &TKeyboardLayoutEditor::MoveKeysUp, 5, {{0, 2}}},
        {false, {{0, 2}}, &TKeyboardLayoutEditor::MoveKeysUp, 5, {{0, -3}}},
        {false, {{98, 0}}, &TKeyboardLayoutEditor::MoveKeysRight, 30, {{128, 0}}},
        // Beyond 32 bits nothing moves, instead of wrapping round to the other side.
        {false, {{171, 0}, {0, 0}}, &TKeyboardLayoutEditor::MoveKeysRight, INT32_MAX, {{171, 0}, {0, 0}}},
        {false, {{0, -5}}, &TKeyboardLayoutEditor::MoveKeysUp, INT32_MAX, {{0, -5}}},
        {false, {{0, -5}}, &TKeyboardLayoutEditor::MoveKeysDown, INT32_MAX, {{0, INT32_MAX - 5}}},
    };
    for (const Case& c : cases) {
        Editor e;
        e.ed.SetLimitDesignArea(c.limit);
        std::vector<TKey*> keys;
        for (auto [left, top] : c.keys)
            keys.push_back(e.Add(left, top));
        (e.ed.*c.move)(c.delta);
        for (size_t i = 0; i < keys.size(); ++i) {
            EXPECT_EQ(At(keys[i]), c.after[i]) << c.delta;
            EXPECT_EQ(keys[i]->Control->GetTop(),
                      static_cast<int32_t>(4u * static_cast<uint32_t>(c.after[i].second)));
        }
    }

    Editor empty;
    for (auto [move, delta, text] :
         {std::tuple{&TKeyboardLayoutEditor::MoveKeysDown, 0, "A \"Delta\" value of 0 is invalid"},
          std::tuple{&TKeyboardLayoutEditor::MoveKeysLeft, -3,
                     "A \"Delta\" value of -3 is invalid"}}) {
        try {
            (empty.ed.*move)(delta);
            ADD_FAILURE() << text;
        } catch (const vcl::Exception& ex) {
            EXPECT_EQ(ex.Message(), text);
        }
    }
}

TEST(LayoutEditor, NewKeysFontsAndDeleting) {
    Editor e;
    TKeyboardLayoutEditor& ed = e.ed;
    ed.NewKey();
    ed.NewKey();
    TKey* a = ed.GetKey(0);
    TKey* b = ed.GetKey(1);
    for (TKey* k : {a, b}) {
        EXPECT_EQ(k->KeyType, ktNormal);
        EXPECT_EQ(At(k), (std::pair<int, int>{0, 0}));
        EXPECT_EQ(k->Width, 8);
        EXPECT_EQ(k->Font->GetName(), "MS Sans Serif");
        EXPECT_NE(k->Font, ed.GetDefaultKeyFont());
    }
    // The later key is above: a click in the shared area reaches it.
    e.Down(16, 16);
    e.Up(16, 16);
    EXPECT_EQ(e.clicked, std::vector<TKey*>{b});

    vcl::TFont font;
    font.SetName("Arial");
    font.SetSize(20);
    ed.SetDefaultFont(&font);
    EXPECT_EQ(a->Font->GetName(), "MS Sans Serif");
    EXPECT_EQ(ed.GetDefaultKeyFont()->GetName(), "Arial");
    font.SetName("Courier New");
    ed.SetKeyFont(&font);
    for (TKey* k : {a, b}) {
        EXPECT_EQ(k->Font->GetName(), "Courier New");
        EXPECT_EQ(k->Control->GetFont()->GetName(), "Courier New");
    }
    EXPECT_EQ(ed.GetDefaultKeyFont()->GetName(), "Courier New");

    const int controls = ed.ControlCount();
    ed.DeleteKey(a);
    EXPECT_EQ(ed.GetKeys()->GetCount(), 1);
    EXPECT_EQ(ed.ControlCount(), controls - 1);
    ed.ClearAll();
    EXPECT_EQ(ed.GetKeys()->GetCount(), 0);
    EXPECT_EQ(ed.ControlCount(), 439);
}

TEST(LayoutEditor, ClickedKeyInThePropertiesDialog) {
    Editor e;
    TKey* key = e.Add(0, 0);
    e.ed.OnKeyClicked = [&e](TKey* Key) { e.ed.ShowKeyPropertiesDialog(Key); };
    for (auto [result, caption] : {std::pair{vcl::mrCancel, ""}, std::pair{vcl::mrOk, "q"}}) {
        vcl::TModalResponderScope user([&, result = result](vcl::TModalRequest& r) {
            auto* dialog = dynamic_cast<TKeyPropertiesForm*>(r.Form);
            ASSERT_NE(dialog, nullptr);
            EXPECT_EQ(dialog->GetOwner(), &e.ed);
            dialog->NormalCaptionEdit->SetText("q");
            dialog->SetModalResult(result);
        });
        e.Down(16, 16);
        e.Up(16, 16);
        EXPECT_EQ(key->Control->GetCaption(), caption);
        EXPECT_EQ(e.ed.ComponentCount(), 440); // the dialog is gone
    }
}

TEST(LayoutEditor, LayoutFiles) {
    const std::string path = TempPath("layout.kly");
    Editor e;
    e.Add(4, 6)->SetKeyCaption(klNormal, "a");
    e.Add(12, 6);
    e.ed.SaveLayout(path);

    Editor f;
    f.Add(0, 0);
    f.ed.LoadLayout(path);
    ASSERT_EQ(f.ed.GetKeys()->GetCount(), 2);
    EXPECT_EQ(f.ed.GetKey(0)->Control->GetCaption(), "a");
    EXPECT_EQ(f.ed.GetKey(1)->Control->GetLeft(), 48);
    EXPECT_EQ(f.ed.ControlCount(), 441);

    // A file cut short in its second key: the first key is kept and shown.
    std::ifstream in(path, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), {});
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes.substr(0, bytes.size() - 5);
    EXPECT_THROW(f.ed.LoadLayout(path), vcl::EReadError);
    ASSERT_EQ(f.ed.GetKeys()->GetCount(), 1);
    EXPECT_NE(f.ed.GetKey(0)->Control, nullptr);
    EXPECT_EQ(f.ed.ControlCount(), 440);
    std::remove(path.c_str());

    EXPECT_THROW(f.ed.LoadLayout(path), vcl::EFOpenError);
    EXPECT_EQ(f.ed.GetKeys()->GetCount(), 0);
    EXPECT_EQ(f.ed.ControlCount(), 439);
}

// Loaded is what the form reader calls once the editor's properties are read.
struct TLoadedEditor : TKeyboardLayoutEditor {
    using TKeyboardLayoutEditor::Loaded;
    using TKeyboardLayoutEditor::TKeyboardLayoutEditor;
};

TEST(LayoutEditor, StoredWithItsFormWithoutKeysOrCaption) {
    vcl::TMemoryStream stream;
    {
        vcl::TForm form(nullptr);
        form.SetName("Form1");
        auto* ed = new TKeyboardLayoutEditor(&form);
        ed->SetName("LayoutEditor1");
        ed->SetParent(&form);
        ed->SetBounds(0, 0, 400, 300);
        ed->NewKey();
        ed->SetGridColor(vcl::clRed);
        vcl::WriteComponent(&stream, &form);
    }
    stream.SetPosition(0);
    vcl::TMemoryStream text;
    vcl::ObjectBinaryToText(&stream, &text);
    const std::vector<uint8_t> bytes = text.Bytes();
    const std::string s(bytes.begin(), bytes.end());
    const std::string editor = s.substr(s.find("  object LayoutEditor1"));
    // No caption and no keys; the font, the grid colour and LimitDesignArea are always stored.
    EXPECT_EQ(editor, "  object LayoutEditor1: TKeyboardLayoutEditor\n"
                      "    Left = 0\n    Top = 0\n    Width = 400\n    Height = 300\n"
                      "    DefaultKeyFont.Charset = DEFAULT_CHARSET\n"
                      "    DefaultKeyFont.Color = clWindowText\n"
                      "    DefaultKeyFont.Height = -11\n"
                      "    DefaultKeyFont.Name = 'MS Sans Serif'\n"
                      "    GridColor = clRed\n    LimitDesignArea = True\n  end\nend\n");

    // A plain TForm declares no field of the editor's class, so the program registers it, as a
    // program that reads such forms does.
    vcl::RegisterClass(TKeyboardLayoutEditor::StaticClass());
    vcl::TFinally unregister([] { vcl::UnRegisterClass(TKeyboardLayoutEditor::StaticClass()); });
    stream.SetPosition(0);
    vcl::TForm form(nullptr);
    vcl::ReadComponent(&stream, &form);
    auto* ed = dynamic_cast<TKeyboardLayoutEditor*>(form.FindComponent("LayoutEditor1"));
    ASSERT_NE(ed, nullptr);
    EXPECT_EQ(ed->GetKeys()->GetCount(), 0);
    EXPECT_EQ(Shapes(*ed, vcl::clRed), 439);

    TLoadedEditor loaded(nullptr);
    loaded.SetCaption("LayoutEditor1");
    loaded.Loaded();
    EXPECT_EQ(loaded.GetCaption(), "");
}
