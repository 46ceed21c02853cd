#include "Quimbel.h"

#include "rtl/CodePage.h"
#include "rtl/Streams.h"

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
    Keys->DeleteAllKeys();
    vcl::TResourceStream stream(Name, LayoutResourceType);
    vcl::TReader reader(&stream, 1024);
    Keys->LoadKeys(&reader);
}

} // namespace quimbel
