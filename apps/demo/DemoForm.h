#pragma once
// The demo's window: an edit box over an on-screen keyboard linked to it, and a status line
// that shows what the keyboard reports. Built in code; nothing here depends on the widgetset.

#include "runtime/Keyboard.h"

#include "vcl/ExtCtrls.h"
#include "vcl/Forms.h"
#include "vcl/StdCtrls.h"

namespace quimbel::demo {

class TDemoForm : public vcl::TForm {
public:
    explicit TDemoForm(vcl::TComponent* AOwner);

    // Shows a built-in layout or a layout file (any name with a path or the .kly extension).
    // Raises Exception with SUnknownLayout for a name that is no built-in layout, and the
    // keyboard's "File %s not found!" for a missing file.
    void UseLayout(const vcl::AnsiString& Name);

    vcl::TEdit* Edit;
    TKeyboard* Keyboard;
    vcl::TPanel* Status;

private:
    void showStatus();
    vcl::AnsiString lastKey_;
};

// True when Name names a layout file rather than a built-in layout.
bool IsLayoutFileName(const vcl::AnsiString& Name);

} // namespace quimbel::demo
