// quimbel-ide headless: the palette, placing, selecting, moving, resizing and deleting
// components, the Object Inspector, the file commands with their prompts, and package errors.

#include "IdeMainForm.h"

#include "TestSupport.h"
#include "rtl/Streams.h"
#include "vcl/Dialogs.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

using namespace quimbel::ide;
using vcl::AnsiString;

namespace {

struct IdeTest : ::testing::Test {
    // What the user answers: each modal request goes to the next answer.
    std::vector<std::function<void(vcl::TModalRequest&)>> answers;
    std::vector<std::string> asked;
    vcl::TModalResponderScope responder{[this](vcl::TModalRequest& r) {
        asked.push_back(r.Describe());
        ASSERT_FALSE(answers.empty()) << "unexpected " << r.Describe();
        auto answer = answers.front();
        answers.erase(answers.begin());
        answer(r);
    }};
    TIdeMainForm ide{nullptr};
    TFormDesigner* designer = ide.Designer();
    testsupport::TempDir temp;
    std::string dir = temp.Dir() + "/";

    vcl::TSpeedButton* paletteButton(const char* className) {
        for (vcl::TSpeedButton* b : ide.PaletteButtons())
            if (ide.PaletteClass(b)->ClassName == className) return b;
        return nullptr;
    }
    // Picks a class on the palette and clicks at (X, Y) of a control of the designed form.
    vcl::TComponent* place(const char* className, vcl::TControl* on, int X, int Y) {
        vcl::TSpeedButton* b = paletteButton(className);
        EXPECT_NE(b, nullptr) << className;
        vcl::MouseClick(b);
        vcl::MouseClickAt(on, X, Y);
        return designer->Selection().front();
    }
    // Pointer input enters through the designed form, as the widgetset delivers it.
    void drag(vcl::TControl* on, int X, int Y, int DX, int DY) {
        vcl::TWinControl* w = designer->Root();
        vcl::TPoint p = on->ClientToClient({X, Y}, w);
        w->InputMouseDown(vcl::mbLeft, {}, p.X, p.Y);
        w->InputMouseMove({vcl::ssLeft}, p.X + DX / 2, p.Y + DY / 2);
        w->InputMouseMove({vcl::ssLeft}, p.X + DX, p.Y + DY);
        w->InputMouseUp(vcl::mbLeft, {}, p.X + DX, p.Y + DY);
    }
    TObjectInspector::TRow* row(const char* path) {
        auto* r = ide.Inspector()->FindRow(path);
        EXPECT_NE(r, nullptr) << path;
        return r;
    }
    void saveAs(const std::string& file, int filterIndex) {
        answers.push_back([=](vcl::TModalRequest& r) {
            ASSERT_EQ(r.Kind, vcl::mkSaveDialog);
            r.FileDialog->SetFileName(file);
            r.FileDialog->SetFilterIndex(filterIndex);
            r.Accept();
        });
    }
    void answer(vcl::TModalResult result, std::string* message = nullptr) {
        answers.push_back([=](vcl::TModalRequest& r) {
            ASSERT_EQ(r.Kind, vcl::mkMessage);
            if (message) *message = r.Message;
            r.Answer(result);
        });
    }
};

TEST_F(IdeTest, PlaceSelectMoveResizeAndDeleteComponents) {
    std::vector<std::string> standard;
    for (vcl::TSpeedButton* b : ide.PaletteButtons())
        standard.push_back(ide.PaletteClass(b)->ClassName);
    EXPECT_EQ(standard, (std::vector<std::string>{"TButton", "TEdit", "TLabel", "TPanel",
                                                  "TComboBox", "TGroupBox", "TRadioGroup"}));
    vcl::TForm* form = designer->Root();
    EXPECT_EQ(ide.GetCaption(), "Quimbel IDE - Form1 (untitled)");

    auto* panel = static_cast<vcl::TPanel*>(place("TPanel", form, 20, 20));
    auto* edit = static_cast<vcl::TEdit*>(place("TEdit", panel, 10, 9));
    auto* edit2 = static_cast<vcl::TEdit*>(place("TEdit", form, 250, 200));
    EXPECT_EQ(panel->GetName(), "Panel1");
    EXPECT_EQ(edit->GetName(), "Edit1");
    EXPECT_EQ(edit2->GetName(), "Edit2");
    EXPECT_EQ(edit->GetParent(), panel); // a click into a panel places into it
    EXPECT_EQ(edit->BoundsRect(), vcl::Bounds(8, 8, 121, 21)); // snapped, the class's size
    EXPECT_TRUE(edit->ComponentState().Contains(vcl::csDesigning));
    EXPECT_EQ(ide.GetCaption(), "Quimbel IDE - Form1 (untitled) *");

    // The components do not react: a typed character and a click change nothing.
    vcl::MouseClick(edit);
    EXPECT_EQ(designer->Selection(), std::vector<vcl::TComponent*>{edit});
    edit->InputChar('x');
    EXPECT_EQ(edit->GetText(), "Edit1");

    drag(edit, 5, 5, 41, 17); // moves in grid steps
    EXPECT_EQ(edit->BoundsRect(), vcl::Bounds(48, 24, 121, 21));
    vcl::MouseClick(edit2);
    vcl::TPanel* corner = designer->Handles()[hpBottomRight];
    ASSERT_NE(corner, nullptr);
    drag(corner, 3, 3, 30, 12); // resizes in grid steps
    EXPECT_EQ(edit2->BoundsRect(), vcl::Bounds(248, 200, 152, 32));

    // Shift adds to the selection: each control gets grey corner markers instead of the
    // handles, and dragging a marker moves the whole selection.
    const vcl::TPoint at = panel->ClientToClient({2, 2}, form);
    form->InputMouseDown(vcl::mbLeft, {vcl::ssShift}, at.X, at.Y);
    form->InputMouseUp(vcl::mbLeft, {vcl::ssShift}, at.X, at.Y);
    EXPECT_EQ(designer->Selection(), (std::vector<vcl::TComponent*>{edit2, panel}));
    EXPECT_EQ(designer->Handles()[hpBottomRight], nullptr);
    const auto& markers = designer->Markers();
    ASSERT_EQ(markers.size(), 8u);
    EXPECT_EQ(markers[2].Panel->BoundsRect(), vcl::Bounds(397, 229, 6, 6));
    EXPECT_EQ(markers[2].Panel->GetColor(), vcl::clGray);
    drag(markers[4].Panel, 3, 3, 16, 8);
    EXPECT_EQ(edit2->BoundsRect(), vcl::Bounds(264, 208, 152, 32));
    EXPECT_EQ(panel->GetTop(), 32);

    // Delete removes the selection, a panel with what it holds.
    vcl::MouseClickAt(form, 300, 10);
    EXPECT_EQ(designer->Selection(), std::vector<vcl::TComponent*>{form});
    vcl::MouseClickAt(panel, 2, 2);
    ide.DeleteItem->Click();
    EXPECT_EQ(form->GetComponentCount(), 1);
    EXPECT_EQ(form->GetComponent(0), edit2);
    EXPECT_EQ(designer->Selection(), std::vector<vcl::TComponent*>{form});
}

TEST_F(IdeTest, InspectorEditsTheSelectedComponent) {
    vcl::TForm* form = designer->Root();
    auto* button = static_cast<vcl::TButton*>(place("TButton", form, 16, 16));
    std::vector<AnsiString> names;
    for (const auto& r : ide.Inspector()->Rows())
        names.push_back(r->Path);
    ASSERT_GE(names.size(), 5u);
    EXPECT_EQ(names[0], "Name");
    EXPECT_EQ(row("Caption")->ValueEdit->GetText(), "Button1");

    ide.Inspector()->EnterValue(row("Caption"), "Press me");
    ide.Inspector()->PickValue(row("Cursor"), "crHandPoint");
    ide.Inspector()->EnterValue(row("Left"), "40");
    EXPECT_EQ(button->GetCaption(), "Press me");
    EXPECT_EQ(button->GetCursor(), vcl::crHandPoint);
    EXPECT_EQ(button->GetLeft(), 40);

    std::string error;
    answer(vcl::mrOk, &error);
    ide.Inspector()->EnterValue(row("Left"), "forty");
    EXPECT_EQ(error, "'forty' is not a valid integer value");
    EXPECT_EQ(row("Left")->ValueEdit->GetText(), "40");

    ide.Inspector()->ToggleExpanded(row("Font"));
    ide.Inspector()->EnterValue(row("Font.Name"), "Arial");
    EXPECT_EQ(button->GetFont()->GetName(), "Arial");

    ide.InspectorTabs->SelectTab(1);
    ide.Inspector()->EnterValue(row("OnClick"), "Button1Click");
    EXPECT_TRUE(button->OnClick.Assigned());
    EXPECT_NE(designer->FormText().find("OnClick = Button1Click"), std::string::npos);

    // Reopened, the form keeps the handler's name; Run leaves the event unassigned.
    const std::string file = dir + "events.dfm";
    saveAs(file, 1);
    ASSERT_TRUE(ide.SaveFormAs());
    ASSERT_TRUE(ide.OpenForm(file));
    auto* reopened = static_cast<vcl::TButton*>(designer->Root()->FindComponent("Button1"));
    ASSERT_NE(reopened, nullptr);
    EXPECT_EQ(reopened->OnClick.MethodName(), "Button1Click");
    EXPECT_EQ(designer->FormText(), testsupport::ReadFile(file));
    answers.push_back([&](vcl::TModalRequest& r) {
        ASSERT_EQ(r.Kind, vcl::mkForm) << r.Describe();
        EXPECT_FALSE(static_cast<vcl::TButton*>(r.Form->FindComponent("Button1"))->OnClick);
        r.Form->Close();
    });
    ide.RunForm();
    EXPECT_TRUE(answers.empty());
}

TEST_F(IdeTest, InspectorScrollsRowsThatDoNotFit) {
    place("TButton", designer->Root(), 16, 16);
    const auto& rows = ide.Inspector()->Rows();
    // Where a row's name shows in the inspector (4 pixels below the row's top).
    const auto rowTop = [&](size_t i) {
        return rows[i]->NameLabel->ClientToClient({0, 0}, ide.RowsPanel).Y - 4;
    };
    ide.SetClientHeight(300);
    const int shown = ide.RowsPanel->GetClientHeight() / 21;
    ASSERT_GT(static_cast<int>(rows.size()), shown);
    vcl::TScrollBar* bar = ide.RowsScrollBar;
    EXPECT_TRUE(bar->GetEnabled());
    EXPECT_EQ(bar->GetPageSize(), shown);
    EXPECT_EQ(bar->MaxPosition(), static_cast<int>(rows.size()) - shown);

    bar->SetPosition(3); // as a drag of the native bar does
    EXPECT_EQ(rowTop(3), 0);
    bar->SetPosition(bar->GetMax());
    EXPECT_EQ(rowTop(rows.size() - 1), (shown - 1) * 21); // the last row in view at the bottom
    ide.Show();
    ASSERT_NE(rows[1]->ValueEdit, nullptr);
    rows[1]->ValueEdit->SetFocus(); // a row that gets the input comes into view
    EXPECT_EQ(rowTop(1), 0);
    ide.Hide();

    // The wheel scrolls three rows a notch, over a row's value or name and over the bar.
    bar->SetPosition(0);
    const auto turn = [&](vcl::TControl* over, int delta) {
        const vcl::TPoint p = over->ClientToClient({2, 2}, &ide);
        return ide.InputMouseWheel({}, delta, p.X, p.Y);
    };
    ASSERT_GE(bar->MaxPosition(), 9);
    EXPECT_TRUE(turn(rows[0]->ValueEdit, -120));
    EXPECT_EQ(rowTop(3), 0);
    EXPECT_TRUE(turn(rows[4]->NameLabel, -240));
    EXPECT_EQ(rowTop(9), 0);
    EXPECT_TRUE(turn(bar, 120));
    EXPECT_EQ(rowTop(6), 0);

    // Tall enough for every row, the bar has nothing to scroll.
    ide.SetClientHeight(1200);
    EXPECT_FALSE(bar->GetEnabled());
    EXPECT_EQ(bar->GetPosition(), 0);
    EXPECT_EQ(rowTop(0), 0);
}

TEST_F(IdeTest, SaveOpenAndTheUnsavedChangesPrompt) {
    const std::string text = dir + "ide_form.dfm", binary = dir + "ide_form_bin.dfm";
    place("TEdit", designer->Root(), 8, 8);

    // New with unsaved changes asks; Cancel keeps the form.
    std::string prompt;
    answer(vcl::mrCancel, &prompt);
    EXPECT_FALSE(ide.NewForm());
    EXPECT_EQ(prompt, "Save changes to Form1?");
    EXPECT_EQ(designer->Root()->GetComponentCount(), 1);

    saveAs(binary, 2);
    EXPECT_TRUE(ide.SaveFormAs());
    EXPECT_EQ(testsupport::ReadFile(binary).substr(0, 4), "TPF0");
    saveAs(text, 1);
    EXPECT_TRUE(ide.SaveFormAs());
    EXPECT_EQ(testsupport::ReadFile(text).substr(0, 20), "object Form1: TForm\n");
    EXPECT_EQ(testsupport::ReadFile(text).find("Visible"), std::string::npos);
    EXPECT_EQ(ide.GetCaption(), "Quimbel IDE - Form1 (" + text + ")");

    // Yes saves before the new form replaces the old one.
    place("TButton", designer->Root(), 8, 40);
    answer(vcl::mrYes);
    EXPECT_TRUE(ide.NewForm());
    EXPECT_NE(testsupport::ReadFile(text).find("Button1: TButton"), std::string::npos);
    EXPECT_EQ(designer->Root()->GetComponentCount(), 0);

    EXPECT_TRUE(ide.OpenForm(binary));
    ASSERT_EQ(designer->Root()->GetComponentCount(), 1);
    EXPECT_EQ(designer->Root()->GetComponent(0)->GetName(), "Edit1");
    EXPECT_TRUE(designer->Root()->GetComponent(0)->ComponentState().Contains(vcl::csDesigning));

    std::string error;
    answer(vcl::mrOk, &error);
    EXPECT_FALSE(ide.OpenForm(dir + "no_such_form.dfm"));
    EXPECT_EQ(error.rfind("Cannot open " + dir + "no_such_form.dfm: ", 0), 0u) << error;
    // Bytes of the file quoted in the message cannot drive a terminal.
    testsupport::WriteFile(dir + "escape.dfm", std::string("TPF0\x05TForm\x05"
                                                           "Form1\0\x07T\x1b[2J\nX\0\0\0\0",
                                                           29));
    answer(vcl::mrOk, &error);
    EXPECT_FALSE(ide.OpenForm(dir + "escape.dfm"));
    EXPECT_EQ(error.find_first_of("\x1b\n"), std::string::npos) << error;
    EXPECT_NE(error.find("T#27[2J#10X"), std::string::npos) << error;
    EXPECT_EQ(designer->Root()->GetComponent(0)->GetName(), "Edit1");

    // Closing the window with unsaved changes asks too.
    place("TLabel", designer->Root(), 8, 80);
    answer(vcl::mrCancel);
    EXPECT_FALSE(ide.CloseQuery());
    answer(vcl::mrNo);
    EXPECT_TRUE(ide.CloseQuery());
}

TEST_F(IdeTest, MenuCommandsAndTheirShortcuts) {
    std::vector<std::string> menus;
    for (int i = 0; i < ide.MainMenu->GetItems()->GetCount(); ++i)
        menus.push_back(ide.MainMenu->GetItems()->GetItem(i)->GetCaption());
    EXPECT_EQ(menus, (std::vector<std::string>{"&File", "&Edit", "&View", "&Run", "&Help"}));
    place("TEdit", designer->Root(), 8, 8);
    const struct {
        vcl::Word Key;
        vcl::TShiftState Shift;
        std::string Asked;
    } keys[] = {
        {'S', {vcl::ssCtrl}, "save dialog ''"}, // an untitled form is saved under a new name
        {'O', {vcl::ssCtrl}, "message 'Save changes to Form1?'"},
        {'N', {vcl::ssCtrl}, "message 'Save changes to Form1?'"},
        {vcl::VK_F1 + 8, {}, "form TForm"}, // F9 runs the form
    };
    for (const auto& k : keys) {
        asked.clear();
        answers.push_back([](vcl::TModalRequest& r) {
            if (r.Kind == vcl::mkForm)
                r.Form->Close();
            else
                r.Cancel();
        });
        EXPECT_TRUE(ide.InputKeyDown(k.Key, k.Shift)) << k.Asked;
        EXPECT_EQ(asked, std::vector<std::string>{k.Asked});
    }

    // View as Text shows the form's text in a read-only memo.
    answers.push_back([&](vcl::TModalRequest& r) {
        EXPECT_EQ(r.Form->GetCaption(), "Form1 as text");
        auto* memo = dynamic_cast<vcl::TMemo*>(r.Form->FindComponent("TextMemo"));
        ASSERT_NE(memo, nullptr);
        EXPECT_TRUE(memo->GetReadOnly());
        EXPECT_EQ(memo->GetText(), designer->FormText());
        EXPECT_EQ(memo->GetLines()->Get(1), "  Left = 0");
        EXPECT_TRUE(memo->InputKeyDown(vcl::VK_ESCAPE)); // closes it
        EXPECT_EQ(r.Form->GetModalResult(), vcl::mrCancel);
    });
    ide.ViewTextItem->Click();
    EXPECT_TRUE(answers.empty());

    // Delete removes the selected component, but not while an inspector row has the input.
    ide.Show();
    row("Name")->ValueEdit->SetFocus();
    EXPECT_TRUE(ide.InputKeyDown(vcl::VK_DELETE));
    EXPECT_EQ(designer->Root()->GetComponentCount(), 1);
    ide.PaletteTabs->SetFocus();
    EXPECT_TRUE(ide.InputKeyDown(vcl::VK_DELETE));
    EXPECT_EQ(designer->Root()->GetComponentCount(), 0);
    ide.Hide();
}

TEST_F(IdeTest, BrokenPackageGivesOneMessageAndTheIdeGoesOn) {
    const std::string notALibrary = dir + "not_a_package.so";
    testsupport::WriteFile(notALibrary, "not a library");
    std::vector<std::pair<std::string, std::string>> cases = {
        {dir + "no_such_package.so", "the file does not exist"},
        {notALibrary, "Cannot load package " + notALibrary + ". "},
    };
    size_t loaded = 0;
#ifdef QUIMBEL_DESIGN_PACKAGE
    ASSERT_TRUE(ide.LoadPackage(QUIMBEL_DESIGN_PACKAGE));
    loaded = 1;
    // A second file with the same classes, and a package whose units register nothing.
    const std::string copy = dir + "libCopyDesign.so";
    std::filesystem::copy_file(QUIMBEL_DESIGN_PACKAGE, copy);
    cases.push_back({copy, "A class named TKeyboard already exists"});
    cases.push_back({QUIMBEL_RUNTIME_PACKAGE,
                     "none of its units exports a registration procedure (<Unit>_Register)"});
    // A library cut short, at its start and near its end.
    const std::string whole = testsupport::ReadFile(QUIMBEL_DESIGN_PACKAGE);
    for (size_t length : {size_t{3000}, whole.size() - 100}) {
        const std::string cut = dir + "libCut" + std::to_string(length) + "Design.so";
        testsupport::WriteFile(cut, whole.substr(0, length));
        cases.push_back({cut, "Cannot load package " + cut + ". The file ends early"});
    }
#endif
    for (const auto& [file, reason] : cases) {
        std::string error;
        answer(vcl::mrOk, &error);
        EXPECT_FALSE(ide.LoadPackage(file));
        EXPECT_EQ(error.rfind("Package " + file + " could not be loaded: " + reason, 0), 0u)
            << error;
    }
    EXPECT_EQ(asked.size(), cases.size());
    EXPECT_EQ(ide.PackageManager().Packages().size(), loaded);
    EXPECT_EQ(ide.PaletteTabs->GetTabs()->GetCount(), static_cast<int>(1 + loaded));
    EXPECT_NE(place("TButton", designer->Root(), 8, 8), nullptr);
}

TEST_F(IdeTest, ATypedValueIsSetBeforeEveryCommandAndWhenItsRowLosesTheFocus) {
    auto* button = static_cast<vcl::TButton*>(place("TButton", designer->Root(), 16, 16));
    const std::string file = dir + "typed.dfm";
    saveAs(file, 1);
    ASSERT_TRUE(ide.SaveFormAs());
    // Typed and never confirmed with Enter: Save writes it and the title shows no change left.
    row("Caption")->ValueEdit->SetText("Saved");
    EXPECT_TRUE(ide.SaveForm());
    EXPECT_NE(testsupport::ReadFile(file).find("Caption = 'Saved'"), std::string::npos);
    EXPECT_EQ(ide.GetCaption(), "Quimbel IDE - Form1 (" + file + ")");
    // Quit asks to save it.
    row("Caption")->ValueEdit->SetText("Quit");
    std::string prompt;
    answer(vcl::mrCancel, &prompt);
    EXPECT_FALSE(ide.CloseQuery());
    EXPECT_EQ(prompt, "Save changes to " + file + "?");
    EXPECT_EQ(ide.GetCaption(), "Quimbel IDE - Form1 (" + file + ") *");
    // View as Text and Run show it.
    row("Caption")->ValueEdit->SetText("Viewed");
    answers.push_back([](vcl::TModalRequest& r) {
        EXPECT_NE(static_cast<vcl::TMemo*>(r.Form->FindComponent("TextMemo"))
                      ->GetText()
                      .find("Caption = 'Viewed'"),
                  std::string::npos);
        r.Form->Close();
    });
    ide.ViewAsText();
    row("Caption")->ValueEdit->SetText("Run");
    answers.push_back([](vcl::TModalRequest& r) {
        EXPECT_EQ(static_cast<vcl::TButton*>(r.Form->FindComponent("Button1"))->GetCaption(),
                  "Run");
        r.Form->Close();
    });
    ide.RunForm();
    // A value that is refused stops the command: its message, and nothing saved.
    row("Left")->ValueEdit->SetText("forty");
    std::string error;
    answer(vcl::mrOk, &error);
    EXPECT_FALSE(ide.SaveForm());
    EXPECT_EQ(error, "'forty' is not a valid integer value");
    EXPECT_EQ(testsupport::ReadFile(file).find("Run"), std::string::npos);

    // Pressing the designed form takes the focus from the row, which sets the typed value; a
    // pressed edit box takes neither the focus nor the keys, and Delete deletes it.
    ide.Show();
    auto* edit = static_cast<vcl::TEdit*>(place("TEdit", designer->Root(), 16, 80));
    row("Text")->ValueEdit->SetFocus();
    row("Text")->ValueEdit->SetText("typed");
    vcl::MouseClick(button);
    EXPECT_EQ(edit->GetText(), "typed");
    vcl::MouseClick(edit);
    EXPECT_FALSE(edit->Focused());
    EXPECT_TRUE(ide.InputKeyDown(vcl::VK_DELETE));
    EXPECT_EQ(designer->Root()->FindComponent("Edit1"), nullptr);
    // Nor does an edit box of a form opened before the IDE shows, or reached by Tab.
    place("TEdit", designer->Root(), 16, 80);
    EXPECT_TRUE(ide.SaveForm());
    ide.Hide();
    EXPECT_TRUE(ide.OpenForm(file)); // as from the command line: before the window shows
    auto* opened = static_cast<vcl::TEdit*>(designer->Root()->FindComponent("Edit1"));
    EXPECT_FALSE(opened->Focused());
    ide.Show();
    EXPECT_FALSE(opened->Focused());
    // A change writes the form (hiding it for a moment): the keys stay with the designer.
    vcl::MouseClick(opened);
    drag(opened, 5, 5, 16, 0);
    EXPECT_TRUE(designer->Root()->Focused());
    EXPECT_FALSE(opened->Focused());
    for (int i = 0; i < 60; ++i) {
        ide.InputKeyDown(vcl::VK_TAB);
        EXPECT_FALSE(opened->Focused()) << i;
    }
    vcl::MouseClick(opened);
    EXPECT_TRUE(ide.InputKeyDown(vcl::VK_DELETE));
    EXPECT_EQ(designer->Root()->FindComponent("Edit1"), nullptr);
    // A right press (the context menu) on the selected component takes the keys from a row
    // too: Delete deletes.
    auto* button1 = static_cast<vcl::TControl*>(designer->Root()->FindComponent("Button1"));
    vcl::MouseClick(button1);
    row("Caption")->ValueEdit->SetFocus();
    vcl::MouseClick(button1, vcl::mbRight);
    EXPECT_TRUE(ide.InputKeyDown(vcl::VK_DELETE));
    EXPECT_EQ(designer->Root()->FindComponent("Button1"), nullptr);
    answer(vcl::mrCancel, &prompt);
    prompt.clear();
    EXPECT_TRUE(ide.InputKeyDown('Q', {vcl::ssCtrl})); // Ctrl+Q quits, asking first
    EXPECT_EQ(prompt, "Save changes to " + file + "?");
    ide.Hide();
}

TEST_F(IdeTest, TheFormIsResizedByItsRightAndBottomEdges) {
    vcl::TForm* form = designer->Root();
    const vcl::TRect r = form->BoundsRect();
    vcl::TWinControl* host = ide.DesignSurface;
    host->InputMouseMove({}, r.Right + 2, 40);
    EXPECT_EQ(host->GetCursor(), vcl::crSizeWE);
    host->InputMouseMove({}, r.Right + 20, 40);
    EXPECT_EQ(host->GetCursor(), vcl::crDefault);
    host->InputMouseDown(vcl::mbLeft, {}, r.Right + 2, r.Bottom + 2); // the corner: both
    host->InputMouseMove({vcl::ssLeft}, r.Right + 60, r.Bottom + 30);
    host->InputMouseUp(vcl::mbLeft, {}, r.Right + 60, r.Bottom + 30);
    EXPECT_EQ(form->BoundsRect(), vcl::Bounds(r.Left, r.Top, r.Width() + 60, r.Height() + 30));
    EXPECT_EQ(designer->UndoName(), "Size");
    EXPECT_TRUE(designer->IsModified());
}

TEST_F(IdeTest, ASmallWindowScrollsOverTheWholeForm) {
    ide.Show();
    ide.SetClientWidth(500);
    ide.SetClientHeight(350);
    vcl::TScrollBox* area = ide.DesignArea;
    vcl::TForm* form = designer->Root();
    EXPECT_TRUE(area->GetHorzScrollBar()->IsScrollBarVisible());
    EXPECT_TRUE(area->GetVertScrollBar()->IsScrollBarVisible());
    // Scrolled to the ends, the form's right and bottom edges and their grip are in view.
    area->GetHorzScrollBar()->SetPosition(10000);
    area->GetVertScrollBar()->SetPosition(10000);
    const vcl::TRect bounds = form->BoundsRect();
    const vcl::TPoint corner =
        ide.DesignSurface->ClientToClient({bounds.Right, bounds.Bottom}, area);
    EXPECT_LE(corner.X, area->GetClientWidth());
    EXPECT_LE(corner.Y, area->GetClientHeight());
    EXPECT_GT(corner.X, area->GetClientWidth() - 10);
    // A larger form widens the range; the edge still resizes it where it is shown.
    const int range = area->GetHorzScrollBar()->GetRange();
    ide.Inspector()->EnterValue(row("Width"), "600");
    EXPECT_EQ(area->GetHorzScrollBar()->GetRange(), range + 120);
    // The parts of the window do not overlap.
    EXPECT_EQ(area->GetLeft(), ide.InspectorPanel->GetWidth());
    EXPECT_EQ(area->GetTop(), ide.PaletteTabs->GetHeight());
    ide.Hide();
}

TEST_F(IdeTest, UndoAndRedoEveryChangeBackToTheSavedState) {
    vcl::TForm* form = designer->Root();
    auto* button = static_cast<vcl::TButton*>(place("TButton", form, 8, 8));
    const std::string file = dir + "undo.dfm";
    saveAs(file, 1);
    ASSERT_TRUE(ide.SaveFormAs());
    place("TEdit", form, 8, 80);
    const vcl::TRect placed = vcl::Bounds(8, 80, 121, 21);
    drag(static_cast<vcl::TControl*>(form->FindComponent("Edit1")), 5, 5, 40, 16);
    drag(designer->Handles()[hpBottomRight], 3, 3, 16, 8);
    const vcl::TRect sized =
        static_cast<vcl::TControl*>(form->FindComponent("Edit1"))->BoundsRect();
    designer->Select(button);
    ide.Inspector()->EnterValue(row("Caption"), "Go");
    vcl::MouseClick(static_cast<vcl::TControl*>(form->FindComponent("Edit1")));
    ide.DeleteItem->Click();
    EXPECT_EQ(ide.UndoItem->GetCaption(), "&Undo Delete");
    EXPECT_FALSE(ide.RedoItem->GetEnabled());

    const auto edit = [&] {
        return static_cast<vcl::TEdit*>(designer->Root()->FindComponent("Edit1"));
    };
    const auto key = [&](vcl::Word k, vcl::TShiftState shift) {
        EXPECT_TRUE(ide.InputKeyDown(k, shift));
    };
    const std::vector<std::pair<std::string, std::string>> steps = {
        {"&Undo Change Caption", "&Redo Delete"},
        {"&Undo Size", "&Redo Change Caption"},
        {"&Undo Move", "&Redo Size"},
        {"&Undo New Edit1", "&Redo Move"},
        {"&Undo New Button1", "&Redo New Edit1"}};
    for (const auto& [undo, redo] : steps) {
        key('Z', {vcl::ssCtrl});
        EXPECT_EQ(ide.UndoItem->GetCaption(), undo);
        EXPECT_EQ(ide.RedoItem->GetCaption(), redo);
        if (undo == "&Undo Change Caption") {
            ASSERT_NE(edit(), nullptr); // deleted, and back, selected
            EXPECT_EQ(designer->Selection(), std::vector<vcl::TComponent*>{edit()});
        }
        if (undo == "&Undo Size") {
            EXPECT_EQ(static_cast<vcl::TButton*>(designer->Root()->FindComponent("Button1"))
                          ->GetCaption(),
                      "Button1");
        }
        if (undo == "&Undo New Edit1") {
            EXPECT_EQ(edit()->BoundsRect(), placed);
        }
    }
    // Back where the form was saved: nothing left to save.
    EXPECT_EQ(edit(), nullptr);
    EXPECT_FALSE(designer->IsModified());
    EXPECT_EQ(ide.GetCaption(), "Quimbel IDE - Form1 (" + file + ")");
    key('Y', {vcl::ssCtrl});
    key('Z', {vcl::ssCtrl, vcl::ssShift});
    key('Y', {vcl::ssCtrl});
    ASSERT_NE(edit(), nullptr);
    EXPECT_EQ(designer->Selection(), std::vector<vcl::TComponent*>{edit()}); // placed again
    EXPECT_EQ(edit()->BoundsRect(), sized);
    EXPECT_TRUE(designer->IsModified());
    EXPECT_EQ(designer->RedoName(), "Change Caption");
    // A new change drops what could be redone.
    designer->Select(edit());
    ide.Inspector()->EnterValue(row("Text"), "x");
    EXPECT_FALSE(designer->CanRedo());
    EXPECT_EQ(designer->UndoName(), "Change Text");
}

} // namespace

#ifdef QUIMBEL_DESIGN_PACKAGE
namespace {

vcl::TComponent* part(vcl::TCustomForm* form, const char* name) {
    vcl::TComponent* c = form->FindComponent(name);
    EXPECT_NE(c, nullptr) << name;
    return c;
}

int run(const std::string& command) {
    return testsupport::RunProgram(command, ".").status;
}

TEST_F(IdeTest, KeyboardFormFromPaletteToRun) {
    ASSERT_TRUE(ide.LoadPackage(QUIMBEL_DESIGN_PACKAGE));
    ASSERT_EQ(ide.PaletteTabs->GetTabs()->GetCommaText(), "Standard,\"Touch Screen\"");
    ide.PaletteTabs->SelectTab(1);
    std::vector<std::string> touch;
    for (vcl::TSpeedButton* b : ide.PaletteButtons()) {
        touch.push_back(ide.PaletteClass(b)->ClassName);
        EXPECT_EQ(b->GetGlyph()->GetWidth(), 23) << touch.back(); // the package's palette image
    }
    EXPECT_EQ(touch, (std::vector<std::string>{"TKeyboard", "TKeyboardLayoutEditor"}));
    EXPECT_EQ(ide.PackageManager().Describe(),
              std::string(QUIMBEL_DESIGN_PACKAGE) +
                  "\n  QuimbelDesign, version 1.0.0.0\n  Units: QuimbelDesign, Keyboard, "
                  "Keypropertiesf, Layoutf, Layoutproperty, Keyboardlayouteditor, Compreg");

    auto* keyboard = static_cast<vcl::TWinControl*>(place("TKeyboard", designer->Root(), 8, 48));
    EXPECT_EQ(keyboard->GetName(), "Keyboard1");
    EXPECT_EQ(keyboard->BoundsRect(), vcl::Bounds(8, 48, 400, 80));
    ide.PaletteTabs->SelectTab(0);
    place("TEdit", designer->Root(), 8, 8);
    vcl::MouseClick(keyboard);
    ide.Inspector()->PickValue(row("LinkedControl"), "Edit1");
    EXPECT_EQ(row("Keys")->ValueEdit->GetText(), "TKeyCollection");
    ASSERT_NE(row("Keys")->DialogButton, nullptr);

    // The layout designer: New Key, the key's properties, Close.
    answers.push_back([&](vcl::TModalRequest& r) {
        ASSERT_EQ(r.Form->ClassName(), "TLayoutForm");
        static_cast<vcl::TButton*>(part(r.Form, "NewKeyBtn"))->Click();
        auto* panel = static_cast<vcl::TWinControl*>(part(r.Form, "LayoutPanel"));
        vcl::TControl* key = nullptr;
        for (int i = 0; i < panel->GetControlCount(); ++i)
            if (panel->GetControl(i)->ClassName() == "TKeyControl") key = panel->GetControl(i);
        ASSERT_NE(key, nullptr);
        vcl::MouseClick(key);
        static_cast<vcl::TButton*>(part(r.Form, "CloseBtn"))->Click();
    });
    answers.push_back([&](vcl::TModalRequest& r) {
        ASSERT_EQ(r.Form->ClassName(), "TKeyPropertiesForm");
        static_cast<vcl::TEdit*>(part(r.Form, "NormalCaptionEdit"))->SetText("Q");
        static_cast<vcl::TEdit*>(part(r.Form, "NormalValueEdit"))->SetText("q");
        static_cast<vcl::TButton*>(part(r.Form, "OKBtn"))->Click();
    });
    vcl::MouseClick(row("Keys")->DialogButton);
    EXPECT_TRUE(answers.empty());
    EXPECT_TRUE(designer->IsModified());
    EXPECT_EQ(row("Keys")->ValueEdit->GetText(), "TKeyCollection");
    std::vector<vcl::TControl*> buttons;
    for (int i = 0; i < keyboard->GetControlCount(); ++i)
        buttons.push_back(keyboard->GetControl(i));
    ASSERT_EQ(buttons.size(), 1u);
    EXPECT_EQ(buttons[0]->GetCaption(), "Q");

    // Saved as text, the layout is Keys.Items; dfmconv converts the file there and back.
    const std::string file = dir + "ide_keyboard.dfm", bin = file + ".bin", back = file + ".txt";
    saveAs(file, 1);
    ASSERT_TRUE(ide.SaveFormAs());
    const std::string text = testsupport::ReadFile(file);
    EXPECT_NE(text.find("LinkedControl = Edit1"), std::string::npos);
    EXPECT_NE(text.find("Keys.Items = ("), std::string::npos);
    ASSERT_EQ(run(std::string(QUIMBEL_DFMCONV) + " text2bin " + file + " " + bin), 0);
    ASSERT_EQ(run(std::string(QUIMBEL_DFMCONV) + " bin2text " + bin + " " + back), 0);
    EXPECT_EQ(testsupport::ReadFile(back), text);

    // Reopened, the same layout; Run builds the form from its stream and a key types.
    ASSERT_TRUE(ide.NewForm());
    ASSERT_TRUE(ide.OpenForm(file));
    vcl::TComponent* reopened = designer->Root()->FindComponent("Keyboard1");
    ASSERT_NE(reopened, nullptr);
    EXPECT_EQ(static_cast<vcl::TWinControl*>(reopened)->GetControl(0)->GetCaption(), "Q");
    std::string typed;
    answers.push_back([&](vcl::TModalRequest& r) {
        ASSERT_EQ(r.Form, ide.RunningForm());
        auto* runKeyboard = static_cast<vcl::TWinControl*>(part(r.Form, "Keyboard1"));
        EXPECT_FALSE(runKeyboard->ComponentState().Contains(vcl::csDesigning));
        // Headless, the edit box shows nothing itself: what it receives is what was typed.
        auto* runEdit = static_cast<vcl::TEdit*>(part(r.Form, "Edit1"));
        runEdit->WindowProc = [&typed, runEdit](vcl::TMessage& m) {
            if (m.Msg == vcl::WM_CHAR) typed += static_cast<char>(m.WParam);
            runEdit->WndProc(m);
        };
        vcl::MouseClick(runKeyboard->GetControl(0));
        r.Form->Close();
    });
    ide.RunForm();
    EXPECT_EQ(typed, "q");
}

} // namespace
#endif

#ifdef QUIMBEL_DESIGN_PACKAGE
namespace {

std::vector<std::string> captions(vcl::TMenuItem* Item) {
    std::vector<std::string> list;
    for (int i = 0; i < Item->GetCount(); ++i)
        list.push_back(Item->GetItem(i)->GetCaption());
    return list;
}

TEST_F(IdeTest, KeyboardVerbsAndProperties) {
    ASSERT_TRUE(ide.LoadPackage(QUIMBEL_DESIGN_PACKAGE));
    for (vcl::TSpeedButton* b : ide.PaletteButtons()) { // Standard: pictures, as on Touch Screen
        EXPECT_EQ(b->GetGlyph()->GetWidth(), 23) << b->GetHint();
        EXPECT_EQ(b->GetCaption(), "");
    }
    place("TEdit", designer->Root(), 8, 8);
    // PasswordChar shows nothing for no character, and takes one.
    EXPECT_EQ(row("PasswordChar")->ValueEdit->GetText(), "");
    ide.Inspector()->EnterValue(row("PasswordChar"), "*");
    EXPECT_EQ(static_cast<vcl::TEdit*>(designer->Selection().front())->GetPasswordChar(), '*');
    ide.PaletteTabs->SelectTab(1);
    auto* keyboard = static_cast<vcl::TWinControl*>(place("TKeyboard", designer->Root(), 8, 48));
    auto* second = static_cast<vcl::TWinControl*>(place("TKeyboard", designer->Root(), 8, 200));
    // LinkedControl offers neither the form nor the keyboard itself.
    vcl::MouseClick(keyboard);
    EXPECT_EQ(row("LinkedControl")->ValueBox->GetItems()->GetCommaText(), "Edit1,Keyboard2");

    // A right press pops up the verbs; the built-in layouts are a submenu.
    std::vector<std::string> verbs, layouts;
    answers.push_back([&](vcl::TModalRequest& r) {
        ASSERT_EQ(r.Kind, vcl::mkPopupMenu);
        EXPECT_EQ(r.Menu->GetPopupComponent(), keyboard);
        verbs = captions(r.Menu->GetItems());
        layouts = captions(r.Menu->GetItems()->GetItem(1));
        r.Choose(r.Menu->GetItems()->GetItem(1)->Find("de"));
    });
    designer->SetModified(false);
    vcl::MouseClick(keyboard, vcl::mbRight);
    EXPECT_EQ(verbs, (std::vector<std::string>{"Edit Keys...", "Load Built-in Layout",
                                               "Load Layout File...", "Save Layout As..."}));
    ASSERT_GE(layouts.size(), 36u);
    EXPECT_EQ(std::vector<std::string>(layouts.begin(), layouts.begin() + 4),
              (std::vector<std::string>{"us", "de", "numpad", "ru"}));
    const int keys = keyboard->GetControlCount();
    EXPECT_GT(keys, 50);
    EXPECT_TRUE(designer->IsModified());

    // Saved as a file and loaded into the other keyboard: the same keys.
    const std::string file = dir + "de.kly";
    const auto choose = [&](const char* caption) {
        answers.push_back(
            [=](vcl::TModalRequest& r) { r.Choose(r.Menu->GetItems()->Find(caption)); });
    };
    choose("Save Layout As...");
    saveAs(file, 1);
    vcl::MouseClick(keyboard, vcl::mbRight);
    choose("Load Layout File...");
    answers.push_back([&](vcl::TModalRequest& r) {
        ASSERT_EQ(r.Kind, vcl::mkOpenDialog);
        r.FileDialog->SetFileName(file);
        r.Accept();
    });
    vcl::MouseClick(second, vcl::mbRight);
    EXPECT_EQ(second->GetControlCount(), keys);
    EXPECT_EQ(designer->Selection(), std::vector<vcl::TComponent*>{second});

    // A double click opens the layout designer on the keyboard's keys.
    answers.push_back([&](vcl::TModalRequest& r) {
        ASSERT_EQ(r.Form->ClassName(), "TLayoutForm");
        r.Form->Close();
    });
    const vcl::TPoint at = keyboard->ClientToClient({2, 2}, designer->Root());
    designer->Root()->InputMouseDown(vcl::mbLeft, {vcl::ssDouble}, at.X, at.Y);
    designer->Root()->InputMouseUp(vcl::mbLeft, {}, at.X, at.Y);
    EXPECT_TRUE(answers.empty());
}

} // namespace
#endif

#ifdef QUIMBEL_DESIGN_PACKAGE
namespace {

TEST_F(IdeTest, AFormOfItsOwnClassWithHandlersOpensSavesBackAndRuns) {
    ASSERT_TRUE(ide.LoadPackage(QUIMBEL_DESIGN_PACKAGE));
    place("TButton", designer->Root(), 8, 8);
    ide.PaletteTabs->SelectTab(1);
    place("TKeyboard", designer->Root(), 8, 48);
    ide.InspectorTabs->SelectTab(1);
    ide.Inspector()->EnterValue(row("OnKey"), "Keyboard1Key");
    designer->Select(designer->Root()->FindComponent("Button1"));
    ide.Inspector()->EnterValue(row("OnClick"), "Button1Click");
    designer->Select(designer->Root());
    ide.Inspector()->EnterValue(row("OnCreate"), "FormCreate");
    const std::string first = dir + "first.dfm", file = dir + "own.dfm", again = dir + "again.dfm";
    saveAs(first, 1);
    ASSERT_TRUE(ide.SaveFormAs());
    // The file of a program's form names its own class.
    std::string text = testsupport::ReadFile(first);
    ASSERT_EQ(text.rfind("object Form1: TForm\n", 0), 0u);
    text.replace(0, 20, "object Form1: TForm1\n");
    testsupport::WriteFile(file, text);

    ASSERT_TRUE(ide.NewForm());
    ASSERT_TRUE(ide.OpenForm(file));
    EXPECT_EQ(row("OnCreate")->ValueBox->GetText(), "FormCreate");
    designer->Select(designer->Root()->FindComponent("Keyboard1"));
    EXPECT_EQ(row("OnKey")->ValueBox->GetText(), "Keyboard1Key");
    saveAs(again, 1);
    ASSERT_TRUE(ide.SaveFormAs());
    EXPECT_EQ(testsupport::ReadFile(again), text);

    // Run: the handlers the running program does not have do nothing.
    answers.push_back([&](vcl::TModalRequest& r) {
        ASSERT_EQ(r.Kind, vcl::mkForm);
        vcl::MouseClick(static_cast<vcl::TControl*>(r.Form->FindComponent("Button1")));
        auto* keyboard = static_cast<vcl::TWinControl*>(r.Form->FindComponent("Keyboard1"));
        EXPECT_EQ(keyboard->GetControlCount(), 0);
        r.Form->Close();
    });
    ide.RunForm();
    EXPECT_TRUE(answers.empty());
}

} // namespace
#endif
