// The design-time framework: editor lookup, the palette, unloading a package, and the default
// editors reading and writing every kind of property.

#include "Gadget.h"

#include "vcl/Dialogs.h"
#include "vcl/ExtCtrls.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <filesystem>
#include <string>
#include <vector>

using namespace designide;
using vcl::AnsiString;
using vcl::TClass;

namespace {

// Editors that stand for registrations in the lookup tests.
#define TEST_EDITOR(Name)                                                                          \
    class Name : public TPropertyEditor {                                                          \
        VCL_DECLARE_CLASS(Name, TPropertyEditor)                                                   \
    };                                                                                             \
    VCL_DEFINE_CLASS(Name, TPropertyEditor, c) {                                                   \
        (void)c;                                                                                   \
    }
TEST_EDITOR(TAnyIntEditor)
TEST_EDITOR(TGadgetIntEditor)
TEST_EDITOR(TCountEditor)
TEST_EDITOR(TLaterCountEditor)
TEST_EDITOR(TSuperCountEditor)
TEST_EDITOR(TPersistentEditor)
TEST_EDITOR(TFontEditor)

uintptr_t testModule() {
    return ModuleOfAddress(TGadget::StaticClass());
}

const vcl::TPropInfo* prop(TClass cls, const char* name) {
    return cls->FindProp(name);
}

std::vector<AnsiString> values(TPropertyEditor& e) {
    std::vector<AnsiString> v;
    e.GetValues([&](const AnsiString& s) { v.push_back(s); });
    return v;
}

struct DesignTest : ::testing::Test {
    ~DesignTest() override { UnRegisterModuleDesignItems(testModule()); }
};

TEST(DesignAttributes, MembersKeepTheirOrderInTheSixteenBitSet) {
    EXPECT_EQ(AttributesWord({paDialog}), 0x0004);
    EXPECT_EQ(AttributesWord({paValueList, paSubProperties, paDialog, paMultiSelect, paAutoUpdate,
                              paSortList, paReadOnly, paRevertable, paFullWidthName,
                              paVolatileSubProperties, paVCL, paNotNestable}),
              0x0FFF);
    EXPECT_EQ(AttributesWord({paNotNestable}), 0x0800);
}

TEST_F(DesignTest, LookupPrefersNameThenNearestClassThenNearestTypeThenLaterRegistration) {
    RegisterPropertyEditor(KindTypeInfo(vcl::tkInteger), nullptr, "", TAnyIntEditor::StaticClass());
    RegisterPropertyEditor(KindTypeInfo(vcl::tkInteger), TGadget::StaticClass(), "",
                           TGadgetIntEditor::StaticClass());
    RegisterPropertyEditor(KindTypeInfo(vcl::tkInteger), nullptr, "Count",
                           TCountEditor::StaticClass());
    RegisterPropertyEditor(KindTypeInfo(vcl::tkInteger), nullptr, "count",
                           TLaterCountEditor::StaticClass());
    RegisterPropertyEditor(KindTypeInfo(vcl::tkInteger), TSuperGadget::StaticClass(), "Count",
                           TSuperCountEditor::StaticClass());
    RegisterPropertyEditor(TypeInfo<vcl::TPersistent>(), nullptr, "",
                           TPersistentEditor::StaticClass());
    RegisterPropertyEditor(TypeInfo<vcl::TFont>(), nullptr, "", TFontEditor::StaticClass());

    const TClass gadget = TGadget::StaticClass(), super = TSuperGadget::StaticClass();
    struct Case {
        TClass cls;
        const char* prop;
        TClass expected;
    } cases[] = {
        {gadget, "Count", TLaterCountEditor::StaticClass()}, // a name beats a class
        {super, "Count", TSuperCountEditor::StaticClass()},  // name and nearer class
        {gadget, "Extra", nullptr},                          // (not a property of TGadget)
        {super, "Extra", TGadgetIntEditor::StaticClass()},   // an ancestor's class beats none
        {vcl::TControl::StaticClass(), "Left", TAnyIntEditor::StaticClass()},
        {gadget, "Font", TFontEditor::StaticClass()},        // the nearer type
        {gadget, "Buddy", TPersistentEditor::StaticClass()}, // an ancestor type matches
        {gadget, "Color", TGadgetIntEditor::StaticClass()},  // a kind-wide registration
        {gadget, "Align", TEnumProperty::StaticClass()},     // nothing registered: the default
    };
    for (const Case& c : cases) {
        const vcl::TPropInfo* p = prop(c.cls, c.prop);
        if (!c.expected) {
            EXPECT_EQ(p, nullptr);
            continue;
        }
        ASSERT_NE(p, nullptr) << c.prop;
        EXPECT_EQ(GetEditorClass(p, c.cls)->ClassName, c.expected->ClassName) << c.prop;
    }
    EXPECT_THROW(
        RegisterPropertyEditor(KindTypeInfo(vcl::tkInteger), nullptr, "", TGadget::StaticClass()),
        vcl::EPropertyError);
}

TEST_F(DesignTest, DefaultEditorsFollowTheKindOfTheProperty) {
    const TClass gadget = TGadget::StaticClass();
    const std::pair<const char*, TClass> cases[] = {
        {"Count", TIntegerProperty::StaticClass()},
        {"Cursor", TIntegerProperty::StaticClass()},
        {"Color", TColorProperty::StaticClass()},
        {"Align", TEnumProperty::StaticClass()},
        {"Active", TBoolProperty::StaticClass()},
        {"Anchors", TSetProperty::StaticClass()},
        {"Caption", TStringProperty::StaticClass()},
        {"Ratio", TFloatProperty::StaticClass()},
        {"Font", TFontProperty::StaticClass()},
        {"Buddy", TComponentProperty::StaticClass()},
        {"OnChange", TMethodProperty::StaticClass()},
        {"Name", TComponentNameProperty::StaticClass()},
    };
    for (const auto& [name, expected] : cases)
        EXPECT_EQ(GetEditorClass(prop(gadget, name), gadget), expected) << name;
    EXPECT_EQ(
        GetEditorClass(prop(vcl::TPanel::StaticClass(), "Constraints"), vcl::TPanel::StaticClass()),
        TClassProperty::StaticClass());
}

TEST_F(DesignTest, PaletteKeepsPagesAndClassesInRegistrationOrder) {
    RegisterComponents("Gadgets", {TGadget::StaticClass()});
    RegisterComponents("Forms", {TGadgetForm::StaticClass()});
    RegisterComponents("gadgets", {TSuperGadget::StaticClass(), TGadget::StaticClass()});
    std::vector<std::string> seen;
    for (const TPalettePage& page : GetPalettePages())
        for (TClass c : page.Classes)
            seen.push_back(page.Name + ":" + c->ClassName);
    EXPECT_EQ(seen, (std::vector<std::string>{"Gadgets:TGadget", "Gadgets:TSuperGadget",
                                              "Forms:TGadgetForm"}));
    EXPECT_EQ(vcl::GetClass("TSuperGadget"), TSuperGadget::StaticClass());

    UnRegisterModuleDesignItems(testModule());
    EXPECT_TRUE(GetPalettePages().empty());
    EXPECT_EQ(vcl::GetClass("TSuperGadget"), nullptr);
}

TEST_F(DesignTest, PackageUnloadLeavesNoEntryThatPointsIntoIt) {
    RegisterComponents("Host", {TGadget::StaticClass()});
    const vcl::TPropInfo* caption = prop(TGadget::StaticClass(), "Caption");

    void* handle = dlopen(QUIMBEL_TEST_PLUGIN, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(handle, nullptr) << dlerror();
    auto registerProc = reinterpret_cast<void (*)()>(dlsym(handle, "PluginRegister"));
    ASSERT_NE(registerProc, nullptr);
    registerProc();
    ASSERT_EQ(GetPalettePages().size(), 2u);
    EXPECT_EQ(GetPalettePages()[0].Classes.size(), 2u); // Host: TGadget, TPluginOther
    EXPECT_EQ(GetPalettePages()[1].Name, "Plugin");
    EXPECT_NE(vcl::GetClass("TPluginWidget"), nullptr);
    EXPECT_EQ(GetEditorClass(caption, TGadget::StaticClass())->ClassName, "TPluginCaptionProperty");

    // A second copy of the package registers classes whose names are taken: refused as a whole.
    const testsupport::TempDir dir;
    const std::string copy = dir.Path("designide_plugin_copy.so");
    std::filesystem::copy_file(QUIMBEL_TEST_PLUGIN, copy,
                               std::filesystem::copy_options::overwrite_existing);
    void* second = dlopen(copy.c_str(), RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(second, nullptr) << dlerror();
    auto secondProc = reinterpret_cast<void (*)()>(dlsym(second, "PluginRegister"));
    ASSERT_NE(secondProc, registerProc);
    try {
        secondProc();
        ADD_FAILURE() << "a second copy was registered";
    } catch (const vcl::EComponentError& e) {
        EXPECT_EQ(e.Message(), "A class named TPluginWidget already exists");
    }
    UnRegisterModuleDesignItems(ModuleOfAddress(reinterpret_cast<void*>(secondProc)));
    dlclose(second);
    std::filesystem::remove(copy);
    EXPECT_EQ(GetEditorClass(caption, TGadget::StaticClass())->ClassName, "TPluginCaptionProperty");
    EXPECT_NE(vcl::GetClass("TPluginWidget"), nullptr);

    UnRegisterModuleDesignItems(ModuleOfAddress(reinterpret_cast<void*>(registerProc)));
    dlclose(handle);
    ASSERT_EQ(GetPalettePages().size(), 1u);
    EXPECT_EQ(GetPalettePages()[0].Classes, std::vector<TClass>{TGadget::StaticClass()});
    EXPECT_EQ(vcl::GetClass("TPluginWidget"), nullptr);
    EXPECT_EQ(vcl::GetClass("TPluginOther"), nullptr);
    EXPECT_EQ(GetEditorClass(caption, TGadget::StaticClass()), TStringProperty::StaticClass());
}

class TGadgetVerbs : public TComponentEditor {
    VCL_DECLARE_CLASS(TGadgetVerbs, TComponentEditor)
public:
    int GetVerbCount() override { return 2; }
    void GetSubVerbs(int Index, const TGetStrProc& Proc) override {
        if (Index == 1) Proc("sub");
    }
    void ExecuteVerb(int Index, int SubIndex) override {
        ran.push_back(Index * 10 + SubIndex);
        Modified();
    }
    static inline std::vector<int> ran;
};
class TSuperGadgetVerbs : public TGadgetVerbs {
    VCL_DECLARE_CLASS(TSuperGadgetVerbs, TGadgetVerbs)
public:
    int GetVerbCount() override { return 0; }
};
VCL_DEFINE_PLAIN_CLASS(TGadgetVerbs, TComponentEditor)
VCL_DEFINE_PLAIN_CLASS(TSuperGadgetVerbs, TGadgetVerbs)

TEST_F(DesignTest, ComponentEditorsOfTheNearestClassAndADoubleClickRunningTheFirstVerb) {
    EXPECT_EQ(GetComponentEditorClass(TGadget::StaticClass()), nullptr);
    RegisterComponentEditor(TSuperGadget::StaticClass(), TSuperGadgetVerbs::StaticClass());
    RegisterComponentEditor(TGadget::StaticClass(), TGadgetVerbs::StaticClass());
    EXPECT_THROW(RegisterComponentEditor(TGadget::StaticClass(), TCountEditor::StaticClass()),
                 vcl::EPropertyError);
    EXPECT_EQ(GetComponentEditorClass(TSuperGadget::StaticClass()),
              TSuperGadgetVerbs::StaticClass());
    EXPECT_EQ(GetComponentEditorClass(vcl::TForm::StaticClass()), nullptr);

    TGadget gadget(nullptr);
    TCountingDesigner designer;
    auto editor = GetComponentEditor(&gadget, &designer);
    ASSERT_EQ(editor->ClassType(), TGadgetVerbs::StaticClass());
    EXPECT_EQ(editor->GetComponent(), &gadget);
    TGadgetVerbs::ran.clear();
    editor->Edit();
    EXPECT_EQ(TGadgetVerbs::ran, std::vector<int>{-1});
    EXPECT_EQ(designer.modified, 1);
    UnRegisterModuleDesignItems(testModule());
    EXPECT_EQ(GetComponentEditorClass(TGadget::StaticClass()), nullptr);
}

struct EditorTest : ::testing::Test {
    TGadgetForm form{nullptr};
    TGadget* a = new TGadget(&form);
    TGadget* b = new TGadget(&form);
    TCountingDesigner designer;
    EditorTest() {
        form.SetName("Form1");
        a->SetName("Gadget1");
        b->SetName("Gadget2");
        designer.root = &form;
    }
    std::unique_ptr<TPropertyEditor> editor(const char* name,
                                            std::vector<vcl::TPersistent*> selection = {}) {
        if (selection.empty()) selection = {a};
        const vcl::TPropInfo* p = prop(TGadget::StaticClass(), name);
        return CreatePropertyEditor(GetEditorClass(p, TGadget::StaticClass()), &designer, selection,
                                    p);
    }
};

TEST_F(EditorTest, ShowAndTakeTheValuesOfEveryKind) {
    struct Case {
        const char* prop;
        const char* before;
        const char* input;
        const char* after;
    } cases[] = {
        {"Count", "0", "$10", "16"},
        {"Cursor", "crDefault", "crHandPoint", "crHandPoint"},
        {"Cursor", "crHandPoint", "7", "7"},
        {"Color", "clBtnFace", "clred", "clRed"},
        {"Color", "clRed", "$00123456", "$00123456"},
        {"Align", "alNone", "ALCLIENT", "alClient"},
        {"Active", "False", "True", "True"},
        {"Anchors", "[akLeft,akTop]", "[akBottom, akRight]", "[akRight,akBottom]"},
        {"Anchors", "[akRight,akBottom]", "[]", "[]"},
        {"Caption", "", "Hello, world", "Hello, world"},
        {"Ratio", "0.5", "2.25", "2.25"},
        {"Buddy", "", "Gadget2", "Gadget2"},
        {"Buddy", "Gadget2", "", ""},
        {"OnChange", "", "GadgetChange", "GadgetChange"},
        {"OnChange", "GadgetChange", "NotWrittenYet", "NotWrittenYet"},
        {"OnChange", "NotWrittenYet", "", ""},
    };
    int modified = 0;
    for (const Case& c : cases) {
        auto e = editor(c.prop);
        EXPECT_EQ(e->GetValue(), c.before) << c.prop;
        e->SetValue(c.input);
        EXPECT_EQ(e->GetValue(), c.after) << c.prop << " <- " << c.input;
        EXPECT_EQ(designer.modified, ++modified) << c.prop;
    }
    EXPECT_EQ(a->Font.GetName(), "MS Sans Serif");
    EXPECT_EQ(editor("Font")->GetValue(), "(TFont)");

    // The form's own handler is bound and runs; the others do nothing but keep their name.
    editor("OnChange")->SetValue("GadgetChange");
    a->OnChange(a);
    EXPECT_EQ(form.changes, 1);
    editor("OnChange")->SetValue("Other");
    a->OnChange(a);
    EXPECT_EQ(form.changes, 1);
    EXPECT_EQ(values(*editor("OnChange")),
              (std::vector<AnsiString>{"GadgetChange", "NotWrittenYet", "Other"}));
}

TEST_F(EditorTest, BadInputRaisesAndChangesNothing) {
    struct Case {
        const char* prop;
        const char* input;
        const char* message;
    } cases[] = {
        {"Count", "12x", "'12x' is not a valid integer value"},
        {"Color", "clNoSuchColour", "'clNoSuchColour' is not a valid integer value"},
        {"Align", "alSideways", "Invalid property value"},
        {"Anchors", "[akLeft,,akTop]", "Invalid property value"},
        {"Anchors", "akLeft", "Invalid property value"},
        {"Anchors", "[akUp]", "Invalid property value"},
        {"Ratio", "1.5.2", "'1.5.2' is not a valid floating point value"},
        {"Buddy", "Nobody", "Invalid property value"},
        {"Buddy", "Form1", "Invalid property value"}, // the form is no TGadget
        {"OnChange", "Not a name", "'Not a name' is not a valid method name"},
    };
    for (const Case& c : cases) {
        auto e = editor(c.prop);
        const AnsiString before = e->GetValue();
        try {
            e->SetValue(c.input);
            ADD_FAILURE() << c.prop << " took " << c.input;
        } catch (const vcl::Exception& ex) {
            EXPECT_EQ(ex.Message(), c.message) << c.prop;
        }
        EXPECT_EQ(e->GetValue(), before) << c.prop;
    }
    EXPECT_EQ(designer.modified, 0);
}

TEST_F(EditorTest, EditCyclesThroughTheValueListAndDoesNothingWithoutOne) {
    auto active = editor("Active");
    active->Edit();
    EXPECT_TRUE(a->Active);
    active->Edit();
    EXPECT_FALSE(a->Active);

    a->Align = vcl::alCustom; // the last one: Edit wraps to the first
    editor("Align")->Edit();
    EXPECT_EQ(a->Align, vcl::alNone);
    EXPECT_EQ(designer.modified, 3);

    editor("Count")->Edit();
    editor("Caption")->Edit();
    EXPECT_EQ(designer.modified, 3);
    EXPECT_EQ(values(*editor("Buddy")), (std::vector<AnsiString>{"Gadget1", "Gadget2"}));
}

TEST_F(EditorTest, SelectionIsReadFromTheFirstAndWrittenToAll) {
    b->Count = 5;
    auto count = editor("Count", {a, b});
    EXPECT_EQ(count->PropCount(), 2);
    EXPECT_EQ(count->GetComponent(1), b);
    EXPECT_EQ(count->GetOrdValue(), 0);
    EXPECT_FALSE(count->AllEqual());
    count->SetOrdValue(9);
    EXPECT_EQ(a->Count + b->Count, 18);
    EXPECT_TRUE(count->AllEqual());
    EXPECT_EQ(designer.modified, 1);

    // Set members are switched one by one, each object keeping its others.
    b->Anchors = {vcl::akRight};
    auto anchors = editor("Anchors", {a, b});
    auto members = anchors->GetProperties();
    ASSERT_EQ(members.size(), 4u);
    EXPECT_EQ(members[3]->GetName(), "akBottom");
    members[3]->SetValue("True");
    EXPECT_EQ(a->Anchors, (vcl::TAnchors{vcl::akLeft, vcl::akTop, vcl::akBottom}));
    EXPECT_EQ(b->Anchors, (vcl::TAnchors{vcl::akRight, vcl::akBottom}));

    // Only the properties both have, and only editors that take a multiple selection.
    std::vector<AnsiString> names;
    for (auto& e : GetComponentProperties({a, b}, &designer))
        names.push_back(e->GetName());
    EXPECT_EQ(names, (std::vector<AnsiString>{"Tag", "Count", "Cursor", "Color", "Align", "Active",
                                              "Anchors", "Caption", "Ratio", "Font", "Buddy",
                                              "OnChange"}));
}

TEST_F(EditorTest, FontDialogAssignsTheChosenFontToEverySelectedObject) {
    int shown = 0;
    vcl::TModalResponderScope responder([&](vcl::TModalRequest& r) {
        ASSERT_EQ(r.Kind, vcl::mkFontDialog);
        EXPECT_EQ(r.FontDialog->GetFont()->GetName(), "MS Sans Serif");
        if (++shown == 1) {
            r.FontDialog->GetFont()->SetName("Arial");
            r.FontDialog->GetFont()->SetSize(14);
            r.Accept();
        } else {
            r.FontDialog->GetFont()->SetName("Courier");
            r.Cancel();
        }
    });
    auto font = editor("Font", {b, a});
    EXPECT_TRUE(font->GetAttributes().Contains(paDialog));
    font->Edit();
    EXPECT_EQ(a->Font.GetName(), "Arial");
    EXPECT_EQ(b->Font.GetSize(), 14);
    EXPECT_EQ(designer.modified, 1);

    a->Font.SetName("MS Sans Serif");
    editor("Font")->Edit(); // cancelled
    EXPECT_EQ(a->Font.GetName(), "MS Sans Serif");
    EXPECT_EQ(designer.modified, 1);

    auto sub = editor("Font")->GetProperties();
    ASSERT_FALSE(sub.empty());
    EXPECT_EQ(sub[0]->GetComponent(0), &a->Font);
}

} // namespace
