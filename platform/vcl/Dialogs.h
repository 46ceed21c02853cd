#pragma once
// Common dialogs and message boxes. They run through the widgetset: natively under Qt, through
// the modal responder headless (see ModalResponder.h).

#include "rtl/Strings.h"
#include "vcl/Controls.h"

namespace vcl {

enum TOpenOption {
    ofReadOnly,
    ofOverwritePrompt,
    ofHideReadOnly,
    ofNoChangeDir,
    ofShowHelp,
    ofNoValidate,
    ofAllowMultiSelect,
    ofExtensionDifferent,
    ofPathMustExist,
    ofFileMustExist,
    ofCreatePrompt,
    ofShareAware,
    ofNoReadOnlyReturn,
    ofNoTestFileCreate,
    ofNoNetworkButton,
    ofNoLongNames,
    ofOldStyleDialog,
    ofNoDereferenceLinks,
    ofEnableIncludeNotify,
    ofEnableSizing,
    ofDontAddToRecent,
    ofForceShowHidden
};
using TOpenOptions = Set<TOpenOption>;
enum TFontDialogOption {
    fdAnsiOnly,
    fdTrueTypeOnly,
    fdEffects,
    fdFixedPitchOnly,
    fdForceFontExist,
    fdNoFaceSel,
    fdNoOEMFonts,
    fdNoSimulations,
    fdNoSizeSel,
    fdNoStyleSel,
    fdNoVectorFonts,
    fdShowHelp,
    fdWysiwyg,
    fdLimitSize,
    fdScalableOnly,
    fdApplyButton
};
using TFontDialogOptions = Set<TFontDialogOption>;
enum TFontDialogDevice { fdScreen, fdPrinter, fdBoth };
extern const TEnumInfo TOpenOptionInfo;
extern const TEnumInfo TFontDialogOptionInfo;
extern const TEnumInfo TFontDialogDeviceInfo;
extern const TEnumInfo TMsgDlgTypeInfo;
extern const TEnumInfo TMsgDlgBtnInfo;

class TCommonDialog : public TComponent {
    VCL_DECLARE_CLASS(TCommonDialog, TComponent)
public:
    explicit TCommonDialog(TComponent* AOwner) : TComponent(AOwner) {}
    // Runs the dialog modally; true when the user confirmed it.
    virtual bool Execute() = 0;
    bool GetCtl3D() const { return ctl3D_; }
    void SetCtl3D(bool Value) { ctl3D_ = Value; }
    int GetHelpContext() const { return helpContext_; }
    void SetHelpContext(int Value) { helpContext_ = Value; }

    TNotifyEvent OnShow;
    TNotifyEvent OnClose;

protected:
    void DoShow();
    void DoClose();

private:
    bool ctl3D_ = true;
    int helpContext_ = 0;
};

class TOpenDialog : public TCommonDialog {
    VCL_DECLARE_CLASS(TOpenDialog, TCommonDialog)
public:
    explicit TOpenDialog(TComponent* AOwner);
    ~TOpenDialog() override;
    bool Execute() override;

    const AnsiString& GetDefaultExt() const { return defaultExt_; }
    void SetDefaultExt(const AnsiString& Value) { defaultExt_ = Value; }
    const AnsiString& GetFileName() const { return fileName_; }
    void SetFileName(const AnsiString& Value) { fileName_ = Value; }
    // The chosen files (one unless ofAllowMultiSelect).
    TStrings* GetFiles() const { return files_.get(); }
    // "Description|pattern|Description|pattern..."
    const AnsiString& GetFilter() const { return filter_; }
    void SetFilter(const AnsiString& Value) { filter_ = Value; }
    int GetFilterIndex() const { return filterIndex_; }
    void SetFilterIndex(int Value) { filterIndex_ = Value; }
    const AnsiString& GetInitialDir() const { return initialDir_; }
    void SetInitialDir(const AnsiString& Value) { initialDir_ = Value; }
    TOpenOptions GetOptions() const { return options_; }
    void SetOptions(TOpenOptions Value) { options_ = Value; }
    const AnsiString& GetTitle() const { return title_; }
    void SetTitle(const AnsiString& Value) { title_ = Value; }
    bool IsSaveDialog() const { return save_; }

protected:
    bool save_ = false;

private:
    AnsiString defaultExt_;
    AnsiString fileName_;
    std::unique_ptr<TStringList> files_;
    AnsiString filter_;
    int filterIndex_ = 1;
    AnsiString initialDir_;
    TOpenOptions options_{ofHideReadOnly, ofEnableSizing};
    AnsiString title_;
};

class TSaveDialog : public TOpenDialog {
    VCL_DECLARE_CLASS(TSaveDialog, TOpenDialog)
public:
    explicit TSaveDialog(TComponent* AOwner) : TOpenDialog(AOwner) { save_ = true; }
};

class TFontDialog : public TCommonDialog {
    VCL_DECLARE_CLASS(TFontDialog, TCommonDialog)
public:
    explicit TFontDialog(TComponent* AOwner);
    bool Execute() override;
    TFont* GetFont() const { return font_.get(); }
    void SetFont(TFont* Value) { font_->Assign(Value); }
    TFontDialogDevice GetDevice() const { return device_; }
    void SetDevice(TFontDialogDevice Value) { device_ = Value; }
    // Limits of the size list, in points (0: none); they apply with fdLimitSize.
    int GetMinFontSize() const { return minFontSize_; }
    void SetMinFontSize(int Value) { minFontSize_ = Value; }
    int GetMaxFontSize() const { return maxFontSize_; }
    void SetMaxFontSize(int Value) { maxFontSize_ = Value; }
    TFontDialogOptions GetOptions() const { return options_; }
    void SetOptions(TFontDialogOptions Value) { options_ = Value; }

private:
    std::unique_ptr<TFont> font_;
    TFontDialogDevice device_ = fdScreen;
    int minFontSize_ = 0;
    int maxFontSize_ = 0;
    TFontDialogOptions options_{fdEffects};
};

// Shows a message with the given buttons and returns the modal result of the one pressed.
TModalResult MessageDlg(const AnsiString& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons,
                        int HelpCtx);
// A message with an OK button.
void ShowMessage(const AnsiString& Msg);
// The caption of a message box of the given type ("Confirm" ...).
AnsiString MsgDlgCaption(TMsgDlgType DlgType);
// The caption of a message button ("&Yes" ...).
AnsiString MsgDlgButtonCaption(TMsgDlgBtn Button);

} // namespace vcl
