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

const char* CodePageScript(int CodePage) {
    switch (CodePage) {
    case 874:
        return "Thai";
    case 1250:
        return "Central European";
    case 1251:
        return "Cyrillic";
    case 1252:
        return "Western European";
    case 1253:
        return "Greek";
    case 1254:
        return "Turkish";
    case 1255:
        return "Hebrew";
    case 1256:
        return "Arabic";
    case 1257:
        return "Baltic";
    case 1258:
        return "Vietnamese";
    default:
        return "";
    }
}

void LoadLayoutResource(TKeyCollection* Keys, const vcl::AnsiString& Name) {
    TLayoutRead read = TLayoutRead::FromResource(Name);
    read.HandOver(Keys);
    read.RaiseError();
}

} // namespace quimbel
