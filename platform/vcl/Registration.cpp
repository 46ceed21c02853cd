#include "vcl/Registration.h"

#include "vcl/ActnList.h"
#include "vcl/Buttons.h"
#include "vcl/ComCtrls.h"
#include "vcl/Dialogs.h"
#include "vcl/ExtCtrls.h"
#include "vcl/Forms.h"
#include "vcl/Menus.h"
#include "vcl/ScrollBox.h"
#include "vcl/StdCtrls.h"

namespace vcl {

void RegisterVclClasses() {
    static bool done = false;
    if (done) return;
    done = true;
    RegisterClasses({TForm::StaticClass(),           TPanel::StaticClass(),
                     TShape::StaticClass(),          TSpeedButton::StaticClass(),
                     TLabel::StaticClass(),          TEdit::StaticClass(),
                     TButton::StaticClass(),         TComboBox::StaticClass(),
                     TGroupBox::StaticClass(),       TRadioGroup::StaticClass(),
                     TActionList::StaticClass(),     TAction::StaticClass(),
                     TPopupMenu::StaticClass(),      TMainMenu::StaticClass(),
                     TMenuItem::StaticClass(),       TOpenDialog::StaticClass(),
                     TSaveDialog::StaticClass(),     TFontDialog::StaticClass(),
                     TFont::StaticClass(),           TPen::StaticClass(),
                     TBrush::StaticClass(),          TBitmap::StaticClass(),
                     TSizeConstraints::StaticClass(), TScrollBar::StaticClass(),
                     TMemo::StaticClass(),           TScrollBox::StaticClass()});
}

namespace {
// A program that uses the library can read forms naming any of its classes.
const bool g_classesRegistered = (RegisterVclClasses(), true);
} // namespace

} // namespace vcl
