#include "vcl/Forms.h"

#include "rtl/Filer.h"
#include "rtl/FormStreams.h"
#include "rtl/RTLConsts.h"
#include "vcl/Buttons.h"
#include "vcl/Dialogs.h"
#include "vcl/Menus.h"
#include "vcl/Publish.h"
#include "vcl/StdCtrls.h"
#include "vcl/VCLConsts.h"

#include <algorithm>

namespace vcl {

const TEnumInfo TBorderIconInfo{"TBorderIcon",
                                {"biSystemMenu", "biMinimize", "biMaximize", "biHelp"}};
const TEnumInfo TPositionInfo{"TPosition",
                              {"poDesigned", "poDefault", "poDefaultPosOnly", "poDefaultSizeOnly",
                               "poScreenCenter", "poDesktopCenter", "poMainFormCenter",
                               "poOwnerFormCenter"}};
const TEnumInfo TWindowStateInfo{"TWindowState", {"wsNormal", "wsMinimized", "wsMaximized"}};
const TEnumInfo TFormStyleInfo{"TFormStyle",
                               {"fsNormal", "fsMDIChild", "fsMDIForm", "fsStayOnTop"}};

namespace {
TScreen g_screen;
} // namespace

TScreen* const Screen = &g_screen;
// Allocated once and never freed: forms it owns must not be destroyed during static destruction.
TApplication* const Application = new TApplication(nullptr);

TCustomForm* TScreen::Forms(int Index) const {
    if (Index < 0 || Index >= FormCount()) TList::Error(Index);
    return forms_[static_cast<size_t>(Index)];
}

TCustomForm* TScreen::ActiveForm() const {
    if (TWinControl* focused = FindFocusedControl())
        if (TCustomForm* form = GetParentForm(focused)) return form;
    for (auto it = forms_.rbegin(); it != forms_.rend(); ++it)
        if ((*it)->GetVisible()) return *it;
    return nullptr;
}

TCustomForm* GetParentForm(const TControl* Control) {
    for (const TControl* c = Control; c; c = c->GetParent())
        if (!c->GetParent()) return const_cast<TCustomForm*>(dynamic_cast<const TCustomForm*>(c));
    return nullptr;
}

// --- TCustomForm --------------------------------------------------------------------------------

VCL_DEFINE_PLAIN_CLASS(TCustomForm, TWinControl)

TCustomForm::TCustomForm(TComponent* AOwner) : TWinControl(AOwner) {
    isForm_ = true;
    ControlStyle() = TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption,
                                   csDoubleClicks};
    SetVisible(false);
    SetParentFont(false);
    SetColor(clBtnFace);
    SetBounds(0, 0, 320, 240);
    g_screen.forms_.push_back(this);
}

TCustomForm::~TCustomForm() {
    if (!destroyed_) {
        destroyed_ = true;
        // Handlers bound by name are methods of the derived form, which no longer exists here.
        if (OnDestroy && OnDestroy.MethodName().empty()) {
            try {
                OnDestroy(this);
            } catch (...) {
                try {
                    Application->HandleException(this);
                } catch (...) {
                }
            }
        }
    }
    Destroying();
    SendFreeNotifications();
    CancelQueuedCalls(this);
    if (GetCaptureControl() && ContainsControl(GetCaptureControl())) SetCaptureControl(nullptr);
    DestroyChildren();
    DestroyComponents();
    DestroyHandle();
    activeControl_ = nullptr;
    auto& forms = g_screen.forms_;
    forms.erase(std::remove(forms.begin(), forms.end(), this), forms.end());
    if (Application->GetMainForm() == this) Application->SetMainForm(nullptr);
}

void TCustomForm::BeforeDestruction() {
    if (destroyed_) return;
    destroyed_ = true;
    try {
        DoDestroy();
    } catch (...) {
        try {
            Application->HandleException(this);
        } catch (...) {
        }
    }
}

void TCustomForm::DoCreate() {
    if (OnCreate) OnCreate(this);
}

void TCustomForm::DoDestroy() {
    if (OnDestroy) OnDestroy(this);
}

void TCustomForm::DoShow() {
    if (OnShow) OnShow(this);
}

void TCustomForm::DoHide() {
    if (OnHide) OnHide(this);
}

void TCustomForm::DoClose(TCloseAction& Action) {
    if (OnClose) OnClose(this, Action);
}

void TCustomForm::InitInheritedComponent() {
    RegisterVclClasses();
    std::vector<TClass> chain;
    for (TClass c = ClassType(); c && c != TForm::StaticClass() && c != TCustomForm::StaticClass();
         c = c->Parent)
        chain.push_back(c);
    std::reverse(chain.begin(), chain.end());
    bool read = loadedClass_ != nullptr;
    bool past = loadedClass_ == nullptr;
    for (TClass c : chain) {
        if (!past) {
            past = c == loadedClass_;
            continue;
        }
        if (ReadComponentRes(UpperCase(c->ClassName), this)) read = true;
        loadedClass_ = c;
    }
    if (!read) throw EResNotFound(FmtLoadStr(rtlconsts::SResNotFound, {UpperCase(ClassName())}));
    if (!created_) {
        created_ = true;
        DoCreate();
    }
}

void TCustomForm::SetModalResult(TModalResult Value) {
    modalResult_ = Value;
    if (formState_.Contains(fsModal) && Value != mrNone) Widgetset()->ModalResultChanged(this);
}

TModalResult TCustomForm::ShowModal() {
    if (GetVisible() || !GetEnabled() || formState_.Contains(fsModal))
        throw EInvalidOperation(LoadResString(vclconsts::SCannotShowModal));
    SetCaptureControl(nullptr);
    TWinControl* previous = FindFocusedControl();
    auto previousAlive = previous ? previous->LifeToken() : std::shared_ptr<const bool>();
    auto alive = LifeToken();
    formState_.Include(fsModal);
    modalResult_ = mrNone;
    modalRounds_ = 0;
    try {
        Show();
        do {
            Widgetset()->WaitModal(this);
            if (!*alive) return mrNone;
            if (Application->Terminated()) modalResult_ = mrCancel;
            if (modalResult_ != mrNone) {
                closeModal();
            } else if (Widgetset()->IsHeadless()) {
                TModalRequest request;
                request.Form = this;
                throw EInvalidOperation(
                    FmtLoadStr(vclconsts::SModalNotEnded, {request.Describe()}));
            }
            ++modalRounds_;
            if (modalResult_ == mrNone && modalRounds_ >= 1000) {
                TModalRequest request;
                request.Form = this;
                throw EInvalidOperation(FmtLoadStr(vclconsts::SModalRoundsExceeded,
                                                   {request.Describe(), modalRounds_}));
            }
        } while (modalResult_ == mrNone);
    } catch (...) {
        if (*alive) {
            formState_.Exclude(fsModal);
            try {
                Hide();
            } catch (...) {
            }
        }
        throw;
    }
    formState_.Exclude(fsModal);
    if (GetVisible()) Hide();
    if (previous && *previousAlive && previous->CanFocus()) previous->SetFocus();
    return modalResult_;
}

void TCustomForm::closeModal() {
    TCloseAction action = caNone;
    if (CloseQuery()) {
        action = caHide;
        DoClose(action);
    }
    switch (action) {
    case caNone:
        modalResult_ = mrNone;
        break;
    case caFree:
        Release();
        break;
    default:
        break;
    }
}

bool TCustomForm::CloseQuery() {
    bool canClose = true;
    if (OnCloseQuery) OnCloseQuery(this, canClose);
    return canClose;
}

void TCustomForm::Close() {
    if (formState_.Contains(fsModal)) {
        SetModalResult(mrCancel);
        return;
    }
    if (!CloseQuery()) return;
    TCloseAction action = caHide;
    DoClose(action);
    if (action == caNone) return;
    if (Application->GetMainForm() == this)
        Application->Terminate();
    else if (action == caHide)
        Hide();
    else if (action == caMinimize)
        SetWindowState(wsMinimized);
    else
        Release();
}

void TCustomForm::Release() {
    Application->ReleaseForm(this);
}

void TCustomForm::SetActiveControl(TWinControl* Value) {
    if (Value == activeControl_) return;
    if (Value &&
        (Value == this || GetParentForm(Value) != this || (!IsLoading() && !Value->CanFocus())))
        throw EInvalidOperation(LoadResString(vclconsts::SCannotFocus));
    activeControl_ = Value;
    if (Value && GetVisible() && !IsLoading()) Value->SetFocus();
}

namespace {

TButtonControl* findButton(const TWinControl* parent, bool wantDefault) {
    for (int i = 0; i < parent->ControlCount(); ++i) {
        TControl* c = parent->Controls(i);
        if (auto* b = dynamic_cast<TButtonControl*>(c))
            if (wantDefault ? b->IsDefaultButton() : b->IsCancelButton()) return b;
        if (c->IsWindowed())
            if (TButtonControl* found = findButton(static_cast<TWinControl*>(c), wantDefault))
                return found;
    }
    return nullptr;
}

} // namespace

TButtonControl* TCustomForm::DefaultButton() const {
    return findButton(this, true);
}
TButtonControl* TCustomForm::CancelButton() const {
    return findButton(this, false);
}

void TCustomForm::SetBorderStyle(TFormBorderStyle Value) {
    if (borderStyle_ == Value) return;
    borderStyle_ = Value;
    PeerChanged(pcFormOptions);
    Realign();
}

void TCustomForm::SetBorderIcons(TBorderIcons Value) {
    if (borderIcons_ == Value) return;
    borderIcons_ = Value;
    PeerChanged(pcFormOptions);
}

void TCustomForm::SetPosition(TPosition Value) {
    if (position_ == Value) return;
    position_ = Value;
    PeerChanged(pcFormOptions);
}

void TCustomForm::SetWindowState(TWindowState Value) {
    if (windowState_ == Value) return;
    windowState_ = Value;
    PeerChanged(pcFormOptions);
}

TRect TCustomForm::NonClientInsets() const {
    TRect frame = Widgetset()->FormFrame(this);
    if (menu_) frame.Top += Widgetset()->MenuBarHeight();
    return frame;
}

void TCustomForm::SetMenu(TMainMenu* Value) {
    if (menu_ == Value) return;
    const int width = GetClientWidth(), height = GetClientHeight();
    if (menu_) menu_->RemoveFreeNotification(this);
    menu_ = Value;
    if (menu_) menu_->FreeNotification(this);
    // A form being read keeps the size it stored: its client size where the stream gave that,
    // else its outer size (the menu bar then takes its room from the client area).
    if (!ComponentState().Contains(csLoading) || clientSizeRead_) SetClientSize(width, height);
    PeerChanged(pcMenu);
}

void TCustomForm::SetStoredClientWidth(int Value) {
    clientSizeRead_ = ComponentState().Contains(csLoading);
    SetClientWidth(Value);
}

void TCustomForm::SetStoredClientHeight(int Value) {
    clientSizeRead_ = ComponentState().Contains(csLoading);
    SetClientHeight(Value);
}

void TCustomForm::MenuChanged() {
    PeerChanged(pcMenu);
}

bool TCustomForm::IsShortCut(Word Key, TShiftState Shift) {
    return menu_ && menu_->IsShortCut(Key, Shift);
}

bool TCustomForm::Showing() const {
    return GetVisible();
}

void TCustomForm::placeOnShow() {
    const TCustomForm* center = nullptr;
    switch (position_) {
    case poMainFormCenter:
        center = Application->GetMainForm();
        break;
    case poOwnerFormCenter:
        center = dynamic_cast<const TCustomForm*>(GetOwner());
        break;
    default:
        break;
    }
    if (center == this) center = nullptr;
    if (center) {
        SetBounds(center->GetLeft() + (center->GetWidth() - GetWidth()) / 2,
                  center->GetTop() + (center->GetHeight() - GetHeight()) / 2, GetWidth(),
                  GetHeight());
    } else if (position_ == poScreenCenter || position_ == poDesktopCenter ||
               position_ == poMainFormCenter || position_ == poOwnerFormCenter) {
        SetBounds((Screen->GetWidth() - GetWidth()) / 2, (Screen->GetHeight() - GetHeight()) / 2,
                  GetWidth(), GetHeight());
    }
}

void TCustomForm::VisibleChanged() {
    TWinControl::VisibleChanged();
    if (IsLoading()) return;
    if (GetVisible()) {
        formState_.Include(fsVisible);
        placeOnShow();
        HandleNeeded();
        DoShow();
        active_ = true;
        // A form being designed gives none of its controls the focus: they take no keys.
        if (ComponentState().Contains(csDesigning)) return;
        TWinControl* target =
            activeControl_ ? activeControl_ : FindNextControl(nullptr, true, true, false);
        if (target && target->CanFocus()) target->SetFocus();
    } else if (formState_.Contains(fsVisible)) {
        formState_.Exclude(fsVisible);
        active_ = false;
        if (GetCaptureControl() && ContainsControl(GetCaptureControl())) SetCaptureControl(nullptr);
        DoHide();
    }
}

void TCustomForm::FocusRemoved(TWinControl* Control) {
    if (activeControl_ && (activeControl_ == Control || Control->ContainsControl(activeControl_)))
        activeControl_ = nullptr;
}

void TCustomForm::FocusMovedTo(TWinControl* Control) {
    if (Control != this) activeControl_ = Control;
}

bool TCustomForm::DialogKey(Word Key, TShiftState Shift) {
    if (Key == VK_TAB && !Shift.Contains(ssCtrl) && !Shift.Contains(ssAlt)) {
        TWinControl* current = activeControl_ ? activeControl_ : FindFocusedControl();
        SelectNext(current, !Shift.Contains(ssShift), true);
        return true;
    }
    return TWinControl::DialogKey(Key, Shift);
}

void TCustomForm::Dispatch(TMessage& Message) {
    if (Message.Msg == WM_CLOSE) {
        Close();
        return;
    }
    TWinControl::Dispatch(Message);
}

void TCustomForm::Loaded() {
    TWinControl::Loaded();
    if (GetVisible()) {
        // A form stored as visible shows once it is complete.
        SetVisible(false);
        SetVisible(true);
    }
}

void TCustomForm::GetChildren(const std::function<void(TComponent*)>& Proc, TComponent* Root) {
    TWinControl::GetChildren(Proc, Root);
    if (Root == this)
        for (int i = 0; i < ComponentCount(); ++i) {
            TComponent* c = Components(i);
            if (!c->HasParent()) Proc(c);
        }
}

void TCustomForm::Notification(TComponent* AComponent, TOperation Operation) {
    TWinControl::Notification(AComponent, Operation);
    if (Operation == opRemove && SameObject(AComponent, activeControl_)) activeControl_ = nullptr;
    if (Operation == opRemove && SameObject(AComponent, menu_)) {
        if (ComponentState().Contains(csDestroying))
            menu_ = nullptr;
        else
            SetMenu(nullptr);
    }
}

void TCustomForm::DefineProperties(TFiler* Filer) {
    TWinControl::DefineProperties(Filer);
    Filer->DefineProperty(
        "PixelsPerInch", [this](TReader* R) { pixelsPerInch_ = R->ReadInteger(); },
        [this](TWriter* W) { W->WriteInteger(pixelsPerInch_); }, true);
    Filer->DefineProperty(
        "TextHeight", [this](TReader* R) { textHeight_ = R->ReadInteger(); },
        [this](TWriter* W) { W->WriteInteger(textHeight_); }, true);
}

VCL_DEFINE_CLASS(TForm, TCustomForm, c) {
    c.Int("Width", &TForm::GetWidth, &TForm::SetWidth).Stored([](const TForm* o) {
        return o->IsFormSizeStored();
    });
    c.Int("Height", &TForm::GetHeight, &TForm::SetHeight).Stored([](const TForm* o) {
        return o->IsFormSizeStored();
    });
    c.Object<TWinControl>("ActiveControl", &TForm::GetActiveControl, &TForm::SetActiveControl);
    publish::Align(c);
    publish::Anchors(c);
    c.Bool("AutoScroll", &TForm::GetAutoScroll, &TForm::SetAutoScroll).Default(true);
    c.SetOf("BorderIcons", TBorderIconInfo, &TForm::GetBorderIcons, &TForm::SetBorderIcons)
        .Default(static_cast<int64_t>(TBorderIcons{biSystemMenu, biMinimize, biMaximize}.Mask()));
    c.Enum("BorderStyle", TFormBorderStyleInfo, &TForm::GetBorderStyle, &TForm::SetBorderStyle)
        .Default(bsSizeable);
    publish::Caption(c);
    c.Int("ClientHeight", &TForm::GetClientHeight, &TForm::SetStoredClientHeight)
        .Stored([](const TForm* o) { return o->IsClientSizeStored(); });
    c.Int("ClientWidth", &TForm::GetClientWidth, &TForm::SetStoredClientWidth)
        .Stored([](const TForm* o) { return o->IsClientSizeStored(); });
    publish::Color(c, clBtnFace);
    publish::Constraints(c);
    publish::Ctl3D(c);
    publish::Enabled(c);
    c.Bool("ParentFont", &TForm::GetParentFont, &TForm::SetParentFont).Default(false);
    publish::Font(c);
    c.Enum("FormStyle", TFormStyleInfo, &TForm::GetFormStyle, &TForm::SetFormStyle)
        .Default(fsNormal);
    c.Str("HelpFile", &TForm::GetHelpFile, &TForm::SetHelpFile);
    c.Bool("KeyPreview", &TForm::GetKeyPreview, &TForm::SetKeyPreview).Default(false);
    c.Object<TMainMenu>("Menu", &TForm::GetMenu, &TForm::SetMenu);
    c.Bool("OldCreateOrder", &TForm::GetOldCreateOrder, &TForm::SetOldCreateOrder);
    publish::PopupMenu(c);
    c.Enum("Position", TPositionInfo, &TForm::GetPosition, &TForm::SetPosition).Default(poDesigned);
    c.Bool("Scaled", &TForm::GetScaled, &TForm::SetScaled).Default(true);
    publish::ShowHint(c);
    c.Bool("Visible", &TForm::GetVisible, &TForm::SetVisible).Default(false);
    c.Enum("WindowState", TWindowStateInfo, &TForm::GetWindowState, &TForm::SetWindowState)
        .Default(wsNormal);
    c.Event("OnActivate", &TForm::OnActivate);
    c.Event("OnClick", &TForm::OnClick);
    c.Event("OnClose", &TForm::OnClose);
    c.Event("OnCloseQuery", &TForm::OnCloseQuery);
    c.Event("OnCreate", &TForm::OnCreate);
    c.Event("OnDblClick", &TForm::OnDblClick);
    c.Event("OnDestroy", &TForm::OnDestroy);
    c.Event("OnDeactivate", &TForm::OnDeactivate);
    c.Event("OnHide", &TForm::OnHide);
    publish::WinEvents(c);
    publish::MouseEvents(c);
    c.Event("OnResize", &TForm::OnResize);
    c.Event("OnShow", &TForm::OnShow);
}

// --- TApplication -------------------------------------------------------------------------------

VCL_DEFINE_PLAIN_CLASS(TApplication, TComponent)

TApplication::TApplication(TComponent* AOwner) : TComponent(AOwner) {}

TApplication::~TApplication() = default;

void TApplication::CreateForm(TClass FormClass, TCustomForm** Reference) {
    RegisterVclClasses();
    if (!FormClass || !FormClass->CreateComponent)
        throw EInvalidOperation(FmtLoadStr(rtlconsts::SClassNotFound,
                                           {FormClass ? FormClass->ClassName : AnsiString("nil")}));
    TComponent* c = FormClass->CreateComponent(this);
    auto* form = dynamic_cast<TCustomForm*>(c);
    if (!form) {
        delete c;
        RaiseInvalidCast();
    }
    if (Reference) *Reference = form;
    if (!mainForm_) mainForm_ = form;
}

void TApplication::Run() {
    terminated_ = false;
    if (mainForm_) mainForm_->Show();
    Widgetset()->Run();
}

void TApplication::ProcessMessages() {
    Widgetset()->ProcessMessages();
    ProcessQueuedCalls();
}

void TApplication::HandleException(TObject* Sender) {
    std::exception_ptr current = std::current_exception();
    if (!current) return;
    try {
        std::rethrow_exception(current);
    } catch (const Exception& e) {
        if (OnException)
            OnException(Sender, e);
        else
            ShowException(e);
    } catch (const std::exception& e) {
        Exception wrapped(e.what());
        if (OnException)
            OnException(Sender, wrapped);
        else
            ShowException(wrapped);
    }
}

void TApplication::ShowException(const Exception& E) {
    AnsiString msg = E.Message();
    if (!msg.empty() && msg.back() > '.') msg += '.';
    MessageDlg(msg, mtError, {mbOK}, 0);
}

void TApplication::ReleaseForm(TCustomForm* Form) {
    // The form goes at the next turn of the event loop, when none of its code runs any more.
    QueueCall(Form, [Form] { delete Form; });
}

void TApplication::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && SameObject(AComponent, mainForm_)) mainForm_ = nullptr;
}

} // namespace vcl
