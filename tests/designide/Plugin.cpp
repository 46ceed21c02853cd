// A package loaded by the tests: a component and a property editor that live in the package and
// must be gone from every registry once it is unloaded.

#include "designide/DesignEditors.h"

namespace {

class TPluginWidget : public vcl::TComponent {
    VCL_DECLARE_CLASS(TPluginWidget, vcl::TComponent)
public:
    explicit TPluginWidget(vcl::TComponent* AOwner) : vcl::TComponent(AOwner) {}
};

class TPluginOther : public TPluginWidget {
    VCL_DECLARE_CLASS(TPluginOther, TPluginWidget)
public:
    explicit TPluginOther(vcl::TComponent* AOwner) : TPluginWidget(AOwner) {}
};

class TPluginCaptionProperty : public designide::TStringProperty {
    VCL_DECLARE_CLASS(TPluginCaptionProperty, designide::TStringProperty)
};

VCL_DEFINE_PLAIN_CLASS(TPluginWidget, vcl::TComponent)
VCL_DEFINE_PLAIN_CLASS(TPluginOther, TPluginWidget)
VCL_DEFINE_PLAIN_CLASS(TPluginCaptionProperty, designide::TStringProperty)

} // namespace

extern "C" __attribute__((visibility("default"))) void PluginRegister() {
    designide::RegisterComponents("Plugin", {TPluginWidget::StaticClass()});
    designide::RegisterComponents("Host", {TPluginOther::StaticClass()});
    designide::RegisterPropertyEditor(designide::KindTypeInfo(vcl::tkString), nullptr, "Caption",
                                      TPluginCaptionProperty::StaticClass());
}
