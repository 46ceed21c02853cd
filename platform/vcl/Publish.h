#pragma once
// Building blocks for the published metadata of the controls: the properties most controls
// publish, with the classic defaults and storing rules. Used in the units' VCL_DEFINE_CLASS bodies.

#include "vcl/Controls.h"
#include "vcl/Menus.h"

namespace vcl::publish {

template <class T> void Action(TClassBuilder<T>& c) {
    c.template Object<TBasicAction>("Action", &T::GetAction, &T::SetAction);
}
template <class T> void Align(TClassBuilder<T>& c) {
    c.Enum("Align", TAlignInfo, &T::GetAlign, &T::SetAlign).Default(alNone);
}
template <class T> void Anchors(TClassBuilder<T>& c) {
    c.SetOf("Anchors", TAnchorKindInfo, &T::GetAnchors, &T::SetAnchors)
        .Default(static_cast<int64_t>(TAnchors{akLeft, akTop}.Mask()));
}
template <class T> void Caption(TClassBuilder<T>& c, const char* name = "Caption") {
    c.Str(name, &T::GetCaption, &T::SetCaption).Stored([](const T* o) {
        return o->IsCaptionStored();
    });
}
template <class T> void Color(TClassBuilder<T>& c, TColor def) {
    c.Int("Color", &T::GetColor, &T::SetColor)
        .Idents(ColorIdents)
        .Default(def)
        .Stored([](const T* o) { return o->IsColorStored(); });
}
template <class T> void Constraints(TClassBuilder<T>& c) {
    c.template Object<TSizeConstraints>("Constraints", &T::GetConstraints);
}
template <class T> void Ctl3D(TClassBuilder<T>& c) {
    c.Bool("Ctl3D", &T::GetCtl3D, &T::SetCtl3D).Stored([](const T* o) {
        return !o->GetParentCtl3D();
    });
}
template <class T> void ParentCtl3D(TClassBuilder<T>& c) {
    c.Bool("ParentCtl3D", &T::GetParentCtl3D, &T::SetParentCtl3D).Default(true);
}
template <class T> void Enabled(TClassBuilder<T>& c) {
    c.Bool("Enabled", &T::GetEnabled, &T::SetEnabled).Default(true).Stored([](const T* o) {
        return o->IsEnabledStored();
    });
}
template <class T> void Font(TClassBuilder<T>& c) {
    c.template Object<vcl::TFont>("Font", &T::GetFont).Stored([](const T* o) {
        return o->IsFontStored();
    });
}
template <class T> void ParentColor(TClassBuilder<T>& c, bool def) {
    c.Bool("ParentColor", &T::GetParentColor, &T::SetParentColor).Default(def);
}
template <class T> void ParentFont(TClassBuilder<T>& c) {
    c.Bool("ParentFont", &T::GetParentFont, &T::SetParentFont).Default(true);
}
template <class T> void ParentShowHint(TClassBuilder<T>& c) {
    c.Bool("ParentShowHint", &T::GetParentShowHint, &T::SetParentShowHint).Default(true);
}
template <class T> void PopupMenu(TClassBuilder<T>& c) {
    c.template Object<TPopupMenu>("PopupMenu", &T::GetPopupMenu, &T::SetPopupMenu);
}
template <class T> void ShowHint(TClassBuilder<T>& c) {
    c.Bool("ShowHint", &T::GetShowHint, &T::SetShowHint).Stored([](const T* o) {
        return o->IsShowHintStored();
    });
}
template <class T> void TabOrder(TClassBuilder<T>& c) {
    c.Int("TabOrder", &T::GetTabOrder, &T::SetTabOrder).Default(-1);
}
template <class T> void TabStop(TClassBuilder<T>& c, bool def) {
    c.Bool("TabStop", &T::GetTabStop, &T::SetTabStop).Default(def);
}
template <class T> void Visible(TClassBuilder<T>& c) {
    c.Bool("Visible", &T::GetVisible, &T::SetVisible).Default(true).Stored([](const T* o) {
        return o->IsVisibleStored();
    });
}
template <class T> void MouseEvents(TClassBuilder<T>& c) {
    c.Event("OnMouseDown", &T::OnMouseDown);
    c.Event("OnMouseMove", &T::OnMouseMove);
    c.Event("OnMouseUp", &T::OnMouseUp);
}
template <class T> void WinEvents(TClassBuilder<T>& c) {
    c.Event("OnEnter", &T::OnEnter);
    c.Event("OnExit", &T::OnExit);
    c.Event("OnKeyDown", &T::OnKeyDown);
    c.Event("OnKeyPress", &T::OnKeyPress);
    c.Event("OnKeyUp", &T::OnKeyUp);
}

} // namespace vcl::publish
