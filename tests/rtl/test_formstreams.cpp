#include "rtl/FormStreams.h"
#include "rtl/Resources.h"
#include "rtl/Strings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

using namespace vcl;

namespace {

std::vector<std::string> g_events;

enum TFsAlign { alNone, alTop, alClient };
const TEnumInfo FsAlignInfo{"TAlign", {"alNone", "alTop", "alClient"}};
enum TFsStyle { fsBold, fsItalic, fsUnderline };
const TEnumInfo FsStyleInfo{"TFontStyle", {"fsBold", "fsItalic", "fsUnderline"}};
using TFsStyles = Set<TFsStyle>;
const TIdentMap FsColors{{{0x0000FF, "clRed"}, {static_cast<int32_t>(0x8000000F), "clBtnFace"}}};

class TFsFont : public TPersistent {
    VCL_DECLARE_CLASS(TFsFont, TPersistent)
public:
    AnsiString Name;
    int Size = 8;
    TFsStyles Style;
};
VCL_DEFINE_CLASS(TFsFont, TPersistent, c) {
    c.Str("Name", &TFsFont::Name, &TFsFont::Name);
    c.Int("Size", &TFsFont::Size, &TFsFont::Size).Default(8);
    c.SetOf("Style", FsStyleInfo, &TFsFont::Style, &TFsFont::Style);
}

// Stores its data only through DefineProperties, as a key collection does.
class TFsKeys : public TPersistent {
    VCL_DECLARE_CLASS(TFsKeys, TPersistent)
public:
    std::vector<int> Items;
    std::vector<uint8_t> Blob;
    void DefineProperties(TFiler* Filer) override {
        TPersistent::DefineProperties(Filer);
        Filer->DefineProperty(
            "Items",
            [this](TReader* r) {
                r->ReadListBegin();
                while (!r->EndOfList())
                    Items.push_back(r->ReadInteger());
                r->ReadListEnd();
            },
            [this](TWriter* w) {
                w->WriteListBegin();
                for (int i : Items)
                    w->WriteInteger(i);
                w->WriteListEnd();
            },
            true);
        Filer->DefineBinaryProperty(
            "Blob",
            [this](TStream* s) {
                Blob.resize(static_cast<size_t>(s->GetSize()));
                s->ReadBuffer(Blob.data(), static_cast<int32_t>(Blob.size()));
            },
            [this](TStream* s) { s->WriteBuffer(Blob.data(), static_cast<int32_t>(Blob.size())); },
            !Blob.empty());
    }
};
VCL_DEFINE_PLAIN_CLASS(TFsKeys, TPersistent)

class TFsControl : public TComponent {
    VCL_DECLARE_CLASS(TFsControl, TComponent)
public:
    explicit TFsControl(TComponent* AOwner) : TComponent(AOwner) {}
    ~TFsControl() override {
        for (TFsControl* c : Children)
            c->Parent = nullptr;
        if (Parent)
            Parent->Children.erase(
                std::find(Parent->Children.begin(), Parent->Children.end(), this));
        SetLink(nullptr);
    }
    void SetParentComponent(TComponent* Value) override {
        Parent = As<TFsControl>(Value);
        if (Parent) Parent->Children.push_back(this);
    }
    TComponent* GetParentComponent() const override { return Parent; }
    bool HasParent() const override { return true; }
    void GetChildren(const std::function<void(TComponent*)>& Proc, TComponent* Root) override {
        for (TFsControl* c : Children)
            if (c->GetOwner() == Root) Proc(c);
    }
    void Notification(TComponent* AComponent, TOperation Operation) override {
        TComponent::Notification(AComponent, Operation);
        if (Operation == opRemove && AComponent == Link) Link = nullptr;
    }
    void Loaded() override {
        TComponent::Loaded();
        g_events.push_back("Loaded " + GetName() + (Link ? " link=" + Link->GetName() : "") +
                           (ComponentState().Contains(csLoading) ? " loading" : ""));
    }
    void SetLeft(int v) {
        Left = v;
        const TComponentState& s = ComponentState();
        g_events.push_back("SetLeft " + GetName() + (s.Contains(csLoading) ? " loading" : "") +
                           (s.Contains(csReading) ? " reading" : ""));
    }
    void SetLink(TFsControl* v) {
        if (Link) Link->RemoveFreeNotification(this);
        Link = v;
        if (Link) Link->FreeNotification(this);
    }
    TFsFont* GetFont() const { return font_.get(); }
    TStrings* GetLines() const { return lines_.get(); }
    TFsKeys* GetKeys() const { return keys_.get(); }

    int Left = 0;
    AnsiString Caption;
    TFsAlign Align = alNone;
    bool Visible = true;
    int Color = static_cast<int32_t>(0x8000000F);
    TFsStyles Anchors;
    double Ratio = 0;
    TFsControl* Link = nullptr;
    TNotifyEvent OnClick;
    TFsControl* Parent = nullptr;
    std::vector<TFsControl*> Children;

private:
    std::unique_ptr<TFsFont> font_ = std::make_unique<TFsFont>();
    std::unique_ptr<TStringList> lines_ = std::make_unique<TStringList>();
    std::unique_ptr<TFsKeys> keys_ = std::make_unique<TFsKeys>();
};
VCL_DEFINE_CLASS(TFsControl, TComponent, c) {
    c.Int("Left", &TFsControl::Left, &TFsControl::SetLeft).Default(0);
    c.Str("Caption", &TFsControl::Caption, &TFsControl::Caption);
    c.Enum("Align", FsAlignInfo, &TFsControl::Align, &TFsControl::Align).Default(alNone);
    c.Bool("Visible", &TFsControl::Visible, &TFsControl::Visible).Default(true);
    c.Int("Color", &TFsControl::Color, &TFsControl::Color)
        .Idents(FsColors)
        .Default(static_cast<int32_t>(0x8000000F));
    c.SetOf("Anchors", FsStyleInfo, &TFsControl::Anchors, &TFsControl::Anchors);
    c.Float("Ratio", &TFsControl::Ratio, &TFsControl::Ratio);
    c.Object<TFsFont>("Font", &TFsControl::GetFont);
    c.Object<TStrings>("Lines", &TFsControl::GetLines);
    c.Object<TFsKeys>("Keys", &TFsControl::GetKeys);
    c.Object<TFsControl>("Link", &TFsControl::Link, &TFsControl::SetLink);
    c.Event("OnClick", &TFsControl::OnClick);
}

class TFsButton : public TFsControl {
    VCL_DECLARE_CLASS(TFsButton, TFsControl)
public:
    explicit TFsButton(TComponent* AOwner) : TFsControl(AOwner) {}
    TEvent<void(TObject*, int)> OnMove;
};
VCL_DEFINE_CLASS(TFsButton, TFsControl, c) {
    c.Event("OnMove", &TFsButton::OnMove);
}

class TFsForm : public TFsControl {
    VCL_DECLARE_CLASS(TFsForm, TFsControl)
public:
    explicit TFsForm(TComponent* AOwner) : TFsControl(AOwner) {}
    void FormClick(TObject* Sender) {
        g_events.push_back("FormClick " + As<TComponent>(Sender)->GetName());
    }
    void Button1Click(TObject* Sender) {
        g_events.push_back("Button1Click " + As<TComponent>(Sender)->GetName());
    }
    TFsControl* Panel1 = nullptr;
    TFsButton* Button1 = nullptr;
};
VCL_DEFINE_CLASS(TFsForm, TFsControl, c) {
    c.Field("Panel1", &TFsForm::Panel1);
    c.Field("Button1", &TFsForm::Button1);
    c.Method<TNotifyEvent>("FormClick", &TFsForm::FormClick);
    c.Method<TNotifyEvent>("Button1Click", &TFsForm::Button1Click);
}

std::unique_ptr<TMemoryStream> binaryOf(const std::string& text) {
    TMemoryStream in;
    in.WriteBuffer(text.data(), static_cast<int32_t>(text.size()));
    in.SetPosition(0);
    auto out = std::make_unique<TMemoryStream>();
    ObjectTextToBinary(&in, out.get());
    out->SetPosition(0);
    return out;
}

std::string textOf(TComponent* root) {
    TMemoryStream bin, text;
    WriteComponent(&bin, root);
    bin.SetPosition(0);
    ObjectBinaryToText(&bin, &text);
    std::vector<uint8_t> b = text.Bytes();
    return std::string(b.begin(), b.end());
}

// Reads text into a fresh form and returns the EReadError message, or "" on success.
std::string readError(const std::string& text, TFsForm& form) {
    try {
        ReadComponent(binaryOf(text).get(), &form);
    } catch (const Exception& e) {
        return e.Message();
    }
    return "";
}

const std::string kForm = R"(object Form1: TFsForm
  Caption = 'Main'
  Align = alClient
  Visible = False
  Color = clRed
  Anchors = [fsBold, fsUnderline]
  Ratio = 0.250000000000000000
  Font.Name = 'Arial'
  Font.Size = 12
  Font.Style = [fsItalic]
  Lines.Strings = (
    'first'
    'second')
  Keys.Items = (
    1
    300)
  Keys.Blob = {DEADBEEF}
  OnClick = FormClick
  object Panel1: TFsControl
    Left = 10
    Color = 305419896
    Keys.Items = ()
    Link = Button1
    object Button1: TFsButton
      Left = -3
      Keys.Items = ()
      Link = Panel1
      OnClick = Button1Click
    end
  end
  object Extra: TFsControl
    Keys.Items = ()
    Link = Owner
  end
end
)";

struct FormStreams : ::testing::Test {
    void SetUp() override {
        g_events.clear();
        RegisterClasses(
            {TFsControl::StaticClass(), TFsButton::StaticClass(), TFsForm::StaticClass()});
    }
};

} // namespace

TEST_F(FormStreams, ReadBindsFieldsHandlersReferencesAndCallsLoadedInOrder) {
    TFsForm form(nullptr);
    ReadComponent(binaryOf(kForm).get(), &form);

    EXPECT_EQ(form.GetName(), "Form1");
    EXPECT_EQ(form.Caption, "Main");
    EXPECT_EQ(form.Align, alClient);
    EXPECT_FALSE(form.Visible);
    EXPECT_EQ(form.Color, 0xFF);
    EXPECT_EQ(form.Anchors, (TFsStyles{fsBold, fsUnderline}));
    EXPECT_EQ(form.Ratio, 0.25);
    EXPECT_EQ(form.GetFont()->Name, "Arial");
    EXPECT_EQ(form.GetFont()->Size, 12);
    EXPECT_EQ(form.GetFont()->Style, TFsStyles{fsItalic});
    EXPECT_EQ(form.GetLines()->GetText(), "first\r\nsecond\r\n");
    EXPECT_EQ(form.GetKeys()->Items, (std::vector<int>{1, 300}));
    EXPECT_EQ(form.GetKeys()->Blob, (std::vector<uint8_t>{0xDE, 0xAD, 0xBE, 0xEF}));

    ASSERT_EQ(form.ComponentCount(), 3);
    ASSERT_NE(form.Panel1, nullptr);
    ASSERT_NE(form.Button1, nullptr);
    EXPECT_EQ(form.Panel1->GetOwner(), &form);
    EXPECT_EQ(form.Button1->GetOwner(), &form);
    EXPECT_EQ(form.Panel1->Parent, &form);
    EXPECT_EQ(form.Button1->Parent, form.Panel1);
    EXPECT_EQ(form.Button1->Left, -3);
    EXPECT_EQ(form.Panel1->Color, 305419896);
    // A reference ahead of its target resolves once the whole stream is read.
    EXPECT_EQ(form.Panel1->Link, form.Button1);
    EXPECT_EQ(form.Button1->Link, form.Panel1);
    EXPECT_EQ(As<TFsControl>(form.FindComponent("Extra"))->Link, &form);

    ASSERT_TRUE(form.OnClick.Assigned());
    EXPECT_EQ(form.OnClick.MethodName(), "FormClick");
    form.Button1->OnClick(form.Button1);
    form.OnClick(&form);

    std::vector<std::string> expected{"SetLeft Panel1 loading reading",
                                      "SetLeft Button1 loading reading",
                                      "Loaded Form1",
                                      "Loaded Panel1 link=Button1",
                                      "Loaded Button1 link=Panel1",
                                      "Loaded Extra link=Form1",
                                      "Button1Click Button1",
                                      "FormClick Form1"};
    EXPECT_EQ(g_events, expected);
    const TComponentState streaming{csLoading, csReading, csWriting};
    for (int i = 0; i < form.ComponentCount(); ++i)
        EXPECT_TRUE((form.Components(i)->ComponentState() * streaming).Empty());
    EXPECT_TRUE((form.ComponentState() * streaming).Empty());
}

TEST_F(FormStreams, WriteGivesBackTheSameText) {
    TFsForm form(nullptr);
    ReadComponent(binaryOf(kForm).get(), &form);
    EXPECT_EQ(textOf(&form), kForm);
}

TEST_F(FormStreams, WriteOmitsDefaultsAndHandlersWithoutName) {
    TFsForm form(nullptr);
    form.SetName("Form1");
    form.OnClick = [](TObject*) {};
    auto* b = new TFsButton(&form);
    b->SetName("B");
    b->SetParentComponent(&form);
    b->Color = 0x123;
    b->Align = alTop;
    EXPECT_EQ(textOf(&form), "object Form1: TFsForm\n  Keys.Items = ()\n"
                             "  object B: TFsButton\n    Align = alTop\n    Color = 291\n"
                             "    Keys.Items = ()\n  end\nend\n");
}

TEST_F(FormStreams, RootIsCreatedByClassNameWithOwnerAndParent) {
    TFsControl owner(nullptr);
    TFsControl parent(nullptr);
    TComponent* root = ReadComponent(binaryOf(kForm).get(), nullptr, &owner, &parent);
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->ClassType(), TFsForm::StaticClass());
    EXPECT_EQ(root->GetOwner(), &owner);
    EXPECT_EQ(As<TFsForm>(root)->Parent, &parent);
    EXPECT_EQ(As<TFsForm>(root)->Button1->Link, As<TFsForm>(root)->Panel1);
}

TEST_F(FormStreams, BadStreamsRaiseNamedErrorsAndLeaveNothingBehind) {
    struct Case {
        std::string replace, with, message;
    };
    std::vector<Case> cases{
        {"      Left = -3\n", "      Wheels = 4\n",
         "Error reading Button1.Wheels: Property Wheels does not exist"},
        {"  Font.Size = 12\n", "  Font.Weight = 12\n",
         "Error reading Form1.Font.Weight: Property Weight does not exist"},
        {"  Font.Size = 12\n", "  Fnt.Size = 12\n",
         "Error reading Form1.Fnt.Size: Property Fnt does not exist"},
        {"  Font.Size = 12\n", "  Caption.Size = 12\n",
         "Error reading Form1.Caption.Size: Invalid property path"},
        {"  Keys.Items = (\n    1\n    300)\n", "  Keys.Items = (\n    1\n    'x')\n",
         "Error reading Form1.Keys.Items: Integer value expected"},
        {"    Left = 10\n", "    Left = 'ten'\n",
         "Error reading Panel1.Left: Integer value expected"},
        {"  Align = alClient\n", "  Align = alWrong\n",
         "Error reading Form1.Align: Invalid property element: alWrong"},
        {"  Color = clRed\n", "  Color = clPurple\n",
         "Error reading Form1.Color: Invalid property element: clPurple"},
        {"  Visible = False\n", "  Visible = 0\n",
         "Error reading Form1.Visible: Identifier value expected"},
        {"  Font.Style = [fsItalic]\n", "  Font.Style = [fsHuge]\n",
         "Error reading Form1.Font.Style: Invalid property element: fsHuge"},
        {"  Font.Name = 'Arial'\n", "  Font = 'Arial'\n",
         "Error reading Form1.Font: Invalid property value"},
        {"      OnClick = Button1Click\n", "      OnClick = Nowhere\n",
         "Error reading Button1.OnClick: Method Nowhere not found"},
        {"      OnClick = Button1Click\n", "      OnMove = Button1Click\n",
         "Error reading Button1.OnMove: Method Button1Click has an incompatible parameter list"},
        {"    Link = Button1\n", "    Link = Ghost\n",
         "Error reading Panel1.Link: Component Ghost not found"},
        {"object Button1: TFsButton", "object Button1: TNope", "Class TNope not found"},
        {"object Extra: TFsControl", "object Panel1: TFsControl",
         "A component named Panel1 already exists"},
    };
    for (const Case& c : cases) {
        std::string text = kForm;
        size_t at = text.find(c.replace);
        ASSERT_NE(at, std::string::npos) << c.replace;
        text.replace(at, c.replace.size(), c.with);
        g_events.clear();
        TFsForm form(nullptr);
        EXPECT_EQ(readError(text, form), c.message);
        // The components this read made are freed and the fields bound to them cleared.
        EXPECT_EQ(form.ComponentCount(), 0) << c.message;
        EXPECT_EQ(form.Panel1, nullptr);
        EXPECT_EQ(form.Button1, nullptr);
        EXPECT_FALSE(form.ComponentState().Contains(csLoading));
        EXPECT_FALSE(form.ComponentState().Contains(csReading));
        EXPECT_TRUE(std::none_of(g_events.begin(), g_events.end(),
                                 [](const std::string& e) { return e.rfind("Loaded", 0) == 0; }));
    }
}

TEST_F(FormStreams, EveryTruncationFailsWithoutLeaks) {
    std::unique_ptr<TMemoryStream> full = binaryOf(kForm);
    std::vector<uint8_t> bytes = full->Bytes();
    for (size_t n = 0; n < bytes.size(); ++n) {
        TMemoryStream cut;
        cut.WriteBuffer(bytes.data(), static_cast<int32_t>(n));
        cut.SetPosition(0);
        TFsControl owner(nullptr);
        EXPECT_THROW(ReadComponent(&cut, nullptr, &owner), Exception) << n;
        EXPECT_EQ(owner.ComponentCount(), 0);
    }
}

TEST_F(FormStreams, ReaderLeavesTheStreamAfterTheForm) {
    std::unique_ptr<TMemoryStream> s = binaryOf(kForm);
    int64_t size = s->GetSize();
    s->Seek(0, soEnd);
    s->WriteBuffer("tail", 4);
    s->SetPosition(0);
    TFsForm form(nullptr);
    ReadComponent(s.get(), &form);
    EXPECT_EQ(s->GetPosition(), size);
}

TEST_F(FormStreams, FormResourceIsFoundByName) {
    std::unique_ptr<TMemoryStream> s = binaryOf(kForm);
    static std::vector<uint8_t> data;
    data = s->Bytes();
    RegisterResource("RCDATA", "TFSFORM", data.data(), data.size());
    TFsForm form(nullptr);
    EXPECT_TRUE(ReadComponentRes("TFsForm", &form));
    EXPECT_EQ(form.Caption, "Main");
    TFsForm other(nullptr);
    EXPECT_FALSE(ReadComponentRes("TNOFORM", &other));
}

TEST_F(FormStreams, ReferenceToTheRootByItsNameOrAsOwner) {
    for (const char* ref : {"Form1", "Owner", "form1"}) {
        std::string text = kForm;
        text.replace(text.find("Link = Owner"), 12, std::string("Link = ") + ref);
        TFsForm form(nullptr);
        ReadComponent(binaryOf(text).get(), &form);
        EXPECT_EQ(As<TFsControl>(form.FindComponent("Extra"))->Link, &form) << ref;
    }
}
