#pragma once
// Forms, the application and the screen.
//
// A form class with a form resource builds itself from it: since a C++ base constructor cannot
// see the class being constructed, the most-derived form constructor calls
// InitInheritedComponent() first. It reads the resources named after the form's class and its
// ancestors in capitals (TKEYPROPERTIESFORM), creates the components, binds the published fields
// and handlers by name and then raises OnCreate:
//
//   TKeyPropertiesForm::TKeyPropertiesForm(TComponent* Owner, TKey* Key) : TForm(Owner) {
//       InitInheritedComponent();
//       ...
//   }
//
// A form constructed without that call (new TForm(Owner)) starts empty.
//
// ShowModal shows the form and lets the user work with it until its ModalResult is set: by code,
// by a button with a ModalResult, by Enter (the default button) or Escape (the cancel button), or
// by Close and the close box (mrCancel). Then OnCloseQuery and OnClose run; a handler that refuses
// keeps the form open. Headless, the modal responder plays the user (see ModalResponder.h).

#include "vcl/Controls.h"
#include "vcl/Registration.h"

namespace vcl {

class TCustomForm;
class TButtonControl;

enum TCloseAction { caNone, caHide, caFree, caMinimize };
enum TBorderIcon { biSystemMenu, biMinimize, biMaximize, biHelp };
using TBorderIcons = Set<TBorderIcon>;
enum TPosition {
    poDesigned,
    poDefault,
    poDefaultPosOnly,
    poDefaultSizeOnly,
    poScreenCenter,
    poDesktopCenter,
    poMainFormCenter,
    poOwnerFormCenter
};
enum TWindowState { wsNormal, wsMinimized, wsMaximized };
enum TFormStyle { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };
enum TFormStateItem { fsCreating, fsVisible, fsShowing, fsModal, fsCreatedMDIChild, fsActivated };
using TFormState = Set<TFormStateItem>;

extern const TEnumInfo TBorderIconInfo;
extern const TEnumInfo TPositionInfo;
extern const TEnumInfo TWindowStateInfo;
extern const TEnumInfo TFormStyleInfo;

using TCloseEvent = TEvent<void(TObject* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = TEvent<void(TObject* Sender, bool& CanClose)>;

class TMainMenu;

class TCustomForm : public TWinControl {
    VCL_DECLARE_CLASS(TCustomForm, TWinControl)
public:
    // An empty, hidden form: clBtnFace, the default font, 8-pixel frame and caption (see
    // FormFrame), bsSizeable, [biSystemMenu, biMinimize, biMaximize], poDesigned.
    explicit TCustomForm(TComponent* AOwner);
    // Frees the controls and the other owned components while the form is still a form. OnDestroy
    // runs first if BeforeDestruction did not run it yet; a handler that is a published method of
    // the form itself cannot run here any more (that part of the object is gone), so a form class
    // with such a handler calls BeforeDestruction() first in its own destructor.
    ~TCustomForm() override;
    // Raises OnDestroy (once). Exceptions go to Application->HandleException.
    void BeforeDestruction();

    // Reads the form resources of the form's class and its ancestors (see the unit's
    // description), then raises OnCreate. Raises EResNotFound when no class below TForm has one.
    void InitInheritedComponent();

    // Modal use.
    virtual TModalResult ShowModal();
    TModalResult GetModalResult() const { return modalResult_; }
    void SetModalResult(TModalResult Value);
    // How many times the modal loop went round without ending (the responder's Round).
    int ModalRounds() const { return modalRounds_; }
    const TFormState& FormState() const { return formState_; }

    // Closing: a modal form gets mrCancel; another one is hidden (or freed, as OnClose says).
    void Close();
    virtual bool CloseQuery();
    // Frees the form once the current event is handled.
    void Release();

    TWinControl* GetActiveControl() const { return activeControl_; }
    void SetActiveControl(TWinControl* Value);
    bool Active() const { return active_; }
    // The control that Enter clicks and the one that Escape clicks, if any.
    TButtonControl* DefaultButton() const;
    TButtonControl* CancelButton() const;

    TFormBorderStyle GetBorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TFormBorderStyle Value);
    TBorderIcons GetBorderIcons() const { return borderIcons_; }
    void SetBorderIcons(TBorderIcons Value);
    TPosition GetPosition() const { return position_; }
    void SetPosition(TPosition Value);
    TWindowState GetWindowState() const { return windowState_; }
    void SetWindowState(TWindowState Value);
    TFormStyle GetFormStyle() const { return formStyle_; }
    void SetFormStyle(TFormStyle Value) { formStyle_ = Value; }
    int GetPixelsPerInch() const { return pixelsPerInch_; }
    void SetPixelsPerInch(int Value) { pixelsPerInch_ = Value; }
    int GetTextHeight() const { return textHeight_; }
    void SetTextHeight(int Value) { textHeight_ = Value; }
    bool GetScaled() const { return scaled_; }
    void SetScaled(bool Value) { scaled_ = Value; }
    // With KeyPreview the form's OnKeyDown sees every key pressed on the form before the control
    // that has the input does (and may swallow it).
    bool GetKeyPreview() const { return keyPreview_; }
    void SetKeyPreview(bool Value) { keyPreview_ = Value; }
    // The form's menu bar, shown above the client area, which keeps its size when the menu
    // comes or goes.
    TMainMenu* GetMenu() const { return menu_; }
    void SetMenu(TMainMenu* Value);
    // The menu's items changed: the widgetset shows them anew.
    void MenuChanged();
    // A key pressed on the form that is a shortcut of its menu clicks the item (true).
    bool IsShortCut(Word Key, TShiftState Shift);
    bool GetAutoScroll() const { return autoScroll_; }
    void SetAutoScroll(bool Value) { autoScroll_ = Value; }
    bool GetOldCreateOrder() const { return oldCreateOrder_; }
    void SetOldCreateOrder(bool Value) { oldCreateOrder_ = Value; }
    const AnsiString& GetHelpFile() const { return helpFile_; }
    void SetHelpFile(const AnsiString& Value) { helpFile_ = Value; }
    // The client size is stored instead of the outer size unless the form scrolls.
    bool IsClientSizeStored() const { return !autoScroll_; }
    bool IsFormSizeStored() const { return autoScroll_; }
    // The published client size; read from a stream, it is the size a menu attached later keeps.
    void SetStoredClientWidth(int Value);
    void SetStoredClientHeight(int Value);

    TRect NonClientInsets() const override;
    bool Showing() const override;
    void Loaded() override;
    void GetChildren(const std::function<void(TComponent*)>& Proc, TComponent* Root) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void DefineProperties(TFiler* Filer) override;
    void Dispatch(TMessage& Message) override;

    TNotifyEvent OnCreate;
    TNotifyEvent OnDestroy;
    TNotifyEvent OnShow;
    TNotifyEvent OnHide;
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;
    TCloseEvent OnClose;
    TCloseQueryEvent OnCloseQuery;

protected:
    virtual void DoCreate();
    virtual void DoDestroy();
    virtual void DoShow();
    virtual void DoHide();
    virtual void DoClose(TCloseAction& Action);
    bool DialogKey(Word Key, TShiftState Shift) override;
    void VisibleChanged() override;
    void FocusRemoved(TWinControl* Control) override;
    void FocusMovedTo(TWinControl* Control) override;

private:
    void closeModal();
    void placeOnShow();

    TModalResult modalResult_ = mrNone;
    int modalRounds_ = 0;
    TFormState formState_;
    TWinControl* activeControl_ = nullptr;
    bool active_ = false;
    TFormBorderStyle borderStyle_ = bsSizeable;
    TBorderIcons borderIcons_{biSystemMenu, biMinimize, biMaximize};
    TPosition position_ = poDesigned;
    TWindowState windowState_ = wsNormal;
    TFormStyle formStyle_ = fsNormal;
    int pixelsPerInch_ = 96;
    int textHeight_ = 13;
    bool scaled_ = true;
    bool keyPreview_ = false;
    TMainMenu* menu_ = nullptr;
    bool autoScroll_ = true;
    bool clientSizeRead_ = false; // the stream being read gave ClientWidth or ClientHeight
    bool oldCreateOrder_ = false;
    bool created_ = false;
    bool destroyed_ = false;
    TClass loadedClass_ = nullptr;
    AnsiString helpFile_;
};

class TForm : public TCustomForm {
    VCL_DECLARE_CLASS(TForm, TCustomForm)
public:
    explicit TForm(TComponent* AOwner) : TCustomForm(AOwner) {}
};

// The form a control sits on, or null.
TCustomForm* GetParentForm(const TControl* Control);

using TExceptionEvent = TEvent<void(TObject* Sender, const Exception& E)>;

class TApplication : public TComponent {
    VCL_DECLARE_CLASS(TApplication, TComponent)
public:
    explicit TApplication(TComponent* AOwner);
    ~TApplication() override;

    void Initialize() {}
    // Creates a form owned by the application; the first one becomes the main form.
    template <class T> T* CreateForm() {
        T* form = new T(this);
        if (!mainForm_) mainForm_ = form;
        return form;
    }
    void CreateForm(TClass FormClass, TCustomForm** Reference);
    // Shows the main form and runs the widgetset's event loop until Terminate (headless: returns
    // once the main form is shown).
    void Run();
    void Terminate() { terminated_ = true; }
    bool Terminated() const { return terminated_; }
    void ResetTerminated() { terminated_ = false; }
    // Runs the queued work and the widgetset's pending events, and frees released forms.
    void ProcessMessages();
    // Called with the exception that an event handler raised in the event loop: OnException if
    // assigned, else ShowException.
    void HandleException(TObject* Sender);
    // Shows the message of an exception (headless: as an mtError message to the responder).
    void ShowException(const Exception& E);
    TCustomForm* GetMainForm() const { return mainForm_; }
    void SetMainForm(TCustomForm* Value) { mainForm_ = Value; }
    const AnsiString& GetTitle() const { return title_; }
    void SetTitle(const AnsiString& Value) { title_ = Value; }
    void Notification(TComponent* AComponent, TOperation Operation) override;

    TExceptionEvent OnException;

    // Forms released with TCustomForm::Release, freed by ProcessMessages.
    void ReleaseForm(TCustomForm* Form);

private:
    TCustomForm* mainForm_ = nullptr;
    bool terminated_ = false;
    AnsiString title_;
    std::vector<TCustomForm*> released_;
};

extern TApplication* const Application;

// The screen: its size, resolution and forms.
class TScreen {
public:
    int GetWidth() const { return Widgetset()->ScreenSize().cx; }
    int GetHeight() const { return Widgetset()->ScreenSize().cy; }
    int GetPixelsPerInch() const { return 96; }
    int FormCount() const { return static_cast<int>(forms_.size()); }
    TCustomForm* Forms(int Index) const;
    TCustomForm* ActiveForm() const;
    TWinControl* ActiveControl() const { return FindFocusedControl(); }

private:
    friend class TCustomForm;
    std::vector<TCustomForm*> forms_;
};
extern TScreen* const Screen;

} // namespace vcl
