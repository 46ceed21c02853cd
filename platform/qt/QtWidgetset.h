#pragma once
// The Qt 6 widgetset: real windows for the visual model.
//
// A program installs it once at start-up, before it creates forms:
//
//   int main(int argc, char** argv) {
//       vcl::qt::InstallQtWidgetset(argc, argv);
//       vcl::Application->CreateForm<TMainForm>();
//       vcl::Application->Run();
//   }
//
// Without it the model stays headless (the default, which tests rely on). Every windowed control
// gets a QWidget peer when it is shown; graphic controls (speed buttons, shapes, labels) are
// painted by their parent's peer, which also feeds them pointer input through the model's own
// entry points, so a speed button never takes the keyboard focus. Modal forms and the common
// dialogs run in nested Qt event loops.
//
// The Qt bridge lets a Qt program host controls in its own layouts (WidgetOf) and link a
// keyboard to any existing QWidget (TQtWidgetControl).

#include <QImage>
#include <QPointer>
#include <QWidget>

#include "vcl/Controls.h"
#include "vcl/Widgetset.h"

namespace vcl::qt {

class TQtWidgetset;

// Creates the QApplication when the program has none yet, then installs the Qt widgetset.
// Returns the widgetset, which lives until the program ends.
TQtWidgetset* InstallQtWidgetset(int& argc, char** argv);
// Installs the Qt widgetset, creating a QApplication without arguments when there is none.
TQtWidgetset* InstallQtWidgetset();
// Puts the headless widgetset back (tests); controls that have peers must be gone by then.
void UninstallQtWidgetset();
// The installed Qt widgetset, or null when another one (headless) is installed.
TQtWidgetset* QtWidgetset();

// The QWidget that shows a windowed control, created now if the control has none yet. A Qt
// program may put it into a layout of its own: resizing the widget resizes the control (and runs
// its Resize). Null when the Qt widgetset is not installed.
QWidget* WidgetOf(vcl::TWinControl* Control);
// Lets the widget of a container (a keyboard, a panel: not a standard control) keep an image of
// what it shows, so that it shows again after a hide from that image instead of drawing every
// child anew; what changes meanwhile is drawn into the image first. For a control shown and
// hidden often, such as an input panel's keyboard; the image costs four bytes a pixel.
void KeepPaintedImage(vcl::TWinControl* Control, bool On);
// A picture of a windowed control and its children as the widgetset shows them, also when the
// control is not on screen (offscreen programs, screenshots). Null without the Qt widgetset.
QImage GrabControl(vcl::TWinControl* Control);
// The control a peer widget shows, or null for any other widget.
vcl::TWinControl* ControlOf(const QWidget* Widget);

// A windowed control that stands for an existing QWidget (a QLineEdit, QTextEdit,
// QPlainTextEdit, ...), so that a keyboard can be linked to it: WM_CHAR and WM_KEYDOWN reach
// the widget as key presses. The control never owns, moves, resizes or hides the widget. When
// the widget is destroyed the control stays valid, forgets it (Widget() becomes null, messages
// go nowhere) and raises OnWidgetDestroyed, where an application typically frees the control.
class TQtWidgetControl : public vcl::TWinControl {
    VCL_DECLARE_CLASS(TQtWidgetControl, vcl::TWinControl)
public:
    TQtWidgetControl(vcl::TComponent* AOwner, QWidget* Widget);
    explicit TQtWidgetControl(vcl::TComponent* AOwner) : TQtWidgetControl(AOwner, nullptr) {}
    ~TQtWidgetControl() override;
    QWidget* Widget() const { return widget_; }
    // Stands for another widget (or none).
    void SetWidget(QWidget* Widget);
    vcl::TNotifyEvent OnWidgetDestroyed;

private:
    friend class ExternalPeer;
    void widgetDestroyed();
    QPointer<QWidget> widget_;
    QMetaObject::Connection destroyedConnection_;
};

class TQtWidgetset : public vcl::TWidgetset {
public:
    TQtWidgetset();
    ~TQtWidgetset() override;
    const char* Name() const override { return "qt"; }
    bool IsHeadless() const override { return false; }

    std::unique_ptr<vcl::TWinControlPeer> CreatePeer(vcl::TWinControl* Control) override;
    void WaitModal(vcl::TCustomForm* Form) override;
    void ModalResultChanged(vcl::TCustomForm* Form) override;
    bool ExecuteFileDialog(vcl::TOpenDialog* Dialog, bool Save) override;
    bool ExecuteFontDialog(vcl::TFontDialog* Dialog) override;
    vcl::TModalResult MessageDlg(const vcl::AnsiString& Msg, vcl::TMsgDlgType DlgType,
                                 vcl::TMsgDlgButtons Buttons, int HelpCtx) override;
    vcl::TMenuItem* TrackPopupMenu(vcl::TPopupMenu* Menu, int X, int Y) override;
    void Beep() override;
    std::shared_ptr<void> StartTimer(int Ms, std::function<void()> Fire) override;
    bool GetCursorPos(vcl::TPoint& P) override;
    void ProcessMessages() override;
    void Run() override;
    vcl::TColor GetSysColor(int Index) override;
    vcl::TSize TextExtent(const vcl::TFont* Font, const vcl::AnsiString& Text) override;
    vcl::TSize ScreenSize() override;
    // The height the style gives a menu bar.
    int MenuBarHeight() override;

    // Ends every nested modal loop of a form (it got a result or is going away).
    void EndModalLoops(const vcl::TCustomForm* Form);
    // The event depth at which the innermost modal loop runs, or -1 outside modal loops.
    int ModalLoopBase() const;

private:
    struct ModalLoop;
    std::vector<ModalLoop*> modalLoops_;
    class KeyFilter;
    std::unique_ptr<KeyFilter> keyFilter_;
    class HintFilter;
    std::unique_ptr<HintFilter> hintFilter_;
    class WheelFilter;
    std::unique_ptr<WheelFilter> wheelFilter_;
};

} // namespace vcl::qt
