// A panel of key buttons built the way an on-screen keyboard builds itself on this library: a
// TCustomPanel that owns and parents speed buttons, lays them out on Resize, links to an edit
// through free notification and types into it with Perform.

#include "vcl/Buttons.h"
#include "vcl/ExtCtrls.h"
#include "vcl/Forms.h"
#include "vcl/StdCtrls.h"

#include "rtl/FormStreams.h"
#include "rtl/Streams.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace vcl;

namespace {

class TKeyButton : public TSpeedButton {
    VCL_DECLARE_CLASS(TKeyButton, TSpeedButton)
public:
    using TSpeedButton::TSpeedButton;
    char Value = 0;
};
VCL_DEFINE_PLAIN_CLASS(TKeyButton, TSpeedButton)

class TKeyPanel : public TCustomPanel {
    VCL_DECLARE_CLASS(TKeyPanel, TCustomPanel)
public:
    explicit TKeyPanel(TComponent* AOwner) : TCustomPanel(AOwner) {
        SetBevelOuter(bvNone);
        SetBevelInner(bvNone);
        SetHeight(80); // no layout exists yet: Resize must not lay out
        SetWidth(400);
        values_ = "abc";
        CreateControls();
    }
    ~TKeyPanel() override { values_.clear(); }

    void CreateControls() {
        for (char v : values_) {
            auto* b = new TKeyButton(this);
            b->SetParent(this);
            b->OnClick = [this](TObject* Sender) { KeyClick(Sender); };
            b->Value = v;
            b->SetCaption(std::string(1, v));
        }
        Layout();
    }
    void FreeAllControls() {
        int i = 0;
        while (i < GetComponentCount()) {
            TComponent* c = GetComponent(i);
            if (c->Is<TKeyButton>()) {
                RemoveComponent(c);
                delete c;
            } else {
                ++i;
            }
        }
    }
    void Layout() {
        ++layouts;
        int n = 0;
        for (int i = 0; i < GetComponentCount(); ++i)
            if (auto* b = dynamic_cast<TKeyButton*>(GetComponent(i))) {
                int w = GetClientWidth() / static_cast<int>(values_.size());
                b->SetLeft(n++ * w);
                b->SetWidth(w);
                b->SetTop(0);
                b->SetHeight(GetClientHeight());
            }
    }
    void Resize() override {
        TCustomPanel::Resize();
        if (!values_.empty()) Layout();
    }
    void Loaded() override {
        TCustomPanel::Loaded();
        SetCaption("");
        Layout();
    }
    void KeyClick(TObject* Sender) {
        auto* key = As<TKeyButton>(Sender);
        Beep();
        if (Linked) Linked->Perform(WM_CHAR, static_cast<uint8_t>(key->Value), 0);
    }
    void SetLinked(TWinControl* Value) {
        Linked = Value == this ? nullptr : Value;
        if (Linked) Linked->FreeNotification(this);
    }
    TWinControl* GetLinked() const { return Linked; }
    void Notification(TComponent* AComponent, TOperation Operation) override {
        TCustomPanel::Notification(AComponent, Operation);
        if (Operation == opRemove && SameObject(AComponent, Linked)) Linked = nullptr;
    }

    TWinControl* Linked = nullptr;
    int layouts = 0;

private:
    std::string values_;
};

VCL_DEFINE_CLASS(TKeyPanel, TCustomPanel, c) {
    c.Enum("BevelOuter", TBevelCutInfo, &TKeyPanel::GetBevelOuter, &TKeyPanel::SetBevelOuter)
        .Default(bvRaised);
    c.Int("Color", &TKeyPanel::GetColor, &TKeyPanel::SetColor)
        .Idents(ColorIdents)
        .Default(clBtnFace)
        .Stored([](const TKeyPanel* o) { return o->IsColorStored(); });
    c.Object<TWinControl>("LinkedControl", &TKeyPanel::GetLinked, &TKeyPanel::SetLinked);
}

struct TTypingEdit : TEdit {
    using TEdit::TEdit;
    std::string typed;
    void WndProc(TMessage& m) override {
        if (m.Msg == WM_CHAR) typed += static_cast<char>(m.WParam);
        TEdit::WndProc(m);
    }
};

TKeyButton* key(TKeyPanel& p, int i) {
    return As<TKeyButton>(p.GetControl(i));
}

} // namespace

TEST(KeyPanel, KeysTypeIntoTheLinkedEditWhichKeepsTheFocus) {
    TForm form(nullptr);
    auto* panel = new TKeyPanel(&form);
    panel->SetParent(&form);
    EXPECT_EQ(panel->layouts, 1); // the size set in the constructor did not lay out
    EXPECT_EQ(key(*panel, 1)->BoundsRect(), Bounds(133, 0, 133, 80));
    auto* edit = new TTypingEdit(&form);
    edit->SetParent(&form);
    edit->SetTop(100);
    panel->SetLinked(edit);
    form.Show();
    edit->SetFocus();
    int beeps = BeepCount();
    for (int i : {2, 0, 1})
        MouseClick(key(*panel, i));
    EXPECT_EQ(edit->typed, "cab");
    EXPECT_EQ(BeepCount(), beeps + 3);
    EXPECT_TRUE(edit->Focused());

    panel->SetWidth(600);
    EXPECT_EQ(key(*panel, 2)->BoundsRect(), Bounds(400, 0, 200, 80));
    panel->FreeAllControls();
    EXPECT_EQ(panel->GetControlCount(), 0);
    EXPECT_EQ(panel->GetComponentCount(), 0);
    panel->CreateControls();
    EXPECT_EQ(panel->GetControlCount(), 3);

    delete edit;
    EXPECT_EQ(panel->Linked, nullptr);
    MouseClick(key(*panel, 0));
}

TEST(KeyPanel, AKeyPanelOnAFormStreamsWithoutItsButtonsAndRebuildsThem) {
    TForm form(nullptr);
    form.SetName("HostForm");
    auto* panel = new TKeyPanel(&form);
    panel->SetName("Keys");
    panel->SetParent(&form);
    auto* edit = new TEdit(&form);
    edit->SetName("Target");
    edit->SetParent(&form);
    panel->SetLinked(edit);
    panel->SetBounds(0, 0, 300, 60);
    TMemoryStream stream;
    WriteComponent(&stream, &form);

    RegisterClass(TKeyPanel::StaticClass());
    TForm copy(nullptr);
    stream.SetPosition(0);
    ReadComponent(&stream, &copy);
    auto* read = dynamic_cast<TKeyPanel*>(copy.FindComponent("Keys"));
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->GetControlCount(), 3); // built by the constructor, not read
    EXPECT_EQ(read->GetCaption(), "");
    EXPECT_EQ(read->GetBevelOuter(), bvNone);
    EXPECT_EQ(read->Linked, copy.FindComponent("Target"));
    EXPECT_EQ(key(*read, 2)->BoundsRect(), Bounds(200, 0, 100, 60));
    UnRegisterClass(TKeyPanel::StaticClass());
}

TEST(KeyPanel, UnknownClassesAndPropertiesAreNamedInTheError) {
    RegisterVclClasses();
    auto read = [](const std::string& text) {
        TMemoryStream in, bin;
        in.WriteBuffer(text.data(), static_cast<int32_t>(text.size()));
        in.SetPosition(0);
        ObjectTextToBinary(&in, &bin);
        bin.SetPosition(0);
        TForm form(nullptr);
        try {
            ReadComponent(&bin, &form);
        } catch (const Exception& e) {
            return std::string(e.Message());
        }
        return std::string();
    };
    std::string unknownProp =
        read("object F: TForm\n  object P: TPanel\n    Bevel = 3\n  end\nend\n");
    EXPECT_NE(unknownProp.find("Bevel"), std::string::npos) << unknownProp;
    std::string unknownClass = read("object F: TForm\n  object P: TFancyPanel\n  end\nend\n");
    EXPECT_NE(unknownClass.find("TFancyPanel"), std::string::npos) << unknownClass;
    std::string badValue =
        read("object F: TForm\n  object P: TPanel\n    BevelOuter = bvDeep\n  end\nend\n");
    EXPECT_NE(badValue.find("BevelOuter"), std::string::npos) << badValue;
}
