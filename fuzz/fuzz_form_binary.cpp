// Reads arbitrary bytes as a binary form stream, once creating the root by class name and once
// into an existing form. A failed read must leave nothing behind; a successful one must write
// a stream that reads back and writes the same bytes again.

#include "rtl/FormStreams.h"
#include "rtl/Strings.h"

#include <algorithm>
#include <cstdlib>
#include <memory>

using namespace vcl;

namespace {

enum TFzAlign { alNone, alTop, alClient };
const TEnumInfo FzAlignInfo{"TAlign", {"alNone", "alTop", "alClient"}};
enum TFzStyle { fsBold, fsItalic, fsUnderline };
const TEnumInfo FzStyleInfo{"TFontStyle", {"fsBold", "fsItalic", "fsUnderline"}};
using TFzStyles = Set<TFzStyle>;
const TIdentMap FzColors{{{0x0000FF, "clRed"}, {static_cast<int32_t>(0x8000000F), "clBtnFace"}}};

class TFzFont : public TPersistent {
    VCL_DECLARE_CLASS(TFzFont, TPersistent)
public:
    AnsiString Name;
    int Size = 8;
    TFzStyles Style;
};
VCL_DEFINE_CLASS(TFzFont, TPersistent, c) {
    c.Str("Name", &TFzFont::Name, &TFzFont::Name);
    c.Int("Size", &TFzFont::Size, &TFzFont::Size).Default(8);
    c.SetOf("Style", FzStyleInfo, &TFzFont::Style, &TFzFont::Style);
}

class TFzKeys : public TPersistent {
    VCL_DECLARE_CLASS(TFzKeys, TPersistent)
public:
    std::vector<int> Items;
    std::vector<uint8_t> Blob;
    void DefineProperties(TFiler* Filer) override {
        Filer->DefineProperty(
            "Items",
            [this](TReader* r) {
                Items.clear();
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
            !Items.empty());
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
VCL_DEFINE_PLAIN_CLASS(TFzKeys, TPersistent)

class TFzControl : public TComponent {
    VCL_DECLARE_CLASS(TFzControl, TComponent)
public:
    explicit TFzControl(TComponent* AOwner) : TComponent(AOwner) {}
    ~TFzControl() override {
        for (TFzControl* c : Children)
            c->Parent = nullptr;
        detach();
        SetLink(nullptr);
    }
    void SetParentComponent(TComponent* Value) override {
        TFzControl* p = As<TFzControl>(Value);
        for (TFzControl* q = p; q; q = q->Parent)
            if (q == this)
                throw EComponentError("A control cannot have itself or a child as its parent");
        detach();
        Parent = p;
        if (Parent) Parent->Children.push_back(this);
    }
    TComponent* GetParentComponent() const override { return Parent; }
    bool HasParent() const override { return true; }
    void GetChildren(const std::function<void(TComponent*)>& Proc, TComponent* Root) override {
        for (TFzControl* c : std::vector<TFzControl*>(Children))
            if (c->GetOwner() == Root) Proc(c);
    }
    void Notification(TComponent* AComponent, TOperation Operation) override {
        TComponent::Notification(AComponent, Operation);
        if (Operation == opRemove && AComponent == Link) Link = nullptr;
    }
    void SetLink(TFzControl* v) {
        if (Link) Link->RemoveFreeNotification(this);
        Link = v;
        if (Link) Link->FreeNotification(this);
    }
    TFzFont* GetFont() const { return font_.get(); }
    TStrings* GetLines() const { return lines_.get(); }
    TFzKeys* GetKeys() const { return keys_.get(); }

    int Left = 0;
    AnsiString Caption;
    TFzAlign Align = alNone;
    bool Visible = true;
    int Color = static_cast<int32_t>(0x8000000F);
    TFzStyles Anchors;
    double Ratio = 0;
    TFzControl* Link = nullptr;
    TNotifyEvent OnClick;
    TEvent<void(TObject*, int)> OnMove;
    TFzControl* Parent = nullptr;
    std::vector<TFzControl*> Children;

private:
    void detach() {
        if (Parent)
            Parent->Children.erase(
                std::find(Parent->Children.begin(), Parent->Children.end(), this));
        Parent = nullptr;
    }
    std::unique_ptr<TFzFont> font_ = std::make_unique<TFzFont>();
    std::unique_ptr<TStringList> lines_ = std::make_unique<TStringList>();
    std::unique_ptr<TFzKeys> keys_ = std::make_unique<TFzKeys>();
};
VCL_DEFINE_CLASS(TFzControl, TComponent, c) {
    c.Int("Left", &TFzControl::Left, &TFzControl::Left).Default(0);
    c.Str("Caption", &TFzControl::Caption, &TFzControl::Caption);
    c.Enum("Align", FzAlignInfo, &TFzControl::Align, &TFzControl::Align).Default(alNone);
    c.Bool("Visible", &TFzControl::Visible, &TFzControl::Visible).Default(true);
    c.Int("Color", &TFzControl::Color, &TFzControl::Color)
        .Idents(FzColors)
        .Default(static_cast<int32_t>(0x8000000F));
    c.SetOf("Anchors", FzStyleInfo, &TFzControl::Anchors, &TFzControl::Anchors);
    c.Float("Ratio", &TFzControl::Ratio, &TFzControl::Ratio);
    c.Object<TFzFont>("Font", &TFzControl::GetFont);
    c.Object<TStrings>("Lines", &TFzControl::GetLines);
    c.Object<TFzKeys>("Keys", &TFzControl::GetKeys);
    c.Object<TFzControl>("Link", &TFzControl::Link, &TFzControl::SetLink);
    c.Event("OnClick", &TFzControl::OnClick);
    c.Event("OnMove", &TFzControl::OnMove);
}

class TFzForm : public TFzControl {
    VCL_DECLARE_CLASS(TFzForm, TFzControl)
public:
    explicit TFzForm(TComponent* AOwner) : TFzControl(AOwner) {}
    void Click(TObject*) {}
    void Move(TObject*, int) {}
    TFzControl* Panel1 = nullptr;
    TFzControl* Button1 = nullptr;
};
VCL_DEFINE_CLASS(TFzForm, TFzControl, c) {
    c.Field("Panel1", &TFzForm::Panel1);
    c.Field("Button1", &TFzForm::Button1);
    c.Method<TNotifyEvent>("Click", &TFzForm::Click);
    c.Method<TEvent<void(TObject*, int)>>("Move", &TFzForm::Move);
}

const bool registered = [] {
    RegisterClasses({TFzControl::StaticClass(), TFzForm::StaticClass()});
    return true;
}();

std::vector<uint8_t> write(TComponent* root) {
    TMemoryStream m;
    WriteComponent(&m, root);
    return m.Bytes();
}

TComponent* read(const std::vector<uint8_t>& bytes, TComponent* instance, TComponent* owner) {
    TMemoryStream m;
    if (!bytes.empty()) m.WriteBuffer(bytes.data(), static_cast<int32_t>(bytes.size()));
    m.SetPosition(0);
    return ReadComponent(&m, instance, owner);
}

// What was read writes a stream that reads back into an equal form.
void checkRoundTrip(TComponent* root) {
    try {
        std::vector<uint8_t> first = write(root);
        TFzControl owner(nullptr);
        TComponent* copy = read(first, nullptr, &owner);
        if (write(copy) != first) std::abort();
    } catch (const Exception&) {
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<uint8_t> bytes(data, data + size);
    {
        TFzControl owner(nullptr);
        try {
            TComponent* root = read(bytes, nullptr, &owner);
            if (root->GetOwner() != &owner) std::abort();
        } catch (const Exception&) {
            if (owner.ComponentCount() != 0) std::abort();
        }
        if (owner.ComponentCount() == 1) checkRoundTrip(owner.Components(0));
    }
    {
        TFzForm form(nullptr);
        bool ok = true;
        try {
            read(bytes, &form, nullptr);
        } catch (const Exception&) {
            ok = false;
            if (form.ComponentCount() != 0 || form.Panel1 || form.Button1 ||
                form.ComponentState().Contains(csLoading) ||
                form.ComponentState().Contains(csReading))
                std::abort();
        }
        if (ok) checkRoundTrip(&form);
    }
    return 0;
}
