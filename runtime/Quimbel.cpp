#include "Quimbel.h"

#include "rtl/CodePage.h"

namespace quimbel {

int BuiltInLayoutCodePage(const vcl::AnsiString& Name) {
    for (const TBuiltInLayout& layout : BuiltInLayouts)
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
