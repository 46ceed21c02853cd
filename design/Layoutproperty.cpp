#include "design/Layoutproperty.h"

#include "design/Layoutf.h"
#include "design/QuimbelDesignConsts.h"
#include "rtl/CodePage.h"
#include "runtime/Quimbel.h"
#include "vcl/Dialogs.h"

#include <memory>

namespace quimbel {

VCL_DEFINE_PLAIN_CLASS(TLayoutProperty, designide::TPropertyEditor)
VCL_DEFINE_PLAIN_CLASS(TLinkedControlProperty, designide::TComponentProperty)
VCL_DEFINE_PLAIN_CLASS(TKeyboardEditor, designide::TComponentEditor)

namespace {

void showLayoutDesigner(TKeyCollection* Collection) {
    std::unique_ptr<TLayoutForm> Form(new TLayoutForm(nullptr, Collection));
    Form->ShowModal();
}

// A dialog for layout files, with Option.
void prepareLayoutDialog(vcl::TOpenDialog& Dialog, vcl::TOpenOption Option) {
    Dialog.SetFilter(vcl::LoadResString(SLayoutFilter));
    Dialog.SetDefaultExt("kly");
    Dialog.SetOptions(Dialog.GetOptions() + vcl::TOpenOptions{Option});
}

} // namespace

void TLayoutProperty::Edit() {
    inherited::Edit();
    auto* Collection = reinterpret_cast<TKeyCollection*>(static_cast<intptr_t>(GetOrdValue()));
    const TLayoutBytes before = LayoutBytes(*Collection);
    showLayoutDesigner(Collection);
    // A layout that leaves the window as it came in is no change of the form: the keyboard
    // only gets its buttons back.
    auto* keyboard = dynamic_cast<TKeyboard*>(GetComponent(0));
    if (designide::EnvironmentOptions().SafeEditingInDesigners && keyboard && keyboard->GetKeys() == Collection &&
        LayoutBytes(*Collection) == before) {
        keyboard->SetKeys(Collection);
        return;
    }
    SetOrdValue(reinterpret_cast<intptr_t>(Collection));
}

designide::TPropertyAttributes TLayoutProperty::GetAttributes() {
    return designide::TPropertyAttributes{designide::paDialog};
}

vcl::AnsiString TLayoutProperty::GetValue() {
    return "TKeyCollection";
}

void TLinkedControlProperty::GetValues(const designide::TGetStrProc& Proc) {
    if (!Designer()) return;
    vcl::TComponent* root = Designer()->GetRoot();
    TComponentProperty::GetValues([&](const vcl::AnsiString& Name) {
        vcl::TComponent* c = Designer()->GetComponent(Name);
        if (c == root) return;
        for (int i = 0; i < PropCount(); ++i)
            if (c == GetComponent(i)) return;
        Proc(Name);
    });
}

vcl::AnsiString TKeyboardEditor::GetVerb(int Index) {
    static const vcl::TResStringRec* const verbs[VerbCount] = {&SEditKeysVerb, &SBuiltInVerb,
                                                               &SLoadFileVerb, &SSaveFileVerb};
    return Index >= 0 && Index < VerbCount ? vcl::LoadResString(*verbs[Index]) : vcl::AnsiString();
}

void TKeyboardEditor::GetSubVerbs(int Index, const designide::TGetStrProc& Proc) {
    if (Index != BuiltInVerb) return;
    for (const TBuiltInLayout& layout : BuiltInLayouts())
        Proc(layout.Name);
}

void TKeyboardEditor::ExecuteVerb(int Index, int SubIndex) {
    auto* keyboard = static_cast<TKeyboard*>(GetComponent());
    switch (Index) {
    case EditKeysVerb:
        showLayoutDesigner(keyboard->GetKeys());
        keyboard->SetKeys(keyboard->GetKeys());
        break;
    case BuiltInVerb: {
        const auto& layouts = BuiltInLayouts();
        if (SubIndex < 0 || SubIndex >= static_cast<int>(layouts.size())) return;
        const TBuiltInLayout& layout = layouts[static_cast<size_t>(SubIndex)];
        keyboard->LoadLayoutResource(layout.Name);
        vcl::SetAnsiCodePage(layout.CodePage);
        designide::EnvironmentOptions().ChosenCodePage = layout.CodePage;
        break;
    }
    case LoadFileVerb: {
        vcl::TOpenDialog dialog(nullptr);
        prepareLayoutDialog(dialog, vcl::ofFileMustExist);
        if (!dialog.Execute()) return;
        keyboard->LoadKeyLayout(dialog.GetFileName());
        keyboard->SetKeys(keyboard->GetKeys()); // the buttons, laid out
        break;
    }
    case SaveFileVerb: {
        vcl::TSaveDialog dialog(nullptr);
        prepareLayoutDialog(dialog, vcl::ofOverwritePrompt);
        if (dialog.Execute()) keyboard->SaveKeyLayout(dialog.GetFileName());
        return; // the form is unchanged
    }
    default:
        return;
    }
    Modified();
}

} // namespace quimbel
