#pragma once
// The IDE's window (from its form resource): the menu bar with the commands and their shortcuts,
// the component palette, the Object Inspector and the design area that shows the form being
// designed.

#include "FormDesigner.h"
#include "ObjectInspector.h"
#include "Packages.h"

#include "vcl/Buttons.h"
#include "vcl/ComCtrls.h"
#include "vcl/ExtCtrls.h"
#include "vcl/Forms.h"
#include "vcl/Menus.h"
#include "vcl/ScrollBox.h"
#include "vcl/StdCtrls.h"

#include <memory>

namespace quimbel::ide {

class TIdeMainForm : public vcl::TForm {
    VCL_DECLARE_CLASS(TIdeMainForm, vcl::TForm)
public:
    explicit TIdeMainForm(vcl::TComponent* AOwner);
    ~TIdeMainForm() override;

    vcl::TMainMenu* MainMenu = nullptr;
    vcl::TMenuItem* NewItem = nullptr;
    vcl::TMenuItem* OpenItem = nullptr;
    vcl::TMenuItem* SaveItem = nullptr;
    vcl::TMenuItem* SaveAsItem = nullptr;
    vcl::TMenuItem* QuitItem = nullptr;
    vcl::TMenuItem* UndoItem = nullptr;
    vcl::TMenuItem* RedoItem = nullptr;
    vcl::TMenuItem* DeleteItem = nullptr;
    vcl::TMenuItem* ViewTextItem = nullptr;
    vcl::TMenuItem* RunItem = nullptr;
    vcl::TMenuItem* AboutItem = nullptr;
    vcl::TTabControl* PaletteTabs = nullptr;
    vcl::TPanel* PalettePanel = nullptr;
    vcl::TPanel* InspectorPanel = nullptr;
    vcl::TPanel* ComponentPanel = nullptr;
    vcl::TComboBox* ComponentBox = nullptr;
    vcl::TTabControl* InspectorTabs = nullptr;
    vcl::TPanel* RowsPanel = nullptr;
    vcl::TScrollBar* RowsScrollBar = nullptr;
    // The designed form sits on DesignSurface, which grows with it inside the scrolling area.
    vcl::TScrollBox* DesignArea = nullptr;
    vcl::TPanel* DesignSurface = nullptr;

    TFormDesigner* Designer() const { return designer_.get(); }
    TObjectInspector* Inspector() const { return inspector_.get(); }
    TPackageManager& PackageManager() { return packages_; }

    // Loads a design package; a failure is shown as one message and the IDE goes on without it.
    bool LoadPackage(const vcl::AnsiString& FileName);
    // Rebuilds the palette from the registered pages (after loading packages).
    void RefreshPalette();
    // The palette's buttons of the page shown, in order; each one's Tag indexes its class.
    const std::vector<vcl::TSpeedButton*>& PaletteButtons() const { return paletteButtons_; }
    vcl::TClass PaletteClass(vcl::TSpeedButton* Button) const;

    // The commands. Each one first sets a value typed into the Object Inspector and not yet
    // confirmed; each one that discards the form asks first when it has unsaved changes; false
    // when the user cancelled (or saving or the typed value failed).
    bool NewForm();
    bool OpenForm(const vcl::AnsiString& FileName = vcl::AnsiString());
    bool SaveForm();
    bool SaveFormAs();
    void ViewAsText();
    void RunForm();
    void AboutPackages();
    // Asks to save unsaved changes: true when the form may be discarded.
    bool CanDiscard();
    // The window's title: "Quimbel IDE - Form1 (file.dfm) *".
    void UpdateTitle();

    // The form Run shows while it runs (null otherwise); a test drives it from the responder.
    vcl::TForm* RunningForm() const { return running_; }
    // The menu of a designed component's verbs (from its component editor), popped up by a
    // right press on it; a double click runs the first verb.
    vcl::TPopupMenu* VerbMenu() const { return verbMenu_; }

    // Handlers bound by the form resource.
    void NewItemClick(vcl::TObject*) { NewForm(); }
    void OpenItemClick(vcl::TObject*) { OpenForm(); }
    void SaveItemClick(vcl::TObject*) { SaveForm(); }
    void SaveAsItemClick(vcl::TObject*) { SaveFormAs(); }
    void QuitItemClick(vcl::TObject*) { Close(); }
    void DeleteItemClick(vcl::TObject*);
    void UndoItemClick(vcl::TObject*);
    void RedoItemClick(vcl::TObject*);
    // Ctrl+Shift+Z redoes too.
    void FormKeyDown(vcl::TObject*, vcl::Word& Key, vcl::TShiftState Shift);
    void ViewTextItemClick(vcl::TObject*) { ViewAsText(); }
    void RunItemClick(vcl::TObject*) { RunForm(); }
    void AboutItemClick(vcl::TObject*) { AboutPackages(); }
    void PaletteTabsChange(vcl::TObject*);
    void InspectorTabsChange(vcl::TObject*);
    void ComponentBoxSelect(vcl::TObject*);
    void FormCloseQuery(vcl::TObject*, bool& CanClose);

private:
    void selectionChanged();
    void formModified();
    void showPalettePage();
    void paletteClick(vcl::TSpeedButton* Button);
    void showError(const vcl::AnsiString& Message);
    void showVerbs(vcl::TComponent* Component, const vcl::TPoint& At);
    void runVerb(designide::TComponentEditor* Editor, int Index, int SubIndex);
    bool writeForm(const vcl::AnsiString& FileName, bool Binary);

    TPackageManager packages_;
    std::unique_ptr<TFormDesigner> designer_;
    std::unique_ptr<TObjectInspector> inspector_;
    std::vector<vcl::TSpeedButton*> paletteButtons_;
    std::vector<vcl::TClass> paletteClasses_;
    vcl::TForm* running_ = nullptr;
    vcl::TPopupMenu* verbMenu_ = nullptr;
    std::unique_ptr<designide::TComponentEditor> verbEditor_; // of the menu popped up last
};

// Registers the platform's controls on the page "Standard" and the editors of their properties.
void RegisterStandardComponents();

} // namespace quimbel::ide
