#pragma once
// Unit Keypropertiesf: the modal dialog in which one key of a layout is edited (type, captions
// and values of the three levels, width, height, font). It is built from its form resource
// TKEYPROPERTIESFORM and works on the key in place: type, captions, values and size reach the key
// when the dialog closes with anything but Cancel; font changes reach the key's Font at once.
//
// Editing surfaces open it through EditKeyProperties, which also refreshes the key's button.

#include "runtime/Keyboard.h"
#include "vcl/Dialogs.h"
#include "vcl/Forms.h"
#include "vcl/StdCtrls.h"

namespace quimbel {

class TKeyPropertiesForm : public vcl::TForm {
    VCL_DECLARE_CLASS(TKeyPropertiesForm, vcl::TForm)
public:
    // Builds the form from its resource and shows Key in it. Key is not owned and must outlive
    // the dialog.
    TKeyPropertiesForm(vcl::TComponent* Owner, TKey* Key);

    vcl::TButton* OKBtn = nullptr;
    vcl::TButton* CancelBtn = nullptr;
    vcl::TRadioGroup* KeyTypeRadioGroup = nullptr;
    vcl::TGroupBox* KeyCaptionsGroupBox = nullptr;
    vcl::TEdit* NormalCaptionEdit = nullptr;
    vcl::TLabel* Label1 = nullptr;
    vcl::TLabel* Label2 = nullptr;
    vcl::TLabel* Label3 = nullptr;
    vcl::TEdit* ShiftCaptionEdit = nullptr;
    vcl::TEdit* AltGrCaptionEdit = nullptr;
    vcl::TGroupBox* KeyValuesGroupBox = nullptr;
    vcl::TLabel* Label4 = nullptr;
    vcl::TLabel* Label5 = nullptr;
    vcl::TLabel* Label6 = nullptr;
    vcl::TEdit* NormalValueEdit = nullptr;
    vcl::TEdit* ShiftValueEdit = nullptr;
    vcl::TEdit* AltGrValueEdit = nullptr;
    vcl::TComboBox* KeyWidthComboBox = nullptr;
    vcl::TLabel* Label7 = nullptr;
    vcl::TLabel* Label8 = nullptr;
    vcl::TComboBox* KeyHeightComboBox = nullptr;
    vcl::TButton* FontBtn = nullptr;
    vcl::TFontDialog* FontDialog = nullptr;
    vcl::TLabel* FontLabel = nullptr;

    // Key to controls.
    void LoadProperties();
    // Controls to key.
    void SaveProperties();
    // Enables, colours and (for special keys) fills the edits after the selected key type.
    void UpdateControls();

    void KeyTypeRadioGroupClick(vcl::TObject* Sender);
    void FontBtnClick(vcl::TObject* Sender);
    void FormClose(vcl::TObject* Sender, vcl::TCloseAction& Action);

private:
    TKey* FKey;
    bool FLoading = false;
};

// Opens the key properties dialog for Key, owned by Owner (the editing surface), modally. When the
// user confirms with OK, the key's button shows the changes (UpdateControl). The dialog is freed
// on every way out, exceptions included. Returns the dialog's modal result.
vcl::TModalResult EditKeyProperties(vcl::TComponent* Owner, TKey* Key);

// EditKeyProperties with the help the layout designer programs give, so that no key ends up
// typing nothing by mistake: picking a modifier or editing key type puts the caption that type
// suggests ("Shift", "Backspace") into an empty caption, or in place of the caption the type
// picked before suggested; OK on a normal key fills every empty value from the caption of its
// level.
vcl::TModalResult EditKeyPropertiesAssisted(vcl::TComponent* Owner, TKey* Key);

} // namespace quimbel
