#include "vcl/Dialogs.h"

#include "vcl/VCLConsts.h"

namespace vcl {

const TEnumInfo TOpenOptionInfo{
    "TOpenOption",
    {"ofReadOnly",         "ofOverwritePrompt",    "ofHideReadOnly",        "ofNoChangeDir",
     "ofShowHelp",         "ofNoValidate",         "ofAllowMultiSelect",    "ofExtensionDifferent",
     "ofPathMustExist",    "ofFileMustExist",      "ofCreatePrompt",        "ofShareAware",
     "ofNoReadOnlyReturn", "ofNoTestFileCreate",   "ofNoNetworkButton",     "ofNoLongNames",
     "ofOldStyleDialog",   "ofNoDereferenceLinks", "ofEnableIncludeNotify", "ofEnableSizing",
     "ofDontAddToRecent",  "ofForceShowHidden"}};
const TEnumInfo TFontDialogOptionInfo{"TFontDialogOption",
                                      {"fdAnsiOnly", "fdTrueTypeOnly", "fdEffects",
                                       "fdFixedPitchOnly", "fdForceFontExist", "fdNoFaceSel",
                                       "fdNoOEMFonts", "fdNoSimulations", "fdNoSizeSel",
                                       "fdNoStyleSel", "fdNoVectorFonts", "fdShowHelp", "fdWysiwyg",
                                       "fdLimitSize", "fdScalableOnly", "fdApplyButton"}};
const TEnumInfo TFontDialogDeviceInfo{"TFontDialogDevice", {"fdScreen", "fdPrinter", "fdBoth"}};
const TEnumInfo TMsgDlgTypeInfo{
    "TMsgDlgType", {"mtWarning", "mtError", "mtInformation", "mtConfirmation", "mtCustom"}};
const TEnumInfo TMsgDlgBtnInfo{"TMsgDlgBtn",
                               {"mbYes", "mbNo", "mbOK", "mbCancel", "mbAbort", "mbRetry",
                                "mbIgnore", "mbAll", "mbNoToAll", "mbYesToAll", "mbHelp"}};

// --- TCommonDialog ------------------------------------------------------------------------------

VCL_DEFINE_CLASS(TCommonDialog, TComponent, c) {
    c.Bool("Ctl3D", &TCommonDialog::GetCtl3D, &TCommonDialog::SetCtl3D).Default(true);
    c.Int("HelpContext", &TCommonDialog::GetHelpContext, &TCommonDialog::SetHelpContext).Default(0);
    c.Event("OnClose", &TCommonDialog::OnClose);
    c.Event("OnShow", &TCommonDialog::OnShow);
}

void TCommonDialog::DoShow() {
    if (OnShow) OnShow(this);
}

void TCommonDialog::DoClose() {
    if (OnClose) OnClose(this);
}

// --- TOpenDialog, TSaveDialog -------------------------------------------------------------------

VCL_DEFINE_CLASS(TOpenDialog, TCommonDialog, c) {
    c.Str("DefaultExt", &TOpenDialog::GetDefaultExt, &TOpenDialog::SetDefaultExt);
    c.Str("FileName", &TOpenDialog::GetFileName, &TOpenDialog::SetFileName);
    c.Str("Filter", &TOpenDialog::GetFilter, &TOpenDialog::SetFilter);
    c.Int("FilterIndex", &TOpenDialog::GetFilterIndex, &TOpenDialog::SetFilterIndex).Default(1);
    c.Str("InitialDir", &TOpenDialog::GetInitialDir, &TOpenDialog::SetInitialDir);
    c.SetOf("Options", TOpenOptionInfo, &TOpenDialog::GetOptions, &TOpenDialog::SetOptions)
        .Default(static_cast<int64_t>(TOpenOptions{ofHideReadOnly, ofEnableSizing}.Mask()));
    c.Str("Title", &TOpenDialog::GetTitle, &TOpenDialog::SetTitle);
}

TOpenDialog::TOpenDialog(TComponent* AOwner)
    : TCommonDialog(AOwner), files_(std::make_unique<TStringList>()) {}

TOpenDialog::~TOpenDialog() = default;

bool TOpenDialog::Execute() {
    DoShow();
    bool ok = Widgetset()->ExecuteFileDialog(this, save_);
    DoClose();
    return ok;
}

VCL_DEFINE_PLAIN_CLASS(TSaveDialog, TOpenDialog)

// --- TFontDialog --------------------------------------------------------------------------------

VCL_DEFINE_CLASS(TFontDialog, TCommonDialog, c) {
    c.Object<TFont>("Font", &TFontDialog::GetFont);
    c.Enum("Device", TFontDialogDeviceInfo, &TFontDialog::GetDevice, &TFontDialog::SetDevice)
        .Default(fdScreen);
    c.Int("MinFontSize", &TFontDialog::GetMinFontSize, &TFontDialog::SetMinFontSize).Default(0);
    c.Int("MaxFontSize", &TFontDialog::GetMaxFontSize, &TFontDialog::SetMaxFontSize).Default(0);
    c.SetOf("Options", TFontDialogOptionInfo, &TFontDialog::GetOptions, &TFontDialog::SetOptions)
        .Default(static_cast<int64_t>(TFontDialogOptions{fdEffects}.Mask()));
}

TFontDialog::TFontDialog(TComponent* AOwner)
    : TCommonDialog(AOwner), font_(std::make_unique<TFont>()) {}

bool TFontDialog::Execute() {
    DoShow();
    bool ok = Widgetset()->ExecuteFontDialog(this);
    DoClose();
    return ok;
}

// --- message boxes ------------------------------------------------------------------------------

TModalResult MessageDlg(const AnsiString& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons,
                        int HelpCtx) {
    return Widgetset()->MessageDlg(Msg, DlgType, Buttons, HelpCtx);
}

void ShowMessage(const AnsiString& Msg) {
    MessageDlg(Msg, mtCustom, {mbOK}, 0);
}

AnsiString MsgDlgCaption(TMsgDlgType DlgType) {
    switch (DlgType) {
    case mtWarning:
        return LoadResString(vclconsts::SMsgDlgWarning);
    case mtError:
        return LoadResString(vclconsts::SMsgDlgError);
    case mtInformation:
        return LoadResString(vclconsts::SMsgDlgInformation);
    case mtConfirmation:
        return LoadResString(vclconsts::SMsgDlgConfirm);
    default:
        return AnsiString();
    }
}

AnsiString MsgDlgButtonCaption(TMsgDlgBtn Button) {
    switch (Button) {
    case mbYes:
        return LoadResString(vclconsts::SMsgDlgYes);
    case mbNo:
        return LoadResString(vclconsts::SMsgDlgNo);
    case mbOK:
        return LoadResString(vclconsts::SMsgDlgOK);
    case mbCancel:
        return LoadResString(vclconsts::SMsgDlgCancel);
    case mbAbort:
        return LoadResString(vclconsts::SMsgDlgAbort);
    case mbRetry:
        return LoadResString(vclconsts::SMsgDlgRetry);
    case mbIgnore:
        return LoadResString(vclconsts::SMsgDlgIgnore);
    case mbAll:
        return LoadResString(vclconsts::SMsgDlgAll);
    case mbNoToAll:
        return LoadResString(vclconsts::SMsgDlgNoToAll);
    case mbYesToAll:
        return LoadResString(vclconsts::SMsgDlgYesToAll);
    case mbHelp:
        return LoadResString(vclconsts::SMsgDlgHelp);
    }
    return AnsiString();
}

} // namespace vcl
