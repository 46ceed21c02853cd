// quimbel-ide headless: the palette, placing, selecting, moving, resizing and deleting
// components, the Object Inspector, the file commands with their prompts, and package errors.

#include "IdeMainForm.h"

#include "rtl/Streams.h"
#include "vcl/Dialogs.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

using namespace quimbel::ide;
using vcl::AnsiString;

namespace {

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

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
    const testsupport::TempDir temp;
    const std::string dir = temp.Dir() + "/";

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

    // Delete removes the selection, a panel with what it holds.
    vcl::MouseClickAt(form, 300, 10);
    EXPECT_EQ(designer->Selection(), std::vector<vcl::TComponent*>{form});
    vcl::MouseClickAt(panel, 2, 2);
    vcl::MouseClick(ide.DeleteButton);
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
    EXPECT_EQ(readFile(binary).substr(0, 4), "TPF0");
    saveAs(text, 1);
    EXPECT_TRUE(ide.SaveFormAs());
    EXPECT_EQ(readFile(text).substr(0, 20), "object Form1: TForm\n");
    EXPECT_EQ(ide.GetCaption(), "Quimbel IDE - Form1 (" + text + ")");

    // Yes saves before the new form replaces the old one.
    place("TButton", designer->Root(), 8, 40);
    answer(vcl::mrYes);
    EXPECT_TRUE(ide.NewForm());
    EXPECT_NE(readFile(text).find("Button1: TButton"), std::string::npos);
    EXPECT_EQ(designer->Root()->GetComponentCount(), 0);

    EXPECT_TRUE(ide.OpenForm(binary));
    ASSERT_EQ(designer->Root()->GetComponentCount(), 1);
    EXPECT_EQ(designer->Root()->GetComponent(0)->GetName(), "Edit1");
    EXPECT_TRUE(designer->Root()->GetComponent(0)->ComponentState().Contains(vcl::csDesigning));

    std::string error;
    answer(vcl::mrOk, &error);
    EXPECT_FALSE(ide.OpenForm(dir + "no_such_form.dfm"));
    EXPECT_EQ(error.rfind("Cannot open " + dir + "no_such_form.dfm: ", 0), 0u) << error;
    EXPECT_EQ(designer->Root()->GetComponent(0)->GetName(), "Edit1");

    // Closing the window with unsaved changes asks too.
    place("TLabel", designer->Root(), 8, 80);
    answer(vcl::mrCancel);
    EXPECT_FALSE(ide.CloseQuery());
    answer(vcl::mrNo);
    EXPECT_TRUE(ide.CloseQuery());
    std::remove(text.c_str());
    std::remove(binary.c_str());
}

TEST_F(IdeTest, BrokenPackageGivesOneMessageAndTheIdeGoesOn) {
    const std::string notALibrary = dir + "ide_not_a_package.so";
    std::ofstream(notALibrary) << "not a library";
    const std::pair<std::string, std::string> cases[] = {
        {dir + "no_such_package.so", "Package " + dir + "no_such_package.so could not be loaded: "},
        {notALibrary, "Package " + notALibrary + " could not be loaded: "},
    };
    for (const auto& [file, start] : cases) {
        std::string error;
        answer(vcl::mrOk, &error);
        EXPECT_FALSE(ide.LoadPackage(file));
        EXPECT_EQ(error.rfind(start, 0), 0u) << error;
    }
    EXPECT_EQ(asked.size(), 2u);
    EXPECT_TRUE(ide.PackageManager().Packages().empty());
    EXPECT_EQ(ide.PaletteTabs->GetTabs()->GetCount(), 1);
    EXPECT_NE(place("TButton", designer->Root(), 8, 8), nullptr);
    std::remove(notALibrary.c_str());
}

} // namespace
