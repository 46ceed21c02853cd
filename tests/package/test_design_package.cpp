// A host of the design package, as the IDE host is one: it loads libQuimbelDesign.so, calls its
// registration entry, drives the Keys property editor headless, reads the package's resources
// and unloads it again. The host's own copy of the key model builds and inspects layouts; the
// keyboards edited are the package's, created by class name.

#include "designide/DesignEditors.h"
#include "rtl/FormStreams.h"
#include "rtl/Packages.h"
#include "runtime/Keyboard.h"
#include "vcl/ActnList.h"
#include "vcl/ExtCtrls.h"
#include "vcl/Forms.h"
#include "vcl/StdCtrls.h"
#include "vcl/Widgetset.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

using namespace vcl;

namespace {

struct Designer : designide::IDesigner {
    explicit Designer(TComponent* Root) : root(Root) {}
    void Modified() override { ++modified; }
    TComponent* GetRoot() const override { return root; }
    TComponent* root;
    int modified = 0;
};

// Tells whether the component it watches was freed.
class FreeWatch : public TComponent {
public:
    FreeWatch() : TComponent(nullptr) {}
    void Watch(TComponent* C) {
        C->FreeNotification(this);
        freed = false;
    }
    bool freed = true;

protected:
    void Notification(TComponent* C, TOperation Operation) override {
        TComponent::Notification(C, Operation);
        if (Operation == opRemove) freed = true;
    }
};

uint32_t U32(const uint8_t* p) {
    return p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24;
}
uint16_t U16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}
std::string Bytes(const TResourceData& r) {
    return std::string(reinterpret_cast<const char*>(r.Data), r.Size);
}
std::string Utf16(const char* s) {
    std::string b;
    for (; *s; ++s)
        b += std::string{*s, '\0'};
    return b + std::string(2, '\0');
}
std::vector<std::string> Split(const std::string& list) {
    std::vector<std::string> v;
    for (size_t at = 0; at <= list.size();) {
        size_t comma = std::min(list.find(',', at), list.size());
        v.push_back(list.substr(at, comma - at));
        at = comma + 1;
    }
    return v;
}

// One block of version information: key, value, children (the layout resgen writes).
struct VersionBlock {
    std::string Key;
    const uint8_t* Value = nullptr;
    uint16_t ValueLength = 0;
    std::vector<VersionBlock> Children;
};
VersionBlock ParseVersion(const uint8_t* p) {
    VersionBlock b;
    const uint8_t* end = p + U16(p);
    b.ValueLength = U16(p + 2);
    const bool text = U16(p + 4) == 1;
    const uint8_t* q = p + 6;
    for (; U16(q); q += 2)
        b.Key += static_cast<char>(*q);
    q = p + ((q + 2 - p + 3) & ~3);
    b.Value = q;
    q += text ? 2 * b.ValueLength : b.ValueLength;
    for (q = p + ((q - p + 3) & ~3); q < end; q = p + ((q - p + 3) & ~3)) {
        b.Children.push_back(ParseVersion(q));
        q += U16(q);
    }
    return b;
}

class DesignPackage : public ::testing::Test {
protected:
    void SetUp() override {
        RemoveModuleUnloadProc(&designide::UnRegisterModuleDesignItems);
        AddModuleUnloadProc(&designide::UnRegisterModuleDesignItems);
        Module = LoadPackage(QUIMBEL_DESIGN_PACKAGE);
        // Loading ran no registration of the package's own.
        EXPECT_EQ(GetClass("TKeyboard"), nullptr);
        EXPECT_TRUE(designide::GetPalettePages().empty());
        auto Register = reinterpret_cast<void (*)()>(GetProcAddress(Module, "Compreg_Register"));
        ASSERT_NE(Register, nullptr);
        Register();
    }

    void TearDown() override {
        root.reset();
        UnloadPackage(Module);
        EXPECT_EQ(GetClass("TKeyboard"), nullptr);
        EXPECT_EQ(GetClass("TKeyboardLayoutEditor"), nullptr);
        EXPECT_TRUE(designide::GetPalettePages().empty());
        EXPECT_FALSE(ResourceExists("RCDATA", "TLAYOUTFORM"));
        TClass Host = quimbel::TKeyboard::StaticClass();
        EXPECT_EQ(designide::GetEditorClass(Host->FindProp("Keys"), Host)->ClassName,
                  "TClassProperty");
    }

    // A keyboard of the package on the designed form, with Count keys laid out by the host's
    // copy of the key model (keys 16 units apart), handed over through a form stream.
    TComponent* PackageKeyboard(int Count) {
        TMemoryStream stream;
        {
            quimbel::TKeyboard host(nullptr);
            host.SetName("Keyboard1");
            for (int i = 0; i < Count; ++i) {
                auto* key = new quimbel::TKey(quimbel::ktNormal);
                key->SetLeft(16 + 12 * (i % 10));
                key->SetTop(16 + 12 * (i / 10));
                host.GetKeys()->AddKey(key);
            }
            WriteComponent(&stream, &host);
        }
        stream.SetPosition(0);
        TComponent* kb = ReadComponent(&stream, nullptr, root.get());
        EXPECT_EQ(FindHInstance(kb->ClassType()), Module);
        return kb;
    }
    static quimbel::TKeyCollection* KeysOf(TComponent* Keyboard) {
        return static_cast<quimbel::TKeyboard*>(Keyboard)->GetKeys();
    }
    std::unique_ptr<designide::TPropertyEditor> KeysEditor(TComponent* Keyboard) {
        const TPropInfo* prop = GetPropInfo(Keyboard, "Keys");
        TClass editor = designide::GetEditorClass(prop, Keyboard->ClassType());
        EXPECT_EQ(editor->ClassName, "TLayoutProperty");
        EXPECT_EQ(FindHInstance(editor), Module);
        return designide::CreatePropertyEditor(editor, &designer, {Keyboard}, prop);
    }

    HMODULE Module = 0;
    std::unique_ptr<TForm> root = std::make_unique<TForm>(nullptr);
    Designer designer{root.get()};
};

TEST_F(DesignPackage, PutsBothComponentsOnTouchScreenAndBindsTheKeysEditor) {
    const auto& pages = designide::GetPalettePages();
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_EQ(pages[0].Name, "Touch Screen");
    ASSERT_EQ(pages[0].Classes.size(), 2u);
    EXPECT_EQ(pages[0].Classes[0]->ClassName, "TKeyboard");
    EXPECT_EQ(pages[0].Classes[1]->ClassName, "TKeyboardLayoutEditor");
    for (TClass c : pages[0].Classes) {
        EXPECT_EQ(FindHInstance(c), Module);
        EXPECT_EQ(GetClass(c->ClassName), c);
    }

    for (int count : {0, 50}) {
        SCOPED_TRACE(count);
        TComponent* kb = PackageKeyboard(count);
        ASSERT_EQ(KeysOf(kb)->GetCount(), count);
        auto editor = KeysEditor(kb);
        EXPECT_EQ(designide::AttributesWord(editor->GetAttributes()), 0x0004);
        EXPECT_EQ(editor->GetValue(), "TKeyCollection");
        delete kb;
    }
}

// Closing the designer in any way keeps what was done in it: the keyboard rebuilds its buttons
// from the edited collection, lays them out, and the designer hears of it once.
TEST_F(DesignPackage, EditWritesTheDesignersChangesBack) {
    for (const char* closing : {"CloseBtn", "close box"}) {
        SCOPED_TRACE(closing);
        TComponent* kb = PackageKeyboard(2);
        auto* keyboard = static_cast<TWinControl*>(kb);
        // The old buttons go; comparing addresses would not tell, as a new one may reuse the memory.
        FreeWatch oldButton;
        oldButton.Watch(keyboard->GetControl(0));
        auto editor = KeysEditor(kb);
        FreeWatch watch;
        int start[2] = {-1, -1}, moved[2] = {-1, -1};
        TModalResponderScope responder([&](TModalRequest& r) {
            ASSERT_EQ(r.Kind, mkForm);
            ASSERT_EQ(r.Form->ClassName(), "TLayoutForm");
            watch.Watch(r.Form);
            dynamic_cast<TAction*>(r.Form->FindComponent("NewKeyAction"))->Execute();
            quimbel::TKey* added = KeysOf(kb)->GetItem(2);
            start[0] = added->Left;
            start[1] = added->Top;
            const int x = added->Left * 4 + 2, y = added->Top * 4 + 2;
            auto* panel = dynamic_cast<TPanel*>(r.Form->FindComponent("LayoutPanel"));
            panel->InputMouseDown(mbLeft, {}, x, y);
            panel->InputMouseMove(TShiftState{ssLeft}, x + 40, y + 20);
            panel->InputMouseUp(mbLeft, {}, x + 40, y + 20);
            moved[0] = added->Left;
            moved[1] = added->Top;
            if (std::strcmp(closing, "CloseBtn") == 0)
                dynamic_cast<TButton*>(r.Form->FindComponent("CloseBtn"))->Click();
            else
                r.Form->Close();
        });
        const int before = designer.modified;
        editor->Edit();

        EXPECT_TRUE(watch.freed);
        EXPECT_TRUE(oldButton.freed);
        EXPECT_EQ(designer.modified, before + 1);
        quimbel::TKeyCollection* keys = KeysOf(kb);
        ASSERT_EQ(keys->GetCount(), 3);
        EXPECT_NE(moved[0], start[0]); // the drag moved the new key
        EXPECT_NE(moved[1], start[1]);
        EXPECT_EQ(keys->GetItem(2)->Left, moved[0]);
        EXPECT_EQ(keys->GetItem(2)->Top, moved[1]);

        // The buttons are the keyboard's, new, and where a keyboard of this size puts them.
        quimbel::TKeyboard expected(nullptr);
        expected.SetBounds(0, 0, keyboard->GetWidth(), keyboard->GetHeight());
        TMemoryStream stream;
        {
            TWriter writer(&stream, 1024);
            keys->WriteKeys(&writer);
            writer.FlushBuffer();
        }
        stream.SetPosition(0);
        TReader reader(&stream, 1024);
        expected.GetKeys()->LoadKeys(&reader);
        expected.SetKeys(expected.GetKeys());
        ASSERT_EQ(keyboard->ControlCount(), 3);
        for (int i = 0; i < 3; ++i) {
            TControl* button = keys->GetItem(i)->Control;
            ASSERT_NE(button, nullptr);
            EXPECT_EQ(button->GetParent(), keyboard);
            EXPECT_EQ(button->BoundsRect(), expected.GetKeys()->GetItem(i)->Control->BoundsRect());
        }
        delete kb;
    }
}

// An exception inside the designer frees it and passes on; nothing is written back.
TEST_F(DesignPackage, EditLeavesTheKeyboardAloneWhenTheDesignerFails) {
    TComponent* kb = PackageKeyboard(2);
    auto* keyboard = static_cast<TWinControl*>(kb);
    std::vector<TControl*> buttons{keyboard->GetControl(0), keyboard->GetControl(1)};
    auto editor = KeysEditor(kb);
    FreeWatch watch;
    TModalResponderScope responder([&](TModalRequest& r) {
        watch.Watch(r.Form);
        dynamic_cast<TAction*>(r.Form->FindComponent("NewKeyAction"))->Execute();
        throw EInvalidOperation("the designer failed");
    });
    try {
        editor->Edit();
        ADD_FAILURE() << "Edit swallowed the exception";
    } catch (const EInvalidOperation& e) {
        EXPECT_EQ(e.Message(), "the designer failed");
    }
    EXPECT_TRUE(watch.freed);
    EXPECT_EQ(designer.modified, 0);
    ASSERT_EQ(keyboard->ControlCount(), 2);
    EXPECT_EQ(keyboard->GetControl(0), buttons[0]);
    EXPECT_EQ(keyboard->GetControl(1), buttons[1]);
    delete kb;
}

TEST_F(DesignPackage, CarriesItsResources) {
    for (const char* name : {"TKEYBOARD", "TKEYBOARDLAYOUTEDITOR"}) {
        SCOPED_TRACE(name);
        TResourceData bmp = FindResourceData(Module, "BITMAP", name);
        ASSERT_EQ(bmp.Size, 380u); // header, 16 colours, 23 rows of 12 bytes
        EXPECT_EQ(bmp.Language, 1033);
        const uint32_t header[] = {40, 23, 23};
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(U32(bmp.Data + 4 * i), header[i]);
        EXPECT_EQ(U16(bmp.Data + 12), 1);  // planes
        EXPECT_EQ(U16(bmp.Data + 14), 4);  // bits per pixel
        EXPECT_EQ(U32(bmp.Data + 16), 0u); // uncompressed
        EXPECT_EQ(U32(bmp.Data + 20), 276u);
    }

    TResourceData group = FindResourceData(Module, "GROUP_ICON", "MAINICON");
    ASSERT_EQ(group.Size, 20u);
    const uint8_t entry[] = {32, 32, 16, 0, 1, 0, 4, 0, 0xE8, 2, 0, 0, 1, 0};
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(group.Data) + 6, 14),
              std::string(reinterpret_cast<const char*>(entry), 14));
    TResourceData icon = FindResourceData(Module, "ICON", "1");
    ASSERT_EQ(icon.Size, 744u); // header, 16 colours, 32 x 32 at 4 bits, 32 x 32 mask
    EXPECT_EQ(U32(icon.Data + 4), 32u);
    EXPECT_EQ(U32(icon.Data + 8), 64u);
    EXPECT_EQ(U16(icon.Data + 14), 4);

    TResourceData version = FindResourceData(Module, "VERSION", "1");
    EXPECT_EQ(version.Language, 0x0407);
    VersionBlock root = ParseVersion(version.Data);
    EXPECT_EQ(root.Key, "VS_VERSION_INFO");
    ASSERT_EQ(root.ValueLength, 52);
    const uint32_t fixed[] = {0xFEEF04BD, 0x00010000, 0x00010000, 0, 0x00010000, 0};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(U32(root.Value + 4 * i), fixed[i]) << i;
    ASSERT_EQ(root.Children.size(), 2u);
    ASSERT_EQ(root.Children[0].Children.size(), 1u);
    const VersionBlock& table = root.Children[0].Children[0];
    EXPECT_EQ(table.Key, "040704E4");
    EXPECT_FALSE(table.Children.empty());
    for (const VersionBlock& field : table.Children)
        EXPECT_EQ(U16(field.Value), 0) << field.Key;
    const VersionBlock& translation = root.Children[1].Children.at(0);
    EXPECT_EQ(translation.Key, "Translation");
    EXPECT_EQ(U16(translation.Value), 0x0407);
    EXPECT_EQ(U16(translation.Value + 2), 1252);

    EXPECT_EQ(Bytes(FindResourceData(Module, "RCDATA", "DESCRIPTION")), Utf16("QuimbelDesign"));
    EXPECT_EQ(Bytes(FindResourceData(Module, "RCDATA", "TLAYOUTFORM")).substr(0, 4), "TPF0");

    TPackageInfo info = GetPackageInfo(Module);
    EXPECT_EQ(info.Flags, 0u);
    EXPECT_EQ(info.Requires, Split(QUIMBEL_DESIGN_REQUIRES));
    for (const AnsiString& lib : info.Requires) // what the package names is what it loaded
        EXPECT_NE(dlopen(lib.c_str(), RTLD_NOW | RTLD_NOLOAD), nullptr) << lib;
    std::vector<std::string> units;
    for (const TPackageUnit& u : info.Contains)
        units.push_back(std::to_string(u.Flags) + ":" + u.Name);
    EXPECT_EQ(units, (std::vector<std::string>{"2:QuimbelDesign", "0:Keyboard", "0:Keypropertiesf",
                                               "0:Layoutf", "0:Layoutproperty",
                                               "0:Keyboardlayouteditor", "0:Compreg"}));
}

// The runtime package, loaded beside it: the dialog's form and the icon are the same bytes, the
// package information lists the runtime's own units.
TEST_F(DesignPackage, SharesTheDialogFormAndIconWithTheRuntimePackage) {
    HMODULE runtime = LoadPackage(QUIMBEL_RUNTIME_PACKAGE);
    for (auto [type, name] : {std::pair{"RCDATA", "TKEYPROPERTIESFORM"}, std::pair{"ICON", "1"},
                              std::pair{"GROUP_ICON", "MAINICON"}})
        EXPECT_EQ(Bytes(FindResourceData(runtime, type, name)),
                  Bytes(FindResourceData(Module, type, name)))
            << name;
    EXPECT_FALSE(ResourceExists(runtime, "RCDATA", "TLAYOUTFORM"));
    EXPECT_EQ(Bytes(FindResourceData(runtime, "RCDATA", "DESCRIPTION")), Utf16("Quimbel"));
    TPackageInfo info = GetPackageInfo(runtime);
    EXPECT_EQ(info.Flags, 0u);
    EXPECT_EQ(info.Requires, Split(QUIMBEL_RUNTIME_REQUIRES));
    std::vector<std::string> units;
    for (const TPackageUnit& u : info.Contains)
        units.push_back(u.Name);
    EXPECT_EQ(units, (std::vector<std::string>{"Quimbel", "Keyboard", "Keypropertiesf",
                                               "Keyboardlayouteditor"}));
    UnloadPackage(runtime);
    EXPECT_FALSE(ResourceExists(runtime, "RCDATA", "DESCRIPTION"));
}

} // namespace
