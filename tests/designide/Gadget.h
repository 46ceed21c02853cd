#pragma once
// A component that publishes one property of every kind, and a designer that counts Modified.

#include "designide/DesignEditors.h"
#include "vcl/Controls.h"
#include "vcl/Forms.h"

class TGadget : public vcl::TComponent {
    VCL_DECLARE_CLASS(TGadget, vcl::TComponent)
public:
    explicit TGadget(vcl::TComponent* AOwner) : vcl::TComponent(AOwner) {}
    int Count = 0;
    int16_t Cursor = vcl::crDefault;
    vcl::TColor Color = vcl::clBtnFace;
    vcl::TAlign Align = vcl::alNone;
    bool Active = false;
    vcl::TAnchors Anchors{vcl::akLeft, vcl::akTop};
    vcl::AnsiString Caption;
    double Ratio = 0.5;
    vcl::TFont Font;
    TGadget* Buddy = nullptr;
    vcl::TNotifyEvent OnChange;

    vcl::TFont* GetFont() const { return const_cast<vcl::TFont*>(&Font); }
    TGadget* GetBuddy() const { return Buddy; }
    void SetBuddy(TGadget* Value) { Buddy = Value; }
};

// A gadget that only adds a property of its own.
class TSuperGadget : public TGadget {
    VCL_DECLARE_CLASS(TSuperGadget, TGadget)
public:
    explicit TSuperGadget(vcl::TComponent* AOwner) : TGadget(AOwner) {}
    int Extra = 0;
};

// The designed form of the tests: it has one published handler.
class TGadgetForm : public vcl::TForm {
    VCL_DECLARE_CLASS(TGadgetForm, vcl::TForm)
public:
    explicit TGadgetForm(vcl::TComponent* AOwner) : vcl::TForm(AOwner) {}
    int changes = 0;
    void GadgetChange(vcl::TObject*) { ++changes; }
};

struct TCountingDesigner : designide::IDesigner {
    vcl::TComponent* root = nullptr;
    int modified = 0;
    void Modified() override { ++modified; }
    vcl::TComponent* GetRoot() const override { return root; }
};
