// The layout editor application's main form, driven headless as a user works with it: menus,
// drags on the editor, file dialogs and prompts answered by the modal responder.

#include "Editorf.h"
#include "runtime/Quimbel.h"

#include "LayoutFile.h"
#include "rtl/CodePage.h"
#include "runtime/Keypropertiesf.h"

#include "vcl/Widgetset.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <deque>
#include <fstream>
#include <functional>
#include <string>
#include <unistd.h>
#include <utility>

using namespace quimbel;
using quimbel::layouteditor::TEditorForm;

namespace {

// Plays the user: answers messages from a queue of results (recording their texts), picks
// Next file in file dialogs.
struct User {
    User()
        : scope([this](vcl::TModalRequest& r) {
              switch (r.Kind) {
              case vcl::mkMessage:
                  messages.push_back(r.Message);
                  if (answers.empty()) {
                      r.Answer(r.Buttons.Contains(vcl::mbOK) ? vcl::mrOk : vcl::mrCancel);
                  } else {
                      r.Answer(answers.front());
                      answers.pop_front();
                  }
                  break;
              case vcl::mkOpenDialog:
              case vcl::mkSaveDialog:
                  if (file.empty()) {
                      r.Cancel();
                  } else {
                      r.FileDialog->SetFileName(file);
                      r.Accept();
                  }
                  break;
              case vcl::mkForm:
                  // The question before a destructive step: recorded and answered like a message.
                  if (r.Form->GetName() == "ConfirmForm") {
                      auto* text = vcl::As<vcl::TLabel>(r.Form->FindComponent("TextLabel"));
                      messages.push_back(text->GetCaption());
                      confirmDefault =
                          vcl::As<vcl::TButton>(r.Form->FindComponent("NoBtn"))->GetDefault();
                      if (answers.empty()) {
                          r.Form->InputKeyDown(vcl::VK_RETURN); // the default button
                      } else {
                          r.Form->SetModalResult(answers.front());
                          answers.pop_front();
                      }
                  } else if (onForm) {
                      onForm(r.Form);
                  }
                  break;
              default:
                  r.Cancel();
              }
          }) {}
    std::deque<vcl::TModalResult> answers;
    std::vector<std::string> messages;
    std::string file;
    std::function<void(vcl::TCustomForm*)> onForm;
    bool confirmDefault = false; // No was the default button of the last question
    vcl::TModalResponderScope scope;
};

std::string TempPath(const std::string& name) {
    return "/tmp/quimbel-led-" + std::to_string(::getpid()) + "-" + name;
}

// What the kly tool prints for "kly ARGS".
std::string Kly(const std::string& args) {
    std::string out;
    FILE* pipe = ::popen(("'" KLY_PROGRAM "' " + args + " 2>/dev/null").c_str(), "r");
    if (!pipe) return out;
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        out.append(buffer, n);
    ::pclose(pipe);
    return out;
}

// Drags the key's button by its middle to (X, Y) of the editor.
void Drag(TEditorForm& form, TKey* key, int X, int Y) {
    vcl::TControl* b = key->Control;
    const int x0 = b->GetLeft() + b->GetWidth() / 2, y0 = b->GetTop() + b->GetHeight() / 2;
    form.Editor->InputMouseDown(vcl::mbLeft, {}, x0, y0);
    form.Editor->InputMouseMove({}, X, Y);
    form.Editor->InputMouseUp(vcl::mbLeft, {}, X, Y);
}

// Clicks the middle of the key's button, with Shift held when Add.
void Click(TEditorForm& form, TKey* key, bool Add = false) {
    vcl::TControl* b = key->Control;
    const vcl::TShiftState shift = Add ? vcl::TShiftState{vcl::ssShift} : vcl::TShiftState{};
    const int x = b->GetLeft() + b->GetWidth() / 2, y = b->GetTop() + b->GetHeight() / 2;
    form.Editor->InputMouseDown(vcl::mbLeft, shift, x, y);
    form.Editor->InputMouseUp(vcl::mbLeft, shift, x, y);
}

std::vector<vcl::TPoint> Places(const TEditorForm& form) {
    std::vector<vcl::TPoint> places;
    for (int i = 0; i < form.Editor->GetKeys()->GetCount(); ++i)
        places.push_back({form.Editor->GetKey(i)->Left, form.Editor->GetKey(i)->Top});
    return places;
}

bool Marked(const TEditorForm& form) {
    return form.GetCaption().rfind('*', 0) == 0;
}

} // namespace

TEST(LayoutEditorApp, BuildSaveReopen) {
    User user;
    const std::string path = TempPath("built.kly");
    TEditorForm form(nullptr);
    EXPECT_EQ(form.GetCaption(), "untitled.kly \x96 Quimbel Layout Editor");
    form.NewKeyItem->Click();
    form.NewKeyItem->Click();
    EXPECT_TRUE(Marked(form));
    Drag(form, form.Editor->GetKey(1), 101, 50);
    EXPECT_EQ(form.Editor->GetKey(1)->Left, 21);
    EXPECT_EQ(form.PreviewKeyboard->GetKeys()->GetCount(), 2);
    EXPECT_EQ(form.PreviewKeyboard->GetKeys()->GetItem(1)->Left, 21);

    // A click without a drag selects the key; a click on the key selected alone opens its
    // properties.
    user.onForm = [](vcl::TCustomForm* Form) {
        auto* dialog = vcl::As<TKeyPropertiesForm>(Form);
        dialog->NormalCaptionEdit->SetText("q");
        dialog->ShiftCaptionEdit->SetText("Q");
        dialog->NormalValueEdit->SetText("q");
        dialog->ShiftValueEdit->SetText("Q");
        dialog->OKBtn->Click();
    };
    for (int click = 0; click < 2; ++click) {
        EXPECT_EQ(form.Editor->GetKey(0)->Control->GetCaption(), "");
        form.Editor->InputMouseDown(vcl::mbLeft, {}, 10, 10);
        form.Editor->InputMouseUp(vcl::mbLeft, {}, 10, 10);
    }
    EXPECT_EQ(form.Editor->GetKey(0)->Control->GetCaption(), "q");
    EXPECT_EQ(form.CurrentKey(), form.Editor->GetKey(0));

    user.file = path;
    form.SaveItem->Click();
    EXPECT_EQ(form.GetCaption(), "quimbel-led-" + std::to_string(::getpid()) +
                                     "-built.kly \x96 Quimbel Layout Editor");
    EXPECT_FALSE(form.Modified());

    TEditorForm reopened(nullptr);
    ASSERT_TRUE(reopened.OpenFile(path));
    EXPECT_EQ(reopened.Editor->GetKeys()->GetCount(), 2);
    const std::string dump = Kly("dump --pretty '" + path + "'");
    EXPECT_NE(dump.find("{\"type\": \"ktNormal\", \"captions\": [\"q\", \"Q\", \"\"], "
                        "\"values\": [\"q\", \"Q\", \"\"], \"left\": 0, \"top\": 0, \"width\": 8, "
                        "\"height\": 8"),
              std::string::npos)
        << dump;
    EXPECT_NE(dump.find("\"left\": 21, \"top\": 8, \"width\": 8, \"height\": 8"), std::string::npos)
        << dump;
    EXPECT_TRUE(user.messages.empty());
    std::remove(path.c_str());
}

TEST(LayoutEditorApp, UnsavedChangesAreAskedForOnEveryWayOut) {
    const std::string path = TempPath("asked.kly");
    const std::string other = TempPath("other.kly");
    {
        TKeyCollection keys;
        keys.SaveToFile(other);
    }
    enum Way { New, Open, Quit, CloseBox };
    struct Case {
        Way way;
        vcl::TModalResult answer;
        bool leaves; // the current layout is given up
    } cases[] = {
        {New, vcl::mrCancel, false}, {New, vcl::mrNo, true},
        {New, vcl::mrYes, true},     {Open, vcl::mrCancel, false},
        {Open, vcl::mrNo, true},     {Quit, vcl::mrCancel, false},
        {Quit, vcl::mrYes, true},    {CloseBox, vcl::mrCancel, false},
        {CloseBox, vcl::mrNo, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.way) + " answered " + std::to_string(c.answer));
        User user;
        TEditorForm form(nullptr);
        form.Show();
        ASSERT_TRUE(form.SaveFile(path));
        form.NewKeyItem->Click();
        user.answers.push_back(c.answer);
        user.file = c.way == Open ? other : path; // the save of Yes goes to the layout's file
        switch (c.way) {
        case New:
            form.NewItem->Click();
            break;
        case Open:
            form.OpenItem->Click();
            break;
        case Quit:
            form.QuitItem->Click();
            break;
        case CloseBox:
            form.Close();
            break;
        }
        ASSERT_EQ(user.messages.size(), 1u);
        EXPECT_EQ(user.messages[0], "Do you want to save the changes to " + path.substr(5) + "?");
        const bool gone = c.way == Quit || c.way == CloseBox
                              ? !form.GetVisible()
                              : form.Editor->GetKeys()->GetCount() == 0;
        EXPECT_EQ(gone, c.leaves);
        TKeyCollection saved;
        saved.LoadFromFile(path);
        EXPECT_EQ(saved.GetCount(), c.answer == vcl::mrYes ? 1 : 0);
    }
    // Nothing is asked without changes.
    User user;
    TEditorForm form(nullptr);
    form.Show();
    form.NewKeyItem->Click();
    form.DeleteKeyItem->Click();
    form.NewItem->Click();
    form.Close();
    EXPECT_TRUE(user.messages.empty());
    EXPECT_FALSE(form.GetVisible());
    std::remove(path.c_str());
    std::remove(other.c_str());
}

TEST(LayoutEditorApp, BrokenFileOnOpenLeavesTheLayout) {
    const std::string good = TempPath("good.kly");
    const std::string broken = TempPath("broken.kly");
    User user;
    TEditorForm form(nullptr);
    form.OpenBuiltIn("numpad");
    form.Editor->GetKeys()->SaveToFile(good);
    std::ifstream in(good, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), {});
    std::ofstream(broken, std::ios::binary) << bytes.substr(0, 30);
    const int count = form.Editor->GetKeys()->GetCount();
    const vcl::AnsiString title = form.GetCaption();

    user.file = broken;
    form.OpenItem->Click();
    EXPECT_FALSE(form.OpenFile(TempPath("missing.kly")));
    EXPECT_EQ(form.Editor->GetKeys()->GetCount(), count);
    EXPECT_EQ(form.GetCaption(), title);
    // Worded as kly check words it.
    ASSERT_EQ(user.messages.size(), 2u);
    EXPECT_EQ(user.messages[0] + "\n", Kly("check '" + broken + "'"));
    EXPECT_EQ(user.messages[1] + "\n", Kly("check '" + TempPath("missing.kly") + "'"));
    EXPECT_NE(user.messages[0].find("error at byte"), std::string::npos);
    std::remove(good.c_str());
    std::remove(broken.c_str());
}

TEST(LayoutEditorApp, ShiftsByTheDeltaField) {
    User user;
    TEditorForm form(nullptr);
    form.NewKeyItem->Click();
    TKey* key = form.Editor->GetKey(0);
    form.DeltaEdit->SetText("3");
    form.ShiftRightBtn->Click();
    form.ShiftDownItem->Click();
    EXPECT_EQ(key->Left, 3);
    EXPECT_EQ(key->Top, 3);
    form.DeltaEdit->SetText("4");
    form.ShiftUpItem->Click(); // would leave the design area
    EXPECT_EQ(key->Top, 3);
    EXPECT_NE(form.StatusPanel->GetCaption().find("Not shifted"), vcl::AnsiString::npos);
    form.LimitItem->Click();
    EXPECT_FALSE(form.LimitItem->GetChecked());
    form.ShiftUpItem->Click();
    EXPECT_EQ(key->Top, -1);
    key->SetLeft(2147483647 - 100);
    form.DeltaEdit->SetText("500");
    form.ShiftRightItem->Click(); // beyond the 32 bits a position has
    EXPECT_EQ(key->Left, 2147483647 - 100);
    EXPECT_NE(form.StatusPanel->GetCaption().find("beyond"), vcl::AnsiString::npos);
    key->SetLeft(3);
    // The messages name the field the user sees and its range.
    for (const char* text : {"0", "x", " ", "501"}) {
        form.DeltaEdit->SetText(text);
        form.ShiftLeftItem->Click();
    }
    EXPECT_EQ(user.messages,
              (std::vector<std::string>{
                  "\"0\" in the \"by\" field is not a number of layout units from 1 to 500.",
                  "\"x\" in the \"by\" field is not a number of layout units from 1 to 500.",
                  "Type how far to shift into the \"by\" field: 1 to 500 layout units.",
                  "\"501\" in the \"by\" field is not a number of layout units from 1 to 500."}));
    EXPECT_EQ(key->Left, 3);
}

TEST(LayoutEditorApp, BuiltInLayoutsBringTheirCodePage) {
    const int saved = vcl::GetAnsiCodePage();
    TEditorForm form(nullptr);
    for (auto [name, page] : {std::pair{"ru", 1251}, {"de", 1252}, {"el", 1253}}) {
        form.OpenBuiltIn(name);
        EXPECT_EQ(vcl::GetAnsiCodePage(), page) << name;
    }
    // A page chosen on the command line stays.
    form.FollowLayoutCodePage = false;
    form.OpenBuiltIn("ru");
    EXPECT_EQ(vcl::GetAnsiCodePage(), 1253);
    EXPECT_THROW(form.OpenBuiltIn("xx"), vcl::Exception);
    vcl::SetAnsiCodePage(saved);

    // The menu offers every built-in layout, grouped by code page, and choosing one opens it.
    const auto& layouts = quimbel::BuiltInLayouts();
    std::vector<vcl::TMenuItem*> items;
    for (int g = 0; g < form.BuiltInItem->GetCount(); ++g) {
        vcl::TMenuItem* group = form.BuiltInItem->GetItem(g);
        for (int i = 0; i < group->GetCount(); ++i) {
            items.push_back(group->GetItem(i));
            EXPECT_EQ(quimbel::BuiltInLayoutCodePage(group->GetItem(i)->GetCaption()),
                      std::stoi(group->GetCaption().substr(group->GetCaption().rfind('(') + 1)))
                << group->GetCaption();
        }
    }
    EXPECT_EQ(form.BuiltInItem->GetItem(0)->GetCaption(), "Thai (874)");
    ASSERT_EQ(items.size(), layouts.size());
    EXPECT_GE(layouts.size(), 40u);
    vcl::TMenuItem* el = nullptr;
    for (vcl::TMenuItem* item : items)
        if (item->GetCaption() == "el") el = item;
    ASSERT_NE(el, nullptr);
    el->Click();
    EXPECT_NE(form.GetCaption().find("el.kly"), vcl::AnsiString::npos) << form.GetCaption();
    vcl::SetAnsiCodePage(saved);
}

TEST(LayoutEditorApp, CodePageIsShownChosenAndFollowsWhatIsOpened) {
    const int saved = vcl::GetAnsiCodePage();
    User user;
    const std::string file = TempPath("de.kly");
    TEditorForm form(nullptr);
    form.FileCodePage = 1252;
    form.OpenBuiltIn("de");
    ASSERT_TRUE(form.SaveFile(file));
    auto status = [&] { return form.StatusPanel->GetCaption(); };
    auto backspace = [&] {
        for (int i = 0; i < form.Editor->GetKeys()->GetCount(); ++i) {
            TKey* key = form.Editor->GetKey(i);
            if (key->KeyType == ktBackspace) return vcl::AnsiToUtf8(key->Control->GetCaption());
        }
        return std::string();
    };

    // A built-in layout brings its page; a file opened after it returns to the file page, so
    // that the German captions are German again.
    form.OpenBuiltIn("ru");
    EXPECT_EQ(vcl::GetAnsiCodePage(), 1251);
    EXPECT_NE(status().find("code page 1251 (Cyrillic)"), std::string::npos) << status();
    ASSERT_TRUE(form.OpenFile(file));
    EXPECT_EQ(vcl::GetAnsiCodePage(), 1252);
    EXPECT_EQ(backspace(), "Rück");
    EXPECT_NE(status().find("code page 1252 (Western European)"), std::string::npos);

    // View > Code Page lists every page, checks the active one and redraws the keys in the
    // chosen one; the layout's bytes stay as they are.
    ASSERT_EQ(form.CodePageItem->GetCount(), 10);
    vcl::TMenuItem* cyrillic = nullptr;
    for (int i = 0; i < form.CodePageItem->GetCount(); ++i) {
        vcl::TMenuItem* item = form.CodePageItem->GetItem(i);
        EXPECT_EQ(item->GetChecked(), item->GetTag() == 1252);
        if (item->GetTag() == 1251) cyrillic = item;
    }
    ASSERT_NE(cyrillic, nullptr);
    EXPECT_EQ(cyrillic->GetCaption(), "&1251 Cyrillic");
    cyrillic->Click();
    EXPECT_EQ(vcl::GetAnsiCodePage(), 1251);
    EXPECT_TRUE(cyrillic->GetChecked());
    EXPECT_EQ(backspace(), "Rьck");
    EXPECT_FALSE(Marked(form));
    EXPECT_NE(status().find("code page 1251 (Cyrillic)"), std::string::npos);

    // A page the user chose stays for files; a built-in layout still brings its own.
    form.OpenBuiltIn("el");
    EXPECT_EQ(vcl::GetAnsiCodePage(), 1253);
    ASSERT_TRUE(form.OpenFile(file));
    EXPECT_EQ(vcl::GetAnsiCodePage(), 1251);
    std::remove(file.c_str());
    vcl::SetAnsiCodePage(saved);
}

TEST(LayoutEditorApp, NewKeysFindAFreePlaceAndSilentKeysShow) {
    User user;
    TEditorForm form(nullptr);
    form.Show();
    // Side by side while they fit in the editor's width, then below, each selected when made.
    form.SetClientWidth(form.KeyPanel->GetWidth() + 100); // the editor: 25 layout units
    for (int i = 0; i < 4; ++i) {
        form.NewKeyItem->Click();
        EXPECT_EQ(form.Selection(), std::vector<TKey*>{form.Editor->GetKey(i)});
    }
    EXPECT_EQ(Places(form), (std::vector<vcl::TPoint>{{0, 0}, {8, 0}, {16, 0}, {0, 8}}));

    // A normal key without values types nothing: red, and counted in the status line, until
    // the properties dialog fills its values from the captions.
    TKey* key = form.Editor->GetKey(0);
    EXPECT_EQ(key->Control->GetFont()->GetColor(), vcl::clRed);
    EXPECT_NE(form.StatusPanel->GetCaption().find("4 without a value"), std::string::npos)
        << form.StatusPanel->GetCaption();
    user.onForm = [](vcl::TCustomForm* Form) {
        auto* dialog = vcl::As<TKeyPropertiesForm>(Form);
        dialog->NormalCaptionEdit->SetText("a");
        dialog->OKBtn->Click();
    };
    Click(form, key);
    Click(form, key);
    EXPECT_EQ(key->GetKeyValue(klNormal), "a");
    EXPECT_EQ(key->Control->GetFont()->GetColor(), key->Font->GetColor());
    EXPECT_NE(form.StatusPanel->GetCaption().find("3 without a value"), std::string::npos);
}

TEST(LayoutEditorApp, EveryChangeUndoesAndClearAllAsksWithNoAsDefault) {
    User user;
    const std::string path = TempPath("undo.kly");
    TEditorForm form(nullptr);
    form.Show();
    form.NewKeyItem->Click();
    ASSERT_TRUE(form.SaveFile(path));
    EXPECT_EQ(form.UndoItem->GetCaption(), "&Undo New Key");

    // Clear All asks, with No as the default button: Enter keeps the keys.
    form.ClearAllItem->Click();
    EXPECT_TRUE(user.confirmDefault);
    EXPECT_EQ(user.messages.back(), "All keys will be deleted! Proceed?");
    EXPECT_EQ(form.Editor->GetKeys()->GetCount(), 1);

    // Each step undoes, back to the saved layout, which is not marked modified.
    form.NewKeyItem->Click();
    Drag(form, form.Editor->GetKey(1), 101, 50);
    form.DeltaEdit->SetText("2");
    form.ShiftDownBtn->Click();
    form.DeleteKeyItem->Click();
    user.answers.push_back(vcl::mrYes);
    form.ClearAllItem->Click();
    EXPECT_EQ(form.Editor->GetKeys()->GetCount(), 0);
    const std::vector<std::pair<const char*, std::vector<vcl::TPoint>>> steps = {
        {"&Undo Clear All", {{0, 2}}},
        {"&Undo Delete", {{0, 2}, {21, 10}}},
        {"&Undo Shift", {{0, 0}, {21, 8}}},
        {"&Undo Move", {{0, 0}, {8, 0}}},
        {"&Undo New Key", {{0, 0}}}};
    for (const auto& [caption, after] : steps) {
        EXPECT_TRUE(Marked(form));
        EXPECT_EQ(form.UndoItem->GetCaption(), caption);
        form.InputKeyDown('Z', {vcl::ssCtrl});
        EXPECT_EQ(Places(form), after) << caption;
    }
    EXPECT_FALSE(Marked(form));
    EXPECT_FALSE(form.Modified());
    EXPECT_EQ(form.RedoItem->GetCaption(), "&Redo New Key");
    form.InputKeyDown('Y', {vcl::ssCtrl});
    form.RedoItem->Click();
    EXPECT_EQ(Places(form), (std::vector<vcl::TPoint>{{0, 0}, {21, 8}}));
    // A new step drops what was undone.
    form.NewKeyItem->Click();
    EXPECT_FALSE(form.RedoItem->GetEnabled());
    EXPECT_EQ(form.RedoItem->GetCaption(), "&Redo");
    std::remove(path.c_str());
}

TEST(LayoutEditorApp, SelectionMovesAlignsAndTravelsThroughTheClipboard) {
    User user;
    TEditorForm form(nullptr);
    form.Show();
    for (int i = 0; i < 3; ++i)
        form.NewKeyItem->Click(); // at 0, 8 and 16
    TKey* a = form.Editor->GetKey(0);
    TKey* b = form.Editor->GetKey(1);
    TKey* c = form.Editor->GetKey(2);

    // A rubber band from the empty grid selects what it touches; Shift-click takes one out.
    form.Editor->InputMouseDown(vcl::mbLeft, {}, 200, 100);
    form.Editor->InputMouseMove({}, 40, 10);
    form.Editor->InputMouseUp(vcl::mbLeft, {}, 40, 10);
    EXPECT_EQ(form.Selection(), (std::vector<TKey*>{b, c}));
    Click(form, a, true);
    Click(form, c, true);
    EXPECT_EQ(form.Selection(), (std::vector<TKey*>{b, a}));
    EXPECT_EQ(form.UndoItem->GetCaption(), "&Undo New Key"); // selecting changes nothing

    // A drag of one selected key moves them all; arrows move by a unit, Shift+arrows by a key.
    Drag(form, b, 101, 50); // b's Left 8 -> 21, Top 0 -> 8
    EXPECT_EQ(Places(form), (std::vector<vcl::TPoint>{{13, 8}, {21, 8}, {16, 0}}));
    form.InputKeyDown(vcl::VK_RIGHT, {});
    form.InputKeyDown(vcl::VK_DOWN, {vcl::ssShift});
    EXPECT_EQ(Places(form), (std::vector<vcl::TPoint>{{14, 16}, {22, 16}, {16, 0}}));
    // Undo and redo make the keys anew and keep the selection.
    form.InputKeyDown('Z', {vcl::ssCtrl});
    form.InputKeyDown('Y', {vcl::ssCtrl});
    a = form.Editor->GetKey(0);
    b = form.Editor->GetKey(1);
    c = form.Editor->GetKey(2);
    EXPECT_EQ(form.Selection(), (std::vector<TKey*>{b, a}));
    form.SelectNextItem->Click(); // after a, the current key: b
    EXPECT_EQ(form.Selection(), std::vector<TKey*>{b});
    form.SelectPreviousItem->Click();
    EXPECT_EQ(form.Selection(), std::vector<TKey*>{a});

    // Align and distribute act on the selection.
    form.SelectAllItem->Click();
    form.AlignTopItem->Click();
    EXPECT_EQ(Places(form), (std::vector<vcl::TPoint>{{14, 0}, {22, 0}, {16, 0}}));
    c->SetLeft(40);
    form.DistributeAcrossItem->Click(); // 14..48: 34 units, 24 of keys, two gaps of 5
    EXPECT_EQ(Places(form), (std::vector<vcl::TPoint>{{14, 0}, {27, 0}, {40, 0}}));
    form.AlignBottomItem->Click();
    b->SetHeight(16);
    form.AlignBottomItem->Click();
    EXPECT_EQ(a->Top, 8);

    // The panel shows and sets what the selected keys share.
    EXPECT_EQ(form.LeftEdit->GetText(), "");
    EXPECT_EQ(form.WidthEdit->GetText(), "8");
    form.LeftEdit->SetText("3");
    form.KeyFieldExit(form.LeftEdit);
    EXPECT_EQ(Places(form), (std::vector<vcl::TPoint>{{3, 8}, {3, 0}, {3, 8}}));

    // A value typed and not confirmed counts when a key is clicked; the click takes the keys
    // out of the text field.
    form.TopEdit->SetFocus();
    form.TopEdit->SetText("2");
    Click(form, c);
    EXPECT_EQ(Places(form), (std::vector<vcl::TPoint>{{3, 2}, {3, 2}, {3, 2}}));
    EXPECT_EQ(vcl::FindFocusedControl(), form.PropertiesBtn);
    form.InputKeyDown('Z', {vcl::ssCtrl});
    a = form.Editor->GetKey(0);
    b = form.Editor->GetKey(1);
    c = form.Editor->GetKey(2);
    form.SelectAllItem->Click();
    form.WidthEdit->SetText("81");
    form.KeyFieldExit(form.WidthEdit);
    EXPECT_EQ(user.messages.back(),
              "\"81\" is not a valid width: type a whole number from 1 to 80.");
    EXPECT_EQ(a->Width, 8);
    EXPECT_EQ(form.WidthEdit->GetText(), "8");

    // Copy puts kly JSON on the clipboard; paste adds the keys at a free place, selected.
    form.Editor->InputMouseDown(vcl::mbLeft, {}, 16, 4); // b's top, above a and c
    form.Editor->InputMouseUp(vcl::mbLeft, {}, 16, 4);
    EXPECT_EQ(form.Selection(), std::vector<TKey*>{b});
    b->SetKeyCaption(klNormal, "b");
    form.InputKeyDown('C', {vcl::ssCtrl});
    const std::string json = form.GetClipboardText();
    EXPECT_EQ(json.rfind("{\"codepage\": ", 0), 0u) << json;
    EXPECT_NE(json.find("\"captions\": [\"b\""), std::string::npos) << json;
    form.InputKeyDown('V', {vcl::ssCtrl});
    ASSERT_EQ(form.Editor->GetKeys()->GetCount(), 4);
    TKey* pasted = form.Editor->GetKey(3);
    EXPECT_EQ(form.Selection(), std::vector<TKey*>{pasted});
    EXPECT_EQ(pasted->GetKeyCaption(klNormal), "b");
    EXPECT_EQ(pasted->Height, 16);
    EXPECT_EQ(Places(form).back(), (vcl::TPoint{11, 8})); // right of the last key
    // Cut and Delete remove the selection; text that is no layout pastes nothing.
    form.CutItem->Click();
    EXPECT_EQ(form.Editor->GetKeys()->GetCount(), 3);
    form.SetClipboardText("hello");
    form.PasteItem->Click();
    EXPECT_EQ(form.Editor->GetKeys()->GetCount(), 3);
    EXPECT_NE(form.StatusPanel->GetCaption().find("no keys to paste"), std::string::npos);
    form.SelectAllItem->Click();
    form.InputKeyDown(vcl::VK_DELETE, {});
    EXPECT_EQ(form.Editor->GetKeys()->GetCount(), 0);
    EXPECT_EQ(form.UndoItem->GetCaption(), "&Undo Delete");
}

TEST(LayoutEditorApp, KeyboardReachesEveryControl) {
    TEditorForm form(nullptr);
    form.Show();
    // The focus starts on the toolbar, not in the "by" field, and Tab visits every control
    // (those of the selected key once there is one).
    EXPECT_EQ(form.GetActiveControl(), form.NewKeyBtn);
    form.NewKeyItem->Click();
    std::vector<vcl::TWinControl*> visited;
    vcl::TWinControl* at = form.NewKeyBtn;
    do {
        visited.push_back(at);
        at = form.FindNextControl(at, true, true, false);
    } while (at && at != form.NewKeyBtn && visited.size() < 50);
    const std::vector<vcl::TWinControl*> expected = {
        form.NewKeyBtn,     form.DeleteKeyBtn, form.PropertiesBtn, form.ShiftLeftBtn,
        form.ShiftRightBtn, form.ShiftUpBtn,   form.ShiftDownBtn,  form.DeltaEdit,
        form.LeftEdit,      form.TopEdit,      form.WidthEdit,     form.HeightEdit,
        form.PreviewEdit};
    EXPECT_EQ(visited, expected);
}

TEST(LayoutEditorApp, SmallWindowsKeepEveryPartInView) {
    TEditorForm form(nullptr);
    form.Show();
    form.OpenBuiltIn("de");
    for (auto [width, height] : {std::pair{400, 300}, {640, 480}, {1000, 696}}) {
        SCOPED_TRACE(std::to_string(width) + "x" + std::to_string(height));
        form.SetClientWidth(width);
        form.SetClientHeight(height);
        // The toolbar's controls wrap inside the window without covering one another.
        std::vector<vcl::TRect> placed;
        for (int i = 0; i < form.ToolBar->ControlCount(); ++i) {
            const vcl::TRect r = form.ToolBar->GetControl(i)->BoundsRect();
            EXPECT_LE(r.Right, width) << form.ToolBar->GetControl(i)->GetName();
            EXPECT_LE(r.Bottom, form.ToolBar->GetHeight());
            for (const vcl::TRect& other : placed)
                EXPECT_FALSE(r.Left < other.Right && other.Left < r.Right && r.Top < other.Bottom &&
                             other.Top < r.Bottom)
                    << form.ToolBar->GetControl(i)->GetName();
            placed.push_back(r);
        }
        // Toolbar, editor (with room for the key panel's fields), preview and status line stack
        // up without overlapping.
        vcl::TScrollBox* box = form.EditorBox;
        EXPECT_EQ(box->GetTop(), form.ToolBar->GetHeight());
        EXPECT_GE(box->GetHeight(), form.HeightEdit->GetTop() + form.HeightEdit->GetHeight());
        EXPECT_EQ(form.PreviewPanel->GetTop(), box->GetTop() + box->GetHeight());
        // Every key can be scrolled into view: the editor reaches beyond the furthest key, and
        // the box scrolls over all of it, with a bar wherever it does not fit.
        int right = 0, bottom = 0;
        for (int i = 0; i < form.Editor->GetKeys()->GetCount(); ++i) {
            const quimbel::TKey* k = form.Editor->GetKey(i);
            right = std::max(right, (k->Left + int(k->Width)) * quimbel::PixelsPerUnit);
            bottom = std::max(bottom, (k->Top + int(k->Height)) * quimbel::PixelsPerUnit);
        }
        EXPECT_GT(form.Editor->GetWidth(), right);
        EXPECT_GT(form.Editor->GetHeight(), bottom);
        for (vcl::TControlScrollBar* bar : {box->GetHorzScrollBar(), box->GetVertScrollBar()}) {
            const bool horz = bar == box->GetHorzScrollBar();
            EXPECT_EQ(bar->GetRange(), horz ? form.Editor->GetWidth() : form.Editor->GetHeight());
            EXPECT_EQ(bar->IsScrollBarVisible(), bar->GetRange() > bar->ClientExtent());
            bar->SetPosition(bar->GetRange());
        }
        EXPECT_EQ(form.Editor->BoundsRect().Right, box->GetClientWidth());
        EXPECT_EQ(form.Editor->BoundsRect().Bottom, box->GetClientHeight());
        if (width == 400) {
            EXPECT_TRUE(box->GetHorzScrollBar()->IsScrollBarVisible());
        }
        box->GetHorzScrollBar()->SetPosition(0);
        box->GetVertScrollBar()->SetPosition(0);
        EXPECT_EQ(form.StatusPanel->GetTop(),
                  form.PreviewPanel->GetTop() + form.PreviewPanel->GetHeight());
        EXPECT_EQ(form.StatusPanel->GetTop() + form.StatusPanel->GetHeight(), height);
    }
}
