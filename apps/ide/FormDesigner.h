#pragma once
// The form being designed: its root form (in design state: csDesigning), the selection, the
// placing, moving, resizing and deleting of components with the mouse, and reading and writing
// the form as a form file.
//
// The designer takes over the pointer and key input of every control on the designed form by
// subclassing its WindowProc, so the designed components never react themselves: a button does
// not click, an edit box takes no text, a keyboard does not type.

#include "designide/DesignIntf.h"
#include "vcl/ExtCtrls.h"
#include "vcl/Forms.h"

#include <array>
#include <functional>
#include <memory>
#include <vector>

namespace quimbel::ide {

// Where a handle sits on the selection's frame, clockwise from the top left corner.
enum THandlePos {
    hpTopLeft,
    hpTop,
    hpTopRight,
    hpRight,
    hpBottomRight,
    hpBottom,
    hpBottomLeft,
    hpLeft
};

class TFormDesigner : public designide::IDesigner {
public:
    // Host: the windowed control the designed form is shown in (its parent); may be null.
    explicit TFormDesigner(vcl::TWinControl* Host);
    ~TFormDesigner() override;

    // IDesigner.
    void Modified() override;
    vcl::TComponent* GetRoot() const override { return root_.get(); }

    vcl::TForm* Root() const { return root_.get(); }
    // Modified since the form was opened or saved: undoing back to that state clears it.
    bool IsModified() const { return modified_; }
    void SetModified(bool Value);

    // Undo and redo, as deep as the session of the form: each change (Modified) that alters the
    // form's stream is a step, named by NameNextChange before it ("New Button1", "Move").
    void NameNextChange(const vcl::AnsiString& Name) { nextChange_ = Name; }
    bool CanUndo() const { return step_ > 0; }
    bool CanRedo() const { return step_ + 1 < history_.size(); }
    // The name of the step Undo takes back, and of the one Redo makes again.
    vcl::AnsiString UndoName() const;
    vcl::AnsiString RedoName() const;
    void Undo();
    void Redo();
    const vcl::AnsiString& FileName() const { return fileName_; }
    // The class the form file names for the form: a program's own form class (TForm1), which the
    // IDE designs as a TForm and writes back under that name.
    const vcl::AnsiString& RootClassName() const { return rootClass_; }

    // Replaces the designed form by a new, empty one named Form1.
    void NewForm();
    // Reads a form file, text or binary; on an error the current form stays and the error
    // passes on.
    void LoadFromFile(const vcl::AnsiString& FileName);
    // Writes the form file (text unless Binary) and makes it the form's file.
    void SaveToFile(const vcl::AnsiString& FileName, bool Binary);
    // The form's binary form stream, and its text form.
    std::vector<uint8_t> FormStream() const;
    vcl::AnsiString FormText() const;

    // The class the next click on the form places (null: clicks select).
    vcl::TClass Tool() const { return tool_; }
    void SetTool(vcl::TClass Class) { tool_ = Class; }
    // Creates a component of Class on Parent (the form or a container on it) at (X, Y) of the
    // parent's client area, with a unique name and the class's default size, and selects it.
    vcl::TComponent* PlaceComponent(vcl::TClass Class, vcl::TWinControl* Parent, int X, int Y);
    // A name for a new component of Class that no component of the form has: Button1, Keyboard2.
    vcl::AnsiString UniqueName(vcl::TClass Class) const;

    const std::vector<vcl::TComponent*>& Selection() const { return selection_; }
    void Select(vcl::TComponent* Component, bool Add = false);
    // Deletes the selected components (never the form itself) and selects the form.
    void DeleteSelection();
    // The handles around the selected control (empty unless exactly one control is selected).
    const std::array<vcl::TPanel*, 8>& Handles() const { return handles_; }
    // While several controls are selected: grey markers at the four corners of each, which do
    // not resize; pressing one presses the control it marks.
    struct TMarker {
        vcl::TPanel* Panel;
        vcl::TControl* Control;
    };
    const std::vector<TMarker>& Markers() const { return markers_; }

    // Told after every change of the selection or of the tool, and after every change of the
    // form (Modified).
    std::function<void()> OnSelectionChanged;
    std::function<void()> OnModified;
    // A right press on a designed component (selected first) at a screen position, and a
    // double click on one: the IDE offers and runs its verbs.
    std::function<void(vcl::TComponent*, const vcl::TPoint&)> OnContextMenu;
    std::function<void(vcl::TComponent*)> OnDoubleClick;

    // Subclasses the controls of the designed form that are not subclassed yet (a keyboard
    // rebuilds its buttons after a layout change).
    void HookControls();

private:
    void attachRoot(std::unique_ptr<vcl::TForm> Root, const vcl::AnsiString& FileName);
    // A designed form read from a binary form stream.
    std::unique_ptr<vcl::TForm> readForm(vcl::TStream* Binary);
    // Goes to step Index of the history: the form as it was then, with the components of the
    // same names selected.
    void goToStep(size_t Index);
    void startHistory();
    void hook(vcl::TControl* Control);
    bool designMessage(vcl::TControl* Control, vcl::TMessage& Message);
    // The designed component a control belongs to (itself, or the component that owns it, such
    // as the keyboard of a key button), or the form.
    vcl::TControl* designedControl(vcl::TControl* Control) const;
    vcl::TWinControl* containerAt(vcl::TControl* Control) const;
    void updateHandles();
    // Makes the panel of a handle or marker on Parent (anew when it sits on another parent) and
    // puts it at (X, Y) above the controls.
    void placeHandle(vcl::TPanel*& Handle, vcl::TWinControl* Parent, vcl::TColor Color, int X,
                     int Y);
    bool focusInForm() const;
    void freeHandles();
    void freeSizingHandles();
    void freeMarkers();

    vcl::TWinControl* host_;
    std::unique_ptr<vcl::TForm> root_;
    vcl::AnsiString fileName_;
    vcl::AnsiString rootClass_;
    bool modified_ = false;
    struct TStep {
        std::vector<uint8_t> Stream; // the form after the step
        vcl::AnsiString Name;
    };
    std::vector<TStep> history_;
    size_t step_ = 0; // the step the form is at
    long saved_ = 0;  // the step saved last (-1: none)
    vcl::AnsiString nextChange_;
    vcl::TClass tool_ = nullptr;
    std::vector<vcl::TComponent*> selection_;
    std::array<vcl::TPanel*, 8> handles_{};
    std::vector<TMarker> markers_;

    // The form's right and bottom edges in the host: pressed there, a drag resizes the form.
    void hookHost();
    // Sizes a host that is not aligned to the form and its grip.
    void fitHost();
    int rootEdgeAt(int X, int Y) const; // bit 1: the right edge, bit 2: the bottom edge
    int rootEdge_ = 0;                  // the edges being dragged

    // The drag in progress: moving the selection, or resizing it by one handle.
    enum TDrag { dgNone, dgMove, dgResize } drag_ = dgNone;
    THandlePos dragHandle_ = hpTopLeft;
    vcl::TControl* dragControl_ = nullptr;
    vcl::TPoint dragStart_; // screen position of the press
    vcl::TRect dragBounds_; // bounds of the dragged control at the press
    bool dragMoved_ = false;
};

} // namespace quimbel::ide
