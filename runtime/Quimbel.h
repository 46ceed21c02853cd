#pragma once
// Package Quimbel: what the package carries besides its units, the built-in layouts.

#include "runtime/Keyboard.h"

#include <vector>

namespace quimbel {

// The built-in layouts are resources of type KLY named after them in capitals (US for "us"); names
// are not case-sensitive. Their strings are bytes of the ANSI code page recorded with each: an
// application activates it (vcl::SetAnsiCodePage) before it shows the layout.
inline const char* const LayoutResourceType = "KLY";

struct TBuiltInLayout {
    const char* Name;
    int CodePage;
};
// Every built-in layout with its code page, in the order of the layouts folder's list (us, de,
// numpad, ru, el, ...): the one list that programs show and accept.
const std::vector<TBuiltInLayout>& BuiltInLayouts();
// Their names joined by ", ", for help texts and messages.
vcl::AnsiString BuiltInLayoutNames();

// The code page of the built-in layout Name, or 0 when there is no such layout.
int BuiltInLayoutCodePage(const vcl::AnsiString& Name);

// Activates the code page a program's command line names (Argument, when not null; an unsupported
// one raises EConvertError), else the page of the built-in layout Layout, else leaves the active
// page as it is: captions and values are bytes of that page.
void SelectCodePage(const vcl::AnsiString* Argument, const vcl::AnsiString& Layout);

// Replaces the keys of Keys by the built-in layout Name, as LoadFromFile does with a file: a
// failed read leaves the keys read completely before the error (none for a name without a
// layout, which raises EResNotFound).
void LoadLayoutResource(TKeyCollection* Keys, const vcl::AnsiString& Name);

} // namespace quimbel
