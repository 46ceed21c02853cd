#include "Quimbel.h"

#include "rtl/CodePage.h"

namespace quimbel {

const std::vector<TBuiltInLayout>& BuiltInLayouts() {
    // Generated from the layouts folder's list, each with the code page its JSON file records.
    static const std::vector<TBuiltInLayout> layouts = {
#include "BuiltInLayouts.inc"
    };
    return layouts;
}

vcl::AnsiString BuiltInLayoutNames() {
    vcl::AnsiString names;
    for (const TBuiltInLayout& layout : BuiltInLayouts())
        names += (names.empty() ? "" : ", ") + vcl::AnsiString(layout.Name);
    return names;
}

int BuiltInLayoutCodePage(const vcl::AnsiString& Name) {
    for (const TBuiltInLayout& layout : BuiltInLayouts())
        if (vcl::SameText(Name, layout.Name)) return layout.CodePage;
    return 0;
}

void SelectCodePage(const vcl::AnsiString* Argument, const vcl::AnsiString& Layout) {
    if (Argument)
        vcl::SetAnsiCodePageFromArgument(*Argument);
    else if (const int page = BuiltInLayoutCodePage(Layout))
        vcl::SetAnsiCodePage(page);
}

void LoadLayoutResource(TKeyCollection* Keys, const vcl::AnsiString& Name) {
    TLayoutRead read = TLayoutRead::FromResource(Name);
    read.HandOver(Keys);
    read.RaiseError();
}

} // namespace quimbel
