#include "Gadget.h"

VCL_DEFINE_CLASS(TGadget, vcl::TComponent, c) {
    using namespace vcl;
    c.Int("Count", &TGadget::Count, &TGadget::Count);
    c.Int("Cursor", &TGadget::Cursor, &TGadget::Cursor).Idents(CursorIdents);
    c.Int("Color", &TGadget::Color, &TGadget::Color).Idents(ColorIdents);
    c.Enum("Align", TAlignInfo, &TGadget::Align, &TGadget::Align);
    c.Bool("Active", &TGadget::Active, &TGadget::Active);
    c.SetOf("Anchors", TAnchorKindInfo, &TGadget::Anchors, &TGadget::Anchors);
    c.Str("Caption", &TGadget::Caption, &TGadget::Caption);
    c.Float("Ratio", &TGadget::Ratio, &TGadget::Ratio);
    c.Object<TFont>("Font", &TGadget::GetFont);
    c.Object<TGadget>("Buddy", &TGadget::GetBuddy, &TGadget::SetBuddy);
    c.Event("OnChange", &TGadget::OnChange);
}

VCL_DEFINE_CLASS(TSuperGadget, TGadget, c) {
    c.Int("Extra", &TSuperGadget::Extra, &TSuperGadget::Extra);
}

VCL_DEFINE_CLASS(TGadgetForm, vcl::TForm, c) {
    c.Method<vcl::TNotifyEvent>("GadgetChange", &TGadgetForm::GadgetChange);
}
