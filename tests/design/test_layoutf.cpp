// The layout designer window, built from the design package's form resource and driven headless
// through the pointer input and the modal responder.

#include "design/Layoutf.h"
#include "design/Layoutproperty.h"
#include "designide/DesignIntf.h"
#include "rtl/CodePage.h"

#include "runtime/Keypropertiesf.h"

#include "vcl/ExtCtrls.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

using namespace quimbel;
using namespace vcl;

namespace {

std::string TempPath(const char* name) {
    return std::string("/tmp/quimbel-designer-") + std::to_string(::getpid()) + "-" + name;
}

// A collection with keys at the given positions, and the window open on it.
struct Designer {
    explicit Designer(std::vector<std::pair<int, int>> at = {}) {
        for (auto [left, top] : at) {
            auto* key = new TKey(ktNormal);
            key->SetLeft(left);
            key->SetTop(top);
            key->SetKeyCaption(klNormal, "k" + std::to_string(keys.GetCount()));
            keys.AddKey(key);
        }
        form = std::make_unique<TLayoutForm>(nullptr, &keys);
    }
    TKey* Key(int i) const { return keys.GetItem(i); }
    // Pointer input in LayoutPanel's client coordinates.
    void Down(int X, int Y, TMouseButton B = mbLeft) {
        form->LayoutPanel->InputMouseDown(B, {}, X, Y);
    }
    void Move(int X, int Y) { form->LayoutPanel->InputMouseMove({}, X, Y); }
    void Up(int X, int Y, TMouseButton B = mbLeft) { form->LayoutPanel->InputMouseUp(B, {}, X, Y); }
    std::vector<int> Lefts() const {
        std::vector<int> v;
        for (int i = 0; i < keys.GetCount(); ++i)
            v.push_back(keys.GetItem(i)->Left);
        return v;
    }
    int Shapes() const {
        int n = 0;
        for (int i = 0; i < form->LayoutPanel->ControlCount(); ++i)
            if (auto* s = dynamic_cast<TShape*>(form->LayoutPanel->GetControl(i)))
                n += s->GetPen()->GetColor() == clSilver && s->GetOwner() == form->LayoutPanel;
        return n;
    }

    TKeyCollection keys;
    std::unique_ptr<TLayoutForm> form;
};

// Plays the user: each modal request goes to the next answer in turn.
struct Script {
    explicit Script(std::vector<std::function<void(TModalRequest&)>> steps)
        : steps_(std::move(steps)), scope_([this](TModalRequest& r) {
              ASSERT_LT(next_, steps_.size()) << "unexpected " << r.Describe();
              steps_[next_++](r);
          }) {}
    bool Done() const { return next_ == steps_.size(); }

private:
    std::vector<std::function<void(TModalRequest&)>> steps_;
    size_t next_ = 0;
    TModalResponderScope scope_;
};

std::function<void(TModalRequest&)> Prompt(const char* Text, TModalResult Answer) {
    return [=](TModalRequest& r) {
        ASSERT_EQ(r.Kind, mkMessage);
        EXPECT_EQ(r.Message, Text);
        EXPECT_EQ(r.DlgType, mtConfirmation);
        EXPECT_EQ(r.Buttons, (TMsgDlgButtons{mbYes, mbNo}));
        EXPECT_EQ(r.HelpCtx, 0);
        r.Answer(Answer);
    };
}

std::function<void(TModalRequest&)> FontPick(const char* Name, TModalResult Answer) {
    return [=](TModalRequest& r) {
        ASSERT_EQ(r.Kind, mkFontDialog);
        r.FontDialog->GetFont()->SetName(Name);
        r.Answer(Answer);
    };
}

// The key properties dialog: types a caption and ends with Result.
std::function<void(TModalRequest&)> Properties(TKey* Expected, const char* Caption,
                                               TModalResult Result) {
    return [=](TModalRequest& r) {
        ASSERT_EQ(r.Kind, mkForm);
        auto* dialog = dynamic_cast<TKeyPropertiesForm*>(r.Form);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->NormalCaptionEdit->GetText(), Expected->GetKeyCaption(klNormal));
        dialog->NormalCaptionEdit->SetText(Caption);
        dialog->SetModalResult(Result);
    };
}

// The 10 x 10 glyph as rows of '#' (black) and '.' (anything else).
std::vector<std::string> Picture(const TBitmap* Glyph) {
    std::vector<std::string> rows;
    for (int y = 0; y < Glyph->GetHeight(); ++y) {
        std::string row;
        for (int x = 0; x < Glyph->GetWidth(); ++x)
            row += Glyph->GetPixel(x, y) == 0 ? '#' : '.';
        rows.push_back(row);
    }
    return rows;
}

} // namespace

TEST(LayoutForm, ResourceHoldsTheDesignerWindow) {
    Designer d;
    TLayoutForm& f = *d.form;
    EXPECT_EQ(f.GetCaption(), "Keyboard Layout Editor");
    EXPECT_EQ(f.GetBorderIcons(), TBorderIcons{biSystemMenu});
    EXPECT_EQ(f.BoundsRect(), Bounds(305, 195, 639, 387));
    EXPECT_EQ(f.GetColor(), clBtnFace);
    EXPECT_EQ(f.GetFont()->GetName(), "MS Sans Serif");
    EXPECT_EQ(f.GetFont()->GetHeight(), -11);
    EXPECT_EQ(f.GetFont()->GetCharset(), DEFAULT_CHARSET);
    EXPECT_EQ(f.GetFont()->GetColor(), clWindowText);
    EXPECT_TRUE(f.GetFont()->GetStyle().Empty());
    EXPECT_EQ(f.GetPixelsPerInch(), 96);
    EXPECT_EQ(f.OnDestroy.MethodName(), "FormDestroy");

    struct Control {
        TControl* control;
        const char* cls;
        TWinControl* parent;
        TRect bounds;
        TBasicAction* action;
        int tabOrder; // -1: a graphic control
    };
    const Control controls[] = {
        {f.LayoutPanel, "TPanel", &f, Bounds(0, 40, 631, 320), nullptr, 0},
        {f.TopPanel, "TPanel", &f, Bounds(0, 0, 631, 40), nullptr, 1},
        {f.NewKeyBtn, "TButton", f.TopPanel, Bounds(8, 8, 75, 24), f.NewKeyAction, 0},
        {f.LoadLayoutBtn, "TButton", f.TopPanel, Bounds(88, 8, 75, 24), f.LoadLayoutAction, 2},
        {f.SaveLayoutBtn, "TButton", f.TopPanel, Bounds(168, 8, 75, 24), f.SaveLayoutAction, 1},
        {f.ClearBtn, "TButton", f.TopPanel, Bounds(248, 8, 75, 24), f.ClearAllBtn, 4},
        {f.KeyFontBtn, "TButton", f.TopPanel, Bounds(328, 8, 75, 24), f.SetFontAction, 5},
        {f.ShiftLeftBtn, "TSpeedButton", f.TopPanel, Bounds(414, 12, 18, 18), f.ShiftLeftAction,
         -1},
        {f.ShiftUpBtn, "TSpeedButton", f.TopPanel, Bounds(432, 2, 18, 18), f.ShiftUpAction, -1},
        {f.ShiftDownBtn, "TSpeedButton", f.TopPanel, Bounds(432, 20, 18, 18), f.ShiftDownAction,
         -1},
        {f.ShiftRightBtn, "TSpeedButton", f.TopPanel, Bounds(450, 12, 18, 18), f.ShiftRightAction,
         -1},
        {f.RightPanel, "TPanel", f.TopPanel, Bounds(549, 2, 80, 36), nullptr, 3},
        {f.CloseBtn, "TButton", f.RightPanel, Bounds(0, 6, 75, 25), nullptr, 0},
    };
    for (const Control& c : controls) {
        ASSERT_NE(c.control, nullptr);
        const std::string name = c.control->GetName();
        EXPECT_EQ(c.control->ClassName(), c.cls) << name;
        EXPECT_EQ(c.control->GetParent(), c.parent) << name;
        EXPECT_EQ(c.control->BoundsRect(), c.bounds) << name;
        EXPECT_EQ(c.control->GetAction(), c.action) << name;
        if (auto* w = dynamic_cast<TWinControl*>(c.control)) {
            EXPECT_EQ(w->GetTabOrder(), c.tabOrder) << name;
        }
    }
    EXPECT_EQ(f.LayoutPanel->GetAlign(), alClient);
    EXPECT_EQ(f.LayoutPanel->GetBevelOuter(), bvNone);
    EXPECT_EQ(f.LayoutPanel->GetColor(), clWhite);
    EXPECT_EQ(f.TopPanel->GetAlign(), alTop);
    EXPECT_EQ(f.TopPanel->GetBevelInner(), bvRaised);
    EXPECT_EQ(f.TopPanel->GetBevelOuter(), bvLowered);
    EXPECT_EQ(f.RightPanel->GetAlign(), alRight);
    EXPECT_EQ(f.RightPanel->GetBevelOuter(), bvNone);
    EXPECT_EQ(f.CloseBtn->GetCaption(), "&Close");
    EXPECT_EQ(f.CloseBtn->GetModalResult(), mrOk);
    EXPECT_EQ(f.NewKeyBtn->GetCaption(), "&New Key"); // from its action

    struct Action {
        TAction* action;
        const char* caption;
        const char* handler;
    };
    const Action actions[] = {
        {f.NewKeyAction, "&New Key", "NewKeyActionExecute"},
        {f.DeleteKeyAction, "&Delete Key", "DeleteKeyActionExecute"},
        {f.PropertiesAction, "&Properties", "PropertiesActionExecute"},
        {f.SaveLayoutAction, "&Save Layout", "SaveLayoutActionExecute"},
        {f.LoadLayoutAction, "&Load Layout", "LoadLayoutActionExecute"},
        {f.ClearAllBtn, "&Clear All", "ClearAllBtnExecute"},
        {f.ShiftUpAction, "", "ShiftUpActionExecute"},
        {f.ShiftDownAction, "", "ShiftDownActionExecute"},
        {f.ShiftLeftAction, "", "ShiftLeftActionExecute"},
        {f.ShiftRightAction, "", "ShiftRightActionExecute"},
        {f.SetFontAction, "Set Key &Font", "SetFontActionExecute"},
    };
    ASSERT_EQ(f.ActionList->ActionCount(), 11);
    for (int i = 0; i < 11; ++i) {
        const Action& a = actions[i];
        ASSERT_NE(a.action, nullptr) << i;
        EXPECT_EQ(f.ActionList->GetAction(i), a.action) << a.handler;
        EXPECT_EQ(a.action->GetCaption(), a.caption) << a.handler;
        EXPECT_EQ(a.action->OnExecute.MethodName(), a.handler);
        EXPECT_EQ(a.action->GetShortCut(), 0) << a.handler;
    }

    TMenuItem* items = f.PopupMenu->GetItems();
    ASSERT_EQ(items->Count(), 2);
    EXPECT_EQ(items->GetItem(0), f.DeleteKey1);
    EXPECT_EQ(items->GetItem(1), f.Properties1);
    EXPECT_EQ(f.DeleteKey1->GetAction(), f.DeleteKeyAction);
    EXPECT_EQ(f.Properties1->GetAction(), f.PropertiesAction);
    EXPECT_EQ(f.Properties1->GetCaption(), "&Properties");

    struct FileDialog {
        TOpenDialog* dialog;
        const char* title;
        TOpenOptions options;
    };
    const FileDialog files[] = {
        {f.SaveDialog,
         "Save Keyboard Layout",
         {ofOverwritePrompt, ofHideReadOnly, ofPathMustExist, ofEnableSizing}},
        {f.OpenDialog,
         "Load Keyboard Layout",
         {ofHideReadOnly, ofPathMustExist, ofFileMustExist, ofEnableSizing}},
    };
    for (const FileDialog& fd : files) {
        EXPECT_EQ(fd.dialog->GetTitle(), fd.title);
        EXPECT_EQ(fd.dialog->GetFilter(), "Keyboard Layout (*.kly)|*.kly");
        EXPECT_EQ(fd.dialog->GetDefaultExt(), "kly");
        EXPECT_EQ(fd.dialog->GetInitialDir(), "c:\\");
        EXPECT_EQ(fd.dialog->GetOptions(), fd.options) << fd.title;
    }
    EXPECT_TRUE(f.SaveDialog->IsSaveDialog());
    EXPECT_FALSE(f.OpenDialog->IsSaveDialog());
    EXPECT_EQ(f.FontDialog->GetOptions(), (TFontDialogOptions{fdEffects, fdForceFontExist}));
    EXPECT_EQ(f.FontDialog->GetMinFontSize(), 0);
    EXPECT_EQ(f.FontDialog->GetMaxFontSize(), 0);
    EXPECT_TRUE(f.FontDialog->GetFont()->Equals(f.GetFont()));

    // The glyphs: 10 x 10, 16 colours, a black arrow on white that shows through at the
    // lower-left pixel's colour; the four are one arrow turned.
    std::vector<std::string> left = Picture(f.ShiftLeftBtn->GetGlyph());
    std::vector<std::string> right, up, down;
    for (const std::string& row : left)
        right.emplace_back(row.rbegin(), row.rend());
    for (int y = 0; y < 10; ++y) {
        std::string row;
        for (int x = 0; x < 10; ++x)
            row += left[x][y];
        up.push_back(row);
    }
    down.assign(up.rbegin(), up.rend());
    const std::pair<TSpeedButton*, std::vector<std::string>> glyphs[] = {{f.ShiftLeftBtn, left},
                                                                         {f.ShiftRightBtn, right},
                                                                         {f.ShiftUpBtn, up},
                                                                         {f.ShiftDownBtn, down}};
    for (const auto& [button, picture] : glyphs) {
        const TBitmap* g = button->GetGlyph();
        EXPECT_EQ(g->GetWidth(), 10) << button->GetName();
        EXPECT_EQ(g->GetHeight(), 10);
        EXPECT_EQ(g->BitsPerPixel(), 4);
        EXPECT_EQ(g->TransparentColor(), clWhite);
        EXPECT_EQ(Picture(g), picture) << button->GetName();
        EXPECT_EQ(button->GetCaption(), "");
    }
    // The left arrow's point is its leftmost black pixel, at half height.
    EXPECT_EQ(left[4].find('#'), 1u);
    EXPECT_EQ(left[1].find('#'), 4u);
    EXPECT_EQ(left[4].rfind('#'), 8u);
}

TEST(LayoutForm, OpensOnTheCollectionAndAddsKeys) {
    TKeyCollection keys;
    TPanel elsewhere(nullptr);
    auto* old = new TKeyControl(&elsewhere);
    auto* key = new TKey(ktEnter);
    keys.AddKey(key);
    key->AssignControl(old);
    auto form = std::make_unique<TLayoutForm>(nullptr, &keys);
    TPanel* panel = form->LayoutPanel;
    EXPECT_EQ(panel->ControlCount(), 440);
    ASSERT_NE(key->Control, nullptr);
    EXPECT_NE(key->Control, old);
    EXPECT_EQ(key->Control->GetParent(), panel);
    EXPECT_EQ(key->Control->GetOwner(), panel);
    EXPECT_EQ(key->Control->GetPopupMenu(), form->PopupMenu);
    EXPECT_EQ(form->KeyFont()->GetName(), "MS Sans Serif");
    EXPECT_EQ(form->KeyFont()->GetHeight(), -11);

    form->NewKeyBtn->Click();
    ASSERT_EQ(keys.GetCount(), 2);
    TKey* added = keys.GetItem(1);
    EXPECT_EQ(added->KeyType, ktNormal);
    EXPECT_EQ(added->Control->BoundsRect(), Bounds(0, 0, 32, 32));
    EXPECT_EQ(added->Font->GetName(), "MS Sans Serif");
    EXPECT_EQ(panel->GetControl(panel->ControlCount() - 1), added->Control);
    EXPECT_EQ(added->Control->GetPopupMenu(), form->PopupMenu);

    // The close box ends the window like Close; the changes stay, the buttons go.
    TModalResponderScope closing([&](TModalRequest& r) { r.Form->Close(); });
    EXPECT_EQ(form->ShowModal(), mrCancel);
    EXPECT_EQ(keys.GetCount(), 2);
    form.reset();
    for (int i = 0; i < keys.GetCount(); ++i)
        EXPECT_EQ(keys.GetItem(i)->Control, nullptr);
    EXPECT_EQ(elsewhere.ComponentCount(), 1);

    Designer empty;
    EXPECT_EQ(empty.Shapes(), 439);
    EXPECT_EQ(empty.form->LayoutPanel->ControlCount(), 439);
}

TEST(LayoutForm, ClicksOpenTheDialogAndDragsNeverDo) {
    Designer d({{2, 2}, {20, 2}});
    TKey* key = d.Key(0);
    {
        // A press moved at most 2 pixels is a click: the dialog opens, OK shows the change.
        Script user({Properties(key, "A", mrOk)});
        d.Down(12, 12);
        d.Move(14, 14);
        d.Up(14, 14);
        EXPECT_TRUE(user.Done());
    }
    EXPECT_EQ(key->GetKeyCaption(klNormal), "A");
    EXPECT_EQ(key->Control->GetCaption(), "A");
    {
        Script user({Properties(key, "B", mrCancel)});
        MouseClick(key->Control);
        EXPECT_TRUE(user.Done());
    }
    EXPECT_EQ(key->Control->GetCaption(), "A");
    {
        // A drag ends in a click that opens nothing; the key goes anywhere, even off the panel.
        Script user({});
        d.Down(12, 12);
        d.Move(-30, 40);
        d.Up(-30, 40);
        EXPECT_EQ(std::make_pair(key->Left, key->Top), std::make_pair(-11, 6)); // (-28-16)/4
        EXPECT_FALSE(d.form->Surface()->Dragging());
    }
    {
        Script user({Properties(d.Key(1), "C", mrOk)});
        MouseClick(d.Key(1)->Control);
        EXPECT_TRUE(user.Done());
    }
}

TEST(LayoutForm, PopupMenuDeletesAndEditsTheKeyItPoppedUpOn) {
    Designer d({{0, 0}, {10, 0}, {20, 0}});
    TKey* second = d.Key(1);
    auto popupChoosing = [&](TMenuItem* item) {
        return [&d, item](TModalRequest& r) {
            ASSERT_EQ(r.Kind, mkPopupMenu);
            EXPECT_EQ(r.Menu, d.form->PopupMenu);
            r.Choose(item);
        };
    };
    {
        Script user({popupChoosing(d.form->Properties1), Properties(second, "P", mrOk)});
        d.Down(45, 10, mbRight);
        d.Up(45, 10, mbRight);
        EXPECT_TRUE(user.Done());
        EXPECT_EQ(second->Control->GetCaption(), "P");
        EXPECT_FALSE(d.form->Surface()->Pressed());
    }
    {
        Script user({popupChoosing(d.form->DeleteKey1)});
        const int before = d.form->LayoutPanel->ControlCount();
        d.Down(45, 10, mbRight);
        d.Up(45, 10, mbRight);
        EXPECT_TRUE(user.Done());
        ASSERT_EQ(d.keys.GetCount(), 2);
        EXPECT_EQ(d.Lefts(), (std::vector<int>{0, 20}));
        EXPECT_EQ(d.form->LayoutPanel->ControlCount(), before - 1);
    }
    {
        // The button is freed between the right click and the choice: nothing happens.
        TKey* first = d.Key(0);
        Script user({[&](TModalRequest& r) {
            TKeyControl* button = first->Control;
            first->Control = nullptr;
            delete button;
            r.Choose(d.form->DeleteKey1);
        }});
        d.Down(5, 5, mbRight);
        EXPECT_TRUE(user.Done());
        EXPECT_EQ(d.keys.GetCount(), 2);
        d.form->PropertiesAction->Execute();
    }
}

TEST(LayoutForm, ClearAllAndSetKeyFontAskFirst) {
    struct Case {
        const char* name;
        std::vector<std::function<void(TModalRequest&)>> answers;
        std::function<void(TLayoutForm&)> act;
        int keysAfter;
        const char* fontAfter; // of every key and of the next new key
    };
    const char* clear = "All keys will be deleted! Proceed?";
    const char* font = "This will set the font for ALL existing keys! Proceed?";
    const Case cases[] = {
        {"clear no",
         {Prompt(clear, mrNo)},
         [](TLayoutForm& f) { f.ClearBtn->Click(); },
         2,
         "MS Sans Serif"},
        {"clear yes",
         {Prompt(clear, mrYes)},
         [](TLayoutForm& f) { f.ClearBtn->Click(); },
         0,
         "MS Sans Serif"},
        {"font no",
         {Prompt(font, mrNo)},
         [](TLayoutForm& f) { f.KeyFontBtn->Click(); },
         2,
         "MS Sans Serif"},
        {"font yes, dialog cancelled",
         {Prompt(font, mrYes), FontPick("Arial", mrCancel)},
         [](TLayoutForm& f) { f.KeyFontBtn->Click(); },
         2,
         "MS Sans Serif"},
        {"font yes",
         {Prompt(font, mrYes), FontPick("Arial", mrOk)},
         [](TLayoutForm& f) { f.KeyFontBtn->Click(); },
         2,
         "Arial"},
    };
    for (const Case& c : cases) {
        Designer d({{0, 0}, {8, 0}});
        {
            Script user(c.answers);
            c.act(*d.form);
            EXPECT_TRUE(user.Done()) << c.name;
        }
        ASSERT_EQ(d.keys.GetCount(), c.keysAfter) << c.name;
        for (int i = 0; i < d.keys.GetCount(); ++i) {
            EXPECT_EQ(d.Key(i)->Font->GetName(), c.fontAfter) << c.name;
            EXPECT_EQ(d.Key(i)->Control->GetFont()->GetName(), c.fontAfter) << c.name;
        }
        if (c.keysAfter == 0) {
            EXPECT_EQ(d.form->LayoutPanel->ControlCount(), 439);
        }
        d.form->NewKeyAction->Execute();
        EXPECT_EQ(d.Key(d.keys.GetCount() - 1)->Font->GetName(), c.fontAfter) << c.name;
    }
}

TEST(LayoutForm, ShiftButtonsMoveAllKeysByFourUnits) {
    struct Case {
        std::vector<std::pair<int, int>> at;
        TSpeedButton* TLayoutForm::*button;
        std::vector<std::pair<int, int>> after;
    };
    const Case cases[] = {
        {{{3, 10}, {20, 10}}, &TLayoutForm::ShiftLeftBtn, {{3, 10}, {20, 10}}},
        {{{4, 10}, {20, 10}}, &TLayoutForm::ShiftLeftBtn, {{0, 10}, {16, 10}}},
        {{{3, 10}, {20, 10}}, &TLayoutForm::ShiftRightBtn, {{7, 10}, {24, 10}}},
        {{{150, 10}, {20, 3}}, &TLayoutForm::ShiftRightBtn, {{154, 10}, {24, 3}}},
        {{{0, 4}, {20, 3}}, &TLayoutForm::ShiftUpBtn, {{0, 4}, {20, 3}}},
        {{{0, 4}, {20, 9}}, &TLayoutForm::ShiftUpBtn, {{0, 0}, {20, 5}}},
        {{{0, 78}, {20, 3}}, &TLayoutForm::ShiftDownBtn, {{0, 82}, {20, 7}}},
    };
    for (const Case& c : cases) {
        Designer d(c.at);
        MouseClick((*d.form).*c.button);
        std::vector<std::pair<int, int>> after;
        for (int i = 0; i < d.keys.GetCount(); ++i) {
            after.emplace_back(d.Key(i)->Left, d.Key(i)->Top);
            EXPECT_EQ(d.Key(i)->Control->GetLeft(), 4 * d.Key(i)->Left);
        }
        EXPECT_EQ(after, c.after) << ((*d.form).*c.button)->GetName();
    }
}

TEST(LayoutForm, LayoutsGoThroughTheFileDialogs) {
    const std::string path = TempPath("layout.kly");
    Designer d({{0, 0}, {8, 0}, {16, 0}});
    {
        Script user({[&](TModalRequest& r) {
            ASSERT_EQ(r.Kind, mkSaveDialog);
            EXPECT_EQ(r.FileDialog, d.form->SaveDialog);
            r.FileDialog->SetFileName(path);
            r.Accept();
        }});
        d.form->SaveLayoutBtn->Click();
        EXPECT_TRUE(user.Done());
    }
    d.form->NewKeyBtn->Click();
    {
        auto cancel = [](TModalRequest& r) { r.Cancel(); };
        Script user({cancel, cancel});
        d.form->LoadLayoutBtn->Click();
        d.form->SaveLayoutBtn->Click(); // cancelled: nothing happens
    }
    EXPECT_EQ(d.keys.GetCount(), 4);
    {
        Script user({[&](TModalRequest& r) {
            ASSERT_EQ(r.Kind, mkOpenDialog);
            r.FileDialog->SetFileName(path);
            r.Accept();
        }});
        d.form->LoadLayoutBtn->Click();
    }
    ASSERT_EQ(d.keys.GetCount(), 3);
    EXPECT_EQ(d.Lefts(), (std::vector<int>{0, 8, 16}));
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(d.Key(i)->Control->GetParent(), d.form->LayoutPanel);

    // A file cut short: the keys read completely keep buttons, and the error leaves the click
    // for the application's handling of exceptions (the widgetset shows it).
    std::string bytes;
    {
        FILE* f = std::fopen(path.c_str(), "rb");
        ASSERT_NE(f, nullptr);
        char buf[4096];
        bytes.assign(buf, std::fread(buf, 1, sizeof buf, f));
        std::fclose(f);
        f = std::fopen(path.c_str(), "wb");
        std::fwrite(bytes.data(), 1, bytes.size() - 20, f);
        std::fclose(f);
    }
    {
        Script user({[&](TModalRequest& r) {
            r.FileDialog->SetFileName(path);
            r.Accept();
        }});
        EXPECT_THROW(MouseClick(d.form->LoadLayoutBtn), EReadError);
        EXPECT_TRUE(user.Done());
    }
    EXPECT_GE(d.keys.GetCount(), 1);
    EXPECT_LT(d.keys.GetCount(), 3);
    for (int i = 0; i < d.keys.GetCount(); ++i)
        EXPECT_NE(d.Key(i)->Control, nullptr);
    std::remove(path.c_str());
}

// In the IDE the window shows the code page and lets the user choose it; files open in the
// session's page. Without the environment's option the window is as its form says.
TEST(LayoutForm, CodePageLineWhenTheEnvironmentAsksForIt) {
    const int saved = GetAnsiCodePage();
    EXPECT_EQ(Designer().form->CodePagePanel, nullptr);

    designide::TEnvironmentOptions& options = designide::EnvironmentOptions();
    options.CodePageInDesigners = true;
    options.FileCodePage = 1252;
    SetAnsiCodePage(1252);
    Designer d({{0, 0}});
    d.Key(0)->SetKeyCaption(klNormal, "R\xFC"
                                      "ck");
    const std::string path = TempPath("cp.kly");
    d.keys.SaveToFile(path);
    ASSERT_NE(d.form->CodePagePanel, nullptr);
    EXPECT_EQ(d.form->CodePagePanel->GetCaption(), "  code page 1252 (Western European)");
    ASSERT_EQ(d.form->CodePageCombo->GetItems()->GetCount(), 10);
    EXPECT_EQ(d.form->CodePageCombo->GetItems()->Get(2), "1251 Cyrillic");

    // Choosing a page shows the same bytes in it, on new buttons.
    d.form->CodePageCombo->SetItemIndex(2);
    d.form->CodePageCombo->OnChange(d.form->CodePageCombo);
    EXPECT_EQ(GetAnsiCodePage(), 1251);
    EXPECT_EQ(options.ChosenCodePage, 1251);
    EXPECT_EQ(d.form->CodePagePanel->GetCaption(), "  code page 1251 (Cyrillic)");
    ASSERT_NE(d.Key(0)->Control, nullptr);
    EXPECT_EQ(AnsiToUtf8(d.Key(0)->Control->GetCaption()), "Rьck");

    // A file opens in the page chosen in the session, else in the IDE's.
    auto load = [&] {
        Script user({[&](TModalRequest& r) {
            r.FileDialog->SetFileName(path);
            r.Accept();
        }});
        d.form->LoadLayoutBtn->Click();
    };
    SetAnsiCodePage(1253);
    load();
    EXPECT_EQ(GetAnsiCodePage(), 1251);
    options.ChosenCodePage = 0;
    load();
    EXPECT_EQ(GetAnsiCodePage(), 1252);
    EXPECT_EQ(AnsiToUtf8(d.Key(0)->Control->GetCaption()), "Rück");
    std::remove(path.c_str());
    options = designide::TEnvironmentOptions();
    SetAnsiCodePage(saved);
}

namespace {

// Turns on the window's safe editing for one test.
struct SafeEditing {
    SafeEditing() { designide::EnvironmentOptions().SafeEditingInDesigners = true; }
    ~SafeEditing() { designide::EnvironmentOptions().SafeEditingInDesigners = false; }
};

// The question asked before a destructive step: No must be its default button; Answer ends it
// (mrNone: Enter, the default button).
std::function<void(TModalRequest&)> Question(const std::string& Text, TModalResult Answer) {
    return [=](TModalRequest& r) {
        ASSERT_EQ(r.Kind, mkForm);
        ASSERT_EQ(r.Form->GetName(), "ConfirmForm");
        EXPECT_EQ(As<TLabel>(r.Form->FindComponent("TextLabel"))->GetCaption(), Text);
        EXPECT_TRUE(As<TButton>(r.Form->FindComponent("NoBtn"))->GetDefault());
        if (Answer == mrNone)
            r.Form->InputKeyDown(VK_RETURN);
        else
            r.Form->SetModalResult(Answer);
    };
}

std::vector<std::pair<int, int>> PlacesOf(const TKeyCollection& Keys) {
    std::vector<std::pair<int, int>> v;
    for (int i = 0; i < Keys.GetCount(); ++i)
        v.push_back({Keys.GetItem(i)->Left, Keys.GetItem(i)->Top});
    return v;
}

} // namespace

TEST(LayoutForm, SafeEditingUndoesEveryStepAndAsksBeforeReplacingKeys) {
    {
        // By default the window is as its form says.
        Designer plain;
        EXPECT_EQ(plain.form->CancelBtn, nullptr);
        EXPECT_EQ(plain.form->GetMenu(), nullptr);
        EXPECT_EQ(plain.form->ClearAllBtn->GetCaption(), "&Clear All");
    }
    SafeEditing safe;
    const std::string file = TempPath("safe.kly");
    Designer d({{0, 0}, {8, 0}});
    d.keys.SaveToFile(file);
    TLayoutForm& f = *d.form;
    // Clear All and Close have hotkeys of their own; Cancel stands beside Close.
    EXPECT_EQ(f.ClearAllBtn->GetCaption(), "Clear &All");
    EXPECT_EQ(f.CloseBtn->GetCaption(), "&Close");
    ASSERT_NE(f.CancelBtn, nullptr);
    EXPECT_EQ(f.CancelBtn->GetParent(), f.RightPanel);
    EXPECT_TRUE(f.CancelBtn->GetCancel());
    EXPECT_FALSE(f.UndoItem->GetEnabled());

    f.NewKeyBtn->Click(); // at the first free place
    d.Down(36, 4);
    d.Move(101, 50);
    d.Up(101, 50);
    f.DeleteKeyAction->OnExecute(d.Key(0)->Control);
    {
        Script user({Question("All keys will be deleted! Proceed?", mrNone)});
        f.ClearBtn->Click();
        EXPECT_TRUE(user.Done());
    }
    {
        Script user({[&](TModalRequest& r) {
                         r.FileDialog->SetFileName(file);
                         r.Accept();
                     },
                     Question("The 2 keys of the layout will be replaced by those of " + file +
                                  ". Proceed?",
                              mrNo),
                     [&](TModalRequest& r) {
                         r.FileDialog->SetFileName(file);
                         r.Accept();
                     },
                     Question("The 2 keys of the layout will be replaced by those of " + file +
                                  ". Proceed?",
                              mrYes)});
        f.LoadLayoutBtn->Click();
        EXPECT_EQ(PlacesOf(d.keys), (std::vector<std::pair<int, int>>{{21, 8}, {16, 0}}));
        f.LoadLayoutBtn->Click();
        EXPECT_TRUE(user.Done());
    }
    EXPECT_EQ(PlacesOf(d.keys), (std::vector<std::pair<int, int>>{{0, 0}, {8, 0}}));
    const std::vector<std::pair<const char*, std::vector<std::pair<int, int>>>> steps = {
        {"&Undo Load Layout", {{21, 8}, {16, 0}}},
        {"&Undo Delete Key", {{0, 0}, {21, 8}, {16, 0}}},
        {"&Undo Move Key", {{0, 0}, {8, 0}, {16, 0}}},
        {"&Undo New Key", {{0, 0}, {8, 0}}}};
    for (const auto& [caption, after] : steps) {
        EXPECT_EQ(f.UndoItem->GetCaption(), caption);
        f.InputKeyDown('Z', {ssCtrl});
        EXPECT_EQ(PlacesOf(d.keys), after) << caption;
    }
    EXPECT_FALSE(f.UndoItem->GetEnabled());
    EXPECT_EQ(f.RedoItem->GetCaption(), "&Redo New Key");
    f.InputKeyDown('Y', {ssCtrl});
    EXPECT_EQ(d.keys.GetCount(), 3);
    for (int i = 0; i < d.keys.GetCount(); ++i)
        EXPECT_EQ(d.Key(i)->Control->GetParent(), f.LayoutPanel);

    // The properties dialog fills an empty value from the caption.
    {
        Script user({Properties(d.Key(0), "x", mrOk)});
        d.Down(4, 4);
        d.Up(4, 4);
    }
    EXPECT_EQ(d.Key(0)->GetKeyValue(klNormal), "x");
    EXPECT_EQ(f.UndoItem->GetCaption(), "&Undo Properties");

    // Escape ends the window as Cancel: the layout it opened with comes back.
    TModalResponderScope escape([](TModalRequest& r) { r.Form->InputKeyDown(VK_ESCAPE); });
    EXPECT_EQ(f.ShowModal(), mrCancel);
    EXPECT_TRUE(f.Cancelled());
    EXPECT_EQ(PlacesOf(d.keys), (std::vector<std::pair<int, int>>{{0, 0}, {8, 0}}));
    std::remove(file.c_str());
}

// The Keys editor: with safe editing, a layout that leaves the window unchanged (closed at once,
// or after changes that Cancel took back) rebuilds the keyboard without marking the form
// modified; a change marks it once.
TEST(LayoutForm, SafeEditingMarksTheFormOnlyWhenTheKeysChanged) {
    struct Host : designide::IDesigner {
        void Modified() override { ++modified; }
        TComponent* GetRoot() const override { return root.get(); }
        std::unique_ptr<TForm> root = std::make_unique<TForm>(nullptr);
        int modified = 0;
    };
    struct Case {
        bool safe;
        std::function<void(TLayoutForm&)> act;
        int modified;
    } cases[] = {
        {true, [](TLayoutForm& f) { f.CloseBtn->Click(); }, 0},
        {true,
         [](TLayoutForm& f) {
             f.NewKeyBtn->Click();
             f.CancelBtn->Click();
         },
         0},
        {true,
         [](TLayoutForm& f) {
             f.NewKeyBtn->Click();
             f.CloseBtn->Click();
         },
         1},
        {false, [](TLayoutForm& f) { f.CloseBtn->Click(); }, 1},
    };
    for (const Case& c : cases) {
        designide::EnvironmentOptions().SafeEditingInDesigners = c.safe;
        Host host;
        auto* keyboard = new TKeyboard(host.root.get());
        keyboard->GetKeys()->AddKey(new TKey(ktNormal));
        keyboard->SetKeys(keyboard->GetKeys());
        const TPropInfo* prop = GetPropInfo(keyboard, "Keys");
        auto editor = designide::CreatePropertyEditor(TLayoutProperty::StaticClass(), &host,
                                                      {keyboard}, prop);
        TModalResponderScope user([&](TModalRequest& r) { c.act(*As<TLayoutForm>(r.Form)); });
        editor->Edit();
        EXPECT_EQ(host.modified, c.modified) << c.safe;
        // The keyboard shows its keys again either way.
        ASSERT_GT(keyboard->GetKeys()->GetCount(), 0);
        EXPECT_NE(keyboard->GetKeys()->GetItem(0)->Control, nullptr);
        EXPECT_EQ(keyboard->GetKeys()->GetItem(0)->Control->GetParent(), keyboard);
    }
    designide::EnvironmentOptions().SafeEditingInDesigners = false;
}
