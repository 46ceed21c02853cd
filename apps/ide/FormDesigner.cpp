#include "FormDesigner.h"

#include "IdeConsts.h"

#include "rtl/FormStreams.h"
#include "rtl/Streams.h"

#include <algorithm>
#include <cstring>

namespace quimbel::ide {

using vcl::AnsiString;
using vcl::TClass;
using vcl::TComponent;
using vcl::TControl;
using vcl::TWinControl;

namespace {

constexpr int GridSize = 8;
constexpr int HandleSize = 6;
constexpr int MinSize = 4;
constexpr int EdgeSize = 6; // the grip along the form's right and bottom edges
constexpr int MinFormSize = 40;
constexpr const char* RootName = "Form1";

int snap(int v) {
    return (v >= 0 ? v + GridSize / 2 : v - GridSize / 2) / GridSize * GridSize;
}

bool isMouse(unsigned Msg) {
    return Msg >= vcl::WM_MOUSEMOVE && Msg <= vcl::WM_MBUTTONDBLCLK;
}

bool isKey(unsigned Msg) {
    return Msg >= vcl::WM_KEYDOWN && Msg <= vcl::WM_SYSCHAR;
}

std::vector<uint8_t> bytesOf(vcl::TMemoryStream& Stream) {
    const auto* data = static_cast<const uint8_t*>(Stream.Memory());
    return std::vector<uint8_t>(data, data + Stream.GetSize());
}

// Where the root's class name lies in a binary form stream: after the signature, as a short
// string (a root carries no filer flags); {0, 0} when the stream does not start so.
std::pair<size_t, size_t> rootClassSpan(const std::vector<uint8_t>& Bytes) {
    if (Bytes.size() < 5 || std::memcmp(Bytes.data(), "TPF0", 4) != 0) return {0, 0};
    const size_t length = Bytes[4];
    if ((length & 0xF0) == 0xF0 || Bytes.size() < 5 + length) return {0, 0};
    return {5, length};
}

} // namespace

TFormDesigner::TFormDesigner(TWinControl* Host) : host_(Host) {
    if (host_) hookHost();
    NewForm();
}

int TFormDesigner::rootEdgeAt(int X, int Y) const {
    const vcl::TRect r = root_->BoundsRect();
    const bool right = X >= r.Right && X < r.Right + EdgeSize && Y < r.Bottom + EdgeSize;
    const bool bottom = Y >= r.Bottom && Y < r.Bottom + EdgeSize && X < r.Right + EdgeSize;
    return (right ? 1 : 0) | (bottom ? 2 : 0);
}

void TFormDesigner::hookHost() {
    host_->OnMouseDown = [this](vcl::TObject*, vcl::TMouseButton Button, vcl::TShiftState, int X,
                                int Y) {
        rootEdge_ = Button == vcl::mbLeft ? rootEdgeAt(X, Y) : 0;
        if (rootEdge_) vcl::SetCaptureControl(host_);
    };
    host_->OnMouseMove = [this](vcl::TObject*, vcl::TShiftState, int X, int Y) {
        if (!rootEdge_) {
            static const vcl::TCursor cursors[4] = {vcl::crDefault, vcl::crSizeWE, vcl::crSizeNS,
                                                    vcl::crSizeNWSE};
            host_->SetCursor(cursors[rootEdgeAt(X, Y)]);
            return;
        }
        const vcl::TRect r = root_->BoundsRect();
        root_->SetBounds(r.Left, r.Top,
                         rootEdge_ & 1 ? std::max(X - r.Left, MinFormSize) : r.Width(),
                         rootEdge_ & 2 ? std::max(Y - r.Top, MinFormSize) : r.Height());
        fitHost();
    };
    host_->OnMouseUp = [this](vcl::TObject*, vcl::TMouseButton, vcl::TShiftState, int, int) {
        if (!rootEdge_) return;
        rootEdge_ = 0;
        vcl::SetCaptureControl(nullptr);
        NameNextChange(vcl::LoadResString(consts::SSizeStep));
        Modified();
    };
}

void TFormDesigner::fitHost() {
    // A host of its own size (not aligned) is as large as the form and the grip along its
    // edges, so that a scrolling area around it scrolls over all of them.
    if (!host_ || !root_ || host_->GetAlign() != vcl::alNone) return;
    const vcl::TRect r = root_->BoundsRect();
    host_->SetBounds(host_->GetLeft(), host_->GetTop(), r.Right + EdgeSize, r.Bottom + EdgeSize);
}

TFormDesigner::~TFormDesigner() {
    if (host_) {
        host_->OnMouseDown = nullptr;
        host_->OnMouseMove = nullptr;
        host_->OnMouseUp = nullptr;
    }
    freeHandles();
    root_.reset();
}

void TFormDesigner::Modified() {
    const AnsiString name =
        nextChange_.empty() ? vcl::LoadResString(consts::SChangeStep) : nextChange_;
    nextChange_.clear();
    std::vector<uint8_t> stream = FormStream();
    if (stream != history_[step_].Stream) {
        history_.resize(step_ + 1);
        history_.push_back({std::move(stream), name});
        ++step_;
        modified_ = static_cast<long>(step_) != saved_;
    }
    HookControls();
    updateHandles();
    fitHost();
    if (OnModified) OnModified();
}

void TFormDesigner::SetModified(bool Value) {
    modified_ = Value;
    saved_ = Value ? -1 : static_cast<long>(step_);
    if (OnModified) OnModified();
}

// --- undo ----------------------------------------------------------------------------------------

void TFormDesigner::startHistory() {
    history_.assign(1, TStep{FormStream(), AnsiString()});
    step_ = 0;
    saved_ = 0;
}

AnsiString TFormDesigner::UndoName() const {
    return CanUndo() ? history_[step_].Name : AnsiString();
}

AnsiString TFormDesigner::RedoName() const {
    return CanRedo() ? history_[step_ + 1].Name : AnsiString();
}

void TFormDesigner::Undo() {
    if (CanUndo()) goToStep(step_ - 1);
}

void TFormDesigner::Redo() {
    if (CanRedo()) goToStep(step_ + 1);
}

void TFormDesigner::goToStep(size_t Index) {
    std::vector<AnsiString> selected, before;
    for (TComponent* c : selection_)
        if (c != root_.get()) selected.push_back(c->GetName());
    for (int i = 0; i < root_->GetComponentCount(); ++i)
        before.push_back(root_->GetComponent(i)->GetName());
    const std::vector<uint8_t>& stream = history_[Index].Stream;
    vcl::TMemoryStream binary;
    binary.WriteBuffer(stream.data(), stream.size());
    binary.SetPosition(0);
    std::unique_ptr<vcl::TForm> form = readForm(&binary);
    // The history, the file and the form's class stay; the form is the one of that step.
    std::vector<TStep> history = std::move(history_);
    const AnsiString file = fileName_, rootClass = rootClass_;
    const long saved = saved_;
    const bool focused = focusInForm();
    attachRoot(std::move(form), file);
    if (focused && root_->CanFocus()) root_->SetFocus();
    history_ = std::move(history);
    rootClass_ = rootClass;
    saved_ = saved;
    step_ = Index;
    modified_ = static_cast<long>(step_) != saved_;
    // The components the step brings back (an undone delete, a redone placing) are selected;
    // otherwise the selection stays on the components of the same names.
    std::vector<AnsiString> restored;
    const auto isNew = [&](const TComponent* c) {
        return c && c != root_.get() &&
               std::find(before.begin(), before.end(), c->GetName()) == before.end();
    };
    for (int i = 0; i < root_->GetComponentCount(); ++i) {
        TComponent* c = root_->GetComponent(i);
        auto* control = dynamic_cast<TControl*>(c);
        // Of a container and its children, the container.
        if (isNew(c) && !(control && isNew(control->GetParent())))
            restored.push_back(c->GetName());
    }
    if (!restored.empty()) selected = std::move(restored);
    bool first = true;
    for (const AnsiString& name : selected)
        if (TComponent* c = root_->FindComponent(name)) {
            Select(c, !first);
            first = false;
        }
    if (OnModified) OnModified();
}

// --- files ---------------------------------------------------------------------------------------

void TFormDesigner::NewForm() {
    auto form = std::make_unique<vcl::TForm>(nullptr);
    // Designed components refer to each other through FreeNotification alone; not telling each
    // of every sibling keeps opening a large form fast.
    form->SetOwnedSiblingNotifications(false);
    form->SetDesigning(true);
    form->SetName(RootName);
    form->SetCaption(RootName);
    form->SetBounds(0, 0, 480, 360);
    attachRoot(std::move(form), AnsiString());
}

void TFormDesigner::LoadFromFile(const AnsiString& FileName) {
    vcl::TMemoryStream file;
    file.LoadFromFile(FileName);
    vcl::TMemoryStream binary;
    if (file.GetSize() >= 4 && std::memcmp(file.Memory(), "TPF0", 4) == 0) {
        binary.LoadFromStream(&file);
    } else {
        vcl::ObjectTextToBinary(&file, &binary);
    }
    const std::vector<uint8_t> bytes = bytesOf(binary);
    const auto [at, length] = rootClassSpan(bytes);
    binary.SetPosition(0);
    attachRoot(readForm(&binary), FileName);
    if (length) {
        rootClass_.assign(reinterpret_cast<const char*>(bytes.data() + at), length);
        startHistory();
    }
}

std::unique_ptr<vcl::TForm> TFormDesigner::readForm(vcl::TStream* Binary) {
    auto form = std::make_unique<vcl::TForm>(nullptr);
    form->SetOwnedSiblingNotifications(false); // as NewForm
    // The handlers a form names are methods of a class the IDE does not have; the designed
    // form keeps their names, bound to handlers that do nothing.
    vcl::TReader reader(Binary, 4096);
    reader.OnFindMethod = [this](vcl::TReader*, const AnsiString& Name, const vcl::TPropInfo* Event,
                                 std::any& Handler, bool& Error) {
        Handler = CreateMethod(Name, Event);
        Error = false;
    };
    vcl::ReadComponent(reader, form.get());
    form->SetDesigning(true, true);
    return form;
}

std::vector<uint8_t> TFormDesigner::FormStream() const {
    // The form is shown inside the design area; as a form file it is a hidden form, as any
    // form is until the program shows it. Hiding it takes the focus out of it (and the widgetset
    // may hand it to the Object Inspector): the focus goes back where it was.
    vcl::TWinControl* focused = focusInForm() ? vcl::FindFocusedControl() : nullptr;
    const bool shown = root_->GetVisible();
    const auto show = [&] {
        root_->SetVisible(shown);
        if (focused && focused->CanFocus() && !focused->Focused()) focused->SetFocus();
    };
    root_->SetVisible(false);
    vcl::TMemoryStream stream;
    try {
        vcl::WriteComponent(&stream, root_.get());
    } catch (...) {
        show();
        throw;
    }
    show();
    std::vector<uint8_t> bytes = bytesOf(stream);
    const auto [at, length] = rootClassSpan(bytes);
    if (length && rootClass_ != root_->ClassName() && rootClass_.size() < 0xF0) {
        bytes.erase(bytes.begin() + static_cast<long>(at),
                    bytes.begin() + static_cast<long>(at + length));
        bytes.insert(bytes.begin() + static_cast<long>(at), rootClass_.begin(), rootClass_.end());
        bytes[at - 1] = static_cast<uint8_t>(rootClass_.size());
    }
    return bytes;
}

AnsiString TFormDesigner::FormText() const {
    std::vector<uint8_t> bytes = FormStream();
    vcl::TMemoryStream binary, text;
    binary.WriteBuffer(bytes.data(), bytes.size());
    binary.SetPosition(0);
    vcl::ObjectBinaryToText(&binary, &text);
    return AnsiString(static_cast<const char*>(text.Memory()), text.GetSize());
}

void TFormDesigner::SaveToFile(const AnsiString& FileName, bool Binary) {
    vcl::TMemoryStream out;
    if (Binary) {
        std::vector<uint8_t> bytes = FormStream();
        out.WriteBuffer(bytes.data(), bytes.size());
    } else {
        AnsiString text = FormText();
        out.WriteBuffer(text.data(), text.size());
    }
    out.SaveToFile(FileName);
    fileName_ = FileName;
    SetModified(false);
}

void TFormDesigner::attachRoot(std::unique_ptr<vcl::TForm> Root, const AnsiString& FileName) {
    freeHandles();
    selection_.clear();
    drag_ = dgNone;
    root_ = std::move(Root);
    rootClass_ = root_->ClassName();
    fileName_ = FileName;
    modified_ = false;
    const vcl::TRect bounds = root_->BoundsRect();
    if (host_) {
        root_->SetParent(host_);
        root_->SetBounds(0, 0, bounds.Width(), bounds.Height());
        root_->Show();
        fitHost();
    }
    HookControls();
    startHistory();
    Select(root_.get());
    if (OnModified) OnModified();
}

// --- placing and naming --------------------------------------------------------------------------

AnsiString TFormDesigner::UniqueName(TClass Class) const {
    AnsiString base = Class->ClassName;
    if (base.size() > 1 && (base[0] == 'T' || base[0] == 't')) base.erase(0, 1);
    for (int n = 1;; ++n) {
        AnsiString name = base + vcl::IntToStr(n);
        if (!root_->FindComponent(name) && !vcl::SameText(root_->GetName(), name)) return name;
    }
}

TComponent* TFormDesigner::PlaceComponent(TClass Class, TWinControl* Parent, int X, int Y) {
    if (!Class->CreateComponent) return nullptr;
    TComponent* component = Class->CreateComponent(root_.get());
    try {
        component->SetName(UniqueName(Class));
        if (auto* control = dynamic_cast<TControl*>(component)) {
            control->SetBounds(snap(X), snap(Y), control->GetWidth(), control->GetHeight());
            control->SetParent(Parent ? Parent : root_.get());
            if (control->ControlStyle().Contains(vcl::csSetCaption))
                control->SetCaption(component->GetName());
        }
    } catch (...) {
        delete component;
        throw;
    }
    tool_ = nullptr;
    Select(component);
    NameNextChange(vcl::FmtLoadStr(consts::SNewStep, {component->GetName()}));
    Modified();
    return component;
}

// --- selection -----------------------------------------------------------------------------------

void TFormDesigner::Select(TComponent* Component, bool Add) {
    if (!Add) selection_.clear();
    auto it = std::find(selection_.begin(), selection_.end(), Component);
    if (it != selection_.end() && Add)
        selection_.erase(it);
    else if (it == selection_.end() && Component)
        selection_.push_back(Component);
    if (selection_.empty()) selection_.push_back(root_.get());
    // The form is selected alone.
    if (selection_.size() > 1)
        selection_.erase(std::remove(selection_.begin(), selection_.end(), root_.get()),
                         selection_.end());
    updateHandles();
    if (OnSelectionChanged) OnSelectionChanged();
}

void TFormDesigner::DeleteSelection() {
    std::vector<TComponent*> doomed;
    for (TComponent* c : selection_)
        if (c != root_.get()) doomed.push_back(c);
    if (doomed.empty()) return;
    // The keys stay with the designer when the control that had them goes.
    if (focusInForm()) root_->SetFocus();
    freeHandles();
    selection_.clear();
    // A component may own or contain another one of the selection; free each one that is
    // still there.
    for (TComponent* c : doomed) {
        bool alive = false;
        std::function<void(TComponent*)> find = [&](TComponent* owner) {
            for (int i = 0; i < owner->GetComponentCount() && !alive; ++i)
                if (owner->GetComponent(i) == c) alive = true;
        };
        find(root_.get());
        if (alive) delete c;
    }
    Select(root_.get());
    NameNextChange(vcl::LoadResString(consts::SDeleteStep));
    Modified();
}

bool TFormDesigner::focusInForm() const {
    vcl::TWinControl* focused = vcl::FindFocusedControl();
    return focused && (focused == root_.get() || root_->ContainsControl(focused));
}

void TFormDesigner::freeHandles() {
    freeSizingHandles();
    freeMarkers();
}

void TFormDesigner::freeSizingHandles() {
    for (vcl::TPanel*& h : handles_) {
        delete h;
        h = nullptr;
    }
}

void TFormDesigner::freeMarkers() {
    for (TMarker& m : markers_)
        delete m.Panel;
    markers_.clear();
}

void TFormDesigner::placeHandle(vcl::TPanel*& Handle, TWinControl* Parent, vcl::TColor Color, int X,
                                int Y) {
    if (Handle && Handle->GetParent() != Parent) {
        delete Handle;
        Handle = nullptr;
    }
    if (!Handle) {
        Handle = new vcl::TPanel(nullptr);
        Handle->SetBevelOuter(vcl::bvNone);
        Handle->SetColor(Color);
        Handle->SetParentColor(false);
        Handle->SetParent(Parent);
        hook(Handle);
    }
    Handle->SetBounds(X, Y, HandleSize, HandleSize);
    Handle->BringToFront();
}

void TFormDesigner::updateHandles() {
    std::vector<TControl*> controls;
    for (TComponent* c : selection_) {
        auto* control = dynamic_cast<TControl*>(c);
        if (control && control != root_.get() && control->GetParent()) controls.push_back(control);
    }
    const bool single = selection_.size() == 1 && controls.size() == 1;
    if (single || markers_.size() != controls.size() * 4) freeMarkers();
    if (!single) freeSizingHandles();
    // Handle positions on the frame: columns and rows 0 (left, top), 1 (middle), 2 (right,
    // bottom).
    static const int cell[8][2] = {{0, 0}, {1, 0}, {2, 0}, {2, 1}, {2, 2}, {1, 2}, {0, 2}, {0, 1}};
    auto place = [&](vcl::TPanel*& h, TControl* control, int i, vcl::TColor color) {
        const vcl::TRect r = control->BoundsRect();
        const int xs[3] = {r.Left - HandleSize / 2, (r.Left + r.Right - HandleSize) / 2,
                           r.Right - HandleSize / 2};
        const int ys[3] = {r.Top - HandleSize / 2, (r.Top + r.Bottom - HandleSize) / 2,
                           r.Bottom - HandleSize / 2};
        placeHandle(h, control->GetParent(), color, xs[cell[i][0]], ys[cell[i][1]]);
    };
    if (single) {
        for (int i = 0; i < 8; ++i)
            place(handles_[static_cast<size_t>(i)], controls.front(), i, vcl::clBlack);
        return;
    }
    markers_.resize(controls.size() * 4, TMarker{nullptr, nullptr});
    for (size_t n = 0; n < markers_.size(); ++n) {
        TMarker& m = markers_[n];
        m.Control = controls[n / 4];
        place(m.Panel, m.Control, static_cast<int>(n % 4) * 2, vcl::clGray); // the corners
    }
}

// --- input ---------------------------------------------------------------------------------------

void TFormDesigner::HookControls() {
    std::function<void(TControl*)> walk = [&](TControl* c) {
        hook(c);
        if (auto* w = dynamic_cast<TWinControl*>(c))
            for (int i = 0; i < w->GetControlCount(); ++i)
                walk(w->GetControl(i));
    };
    walk(root_.get());
}

void TFormDesigner::hook(TControl* Control) {
    if (Control->WindowProc) return;
    Control->WindowProc = [this, Control](vcl::TMessage& Message) {
        if (!designMessage(Control, Message)) Control->WndProc(Message);
    };
}

TControl* TFormDesigner::designedControl(TControl* Control) const {
    for (const TMarker& m : markers_)
        if (m.Panel == Control) return m.Control;
    for (TComponent* c = Control; c; c = c->GetOwner()) {
        if (c == root_.get()) return root_.get();
        if (c->GetOwner() == root_.get())
            if (auto* control = dynamic_cast<TControl*>(c)) return control;
    }
    return root_.get();
}

TWinControl* TFormDesigner::containerAt(TControl* Control) const {
    for (TControl* c = designedControl(Control); c; c = c->GetParent()) {
        auto* w = dynamic_cast<TWinControl*>(c);
        if (w && w->ControlStyle().Contains(vcl::csAcceptsControls) &&
            (w == root_.get() || w->GetOwner() == root_.get()))
            return w;
        if (c == root_.get()) break;
    }
    return root_.get();
}

bool TFormDesigner::designMessage(TControl* Control, vcl::TMessage& Message) {
    if (Message.Msg == vcl::WM_MOUSEWHEEL) {
        // A designed scroll bar or list keeps still; the area the form is shown in scrolls.
        if (host_) Message.Result = host_->Perform(vcl::WM_MOUSEWHEEL, Message.WParam, Message.LParam);
        return true;
    }
    if (Message.Msg == vcl::WM_CONTEXTMENU) {
        if (OnContextMenu)
            OnContextMenu(designedControl(Control),
                          {vcl::LParamX(Message.LParam), vcl::LParamY(Message.LParam)});
        return true;
    }
    if (!isMouse(Message.Msg) && !isKey(Message.Msg)) return false;
    if (isKey(Message.Msg)) {
        if (Message.Msg == vcl::WM_KEYDOWN && Message.WParam == vcl::VK_DELETE) DeleteSelection();
        return true; // designed controls take no keys
    }
    const vcl::TPoint screen =
        Control->ClientToScreen({vcl::LParamX(Message.LParam), vcl::LParamY(Message.LParam)});
    const vcl::TShiftState shift = vcl::KeysToShiftState(Message.WParam);
    switch (Message.Msg) {
    case vcl::WM_LBUTTONDOWN: {
        // The keys go to the designer from now on (Delete deletes the selection), and a value
        // typed into the Object Inspector is set as its row loses the focus.
        if (root_->CanFocus() && !root_->Focused()) root_->SetFocus();
        auto handle = std::find(handles_.begin(), handles_.end(), Control);
        if (handle != handles_.end()) {
            drag_ = dgResize;
            dragHandle_ = static_cast<THandlePos>(handle - handles_.begin());
        } else if (tool_) {
            TWinControl* parent = containerAt(Control);
            const vcl::TPoint at = parent->ScreenToClient(screen);
            PlaceComponent(tool_, parent, at.X, at.Y);
            return true;
        } else {
            TControl* target = designedControl(Control);
            const bool add = shift.Contains(vcl::ssShift);
            if (add || std::find(selection_.begin(), selection_.end(), target) == selection_.end())
                Select(target, add);
            drag_ = target == root_.get() || add ? dgNone : dgMove;
            dragControl_ = target;
        }
        if (drag_ == dgResize) dragControl_ = dynamic_cast<TControl*>(selection_.front());
        if (drag_ != dgNone) {
            dragStart_ = screen;
            dragBounds_ = dragControl_->BoundsRect();
            dragMoved_ = false;
            vcl::SetCaptureControl(Control);
        }
        return true;
    }
    case vcl::WM_MOUSEMOVE: {
        if (drag_ == dgNone) return true;
        const int dx = screen.X - dragStart_.X, dy = screen.Y - dragStart_.Y;
        if (!dragMoved_ && std::abs(dx) < 2 && std::abs(dy) < 2) return true;
        dragMoved_ = true;
        if (drag_ == dgMove) {
            // The whole selection moves by the snapped step of the control pressed.
            const int stepX = snap(dragBounds_.Left + dx) - dragControl_->GetLeft();
            const int stepY = snap(dragBounds_.Top + dy) - dragControl_->GetTop();
            for (TComponent* c : selection_)
                if (auto* control = dynamic_cast<TControl*>(c))
                    control->SetBounds(control->GetLeft() + stepX, control->GetTop() + stepY,
                                       control->GetWidth(), control->GetHeight());
        } else {
            vcl::TRect r = dragBounds_;
            const THandlePos h = dragHandle_;
            if (h == hpTopLeft || h == hpLeft || h == hpBottomLeft)
                r.Left = std::min(snap(r.Left + dx), r.Right - MinSize);
            if (h == hpTopRight || h == hpRight || h == hpBottomRight)
                r.Right = std::max(snap(r.Right + dx), r.Left + MinSize);
            if (h == hpTopLeft || h == hpTop || h == hpTopRight)
                r.Top = std::min(snap(r.Top + dy), r.Bottom - MinSize);
            if (h == hpBottomLeft || h == hpBottom || h == hpBottomRight)
                r.Bottom = std::max(snap(r.Bottom + dy), r.Top + MinSize);
            dragControl_->SetBoundsRect(r);
        }
        updateHandles();
        return true;
    }
    case vcl::WM_RBUTTONDOWN: {
        // As a left press: the keys come to the designer, also after the context menu closes.
        if (root_->CanFocus() && !root_->Focused()) root_->SetFocus();
        TControl* target = designedControl(Control);
        if (std::find(selection_.begin(), selection_.end(), target) == selection_.end())
            Select(target);
        return true;
    }
    case vcl::WM_LBUTTONDBLCLK:
        if (OnDoubleClick && !tool_) OnDoubleClick(designedControl(Control));
        return true;
    case vcl::WM_LBUTTONUP: {
        const bool changed = drag_ != dgNone && dragMoved_;
        if (changed)
            NameNextChange(
                vcl::LoadResString(drag_ == dgMove ? consts::SMoveStep : consts::SSizeStep));
        drag_ = dgNone;
        vcl::SetCaptureControl(nullptr);
        if (changed) Modified();
        return true;
    }
    default:
        return true;
    }
}

} // namespace quimbel::ide
